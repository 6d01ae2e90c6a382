#include "backupcommands.h"
#include "backuprestore.h"
#include "schemaversion.h"
#include "testdb.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of the household tables, as text, to compare two files.
QStringList allRows(Database& db)
{
    QStringList out;
    for (const char* t : {"AC_User", "AC_Type", "AC_List", "AC_Setting"}) {
        QueryResult r;
        EXPECT_TRUE(db.select(QStringLiteral("SELECT * FROM ") + QString::fromUtf8(t) + QStringLiteral(" ORDER BY 1, 2"),
                              {}, &r));
        for (const auto& row : r.rows) {
            QStringList cells;
            for (const QVariant& v : row)
                cells << v.toString();
            out << QString::fromUtf8(t) + QLatin1Char(':') + cells.join(QLatin1Char('|'));
        }
    }
    return out;
}

QStringList rowsOf(const QString& path)
{
    Database db;
    EXPECT_TRUE(db.open(path, Database::password())) << qPrintable(path);
    return allRows(db);
}

void addAccount(Database& db, int user, const QString& id, const QString& name)
{
    db.exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, '1', 0, '1', '0', ?)"), {id, name, user});
}

void addEntry(Database& db, int user, int actId, qint64 raw)
{
    db.exec(QStringLiteral("INSERT INTO AC_List VALUES (?, '2008-01-05', ?, 0, '101', '201', 'x', ?, '', 1, ?, ?)"),
            {actId, raw, raw, user, raw});
}

struct Fixture {
    TestFolder f;
    std::unique_ptr<TDataModule1> dm;
    FakeFileDialog files;
    std::unique_ptr<BackupRestore> br;
    QStringList userTexts;
    QStringList skins;
    int ended = 0;

    Fixture()
    {
        QDir(f.programFolder()).mkpath(QStringLiteral("Safe"));
        dm = f.makeDataModule();
        SchemaVersion::check(*dm); // a current file, as at every start
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QStringLiteral("pw"));
        addAccount(dm->db(), 1, QStringLiteral("101"), QStringLiteral("现金"));
        addEntry(dm->db(), 1, 1, 1000000);
        dm->currentUser = QStringLiteral("1");
        dm->bindToCurrentUser();
        br = std::make_unique<BackupRestore>(dm.get(), &f.messages, &files);
        br->showUser = [this](const QString& t) { userTexts << t; };
        br->applySkin = [this](const QString& s) { skins << s; };
        br->endProgram = [this] { ++ended; };
    }
    QString safe(const QString& name) const { return f.path(QStringLiteral("Safe/") + name); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : f.messages.shown)
            out << m.title + QLatin1Char('/') + m.text;
        return out;
    }
};

} // namespace

TEST(Backup, WritesAFileThatRestoresAndRemembersItsFolder)
{
    Fixture x;
    x.dm->writeSetting(-1, QStringLiteral("蓝色经典.skn"));
    const QStringList original = allRows(x.dm->db());

    x.files.nextPath = x.safe(QStringLiteral("first")); // typed without extension
    ASSERT_TRUE(x.br->backup());
    const QString backupFile = x.safe(QStringLiteral("first.mdb"));
    ASSERT_TRUE(QFileInfo(backupFile).isFile());
    EXPECT_EQ(x.files.requests.last().title, QStringLiteral("保存为"));
    EXPECT_EQ(x.files.requests.last().folder, x.f.path(QStringLiteral("Backup")));
    EXPECT_EQ(x.files.requests.last().fileName, BackupRestore::defaultFileName(QDate::currentDate()));
    EXPECT_EQ(x.texts(), QStringList{QStringLiteral("提示/数据备份完成！")});
    EXPECT_EQ(x.dm->readSetting(12), x.f.path(QStringLiteral("Safe/")));
    EXPECT_EQ(x.dm->readSetting(11), Dates::shortText(QDate::currentDate()));
    // The backup opens with the database password and holds what the live file held
    // (apart from settings 11 and 12, written after the copy).
    QStringList inBackup = rowsOf(backupFile);
    EXPECT_EQ(inBackup, original);

    // Change the live data, then bring the backup back.
    x.dm->db().exec(QStringLiteral("DELETE FROM AC_List"));
    addAccount(x.dm->db(), 1, QStringLiteral("102"), QStringLiteral("工资卡"));
    x.dm->writeSetting(-1, QStringLiteral("0"));
    const QStringList changed = allRows(x.dm->db());
    x.dm->ADOQuery6->open();
    x.dm->ADOTable5->open();
    ASSERT_EQ(x.dm->ADOQuery6->recordCount(), 2);

    x.f.messages.clear();
    x.files.nextPath = backupFile;
    EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Restored);
    EXPECT_EQ(x.files.requests.last().title, QStringLiteral("打开"));
    EXPECT_EQ(x.files.requests.last().folder, x.f.path(QStringLiteral("Safe/")));
    ASSERT_EQ(x.f.messages.count(), 3);
    EXPECT_EQ(x.f.messages.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(x.f.messages.shown[1].icon, MsgIcon::Warning);
    EXPECT_EQ(x.f.messages.shown[2].icon, MsgIcon::Information);
    EXPECT_EQ(x.texts(), (QStringList{QStringLiteral("重要提示/用户数据将被覆盖，是否继续？"),
                                      QStringLiteral("警告/该用户当前所有记录将被全部删除，是否继续？"),
                                      QStringLiteral("提示/数据恢复完成！")}));

    ASSERT_TRUE(x.dm->isConnected());
    EXPECT_EQ(allRows(x.dm->db()), original);
    EXPECT_TRUE(x.dm->ADOQuery6->isOpen()) << "the open datasets are reopened";
    EXPECT_EQ(x.dm->ADOQuery6->recordCount(), 1);
    EXPECT_TRUE(x.dm->ADOTable5->isOpen());
    EXPECT_FALSE(x.dm->ADOTable2->isOpen()) << "what was closed stays closed";
    EXPECT_EQ(x.userTexts, QStringList{QStringLiteral("用户： 【张三】")});
    EXPECT_EQ(x.skins, QStringList{QStringLiteral("蓝色经典.skn")});
    EXPECT_EQ(x.ended, 0);
    // The replaced data can be brought back by hand.
    ASSERT_TRUE(QFileInfo(x.br->beforeRestorePath()).isFile());
    EXPECT_EQ(x.br->beforeRestorePath(), x.f.path(QStringLiteral("Data/Account.before-restore.mdb")));
    EXPECT_EQ(rowsOf(x.br->beforeRestorePath()), changed);
    EXPECT_FALSE(QFileInfo::exists(x.f.path(QStringLiteral("Data/Account.restore.mdb"))));
}

TEST(Backup, ExtensionRule)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"/b/x", "/b/x.mdb"}, {"/b/x.MDB", "/b/x.MDB"}, {"/b/x.mdb", "/b/x.mdb"}, {"/b/x.bak", "/b/x.bak.mdb"}};
    for (const auto& c : cases)
        EXPECT_EQ(BackupRestore::withMdbExtension(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    EXPECT_EQ(BackupRestore::defaultFileName(QDate(2008, 1, 5)), QStringLiteral("ZelkoAccount20080105.mdb"));
}

TEST(Backup, IsConsistentWhileAnotherConnectionHoldsAnOpenTransaction)
{
    Fixture x;
    const QStringList committed = allRows(x.dm->db());

    // A second connection of this process is in the middle of a unit of work.
    Database other;
    ASSERT_TRUE(other.open(x.f.databasePath(), Database::password()));
    ASSERT_TRUE(other.begin());
    for (int i = 2; i < 400; ++i)
        addEntry(other, 1, i, i * 10000);

    QString why;
    ASSERT_TRUE(DatabaseCopy::copyTo(x.dm->db(), x.safe(QStringLiteral("during.mdb")), &why)) << qPrintable(why);
    EXPECT_TRUE(DatabaseCopy::isProgramDatabase(x.safe(QStringLiteral("during.mdb"))));
    EXPECT_EQ(rowsOf(x.safe(QStringLiteral("during.mdb"))), committed) << "no uncommitted row in the backup";
    ASSERT_TRUE(other.commit());
}

TEST(Backup, LeavesOutAUnitOfWorkOpenOnTheDataModuleItself)
{
    Fixture x;
    const QStringList committed = allRows(x.dm->db());
    TDataModule1::Work w(*x.dm);
    addEntry(x.dm->db(), 1, 2, 5);
    QString why;
    ASSERT_TRUE(DatabaseCopy::copyTo(x.dm->db(), x.safe(QStringLiteral("w.mdb")), &why)) << qPrintable(why);
    EXPECT_EQ(rowsOf(x.safe(QStringLiteral("w.mdb"))), committed);
}

TEST(Backup, ExistingTargetIsOverwrittenOnlyAfterTheQuestion)
{
    Fixture x;
    const QString target = x.safe(QStringLiteral("old.mdb"));
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("older backup");
    t.close();
    x.files.nextPath = target;

    x.f.messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(x.br->backup());
    EXPECT_EQ(x.texts(), QStringList{QStringLiteral("重要提示/目标文件已存在，是否覆盖？")});
    EXPECT_EQ(x.f.messages.last().icon, MsgIcon::Warning);
    EXPECT_EQ(fileHash(target), QCryptographicHash::hash("older backup", QCryptographicHash::Sha256));
    EXPECT_EQ(x.dm->readSetting(11), QStringLiteral("0"));

    x.f.messages.clear();
    EXPECT_TRUE(x.br->backup());
    EXPECT_TRUE(DatabaseCopy::isProgramDatabase(target));
}

TEST(Backup, FailureKeepsTheSettingsAndTheLiveFileIsNeverItsOwnTarget)
{
    Fixture x;
    x.files.nextPath = x.f.path(QStringLiteral("no/such/folder/x.mdb"));
    EXPECT_FALSE(x.br->backup());
    EXPECT_EQ(x.texts(), QStringList{QStringLiteral("错误/备份失败，请检查备份文件是否正在被另一个程序使用！")});
    EXPECT_EQ(x.dm->readSetting(11), QStringLiteral("0"));
    EXPECT_EQ(x.dm->readSetting(12), QStringLiteral("0"));

    // The live file itself, also when spelled another way: nothing happens, nothing is said.
    const QByteArray before = fileHash(x.f.databasePath());
    for (const QString& p : {x.f.databasePath(), x.f.path(QStringLiteral("Data/../Data/Account"))}) {
        x.f.messages.clear();
        x.files.nextPath = p;
        EXPECT_FALSE(x.br->backup());
        EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Cancelled);
        EXPECT_EQ(x.f.messages.count(), 0) << qPrintable(p);
    }
    EXPECT_EQ(fileHash(x.f.databasePath()), before);
}

TEST(Restore, RefusesFilesThatAreNotDatabasesOfThisProgram)
{
    const struct { const char* name; int kind; } cases[] = {
        {"text file", 0}, {"wrong key", 1}, {"foreign tables", 2}, {"empty file", 3}};
    for (const auto& c : cases) {
        Fixture x;
        x.dm->ADOQuery6->open();
        const QString path = x.safe(QStringLiteral("bad.mdb"));
        if (c.kind == 0 || c.kind == 3) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            if (c.kind == 0)
                file.write("Name\tAmount\n午饭\t12.50\n");
        } else {
            Database db;
            ASSERT_TRUE(db.open(path, c.kind == 1 ? QStringLiteral("another") : Database::password(), true));
            ASSERT_TRUE(db.exec(QStringLiteral("CREATE TABLE AC_User(UserID INTEGER)")));
        }
        const QByteArray live = fileHash(x.f.databasePath());
        x.files.nextPath = path;
        EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Refused) << c.name;
        EXPECT_EQ(x.texts(), QStringList{QStringLiteral("错误/源数据文件不是有效的数据文件！")}) << c.name;
        EXPECT_EQ(x.f.messages.last().icon, MsgIcon::Critical);
        EXPECT_EQ(fileHash(x.f.databasePath()), live) << c.name;
        EXPECT_FALSE(QFileInfo::exists(x.br->beforeRestorePath())) << c.name;
        EXPECT_TRUE(x.dm->isConnected());
        EXPECT_TRUE(x.dm->ADOQuery6->isOpen());
    }
}

TEST(Restore, MissingFileAndDeclinedQuestionsChangeNothing)
{
    Fixture x;
    x.files.nextPath = x.safe(QStringLiteral("first.mdb"));
    ASSERT_TRUE(x.br->backup());
    x.dm->db().exec(QStringLiteral("DELETE FROM AC_List"));
    const QStringList live = allRows(x.dm->db());

    x.f.messages.clear();
    x.files.nextPath = x.safe(QStringLiteral("gone"));
    EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Refused);
    EXPECT_EQ(x.texts(), QStringList{QStringLiteral("错误/源数据文件不存在！")});

    x.files.nextPath = QString(); // dialog cancelled
    EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Cancelled);

    for (int declined = 0; declined < 2; ++declined) {
        x.f.messages.clear();
        if (declined == 1)
            x.f.messages.answerNext(MsgAnswer::Ok);
        x.f.messages.answerNext(MsgAnswer::Cancel);
        x.files.nextPath = x.safe(QStringLiteral("first.mdb"));
        EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Cancelled);
        EXPECT_EQ(x.f.messages.count(), declined + 1);
        EXPECT_TRUE(x.dm->isConnected());
        EXPECT_EQ(allRows(x.dm->db()), live);
        EXPECT_FALSE(QFileInfo::exists(x.br->beforeRestorePath()));
    }
}

TEST(Restore, ABackupFromBeforeTheUserExistedEndsTheProgram)
{
    TestFolder f;
    QDir(f.programFolder()).mkpath(QStringLiteral("Safe"));
    auto dm = f.makeDataModule();
    FakeFileDialog files;
    BackupRestore br(dm.get(), &f.messages, &files);
    int ended = 0;
    QStringList userTexts;
    br.endProgram = [&] { ++ended; };
    br.showUser = [&](const QString& t) { userTexts << t; };

    files.nextPath = f.path(QStringLiteral("Safe/early.mdb"));
    ASSERT_TRUE(br.backup());
    addUserRow(dm->db(), 1, QStringLiteral("李四"), QString());
    dm->currentUser = QStringLiteral("1");

    f.messages.clear();
    EXPECT_EQ(br.restore(), BackupRestore::RestoreResult::UserMissing);
    ASSERT_GE(f.messages.count(), 2);
    EXPECT_EQ(f.messages.shown[f.messages.count() - 2].text, QStringLiteral("数据恢复完成！"));
    EXPECT_EQ(f.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(f.messages.last().text, QStringLiteral("用户不存在！按【确定】退出程序。"));
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(userTexts.isEmpty());
}

TEST(BackupCommands, MissingUserClosesTheMainWindowAfterTheCommand)
{
    TestFolder f;
    QDir(f.programFolder()).mkpath(QStringLiteral("Safe"));
    auto dm = f.makeDataModule();
    FakeFileDialog files;
    QWidget mainWindow;
    mainWindow.show();
    auto* commands = new BackupCommands(dm.get(), &f.messages, &files, &mainWindow);
    files.nextPath = f.path(QStringLiteral("Safe/early.mdb"));
    commands->ActBackupExecute();
    ASSERT_TRUE(QFileInfo(files.nextPath).isFile());
    addUserRow(dm->db(), 1, QStringLiteral("李四"), QString());
    dm->currentUser = QStringLiteral("1");

    commands->ActRestoreExecute();
    EXPECT_TRUE(mainWindow.isVisible()) << "closed only after the command returned";
    QTest::qWait(20);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_FALSE(BackupCommands::backupIcon().isNull());
}

TEST(Restore, AFailedCopyIsReportedAndKeepsTheLiveData)
{
    Fixture x;
    x.files.nextPath = x.safe(QStringLiteral("first.mdb"));
    ASSERT_TRUE(x.br->backup());
    x.dm->db().exec(QStringLiteral("DELETE FROM AC_List"));
    const QStringList live = allRows(x.dm->db());
    // Something in the way of the file being prepared beside the live one.
    QDir(x.f.programFolder()).mkpath(QStringLiteral("Data/Account.restore.mdb/x"));

    x.f.messages.clear();
    EXPECT_EQ(x.br->restore(), BackupRestore::RestoreResult::Failed);
    EXPECT_EQ(x.f.messages.last().title, QStringLiteral("错误"));
    EXPECT_EQ(x.f.messages.last().text, QStringLiteral("数据恢复失败，请检查数据文件是否正在被另一个程序使用！"));
    ASSERT_TRUE(x.dm->isConnected());
    EXPECT_EQ(allRows(x.dm->db()), live);
}
