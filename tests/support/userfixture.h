#pragma once
// A test folder with a data module signed in as user 1 ("张三"), and the
// small catalogue most ledger and grid tests start from.

#include "testdb.h"

#include <gtest/gtest.h>

#include <memory>

class UserFixture : public ::testing::Test {
protected:
    // Makes the data module and signs in as user 1.
    void signIn()
    {
        dm = folder.makeDataModule();
        ASSERT_TRUE(dm->isConnected());
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
        dm->currentUser = QStringLiteral("1");
        dm->bindToCurrentUser();
    }

    // A catalogue row of user 1 (no balance, in use).
    void addType(const QString& id, const QString& name, const QString& flag, bool included)
    {
        dm->db().exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, '1', ?, 1)"),
                      {id, name, flag, included});
    }

    // Accounts: 101 cash, 102 card, 103 housing fund (off-book).
    // Categories: 201 food, 202 transport and 301 salary, all counted.
    void addCommonTypes()
    {
        addType(QStringLiteral("101"), QStringLiteral("现金"), QStringLiteral("1"), false);
        addType(QStringLiteral("102"), QStringLiteral("工资卡"), QStringLiteral("1"), false);
        addType(QStringLiteral("103"), QStringLiteral("公积金"), QStringLiteral("1"), true);
        addType(QStringLiteral("201"), QStringLiteral("伙食"), QStringLiteral("2"), true);
        addType(QStringLiteral("202"), QStringLiteral("交通"), QStringLiteral("2"), true);
        addType(QStringLiteral("301"), QStringLiteral("工资"), QStringLiteral("3"), true);
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
};
