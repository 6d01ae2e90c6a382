#include "skinengine.h"

#include <QApplication>
#include <QFile>

void QtSkinEngine::load(const QString& absolutePath)
{
    QFile f(absolutePath);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        off();
        return;
    }
    qApp->setStyleSheet(QString::fromUtf8(f.readAll()));
}

void QtSkinEngine::off() { qApp->setStyleSheet(QString()); }
