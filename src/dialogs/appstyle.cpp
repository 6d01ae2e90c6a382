#include "appstyle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyleOptionGroupBox>
#include <QWidget>

QRect AppStyle::subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                               const QWidget* widget) const
{
    QRect r = QProxyStyle::subControlRect(cc, opt, sc, widget);
    if (cc != CC_GroupBox || sc != SC_GroupBoxLabel)
        return r;
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
    if (!box || box->text.isEmpty())
        return r;
    QFont bold = widget ? widget->font() : QApplication::font();
    bold.setBold(true);
    const int need = QFontMetrics(bold).horizontalAdvance(box->text) + 4;
    if (r.width() < need) {
        if (box->textAlignment & Qt::AlignRight)
            r.setLeft(r.right() - need + 1);
        else
            r.setWidth(need);
    }
    return r;
}
