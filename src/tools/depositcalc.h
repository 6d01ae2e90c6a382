#pragma once
// Interest on a deposit over a date range: whole terms at the term's rate
// (rolled over with or without the interest, or not at all), the days left
// at the demand rate on a 360-day year, then the interest tax.

#include <QDate>
#include <QString>
#include <QVector>

namespace DepositCalc {

enum class RollOver { PrincipalAndInterest = 0, Principal = 1, None = 2 };

// Months of a term as the terms table holds them: "12", "M6", "Y1"; 0 for
// anything else (a demand deposit).
int termMonths(const QString& months);

struct Input {
    QString principal;
    QString rate;      // annual percent of the chosen term
    QString taxRate;   // percent
    QString from;      // dates as typed
    QString to;
    int months = 0;    // of the chosen term
    double demandRate = 0; // annual percent for the days after the last whole term
    RollOver mode = RollOver::PrincipalAndInterest;
};

enum class Field { None, Principal, Rate, From, To, TaxRate };

struct Row {
    int period = 0;
    QDate from, to;
    double principal = 0;
    double interest = 0;
};

struct Result {
    Field badField = Field::None;
    QString message;
    QVector<Row> rows;
    double interest = 0;
    double tax = 0;
    double afterTax = 0;
};

Result compute(const Input& in);

QStringList headings();

} // namespace DepositCalc
