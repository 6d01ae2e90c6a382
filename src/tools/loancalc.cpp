#include "loancalc.h"

#include "toolsdb.h"

#include <QPair>
#include <QStringList>
#include <cmath>

namespace LoanCalc {

namespace {

// A whole number, or 0 for anything else (empty, text, a fraction).
int wholeNumber(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

Checked check(const Input& in)
{
    Checked c;
    c.principal = ToolText::number(in.principal);
    c.years = wholeNumber(in.years);
    c.rate = ToolText::number(in.rate);
    c.first = wholeNumber(in.firstPeriod);
    c.last = wholeNumber(in.lastPeriod);
    const qint64 months = qint64(c.years) * 12;
    auto fail = [&](Field f, const char* text) {
        c.badField = f;
        c.message = QString::fromUtf8(text);
        return c;
    };
    if (!(c.principal > 0))
        return fail(Field::Principal, "请输入贷款本金!且本金必须大于0");
    if (c.years <= 0)
        return fail(Field::Years, "请输入贷款年限!且贷款年限必须大于0");
    // A schedule longer than that would not fit in the window's grid.
    if (c.years > kMaxYears)
        return fail(Field::Years, "贷款年限不能超过1000年!");
    if (!(c.rate > 0))
        return fail(Field::Rate, "请输入年利率!且年利率必须大于0");
    if (c.first <= 0)
        return fail(Field::FirstPeriod, "请输入需要计算的期数!");
    if (c.first > months)
        return fail(Field::FirstPeriod, "请输入输入的期数不能大于按揭总月数!");
    if (c.last <= 0)
        return fail(Field::LastPeriod, "请输入需要计算的期数!");
    if (c.last > months)
        return fail(Field::LastPeriod, "请输入输入的期数不能大于按揭总月数!");
    if (c.last < c.first)
        return fail(Field::LastPeriod, "请输入输入的j结束期数不能大于起始期数!");
    return c;
}

QPair<QString, QString> periodsForYears(const QString& yearsText)
{
    const int y = wholeNumber(yearsText);
    if (y <= 0 || y > kMaxYears)
        return {QString(), QString()};
    return {QStringLiteral("1"), QString::number(y * 12)};
}

Schedule compute(double P, int years, double annualRatePercent, int first, int last, Method m)
{
    Schedule s;
    if (years <= 0 || years > kMaxYears || first < 1 || last < first)
        return s;
    const int N = years * 12;
    const double i = annualRatePercent / 100.0 / 12.0;
    auto add = [&](const Row& r) {
        s.rows << r;
        s.totalPayment += r.payment;
        s.totalInterest += r.interest;
    };
    switch (m) {
    case Method::EqualInstalment: {
        // P·i·g/(g−1) written as P·i/(1−1/g): the same payment, and no
        // inf/inf when (1+i)^N overflows at a very high rate.
        const double M = i > 0 ? P * i / (1.0 - std::pow(1.0 + i, -N)) : P / N;
        double B = P;
        for (int k = 1; k <= last; ++k) {
            const double interest = B * i;
            const double principal = M - interest;
            if (k >= first)
                add({k, M, principal, interest, B});
            B -= principal;
        }
        break;
    }
    case Method::EqualPrincipal: {
        const double Q = P / N;
        for (int k = first; k <= last; ++k) {
            const double R = P - (k - 1) * Q;
            add({k, Q + R * i, Q, R * i, R});
        }
        break;
    }
    case Method::AtMaturity: {
        // Nothing is paid before the last period; then the principal and
        // the simple interest of the whole term are paid together.
        const double interest = P * i * N;
        for (int k = first; k <= last; ++k) {
            if (k == N)
                add({k, P + interest, P, interest, P});
            else
                add({k, 0.0, 0.0, 0.0, P});
        }
        break;
    }
    }
    return s;
}

QStringList headings()
{
    return {QStringLiteral("还款期数"), QStringLiteral("每期还款额"), QStringLiteral("本期应还本金"),
            QStringLiteral("本期应还利息"), QStringLiteral("剩余本金")};
}

} // namespace LoanCalc
