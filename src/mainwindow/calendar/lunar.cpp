#include "lunar.h"

#include <QtMath>
#include <array>
#include <cmath>

namespace Lunar {
namespace {

// One word per lunar year 1900..2100, as the observatories publish the years:
//   bits 0-3   the month followed by the leap month (0 = no leap month);
//   bits 4-15  months 12..1 (bit 15 = first month): set for a 30-day month;
//   bit 16     set when the leap month has 30 days.
// The lunar year 1900 starts on 1900-01-31; each later new year follows the
// previous one by that year's length.
constexpr std::array<quint32, 201> kYearInfo = {
    0x04bd8, 0x04ae0, 0x0a570, 0x054d5, 0x0d260, 0x0d950, 0x16554, 0x056a0, 0x09ad0, 0x055d2, // 1900
    0x04ae0, 0x0a5b6, 0x0a4d0, 0x0d250, 0x1d255, 0x0b540, 0x0d6a0, 0x0ada2, 0x095b0, 0x14977, // 1910
    0x04970, 0x0a4b0, 0x0b4b5, 0x06a50, 0x06d40, 0x1ab54, 0x02b60, 0x09570, 0x052f2, 0x04970, // 1920
    0x06566, 0x0d4a0, 0x0ea50, 0x16a95, 0x05ad0, 0x02b60, 0x186e3, 0x092e0, 0x1c8d7, 0x0c950, // 1930
    0x0d4a0, 0x1d8a6, 0x0b550, 0x056a0, 0x1a5b4, 0x025d0, 0x092d0, 0x0d2b2, 0x0a950, 0x0b557, // 1940
    0x06ca0, 0x0b550, 0x15355, 0x04da0, 0x0a5b0, 0x14573, 0x052b0, 0x0a9a8, 0x0e950, 0x06aa0, // 1950
    0x0aea6, 0x0ab50, 0x04b60, 0x0aae4, 0x0a570, 0x05260, 0x0f263, 0x0d950, 0x05b57, 0x056a0, // 1960
    0x096d0, 0x04dd5, 0x04ad0, 0x0a4d0, 0x0d4d4, 0x0d250, 0x0d558, 0x0b540, 0x0b6a0, 0x195a6, // 1970
    0x095b0, 0x049b0, 0x0a974, 0x0a4b0, 0x0b27a, 0x06a50, 0x06d40, 0x0af46, 0x0ab60, 0x09570, // 1980
    0x04af5, 0x04970, 0x064b0, 0x074a3, 0x0ea50, 0x06b58, 0x05ac0, 0x0ab60, 0x096d5, 0x092e0, // 1990
    0x0c960, 0x0d954, 0x0d4a0, 0x0da50, 0x07552, 0x056a0, 0x0abb7, 0x025d0, 0x092d0, 0x0cab5, // 2000
    0x0a950, 0x0b4a0, 0x0baa4, 0x0ad50, 0x055d9, 0x04ba0, 0x0a5b0, 0x15176, 0x052b0, 0x0a930, // 2010
    0x07954, 0x06aa0, 0x0ad50, 0x05b52, 0x04b60, 0x0a6e6, 0x0a4e0, 0x0d260, 0x0ea65, 0x0d530, // 2020
    0x05aa0, 0x076a3, 0x096d0, 0x04afb, 0x04ad0, 0x0a4d0, 0x1d0b6, 0x0d250, 0x0d520, 0x0dd45, // 2030
    0x0b5a0, 0x056d0, 0x055b2, 0x049b0, 0x0a577, 0x0a4b0, 0x0aa50, 0x1b255, 0x06d20, 0x0ada0, // 2040
    0x14b63, 0x09370, 0x049f8, 0x04970, 0x064b0, 0x168a6, 0x0ea50, 0x06b20, 0x1a6c4, 0x0aae0, // 2050
    0x092e0, 0x0d2e3, 0x0c960, 0x0d557, 0x0d4a0, 0x0da50, 0x05d55, 0x056a0, 0x0a6d0, 0x055d4, // 2060
    0x052d0, 0x0a9b8, 0x0a950, 0x0b4a0, 0x0b6a6, 0x0ad50, 0x055a0, 0x0aba4, 0x0a5b0, 0x052b0, // 2070
    0x0b273, 0x06930, 0x07337, 0x06aa0, 0x0ad50, 0x14b55, 0x04b60, 0x0a570, 0x054e4, 0x0d160, // 2080
    0x0e968, 0x0d520, 0x0daa0, 0x16aa6, 0x056d0, 0x04ae0, 0x0a9d4, 0x0a2d0, 0x0d150, 0x0f252, // 2090
    0x0d520,                                                                                 // 2100
};

bool inTable(int y) { return y >= kFirstYear && y <= kLastYear; }
quint32 info(int y) { return kYearInfo[size_t(y - kFirstYear)]; }

// Julian day numbers of every lunar new year, plus the day after the last year.
const std::array<qint64, 202>& newYearDays()
{
    static const std::array<qint64, 202> days = [] {
        std::array<qint64, 202> d{};
        d[0] = QDate(1900, 1, 31).toJulianDay();
        for (int y = kFirstYear; y <= kLastYear; ++y)
            d[size_t(y - kFirstYear + 1)] = d[size_t(y - kFirstYear)] + yearDays(y);
        return d;
    }();
    return days;
}

const QString kStems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
const QString kBranches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
const QString kAnimals = QStringLiteral("鼠牛虎兔龙蛇马羊猴鸡狗猪");
const QString kElements = QStringLiteral("木木火火土土金金水水");
const QString kDigits = QStringLiteral("零一二三四五六七八九");

// --- the sun -----------------------------------------------------------------
double normalize(double deg)
{
    deg = std::fmod(deg, 360.0);
    return deg < 0 ? deg + 360.0 : deg;
}

// Apparent geocentric longitude of the sun in degrees at a Julian
// Ephemeris Day (the usual series in the mean anomaly, with aberration and
// nutation in longitude).
double sunLongitude(double jde)
{
    const double t = (jde - 2451545.0) / 36525.0;
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double m = qDegreesToRadians(357.52911 + 35999.05029 * t - 0.0001537 * t * t);
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m)
        + (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = qDegreesToRadians(125.04 - 1934.136 * t);
    // Nutation in longitude (main terms) and aberration.
    const double lmoon = qDegreesToRadians(218.3165 + 481267.8813 * t);
    const double lsun = qDegreesToRadians(280.4665 + 36000.7698 * t);
    const double nutation = (-17.20 * std::sin(omega) - 1.32 * std::sin(2 * lsun) - 0.23 * std::sin(2 * lmoon)
                             + 0.21 * std::sin(2 * omega)) / 3600.0;
    return normalize(l0 + c - 0.00569 + nutation);
}

// Difference between terrestrial and universal time in seconds.
double deltaT(double year)
{
    double t;
    if (year < 1920) {
        t = year - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (year < 1941) {
        t = year - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (year < 1961) {
        t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year < 1986) {
        t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year < 2005) {
        t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * t * t * t * t
            + 0.00002373599 * t * t * t * t * t;
    }
    if (year < 2050) {
        t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (year - 1820) / 100.0;
    return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

QDate computeTerm(int year, int index)
{
    const double target = normalize(285.0 + 15.0 * index);
    // Start near the usual day and refine.
    double jde = QDate(year, 1, 1).toJulianDay() - 0.5 + 5.0 + 15.218 * index;
    for (int i = 0; i < 8; ++i) {
        double diff = target - sunLongitude(jde);
        while (diff > 180)
            diff -= 360;
        while (diff < -180)
            diff += 360;
        jde += diff * 365.2422 / 360.0;
    }
    const double beijing = jde - deltaT(year + index / 24.0) / 86400.0 + 8.0 / 24.0;
    return QDate::fromJulianDay(qint64(std::floor(beijing + 0.5)));
}

const std::array<std::array<qint64, 24>, 203>& termTable()
{
    // Gregorian years 1899..2101, so that the month cycle works at both ends.
    static const std::array<std::array<qint64, 24>, 203> table = [] {
        std::array<std::array<qint64, 24>, 203> t{};
        for (int y = 0; y < 203; ++y)
            for (int i = 0; i < 24; ++i)
                t[size_t(y)][size_t(i)] = computeTerm(1899 + y, i).toJulianDay();
        return t;
    }();
    return table;
}

} // namespace

// --- the year table ------------------------------------------------------------
int leapMonth(int y) { return inTable(y) ? int(info(y) & 0xf) : 0; }

int monthDays(int y, int month, bool leap)
{
    if (!inTable(y) || month < 1 || month > 12)
        return 0;
    if (leap) {
        if (leapMonth(y) != month)
            return 0;
        return (info(y) & 0x10000) ? 30 : 29;
    }
    return (info(y) & (0x10000u >> month)) ? 30 : 29;
}

int yearDays(int y)
{
    if (!inTable(y))
        return 0;
    int days = 0;
    for (int m = 1; m <= 12; ++m)
        days += monthDays(y, m);
    if (leapMonth(y))
        days += monthDays(y, leapMonth(y), true);
    return days;
}

QDate newYear(int y)
{
    return inTable(y) ? QDate::fromJulianDay(newYearDays()[size_t(y - kFirstYear)]) : QDate();
}

QDate firstDate() { return QDate::fromJulianDay(newYearDays().front()); }
QDate lastDate() { return QDate::fromJulianDay(newYearDays().back() - 1); }

// --- conversion --------------------------------------------------------------------
LunarDate fromSolar(const QDate& date)
{
    LunarDate r;
    if (!date.isValid() || date < firstDate() || date > lastDate())
        return r;
    const auto& starts = newYearDays();
    const qint64 jd = date.toJulianDay();
    int y = kFirstYear + int((jd - starts[0]) / 365);
    while (y > kFirstYear && starts[size_t(y - kFirstYear)] > jd)
        --y;
    while (y < kLastYear && starts[size_t(y - kFirstYear + 1)] <= jd)
        ++y;
    int offset = int(jd - starts[size_t(y - kFirstYear)]);
    const int leap = leapMonth(y);
    for (int m = 1; m <= 12; ++m) {
        for (int pass = 0; pass < (m == leap ? 2 : 1); ++pass) {
            const bool isLeap = pass == 1;
            const int len = monthDays(y, m, isLeap);
            if (offset < len) {
                r.year = y;
                r.month = m;
                r.day = offset + 1;
                r.leap = isLeap;
                return r;
            }
            offset -= len;
        }
    }
    return r; // not reached for dates inside the table
}

QDate toSolar(const LunarDate& l)
{
    if (!inTable(l.year) || l.day < 1 || l.day > monthDays(l.year, l.month, l.leap))
        return QDate();
    qint64 jd = newYearDays()[size_t(l.year - kFirstYear)];
    const int leap = leapMonth(l.year);
    for (int m = 1; m < l.month; ++m) {
        jd += monthDays(l.year, m);
        if (m == leap)
            jd += monthDays(l.year, m, true);
    }
    if (l.leap)
        jd += monthDays(l.year, l.month);
    return QDate::fromJulianDay(jd + l.day - 1);
}

// --- stems and branches ----------------------------------------------------------------
int yearCycle(int lunarYear) { return ((lunarYear - 4) % 60 + 60) % 60; }

int dayCycle(const QDate& date)
{
    // 1900-01-01 was a 甲戌 day (cycle 10).
    const qint64 n = date.toJulianDay() - QDate(1900, 1, 1).toJulianDay() + 10;
    return int(((n % 60) + 60) % 60);
}

int monthCycle(const QDate& date)
{
    // The month that began with 小寒 of January 1900 was 丁丑 (cycle 13).
    int months = (date.year() - 1900) * 12 + date.month() - 1;
    const int term = 2 * (date.month() - 1); // first term of the Gregorian month
    if (date < solarTermDate(date.year(), term))
        --months;
    return int((((13 + months) % 60) + 60) % 60);
}

QString stemBranchName(int cycle)
{
    cycle = ((cycle % 60) + 60) % 60;
    return QString(kStems.at(cycle % 10)) + kBranches.at(cycle % 12);
}

QString animalOfYear(int lunarYear) { return QString(kAnimals.at(yearCycle(lunarYear) % 12)); }
QString elementOfYear(int lunarYear) { return QString(kElements.at(yearCycle(lunarYear) % 10)); }

// --- solar terms ------------------------------------------------------------------------
QString solarTermName(int index)
{
    static const char* const names[24] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                                          "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                                          "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
    return index >= 0 && index < 24 ? QString::fromUtf8(names[index]) : QString();
}

QDate solarTermDate(int year, int index)
{
    if (index < 0 || index > 23)
        return QDate();
    if (year < 1899 || year > 2101)
        return computeTerm(year, index);
    return QDate::fromJulianDay(termTable()[size_t(year - 1899)][size_t(index)]);
}

int solarTermOn(const QDate& date)
{
    if (!date.isValid())
        return -1;
    const int base = 2 * (date.month() - 1);
    for (int i = base; i < base + 2; ++i)
        if (solarTermDate(date.year(), i) == date)
            return i;
    return -1;
}

// --- texts ---------------------------------------------------------------------------------
QString yearText(int lunarYear)
{
    QString s;
    for (QChar c : QString::number(lunarYear))
        s += kDigits.at(c.digitValue());
    return s + QStringLiteral("年");
}

QString monthName(int month, bool leap)
{
    static const QString names = QStringLiteral("正二三四五六七八九十冬腊");
    if (month < 1 || month > 12)
        return QString();
    return (leap ? QStringLiteral("闰") : QString()) + names.at(month - 1) + QStringLiteral("月");
}

QString dayName(int day)
{
    static const QString tens = QStringLiteral("初十廿三");
    static const QString units = QStringLiteral("一二三四五六七八九十");
    if (day < 1 || day > 30)
        return QString();
    if (day == 10)
        return QStringLiteral("初十");
    if (day == 20)
        return QStringLiteral("二十");
    if (day == 30)
        return QStringLiteral("三十");
    return QString(tens.at(day / 10)) + units.at((day - 1) % 10);
}

QString starSign(const QDate& date)
{
    // The sign that begins on the given day of each month.
    static const int firstDay[12] = {20, 19, 21, 20, 21, 22, 23, 23, 23, 24, 22, 22};
    static const char* const signs[12] = {"水瓶座", "双鱼座", "白羊座", "金牛座", "双子座", "巨蟹座",
                                          "狮子座", "处女座", "天秤座", "天蝎座", "射手座", "摩羯座"};
    if (!date.isValid())
        return QString();
    int i = date.month() - 1;
    if (date.day() < firstDay[i])
        i = (i + 11) % 12;
    return QString::fromUtf8(signs[i]);
}

} // namespace Lunar
