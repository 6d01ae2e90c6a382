#include "dialogkeys.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QWidget>

DialogKeys::DialogKeys(QDialog* dialog, QAbstractButton* ok) : QObject(dialog), dialog_(dialog), ok_(ok) {}

DialogKeys* DialogKeys::install(QDialog* dialog, QAbstractButton* okButton)
{
    auto* k = new DialogKeys(dialog, okButton);
    k->watch(dialog);
    return k;
}

void DialogKeys::watch(QObject* o)
{
    if (!o->isWidgetType())
        return;
    o->installEventFilter(this);
    for (QObject* c : o->children())
        watch(c);
}

void DialogKeys::moveFocus(bool forward)
{
    QWidget* start = dialog_->focusWidget();
    if (!start)
        start = dialog_;
    QWidget* w = start;
    // Walk the tab chain to the next control of this dialog that takes the focus.
    for (int guard = 0; guard < 1000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start)
            return;
        if (w != dialog_ && dialog_->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(dialog_)
            && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded) {
        watch(static_cast<QChildEvent*>(event)->child());
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    // Keys of another window opened over the dialog (a message box it owns,
    // a combo box's drop-down list) belong to that window.
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() != dialog_)
        return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (ke->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ok_ && ok_->isEnabled() && ok_->isVisible())
            ok_->click();
        return true;
    case Qt::Key_Escape:
        dialog_->reject();
        return true;
    case Qt::Key_Left:
        moveFocus(false);
        return true;
    case Qt::Key_Right:
        moveFocus(true);
        return true;
    default:
        return false;
    }
}
