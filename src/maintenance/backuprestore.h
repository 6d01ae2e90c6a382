#pragma once
// Backup and restore of the whole database file (every user's data).
//
// The backup is a consistent copy of the open database made with SQLite's
// online backup, keyed with the database password, so it never catches a
// half-written transaction. A restore first proves that the chosen file opens
// with the database password and holds the program's tables, keeps the
// replaced live file as Data/Account.before-restore.mdb, and swaps the files
// while the connection is closed.

#include "services.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class Database;
class RecordSet;
class TDataModule1;

namespace DatabaseCopy {

// Copies the database behind the open connection `source` into a new file at
// target (replaced atomically when it exists), keyed with the database
// password. Reads the committed state only. False with *error on failure;
// an existing target is left as it was then.
bool copyTo(Database& source, const QString& target, QString* error);

// Same, from a file on disk that is opened with the database password.
bool copyFile(const QString& sourcePath, const QString& target, QString* error);

// True when the file opens with the database password and holds every table
// of the household database.
bool isProgramDatabase(const QString& path);

} // namespace DatabaseCopy

class BackupRestore {
public:
    enum class RestoreResult {
        Cancelled,   // no file chosen, the live file itself, or a question declined
        Refused,     // missing or not a database of this program: nothing changed
        Failed,      // the files could not be swapped: the old data is back in place
        Restored,    // the data is restored and the current user exists in it
        UserMissing, // restored, but the current user is not in the file: end the program
    };

    BackupRestore(TDataModule1* dm, IMessageBox* messages, IFileDialog* files);

    // The command "数据备份...": click sound, then the backup routine.
    void actBackup();
    // The backup routine (also called by the closing reminder, without the
    // click sound). True when a backup file was written.
    bool backup();
    // The command "数据恢复...": begins with the click sound.
    RestoreResult restore();

    // Default folder name for backups under the program folder.
    static QString defaultFileName(const QDate& today);
    // "x" -> "x.mdb", "x.MDB" stays, "x.bak" -> "x.bak.mdb".
    static QString withMdbExtension(const QString& path);
    // The folder the file dialogs open in (setting 12 or the Backup folder).
    QString startFolder();
    QString beforeRestorePath() const;

    // Hooks for the main window (all optional).
    // Before the connection is closed: suspend the grids' updates.
    std::function<void()> beforeDisconnect;
    // After the datasets are reopened: resume the grids, rebuild the tree
    // and the ledger view.
    std::function<void()> afterReconnect;
    // The skin named by the restored file ("" for none): mark the skin menu
    // and switch the skin engine.
    std::function<void(const QString& skinName)> applySkin;
    // The third status-bar panel text, "用户： 【name】".
    std::function<void(const QString& text)> showUser;
    // The current user is missing from the restored file: close the main
    // window, which ends the program. Called after the message was shown.
    std::function<void()> endProgram;

    // For tests: today's date (defaults to the system date).
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Opens again the data module's record sets that were open before the
    // database was swapped: lookups first, then the ledger, then the plan,
    // address book and favourites; anything else after them.
    static void reopenDatasets(TDataModule1* dm, const QList<RecordSet*>& wasOpen);

private:
    bool samePath(const QString& a, const QString& b) const;
    QList<RecordSet*> openDatasets() const;

    TDataModule1* dm_;
    IMessageBox* messages_;
    IFileDialog* files_;
};
