// The income-tax calculator window and its entry in the main window.

#include "amountedit.h"
#include "mainfixture.h"
#include "schemaversion.h"
#include "testdb.h"
#include "tinterestfrm.h"
#include "toolsinstall.h"
#include "tprovisiondlg.h"
#include "ttaxfrm.h"

#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TaxFrmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        frm = std::make_unique<TTaxFrm>(*dm, folder.messages, desktop, nullptr, QDate(2026, 3, 5));
        frm->show();
        QApplication::setActiveWindow(frm.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }
    void type(QLineEdit* e, const QString& text)
    {
        e->clear();
        QTest::keyClicks(e, text);
    }
    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    FakeDesktop desktop;
    std::unique_ptr<TTaxFrm> frm;
};

} // namespace

TEST_F(TaxFrmTest, OpensWithTheSeedBracketsAndInitialFigures)
{
    EXPECT_EQ(frm->windowTitle(), "个税计算器");
    EXPECT_EQ(frm->size(), QSize(501, 441));
    EXPECT_EQ(frm->TaxGrid->rowCount(), 7);
    EXPECT_EQ(frm->TaxGrid->item(1, 3)->text(), "10%");
    EXPECT_EQ(frm->TaxGrid->item(6, 2)->text(), "99,999,999.00");
    EXPECT_EQ(frm->TaxGrid->item(0, 5)->text(), "2026-3-5");
    EXPECT_EQ(frm->StartPointEdit->text(), "1,600.00");
    EXPECT_EQ(frm->TaxingIncomeEdit->text(), "-1,600.00");
    EXPECT_EQ(frm->IncomeRateStaticText->text(), "0.00");
    EXPECT_EQ(frm->RewardRateStaticText->text(), "20.00");
    EXPECT_EQ(frm->SumTaxStaticText->text(), "0.00");
    EXPECT_TRUE(frm->PigHeadRadio->isChecked());
    EXPECT_TRUE(frm->ActDel->shortcut().isEmpty()); // the first tab is active
    frm.reset();
    // A second opening inserts nothing.
    TTaxFrm again(*dm, folder.messages, desktop);
    EXPECT_EQ(again.TaxGrid->rowCount(), 7);
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(TaxFrmTest, TaxesFollowTheTyping)
{
    type(frm->PreTaxSalaryEdit, "5000");
    EXPECT_EQ(frm->TotalIncomeEdit->text(), "5,000.00");
    EXPECT_EQ(frm->TaxingIncomeEdit->text(), "3,400.00");
    EXPECT_EQ(frm->IncomeRateStaticText->text(), "10");
    EXPECT_EQ(frm->IncomeTaxEdit->text(), "235.00");
    EXPECT_EQ(frm->SumTaxStaticText->text(), "235.00");
    EXPECT_EQ(frm->PostIncomeStaticText->text(), "4,765.00");

    type(frm->AnnualBonusEdit, "24000");
    EXPECT_EQ(frm->BonusRateStaticText->text(), "10");
    EXPECT_EQ(frm->BonusTaxEdit->text(), "2,295.00");
    frm->CommonRadio->setChecked(true);
    EXPECT_EQ(frm->BonusTaxEdit->text(), "1,140.00");
    frm->PigHeadRadio->setChecked(true);

    // Lower wages leave part of the threshold to the bonus.
    type(frm->PreTaxSalaryEdit, "1000");
    EXPECT_EQ(frm->TaxingIncomeEdit->text(), "-600.00");
    EXPECT_EQ(frm->IncomeTaxEdit->text(), "0.00");
    EXPECT_EQ(frm->TaxingBonusEdit->text(), "23,400.00");
    EXPECT_EQ(frm->BonusTaxEdit->text(), "2,235.00");

    type(frm->PreTaxRewardEdit, "30000");
    EXPECT_EQ(frm->TaxingRewardEdit->text(), "24,000.00");
    EXPECT_EQ(frm->RewardTaxEdit->text(), "5,200.00");
    EXPECT_EQ(frm->SumTaxStaticText->text(), "7,435.00");
    EXPECT_EQ(frm->PostIncomeStaticText->text(), "47,565.00");
    type(frm->PreTaxRewardEdit, "500");
    EXPECT_EQ(frm->TaxingRewardEdit->text(), "-300.00");
    EXPECT_EQ(frm->RewardRateStaticText->text(), "0.00");
    EXPECT_EQ(frm->RewardTaxEdit->text(), "0.00");

    // Clearing every field.
    for (AmountEdit* e : {frm->PreTaxSalaryEdit, frm->AnnualBonusEdit, frm->PreTaxRewardEdit})
        e->clear();
    EXPECT_EQ(frm->TaxingIncomeEdit->text(), "-1,600.00");
    EXPECT_EQ(frm->IncomeTaxEdit->text(), "0.00");
    EXPECT_EQ(frm->BonusTaxEdit->text(), "0.00");
    EXPECT_EQ(frm->SumTaxStaticText->text(), "0.00");
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(TaxFrmTest, AmountFieldsTakeOnlyNumbersUpToTheirMaximum)
{
    type(frm->PreTaxSalaryEdit, "-12a3.456");
    EXPECT_EQ(frm->PreTaxSalaryEdit->text(), "123.45");
    type(frm->AnnualBonusEdit, "999999999");
    EXPECT_EQ(frm->AnnualBonusEdit->text(), "99999999");
    // Read-only results refuse typing.
    QTest::keyClicks(frm->IncomeTaxEdit, "12.5");
    EXPECT_EQ(frm->IncomeTaxEdit->text(), "0.00");
}

TEST_F(TaxFrmTest, BracketRowsAreCheckedAndChangeTheTax)
{
    frm->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(frm->ActDel->shortcut(), QKeySequence(Qt::Key_Delete));
    EditGrid* g = frm->TaxGrid;
    frm->ActAddExecute();
    ASSERT_EQ(g->editState(), EditGrid::Insert);
    EXPECT_TRUE(frm->ActDel->shortcut().isEmpty());
    auto set = [&](int col, const QString& t) { g->item(g->currentRow(), col)->setText(t); };
    set(3, "50");
    set(4, "20000");
    EXPECT_FALSE(g->savePending());
    EXPECT_EQ(folder.messages.last().text, "应税上限不能为空！");
    EXPECT_EQ(folder.messages.last().title, "提示");
    EXPECT_EQ(g->currentColumn(), 2);
    set(2, "很多");
    EXPECT_FALSE(g->savePending());
    EXPECT_EQ(folder.messages.last().text, "应税上限必须是不小于0的数字！");
    set(2, "200000000");
    set(1, "超过1亿元");
    EXPECT_TRUE(g->savePending());
    EXPECT_FALSE(g->isEditing());
    EXPECT_EQ(frm->ActDel->shortcut(), QKeySequence(Qt::Key_Delete));
    ASSERT_EQ(g->rowCount(), 8);
    EXPECT_EQ(g->item(7, 0)->text(), "8");
    EXPECT_EQ(g->item(7, 5)->text(), "2026-3-5");

    // Lowering the rate of bracket 2 changes the wage tax at once.
    g->setCurrentCell(1, 0);
    frm->ActEditExecute();
    ASSERT_EQ(g->editState(), EditGrid::Edit);
    set(3, "5");
    // Leaving the grid saves the row.
    ASSERT_TRUE(g->isEditing());
    frm->StartPointEdit->setFocus(); // on the other page, as if by mouse
    EXPECT_EQ(QApplication::focusWidget(), frm->StartPointEdit);
    EXPECT_FALSE(g->isEditing());
    frm->PageControl1->setCurrentIndex(0);
    type(frm->PreTaxSalaryEdit, "5000");
    EXPECT_EQ(frm->IncomeRateStaticText->text(), "5");
    EXPECT_EQ(frm->IncomeTaxEdit->text(), "65.00");

    // Deleting asks first; Cancel keeps the row.
    frm->PageControl1->setCurrentIndex(1);
    g->setCurrentCell(0, 0);
    folder.messages.answerNext(MsgAnswer::Cancel);
    frm->ActDelExecute();
    EXPECT_EQ(folder.messages.last().text, "确实要删除这条记录吗？");
    EXPECT_EQ(folder.messages.last().icon, MsgIcon::Question);
    EXPECT_EQ(g->rowCount(), 8);
    frm->ActDelExecute();
    EXPECT_EQ(g->rowCount(), 7);

    // Closing with a row being edited saves it; a refused row keeps the window open.
    frm->ActEditExecute();
    set(4, "");
    frm->reject();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(folder.messages.last().text, "速算扣除数不能为空！");
    set(4, "1");
    frm->reject();
    EXPECT_FALSE(frm->isVisible());
    QueryResult r;
    dm->db().select("SELECT Deduction FROM Tax_Rate ORDER BY Grade", {}, &r);
    EXPECT_EQ(r.value(0, 0).toDouble(), 1);
}

TEST_F(TaxFrmTest, RegulationsAndTheWebSite)
{
    QString shown;
    frm->runDialog = [&](QDialog& d) { shown = static_cast<TProvisionDlg&>(d).Memo1->toPlainText(); };
    frm->RuleButtonClick();
    EXPECT_EQ(shown, "文件tax.txt不存在");
    emit frm->TaxLinkLabel->linkActivated(TTaxFrm::taxUrl());
    EXPECT_EQ(desktop.opened, QStringList{TTaxFrm::taxUrl()});
}

// --- the main window's tool commands -------------------------------------------------

class ToolsInstallTest : public MainFixture {};

TEST_F(ToolsInstallTest, ToolCommandsOpenTheCalculators)
{
    SchemaVersion::check(*dm);
    TMainFrm* w = open();
    installTools(*w, *dm, folder.messages, files, desktop);
    QStringList titles;
    auto closeSoon = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                titles << m->windowTitle();
                m->close();
            }
        });
    };
    closeSoon();
    w->ToolInterest->trigger();
    closeSoon();
    w->ToolTax->trigger();
    EXPECT_EQ(titles, (QStringList{"利息计算器", "个税计算器"}));
    // The calculators' own connection is gone with them; the main one still works.
    EXPECT_TRUE(dm->query("SELECT COUNT(*) FROM Tax_Rate"));
    EXPECT_EQ(dm->ADOQuery1().value(0, 0).toInt(), 7);
}

TEST_F(TaxFrmTest, ArrowsMoveTheFocusAndEscCloses)
{
    frm->PreTaxSalaryEdit->setFocus();
    QTest::keyClick(frm->PreTaxSalaryEdit, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), frm->OtherIncomeEdit);
    QTest::keyClick(frm->OtherIncomeEdit, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), frm->PreTaxSalaryEdit);
    QTest::keyClick(frm->PreTaxSalaryEdit, Qt::Key_Escape);
    EXPECT_FALSE(frm->isVisible());
}
