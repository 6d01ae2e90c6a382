#pragma once
// Small pieces shared by the user windows: row icons, password fields, and
// the one place where their modal child windows are run (a seam for tests).

#include <QIcon>
#include <functional>

class QDialog;
class QLayout;
class QLineEdit;
class QMargins;
class QPushButton;
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

// The "确定" and "取消" buttons of a small dialog: standard icons, not
// auto-default (Enter is handled by DialogKeys), at least 80 wide.
QPushButton* okButton(QWidget* parent);
QPushButton* cancelButton(QWidget* parent);

// Lays out a small dialog at a fixed size: its fields above, the OK and
// Cancel buttons at the right below them.
void layOutDialog(QDialog* d, QLayout* fields, QPushButton* ok, QPushButton* cancel, const QMargins& margins,
                  int spacing);

// Centres a top-level window on its screen.
void centreOnScreen(QWidget* w);

// Runs a modal child window and returns its result. Tests may replace the
// hook to drive the child (show it, type, click) instead of a modal loop.
using ModalHook = std::function<int(QDialog&)>;
ModalHook& modalHook();
int runModal(QDialog& dialog);

} // namespace Users
