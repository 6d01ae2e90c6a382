#include "backuprestore.h"

#include "database.h"
#include "datamodule.h"
#include "schema.h"
#include "schemaversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>

#include <cstdio>

namespace {

const QString kDataFilter = QStringLiteral("数据文件 (*.mdb)");

QString sqliteMessage(sqlite3* db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Moves `from` over `to`. On POSIX the rename replaces the target in one
// step; elsewhere the target is removed first.
bool replaceFile(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (QFile::exists(to) && !QFile::remove(to))
        return false;
    return QFile::rename(from, to);
}

void removeWithJournal(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

// --- DatabaseCopy ------------------------------------------------------------------

namespace DatabaseCopy {

static bool copyFromHandle(sqlite3* src, const QString& target, QString* error)
{
    const QString part = target + QStringLiteral(".part");
    removeWithJournal(part);

    sqlite3* dest = nullptr;
    const QByteArray p = part.toUtf8();
    int rc = sqlite3_open_v2(p.constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = sqliteMessage(dest, rc);
        sqlite3_close(dest);
        removeWithJournal(part);
        return false;
    }
    const QByteArray k = Database::password().toUtf8();
    sqlite3_key(dest, k.constData(), k.size());
    sqlite3_exec(dest, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);

    bool ok = false;
    if (sqlite3_backup* b = sqlite3_backup_init(dest, "main", src, "main")) {
        // One step copies every page under a single read lock of the source:
        // the copy is one committed state. A writer elsewhere that is just
        // committing makes the step wait and try again.
        int waited = 0;
        do {
            rc = sqlite3_backup_step(b, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                sqlite3_sleep(50);
                waited += 50;
            }
        } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < 10000);
        const int finish = sqlite3_backup_finish(b);
        ok = rc == SQLITE_DONE && finish == SQLITE_OK;
        if (!ok && error)
            *error = rc == SQLITE_DONE ? sqliteMessage(dest, finish) : QString::fromUtf8(sqlite3_errstr(rc));
    } else if (error) {
        *error = sqliteMessage(dest, SQLITE_ERROR);
    }
    sqlite3_close(dest);

    if (ok && !isProgramDatabase(part)) {
        ok = false;
        if (error)
            *error = QStringLiteral("the copy does not read back");
    }
    if (ok && !replaceFile(part, target)) {
        ok = false;
        if (error)
            *error = QStringLiteral("cannot replace %1").arg(target);
    }
    if (!ok)
        removeWithJournal(part);
    return ok;
}

bool copyFile(const QString& sourcePath, const QString& target, QString* error)
{
    Database src;
    if (!src.open(sourcePath, Database::password())) {
        if (error)
            *error = src.lastError().message;
        return false;
    }
    return copyFromHandle(src.handle(), target, error);
}

bool copyTo(Database& source, const QString& target, QString* error)
{
    // A unit of work open on this very connection would be copied with it:
    // read the committed file through a connection of its own instead.
    if (!source.isOpen() || source.transactionDepth() > 0)
        return copyFile(source.path(), target, error);
    return copyFromHandle(source.handle(), target, error);
}

bool isProgramDatabase(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    Database db;
    if (!db.open(path, Database::password()))
        return false;
    const QStringList present = db.tableNames();
    for (const Schema::Table& t : Schema::tables()) {
        bool found = false;
        for (const QString& name : present)
            found = found || name.compare(t.name, Qt::CaseInsensitive) == 0;
        if (!found)
            return false;
    }
    return true;
}

} // namespace DatabaseCopy

// --- BackupRestore ---------------------------------------------------------------------

BackupRestore::BackupRestore(TDataModule1* dm, IMessageBox* messages, IFileDialog* files)
    : dm_(dm), messages_(messages), files_(files)
{
}

QString BackupRestore::defaultFileName(const QDate& today)
{
    return QStringLiteral("ZelkoAccount") + TDataModule1::dateText(Dates::kCompact, today) + QStringLiteral(".mdb");
}

QString BackupRestore::withMdbExtension(const QString& path)
{
    if (QFileInfo(path).suffix().toLower() == QLatin1String("mdb"))
        return path;
    return path + QStringLiteral(".mdb");
}

QString BackupRestore::startFolder()
{
    const QString last = dm_->readSetting(12);
    if (last != QLatin1String("0") && !last.isEmpty())
        return last;
    const QString folder = dm_->programFolder() + QStringLiteral("Backup");
    QDir().mkpath(folder); // so that the dialog really starts there
    return folder;
}

QString BackupRestore::beforeRestorePath() const
{
    return dm_->programFolder() + QStringLiteral("Data/Account.before-restore.mdb");
}

bool BackupRestore::samePath(const QString& a, const QString& b) const
{
    if (a == b)
        return true;
    // The same file reached by another spelling (./, .., a link) is the same file.
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

void BackupRestore::actBackup()
{
    dm_->clickSound();
    backup();
}

bool BackupRestore::backup()
{
    const QString source = dm_->databasePath();
    FileDialogRequest r;
    r.title = QStringLiteral("保存为");
    r.folder = startFolder();
    r.fileName = defaultFileName(today());
    r.filter = kDataFilter;
    QString chosen = files_->saveFile(r);
    if (chosen.isEmpty())
        return false;
    chosen = withMdbExtension(chosen);
    if (samePath(chosen, source))
        return false;
    if (!QFileInfo(source).isFile()) {
        messages_->error(QStringLiteral("源数据文件不存在！"));
        return false;
    }
    if (QFileInfo::exists(chosen)
        && !messages_->confirm(QStringLiteral("重要提示"), QStringLiteral("目标文件已存在，是否覆盖？"), MsgIcon::Warning))
        return false;

    QString why;
    const bool copied = dm_->isConnected() ? DatabaseCopy::copyTo(dm_->db(), chosen, &why)
                                           : DatabaseCopy::copyFile(source, chosen, &why);
    if (!copied) {
        messages_->error(QStringLiteral("备份失败，请检查备份文件是否正在被另一个程序使用！"));
        return false;
    }
    const QString folder = QFileInfo(chosen).absolutePath();
    dm_->writeSetting(12, folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    dm_->writeSetting(11, TDataModule1::dateText(Dates::kShort, today()));
    dm_->doneSound();
    messages_->info(QStringLiteral("数据备份完成！"));
    return true;
}

QList<RecordSet*> BackupRestore::openDatasets() const
{
    QList<RecordSet*> open;
    for (RecordSet* rs : dm_->findChildren<RecordSet*>())
        if (rs->isOpen())
            open << rs;
    return open;
}

void BackupRestore::reopenDatasets(TDataModule1* dm, const QList<RecordSet*>& wasOpen)
{
    QList<RecordSet*> order{dm->ADOQuery6, dm->ADOQuery7, dm->ADOQuery8, dm->ADOQuery9, dm->ADOQuery10,
                            dm->ADOTable1, dm->ADOTable2, dm->ADOTable3, dm->ADOTable4};
    for (RecordSet* rs : wasOpen)
        if (!order.contains(rs))
            order << rs;
    for (RecordSet* rs : order)
        if (wasOpen.contains(rs))
            rs->open();
}

BackupRestore::RestoreResult BackupRestore::restore()
{
    dm_->clickSound();
    const QString live = dm_->databasePath();
    FileDialogRequest r;
    r.title = QStringLiteral("打开");
    r.folder = startFolder();
    r.filter = kDataFilter;
    QString chosen = files_->openFile(r);
    if (chosen.isEmpty())
        return RestoreResult::Cancelled;
    chosen = withMdbExtension(chosen);
    if (samePath(chosen, live))
        return RestoreResult::Cancelled;
    if (!QFileInfo(chosen).isFile()) {
        messages_->error(QStringLiteral("源数据文件不存在！"));
        return RestoreResult::Refused;
    }
    // Only a file that opens with the database password and holds the
    // household tables may replace the live data.
    if (!DatabaseCopy::isProgramDatabase(chosen)) {
        messages_->error(QStringLiteral("源数据文件不是有效的数据文件！"));
        return RestoreResult::Refused;
    }
    if (QFileInfo::exists(live)) {
        if (!messages_->confirm(QStringLiteral("重要提示"), QStringLiteral("用户数据将被覆盖，是否继续？"),
                                MsgIcon::Question))
            return RestoreResult::Cancelled;
        if (!messages_->confirm(QStringLiteral("警告"), QStringLiteral("该用户当前所有记录将被全部删除，是否继续？"),
                                MsgIcon::Warning))
            return RestoreResult::Cancelled;
    }

    // The new file is prepared beside the live one while everything is still
    // open, so that a failure leaves the live data untouched.
    const QString incoming = dm_->programFolder() + QStringLiteral("Data/Account.restore.mdb");
    QString why;
    if (!DatabaseCopy::copyFile(chosen, incoming, &why)) {
        removeWithJournal(incoming);
        messages_->error(QStringLiteral("数据恢复失败，请检查数据文件是否正在被另一个程序使用！"));
        return RestoreResult::Failed;
    }

    if (beforeDisconnect)
        beforeDisconnect();
    const QList<RecordSet*> wasOpen = openDatasets();
    for (RecordSet* rs : {dm_->ADOTable1, dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4, dm_->ADOQuery6,
                          dm_->ADOQuery7, dm_->ADOQuery8, dm_->ADOQuery9, dm_->ADOQuery10})
        rs->close();
    dm_->disconnectDatabase();

    // Keep the replaced file so that a wrong restore can be undone.
    const QString before = beforeRestorePath();
    bool swapped = true;
    if (QFileInfo::exists(live)) {
        removeWithJournal(before);
        swapped = QFile::copy(live, before) && replaceFile(incoming, live);
    } else {
        swapped = replaceFile(incoming, live);
    }
    removeWithJournal(incoming);

    dm_->connectDatabase();
    if (!swapped || !dm_->isConnected()) {
        // Put the old data back and carry on with it.
        if (swapped && QFileInfo::exists(before)) {
            dm_->disconnectDatabase();
            // Copy beside the live file first, so that the live name always
            // holds a whole database.
            const QString back = live + QStringLiteral(".back");
            removeWithJournal(back);
            if (QFile::copy(before, back) && !replaceFile(back, live))
                removeWithJournal(back);
            dm_->connectDatabase();
        }
        reopenDatasets(dm_, wasOpen);
        if (afterReconnect)
            afterReconnect();
        messages_->error(QStringLiteral("数据恢复失败，请检查数据文件是否正在被另一个程序使用！"));
        return RestoreResult::Failed;
    }

    // A backup from an older version gets the tables and rows it lacks.
    SchemaVersion::check(*dm_);
    reopenDatasets(dm_, wasOpen);
    if (afterReconnect)
        afterReconnect();

    QString skin = dm_->readSetting(-1);
    if (skin == QLatin1String("0"))
        skin.clear();
    if (applySkin)
        applySkin(skin);

    dm_->doneSound();
    messages_->info(QStringLiteral("数据恢复完成！"));

    const bool found = dm_->query(QStringLiteral("SELECT * FROM AC_User WHERE UserID = ?"), {dm_->currentUserId()})
                       && !dm_->ADOQuery1().isEmpty();
    if (!found) {
        messages_->info(QStringLiteral("用户不存在！按【确定】退出程序。"));
        if (endProgram)
            endProgram();
        return RestoreResult::UserMissing;
    }
    if (showUser)
        showUser(QStringLiteral("用户： 【") + dm_->ADOQuery1().text(0, QStringLiteral("UserName")) + QStringLiteral("】"));
    return RestoreResult::Restored;
}
