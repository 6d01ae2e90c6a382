#pragma once
// The commands "数据修复压缩" (verify, then compact the file) and
// "从1.0导入数据..." (import a version-1.0 file) without their windows: the
// progress dialog, the grids and the category tree are reached through hooks.

#include "services.h"
#include "upgrade.h"
#include "verify.h"

#include <QList>
#include <QString>
#include <functional>

class RecordSet;
class TDataModule1;

class MaintenanceCommands {
public:
    MaintenanceCommands(TDataModule1* dm, IMessageBox* messages, IFileDialog* files, IDesktop* desktop,
                        IV1Reader* reader);

    // "数据修复压缩". True when the compaction succeeded.
    bool actVerify();
    // "从1.0导入数据...". True when an import ran to its end.
    bool actUpgrade();

    // The progress dialog: created and shown without waiting with a caption,
    // driven through `progress`, freed at the end.
    std::function<void(const QString& caption)> showProgress;
    ProgressHooks progress;
    std::function<void()> freeProgress;
    // Suspend the grids before the datasets close; resume them and rebuild
    // the category tree after they are open again.
    std::function<void()> suspendGrids;
    std::function<void()> resumeGrids;
    std::function<void()> rebuildTree;

    void setReader(IV1Reader* reader) { reader_ = reader; }

    QString verifyLogPath() const;
    QString upgradeLogPath() const;
    QString compactPath() const; // Data/Account.tmp

private:
    void openLog(const QString& path);
    QList<RecordSet*> closeDatasets();

    TDataModule1* dm_;
    IMessageBox* messages_;
    IFileDialog* files_;
    IDesktop* desktop_;
    IV1Reader* reader_;
};
