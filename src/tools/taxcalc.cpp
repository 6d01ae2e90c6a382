#include "taxcalc.h"

#include "dates.h"

namespace TaxCalc {

bool ensureTable(ToolConnection& c, const QDate& today)
{
    if (!c.isOpen() || c.db().hasTable(QStringLiteral("Tax_Rate")))
        return false;
    const struct { int grade; double ceiling; const char* text; int rate; double deduction; } seed[] = {
        {1, 1500, "不超过1500元", 3, 0},
        {2, 4500, "超过1500元至4500元", 10, 105},
        {3, 9000, "超过4500元至9000元", 20, 555},
        {4, 35000, "超过9000元至35000元", 25, 1005},
        {5, 55000, "超过35000元至55000元", 30, 2755},
        {6, 80000, "超过55000元至80000元", 35, 5505},
        {7, 99999999, "超过80000元的部分", 45, 13505},
    };
    Database& db = c.db();
    db.begin();
    bool ok = c.exec(QStringLiteral("CREATE TABLE Tax_Rate(Grade INT PRIMARY KEY, Ceiling NUMERIC(10,2), "
                                    "Description VARCHAR(50), Rate NUMERIC(10,0), Deduction NUMERIC(10,2), UpdDate DATE)"));
    for (const auto& s : seed) {
        if (!ok)
            break;
        ok = c.exec(QStringLiteral("INSERT INTO Tax_Rate VALUES(?, ?, ?, ?, ?, ?)"),
                    {s.grade, s.ceiling, QString::fromUtf8(s.text), s.rate, s.deduction, today});
    }
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

Bracket bracket(ToolConnection& c, double amount)
{
    Bracket b;
    QueryResult r;
    c.query(QStringLiteral("SELECT * FROM Tax_Rate WHERE Ceiling >= ? ORDER BY Ceiling"), {amount}, &r);
    if (r.isEmpty())
        return b;
    b.found = true;
    b.rate = r.value(0, QStringLiteral("Rate")).toDouble();
    b.deduction = r.value(0, QStringLiteral("Deduction")).toDouble();
    return b;
}

static QString rateText(double rate) { return QString::number(rate, 'g', 15); }

WageTax wage(ToolConnection& c, double salary, double otherIncome, double deductions, double threshold)
{
    WageTax w;
    w.totalIncome = salary + otherIncome;
    w.taxable = w.totalIncome - deductions - threshold;
    if (w.taxable < 0) {
        w.rateText = QStringLiteral("0.00");
        return w;
    }
    const Bracket b = bracket(c, w.taxable);
    if (!b.found)
        return w; // above every ceiling: no rate, no tax
    w.rateText = rateText(b.rate);
    w.tax = b.rate * w.taxable / 100 - b.deduction;
    return w;
}

PartTax bonus(ToolConnection& c, double amount, double wageTaxable, bool commonMethod)
{
    PartTax p;
    // The part of the threshold the wages leave unused lowers the bonus.
    p.taxable = wageTaxable >= 0 ? amount : amount + wageTaxable;
    if (p.taxable < 0) {
        p.rateText = QStringLiteral("0.00");
        return p;
    }
    const Bracket b = bracket(c, p.taxable / 12);
    if (!b.found)
        return p;
    p.rateText = rateText(b.rate);
    p.tax = b.rate * p.taxable / 100 - (commonMethod ? 12 * b.deduction : b.deduction);
    return p;
}

PartTax remuneration(double reward)
{
    PartTax p;
    p.taxable = reward >= 4000 ? reward - reward * 20 / 100 : reward - 800;
    if (p.taxable < 0) {
        p.rateText = QStringLiteral("0.00");
        return p;
    }
    p.rateText = QStringLiteral("20.00");
    const double base = p.taxable * 20 / 100;
    if (p.taxable > 50000)
        p.tax = base + 3000 + (p.taxable - 50000) * 20 / 100 * 100 / 100;
    else if (p.taxable > 20000)
        p.tax = base + (p.taxable - 20000) * 20 / 100 * 50 / 100;
    else
        p.tax = base;
    return p;
}

Totals totals(const WageTax& w, double deductions, double bonusAmount, const PartTax& b, double reward,
              const PartTax& r)
{
    Totals t;
    t.sumTax = w.tax + b.tax + r.tax;
    t.postIncome = w.totalIncome - deductions + bonusAmount + reward - w.tax - b.tax - r.tax;
    return t;
}

namespace {
SaveResult refuse(const char* message, const char* field)
{
    SaveResult s;
    s.message = QString::fromUtf8(message);
    s.field = QString::fromUtf8(field);
    return s;
}
} // namespace

SaveResult save(ToolConnection& c, const QVariant& originalGrade, const QMap<QString, QString>& v, const QDate& today)
{
    const bool inserting = !originalGrade.isValid() || originalGrade.isNull();
    auto text = [&](const char* f) { return v.value(QString::fromUtf8(f)).trimmed(); };
    if (text("Ceiling").isEmpty())
        return refuse("应税上限不能为空！", "Ceiling");
    if (text("Rate").isEmpty())
        return refuse("适用税率不能为空！", "Rate");
    if (text("Deduction").isEmpty())
        return refuse("速算扣除数不能为空！", "Deduction");
    bool ok = false;
    const double ceiling = ToolText::number(text("Ceiling"), &ok);
    if (!ok || ceiling < 0)
        return refuse("应税上限必须是不小于0的数字！", "Ceiling");
    const double rate = ToolText::number(text("Rate"), &ok);
    if (!ok || rate < 0 || rate > 100)
        return refuse("适用税率必须是0到100之间的数字！", "Rate");
    const double deduction = ToolText::number(text("Deduction"), &ok);
    if (!ok || deduction < 0)
        return refuse("速算扣除数必须是不小于0的数字！", "Deduction");
    QVariant date;
    if (!text("UpdDate").isEmpty()) {
        const QDate d = Dates::parse(text("UpdDate"));
        if (!d.isValid())
            return refuse("更新日期不正确！", "UpdDate");
        date = d;
    } else if (inserting) {
        date = today;
    }
    // The grade is the key: a new row without one takes the next number.
    QVariant grade;
    if (text("Grade").isEmpty()) {
        if (!inserting) {
            grade = originalGrade;
        } else {
            QueryResult r;
            c.query(QStringLiteral("SELECT COALESCE(MAX(Grade), 0) + 1 FROM Tax_Rate"), {}, &r);
            grade = r.isEmpty() ? 1 : r.value(0, 0).toInt();
        }
    } else {
        bool isInt = false;
        const int g = text("Grade").toInt(&isInt);
        if (!isInt || g <= 0)
            return refuse("级数必须是大于0的整数！", "Grade");
        grade = g;
    }
    if (inserting || grade.toInt() != originalGrade.toInt()) {
        QueryResult r;
        c.query(QStringLiteral("SELECT Grade FROM Tax_Rate WHERE Grade = ?"), {grade}, &r);
        if (!r.isEmpty())
            return refuse("级数已存在！", "Grade");
    }
    const QVariantList vals{grade, ceiling, text("Description"), rate, deduction, date};
    const bool written = inserting
        ? c.exec(QStringLiteral("INSERT INTO Tax_Rate(Grade, Ceiling, Description, Rate, Deduction, UpdDate) "
                                "VALUES(?, ?, ?, ?, ?, ?)"), vals)
        : c.exec(QStringLiteral("UPDATE Tax_Rate SET Grade = ?, Ceiling = ?, Description = ?, Rate = ?, "
                                "Deduction = ?, UpdDate = ? WHERE Grade = ?"), QVariantList(vals) << originalGrade);
    SaveResult res;
    if (!written) {
        res.field = QStringLiteral("Grade");
        return res;
    }
    res.ok = true;
    res.grade = grade;
    return res;
}

bool remove(ToolConnection& c, const QVariant& grade)
{
    return c.exec(QStringLiteral("DELETE FROM Tax_Rate WHERE Grade = ?"), {grade});
}

} // namespace TaxCalc
