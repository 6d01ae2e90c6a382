#include "schema.h"

#include "database.h"

#include <QDir>
#include <QFileInfo>

namespace Schema {

const QList<Table>& tables()
{
    static const QList<Table> t = {
        {QStringLiteral("AC_Type"), {"TypeID", "TypeName", "TypeFlag", "Balance", "UseFlag", "FundFlag", "UserID"}},
        {QStringLiteral("AC_List"), {"ActID", "ActDate", "InAmount", "OutAmount", "TypeID", "TypeID2", "Mark", "Balance",
                                     "RelateTypeID", "Included", "UserID", "AbsAmount"}},
        {QStringLiteral("AC_Plan"), {"ID", "Type", "Description", "Amount", "StartDate", "Months", "Total", "UserID"}},
        {QStringLiteral("AC_Fullfill"), {"MonthNo", "SaveAmount", "Fullfill", "UserID"}},
        {QStringLiteral("AC_Info"), {"TypeID", "ActName", "CardNo", "ActNo", "Rate", "OpenDate", "Term", "Misc", "Address",
                                     "Phone", "URL", "UserID"}},
        {QStringLiteral("AC_Address"), {"ID", "Name", "TypeID", "Phone", "QQ", "Email", "Homepage", "Birthday", "Address",
                                        "Company", "Title", "Misc", "UserID"}},
        {QStringLiteral("AC_Memo"), {"ID", "Name", "TypeID", "URL", "Description", "UserID"}},
        {QStringLiteral("AC_Diary"), {"ID", "Date", "Title", "Content", "TypeID", "UserID"}},
        {QStringLiteral("AC_Alert"), {"ID", "DueDate", "Description", "Type", "Span", "AlertDate", "UserID"}},
        {QStringLiteral("AC_Setting"), {"SettingID", "SettingValue", "Misc", "UserID"}},
        {QStringLiteral("AC_User"), {"UserID", "UserName", "PassWd", "Description", "LockFlag"}},
    };
    return t;
}

QString createScript()
{
    // Declared types tell the record sets how to read a column: CURRENCY is an
    // integer count of 1/10000, DATE is ISO text, BOOLEAN is 0/1.
    return QStringLiteral(R"SQL(
CREATE TABLE AC_Type (
  TypeID VARCHAR(3) NOT NULL,
  TypeName VARCHAR(50) COLLATE NOCASE,
  TypeFlag VARCHAR(1),
  Balance CURRENCY NOT NULL DEFAULT 0,
  UseFlag VARCHAR(1),
  FundFlag BOOLEAN NOT NULL DEFAULT 0,
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_List (
  ActID INTEGER NOT NULL,
  ActDate DATE,
  InAmount CURRENCY NOT NULL DEFAULT 0,
  OutAmount CURRENCY NOT NULL DEFAULT 0,
  TypeID VARCHAR(3),
  TypeID2 VARCHAR(3),
  Mark VARCHAR(250),
  Balance CURRENCY NOT NULL DEFAULT 0,
  RelateTypeID VARCHAR(3),
  Included BOOLEAN NOT NULL DEFAULT 1,
  UserID INTEGER NOT NULL,
  AbsAmount CURRENCY NOT NULL DEFAULT 0
);
CREATE TABLE AC_Plan (
  ID INTEGER NOT NULL,
  Type VARCHAR(8),
  Description VARCHAR(250),
  Amount CURRENCY NOT NULL DEFAULT 0,
  StartDate DATE,
  Months INTEGER,
  Total CURRENCY NOT NULL DEFAULT 0,
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_Fullfill (
  MonthNo VARCHAR(7),
  SaveAmount CURRENCY NOT NULL DEFAULT 0,
  Fullfill DOUBLE,
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_Info (
  TypeID VARCHAR(3),
  ActName VARCHAR(50),
  CardNo VARCHAR(30),
  ActNo VARCHAR(50),
  Rate VARCHAR(10),
  OpenDate DATE,
  Term VARCHAR(10),
  Misc VARCHAR(250),
  Address VARCHAR(250),
  Phone VARCHAR(20),
  URL VARCHAR(255),
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_Address (
  ID INTEGER NOT NULL,
  Name VARCHAR(50) COLLATE NOCASE,
  TypeID VARCHAR(3),
  Phone VARCHAR(50),
  QQ VARCHAR(50),
  Email VARCHAR(255),
  Homepage VARCHAR(255),
  Birthday VARCHAR(20),
  Address VARCHAR(250),
  Company VARCHAR(250),
  Title VARCHAR(50),
  Misc VARCHAR(250),
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_Memo (
  ID INTEGER NOT NULL,
  Name VARCHAR(50) COLLATE NOCASE,
  TypeID VARCHAR(3),
  URL VARCHAR(255),
  Description VARCHAR(250),
  UserID INTEGER NOT NULL
);
CREATE TABLE AC_Diary (
  ID INTEGER,
  Date DATE,
  Title VARCHAR(50),
  Content TEXT,
  TypeID VARCHAR(3),
  UserID INTEGER
);
CREATE TABLE AC_Alert (
  ID INTEGER,
  DueDate DATE,
  Description VARCHAR(250),
  Type INTEGER,
  Span INTEGER,
  AlertDate DATE,
  UserID INTEGER
);
CREATE TABLE AC_Setting (
  SettingID INTEGER NOT NULL,
  SettingValue VARCHAR(255),
  Misc VARCHAR(50),
  UserID INTEGER
);
CREATE TABLE AC_User (
  UserID INTEGER NOT NULL,
  UserName VARCHAR(20) COLLATE NOCASE,
  PassWd VARCHAR(20),
  Description VARCHAR(250),
  LockFlag BOOLEAN NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX AC_Type_key ON AC_Type(UserID, TypeID);
CREATE INDEX AC_List_position ON AC_List(UserID, TypeID, ActDate, ActID);
CREATE INDEX AC_List_number ON AC_List(UserID, ActID, TypeID);
CREATE INDEX AC_List_date ON AC_List(UserID, ActDate);
CREATE INDEX AC_Plan_key ON AC_Plan(UserID, ID);
CREATE INDEX AC_Fullfill_key ON AC_Fullfill(UserID, MonthNo);
CREATE INDEX AC_Info_key ON AC_Info(UserID, TypeID);
CREATE INDEX AC_Address_key ON AC_Address(UserID, ID);
CREATE INDEX AC_Memo_key ON AC_Memo(UserID, ID);
CREATE UNIQUE INDEX AC_Setting_key ON AC_Setting(SettingID);
CREATE UNIQUE INDEX AC_User_key ON AC_User(UserID);
)SQL");
}

bool insertSystemRows(Database& db)
{
    struct Row { const char* id; const char* name; const char* flag; const char* use; };
    static const Row rows[] = {
        {"1", "资金", "0", "1"},     {"2", "支出", "0", "1"},     {"3", "收入", "0", "1"},
        {"4", "理财计划", "0", "1"}, {"5", "通讯录", "0", "1"},   {"6", "收藏夹", "0", "1"},
        {"7", "家庭成员", "0", "1"}, {"8", "记事本", "0", "1"},   {"9", "节日提醒", "0", "1"},
        {"200", "转出", "2", "2"},   {"299", "----------------------", "2", "2"}, {"300", "转入", "3", "2"},
    };
    for (const Row& r : rows) {
        if (!db.exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, ?, 0, 0)"),
                     {QString::fromUtf8(r.id), QString::fromUtf8(r.name), QString::fromUtf8(r.flag),
                      QString::fromUtf8(r.use)}))
            return false;
    }
    return true;
}

bool createDeliveredFile(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 exists already").arg(path);
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString tmp = path + QStringLiteral(".new");
    QFile::remove(tmp);
    bool ok = false;
    {
        Database db;
        ok = db.open(tmp, Database::password(), true) && db.execScript(createScript()) && db.begin()
             && insertSystemRows(db) && db.commit();
        if (!ok && error)
            *error = db.lastError().message;
    }
    // Only a complete file takes the final name.
    if (ok)
        ok = QFile::rename(tmp, path);
    else
        QFile::remove(tmp);
    return ok;
}

} // namespace Schema
