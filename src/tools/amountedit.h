#pragma once
// A number field for amounts: takes digits, one point and up to two
// decimals (commas are ignored), never more than its maximum; shows the
// amount with thousands separators when it loses the focus.

#include <QLineEdit>
#include <QValidator>

class AmountValidator : public QValidator {
public:
    AmountValidator(double maximum, QObject* parent) : QValidator(parent), max_(maximum) {}
    State validate(QString& input, int& pos) const override;

private:
    double max_;
};

class AmountEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit AmountEdit(const QString& name, QWidget* parent = nullptr, double maximum = 99999999);
    double amount() const;
    void setAmount(double v);

protected:
    void focusOutEvent(QFocusEvent* e) override;
};
