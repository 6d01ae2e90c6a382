// The new-user wizard and the catalogue it seeds.
#include "tuserguidefrm.h"
#include "usertestutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

class WizardTest : public UsersTest {
protected:
    void SetUp() override
    {
        UsersTest::SetUp();
        addAdministrator();
        addUserRow(db(), 1, QStringLiteral("Alice"), QStringLiteral("a"));
        addUserRow(db(), 2, QStringLiteral("Bob"), QStringLiteral("b"), true);
        list.setColumnCount(2);
        wizard = std::make_unique<TUserGuideFrm>(dm.get(), &msg, &list);
        wizard->show();
    }
    void TearDown() override
    {
        wizard.reset();
        UsersTest::TearDown();
    }
    void page1(const QString& name, const QString& description)
    {
        wizard->Edit1->setText(name);
        wizard->Edit2->setText(description);
        QTest::mouseClick(wizard->Button2, Qt::LeftButton);
    }
    void page2(const QString& password, const QString& confirmation)
    {
        wizard->Edit1->setText(password);
        wizard->Edit2->setText(confirmation);
        QTest::mouseClick(wizard->Button2, Qt::LeftButton);
    }
    QTreeWidget list;
    std::unique_ptr<TUserGuideFrm> wizard;
};

TEST_F(WizardTest, PagesAsBuilt)
{
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("添加新用户"));
    EXPECT_EQ(wizard->size(), QSize(437, 271));
    EXPECT_EQ(wizard->Image1->geometry(), QRect(0, 0, 131, 228));
    EXPECT_EQ(wizard->page(), 1);
    EXPECT_EQ(wizard->Label1->text(), QStringLiteral("请输入新用户的基本信息。"));
    EXPECT_EQ(wizard->Label2->text(), QStringLiteral("用户名:"));
    EXPECT_EQ(wizard->Label3->text(), QStringLiteral("说明:"));
    EXPECT_EQ(wizard->Label4->text(), QStringLiteral("输入用户名后单击<下一步>继续。"));
    EXPECT_TRUE(wizard->Label4->isVisible());
    EXPECT_EQ(wizard->Edit1->geometry(), QRect(200, 38, 210, 22));
    EXPECT_EQ(wizard->Edit2->geometry(), QRect(200, 70, 210, 22));
    EXPECT_EQ(wizard->Edit1->maxLength(), 20);
    EXPECT_EQ(wizard->Edit2->maxLength(), 250);
    EXPECT_EQ(wizard->Edit1->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(wizard->Button1->isEnabled());
    EXPECT_EQ(wizard->Button1->text(), QStringLiteral("< 上一步"));
    EXPECT_EQ(wizard->Button2->text(), QStringLiteral("下一步 >"));
    EXPECT_EQ(wizard->Button3->text(), QStringLiteral("取  消"));

    page1(QStringLiteral("Carol"), QStringLiteral("女儿"));
    EXPECT_EQ(wizard->page(), 2);
    EXPECT_EQ(wizard->Label1->text(), QStringLiteral("键入并确认该用户的密码。"));
    EXPECT_EQ(wizard->Label2->text(), QStringLiteral("密码:"));
    EXPECT_EQ(wizard->Label3->text(), QStringLiteral("确认密码:"));
    EXPECT_FALSE(wizard->Label4->isVisible());
    EXPECT_EQ(wizard->Edit1->geometry(), QRect(210, 38, 200, 22));
    EXPECT_EQ(wizard->Edit2->geometry(), QRect(210, 70, 200, 22));
    EXPECT_EQ(wizard->Edit1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(wizard->Edit2->maxLength(), 20);
    EXPECT_TRUE(wizard->Button1->isEnabled());
    EXPECT_EQ(wizard->Button2->text(), QStringLiteral("完   成"));
}

TEST_F(WizardTest, GoingBackAndForthKeepsWhatWasTyped)
{
    page1(QStringLiteral("Carol"), QStringLiteral("女儿"));
    wizard->Edit1->setText(QStringLiteral("pw1"));
    wizard->Edit2->setText(QStringLiteral("pw2"));
    QTest::mouseClick(wizard->Button1, Qt::LeftButton);
    EXPECT_EQ(wizard->page(), 1);
    EXPECT_EQ(wizard->Edit1->text(), QStringLiteral("Carol"));
    EXPECT_EQ(wizard->Edit2->text(), QStringLiteral("女儿"));
    EXPECT_FALSE(wizard->Label4->isVisible()); // the hint shows on the first visit only
    EXPECT_FALSE(wizard->Button1->isEnabled());
    QTest::keyClick(wizard->Edit1, Qt::Key_Return); // Enter presses 下一步 >
    EXPECT_EQ(wizard->page(), 2);
    EXPECT_EQ(wizard->Edit1->text(), QStringLiteral("pw1"));
    EXPECT_EQ(wizard->Edit2->text(), QStringLiteral("pw2"));
}

TEST_F(WizardTest, NamePageRefusals)
{
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"", "用户名不能为空！"},
        {"Alice", "用户已经存在！"},
        {"ALICE", "用户已经存在！"},
        {"Bob", "用户已经存在！"}, // locked users count too
        {"管理员", "用户已经存在！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        page1(QString::fromUtf8(c.name), QString());
        ASSERT_EQ(msg.count(), 1);
        expectMessage(msg.last(), QStringLiteral("提示"), QString::fromUtf8(c.message), MsgIcon::Information);
        EXPECT_EQ(wizard->page(), 1);
    }
}

TEST_F(WizardTest, DifferentPasswordsAreRefused)
{
    page1(QStringLiteral("Carol"), QString());
    page2(QStringLiteral("abc"), QStringLiteral("abC"));
    ASSERT_EQ(msg.count(), 1);
    expectMessage(msg.last(), QStringLiteral("提示"), QStringLiteral("密码不匹配！请在两个输入框内键入相同密码。"),
                  MsgIcon::Information);
    EXPECT_EQ(wizard->page(), 2);
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_User")), 3);
}

TEST_F(WizardTest, FinishWritesTheUserTheirCatalogueAndPlan)
{
    page1(QStringLiteral("O'Brien"), QStringLiteral("100% 'sure' _x_"));
    page2(QStringLiteral("Pa'ss%"), QStringLiteral("Pa'ss%"));
    EXPECT_EQ(msg.count(), 0);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(wizard->createdUserId(), 3);

    const QueryResult u = select(QStringLiteral("SELECT * FROM AC_User WHERE UserID = 3"));
    ASSERT_EQ(u.size(), 1);
    EXPECT_EQ(u.text(0, QStringLiteral("UserName")), QStringLiteral("O'Brien"));
    EXPECT_EQ(u.text(0, QStringLiteral("Description")), QStringLiteral("100% 'sure' _x_"));
    EXPECT_EQ(u.integer(0, QStringLiteral("LockFlag")), 0);
    EXPECT_TRUE(Passwords::isHash(u.text(0, QStringLiteral("PassWd"))));
    EXPECT_TRUE(Passwords::verify(u.text(0, QStringLiteral("PassWd")), QStringLiteral("Pa'ss%")));

    const QueryResult types = select(QStringLiteral(
        "SELECT TypeID, TypeName, TypeFlag, Balance, UseFlag, FundFlag FROM AC_Type WHERE UserID = 3 ORDER BY rowid"));
    const auto& seed = UserStore::seedCatalogue();
    ASSERT_EQ(seed.size(), 34);
    ASSERT_EQ(types.size(), 34);
    for (int i = 0; i < seed.size(); ++i) {
        SCOPED_TRACE(seed[i].typeId);
        EXPECT_EQ(types.text(i, QStringLiteral("TypeID")), QString::fromUtf8(seed[i].typeId));
        EXPECT_EQ(types.text(i, QStringLiteral("TypeName")), QString::fromUtf8(seed[i].typeName));
        EXPECT_EQ(types.text(i, QStringLiteral("TypeFlag")), QString::fromUtf8(seed[i].typeFlag));
        EXPECT_EQ(types.integer(i, QStringLiteral("Balance")), 0);
        EXPECT_EQ(types.text(i, QStringLiteral("UseFlag")), QStringLiteral("1"));
        EXPECT_EQ(types.integer(i, QStringLiteral("FundFlag")), seed[i].fundFlag ? 1 : 0);
    }
    // A few rows of the published table, spelled out.
    EXPECT_EQ(QString::fromUtf8(seed[0].typeName), QStringLiteral("现金"));
    EXPECT_FALSE(seed[1].fundFlag);
    EXPECT_TRUE(seed[2].fundFlag);
    EXPECT_EQ(QString::fromUtf8(seed[21].typeId), QStringLiteral("305"));
    EXPECT_FALSE(seed[21].fundFlag);
    EXPECT_EQ(QString::fromUtf8(seed[31].typeName), QStringLiteral("Email帐号"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Type WHERE UserID = 3 AND TypeFlag = '5'")), 8);

    const QueryResult plan = select(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = 3 ORDER BY ID"));
    ASSERT_EQ(plan.size(), 2);
    EXPECT_EQ(plan.integer(0, QStringLiteral("ID")), 1);
    EXPECT_EQ(plan.text(0, QStringLiteral("Type")), QStringLiteral("预计目标"));
    EXPECT_EQ(plan.date(0, QStringLiteral("StartDate")), QDate::currentDate());
    EXPECT_EQ(plan.integer(1, QStringLiteral("ID")), 2);
    EXPECT_EQ(plan.text(1, QStringLiteral("Type")), QStringLiteral("现有资金"));
    EXPECT_TRUE(plan.value(1, QStringLiteral("StartDate")).isNull());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(plan.text(i, QStringLiteral("Description")), QString());
        EXPECT_EQ(plan.integer(i, QStringLiteral("Amount")), 0);
        EXPECT_EQ(plan.integer(i, QStringLiteral("Months")), 1);
        EXPECT_EQ(plan.integer(i, QStringLiteral("Total")), 0);
    }
    for (const char* none : {"AC_Setting", "AC_Info", "AC_List", "AC_Fullfill"})
        EXPECT_EQ(rowsOf(QString::fromLatin1(none), 3), 0) << none;

    ASSERT_EQ(list.topLevelItemCount(), 1);
    QTreeWidgetItem* item = list.topLevelItem(0);
    EXPECT_EQ(item->text(0), QStringLiteral("O'Brien"));
    EXPECT_EQ(item->text(1), QStringLiteral("100% 'sure' _x_"));
    EXPECT_EQ(Users::rowIcon(item), Users::UserIcon::Ordinary);
    EXPECT_TRUE(item->isSelected());
}

TEST_F(WizardTest, EmptyPasswordStaysEmptyAndTheHighestIdIsUsedAgain)
{
    ASSERT_TRUE(UserStore::deleteUser(*dm, 2)); // the highest-numbered user
    page1(QStringLiteral("Carol"), QString());
    page2(QString(), QString());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(wizard->createdUserId(), 2);
    EXPECT_EQ(storedPassword(2), QString());
}

TEST_F(WizardTest, FirstUserOfAnEmptyTableIsNumberOne)
{
    db().exec(QStringLiteral("DELETE FROM AC_User"));
    EXPECT_EQ(UserStore::nextUserId(*dm), 1);
}

TEST_F(WizardTest, AFailedSeedWritesNothing)
{
    ASSERT_TRUE(db().exec(QStringLiteral("CREATE TRIGGER no_plan BEFORE INSERT ON AC_Plan "
                                         "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    page1(QStringLiteral("Carol"), QString());
    page2(QStringLiteral("x"), QStringLiteral("x"));
    ASSERT_EQ(msg.count(), 1);
    EXPECT_EQ(msg.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(wizard->result(), QDialog::Rejected); // stays open
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_User WHERE UserName = 'Carol'")), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("AC_Type"), 3), 0);
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

TEST_F(WizardTest, CancelAndEscWriteNothing)
{
    page1(QStringLiteral("Carol"), QString());
    QTest::mouseClick(wizard->Button3, Qt::LeftButton);
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    EXPECT_FALSE(wizard->isVisible());

    TUserGuideFrm again(dm.get(), &msg, &list);
    again.show();
    again.Edit1->setText(QStringLiteral("Dan"));
    QTest::keyClick(again.Edit1, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_User")), 3);
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

} // namespace
