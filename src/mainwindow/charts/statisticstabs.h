#pragma once
// The statistics tabs below the ledger grid: income and expense over time
// (Chart1), the category pie (Chart2), family members (Chart5, not built
// yet), the surplus of the available-fund accounts (Chart4) and the balance
// of the accounts day by day (Chart3), with the unit boxes ComboBox3 /
// ComboBox4 and the balance chart's two buttons at the top right.

#include "statistics.h"

#include <QFont>
#include <QObject>
#include <functional>

class ChartView;
class QAbstractButton;
class QComboBox;
class QLabel;
class QTabWidget;
class QWidget;

class StatisticsTabs : public QObject {
    Q_OBJECT
public:
    // Adds the five tabs to `tabs` (and its corner box); parented to `tabs`.
    StatisticsTabs(TDataModule1* dm, QTabWidget* tabs);

    Stats::Statistics stats;

    // The current node as the balance chart needs it.
    struct Node {
        QString typeId;
        QString typeFlag;
        QString text;
        bool fund = false;
    };
    std::function<Node()> currentNode;
    // Status panel 0 (the surplus chart's hint while it has the focus).
    std::function<void(const QString&)> setStatus0;

    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet5, *TabSheet4, *TabSheet3;
    ChartView* Chart1; // income / expense
    ChartView* Chart2; // category pie
    ChartView* Chart5; // family members
    ChartView* Chart4; // surplus
    ChartView* Chart3; // balance
    QLabel* Chart5Label;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QAbstractButton* SpeedButton1; // "可用资金"
    QAbstractButton* SpeedButton2; // "帐外资金"

    // The tab change: hides the unit boxes and the readouts, then draws the active tab.
    void redraw();
    void drawIncomeExpense(int unit);
    void drawPie();
    void drawSurplus(int unit);
    void drawBalance();
    void showBalanceSeries(int index);
    // The chosen font of the window for the charts' texts.
    void applyFont(const QFont& f);

private:
    void unitChanged(QComboBox* box, int setting, int index);
    void setupTimeChart(ChartView* v, const QColor& top);
    TDataModule1* dm_;
    QFont font_;
    bool fontSet_ = false;
    bool drawing_ = false;
};
