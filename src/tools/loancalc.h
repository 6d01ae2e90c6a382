#pragma once
// Loan repayment schedules: equal instalments, equal principal, and
// principal with interest at maturity. Computed in double precision; the
// figures are rounded to cents only where they are shown.

#include <QString>
#include <QVector>

namespace LoanCalc {

// The longest loan term taken, in years.
constexpr int kMaxYears = 1000;

enum class Method { EqualInstalment = 0, EqualPrincipal = 1, AtMaturity = 2 };

// The loan tab's fields as typed.
struct Input {
    QString principal;
    QString years;
    QString rate;       // annual, percent
    QString firstPeriod;
    QString lastPeriod;
};

enum class Field { None, Principal, Years, Rate, FirstPeriod, LastPeriod };

struct Checked {
    double principal = 0;
    int years = 0;
    double rate = 0;
    int first = 0;
    int last = 0;
    Field badField = Field::None;
    QString message; // empty when the input is usable
};

// Reads and checks the fields, one failure at a time in the fixed order.
Checked check(const Input& in);

// The period fields that follow a years value: {1, years*12}, or empty
// texts when the years are not a whole number above 0.
QPair<QString, QString> periodsForYears(const QString& yearsText);

struct Row {
    int period = 0;
    double payment = 0;
    double principal = 0;
    double interest = 0;
    double remaining = 0; // owed at the start of the period
};

struct Schedule {
    QVector<Row> rows;     // periods first..last
    double totalPayment = 0;
    double totalInterest = 0;
};

Schedule compute(double principal, int years, double annualRatePercent, int first, int last, Method m);

// The heading of the schedule columns.
QStringList headings();

} // namespace LoanCalc
