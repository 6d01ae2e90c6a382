#include "lsscalendar.h"
#include "lunar.h"

#include "dates.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

QDate TLssCalendar::fixedToday;

namespace {
const QColor kTitleColor(0x8b, 0x1a, 0x1a);
const QColor kWeekBand(0xb8, 0x3a, 0x2e);
const QColor kGridLine(0xe2, 0xdc, 0xd6);
const QColor kWeekend(0xd0, 0x30, 0x30);
const QColor kWeekday(0x20, 0x20, 0x20);
const QColor kOtherMonth(0xb8, 0xb8, 0xb8);
const QColor kSelected(0xcf, 0xe3, 0xff);
const QColor kToday(0xff, 0x8c, 0x00);
const QColor kFestivalFill(0xff, 0xf1, 0xe8);
const QColor kTermColor(0x00, 0x80, 0x80);
const QColor kMonthStart(0xa0, 0x52, 0x2d);
const QColor kLunarDay(0x70, 0x70, 0x70);

QColor fromRgb(quint32 rgb) { return QColor(int((rgb >> 16) & 0xff), int((rgb >> 8) & 0xff), int(rgb & 0xff)); }
} // namespace

TLssCalendar::TLssCalendar(QWidget* parent)
    : QWidget(parent)
    , date_(today())
{
    setObjectName(QStringLiteral("LssCalendar1"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    prev_ = new QToolButton(this);
    prev_->setObjectName(QStringLiteral("PreviousMonth"));
    prev_->setArrowType(Qt::LeftArrow);
    prev_->setAutoRaise(true);
    prev_->setToolTip(QStringLiteral("上个月"));
    next_ = new QToolButton(this);
    next_->setObjectName(QStringLiteral("NextMonth"));
    next_->setArrowType(Qt::RightArrow);
    next_->setAutoRaise(true);
    next_->setToolTip(QStringLiteral("下个月"));
    connect(prev_, &QToolButton::clicked, this, [this] { setDate(date_.addMonths(-1)); });
    connect(next_, &QToolButton::clicked, this, [this] { setDate(date_.addMonths(1)); });
}

QDate TLssCalendar::today() { return fixedToday.isValid() ? fixedToday : QDate::currentDate(); }

void TLssCalendar::setDate(const QDate& d)
{
    if (!d.isValid())
        return;
    const QDate clamped = qBound(minimumDate(), d, maximumDate());
    if (clamped == date_)
        return;
    date_ = clamped;
    update();
    emit dateChanged(date_);
}

void TLssCalendar::setYear(int year)
{
    const int m = date_.month();
    setDate(QDate(year, m, qMin(date_.day(), QDate(year, m, 1).daysInMonth())));
}

void TLssCalendar::setMonth(int month)
{
    if (month < 1 || month > 12)
        return;
    const int y = date_.year();
    setDate(QDate(y, month, qMin(date_.day(), QDate(y, month, 1).daysInMonth())));
}

// --- texts -------------------------------------------------------------------------
TLssCalendar::DayLabel TLssCalendar::dayLabel(const QDate& d) const
{
    DayLabel r;
    const QList<Festival> fs = festivals_.on(d);
    if (!fs.isEmpty()) {
        r.text = Festivals::shortName(fs.first().name);
        r.color = fromRgb(fs.first().color);
        r.festival = true;
        return r;
    }
    const int term = Lunar::solarTermOn(d);
    if (term >= 0) {
        r.text = Lunar::solarTermName(term);
        r.color = kTermColor;
        return r;
    }
    const Lunar::LunarDate l = Lunar::fromSolar(d);
    if (!l.isValid())
        return r;
    if (l.day == 1) {
        r.text = Lunar::monthName(l.month, l.leap);
        r.color = kMonthStart;
    } else {
        r.text = Lunar::dayName(l.day);
        r.color = kLunarDay;
    }
    return r;
}

QString TLssCalendar::hint(const QDate& d) const
{
    QStringList lines;
    lines << Dates::longText(d) + QLatin1Char(' ') + Lunar::starSign(d);
    const Lunar::LunarDate l = Lunar::fromSolar(d);
    if (l.isValid()) {
        lines << QStringLiteral("农历") + Lunar::yearText(l.year) + Lunar::monthName(l.month, l.leap)
                + Lunar::dayName(l.day);
        lines << Lunar::stemBranchName(Lunar::yearCycle(l.year)) + QStringLiteral("年【") + Lunar::animalOfYear(l.year)
                + QStringLiteral("年】 ") + Lunar::stemBranchName(Lunar::monthCycle(d)) + QStringLiteral("月 ")
                + Lunar::stemBranchName(Lunar::dayCycle(d)) + QStringLiteral("日");
    }
    const int term = Lunar::solarTermOn(d);
    if (term >= 0)
        lines << Lunar::solarTermName(term);
    for (const Festival& f : festivals_.on(d))
        lines << f.name;
    return lines.join(QLatin1Char('\n'));
}

// --- geometry -------------------------------------------------------------------------
QRect TLssCalendar::titleRect() const { return QRect(0, 0, width(), qMax(44, height() / 9)); }

QRect TLssCalendar::weekRect() const
{
    const QRect t = titleRect();
    return QRect(0, t.bottom() + 1, width(), qMax(24, height() / 18));
}

QRect TLssCalendar::gridRect() const
{
    const QRect w = weekRect();
    return QRect(0, w.bottom() + 1, width(), height() - w.bottom() - 1);
}

QDate TLssCalendar::firstShown() const
{
    const QDate first(date_.year(), date_.month(), 1);
    return first.addDays(-(first.dayOfWeek() % 7));
}

QRect TLssCalendar::cellRect(const QDate& d) const
{
    const qint64 n = firstShown().daysTo(d);
    if (n < 0 || n >= 42)
        return QRect();
    const QRect g = gridRect();
    const int col = int(n % 7), row = int(n / 7);
    const int x0 = g.left() + g.width() * col / 7, x1 = g.left() + g.width() * (col + 1) / 7;
    const int y0 = g.top() + g.height() * row / 6, y1 = g.top() + g.height() * (row + 1) / 6;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QDate TLssCalendar::dateAt(const QPoint& p) const
{
    const QRect g = gridRect();
    if (!g.contains(p) || g.width() <= 0 || g.height() <= 0)
        return QDate();
    const int col = qBound(0, (p.x() - g.left()) * 7 / g.width(), 6);
    const int row = qBound(0, (p.y() - g.top()) * 6 / g.height(), 5);
    return firstShown().addDays(row * 7 + col);
}

void TLssCalendar::resizeEvent(QResizeEvent*)
{
    const QRect t = titleRect();
    const int s = qMin(36, t.height() - 8);
    prev_->setGeometry(t.left() + 10, t.center().y() - s / 2, s, s);
    next_->setGeometry(t.right() - 10 - s, t.center().y() - s / 2, s, s);
    prev_->setIconSize(QSize(s / 2, s / 2));
    next_->setIconSize(QSize(s / 2, s / 2));
}

// --- painting ---------------------------------------------------------------------------
void TLssCalendar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(rect(), Qt::white);

    // Title: year and month, the lunar year and its animal on the right.
    const QRect t = titleRect();
    QLinearGradient tg(t.topLeft(), t.bottomLeft());
    tg.setColorAt(0, QColor(0xff, 0xf8, 0xf0));
    tg.setColorAt(1, QColor(0xfc, 0xe9, 0xd8));
    p.fillRect(t, tg);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPixelSize(qMax(18, t.height() * 5 / 10));
    p.setFont(titleFont);
    p.setPen(kTitleColor);
    p.drawText(t, Qt::AlignCenter, QStringLiteral("%1年%2月").arg(date_.year()).arg(date_.month()));
    const Lunar::LunarDate ly = Lunar::fromSolar(date_);
    if (ly.isValid()) {
        QFont small = font();
        small.setPixelSize(qMax(12, t.height() / 4));
        p.setFont(small);
        p.setPen(QColor(0x80, 0x50, 0x30));
        const QRect side = t.adjusted(0, 0, -(t.height() + 16), 0);
        p.drawText(side, Qt::AlignRight | Qt::AlignVCenter,
                   Lunar::stemBranchName(Lunar::yearCycle(ly.year)) + QStringLiteral("年 【")
                       + Lunar::animalOfYear(ly.year) + QStringLiteral("年】"));
        const QRect left = t.adjusted(t.height() + 16, 0, 0, 0);
        p.drawText(left, Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("农历") + Lunar::monthName(ly.month, ly.leap) + Lunar::dayName(ly.day));
    }

    // Week-day names.
    const QRect w = weekRect();
    p.fillRect(w, kWeekBand);
    QFont weekFont = font();
    weekFont.setBold(true);
    weekFont.setPixelSize(qMax(12, w.height() / 2));
    p.setFont(weekFont);
    static const QString names = QStringLiteral("日一二三四五六");
    for (int c = 0; c < 7; ++c) {
        const QRect r(w.left() + w.width() * c / 7, w.top(), w.width() * (c + 1) / 7 - w.width() * c / 7, w.height());
        p.setPen(c == 0 || c == 6 ? QColor(0xff, 0xe0, 0x80) : Qt::white);
        p.drawText(r, Qt::AlignCenter, QStringLiteral("星期") + names.at(c));
    }

    // The month number as a faint figure behind the days.
    const QRect g = gridRect();
    QFont bigFont = font();
    bigFont.setBold(true);
    bigFont.setPixelSize(qMax(40, g.height() * 7 / 10));
    p.setFont(bigFont);
    p.setPen(QColor(0xc8, 0x50, 0x40, 22));
    p.drawText(g, Qt::AlignCenter, QString::number(date_.month()));

    QFont dayFont = font();
    dayFont.setBold(true);
    QFont subFont = font();
    subFont.setPointSize(9);
    const QDate now = today();
    for (int i = 0; i < 42; ++i) {
        const QDate d = firstShown().addDays(i);
        const QRect r = cellRect(d);
        const bool inMonth = d.month() == date_.month();
        const bool inRange = d >= minimumDate() && d <= maximumDate();
        const DayLabel label = inRange ? dayLabel(d) : DayLabel();
        const QRectF inner = QRectF(r).adjusted(2.5, 2.5, -2.5, -2.5);
        if (d == date_) {
            p.setPen(Qt::NoPen);
            p.setBrush(kSelected);
            p.drawRoundedRect(inner, 6, 6);
        } else if (label.festival && inMonth) {
            p.setPen(Qt::NoPen);
            p.setBrush(kFestivalFill);
            p.drawRoundedRect(inner, 6, 6);
        }
        if (d == now) {
            p.setPen(QPen(kToday, 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(inner.adjusted(1, 1, -1, -1), 6, 6);
            QFont badge = font();
            badge.setPixelSize(qMax(10, r.height() / 7));
            badge.setBold(true);
            p.setFont(badge);
            const QRectF b(inner.right() - badge.pixelSize() - 8, inner.top() + 2, badge.pixelSize() + 6,
                           badge.pixelSize() + 4);
            p.setPen(Qt::NoPen);
            p.setBrush(kToday);
            p.drawRoundedRect(b, 3, 3);
            p.setPen(Qt::white);
            p.drawText(b, Qt::AlignCenter, QStringLiteral("今"));
        }
        if (!inRange)
            continue;
        const int dow = d.dayOfWeek();
        QColor numColor = (dow == 6 || dow == 7) ? kWeekend : kWeekday;
        if (!inMonth)
            numColor = kOtherMonth;
        dayFont.setPixelSize(qMax(14, qMin(r.height() * 36 / 100, r.width() * 40 / 100)));
        p.setFont(dayFont);
        p.setPen(numColor);
        const QRect numRect(r.left(), r.top() + r.height() / 10, r.width(), r.height() * 5 / 10);
        p.drawText(numRect, Qt::AlignHCenter | Qt::AlignBottom, QString::number(d.day()));
        p.setFont(subFont);
        QColor subColor = label.color;
        if (!inMonth)
            subColor = kOtherMonth;
        p.setPen(subColor);
        const QRect subRect(r.left() + 2, numRect.bottom() + 2, r.width() - 4, r.bottom() - numRect.bottom() - 4);
        const QString text = QFontMetrics(subFont).elidedText(label.text, Qt::ElideRight, subRect.width());
        p.drawText(subRect, Qt::AlignHCenter | Qt::AlignTop, text);
    }

    // Grid lines.
    p.setPen(QPen(kGridLine, 1));
    for (int c = 1; c < 7; ++c) {
        const int x = g.left() + g.width() * c / 7;
        p.drawLine(x, g.top(), x, g.bottom());
    }
    for (int r = 1; r < 6; ++r) {
        const int y = g.top() + g.height() * r / 6;
        p.drawLine(g.left(), y, g.right(), y);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(0x90, 0xb0, 0xe0), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

// --- input ------------------------------------------------------------------------------
void TLssCalendar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(e);
    const QDate d = dateAt(e->position().toPoint());
    if (d.isValid())
        setDate(d);
    setFocus(Qt::MouseFocusReason);
}

void TLssCalendar::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Left: setDate(date_.addDays(-1)); break;
    case Qt::Key_Right: setDate(date_.addDays(1)); break;
    case Qt::Key_Up: setDate(date_.addDays(-7)); break;
    case Qt::Key_Down: setDate(date_.addDays(7)); break;
    case Qt::Key_PageUp: setDate(date_.addMonths(-1)); break;
    case Qt::Key_PageDown: setDate(date_.addMonths(1)); break;
    case Qt::Key_Home: setDate(today()); break;
    default: QWidget::keyPressEvent(e); return;
    }
}

void TLssCalendar::wheelEvent(QWheelEvent* e)
{
    const int dy = e->angleDelta().y();
    if (dy != 0)
        setDate(date_.addMonths(dy > 0 ? -1 : 1));
    e->accept();
}

bool TLssCalendar::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const QDate d = dateAt(he->pos());
        if (d.isValid() && d >= minimumDate() && d <= maximumDate())
            QToolTip::showText(he->globalPos(), hint(d), this, cellRect(d));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}
