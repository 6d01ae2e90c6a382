#include "actinfofrm.h"

#include "datamodule.h"
#include "dialogbuttons.h"
#include "dialogkeys.h"
#include "icons.h"
#include "services.h"
#include "treecatalogue.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOffBookHint =
    QStringLiteral("帐外资金指公积金、养老医疗保险等不可用资金，不包含在理财计划完成中");

QLineEdit* makeEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}
} // namespace

TActInfoFrm::TActInfoFrm(TDataModule1* dm, IDesktop* desktop, Mode mode, const QString& code, QWidget* parent)
    : QDialog(parent), dm_(dm), desktop_(desktop), mode_(mode), code_(code)
{
    setObjectName(QStringLiteral("ActInfoFrm"));
    static const char* captions[] = {"新增帐户", "修改帐户", "帐户属性"};
    static const char* icons[] = {"DirAdd", "DirEdit", "DirProperty"};
    setWindowTitle(QString::fromUtf8(captions[mode]));
    setWindowIcon(Icons::get(QString::fromLatin1(icons[mode])));
    build();
    load();
}

void TActInfoFrm::build()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 12);
    outer->setSpacing(10);

    auto* head = new QHBoxLayout;
    auto* pic = new QLabel(this);
    pic->setPixmap(Icons::get(QStringLiteral("account")).pixmap(32, 32));
    head->addWidget(pic, 0, Qt::AlignTop);
    auto* top = new QFormLayout;
    TypeNameEdit = makeEdit(this, "TypeNameEdit", 50);
    FlagCheckBox = new QCheckBox(QStringLiteral("帐外资金"), this);
    FlagCheckBox->setObjectName(QStringLiteral("FlagCheckBox"));
    FlagCheckBox->setToolTip(kOffBookHint);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(TypeNameEdit, 1);
    nameRow->addSpacing(10);
    nameRow->addWidget(FlagCheckBox);
    top->addRow(QStringLiteral("分类名称："), nameRow);
    head->addLayout(top, 1);
    outer->addLayout(head);

    GroupBox1 = new QGroupBox(QStringLiteral("帐户信息"), this);
    auto* g1 = new QFormLayout(GroupBox1);
    ActNameEdit = makeEdit(GroupBox1, "ActNameEdit", 50);
    RateEdit = makeEdit(GroupBox1, "RateEdit", 10);
    CardNoEdit = makeEdit(GroupBox1, "CardNoEdit", 30);
    CardNoEdit->setToolTip(QStringLiteral("请不要在软件中保存银行卡/帐户密码、信用卡号！"));
    ActNoEdit = makeEdit(GroupBox1, "ActNoEdit", 50);
    TermEdit = makeEdit(GroupBox1, "TermEdit", 10);
    MiscEdit = makeEdit(GroupBox1, "MiscEdit", 250);
    OpenDatePicker1 = new QDateEdit(GroupBox1);
    OpenDatePicker1->setObjectName(QStringLiteral("OpenDatePicker1"));
    OpenDatePicker1->setCalendarPopup(true);
    OpenDatePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    g1->addRow(QStringLiteral("实际户名："), ActNameEdit);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(RateEdit);
    rateRow->addSpacing(12);
    rateRow->addWidget(new QLabel(QStringLiteral("存期："), GroupBox1));
    rateRow->addWidget(TermEdit);
    g1->addRow(QStringLiteral("利率："), rateRow);
    g1->addRow(QStringLiteral("卡号："), CardNoEdit);
    g1->addRow(QStringLiteral("帐号："), ActNoEdit);
    g1->addRow(QStringLiteral("开户日期："), OpenDatePicker1);
    g1->addRow(QStringLiteral("备注："), MiscEdit);
    outer->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral("银行信息"), this);
    auto* g2 = new QFormLayout(GroupBox2);
    BankAddressEdit = makeEdit(GroupBox2, "BankAddressEdit", 250);
    BankPhoneEdit = makeEdit(GroupBox2, "BankPhoneEdit", 20);
    BankURLEdit = makeEdit(GroupBox2, "BankURLEdit", 255);
    g2->addRow(QStringLiteral("银行地址："), BankAddressEdit);
    g2->addRow(QStringLiteral("联系电话："), BankPhoneEdit);
    g2->addRow(QStringLiteral("网上银行："), BankURLEdit);
    outer->addWidget(GroupBox2);

    outer->addLayout(okCancelRow(this, &BitBtn1, &BitBtn2));

    QWidget* order[] = {TypeNameEdit, FlagCheckBox, ActNameEdit, RateEdit, CardNoEdit, ActNoEdit, TermEdit, MiscEdit,
                        OpenDatePicker1, BankAddressEdit, BankPhoneEdit, BankURLEdit, BitBtn1, BitBtn2};
    for (size_t i = 0; i + 1 < sizeof(order) / sizeof(order[0]); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(BitBtn1, &QPushButton::clicked, this, &TActInfoFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TActInfoFrm::BitBtn2Click);
    BankURLEdit->installEventFilter(this);
    DialogKeys::install(this, BitBtn1);
    setMinimumWidth(430);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TActInfoFrm::load()
{
    TreeCatalogue::AccountDetails d;
    if (mode_ != Add) {
        TreeCatalogue::TypeRow row;
        if (TreeCatalogue::readType(*dm_, code_, &row)) {
            TypeNameEdit->setText(row.typeName);
            FlagCheckBox->setChecked(row.fundFlag);
        }
        TreeCatalogue::readDetails(*dm_, code_, &d);
    } else {
        TypeNameEdit->clear();
        FlagCheckBox->setChecked(false);
    }
    ActNameEdit->setText(d.actName);
    RateEdit->setText(d.rate);
    CardNoEdit->setText(d.cardNo);
    ActNoEdit->setText(d.actNo);
    TermEdit->setText(d.term);
    MiscEdit->setText(d.misc);
    OpenDatePicker1->setDate(d.openDate);
    BankAddressEdit->setText(d.address);
    BankPhoneEdit->setText(d.phone);
    BankURLEdit->setText(d.url);

    const bool view = mode_ == View;
    for (QLineEdit* e : {TypeNameEdit, ActNameEdit, RateEdit, CardNoEdit, ActNoEdit, TermEdit, MiscEdit, BankAddressEdit,
                         BankPhoneEdit, BankURLEdit})
        e->setReadOnly(view);
    OpenDatePicker1->setEnabled(!view);
    FlagCheckBox->setEnabled(!view);
    if (view) {
        BankURLEdit->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        BankURLEdit->setCursor(Qt::PointingHandCursor);
    } else {
        BankURLEdit->setStyleSheet(QString());
        BankURLEdit->unsetCursor();
    }
}

void TActInfoFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (mode_ == View)
        BitBtn1->setFocus();
    else
        TypeNameEdit->setFocus();
}

bool TActInfoFrm::eventFilter(QObject* o, QEvent* e)
{
    if (o == BankURLEdit && e->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
        BankURLEditClick();
    return QDialog::eventFilter(o, e);
}

void TActInfoFrm::BankURLEditClick()
{
    dm_->clickSound();
    if (mode_ == View && desktop_ && !BankURLEdit->text().trimmed().isEmpty())
        desktop_->openUrl(BankURLEdit->text().trimmed());
}

void TActInfoFrm::BitBtn1Click()
{
    dm_->clickSound();
    const QString name = TypeNameEdit->text();
    if (name.trimmed().isEmpty()) {
        reject();
        return;
    }
    if (mode_ == View) {
        accept();
        return;
    }
    TreeCatalogue::AccountDetails d;
    d.actName = ActNameEdit->text();
    d.cardNo = CardNoEdit->text();
    d.actNo = ActNoEdit->text();
    d.rate = RateEdit->text();
    d.openDate = OpenDatePicker1->date();
    d.term = TermEdit->text();
    d.misc = MiscEdit->text();
    d.address = BankAddressEdit->text();
    d.phone = BankPhoneEdit->text();
    d.url = BankURLEdit->text();

    // The account and its details are written together or not at all.
    TDataModule1::Work work(*dm_);
    bool ok;
    if (mode_ == Edit) {
        ok = TreeCatalogue::renameType(*dm_, code_, name, FlagCheckBox->isChecked())
             && TreeCatalogue::saveDetails(*dm_, code_, d);
    } else {
        newCode_ = TreeCatalogue::createType(*dm_, name, code_, FlagCheckBox->isChecked());
        ok = !newCode_.isEmpty() && TreeCatalogue::insertDetails(*dm_, newCode_, d);
    }
    if (!ok || !work.commit()) {
        newCode_.clear();
        reject();
        return;
    }
    accept();
}

void TActInfoFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}
