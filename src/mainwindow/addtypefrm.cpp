#include "addtypefrm.h"

#include "datamodule.h"
#include "dialogbuttons.h"
#include "dialogkeys.h"
#include "icons.h"
#include "treecatalogue.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOffBookHint =
    QStringLiteral("帐外资金指公积金、养老医疗保险等不可用资金，不包含在理财计划完成中");
}

TAddTypeFrm::TAddTypeFrm(TDataModule1* dm, Mode mode, const QString& code, QWidget* parent)
    : TAddTypeFrm(dm, mode, code, true, parent)
{
}

TAddTypeFrm::TAddTypeFrm(TDataModule1* dm, Mode mode, const QString& code, bool withFlag, QWidget* parent)
    : QDialog(parent), dm_(dm), mode_(mode), code_(code)
{
    setObjectName(withFlag ? QStringLiteral("AddTypeFrm") : QStringLiteral("AddOtherTypeFrm"));
    setWindowTitle(mode == Add ? QStringLiteral("新增分类") : QStringLiteral("修改分类"));
    setWindowIcon(Icons::get(mode == Add ? QStringLiteral("DirAdd") : QStringLiteral("DirEdit")));
    build(withFlag);
    load();
}

void TAddTypeFrm::build(bool withFlag)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->setSpacing(12);

    auto* row = new QHBoxLayout;
    auto* pic = new QLabel(this);
    pic->setPixmap(windowIcon().pixmap(32, 32));
    row->addWidget(pic, 0, Qt::AlignTop);
    auto* grid = new QGridLayout;
    Label1 = new QLabel(QStringLiteral("分类名称："), this);
    TypeNameEdit = new QLineEdit(this);
    TypeNameEdit->setObjectName(QStringLiteral("TypeNameEdit"));
    TypeNameEdit->setMaxLength(50);
    TypeNameEdit->setMinimumWidth(200);
    Label1->setBuddy(TypeNameEdit);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(TypeNameEdit, 0, 1);
    if (withFlag) {
        FlagCheckBox = new QCheckBox(QStringLiteral("参与统计"), this);
        FlagCheckBox->setObjectName(QStringLiteral("FlagCheckBox"));
        FlagCheckBox->setToolTip(kOffBookHint);
        grid->addWidget(FlagCheckBox, 1, 1);
    }
    row->addLayout(grid, 1);
    outer->addLayout(row);

    outer->addLayout(okCancelRow(this, &BitBtn1, &BitBtn2));
    connect(BitBtn1, &QPushButton::clicked, this, &TAddTypeFrm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TAddTypeFrm::BitBtn2Click);
    DialogKeys::install(this, BitBtn1);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TAddTypeFrm::load()
{
    if (mode_ == Edit) {
        TreeCatalogue::TypeRow row;
        if (TreeCatalogue::readType(*dm_, code_, &row)) {
            TypeNameEdit->setText(row.typeName);
            if (FlagCheckBox)
                FlagCheckBox->setChecked(row.fundFlag);
        }
    } else {
        TypeNameEdit->clear();
        if (FlagCheckBox)
            FlagCheckBox->setChecked(true);
    }
}

void TAddTypeFrm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    TypeNameEdit->setFocus();
}

void TAddTypeFrm::BitBtn1Click()
{
    dm_->clickSound();
    const QString name = TypeNameEdit->text();
    if (name.trimmed().isEmpty()) {
        reject();
        return;
    }
    const bool flag = FlagCheckBox ? FlagCheckBox->isChecked() : false;
    if (mode_ == Edit) {
        TDataModule1::Work work(*dm_);
        bool ok = TreeCatalogue::renameType(*dm_, code_, name, flag);
        if (ok && FlagCheckBox)
            ok = dm_->exec(QStringLiteral("UPDATE AC_List SET Included = ? WHERE UserID = ? AND TypeID2 = ?"),
                           {flag, dm_->currentUserId(), code_});
        if (!ok || !work.commit()) {
            reject();
            return;
        }
        accept();
        return;
    }
    newCode_ = TreeCatalogue::createType(*dm_, name, code_, flag);
    if (newCode_.isEmpty())
        reject();
    else
        accept();
}

void TAddTypeFrm::BitBtn2Click()
{
    dm_->clickSound();
    reject();
}

TAddOtherTypeFrm::TAddOtherTypeFrm(TDataModule1* dm, Mode mode, const QString& code, QWidget* parent)
    : TAddTypeFrm(dm, mode, code, false, parent)
{
}
