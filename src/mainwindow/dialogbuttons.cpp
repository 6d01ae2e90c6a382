#include "dialogbuttons.h"

#include "icons.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* okCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    *ok = new QPushButton(Icons::get(QStringLiteral("ok")), QStringLiteral("确定"), parent);
    (*ok)->setObjectName(QStringLiteral("BitBtn1"));
    *cancel = new QPushButton(Icons::get(QStringLiteral("cancel")), QStringLiteral("取消"), parent);
    (*cancel)->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton* b : {*ok, *cancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
        buttons->addWidget(b);
    }
    return buttons;
}
