#include "balances.h"

#include "datamodule.h"

namespace Balances {

Money before(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, qint64 actId)
{
    // "ActDate <= d" first lets the position index walk backwards from d.
    if (!dm.query(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActDate <= ? "
                                 "AND (ActDate < ? OR ActID < ?) ORDER BY ActDate DESC, ActID DESC LIMIT 1"),
                  {user, account, date, date, actId})
        || dm.ADOQuery1().isEmpty())
        return Money();
    return dm.ADOQuery1().money(0, QStringLiteral("Balance"));
}

bool shiftEntries(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, Money delta,
                  qint64 actId)
{
    return dm.exec(QStringLiteral("UPDATE AC_List SET Balance = Balance + ? WHERE UserID = ? AND TypeID = ? "
                                  "AND ActDate >= ? AND (ActDate > ? OR ActID > ?)"),
                   {delta.raw(), user, account, date, date, actId});
}

bool shift(TDataModule1& dm, const QVariant& user, const QString& account, const QDate& date, Money delta,
           qint64 actId)
{
    if (delta.isZero())
        return true;
    return shiftEntries(dm, user, account, date, delta, actId)
           && dm.exec(QStringLiteral("UPDATE AC_Type SET Balance = Balance + ? WHERE UserID = ? AND TypeID = ?"),
                      {delta.raw(), user, account});
}

} // namespace Balances
