#include "statistics.h"

#include "dates.h"

#include <QHash>
#include <algorithm>

namespace Stats {

namespace {

int clampedSetting(TDataModule1* dm, int id, int maxValue)
{
    bool ok = false;
    const int v = dm->readSetting(id).trimmed().toInt(&ok);
    if (!ok || v < 0)
        return 0;
    return std::min(v, maxValue);
}

Money absolute(Money m) { return m < Money() ? -m : m; }

QDate quarterStart(const QDate& d) { return QDate(d.year(), (d.month() - 1) / 3 * 3 + 1, 1); }

// The accounts whose surplus counts: enabled, in the books.
const char* kFundAccounts = "TypeID IN (SELECT TypeID FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' "
                            "AND UseFlag <> '0' AND FundFlag = 0)";

} // namespace

QStringList unitItems()
{
    return {QStringLiteral("按天统计"), QStringLiteral("按周统计"), QStringLiteral("按月统计"),
            QStringLiteral("按季统计"), QStringLiteral("按年统计")};
}

QString unitTitle(int unit)
{
    static const QStringList t{QStringLiteral("单位：天"), QStringLiteral("单位：周"), QStringLiteral("单位：月"),
                               QStringLiteral("单位：季"), QStringLiteral("单位：年")};
    return t.value(std::clamp(unit, 0, 4));
}

int unitFromSetting(const QString& value)
{
    bool ok = false;
    const int v = value.trimmed().toInt(&ok);
    return ok && v >= 0 && v <= 4 ? v : 0;
}

QVector<Period> periods(int unit, const QDate& start, const QDate& end, int labelDay, int labelMonth)
{
    QVector<Period> out;
    if (!start.isValid() || !end.isValid() || end < start)
        return out;
    labelDay = std::clamp(labelDay, 0, 6);
    labelMonth = std::clamp(labelMonth, 0, 2);
    switch (unit) {
    case Week:
        for (QDate p = start; p <= end;) {
            const QDate sunday = p.addDays(7 - p.dayOfWeek());
            const QDate label = sunday.addDays(-6 + labelDay);
            out.append({p, std::min(sunday, end), Dates::shortText(label)});
            p = sunday.addDays(1);
        }
        break;
    case Month:
        for (QDate m(start.year(), start.month(), 1); m <= end; m = m.addMonths(1))
            out.append({std::max(m, start), std::min(m.addMonths(1).addDays(-1), end), Dates::format(Dates::kMonth, m)});
        break;
    case Quarter:
        for (QDate q = quarterStart(start); q <= end; q = q.addMonths(3)) {
            const QDate last = q.addMonths(3).addDays(-1);
            out.append({std::max(q, start), std::min(last, end),
                        Dates::format(Dates::kMonth, last.addMonths(labelMonth - 2))});
        }
        break;
    case Year:
        for (QDate y(start.year(), 1, 1); y <= end; y = y.addYears(1))
            out.append({std::max(y, start), std::min(QDate(y.year(), 12, 31), end), Dates::format(Dates::kYear, y)});
        break;
    default:
        for (QDate d = start; d <= end; d = d.addDays(1))
            out.append({d, d, Dates::shortText(d)});
        break;
    }
    return out;
}

Statistics::Statistics(TDataModule1* dm) : dm_(dm) {}

QString Statistics::condition() const
{
    return dm_->viewCondition.trimmed().isEmpty() ? QStringLiteral("(UserID = ?)") : dm_->viewCondition;
}

QVariantList Statistics::conditionParams() const
{
    return dm_->viewCondition.trimmed().isEmpty() ? QVariantList{dm_->currentUserId()} : dm_->viewParams;
}

int Statistics::labelDay() { return clampedSetting(dm_, 16, 6); }
int Statistics::labelMonth() { return clampedSetting(dm_, 17, 2); }

void Statistics::span(QDate* start, QDate* end)
{
    if (dm_->viewEnd.isValid()) {
        *end = dm_->viewEnd;
        *start = dm_->viewStart.isValid() ? dm_->viewStart : dm_->viewEnd;
        if (*start > *end)
            *start = *end;
        if (dm_->viewStart.isValid())
            return;
    }
    // Open range: from the user's first entry to the last one.
    QDate s, e;
    if (dm_->query(QStringLiteral("SELECT min(ActDate) AS SDate, max(ActDate) AS EDate FROM AC_List WHERE UserID = ?"),
                   {dm_->currentUserId()})
        && !dm_->ADOQuery1().isEmpty()) {
        s = dm_->ADOQuery1().date(0, QStringLiteral("SDate"));
        e = dm_->ADOQuery1().date(0, QStringLiteral("EDate"));
    }
    if (dm_->viewEnd.isValid()) { // end given, start open
        *start = s.isValid() && s < *end ? s : *end;
        return;
    }
    if (e.isValid() && s.isValid()) {
        *start = s;
        *end = e;
    } else {
        *start = *end = today();
    }
}

QVector<Money> Statistics::perPeriod(const QString& filter, const QVariantList& filterParams,
                                     const QVector<Period>& ps)
{
    QVector<Money> values(ps.size());
    if (ps.isEmpty())
        return values;
    // One grouped query per series; the days are walked together with the periods.
    const QString sql = QStringLiteral("SELECT ActDate, Sum(InAmount-OutAmount) AS SAccount FROM AC_List WHERE ")
                        + filter + QStringLiteral(" AND (ActDate >= ?) AND (ActDate <= ?) AND (") + condition()
                        + QStringLiteral(") GROUP BY ActDate ORDER BY ActDate");
    const QVariantList params = filterParams
                                + QVariantList{Dates::toIso(ps.first().start), Dates::toIso(ps.last().end)}
                                + conditionParams();
    if (!dm_->query(sql, params))
        return values;
    const QueryResult rows = dm_->ADOQuery1();
    int p = 0;
    for (int r = 0; r < rows.size(); ++r) {
        const QDate d = rows.date(r, QStringLiteral("ActDate"));
        if (!d.isValid())
            continue;
        while (p < ps.size() && ps[p].end < d)
            ++p;
        if (p == ps.size())
            break;
        if (d >= ps[p].start)
            values[p] += rows.money(r, QStringLiteral("SAccount"));
    }
    return values;
}

IncomeExpense Statistics::incomeExpense(int unit)
{
    IncomeExpense out;
    QDate s, e;
    span(&s, &e);
    out.periods = periods(unit, s, e, labelDay(), labelMonth());
    out.income = perPeriod(QStringLiteral("TypeID2 LIKE '3%' AND Included = 1"), {}, out.periods);
    out.expense = perPeriod(QStringLiteral("TypeID2 LIKE '2%' AND Included = 1"), {}, out.periods);
    for (Money& m : out.income)
        m = absolute(m);
    for (Money& m : out.expense)
        m = absolute(m);
    return out;
}

QVector<Slice> Statistics::categoryShares(Money* total)
{
    QVector<Slice> out;
    Money sum;
    if (dm_->query(QStringLiteral("SELECT TypeID2, Sum(InAmount-OutAmount) AS SAccount FROM AC_List WHERE Included = 1 "
                                  "AND (")
                       + condition() + QStringLiteral(") GROUP BY TypeID2 ORDER BY TypeID2"),
                   conditionParams())) {
        const QueryResult rows = dm_->ADOQuery1();
        for (int r = 0; r < rows.size(); ++r) {
            Slice s;
            s.typeId = rows.text(r, QStringLiteral("TypeID2"));
            s.value = absolute(rows.money(r, QStringLiteral("SAccount")));
            s.name = s.typeId;
            // The user's own name first, then the shared system row.
            if (dm_->query(QStringLiteral("SELECT TypeName FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND TypeID = ? "
                                          "ORDER BY UserID DESC LIMIT 1"),
                           {dm_->currentUserId(), s.typeId})
                && !dm_->ADOQuery1().isEmpty())
                s.name = dm_->ADOQuery1().text(0, QStringLiteral("TypeName"));
            sum += s.value;
            out.append(s);
        }
    }
    if (total)
        *total = sum;
    return out;
}

Surplus Statistics::surplus(int unit)
{
    Surplus out;
    QDate s, e;
    span(&s, &e);
    out.periods = periods(unit, s, e, labelDay(), labelMonth());
    out.values = perPeriod(QString::fromLatin1(kFundAccounts), {dm_->currentUserId()}, out.periods);
    return out;
}

BalanceHistory Statistics::balances(const QString& account)
{
    BalanceHistory out;
    QDate s, e;
    span(&s, &e);
    const QVariant user = dm_->currentUserId();
    const QString accountCond = account.isEmpty() ? QString() : QStringLiteral(" AND TypeID = ?");
    const QVariantList accountParam = account.isEmpty() ? QVariantList() : QVariantList{account};

    // The first entry of the span: the balances before it are the start.
    QDate firstDate = s;
    qint64 firstId = 0;
    const QString inSpan = QStringLiteral("FROM AC_List WHERE UserID = ? AND (ActDate >= ? AND ActDate <= ?)") + accountCond;
    const QVariantList spanParams = QVariantList{user, Dates::toIso(s), Dates::toIso(e)} + accountParam;
    if (dm_->query(QStringLiteral("SELECT ActDate, ActID ") + inSpan + QStringLiteral(" ORDER BY ActDate, ActID LIMIT 1"),
                   spanParams)
        && !dm_->ADOQuery1().isEmpty()) {
        firstDate = dm_->ADOQuery1().date(0, QStringLiteral("ActDate"));
        firstId = dm_->ADOQuery1().integer(0, QStringLiteral("ActID"));
    }

    struct Acc {
        Money balance;
        bool outside = false;
    };
    QHash<QString, Acc> accounts;
    Money inside, outside;
    if (dm_->query(QStringLiteral("SELECT TypeID, FundFlag FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' "
                                  "AND UseFlag <> '0'")
                       + accountCond + QStringLiteral(" ORDER BY TypeID"),
                   QVariantList{user} + accountParam)) {
        const QueryResult rows = dm_->ADOQuery1();
        for (int r = 0; r < rows.size(); ++r) {
            Acc a;
            a.outside = rows.boolean(r, QStringLiteral("FundFlag"));
            const QString id = rows.text(r, QStringLiteral("TypeID"));
            if (dm_->query(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActDate <= ? "
                                          "AND (ActDate < ? OR ActID < ?) ORDER BY ActDate DESC, ActID DESC LIMIT 1"),
                           {user, id, Dates::toIso(firstDate), Dates::toIso(firstDate), firstId})
                && !dm_->ADOQuery1().isEmpty())
                a.balance = dm_->ADOQuery1().money(0, QStringLiteral("Balance"));
            (a.outside ? outside : inside) += a.balance;
            accounts.insert(id, a);
        }
    }

    QueryResult entries;
    if (dm_->query(QStringLiteral("SELECT ActDate, TypeID, Balance ") + inSpan
                       + QStringLiteral(" ORDER BY ActDate, TypeID, ActID"),
                   spanParams))
        entries = dm_->ADOQuery1();
    int r = 0;
    for (QDate d = s; d.isValid() && d <= e; d = d.addDays(1)) {
        for (; r < entries.size(); ++r) {
            const QDate ed = entries.date(r, QStringLiteral("ActDate"));
            if (ed.isValid() && ed > d)
                break;
            auto it = accounts.find(entries.text(r, QStringLiteral("TypeID")));
            if (it == accounts.end())
                continue; // an account that is switched off
            const Money b = entries.money(r, QStringLiteral("Balance"));
            (it->outside ? outside : inside) += b - it->balance;
            it->balance = b;
        }
        out.days.append(d);
        out.inside.append(inside);
        out.outside.append(outside);
    }
    return out;
}

} // namespace Stats
