#include "maintenancecommands.h"

#include "backuprestore.h"
#include "compact.h"
#include "datamodule.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

MaintenanceCommands::MaintenanceCommands(TDataModule1* dm, IMessageBox* messages, IFileDialog* files,
                                         IDesktop* desktop, IV1Reader* reader)
    : dm_(dm), messages_(messages), files_(files), desktop_(desktop), reader_(reader)
{
}

QString MaintenanceCommands::verifyLogPath() const { return dm_->programFolder() + QStringLiteral("Data/Verify.log"); }
QString MaintenanceCommands::upgradeLogPath() const { return dm_->programFolder() + QStringLiteral("Data/Upgrade.log"); }
QString MaintenanceCommands::compactPath() const { return dm_->programFolder() + QStringLiteral("Data/Account.tmp"); }

void MaintenanceCommands::openLog(const QString& path)
{
    if (desktop_ && QFileInfo(path).isFile())
        desktop_->openUrl(QUrl::fromLocalFile(path).toString());
}

QList<RecordSet*> MaintenanceCommands::closeDatasets()
{
    QList<RecordSet*> wasOpen;
    for (RecordSet* rs : {dm_->ADOTable1, dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4, dm_->ADOQuery6,
                          dm_->ADOQuery7, dm_->ADOQuery8, dm_->ADOQuery9, dm_->ADOQuery10})
        if (rs->isOpen()) {
            wasOpen << rs;
            rs->close();
        }
    // Anything else open on the connection closes with it; remember it too.
    for (RecordSet* rs : dm_->findChildren<RecordSet*>())
        if (rs->isOpen()) {
            wasOpen << rs;
            rs->close();
        }
    return wasOpen;
}

bool MaintenanceCommands::actVerify()
{
    dm_->clickSound();
    if (showProgress)
        showProgress(QStringLiteral("正在修复压缩数据..."));

    DataVerify verify(dm_);
    verify.progress = progress;
    verify.run();

    if (suspendGrids)
        suspendGrids();
    const QList<RecordSet*> wasOpen = closeDatasets();
    dm_->disconnectDatabase();

    SqlError error;
    const bool compacted = Compaction::compact(dm_->databasePath(), compactPath(), &error);
    if (!compacted)
        messages_->show(QStringLiteral("错误"),
                        QStringLiteral("数据修复压缩失败！详细信息：{") + error.className + QStringLiteral(": ")
                            + error.message + QStringLiteral("}, 请与") + TDataModule1::supportAddress()
                            + QStringLiteral("联系"),
                        MsgIcon::Critical);

    dm_->connectDatabase();
    BackupRestore::reopenDatasets(dm_, wasOpen);
    if (resumeGrids)
        resumeGrids();
    if (rebuildTree)
        rebuildTree();

    if (compacted) {
        dm_->doneSound();
        messages_->info(QStringLiteral("数据修复压缩成功！"));
    }
    openLog(verifyLogPath());
    if (freeProgress)
        freeProgress();
    return compacted;
}

bool MaintenanceCommands::actUpgrade()
{
    dm_->clickSound();
    const QString live = dm_->databasePath();
    const QString folder = dm_->programFolder() + QStringLiteral("Backup");
    QDir().mkpath(folder);
    FileDialogRequest r;
    r.title = QStringLiteral("打开");
    r.folder = folder;
    r.filter = QStringLiteral("数据文件 (*.mdb)");
    QString chosen = files_->openFile(r);
    if (chosen.isEmpty())
        return false;
    chosen = BackupRestore::withMdbExtension(chosen);
    const QString canonical = QFileInfo(chosen).canonicalFilePath();
    if (chosen == live || (!canonical.isEmpty() && canonical == QFileInfo(live).canonicalFilePath())) {
        messages_->info(QStringLiteral("请选择已备份的<Zelko家庭理财V1.0>数据文件！"));
        return false;
    }
    if (!QFileInfo(chosen).isFile()) {
        messages_->error(QStringLiteral("源数据文件不存在！"));
        return false;
    }
    if (QFileInfo::exists(live)) {
        if (!messages_->confirm(QStringLiteral("重要提示"), QStringLiteral("用户数据将被覆盖，是否继续？"),
                                MsgIcon::Question))
            return false;
        if (!messages_->confirm(QStringLiteral("警告"), QStringLiteral("该用户当前所有记录将被全部删除，是否继续？"),
                                MsgIcon::Warning))
            return false;
    }
    if (showProgress)
        showProgress(QStringLiteral("正在导入数据..."));

    V1Import import(dm_, reader_);
    import.progress = progress;
    import.beforeClose = suspendGrids;
    import.afterReopen = resumeGrids;
    const bool ok = import.run(chosen);

    if (rebuildTree)
        rebuildTree();
    dm_->doneSound();
    openLog(upgradeLogPath());
    if (freeProgress)
        freeProgress();
    return ok;
}
