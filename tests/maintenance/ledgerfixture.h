#pragma once
// A test folder with a data module signed in as user 1, and helpers that
// write catalogue rows and ledger entries straight into the tables (so that
// damaged data can be made), plus a check of the ledger's invariants.

#include "testdb.h"

#include <QDate>
#include <QStringList>
#include <gtest/gtest.h>

class LedgerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        ASSERT_TRUE(dm->isConnected());
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
        dm->currentUser = QStringLiteral("1");
        dm->bindToCurrentUser();
    }

    static qint64 raw(double v) { return qint64(v * 10000 + (v < 0 ? -0.5 : 0.5)); }

    void addType(const QString& code, const QString& name, const QString& flag, double balance = 0, int user = 1)
    {
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, ?, '1', 0, ?)"),
                                  {code, name, flag, raw(balance), user}));
    }

    void addEntry(qint64 id, const QDate& d, double in, double out, const QString& account, const QString& category,
                  const QString& mark, double balance, const QString& relate = QString(), double absAmount = -1,
                  int user = 1)
    {
        if (absAmount < 0)
            absAmount = in > out ? in - out : out - in;
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?)"),
                                  {id, d, raw(in), raw(out), account, category, mark, raw(balance), relate, user,
                                   raw(absAmount)}));
    }

    QueryResult select(const QString& sql, const QVariantList& params = {})
    {
        QueryResult r;
        EXPECT_TRUE(dm->db().select(sql, params, &r)) << sql.toStdString();
        return r;
    }

    // Every invariant of the ledger for user 1; the list of what does not hold.
    QStringList violations(int user = 1)
    {
        QStringList bad;
        const QueryResult accounts =
            select(QStringLiteral("SELECT TypeID, Balance FROM AC_Type WHERE UserID = ? AND TypeFlag = '1'"), {user});
        for (int a = 0; a < accounts.size(); ++a) {
            const QString code = accounts.text(a, QStringLiteral("TypeID"));
            const QueryResult e = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? AND TypeID = ? "
                                                        "ORDER BY ActDate, ActID"),
                                         {user, code});
            qint64 running = 0;
            for (int i = 0; i < e.size(); ++i) {
                running += e.integer(i, QStringLiteral("InAmount")) - e.integer(i, QStringLiteral("OutAmount"));
                if (e.integer(i, QStringLiteral("Balance")) != running)
                    bad << QStringLiteral("running balance %1/%2").arg(code).arg(e.integer(i, QStringLiteral("ActID")));
            }
            if (accounts.integer(a, QStringLiteral("Balance")) != running)
                bad << QStringLiteral("account balance %1").arg(code);
        }
        const QueryResult all = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ?"), {user});
        for (int i = 0; i < all.size(); ++i) {
            const qint64 id = all.integer(i, QStringLiteral("ActID"));
            const qint64 in = all.integer(i, QStringLiteral("InAmount"));
            const qint64 out = all.integer(i, QStringLiteral("OutAmount"));
            if (all.integer(i, QStringLiteral("AbsAmount")) != qAbs(in - out))
                bad << QStringLiteral("abs %1").arg(id);
            const QString c = all.text(i, QStringLiteral("TypeID2"));
            const QString relate = all.text(i, QStringLiteral("RelateTypeID"));
            if (c != QLatin1String("200") && c != QLatin1String("300")) {
                if (!relate.isEmpty())
                    bad << QStringLiteral("relate %1").arg(id);
                continue;
            }
            const QueryResult p = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActID = ?"),
                                         {user, relate, id});
            if (p.size() != 1) {
                bad << QStringLiteral("partner missing %1").arg(id);
                continue;
            }
            const QString expected = c == QLatin1String("200") ? QStringLiteral("300") : QStringLiteral("200");
            if (p.text(0, QStringLiteral("TypeID2")) != expected
                || p.text(0, QStringLiteral("RelateTypeID")) != all.text(i, QStringLiteral("TypeID"))
                || p.integer(0, QStringLiteral("InAmount")) != out || p.integer(0, QStringLiteral("OutAmount")) != in
                || p.text(0, QStringLiteral("ActDate")) != all.text(i, QStringLiteral("ActDate")))
                bad << QStringLiteral("partner differs %1").arg(id);
        }
        return bad;
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
};
