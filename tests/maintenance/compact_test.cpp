// Compaction of the database file through Data/Account.tmp.
#include "compact.h"
#include "ledgerfixture.h"

#include <QFile>
#include <QFileInfo>

class Compact : public LedgerFixture {};

TEST_F(Compact, YieldsAFileThatOpensWithThePasswordAndHasTheSameRows)
{
    addType(QStringLiteral("101"), QStringLiteral("现金"), QStringLiteral("1"), 30);
    for (int i = 1; i <= 200; ++i)
        addEntry(i, QDate(2024, 1, 1).addDays(i), 1, 0.85, QStringLiteral("101"), QStringLiteral("301"),
                 QStringLiteral("第%1笔 'quote' %").arg(i), 0.15 * i);
    // Deleted rows leave free pages that the compaction drops.
    ASSERT_TRUE(dm->db().exec(QStringLiteral("DELETE FROM AC_List WHERE ActID > 100")));
    const QString live = folder.databasePath();
    const QString tmp = folder.path(QStringLiteral("Data/Account.tmp"));
    dm->disconnectDatabase();

    const auto before = Compaction::rowCounts(live);
    ASSERT_FALSE(before.isEmpty());
    const qint64 sizeBefore = QFileInfo(live).size();
    QFile stale(tmp); // a leftover of an earlier run is replaced
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("old");
    stale.close();

    SqlError e;
    ASSERT_TRUE(Compaction::compact(live, tmp, &e)) << e.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tmp));
    EXPECT_EQ(Compaction::rowCounts(live), before);
    EXPECT_LT(QFileInfo(live).size(), sizeBefore);

    // The connect routine opens it with the password and reads the same rows.
    dm->connectDatabase();
    ASSERT_TRUE(dm->isConnected());
    EXPECT_EQ(folder.messages.count(), 0);
    const QueryResult rows = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 ORDER BY ActID"));
    ASSERT_EQ(rows.size(), 100);
    EXPECT_EQ(rows.text(99, QStringLiteral("Mark")), QStringLiteral("第100笔 'quote' %"));
    EXPECT_EQ(rows.money(99, QStringLiteral("Balance")), Money::fromRaw(raw(15)));
    // Indexes come along.
    EXPECT_EQ(select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name = 'AC_Type_key'")).size(), 1);
    // Without the password it does not open.
    Database other;
    EXPECT_FALSE(other.open(live, QStringLiteral("wrong")));
}

TEST_F(Compact, AFailureLeavesTheLiveFileInPlace)
{
    addType(QStringLiteral("101"), QStringLiteral("现金"), QStringLiteral("1"), 30);
    const QString live = folder.databasePath();
    dm->disconnectDatabase();
    const auto before = Compaction::rowCounts(live);

    // The copy cannot be written: its place is taken by a folder.
    const QString tmp = folder.path(QStringLiteral("Data/Account.tmp"));
    ASSERT_TRUE(QDir().mkpath(tmp + QStringLiteral("/x")));
    SqlError e;
    EXPECT_FALSE(Compaction::compact(live, tmp, &e));
    EXPECT_TRUE(e.isSet());
    EXPECT_EQ(Compaction::rowCounts(live), before);

    // A file that is not a database of the program is not replaced by anything.
    const QString junk = folder.path(QStringLiteral("Data/junk.mdb"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_FALSE(Compaction::compact(junk, folder.path(QStringLiteral("Data/junk.tmp")), &e));
    EXPECT_EQ(QFileInfo(junk).size(), 4096);
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("Data/junk.tmp"))));
}
