#include "testdb.h"

#include "database.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(DeliveredFile, HoldsTheElevenTablesAndTwelveSystemRowsOnly)
{
    TestFolder f;
    Database db;
    ASSERT_TRUE(db.open(f.databasePath(), Database::password()));
    QStringList names = db.tableNames();
    QStringList expected;
    for (const auto& t : Schema::tables())
        expected << t.name;
    names.sort();
    expected.sort();
    EXPECT_EQ(names, expected);

    QueryResult r;
    ASSERT_TRUE(db.select(QStringLiteral("SELECT TypeID FROM AC_Type WHERE UserID = 0 ORDER BY TypeID"), {}, &r));
    QStringList ids;
    for (const auto& row : r.rows)
        ids << row[0].toString();
    EXPECT_EQ(ids.join(' '), QStringLiteral("1 2 200 299 3 300 4 5 6 7 8 9"));
    for (const char* t : {"AC_List", "AC_User", "AC_Setting", "AC_Plan"}) {
        ASSERT_TRUE(db.select(QStringLiteral("SELECT count(*) FROM ") + QString::fromUtf8(t), {}, &r));
        EXPECT_EQ(r.value(0, 0).toInt(), 0) << t;
    }
    // Columns in the documented order (INSERT ... VALUES relies on it).
    for (const auto& t : Schema::tables()) {
        ASSERT_TRUE(db.select(QStringLiteral("SELECT * FROM ") + t.name + QStringLiteral(" LIMIT 0"), {}, &r));
        EXPECT_EQ(r.columns, t.columns) << qPrintable(t.name);
    }
    QString error;
    EXPECT_FALSE(Schema::createDeliveredFile(f.databasePath(), &error)) << "must never overwrite";
}

TEST(DeliveredFile, IsEncryptedAndRefusesAWrongKey)
{
    TestFolder f;
    QFile file(f.databasePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.read(16).startsWith("SQLite format 3"));
    Database db;
    EXPECT_FALSE(db.open(f.databasePath(), QStringLiteral("wrong")));
    EXPECT_TRUE(db.lastError().isSet());
}

TEST(DataModule, ConnectionFailuresAreReportedAndLeaveItClosed)
{
    const struct { const char* name; QByteArray content; } cases[] = {
        {"wrong key", QByteArray()},
        {"not a database", QByteArray("this is a text file, not a database\n")},
    };
    for (const auto& c : cases) {
        TestFolder f(false);
        if (c.content.isEmpty()) {
            Database db;
            ASSERT_TRUE(db.open(f.databasePath(), QStringLiteral("other key"), true));
            ASSERT_TRUE(db.execScript(QStringLiteral("CREATE TABLE t(x)")));
        } else {
            QFile out(f.databasePath());
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(c.content);
        }
        auto dm = f.makeDataModule();
        EXPECT_FALSE(dm->isConnected()) << c.name;
        ASSERT_EQ(f.messages.count(), 1) << c.name;
        EXPECT_EQ(f.messages.last().title, QStringLiteral("Error"));
        EXPECT_EQ(f.messages.last().icon, MsgIcon::Critical);
        EXPECT_TRUE(f.messages.last().text.startsWith(QStringLiteral("连接数据库失败, 详细信息：{"))) << c.name;
        EXPECT_TRUE(f.messages.last().text.endsWith(QStringLiteral("}, 请与") + TDataModule1::supportAddress()
                                                    + QStringLiteral("联系")));
    }
}

TEST(DataModule, SettingsReadZeroUntilWrittenThenOneRow)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    ASSERT_TRUE(dm->isConnected());
    EXPECT_EQ(dm->readSetting(12), QStringLiteral("0"));
    dm->writeSetting(12, QStringLiteral("/home/o'brien/100% backup"));
    EXPECT_EQ(dm->readSetting(12), QStringLiteral("/home/o'brien/100% backup"));
    dm->writeSetting(12, QStringLiteral("again"));
    EXPECT_EQ(dm->readSetting(12), QStringLiteral("again"));
    ASSERT_TRUE(dm->query(QStringLiteral("SELECT count(*), min(UserID), min(Misc) FROM AC_Setting WHERE SettingID = 12")));
    EXPECT_EQ(dm->ADOQuery1().value(0, 0).toInt(), 1);
    EXPECT_EQ(dm->ADOQuery1().value(0, 1).toInt(), 0);
    EXPECT_EQ(dm->ADOQuery1().value(0, 2).toString(), QString());
    dm->writeSetting(-1, QString());
    EXPECT_EQ(dm->readSetting(-1), QString()); // an empty value is not "0"
    EXPECT_EQ(f.messages.count(), 0);
}

TEST(DataModule, FailedStatementsAreReportedWithTheirTextAndCallersGoOn)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    EXPECT_FALSE(dm->exec(QStringLiteral("UPDATE NoSuchTable SET x = 1")));
    ASSERT_EQ(f.messages.count(), 1);
    EXPECT_EQ(f.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(f.messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(f.messages.last().text.startsWith(QStringLiteral("修改记录错误: {UPDATE NoSuchTable SET x = 1}, 详细信息：{")));

    EXPECT_FALSE(dm->query(QStringLiteral("SELECT nothing FROM AC_Type")));
    EXPECT_TRUE(dm->ADOQuery1().isEmpty());
    EXPECT_TRUE(f.messages.last().text.startsWith(QStringLiteral("查询记录错误: {SELECT nothing FROM AC_Type}, 详细信息：{")));
    // The next statement still runs.
    dm->writeSetting(5, QStringLiteral("1"));
    EXPECT_EQ(dm->readSetting(5), QStringLiteral("1"));
}

TEST(DataModule, WorkIsAppliedWholeOrNotAtAll)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    {
        TDataModule1::Work w(*dm);
        dm->writeSetting(20, QStringLiteral("a"));
        dm->exec(QStringLiteral("INSERT INTO Missing VALUES (1)"));
        dm->writeSetting(21, QStringLiteral("b"));
        EXPECT_FALSE(w.commit());
    }
    EXPECT_EQ(dm->readSetting(20), QStringLiteral("0"));
    EXPECT_EQ(dm->readSetting(21), QStringLiteral("0"));
    {
        TDataModule1::Work w(*dm);
        dm->writeSetting(20, QStringLiteral("a"));
        EXPECT_TRUE(w.commit());
    }
    EXPECT_EQ(dm->readSetting(20), QStringLiteral("a"));
    {
        TDataModule1::Work w(*dm);
        dm->writeSetting(22, QStringLiteral("never committed"));
    }
    EXPECT_EQ(dm->readSetting(22), QStringLiteral("0"));
}

TEST(DataModule, ClosingInsideAUnitOfWorkUndoesItAndReleasesTheFile)
{
    TestFolder f;
    Database db;
    ASSERT_TRUE(db.open(f.databasePath(), Database::password()));
    ASSERT_TRUE(db.begin());
    ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO AC_Setting VALUES (30, 'half', '', 0)")));
    db.close();

    // Another connection can write at once: nothing is left holding the file.
    {
        Database other;
        ASSERT_TRUE(other.open(f.databasePath(), Database::password()));
        EXPECT_TRUE(other.exec(QStringLiteral("INSERT INTO AC_Setting VALUES (31, 'x', '', 0)")));
    }
    // The reopened connection undoes its own work, not the closed one's.
    ASSERT_TRUE(db.open(f.databasePath(), Database::password()));
    QueryResult r;
    ASSERT_TRUE(db.select(QStringLiteral("SELECT count(*) FROM AC_Setting WHERE SettingID = 30"), {}, &r));
    EXPECT_EQ(r.value(0, 0).toInt(), 0);
    ASSERT_TRUE(db.begin());
    ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO AC_Setting VALUES (32, 'undone', '', 0)")));
    ASSERT_TRUE(db.rollback());
    ASSERT_TRUE(db.select(QStringLiteral("SELECT count(*) FROM AC_Setting WHERE SettingID = 32"), {}, &r));
    EXPECT_EQ(r.value(0, 0).toInt(), 0);
}

TEST(DataModule, SoundIsSilentWhileMutedOrWhenTheFileIsMissing)
{
    TestFolder f;
    QDir(f.programFolder()).mkpath(QStringLiteral("Sound"));
    QFile wav(f.path(QStringLiteral("Sound/push.wav")));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.write("RIFF");
    wav.close();
    auto dm = f.makeDataModule();
    dm->clickSound();
    ASSERT_EQ(f.sound.played.size(), 1);
    EXPECT_EQ(f.sound.played[0], f.path(QStringLiteral("Sound/push.wav")));
    dm->doneSound(); // missing file: nothing
    EXPECT_EQ(f.sound.played.size(), 1);
    dm->writeSetting(1, QStringLiteral("1"));
    dm->clickSound();
    EXPECT_EQ(f.sound.played.size(), 1);
    dm->writeSetting(1, QStringLiteral("2"));
    dm->clickSound();
    EXPECT_EQ(f.sound.played.size(), 2);
}

TEST(DataModule, SavedSkinIsAppliedAtCreation)
{
    TestFolder f;
    {
        auto dm = f.makeDataModule();
        EXPECT_FALSE(f.skins.on); // no setting: skinning off
        dm->writeSetting(-1, QStringLiteral("blue.skn"));
    }
    QDir(f.programFolder()).mkpath(QStringLiteral("Skins"));
    {
        auto dm = f.makeDataModule(); // file missing: off
        EXPECT_FALSE(f.skins.on);
    }
    QFile skn(f.path(QStringLiteral("Skins/blue.skn")));
    ASSERT_TRUE(skn.open(QIODevice::WriteOnly));
    skn.write("QWidget {}");
    skn.close();
    auto dm = f.makeDataModule();
    EXPECT_TRUE(f.skins.on);
    EXPECT_EQ(f.skins.loaded.last(), f.path(QStringLiteral("Skins/blue.skn")));
}

TEST(DataModule, QuotesAndPercentSignsAreData)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    const QString name = QStringLiteral("O'Brien 100%_'; DROP TABLE AC_User; --");
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_User VALUES (1, ?, '', '', 0)"), {name}));
    ASSERT_TRUE(dm->query(QStringLiteral("SELECT UserName FROM AC_User WHERE UserName = ?"), {name}));
    ASSERT_EQ(dm->ADOQuery1().size(), 1);
    EXPECT_EQ(dm->ADOQuery1().text(0, QStringLiteral("UserName")), name);
    // Names compare without regard to letter case, as they always did.
    ASSERT_TRUE(dm->query(QStringLiteral("SELECT UserID FROM AC_User WHERE UserName = ?"), {name.toUpper()}));
    EXPECT_EQ(dm->ADOQuery1().size(), 1);
}

TEST(DataModule, AnInnerUnitWithAFailedStatementFailsToo)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    {
        TDataModule1::Work outer(*dm);
        dm->writeSetting(30, QStringLiteral("outer"));
        {
            TDataModule1::Work inner(*dm);
            dm->exec(QStringLiteral("INSERT INTO Missing VALUES (1)"));
            EXPECT_FALSE(inner.commit());
        }
        EXPECT_FALSE(outer.commit());
    }
    EXPECT_EQ(dm->readSetting(30), QStringLiteral("0"));
}
