#include "tprogressbardlg.h"

#include "datamodule.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TProgressBarDlg::TProgressBarDlg(TDataModule1* dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("TProgressBarDlg"));
    setWindowTitle(QStringLiteral("正在导入数据 ..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    setFixedSize(265, 83);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(237);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setEnabled(false); // drawn greyed
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    CloseBitBtn = new QPushButton(QStringLiteral("确定"), this);
    CloseBitBtn->setObjectName(QStringLiteral("CloseBitBtn"));
    CloseBitBtn->setMinimumWidth(80);
    CloseBitBtn->setAutoDefault(false);
    connect(CloseBitBtn, &QPushButton::clicked, this, &TProgressBarDlg::CloseBitBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseBitBtn);
    buttons->addStretch();
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(14, 12, 14, 10);
    main->setSpacing(8);
    main->addWidget(ProgressBar1, 0, Qt::AlignHCenter);
    main->addLayout(buttons);
}

void TProgressBarDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    ProgressBar1->setMinimum(0);
    ProgressBar1->setValue(0);
}

void TProgressBarDlg::setMaximum(int maximum) { ProgressBar1->setMaximum(qMax(maximum, 0)); }

void TProgressBarDlg::step()
{
    if (ProgressBar1->value() < ProgressBar1->maximum())
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    if (isVisible())
        ProgressBar1->repaint();
}

int TProgressBarDlg::position() const { return ProgressBar1->value(); }

void TProgressBarDlg::CloseBitBtnClick()
{
    dm_->clickSound();
    close();
}
