#pragma once
// The program's widget style: the desktop's own, with the room a group box
// caption needs measured in the bold font it is drawn with (Chinese captions
// were clipped by a few pixels otherwise).

#include <QProxyStyle>

class AppStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* widget) const override;
};
