#include "tloginfrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "tinputpasswordfrm.h"
#include "tuserandpasswordfrm.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QComboBox>
#include <QShowEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TLoginFrm::TLoginFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent) : QDialog(parent), dm_(dm), msg_(msg)
{
    setWindowTitle(QStringLiteral("Zelko家庭理财 V2.8"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("用户名："), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumContentsLength(20);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setFixedWidth(200);
    Label2 = new QLabel(QStringLiteral("密码："), this);
    MaskEdit1 = new QLineEdit(this);
    Users::makePasswordField(MaskEdit1);
    MaskEdit1->setFixedWidth(200);
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(MaskEdit1);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定"), this);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    BitBtn3 = new QPushButton(Users::icon(Users::UserIcon::Administrator), QStringLiteral("用户管理"), this);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(84);
    }

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(12);
    fields->addWidget(Label1, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(ComboBox1, 0, 1);
    fields->addWidget(Label2, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(MaskEdit1, 1, 1);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(fields);
    centred->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(24, 22, 24, 16);
    top->setSpacing(20);
    top->addLayout(centred);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ComboBox1, MaskEdit1);
    setTabOrder(MaskEdit1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);

    connect(BitBtn1, &QPushButton::clicked, this, &TLoginFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TLoginFrm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TLoginFrm::BitBtn3Click);
    DialogKeys::install(this, BitBtn1);
    // Space steps through the names (after the dialog keys, which leave it alone).
    ComboBox1->installEventFilter(this);
}

void TLoginFrm::refillUserList()
{
    ComboBox1->clear();
    const QString last = dm_->readSetting(3);
    int position = 0;
    for (const UserStore::User& u : UserStore::signInList(*dm_)) {
        if (QString::number(u.id) == last)
            position = ComboBox1->count();
        ComboBox1->addItem(u.name, u.id);
    }
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? position : -1);
}

void TLoginFrm::FormActivate()
{
    refillOnActivate_ = false;
    refillUserList();
    Users::centreOnScreen(this);
    MaskEdit1->setFocus();
}

void TLoginFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormActivate();
}

void TLoginFrm::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && refillOnActivate_)
        FormActivate();
}

void TLoginFrm::childClosed()
{
    refillOnActivate_ = true;
    if (isActiveWindow())
        FormActivate();
    else
        MaskEdit1->setFocus(); // where typing goes once the window is active again
}

bool TLoginFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ComboBox1 && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Space && ke->modifiers() == Qt::NoModifier) {
            if (ComboBox1->count() > 0)
                ComboBox1->setCurrentIndex((ComboBox1->currentIndex() + 1) % ComboBox1->count());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TLoginFrm::BitBtn1Click()
{
    dm_->clickSound();
    const QString name = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
    if (name.isEmpty()) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("用户名不能为空，请重新输入！"), MsgIcon::Information);
        ComboBox1->setFocus();
        return;
    }
    const auto u = UserStore::findByName(*dm_, name);
    if (!u) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("无此用户，请重新输入！"), MsgIcon::Information);
        ComboBox1->setFocus();
        return;
    }
    if (!UserStore::checkPassword(*dm_, *u, MaskEdit1->text())) {
        msg_->show(QStringLiteral("错误"), QStringLiteral("密码错误，请重新输入！"), MsgIcon::Critical);
        MaskEdit1->setFocus();
        return;
    }
    dm_->currentUser = QString::number(u->id);
    accept();
}

void TLoginFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}

void TLoginFrm::BitBtn3Click()
{
    dm_->clickSound();
    UserStore::User admin;
    // Without a certain answer about the administrator's password, nothing opens.
    if (!UserStore::ensureAdministrator(*dm_, &admin))
        return;
    if (!admin.passwd.isEmpty()) {
        TInputPassWordFrm prompt(dm_, msg_, this);
        prompt.UserID = QStringLiteral("0");
        const int answer = Users::runModal(prompt);
        if (answer != QDialog::Accepted) {
            childClosed();
            return;
        }
    }
    int result;
    {
        TUserAndPassWordFrm users(dm_, msg_, this);
        result = Users::runModal(users);
    }
    if (result == QDialog::Accepted) {
        dm_->currentUser = dm_->readSetting(0);
        if (dm_->currentUser != QLatin1String("0")) {
            accept(); // the default user just chosen signs in without a password
            return;
        }
        refillUserList();
    }
    childClosed();
}
