#include "compact.h"

#include "backuprestore.h"

#include <QFile>
#include <QFileInfo>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>

#include <cstdio>

namespace {

const QString kClass = QStringLiteral("ECompactError");

void removeWithJournal(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

bool fail(SqlError* error, const QString& cls, const QString& text)
{
    if (error)
        *error = {cls.isEmpty() ? kClass : cls, text};
    return false;
}

} // namespace

namespace Compaction {

QList<QPair<QString, qint64>> rowCounts(const QString& path)
{
    QList<QPair<QString, qint64>> counts;
    Database db;
    if (!QFileInfo(path).isFile() || !db.open(path, Database::password()))
        return counts;
    QStringList names = db.tableNames();
    names.sort(Qt::CaseInsensitive);
    for (const QString& name : names) {
        QueryResult r;
        // A table name cannot be bound; it comes from the file's own catalogue.
        QString quoted = name;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        if (!db.select(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(quoted), {}, &r) || r.isEmpty())
            return {};
        counts.append({name, r.value(0, 0).toLongLong()});
    }
    return counts;
}

bool compact(const QString& live, const QString& tmp, SqlError* error)
{
    if (!QFileInfo(live).isFile())
        return fail(error, kClass, QStringLiteral("文件不存在: ") + live);
    removeWithJournal(tmp);
    if (QFileInfo::exists(tmp))
        return fail(error, kClass, QStringLiteral("无法删除 ") + tmp);

    {
        // The connection opens existing files only: give the copy an empty
        // file (an empty database) to attach.
        QFile empty(tmp);
        if (!empty.open(QIODevice::WriteOnly))
            return fail(error, kClass, QStringLiteral("无法创建 ") + tmp);
        empty.close();
    }
    {
        Database src;
        if (!src.open(live, Database::password())) {
            removeWithJournal(tmp);
            return fail(error, src.lastError().className, src.lastError().message);
        }
        // The copy gets the same (3.x) cipher settings as every file of the program.
        sqlite3_exec(src.handle(), "PRAGMA cipher_default_compatibility = 3", nullptr, nullptr, nullptr);
        QueryResult r;
        const bool ok = src.exec(QStringLiteral("ATTACH DATABASE ? AS c KEY ?"), {tmp, Database::password()})
                        && src.select(QStringLiteral("SELECT sqlcipher_export('c')"), {}, &r);
        const SqlError e = src.lastError();
        src.exec(QStringLiteral("DETACH DATABASE c"));
        src.close();
        if (!ok) {
            removeWithJournal(tmp);
            return fail(error, e.className, e.message);
        }
    }

    // The copy must open with the password, hold the program's tables and
    // every row of the live file before it may replace it.
    const auto before = rowCounts(live);
    if (!DatabaseCopy::isProgramDatabase(tmp) || before.isEmpty() || rowCounts(tmp) != before) {
        removeWithJournal(tmp);
        return fail(error, kClass, QStringLiteral("压缩后的数据文件校验失败"));
    }
    // On POSIX the rename replaces the live file in one step. Elsewhere the
    // live file is moved aside first and put back when the copy cannot take its place.
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(live).constData()) == 0)
        return true;
    const QString aside = live + QStringLiteral(".old");
    removeWithJournal(aside);
    if (QFile::rename(live, aside)) {
        if (QFile::rename(tmp, live)) {
            QFile::remove(aside);
            return true;
        }
        QFile::rename(aside, live);
    }
    removeWithJournal(tmp);
    return fail(error, kClass, QStringLiteral("无法替换 ") + live);
}

} // namespace Compaction
