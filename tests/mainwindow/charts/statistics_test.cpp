// Periods, labels and sums of the statistics tabs over a small ledger.

#include "recordfilters.h"
#include "statistics.h"
#include "testdb.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Stats;

namespace {

QDate D(int y, int m, int d) { return QDate(y, m, d); }
Money Y(double v) { return Money::fromDouble(v); }

QStringList labels(const QVector<Period>& ps)
{
    QStringList l;
    for (const auto& p : ps)
        l << p.label;
    return l;
}

} // namespace

// --- periods and labels ---------------------------------------------------------

TEST(StatsPeriods, LabelsAndBoundsOfEveryUnit)
{
    struct Case {
        int unit;
        QDate start, end;
        int labelDay, labelMonth;
        QStringList labels;
    };
    const QList<Case> cases{
        {Day, D(2008, 3, 30), D(2008, 4, 1), 0, 0, {"2008-3-30", "2008-3-31", "2008-4-1"}},
        // A Wednesday to a Thursday: cut first and last weeks, labelled by their Monday.
        {Week, D(2008, 3, 5), D(2008, 3, 20), 0, 0, {"2008-3-3", "2008-3-10", "2008-3-17"}},
        // The label on Sunday (setting 16 = 6) and on Wednesday.
        {Week, D(2008, 3, 5), D(2008, 3, 20), 6, 0, {"2008-3-9", "2008-3-16", "2008-3-23"}},
        {Week, D(2008, 3, 5), D(2008, 3, 20), 2, 0, {"2008-3-5", "2008-3-12", "2008-3-19"}},
        {Month, D(2007, 11, 20), D(2008, 2, 3), 0, 0, {"2007-11", "2007-12", "2008-01", "2008-02"}},
        // Quarter labels at the start, middle and end month.
        {Quarter, D(2008, 2, 10), D(2008, 4, 2), 0, 0, {"2008-01", "2008-04"}},
        {Quarter, D(2008, 2, 10), D(2008, 4, 2), 1, 1, {"2008-02", "2008-05"}},
        {Quarter, D(2008, 2, 10), D(2008, 4, 2), 0, 2, {"2008-03", "2008-06"}},
        {Year, D(2007, 6, 1), D(2008, 1, 1), 0, 0, {"2007", "2008"}},
    };
    for (const Case& c : cases) {
        const QVector<Period> ps = periods(c.unit, c.start, c.end, c.labelDay, c.labelMonth);
        EXPECT_EQ(labels(ps), c.labels) << c.unit << " " << c.labelDay << c.labelMonth;
        ASSERT_FALSE(ps.isEmpty());
        // The periods tile the span exactly.
        EXPECT_EQ(ps.first().start, c.start);
        EXPECT_EQ(ps.last().end, c.end);
        for (int i = 1; i < ps.size(); ++i)
            EXPECT_EQ(ps[i].start, ps[i - 1].end.addDays(1));
    }
    const QVector<Period> w = periods(Week, D(2008, 3, 5), D(2008, 3, 20));
    EXPECT_EQ(w[0].end, D(2008, 3, 9));
    EXPECT_EQ(w[1].start, D(2008, 3, 10));
    EXPECT_EQ(w[2].start, D(2008, 3, 17));
    // Out-of-range settings are clamped, a reversed span has no periods.
    EXPECT_EQ(labels(periods(Quarter, D(2008, 1, 1), D(2008, 1, 1), 0, 9)), QStringList{"2008-03"});
    EXPECT_TRUE(periods(Day, D(2008, 1, 2), D(2008, 1, 1)).isEmpty());
    EXPECT_EQ(unitFromSetting("3"), 3);
    EXPECT_EQ(unitFromSetting("x"), 0);
    EXPECT_EQ(unitFromSetting("7"), 0);
    EXPECT_EQ(unitTitle(Quarter), QStringLiteral("单位：季"));
}

// --- sums over the ledger --------------------------------------------------------

class StatsDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
        addUserRow(dm->db(), 2, QStringLiteral("李四"), QString());
        dm->currentUser = QStringLiteral("1");
        addType("101", "现金", false, "1", 1, 100);
        addType("102", "工资卡", false, "1", 1, 0);
        addType("103", "公积金", true, "1", 1, 0);
        addType("104", "旧存折", false, "0", 1, 0);
        addType("201", "伙食", false, "1", 1, 0);
        addType("202", "交通", false, "1", 1, 0);
        addType("301", "工资", false, "1", 1, 0);
        addType("201", "别人的伙食", false, "1", 2, 0);
        stats = std::make_unique<Statistics>(dm.get());
        stats->today = [] { return QDate(2008, 3, 10); };
    }
    void addType(const char* id, const char* name, bool fund, const char* use, int user, double balance)
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, ?, ?, ?, ?)"),
                             {QString::fromUtf8(id), QString::fromUtf8(name), QString(QChar(id[0])),
                              Y(balance).raw(), QString::fromLatin1(use), fund, user}));
    }
    // Entries carry their running balance as the posting rules would leave it.
    void entry(int id, QDate d, double in, double out, const char* account, const char* category,
               const QString& mark = QString(), double balance = 0, bool included = true, int user = 1)
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, NULL, ?, ?, ?)"),
                             {id, Dates::toIso(d), Y(in).raw(), Y(out).raw(), QString::fromLatin1(account),
                              QString::fromLatin1(category), mark, Y(balance).raw(), included, user,
                              Y(in + out).raw()}));
    }
    // The ledger view of a node and range, as the list refresh sets it.
    void view(const QString& typeId, const QString& flag, QDate start, QDate end, const QString& description = {})
    {
        RecordFilters f(dm.get());
        RecordFilters::LedgerQuery q = RecordFilters::queryForNode(GridNode{typeId, flag}, start, end);
        q.description = description;
        dm->viewStart = start;
        dm->viewEnd = end;
        f.buildCriteria(q, &dm->viewCondition, &dm->viewParams);
    }
    // A small ledger: cash pays food and fares, salary arrives on the card.
    void seed()
    {
        entry(1, D(2008, 3, 3), 0, 20, "101", "201", "早饭", 80);
        entry(2, D(2008, 3, 3), 0, 5, "101", "202", "公交", 75);
        entry(3, D(2008, 3, 5), 1000, 0, "102", "301", "三月工资", 1000);
        entry(4, D(2008, 3, 5), 0, 30.5, "101", "201", "午饭", 44.5);
        entry(5, D(2008, 3, 10), 0, 100, "101", "201", "聚餐（不计）", -55.5, false);
        entry(6, D(2008, 3, 12), 0, 12.25, "101", "202", "出租", -67.75);
        entry(7, D(2008, 3, 12), 500, 0, "103", "301", "公积金", 500);
        entry(8, D(2008, 4, 2), 0, 7, "101", "201", "四月", -74.75);
        entry(9, D(2008, 3, 5), 0, 999, "101", "201", "别人的", 0, true, 2);
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    std::unique_ptr<Statistics> stats;
};

TEST_F(StatsDb, IncomeAndExpenseByDayHaveAPointForEveryDay)
{
    seed();
    view("1", "0", D(2008, 3, 3), D(2008, 3, 12));
    const IncomeExpense r = stats->incomeExpense(Day);
    ASSERT_EQ(r.periods.size(), 10);
    EXPECT_EQ(r.periods.first().label, QStringLiteral("2008-3-3"));
    EXPECT_EQ(r.expense[0], Y(25));
    EXPECT_EQ(r.expense[1], Money());      // 3-4: no entries
    EXPECT_EQ(r.expense[2], Y(30.5));
    EXPECT_EQ(r.expense[7], Money());      // 3-10: not counted in statistics
    EXPECT_EQ(r.expense[9], Y(12.25));
    EXPECT_EQ(r.income[2], Y(1000));
    EXPECT_EQ(r.income[9], Y(500));
    EXPECT_TRUE(folder.messages.shown.isEmpty());
}

TEST_F(StatsDb, SumsAgreeWithTheLedgerFooters)
{
    seed();
    RecordFilters f(dm.get());
    for (int unit : {Day, Week, Month, Quarter, Year}) {
        // The "支出" root over March, and the food category over everything.
        for (int v = 0; v < 2; ++v) {
            if (v == 0)
                view("2", "0", D(2008, 3, 1), D(2008, 3, 31));
            else
                view("201", "2", QDate(), QDate());
            const IncomeExpense r = stats->incomeExpense(unit);
            Money expense, income;
            for (int i = 0; i < r.periods.size(); ++i) {
                expense += r.expense[i];
                income += r.income[i];
            }
            const LedgerFooters foot = f.ledgerFooters();
            ASSERT_TRUE(foot.computed);
            EXPECT_EQ(expense, foot.outAmount.value<Money>()) << unit << " " << v;
            EXPECT_EQ(income, Money());
            Money pieTotal;
            stats->categoryShares(&pieTotal);
            EXPECT_EQ(pieTotal, foot.outAmount.value<Money>());
        }
    }
    // Weeks of March for the "支出" root: 3-3..3-9 and so on, labelled on Monday.
    dm->writeSetting(16, "0");
    view("2", "0", D(2008, 3, 1), D(2008, 3, 31));
    const IncomeExpense w = stats->incomeExpense(Week);
    EXPECT_EQ(labels(w.periods), (QStringList{"2008-2-25", "2008-3-3", "2008-3-10", "2008-3-17", "2008-3-24", "2008-3-31"}));
    EXPECT_EQ(w.expense[1], Y(55.5));
    EXPECT_EQ(w.expense[2], Y(12.25));
    EXPECT_EQ(w.expense[3], Money());
}

TEST_F(StatsDb, CategoryPieNamesTheSlicesAndIgnoresAQuoteOrPercentInTheSearch)
{
    seed();
    entry(10, D(2008, 3, 6), 0, 3, "101", "201", QStringLiteral("100% 'quoted' \"x\""), 0);
    view("1", "0", D(2008, 3, 1), D(2008, 3, 31));
    Money total;
    QVector<Slice> s = stats->categoryShares(&total);
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].name, QStringLiteral("伙食"));
    EXPECT_EQ(s[0].value, Y(53.5));
    EXPECT_EQ(s[1].name, QStringLiteral("交通"));
    EXPECT_EQ(s[2].name, QStringLiteral("工资"));
    EXPECT_EQ(s[2].value, Y(1500));
    EXPECT_EQ(total, Y(1570.75));

    // The description search text is data: it finds the one entry and nothing else.
    for (const QString& text : {QStringLiteral("100%"), QStringLiteral("'quoted'"), QStringLiteral("%"),
                                QStringLiteral("\" OR 1=1 --")}) {
        view("1", "0", D(2008, 3, 1), D(2008, 3, 31), text);
        s = stats->categoryShares(&total);
        const IncomeExpense r = stats->incomeExpense(Month);
        if (text.startsWith('"')) {
            EXPECT_TRUE(s.isEmpty());
            EXPECT_EQ(r.expense.value(0), Money());
        } else {
            ASSERT_EQ(s.size(), 1) << text.toStdString();
            EXPECT_EQ(total, Y(3));
            EXPECT_EQ(r.expense.value(0), Y(3));
        }
    }
    EXPECT_TRUE(folder.messages.shown.isEmpty());

    // A view without entries: no slices, total 0.00.
    view("202", "2", D(2009, 1, 1), D(2009, 1, 31));
    EXPECT_TRUE(stats->categoryShares(&total).isEmpty());
    EXPECT_EQ(total.display(), QStringLiteral("0.00"));
}

TEST_F(StatsDb, SurplusCountsOnlyTheAvailableFundAccounts)
{
    seed();
    entry(11, D(2008, 3, 20), 0, 9, "104", "201", "停用帐户", 0);
    view("1", "0", D(2008, 3, 1), D(2008, 4, 30));
    const Surplus m = stats->surplus(Month);
    ASSERT_EQ(labels(m.periods), (QStringList{"2008-03", "2008-04"}));
    // March: -25 + 1000 - 30.5 - 100 (not counted, but money all the same) - 12.25;
    // the housing fund (outside the books) and the switched-off account do not count.
    EXPECT_EQ(m.values[0], Y(832.25));
    EXPECT_EQ(m.values[1], Y(-7));
    const Surplus d = stats->surplus(Day);
    EXPECT_EQ(d.values.size(), 61);
    EXPECT_EQ(d.values[4], Y(1000 - 30.5)); // 3-5
}

TEST_F(StatsDb, SpanOfAnOpenRange)
{
    QDate s, e;
    view("1", "0", QDate(), QDate());
    stats->span(&s, &e);
    EXPECT_EQ(s, D(2008, 3, 10)); // no entries: today alone
    EXPECT_EQ(e, D(2008, 3, 10));
    EXPECT_EQ(stats->incomeExpense(Week).periods.size(), 1);
    seed();
    stats->span(&s, &e);
    EXPECT_EQ(s, D(2008, 3, 3));
    EXPECT_EQ(e, D(2008, 4, 2));
    view("1", "0", D(2008, 3, 4), D(2008, 3, 6));
    stats->span(&s, &e);
    EXPECT_EQ(s, D(2008, 3, 4));
    EXPECT_EQ(e, D(2008, 3, 6));
}

TEST_F(StatsDb, BalancesDayByDay)
{
    seed();
    view("1", "0", D(2008, 3, 4), D(2008, 3, 12));
    const BalanceHistory h = stats->balances(QString());
    ASSERT_EQ(h.days.size(), 9);
    // Before the span: cash 75, card nothing yet; the fund 0.
    EXPECT_EQ(h.inside[0], Y(75));
    EXPECT_EQ(h.inside[1], Y(1044.5)); // 3-5: salary and lunch
    EXPECT_EQ(h.inside[6], Y(944.5));  // 3-10
    EXPECT_EQ(h.inside[8], Y(932.25));
    EXPECT_EQ(h.outside[7], Money());
    EXPECT_EQ(h.outside[8], Y(500));

    // An account without entries in the span: a flat line at its balance before.
    view("101", "1", D(2008, 3, 13), D(2008, 3, 20));
    const BalanceHistory flat = stats->balances(QStringLiteral("101"));
    ASSERT_EQ(flat.days.size(), 8);
    for (const Money& m : flat.inside)
        EXPECT_EQ(m, Y(-67.75));
    for (const Money& m : flat.outside)
        EXPECT_EQ(m, Money());
}
