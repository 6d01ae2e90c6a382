#pragma once
// Personal income tax: the bracket table Tax_Rate (created with its seven
// rows when missing), tax on wages, on the annual one-off bonus and on
// labour remuneration, and the checked saving of bracket rows.

#include "toolsdb.h"

#include <QDate>
#include <QMap>

namespace TaxCalc {

// Creates and seeds Tax_Rate when the file lacks it (in one transaction).
// Returns true when it was created now.
bool ensureTable(ToolConnection& c, const QDate& today);

struct Bracket {
    bool found = false;
    double rate = 0;      // whole percent
    double deduction = 0; // quick deduction
};
// The first bracket whose ceiling is at least `amount`.
Bracket bracket(ToolConnection& c, double amount);

struct WageTax {
    double totalIncome = 0;
    double taxable = 0;
    QString rateText; // "0.00" below the threshold, empty above every ceiling
    double tax = 0;
};
WageTax wage(ToolConnection& c, double salary, double otherIncome, double deductions, double threshold);

struct PartTax {
    double taxable = 0;
    QString rateText;
    double tax = 0;
};
// commonMethod: "大众算法" (deduction × 12); otherwise "猪头算法".
PartTax bonus(ToolConnection& c, double bonus, double wageTaxable, bool commonMethod);
PartTax remuneration(double reward);

struct Totals {
    double sumTax = 0;
    double postIncome = 0;
};
Totals totals(const WageTax& w, double deductions, double bonusAmount, const PartTax& b, double reward,
              const PartTax& r);

struct SaveResult {
    bool ok = false;
    QString message;
    QString field;
    QVariant grade;
};
// Checks and writes one bracket row; originalGrade is null for a new row.
SaveResult save(ToolConnection& c, const QVariant& originalGrade, const QMap<QString, QString>& values,
                const QDate& today);
bool remove(ToolConnection& c, const QVariant& grade);

} // namespace TaxCalc
