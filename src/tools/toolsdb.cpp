#include "toolsdb.h"

#include "datamodule.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

bool ToolConnection::open(const QString& path)
{
    if (db_.open(path, Database::password()))
        return true;
    if (messages_)
        messages_->show(QStringLiteral("程序错误"),
                        TDataModule1::errorText(QStringLiteral("连接数据库失败: "), path, db_.lastError()),
                        MsgIcon::Critical);
    return false;
}

void ToolConnection::report(const QString& prefix, const QString& sql)
{
    if (messages_)
        messages_->show(QStringLiteral("程序错误"), TDataModule1::errorText(prefix, sql, db_.lastError()),
                        MsgIcon::Critical);
}

bool ToolConnection::query(const QString& sql, const QVariantList& params, QueryResult* out)
{
    *out = QueryResult();
    if (!db_.isOpen())
        return false;
    if (db_.select(sql, params, out))
        return true;
    *out = QueryResult();
    report(QStringLiteral("查询记录错误: "), sql);
    return false;
}

bool ToolConnection::exec(const QString& sql, const QVariantList& params)
{
    if (!db_.isOpen())
        return false;
    if (db_.exec(sql, params))
        return true;
    report(QStringLiteral("修改记录错误: "), sql);
    return false;
}

namespace ToolText {

double number(const QString& text, bool* ok)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char(','));
    t.remove(QLatin1Char('%'));
    bool good = false;
    const double v = t.isEmpty() ? 0.0 : t.toDouble(&good);
    if (ok)
        *ok = good && std::isfinite(v);
    return good && std::isfinite(v) ? v : 0.0;
}

QString money(double v)
{
    // Straight to cents, half away from zero.
    const double cents = std::round(v * 100.0);
    if (!std::isfinite(cents))
        return QString();
    // Beyond what a Money holds the figure is grouped from its own digits
    // (converting it to an integer would overflow).
    if (std::fabs(cents) >= 9.0e16) {
        QString digits = QString::number(std::fabs(cents) / 100.0, 'f', 2);
        for (int at = digits.size() - 6; at > 0; at -= 3)
            digits.insert(at, QLatin1Char(','));
        return cents < 0 ? QLatin1Char('-') + digits : digits;
    }
    return Money::fromRaw(qint64(cents) * (Money::kScale / 100)).display();
}

QString noteFile(const QString& programFolder, const QString& name)
{
    QFile f(programFolder + name);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return QStringLiteral("文件%1不存在").arg(name);
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gbk("GBK");
        if (gbk.isValid())
            text = gbk.decode(bytes);
    }
    return text;
}

} // namespace ToolText
