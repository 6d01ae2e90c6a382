#pragma once
// Shared fixture of the sign-in and user administration tests: a database of
// its own, the fake message box, and small readers of what was stored.

#include "datamodule.h"
#include "passwords.h"
#include "testdb.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class UsersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        ASSERT_TRUE(dm->isConnected());
        Users::modalHook() = nullptr;
    }
    void TearDown() override { Users::modalHook() = nullptr; }

    Database& db() { return dm->db(); }

    QueryResult select(const QString& sql, const QVariantList& params = {})
    {
        QueryResult r;
        EXPECT_TRUE(db().select(sql, params, &r)) << sql.toStdString();
        return r;
    }
    qint64 scalar(const QString& sql, const QVariantList& params = {})
    {
        const QueryResult r = select(sql, params);
        return r.isEmpty() ? -1 : r.value(0, 0).toLongLong();
    }
    QString storedPassword(int id)
    {
        const QueryResult r = select(QStringLiteral("SELECT PassWd FROM AC_User WHERE UserID = ?"), {id});
        return r.isEmpty() ? QStringLiteral("<no row>") : r.text(0, QStringLiteral("PassWd"));
    }
    void addAdministrator(const QString& password = QString())
    {
        db().exec(QStringLiteral("INSERT INTO AC_User VALUES (0, '管理员', ?, '只能设置和管理其它用户，不能记帐', 0)"),
                  {password.isEmpty() ? QString() : Passwords::hash(password)});
    }
    // One row in each of the tables that hold a user's data.
    void addRowsEverywhere(int id)
    {
        const QVariantList p{id};
        db().exec(QStringLiteral("INSERT INTO AC_Address (ID, UserID) VALUES (1, ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_Info (TypeID, UserID) VALUES ('101', ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_List (ActID, UserID) VALUES (1, ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_Memo (ID, UserID) VALUES (1, ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_Plan (ID, UserID) VALUES (1, ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_Fullfill (MonthNo, UserID) VALUES ('2024-01', ?)"), p);
        db().exec(QStringLiteral("INSERT INTO AC_Setting (SettingID, SettingValue, UserID) VALUES (?, 'x', ?)"),
                  {1000 + id, id});
        db().exec(QStringLiteral("INSERT INTO AC_Type (TypeID, TypeName, UserID) VALUES ('101', '现金', ?)"), p);
    }
    qint64 rowsOf(const QString& table, int id)
    {
        return scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE UserID = ?").arg(table), {id});
    }
    // Makes the click sound a file, so that each press is recorded.
    void enableClickSound()
    {
        QDir(folder.programFolder()).mkpath(QStringLiteral("Sound"));
        QFile f(folder.path(QStringLiteral("Sound/push.wav")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
    }
    static void showActive(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        (void)QTest::qWaitForWindowActive(w, 1000);
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    FakeMessageBox& msg = folder.messages;
};

inline void expectMessage(const ShownMessage& m, const QString& title, const QString& text, MsgIcon icon)
{
    EXPECT_EQ(m.title, title);
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.icon, icon);
}
