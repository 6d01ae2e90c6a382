#include "registry.h"
#include "startup.h"
#include "testdb.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
struct StartRun {
    TestFolder& folder;
    int signInCalls = 0;
    QString signInAs; // empty: the sign-in window is cancelled
    Startup::Result result{};
    std::unique_ptr<TDataModule1> dm;

    void go()
    {
        Startup::Environment env;
        env.programFolder = folder.programFolder();
        env.services.messages = &folder.messages;
        env.services.sound = &folder.sound;
        env.services.skins = &folder.skins;
        env.signIn = [this](TDataModule1& d) {
            ++signInCalls;
            if (signInAs.isEmpty())
                return false;
            d.currentUser = signInAs;
            return true;
        };
        Startup s(env);
        result = s.run();
        dm = s.takeDataModule();
    }
};

void seedUsers(TestFolder& f, const QString& defaultUser)
{
    auto dm = f.makeDataModule();
    addUserRow(dm->db(), 1, QStringLiteral("张三"), QStringLiteral("pw"));
    addUserRow(dm->db(), 2, QStringLiteral("李四"), QString());
    dm->writeSetting(0, defaultUser);
}
} // namespace

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { Registry::removeInstallPath(); }
};

TEST_F(StartupTest, MissingDatabaseShowsTheFullPathAndEnds)
{
    TestFolder f(false);
    StartRun r{f};
    r.go();
    EXPECT_EQ(r.result, Startup::Result::MissingFile);
    ASSERT_EQ(f.messages.count(), 1);
    EXPECT_EQ(f.messages.last().text, QStringLiteral("数据文件") + f.databasePath() + QStringLiteral("不存在!"));
    EXPECT_EQ(f.messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(f.messages.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(r.signInCalls, 0);
}

TEST_F(StartupTest, WrongKeyReportsTheConnectionErrorOnlyAndEnds)
{
    TestFolder f(false);
    {
        Database db;
        ASSERT_TRUE(db.open(f.databasePath(), QStringLiteral("not ours"), true));
        db.execScript(QStringLiteral("CREATE TABLE x(y)"));
    }
    StartRun r{f};
    r.go();
    EXPECT_EQ(r.result, Startup::Result::NoConnection);
    ASSERT_EQ(f.messages.count(), 1);
    EXPECT_TRUE(f.messages.last().text.startsWith(QStringLiteral("连接数据库失败")));
    EXPECT_EQ(r.signInCalls, 0);
}

TEST_F(StartupTest, DefaultUserSignsInWithoutAWindowOnlyInItsOwnFolder)
{
    TestFolder f;
    seedUsers(f, QStringLiteral("2"));
    Registry::setInstallPath(f.programFolder());
    StartRun r{f};
    r.go();
    EXPECT_EQ(r.result, Startup::Result::Ready);
    EXPECT_EQ(r.signInCalls, 0);
    EXPECT_EQ(r.dm->currentUser, QStringLiteral("2"));
    EXPECT_EQ(r.dm->readSetting(3), QStringLiteral("0")); // not written on automatic sign-in
    EXPECT_EQ(r.dm->readSetting(9), QStringLiteral("2.8")); // schema checked on the way
    r.dm.reset();

    // The same installation in another folder (or a path differing in letter case).
    for (const QString& other : {f.programFolder() + QStringLiteral("copy/"), f.programFolder().toUpper()}) {
        Registry::setInstallPath(other);
        StartRun again{f};
        again.signInAs = QStringLiteral("1");
        again.go();
        EXPECT_EQ(again.signInCalls, 1) << qPrintable(other);
        EXPECT_EQ(again.dm->readSetting(0), QStringLiteral("2")); // default user stays recorded
        EXPECT_EQ(again.dm->readSetting(3), QStringLiteral("1"));
    }
}

TEST_F(StartupTest, CancelledSignInEndsWithoutWritingAnything)
{
    TestFolder f;
    seedUsers(f, QStringLiteral("0"));
    StartRun r{f};
    r.go();
    EXPECT_EQ(r.result, Startup::Result::Cancelled);
    EXPECT_EQ(r.signInCalls, 1);
    auto dm = f.makeDataModule();
    EXPECT_EQ(dm->readSetting(3), QStringLiteral("0"));
    EXPECT_EQ(dm->readSetting(0), QStringLiteral("0"));
}

TEST_F(StartupTest, SignInThroughTheWindowRecordsTheLastUser)
{
    TestFolder f;
    seedUsers(f, QStringLiteral("0"));
    StartRun r{f};
    r.signInAs = QStringLiteral("1");
    r.go();
    EXPECT_EQ(r.result, Startup::Result::Ready);
    EXPECT_EQ(r.dm->currentUser, QStringLiteral("1"));
    EXPECT_EQ(r.dm->readSetting(3), QStringLiteral("1"));
}
