#include "depositcalc.h"

#include "dates.h"
#include "toolsdb.h"

#include <QStringList>

namespace DepositCalc {

int termMonths(const QString& months)
{
    QString t = months.trimmed().toUpper();
    int factor = 1;
    if (t.startsWith(QLatin1Char('Y'))) {
        factor = 12;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1Char('M'))) {
        t.remove(0, 1);
    } else if (!t.isEmpty() && !t.at(0).isDigit()) {
        return 0;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n > 0 && n <= 1200 ? n * factor : 0;
}

Result compute(const Input& in)
{
    Result r;
    auto fail = [&](Field f, const char* text) {
        r.badField = f;
        r.message = QString::fromUtf8(text);
        return r;
    };
    bool ok = false;
    const double P = ToolText::number(in.principal, &ok);
    if (!ok || !(P > 0))
        return fail(Field::Principal, "请输入存款本金!且本金必须大于0");
    const double rate = ToolText::number(in.rate, &ok);
    if (!ok || rate < 0)
        return fail(Field::Rate, "请输入年利率!且年利率不能小于0");
    const QDate from = Dates::parse(in.from);
    if (!from.isValid())
        return fail(Field::From, "请输入正确的存入日期!");
    const QDate to = Dates::parse(in.to);
    if (!to.isValid())
        return fail(Field::To, "请输入正确的支取日期!");
    if (to <= from)
        return fail(Field::To, "支取日期必须晚于存入日期!");
    double tax = ToolText::number(in.taxRate, &ok);
    if (in.taxRate.trimmed().isEmpty())
        tax = 0;
    else if (!ok || tax < 0 || tax > 100)
        return fail(Field::TaxRate, "税率必须在0到100之间!");

    double base = P;
    QDate start = from;
    int period = 0;
    if (in.months > 0) {
        while (start.addMonths(in.months) <= to) {
            const QDate end = start.addMonths(in.months);
            const double interest = base * rate / 100.0 * in.months / 12.0;
            r.rows << Row{++period, start, end, base, interest};
            r.interest += interest;
            start = end;
            if (in.mode == RollOver::PrincipalAndInterest)
                base += interest;
            else if (in.mode == RollOver::None)
                break;
        }
    }
    // The days after the last whole term (or all of a demand deposit).
    if (start < to) {
        const double dayRate = in.months > 0 ? in.demandRate : rate;
        const double interest = base * dayRate / 100.0 * start.daysTo(to) / 360.0;
        r.rows << Row{++period, start, to, base, interest};
        r.interest += interest;
    }
    r.tax = r.interest * tax / 100.0;
    r.afterTax = r.interest - r.tax;
    return r;
}

QStringList headings()
{
    return {QStringLiteral("期数"), QStringLiteral("起息日期"), QStringLiteral("到期日期"), QStringLiteral("本金"),
            QStringLiteral("利息")};
}

} // namespace DepositCalc
