#pragma once
// Money as an exact count of 1/10000 units (four decimals, like the old
// currency type). All arithmetic is on integers, so sums never drift.

#include <QMetaType>
#include <QString>
#include <cstdint>

class Money {
public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 raw) { Money m; m.raw_ = raw; return m; }
    static Money fromDouble(double v);
    // Parses "1234.5", "-30", "1,234.50", " 12 ". Returns false on anything else.
    static bool parse(const QString& text, Money* out);

    constexpr qint64 raw() const { return raw_; }
    double toDouble() const { return double(raw_) / kScale; }

    // "1,234.50" / "-30.00": thousands separators and exactly two decimals,
    // rounded half away from zero.
    QString display() const;
    // Plain decimal without grouping and without trailing zeros: "12.5", "-30", "0".
    QString plain() const;

    bool isZero() const { return raw_ == 0; }
    // Amounts closer than 0.01 count as equal.
    bool nearlyEquals(Money o) const { return absRaw(raw_ - o.raw_) < kScale / 100; }
    bool belowCent() const { return absRaw(raw_) < kScale / 100; }
    Money abs() const { return fromRaw(absRaw(raw_)); }

    Money operator+(Money o) const { return fromRaw(raw_ + o.raw_); }
    Money operator-(Money o) const { return fromRaw(raw_ - o.raw_); }
    Money operator-() const { return fromRaw(-raw_); }
    Money& operator+=(Money o) { raw_ += o.raw_; return *this; }
    Money& operator-=(Money o) { raw_ -= o.raw_; return *this; }
    bool operator==(Money o) const { return raw_ == o.raw_; }
    bool operator!=(Money o) const { return raw_ != o.raw_; }
    bool operator<(Money o) const { return raw_ < o.raw_; }
    bool operator<=(Money o) const { return raw_ <= o.raw_; }
    bool operator>(Money o) const { return raw_ > o.raw_; }
    bool operator>=(Money o) const { return raw_ >= o.raw_; }

private:
    static constexpr qint64 absRaw(qint64 v) { return v < 0 ? -v : v; }
    qint64 raw_ = 0;
};

Q_DECLARE_METATYPE(Money)
