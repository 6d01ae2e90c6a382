// The posting rules driven through the ledger record set: running balances,
// account balances and transfer pairs after inserts, edits and deletes.
#include "fieldrules.h"
#include "ledgerfixture.h"

namespace {
const QDate d1(2008, 3, 1), d2(2008, 3, 5), d3(2008, 3, 10), d4(2008, 3, 20);
}

class Posting : public LedgerFixture {};

TEST_F(Posting, SameDayEntriesFollowActIdAndDeletingTheMiddleLowersOnlyTheThird)
{
    const qint64 a = enter(d1, "101", "301", 100);
    const qint64 b = enter(d1, "101", "201", 30);
    const qint64 c = enter(d1, "101", "201", 20);
    EXPECT_EQ(entry("101", a).balance, M(100));
    EXPECT_EQ(entry("101", b).balance, M(70));
    EXPECT_EQ(entry("101", c).balance, M(50));
    ASSERT_TRUE(removeEntry("101", b));
    EXPECT_EQ(entry("101", a).balance, M(100));
    EXPECT_EQ(entry("101", c).balance, M(80));
    EXPECT_EQ(accountBalance("101"), M(80));
    EXPECT_TRUE(invariantsHold());
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(Posting, EntryBeforeOthersShiftsTheLaterOnesAndTheAccount)
{
    const qint64 late = enter(d3, "101", "301", 100);
    const qint64 early = enter(d1, "101", "201", 40);
    EXPECT_EQ(entry("101", early).balance, M(-40));
    EXPECT_EQ(entry("101", late).balance, M(60));
    EXPECT_EQ(accountBalance("101"), M(60));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, MovingAnEntryLaterAndEarlier)
{
    const qint64 a = enter(d1, "101", "301", 100);
    const qint64 b = enter(d2, "101", "201", 10);
    const qint64 c = enter(d3, "101", "201", 20);
    const qint64 d = enter(d4, "101", "201", 5);
    // a (100 in) moves after c and grows to 150: b and c lose 100.
    ASSERT_TRUE(editEntry("101", a));
    ledger()->setValue("ActDate", QDate(2008, 3, 15));
    ledger()->setValue("InAmount", QVariant::fromValue(M(150)));
    ASSERT_TRUE(ledger()->post());
    EXPECT_EQ(entry("101", b).balance, M(-10));
    EXPECT_EQ(entry("101", c).balance, M(-30));
    EXPECT_EQ(entry("101", a).balance, M(120)); // last before (-30) + 150
    EXPECT_EQ(entry("101", d).balance, M(115));
    EXPECT_TRUE(invariantsHold());
    // ... and back before b: b and c gain the new amount.
    ASSERT_TRUE(editEntry("101", a));
    ledger()->setValue("ActDate", d1);
    ASSERT_TRUE(ledger()->post());
    EXPECT_EQ(entry("101", a).balance, M(150));
    EXPECT_EQ(entry("101", b).balance, M(140));
    EXPECT_EQ(entry("101", c).balance, M(120));
    EXPECT_EQ(accountBalance("101"), M(115));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, ChangingTheAccountMovesTheAmountBetweenAccounts)
{
    enter(d1, "101", "301", 100);
    enter(d1, "102", "301", 500);
    const qint64 x = enter(d2, "101", "201", 30);
    enter(d3, "102", "201", 50);
    ASSERT_TRUE(editEntry("101", x));
    ledger()->setValue("TypeID", "102");
    ASSERT_TRUE(ledger()->post());
    EXPECT_EQ(accountBalance("101"), M(100));
    EXPECT_EQ(accountBalance("102"), M(420));
    EXPECT_EQ(entry("102", x).balance, M(470));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, TransferCreatesThePartnerAndDeletingThePartnerDeletesBoth)
{
    enter(d1, "101", "301", 100);
    enter(d1, "102", "301", 50);
    const qint64 t = enter(d2, "101", "200", 30, "102", "取现");
    const Entry out = entry("101", t);
    const Entry in = entry("102", t);
    EXPECT_EQ(out.out, M(30));
    EXPECT_EQ(out.balance, M(70));
    EXPECT_EQ(in.in, M(30));
    EXPECT_EQ(in.out, M(0));
    EXPECT_EQ(in.category, "300");
    EXPECT_EQ(in.relate, "101");
    EXPECT_EQ(in.mark, "取现");
    EXPECT_EQ(in.balance, M(80));
    EXPECT_EQ(accountBalance("102"), M(80));
    EXPECT_TRUE(invariantsHold());
    // The ledger view was read again: it shows the partner and the new balances.
    ASSERT_EQ(ledger()->recordCount(), 4);
    EXPECT_EQ(ledger()->value(3, "TypeID").toString(), "102");
    EXPECT_EQ(ledger()->money("Balance"), M(70)); // still on the posted row
    EXPECT_EQ(FieldRules::toMoney(ledger()->value(3, "Balance")), M(80));

    ASSERT_TRUE(removeEntry("102", t));
    EXPECT_EQ(ledger()->recordCount(), 2);
    EXPECT_EQ(entries("101").size(), 1);
    EXPECT_EQ(entries("102").size(), 1);
    EXPECT_EQ(accountBalance("101"), M(100));
    EXPECT_EQ(accountBalance("102"), M(50));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, TransferEditedSwappingAccountsWhileMovingLater)
{
    enter(d1, "101", "301", 100);
    enter(d1, "102", "301", 50);
    const qint64 t = enter(d2, "101", "200", 30, "102");
    enter(d3, "101", "201", 10);
    enter(d3, "102", "201", 5);
    ASSERT_TRUE(editEntry("101", t));
    ledger()->setValue("TypeID", "102");
    ledger()->setValue("RelateTypeID", "101");
    ledger()->setValue("ActDate", d4);
    ASSERT_TRUE(ledger()->post());
    // Now 102 pays 30 to 101 on d4.
    EXPECT_EQ(entry("102", t).out, M(30));
    EXPECT_EQ(entry("102", t).balance, M(15));
    EXPECT_EQ(entry("101", t).in, M(30));
    EXPECT_EQ(entry("101", t).balance, M(120));
    EXPECT_EQ(accountBalance("101"), M(120));
    EXPECT_EQ(accountBalance("102"), M(15));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, TransferTurnedIntoAnOrdinaryEntryAndBack)
{
    enter(d1, "101", "301", 100);
    const qint64 t = enter(d2, "101", "200", 30, "102");
    ASSERT_TRUE(editEntry("101", t));
    ledger()->setValue("TypeID2", "201");
    EXPECT_TRUE(ledger()->text("RelateTypeID").isEmpty());
    ASSERT_TRUE(ledger()->post());
    EXPECT_TRUE(entries("102").isEmpty());
    EXPECT_TRUE(invariantsHold());
    ASSERT_TRUE(editEntry("101", t));
    ledger()->setValue("TypeID2", "200");
    ledger()->setValue("RelateTypeID", "103");
    ASSERT_TRUE(ledger()->post());
    EXPECT_EQ(entry("103", t).in, M(30));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, CategoryChangeMovesTheAmountAndSetsColumnsAndCountingFlag)
{
    RecordSet* rs = ledger();
    ASSERT_TRUE(rs->append());
    rs->setValue("TypeID2", "301");
    EXPECT_FALSE(rules->inReadOnly);
    EXPECT_TRUE(rules->outReadOnly);
    EXPECT_TRUE(rules->relateReadOnly);
    rs->setValue("InAmount", QVariant::fromValue(M(30)));
    rs->setValue("TypeID2", "201");
    EXPECT_EQ(rs->money("OutAmount"), M(30));
    EXPECT_EQ(rs->money("InAmount"), M(0));
    EXPECT_TRUE(rules->inReadOnly);
    EXPECT_FALSE(rules->outReadOnly);
    EXPECT_TRUE(rs->boolean("Included"));
    // The opening-balance category is not counted.
    rs->setValue("TypeID2", "302");
    EXPECT_EQ(rs->money("InAmount"), M(30));
    EXPECT_FALSE(rs->boolean("Included"));
    // Transfers are counted only when setting 2 says so.
    rs->setValue("TypeID2", "200");
    EXPECT_FALSE(rules->relateReadOnly);
    EXPECT_FALSE(rs->boolean("Included"));
    dm->writeSetting(2, "1");
    rs->setValue("TypeID2", "201");
    rs->setValue("TypeID2", "300");
    EXPECT_TRUE(rs->boolean("Included"));
    rs->cancel();
}

TEST_F(Posting, NextNewEntryInheritsDateCategoryAndAccount)
{
    enter(d1, "101", "301", 100);
    enter(d3, "102", "202", 12.5);
    RecordSet* rs = ledger();
    ASSERT_TRUE(rs->append());
    EXPECT_EQ(rs->date("ActDate"), d3);
    EXPECT_EQ(rs->text("TypeID2"), "202");
    EXPECT_EQ(rs->text("TypeID"), "102");
    EXPECT_EQ(rs->integer("ActID"), 3);
    EXPECT_EQ(rs->money("Balance"), M(-12.5));
    EXPECT_TRUE(rules->inReadOnly);
    EXPECT_TRUE(rules->undoEnabled);
    EXPECT_FALSE(rules->deleteShortcut);
    EXPECT_TRUE(rules->ledgerCellEditing);
    rs->cancel();
    EXPECT_TRUE(rules->deleteShortcut);
}

TEST_F(Posting, TheSevenChecksInOrderKeepTheEntryInEditing)
{
    QStringList focused;
    QObject::connect(rules.get(), &LedgerRules::focusColumn,
                     [&](RecordSet*, const QString& f) { focused << f; });
    RecordSet* rs = ledger();
    ASSERT_TRUE(rs->append());
    rs->setValue("ActDate", QVariant(QMetaType(QMetaType::QDate)));
    rs->setValue("TypeID", QVariant());
    struct Step {
        std::function<void()> before;
        const char* message;
        const char* field;
    };
    const QList<Step> steps = {
        {[] {}, "交易日期不能为空！", "ActDate"},
        {[&] { rs->setValue("ActDate", d1); }, "收支类型不能为空！", "TypeID2"},
        {[&] { rs->setValue("TypeID2", "299"); }, "不是有效的收支类型，请重新输入！", "TypeID2"},
        {[&] { rs->setValue("TypeID2", "200"); }, "转入/转出交易时,对应帐户不能空！", "RelateTypeID"},
        {[&] { rs->setValue("RelateTypeID", "101"); rs->setValue("TypeID", "101"); },
         "转入/转出交易时,交易帐户和对应帐户不能为同一帐户！", "RelateTypeID"},
        {[&] { rs->setValue("TypeID", QVariant()); rs->setValue("TypeID2", "201"); }, "交易金额不能为0或负！", "OutAmount"},
        {[&] { rs->setValue("OutAmount", QVariant::fromValue(M(5))); }, "交易帐户不能为空！", "TypeID"},
    };
    for (const Step& s : steps) {
        s.before();
        folder.messages.clear();
        focused.clear();
        EXPECT_FALSE(rs->post());
        EXPECT_EQ(rs->state(), RecordSet::Insert);
        ASSERT_EQ(folder.messages.count(), 1) << s.message;
        EXPECT_EQ(folder.messages.last().title, "提示");
        EXPECT_EQ(folder.messages.last().text, QString::fromUtf8(s.message));
        EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
        EXPECT_EQ(focused, QStringList{s.field});
    }
    // The amount check names the income side for an income category.
    rs->setValue("TypeID2", "301");
    rs->setValue("InAmount", QVariant::fromValue(M(0)));
    focused.clear();
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(focused, QStringList{"InAmount"});
    // A negative side is refused too, whatever the other side holds.
    rs->setValue("TypeID", "101");
    rs->setValue("InAmount", QVariant::fromValue(M(5)));
    rs->setValue("OutAmount", QVariant::fromValue(M(-5)));
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(folder.messages.last().text, "交易金额不能为0或负！");
    rs->setValue("OutAmount", QVariant::fromValue(M(0)));
    EXPECT_TRUE(rs->post());
    EXPECT_TRUE(entries().size() == 1);
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, CountingFlagTickedOnARowPostsAtOnceAndKeepsBalances)
{
    enter(d1, "101", "301", 100);
    const qint64 t = enter(d2, "101", "200", 30, "102");
    RecordSet* rs = ledger();
    rs->cancel();
    ASSERT_TRUE(editEntry("101", t));
    rules->ADOTableBeforeScroll(*rs); // the grid is back in row selection
    const bool was = rs->boolean("Included");
    rs->setValue("Included", !was);
    EXPECT_EQ(rs->state(), RecordSet::Browse);
    EXPECT_EQ(entry("102", t).included, !was);
    EXPECT_EQ(entry("101", t).included, !was);
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, FailedPartnerInsertLeavesNothingAndKeepsEditing)
{
    enter(d1, "101", "301", 100);
    dm->db().execScript(QStringLiteral(
        "CREATE TRIGGER refuse_partner BEFORE INSERT ON AC_List WHEN NEW.TypeID2 = '300' "
        "BEGIN SELECT RAISE(ABORT, 'x'); END;"));
    const auto before = entries();
    const Money b101 = accountBalance("101");
    RecordSet* rs = ledger();
    ASSERT_TRUE(rs->append());
    rs->setValue("ActDate", d2);
    rs->setValue("TypeID", "101");
    rs->setValue("TypeID2", "200");
    rs->setValue("RelateTypeID", "102");
    rs->setValue("OutAmount", QVariant::fromValue(M(30)));
    EXPECT_FALSE(rs->post());
    EXPECT_EQ(rs->state(), RecordSet::Insert);
    EXPECT_EQ(rs->money("OutAmount"), M(30));
    ASSERT_GE(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, "程序错误");
    EXPECT_TRUE(folder.messages.last().text.startsWith("修改记录错误: {INSERT INTO AC_List"));
    EXPECT_EQ(entries().size(), before.size());
    EXPECT_EQ(accountBalance("101"), b101);
    EXPECT_EQ(accountBalance("102"), M(0));
    EXPECT_TRUE(invariantsHold());
    // Without the fault the same entry posts.
    dm->db().execScript(QStringLiteral("DROP TRIGGER refuse_partner;"));
    EXPECT_TRUE(rs->post());
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, FailedEditOfATransferRestoresTheOldPair)
{
    enter(d1, "101", "301", 100);
    const qint64 t = enter(d2, "101", "200", 30, "102");
    dm->db().execScript(QStringLiteral(
        "CREATE TRIGGER refuse_partner BEFORE INSERT ON AC_List WHEN NEW.TypeID2 = '300' "
        "BEGIN SELECT RAISE(ABORT, 'x'); END;"));
    const auto before = entries();
    ASSERT_TRUE(editEntry("101", t));
    ledger()->setValue("ActDate", d4);
    ledger()->setValue("OutAmount", QVariant::fromValue(M(45)));
    EXPECT_FALSE(ledger()->post());
    EXPECT_EQ(ledger()->state(), RecordSet::Edit);
    const auto after = entries();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].balance, before[i].balance);
        EXPECT_EQ(after[i].date, before[i].date);
    }
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, FailedPartnerDeleteKeepsBothRowsAndBalances)
{
    enter(d1, "101", "301", 100);
    const qint64 t = enter(d2, "101", "200", 30, "102");
    enter(d3, "102", "201", 10);
    dm->db().execScript(QStringLiteral(
        "CREATE TRIGGER keep_partner BEFORE DELETE ON AC_List WHEN OLD.TypeID2 = '300' "
        "BEGIN SELECT RAISE(ABORT, 'x'); END;"));
    const auto before = entries();
    EXPECT_FALSE(removeEntry("101", t));
    EXPECT_EQ(folder.messages.last().title, "程序错误");
    EXPECT_TRUE(folder.messages.last().text.startsWith("修改记录错误: {DELETE FROM AC_List"));
    const auto after = entries();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].balance, before[i].balance);
    EXPECT_EQ(accountBalance("101"), M(70));
    EXPECT_EQ(accountBalance("102"), M(20));
    EXPECT_TRUE(invariantsHold());
}

TEST_F(Posting, BalanceOperations)
{
    enter(d1, "101", "301", 100);
    const qint64 b = enter(d2, "101", "201", 30);
    enter(d3, "101", "201", 20);
    EXPECT_EQ(rules->balanceBefore("101", d1, 1), M(0));
    EXPECT_EQ(rules->balanceBefore("101", d2, b), M(100));
    EXPECT_EQ(rules->balanceBefore("101", d2, b + 1), M(70));
    EXPECT_EQ(rules->balanceBefore("101", d4, 99), M(50));
    EXPECT_EQ(rules->entryBalance("101", d4, M(-5), 99), M(45));
    EXPECT_EQ(rules->entryBalance("", d4, M(-5), 99), M(0));
    // A shift leaves the entry at the position alone.
    {
        TDataModule1::Work w(*dm);
        EXPECT_TRUE(rules->balanceShift("101", d2, M(1), b));
        EXPECT_TRUE(w.commit());
    }
    EXPECT_EQ(entry("101", b).balance, M(70));
    EXPECT_EQ(entries("101").last().balance, M(51));
    EXPECT_EQ(accountBalance("101"), M(51));
}

TEST_F(Posting, AddressBookAndFavourites)
{
    dm->db().exec("INSERT INTO AC_Type VALUES ('501', '同学', '5', 0, '1', 0, 1)");
    RecordSet* addr = dm->ADOTable3;
    ASSERT_TRUE(addr->open());
    ASSERT_TRUE(addr->append());
    EXPECT_EQ(addr->integer("ID"), 1);
    EXPECT_FALSE(addr->post());
    EXPECT_EQ(folder.messages.last().text, "姓名不能为空！");
    addr->setValue("Name", "O'Brien");
    EXPECT_FALSE(addr->post());
    EXPECT_EQ(folder.messages.last().text, "类别不能为空！");
    addr->setValue("TypeID", "501");
    EXPECT_TRUE(addr->post());
    // Same name again: asked, Cancel keeps the row in editing.
    ASSERT_TRUE(addr->append());
    EXPECT_EQ(addr->integer("ID"), 2);
    EXPECT_EQ(addr->text("TypeID"), "501");
    addr->setValue("Name", "o'brien");
    folder.messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(addr->post());
    EXPECT_EQ(folder.messages.last().text, "o'brien已经输入！是否要添加？");
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Question);
    EXPECT_EQ(folder.messages.last().title, "提示");
    EXPECT_EQ(addr->state(), RecordSet::Insert);
    folder.messages.answerNext(MsgAnswer::Ok);
    EXPECT_TRUE(addr->post());

    RecordSet* memo = dm->ADOTable4;
    ASSERT_TRUE(memo->open());
    ASSERT_TRUE(memo->append());
    memo->setValue("Name", "新浪");
    EXPECT_FALSE(memo->post());
    EXPECT_EQ(folder.messages.last().text, "类别不能为空！");
}
