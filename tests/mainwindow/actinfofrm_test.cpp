// The account dialog in its three modes.
#include "actinfofrm.h"
#include "mainfixture.h"
#include "treecatalogue.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

using AccountDialog = MainFixture;

TEST_F(AccountDialog, EditInsertsDetailsThenUpdatesThem)
{
    seedCatalogue();
    {
        TActInfoFrm d(dm.get(), &desktop, TActInfoFrm::Edit, QStringLiteral("102"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("修改帐户"));
        EXPECT_EQ(d.TypeNameEdit->text(), QStringLiteral("工资卡"));
        EXPECT_EQ(d.BankURLEdit->text(), QStringLiteral("http://"));
        EXPECT_EQ(d.OpenDatePicker1->date(), QDate::currentDate());
        EXPECT_EQ(d.CardNoEdit->maxLength(), 30);
        EXPECT_EQ(d.CardNoEdit->toolTip(), QStringLiteral("请不要在软件中保存银行卡/帐户密码、信用卡号！"));
        d.ActNameEdit->setText(QStringLiteral("张三"));
        d.RateEdit->setText(QStringLiteral("2.25%"));
        d.OpenDatePicker1->setDate(QDate(2020, 5, 6));
        d.MiscEdit->setText(QStringLiteral("O'Brien"));
        d.BitBtn1Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Info WHERE UserID = 1 AND TypeID = '102'")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT OpenDate FROM AC_Info WHERE TypeID = '102'")), QStringLiteral("2020-05-06"));
    {
        TActInfoFrm d(dm.get(), &desktop, TActInfoFrm::Edit, QStringLiteral("102"));
        EXPECT_EQ(d.ActNameEdit->text(), QStringLiteral("张三"));
        EXPECT_EQ(d.MiscEdit->text(), QStringLiteral("O'Brien"));
        EXPECT_EQ(d.OpenDatePicker1->date(), QDate(2020, 5, 6));
        d.ActNameEdit->setText(QStringLiteral("李四"));
        d.TypeNameEdit->setText(QStringLiteral("工资卡2"));
        d.FlagCheckBox->setChecked(true);
        d.BitBtn1Click();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Info WHERE UserID = 1 AND TypeID = '102'")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ActName FROM AC_Info WHERE TypeID = '102'")), QStringLiteral("李四"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TypeName || FundFlag FROM AC_Type WHERE UserID = 1 AND TypeID = '102'")),
              QStringLiteral("工资卡21"));
}

TEST_F(AccountDialog, ViewModeChangesNothingAndOpensTheBankSite)
{
    seedCatalogue();
    TreeCatalogue::AccountDetails det;
    det.url = QStringLiteral("https://bank.example.cn");
    det.actName = QStringLiteral("张三");
    ASSERT_TRUE(TreeCatalogue::insertDetails(*dm, QStringLiteral("101"), det));
    TActInfoFrm d(dm.get(), &desktop, TActInfoFrm::View, QStringLiteral("101"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("帐户属性"));
    for (QLineEdit* e : {d.TypeNameEdit, d.ActNameEdit, d.RateEdit, d.CardNoEdit, d.ActNoEdit, d.TermEdit, d.MiscEdit,
                         d.BankAddressEdit, d.BankPhoneEdit, d.BankURLEdit})
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
    EXPECT_FALSE(d.OpenDatePicker1->isEnabled());
    EXPECT_FALSE(d.FlagCheckBox->isEnabled());
    d.BankURLEditClick();
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened.first(), QStringLiteral("https://bank.example.cn"));
    d.ActNameEdit->setText(QStringLiteral("changed"));
    d.BitBtn1Click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ActName FROM AC_Info WHERE TypeID = '101'")), QStringLiteral("张三"));

    // In edit mode a click on the address does not open it.
    TActInfoFrm e(dm.get(), &desktop, TActInfoFrm::Edit, QStringLiteral("101"));
    e.BankURLEditClick();
    EXPECT_EQ(desktop.opened.size(), 1);
}

TEST_F(AccountDialog, AddCreatesTheAccountWithDetailsOrNothing)
{
    seedCatalogue();
    {
        TActInfoFrm d(dm.get(), &desktop, TActInfoFrm::Add, QStringLiteral("1"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("新增帐户"));
        EXPECT_FALSE(d.FlagCheckBox->isChecked());
        d.TypeNameEdit->setText(QStringLiteral("存折"));
        d.CardNoEdit->setText(QStringLiteral("6222"));
        d.BitBtn1Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.newCode(), QStringLiteral("104"));
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT CardNo FROM AC_Info WHERE UserID = 1 AND TypeID = '104'")), QStringLiteral("6222"));
    // A duplicate active name: the message, and neither account nor details.
    folder.messages.clear();
    TActInfoFrm d(dm.get(), &desktop, TActInfoFrm::Add, QStringLiteral("1"));
    d.TypeNameEdit->setText(QStringLiteral("现金"));
    d.BitBtn1Click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("已有同名的分类名称，此次操作无效！"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Type WHERE UserID = 1 AND TypeFlag = '1'")), QStringLiteral("4"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Info WHERE UserID = 1")), QStringLiteral("1"));
}
