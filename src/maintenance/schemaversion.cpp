#include "schemaversion.h"

#include "datamodule.h"

#include <QDate>

namespace SchemaVersion {

QString versionQuery(TDataModule1& dm)
{
    const QString v = dm.readSetting(9);
    if (v != QLatin1String("0"))
        return v;
    return dm.db().hasTable(QStringLiteral("AC_PLAN")) ? QStringLiteral("2.3") : QStringLiteral("1.0");
}

namespace {

bool createInterestTables(TDataModule1& dm)
{
    const QDate today = QDate::currentDate();
    Database& db = dm.db();
    // The type list is always rebuilt with its seed rows.
    if (db.hasTable(QStringLiteral("INT_Type")) && !dm.exec(QStringLiteral("DROP TABLE INT_Type")))
        return false;
    if (!dm.exec(QStringLiteral("CREATE TABLE INT_Type(ID INTEGER PRIMARY KEY, TypeName VARCHAR(50), TypeFlag VARCHAR(1))")))
        return false;
    const struct { int id; const char* name; const char* flag; } types[] = {
        {0, "活期", "C"}, {1, "整存整取", "C"}, {2, "住房商业贷款", "D"}, {3, "住房公积金贷款", "D"}};
    for (const auto& t : types)
        if (!dm.exec(QStringLiteral("INSERT INTO INT_Type VALUES(?, ?, ?)"),
                     {t.id, QString::fromUtf8(t.name), QString::fromUtf8(t.flag)}))
            return false;

    if (!db.hasTable(QStringLiteral("INT_Cur"))) {
        if (!dm.exec(QStringLiteral("CREATE TABLE INT_Cur(ID INTEGER PRIMARY KEY, CurName VARCHAR(50), "
                                    "ExchRate NUMERIC(10,4) DEFAULT 1.0000, UpdDate DATE)"))
            || !dm.exec(QStringLiteral("INSERT INTO INT_Cur VALUES(0, ?, 1.0, ?)"), {QStringLiteral("人民币"), today}))
            return false;
    }
    if (!db.hasTable(QStringLiteral("INT_Term"))) {
        if (!dm.exec(QStringLiteral("CREATE TABLE INT_Term(ID INTEGER PRIMARY KEY, TermName VARCHAR(50), Months VARCHAR(10))")))
            return false;
        const struct { int id; const char* name; const char* months; } terms[] = {
            {0, "无", "0"}, {1, "一年", "12"}, {2, "三年", "36"}};
        for (const auto& t : terms)
            if (!dm.exec(QStringLiteral("INSERT INTO INT_Term VALUES(?, ?, ?)"),
                         {t.id, QString::fromUtf8(t.name), QString::fromUtf8(t.months)}))
                return false;
    }
    if (!db.hasTable(QStringLiteral("INT_Rate"))) {
        if (!dm.exec(QStringLiteral("CREATE TABLE INT_Rate(ID INTEGER PRIMARY KEY, TypeID INTEGER, CurID INTEGER, "
                                    "TermID INTEGER, Rate NUMERIC(10,2) DEFAULT 0.00, UpdDate DATE)"))
            || !dm.exec(QStringLiteral("CREATE UNIQUE INDEX INT_Rate_index ON INT_Rate(TypeID, CurID, TermID, UpdDate)"))
            || !dm.exec(QStringLiteral("INSERT INTO INT_Rate VALUES(0, 0, 0, 0, 0.35, ?)"), {today})
            || !dm.exec(QStringLiteral("INSERT INTO INT_Rate VALUES(1, 1, 0, 1, 3.0, ?)"), {today}))
            return false;
    }
    return true;
}

bool addLaterSystemRows(TDataModule1& dm)
{
    const struct { const char* id; const char* name; } rows[] = {{"7", "家庭成员"}, {"8", "记事本"}, {"9", "节日提醒"}};
    for (const auto& r : rows) {
        const QString id = QString::fromUtf8(r.id);
        if (!dm.query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = 0 AND TypeID = ?"), {id}))
            return false;
        if (dm.ADOQuery1().isEmpty()
            && !dm.exec(QStringLiteral("INSERT INTO AC_Type VALUES(?, ?, '0', 0, '1', 0, 0)"), {id, QString::fromUtf8(r.name)}))
            return false;
    }
    return true;
}

} // namespace

void check(TDataModule1& dm)
{
    if (versionQuery(dm) == kCurrent)
        return;
    TDataModule1::Work work(dm);
    if (!createInterestTables(dm))
        return;
    dm.writeSetting(9, kCurrent);
    if (!addLaterSystemRows(dm))
        return;
    // Plan rows left behind by a user 2 that no longer exists.
    if (!dm.query(QStringLiteral("SELECT * FROM AC_User WHERE UserID = 2")))
        return;
    if (dm.ADOQuery1().isEmpty() && !dm.exec(QStringLiteral("DELETE FROM AC_Plan WHERE UserID = 2")))
        return;
    dm.writeSetting(9, kCurrent);
    work.commit();
}

} // namespace SchemaVersion
