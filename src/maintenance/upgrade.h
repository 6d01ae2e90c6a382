#pragma once
// The import of a version-1.0 data file into the current user's catalogue
// and ledger, replacing what the user had. The old file is read whole and
// checked before anything is deleted, so a wrong file leaves the data in
// place; the deletions and the import are one unit of work.

#include "database.h"
#include "money.h"
#include "verify.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TDataModule1;
class RecordSet;

// What the import reads from a version-1.0 file.
struct V1Type {
    QString typeId, typeName, typeFlag, useFlag;
    Money finalMoney; // empty reads as 0
};
struct V1Record {
    qint64 accountId = 0;
    QDateTime accountTime;
    Money account; // signed: positive adds to the account
    QString typeId, typeId2, mark;
};
struct V1Data {
    QList<V1Type> types;     // every row of the old AC_Type
    QList<V1Record> records; // every row of the old AC_List
};

// Reads a version-1.0 file. False with *error when the file cannot be read
// or does not hold the tables and columns of version 1.0.
class IV1Reader {
public:
    virtual ~IV1Reader() = default;
    virtual bool load(const QString& path, V1Data* out, SqlError* error) = 0;
};

// The reader for real files (Jet databases, read with mdbtools).
class JetV1Reader : public IV1Reader {
public:
    bool load(const QString& path, V1Data* out, SqlError* error) override;
    // "12.5000", "-3", "1e-05" -> Money; false for anything else.
    static bool moneyOf(const QVariant& v, Money* out);
};

class V1Import {
public:
    V1Import(TDataModule1* dm, IV1Reader* reader);

    // The import routine; true when it ran to its end. A failure shows the
    // "导入数据失败" box and leaves the user's data as it was.
    bool run(const QString& path);

    QString logPath() const;
    const QStringList& lines() const { return lines_; }

    ProgressHooks progress;
    // Before the datasets are closed (suspend the grids) and after they are
    // opened again (resume them).
    std::function<void()> beforeClose;
    std::function<void()> afterReopen;

private:
    bool importAll(const V1Data& data);
    Money balanceBefore(const QString& account, const QDate& date, qint64 actId);
    bool insertEntry(qint64 id, const QDate& d, Money in, Money out, const QString& account, const QString& category,
                     const QString& mark, const QString& relate);
    void logRejected(const V1Record& r, Money amount);
    QString ownName(const QString& code);
    QString adjustmentCategory(const QString& flag, const QString& name, const QString& other);
    void failed(const SqlError& e);

    TDataModule1* dm_;
    IV1Reader* reader_;
    QVariant user_;
    QStringList lines_;
};
