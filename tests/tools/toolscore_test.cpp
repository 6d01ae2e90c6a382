// The calculators' computations and tables, without windows.

#include "depositcalc.h"
#include "loancalc.h"
#include "ratetables.h"
#include "schemaversion.h"
#include "taxcalc.h"
#include "testdb.h"
#include "toolsdb.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

using ToolText::money;

namespace {

struct ToolsDb : ::testing::Test {
    void SetUp() override
    {
        dm = folder.makeDataModule();
        SchemaVersion::check(*dm);
        ASSERT_TRUE(conn.open(dm->databasePath()));
        folder.messages.clear();
    }
    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    ToolConnection conn{&folder.messages};
    const QDate today{2026, 3, 5};
};

} // namespace

// --- loan schedules -----------------------------------------------------------

TEST(LoanCalc, EqualInstalmentsOverOneYear)
{
    const auto s = LoanCalc::compute(100000, 1, 6.0, 1, 12, LoanCalc::Method::EqualInstalment);
    ASSERT_EQ(s.rows.size(), 12);
    for (const auto& r : s.rows)
        EXPECT_EQ(money(r.payment), "8,606.64") << r.period;
    EXPECT_EQ(money(s.rows[0].principal), "8,106.64");
    EXPECT_EQ(money(s.rows[0].interest), "500.00");
    EXPECT_EQ(money(s.rows[0].remaining), "100,000.00");
    EXPECT_EQ(money(s.totalPayment), "103,279.72");
    EXPECT_EQ(money(s.totalInterest), "3,279.72");
    // The last period pays off what is left.
    EXPECT_NEAR(s.rows[11].remaining - s.rows[11].principal, 0.0, 1e-6);
}

TEST(LoanCalc, EqualPrincipalOverOneYear)
{
    const auto s = LoanCalc::compute(100000, 1, 6.0, 1, 12, LoanCalc::Method::EqualPrincipal);
    ASSERT_EQ(s.rows.size(), 12);
    EXPECT_EQ(money(s.rows[0].payment), "8,833.33");
    EXPECT_EQ(money(s.rows[0].principal), "8,333.33");
    EXPECT_EQ(money(s.rows[0].interest), "500.00");
    EXPECT_EQ(money(s.rows[11].payment), "8,375.00");
    EXPECT_EQ(money(s.rows[11].interest), "41.67");
    EXPECT_EQ(money(s.rows[11].remaining), "8,333.33");
}

TEST(LoanCalc, OnePeriodInTheMiddleRunsThroughTheEarlierOnes)
{
    const auto s = LoanCalc::compute(100000, 1, 6.0, 5, 5, LoanCalc::Method::EqualInstalment);
    ASSERT_EQ(s.rows.size(), 1);
    EXPECT_EQ(s.rows[0].period, 5);
    EXPECT_EQ(money(s.rows[0].payment), "8,606.64");
    EXPECT_EQ(money(s.rows[0].principal), "8,270.00");
    EXPECT_EQ(money(s.rows[0].interest), "336.65");
    EXPECT_EQ(money(s.rows[0].remaining), "67,329.42");
    EXPECT_EQ(money(s.totalPayment), "8,606.64");
    EXPECT_EQ(money(s.totalInterest), "336.65");
}

TEST(LoanCalc, AtMaturityPaysEverythingInTheLastPeriod)
{
    const auto s = LoanCalc::compute(100000, 2, 6.0, 23, 24, LoanCalc::Method::AtMaturity);
    ASSERT_EQ(s.rows.size(), 2);
    EXPECT_EQ(money(s.rows[0].payment), "0.00");
    EXPECT_EQ(money(s.rows[1].payment), "112,000.00");
    EXPECT_EQ(money(s.rows[1].interest), "12,000.00");
    EXPECT_EQ(money(s.totalInterest), "12,000.00");
}

TEST(LoanCalc, InputIsCheckedInOrder)
{
    using F = LoanCalc::Field;
    const struct { LoanCalc::Input in; F field; const char* message; } cases[] = {
        {{"", "1", "6", "1", "12"}, F::Principal, "请输入贷款本金!且本金必须大于0"},
        {{"abc", "1", "6", "1", "12"}, F::Principal, "请输入贷款本金!且本金必须大于0"},
        {{"-5", "1", "6", "1", "12"}, F::Principal, "请输入贷款本金!且本金必须大于0"},
        {{"1,000", "", "6", "1", "12"}, F::Years, "请输入贷款年限!且贷款年限必须大于0"},
        {{"1000", "1.5", "6", "1", "12"}, F::Years, "请输入贷款年限!且贷款年限必须大于0"},
        {{"1000", "1", "x", "1", "12"}, F::Rate, "请输入年利率!且年利率必须大于0"},
        {{"1000", "1", "-1", "1", "12"}, F::Rate, "请输入年利率!且年利率必须大于0"},
        {{"1000", "1", "6", "", "12"}, F::FirstPeriod, "请输入需要计算的期数!"},
        {{"1000", "1", "6", "13", "12"}, F::FirstPeriod, "请输入输入的期数不能大于按揭总月数!"},
        {{"1000", "1", "6", "1", "0"}, F::LastPeriod, "请输入需要计算的期数!"},
        {{"1000", "1", "6", "1", "13"}, F::LastPeriod, "请输入输入的期数不能大于按揭总月数!"},
        {{"1000", "1", "6", "5", "4"}, F::LastPeriod, "请输入输入的j结束期数不能大于起始期数!"},
        // A term whose schedule would not fit in the grid (and years × 12 beyond an int).
        {{"1000", "1001", "6", "1", "12"}, F::Years, "贷款年限不能超过1000年!"},
        {{"1000", "200000000", "6", "1", "12"}, F::Years, "贷款年限不能超过1000年!"},
    };
    for (const auto& c : cases) {
        const auto r = LoanCalc::check(c.in);
        EXPECT_EQ(r.badField, c.field) << c.in.principal.toStdString() << " " << c.message;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message));
    }
    const auto ok = LoanCalc::check({"100,000.00", "1", "6.000", "1", "12"});
    EXPECT_EQ(ok.badField, F::None);
    EXPECT_DOUBLE_EQ(ok.principal, 100000);
}

TEST(LoanCalc, HugeFiguresStayFiniteAndAreShownInFull)
{
    // (1 + i)^N overflows a double here: the payment is still the interest-only limit.
    const auto s = LoanCalc::compute(100000, 1000, 100000.0, 1, 1, LoanCalc::Method::EqualInstalment);
    ASSERT_EQ(s.rows.size(), 1);
    EXPECT_TRUE(std::isfinite(s.rows[0].payment));
    EXPECT_EQ(money(s.rows[0].payment), money(s.rows[0].interest));
    // Beyond what a Money holds the figure is still grouped and signed.
    EXPECT_EQ(ToolText::money(1e18), "1,000,000,000,000,000,000.00");
    EXPECT_EQ(ToolText::money(-2.5e17), "-250,000,000,000,000,000.00");
    EXPECT_EQ(ToolText::money(std::nan("")), "");
}

TEST(LoanCalc, YearsFillThePeriodFields)
{
    EXPECT_EQ(LoanCalc::periodsForYears("20"), qMakePair(QString("1"), QString("240")));
    EXPECT_EQ(LoanCalc::periodsForYears("0"), qMakePair(QString(), QString()));
    EXPECT_EQ(LoanCalc::periodsForYears(""), qMakePair(QString(), QString()));
    EXPECT_EQ(LoanCalc::periodsForYears("x"), qMakePair(QString(), QString()));
}

TEST(DepositCalc, TermsRollOverAndTheDaysLeftEarnTheDemandRate)
{
    EXPECT_EQ(DepositCalc::termMonths("12"), 12);
    EXPECT_EQ(DepositCalc::termMonths("M6"), 6);
    EXPECT_EQ(DepositCalc::termMonths("y3"), 36);
    EXPECT_EQ(DepositCalc::termMonths("0"), 0);
    EXPECT_EQ(DepositCalc::termMonths("D7"), 0);
    EXPECT_EQ(DepositCalc::termMonths("abc"), 0);

    DepositCalc::Input in;
    in.principal = "10,000";
    in.rate = "3";
    in.taxRate = "20";
    in.from = "2024-3-1";
    in.to = "2026-9-1";
    in.months = 12;
    in.demandRate = 0.36;
    auto r = DepositCalc::compute(in);
    ASSERT_TRUE(r.message.isEmpty());
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(money(r.rows[1].principal), "10,300.00");
    // 184 days at 0.36 % on 10,609.00
    EXPECT_EQ(money(r.rows[2].interest), money(10609 * 0.0036 * 184 / 360));
    EXPECT_EQ(money(r.tax), money(r.interest * 0.2));
    in.mode = DepositCalc::RollOver::None; // one term, then the demand rate on the principal
    r = DepositCalc::compute(in);
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(money(r.rows[0].interest), "300.00");
    EXPECT_EQ(r.rows[1].from, QDate(2025, 3, 1));
    EXPECT_EQ(money(r.rows[1].principal), "10,000.00");
    in.months = 0; // a demand deposit: all days at its own rate
    r = DepositCalc::compute(in);
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(money(r.interest), money(10000 * 0.03 * QDate(2024, 3, 1).daysTo(QDate(2026, 9, 1)) / 360.0));

    const struct { const char* principal; const char* rate; const char* from; const char* to; const char* tax; DepositCalc::Field f; } bad[] = {
        {"", "3", "2024-1-1", "2025-1-1", "20", DepositCalc::Field::Principal},
        {"-1", "3", "2024-1-1", "2025-1-1", "20", DepositCalc::Field::Principal},
        {"100", "x", "2024-1-1", "2025-1-1", "20", DepositCalc::Field::Rate},
        {"100", "3", "2024-13-1", "2025-1-1", "20", DepositCalc::Field::From},
        {"100", "3", "2024-1-1", "2024-1-1", "20", DepositCalc::Field::To},
        {"100", "3", "2024-1-1", "2025-1-1", "120", DepositCalc::Field::TaxRate},
    };
    for (const auto& b : bad) {
        DepositCalc::Input x;
        x.principal = b.principal;
        x.rate = b.rate;
        x.from = b.from;
        x.to = b.to;
        x.taxRate = b.tax;
        const auto res = DepositCalc::compute(x);
        EXPECT_EQ(res.badField, b.f) << b.principal << b.rate << b.from << b.to << b.tax;
        EXPECT_FALSE(res.message.isEmpty());
        EXPECT_TRUE(res.rows.isEmpty());
    }
}

// --- rate tables ----------------------------------------------------------------

TEST_F(ToolsDb, ListsAndTheRateInForce)
{
    const auto cur = RateTables::currencies(conn);
    ASSERT_EQ(cur.size(), 1);
    EXPECT_EQ(cur[0].name, "人民币");
    const auto dep = RateTables::kinds(conn, "C");
    ASSERT_EQ(dep.size(), 2);
    EXPECT_EQ(RateTables::kinds(conn, "D").size(), 2);
    // Only terms that have a rate for the currency and kind.
    auto t = RateTables::termsFor(conn, 0, 1);
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].name, "一年");
    EXPECT_TRUE(RateTables::termsFor(conn, 5, 1).isEmpty());

    double rate = 0;
    ASSERT_TRUE(RateTables::rateFor(conn, 0, 1, 1, today, &rate));
    EXPECT_DOUBLE_EQ(rate, 3.0);
    // A newer rate takes over from its effective date on; a future one waits.
    ASSERT_TRUE(conn.exec("INSERT INTO INT_Rate(TypeID, CurID, TermID, Rate, UpdDate) VALUES(1, 0, 1, 3.5, ?)",
                          {QDate(2026, 3, 1)}));
    ASSERT_TRUE(conn.exec("INSERT INTO INT_Rate(TypeID, CurID, TermID, Rate, UpdDate) VALUES(1, 0, 1, 4.0, ?)",
                          {QDate(2026, 4, 1)}));
    ASSERT_TRUE(RateTables::rateFor(conn, 0, 1, 1, today, &rate));
    EXPECT_DOUBLE_EQ(rate, 3.5);
    ASSERT_TRUE(RateTables::rateFor(conn, 0, 1, 1, QDate(2026, 4, 2), &rate));
    EXPECT_DOUBLE_EQ(rate, 4.0);
    EXPECT_FALSE(RateTables::rateFor(conn, 0, 1, 2, today, &rate));
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(ToolsDb, SavingRowsChecksInOrderAndBindsEveryValue)
{
    using RateTables::Table;
    const struct { Table t; QMap<QString, QString> v; const char* message; const char* field; } refused[] = {
        {Table::Rate, {{"CurID", "0"}, {"TermID", "1"}}, "类别不能为空！", "TypeID"},
        {Table::Rate, {{"TypeID", "1"}, {"TermID", "1"}}, "币种不能为空！", "CurID"},
        {Table::Rate, {{"TypeID", "1"}, {"CurID", "0"}}, "期限不能为空！", "TermID"},
        {Table::Rate, {{"TypeID", "1"}, {"CurID", "0"}, {"TermID", "1"}, {"Rate", "abc"}}, "年利率必须是数字！", "Rate"},
        {Table::Rate, {{"TypeID", "1"}, {"CurID", "0"}, {"TermID", "1"}, {"Rate", "-1"}}, "年利率不能小于0！", "Rate"},
        {Table::Cur, {{"CurName", " "}}, "币种不能为空！", "CurName"},
        {Table::Cur, {{"CurName", "美元"}, {"ExchRate", "x"}}, "汇率必须是大于0的数字！", "ExchRate"},
        {Table::Type, {{"TypeFlag", "C"}}, "类名不能为空！", "TypeName"},
        {Table::Term, {{"Months", "6"}}, "期限不能为空！", "TermName"},
        {Table::Term, {{"TermName", "半年"}}, "月数不能为空！", "Months"},
    };
    for (const auto& r : refused) {
        const auto s = RateTables::save(conn, r.t, QVariant(), r.v, today);
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.message, QString::fromUtf8(r.message));
        EXPECT_EQ(s.field, QString::fromUtf8(r.field));
    }

    // Quotes and percent signs are data.
    auto s = RateTables::save(conn, Table::Cur, QVariant(), {{"CurName", "O'Neil%_币"}, {"ExchRate", "6.8"}}, today);
    ASSERT_TRUE(s.ok) << s.message.toStdString();
    QueryResult r;
    conn.query("SELECT * FROM INT_Cur WHERE ID = ?", {s.id}, &r);
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "CurName"), "O'Neil%_币");
    EXPECT_DOUBLE_EQ(r.value(0, "ExchRate").toDouble(), 6.8);
    EXPECT_EQ(r.date(0, "UpdDate"), today); // a new currency is dated today

    s = RateTables::save(conn, Table::Term, QVariant(), {{"TermName", "半年"}, {"Months", "M6"}}, today);
    ASSERT_TRUE(s.ok);
    const QVariant termId = s.id;
    s = RateTables::save(conn, Table::Term, termId, {{"TermName", "六个月"}, {"Months", "M6"}}, today);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(RateTables::terms(conn).last().name, "六个月");

    // A second rate for the same kind, currency, term and date is refused.
    const QMap<QString, QString> rate{{"TypeID", "1"}, {"CurID", "0"}, {"TermID", termId.toString()},
                                      {"Rate", "2.8"}, {"UpdDate", "2026-3-1"}};
    s = RateTables::save(conn, Table::Rate, QVariant(), rate, today);
    ASSERT_TRUE(s.ok);
    const QVariant rateId = s.id;
    s = RateTables::save(conn, Table::Rate, QVariant(), rate, today);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.field, "UpdDate");
    // ... but the row itself can be saved again.
    EXPECT_TRUE(RateTables::save(conn, Table::Rate, rateId, rate, today).ok);
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(ToolsDb, DefaultRecordsStayAndRatesCanAlwaysGo)
{
    using RateTables::Table;
    for (Table t : {Table::Cur, Table::Type, Table::Term}) {
        QString message;
        EXPECT_FALSE(RateTables::remove(conn, t, 0, &message));
        EXPECT_EQ(message, "默认记录不允许删除！");
        EXPECT_EQ(RateTables::rows(conn, t).value(0, "ID").toInt(), 0);
        EXPECT_EQ(RateTables::save(conn, t, 0, {{"CurName", "x"}, {"TypeName", "x"}, {"TypeFlag", "C"},
                                               {"TermName", "x"}, {"Months", "1"}}, today).message,
                  "默认记录不允许修改！");
    }
    QString message;
    EXPECT_TRUE(RateTables::remove(conn, Table::Rate, 0, &message));
    EXPECT_TRUE(RateTables::remove(conn, Table::Term, 1, &message));
    // The rate that named the term stays.
    EXPECT_EQ(RateTables::rows(conn, Table::Rate).size(), 1);
}

TEST_F(ToolsDb, TheSecondConnectionSeesCommittedDataBothWays)
{
    {
        TDataModule1::Work w(*dm);
        ASSERT_TRUE(dm->exec("INSERT INTO INT_Cur(CurName, ExchRate, UpdDate) VALUES(?, 7.1, ?)",
                             {QStringLiteral("美元"), today}));
        ASSERT_TRUE(w.commit());
    }
    EXPECT_EQ(RateTables::currencies(conn).last().name, "美元");
    ASSERT_TRUE(RateTables::save(conn, RateTables::Table::Term, QVariant(), {{"TermName", "五年"}, {"Months", "60"}},
                                 today).ok);
    ASSERT_TRUE(dm->query("SELECT TermName FROM INT_Term ORDER BY ID DESC"));
    EXPECT_EQ(dm->ADOQuery1().text(0, "TermName"), "五年");
}

TEST_F(ToolsDb, QueryFailuresAreReportedWithTheStatement)
{
    QueryResult r;
    EXPECT_FALSE(conn.query("SELECT * FROM NoSuchTable", {}, &r));
    EXPECT_TRUE(r.isEmpty());
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, "程序错误");
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(folder.messages.last().text.startsWith("查询记录错误: {SELECT * FROM NoSuchTable}, 详细信息：{"));
    EXPECT_TRUE(folder.messages.last().text.endsWith("请与" + TDataModule1::supportAddress() + "联系"));
    EXPECT_FALSE(conn.exec("DELETE FROM NoSuchTable"));
    EXPECT_TRUE(folder.messages.last().text.startsWith("修改记录错误: {DELETE FROM NoSuchTable}"));
}

// --- income tax -------------------------------------------------------------------

TEST_F(ToolsDb, TaxTableIsCreatedOnceWithItsSevenRows)
{
    EXPECT_TRUE(TaxCalc::ensureTable(conn, today));
    QueryResult r;
    conn.query("SELECT * FROM Tax_Rate ORDER BY Grade", {}, &r);
    ASSERT_EQ(r.size(), 7);
    EXPECT_EQ(r.text(0, "Description"), "不超过1500元");
    EXPECT_EQ(r.text(6, "Description"), "超过80000元的部分");
    EXPECT_DOUBLE_EQ(r.value(6, "Ceiling").toDouble(), 99999999);
    EXPECT_DOUBLE_EQ(r.value(3, "Deduction").toDouble(), 1005);
    EXPECT_EQ(r.date(0, "UpdDate"), today);
    EXPECT_FALSE(TaxCalc::ensureTable(conn, today));
    conn.query("SELECT COUNT(*) FROM Tax_Rate", {}, &r);
    EXPECT_EQ(r.value(0, 0).toInt(), 7);
}

TEST_F(ToolsDb, WageBonusAndRemunerationTax)
{
    TaxCalc::ensureTable(conn, today);
    // Salary 5000 with the threshold 1600.
    auto w = TaxCalc::wage(conn, 5000, 0, 0, 1600);
    EXPECT_EQ(money(w.taxable), "3,400.00");
    EXPECT_EQ(w.rateText, "10");
    EXPECT_EQ(money(w.tax), "235.00");
    // One case per bracket, at its ceiling.
    const struct { double taxable; const char* rate; double tax; } brackets[] = {
        {1500, "3", 45}, {4500, "10", 345}, {9000, "20", 1245}, {35000, "25", 7745},
        {55000, "30", 13745}, {80000, "35", 22495}, {100000, "45", 31495}, {0, "3", 0}};
    for (const auto& b : brackets) {
        const auto x = TaxCalc::wage(conn, b.taxable + 1600, 0, 0, 1600);
        EXPECT_EQ(x.rateText, b.rate) << b.taxable;
        EXPECT_EQ(money(x.tax), money(b.tax)) << b.taxable;
    }
    // Above the highest ceiling there is no bracket.
    const auto top = TaxCalc::wage(conn, 200000000, 0, 0, 1600);
    EXPECT_EQ(top.rateText, "");
    EXPECT_EQ(top.tax, 0);

    auto b = TaxCalc::bonus(conn, 24000, w.taxable, false);
    EXPECT_EQ(b.rateText, "10");
    EXPECT_EQ(money(b.tax), "2,295.00");
    EXPECT_EQ(money(TaxCalc::bonus(conn, 24000, w.taxable, true).tax), "1,140.00");
    auto t = TaxCalc::totals(w, 0, 0, TaxCalc::PartTax(), 0, TaxCalc::PartTax());
    EXPECT_EQ(money(t.sumTax), "235.00");
    EXPECT_EQ(money(t.postIncome), "4,765.00");

    // The threshold the wages leave unused lowers the bonus.
    const auto low = TaxCalc::wage(conn, 1000, 0, 0, 1600);
    EXPECT_EQ(money(low.taxable), "-600.00");
    EXPECT_EQ(low.rateText, "0.00");
    EXPECT_EQ(low.tax, 0);
    b = TaxCalc::bonus(conn, 24000, low.taxable, false);
    EXPECT_EQ(money(b.taxable), "23,400.00");
    EXPECT_EQ(money(b.tax), "2,235.00");

    const struct { double reward; const char* taxable; const char* rate; const char* tax; } rewards[] = {
        {3000, "2,200.00", "20.00", "440.00"}, {30000, "24,000.00", "20.00", "5,200.00"},
        {100000, "80,000.00", "20.00", "25,000.00"}, {500, "-300.00", "0.00", "0.00"}, {4000, "3,200.00", "20.00", "640.00"}};
    for (const auto& r : rewards) {
        const auto p = TaxCalc::remuneration(r.reward);
        EXPECT_EQ(money(p.taxable), r.taxable) << r.reward;
        EXPECT_EQ(p.rateText, r.rate) << r.reward;
        EXPECT_EQ(money(p.tax), r.tax) << r.reward;
    }
    // Everything empty.
    const auto none = TaxCalc::wage(conn, 0, 0, 0, 1600);
    EXPECT_EQ(money(none.taxable), "-1,600.00");
    EXPECT_EQ(none.tax, 0);
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(ToolsDb, BracketRowsAreCheckedAndWritten)
{
    TaxCalc::ensureTable(conn, today);
    const struct { QMap<QString, QString> v; const char* message; const char* field; } refused[] = {
        {{{"Rate", "3"}, {"Deduction", "0"}}, "应税上限不能为空！", "Ceiling"},
        {{{"Ceiling", "100"}, {"Deduction", "0"}}, "适用税率不能为空！", "Rate"},
        {{{"Ceiling", "100"}, {"Rate", "3"}}, "速算扣除数不能为空！", "Deduction"},
        {{{"Ceiling", "abc"}, {"Rate", "3"}, {"Deduction", "0"}}, "应税上限必须是不小于0的数字！", "Ceiling"},
        {{{"Ceiling", "100"}, {"Rate", "-3"}, {"Deduction", "0"}}, "适用税率必须是0到100之间的数字！", "Rate"},
        {{{"Grade", "2"}, {"Ceiling", "100"}, {"Rate", "3"}, {"Deduction", "0"}}, "级数已存在！", "Grade"},
    };
    for (const auto& r : refused) {
        const auto s = TaxCalc::save(conn, QVariant(), r.v, today);
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.message, QString::fromUtf8(r.message));
        EXPECT_EQ(s.field, QString::fromUtf8(r.field));
    }
    // A new row without a grade takes the next one; a quote in the text is data.
    auto s = TaxCalc::save(conn, QVariant(), {{"Description", "超过'1亿'"}, {"Ceiling", "1e9"}, {"Rate", "50"},
                                              {"Deduction", "20000"}}, today);
    ASSERT_TRUE(s.ok) << s.message.toStdString();
    EXPECT_EQ(s.grade.toInt(), 8);
    // Changing the top bracket's rate changes the tax at once.
    s = TaxCalc::save(conn, 7, {{"Grade", "7"}, {"Description", "x"}, {"Ceiling", "99999999"}, {"Rate", "40"},
                                {"Deduction", "13505"}, {"UpdDate", "2026-3-1"}}, today);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(TaxCalc::bracket(conn, 90000).rate, 40);
    EXPECT_TRUE(TaxCalc::remove(conn, 7));
    EXPECT_EQ(TaxCalc::bracket(conn, 90000).rate, 50);
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST(ToolText, NotesAndNumbers)
{
    TestFolder f;
    EXPECT_EQ(ToolText::noteFile(f.programFolder(), "loan.txt"), "文件loan.txt不存在");
    QFile gbk(f.path("tax.txt"));
    ASSERT_TRUE(gbk.open(QIODevice::WriteOnly));
    gbk.write(QByteArray::fromHex("b8f6cbb0")); // "个税" in GBK
    gbk.close();
    EXPECT_EQ(ToolText::noteFile(f.programFolder(), "tax.txt"), "个税");
    bool ok = true;
    EXPECT_DOUBLE_EQ(ToolText::number("1,234.5", &ok), 1234.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ToolText::number("12a", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ToolText::money(-1600), "-1,600.00");
}
