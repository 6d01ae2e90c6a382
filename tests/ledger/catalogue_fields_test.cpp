// Catalogue code allocation and messages; field display and entry rules.
#include "fieldrules.h"
#include "ledgerfixture.h"

#include <QLineEdit>
#include <QTest>

class CatalogueTest : public LedgerFixture {
protected:
    void SetUp() override
    {
        LedgerFixture::SetUp();
        // A fresh user 2 without any catalogue rows of their own.
        addUserRow(dm->db(), 2, QStringLiteral("李四"), QString());
        dm->currentUser = QStringLiteral("2");
    }
    Catalogue catalogue() { return Catalogue(dm.get()); }
};

TEST_F(CatalogueTest, CodesAreAllocatedAfterTheHighestIncludingRetiredAndSystemRows)
{
    Catalogue c = catalogue();
    EXPECT_EQ(c.create("现金", "1", false), "101");
    EXPECT_EQ(c.create("伙食", "2", true), "201"); // after the system "200"
    EXPECT_EQ(c.create("交通", "2", true), "202");
    EXPECT_EQ(c.create("工资", "3", true), "301");
    EXPECT_EQ(c.create("同学", "5", false), "501");
    ASSERT_TRUE(c.retire("202"));
    EXPECT_EQ(c.create("通讯", "2", true), "203");
    // The retired name is free again; user 1's rows do not count.
    EXPECT_EQ(c.create("交通", "2", true), "204");
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(CatalogueTest, FullClassesAndDuplicateNames)
{
    Catalogue c = catalogue();
    dm->db().exec("INSERT INTO AC_Type VALUES ('298', 'x', '2', 0, '1', 1, 2)");
    dm->db().exec("INSERT INTO AC_Type VALUES ('199', 'y', '1', 0, '0', 0, 2)"); // retired still counts
    EXPECT_EQ(c.create("新类", "2", true), "");
    EXPECT_EQ(folder.messages.last().text, "分类已满，无法新增分类！");
    EXPECT_EQ(folder.messages.last().title, "提示");
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(c.create("新帐户", "1", false), "");
    EXPECT_EQ(folder.messages.last().text, "分类已满，无法新增分类！");

    folder.messages.clear();
    EXPECT_EQ(c.create("O'Neil's 100%_", "3", true), "301");
    EXPECT_EQ(c.create("o'neil's 100%_", "3", true), ""); // names ignore letter case
    EXPECT_EQ(folder.messages.last().text, "已有同名的分类名称，此次操作无效！");
    EXPECT_EQ(c.create("O'Neil's 100%_", "5", false), "501"); // other class
    EXPECT_EQ(c.create("转出", "2", true), ""); // the system row's name
    EXPECT_EQ(c.create("O'Neil", "3", true), "302");

    folder.messages.clear();
    EXPECT_FALSE(c.rename("302", "O'Neil's 100%_", false));
    EXPECT_EQ(folder.messages.last().text, "已有同名的分类名称，此次操作无效！");
    EXPECT_TRUE(c.rename("301", "O'Neil's 100%_", false)); // own name: only the flag changes
    QueryResult r;
    dm->db().select("SELECT TypeName, FundFlag FROM AC_Type WHERE UserID = 2 AND TypeID = '301'", {}, &r);
    EXPECT_EQ(r.text(0, "TypeName"), "O'Neil's 100%_");
    EXPECT_FALSE(r.boolean(0, "FundFlag"));
}

TEST_F(CatalogueTest, Listing)
{
    Catalogue c = catalogue();
    c.create("现金", "1", false);
    c.create("伙食", "2", true);
    c.create("旧", "2", true);
    c.retire("202");
    ASSERT_TRUE(c.list("2"));
    QStringList codes;
    for (int i = 0; i < dm->ADOQuery1().size(); ++i)
        codes << dm->ADOQuery1().text(i, "TypeID");
    EXPECT_EQ(codes, (QStringList{"200", "201", "299"}));
    ASSERT_TRUE(c.list());
    codes.clear();
    for (int i = 0; i < dm->ADOQuery1().size(); ++i)
        codes << dm->ADOQuery1().text(i, "TypeID");
    EXPECT_EQ(codes, (QStringList{"1", "101", "2", "201", "3", "4", "5", "6", "7", "8", "9"}));
}

class FieldRulesTest : public LedgerFixture {};

TEST_F(FieldRulesTest, MoneyDisplayAndEntry)
{
    enter(QDate(2008, 3, 7), "101", "201", 30);
    enter(QDate(2008, 3, 8), "101", "301", 1234.5);
    RecordSet* rs = ledger();
    EXPECT_EQ(rs->displayText(0, "InAmount"), "");
    EXPECT_EQ(rs->displayText(0, "OutAmount"), "30.00");
    EXPECT_EQ(rs->displayText(1, "InAmount"), "1,234.50");
    EXPECT_EQ(rs->displayText(0, "ActDate"), "2008-3-7");

    rs->setRecNo(1);
    ASSERT_TRUE(rs->edit());
    QString error;
    EXPECT_FALSE(rs->setText("OutAmount", "100000000", &error));
    EXPECT_EQ(error, "100000000 is not a valid value for field 'OutAmount'. The allowed range is -99999999 to 99999999");
    EXPECT_EQ(rs->money("OutAmount"), M(30));
    EXPECT_FALSE(rs->setText("OutAmount", "abc", &error));
    EXPECT_EQ(rs->money("OutAmount"), M(30));
    EXPECT_TRUE(rs->setText("OutAmount", "1,000.25", &error));
    EXPECT_EQ(rs->money("OutAmount"), M(1000.25));
    EXPECT_TRUE(rs->setText("OutAmount", "", &error));
    EXPECT_EQ(rs->money("OutAmount"), M(0));
    EXPECT_FALSE(rs->post()); // zero is refused by the posting rules
    EXPECT_EQ(folder.messages.last().text, "交易金额不能为0或负！");
    rs->cancel();
}

TEST_F(FieldRulesTest, DatesThroughTheMask)
{
    enter(QDate(2008, 1, 1), "101", "301", 10);
    RecordSet* rs = ledger();
    rs->setRecNo(1);
    ASSERT_TRUE(rs->edit());
    struct Case { const char* text; QDate date; };
    const Case cases[] = {
        {"2008-03-07", QDate(2008, 3, 7)},
        {"2008 03 07", QDate(2008, 3, 7)},
        {"2009-1-5", QDate(2009, 1, 5)},
        {"2008-03-0 ", QDate()},
        {"2008-03-1 ", QDate()},
        {"2008-02-30", QDate()},
        {"07.03.2008x", QDate()},
    };
    for (const Case& c : cases) {
        rs->setValue("ActDate", QDate(2008, 1, 1));
        QString error;
        const bool ok = rs->setText("ActDate", QString::fromUtf8(c.text), &error);
        EXPECT_EQ(ok, c.date.isValid()) << c.text;
        if (ok) {
            EXPECT_EQ(rs->date("ActDate"), c.date) << c.text;
        } else {
            EXPECT_EQ(error, QStringLiteral("'%1' is not a valid date").arg(QString::fromUtf8(c.text)));
            EXPECT_EQ(rs->date("ActDate"), QDate(2008, 1, 1)) << "nothing lost";
        }
    }
    rs->setText("ActDate", "2008-03-07");
    EXPECT_EQ(rs->displayText("ActDate"), "2008-3-7");

    // Eight digits typed into the masked editor, whatever the locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QLineEdit editor;
    editor.setInputMask(FieldRules::kDateMask);
    QTest::keyClicks(&editor, "20091231");
    EXPECT_EQ(editor.displayText(), "2009-12-31");
    EXPECT_TRUE(rs->setText("ActDate", editor.displayText()));
    EXPECT_EQ(rs->date("ActDate"), QDate(2009, 12, 31));
    editor.clear();
    QTest::keyClicks(&editor, "2009123");
    QString error;
    EXPECT_FALSE(rs->setText("ActDate", editor.displayText(), &error));
    EXPECT_EQ(error, "'2009-12-3 ' is not a valid date");
    EXPECT_EQ(rs->date("ActDate"), QDate(2009, 12, 31));
    QLocale::setDefault(QLocale::c());
    rs->cancel();
}

TEST_F(FieldRulesTest, PlanAndFulfilmentFields)
{
    dm->db().exec("INSERT INTO AC_Plan VALUES (3, '单项支出', '电视', 30000000, NULL, 1, 30000000, 1)");
    dm->db().exec("INSERT INTO AC_Plan VALUES (4, '固定收入', '工资', 0, NULL, 12, 0, 1)");
    dm->db().exec("UPDATE AC_Plan SET StartDate = '2008-01-01' WHERE ID IN (1, 3)");
    RecordSet* plan = dm->ADOTable2;
    ASSERT_TRUE(plan->open());
    ASSERT_EQ(plan->recordCount(), 4);
    EXPECT_EQ(plan->displayText(0, "StartDate"), "2008-1-1");
    EXPECT_EQ(plan->displayText(2, "StartDate"), "");
    EXPECT_EQ(plan->displayText(0, "Months"), "12");
    EXPECT_EQ(plan->displayText(1, "Months"), "");
    EXPECT_EQ(plan->displayText(2, "Months"), "");
    EXPECT_EQ(plan->displayText(3, "Months"), "12");
    EXPECT_EQ(plan->displayText(2, "Amount"), "3,000.00");
    EXPECT_EQ(plan->displayText(1, "Amount"), "0.00");
    plan->setRecNo(3);
    ASSERT_TRUE(plan->edit());
    QString error;
    EXPECT_FALSE(plan->setText("Amount", "-5", &error));
    EXPECT_EQ(error, "-5 is not a valid value for field 'Amount'. The allowed range is 0 to 99999999");
    EXPECT_TRUE(plan->setText("Months", "", &error));
    EXPECT_EQ(plan->integer("Months"), 1);
    plan->cancel();

    EXPECT_EQ(FieldRules::percentText(85.5), "85.50%");
    EXPECT_EQ(FieldRules::percentText(12345.678), "12,345.68%");
}
