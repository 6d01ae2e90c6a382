// The budget plan: the rules of its rows, the six figures and the monthly
// fulfilment rebuilt from the liquid accounts.
#include "ledgerfixture.h"

class PlanTest : public LedgerFixture {
protected:
    RecordSet* plan() { return dm->ADOTable2; }
    bool editPlanRow(int id)
    {
        if (!plan()->isOpen() && !plan()->open())
            return false;
        return plan()->locate("ID", id) && plan()->edit();
    }
    Money planTotal(int id)
    {
        QueryResult r;
        dm->db().select("SELECT Total FROM AC_Plan WHERE UserID = 1 AND ID = ?", {id}, &r);
        return r.money(0, "Total");
    }
    QList<QPair<QString, Money>> fulfilment()
    {
        QueryResult r;
        dm->db().select("SELECT MonthNo, SaveAmount, Fullfill FROM AC_Fullfill WHERE UserID = 1 ORDER BY MonthNo", {}, &r);
        QList<QPair<QString, Money>> out;
        for (int i = 0; i < r.size(); ++i)
            out << qMakePair(r.text(i, "MonthNo"), r.money(i, "SaveAmount"));
        return out;
    }
};

TEST_F(PlanTest, TargetOverTwelveMonthsWithExistingFunds)
{
    // 2000 in liquid accounts before the start, 5000 off-book that does not count.
    enter(QDate(2007, 12, 1), "101", "302", 1500);
    enter(QDate(2007, 12, 2), "102", "302", 500);
    enter(QDate(2007, 12, 3), "103", "302", 5000);
    ASSERT_TRUE(editPlanRow(1));
    plan()->setValue("StartDate", QDate(2008, 1, 1));
    plan()->setValue("Amount", QVariant::fromValue(M(1000)));
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(1), M(12000));
    EXPECT_EQ(planTotal(2), M(2000));
    const PlanFigures& f = rules->planFigures();
    EXPECT_EQ(f.perMonthText(), "833.33");
    EXPECT_EQ(f.toAchieveText(), "10,000.00");
    EXPECT_EQ(f.incomeText(), "0.00");
    EXPECT_EQ(f.spendPerMonthText(), "-833.33");

    // Fulfilment: Jan saves 1000 - 200; Feb has only an off-book entry; Mar
    // moves 300 into the housing fund (spent) and 100 between liquid accounts (nothing).
    enter(QDate(2008, 1, 10), "101", "301", 1000);
    enter(QDate(2008, 1, 20), "101", "201", 200);
    enter(QDate(2008, 2, 10), "103", "301", 800);
    enter(QDate(2008, 3, 5), "102", "200", 300, "103");
    enter(QDate(2008, 3, 6), "101", "200", 100, "102");
    enter(QDate(2009, 1, 1), "101", "301", 999); // after the period
    rules->planRecalc();
    const auto rows = fulfilment();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].first, "2008-01");
    EXPECT_EQ(rows[0].second, M(800));
    EXPECT_EQ(rows[1].first, "2008-03");
    EXPECT_EQ(rows[1].second, M(-300));
    QueryResult r;
    dm->db().select("SELECT Fullfill FROM AC_Fullfill WHERE UserID = 1 ORDER BY MonthNo", {}, &r);
    EXPECT_NEAR(r.value(0, 0).toDouble(), 800 * 100 / 833.3333, 1e-6);
    ASSERT_TRUE(dm->ADOQuery8->open());
    EXPECT_EQ(dm->ADOQuery8->displayText(0, "SaveAmount"), "800.00");
    EXPECT_EQ(dm->ADOQuery8->displayText(0, "Fullfill"), "96.00%");
    const FulfilmentFooter footer = rules->fulfilmentFooter();
    EXPECT_EQ(footer.savingText(), "500.00");
    EXPECT_EQ(footer.overallText(), "5.00%");
}

TEST_F(PlanTest, TargetReachedGivesZeroFulfilment)
{
    enter(QDate(2007, 12, 1), "101", "302", 50000);
    ASSERT_TRUE(editPlanRow(1));
    plan()->setValue("StartDate", QDate(2008, 1, 1));
    plan()->setValue("Amount", QVariant::fromValue(M(1000)));
    ASSERT_TRUE(plan()->post());
    enter(QDate(2008, 1, 10), "101", "301", 1000);
    rules->planRecalc();
    ASSERT_EQ(fulfilment().size(), 1);
    QueryResult r;
    dm->db().select("SELECT Fullfill FROM AC_Fullfill WHERE UserID = 1", {}, &r);
    EXPECT_EQ(r.value(0, 0).toDouble(), 0.0);
    EXPECT_EQ(rules->fulfilmentFooter().overallText(), "0.00%");
}

TEST_F(PlanTest, MonthsFollowRowOneAndTheRowsAreChecked)
{
    ASSERT_TRUE(plan()->open());
    ASSERT_TRUE(plan()->append());
    EXPECT_EQ(plan()->integer("ID"), 3);
    EXPECT_EQ(plan()->integer("Months"), 12);
    EXPECT_FALSE(rules->planTypeReadOnly);
    EXPECT_TRUE(rules->planStartReadOnly);
    EXPECT_FALSE(plan()->post());
    EXPECT_EQ(folder.messages.last().text, "类别不能为空！");
    plan()->setValue("Type", "单项");
    EXPECT_FALSE(plan()->post());
    EXPECT_EQ(folder.messages.last().text, "类别不在指定范围内，请重新输入！");
    plan()->setValue("Type", "固定支出");
    plan()->setValue("Amount", QVariant::fromValue(M(100)));
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(3), M(1200));
    ASSERT_TRUE(plan()->append());
    plan()->setValue("Type", "单项收入");
    plan()->setValue("Amount", QVariant::fromValue(M(5000)));
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(4), M(5000));
    EXPECT_EQ(rules->planFigures().incomeText(), "5,000.00");
    EXPECT_EQ(rules->planFigures().expenseText(), "1,200.00");
    EXPECT_EQ(rules->planFigures().surplusText(), "3,800.00");

    // Row 1 from 12 to 6 months: the fixed row follows, the one-off does not.
    ASSERT_TRUE(editPlanRow(1));
    EXPECT_TRUE(rules->planTypeReadOnly);
    EXPECT_FALSE(rules->planMonthsReadOnly);
    plan()->setValue("Months", 0);
    EXPECT_FALSE(plan()->post());
    EXPECT_EQ(folder.messages.last().text, "月数不能小于1！");
    plan()->setValue("Months", 6);
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(3), M(600));
    EXPECT_EQ(planTotal(4), M(5000));
}

TEST_F(PlanTest, SubtotalSpreadsOverTheMonthsAndCancelledStartChangesNothing)
{
    ASSERT_TRUE(editPlanRow(1));
    plan()->setValue("Months", 3);
    rules->planFocusedColumn = QStringLiteral("小计");
    plan()->setValue("Total", QVariant::fromValue(M(1000)));
    EXPECT_EQ(plan()->money("Amount"), M(333.33));
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(1), M(999.99));
    rules->planFocusedColumn.clear();

    enter(QDate(2007, 12, 1), "101", "302", 700);
    ASSERT_TRUE(editPlanRow(1));
    plan()->setValue("StartDate", QDate(2008, 1, 1));
    plan()->cancel();
    EXPECT_EQ(planTotal(2), M(0));
    ASSERT_TRUE(editPlanRow(1));
    plan()->setValue("StartDate", QDate(2008, 1, 1));
    ASSERT_TRUE(plan()->post());
    EXPECT_EQ(planTotal(2), M(700));
}
