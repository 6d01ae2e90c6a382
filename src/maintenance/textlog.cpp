#include "textlog.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

bool TextLog::create()
{
    lines_.clear();
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QFile f(path_);
    open_ = f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    return open_;
}

void TextLog::line(const QString& text) { lines_ << text; }

QByteArray TextLog::encode(const QStringList& lines)
{
    QStringEncoder gbk("GBK");
    QByteArray out;
    for (const QString& l : lines) {
        out += gbk.encode(l);
        out += "\r\n";
    }
    return out;
}

bool TextLog::close()
{
    if (!open_)
        return false;
    open_ = false;
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(encode(lines_));
    return f.commit();
}
