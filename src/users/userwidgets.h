#pragma once
// Small pieces shared by the user windows: row icons, password fields, and
// the one place where their modal child windows are run (a seam for tests).

#include <QIcon>
#include <functional>

class QDialog;
class QLineEdit;
class QTreeWidgetItem;
class QWidget;

namespace Users {

enum class UserIcon { Administrator, DefaultUser, Locked, Ordinary };
QIcon icon(UserIcon kind);
// The list row's icon kind is kept in this role (as int) beside the icon.
constexpr int IconKindRole = 0x0100 + 7;
void setRowIcon(QTreeWidgetItem* item, UserIcon kind);
UserIcon rowIcon(const QTreeWidgetItem* item);

// The wizard's side picture (131 x 228).
QPixmap sidePicture();

// A masked field: one "*" per character, at most 20 characters.
void makePasswordField(QLineEdit* edit);

// Centres a top-level window on its screen.
void centreOnScreen(QWidget* w);

// Runs a modal child window and returns its result. Tests may replace the
// hook to drive the child (show it, type, click) instead of a modal loop.
using ModalHook = std::function<int(QDialog&)>;
ModalHook& modalHook();
int runModal(QDialog& dialog);

} // namespace Users
