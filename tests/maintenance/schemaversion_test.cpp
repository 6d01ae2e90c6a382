#include "schemaversion.h"
#include "testdb.h"

#include <gtest/gtest.h>

namespace {
int count(TDataModule1& dm, const QString& sql)
{
    dm.query(sql);
    return dm.ADOQuery1().value(0, 0).toInt();
}
} // namespace

TEST(SchemaVersion, VersionIsInferredForFilesThatPredateTheSetting)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    EXPECT_EQ(SchemaVersion::versionQuery(*dm), QStringLiteral("2.3")); // has AC_Plan, no setting 9
    dm->exec(QStringLiteral("DROP TABLE AC_Plan"));
    EXPECT_EQ(SchemaVersion::versionQuery(*dm), QStringLiteral("1.0"));
    dm->writeSetting(9, QStringLiteral("2.5"));
    EXPECT_EQ(SchemaVersion::versionQuery(*dm), QStringLiteral("2.5"));
}

TEST(SchemaVersion, OldFileIsUpgradedOnceAndKeepsEditedRates)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    // An old file: without rows 7-9, with plan rows of a user 2 that is gone,
    // with a rate table the user has edited and a stale type table.
    dm->exec(QStringLiteral("DELETE FROM AC_Type WHERE UserID = 0 AND TypeID IN ('7','8','9')"));
    dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, 'x', '', 0, NULL, 1, 0, 2)"));
    dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, 'x', '', 0, NULL, 1, 0, 1)"));
    dm->exec(QStringLiteral("CREATE TABLE INT_Rate(ID INTEGER PRIMARY KEY, TypeID INTEGER, CurID INTEGER, TermID INTEGER, "
                            "Rate NUMERIC(10,2), UpdDate DATE)"));
    dm->exec(QStringLiteral("INSERT INTO INT_Rate VALUES (7, 1, 0, 1, 4.25, '2007-1-1')"));
    dm->exec(QStringLiteral("CREATE TABLE INT_Type(ID INTEGER PRIMARY KEY, TypeName VARCHAR(50), TypeFlag VARCHAR(1))"));
    dm->exec(QStringLiteral("INSERT INTO INT_Type VALUES (9, 'old', 'C')"));

    SchemaVersion::check(*dm);
    EXPECT_EQ(f.messages.count(), 0);
    EXPECT_EQ(dm->readSetting(9), QStringLiteral("2.8"));
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM AC_Type WHERE UserID = 0 AND TypeID IN ('7','8','9')")), 3);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM AC_Plan WHERE UserID = 2")), 0);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM AC_Plan WHERE UserID = 1")), 1);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Type")), 4);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Type WHERE TypeName = 'old'")), 0);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Rate")), 1); // left as it was
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Cur")), 1);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Term")), 3);
    dm->query(QStringLiteral("SELECT Rate FROM INT_Rate WHERE ID = 7"));
    EXPECT_DOUBLE_EQ(dm->ADOQuery1().value(0, 0).toDouble(), 4.25);

    // The next start does nothing: an extra type row survives.
    dm->exec(QStringLiteral("INSERT INTO INT_Type VALUES (9, 'mine', 'D')"));
    SchemaVersion::check(*dm);
    EXPECT_EQ(count(*dm, QStringLiteral("SELECT count(*) FROM INT_Type")), 5);
}

TEST(SchemaVersion, CurrentFileIsLeftAlone)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    dm->writeSetting(9, QStringLiteral("2.8"));
    SchemaVersion::check(*dm);
    EXPECT_FALSE(dm->db().hasTable(QStringLiteral("INT_Type")));
}

TEST(SchemaVersion, AFailureLeavesTheFileAsItWas)
{
    TestFolder f;
    auto dm = f.makeDataModule();
    // A view in the way of a table the upgrade creates makes it fail midway.
    dm->exec(QStringLiteral("CREATE VIEW INT_Term AS SELECT 1 AS x"));
    SchemaVersion::check(*dm);
    EXPECT_GE(f.messages.count(), 1);
    EXPECT_EQ(f.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(dm->readSetting(9), QStringLiteral("0"));
    EXPECT_FALSE(dm->db().hasTable(QStringLiteral("INT_Type")));
}
