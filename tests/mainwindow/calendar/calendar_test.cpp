// The month calendar, the calendar page and its place in the main window.
#include "../mainfixture.h"
#include "calendarinstall.h"
#include "calendarpage.h"
#include "lsscalendar.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {
QDate d(int y, int m, int day) { return QDate(y, m, day); }

class CalendarFixture : public ::testing::Test {
protected:
    void SetUp() override { TLssCalendar::fixedToday = d(2026, 12, 11); }
    void TearDown() override { TLssCalendar::fixedToday = QDate(); }
};

void click(TLssCalendar& cal, const QDate& date)
{
    const QRect r = cal.cellRect(date);
    ASSERT_TRUE(r.isValid()) << date.toString(Qt::ISODate).toStdString();
    QTest::mouseClick(&cal, Qt::LeftButton, {}, r.center());
}
} // namespace

using MonthView = CalendarFixture;

TEST_F(MonthView, ShowsLunarDaysTermsAndFestivalsOfTheMonth)
{
    TLssCalendar cal;
    Festivals::fillDefault(cal.festivals());
    cal.resize(700, 520);
    cal.setDate(d(2025, 7, 3));
    EXPECT_EQ(cal.firstShown(), d(2025, 6, 29)); // the Sunday before 1 July
    struct Cell {
        QDate date;
        const char* text;
        bool festival;
    } cells[] = {
        {d(2025, 7, 3), "初九", false},
        {d(2025, 7, 22), "大暑", false},          // solar term
        {d(2025, 7, 25), "闰六月", false},        // first day of the leap month
        {d(2025, 7, 24), "三十", false},
        {d(2025, 7, 1), "香港回归纪念", true},    // first name of a solar festival
        {d(2025, 7, 11), "世界人口日", true},
        {d(2025, 8, 1), "八一建军节", true},      // a day of the next month in the grid
        {d(2025, 6, 29), "初五", false},
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        const TLssCalendar::DayLabel l = cal.dayLabel(c.date);
        EXPECT_EQ(l.text, QString::fromUtf8(c.text));
        EXPECT_EQ(l.festival, c.festival);
        EXPECT_TRUE(cal.cellRect(c.date).isValid());
    }
    EXPECT_EQ(cal.dayLabel(d(2025, 7, 1)).color, QColor(Qt::red));
    EXPECT_EQ(cal.dayLabel(d(2025, 8, 29)).text, QStringLiteral("七夕中国情人节"));
    EXPECT_EQ(cal.dayLabel(d(2025, 8, 29)).color, QColor(128, 0, 0));
    EXPECT_EQ(cal.dayLabel(d(2026, 11, 26)).color, QColor(0, 128, 0));
    EXPECT_FALSE(cal.cellRect(d(2025, 8, 10)).isValid()); // not in the grid
    const QString hint = cal.hint(d(2025, 10, 6));
    EXPECT_TRUE(hint.contains(QStringLiteral("2025年10月6日"))) << hint.toStdString();
    EXPECT_TRUE(hint.contains(QStringLiteral("农历二零二五年八月十五"))) << hint.toStdString();
    EXPECT_TRUE(hint.contains(QStringLiteral("中秋节"))) << hint.toStdString();
    EXPECT_TRUE(hint.contains(QStringLiteral("乙巳年【蛇年】"))) << hint.toStdString();
    EXPECT_FALSE(cal.grab().isNull());
}

TEST_F(MonthView, ClicksKeysAndArrowsMoveTheDate)
{
    TLssCalendar cal;
    cal.resize(700, 520);
    QSignalSpy changed(&cal, &TLssCalendar::dateChanged);
    EXPECT_EQ(cal.date(), d(2026, 12, 11)); // starts at today

    click(cal, d(2026, 12, 24));
    EXPECT_EQ(cal.date(), d(2026, 12, 24));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toDate(), d(2026, 12, 24));
    click(cal, d(2027, 1, 2)); // a day of the next month switches the month
    EXPECT_EQ(cal.date(), d(2027, 1, 2));
    EXPECT_EQ(cal.firstShown(), d(2026, 12, 27));

    QTest::mouseClick(cal.previousButton(), Qt::LeftButton);
    EXPECT_EQ(cal.date(), d(2026, 12, 2));
    QTest::mouseClick(cal.nextButton(), Qt::LeftButton);
    QTest::mouseClick(cal.nextButton(), Qt::LeftButton);
    EXPECT_EQ(cal.date(), d(2027, 2, 2));

    QTest::keyClick(&cal, Qt::Key_Right);
    EXPECT_EQ(cal.date(), d(2027, 2, 3));
    QTest::keyClick(&cal, Qt::Key_Up);
    EXPECT_EQ(cal.date(), d(2027, 1, 27));
    QTest::keyClick(&cal, Qt::Key_PageDown);
    EXPECT_EQ(cal.date(), d(2027, 2, 27));
    QTest::keyClick(&cal, Qt::Key_Home);
    EXPECT_EQ(cal.date(), d(2026, 12, 11));

    // Year or month alone keep the day, or take the last day of a short month.
    cal.setDate(d(2024, 1, 31));
    cal.setMonth(2);
    EXPECT_EQ(cal.date(), d(2024, 2, 29));
    cal.setYear(2023);
    EXPECT_EQ(cal.date(), d(2023, 2, 28));
    // The range ends are kept.
    cal.setDate(d(2100, 12, 20));
    QTest::keyClick(&cal, Qt::Key_PageDown);
    EXPECT_EQ(cal.date(), d(2100, 12, 31));
    cal.setDate(d(1899, 5, 1));
    EXPECT_EQ(cal.date(), d(1900, 1, 1));
    EXPECT_EQ(cal.dayLabel(d(1900, 1, 1)).text, QString()); // before the lunar table
    const int before = changed.size();
    cal.setDate(QDate());
    cal.setDate(d(1900, 1, 1));
    EXPECT_EQ(changed.size(), before); // no change, no notification
}

using CalendarPageTest = CalendarFixture;

TEST_F(CalendarPageTest, TextsBoxesAndBackToToday)
{
    CalendarPage page;
    page.resize(900, 600);
    page.show();
    EXPECT_EQ(page.LssCalendar1->date(), d(2026, 12, 11));
    EXPECT_EQ(page.YearComboBox->count(), 201);
    EXPECT_EQ(page.YearComboBox->itemText(0), QStringLiteral("1900"));
    EXPECT_EQ(page.YearComboBox->itemText(200), QStringLiteral("2100"));
    EXPECT_EQ(page.MonthComboBox->count(), 12);
    EXPECT_EQ(page.YearComboBox->currentText(), QStringLiteral("2026"));
    EXPECT_EQ(page.MonthComboBox->currentText(), QStringLiteral("12"));
    EXPECT_EQ(page.LunarLabel->text(), QStringLiteral("二零二六年冬月初三    "));
    EXPECT_EQ(page.StemBranchLabel->text(), QStringLiteral("丙午(火马)年庚子月己未日    "));
    EXPECT_EQ(page.LssCalendar1->festivals().solar.rows().size(), 110);

    // 5 March 2008: the weekday and the sign with no space between.
    page.LssCalendar1->setDate(d(2008, 3, 5));
    EXPECT_EQ(page.SolarLabel->text(), QStringLiteral("2008年3月5日 星期三双鱼座"));
    EXPECT_EQ(page.LunarLabel->text(), QStringLiteral("二零零八年正月廿八    "));
    EXPECT_EQ(page.StemBranchLabel->text(), QStringLiteral("戊子(土鼠)年乙卯月甲辰日    "));
    EXPECT_EQ(page.YearComboBox->currentText(), QStringLiteral("2008"));
    EXPECT_EQ(page.MonthComboBox->currentText(), QStringLiteral("3"));

    // A leap month shows 闰.
    page.LssCalendar1->setDate(d(2023, 3, 22));
    EXPECT_EQ(page.LunarLabel->text(), QStringLiteral("二零二三年闰二月初一    "));

    // Year 2100 and month 12 in the boxes move the calendar there.
    page.YearComboBox->setCurrentText(QStringLiteral("2100"));
    EXPECT_EQ(page.LssCalendar1->date(), d(2100, 3, 22));
    page.MonthComboBox->setCurrentText(QStringLiteral("12"));
    EXPECT_EQ(page.LssCalendar1->date(), d(2100, 12, 22));
    EXPECT_EQ(page.SolarLabel->text(), QStringLiteral("2100年12月22日 星期三摩羯座"));
    EXPECT_EQ(page.YearComboBox->currentText(), QStringLiteral("2100"));

    QTest::mouseClick(page.TodayButton, Qt::LeftButton);
    EXPECT_EQ(page.LssCalendar1->date(), d(2026, 12, 11));
    EXPECT_EQ(page.YearComboBox->currentText(), QStringLiteral("2026"));
    EXPECT_EQ(page.MonthComboBox->currentText(), QStringLiteral("12"));
    EXPECT_EQ(page.SolarLabel->text(), QStringLiteral("2026年12月11日 星期五射手座"));

    // A click in the month view updates the header.
    const QRect r = page.LssCalendar1->cellRect(d(2026, 12, 22));
    QTest::mouseClick(page.LssCalendar1, Qt::LeftButton, {}, r.center());
    EXPECT_EQ(page.LunarLabel->text(), QStringLiteral("二零二六年冬月十四    "));
    EXPECT_TRUE(page.StemBranchLabel->text().startsWith(QStringLiteral("丙午(火马)年庚子月")));
}

class CalendarInMainWindow : public MainFixture {
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        TLssCalendar::fixedToday = d(2026, 12, 11);
    }
    void TearDown() override
    {
        TLssCalendar::fixedToday = QDate();
        MainFixture::TearDown();
    }
};

TEST_F(CalendarInMainWindow, PageAndFestivalGrid)
{
    seedCatalogue();
    TMainFrm* w = open();
    installCalendar(*w, *dm, folder.messages, files, desktop);
    CalendarPage* page = calendarPageOf(*w);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->parentWidget(), w->calendarArea);
    EXPECT_EQ(w->findChild<TLssCalendar*>(QStringLiteral("LssCalendar1")), page->LssCalendar1);

    select(QStringLiteral("9"));
    EXPECT_EQ(w->currentPage(), static_cast<QWidget*>(w->Panel8));

    QAbstractItemModel* m = w->DBGridEh2->model();
    ASSERT_NE(m, nullptr);
    const QStringList titles = {QStringLiteral("启用"), QStringLiteral("日期"), QStringLiteral("说明"),
                                QStringLiteral("间隔"), QStringLiteral("单位")};
    ASSERT_EQ(m->columnCount(), 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), titles.at(c));
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_EQ(w->DBGridEh2->horizontalHeader()->sortIndicatorSection(), 1);
    auto* footer = w->GroupBox4->findChild<QLabel*>(QStringLiteral("DBGridEh2FooterLabel"));
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->text(), QStringLiteral("合计"));
    EXPECT_EQ(w->GroupBox4->title(), QStringLiteral("节日设置"));

    // Optional picture of the page for a visual check.
    const QString shots = qEnvironmentVariable("ZELKO_CALENDAR_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        w->showNormal();
        w->resize(1280, 800);
        QTest::qWait(50);
        w->grab().save(shots + QStringLiteral("/mainwindow.png"));
        page->LssCalendar1->setDate(d(2026, 2, 10));
        QTest::qWait(20);
        w->grab().save(shots + QStringLiteral("/february.png"));
    }
}
