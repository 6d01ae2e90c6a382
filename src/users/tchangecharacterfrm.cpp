#include "tchangecharacterfrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>

TChangeCharacterFrm::TChangeCharacterFrm(TDataModule1* dm, IMessageBox* msg, QTreeWidgetItem* entry, QWidget* parent)
    : QDialog(parent), dm_(dm), msg_(msg), entry_(entry)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("用户名："), this);
    Label3 = new QLabel(QStringLiteral("说明："), this);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(20);
    Edit3 = new QLineEdit(this);
    Edit3->setMaxLength(250);
    Edit1->setFixedWidth(240);
    Edit3->setFixedWidth(240);
    Label1->setBuddy(Edit1);
    Label3->setBuddy(Edit3);
    LockCheckBox = new QCheckBox(QStringLiteral("锁定用户"), this);

    BitBtn1 = Users::okButton(this);
    BitBtn2 = Users::cancelButton(this);

    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(10);
    fields->addWidget(Label1, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label3, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(Edit3, 1, 1);
    fields->addWidget(LockCheckBox, 2, 1);
    Users::layOutDialog(this, fields, BitBtn1, BitBtn2, QMargins(20, 18, 20, 14), 18);

    setTabOrder(Edit1, Edit3);
    setTabOrder(Edit3, LockCheckBox);
    setTabOrder(LockCheckBox, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &TChangeCharacterFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TChangeCharacterFrm::BitBtn2Click);
    DialogKeys::install(this, BitBtn1);

    const QString name = entry_->text(0);
    setWindowTitle(QStringLiteral("用户【") + name + QStringLiteral("】的属性"));
    Edit1->setText(name);
    if (const auto u = UserStore::findByName(*dm_, name)) {
        Edit3->setText(u->description);
        LockCheckBox->setChecked(u->locked);
    }
}

void TChangeCharacterFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edit1->setFocus();
}

void TChangeCharacterFrm::BitBtn1Click()
{
    dm_->clickSound();
    auto info = [this](const char* text) {
        msg_->show(QStringLiteral("提示"), QString::fromUtf8(text), MsgIcon::Information);
    };
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        info("用户名不能为空！");
        Edit1->setFocus();
        return;
    }
    const auto u = UserStore::findByName(*dm_, entry_->text(0));
    if (!u) {
        info("该用户不存在！");
        return;
    }
    bool lookedUp = false;
    const bool taken = UserStore::nameInUse(*dm_, name, u->id, &lookedUp);
    if (!lookedUp)
        return; // reported; nothing is written without knowing
    if (taken) {
        info("用户已经存在！");
        Edit1->setFocus();
        return;
    }
    if (QString::number(u->id) == dm_->readSetting(0)) {
        info("默认用户不允许锁定！");
        LockCheckBox->setFocus();
        return;
    }
    const bool locked = LockCheckBox->isChecked();
    if (!UserStore::updateProperties(*dm_, u->id, name, Edit3->text(), locked))
        return; // reported; the list keeps showing what is stored
    entry_->setText(0, name);
    entry_->setText(1, Edit3->text());
    Users::setRowIcon(entry_, locked ? Users::UserIcon::Locked : Users::UserIcon::Ordinary);
    accept();
}

void TChangeCharacterFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}
