#pragma once
// The keys of the program's own dialogs: Enter presses the dialog's OK
// button, Esc cancels, Left and Right move the focus to the previous and
// next control. The dialog sees the keys before its controls do.

#include <QObject>
#include <QAbstractButton>
#include <QPointer>

class QAbstractButton;
class QDialog;

class DialogKeys : public QObject {
    Q_OBJECT
public:
    // Installs the key handling on the dialog and every control in it
    // (controls created later are covered too).
    static DialogKeys* install(QDialog* dialog, QAbstractButton* okButton);
    void setOkButton(QAbstractButton* b) { ok_ = b; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DialogKeys(QDialog* dialog, QAbstractButton* ok);
    void watch(QObject* o);
    void moveFocus(bool forward);
    QDialog* dialog_;
    QPointer<QAbstractButton> ok_;
};
