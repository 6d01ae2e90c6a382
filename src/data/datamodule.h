#pragma once
// The data module: the one connection, the scratch query and statement
// routines with their error reports, the settings store, sounds, the date
// routine, the datasets the main window's grids show, and the state shared
// between windows (current user, ledger view range and condition).

#include "database.h"
#include "dates.h"
#include "recordset.h"
#include "services.h"

#include <QDate>
#include <QObject>
#include <functional>

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    struct Services {
        IMessageBox* messages = nullptr; // required
        ISoundPlayer* sound = nullptr;   // optional: silent without
        ISkinEngine* skins = nullptr;    // optional
    };

    // programFolder ends with '/'. Creation connects and applies the saved skin.
    TDataModule1(const QString& programFolder, const Services& services, QObject* parent = nullptr);
    ~TDataModule1() override;

    static QString supportAddress() { return QStringLiteral("zelko.support@163.com"); }
    QString programFolder() const { return programFolder_; }
    QString databasePath() const { return programFolder_ + QStringLiteral("Data/Account.mdb"); }
    IMessageBox* messages() const { return services_.messages; }
    ISkinEngine* skins() const { return services_.skins; }
    Database& db() { return db_; }

    // --- connection ----------------------------------------------------------
    void connectDatabase();    // opens if closed; reports a failure with the "连接数据库失败" box
    void disconnectDatabase(); // closes if open
    bool isConnected() const { return db_.isOpen(); }

    // --- query, statement and refresh routines ---------------------------------
    // Runs a SELECT into the scratch query ADOQuery1. On failure the "程序错误"
    // box names the statement, and the result is empty. Values are bound.
    bool query(const QString& sql, const QVariantList& params = {});
    const QueryResult& ADOQuery1() const { return scratch_; }
    // Runs a statement; on failure the "程序错误" box names it. Returns success,
    // so that a unit of work can stop and roll back.
    bool exec(const QString& sql, const QVariantList& params = {});
    // Reopens a record set keeping filter, sort and record number.
    void refresh(RecordSet* rs);

    // One unit of work: everything between begin and commit is applied whole
    // or not at all. A failed statement (already reported) makes commit() roll back.
    class Work {
    public:
        explicit Work(TDataModule1& dm);
        ~Work();          // rolls back when not committed
        bool commit();    // false when something failed; everything is undone then
    private:
        TDataModule1& dm_;
        bool open_ = false;
    };

    // --- settings store ----------------------------------------------------------
    QString readSetting(int id);
    void writeSetting(int id, const QString& value);

    // --- sounds ------------------------------------------------------------------
    void playSound(const QString& relativePath); // silent while setting 1 is "1"
    void clickSound() { playSound(QStringLiteral("Sound/push.wav")); }
    void doneSound() { playSound(QStringLiteral("Sound/done.wav")); }

    // --- date routine --------------------------------------------------------------
    static QString dateText(const QString& formatName, const QDate& date) { return Dates::format(formatName, date); }

    // --- shared state ----------------------------------------------------------------
    QString currentUser = QStringLiteral("0");
    int currentUserId() const { return currentUser.toInt(); }
    QDate viewStart;
    QDate viewEnd;
    QString viewCondition;       // extra condition of the ledger view, with ? placeholders
    QVariantList viewParams;     // values for viewCondition

    // Asks the main window to redraw its current page (set by the main window).
    std::function<void()> refreshCurrentPage;
    void requestPageRefresh() { if (refreshCurrentPage) refreshCurrentPage(); }

    // --- datasets ----------------------------------------------------------------------
    RecordSet* ADOTable1;  // ledger entries (AC_List), SQL set by the ledger view
    RecordSet* ADOTable2;  // AC_Plan of the current user, "ID ASC"
    RecordSet* ADOTable3;  // AC_Address of the current user
    RecordSet* ADOTable4;  // AC_Memo of the current user
    RecordSet* ADOTable5;  // AC_Diary
    RecordSet* ADOTable6;  // AC_Alert
    RecordSet* ADOQuery2;  // work queries of statistics, import and maintenance
    RecordSet* ADOQuery3;
    RecordSet* ADOQuery4;
    RecordSet* ADOQuery5;
    RecordSet* ADOQuery6;  // the user's accounts
    RecordSet* ADOQuery7;  // address-book groups
    RecordSet* ADOQuery8;  // AC_Fullfill by month
    RecordSet* ADOQuery9;  // the category drop-down (2xx, 3xx with 200, 299, 300)
    RecordSet* ADOQuery10; // favourites groups

    // Points the datasets at the current user (done when the main window is created).
    void bindToCurrentUser();
    // The current user's name from AC_User (empty when unknown).
    QString currentUserName();

    // Formats the standard error text: prefix + "{" + what + "}, 详细信息：{" + class + ": " + text + "}, 请与 ... 联系".
    static QString errorText(const QString& prefix, const QString& what, const SqlError& e);

private:
    void applySavedSkin();

    QString programFolder_;
    Services services_;
    Database db_;
    QueryResult scratch_;
};
