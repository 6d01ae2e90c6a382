#include "tuserguidefrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

TUserGuideFrm::TUserGuideFrm(TDataModule1* dm, IMessageBox* msg, QTreeWidget* list, QWidget* parent)
    : QDialog(parent), dm_(dm), msg_(msg), list_(list)
{
    setWindowTitle(QStringLiteral("添加新用户"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(437, 271);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 131, 228);
    Image1->setPixmap(Users::sidePicture());
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 228, 437, 4);

    // The page's texts and fields, in "宋体" (the CJK font where it is missing).
    QFont songti(QStringLiteral("宋体"));
    songti.setPointSize(9);
    const int lineHeight = QFontMetrics(songti).height();
    auto label = [&](int x, int y, int w) {
        auto* l = new QLabel(this);
        l->setFont(songti);
        l->setTextFormat(Qt::PlainText);
        l->setGeometry(x, y, w, lineHeight);
        return l;
    };
    Label1 = label(150, 15, 150);
    Label2 = label(150, 45, 50);
    Label3 = label(150, 75, 100);
    Label4 = label(150, 130, 200);
    Label4->setText(QStringLiteral("输入用户名后单击<下一步>继续。"));
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Edit1->setFont(songti);
    Edit2->setFont(songti);

    Button1 = new QPushButton(QStringLiteral("< 上一步"), this);
    Button2 = new QPushButton(QStringLiteral("下一步 >"), this);
    Button3 = new QPushButton(QStringLiteral("取  消"), this);
    Button1->setGeometry(190, 240, 75, 25);
    Button2->setGeometry(265, 240, 75, 25);
    Button3->setGeometry(352, 240, 75, 25);
    for (QPushButton* b : {Button1, Button2, Button3})
        b->setAutoDefault(false);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TUserGuideFrm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TUserGuideFrm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TUserGuideFrm::Button3Click);
    DialogKeys::install(this, Button2);

    showPage(1);
    Users::centreOnScreen(this);
}

// Copies the shown page's fields into the kept values.
void TUserGuideFrm::keepPage()
{
    if (page_ == 1) {
        name_ = Edit1->text();
        description_ = Edit2->text();
    } else if (page_ == 2) {
        password_ = Edit1->text();
        confirmation_ = Edit2->text();
    }
}

void TUserGuideFrm::showPage(int page)
{
    page_ = page;
    if (page == 1) {
        Label1->setText(QStringLiteral("请输入新用户的基本信息。"));
        Label2->setText(QStringLiteral("用户名:"));
        Label3->setText(QStringLiteral("说明:"));
        Label4->setVisible(!hintShown_);
        hintShown_ = true;
        for (QLineEdit* e : {Edit1, Edit2}) {
            e->setEchoMode(QLineEdit::Normal);
            e->setStyleSheet(QString());
        }
        Edit1->setGeometry(200, 38, 210, 22);
        Edit2->setGeometry(200, 70, 210, 22);
        Edit1->setMaxLength(20);
        Edit2->setMaxLength(250);
        Edit1->setText(name_);
        Edit2->setText(description_);
        Button1->setEnabled(false);
        Button2->setText(QStringLiteral("下一步 >"));
    } else {
        Label1->setText(QStringLiteral("键入并确认该用户的密码。"));
        Label2->setText(QStringLiteral("密码:"));
        Label3->setText(QStringLiteral("确认密码:"));
        Label4->setVisible(false);
        for (QLineEdit* e : {Edit1, Edit2})
            Users::makePasswordField(e);
        Edit1->setGeometry(210, 38, 200, 22);
        Edit2->setGeometry(210, 70, 200, 22);
        Edit1->setText(password_);
        Edit2->setText(confirmation_);
        Button1->setEnabled(true);
        Button2->setText(QStringLiteral("完   成"));
    }
    Edit1->setFocus();
}

void TUserGuideFrm::Button1Click()
{
    dm_->clickSound();
    if (page_ != 2)
        return;
    keepPage();
    showPage(1);
}

void TUserGuideFrm::Button2Click()
{
    dm_->clickSound();
    if (page_ == 2) {
        finish();
        return;
    }
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("用户名不能为空！"), MsgIcon::Information);
        Edit1->setFocus();
        return;
    }
    bool lookedUp = false;
    const bool taken = UserStore::nameInUse(*dm_, name, -1, &lookedUp);
    if (!lookedUp) { // reported; stay rather than risk a second user of that name
        Edit1->setFocus();
        return;
    }
    if (taken) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("用户已经存在！"), MsgIcon::Information);
        Edit1->setFocus();
        return;
    }
    keepPage();
    showPage(2);
}

void TUserGuideFrm::finish()
{
    if (Edit1->text() != Edit2->text()) {
        msg_->show(QStringLiteral("提示"), QStringLiteral("密码不匹配！请在两个输入框内键入相同密码。"),
                   MsgIcon::Information);
        Edit1->setFocus();
        return;
    }
    keepPage();
    int id = -1;
    if (!UserStore::createUser(*dm_, name_, password_, description_, QDate::currentDate(), &id)) {
        Edit1->setFocus(); // reported and undone: nothing was written, the wizard stays open
        return;
    }
    createdId_ = id;
    if (list_) {
        auto* item = new QTreeWidgetItem({name_, description_});
        Users::setRowIcon(item, Users::UserIcon::Ordinary);
        list_->addTopLevelItem(item);
        list_->clearSelection();
        list_->setCurrentItem(item);
        item->setSelected(true);
        list_->setFocus();
    }
    accept();
}

void TUserGuideFrm::Button3Click()
{
    dm_->clickSound();
    reject();
}
