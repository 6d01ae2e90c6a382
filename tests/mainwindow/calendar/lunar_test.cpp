// The lunar engine: conversions against the published calendar, stems and
// branches, solar terms, texts, and the festival rules.
#include "festivals.h"
#include "lunar.h"

#include <gtest/gtest.h>

using namespace Lunar;

namespace {
QDate d(int y, int m, int day) { return QDate(y, m, day); }
std::string str(const QString& s) { return s.toStdString(); }
} // namespace

TEST(LunarTable, ConversionsMatchThePublishedCalendar)
{
    struct Case {
        QDate solar;
        int year, month, day;
        bool leap;
    } cases[] = {
        {d(1900, 1, 31), 1900, 1, 1, false},   // first day of the table
        {d(1900, 12, 31), 1900, 11, 10, false},
        {d(1949, 10, 1), 1949, 8, 10, false},
        {d(1987, 7, 26), 1987, 6, 1, true},    // leap sixth month of 1987
        {d(1987, 6, 26), 1987, 6, 1, false},
        {d(1987, 8, 24), 1987, 7, 1, false},
        {d(2000, 2, 5), 2000, 1, 1, false},
        {d(2000, 2, 4), 1999, 12, 29, false},
        {d(2008, 2, 7), 2008, 1, 1, false},
        {d(2008, 8, 8), 2008, 7, 8, false},
        {d(2020, 5, 23), 2020, 4, 1, true},    // leap fourth month
        {d(2023, 3, 22), 2023, 2, 1, true},    // leap second month
        {d(2023, 2, 20), 2023, 2, 1, false},
        {d(2024, 2, 10), 2024, 1, 1, false},
        {d(2024, 9, 17), 2024, 8, 15, false},
        {d(2025, 7, 25), 2025, 6, 1, true},    // leap sixth month
        {d(2025, 5, 31), 2025, 5, 5, false},
        {d(2026, 2, 17), 2026, 1, 1, false},
        {d(2026, 2, 16), 2025, 12, 29, false},
        {d(2027, 2, 6), 2027, 1, 1, false},    // new year of 2027
        {d(2027, 2, 5), 2026, 12, 29, false},  // no 30th of the twelfth month
        {d(2033, 12, 22), 2033, 11, 1, true},  // leap eleventh month of 2033
        {d(2100, 2, 9), 2100, 1, 1, false},
        {d(2100, 12, 31), 2100, 12, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.solar.toString(Qt::ISODate).toStdString());
        const LunarDate l = fromSolar(c.solar);
        EXPECT_EQ(l.year, c.year);
        EXPECT_EQ(l.month, c.month);
        EXPECT_EQ(l.day, c.day);
        EXPECT_EQ(l.leap, c.leap);
        EXPECT_EQ(toSolar(l), c.solar);
    }
}

TEST(LunarTable, LeapMonthsNewYearsAndLimits)
{
    EXPECT_EQ(leapMonth(1987), 6);
    EXPECT_EQ(leapMonth(2020), 4);
    EXPECT_EQ(leapMonth(2023), 2);
    EXPECT_EQ(leapMonth(2025), 6);
    EXPECT_EQ(leapMonth(2024), 0);
    EXPECT_EQ(leapMonth(1900), 8);
    for (auto [y, ny] : {std::pair{2000, d(2000, 2, 5)}, {2008, d(2008, 2, 7)}, {2024, d(2024, 2, 10)},
                         {2026, d(2026, 2, 17)}, {2027, d(2027, 2, 6)}, {1900, d(1900, 1, 31)}, {2100, d(2100, 2, 9)}})
        EXPECT_EQ(newYear(y), ny) << y;
    // Every year has 12 or 13 months of 29 or 30 days and runs into the next.
    for (int y = kFirstYear; y < kLastYear; ++y) {
        const int days = yearDays(y);
        EXPECT_TRUE((days >= 353 && days <= 355) || (days >= 383 && days <= 385)) << y << " " << days;
        EXPECT_EQ(leapMonth(y) ? days > 380 : days < 360, true) << y;
        EXPECT_EQ(newYear(y).addDays(days), newYear(y + 1)) << y;
        EXPECT_GE(newYear(y), d(y, 1, 21)) << y;
        EXPECT_LE(newYear(y), d(y, 2, 20)) << y;
    }
    EXPECT_EQ(lastDate(), d(2101, 1, 28));
    EXPECT_FALSE(fromSolar(d(1900, 1, 30)).isValid());
    EXPECT_FALSE(fromSolar(d(2101, 1, 29)).isValid());
    EXPECT_FALSE(fromSolar(QDate()).isValid());
    // Dates that do not exist.
    EXPECT_FALSE(toSolar({2024, 2, 1, true}).isValid());  // 2024 has no leap month
    EXPECT_FALSE(toSolar({2024, 1, 31, false}).isValid());
    EXPECT_FALSE(toSolar({2101, 1, 1, false}).isValid());
    EXPECT_EQ(monthDays(2024, 13), 0);
}

TEST(LunarTable, EveryDayRoundTrips)
{
    LunarDate prev = fromSolar(firstDate());
    for (QDate x = firstDate().addDays(1); x <= lastDate(); x = x.addDays(1)) {
        const LunarDate l = fromSolar(x);
        ASSERT_TRUE(l.isValid()) << str(x.toString(Qt::ISODate));
        ASSERT_EQ(toSolar(l), x);
        if (l.day != 1)
            ASSERT_EQ(l.day, prev.day + 1);
        else
            ASSERT_TRUE(prev.day == 29 || prev.day == 30) << str(x.toString(Qt::ISODate));
        prev = l;
    }
}

TEST(StemsAndBranches, YearsMonthsAndDays)
{
    struct Year {
        int year;
        const char *name, *animal, *element;
    } years[] = {{2024, "甲辰", "龙", "木"}, {1984, "甲子", "鼠", "木"}, {2026, "丙午", "马", "火"},
                 {1900, "庚子", "鼠", "金"}, {1949, "己丑", "牛", "土"}, {2023, "癸卯", "兔", "水"},
                 {2100, "庚申", "猴", "金"}};
    for (const Year& y : years) {
        EXPECT_EQ(stemBranchName(yearCycle(y.year)), QString::fromUtf8(y.name)) << y.year;
        EXPECT_EQ(animalOfYear(y.year), QString::fromUtf8(y.animal)) << y.year;
        EXPECT_EQ(elementOfYear(y.year), QString::fromUtf8(y.element)) << y.year;
    }
    struct Day {
        QDate date;
        const char *month, *day;
    } days[] = {
        {d(1949, 10, 1), "癸酉", "甲子"},
        {d(2000, 1, 1), "丙子", "戊午"},
        {d(2024, 2, 10), "丙寅", "甲辰"},
        {d(2024, 2, 3), "乙丑", "丁酉"},   // before 立春: still the last month of 癸卯
        {d(2024, 2, 4), "丙寅", "戊戌"},
        {d(1900, 1, 1), "丙子", "甲戌"},
    };
    for (const Day& x : days) {
        SCOPED_TRACE(x.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(stemBranchName(monthCycle(x.date)), QString::fromUtf8(x.month));
        EXPECT_EQ(stemBranchName(dayCycle(x.date)), QString::fromUtf8(x.day));
    }
}

TEST(SolarTerms, KnownDates)
{
    struct Term {
        int year, index;
        QDate date;
    } terms[] = {
        {2008, 2, d(2008, 2, 4)},  {2024, 2, d(2024, 2, 4)},   {2023, 4, d(2023, 3, 6)},
        {2000, 5, d(2000, 3, 20)}, {2026, 6, d(2026, 4, 5)},   {2020, 11, d(2020, 6, 21)},
        {2025, 23, d(2025, 12, 21)}, {2021, 23, d(2021, 12, 21)}, {2026, 23, d(2026, 12, 22)},
        {1984, 2, d(1984, 2, 4)},  {2022, 2, d(2022, 2, 4)},
    };
    for (const Term& t : terms) {
        EXPECT_EQ(solarTermDate(t.year, t.index), t.date) << t.year << " " << str(solarTermName(t.index));
        EXPECT_EQ(solarTermOn(t.date), t.index);
    }
    // All 24 terms of 2024.
    const QStringList days2024 = QStringLiteral("0106 0120 0204 0219 0305 0320 0404 0419 0505 0520 0605 0621 "
                                                "0706 0722 0807 0822 0907 0922 1008 1023 1107 1122 1206 1221")
                                     .split(QLatin1Char(' '));
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(solarTermDate(2024, i).toString(QStringLiteral("MMdd")), days2024.at(i)) << str(solarTermName(i));
    EXPECT_EQ(solarTermName(2), QStringLiteral("立春"));
    EXPECT_EQ(solarTermName(23), QStringLiteral("冬至"));
    EXPECT_EQ(solarTermOn(d(2024, 2, 5)), -1);
    // Two terms in each Gregorian month, in order, for the whole range.
    for (int y = 1900; y <= 2100; ++y)
        for (int i = 0; i < 24; ++i) {
            const QDate t = solarTermDate(y, i);
            ASSERT_EQ(t.month(), i / 2 + 1) << y << " " << i;
            ASSERT_TRUE(i % 2 ? t.day() >= 16 : t.day() <= 9) << y << " " << i;
        }
}

TEST(LunarTexts, NamesOfYearsMonthsDaysAndSigns)
{
    EXPECT_EQ(yearText(2024), QStringLiteral("二零二四年"));
    EXPECT_EQ(yearText(1900), QStringLiteral("一九零零年"));
    EXPECT_EQ(monthName(1, false), QStringLiteral("正月"));
    EXPECT_EQ(monthName(2, true), QStringLiteral("闰二月"));
    EXPECT_EQ(monthName(10, false), QStringLiteral("十月"));
    EXPECT_EQ(monthName(11, false), QStringLiteral("冬月"));
    EXPECT_EQ(monthName(12, false), QStringLiteral("腊月"));
    const char* dayNames[] = {"初一", "初二", "初九", "初十", "十一", "十九", "二十", "廿一", "廿九", "三十"};
    const int dayNumbers[] = {1, 2, 9, 10, 11, 19, 20, 21, 29, 30};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(dayName(dayNumbers[i]), QString::fromUtf8(dayNames[i]));
    EXPECT_EQ(dayName(0), QString());
    struct Sign {
        QDate date;
        const char* sign;
    } signs[] = {{d(2008, 3, 5), "双鱼座"}, {d(2024, 1, 19), "摩羯座"}, {d(2024, 1, 20), "水瓶座"},
                 {d(2024, 2, 18), "水瓶座"}, {d(2024, 2, 19), "双鱼座"}, {d(2024, 12, 21), "射手座"},
                 {d(2024, 12, 22), "摩羯座"}, {d(2024, 10, 24), "天蝎座"}, {d(2024, 8, 23), "处女座"}};
    for (const Sign& s : signs)
        EXPECT_EQ(starSign(s.date), QString::fromUtf8(s.sign)) << str(s.date.toString(Qt::ISODate));
}

TEST(FestivalRules, DefaultTableAndTheDaysItMarks)
{
    FestivalLists lists;
    lists.solar.add(QStringLiteral("0405"), QStringLiteral("旧"), 1); // emptied by the fill
    Festivals::fillDefault(lists);
    EXPECT_EQ(lists.solar.rows().size(), 110);
    EXPECT_EQ(lists.lunar.rows().size(), 13);
    EXPECT_EQ(lists.weekday.rows().size(), 13);
    EXPECT_EQ(lists.solar.find(QStringLiteral("0405")), nullptr);

    struct Case {
        QDate date;
        const char* first;
        quint32 color;
    } cases[] = {
        {d(2024, 2, 10), "春节", Festivals::kMaroon},
        {d(2024, 2, 24), "元宵节 中国情人节", Festivals::kMaroon},
        {d(2024, 2, 9), "除夕", Festivals::kMaroon},    // 腊月三十
        {d(2026, 2, 16), "除夕", Festivals::kMaroon},
        {d(2027, 2, 5), "除夕", Festivals::kMaroon},    // 腊月廿九
        {d(2023, 2, 21), "龙抬头节", Festivals::kMaroon},
        {d(2024, 9, 17), "中秋节", Festivals::kMaroon},
        {d(2026, 10, 1), "国庆节 国际音乐日 国际老人节", Festivals::kRed},
        {d(2026, 12, 25), "圣诞节", Festivals::kRed},
        {d(2026, 11, 26), "感恩节", Festivals::kGreen}, // fourth Thursday of November
        {d(2026, 1, 25), "世界麻风日", Festivals::kGreen}, // last Sunday of January
        {d(2026, 5, 10), "母亲节", Festivals::kGreen},
        {d(2026, 1, 19), "马丁·路德·金纪念日", Festivals::kGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        const QList<Festival> fs = lists.on(c.date);
        ASSERT_FALSE(fs.isEmpty());
        EXPECT_EQ(fs.first().name, QString::fromUtf8(c.first));
        EXPECT_EQ(fs.first().color, c.color);
    }
    // A day of a leap month takes no lunar festival; plain days have none.
    for (const Festival& f : lists.on(d(2023, 3, 23))) // 闰二月初二
        EXPECT_NE(f.color, Festivals::kMaroon) << str(f.name);
    EXPECT_EQ(lists.on(d(2023, 2, 21)).size(), 1); // 二月初二
    EXPECT_TRUE(lists.on(d(2026, 11, 19)).isEmpty()); // third Thursday
    EXPECT_TRUE(lists.on(d(2026, 1, 18)).isEmpty());  // not the last Sunday
    EXPECT_EQ(lists.on(d(2026, 2, 15)).size(), 0);    // the day before 除夕
    // Both lunar and solar on one day: lunar first.
    const QList<Festival> both = lists.on(d(2026, 2, 17)); // 春节 on a plain solar day
    EXPECT_EQ(both.size(), 1);
    EXPECT_EQ(Festivals::shortName(QStringLiteral("元宵节 中国情人节")), QStringLiteral("元宵节"));

    // A row with a code already present replaces the earlier one.
    lists.solar.add(QStringLiteral("1225"), QStringLiteral("圣诞"), 7);
    EXPECT_EQ(lists.solar.rows().size(), 110);
    EXPECT_EQ(lists.solar.find(QStringLiteral("1225"))->name, QStringLiteral("圣诞"));
    EXPECT_EQ(lists.solar.find(QStringLiteral("1225"))->color, 7u);
}

// The table and the solar terms agree with the rules of the calendar: a leap
// month holds no major term (大寒, 雨水 ... 冬至), and 冬至 falls in the
// eleventh month of every year.
TEST(LunarTable, LeapMonthsHoldNoMajorTermAndWinterSolsticeIsInTheEleventhMonth)
{
    for (int y = kFirstYear; y <= kLastYear; ++y)
        for (int m = 1; m <= 12; ++m)
            for (bool leap : {false, true}) {
                if (leap && leapMonth(y) != m)
                    continue;
                const QDate start = toSolar({y, m, 1, leap});
                const QDate end = start.addDays(monthDays(y, m, leap) - 1);
                int majors = 0;
                bool solstice = false;
                for (int gy = start.year(); gy <= end.year(); ++gy)
                    for (int i = 1; i < 24; i += 2) {
                        const QDate t = solarTermDate(gy, i);
                        if (t >= start && t <= end) {
                            ++majors;
                            solstice = solstice || i == 23;
                        }
                    }
                if (leap)
                    EXPECT_EQ(majors, 0) << y << " leap " << m;
                if (m == 11 && !leap)
                    EXPECT_TRUE(solstice) << y;
            }
}
