// The consistency check: findings, their log lines and the repairs.
#include "ledgerfixture.h"
#include "verify.h"

#include <QFile>
#include <QStringDecoder>

namespace {
const QString kDone = QStringLiteral("      ... 成功！");
QDate day(int d) { return QDate(2024, 1, d); }
} // namespace

class Verify : public LedgerFixture {
protected:
    void seedCatalogue()
    {
        addType(QStringLiteral("101"), QStringLiteral("现金"), QStringLiteral("1"), 5000);
        addType(QStringLiteral("102"), QStringLiteral("工资卡"), QStringLiteral("1"), 200);
        addType(QStringLiteral("201"), QStringLiteral("餐饮"), QStringLiteral("2"));
        addType(QStringLiteral("301"), QStringLiteral("工资"), QStringLiteral("3"));
        addType(QStringLiteral("501"), QStringLiteral("同事"), QStringLiteral("5"));
        addType(QStringLiteral("601"), QStringLiteral("网站"), QStringLiteral("6"));
    }
    QStringList run(bool* completed = nullptr)
    {
        DataVerify v(dm.get());
        v.today = [] { return QDate(2024, 2, 1); };
        int max = 0, steps = 0;
        v.progress.setMaximum = [&](int n) { max = n; };
        v.progress.step = [&] { ++steps; };
        const bool ok = v.run();
        if (completed)
            *completed = ok;
        maximum = max;
        stepped = steps;
        return v.lines();
    }
    int maximum = 0, stepped = 0;
};

TEST_F(Verify, DamagedLedgerIsFoundLoggedAndRepaired)
{
    seedCatalogue();
    addEntry(1, day(1), 1000, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("工资"), 1000);
    addEntry(2, day(2), 0, 50, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("午饭"), 999); // balance
    addEntry(3, day(3), 0, 20, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("晚饭"), 930,
             QString(), 30);                                                                               // AbsAmount
    addEntry(4, day(4), 0, 100, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("转帐"), 830,
             QStringLiteral("102"));                                                                       // no partner
    addEntry(5, day(5), 50, 0, QStringLiteral("101"), QStringLiteral("201"), QStringLiteral("早饭"), 880); // wrong side
    addEntry(6, day(6), 10, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("利息"), 890,
             QStringLiteral("102"));                                                                       // relate set
    addEntry(8, day(7), 0, 30, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("还款"), 860,
             QStringLiteral("102"));
    // The partner of 8: wrong date, category, counter-account and amount.
    addEntry(8, day(8), 25, 0, QStringLiteral("102"), QStringLiteral("301"), QStringLiteral("还款"), 225,
             QStringLiteral("103"));
    addEntry(7, day(10), 200, 0, QStringLiteral("102"), QStringLiteral("301"), QStringLiteral("奖金"), 200);
    ASSERT_FALSE(violations().isEmpty());

    bool completed = false;
    const QStringList lines = run(&completed);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(violations().isEmpty()) << violations().join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(folder.messages.count(), 0);

    const QStringList expected{
        QStringLiteral("绝对金额错误[原值：30, 新值：20]，已自动修改！--- 日期:2024-1-3, 交易金额:30, 交易类型:餐饮, 交易帐户:现金, 说明:晚饭"),
        QStringLiteral("转帐对应记录不存在，已自动插入！--- 日期:2024-1-4, 交易金额:100, 交易类型:转出, 交易帐户:现金, 说明:转帐"),
        QStringLiteral("支出交易收入金额有值[收入：50, 支出：0]，已自动修改！--- 日期:2024-1-5, 交易金额:50, 交易类型:餐饮, 交易帐户:现金, 说明:早饭"),
        QStringLiteral("对应帐户非空，已自动修改！--- 日期:2024-1-6, 交易金额:10, 交易类型:工资, 交易帐户:现金, 说明:利息"),
        QStringLiteral("转帐对应记录日期不一致[对应记录日期：2024-1-8]，已自动修改！--- 日期:2024-1-7, 交易金额:30, 交易类型:转出, 交易帐户:现金, 说明:还款"),
        QStringLiteral("转帐对应记录交易类型不一致，已自动修改！--- 日期:2024-1-7, 交易金额:30, 交易类型:转出, 交易帐户:现金, 说明:还款"),
        QStringLiteral("转帐对应记录对应帐户不一致，已自动修改！--- 日期:2024-1-7, 交易金额:30, 交易类型:转出, 交易帐户:现金, 说明:还款"),
        QStringLiteral("转帐对应记录金额不一致[收入：25, 支出：0]，已自动修改！--- 日期:2024-1-7, 交易金额:30, 交易类型:转出, 交易帐户:现金, 说明:还款"),
        QStringLiteral("余额错误[原值：999, 新值：950]，已自动修改！--- 日期:2024-1-2, 交易金额:50, 交易类型:餐饮, 交易帐户:现金, 说明:午饭"),
        QStringLiteral("“现金”帐户余额与记录余额不一致[帐户：5000, 记录：760]，已自动修改。"),
    };
    for (const QString& l : expected)
        EXPECT_TRUE(lines.contains(l)) << l.toStdString() << "\n--- log:\n" << lines.join('\n').toStdString();

    // The inserted partner: amounts swapped, into the counter-account; the
    // later entry of that account moved by the transfer.
    const QueryResult partner =
        select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = '102' AND ActID = 4"));
    ASSERT_EQ(partner.size(), 1);
    EXPECT_EQ(partner.money(0, QStringLiteral("InAmount")), Money::fromRaw(raw(100)));
    EXPECT_EQ(partner.text(0, QStringLiteral("TypeID2")), QStringLiteral("300"));
    EXPECT_EQ(partner.text(0, QStringLiteral("RelateTypeID")), QStringLiteral("101"));
    EXPECT_EQ(partner.text(0, QStringLiteral("Mark")), QStringLiteral("转帐"));
    EXPECT_EQ(select(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = 1 AND TypeID = '102' AND ActID = 7"))
                  .money(0, QStringLiteral("Balance")),
              Money::fromRaw(raw(330)));
    // The wrong-side expense now takes the money out.
    const QueryResult moved = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = '101' AND ActID = 5"));
    EXPECT_EQ(moved.money(0, QStringLiteral("OutAmount")), Money::fromRaw(raw(50)));
    EXPECT_TRUE(moved.money(0, QStringLiteral("InAmount")).isZero());

    // The bar: twice the 9 entries, 2 accounts, no other rows (plan rows are inserted later).
    EXPECT_EQ(maximum, 2 * 9 + 2);

    // A second run finds nothing more in the ledger.
    const QStringList again = run();
    for (const QString& l : again)
        EXPECT_FALSE(l.contains(QStringLiteral("已自动")) || l.contains(QStringLiteral("手工"))) << l.toStdString();
}

TEST_F(Verify, FindingsThatNeedTheUser)
{
    seedCatalogue();
    addType(QStringLiteral("401"), QStringLiteral("杂项"), QStringLiteral("4"));
    addEntry(1, day(1), 0, 10, QStringLiteral("109"), QStringLiteral("201"), QStringLiteral("a"), -10);
    addEntry(2, day(1), 0, 10, QStringLiteral("201"), QStringLiteral("288"), QStringLiteral("b"), -10);
    addEntry(3, day(2), -5, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("c"), -5, QString(), 5);
    addEntry(4, day(3), 5, 6, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("d"), -6);
    addEntry(5, day(4), 0, 7, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("e"), -13);
    addEntry(6, day(5), 0, 8, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("f"), -21, QStringLiteral("201"));
    addEntry(7, day(6), 0, 9, QStringLiteral("101"), QStringLiteral("401"), QStringLiteral("g"), -30);
    const QStringList lines = run();
    const QStringList expected{
        QStringLiteral("交易帐户不存在，请手工修改！--- 日期:2024-1-1, 交易金额:10, 交易类型:餐饮, 交易帐户:未知, 说明:a"),
        QStringLiteral("交易帐户不是帐户类，请手工修改！--- 日期:2024-1-1, 交易金额:10, 交易类型:, 交易帐户:餐饮, 说明:b"),
        QStringLiteral("交易类型不存在，请手工修改！--- 日期:2024-1-1, 交易金额:10, 交易类型:未知, 交易帐户:餐饮, 说明:b"),
        QStringLiteral("收入和支出金额不能为负[收入：-5, 支出：0]，请手工修改！--- 日期:2024-1-2, 交易金额:5, 交易类型:工资, 交易帐户:现金, 说明:c"),
        QStringLiteral("收入和支出金额不能都有值[收入：5, 支出：6]，请手工修改！--- 日期:2024-1-3, 交易金额:1, 交易类型:工资, 交易帐户:现金, 说明:d"),
        QStringLiteral("对应帐户为空，请手工修改！--- 日期:2024-1-4, 交易金额:7, 交易类型:转出, 交易帐户:现金, 说明:e"),
        QStringLiteral("对应帐户不是帐户类[对应帐户：餐饮]，请手工修改！--- 日期:2024-1-5, 交易金额:8, 交易类型:转出, 交易帐户:现金, 说明:f"),
        QStringLiteral("交易类型不是收支类，请手工修改！--- 日期:2024-1-6, 交易金额:9, 交易类型:杂项, 交易帐户:现金, 说明:g"),
    };
    for (const QString& l : expected)
        EXPECT_TRUE(lines.contains(l)) << l.toStdString() << "\n--- log:\n" << lines.join('\n').toStdString();
    // A counter-account that is a category or missing gets no partner row and
    // no balance shift: those would be ledger rows outside any account.
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = '201'")).size() == 1);
    EXPECT_EQ(select(QStringLiteral("SELECT Balance FROM AC_Type WHERE UserID = 1 AND TypeID = '201'"))
                  .integer(0, QStringLiteral("Balance")),
              0);
    for (const QString& l : lines)
        EXPECT_FALSE(l.startsWith(QStringLiteral("转帐对应记录"))) << l.toStdString();
}

TEST_F(Verify, CounterAccountMissingGetsNoPartner)
{
    seedCatalogue();
    addEntry(1, day(1), 0, 8, QStringLiteral("101"), QStringLiteral("200"), QStringLiteral("x"), -8, QStringLiteral("109"));
    const QStringList lines = run();
    EXPECT_TRUE(lines.contains(QStringLiteral("对应帐户不存在，请手工修改！--- 日期:2024-1-1, 交易金额:8, 交易类型:转出, "
                                              "交易帐户:现金, 说明:x")))
        << lines.join('\n').toStdString();
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = '109'")).size(), 0);
}

TEST_F(Verify, TransferOutsideAnyAccountDoesNotMoveARealAccount)
{
    seedCatalogue();
    // A transfer booked in a category (not an account) naming 102: 102 gets no
    // partner and its balance stays.
    addEntry(1, day(1), 0, 30, QStringLiteral("201"), QStringLiteral("200"), QStringLiteral("y"), -30,
             QStringLiteral("102"));
    addEntry(2, day(2), 200, 0, QStringLiteral("102"), QStringLiteral("301"), QStringLiteral("pay"), 200);
    const QStringList lines = run();
    EXPECT_TRUE(lines.contains(QStringLiteral("交易帐户不是帐户类，请手工修改！--- 日期:2024-1-1, 交易金额:30, 交易类型:, "
                                              "交易帐户:餐饮, 说明:y")))
        << lines.join('\n').toStdString();
    const QueryResult rows = select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = '102'"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.integer(0, QStringLiteral("Balance")), raw(200));
    EXPECT_EQ(select(QStringLiteral("SELECT Balance FROM AC_Type WHERE UserID = 1 AND TypeID = '102'"))
                  .integer(0, QStringLiteral("Balance")),
              raw(200));
}

TEST_F(Verify, UserWithoutEntriesGetsEveryHeadingAndMissingSystemRows)
{
    ASSERT_TRUE(dm->db().exec(QStringLiteral("DELETE FROM AC_Type WHERE UserID = 0 AND TypeID = '299'")));
    bool completed = false;
    const QStringList lines = run(&completed);
    EXPECT_TRUE(completed);
    const QStringList expected{
        QString(),
        QStringLiteral("检查类别完整性 ... "), QStringLiteral("“----------------------”记录不存在，已自动插入！"), kDone,
        QString(), QStringLiteral("检查收支记录完整性 ... "), kDone,
        QString(), QStringLiteral("检查收支记录余额连续性 ... "), kDone,
        QString(), QStringLiteral("检查总分余额一致 ... "), kDone,
        QString(), QStringLiteral("检查帐户信息记录完整性 ... "), kDone,
        QString(), QStringLiteral("检查理财计划记录完整性 ... "), QStringLiteral("“预计目标”记录不存在，已自动插入！"),
        QStringLiteral("“现有资金”记录不存在，已自动插入！"), kDone,
        QString(), QStringLiteral("检查通讯录记录完整性 ... "), kDone,
        QString(), QStringLiteral("检查收藏夹记录完整性 ... "), kDone,
        QString(), QStringLiteral("数据检查完毕！"),
    };
    EXPECT_EQ(lines, expected);
    const QueryResult row = select(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = 0 AND TypeID = '299'"));
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(row.text(0, QStringLiteral("TypeName")), QString(22, QLatin1Char('-')));
    EXPECT_EQ(row.text(0, QStringLiteral("UseFlag")), QStringLiteral("2"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = 1 ORDER BY ID")).size(), 2);

    // The file: GBK, every line ended by CR LF.
    QFile f(folder.path(QStringLiteral("Data/Verify.log")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QStringDecoder gbk("GBK");
    const QString text = gbk.decode(bytes);
    EXPECT_FALSE(gbk.hasError());
    EXPECT_EQ(text, expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_TRUE(bytes.contains(QByteArray("\xb3\xc9\xb9\xa6", 4))); // 成功 in GBK
}

TEST_F(Verify, PlanDetailsAddressBookAndFavourites)
{
    seedCatalogue();
    auto plan = [&](int id, const QString& type, double amount, int months, double total) {
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Plan VALUES (?, ?, ?, ?, NULL, ?, ?, 1)"),
                                  {id, type, QStringLiteral("说明%1").arg(id), raw(amount), months, raw(total)}));
    };
    plan(1, QStringLiteral("预计目标"), 1000, 12, 12000);
    plan(2, QStringLiteral("现有资金"), 500, 3, 500);
    plan(3, QStringLiteral("固定支出"), 100, 3, 300);
    plan(4, QStringLiteral("单项收入"), 80, 1, 80);
    plan(5, QStringLiteral("其它"), 10, 1, 10);
    auto info = [&](const QString& code, const QString& name) {
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Info (TypeID, ActName, CardNo, ActNo, UserID) "
                                                 "VALUES (?, ?, '6222', '001', 1)"),
                                  {code, name}));
    };
    info(QStringLiteral("101"), QStringLiteral("张三"));
    info(QStringLiteral("109"), QStringLiteral("李四"));
    info(QStringLiteral("201"), QStringLiteral("王五"));
    ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Address (ID, Name, TypeID, Phone, Email, UserID) VALUES "
                                             "(1, '甲', '501', '1', 'a@b', 1), (2, '乙', '509', '2', 'b@c', 1), "
                                             "(3, '丙', '601', '3', 'c@d', 1)")));
    ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Memo (ID, Name, TypeID, URL, Description, UserID) VALUES "
                                             "(1, '首页', '601', 'http://a', 'x', 1), (2, '论坛', '699', 'http://b', 'y', 1), "
                                             "(3, '邮箱', '501', 'http://c', 'z', 1)")));
    const QStringList lines = run();
    const QStringList expected{
        QStringLiteral("月数不等于1，已自动修改！--- 类别：现有资金, 说明:说明2, 每月金额:500, 月数:3"),
        QStringLiteral("月数不等于用户指定月数，已自动修改！--- 类别：固定支出, 说明:说明3, 每月金额:100, 月数:3"),
        QStringLiteral("小计金额错误[原值：300,新值：1200]，已自动修改！--- 类别：固定支出, 说明:说明3, 每月金额:100, 月数:12"),
        QStringLiteral("类别不在指定范围内，请手工修改！--- 类别：其它, 说明:说明5, 每月金额:10, 月数:1"),
        QStringLiteral("帐户不存在，已自动清除！--- 户名:李四, 卡号:6222, 帐号:001"),
        QStringLiteral("帐户不是帐户类，已自动清除！--- 分类名称：餐饮, 户名:王五, 卡号:6222, 帐号:001"),
        QStringLiteral("类别不存在，请手工修改！--- 姓名:乙, 类别: 未知, 电话：2, Email:b@c"),
        QStringLiteral("类别不是通讯录，请手工修改！--- 姓名:丙, 类别: 网站, 电话：3, Email:c@d"),
        QStringLiteral("类别不存在，请手工修改！--- 名称:论坛, 类别: 未知, 网址：http://b, 说明:y"),
        QStringLiteral("类别不是收藏夹，请手工修改！--- 名称:邮箱, 类别: 同事, 网址：http://c, 说明:z"),
    };
    for (const QString& l : expected)
        EXPECT_TRUE(lines.contains(l)) << l.toStdString() << "\n--- log:\n" << lines.join('\n').toStdString();
    EXPECT_EQ(select(QStringLiteral("SELECT Months, Total FROM AC_Plan WHERE UserID = 1 AND ID = 3")).integer(0, QStringLiteral("Months")), 12);
    EXPECT_EQ(select(QStringLiteral("SELECT Total FROM AC_Plan WHERE UserID = 1 AND ID = 3")).money(0, QStringLiteral("Total")),
              Money::fromRaw(raw(1200)));
    EXPECT_EQ(select(QStringLiteral("SELECT Months FROM AC_Plan WHERE UserID = 1 AND ID = 2")).integer(0, QStringLiteral("Months")), 1);
    const QueryResult infoLeft = select(QStringLiteral("SELECT TypeID FROM AC_Info WHERE UserID = 1"));
    ASSERT_EQ(infoLeft.size(), 1);
    EXPECT_EQ(infoLeft.text(0, QStringLiteral("TypeID")), QStringLiteral("101"));
    // The address book and favourites are only reported.
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_Address WHERE UserID = 1")).size(), 3);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_Memo WHERE UserID = 1")).size(), 3);
}

TEST_F(Verify, OtherUsersRowsAreNotTouched)
{
    seedCatalogue();
    addType(QStringLiteral("101"), QStringLiteral("现金"), QStringLiteral("1"), 77, 2);
    addEntry(1, day(1), 10, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("x"), 99, QString(), 3, 2);
    run();
    EXPECT_EQ(select(QStringLiteral("SELECT Balance, AbsAmount FROM AC_List WHERE UserID = 2")).money(0, QStringLiteral("Balance")),
              Money::fromRaw(raw(99)));
    EXPECT_EQ(select(QStringLiteral("SELECT Balance FROM AC_Type WHERE UserID = 2")).money(0, QStringLiteral("Balance")),
              Money::fromRaw(raw(77)));
}
