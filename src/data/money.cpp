#include "money.h"

#include <cmath>
#include <limits>
#include <algorithm>

Money Money::fromDouble(double v)
{
    return fromRaw(static_cast<qint64>(std::llround(v * kScale)));
}

bool Money::parse(const QString& input, Money* out)
{
    QString t = input.trimmed();
    t.remove(QLatin1Char(','));
    if (t.isEmpty())
        return false;
    bool negative = false;
    int i = 0;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
        negative = t[0] == QLatin1Char('-');
        i = 1;
    }
    qint64 whole = 0;
    qint64 frac = 0;
    int fracDigits = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    bool roundUp = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.')) {
            if (seenPoint)
                return false;
            seenPoint = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > '9')
            return false;
        anyDigit = true;
        const int d = c.unicode() - '0';
        if (!seenPoint) {
            if (whole > (std::numeric_limits<qint64>::max() / kScale - 9) / 10)
                return false;
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = d >= 5;
            ++fracDigits;
        }
    }
    if (!anyDigit)
        return false;
    for (int k = std::min(fracDigits, 4); k < 4; ++k)
        frac *= 10;
    qint64 raw = whole * kScale + frac + (roundUp ? 1 : 0);
    *out = fromRaw(negative ? -raw : raw);
    return true;
}

QString Money::display() const
{
    const bool negative = raw_ < 0;
    qint64 a = absRaw(raw_);
    qint64 cents = (a + 50) / 100; // half away from zero
    qint64 whole = cents / 100;
    int rest = int(cents % 100);
    QString digits = QString::number(whole);
    QString grouped;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits[i];
    }
    QString s = grouped + QLatin1Char('.') + QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
    if (negative && cents != 0)
        s.prepend(QLatin1Char('-'));
    return s;
}

QString Money::plain() const
{
    const bool negative = raw_ < 0;
    qint64 a = absRaw(raw_);
    QString s = QString::number(a / kScale);
    qint64 frac = a % kScale;
    if (frac) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    if (negative)
        s.prepend(QLatin1Char('-'));
    return s;
}
