#include "tinterestfrm.h"

#include "datamodule.h"
#include "depositcalc.h"
#include "loancalc.h"
#include "toolwindow.h"
#include "tprovisiondlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
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
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLineEdit* field(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

QLineEdit* resultField(const QString& name, QWidget* parent)
{
    QLineEdit* e = field(name, parent);
    e->setReadOnly(true);
    e->setText(QStringLiteral("0.00"));
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QTableWidget* scheduleGrid(const QString& name, const QStringList& headings, QWidget* parent)
{
    auto* g = new QTableWidget(0, 5, parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(headings);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    return g;
}

// The period column keeps 64; the four figures share the rest of the
// grid's width, so that nothing is cut off whether a scroll bar shows or not.
void fitColumns(QTableWidget* g)
{
    QHeaderView* h = g->horizontalHeader();
    h->setMinimumSectionSize(40);
    h->setSectionResizeMode(0, QHeaderView::Fixed);
    g->setColumnWidth(0, 64);
    for (int c = 1; c < g->columnCount(); ++c)
        h->setSectionResizeMode(c, QHeaderView::Stretch);
}

QTableWidgetItem* cell(const QString& text, bool number)
{
    auto* it = new QTableWidgetItem(text);
    if (number)
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return it;
}

} // namespace

TInterestFrm::TInterestFrm(TDataModule1& dm, IMessageBox& messages, IDesktop& desktop, QWidget* parent)
    : QDialog(parent), dm_(dm), messages_(messages), desktop_(desktop), conn_(&messages)
{
    setObjectName(QStringLiteral("InterestFrm"));
    setWindowTitle(QStringLiteral("利息计算器"));
    setFixedSize(493, 494);

    ActAdd = new QAction(QStringLiteral("添加"), this);
    ActAdd->setShortcut(QKeySequence(Qt::Key_Insert));
    ActEdit = new QAction(QStringLiteral("修改"), this);
    ActEdit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ActDel = new QAction(QStringLiteral("删除"), this);
    ActDel->setShortcut(QKeySequence(Qt::Key_Delete));
    for (QAction* a : {ActAdd, ActEdit, ActDel}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(ActAdd, &QAction::triggered, this, &TInterestFrm::ActAddExecute);
    connect(ActEdit, &QAction::triggered, this, &TInterestFrm::ActEditExecute);
    connect(ActDel, &QAction::triggered, this, &TInterestFrm::ActDelExecute);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(buildDeposit(), QStringLiteral("存款"));
    PageControl1->addTab(buildLoan(), QStringLiteral("贷款"));
    PageControl1->addTab(buildRates(), QStringLiteral("利率设置"));
    lay->addWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TInterestFrm::pageChanged);

    // Left and Right move the focus; Esc closes (QDialog). There is no Enter action.
    const auto children = findChildren<QWidget*>();
    for (QWidget* w : children)
        w->installEventFilter(this);

    conn_.open(dm_.databasePath());
    for (auto t : {RateTables::Table::Cur, RateTables::Table::Type, RateTables::Table::Term, RateTables::Table::Rate})
        reloadGrid(t);
    updateDeleteKey();
}

TInterestFrm::~TInterestFrm() = default;

QWidget* TInterestFrm::buildDeposit()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->setContentsMargins(8, 8, 8, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(5);
    SavAmtEdit = field(QStringLiteral("SavAmtEdit"), page);
    CurComboBox = new QComboBox(page);
    CurComboBox->setObjectName(QStringLiteral("CurComboBox"));
    SavTypeComboBox = new QComboBox(page);
    SavTypeComboBox->setObjectName(QStringLiteral("SavTypeComboBox"));
    TermComboBox = new QComboBox(page);
    TermComboBox->setObjectName(QStringLiteral("TermComboBox"));
    SavRateEdit = field(QStringLiteral("SavRateEdit"), page);
    StartDateEdit = new QLineEdit(page);
    StartDateEdit->setObjectName(QStringLiteral("StartDateEdit"));
    StartDateEdit->setInputMask(QStringLiteral("0000-00-00;_"));
    StartDateEdit->setText(today.addYears(-1).toString(Qt::ISODate));
    EndDateEdit = new QLineEdit(page);
    EndDateEdit->setObjectName(QStringLiteral("EndDateEdit"));
    EndDateEdit->setInputMask(QStringLiteral("0000-00-00;_"));
    EndDateEdit->setText(today.toString(Qt::ISODate));
    SavTaxRateEdit = field(QStringLiteral("SavTaxRateEdit"), page);
    SavTaxRateEdit->setText(QStringLiteral("20.00"));

    g->addWidget(label(QStringLiteral("本金："), page), 0, 0);
    g->addWidget(SavAmtEdit, 0, 1);
    g->addWidget(label(QStringLiteral("币种："), page), 0, 2);
    g->addWidget(CurComboBox, 0, 3);
    g->addWidget(label(QStringLiteral("储种："), page), 1, 0);
    g->addWidget(SavTypeComboBox, 1, 1);
    g->addWidget(label(QStringLiteral("存期："), page), 1, 2);
    g->addWidget(TermComboBox, 1, 3);
    g->addWidget(label(QStringLiteral("年利率："), page), 2, 0);
    auto* rateBox = new QHBoxLayout;
    rateBox->addWidget(SavRateEdit);
    rateBox->addWidget(new QLabel(QStringLiteral("%"), page));
    g->addLayout(rateBox, 2, 1);
    g->addWidget(label(QStringLiteral("日期："), page), 3, 0);
    auto* dates = new QHBoxLayout;
    dates->addWidget(StartDateEdit);
    dates->addWidget(new QLabel(QStringLiteral("至"), page));
    dates->addWidget(EndDateEdit);
    g->addLayout(dates, 3, 1, 1, 3);

    auto* roll = new QGroupBox(QStringLiteral("转存方式"), page);
    auto* rl = new QHBoxLayout(roll);
    rl->setContentsMargins(8, 2, 8, 2);
    RollAllRadio = new QRadioButton(QStringLiteral("转存本息"), roll);
    RollPrincipalRadio = new QRadioButton(QStringLiteral("转存本金"), roll);
    NoRollRadio = new QRadioButton(QStringLiteral("不转存"), roll);
    RollAllRadio->setChecked(true);
    rl->addWidget(RollAllRadio);
    rl->addWidget(RollPrincipalRadio);
    rl->addWidget(NoRollRadio);
    g->addWidget(roll, 4, 0, 1, 4);

    InterestText = new QLabel(QStringLiteral("0.00"), page);
    InterestTaxText = new QLabel(QStringLiteral("0.00"), page);
    PostInterestText = new QLabel(QStringLiteral("0.00"), page);
    for (QLabel* l : {InterestText, InterestTaxText, PostInterestText}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(100);
    }
    InterestText->setObjectName(QStringLiteral("InterestText"));
    InterestTaxText->setObjectName(QStringLiteral("InterestTaxText"));
    PostInterestText->setObjectName(QStringLiteral("PostInterestText"));
    g->addWidget(label(QStringLiteral("应得利息："), page), 5, 0);
    g->addWidget(InterestText, 5, 1);
    g->addWidget(label(QStringLiteral("税率："), page), 5, 2);
    auto* taxBox = new QHBoxLayout;
    taxBox->addWidget(SavTaxRateEdit);
    taxBox->addWidget(new QLabel(QStringLiteral("%"), page));
    g->addLayout(taxBox, 5, 3);
    g->addWidget(label(QStringLiteral("利息税："), page), 6, 0);
    g->addWidget(InterestTaxText, 6, 1);
    g->addWidget(label(QStringLiteral("税后利息："), page), 6, 2);
    g->addWidget(PostInterestText, 6, 3);

    auto* buttons = new QHBoxLayout;
    SavCalcButton = new QPushButton(QStringLiteral("计算"), page);
    SavExportButton = new QPushButton(QStringLiteral("导出..."), page);
    SavRuleButton = new QPushButton(QStringLiteral("规定"), page);
    buttons->addStretch();
    for (QPushButton* b : {SavCalcButton, SavExportButton, SavRuleButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    g->addLayout(buttons, 7, 0, 1, 4);
    savStrGrid = scheduleGrid(QStringLiteral("savStrGrid"), DepositCalc::headings(), page);
    fitColumns(savStrGrid);
    g->addWidget(savStrGrid, 8, 0, 1, 4);
    g->setRowStretch(8, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    connect(SavCalcButton, &QPushButton::clicked, this, &TInterestFrm::SavCalcButtonClick);
    connect(SavExportButton, &QPushButton::clicked, this, &TInterestFrm::SavCalcButtonClick);
    connect(SavRuleButton, &QPushButton::clicked, this, [this] { RuleButtonClick(QStringLiteral("deposit.txt")); });
    connect(CurComboBox, &QComboBox::currentIndexChanged, this, [this] { refillTerms(); });
    connect(SavTypeComboBox, &QComboBox::currentIndexChanged, this, [this] { refillTerms(); });
    connect(TermComboBox, &QComboBox::currentIndexChanged, this, [this] { lookupRate(); });
    return page;
}

QWidget* TInterestFrm::buildLoan()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->setContentsMargins(8, 8, 8, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(5);
    LoanAmtEdit = field(QStringLiteral("LoanAmtEdit"), page);
    LoanTypeComboBox = new QComboBox(page);
    LoanTypeComboBox->setObjectName(QStringLiteral("LoanTypeComboBox"));
    LoanYearEdit = field(QStringLiteral("LoanYearEdit"), page);
    LoanRateEdit = field(QStringLiteral("LoanRateEdit"), page);
    StartTermEdit = field(QStringLiteral("StartTermEdit"), page);
    EndTermEdit = field(QStringLiteral("EndTermEdit"), page);
    g->addWidget(label(QStringLiteral("本金："), page), 0, 0);
    g->addWidget(LoanAmtEdit, 0, 1);
    g->addWidget(label(QStringLiteral("种类："), page), 0, 2);
    g->addWidget(LoanTypeComboBox, 0, 3);
    g->addWidget(label(QStringLiteral("年限："), page), 1, 0);
    g->addWidget(LoanYearEdit, 1, 1);
    g->addWidget(label(QStringLiteral("年利率："), page), 1, 2);
    auto* rateBox = new QHBoxLayout;
    rateBox->addWidget(LoanRateEdit);
    rateBox->addWidget(new QLabel(QStringLiteral("%"), page));
    g->addLayout(rateBox, 1, 3);
    g->addWidget(label(QStringLiteral("需要计算的期数："), page), 2, 0, 1, 2);
    auto* periods = new QHBoxLayout;
    periods->addWidget(StartTermEdit);
    periods->addWidget(new QLabel(QStringLiteral("至"), page));
    periods->addWidget(EndTermEdit);
    g->addLayout(periods, 2, 2, 1, 2);

    auto* method = new QGroupBox(QStringLiteral("还款方式"), page);
    auto* ml = new QVBoxLayout(method);
    ml->setContentsMargins(8, 2, 8, 2);
    ml->setSpacing(2);
    EqualInstalmentRadio = new QRadioButton(QStringLiteral("等额还款（等本息）"), method);
    EqualPrincipalRadio = new QRadioButton(QStringLiteral("按月递减还款（等本金）"), method);
    AtMaturityRadio = new QRadioButton(QStringLiteral("到期还本付息"), method);
    EqualInstalmentRadio->setChecked(true);
    ml->addWidget(EqualInstalmentRadio);
    ml->addWidget(EqualPrincipalRadio);
    ml->addWidget(AtMaturityRadio);
    g->addWidget(method, 3, 0, 3, 2);
    SumAmtEdit = resultField(QStringLiteral("SumAmtEdit"), page);
    SumInterestEdit = resultField(QStringLiteral("SumInterestEdit"), page);
    g->addWidget(label(QStringLiteral("还款总额："), page), 3, 2);
    g->addWidget(SumAmtEdit, 3, 3);
    g->addWidget(label(QStringLiteral("利息总额："), page), 4, 2);
    g->addWidget(SumInterestEdit, 4, 3);

    auto* buttons = new QHBoxLayout;
    LoanCalcButton = new QPushButton(QStringLiteral("计算"), page);
    LoanExportButton = new QPushButton(QStringLiteral("导出..."), page);
    LoanRuleButton = new QPushButton(QStringLiteral("规定"), page);
    buttons->addStretch();
    for (QPushButton* b : {LoanCalcButton, LoanExportButton, LoanRuleButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    g->addLayout(buttons, 6, 0, 1, 4);

    loanStrGrid = scheduleGrid(QStringLiteral("loanStrGrid"), LoanCalc::headings(), page);
    fitColumns(loanStrGrid);
    g->addWidget(loanStrGrid, 7, 0, 1, 4);
    g->setRowStretch(7, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    connect(LoanCalcButton, &QPushButton::clicked, this, &TInterestFrm::LoanCalcButtonClick);
    connect(LoanExportButton, &QPushButton::clicked, this, &TInterestFrm::LoanCalcButtonClick);
    connect(LoanRuleButton, &QPushButton::clicked, this, [this] { RuleButtonClick(QStringLiteral("loan.txt")); });
    connect(LoanYearEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
        const auto p = LoanCalc::periodsForYears(t);
        StartTermEdit->setText(p.first);
        EndTermEdit->setText(p.second);
    });
    return page;
}

EditGrid* TInterestFrm::makeGrid(RateTables::Table t, const QVector<EditGrid::Column>& cols)
{
    auto* grid = new EditGrid(QStringLiteral("ID"));
    grid->setColumns(cols);
    grid->onSave = [this, grid, t](const QVariant& key, const QMap<QString, QString>& values, QString* bad) {
        const auto r = RateTables::save(conn_, t, key, values, today);
        if (!r.ok) {
            if (!r.message.isEmpty())
                messages_.info(r.message);
            *bad = r.field;
            return false;
        }
        reloadGrid(t, r.id);
        if (t != RateTables::Table::Rate)
            refreshPickLists();
        Q_UNUSED(grid);
        return true;
    };
    connect(grid, &EditGrid::stateChanged, this, [this] { updateDeleteKey(); });
    connect(grid, &EditGrid::editRequested, this, &TInterestFrm::ActEditExecute);
    return grid;
}

QWidget* TInterestFrm::buildRates()
{
    using C = EditGrid::Column;
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    RatePageControl = new QTabWidget(page);
    RatePageControl->setTabPosition(QTabWidget::East);

    C cur{QStringLiteral("CurID"), QStringLiteral("币种"), 80, C::Pick};
    cur.sortFields = {QStringLiteral("CurID"), QStringLiteral("TypeID"), QStringLiteral("TermID")};
    C kind{QStringLiteral("TypeID"), QStringLiteral("类别"), 100, C::Pick};
    kind.sortFields = {QStringLiteral("TypeID"), QStringLiteral("CurID"), QStringLiteral("TermID")};
    C term{QStringLiteral("TermID"), QStringLiteral("期限"), 60, C::Pick};
    term.sortFields = {QStringLiteral("TermID"), QStringLiteral("CurID"), QStringLiteral("TypeID")};
    C rate{QStringLiteral("Rate"), QStringLiteral("年利率"), 60, C::Number};
    rate.suffix = QStringLiteral("%");
    C date{QStringLiteral("UpdDate"), QStringLiteral("启用日期"), 80, C::Date};
    RateGrid = makeGrid(RateTables::Table::Rate, {cur, kind, term, rate, date});
    RateGrid->setObjectName(QStringLiteral("RateGrid"));

    C exch{QStringLiteral("ExchRate"), QStringLiteral("汇率"), 90, C::Number};
    exch.decimals = 4;
    CurGrid = makeGrid(RateTables::Table::Cur, {C{QStringLiteral("CurName"), QStringLiteral("币种"), 140},
                                                exch, C{QStringLiteral("UpdDate"), QStringLiteral("更新日期"), 90, C::Date}});
    CurGrid->setObjectName(QStringLiteral("CurGrid"));

    C flag{QStringLiteral("TypeFlag"), QStringLiteral("类型"), 80, C::Pick};
    flag.options = {{QStringLiteral("C"), QStringLiteral("存款")}, {QStringLiteral("D"), QStringLiteral("贷款")}};
    TypeGrid = makeGrid(RateTables::Table::Type, {C{QStringLiteral("TypeName"), QStringLiteral("类名"), 180}, flag});
    TypeGrid->setObjectName(QStringLiteral("TypeGrid"));

    C months{QStringLiteral("Months"), QStringLiteral("月数"), 90};
    months.hint = QStringLiteral("编码格式为[YMD][0-9],例如M6表示六个月");
    TermGrid = makeGrid(RateTables::Table::Term, {C{QStringLiteral("TermName"), QStringLiteral("期限"), 140}, months});
    TermGrid->setObjectName(QStringLiteral("TermGrid"));

    auto wrap = [](QWidget* grid, QWidget* extra) {
        auto* w = new QWidget;
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(2, 2, 2, 2);
        l->addWidget(grid);
        if (extra)
            l->addWidget(extra);
        return w;
    };
    RateLinkLabel = new QLabel(QStringLiteral("<a href=\"%1\">请参照中国人民银行现行利率水平调整上表  </a>").arg(rateUrl()));
    RateLinkLabel->setCursor(Qt::PointingHandCursor);
    RateLinkLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(RateLinkLabel, &QLabel::linkActivated, this, [this](const QString& url) { desktop_.openUrl(url); });
    RatePageControl->addTab(wrap(RateGrid, RateLinkLabel), QStringLiteral("利率"));
    RatePageControl->addTab(wrap(CurGrid, nullptr), QStringLiteral("币种"));
    RatePageControl->addTab(wrap(TypeGrid, nullptr), QStringLiteral("类别"));
    RatePageControl->addTab(wrap(TermGrid, nullptr), QStringLiteral("期限"));
    v->addWidget(RatePageControl);
    connect(RatePageControl, &QTabWidget::currentChanged, this, [this] {
        for (EditGrid* g : {RateGrid, CurGrid, TypeGrid, TermGrid})
            if (g != currentGrid())
                g->savePending();
        updateDeleteKey();
    });

    v->addLayout(ToolWindow::actionButtons(page, {ActAdd, ActEdit, ActDel}, true));
    page->addAction(ActAdd);
    page->addAction(ActEdit);
    page->addAction(ActDel);
    return page;
}

int TInterestFrm::comboId(QComboBox* box) const
{
    return box->currentIndex() < 0 ? -1 : box->currentData().toInt();
}

void TInterestFrm::fillCombo(QComboBox* box, const QVector<RateTables::Item>& items)
{
    const QString keep = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    for (const auto& it : items)
        box->addItem(it.name, it.id);
    const int i = box->findText(keep);
    box->setCurrentIndex(i >= 0 ? i : (box->count() ? 0 : -1));
}

void TInterestFrm::fillLists()
{
    filling_ = true;
    fillCombo(CurComboBox, RateTables::currencies(conn_));
    fillCombo(SavTypeComboBox, RateTables::kinds(conn_, QStringLiteral("C")));
    fillCombo(LoanTypeComboBox, RateTables::kinds(conn_, QStringLiteral("D")));
    filling_ = false;
    refillTerms();
}

void TInterestFrm::refillTerms()
{
    if (filling_)
        return;
    const QVector<RateTables::Item> terms = CurComboBox->currentIndex() < 0 || SavTypeComboBox->currentIndex() < 0
        ? QVector<RateTables::Item>()
        : RateTables::termsFor(conn_, comboId(CurComboBox), comboId(SavTypeComboBox));
    fillCombo(TermComboBox, terms);
    if (TermComboBox->count() == 0)
        SavRateEdit->clear();
    else
        lookupRate();
}

void TInterestFrm::lookupRate()
{
    if (filling_ || TermComboBox->currentIndex() < 0)
        return;
    double rate = 0;
    if (RateTables::rateFor(conn_, comboId(CurComboBox), comboId(SavTypeComboBox), comboId(TermComboBox), today, &rate))
        SavRateEdit->setText(QString::number(rate, 'f', 2));
    else
        SavRateEdit->clear();
}

void TInterestFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        fillLists();
}

void TInterestFrm::pageChanged(int index)
{
    const int from = lastPage_;
    lastPage_ = index;
    if (from == 2)
        currentGrid()->savePending();
    if (index == 0)
        fillLists();
    else if (index == 1)
        fillCombo(LoanTypeComboBox, RateTables::kinds(conn_, QStringLiteral("D")));
    updateDeleteKey();
}

EditGrid* TInterestFrm::currentGrid() const
{
    switch (RatePageControl->currentIndex()) {
    case 1: return CurGrid;
    case 2: return TypeGrid;
    case 3: return TermGrid;
    default: return RateGrid;
    }
}

RateTables::Table TInterestFrm::currentTable() const
{
    switch (RatePageControl->currentIndex()) {
    case 1: return RateTables::Table::Cur;
    case 2: return RateTables::Table::Type;
    case 3: return RateTables::Table::Term;
    default: return RateTables::Table::Rate;
    }
}

void TInterestFrm::updateDeleteKey()
{
    const bool give = PageControl1->currentIndex() == 2 && !currentGrid()->isEditing();
    ActDel->setShortcut(give ? QKeySequence(Qt::Key_Delete) : QKeySequence());
}

void TInterestFrm::reloadGrid(RateTables::Table t, const QVariant& select)
{
    EditGrid* g = t == RateTables::Table::Rate ? RateGrid
        : t == RateTables::Table::Cur          ? CurGrid
        : t == RateTables::Table::Type         ? TypeGrid
                                               : TermGrid;
    if (t == RateTables::Table::Rate)
        refreshPickLists();
    g->setRows(RateTables::rows(conn_, t), select);
}

void TInterestFrm::refreshPickLists()
{
    auto options = [](const QVector<RateTables::Item>& items) {
        QVector<QPair<QVariant, QString>> o;
        for (const auto& it : items)
            o << qMakePair(QVariant(it.id), it.name);
        return o;
    };
    RateGrid->setOptions(QStringLiteral("CurID"), options(RateTables::currencies(conn_)));
    RateGrid->setOptions(QStringLiteral("TypeID"), options(RateTables::allKinds(conn_)));
    RateGrid->setOptions(QStringLiteral("TermID"), options(RateTables::terms(conn_)));
}

void TInterestFrm::ActAddExecute()
{
    dm_.clickSound();
    QMap<QString, QVariant> defaults;
    if (currentTable() == RateTables::Table::Cur)
        defaults.insert(QStringLiteral("UpdDate"), Dates::toIso(today));
    if (currentTable() == RateTables::Table::Cur)
        defaults.insert(QStringLiteral("ExchRate"), 1.0);
    if (currentTable() == RateTables::Table::Type)
        defaults.insert(QStringLiteral("TypeFlag"), QStringLiteral("C"));
    currentGrid()->startInsert(defaults);
}

void TInterestFrm::ActEditExecute()
{
    dm_.clickSound();
    EditGrid* g = currentGrid();
    if (!g->savePending() || g->currentRow() < 0)
        return;
    if (RateTables::isDefaultRecord(currentTable(), g->currentKey())) {
        messages_.info(QStringLiteral("默认记录不允许修改！"));
        return;
    }
    g->startEdit();
}

void TInterestFrm::ActDelExecute()
{
    dm_.clickSound();
    EditGrid* g = currentGrid();
    if (!g->savePending() || g->currentRow() < 0)
        return;
    if (!messages_.confirm(QStringLiteral("提示"), QStringLiteral("确实要删除这条记录吗？"), MsgIcon::Question))
        return;
    QString message;
    if (!RateTables::remove(conn_, currentTable(), g->currentKey(), &message)) {
        if (!message.isEmpty())
            messages_.info(message);
        return;
    }
    const int row = g->currentRow();
    reloadGrid(currentTable());
    if (g->rowCount() > 0)
        g->setCurrentCell(std::min(row, g->rowCount() - 1), 0);
}

void TInterestFrm::RuleButtonClick(const QString& file)
{
    dm_.clickSound();
    TProvisionDlg d(ToolText::noteFile(dm_.programFolder(), file), this);
    if (runDialog)
        runDialog(d);
    else
        d.exec();
}

void TInterestFrm::SavCalcButtonClick()
{
    dm_.clickSound();
    DepositCalc::Input in;
    in.principal = SavAmtEdit->text();
    in.rate = SavRateEdit->text();
    in.taxRate = SavTaxRateEdit->text();
    in.from = StartDateEdit->text();
    in.to = EndDateEdit->text();
    in.mode = RollPrincipalRadio->isChecked() ? DepositCalc::RollOver::Principal
        : NoRollRadio->isChecked()            ? DepositCalc::RollOver::None
                                              : DepositCalc::RollOver::PrincipalAndInterest;
    if (TermComboBox->currentIndex() >= 0) {
        QueryResult r;
        conn_.query(QStringLiteral("SELECT Months FROM INT_Term WHERE ID = ?"), {comboId(TermComboBox)}, &r);
        if (!r.isEmpty())
            in.months = DepositCalc::termMonths(r.text(0, QStringLiteral("Months")));
    }
    // The days after the last whole term earn the demand rate of the currency.
    double demand = 0;
    if (RateTables::rateFor(conn_, comboId(CurComboBox), 0, 0, today, &demand))
        in.demandRate = demand;
    const auto res = DepositCalc::compute(in);
    if (!res.message.isEmpty()) {
        messages_.info(res.message);
        QWidget* f = res.badField == DepositCalc::Field::Principal ? static_cast<QWidget*>(SavAmtEdit)
            : res.badField == DepositCalc::Field::Rate             ? SavRateEdit
            : res.badField == DepositCalc::Field::From             ? StartDateEdit
            : res.badField == DepositCalc::Field::To               ? EndDateEdit
                                                                   : SavTaxRateEdit;
        f->setFocus();
        return;
    }
    savStrGrid->setRowCount(res.rows.size());
    for (int r = 0; r < res.rows.size(); ++r) {
        const auto& row = res.rows[r];
        savStrGrid->setItem(r, 0, cell(QStringLiteral("%1期").arg(row.period), false));
        savStrGrid->setItem(r, 1, cell(Dates::shortText(row.from), false));
        savStrGrid->setItem(r, 2, cell(Dates::shortText(row.to), false));
        savStrGrid->setItem(r, 3, cell(ToolText::money(row.principal), true));
        savStrGrid->setItem(r, 4, cell(ToolText::money(row.interest), true));
    }
    InterestText->setText(ToolText::money(res.interest));
    InterestTaxText->setText(ToolText::money(res.tax));
    PostInterestText->setText(ToolText::money(res.afterTax));
}

void TInterestFrm::LoanCalcButtonClick()
{
    dm_.clickSound();
    const auto c = LoanCalc::check({LoanAmtEdit->text(), LoanYearEdit->text(), LoanRateEdit->text(),
                                    StartTermEdit->text(), EndTermEdit->text()});
    if (!c.message.isEmpty()) {
        messages_.info(c.message);
        QLineEdit* f = c.badField == LoanCalc::Field::Principal ? LoanAmtEdit
            : c.badField == LoanCalc::Field::Years              ? LoanYearEdit
            : c.badField == LoanCalc::Field::Rate               ? LoanRateEdit
            : c.badField == LoanCalc::Field::FirstPeriod        ? StartTermEdit
                                                                : EndTermEdit;
        f->setFocus();
        f->selectAll();
        return;
    }
    const auto method = EqualPrincipalRadio->isChecked() ? LoanCalc::Method::EqualPrincipal
        : AtMaturityRadio->isChecked()                   ? LoanCalc::Method::AtMaturity
                                                         : LoanCalc::Method::EqualInstalment;
    const auto s = LoanCalc::compute(c.principal, c.years, c.rate, c.first, c.last, method);
    loanStrGrid->setRowCount(s.rows.size());
    for (int r = 0; r < s.rows.size(); ++r) {
        const auto& row = s.rows[r];
        loanStrGrid->setItem(r, 0, cell(QStringLiteral("%1期").arg(row.period), false));
        loanStrGrid->setItem(r, 1, cell(ToolText::money(row.payment), true));
        loanStrGrid->setItem(r, 2, cell(ToolText::money(row.principal), true));
        loanStrGrid->setItem(r, 3, cell(ToolText::money(row.interest), true));
        loanStrGrid->setItem(r, 4, cell(ToolText::money(row.remaining), true));
    }
    SumAmtEdit->setText(ToolText::money(s.totalPayment));
    SumInterestEdit->setText(ToolText::money(s.totalInterest));
}

bool TInterestFrm::eventFilter(QObject* o, QEvent* e)
{
    if (const int step = ToolWindow::arrowStep(o, e)) {
        focusNextPrevChild(step > 0);
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void TInterestFrm::done(int r)
{
    for (EditGrid* g : {RateGrid, CurGrid, TypeGrid, TermGrid})
        if (!g->savePending())
            return;
    QDialog::done(r);
}
