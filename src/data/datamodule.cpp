#include "datamodule.h"

#include <QFileInfo>

TDataModule1::TDataModule1(const QString& programFolder, const Services& services, QObject* parent)
    : QObject(parent), programFolder_(programFolder), services_(services)
{
    if (!programFolder_.endsWith(QLatin1Char('/')))
        programFolder_ += QLatin1Char('/');
    auto make = [this](const QString& name) {
        auto* rs = new RecordSet(&db_, this);
        rs->setObjectName(name);
        rs->onWriteError = [this](const QString& sql, const SqlError& e) {
            services_.messages->show(QStringLiteral("程序错误"), errorText(QStringLiteral("修改记录错误: "), sql, e),
                                     MsgIcon::Critical);
        };
        return rs;
    };
    ADOTable1 = make(QStringLiteral("ADOTable1"));
    ADOTable1->setTable(QStringLiteral("AC_List"));
    ADOTable1->setKeyFields({QStringLiteral("UserID"), QStringLiteral("TypeID"), QStringLiteral("ActID")});
    ADOTable2 = make(QStringLiteral("ADOTable2"));
    ADOTable2->setTable(QStringLiteral("AC_Plan"));
    ADOTable2->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
    ADOTable3 = make(QStringLiteral("ADOTable3"));
    ADOTable3->setTable(QStringLiteral("AC_Address"));
    ADOTable3->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
    ADOTable4 = make(QStringLiteral("ADOTable4"));
    ADOTable4->setTable(QStringLiteral("AC_Memo"));
    ADOTable4->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
    ADOTable5 = make(QStringLiteral("ADOTable5"));
    ADOTable5->setTable(QStringLiteral("AC_Diary"));
    ADOTable5->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
    ADOTable6 = make(QStringLiteral("ADOTable6"));
    ADOTable6->setTable(QStringLiteral("AC_Alert"));
    ADOTable6->setKeyFields({QStringLiteral("UserID"), QStringLiteral("ID")});
    ADOQuery2 = make(QStringLiteral("ADOQuery2"));
    ADOQuery3 = make(QStringLiteral("ADOQuery3"));
    ADOQuery4 = make(QStringLiteral("ADOQuery4"));
    ADOQuery5 = make(QStringLiteral("ADOQuery5"));
    ADOQuery6 = make(QStringLiteral("ADOQuery6"));
    ADOQuery7 = make(QStringLiteral("ADOQuery7"));
    ADOQuery8 = make(QStringLiteral("ADOQuery8"));
    ADOQuery9 = make(QStringLiteral("ADOQuery9"));
    ADOQuery10 = make(QStringLiteral("ADOQuery10"));
    for (RecordSet* q : {ADOQuery6, ADOQuery7, ADOQuery8, ADOQuery9, ADOQuery10})
        q->setReadOnly(true);

    connectDatabase();
    if (isConnected())
        applySavedSkin();
}

TDataModule1::~TDataModule1() { disconnectDatabase(); }

QString TDataModule1::errorText(const QString& prefix, const QString& what, const SqlError& e)
{
    return prefix + QStringLiteral("{") + what + QStringLiteral("}, 详细信息：{") + e.className + QStringLiteral(": ")
           + e.message + QStringLiteral("}, 请与") + supportAddress() + QStringLiteral("联系");
}

void TDataModule1::connectDatabase()
{
    if (db_.isOpen())
        return;
    if (!db_.open(databasePath(), Database::password())) {
        const SqlError& e = db_.lastError();
        services_.messages->show(QStringLiteral("Error"),
                                 QStringLiteral("连接数据库失败, 详细信息：{") + e.className + QStringLiteral(": ")
                                     + e.message + QStringLiteral("}, 请与") + supportAddress() + QStringLiteral("联系"),
                                 MsgIcon::Critical);
    }
}

void TDataModule1::disconnectDatabase()
{
    for (RecordSet* rs : findChildren<RecordSet*>())
        rs->close();
    db_.close();
}

bool TDataModule1::query(const QString& sql, const QVariantList& params)
{
    if (db_.select(sql, params, &scratch_))
        return true;
    scratch_ = QueryResult();
    services_.messages->show(QStringLiteral("程序错误"), errorText(QStringLiteral("查询记录错误: "), sql, db_.lastError()),
                             MsgIcon::Critical);
    return false;
}

bool TDataModule1::exec(const QString& sql, const QVariantList& params)
{
    if (db_.exec(sql, params))
        return true;
    services_.messages->show(QStringLiteral("程序错误"), errorText(QStringLiteral("修改记录错误: "), sql, db_.lastError()),
                             MsgIcon::Critical);
    return false;
}

void TDataModule1::refresh(RecordSet* rs)
{
    rs->disableControls();
    if (!rs->reopen()) {
        const SqlError& e = rs->lastError();
        services_.messages->show(QStringLiteral("程序错误"),
                                 QStringLiteral("Bookmark无效, 详细信息：{") + e.className + QStringLiteral(": ")
                                     + e.message + QStringLiteral("}, 请与") + supportAddress() + QStringLiteral("联系"),
                                 MsgIcon::Critical);
    }
    rs->enableControls();
}

TDataModule1::Work::Work(TDataModule1& dm) : dm_(dm)
{
    open_ = dm_.db_.begin();
    if (!open_)
        dm_.services_.messages->show(QStringLiteral("程序错误"),
                                     errorText(QStringLiteral("修改记录错误: "), QStringLiteral("BEGIN"), dm_.db_.lastError()),
                                     MsgIcon::Critical);
}

TDataModule1::Work::~Work()
{
    if (open_)
        dm_.db_.rollback();
}

bool TDataModule1::Work::commit()
{
    if (!open_)
        return false;
    open_ = false;
    // A failed statement anywhere inside fails this unit and every unit around it.
    if (dm_.db_.transactionFailed()) {
        dm_.db_.rollback();
        return false;
    }
    if (!dm_.db_.commit()) {
        if (dm_.db_.transactionDepth() > 0)
            dm_.db_.rollback();
        return false;
    }
    return true;
}

QString TDataModule1::readSetting(int id)
{
    if (!query(QStringLiteral("SELECT SettingValue FROM AC_Setting WHERE SettingID = ?"), {id}) || scratch_.isEmpty())
        return QStringLiteral("0");
    const QVariant v = scratch_.value(0, 0);
    return v.isNull() ? QString() : v.toString();
}

void TDataModule1::writeSetting(int id, const QString& value)
{
    if (!query(QStringLiteral("SELECT * FROM AC_Setting WHERE SettingID = ?"), {id}))
        return;
    if (scratch_.isEmpty())
        exec(QStringLiteral("INSERT INTO AC_Setting VALUES (?, ?, '', 0)"), {id, value});
    else
        exec(QStringLiteral("UPDATE AC_Setting SET SettingValue = ? WHERE SettingID = ?"), {value, id});
}

void TDataModule1::playSound(const QString& relativePath)
{
    if (readSetting(1) == QLatin1String("1") || !services_.sound)
        return;
    const QString path = programFolder_ + relativePath;
    if (QFileInfo(path).isFile())
        services_.sound->play(path);
}

void TDataModule1::applySavedSkin()
{
    if (!services_.skins)
        return;
    QString name = readSetting(-1);
    if (name == QLatin1String("0"))
        name.clear();
    const QString path = programFolder_ + QStringLiteral("Skins/") + name;
    if (!name.isEmpty() && QFileInfo(path).isFile())
        services_.skins->load(path);
    else
        services_.skins->off();
}

void TDataModule1::bindToCurrentUser()
{
    const QVariantList user{currentUserId()};
    const QString byUser = QStringLiteral("UserID = ?");
    ADOTable2->setTableCondition(byUser, user);
    ADOTable2->setSort(QStringLiteral("ID ASC"));
    ADOTable3->setTableCondition(byUser, user);
    ADOTable4->setTableCondition(byUser, user);
    ADOTable5->setTableCondition(byUser, user);
    ADOTable6->setTableCondition(byUser, user);
    const QString classRows = QStringLiteral(
        "SELECT * FROM AC_Type WHERE UserID = ? AND TypeFlag = ? AND UseFlag <> '0' ORDER BY TypeID");
    ADOQuery6->setSql(classRows, {currentUserId(), QStringLiteral("1")});
    ADOQuery7->setSql(classRows, {currentUserId(), QStringLiteral("5")});
    ADOQuery8->setSql(QStringLiteral("SELECT * FROM AC_Fullfill WHERE UserID = ? ORDER BY MonthNo"), user);
    ADOQuery9->setSql(QStringLiteral("SELECT * FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND (TypeFlag = '2' OR "
                                     "TypeFlag = '3') AND UseFlag <> '0' ORDER BY TypeID"),
                      user);
    ADOQuery10->setSql(classRows, {currentUserId(), QStringLiteral("6")});
}

QString TDataModule1::currentUserName()
{
    if (!query(QStringLiteral("SELECT UserName FROM AC_User WHERE UserID = ?"), {currentUserId()}) || scratch_.isEmpty())
        return QString();
    return scratch_.text(0, QStringLiteral("UserName"));
}
