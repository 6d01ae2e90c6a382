#include "dates.h"

#include <QRegularExpression>
#include <QStringList>

namespace Dates {

QString weekdayName(const QDate& d)
{
    static const char* const names[] = {"星期一", "星期二", "星期三", "星期四",
                                        "星期五", "星期六", "星期天"};
    return QString::fromUtf8(names[d.dayOfWeek() - 1]);
}

QString format(const QString& name, const QDate& d)
{
    if (!d.isValid())
        return QString();
    const QString y = QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
    const QString m = QString::number(d.month());
    const QString day = QString::number(d.day());
    if (name == kShort)
        return y + QLatin1Char('-') + m + QLatin1Char('-') + day;
    if (name == kMonth)
        return y + QLatin1Char('-') + QStringLiteral("%1").arg(d.month(), 2, 10, QLatin1Char('0'));
    if (name == kYear)
        return y;
    if (name == kCompact)
        return y + QStringLiteral("%1%2").arg(d.month(), 2, 10, QLatin1Char('0')).arg(d.day(), 2, 10, QLatin1Char('0'));
    if (name == kChinese)
        return y + QStringLiteral("年") + m + QStringLiteral("月") + day + QStringLiteral("日");
    if (name == kLong)
        return y + QStringLiteral("年") + m + QStringLiteral("月") + day + QStringLiteral("日 ") + weekdayName(d);
    return QString();
}

QDate parse(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})\\s*[-/.]\\s*(\\d{1,2})\\s*[-/.]\\s*(\\d{1,2})(?:[ T].*)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QDate fromIso(const QString& text)
{
    if (text.isEmpty())
        return QDate();
    QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    if (!d.isValid())
        d = parse(text);
    return d;
}

} // namespace Dates
