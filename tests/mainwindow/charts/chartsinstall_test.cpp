// The statistics tabs in the main window: installed, redrawn after the node
// or the unit changes, the surplus colours and the balance buttons.

#include "chartsinstall.h"
#include "chartview.h"
#include "mainfixture.h"
#include "statisticstabs.h"

#include <QAbstractButton>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QTabWidget>
#include <QTest>

namespace {

QBarSeries* bars(ChartView* v) { return qobject_cast<QBarSeries*>(v->chart()->series().value(0)); }

} // namespace

class ChartsInstall : public MainFixture {
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        seedCatalogue();
        dm->writeSetting(6, QStringLiteral("6")); // all records
        entry(1, "2026-01-05", 0, 250000, "101", "201", 987500);
        entry(2, "2026-02-10", 10000000, 0, "102", "301", 1500000);
        entry(3, "2026-02-11", 0, 300000, "101", "202", 957500);
        open();
        installCharts(*win, *dm, folder.messages, files, desktop);
        tabs = statisticsTabs(*win);
        ASSERT_NE(tabs, nullptr);
    }
    void entry(int id, const char* date, qint64 in, qint64 out, const char* account, const char* category,
               qint64 balance)
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, 'x', ?, NULL, 1, 1, ?)"),
                             {id, QString::fromLatin1(date), in, out, QString::fromLatin1(account),
                              QString::fromLatin1(category), balance, in + out}));
    }
    void showTab(QWidget* page) { win->PageControl1->setCurrentWidget(page); }
    StatisticsTabs* tabs = nullptr;
};

TEST_F(ChartsInstall, FillsTheTabsAndFollowsTheNode)
{
    QTabWidget* pc = win->PageControl1;
    ASSERT_EQ(pc->count(), 5);
    QStringList captions;
    for (int i = 0; i < pc->count(); ++i)
        captions << pc->tabText(i);
    EXPECT_EQ(captions, (QStringList{"收支变化", "分类统计", "家庭成员", "盈余统计", "余额变化"}));
    EXPECT_EQ(tabs->Chart5Label->text(), QStringLiteral("功能尚未完成"));
    installCharts(*win, *dm, folder.messages, files, desktop); // a second call adds nothing
    EXPECT_EQ(pc->count(), 5);

    // The funds root: all five tabs; the income / expense chart drawn by day.
    EXPECT_TRUE(pc->isTabVisible(3));
    EXPECT_TRUE(pc->isTabVisible(4));
    EXPECT_EQ(pc->currentIndex(), 0);
    EXPECT_FALSE(tabs->ComboBox3->isHidden());
    EXPECT_TRUE(tabs->ComboBox4->isHidden());
    EXPECT_EQ(tabs->Chart1->titleText(), QStringLiteral("单位：天"));
    ASSERT_NE(bars(tabs->Chart1), nullptr);
    EXPECT_EQ(bars(tabs->Chart1)->barSets().at(0)->count(), 38); // 2026-1-5 .. 2026-2-11

    // The pie, redrawn when another node is chosen.
    showTab(tabs->TabSheet2);
    EXPECT_TRUE(tabs->ComboBox3->isHidden());
    EXPECT_EQ(tabs->Chart2->footText(), QStringLiteral("合计： 1,055.00"));
    select(QStringLiteral("201"));
    EXPECT_EQ(tabs->Chart2->footText(), QStringLiteral("合计： 25.00"));
    auto* pie = qobject_cast<QPieSeries*>(tabs->Chart2->chart()->series().value(0));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->count(), 1);
    EXPECT_TRUE(pie->slices().at(0)->label().startsWith(QStringLiteral("支出1 100.0%")));
    // An expense category has no surplus or balance tab.
    EXPECT_FALSE(pc->isTabVisible(3));
    EXPECT_FALSE(pc->isTabVisible(4));

    // A new entry and the list refresh that follows it redraw the tab.
    entry(4, "2026-02-12", 0, 10000, "101", "201", 956500);
    dm->requestPageRefresh();
    EXPECT_EQ(tabs->Chart2->footText(), QStringLiteral("合计： 26.00"));
    EXPECT_TRUE(folder.messages.shown.isEmpty());
}

TEST_F(ChartsInstall, UnitBoxWritesItsSettingAndRedraws)
{
    QDir().mkpath(folder.path(QStringLiteral("Sound")));
    QFile wav(folder.path(QStringLiteral("Sound/push.wav")));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.close();
    folder.sound.played.clear();
    tabs->ComboBox3->setCurrentIndex(2);
    emit tabs->ComboBox3->activated(2);
    EXPECT_EQ(dm->readSetting(7), QStringLiteral("2"));
    EXPECT_EQ(folder.sound.played.size(), 1);
    EXPECT_EQ(tabs->Chart1->titleText(), QStringLiteral("单位：月"));
    QBarSeries* s = bars(tabs->Chart1);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->barSets().at(0)->count(), 2);
    EXPECT_DOUBLE_EQ(s->barSets().at(0)->at(1), 1000.0); // income in February
    EXPECT_DOUBLE_EQ(s->barSets().at(1)->at(0), 25.0);   // expense in January
    EXPECT_DOUBLE_EQ(s->barSets().at(1)->at(1), 30.0);

    // The surplus by month: January is negative and drawn red.
    showTab(tabs->TabSheet4);
    EXPECT_FALSE(tabs->ComboBox4->isHidden());
    EXPECT_TRUE(tabs->ComboBox3->isHidden());
    tabs->ComboBox4->setCurrentIndex(2);
    emit tabs->ComboBox4->activated(2);
    EXPECT_EQ(dm->readSetting(8), QStringLiteral("2"));
    s = bars(tabs->Chart4);
    ASSERT_NE(s, nullptr);
    QBarSet* set = s->barSets().at(0);
    ASSERT_EQ(set->count(), 2);
    EXPECT_DOUBLE_EQ(set->at(0), -25.0);
    EXPECT_DOUBLE_EQ(set->at(1), 970.0);
    EXPECT_TRUE(set->isBarSelected(0));
    EXPECT_FALSE(set->isBarSelected(1));
    EXPECT_EQ(set->selectedColor(), QColor(255, 0, 0));

    // Its hint goes to status panel 0 while it has the focus.
    tabs->Chart4->onFocus(true);
    EXPECT_EQ(win->statusText(0), tabs->Chart4->hint);
    tabs->Chart4->onFocus(false);
    EXPECT_EQ(win->statusText(0), QString());
}

TEST_F(ChartsInstall, BalanceChartOfTheFundsAndOfOneAccount)
{
    showTab(tabs->TabSheet3);
    EXPECT_EQ(tabs->Chart3->titleText(), QStringLiteral("帐户：可用资金"));
    EXPECT_FALSE(tabs->SpeedButton1->isHidden());
    QList<QAbstractSeries*> series = tabs->Chart3->chart()->series();
    ASSERT_EQ(series.size(), 2);
    EXPECT_TRUE(series[0]->isVisible());
    EXPECT_FALSE(series[1]->isVisible());
    auto* inside = qobject_cast<QAreaSeries*>(series[0]);
    ASSERT_EQ(inside->upperSeries()->count(), 38);
    EXPECT_DOUBLE_EQ(inside->upperSeries()->at(0).y(), 98.75);
    EXPECT_DOUBLE_EQ(inside->upperSeries()->at(37).y(), 245.75);

    QTest::mouseClick(tabs->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(tabs->Chart3->titleText(), QStringLiteral("帐户：帐外资金"));
    EXPECT_FALSE(series[0]->isVisible());
    EXPECT_TRUE(series[1]->isVisible());

    select(QStringLiteral("102"));
    EXPECT_EQ(win->PageControl1->currentWidget(), tabs->TabSheet3);
    EXPECT_EQ(tabs->Chart3->titleText(), QStringLiteral("帐户：工资卡"));
    EXPECT_TRUE(tabs->SpeedButton1->isHidden());
    series = tabs->Chart3->chart()->series();
    inside = qobject_cast<QAreaSeries*>(series.value(0));
    ASSERT_NE(inside, nullptr);
    // The card's entry of 2-10 only: the line before and after it.
    EXPECT_DOUBLE_EQ(inside->upperSeries()->at(0).y(), 0.0);
    EXPECT_DOUBLE_EQ(inside->upperSeries()->at(inside->upperSeries()->count() - 1).y(), 150.0);
}
