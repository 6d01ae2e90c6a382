// The interest calculator window: lists, the loan schedule, the rate grids.

#include "amountedit.h"
#include "schemaversion.h"
#include "testdb.h"
#include "tinterestfrm.h"
#include "tprovisiondlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class InterestFrmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        SchemaVersion::check(*dm);
        folder.messages.clear();
        frm = std::make_unique<TInterestFrm>(*dm, folder.messages, desktop);
        frm->today = QDate(2026, 3, 5);
        frm->show();
        QApplication::setActiveWindow(frm.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }
    void TearDown() override
    {
        frm.reset();
        dm.reset();
    }
    QString cellText(QTableWidget* g, int r, int c) { return g->item(r, c) ? g->item(r, c)->text() : QString(); }
    void typeInto(QLineEdit* e, const QString& text)
    {
        e->clear();
        QTest::keyClicks(e, text);
    }
    void loan(const QString& amount, const QString& years, const QString& rate)
    {
        frm->PageControl1->setCurrentIndex(1);
        typeInto(frm->LoanAmtEdit, amount);
        typeInto(frm->LoanYearEdit, years);
        typeInto(frm->LoanRateEdit, rate);
    }
    // Types a value into a cell of the grid's edited row.
    void setCell(EditGrid* g, const QString& field, const QString& text)
    {
        for (int c = 0; c < g->columnCount(); ++c)
            if (g->columns()[c].field == field)
                g->item(g->currentRow(), c)->setText(text);
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    FakeDesktop desktop;
    std::unique_ptr<TInterestFrm> frm;
};

} // namespace

TEST_F(InterestFrmTest, DepositListsOfferOnlyTermsWithARate)
{
    EXPECT_EQ(frm->windowTitle(), "利息计算器");
    EXPECT_EQ(frm->size(), QSize(493, 494));
    ASSERT_EQ(frm->CurComboBox->count(), 1);
    EXPECT_EQ(frm->CurComboBox->currentText(), "人民币");
    ASSERT_EQ(frm->SavTypeComboBox->count(), 2);
    EXPECT_EQ(frm->SavTypeComboBox->currentText(), "活期");
    ASSERT_EQ(frm->TermComboBox->count(), 1);
    EXPECT_EQ(frm->TermComboBox->currentText(), "无");
    EXPECT_EQ(frm->SavRateEdit->text(), "0.35");
    frm->SavTypeComboBox->setCurrentIndex(1);
    ASSERT_EQ(frm->TermComboBox->count(), 1);
    EXPECT_EQ(frm->TermComboBox->currentText(), "一年");
    EXPECT_EQ(frm->SavRateEdit->text(), "3.00");
    EXPECT_EQ(frm->LoanTypeComboBox->count(), 2);
    EXPECT_EQ(frm->LoanTypeComboBox->currentText(), "住房商业贷款");

    // A currency without rates: no terms and no rate.
    ASSERT_TRUE(dm->exec("INSERT INTO INT_Cur(CurName, ExchRate) VALUES('美元', 7)"));
    frm->PageControl1->setCurrentIndex(1);
    frm->PageControl1->setCurrentIndex(0); // coming back refills the lists
    ASSERT_EQ(frm->CurComboBox->count(), 2);
    EXPECT_EQ(frm->SavTypeComboBox->currentText(), "整存整取"); // its text was kept
    frm->CurComboBox->setCurrentIndex(1);
    EXPECT_EQ(frm->TermComboBox->count(), 0);
    EXPECT_EQ(frm->SavRateEdit->text(), "");
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(InterestFrmTest, DepositInterestOverWholeTermsAndTheDaysLeft)
{
    frm->SavTypeComboBox->setCurrentIndex(1); // 整存整取, 一年, 3.00
    typeInto(frm->SavAmtEdit, "10000");
    frm->StartDateEdit->setText("2024-03-01");
    frm->EndDateEdit->setText("2026-03-01");
    frm->SavCalcButtonClick();
    EXPECT_EQ(frm->savStrGrid->rowCount(), 2);
    EXPECT_EQ(frm->InterestText->text(), "609.00"); // 300 + 309 rolled over
    EXPECT_EQ(frm->InterestTaxText->text(), "121.80");
    EXPECT_EQ(frm->PostInterestText->text(), "487.20");
    frm->RollPrincipalRadio->setChecked(true);
    frm->SavCalcButtonClick();
    EXPECT_EQ(frm->InterestText->text(), "600.00");

    typeInto(frm->SavAmtEdit, "abc");
    frm->SavCalcButtonClick();
    EXPECT_EQ(folder.messages.last().text, "请输入存款本金!且本金必须大于0");
    EXPECT_TRUE(frm->SavAmtEdit->hasFocus());
    typeInto(frm->SavAmtEdit, "100");
    frm->EndDateEdit->setText("2026-13-01");
    frm->SavCalcButtonClick();
    EXPECT_EQ(folder.messages.last().text, "请输入正确的支取日期!");
    EXPECT_TRUE(frm->EndDateEdit->hasFocus());
}

TEST_F(InterestFrmTest, LoanScheduleByEqualInstalmentsAndEqualPrincipal)
{
    loan("100000", "1", "6.000");
    EXPECT_EQ(frm->StartTermEdit->text(), "1");
    EXPECT_EQ(frm->EndTermEdit->text(), "12");
    QTest::mouseClick(frm->LoanCalcButton, Qt::LeftButton);
    QTableWidget* g = frm->loanStrGrid;
    ASSERT_EQ(g->rowCount(), 12);
    EXPECT_EQ(g->horizontalHeaderItem(0)->text(), "还款期数");
    EXPECT_EQ(g->horizontalHeaderItem(4)->text(), "剩余本金");
    EXPECT_EQ(cellText(g, 0, 0), "1期");
    EXPECT_EQ(cellText(g, 0, 1), "8,606.64");
    EXPECT_EQ(cellText(g, 0, 2), "8,106.64");
    EXPECT_EQ(cellText(g, 0, 3), "500.00");
    EXPECT_EQ(cellText(g, 0, 4), "100,000.00");
    EXPECT_EQ(cellText(g, 11, 0), "12期");
    EXPECT_EQ(frm->SumAmtEdit->text(), "103,279.72");
    EXPECT_EQ(frm->SumInterestEdit->text(), "3,279.72");

    frm->EqualPrincipalRadio->setChecked(true);
    QTest::mouseClick(frm->LoanExportButton, Qt::LeftButton); // does the same as 计算
    EXPECT_EQ(cellText(g, 0, 1), "8,833.33");
    EXPECT_EQ(cellText(g, 11, 1), "8,375.00");
    EXPECT_EQ(cellText(g, 11, 3), "41.67");
    EXPECT_EQ(cellText(g, 11, 4), "8,333.33");

    frm->EqualInstalmentRadio->setChecked(true);
    typeInto(frm->StartTermEdit, "5");
    typeInto(frm->EndTermEdit, "5");
    frm->LoanCalcButtonClick();
    ASSERT_EQ(g->rowCount(), 1);
    EXPECT_EQ(cellText(g, 0, 0), "5期");
    EXPECT_EQ(cellText(g, 0, 2), "8,270.00");
    EXPECT_EQ(cellText(g, 0, 3), "336.65");
    EXPECT_EQ(cellText(g, 0, 4), "67,329.42");
    EXPECT_EQ(frm->SumAmtEdit->text(), "8,606.64");
    EXPECT_EQ(frm->SumInterestEdit->text(), "336.65");
    EXPECT_EQ(folder.messages.count(), 0);
}

TEST_F(InterestFrmTest, YearsFillPeriodsAndBadInputIsNamed)
{
    loan("100000", "20", "5");
    EXPECT_EQ(frm->StartTermEdit->text(), "1");
    EXPECT_EQ(frm->EndTermEdit->text(), "240");
    typeInto(frm->LoanYearEdit, "0");
    EXPECT_EQ(frm->StartTermEdit->text(), "");
    EXPECT_EQ(frm->EndTermEdit->text(), "");
    frm->LoanYearEdit->clear();
    EXPECT_EQ(frm->EndTermEdit->text(), "");

    struct Case { QLineEdit* field; QString text; QLineEdit* focus; const char* message; };
    typeInto(frm->LoanYearEdit, "1");
    const Case cases[] = {
        {frm->EndTermEdit, "13", frm->EndTermEdit, "请输入输入的期数不能大于按揭总月数!"},
        {frm->EndTermEdit, "", frm->EndTermEdit, "请输入需要计算的期数!"},
        {frm->StartTermEdit, "6", nullptr, nullptr},
        {frm->EndTermEdit, "3", frm->EndTermEdit, "请输入输入的j结束期数不能大于起始期数!"},
        {frm->LoanRateEdit, "-2", frm->LoanRateEdit, "请输入年利率!且年利率必须大于0"},
        {frm->LoanAmtEdit, "ten", frm->LoanAmtEdit, "请输入贷款本金!且本金必须大于0"},
        {frm->LoanAmtEdit, "", frm->LoanAmtEdit, "请输入贷款本金!且本金必须大于0"},
    };
    for (const Case& c : cases) {
        typeInto(c.field, c.text);
        if (!c.message)
            continue;
        folder.messages.clear();
        frm->loanStrGrid->setRowCount(3);
        frm->LoanCalcButtonClick();
        ASSERT_EQ(folder.messages.count(), 1) << c.message;
        EXPECT_EQ(folder.messages.last().title, "提示");
        EXPECT_EQ(folder.messages.last().icon, MsgIcon::Information);
        EXPECT_EQ(folder.messages.last().text, QString::fromUtf8(c.message));
        EXPECT_TRUE(c.focus->hasFocus()) << c.message;
        EXPECT_EQ(frm->loanStrGrid->rowCount(), 3); // nothing computed
    }
}

TEST_F(InterestFrmTest, RegulationsShowTheNoteOrSayItIsMissing)
{
    QString shown, caption;
    frm->runDialog = [&](QDialog& d) {
        caption = d.windowTitle();
        shown = static_cast<TProvisionDlg&>(d).Memo1->toPlainText();
    };
    QTest::mouseClick(frm->SavRuleButton, Qt::LeftButton);
    EXPECT_EQ(caption, "利息计算方法");
    EXPECT_EQ(shown, "文件deposit.txt不存在");
    QFile f(folder.path("loan.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("等额本息：每月还款额相同。");
    f.close();
    frm->PageControl1->setCurrentIndex(1);
    QTest::mouseClick(frm->LoanRuleButton, Qt::LeftButton);
    EXPECT_EQ(shown, "等额本息：每月还款额相同。");
}

TEST_F(InterestFrmTest, RateGridsAddEditAndDeleteRows)
{
    frm->PageControl1->setCurrentIndex(2);
    EXPECT_EQ(frm->ActDel->shortcut(), QKeySequence(Qt::Key_Delete));
    frm->RatePageControl->setCurrentIndex(1);
    EditGrid* g = frm->CurGrid;
    ASSERT_EQ(g->rowCount(), 1);

    // The default currency can be neither changed nor deleted.
    g->setCurrentCell(0, 0);
    frm->ActEditExecute();
    EXPECT_EQ(folder.messages.last().text, "默认记录不允许修改！");
    EXPECT_FALSE(g->isEditing());
    frm->ActDelExecute();
    EXPECT_EQ(folder.messages.shown.at(folder.messages.count() - 2).text, "确实要删除这条记录吗？");
    EXPECT_EQ(folder.messages.last().text, "默认记录不允许删除！");

    // A new currency: Delete edits text meanwhile; an empty name is refused.
    folder.messages.clear();
    frm->ActAddExecute();
    ASSERT_EQ(g->editState(), EditGrid::Insert);
    EXPECT_TRUE(frm->ActDel->shortcut().isEmpty());
    EXPECT_FALSE(g->savePending());
    EXPECT_EQ(folder.messages.last().text, "币种不能为空！");
    EXPECT_EQ(g->editState(), EditGrid::Insert);
    EXPECT_EQ(g->currentColumn(), 0);
    setCell(g, "CurName", "港币'%");
    setCell(g, "ExchRate", "0.92");
    // Leaving the grid saves the row.
    frm->SavRuleButton->setFocus(); // any control outside the grid (on another page)
    frm->PageControl1->setCurrentIndex(0);
    EXPECT_FALSE(g->isEditing());
    ASSERT_TRUE(dm->query("SELECT * FROM INT_Cur ORDER BY ID"));
    ASSERT_EQ(dm->ADOQuery1().size(), 2);
    EXPECT_EQ(dm->ADOQuery1().text(1, "CurName"), "港币'%");
    EXPECT_EQ(dm->ADOQuery1().date(1, "UpdDate"), QDate(2026, 3, 5));
    // ... and the deposit tab offers it.
    EXPECT_EQ(frm->CurComboBox->count(), 2);

    // A rate row: the space bar steps through the currencies, kinds and terms.
    frm->PageControl1->setCurrentIndex(2);
    frm->RatePageControl->setCurrentIndex(0);
    EditGrid* r = frm->RateGrid;
    frm->ActAddExecute();
    ASSERT_TRUE(r->isEditing());
    r->setCurrentCell(r->currentRow(), 0);
    QTest::keyClick(r, Qt::Key_Space);
    QTest::keyClick(r, Qt::Key_Space); // 人民币 -> 港币
    EXPECT_EQ(r->item(r->currentRow(), 0)->text(), "港币'%");
    EXPECT_FALSE(r->savePending());
    EXPECT_EQ(folder.messages.last().text, "类别不能为空！");
    EXPECT_EQ(r->currentColumn(), 1);
    QTest::keyClick(r, Qt::Key_Space); // the first kind
    r->setCurrentCell(r->currentRow(), 2);
    QTest::keyClick(r, Qt::Key_Space);
    QTest::keyClick(r, Qt::Key_Space); // 无 -> 一年
    setCell(r, "Rate", "2.25");
    setCell(r, "UpdDate", "2026-1-1");
    EXPECT_TRUE(r->savePending());
    ASSERT_EQ(r->rowCount(), 3);
    ASSERT_TRUE(dm->query("SELECT * FROM INT_Rate WHERE Rate = 2.25"));
    ASSERT_EQ(dm->ADOQuery1().size(), 1);
    EXPECT_EQ(dm->ADOQuery1().integer(0, "CurID"), 1);
    EXPECT_EQ(dm->ADOQuery1().integer(0, "TypeID"), 0);
    EXPECT_EQ(dm->ADOQuery1().integer(0, "TermID"), 1);

    // Title clicks sort by the currency, then toggle.
    r->sortBy(0);
    r->sortBy(0);
    EXPECT_TRUE(r->sortDescending());
    EXPECT_EQ(r->item(0, 0)->text(), "港币'%");
    // Rates can always be deleted.
    r->setCurrentCell(0, 0);
    frm->ActDelExecute();
    EXPECT_EQ(r->rowCount(), 2);
}
