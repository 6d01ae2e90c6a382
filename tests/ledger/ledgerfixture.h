#pragma once
// A user with a small catalogue and the ledger rules installed, plus a check
// of every ledger invariant against a recomputation from scratch.

#include "catalogue.h"
#include "ledgerrules.h"
#include "userfixture.h"

#include <gtest/gtest.h>

#include <QMap>

inline Money M(double v) { return Money::fromDouble(v); }

class LedgerFixture : public UserFixture {
protected:
    void SetUp() override
    {
        signIn();
        if (HasFatalFailure())
            return;
        Database& db = dm->db();
        addCommonTypes();
        // 302 opening balance is not counted.
        addType(QStringLiteral("302"), QStringLiteral("期初余额"), QStringLiteral("3"), false);
        db.exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '', 0, NULL, 12, 0, 1)"));
        db.exec(QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, 1)"));
        rules = std::make_unique<LedgerRules>(dm.get());
        ledger()->setSql(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? ORDER BY ActDate, ActID, TypeID"), {1});
        ASSERT_TRUE(ledger()->open());
        folder.messages.clear();
    }

    RecordSet* ledger() { return dm->ADOTable1; }

    // A new entry through the record set; returns its ActID (0 when the post failed).
    qint64 enter(const QDate& date, const QString& account, const QString& category, double amount,
                 const QString& relate = QString(), const QString& mark = QString())
    {
        RecordSet* rs = ledger();
        EXPECT_TRUE(rs->append());
        rs->setValue(QStringLiteral("ActDate"), date);
        rs->setValue(QStringLiteral("TypeID"), account);
        rs->setValue(QStringLiteral("TypeID2"), category);
        if (!relate.isEmpty())
            rs->setValue(QStringLiteral("RelateTypeID"), relate);
        const QString side = category.startsWith(QLatin1Char('2')) ? QStringLiteral("OutAmount") : QStringLiteral("InAmount");
        rs->setValue(side, QVariant::fromValue(M(amount)));
        rs->setValue(QStringLiteral("Mark"), mark);
        const qint64 id = rs->integer(QStringLiteral("ActID"));
        if (!rs->post()) {
            rs->cancel();
            return 0;
        }
        return id;
    }

    // Moves to the entry (account, ActID) and starts editing it.
    bool editEntry(const QString& account, qint64 id)
    {
        RecordSet* rs = ledger();
        for (int r = 0; r < rs->recordCount(); ++r) {
            if (rs->value(r, QStringLiteral("TypeID")).toString() == account
                && rs->value(r, QStringLiteral("ActID")).toLongLong() == id) {
                rs->setRecNo(r + 1);
                return rs->edit();
            }
        }
        return false;
    }

    bool removeEntry(const QString& account, qint64 id)
    {
        RecordSet* rs = ledger();
        for (int r = 0; r < rs->recordCount(); ++r) {
            if (rs->value(r, QStringLiteral("TypeID")).toString() == account
                && rs->value(r, QStringLiteral("ActID")).toLongLong() == id) {
                rs->setRecNo(r + 1);
                return rs->remove();
            }
        }
        return false;
    }

    struct Entry {
        qint64 id;
        QDate date;
        Money in, out, balance, abs;
        QString account, category, relate, mark;
        bool included;
    };
    QList<Entry> entries(const QString& account = QString())
    {
        QueryResult r;
        dm->db().select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 ORDER BY TypeID, ActDate, ActID"), {}, &r);
        QList<Entry> out;
        for (int i = 0; i < r.size(); ++i) {
            Entry e{r.integer(i, "ActID"), r.date(i, "ActDate"), r.money(i, "InAmount"), r.money(i, "OutAmount"),
                    r.money(i, "Balance"), r.money(i, "AbsAmount"), r.text(i, "TypeID"), r.text(i, "TypeID2"),
                    r.text(i, "RelateTypeID"), r.text(i, "Mark"), r.boolean(i, "Included")};
            if (account.isEmpty() || e.account == account)
                out << e;
        }
        return out;
    }
    Entry entry(const QString& account, qint64 id)
    {
        for (const Entry& e : entries(account))
            if (e.id == id)
                return e;
        ADD_FAILURE() << "no entry " << account.toStdString() << "/" << id;
        return Entry{};
    }
    Money accountBalance(const QString& account)
    {
        QueryResult r;
        dm->db().select(QStringLiteral("SELECT Balance FROM AC_Type WHERE UserID = 1 AND TypeID = ?"), {account}, &r);
        return r.money(0, "Balance");
    }

    // Every invariant of the ledger, recomputed from the stored amounts.
    ::testing::AssertionResult invariantsHold()
    {
        QMap<QString, Money> running;
        QMap<QString, Entry> byKey;
        const QList<Entry> all = entries();
        for (const Entry& e : all) {
            Money& run = running[e.account];
            run += e.in - e.out;
            if (e.balance != run)
                return ::testing::AssertionFailure() << "running balance of " << e.account.toStdString() << "/" << e.id
                                                     << " is " << e.balance.plain().toStdString() << ", expected "
                                                     << run.plain().toStdString();
            if (e.abs != (e.in - e.out).abs())
                return ::testing::AssertionFailure() << "AbsAmount of " << e.id;
            byKey.insert(e.account + QLatin1Char('/') + QString::number(e.id), e);
        }
        QueryResult types;
        dm->db().select(QStringLiteral("SELECT TypeID, Balance FROM AC_Type WHERE UserID = 1 AND TypeFlag = '1'"), {}, &types);
        for (int i = 0; i < types.size(); ++i) {
            const QString a = types.text(i, "TypeID");
            if (types.money(i, "Balance") != running.value(a))
                return ::testing::AssertionFailure() << "account balance of " << a.toStdString() << " is "
                                                     << types.money(i, "Balance").plain().toStdString() << ", expected "
                                                     << running.value(a).plain().toStdString();
        }
        for (const Entry& e : all) {
            const bool transfer = e.category == QLatin1String("200") || e.category == QLatin1String("300");
            if (!transfer) {
                if (!e.relate.isEmpty())
                    return ::testing::AssertionFailure() << "non-transfer " << e.id << " has another account";
                continue;
            }
            const QString key = e.relate + QLatin1Char('/') + QString::number(e.id);
            if (!byKey.contains(key))
                return ::testing::AssertionFailure() << "transfer " << e.id << " has no partner";
            const Entry& p = byKey[key];
            const bool out = e.category == QLatin1String("200");
            if (p.relate != e.account || p.category != (out ? QLatin1String("300") : QLatin1String("200"))
                || p.date != e.date || p.mark != e.mark || p.included != e.included || p.abs != e.abs
                || p.in != e.out || p.out != e.in)
                return ::testing::AssertionFailure() << "transfer pair " << e.id << " does not match";
            if (out ? !(e.in.isZero() && !e.out.isZero()) : !(e.out.isZero() && !e.in.isZero()))
                return ::testing::AssertionFailure() << "transfer " << e.id << " on the wrong side";
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<LedgerRules> rules;
};
