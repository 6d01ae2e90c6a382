#pragma once
// Pieces shared by the calculator windows (interest, income tax).

#include <QList>

class QAction;
class QEvent;
class QHBoxLayout;
class QObject;
class QWidget;

namespace ToolWindow {

// The row of buttons under a settings grid, one per action ("添加", "修改",
// "删除"), at the right; each triggers its action. With shortcutTips a button
// shows its action's shortcut as its tool tip.
QHBoxLayout* actionButtons(QWidget* page, const QList<QAction*>& actions, bool shortcutTips);

// Left and Right move the focus between controls, except inside grids and
// their cell editors: +1 (next) or -1 (previous) for such a key press on o,
// 0 for any other event.
int arrowStep(QObject* o, QEvent* e);

} // namespace ToolWindow
