#pragma once
// The import of a table file into the part of the data the main window
// shows: ledger entries (with transfer pairs), plan rows, address-book rows
// or favourites. Every row is checked; good rows are written for the current
// user, missing accounts, categories and groups are created by name, and
// every finding goes to the log Data/Import.log (GBK, CR LF).
//
// The whole import is one unit of work: when a statement fails (the
// statement routine reports it) nothing of the import stays in the database.

#include "money.h"
#include "tablefile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class TDataModule1;

enum class ImportKind { None, Ledger, Plan, Address, Memo };

class ImportLog {
public:
    // "检查数据合法性 ... " and an empty line.
    void start();
    void add(const QString& line) { lines << line; }
    // The empty line and the two counters.
    void finish(int imported, int refused);
    // GBK text with CR LF after every line; false when it cannot be written.
    bool save(const QString& path) const;
    QByteArray bytes() const;
    QStringList lines;
};

class Importer {
public:
    explicit Importer(TDataModule1& dm) : dm_(dm) {}

    // The kind of data taken by a tree node's branch code ("1" ... "9").
    static ImportKind kindOfBranch(const QString& branch);
    static QStringList titles(ImportKind k);
    static QString formatError(ImportKind k);

    // Recognises the layout: drops a ledger's totals row ("合计"), checks the
    // title row against the kind's titles in order and drops it. False: the
    // file is not of that kind.
    static bool recognise(ImportKind k, TableFile::Rows* rows);

    struct Outcome {
        int imported = 0;
        int refused = 0;
        bool rolledBack = false;     // a statement failed: nothing was kept
        QStringList createdTypes;    // codes created on demand (tree nodes to add)
    };
    // Imports recognised rows (title row removed). step() runs once per row.
    Outcome run(ImportKind k, const TableFile::Rows& rows, ImportLog& log, const std::function<void()>& step = {});

    // Settles the scratch amount text: empty is 0, "," removed. False when not a number.
    static bool amountOf(const QString& text, Money* out);

private:
    struct Row;
    bool failed() const;
    QString lookupType(const QString& name, const QString& flag, bool withShared, const QString& preferFlag = QString());
    QString createType(const QString& name, const QString& flag, bool counted, Outcome& o);
    qint64 nextId(const QString& table, const QString& column);
    Money balanceBefore(const QString& account, const QDate& date, qint64 actId);
    bool balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId);

    void ledgerRows(QList<QStringList>& rows, ImportLog& log, Outcome& o, const std::function<void()>& step);
    void planRows(const QList<QStringList>& rows, ImportLog& log, Outcome& o, const std::function<void()>& step);
    void sideRows(bool address, const QList<QStringList>& rows, ImportLog& log, Outcome& o,
                  const std::function<void()>& step);

    TDataModule1& dm_;
};
