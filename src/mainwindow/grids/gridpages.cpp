#include "gridpages.h"

#include "fieldrules.h"
#include "ledgerrules.h"
#include "searchforms.h"
#include "services.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kFuchsia(255, 0, 255);
const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QColor kMoneyGreen(192, 220, 192);
const QColor kSkyBlue(166, 202, 240);

QColor tooltipBase() { return QApplication::palette().color(QPalette::ToolTipBase); }

QFont boldFont(bool bold)
{
    QFont f = QApplication::font();
    f.setBold(bold);
    return f;
}

Money moneyOf(const QVariant& v) { return FieldRules::toMoney(v); }

// Left/Right swallowed; Space selects the next item (wrapping) as if chosen.
class ComboKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* cb = qobject_cast<QComboBox*>(o);
        auto* k = static_cast<QKeyEvent*>(e);
        if (!cb)
            return false;
        if (k->key() == Qt::Key_Left || k->key() == Qt::Key_Right)
            return true;
        if (k->key() == Qt::Key_Space && cb->count() > 0) {
            cb->setCurrentIndex((cb->currentIndex() + 1) % cb->count());
            emit cb->activated(cb->currentIndex());
            return true;
        }
        return false;
    }
};

// Lays out the figures panel whenever it is resized.
class ResizeWatch : public QObject {
public:
    ResizeWatch(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize || e->type() == QEvent::Show)
            f_();
        return false;
    }

private:
    std::function<void()> f_;
};

QVBoxLayout* pageLayout(QWidget* page)
{
    if (auto* l = qobject_cast<QVBoxLayout*>(page->layout()))
        return l;
    if (page->layout())
        return nullptr;
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return l;
}

// Appends a column to a grid's column list; the caller sets the rest of it.
GridColumn& addColumn(QVector<GridColumn>& columns, const QString& field, const QString& title, int width)
{
    GridColumn g;
    g.field = field;
    g.title = title;
    g.width = width;
    columns.append(g);
    return columns.last();
}

void addToPage(QWidget* page, QWidget* w)
{
    if (!page)
        return;
    if (QVBoxLayout* l = pageLayout(page))
        l->addWidget(w);
    else
        page->layout()->addWidget(w);
}

} // namespace

GridPages::GridPages(TDataModule1* dm, LedgerRules* rules, IMessageBox* messages, IDesktop* desktop,
                     const GridHost& host, QObject* parent)
    : QObject(parent), filters(dm), dm_(dm), rules_(rules), messages_(messages), desktop_(desktop), host_(host)
{
    filters.today = [this] { return today(); };
    QWidget* scratch = nullptr;
    auto pageOr = [&scratch](QWidget* p) {
        if (p)
            return p;
        if (!scratch)
            scratch = new QWidget;
        return scratch;
    };
    buildLedgerPage(host_.ledgerPage);
    buildPlanPage(host_.planPage, host_.fulfilmentPage);
    buildAddressPage(host_.addressPage);
    buildMemoPage(host_.memoPage);
    Q_UNUSED(pageOr);
    connectRules();

    filters.afterLedgerQuery = [this] {
        DBGridAct->reapplySort();
        updateLedgerFooters();
        if (host_.redrawStatistics)
            host_.redrawStatistics();
        setRecordCount(dm_->ADOTable1->recordCount());
    };
    filters.afterAddressFilter = [this] {
        DBGridAddr->reapplySort();
        setRecordCount(dm_->ADOTable3->recordCount());
    };
    filters.afterMemoFilter = [this] {
        DBGridMemo->reapplySort();
        setRecordCount(dm_->ADOTable4->recordCount());
    };

    ActSearchFrm = new TActSearchFrm(dm_, messages_, this, host_.window);
    AddrSearchFrm = new TAddrSearchFrm(dm_, this, host_.window);
    MemoSearchFrm = new TMemoSearchFrm(dm_, this, host_.window);
    forms_ = {ActSearchFrm, AddrSearchFrm, MemoSearchFrm};

    for (DBGrid* g : {DBGridAct, DBGridPlan, DBGridAddr, DBGridMemo}) {
        if (host_.gridPopup) {
            g->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(g, &QWidget::customContextMenuRequested, this,
                    [this, g](const QPoint& p) { host_.gridPopup->popup(g->viewport()->mapToGlobal(p)); });
        }
    }
    if (host_.registerGrid) {
        host_.registerGrid(QStringLiteral("DBGridAct"), DBGridAct);
        host_.registerGrid(QStringLiteral("DBGridPlan"), DBGridPlan);
        host_.registerGrid(QStringLiteral("DBGridFullfill"), DBGridFullfill);
        host_.registerGrid(QStringLiteral("DBGridAddr"), DBGridAddr);
        host_.registerGrid(QStringLiteral("DBGridMemo"), DBGridMemo);
    }
}

GridPages::~GridPages()
{
    // The search windows may already have gone with their parent window.
    for (const QPointer<QDialog>& d : forms_)
        delete d.data();
}

QString GridPages::branch() const
{
    const GridNode n = node();
    return n.isValid() ? QString(n.branch()) : QString();
}

GridNode GridPages::node() const { return host_.currentNode ? host_.currentNode() : GridNode(); }

void GridPages::setRecordCount(int n)
{
    if (host_.setStatus1)
        host_.setStatus1(QStringLiteral("记录数：") + QString::number(n));
}

// --- ledger page ---------------------------------------------------------------------

void GridPages::buildLedgerPage(QWidget* page)
{
    Panel17 = new QWidget;
    Panel17->setObjectName(QStringLiteral("Panel17"));
    Panel17->setFixedHeight(22);
    auto* bar = new QHBoxLayout(Panel17);
    bar->setContentsMargins(4, 0, 5, 0);
    bar->setSpacing(0);
    auto* label = new QLabel(QStringLiteral("日期范围："));
    DateRangeStaticText = new QLabel;
    DateRangeStaticText->setObjectName(QStringLiteral("DateRangeStaticText"));
    DateRangeStaticText->setMinimumWidth(190);
    QPalette blue = DateRangeStaticText->palette();
    blue.setColor(QPalette::WindowText, kBlue);
    DateRangeStaticText->setPalette(blue);
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(RecordFilters::includedItems());
    ComboBox2 = new QComboBox;
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems(RecordFilters::rangeItems());
    auto* keys = new ComboKeys(this);
    for (QComboBox* cb : {ComboBox1, ComboBox2}) {
        QPalette p = cb->palette();
        p.setColor(QPalette::Base, tooltipBase());
        p.setColor(QPalette::Button, tooltipBase());
        cb->setPalette(p);
        cb->installEventFilter(keys);
        cb->setMinimumWidth(96);
    }
    ComboBox1->setCurrentIndex(qBound(0, dm_->readSetting(5).toInt(), 2));
    ComboBox2->setCurrentIndex(qBound(0, dm_->readSetting(6).toInt(), 6));
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this](int i) { ComboBox1Change(i); });
    connect(ComboBox2, qOverload<int>(&QComboBox::activated), this, [this](int i) { ComboBox2Change(i); });
    bar->addWidget(label);
    bar->addWidget(DateRangeStaticText);
    bar->addStretch(1);
    bar->addWidget(ComboBox1);
    bar->addSpacing(8);
    bar->addWidget(ComboBox2);

    RecordSet* rs = dm_->ADOTable1;
    DBGridAct = new DBGrid(rs, QStringLiteral("DBGridAct"));
    DBGridAct->gridModel()->messages = messages_;
    QVector<GridColumn> c;
    auto col = [&c](const QString& field, const QString& title, int width) -> GridColumn& {
        return addColumn(c, field, title, width);
    };
    GridColumn& inc = col(QStringLiteral("Included"), QStringLiteral("统计"), 35);
    inc.checkBox = true;
    inc.sortable = false;
    inc.align = Qt::AlignCenter;
    GridColumn& date = col(QStringLiteral("ActDate"), QStringLiteral("日期"), 76);
    date.date = true;
    date.inputMethod = false;
    date.footer = QStringLiteral("合计");
    date.footerAlign = Qt::AlignCenter;
    GridColumn& t2 = col(QStringLiteral("TypeID2"), QStringLiteral("收支类型"), 93);
    t2.name = QStringLiteral("TypeName2");
    t2.align = Qt::AlignCenter;
    t2.lookup = dm_->ADOQuery9;
    t2.footerAlign = Qt::AlignCenter;
    GridColumn& mark = col(QStringLiteral("Mark"), QStringLiteral("收支说明"), 210);
    mark.elide = true;
    GridColumn& in = col(QStringLiteral("InAmount"), QStringLiteral("收入金额"), 94);
    in.align = Qt::AlignRight | Qt::AlignVCenter;
    in.color = kGreen;
    in.bold = true;
    in.footerColor = kGreen;
    in.footerBold = true;
    in.dynamicReadOnly = [this] { return rules_ && rules_->inReadOnly; };
    in.inputMethod = false;
    GridColumn& out = col(QStringLiteral("OutAmount"), QStringLiteral("支出金额"), 93);
    out.align = Qt::AlignRight | Qt::AlignVCenter;
    out.color = kRed;
    out.bold = true;
    out.footerColor = kRed;
    out.footerBold = true;
    out.dynamicReadOnly = [this] { return !rules_ || rules_->outReadOnly; };
    out.inputMethod = false;
    GridColumn& acc = col(QStringLiteral("TypeID"), QStringLiteral("交易帐户"), 111);
    acc.name = QStringLiteral("TypeName");
    acc.align = Qt::AlignCenter;
    acc.color = kNavy;
    acc.lookup = dm_->ADOQuery6;
    GridColumn& bal = col(QStringLiteral("Balance"), QStringLiteral("帐户余额"), 99);
    bal.align = Qt::AlignRight | Qt::AlignVCenter;
    bal.color = kGreen;
    bal.bold = true;
    bal.readOnly = true;
    GridColumn& rel = col(QStringLiteral("RelateTypeID"), QStringLiteral("对应帐户"), 111);
    rel.name = QStringLiteral("RelateTypeName");
    rel.align = Qt::AlignCenter;
    rel.color = kNavy;
    rel.lookup = dm_->ADOQuery6;
    rel.sortable = false;
    rel.dynamicReadOnly = [this] { return !rules_ || rules_->relateReadOnly; };
    DBGridAct->setColumns(c);
    DBGridAct->setFooterVisible(true);
    DBGridAct->setMarker(1, DBGrid::Ascending);
    DBGridAct->sortOrder = [this](const QString& column, const QString& dir) { return ledgerSortOrder(column, dir); };

    // Cell colours and fonts.
    DBGridAct->gridModel()->roleProvider = [this, rs](int row, int column, int role) -> QVariant {
        const QString name = DBGridAct->gridModel()->columns().at(column).columnName();
        if (role == Qt::BackgroundRole) {
            const QString t2 = rs->value(row, QStringLiteral("TypeID2")).toString();
            if (t2.startsWith(QLatin1Char('2')))
                return tooltipBase();
            if (t2.startsWith(QLatin1Char('3')))
                return kMoneyGreen;
            return QApplication::palette().color(QPalette::Base);
        }
        if (role == Qt::ForegroundRole) {
            if (name == QLatin1String("Balance"))
                return moneyOf(rs->value(row, QStringLiteral("Balance"))) < Money() ? kRed : kGreen;
            if (name == QLatin1String("TypeName") || name == QLatin1String("RelateTypeName")) {
                const QString code = rs->value(row, name == QLatin1String("TypeName") ? QStringLiteral("TypeID")
                                                                                   : QStringLiteral("RelateTypeID"))
                                         .toString();
                RecordSet* accounts = dm_->ADOQuery6;
                for (int r = 0; r < accounts->recordCount() && !code.isEmpty(); ++r)
                    if (accounts->value(r, QStringLiteral("TypeID")).toString() == code)
                        return accounts->value(r, QStringLiteral("FundFlag")).toBool() ? kFuchsia : kNavy;
            }
        }
        return QVariant();
    };
    DBGridAct->onColumnExit = [this](int column) { return ledgerColumnExit(column); };
    DBGridAct->onEditRequest = [this] {
        if (branch() >= QLatin1String("1") && branch() <= QLatin1String("3"))
            ActEditExecute();
    };
    connect(DBGridAct, &DBGrid::footersNeeded, this, [this] { updateLedgerFooters(); });
    connect(DBGridAct->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] { dm_->clickSound(); });

    addToPage(page, Panel17);
    addToPage(page, DBGridAct);
}

QString GridPages::ledgerSortOrder(const QString& column, const QString& d) const
{
    if (column == QLatin1String("ActDate"))
        return QStringLiteral("ActDate") + d + QStringLiteral(", ActID") + d + QStringLiteral(", TypeID2") + d;
    if (column == QLatin1String("TypeName2"))
        return QStringLiteral("TypeID2") + d + QStringLiteral(", ActDate ASC, ActID ASC");
    if (column == QLatin1String("TypeName")) {
        if (node().typeId < QLatin1String("4"))
            return QStringLiteral("TypeID") + d + QStringLiteral(", ActDate ASC, ActID ASC");
        return QStringLiteral("TypeID") + d + QStringLiteral(", Name ASC");
    }
    return column + d;
}

QString GridPages::sideSortOrder(const QString& column, const QString& d)
{
    if (column == QLatin1String("TypeName"))
        return QStringLiteral("TypeID") + d + QStringLiteral(", Name ASC");
    return column + d;
}

bool GridPages::ledgerColumnExit(int column)
{
    RecordSet* rs = dm_->ADOTable1;
    if (!rs->isEditing())
        return true;
    const QString name = DBGridAct->gridModel()->columns().at(column).columnName();
    if (name == QLatin1String("TypeName2")) {
        const QString t2 = rs->text(QStringLiteral("TypeID2"));
        if (t2.isEmpty()) {
            messages_->show(QStringLiteral("提示"), QStringLiteral("收支类型不能为空！"), MsgIcon::Information);
            return false;
        }
        if (t2 == QLatin1String("299")) {
            messages_->show(QStringLiteral("提示"), QStringLiteral("不是有效的收支类型，请重新输入！"),
                            MsgIcon::Information);
            return false;
        }
    }
    // The balance column previews the running balance of the row.
    if (rules_) {
        const Money amount = rs->money(QStringLiteral("InAmount")) - rs->money(QStringLiteral("OutAmount"));
        const QDate date = rs->date(QStringLiteral("ActDate"));
        const QString account = rs->text(QStringLiteral("TypeID"));
        if (date.isValid() && !account.isEmpty()) {
            const Money b = rules_->entryBalance(account, date, amount, rs->integer(QStringLiteral("ActID")));
            if (b != rs->money(QStringLiteral("Balance")))
                rs->setValue(QStringLiteral("Balance"), QVariant::fromValue(b));
        }
    }
    return true;
}

void GridPages::updateLedgerFooters()
{
    const LedgerFooters f = filters.ledgerFooters();
    DBGridAct->setFooter(QStringLiteral("TypeName2"), f.computed ? QString::number(f.count) : QString(), QColor(),
                         false, Qt::AlignCenter);
    DBGridAct->setFooter(QStringLiteral("InAmount"), f.inAmount.isNull() ? QString() : moneyOf(f.inAmount).display(),
                         kGreen, true);
    DBGridAct->setFooter(QStringLiteral("OutAmount"),
                         f.outAmount.isNull() ? QString() : moneyOf(f.outAmount).display(), kRed, true);
}

// --- plan page -------------------------------------------------------------------------

void GridPages::buildPlanPage(QWidget* page, QWidget* fulfil)
{
    RecordSet* rs = dm_->ADOTable2;
    auto* group = new QGroupBox(QStringLiteral("理财计划表"));
    GroupBox1 = group;
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* gl = new QVBoxLayout(group);
    gl->setContentsMargins(2, 2, 2, 2);
    gl->setSpacing(2);
    DBGridPlan = new DBGrid(rs, QStringLiteral("DBGridPlan"));
    DBGridPlan->gridModel()->messages = messages_;
    DBGridPlan->sortEnabled = false;
    QVector<GridColumn> c;
    auto col = [&c](const QString& field, const QString& title, int width) -> GridColumn& {
        GridColumn& g = addColumn(c, field, title, width);
        g.sortable = false;
        return g;
    };
    GridColumn& type = col(QStringLiteral("Type"), QStringLiteral("类别"), 82);
    type.align = Qt::AlignCenter;
    type.pickList = QStringList{QStringLiteral("固定收入"), QStringLiteral("固定支出"), QStringLiteral("单项收入"),
                                QStringLiteral("单项支出")};
    type.dynamicReadOnly = [this] { return rules_ && rules_->planTypeReadOnly; };
    col(QStringLiteral("Description"), QStringLiteral("说明"), 251);
    GridColumn& amount = col(QStringLiteral("Amount"), QStringLiteral("每月金额"), 93);
    amount.bold = true;
    amount.align = Qt::AlignRight | Qt::AlignVCenter;
    GridColumn& start = col(QStringLiteral("StartDate"), QStringLiteral("起始日期"), 76);
    start.align = Qt::AlignCenter;
    start.date = true;
    start.dynamicReadOnly = [this] { return !rules_ || rules_->planStartReadOnly; };
    GridColumn& months = col(QStringLiteral("Months"), QStringLiteral("月数"), 35);
    months.bold = true;
    months.align = Qt::AlignCenter;
    months.dynamicReadOnly = [this] { return !rules_ || rules_->planMonthsReadOnly; };
    GridColumn& total = col(QStringLiteral("Total"), QStringLiteral("小计"), 99);
    total.align = Qt::AlignRight | Qt::AlignVCenter;
    total.dynamicReadOnly = [this] { return !rules_ || rules_->planTotalReadOnly; };
    DBGridPlan->setColumns(c);
    DBGridPlan->gridModel()->roleProvider = [this, rs](int row, int column, int role) -> QVariant {
        const QString name = DBGridPlan->gridModel()->columns().at(column).columnName();
        const qint64 id = rs->value(row, QStringLiteral("ID")).toLongLong();
        const bool income = rs->value(row, QStringLiteral("Type")).toString().endsWith(QStringLiteral("收入"));
        if (role == Qt::BackgroundRole) {
            if (id == 1 || id == 2)
                return kSkyBlue;
            return income ? kMoneyGreen : tooltipBase();
        }
        const bool money = name == QLatin1String("Amount") || name == QLatin1String("Total");
        if (role == Qt::ForegroundRole && money && id > 2)
            return income ? kGreen : kRed;
        if (role == Qt::FontRole && id == 1 && money)
            return boldFont(name == QLatin1String("Total"));
        return QVariant();
    };
    DBGridPlan->gridModel()->beforeSetText = [this](int column, QString* text) {
        if (DBGridPlan->gridModel()->columns().at(column).field != QLatin1String("StartDate"))
            return true;
        QString fixed;
        if (!correctStartDate(*text, today(), &fixed)) {
            messages_->show(QStringLiteral("程序错误"),
                            QStringLiteral("日期{") + *text + QStringLiteral("}输入错误，请与")
                                + TDataModule1::supportAddress() + QStringLiteral("联系"),
                            MsgIcon::Critical);
            return false;
        }
        *text = fixed;
        return true;
    };
    DBGridPlan->onColumnExit = [this](int column) { return planColumnExit(column); };
    DBGridPlan->onEditRequest = [this] {
        if (branch() == QLatin1String("4"))
            ActEditExecute();
    };
    connect(DBGridPlan->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex& cur) {
                if (rules_ && cur.isValid())
                    rules_->planFocusedColumn = DBGridPlan->gridModel()->columns().at(cur.column()).title;
            });

    Panel7 = new QWidget;
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFixedHeight(56);
    auto figure = [this](const QString& objectName, const QColor& color) {
        auto* l = new QLabel(QStringLiteral("0.00"), Panel7);
        l->setObjectName(objectName);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFixedSize(110, 20);
        if (color.isValid()) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, color);
            l->setPalette(p);
            l->setFont(boldFont(true));
        }
        return l;
    };
    IncomeStaticText = figure(QStringLiteral("IncomeStaticText"), QColor());
    ExpenseStaticText = figure(QStringLiteral("ExpenseStaticText"), QColor());
    SurplusStaticText = figure(QStringLiteral("SurplusStaticText"), QColor());
    DepositStaticText = figure(QStringLiteral("DepositStaticText"), kGreen);
    ConsumeStaticText = figure(QStringLiteral("ConsumeStaticText"), kRed);
    TotalSaveStaticText = figure(QStringLiteral("TotalSaveStaticText"), kPurple);
    const QStringList captions{QStringLiteral("预计收入："),   QStringLiteral("预计支出："),
                               QStringLiteral("预计结余："),   QStringLiteral("每月应存入："),
                               QStringLiteral("每月可用开支："), QStringLiteral("应该完成存款：")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* l = new QLabel(captions[i], Panel7);
        l->setObjectName(QStringLiteral("PlanLabel%1").arg(i + 1));
        l->adjustSize();
    }
    Panel7->installEventFilter(new ResizeWatch(this, [this] { layoutPlanFigures(); }));
    gl->addWidget(DBGridPlan, 1);
    gl->addWidget(Panel7);
    addToPage(page, group);

    // Fulfilment.
    auto* group2 = new QGroupBox(QStringLiteral("理财计划完成情况"));
    GroupBox2 = group2;
    auto* fl = new QVBoxLayout(group2);
    fl->setContentsMargins(2, 2, 2, 2);
    RecordSet* full = dm_->ADOQuery8;
    DBGridFullfill = new DBGrid(full, QStringLiteral("DBGridFullfill"));
    DBGridFullfill->sortEnabled = false;
    DBGridFullfill->verticalHeader()->hide();
    QVector<GridColumn> fc;
    GridColumn m;
    m.field = QStringLiteral("MonthNo");
    m.title = QStringLiteral("月份");
    m.width = 61;
    m.align = Qt::AlignCenter;
    m.sortable = false;
    m.footer = QStringLiteral("合计");
    m.footerAlign = Qt::AlignCenter;
    fc << m;
    GridColumn s;
    s.field = QStringLiteral("SaveAmount");
    s.title = QStringLiteral("该月实际存款");
    s.width = 105;
    s.bold = true;
    s.color = kGreen;
    s.align = Qt::AlignRight | Qt::AlignVCenter;
    s.sortable = false;
    fc << s;
    GridColumn f = s;
    f.field = QStringLiteral("Fullfill");
    f.title = QStringLiteral("完成情况");
    f.width = 70;
    fc << f;
    DBGridFullfill->setColumns(fc);
    DBGridFullfill->setFooterVisible(true);
    DBGridFullfill->gridModel()->oddColor = QColor(255, 245, 232);
    DBGridFullfill->gridModel()->evenColor = QColor(238, 254, 218);
    DBGridFullfill->gridModel()->roleProvider = [full](int row, int column, int role) -> QVariant {
        if (role != Qt::ForegroundRole || column == 0)
            return QVariant();
        const QVariant v = full->value(row, column == 1 ? QStringLiteral("SaveAmount") : QStringLiteral("Fullfill"));
        const bool negative = column == 1 ? moneyOf(v) < Money() : v.toDouble() < 0;
        return negative ? kRed : kGreen;
    };
    connect(DBGridFullfill, &DBGrid::footersNeeded, this, [this] { updateFulfilmentFooters(); });
    fl->addWidget(DBGridFullfill);
    addToPage(fulfil, group2);
    if (rules_)
        connect(rules_, &LedgerRules::planFiguresChanged, this, [this] {
            showPlanFigures();
            updateFulfilmentFooters();
        });
}

void GridPages::layoutPlanFigures()
{
    QList<QLabel*> values{IncomeStaticText, ExpenseStaticText, SurplusStaticText,
                          DepositStaticText, ConsumeStaticText, TotalSaveStaticText};
    QList<QLabel*> labels;
    for (int i = 1; i <= 6; ++i)
        labels << Panel7->findChild<QLabel*>(QStringLiteral("PlanLabel%1").arg(i));
    int used = 24;
    for (int i = 3; i < 6; ++i)
        used += labels[i]->width() + values[i]->width();
    const int gap = std::max(0, (Panel7->width() - used) / 2);
    const int upperY = 4, lowerY = 30;
    int x = 10;
    for (int i = 3; i < 6; ++i) {
        labels[i]->move(x, lowerY + (20 - labels[i]->height()) / 2);
        x += labels[i]->width();
        values[i]->move(x, lowerY);
        // the upper value box exactly above, its label just to its left
        values[i - 3]->move(x, upperY);
        labels[i - 3]->move(x - labels[i - 3]->width(), upperY + (20 - labels[i - 3]->height()) / 2);
        x += values[i]->width() + gap;
    }
}

void GridPages::showPlanFigures()
{
    if (!rules_)
        return;
    const PlanFigures& f = rules_->planFigures();
    IncomeStaticText->setText(f.incomeText());
    ExpenseStaticText->setText(f.expenseText());
    SurplusStaticText->setText(f.surplusText());
    DepositStaticText->setText(f.perMonthText());
    ConsumeStaticText->setText(f.spendPerMonthText());
    TotalSaveStaticText->setText(f.toAchieveText());
}

void GridPages::updateFulfilmentFooters()
{
    if (!rules_)
        return;
    const FulfilmentFooter f = rules_->fulfilmentFooter();
    DBGridFullfill->setFooter(QStringLiteral("SaveAmount"), f.savingText(), f.saving < Money() ? kRed : kGreen, true);
    DBGridFullfill->setFooter(QStringLiteral("Fullfill"), f.overallText(), f.overall < 0 ? kRed : kGreen, true);
}

int GridPages::planRow1Months()
{
    if (dm_->query(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = ? AND ID = 1"), {dm_->currentUserId()})
        && !dm_->ADOQuery1().isEmpty())
        return int(dm_->ADOQuery1().integer(0, QStringLiteral("Months")));
    return 1;
}

bool GridPages::planColumnExit(int column)
{
    RecordSet* rs = dm_->ADOTable2;
    if (!rs->isEditing())
        return true;
    const QString field = DBGridPlan->gridModel()->columns().at(column).field;
    const qint64 id = rs->integer(QStringLiteral("ID"));
    auto refuse = [this](const QString& text) {
        messages_->show(QStringLiteral("提示"), text, MsgIcon::Information);
        return false;
    };
    if (id == 1 && field == QLatin1String("Months")) {
        if (rs->integer(QStringLiteral("Months")) < 1)
            return refuse(QStringLiteral("月数不能小于1！"));
    } else if (id != 1 && field == QLatin1String("Type")) {
        const QString type = rs->text(QStringLiteral("Type"));
        if (type.isEmpty())
            return refuse(QStringLiteral("类别不能为空！"));
        if (type == QStringLiteral("固定收入") || type == QStringLiteral("固定支出")) {
            const int m = planRow1Months();
            if (rs->integer(QStringLiteral("Months")) != m)
                rs->setValue(QStringLiteral("Months"), m);
        } else if (type == QStringLiteral("单项收入") || type == QStringLiteral("单项支出") || id == 2) {
            if (rs->integer(QStringLiteral("Months")) != 1)
                rs->setValue(QStringLiteral("Months"), 1);
        } else {
            return refuse(QStringLiteral("类别不在指定范围内，请重新输入！"));
        }
    }
    const Money amount = rs->money(QStringLiteral("Amount"));
    const Money total = Money::fromRaw(amount.raw() * rs->integer(QStringLiteral("Months")));
    if (total != rs->money(QStringLiteral("Total")))
        rs->setValue(QStringLiteral("Total"), QVariant::fromValue(total));
    return true;
}

bool GridPages::correctStartDate(const QString& text, const QDate& today, QString* out)
{
    const QString s = QStringLiteral("-");
    const int a = text.indexOf(s);
    const QString yearPart = (a < 0 ? text : text.left(a)).trimmed();
    const QString rest = a < 0 ? QString() : text.mid(a + 1);
    const int b = rest.indexOf(s);
    const QString monthPart = (b < 0 ? rest : rest.left(b)).trimmed();
    const QString dayPart = (b < 0 ? QString() : rest.mid(b + 1)).trimmed();
    bool ok = true;
    auto number = [&ok](const QString& part, int fallback) {
        if (part.isEmpty())
            return fallback;
        bool good = false;
        const int v = part.toInt(&good);
        if (!good)
            ok = false;
        return v;
    };
    const int year = number(yearPart, today.year());
    int month = number(monthPart, today.month());
    int day = number(dayPart, today.day());
    if (!ok)
        return false;
    month = qBound(1, month, 12);
    if (day < 1)
        day = 1;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int last = lengths[month - 1];
    if (month == 2 && QDate::isLeapYear(year))
        last = 29;
    if (day > last)
        day = last;
    *out = QString::number(year) + s + QString::number(month) + s + QString::number(day);
    return true;
}

// --- address book and favourites -------------------------------------------------------

void GridPages::buildAddressPage(QWidget* page)
{
    RecordSet* rs = dm_->ADOTable3;
    DBGridAddr = new DBGrid(rs, QStringLiteral("DBGridAddr"));
    DBGridAddr->gridModel()->messages = messages_;
    QVector<GridColumn> c;
    auto col = [&c](const QString& field, const QString& title, int width) -> GridColumn& {
        return addColumn(c, field, title, width);
    };
    GridColumn& name = col(QStringLiteral("Name"), QStringLiteral("姓名"), 82);
    name.color = kNavy;
    name.align = Qt::AlignCenter;
    GridColumn& type = col(QStringLiteral("TypeID"), QStringLiteral("类别"), 93);
    type.name = QStringLiteral("TypeName");
    type.lookup = dm_->ADOQuery7;
    col(QStringLiteral("Phone"), QStringLiteral("电话"), 105);
    col(QStringLiteral("QQ"), QStringLiteral("QQ"), 93).hint = QStringLiteral("QQ/MSN/ICQ/Yahoo!/网易泡泡");
    GridColumn& mail = col(QStringLiteral("Email"), QStringLiteral("Email"), 140);
    mail.color = kBlue;
    mail.hint = QStringLiteral("点击链接可以撰写Email");
    GridColumn& home = col(QStringLiteral("Homepage"), QStringLiteral("主页"), 105);
    home.color = kBlue;
    home.hint = QStringLiteral("点击链接可以打开主页");
    col(QStringLiteral("Birthday"), QStringLiteral("生日"), 82);
    col(QStringLiteral("Address"), QStringLiteral("通信地址"), 175);
    col(QStringLiteral("Company"), QStringLiteral("公司名称"), 105);
    col(QStringLiteral("Title"), QStringLiteral("职位"), 70);
    col(QStringLiteral("Misc"), QStringLiteral("备注"), 350);
    finishSidePage(page, DBGridAddr, c, QColor(254, 216, 238), tooltipBase(), QStringLiteral("5"));
}

void GridPages::buildMemoPage(QWidget* page)
{
    RecordSet* rs = dm_->ADOTable4;
    DBGridMemo = new DBGrid(rs, QStringLiteral("DBGridMemo"));
    DBGridMemo->gridModel()->messages = messages_;
    QVector<GridColumn> c;
    auto col = [&c](const QString& field, const QString& title, int width) -> GridColumn& {
        return addColumn(c, field, title, width);
    };
    col(QStringLiteral("Name"), QStringLiteral("名称"), 140);
    GridColumn& type = col(QStringLiteral("TypeID"), QStringLiteral("类别"), 93);
    type.name = QStringLiteral("TypeName");
    type.align = Qt::AlignCenter;
    type.lookup = dm_->ADOQuery10;
    GridColumn& url = col(QStringLiteral("URL"), QStringLiteral("网址"), 292);
    url.color = kBlue;
    url.hint = QStringLiteral("点击链接可以打开网页");
    col(QStringLiteral("Description"), QStringLiteral("说明"), 408).hint =
        QStringLiteral("请不要在软件中保存银行卡/帐户密码、信用卡号和其它重要密码！");
    finishSidePage(page, DBGridMemo, c, QColor(228, 255, 225), QColor(255, 245, 232), QStringLiteral("6"));
}

// The rest of the address book or favourites grid: sorted by its first
// column, which stays in place; links open on a click; Enter edits the row
// while the tree is on the page's own branch.
void GridPages::finishSidePage(QWidget* page, DBGrid* g, const QVector<GridColumn>& columns, const QColor& odd,
                               const QColor& even, const QString& ownBranch)
{
    g->setColumns(columns);
    g->setMarker(0, DBGrid::Ascending);
    g->setFrozenFirstColumn(true);
    g->sortOrder = [](const QString& column, const QString& d) { return sideSortOrder(column, d); };
    g->gridModel()->oddColor = odd;
    g->gridModel()->evenColor = even;
    g->onCellClick = [this, g](int row, int column) { linkClick(g, row, column); };
    g->onEditRequest = [this, ownBranch] {
        if (branch() == ownBranch)
            ActEditExecute();
    };
    connect(g->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] { dm_->clickSound(); });
    addToPage(page, g);
}

void GridPages::linkClick(DBGrid* g, int row, int column)
{
    if (!desktop_ || g->recordSet()->isEditing() || g->isEditingMode())
        return;
    const QString field = g->gridModel()->columns().at(column).field;
    const QString text = g->recordSet()->value(row, field).toString().trimmed();
    if (text.isEmpty())
        return;
    if (field == QLatin1String("Homepage") || field == QLatin1String("URL")) {
        // Web addresses only: a local path or file: link (which may come from an
        // imported file) would start whatever program handles it.
        const QString scheme = QUrl::fromUserInput(text).scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
            desktop_->openUrl(text);
    }
    else if (field == QLatin1String("Email"))
        desktop_->openUrl(QStringLiteral("Mailto:") + text);
}

// --- rules' states -----------------------------------------------------------------------

void GridPages::connectRules()
{
    if (!rules_)
        return;
    // Ticking "统计" posts at once only in row selection: the rules follow the
    // ledger grid's mode however it changes (edit command, re-query, undo).
    rules_->ledgerCellEditing = DBGridAct->isEditingMode();
    connect(DBGridAct, &DBGrid::editingModeChanged, this, [this](bool on) {
        if (rules_)
            rules_->ledgerCellEditing = on;
    });
    connect(rules_, &LedgerRules::gridEditing, this, [this](RecordSet* rs, bool on) {
        for (DBGrid* g : {DBGridAct, DBGridPlan, DBGridAddr, DBGridMemo})
            if (g->recordSet() == rs)
                g->setEditingMode(on);
    });
    connect(rules_, &LedgerRules::focusColumn, this, [this](RecordSet* rs, const QString& field) {
        for (DBGrid* g : {DBGridAct, DBGridPlan, DBGridAddr, DBGridMemo})
            if (g->recordSet() == rs)
                g->focusColumn(field == QLatin1String("TypeID2") ? QStringLiteral("TypeName2") : field);
    });
    connect(rules_, &LedgerRules::columnStatesChanged, this, [this] {
        for (DBGrid* g : {DBGridAct, DBGridPlan})
            g->viewport()->update();
    });
}

// --- record actions --------------------------------------------------------------------------

DBGrid* GridPages::gridOf(const QString& b) const
{
    if (b == QLatin1String("4"))
        return DBGridPlan;
    if (b == QLatin1String("5"))
        return DBGridAddr;
    if (b == QLatin1String("6"))
        return DBGridMemo;
    if (b == QLatin1String("1") || b == QLatin1String("2") || b == QLatin1String("3"))
        return DBGridAct;
    return nullptr;
}

RecordSet* GridPages::datasetOf(const QString& b) const
{
    DBGrid* g = gridOf(b);
    return g ? g->recordSet() : nullptr;
}

bool GridPages::gridHasFocus(DBGrid* g) const
{
    QWidget* f = QApplication::focusWidget();
    return g && f && (f == g || g->isAncestorOf(f));
}

void GridPages::postPending(const QString& b)
{
    if (DBGrid* g = gridOf(b))
        g->pendingPost();
}

void GridPages::insertSideRow(RecordSet* rs, DBGrid* g)
{
    const GridNode n = node();
    // The selected group becomes the remembered group, which this row and the
    // following new rows start with.
    if (n.isValid() && !n.isRoot() && rules_)
        rules_->setRememberedGroup(rs, n.typeId);
    g->anyDescending() ? rs->insert() : rs->append();
}

void GridPages::ActInsertExecute()
{
    const QString b = branch();
    DBGrid* g = gridOf(b);
    if (!g)
        return;
    dm_->clickSound();
    RecordSet* rs = g->recordSet();
    if (!rs->isOpen())
        return;
    g->setFocus();
    if (g == DBGridAct) {
        const GridNode n = node();
        if (rules_ && n.typeFlag == QLatin1String("1"))
            rules_->setDefaultAccount(n.typeId);
        else if (rules_ && (n.typeFlag == QLatin1String("2") || n.typeFlag == QLatin1String("3")))
            rules_->setDefaultCategory(n.typeId);
        g->anyDescending() ? rs->insert() : rs->append();
    } else if (g == DBGridPlan) {
        rs->append();
    } else {
        insertSideRow(rs, g);
    }
    if (host_.updateUndoState)
        host_.updateUndoState();
}

void GridPages::ActEditExecute()
{
    DBGrid* g = gridOf(branch());
    if (!g)
        return;
    dm_->clickSound();
    RecordSet* rs = g->recordSet();
    if (!rs->isOpen() || rs->recordCount() == 0)
        return;
    g->setEditingMode(true);
    g->setFocus();
    rs->edit();
    if (host_.updateUndoState)
        host_.updateUndoState();
}

void GridPages::ActUndoExecute()
{
    DBGrid* g = gridOf(branch());
    if (!g)
        return;
    dm_->clickSound();
    RecordSet* rs = g->recordSet();
    g->discardEditor();
    rs->cancel();
    if (rules_)
        rules_->ADOTableBeforeScroll(*rs);
    g->setEditingMode(false);
    if (host_.updateUndoState)
        host_.updateUndoState();
}

void GridPages::ActDelExecute()
{
    const QString b = branch();
    dm_->clickSound();
    if (!messages_->confirm(QStringLiteral("提示"), QStringLiteral("确实要删除这条记录吗？"), MsgIcon::Question))
        return;
    DBGrid* g = gridOf(b);
    if (!g)
        return;
    RecordSet* rs = g->recordSet();
    g->discardEditor();
    // A row being entered is only dropped; an edited row loses its changes and goes.
    const bool newRow = rs->state() == RecordSet::Insert;
    if (rs->isEditing())
        rs->cancel();
    g->setEditingMode(false);
    if (host_.updateUndoState)
        host_.updateUndoState();
    if (newRow || !rs->isOpen() || rs->recordCount() == 0)
        return;
    if (g == DBGridPlan && rs->integer(QStringLiteral("ID")) < 3) {
        messages_->show(QStringLiteral("提示"), QStringLiteral("系统记录不允许删除！"), MsgIcon::Information);
        return;
    }
    rs->remove();
    if (g == DBGridAct)
        updateLedgerFooters();
    if (host_.updateUndoState)
        host_.updateUndoState();
}

void GridPages::ActCopyExecute()
{
    DBGrid* g = gridOf(branch());
    if (!g || !gridHasFocus(g))
        return;
    RecordSet* rs = g->recordSet();
    if (!rs->isOpen() || rs->recordCount() == 0)
        return;
    QVariantMap m;
    auto keep = [&m, rs](std::initializer_list<const char*> fields) {
        for (const char* f : fields)
            m.insert(QString::fromLatin1(f), rs->value(QString::fromLatin1(f)));
    };
    if (g == DBGridAct) {
        keep({"ActDate", "InAmount", "OutAmount", "TypeID", "TypeID2", "Mark", "RelateTypeID", "Included"});
        slots_.ledger = m;
    } else if (g == DBGridPlan) {
        if (rs->integer(QStringLiteral("ID")) <= 2)
            return;
        keep({"Type", "Description", "Amount", "StartDate", "Months", "Total"});
        slots_.plan = m;
    } else if (g == DBGridAddr) {
        keep({"Name", "TypeID", "Phone", "QQ", "Email", "Homepage", "Birthday", "Address", "Company", "Title", "Misc"});
        slots_.address = m;
    } else {
        keep({"Name", "TypeID", "URL", "Description"});
        slots_.memo = m;
    }
}

void GridPages::ActPasteExecute()
{
    DBGrid* g = gridOf(branch());
    if (!g || !gridHasFocus(g))
        return;
    const QVariantMap& m = g == DBGridAct    ? slots_.ledger
                           : g == DBGridPlan ? slots_.plan
                           : g == DBGridAddr ? slots_.address
                                             : slots_.memo;
    ActInsertExecute();
    RecordSet* rs = g->recordSet();
    if (rs->state() != RecordSet::Insert || m.isEmpty())
        return; // an empty slot leaves the new row with its defaults
    auto put = [rs, &m](std::initializer_list<const char*> fields) {
        for (const char* f : fields)
            rs->setValue(QString::fromLatin1(f), m.value(QString::fromLatin1(f)));
    };
    if (g == DBGridAct) {
        put({"ActDate", "InAmount", "OutAmount", "TypeID", "TypeID2", "Mark"});
        if (rules_) {
            const Money amount = moneyOf(m.value(QStringLiteral("InAmount"))) - moneyOf(m.value(QStringLiteral("OutAmount")));
            const QDate date = m.value(QStringLiteral("ActDate")).toDate();
            rs->setValue(QStringLiteral("Balance"),
                         QVariant::fromValue(rules_->entryBalance(m.value(QStringLiteral("TypeID")).toString(), date,
                                                                  amount, rs->integer(QStringLiteral("ActID")))));
        }
        put({"RelateTypeID", "Included"});
    } else if (g == DBGridPlan) {
        put({"Type", "Description", "Amount", "StartDate", "Months", "Total"});
    } else if (g == DBGridAddr) {
        put({"Name", "TypeID", "Phone", "QQ", "Email", "Homepage", "Birthday", "Address", "Company", "Title", "Misc"});
    } else {
        put({"Name", "TypeID", "URL", "Description"});
    }
}

void GridPages::ActSelectAllExecute()
{
    dm_->clickSound();
    if (dm_->ADOTable1->isEditing())
        return; // re-reading the ledger would drop the row still being typed
    dm_->exec(QStringLiteral("UPDATE AC_List SET Included = 1 WHERE UserID = ?"), {dm_->currentUserId()});
    dm_->writeSetting(2, QStringLiteral("1"));
    if (host_.setTicked && host_.actTransferVisible)
        host_.setTicked(host_.actTransferVisible, true);
    if (dm_->ADOTable1->isOpen())
        dm_->refresh(dm_->ADOTable1);
    updateLedgerFooters();
}

void GridPages::ActTransferVisibleExecute()
{
    dm_->clickSound();
    if (dm_->ADOTable1->isEditing()) {
        if (host_.setTicked && host_.actTransferVisible) // the tick stays as it was
            host_.setTicked(host_.actTransferVisible, dm_->readSetting(2) == QLatin1String("1"));
        return; // as above
    }
    const bool on = dm_->readSetting(2) != QLatin1String("1");
    dm_->writeSetting(2, on ? QStringLiteral("1") : QStringLiteral("0"));
    if (host_.setTicked && host_.actTransferVisible)
        host_.setTicked(host_.actTransferVisible, on);
    dm_->exec(QStringLiteral("UPDATE AC_List SET Included = ? WHERE UserID = ? AND TypeID2 in ('200', '300')"),
              {on ? 1 : 0, dm_->currentUserId()});
    if (dm_->ADOTable1->isOpen())
        dm_->refresh(dm_->ADOTable1);
    updateLedgerFooters();
}

void GridPages::DirSearchExecute()
{
    const QString b = branch();
    if (b == QLatin1String("1") || b == QLatin1String("2") || b == QLatin1String("3")) {
        dm_->clickSound();
        if (dm_->ADOTable1->isEditing())
            return; // a refused row is still being typed (see keepChoiceWhileEditing)
        ActSearchFrm->exec();
    } else if (b == QLatin1String("5")) {
        dm_->clickSound();
        AddrSearchFrm->exec();
    } else if (b == QLatin1String("6")) {
        dm_->clickSound();
        MemoSearchFrm->exec();
    }
}

// --- list refresh and filters ----------------------------------------------------------------

void GridPages::listRefresh(const QString& b)
{
    const GridNode n = node();
    if (b == QLatin1String("1") || b == QLatin1String("2") || b == QLatin1String("3")) {
        if (dm_->ADOTable1->isEditing())
            return;
        filters.computeDateRange(ComboBox2->currentIndex(), n);
        DateRangeStaticText->setText(filters.rangeCaption());
        filters.runLedgerQuery(RecordFilters::queryForNode(n, dm_->viewStart, dm_->viewEnd));
    } else if (b == QLatin1String("4")) {
        if (host_.setStatus1)
            host_.setStatus1(QString());
        if (rules_)
            rules_->planRecalc();
        showPlanFigures();
        updateFulfilmentFooters();
    } else if (b == QLatin1String("5")) {
        if (dm_->ADOTable3->isEditing())
            return;
        RecordFilters::AddressQuery q;
        if (n.isValid() && !n.isRoot())
            q.typeId = n.typeId;
        filters.filterAddress(q);
    } else if (b == QLatin1String("6")) {
        if (dm_->ADOTable4->isEditing())
            return;
        RecordFilters::MemoQuery q;
        if (n.isValid() && !n.isRoot())
            q.typeId = n.typeId;
        filters.filterMemo(q);
    }
}

// While a ledger row the rules refused is still being typed the list cannot
// be re-read; the choice goes back to the one in force.
static bool keepChoiceWhileEditing(TDataModule1* dm, QComboBox* cb, int setting)
{
    if (!dm->ADOTable1->isEditing())
        return false;
    const QSignalBlocker block(cb);
    cb->setCurrentIndex(qBound(0, dm->readSetting(setting).toInt(), cb->count() - 1));
    return true;
}

void GridPages::ComboBox1Change(int index)
{
    dm_->clickSound();
    if (keepChoiceWhileEditing(dm_, ComboBox1, 5))
        return;
    filters.changeIncluded(index);
}

void GridPages::ComboBox2Change(int index)
{
    dm_->clickSound();
    if (keepChoiceWhileEditing(dm_, ComboBox2, 6))
        return;
    dm_->writeSetting(6, QString::number(index));
    listRefresh(branch());
}
