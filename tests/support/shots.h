#pragma once
// Helpers of the programs that render windows to PNG files for a look.

#include <QApplication>
#include <QFont>
#include <QThread>

// Lets pending paints and timers run before a grab.
inline void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(15);
    }
}

// Chinese captions render with the CJK font after the default one.
inline void useCjkFont()
{
    QFont appFont = QApplication::font();
    appFont.setFamilies({appFont.family(), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(appFont);
}
