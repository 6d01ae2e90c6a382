#include "toolwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace ToolWindow {

QHBoxLayout* actionButtons(QWidget* page, const QList<QAction*>& actions, bool shortcutTips)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QAction* a : actions) {
        auto* b = new QPushButton(a->text(), page);
        b->setObjectName(QStringLiteral("Button") + a->text());
        b->setAutoDefault(false);
        if (shortcutTips)
            b->setToolTip(a->shortcut().toString(QKeySequence::NativeText));
        QObject::connect(b, &QPushButton::clicked, a, &QAction::trigger);
        buttons->addWidget(b);
    }
    return buttons;
}

int arrowStep(QObject* o, QEvent* e)
{
    if (e->type() != QEvent::KeyPress)
        return 0;
    auto* k = static_cast<QKeyEvent*>(e);
    const bool arrow = k->key() == Qt::Key_Left || k->key() == Qt::Key_Right;
    if (arrow && k->modifiers() == Qt::NoModifier && !qobject_cast<QAbstractItemView*>(o)
        && !(o->parent() && qobject_cast<QAbstractItemView*>(o->parent()->parent())))
        return k->key() == Qt::Key_Right ? 1 : -1;
    return 0;
}

} // namespace ToolWindow
