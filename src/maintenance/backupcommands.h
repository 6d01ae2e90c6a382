#pragma once
// The main window's "数据备份..." and "数据恢复..." commands around the
// backup and restore routines: the missing-user case closes the main
// window (which ends the program through its normal closing).

#include "backuprestore.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

class QWidget;

class BackupCommands : public QObject {
    Q_OBJECT
public:
    BackupCommands(TDataModule1* dm, IMessageBox* messages, IFileDialog* files, QWidget* mainWindow);

    BackupRestore& routines() { return routines_; }

    static QIcon backupIcon();
    static QIcon restoreIcon();

public slots:
    void ActBackupExecute();  // click sound, then backup
    void ActRestoreExecute(); // restore (begins with the click sound)

private:
    BackupRestore routines_;
    QPointer<QWidget> mainWindow_;
};
