#include "statisticstabs.h"

#include "chartview.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace {

const QColor kMoneyGreen(192, 220, 192);
const QColor kBalanceTop(223, 195, 255);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kFuchsia(255, 0, 255);
const char* kLabelsProperty = "zelkoAxisLabels";

const QString kBarHint = QStringLiteral("单击鼠标左键可以放大显示；单击鼠标右键恢复原样；按住鼠标右键并拖动可以移动柱状图");
const QString kCurveHint = QStringLiteral("单击鼠标左键可以放大显示；单击鼠标右键恢复原样；按住鼠标右键并拖动可以移动曲线图");

// Bottom axis of a time chart: one label per period where there is room,
// so that a long span stays readable.
void setBottomLabels(ChartView* v)
{
    QChart* c = v->chart();
    const QStringList labels = v->property(kLabelsProperty).toStringList();
    QCategoryAxis* axis = nullptr;
    for (QAbstractAxis* a : c->axes(Qt::Horizontal))
        if ((axis = qobject_cast<QCategoryAxis*>(a)))
            break;
    if (!axis)
        return;
    for (const QString& l : axis->categoriesLabels())
        axis->remove(l);
    const int n = labels.size();
    axis->setStartValue(-0.5);
    axis->setRange(-0.5, std::max(n, 1) - 0.5);
    if (n == 0)
        return;
    const QFontMetrics fm(axis->labelsFont());
    int widest = 0;
    for (const QString& l : labels)
        widest = std::max(widest, fm.horizontalAdvance(l));
    const double plotWidth = std::max(80.0, c->plotArea().width() > 10 ? c->plotArea().width() : v->width() - 100.0);
    const int room = std::max(1, int(plotWidth / (widest + 16)));
    const int step = std::max(1, int(std::ceil(double(n) / room)));
    for (int i = 0; i < n; i += step)
        axis->append(labels[i], i);
}

QValueAxis* moneyAxis()
{
    auto* a = new QValueAxis;
    a->setLabelFormat(QStringLiteral("%.2f"));
    return a;
}

// Left axis over the values with a little room, zero always in range.
void fitMoneyAxis(QValueAxis* a, double lo, double hi)
{
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
    if (hi - lo < 1e-9)
        hi = lo + 1;
    a->setRange(lo, hi);
    a->applyNiceNumbers();
}

QComboBox* unitBox(QWidget* parent, const QString& name)
{
    auto* b = new QComboBox(parent);
    b->setObjectName(name);
    b->addItems(Stats::unitItems());
    QPalette p = b->palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::Button, p.color(QPalette::ToolTipBase));
    b->setPalette(p);
    b->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return b;
}

} // namespace

StatisticsTabs::StatisticsTabs(TDataModule1* dm, QTabWidget* tabs)
    : QObject(tabs), stats(dm), PageControl1(tabs), dm_(dm)
{
    auto makeTab = [&](const QString& name, const QString& caption, ChartView** view, const QString& chartName) {
        auto* page = new QWidget;
        page->setObjectName(name);
        auto* l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        auto* chart = new QChart;
        chart->setLocalizeNumbers(true);
        chart->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        chart->setAnimationOptions(QChart::NoAnimation);
        *view = new ChartView(chart, page);
        (*view)->setObjectName(chartName);
        (*view)->onClick = [dm] { dm->clickSound(); };
        l->addWidget(*view);
        tabs->addTab(page, caption);
        return page;
    };
    TabSheet1 = makeTab(QStringLiteral("TabSheet1"), QStringLiteral("收支变化"), &Chart1, QStringLiteral("Chart1"));
    TabSheet2 = makeTab(QStringLiteral("TabSheet2"), QStringLiteral("分类统计"), &Chart2, QStringLiteral("Chart2"));
    TabSheet5 = makeTab(QStringLiteral("TabSheet5"), QStringLiteral("家庭成员"), &Chart5, QStringLiteral("Chart5"));
    TabSheet4 = makeTab(QStringLiteral("TabSheet4"), QStringLiteral("盈余统计"), &Chart4, QStringLiteral("Chart4"));
    TabSheet3 = makeTab(QStringLiteral("TabSheet3"), QStringLiteral("余额变化"), &Chart3, QStringLiteral("Chart3"));

    setupTimeChart(Chart1, kMoneyGreen);
    setupTimeChart(Chart4, kMoneyGreen);
    setupTimeChart(Chart3, kBalanceTop);
    Chart1->hint = kBarHint;
    Chart4->hint = kBarHint;
    Chart3->hint = kCurveHint;
    Chart1->chart()->legend()->hide();
    Chart4->chart()->legend()->setAlignment(Qt::AlignRight);
    Chart3->chart()->legend()->setAlignment(Qt::AlignRight);
    Chart4->onFocus = [this](bool in) {
        if (setStatus0)
            setStatus0(in ? Chart4->hint : QString());
    };

    for (ChartView* v : {Chart2, Chart5}) {
        v->setInteractive(false);
        v->chart()->legend()->setAlignment(Qt::AlignRight);
        v->chart()->addSeries(new QPieSeries(v->chart()));
    }
    Chart5Label = new QLabel(QStringLiteral("功能尚未完成"), Chart5);
    Chart5Label->setObjectName(QStringLiteral("Chart5Label"));
    Chart5Label->setStyleSheet(QStringLiteral("color: red;"));
    auto* l5 = new QHBoxLayout(Chart5);
    l5->addWidget(Chart5Label, 0, Qt::AlignCenter);
    Chart5->chart()->legend()->hide();

    // The boxes and buttons at the top right of the tabs.
    auto* corner = new QWidget(tabs);
    auto* cl = new QHBoxLayout(corner);
    cl->setContentsMargins(0, 0, 2, 0);
    cl->setSpacing(2);
    auto speed = [&](const QString& name, const QString& caption) {
        auto* b = new QToolButton(corner);
        b->setObjectName(name);
        b->setText(caption);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->hide();
        cl->addWidget(b);
        return b;
    };
    SpeedButton1 = speed(QStringLiteral("SpeedButton1"), QStringLiteral("可用资金"));
    SpeedButton2 = speed(QStringLiteral("SpeedButton2"), QStringLiteral("帐外资金"));
    ComboBox3 = unitBox(corner, QStringLiteral("ComboBox3"));
    ComboBox4 = unitBox(corner, QStringLiteral("ComboBox4"));
    cl->addWidget(ComboBox3);
    cl->addWidget(ComboBox4);
    ComboBox3->setCurrentIndex(Stats::unitFromSetting(dm->readSetting(7)));
    ComboBox4->setCurrentIndex(Stats::unitFromSetting(dm->readSetting(8)));
    ComboBox3->hide();
    ComboBox4->hide();
    tabs->setCornerWidget(corner, Qt::TopRightCorner);

    connect(ComboBox3, QOverload<int>::of(&QComboBox::activated), this,
            [this](int i) { unitChanged(ComboBox3, 7, i); });
    connect(ComboBox4, QOverload<int>::of(&QComboBox::activated), this,
            [this](int i) { unitChanged(ComboBox4, 8, i); });
    connect(SpeedButton1, &QAbstractButton::clicked, this, [this] {
        showBalanceSeries(0);
        Chart3->setTitleText(QStringLiteral("帐户：可用资金"));
    });
    connect(SpeedButton2, &QAbstractButton::clicked, this, [this] {
        showBalanceSeries(1);
        Chart3->setTitleText(QStringLiteral("帐户：帐外资金"));
    });
    connect(tabs, &QTabWidget::currentChanged, this, [this] { redraw(); });
}

void StatisticsTabs::setupTimeChart(ChartView* v, const QColor& top)
{
    QChart* c = v->chart();
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0, top);
    g.setColorAt(1, Qt::white);
    c->setBackgroundBrush(g);
    c->setBackgroundRoundness(0);
    c->setPlotAreaBackgroundVisible(false);
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setGridLineVisible(false);
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(moneyAxis(), Qt::AlignLeft);
    // A resize changes how many bottom labels fit.
    struct Relabel : QObject {
        ChartView* view;
        Relabel(ChartView* v) : QObject(v), view(v) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Resize)
                setBottomLabels(view);
            return false;
        }
    };
    v->installEventFilter(new Relabel(v));
}

void StatisticsTabs::applyFont(const QFont& f)
{
    font_ = f;
    fontSet_ = true;
    for (QComboBox* b : {ComboBox3, ComboBox4})
        b->setFont(f);
    for (ChartView* v : {Chart1, Chart2, Chart5, Chart4, Chart3}) {
        v->setFont(f);
        v->chart()->legend()->setFont(f);
        for (QAbstractAxis* a : v->chart()->axes())
            a->setLabelsFont(f);
        for (QAbstractSeries* s : v->chart()->series())
            if (auto* pie = qobject_cast<QPieSeries*>(s))
                for (QPieSlice* sl : pie->slices())
                    sl->setLabelFont(f);
        v->setTitleText(v->titleText());
        setBottomLabels(v);
    }
}

void StatisticsTabs::unitChanged(QComboBox* box, int setting, int index)
{
    dm_->clickSound();
    dm_->writeSetting(setting, QString::number(index));
    if (box == ComboBox3)
        drawIncomeExpense(index);
    else
        drawSurplus(index);
}

void StatisticsTabs::redraw()
{
    if (drawing_)
        return;
    drawing_ = true;
    ComboBox3->hide();
    ComboBox4->hide();
    SpeedButton1->hide();
    SpeedButton2->hide();
    for (ChartView* v : {Chart1, Chart4, Chart3})
        v->hideReadout();
    QWidget* w = PageControl1->currentWidget();
    if (w == TabSheet1) {
        ComboBox3->show();
        drawIncomeExpense(ComboBox3->currentIndex());
    } else if (w == TabSheet2) {
        drawPie();
    } else if (w == TabSheet4) {
        ComboBox4->show();
        drawSurplus(ComboBox4->currentIndex());
    } else if (w == TabSheet3) {
        drawBalance();
    }
    drawing_ = false;
}

namespace {

// Empties a chart of its series (the axes stay).
void clearSeries(QChart* c)
{
    c->zoomReset();
    c->removeAllSeries();
}

QValueAxis* leftAxis(QChart* c) { return qobject_cast<QValueAxis*>(c->axes(Qt::Vertical).value(0)); }
QCategoryAxis* bottomAxis(QChart* c) { return qobject_cast<QCategoryAxis*>(c->axes(Qt::Horizontal).value(0)); }

void attach(QChart* c, QAbstractSeries* s)
{
    c->addSeries(s);
    s->attachAxis(bottomAxis(c));
    s->attachAxis(leftAxis(c));
}

QStringList labelsOf(const QVector<Stats::Period>& ps)
{
    QStringList l;
    for (const auto& p : ps)
        l << p.label;
    return l;
}

} // namespace

void StatisticsTabs::drawIncomeExpense(int unit)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QChart* c = Chart1->chart();
    clearSeries(c);
    Chart1->hideReadout();
    Chart1->setTitleText(Stats::unitTitle(unit));
    const Stats::IncomeExpense r = stats.incomeExpense(unit);
    auto* income = new QBarSet(QStringLiteral("收入"));
    auto* expense = new QBarSet(QStringLiteral("支出"));
    income->setColor(kGreen);
    expense->setColor(kRed);
    // No light outline: thin bars of a long span keep their colour.
    income->setPen(QPen(kGreen.darker(130), 0));
    expense->setPen(QPen(kRed.darker(130), 0));
    double lo = 0, hi = 0;
    for (int i = 0; i < r.periods.size(); ++i) {
        income->append(r.income[i].toDouble());
        expense->append(r.expense[i].toDouble());
        hi = std::max({hi, r.income[i].toDouble(), r.expense[i].toDouble()});
    }
    auto* s = new QBarSeries;
    s->append(income);
    s->append(expense);
    attach(c, s);
    fitMoneyAxis(leftAxis(c), lo, hi);
    Chart1->setProperty(kLabelsProperty, labelsOf(r.periods));
    setBottomLabels(Chart1);
    QApplication::restoreOverrideCursor();
}

void StatisticsTabs::drawPie()
{
    QChart* c = Chart2->chart();
    c->removeAllSeries();
    auto* s = new QPieSeries;
    Money total;
    const QVector<Stats::Slice> slices = stats.categoryShares(&total);
    for (const Stats::Slice& sl : slices)
        s->append(sl.name, sl.value.toDouble());
    c->addSeries(s);
    const double sum = s->sum();
    const QList<QLegendMarker*> markers = c->legend()->markers(s);
    static const QColor palette[] = {{220, 40, 40},  {40, 150, 60},  {250, 190, 30}, {40, 90, 210},  {200, 60, 200},
                                     {30, 160, 160}, {150, 60, 30},  {120, 200, 60}, {140, 140, 40}, {120, 60, 160},
                                     {20, 50, 130},  {250, 130, 70}, {100, 180, 230}, {140, 140, 140}};
    double lastShown = 100; // share of the last slice whose label is shown
    for (int i = 0; i < slices.size(); ++i) {
        QPieSlice* p = s->slices().at(i);
        const double share = sum > 0 ? p->value() / sum * 100 : 0;
        p->setLabel(slices[i].name + QStringLiteral(" ") + QString::number(share, 'f', 1) + QStringLiteral("%"));
        p->setColor(palette[i % (sizeof palette / sizeof palette[0])]);
        p->setBorderColor(Qt::white);
        if (fontSet_)
            p->setLabelFont(font_);
        p->setLabelArmLengthFactor(0.12);
        // A thin slice right after a labelled one would print over its label;
        // the legend still names it with its amount.
        const bool crowded = i > 0 && share < 3 && (share + lastShown) / 2 < 8;
        p->setLabelVisible(!crowded);
        lastShown = crowded ? lastShown + share : share;
        if (i < markers.size())
            markers[i]->setLabel(slices[i].name + QStringLiteral("  ") + slices[i].value.display());
    }
    s->setPieSize(0.62);
    Chart2->setFootText(QStringLiteral("合计： ") + total.display());
}

void StatisticsTabs::drawSurplus(int unit)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QChart* c = Chart4->chart();
    clearSeries(c);
    Chart4->hideReadout();
    Chart4->setTitleText(Stats::unitTitle(unit));
    const Stats::Surplus r = stats.surplus(unit);
    auto* set = new QBarSet(QStringLiteral("盈余"));
    set->setColor(kGreen);
    set->setSelectedColor(kRed);
    set->setPen(Qt::NoPen);
    double lo = 0, hi = 0;
    QList<int> negative;
    for (int i = 0; i < r.values.size(); ++i) {
        const double v = r.values[i].toDouble();
        set->append(v);
        if (r.values[i] < Money())
            negative << i;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    set->selectBars(negative);
    auto* s = new QBarSeries;
    s->append(set);
    attach(c, s);
    fitMoneyAxis(leftAxis(c), lo, hi);
    Chart4->setProperty(kLabelsProperty, labelsOf(r.periods));
    setBottomLabels(Chart4);
    QApplication::restoreOverrideCursor();
}

void StatisticsTabs::drawBalance()
{
    QChart* c = Chart3->chart();
    clearSeries(c);
    Chart3->hideReadout();
    const Node n = currentNode ? currentNode() : Node();
    const bool account = n.typeFlag == QLatin1String("1");
    if (!account) {
        Chart3->setTitleText(QStringLiteral("帐户：可用资金"));
        SpeedButton1->show();
        SpeedButton2->show();
    } else {
        Chart3->setTitleText(QStringLiteral("帐户：") + n.text);
        SpeedButton1->hide();
        SpeedButton2->hide();
    }
    const Stats::BalanceHistory h = stats.balances(account ? n.typeId : QString());
    QStringList labels;
    auto* in = new QLineSeries;
    auto* out = new QLineSeries;
    auto* zero = new QLineSeries;
    for (int i = 0; i < h.days.size(); ++i) {
        labels << Dates::shortText(h.days[i]);
        in->append(i, h.inside[i].toDouble());
        out->append(i, h.outside[i].toDouble());
        zero->append(i, 0);
    }
    int idx = 0;
    for (QLineSeries* upper : {in, out}) {
        auto* lower = new QLineSeries;
        lower->replace(zero->points());
        auto* area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        if (account)
            area->setName(n.text);
        else
            area->setName(idx == 0 ? QStringLiteral("可用资金") : QStringLiteral("帐外资金"));
        const QColor col = idx == 0 ? kGreen : kFuchsia;
        QColor fill = col;
        fill.setAlpha(110);
        area->setBrush(fill);
        area->setPen(QPen(col, 1.5));
        attach(c, area);
        ++idx;
    }
    delete zero;
    Chart3->setProperty(kLabelsProperty, labels);
    setBottomLabels(Chart3);
    showBalanceSeries(n.fund ? 1 : 0);
}

void StatisticsTabs::showBalanceSeries(int index)
{
    QChart* c = Chart3->chart();
    const QList<QAbstractSeries*> all = c->series();
    if (all.size() < 2)
        return;
    double lo = 0, hi = 0;
    for (int i = 0; i < all.size(); ++i) {
        const bool on = i == index;
        all[i]->setVisible(on);
        for (QLegendMarker* m : c->legend()->markers(all[i]))
            m->setVisible(on);
        if (on)
            if (auto* a = qobject_cast<QAreaSeries*>(all[i]))
                for (const QPointF& p : a->upperSeries()->points()) {
                    lo = std::min(lo, p.y());
                    hi = std::max(hi, p.y());
                }
    }
    fitMoneyAxis(leftAxis(c), lo, hi);
    SpeedButton1->setChecked(index == 0);
    SpeedButton2->setChecked(index == 1);
}
