#include "tuserandpasswordfrm.h"

#include "datamodule.h"
#include "dialogkeys.h"
#include "registry.h"
#include "tchangecharacterfrm.h"
#include "tchangepasswordfrm.h"
#include "tuserguidefrm.h"
#include "userstore.h"
#include "userwidgets.h"

#include <QCheckBox>
#include <QShowEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
void info(IMessageBox* msg, const char* text)
{
    msg->show(QStringLiteral("提示"), QString::fromUtf8(text), MsgIcon::Information);
}

// The stored user of a list entry; without one the reason is shown (no
// entry chosen: noEntry; the user is gone: "该用户不存在！").
std::optional<UserStore::User> userOf(TDataModule1* dm, IMessageBox* msg, QTreeWidgetItem* item, const char* noEntry)
{
    if (!item) {
        info(msg, noEntry);
        return std::nullopt;
    }
    auto u = UserStore::findByName(*dm, item->text(0));
    if (!u)
        info(msg, "该用户不存在！");
    return u;
}
} // namespace

TUserAndPassWordFrm::TUserAndPassWordFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent)
    : QDialog(parent), dm_(dm), msg_(msg)
{
    setWindowTitle(QStringLiteral("用户和密码"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("请从下面的列表中选择授予或拒绝访问系统的用户，还"), this);
    Label2 = new QLabel(QStringLiteral("可以更改其密码和其他设置。"), this);
    CheckBox1 = new QCheckBox(QStringLiteral("要使用软件，用户必须输入用户名和密码"), this);
    CheckBox1->setChecked(true);

    ListView1 = new QTreeWidget(this);
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("用户名"), QStringLiteral("说明")});
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(true);
    ListView1->sortByColumn(0, Qt::AscendingOrder);
    ListView1->header()->setSectionsClickable(false);
    ListView1->header()->setSortIndicatorShown(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, 140);
    ListView1->setColumnWidth(1, 210);
    ListView1->setFixedSize(140 + 210 + 2 * ListView1->frameWidth() + 20, 160);
    // The selection stays visible while another control has the focus.
    QPalette pal = ListView1->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(pal);

    BitBtn3 = new QPushButton(QStringLiteral("添加"), this);
    BitBtn4 = new QPushButton(QStringLiteral("删除"), this);
    BitBtn5 = new QPushButton(QStringLiteral("属性"), this);

    GroupBox1 = new QGroupBox(this);
    Image1 = new QLabel(GroupBox1);
    Image1->setPixmap(Users::icon(Users::UserIcon::Locked).pixmap(32, 32));
    Image1->setFixedSize(36, 36);
    Label3 = new QLabel(GroupBox1);
    Label3->setWordWrap(true);
    Label5 = new QLabel(QStringLiteral("请单击<设置密码>。"), GroupBox1);
    Label5->setTextFormat(Qt::PlainText);
    Label3->setTextFormat(Qt::PlainText);
    BitBtn6 = new QPushButton(QStringLiteral("设置密码"), GroupBox1);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定"), this);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
    }

    auto* listButtons = new QHBoxLayout;
    listButtons->addStretch();
    listButtons->addWidget(BitBtn3);
    listButtons->addWidget(BitBtn4);
    listButtons->addWidget(BitBtn5);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(Label3);
    texts->addWidget(Label5);
    texts->addStretch();
    auto* group = new QHBoxLayout(GroupBox1);
    group->setContentsMargins(10, 10, 10, 10);
    group->addWidget(Image1, 0, Qt::AlignTop);
    group->addLayout(texts, 1);
    group->addWidget(BitBtn6, 0, Qt::AlignBottom);
    Label3->setMinimumWidth(220);

    auto* okCancel = new QHBoxLayout;
    okCancel->addStretch();
    okCancel->addWidget(BitBtn1);
    okCancel->addWidget(BitBtn2);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(14, 14, 14, 12);
    top->setSpacing(8);
    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(Label1);
    heading->addWidget(Label2);
    top->addLayout(heading);
    top->addSpacing(4);
    top->addWidget(CheckBox1);
    top->addWidget(ListView1);
    top->addLayout(listButtons);
    top->addSpacing(4);
    top->addWidget(GroupBox1);
    top->addSpacing(4);
    top->addLayout(okCancel);
    top->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(CheckBox1, ListView1);
    setTabOrder(ListView1, BitBtn3);
    setTabOrder(BitBtn3, BitBtn4);
    setTabOrder(BitBtn4, BitBtn5);
    setTabOrder(BitBtn5, BitBtn6);
    setTabOrder(BitBtn6, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TUserAndPassWordFrm::ListView1SelectItem);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { BitBtn5Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TUserAndPassWordFrm::BitBtn6Click);
    DialogKeys::install(this, BitBtn1);

    fillList();
    FormActivate();
}

QTreeWidgetItem* TUserAndPassWordFrm::selectedEntry() const
{
    const QList<QTreeWidgetItem*> s = ListView1->selectedItems();
    return s.isEmpty() ? nullptr : s.first();
}

QTreeWidgetItem* TUserAndPassWordFrm::entryOf(const QString& name) const
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        if (ListView1->topLevelItem(i)->text(0) == name)
            return ListView1->topLevelItem(i);
    return nullptr;
}

void TUserAndPassWordFrm::fillList()
{
    const QString defaultUser = dm_->readSetting(0);
    for (const UserStore::User& u : UserStore::allUsers(*dm_)) {
        auto* item = new QTreeWidgetItem({u.name, u.description});
        const QString id = QString::number(u.id);
        Users::UserIcon kind = Users::UserIcon::Ordinary;
        if (u.id == UserStore::kAdministratorId)
            kind = Users::UserIcon::Administrator;
        else if (id == defaultUser)
            kind = Users::UserIcon::DefaultUser;
        else if (u.locked)
            kind = Users::UserIcon::Locked;
        Users::setRowIcon(item, kind);
        ListView1->addTopLevelItem(item);
    }
}

void TUserAndPassWordFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormActivate();
}

// Becoming active (opening, and after each of its windows closes).
void TUserAndPassWordFrm::FormActivate()
{
    if (ListView1->topLevelItemCount() == 0) {
        GroupBox1->setTitle(QString());
        Label3->clear();
        BitBtn6->setEnabled(false);
    } else {
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
        ListView1->topLevelItem(0)->setSelected(true);
        ListView1SelectItem();
    }
    ListView1->setFocus();
}

void TUserAndPassWordFrm::ListView1SelectItem()
{
    if (QTreeWidgetItem* item = selectedEntry())
        showPasswordPart(item->text(0));
}

void TUserAndPassWordFrm::showPasswordPart(const QString& name)
{
    const QString caption = QStringLiteral("【") + name + QStringLiteral("】的密码");
    GroupBox1->setTitle(caption);
    Label3->setText(QStringLiteral("要更改") + caption + QStringLiteral("，"));
    BitBtn6->setEnabled(true);
}

// 确定: stores the choice of default user.
void TUserAndPassWordFrm::BitBtn1Click()
{
    dm_->clickSound();
    if (CheckBox1->isChecked()) {
        dm_->writeSetting(0, QStringLiteral("0"));
        accept();
        return;
    }
    QTreeWidgetItem* item = selectedEntry();
    if (!item) {
        if (dm_->readSetting(0) == QLatin1String("0"))
            info(msg_, "请选择默认用户！");
        else
            reject();
        return;
    }
    const auto u = UserStore::findByName(*dm_, item->text(0));
    if (!u) {
        info(msg_, "该用户不存在！");
        return;
    }
    if (u->id == UserStore::kAdministratorId) {
        info(msg_, "管理员不允许作为默认用户！");
        return;
    }
    if (u->locked) {
        info(msg_, "锁定用户不允许作为默认用户！");
        return;
    }
    Registry::setInstallPath(dm_->programFolder());
    dm_->writeSetting(0, QString::number(u->id));
    accept();
}

void TUserAndPassWordFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}

// 添加: the new-user wizard adds its entry to the list itself.
void TUserAndPassWordFrm::BitBtn3Click()
{
    dm_->clickSound();
    {
        TUserGuideFrm wizard(dm_, msg_, ListView1, this);
        Users::runModal(wizard);
    }
    FormActivate();
}

// 删除
void TUserAndPassWordFrm::BitBtn4Click()
{
    dm_->clickSound();
    QTreeWidgetItem* item = selectedEntry();
    const auto u = userOf(dm_, msg_, item, "请选择要删除的用户！");
    if (!u)
        return;
    const QString defaultUser = dm_->readSetting(0);
    const QString name = item->text(0);
    if (u->id == UserStore::kAdministratorId) {
        info(msg_, "管理员不允许被删除！");
        return;
    }
    if (QString::number(u->id) == defaultUser) {
        info(msg_, "默认用户不允许被删除！");
        return;
    }
    if (!msg_->confirm(QStringLiteral("重要提示"), QStringLiteral("确实要删除【") + name + QStringLiteral("】吗？"),
                       MsgIcon::Question))
        return;
    if (!msg_->confirm(QStringLiteral("警告"), QStringLiteral("该用户所有记录将被全部删除，是否继续？"),
                       MsgIcon::Warning))
        return;
    if (!UserStore::deleteUser(*dm_, u->id))
        return; // reported and undone: the user and the list stay as they were
    delete item;
    FormActivate();
}

// 属性 (and double-click on a row)
void TUserAndPassWordFrm::BitBtn5Click()
{
    dm_->clickSound();
    QTreeWidgetItem* item = selectedEntry();
    const auto u = userOf(dm_, msg_, item, "请选择要修改的用户！");
    if (!u)
        return;
    if (u->id == UserStore::kAdministratorId) {
        info(msg_, "管理员不允许修改属性！");
        return;
    }
    {
        TChangeCharacterFrm dlg(dm_, msg_, item, this);
        Users::runModal(dlg);
    }
    if (QTreeWidgetItem* now = selectedEntry())
        showPasswordPart(now->text(0));
    FormActivate();
}

// 设置密码
void TUserAndPassWordFrm::BitBtn6Click()
{
    dm_->clickSound();
    QTreeWidgetItem* item = selectedEntry();
    if (!userOf(dm_, msg_, item, "请选择要设置密码的用户！"))
        return;
    {
        TChangePassWordFrm dlg(dm_, msg_, item->text(0), this);
        Users::runModal(dlg);
    }
    FormActivate();
}
