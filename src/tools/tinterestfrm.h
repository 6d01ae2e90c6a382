#pragma once
// "利息计算器": deposit interest, loan repayment schedules, and the rate
// tables, on a connection of its own that lives as long as the window.

#include "editgrid.h"
#include "ratetables.h"
#include "toolsdb.h"

#include <QDate>
#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class TDataModule1;
class IDesktop;

class TInterestFrm : public QDialog {
    Q_OBJECT
public:
    TInterestFrm(TDataModule1& dm, IMessageBox& messages, IDesktop& desktop, QWidget* parent = nullptr);
    ~TInterestFrm() override;

    static QString rateUrl() { return QStringLiteral("http://www.pbc.gov.cn/zhengcehuobisi/125207/125213/125440/index.html"); }
    // Runs a modal text dialog (default exec); tests look at it instead.
    std::function<void(QDialog&)> runDialog;
    QDate today = QDate::currentDate();

    QTabWidget* PageControl1;
    // deposit
    QLineEdit* SavAmtEdit;
    QComboBox* CurComboBox;
    QComboBox* SavTypeComboBox;
    QComboBox* TermComboBox;
    QLineEdit* SavRateEdit;
    QLineEdit* StartDateEdit;
    QLineEdit* EndDateEdit;
    QRadioButton* RollAllRadio;
    QRadioButton* RollPrincipalRadio;
    QRadioButton* NoRollRadio;
    QLabel* InterestText;
    QLineEdit* SavTaxRateEdit;
    QLabel* InterestTaxText;
    QLabel* PostInterestText;
    QPushButton* SavCalcButton;
    QPushButton* SavExportButton;
    QPushButton* SavRuleButton;
    QTableWidget* savStrGrid;
    // loan
    QLineEdit* LoanAmtEdit;
    QComboBox* LoanTypeComboBox;
    QLineEdit* LoanYearEdit;
    QLineEdit* LoanRateEdit;
    QLineEdit* StartTermEdit;
    QLineEdit* EndTermEdit;
    QRadioButton* EqualInstalmentRadio;
    QRadioButton* EqualPrincipalRadio;
    QRadioButton* AtMaturityRadio;
    QLineEdit* SumAmtEdit;
    QLineEdit* SumInterestEdit;
    QPushButton* LoanCalcButton;
    QPushButton* LoanExportButton;
    QPushButton* LoanRuleButton;
    QTableWidget* loanStrGrid;
    // rate settings
    QTabWidget* RatePageControl;
    EditGrid* RateGrid;
    EditGrid* CurGrid;
    EditGrid* TypeGrid;
    EditGrid* TermGrid;
    QAction* ActAdd;
    QAction* ActEdit;
    QAction* ActDel;
    QLabel* RateLinkLabel;

    void SavCalcButtonClick();
    void LoanCalcButtonClick();
    void RuleButtonClick(const QString& file);
    void ActAddExecute();
    void ActEditExecute();
    void ActDelExecute();
    EditGrid* currentGrid() const;
    RateTables::Table currentTable() const;

    // Closing saves a row still being edited; a refused row keeps the window open.
    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* buildDeposit();
    QWidget* buildLoan();
    QWidget* buildRates();
    EditGrid* makeGrid(RateTables::Table t, const QVector<EditGrid::Column>& cols);
    void fillLists();
    void fillCombo(QComboBox* box, const QVector<RateTables::Item>& items);
    void refillTerms();
    void lookupRate();
    void reloadGrid(RateTables::Table t, const QVariant& select = QVariant());
    void refreshPickLists();
    void updateDeleteKey();
    void pageChanged(int index);
    int comboId(QComboBox* box) const;

    TDataModule1& dm_;
    IMessageBox& messages_;
    IDesktop& desktop_;
    ToolConnection conn_;
    int lastPage_ = 0;
    bool filling_ = false;
};
