#pragma once
// "个税计算器": tax on wages, the annual one-off bonus and labour
// remuneration, computed as the user types, and the bracket table Tax_Rate.

#include "editgrid.h"
#include "taxcalc.h"
#include "toolsdb.h"

#include <QDate>
#include <QDialog>
#include <functional>

class AmountEdit;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDataModule1;
class IDesktop;

class TTaxFrm : public QDialog {
    Q_OBJECT
public:
    TTaxFrm(TDataModule1& dm, IMessageBox& messages, IDesktop& desktop, QWidget* parent = nullptr,
            const QDate& today = QDate::currentDate());
    ~TTaxFrm() override;

    static QString taxUrl() { return QStringLiteral("http://www.chinatax.gov.cn/"); }
    std::function<void(QDialog&)> runDialog;

    QTabWidget* PageControl1;
    AmountEdit* PreTaxSalaryEdit;
    AmountEdit* OtherIncomeEdit;
    QLineEdit* TotalIncomeEdit;
    AmountEdit* PreTaxDeductionEdit;
    AmountEdit* StartPointEdit;
    QLineEdit* TaxingIncomeEdit;
    QLabel* IncomeRateStaticText;
    QLineEdit* IncomeTaxEdit;
    AmountEdit* AnnualBonusEdit;
    QLineEdit* TaxingBonusEdit;
    QLabel* BonusRateStaticText;
    QLineEdit* BonusTaxEdit;
    QRadioButton* PigHeadRadio;
    QRadioButton* CommonRadio;
    AmountEdit* PreTaxRewardEdit;
    QLineEdit* TaxingRewardEdit;
    QLabel* RewardRateStaticText;
    QLineEdit* RewardTaxEdit;
    QLabel* SumTaxStaticText;
    QLabel* PostIncomeStaticText;
    QPushButton* RuleButton;
    QLabel* TaxLinkLabel;
    EditGrid* TaxGrid;
    QAction* ActAdd;
    QAction* ActEdit;
    QAction* ActDel;

    void RuleButtonClick();
    void ActAddExecute();
    void ActEditExecute();
    void ActDelExecute();

    // Closing saves a row still being edited; a refused row keeps the window open.
    void done(int r) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* buildTaxPage();
    QWidget* buildRatePage();
    void incomeChanged();
    void wageChanged();
    void bonusChanged();
    void rewardChanged();
    void totalsChanged();
    void reloadGrid(const QVariant& select = QVariant());
    void updateDeleteKey();

    TDataModule1& dm_;
    IMessageBox& messages_;
    IDesktop& desktop_;
    ToolConnection conn_;
    QDate today_;
    // The values behind the read-only fields, unrounded.
    TaxCalc::WageTax wage_;
    TaxCalc::PartTax bonus_;
    TaxCalc::PartTax reward_;
};
