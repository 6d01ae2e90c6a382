#pragma once
// How the ledger, plan and fulfilment fields are shown and typed: money with
// thousands separators and two decimals (an empty cell for the unused side of
// an entry), dates in the short form "2008-3-7" typed through the mask
// "9999-99-99" whatever the regional settings, plan months, fulfilment
// percentages. Refusals leave the field as it was and say why in *error.

#include "money.h"

#include <QDate>
#include <QString>
#include <QVariant>

class TDataModule1;
class RecordSet;

namespace FieldRules {

// The mask the date editors use ("!9999/99/99;1; " with "-" as separator).
// Editors hand over the text with its blanks (QLineEdit::displayText()), so
// a half-typed date is seen as such and refused.
inline const QString kDateMask = QStringLiteral("9999-99-99; ");

// Installs the get-text and set-text hooks on ADOTable1, ADOTable2 and ADOQuery8.
void install(TDataModule1* dm);

// "%g is not a valid value for field '%s'. The allowed range is %g to %g"
QString rangeMessage(double value, const QString& field, double low, double high);
// "'%s' is not a valid date"
QString dateMessage(const QString& text);

// Money display: "1,234.50"; with emptyWhenZero an amount below 0.01 shows "".
QString moneyText(Money m, bool emptyWhenZero);
// Money entry: empty text is 0; refuses non-numbers and values outside [low, high].
bool parseMoney(const QString& text, const QString& field, qint64 low, qint64 high, Money* out, QString* error);
// Date entry through the mask: "2008-03-07", "2008 03 07", "2008-3-7"; a
// half-typed mask ("2008-03-0 ") is refused.
bool parseDate(const QString& text, QDate* out, QString* error);
// Fulfilment display: 85.5 -> "85.50%".
QString percentText(double v);

// A stored money value as the record sets hold it (Money, or raw 1/10000 integer).
Money toMoney(const QVariant& v);

} // namespace FieldRules
