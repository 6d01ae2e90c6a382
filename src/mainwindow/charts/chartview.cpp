#include "chartview.h"

#include "money.h"

#include <QChart>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>
#include <cmath>

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setRubberBand(QChartView::RectangleRubberBand);
}

void ChartView::setTitleText(const QString& t)
{
    title_ = t;
    // Room at the top for the title line.
    chart()->setMargins(QMargins(6, t.isEmpty() ? 6 : fontMetrics().height() + 8, 6, foot_.isEmpty() ? 4 : fontMetrics().height() + 6));
    viewport()->update();
}

void ChartView::setFootText(const QString& t)
{
    foot_ = t;
    setTitleText(title_);
}

void ChartView::setInteractive(bool on)
{
    interactive_ = on;
    setRubberBand(on ? QChartView::RectangleRubberBand : QChartView::NoRubberBand);
}

void ChartView::hideReadout()
{
    readoutVisible_ = false;
    readoutText_.clear();
    mouseInside_ = false;
    viewport()->update();
}

void ChartView::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    painter->save();
    const QRectF area = chart()->geometry();
    QFont f = font();
    f.setBold(true);
    painter->setFont(f);
    painter->setPen(QColor(0, 0, 128));
    if (!title_.isEmpty())
        painter->drawText(area.adjusted(8, 4, -12, 0), Qt::AlignTop | Qt::AlignRight, title_);
    if (!foot_.isEmpty())
        painter->drawText(area.adjusted(8, 0, -8, -4), Qt::AlignBottom | Qt::AlignHCenter, foot_);
    if (interactive_ && mouseInside_) {
        const QPointF p = mapToScene(mousePos_);
        painter->setPen(QPen(Qt::blue, 1));
        painter->drawLine(QPointF(area.left(), p.y()), QPointF(area.right(), p.y()));
        painter->drawLine(QPointF(p.x(), area.top()), QPointF(p.x(), area.bottom()));
        if (readoutVisible_) {
            painter->setFont(font());
            const QFontMetrics fm(font());
            QRectF box(p.x() + 15, p.y() + 15, fm.horizontalAdvance(readoutText_) + 8, fm.height() + 4);
            if (box.right() > area.right())
                box.moveRight(p.x() - 15);
            if (box.bottom() > area.bottom())
                box.moveBottom(p.y() - 15);
            painter->setPen(QColor(0, 0, 128));
            painter->setBrush(palette().color(QPalette::ToolTipBase));
            painter->drawRect(box);
            painter->drawText(box, Qt::AlignCenter, readoutText_);
        }
    }
    painter->restore();
}

void ChartView::mousePressEvent(QMouseEvent* e)
{
    pressPos_ = lastPos_ = e->pos();
    pressButton_ = e->button();
    dragging_ = false;
    if (!interactive_)
        return QChartView::mousePressEvent(e);
    if (e->button() == Qt::RightButton) {
        e->accept(); // right drag pans
        return;
    }
    QChartView::mousePressEvent(e);
}

void ChartView::mouseMoveEvent(QMouseEvent* e)
{
    if (interactive_ && (e->buttons() & Qt::RightButton)) {
        const QPoint d = e->pos() - lastPos_;
        if (dragging_ || (e->pos() - pressPos_).manhattanLength() > 4) {
            dragging_ = true;
            chart()->scroll(-d.x(), d.y());
        }
        lastPos_ = e->pos();
    }
    mousePos_ = e->pos();
    mouseInside_ = true;
    const QRectF plot = chart()->plotArea();
    const QPointF sp = mapToScene(e->pos());
    readoutVisible_ = false;
    if (interactive_ && plot.contains(sp)) {
        const auto axes = chart()->axes(Qt::Vertical);
        if (!axes.isEmpty()) {
            if (auto* a = qobject_cast<QValueAxis*>(axes.first())) {
                const double v = a->min() + (plot.height() + plot.top() - sp.y()) / plot.height() * (a->max() - a->min());
                readoutText_ = Money::fromDouble(v).display();
                readoutVisible_ = true;
            }
        }
    }
    viewport()->update();
    QChartView::mouseMoveEvent(e);
}

void ChartView::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = (e->pos() - pressPos_).manhattanLength() <= 4 && e->button() == pressButton_;
    if (click && onClick)
        onClick();
    if (!interactive_)
        return QChartView::mouseReleaseEvent(e);
    if (e->button() == Qt::RightButton) {
        if (!dragging_)
            chart()->zoom(0.95);
        dragging_ = false;
        e->accept();
        return;
    }
    if (click) {
        // Let the rubber band end without a zoom of its own, then zoom in a little.
        setRubberBand(QChartView::NoRubberBand);
        QChartView::mouseReleaseEvent(e);
        setRubberBand(QChartView::RectangleRubberBand);
        chart()->zoom(1.05);
        return;
    }
    QChartView::mouseReleaseEvent(e);
}

void ChartView::leaveEvent(QEvent* e)
{
    mouseInside_ = false;
    readoutVisible_ = false;
    viewport()->update();
    QChartView::leaveEvent(e);
}

void ChartView::focusInEvent(QFocusEvent* e)
{
    QChartView::focusInEvent(e);
    if (onFocus)
        onFocus(true);
}

void ChartView::focusOutEvent(QFocusEvent* e)
{
    QChartView::focusOutEvent(e);
    if (onFocus)
        onFocus(false);
}
