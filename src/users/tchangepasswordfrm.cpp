#include "tchangepasswordfrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TChangePassWordFrm::TChangePassWordFrm(TDataModule1* dm, IMessageBox* msg, const QString& userName, QWidget* parent)
    : QDialog(parent), dm_(dm), msg_(msg), userName_(userName)
{
    setWindowTitle(QStringLiteral("设置【") + userName + QStringLiteral("】的密码"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("新密码："), this);
    Label2 = new QLabel(QStringLiteral("确认新密码："), this);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    for (QLineEdit* e : {Edit1, Edit2}) {
        Users::makePasswordField(e);
        e->setFixedWidth(180);
    }
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);

    BitBtn1 = Users::okButton(this);
    BitBtn2 = Users::cancelButton(this);

    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(10);
    fields->addWidget(Label1, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(Edit2, 1, 1);
    Users::layOutDialog(this, fields, BitBtn1, BitBtn2, QMargins(20, 18, 20, 14), 18);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &TChangePassWordFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TChangePassWordFrm::BitBtn2Click);
    DialogKeys::install(this, BitBtn1);
}

void TChangePassWordFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edit1->setFocus();
}

void TChangePassWordFrm::BitBtn1Click()
{
    dm_->clickSound();
    if (Edit1->text() != Edit2->text()) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("密码不匹配！请在两个输入框内键入相同密码。"),
                   MsgIcon::Information);
        Edit1->setFocus();
        return;
    }
    const auto u = UserStore::findByName(*dm_, userName_);
    if (!u) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("该用户不存在！"), MsgIcon::Information);
        return;
    }
    // A failed change has been reported; it is not announced as done.
    if (!UserStore::setPassword(*dm_, u->id, Edit1->text()))
        return;
    msg_->show(QStringLiteral("提示"), QStringLiteral("密码修改成功！"), MsgIcon::Information);
    accept();
}

void TChangePassWordFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}
