#include "userwidgets.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTreeWidgetItem>
#include <QWidget>

static void initUserResources() { Q_INIT_RESOURCE(users); }

namespace Users {

namespace {
QPushButton* dialogButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& text)
{
    auto* b = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    b->setAutoDefault(false);
    b->setMinimumWidth(80);
    return b;
}

void ensureResources()
{
    static const bool done = (initUserResources(), true);
    (void)done;
}
} // namespace

QIcon icon(UserIcon kind)
{
    ensureResources();
    switch (kind) {
    case UserIcon::Administrator:
        return QIcon(QStringLiteral(":/users/administrator.svg"));
    case UserIcon::DefaultUser:
        return QIcon(QStringLiteral(":/users/defaultuser.svg"));
    case UserIcon::Locked:
        return QIcon(QStringLiteral(":/users/lockeduser.svg"));
    case UserIcon::Ordinary:
        break;
    }
    return QIcon(QStringLiteral(":/users/user.svg"));
}

void setRowIcon(QTreeWidgetItem* item, UserIcon kind)
{
    item->setIcon(0, icon(kind));
    item->setData(0, IconKindRole, int(kind));
}

UserIcon rowIcon(const QTreeWidgetItem* item) { return UserIcon(item->data(0, IconKindRole).toInt()); }

QPixmap sidePicture()
{
    ensureResources();
    return QPixmap(QStringLiteral(":/users/wizard.svg"));
}

QPushButton* okButton(QWidget* parent)
{
    return dialogButton(parent, QStyle::SP_DialogOkButton, QStringLiteral("确定"));
}

QPushButton* cancelButton(QWidget* parent)
{
    return dialogButton(parent, QStyle::SP_DialogCancelButton, QStringLiteral("取消"));
}

void layOutDialog(QDialog* d, QLayout* fields, QPushButton* ok, QPushButton* cancel, const QMargins& margins,
                  int spacing)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* top = new QVBoxLayout(d);
    top->setContentsMargins(margins);
    top->setSpacing(spacing);
    top->addLayout(fields);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

void makePasswordField(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(20);
    // The desktop's own mask character varies; this program shows "*".
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

void centreOnScreen(QWidget* w)
{
    QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QRect frame = w->frameGeometry();
    w->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

ModalHook& modalHook()
{
    static ModalHook hook;
    return hook;
}

int runModal(QDialog& dialog)
{
    if (modalHook())
        return modalHook()(dialog);
    return dialog.exec();
}

} // namespace Users
