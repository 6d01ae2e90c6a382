#include "ttaxfrm.h"

#include "amountedit.h"
#include "datamodule.h"
#include "toolwindow.h"
#include "tprovisiondlg.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& text, QWidget* parent, const QString& hint = QString())
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (!hint.isEmpty())
        l->setToolTip(hint);
    return l;
}

QLineEdit* resultField(const QString& name, QWidget* parent, const QString& text = QStringLiteral("0.00"))
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFocusPolicy(Qt::ClickFocus);
    e->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    return e;
}

QLabel* rateText(const QString& name, QWidget* parent, const QString& text = QStringLiteral("0.00"))
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(40);
    return l;
}

// "label  [rate] %" on one grid row.
void addRateRow(QGridLayout* g, int row, QLabel* rate, QWidget* parent)
{
    g->addWidget(label(QStringLiteral("适用税率："), parent), row, 0);
    auto* h = new QHBoxLayout;
    h->addWidget(rate);
    h->addWidget(new QLabel(QStringLiteral("%"), parent));
    h->addStretch();
    g->addLayout(h, row, 1);
}

} // namespace

TTaxFrm::TTaxFrm(TDataModule1& dm, IMessageBox& messages, IDesktop& desktop, QWidget* parent, const QDate& today)
    : QDialog(parent), dm_(dm), messages_(messages), desktop_(desktop), conn_(&messages), today_(today)
{
    setObjectName(QStringLiteral("TaxFrm"));
    setWindowTitle(QStringLiteral("个税计算器"));
    setFixedSize(501, 441);
    wage_.taxable = -1600;

    ActAdd = new QAction(QStringLiteral("添加"), this);
    ActAdd->setShortcut(QKeySequence(Qt::Key_Insert));
    ActEdit = new QAction(QStringLiteral("修改"), this);
    ActEdit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ActDel = new QAction(QStringLiteral("删除"), this);
    for (QAction* a : {ActAdd, ActEdit, ActDel})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(ActAdd, &QAction::triggered, this, &TTaxFrm::ActAddExecute);
    connect(ActEdit, &QAction::triggered, this, &TTaxFrm::ActEditExecute);
    connect(ActDel, &QAction::triggered, this, &TTaxFrm::ActDelExecute);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(buildTaxPage(), QStringLiteral("个税计算"));
    PageControl1->addTab(buildRatePage(), QStringLiteral("税率设置"));
    lay->addWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int i) {
        if (i == 0)
            TaxGrid->savePending();
        updateDeleteKey();
    });

    const auto children = findChildren<QWidget*>();
    for (QWidget* w : children)
        w->installEventFilter(this);

    if (conn_.open(dm_.databasePath()))
        TaxCalc::ensureTable(conn_, today_);
    reloadGrid();
    updateDeleteKey();
}

TTaxFrm::~TTaxFrm() = default;

QWidget* TTaxFrm::buildTaxPage()
{
    auto* page = new QWidget;
    auto* outer = new QGridLayout(page);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setHorizontalSpacing(6);
    outer->setVerticalSpacing(4);

    // Wages and salaries.
    auto* wage = new QGroupBox(QStringLiteral("工资、薪金"), page);
    auto* wg = new QGridLayout(wage);
    wg->setContentsMargins(6, 4, 6, 4);
    wg->setVerticalSpacing(4);
    PreTaxSalaryEdit = new AmountEdit(QStringLiteral("PreTaxSalaryEdit"), wage);
    PreTaxSalaryEdit->setToolTip(QStringLiteral("包括双薪"));
    OtherIncomeEdit = new AmountEdit(QStringLiteral("OtherIncomeEdit"), wage);
    const QString otherHint = QStringLiteral("除全年一次性奖金以外的其它各种名目奖金，如半年奖、季度奖、加班奖、先进奖、考勤奖等");
    OtherIncomeEdit->setToolTip(otherHint);
    TotalIncomeEdit = resultField(QStringLiteral("TotalIncomeEdit"), wage);
    PreTaxDeductionEdit = new AmountEdit(QStringLiteral("PreTaxDeductionEdit"), wage);
    const QString deductionHint = QStringLiteral("规定比例的住房公积金、医疗保险金、基本养老保险金、失业保险金");
    PreTaxDeductionEdit->setToolTip(deductionHint);
    StartPointEdit = new AmountEdit(QStringLiteral("StartPointEdit"), wage);
    StartPointEdit->setText(QStringLiteral("1,600.00"));
    TaxingIncomeEdit = resultField(QStringLiteral("TaxingIncomeEdit"), wage, QStringLiteral("-1,600.00"));
    IncomeRateStaticText = rateText(QStringLiteral("IncomeRateStaticText"), wage);
    IncomeTaxEdit = resultField(QStringLiteral("IncomeTaxEdit"), wage);
    wg->addWidget(label(QStringLiteral("税前工资："), wage, QStringLiteral("包括双薪")), 0, 0);
    wg->addWidget(PreTaxSalaryEdit, 0, 1);
    wg->addWidget(label(QStringLiteral("其它收入："), wage, otherHint), 1, 0);
    wg->addWidget(OtherIncomeEdit, 1, 1);
    wg->addWidget(label(QStringLiteral("收入总额："), wage), 2, 0);
    wg->addWidget(TotalIncomeEdit, 2, 1);
    wg->addWidget(label(QStringLiteral("税前应扣："), wage, deductionHint), 3, 0);
    wg->addWidget(PreTaxDeductionEdit, 3, 1);
    wg->addWidget(label(QStringLiteral("起征额："), wage), 4, 0);
    wg->addWidget(StartPointEdit, 4, 1);
    wg->addWidget(label(QStringLiteral("应纳税额："), wage), 5, 0);
    wg->addWidget(TaxingIncomeEdit, 5, 1);
    addRateRow(wg, 6, IncomeRateStaticText, wage);
    wg->addWidget(label(QStringLiteral("所得税："), wage), 7, 0);
    wg->addWidget(IncomeTaxEdit, 7, 1);
    wg->setRowStretch(8, 1);
    outer->addWidget(wage, 0, 0, 2, 1);

    // Annual one-off bonus.
    auto* bonus = new QGroupBox(QStringLiteral("全年一次性奖金"), page);
    auto* bg = new QGridLayout(bonus);
    bg->setContentsMargins(6, 4, 6, 4);
    bg->setVerticalSpacing(4);
    AnnualBonusEdit = new AmountEdit(QStringLiteral("AnnualBonusEdit"), bonus);
    TaxingBonusEdit = resultField(QStringLiteral("TaxingBonusEdit"), bonus);
    BonusRateStaticText = rateText(QStringLiteral("BonusRateStaticText"), bonus);
    BonusTaxEdit = resultField(QStringLiteral("BonusTaxEdit"), bonus);
    bg->addWidget(label(QStringLiteral("税前奖金："), bonus), 0, 0);
    bg->addWidget(AnnualBonusEdit, 0, 1);
    bg->addWidget(label(QStringLiteral("应纳税额："), bonus), 1, 0);
    bg->addWidget(TaxingBonusEdit, 1, 1);
    addRateRow(bg, 2, BonusRateStaticText, bonus);
    bg->addWidget(label(QStringLiteral("所得税："), bonus), 3, 0);
    bg->addWidget(BonusTaxEdit, 3, 1);
    auto* method = new QGroupBox(QStringLiteral("计算方法"), bonus);
    auto* ml = new QHBoxLayout(method);
    ml->setContentsMargins(6, 0, 6, 0);
    PigHeadRadio = new QRadioButton(QStringLiteral("猪头算法"), method);
    CommonRadio = new QRadioButton(QStringLiteral("大众算法"), method);
    PigHeadRadio->setChecked(true);
    ml->addWidget(PigHeadRadio);
    ml->addWidget(CommonRadio);
    bg->addWidget(method, 4, 0, 1, 2);
    outer->addWidget(bonus, 0, 1);

    // Labour remuneration.
    auto* reward = new QGroupBox(QStringLiteral("劳务报酬"), page);
    auto* rg = new QGridLayout(reward);
    rg->setContentsMargins(6, 4, 6, 4);
    rg->setVerticalSpacing(4);
    PreTaxRewardEdit = new AmountEdit(QStringLiteral("PreTaxRewardEdit"), reward);
    TaxingRewardEdit = resultField(QStringLiteral("TaxingRewardEdit"), reward);
    RewardRateStaticText = rateText(QStringLiteral("RewardRateStaticText"), reward, QStringLiteral("20.00"));
    RewardTaxEdit = resultField(QStringLiteral("RewardTaxEdit"), reward);
    rg->addWidget(label(QStringLiteral("税前报酬："), reward), 0, 0);
    rg->addWidget(PreTaxRewardEdit, 0, 1);
    rg->addWidget(label(QStringLiteral("应纳税额："), reward), 1, 0);
    rg->addWidget(TaxingRewardEdit, 1, 1);
    addRateRow(rg, 2, RewardRateStaticText, reward);
    rg->addWidget(label(QStringLiteral("所得税："), reward), 3, 0);
    rg->addWidget(RewardTaxEdit, 3, 1);
    outer->addWidget(reward, 1, 1);

    // Totals, the rules and the web site.
    auto* bottom = new QHBoxLayout;
    SumTaxStaticText = rateText(QStringLiteral("SumTaxStaticText"), page);
    PostIncomeStaticText = rateText(QStringLiteral("PostIncomeStaticText"), page);
    for (QLabel* l : {SumTaxStaticText, PostIncomeStaticText}) {
        l->setMinimumWidth(90);
        l->setFrameShape(QFrame::StyledPanel);
    }
    bottom->addWidget(new QLabel(QStringLiteral("个税合计："), page));
    bottom->addWidget(SumTaxStaticText);
    bottom->addSpacing(8);
    bottom->addWidget(new QLabel(QStringLiteral("实际收入："), page));
    bottom->addWidget(PostIncomeStaticText);
    bottom->addStretch();
    RuleButton = new QPushButton(QStringLiteral("规定"), page);
    RuleButton->setAutoDefault(false);
    bottom->addWidget(RuleButton);
    outer->addLayout(bottom, 2, 0, 1, 2);
    TaxLinkLabel = new QLabel(QStringLiteral("<a href=\"%1\">详细情况请参照税率网</a>").arg(taxUrl()), page);
    TaxLinkLabel->setCursor(Qt::PointingHandCursor);
    TaxLinkLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    outer->addWidget(TaxLinkLabel, 3, 0, 1, 2);
    outer->setColumnStretch(0, 1);
    outer->setColumnStretch(1, 1);

    connect(TaxLinkLabel, &QLabel::linkActivated, this, [this](const QString& url) { desktop_.openUrl(url); });
    connect(RuleButton, &QPushButton::clicked, this, &TTaxFrm::RuleButtonClick);
    connect(PreTaxSalaryEdit, &QLineEdit::textChanged, this, &TTaxFrm::incomeChanged);
    connect(OtherIncomeEdit, &QLineEdit::textChanged, this, &TTaxFrm::incomeChanged);
    connect(PreTaxDeductionEdit, &QLineEdit::textChanged, this, &TTaxFrm::wageChanged);
    connect(StartPointEdit, &QLineEdit::textChanged, this, &TTaxFrm::wageChanged);
    connect(AnnualBonusEdit, &QLineEdit::textChanged, this, &TTaxFrm::bonusChanged);
    connect(PigHeadRadio, &QRadioButton::toggled, this, &TTaxFrm::bonusChanged);
    connect(PreTaxRewardEdit, &QLineEdit::textChanged, this, &TTaxFrm::rewardChanged);
    return page;
}

QWidget* TTaxFrm::buildRatePage()
{
    using C = EditGrid::Column;
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    TaxGrid = new EditGrid(QStringLiteral("Grade"), page);
    TaxGrid->setObjectName(QStringLiteral("TaxGrid"));
    C grade{QStringLiteral("Grade"), QStringLiteral("级数"), 36, C::Number};
    grade.decimals = 0;
    C ceiling{QStringLiteral("Ceiling"), QStringLiteral("应税上限"), 92, C::Number};
    ceiling.grouping = true;
    C rate{QStringLiteral("Rate"), QStringLiteral("适用税率"), 58, C::Number};
    rate.decimals = 0;
    rate.suffix = QStringLiteral("%");
    C deduction{QStringLiteral("Deduction"), QStringLiteral("速算扣除数"), 74, C::Number};
    deduction.grouping = true;
    TaxGrid->setColumns({grade, C{QStringLiteral("Description"), QStringLiteral("应税所得"), 130}, ceiling, rate,
                         deduction, C{QStringLiteral("UpdDate"), QStringLiteral("更新日期"), 74, C::Date}});
    TaxGrid->onSave = [this](const QVariant& key, const QMap<QString, QString>& values, QString* bad) {
        const auto r = TaxCalc::save(conn_, key, values, today_);
        if (!r.ok) {
            if (!r.message.isEmpty())
                messages_.info(r.message);
            *bad = r.field;
            return false;
        }
        reloadGrid(r.grade);
        return true;
    };
    connect(TaxGrid, &EditGrid::stateChanged, this, [this] { updateDeleteKey(); });
    connect(TaxGrid, &EditGrid::editRequested, this, &TTaxFrm::ActEditExecute);
    v->addWidget(TaxGrid);
    v->addLayout(ToolWindow::actionButtons(page, {ActAdd, ActEdit, ActDel}, false));
    page->addAction(ActAdd);
    page->addAction(ActEdit);
    page->addAction(ActDel);
    return page;
}

void TTaxFrm::reloadGrid(const QVariant& select)
{
    QueryResult r;
    conn_.query(QStringLiteral("SELECT * FROM Tax_Rate ORDER BY Grade"), {}, &r);
    TaxGrid->setRows(r, select);
}

void TTaxFrm::updateDeleteKey()
{
    const bool give = PageControl1->currentIndex() == 1 && !TaxGrid->isEditing();
    ActDel->setShortcut(give ? QKeySequence(Qt::Key_Delete) : QKeySequence());
}

// The cascade: income, then the wage tax, then the bonus, then the totals.
void TTaxFrm::incomeChanged()
{
    TotalIncomeEdit->setText(ToolText::money(PreTaxSalaryEdit->amount() + OtherIncomeEdit->amount()));
    wageChanged();
}

void TTaxFrm::wageChanged()
{
    wage_ = TaxCalc::wage(conn_, PreTaxSalaryEdit->amount(), OtherIncomeEdit->amount(), PreTaxDeductionEdit->amount(),
                          StartPointEdit->amount());
    TaxingIncomeEdit->setText(ToolText::money(wage_.taxable));
    IncomeRateStaticText->setText(wage_.rateText);
    IncomeTaxEdit->setText(ToolText::money(wage_.tax));
    bonusChanged();
}

void TTaxFrm::bonusChanged()
{
    bonus_ = TaxCalc::bonus(conn_, AnnualBonusEdit->amount(), wage_.taxable, CommonRadio->isChecked());
    TaxingBonusEdit->setText(ToolText::money(bonus_.taxable));
    BonusRateStaticText->setText(bonus_.rateText);
    BonusTaxEdit->setText(ToolText::money(bonus_.tax));
    totalsChanged();
}

void TTaxFrm::rewardChanged()
{
    reward_ = TaxCalc::remuneration(PreTaxRewardEdit->amount());
    TaxingRewardEdit->setText(ToolText::money(reward_.taxable));
    RewardRateStaticText->setText(reward_.rateText);
    RewardTaxEdit->setText(ToolText::money(reward_.tax));
    totalsChanged();
}

void TTaxFrm::totalsChanged()
{
    const auto t = TaxCalc::totals(wage_, PreTaxDeductionEdit->amount(), AnnualBonusEdit->amount(), bonus_,
                                   PreTaxRewardEdit->amount(), reward_);
    SumTaxStaticText->setText(ToolText::money(t.sumTax));
    PostIncomeStaticText->setText(ToolText::money(t.postIncome));
}

void TTaxFrm::RuleButtonClick()
{
    dm_.clickSound();
    TProvisionDlg d(ToolText::noteFile(dm_.programFolder(), QStringLiteral("tax.txt")), this);
    if (runDialog)
        runDialog(d);
    else
        d.exec();
}

void TTaxFrm::ActAddExecute()
{
    dm_.clickSound();
    TaxGrid->startInsert({{QStringLiteral("UpdDate"), Dates::toIso(today_)}});
}

void TTaxFrm::ActEditExecute()
{
    dm_.clickSound();
    if (TaxGrid->savePending())
        TaxGrid->startEdit();
}

void TTaxFrm::ActDelExecute()
{
    dm_.clickSound();
    if (!TaxGrid->savePending() || TaxGrid->currentRow() < 0)
        return;
    if (!messages_.confirm(QStringLiteral("提示"), QStringLiteral("确实要删除这条记录吗？"), MsgIcon::Question))
        return;
    const int row = TaxGrid->currentRow();
    if (TaxCalc::remove(conn_, TaxGrid->currentKey()))
        reloadGrid();
    if (TaxGrid->rowCount() > 0)
        TaxGrid->setCurrentCell(std::min(row, TaxGrid->rowCount() - 1), 0);
}

bool TTaxFrm::eventFilter(QObject* o, QEvent* e)
{
    if (const int step = ToolWindow::arrowStep(o, e)) {
        focusNextPrevChild(step > 0);
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void TTaxFrm::done(int r)
{
    for (EditGrid* g : {TaxGrid})
        if (!g->savePending())
            return;
    QDialog::done(r);
}
