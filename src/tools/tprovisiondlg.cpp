#include "tprovisiondlg.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TProvisionDlg::TProvisionDlg(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ProvisionDlg"));
    setWindowTitle(QStringLiteral("利息计算方法"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(text);
    Memo1->setMinimumSize(465, 585);
    lay->addWidget(Memo1);
    // Esc closes: QDialog's own reject().
}
