#include "backupcommands.h"

#include "artwork.h"

#include <QMetaObject>
#include <QWidget>

BackupCommands::BackupCommands(TDataModule1* dm, IMessageBox* messages, IFileDialog* files, QWidget* mainWindow)
    : QObject(mainWindow), routines_(dm, messages, files), mainWindow_(mainWindow)
{
    routines_.endProgram = [this] {
        // Closed once the command has returned, through the window's normal closing.
        if (mainWindow_)
            QMetaObject::invokeMethod(mainWindow_, "close", Qt::QueuedConnection);
    };
}

QIcon BackupCommands::backupIcon() { return Artwork::icon(QStringLiteral("backup")); }
QIcon BackupCommands::restoreIcon() { return Artwork::icon(QStringLiteral("restore")); }

void BackupCommands::ActBackupExecute() { routines_.actBackup(); }

void BackupCommands::ActRestoreExecute() { routines_.restore(); }
