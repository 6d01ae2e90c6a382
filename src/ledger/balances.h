#pragma once
// The running-balance operations on an account's entries, shared by the
// posting rules, the imports and the data check. Positions are by date,
// then entry number.

#include "money.h"

#include <QDate>
#include <QString>
#include <QVariant>

class TDataModule1;

namespace Balances {

// The Balance of the account's latest entry before (date, actId); 0 when none.
Money before(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, qint64 actId);

// Adds delta to the Balance of every entry of the account after (date, actId).
bool shiftEntries(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, Money delta,
                  qint64 actId);

// shiftEntries, and the account's own balance in the catalogue.
bool shift(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, Money delta,
           qint64 actId);

} // namespace Balances
