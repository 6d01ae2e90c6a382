#pragma once
// The figures behind the statistics tabs of the ledger page: the periods of
// a time chart with their labels, income and expense per period, the share of
// each category, the surplus of the available-fund accounts per period and
// the day-by-day balance of the accounts.
//
// Everything is computed over the current ledger view (dm->viewCondition with
// its bound values dm->viewParams, and dm->viewStart / viewEnd), so the charts
// count exactly what the ledger footers count. Sums are exact Money.

#include "datamodule.h"
#include "money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace Stats {

enum Unit { Day = 0, Week = 1, Month = 2, Quarter = 3, Year = 4 };

// "按天统计" ... "按年统计" and the matching chart titles "单位：天" ... "单位：年".
QStringList unitItems();
QString unitTitle(int unit);
// A stored unit index, clamped to 0-4 (anything unreadable is "by day").
int unitFromSetting(const QString& value);

struct Period {
    QDate start;   // first day counted
    QDate end;     // last day counted
    QString label; // bottom-axis label
};

// Cuts start..end into periods of the unit. labelDay (0 Monday ... 6 Sunday)
// places the label of a week; labelMonth (0 first, 1 middle, 2 last month)
// the label of a quarter. Every period is labelled as a whole period, even
// when the span cuts it short.
QVector<Period> periods(int unit, const QDate& start, const QDate& end, int labelDay = 0, int labelMonth = 0);

struct IncomeExpense {
    QVector<Period> periods;
    QVector<Money> income;  // absolute value per period
    QVector<Money> expense;
};

struct Slice {
    QString typeId;
    QString name;
    Money value; // absolute value of the category's sum
};

struct Surplus {
    QVector<Period> periods;
    QVector<Money> values; // signed
};

struct BalanceHistory {
    QVector<QDate> days;
    QVector<Money> inside;  // available-fund accounts
    QVector<Money> outside; // funds outside the books (FundFlag)
};

class Statistics {
public:
    explicit Statistics(TDataModule1* dm);

    // "Today" for an empty ledger; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // The span of the time charts: the view's range, else the user's first to
    // last entry, else today alone.
    void span(QDate* start, QDate* end);

    int labelDay();   // setting 16, 0-6
    int labelMonth(); // setting 17, 0-2

    // Income (categories 3..) and expense (2..) of the entries counted in
    // statistics, per period of the span.
    IncomeExpense incomeExpense(int unit);
    // One slice per category of the counted entries of the view, by code; total
    // receives the sum of the slices.
    QVector<Slice> categoryShares(Money* total);
    // Signed sum per period of the view's entries in the available-fund accounts.
    Surplus surplus(int unit);
    // Day by day the sum of the latest balances of the available-fund accounts
    // and of the outside-the-books accounts; only `account` when given.
    BalanceHistory balances(const QString& account);

    // The condition of the view ("UserID = ?" of the current user before the
    // first ledger query) with its values.
    QString condition() const;
    QVariantList conditionParams() const;

private:
    // Signed sums per day of a grouped query, walked into the periods.
    QVector<Money> perPeriod(const QString& filter, const QVariantList& filterParams, const QVector<Period>& ps);

    TDataModule1* dm_;
};

} // namespace Stats
