// Thousands of random inserts, edits and deletes through the ledger record
// set; after each one every ledger invariant is checked from scratch.
#include "ledgerfixture.h"

#include <random>

class Randomised : public LedgerFixture {};

TEST_F(Randomised, InvariantsHoldAfterEveryChange)
{
    // Durability is not under test here: skip the disk flush of every commit.
    dm->db().exec("PRAGMA synchronous = OFF");
    std::mt19937 rng(20080307);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    const QStringList accounts{"101", "102", "103"};
    const QStringList categories{"201", "202", "301", "302", "200", "300"};
    const QDate base(2008, 1, 1);
    auto randomAmount = [&] { return Money::fromRaw(qint64(1 + pick(2000000)) * 100); }; // up to 20000.00
    auto otherAccount = [&](const QString& a) {
        QString r;
        do
            r = accounts[pick(3)];
        while (r == a);
        return r;
    };
    auto setAmount = [&](RecordSet* rs, Money m) {
        const bool out = rs->text("TypeID2").startsWith('2');
        rs->setValue(out ? "OutAmount" : "InAmount", QVariant::fromValue(m));
        rs->setValue(out ? "InAmount" : "OutAmount", QVariant::fromValue(Money()));
    };

    RecordSet* rs = ledger();
    int inserts = 0, edits = 0, deletes = 0;
    for (int step = 0; step < 2500; ++step) {
        const int op = rs->recordCount() < 5 ? 0 : pick(10);
        if (op < 5) {
            ASSERT_TRUE(rs->append());
            const QString account = accounts[pick(3)];
            const QString category = categories[pick(6)];
            rs->setValue("ActDate", base.addDays(pick(90)));
            rs->setValue("TypeID", account);
            rs->setValue("TypeID2", category);
            if (category == "200" || category == "300")
                rs->setValue("RelateTypeID", otherAccount(account));
            setAmount(rs, randomAmount());
            rs->setValue("Mark", QStringLiteral("条目 %1 '%").arg(step));
            ASSERT_TRUE(rs->post()) << "insert at step " << step;
            ++inserts;
        } else if (op < 8) {
            rs->setRecNo(1 + pick(rs->recordCount()));
            ASSERT_TRUE(rs->edit());
            const int what = pick(6);
            if (what == 0 || pick(4) == 0)
                rs->setValue("ActDate", base.addDays(pick(90)));
            if (what == 1 || pick(4) == 0) {
                const QString a = accounts[pick(3)];
                rs->setValue("TypeID", a);
                if (rs->text("RelateTypeID") == a)
                    rs->setValue("RelateTypeID", otherAccount(a));
            }
            if (what == 2 || pick(4) == 0) {
                const QString c = categories[pick(6)];
                rs->setValue("TypeID2", c);
                if ((c == "200" || c == "300")
                    && (rs->text("RelateTypeID").isEmpty() || rs->text("RelateTypeID") == rs->text("TypeID")))
                    rs->setValue("RelateTypeID", otherAccount(rs->text("TypeID")));
            }
            if (what == 3 || pick(4) == 0)
                setAmount(rs, randomAmount());
            if (what == 4) // a row-selection tick posts at once
                rs->setValue("Included", !rs->boolean("Included"));
            if (what == 5 && pick(2) == 0) {
                rs->cancel();
                continue;
            }
            ASSERT_TRUE(!rs->isEditing() || rs->post()) << "edit at step " << step << ": "
                                    << (folder.messages.count() ? folder.messages.last().text.toStdString() : "");
            ++edits;
        } else {
            rs->setRecNo(1 + pick(rs->recordCount()));
            ASSERT_TRUE(rs->remove()) << "delete at step " << step;
            ++deletes;
        }
        ASSERT_TRUE(invariantsHold()) << "after step " << step;
        ASSERT_EQ(folder.messages.count(), 0) << folder.messages.last().text.toStdString();
    }
    EXPECT_GT(inserts, 500);
    EXPECT_GT(edits, 300);
    EXPECT_GT(deletes, 200);
}
