#include "fieldrules.h"

#include "datamodule.h"
#include "dates.h"

#include <QLocale>
#include <QRegularExpression>

namespace FieldRules {

namespace {

QString g(double v) { return QString::number(v, 'g', 15); }

// The value of a field on a visible row, or the edit buffer on the row being edited.
QVariant rowValue(const RecordSet& rs, int row, const QString& field)
{
    if (row < 0 || (rs.isEditing() && row == rs.currentRow()))
        return rs.value(field);
    return rs.value(row, field);
}

void moneyField(RecordSet* rs, const QString& field, bool emptyWhenZero, qint64 low, qint64 high)
{
    rs->setGetText(field, [emptyWhenZero](const RecordSet& r, int row, const QString& f) {
        const QVariant v = rowValue(r, row, f);
        if (v.isNull())
            return emptyWhenZero ? QString() : moneyText(Money(), false);
        return moneyText(toMoney(v), emptyWhenZero);
    });
    rs->setSetText(field, [low, high](RecordSet& r, const QString& f, const QString& text, QString* error) {
        Money m;
        if (!parseMoney(text, f, low, high, &m, error))
            return false;
        return r.setValue(f, QVariant::fromValue(m));
    });
}

void dateField(RecordSet* rs, const QString& field, std::function<bool(const RecordSet&, int)> shown)
{
    rs->setGetText(field, [shown](const RecordSet& r, int row, const QString& f) {
        if (shown && !shown(r, row))
            return QString();
        const QVariant v = rowValue(r, row, f);
        if (v.isNull())
            return QString();
        QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : Dates::fromIso(v.toString());
        return Dates::shortText(d);
    });
    rs->setSetText(field, [](RecordSet& r, const QString& f, const QString& text, QString* error) {
        if (text.trimmed().isEmpty() || text.trimmed() == QLatin1String("-  -")) {
            return r.setValue(f, QVariant(QMetaType(QMetaType::QDate)));
        }
        QDate d;
        if (!parseDate(text, &d, error))
            return false;
        // Stored from the short form again: no time part survives.
        return r.setValue(f, Dates::parse(Dates::shortText(d)));
    });
}

int planId(const RecordSet& r, int row) { return rowValue(r, row, QStringLiteral("ID")).toInt(); }

} // namespace

Money toMoney(const QVariant& v)
{
    if (v.userType() == qMetaTypeId<Money>())
        return v.value<Money>();
    if (v.typeId() == QMetaType::Double)
        return Money::fromRaw(qint64(v.toDouble()));
    return Money::fromRaw(v.toLongLong());
}

QString rangeMessage(double value, const QString& field, double low, double high)
{
    return QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
        .arg(g(value), field, g(low), g(high));
}

QString dateMessage(const QString& text) { return QStringLiteral("'%1' is not a valid date").arg(text); }

QString moneyText(Money m, bool emptyWhenZero)
{
    if (emptyWhenZero && m.belowCent())
        return QString();
    return m.display();
}

bool parseMoney(const QString& text, const QString& field, qint64 low, qint64 high, Money* out, QString* error)
{
    if (text.trimmed().isEmpty()) {
        *out = Money();
        return true;
    }
    Money m;
    if (!Money::parse(text, &m)) {
        if (error)
            *error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
        return false;
    }
    if (m.raw() < low * Money::kScale || m.raw() > high * Money::kScale) {
        if (error)
            *error = rangeMessage(m.toDouble(), field, double(low), double(high));
        return false;
    }
    *out = m;
    return true;
}

bool parseDate(const QString& text, QDate* out, QString* error)
{
    // The mask text keeps its blanks: "2008-03-0 " is half typed, not 2008-03-00
    // nor 2008-03-0. Blanks between two digit groups are separators the
    // user typed instead of "-" ("2008 03 07").
    static const QRegularExpression masked(QStringLiteral("^(\\d{4})[- /.](\\d{2})[- /.](\\d{2})$"));
    static const QRegularExpression halfTyped(QStringLiteral("^[\\d ]{4}[-/.][\\d ]{2}[-/.][\\d ]{2}$"));
    QDate d;
    const auto m = masked.match(text);
    if (m.hasMatch()) {
        d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    } else if (!halfTyped.match(text).hasMatch()) {
        d = Dates::parse(text);
    }
    if (!d.isValid()) {
        if (error)
            *error = dateMessage(text);
        return false;
    }
    *out = d;
    return true;
}

QString percentText(double v)
{
    QLocale l(QLocale::English);
    return l.toString(v, 'f', 2) + QLatin1Char('%');
}

void install(TDataModule1* dm)
{
    const qint64 big = 99999999;
    RecordSet* list = dm->ADOTable1;
    moneyField(list, QStringLiteral("InAmount"), true, -big, big);
    moneyField(list, QStringLiteral("OutAmount"), true, -big, big);
    dateField(list, QStringLiteral("ActDate"), {});

    RecordSet* plan = dm->ADOTable2;
    moneyField(plan, QStringLiteral("Amount"), false, 0, big);
    moneyField(plan, QStringLiteral("Total"), false, 0, big);
    dateField(plan, QStringLiteral("StartDate"), [](const RecordSet& r, int row) { return planId(r, row) == 1; });
    plan->setGetText(QStringLiteral("Months"), [](const RecordSet& r, int row, const QString& f) {
        const QString type = rowValue(r, row, QStringLiteral("Type")).toString();
        if (planId(r, row) == 1 || type == QStringLiteral("固定收入") || type == QStringLiteral("固定支出")) {
            const QVariant v = rowValue(r, row, f);
            return v.isNull() ? QString() : QString::number(v.toLongLong());
        }
        return QString();
    });
    plan->setSetText(QStringLiteral("Months"), [](RecordSet& r, const QString& f, const QString& text, QString* error) {
        const QString t = text.trimmed();
        if (t.isEmpty())
            return r.setValue(f, 1);
        bool ok = false;
        const int n = t.toInt(&ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("'%1' is not a valid integer value").arg(text);
            return false;
        }
        return r.setValue(f, n);
    });

    RecordSet* full = dm->ADOQuery8;
    moneyField(full, QStringLiteral("SaveAmount"), false, -big, big);
    full->setGetText(QStringLiteral("Fullfill"), [](const RecordSet& r, int row, const QString& f) {
        return percentText(rowValue(r, row, f).toDouble());
    });
}

} // namespace FieldRules
