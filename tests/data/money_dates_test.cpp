#include "dates.h"
#include "money.h"

#include <gtest/gtest.h>

TEST(Money, DisplayGroupsThousandsWithTwoDecimals)
{
    const struct { double value; const char* shown; } cases[] = {
        {1234.5, "1,234.50"}, {-30, "-30.00"}, {0, "0.00"}, {1234567.891, "1,234,567.89"},
        {0.005, "0.01"}, {-0.004, "0.00"}, {999.999, "1,000.00"}, {100, "100.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Money::fromDouble(c.value).display(), QString::fromUtf8(c.shown)) << c.value;
}

TEST(Money, ParsesTypedAmountsAndRefusesOthers)
{
    Money m;
    ASSERT_TRUE(Money::parse(QStringLiteral("1,234.50"), &m));
    EXPECT_EQ(m.raw(), 12345000);
    ASSERT_TRUE(Money::parse(QStringLiteral(" -30 "), &m));
    EXPECT_EQ(m.raw(), -300000);
    ASSERT_TRUE(Money::parse(QStringLiteral(".5"), &m));
    EXPECT_EQ(m.raw(), 5000);
    ASSERT_TRUE(Money::parse(QStringLiteral("0.00005"), &m)); // rounds at the fifth decimal
    EXPECT_EQ(m.raw(), 1);
    for (const char* bad : {"", "abc", "1.2.3", "12a", "-", "1e5", "１２"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad), &m)) << bad;
}

TEST(Money, SumsStayExactOverManyEdits)
{
    Money total;
    for (int i = 0; i < 100000; ++i)
        total += Money::fromDouble(0.1);
    EXPECT_EQ(total, Money::fromDouble(10000));
    EXPECT_TRUE(Money::fromDouble(1.004).nearlyEquals(Money::fromDouble(1.0)));
    EXPECT_FALSE(Money::fromDouble(1.01).nearlyEquals(Money::fromDouble(1.0)));
    EXPECT_EQ(Money::fromDouble(-12.5).plain(), QStringLiteral("-12.5"));
    EXPECT_EQ(Money::fromDouble(100).plain(), QStringLiteral("100"));
}

TEST(Dates, EveryFormOfTheDateRoutine)
{
    const QDate d(2009, 1, 5);
    EXPECT_EQ(Dates::format(Dates::kShort, d), QStringLiteral("2009-1-5"));
    EXPECT_EQ(Dates::format(Dates::kMonth, d), QStringLiteral("2009-01"));
    EXPECT_EQ(Dates::format(Dates::kYear, d), QStringLiteral("2009"));
    EXPECT_EQ(Dates::format(Dates::kCompact, d), QStringLiteral("20090105"));
    EXPECT_EQ(Dates::format(Dates::kChinese, d), QStringLiteral("2009年1月5日"));
    EXPECT_EQ(Dates::format(Dates::kLong, d), QStringLiteral("2009年1月5日 星期一"));
    EXPECT_EQ(Dates::format(QStringLiteral("dd.mm.yy"), d), QString());
    EXPECT_EQ(Dates::format(Dates::kLong, QDate(2008, 3, 7)), QStringLiteral("2008年3月7日 星期五"));
    EXPECT_EQ(Dates::format(Dates::kLong, QDate(2008, 3, 9)), QStringLiteral("2008年3月9日 星期天"));
    EXPECT_EQ(Dates::format(Dates::kShort, QDate(33, 2, 3)), QStringLiteral("0033-2-3"));
}

TEST(Dates, ParsesTheShortFormAndRefusesHalfTypedText)
{
    EXPECT_EQ(Dates::parse(QStringLiteral("2008-3-7")), QDate(2008, 3, 7));
    EXPECT_EQ(Dates::parse(QStringLiteral("2008-03-07")), QDate(2008, 3, 7));
    EXPECT_EQ(Dates::parse(QStringLiteral("2008/03/07 00:00:00")), QDate(2008, 3, 7));
    for (const char* bad : {"", "2008-  -  ", "2008-13-01", "2008-02-30", "08-3-7", "abc", "2008-3"})
        EXPECT_FALSE(Dates::parse(QString::fromUtf8(bad)).isValid()) << bad;
}
