#include "amountedit.h"

#include "toolsdb.h"

#include <QRegularExpression>

QValidator::State AmountValidator::validate(QString& input, int&) const
{
    QString t = input;
    t.remove(QLatin1Char(','));
    static const QRegularExpression re(QStringLiteral("^\\d*(\\.\\d{0,2})?$"));
    if (!re.match(t).hasMatch())
        return Invalid;
    if (t.isEmpty() || t == QLatin1String("."))
        return Intermediate;
    return t.toDouble() <= max_ ? Acceptable : Invalid;
}

AmountEdit::AmountEdit(const QString& name, QWidget* parent, double maximum) : QLineEdit(parent)
{
    setObjectName(name);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new AmountValidator(maximum, this));
}

double AmountEdit::amount() const { return ToolText::number(text()); }

void AmountEdit::setAmount(double v) { setText(ToolText::money(v)); }

void AmountEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (!isReadOnly() && !text().trimmed().isEmpty()) {
        const QString shown = ToolText::money(amount());
        if (shown != text())
            setText(shown);
    }
}
