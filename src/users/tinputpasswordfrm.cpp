#include "tinputpasswordfrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TInputPassWordFrm::TInputPassWordFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent)
    : QDialog(parent), dm_(dm), msg_(msg)
{
    setWindowTitle(QStringLiteral("输入密码"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("密码："), this);
    MaskEdit1 = new QLineEdit(this);
    Users::makePasswordField(MaskEdit1);
    MaskEdit1->setFixedWidth(170);
    Label1->setBuddy(MaskEdit1);

    BitBtn1 = Users::okButton(this);
    BitBtn2 = Users::cancelButton(this);

    auto* field = new QHBoxLayout;
    field->addWidget(Label1);
    field->addWidget(MaskEdit1);
    Users::layOutDialog(this, field, BitBtn1, BitBtn2, QMargins(18, 18, 18, 14), 16);

    setTabOrder(MaskEdit1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &TInputPassWordFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TInputPassWordFrm::BitBtn2Click);
    DialogKeys::install(this, BitBtn1);
}

void TInputPassWordFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (const auto u = UserStore::findById(*dm_, UserID.toInt()))
        setWindowTitle(QStringLiteral("输入【") + u->name + QStringLiteral("】的密码"));
    Users::centreOnScreen(this);
    MaskEdit1->setFocus();
}

void TInputPassWordFrm::BitBtn1Click()
{
    dm_->clickSound();
    const auto u = UserStore::findById(*dm_, UserID.toInt());
    if (!u || !UserStore::checkPassword(*dm_, *u, MaskEdit1->text())) {
        msg_->show(QStringLiteral("错误"), QStringLiteral("密码错误，请重新输入！"), MsgIcon::Critical);
        MaskEdit1->setFocus();
        return;
    }
    accept();
}

void TInputPassWordFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}
