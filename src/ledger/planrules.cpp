// The budget plan's branches of the shared dataset events, its field rules
// and the recalculation of the figures and the monthly fulfilment.
#include "ledgerrules.h"

namespace {

struct RulesScope {
    explicit RulesScope(int& n) : n_(n) { ++n_; }
    ~RulesScope() { --n_; }
    int& n_;
};

const QString kFixedIn = QStringLiteral("固定收入");
const QString kFixedOut = QStringLiteral("固定支出");
const QString kOnceIn = QStringLiteral("单项收入");
const QString kOnceOut = QStringLiteral("单项支出");

// a / n rounded to the nearest 1/10000, halves away from zero.
Money divide(Money a, qint64 n)
{
    if (n == 0)
        return Money();
    if (n < 0) {
        a = -a;
        n = -n;
    }
    const qint64 raw = a.raw();
    const qint64 mag = raw < 0 ? -raw : raw;
    qint64 q = mag / n;
    if ((mag % n) * 2 >= n)
        ++q;
    return Money::fromRaw(raw < 0 ? -q : q);
}

// a / n rounded to whole cents, halves to even.
Money divideToCents(Money a, qint64 n)
{
    if (n <= 0)
        return Money();
    const qint64 unit = 100 * n; // one cent is 100 raw units
    const qint64 raw = a.raw();
    const qint64 mag = raw < 0 ? -raw : raw;
    qint64 q = mag / unit;
    const qint64 r = mag % unit;
    if (r * 2 > unit || (r * 2 == unit && (q % 2) == 1))
        ++q;
    return Money::fromRaw((raw < 0 ? -q : q) * 100);
}

} // namespace

void LedgerRules::planNewRecord(RecordSet& rs)
{
    qint64 id = 1;
    if (dm_->query(QStringLiteral("SELECT max(ID) AS ID FROM AC_Plan WHERE UserID = ?"), {user()})
        && !dm_->ADOQuery1().isEmpty() && !dm_->ADOQuery1().value(0, 0).isNull())
        id = dm_->ADOQuery1().integer(0, QStringLiteral("ID")) + 1;
    rs.setValue(QStringLiteral("ID"), id);
    planTypeReadOnly = false;
    planStartReadOnly = true;
    planMonthsReadOnly = true;
    emit columnStatesChanged();
    rs.setValue(QStringLiteral("Amount"), QVariant::fromValue(Money()));
    rs.setValue(QStringLiteral("StartDate"), QVariant(QMetaType(QMetaType::QDate)));
    int months = 1;
    if (dm_->query(QStringLiteral("SELECT Months FROM AC_Plan WHERE UserID = ? AND ID = 1"), {user()})
        && !dm_->ADOQuery1().isEmpty())
        months = int(dm_->ADOQuery1().integer(0, QStringLiteral("Months")));
    rs.setValue(QStringLiteral("Months"), months);
    rs.setValue(QStringLiteral("Total"), QVariant::fromValue(Money()));
    rs.setValue(QStringLiteral("UserID"), user());
}

void LedgerRules::planAfterEdit(RecordSet& rs)
{
    const qint64 id = rs.integer(QStringLiteral("ID"));
    if (id == 1) {
        planTypeReadOnly = true;
        planStartReadOnly = planMonthsReadOnly = planTotalReadOnly = false;
    } else if (id == 2) {
        planTypeReadOnly = planStartReadOnly = planMonthsReadOnly = planTotalReadOnly = true;
    } else {
        planTypeReadOnly = false;
        planStartReadOnly = planMonthsReadOnly = planTotalReadOnly = true;
    }
    emit columnStatesChanged();
    emit focusColumn(&rs, id <= 2 ? QStringLiteral("Description") : QStringLiteral("Type"));
}

void LedgerRules::ADOTable2TotalChange(RecordSet& rs)
{
    // Typing a target sum on row 1 spreads it over the months.
    if (inRules_ || rs.integer(QStringLiteral("ID")) != 1 || planFocusedColumn != QStringLiteral("小计"))
        return;
    RulesScope scope(inRules_);
    const qint64 months = rs.integer(QStringLiteral("Months"));
    if (months <= 0)
        return;
    rs.setValue(QStringLiteral("Amount"), QVariant::fromValue(divideToCents(rs.money(QStringLiteral("Total")), months)));
}

bool LedgerRules::planBeforePost(RecordSet& rs)
{
    const qint64 id = rs.integer(QStringLiteral("ID"));
    qint64 months = rs.integer(QStringLiteral("Months"));
    if (id == 1) {
        if (rs.value(QStringLiteral("Months")).isNull() || months < 1)
            return refuse(rs, QStringLiteral("月数不能小于1！"), QStringLiteral("Months"));
        const QDate start = rs.date(QStringLiteral("StartDate"));
        const QVariant oldStart = rs.oldValue(QStringLiteral("StartDate"));
        const QDate was = oldStart.isNull() ? QDate()
                          : oldStart.typeId() == QMetaType::QDate ? oldStart.toDate()
                                                                   : Dates::fromIso(oldStart.toString());
        if (start.isValid() && (rs.state() == RecordSet::Insert || start != was) && !updateExistingFunds(start))
            return false;
        if ((rs.state() == RecordSet::Insert || rs.oldValue(QStringLiteral("Months")).toLongLong() != months)
            && !updateFixedMonths(int(months)))
            return false;
    } else {
        const QString type = rs.text(QStringLiteral("Type"));
        if (type.isEmpty())
            return refuse(rs, QStringLiteral("类别不能为空！"), QStringLiteral("Type"));
        if (type == kFixedIn || type == kFixedOut) {
            months = 1;
            if (dm_->query(QStringLiteral("SELECT Months FROM AC_Plan WHERE UserID = ? AND ID = 1"), {user()})
                && !dm_->ADOQuery1().isEmpty())
                months = dm_->ADOQuery1().integer(0, QStringLiteral("Months"));
        } else if (type == kOnceIn || type == kOnceOut || id == 2) {
            months = 1;
        } else {
            return refuse(rs, QStringLiteral("类别不在指定范围内，请重新输入！"), QStringLiteral("Type"));
        }
        rs.setValue(QStringLiteral("Months"), months);
    }
    const Money amount = rs.money(QStringLiteral("Amount"));
    rs.setValue(QStringLiteral("Total"), QVariant::fromValue(Money::fromRaw(amount.raw() * months)));
    return true;
}

bool LedgerRules::updateExistingFunds(const QDate& start)
{
    if (!dm_->query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' AND UseFlag <> '0' "
                                   "AND FundFlag = 0 ORDER BY TypeID"),
                    {user()}))
        return false;
    const QueryResult accounts = dm_->ADOQuery1();
    Money sum;
    for (int i = 0; i < accounts.size(); ++i) {
        if (!dm_->query(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActDate < ? "
                                       "ORDER BY ActDate DESC, ActID DESC LIMIT 1"),
                        {user(), accounts.text(i, QStringLiteral("TypeID")), start}))
            return false;
        if (!dm_->ADOQuery1().isEmpty())
            sum += dm_->ADOQuery1().money(0, QStringLiteral("Balance"));
    }
    return dm_->exec(QStringLiteral("UPDATE AC_Plan SET Amount = ?, Total = ? WHERE UserID = ? AND ID = 2"),
                     {sum.raw(), sum.raw(), user()});
}

bool LedgerRules::updateFixedMonths(int months)
{
    return dm_->exec(QStringLiteral("UPDATE AC_Plan SET Months = ?, Total = Amount * ? WHERE UserID = ? "
                                    "AND (Type = ? OR Type = ?)"),
                     {months, months, user(), kFixedIn, kFixedOut});
}

void LedgerRules::planRecalc()
{
    Money T, F;
    QDate S = QDate::currentDate();
    qint64 M = 1;
    {
        TDataModule1::Work w(*dm_);
        if (dm_->query(QStringLiteral("SELECT Total, StartDate, Months FROM AC_Plan WHERE UserID = ? AND ID = 1"),
                       {user()})
            && !dm_->ADOQuery1().isEmpty()) {
            const QueryResult& r = dm_->ADOQuery1();
            T = r.money(0, QStringLiteral("Total"));
            if (r.date(0, QStringLiteral("StartDate")).isValid())
                S = r.date(0, QStringLiteral("StartDate"));
            M = r.integer(0, QStringLiteral("Months"));
        }
        const QDate E = S.addMonths(int(M));
        if (dm_->query(QStringLiteral("SELECT Total FROM AC_Plan WHERE UserID = ? AND ID = 2"), {user()})
            && !dm_->ADOQuery1().isEmpty())
            F = dm_->ADOQuery1().money(0, QStringLiteral("Total"));
        auto sumOf = [this](const QString& suffix) {
            if (dm_->query(QStringLiteral("SELECT Sum(Total) AS Total FROM AC_Plan WHERE UserID = ? AND substr(Type, -2) = ?"),
                           {user(), suffix}))
                return dm_->ADOQuery1().money(0, QStringLiteral("Total"));
            return Money();
        };
        const Money I = sumOf(QStringLiteral("收入"));
        const Money X = sumOf(QStringLiteral("支出"));

        PlanFigures f;
        f.income = I;
        f.expense = X;
        f.surplus = I - X;
        f.toAchieve = T - F;
        f.monthlyShown = M != 0;
        if (M != 0) {
            f.perMonth = divide(T - F, M);
            f.spendPerMonth = divide((I - X) - (T - F), M);
        }
        figures_ = f;

        dm_->exec(QStringLiteral("DELETE FROM AC_Fullfill WHERE UserID = ?"), {user()});
        dm_->exec(QStringLiteral(
                      "INSERT INTO AC_Fullfill SELECT substr(ActDate, 1, 7) AS MonthNo, Sum(InAmount - OutAmount) AS "
                      "SaveAmount, 0 AS Fullfill, UserID FROM AC_List WHERE UserID = ? AND ActDate >= ? AND ActDate < ? "
                      "AND TypeID IN (SELECT TypeID FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' AND UseFlag <> '0' "
                      "AND FundFlag = 0) GROUP BY UserID, substr(ActDate, 1, 7)"),
                  {user(), S, E, user()});
        if (M != 0) {
            const Money m = divide(T - F, M);
            if (m >= Money::fromRaw(100))
                dm_->exec(QStringLiteral("UPDATE AC_Fullfill SET Fullfill = SaveAmount * 100.0 / ? WHERE UserID = ?"),
                          {m.raw(), user()});
        }
        w.commit();
    }
    if (dm_->ADOQuery8->isOpen())
        dm_->refresh(dm_->ADOQuery8);
    emit planFiguresChanged();
}

FulfilmentFooter LedgerRules::fulfilmentFooter()
{
    FulfilmentFooter footer;
    if (dm_->query(QStringLiteral("SELECT Sum(SaveAmount) AS SaveAmount FROM AC_Fullfill WHERE UserID = ?"), {user()})
        && !dm_->ADOQuery1().isEmpty())
        footer.saving = dm_->ADOQuery1().money(0, QStringLiteral("SaveAmount"));
    Money T, F;
    if (dm_->query(QStringLiteral("SELECT ID, Total FROM AC_Plan WHERE UserID = ? AND ID IN (1, 2)"), {user()})) {
        const QueryResult& r = dm_->ADOQuery1();
        for (int i = 0; i < r.size(); ++i)
            (r.integer(i, QStringLiteral("ID")) == 1 ? T : F) = r.money(i, QStringLiteral("Total"));
    }
    const Money target = T - F;
    if (target >= Money::fromRaw(100))
        footer.overall = double(footer.saving.raw()) * 100.0 / double(target.raw());
    return footer;
}
