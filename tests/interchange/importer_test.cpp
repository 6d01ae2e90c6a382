// The import rules: ledger entries with transfer pairs and the ledger's
// invariants afterwards, the checks and their log lines, plan, address-book
// and favourites rows, recognition, and the one-transaction guarantee.
#include "importer.h"

#include "datamodule.h"
#include "testdb.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

using TableFile::Rows;

namespace {


QStringList L(const QString& date, const QString& cat, const QString& note, const QString& in, const QString& out,
              const QString& acct, const QString& rel = QString())
{
    return {date, cat, note, in, out, acct, QString(), rel};
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dm = folder.makeDataModule();
        addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
        dm->currentUser = QStringLiteral("1");
    }
    Importer::Outcome import(ImportKind k, Rows rows, bool withTitles = true)
    {
        if (withTitles)
            rows.prepend(Importer::titles(k));
        EXPECT_TRUE(Importer::recognise(k, &rows));
        log.start();
        Importer imp(*dm);
        Importer::Outcome o = imp.run(k, rows, log);
        log.finish(o.imported, o.refused);
        return o;
    }
    QString scalar(const QString& sql, const QVariantList& params = {})
    {
        dm->query(sql, params);
        return dm->ADOQuery1().isEmpty() ? QString() : dm->ADOQuery1().value(0, 0).toString();
    }
    QString code(const QString& name, const QString& flag)
    {
        return scalar(QStringLiteral("SELECT TypeID FROM AC_Type WHERE TypeName = ? AND TypeFlag = ? AND UserID IN (0, 1)"),
                      {name, flag});
    }
    // Every running balance is the sum up to its position, every account's
    // balance the sum of its entries, every transfer has its partner.
    void expectLedgerInvariants()
    {
        dm->query(QStringLiteral("SELECT TypeID, InAmount, OutAmount, Balance, AbsAmount, ActID, TypeID2, RelateTypeID "
                                 "FROM AC_List WHERE UserID = 1 ORDER BY TypeID, ActDate, ActID"));
        const QueryResult r = dm->ADOQuery1();
        QHash<QString, qint64> sums;
        for (int i = 0; i < r.size(); ++i) {
            const QString acct = r.text(i, QStringLiteral("TypeID"));
            const qint64 amount = r.money(i, QStringLiteral("InAmount")).raw() - r.money(i, QStringLiteral("OutAmount")).raw();
            sums[acct] += amount;
            EXPECT_EQ(r.money(i, QStringLiteral("Balance")).raw(), sums[acct]) << "entry " << i;
            EXPECT_EQ(r.money(i, QStringLiteral("AbsAmount")).raw(), qAbs(amount));
            const QString cat = r.text(i, QStringLiteral("TypeID2"));
            if (cat == QLatin1String("200") || cat == QLatin1String("300")) {
                EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List WHERE UserID = 1 AND ActID = ? AND TypeID = ? "
                                                "AND TypeID2 = ? AND RelateTypeID = ?"),
                                 {r.integer(i, QStringLiteral("ActID")), r.text(i, QStringLiteral("RelateTypeID")),
                                  cat == QLatin1String("200") ? QStringLiteral("300") : QStringLiteral("200"), acct}),
                          QStringLiteral("1"));
            }
        }
        dm->query(QStringLiteral("SELECT TypeID, Balance FROM AC_Type WHERE UserID = 1 AND TypeFlag = '1'"));
        const QueryResult t = dm->ADOQuery1();
        for (int i = 0; i < t.size(); ++i)
            EXPECT_EQ(t.money(i, QStringLiteral("Balance")).raw(), sums.value(t.text(i, QStringLiteral("TypeID"))))
                << t.text(i, QStringLiteral("TypeID")).toStdString();
    }

    TestFolder folder;
    std::unique_ptr<TDataModule1> dm;
    ImportLog log;
};

} // namespace

TEST_F(ImportTest, TransferPairAndEntriesIntoAnEmptyUserThenDuplicatesOnSecondRun)
{
    const Rows rows{
        L(QStringLiteral("2026-3-2"), QStringLiteral("工资"), QStringLiteral("三月"), QStringLiteral("8,000.00"), QString(), QStringLiteral("工资卡")),
        L(QStringLiteral("2026-3-1"), QStringLiteral("转出"), QStringLiteral("取现"), QString(), QStringLiteral("500.00"), QStringLiteral("工资卡"), QStringLiteral("现金")),
        L(QStringLiteral("2026-3-1"), QStringLiteral("转入"), QStringLiteral("取现"), QStringLiteral("500.00"), QStringLiteral("0.00"), QStringLiteral("现金"), QStringLiteral("工资卡")),
        L(QStringLiteral("2026-3-3"), QStringLiteral("伙食"), QString(), QString(), QStringLiteral("12.5"), QStringLiteral("现金")),
        L(QStringLiteral("2026-2-28"), QStringLiteral("伙食"), QStringLiteral("早"), QString(), QStringLiteral("3"), QStringLiteral("现金")),
    };
    Importer::Outcome o = import(ImportKind::Ledger, rows);
    EXPECT_EQ(o.imported, 5);
    EXPECT_EQ(o.refused, 0);
    EXPECT_FALSE(o.rolledBack);
    const QString card = code(QStringLiteral("工资卡"), QStringLiteral("1"));
    const QString cash = code(QStringLiteral("现金"), QStringLiteral("1"));
    ASSERT_FALSE(card.isEmpty());
    ASSERT_FALSE(cash.isEmpty());
    EXPECT_EQ(code(QStringLiteral("工资"), QStringLiteral("3")).left(1), QStringLiteral("3")); // income side
    EXPECT_EQ(code(QStringLiteral("伙食"), QStringLiteral("2")).left(1), QStringLiteral("2")); // expense side
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List WHERE UserID = 1")), QStringLiteral("5"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(DISTINCT ActID) FROM AC_List WHERE TypeID2 IN ('200', '300')")),
              QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Balance FROM AC_Type WHERE TypeID = ? AND UserID = 1"), {cash}),
              QString::number((500 - 12.5 - 3) * 10000, 'f', 0));
    expectLedgerInvariants();

    const QStringList want{
        QStringLiteral("检查数据合法性 ... "), QString(),
        QStringLiteral("第1行，帐户\"工资卡\"不存在，已自动生成。"),
        QStringLiteral("第1行，收支类型\"工资\"不存在，已自动生成。"),
        QStringLiteral("第1行，新记录[日期：2026-3-2，收支类型：工资，收入金额：8,000.00，支出金额：，交易帐户：工资卡，说明：三月]!"),
        QStringLiteral("第2行，帐户\"现金\"不存在，已自动生成。"),
        QStringLiteral("第2行，新记录[日期：2026-3-1，收支类型：转出，收入金额：，支出金额：500.00，交易帐户：工资卡，说明：取现]!"),
        QStringLiteral("第4行，收支类型\"伙食\"不存在，已自动生成。"),
        QStringLiteral("第4行，新记录[日期：2026-3-3，收支类型：伙食，收入金额：，支出金额：12.5，交易帐户：现金，说明：]!"),
        QStringLiteral("第5行，新记录[日期：2026-2-28，收支类型：伙食，收入金额：，支出金额：3，交易帐户：现金，说明：早]!"),
        QString(), QStringLiteral("      导入成功：  5"), QStringLiteral("      导入失败：  0")};
    EXPECT_EQ(log.lines, want);
    // GBK with CR LF.
    const QByteArray bytes = log.bytes();
    QStringDecoder gbk("GBK");
    EXPECT_EQ(QString(gbk.decode(bytes)), want.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_TRUE(bytes.contains("\xBC\xEC\xB2\xE9")); // "检查" in GBK

    o = import(ImportKind::Ledger, rows);
    EXPECT_EQ(o.imported, 0);
    EXPECT_EQ(o.refused, 5);
    EXPECT_EQ(log.lines.filter(QStringLiteral("重复记录")).size(), 5);
    EXPECT_TRUE(log.lines.at(2).endsWith(QStringLiteral("]!")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List WHERE UserID = 1")), QStringLiteral("5"));
    expectLedgerInvariants();
}

TEST_F(ImportTest, RowChecksAndTheirLines)
{
    struct Case { QStringList row; QString line; };
    const QString d = QStringLiteral("2026-1-5");
    const QList<Case> cases = {
        {L(QString(), QStringLiteral("伙食"), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金")),
         QStringLiteral("第1行，日期为空[日期：，收支类型：伙食，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
        {L(QStringLiteral("2026-1-"), QStringLiteral("伙食"), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金")),
         QStringLiteral("第1行，日期格式错误[日期：2026-1-，收支类型：伙食，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("伙食"), QString(), QStringLiteral("1.2.3"), QString(), QStringLiteral("现金")),
         QStringLiteral("第1行，金额格式错误[日期：2026-1-5，收支类型：伙食，收入金额：1.2.3，支出金额：，交易帐户：现金，说明：]！")},
        // Two such amounts would overflow the account's balance.
        {L(d, QStringLiteral("伙食"), QString(), QStringLiteral("900,000,000,000,000"), QString(), QStringLiteral("现金")),
         QStringLiteral("第1行，金额格式错误[日期：2026-1-5，收支类型：伙食，收入金额：900,000,000,000,000，支出金额：，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("伙食"), QString(), QStringLiteral("0.005"), QStringLiteral("0"), QStringLiteral("现金")),
         QStringLiteral("第1行，交易金额为0或负[日期：2026-1-5，收支类型：伙食，收入金额：0.005，支出金额：0，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("伙食"), QString(), QStringLiteral("-30"), QStringLiteral("50"), QStringLiteral("现金")),
         QStringLiteral("第1行，交易金额为0或负[日期：2026-1-5，收支类型：伙食，收入金额：-30，支出金额：50，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("伙食"), QString(), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("现金")),
         QStringLiteral("第1行，收入/支出金额都有值[日期：2026-1-5，收支类型：伙食，收入金额：20，支出金额：30，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("伙食"), QString(), QString(), QStringLiteral("1"), QString()),
         QStringLiteral("第1行，交易帐户名为空[日期：2026-1-5，收支类型：伙食，收入金额：，支出金额：1，交易帐户：，说明：]！")},
        {L(d, QString(), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金")),
         QStringLiteral("第1行，收支类型为空[日期：2026-1-5，收支类型：，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("----------------------"), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金")),
         QStringLiteral("第1行，不是有效的收支类型[日期：2026-1-5，收支类型：----------------------，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("转出"), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金")),
         QStringLiteral("第1行，对应帐户为空[日期：2026-1-5，收支类型：转出，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
        {L(d, QStringLiteral("转出"), QString(), QString(), QStringLiteral("1"), QStringLiteral("现金"), QStringLiteral("现金")),
         QStringLiteral("第1行，转入/转出交易时,交易帐户和对应帐户为同一帐户日期：2026-1-5，收支类型：转出，收入金额：，支出金额：1，交易帐户：现金，说明：]！")},
    };
    for (const Case& c : cases) {
        Importer::Outcome o = import(ImportKind::Ledger, {c.row});
        EXPECT_EQ(o.refused, 1) << c.line.toStdString();
        EXPECT_EQ(o.imported, 0);
        EXPECT_TRUE(log.lines.contains(c.line)) << c.line.toStdString() << "\n" << log.lines.join('\n').toStdString();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List")), QStringLiteral("0"));
}

TEST_F(ImportTest, AmountsQuotesAndPercentSignsAreData)
{
    dm->writeSetting(2, QStringLiteral("0"));
    const Rows rows{
        L(QStringLiteral("2026-01-05"), QStringLiteral("O'Brien 50%_x"), QStringLiteral("it's 100%"), QStringLiteral("1,250.50"),
          QString(), QStringLiteral("Bob's 卡")),
        L(QStringLiteral("2026-1-6"), QStringLiteral("转出"), QString(), QString(), QStringLiteral("0.01"),
          QStringLiteral("Bob's 卡"), QStringLiteral("100%")),
    };
    const Importer::Outcome o = import(ImportKind::Ledger, rows);
    EXPECT_EQ(o.imported, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT InAmount FROM AC_List WHERE Mark = ?"), {QStringLiteral("it's 100%")}),
              QStringLiteral("12505000"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ActDate FROM AC_List WHERE Mark = ?"), {QStringLiteral("it's 100%")}),
              QStringLiteral("2026-01-05"));
    // Transfers are not counted while setting 2 is "0"; the new income category is.
    EXPECT_EQ(scalar(QStringLiteral("SELECT Included FROM AC_List WHERE TypeID2 = '200'")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Included FROM AC_List WHERE Mark = ?"), {QStringLiteral("it's 100%")}),
              QStringLiteral("1"));
    EXPECT_FALSE(code(QStringLiteral("100%"), QStringLiteral("1")).isEmpty());
    expectLedgerInvariants();
}

TEST_F(ImportTest, AFailingStatementUndoesTheWholeImport)
{
    ASSERT_TRUE(dm->exec(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON AC_List WHEN NEW.Mark = 'boom' "
                                        "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const Rows rows{
        L(QStringLiteral("2026-1-5"), QStringLiteral("伙食"), QStringLiteral("ok"), QString(), QStringLiteral("1"), QStringLiteral("现金")),
        L(QStringLiteral("2026-1-6"), QStringLiteral("伙食"), QStringLiteral("boom"), QString(), QStringLiteral("2"), QStringLiteral("现金")),
        L(QStringLiteral("2026-1-7"), QStringLiteral("伙食"), QStringLiteral("later"), QString(), QStringLiteral("3"), QStringLiteral("现金")),
    };
    const Importer::Outcome o = import(ImportKind::Ledger, rows);
    EXPECT_TRUE(o.rolledBack);
    EXPECT_EQ(o.imported, 0);
    EXPECT_EQ(o.refused, 3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_List")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Type WHERE UserID = 1")), QStringLiteral("0"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("导入过程中出错，此次导入已全部撤消，数据未作任何改动。")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("      导入成功：  0")));
}

TEST_F(ImportTest, Recognition)
{
    Rows ok;
    ok << Importer::titles(ImportKind::Ledger)
       << L(QStringLiteral("2026-1-5"), QStringLiteral("x"), {}, {}, QStringLiteral("1"), QStringLiteral("y"))
       << QStringList{QStringLiteral("合计"), QStringLiteral("1")};
    EXPECT_TRUE(Importer::recognise(ImportKind::Ledger, &ok));
    EXPECT_EQ(ok.size(), 1); // titles and totals gone

    QStringList moved = Importer::titles(ImportKind::Plan);
    moved.swapItemsAt(0, 1);
    Rows plan{moved};
    EXPECT_FALSE(Importer::recognise(ImportKind::Plan, &plan));
    Rows extra{Importer::titles(ImportKind::Memo) << QStringLiteral("more")};
    EXPECT_TRUE(Importer::recognise(ImportKind::Memo, &extra));
    Rows address{Importer::titles(ImportKind::Memo)};
    EXPECT_FALSE(Importer::recognise(ImportKind::Address, &address));
    Rows empty;
    EXPECT_FALSE(Importer::recognise(ImportKind::Ledger, &empty));
    EXPECT_EQ(Importer::kindOfBranch(QStringLiteral("7")), ImportKind::None);
    EXPECT_EQ(Importer::formatError(ImportKind::Plan), QStringLiteral("数据格式错误，请检查导入文件是否理财计划！"));
}

TEST_F(ImportTest, PlanRows)
{
    auto plan = [this](int id, const QString& type, qint64 amount, int months) {
        ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (?, ?, '', ?, NULL, ?, ?, 1)"),
                             {id, type, amount, months, amount * months}));
    };
    plan(1, QStringLiteral("预计目标"), 0, 6);
    plan(2, QStringLiteral("现有资金"), 0, 1);
    plan(3, QStringLiteral("固定收入"), 50000000, 6);
    plan(4, QStringLiteral("固定支出"), 20000000, 6);
    auto P = [](const QString& t, const QString& d, const QString& a, const QString& s = {}, const QString& m = {}) {
        return QStringList{t, d, a, s, m, QString()};
    };
    const Rows rows{
        P(QStringLiteral("预计目标"), QStringLiteral("买房"), QStringLiteral("100,000"), QStringLiteral("2026-1-1"), QStringLiteral("12")),
        P(QStringLiteral("单项支出"), QStringLiteral("旅游 'x'"), QStringLiteral("3000")),
        P(QStringLiteral("固定支出"), QString(), QStringLiteral("100")),
        P(QStringLiteral("单项支出"), QStringLiteral("旅游 'x'"), QStringLiteral("3,000.00")),
        P(QStringLiteral("零花"), QString(), QStringLiteral("1")),
        P(QStringLiteral("预计目标"), QString(), QStringLiteral("1"), QStringLiteral("2026-1-1"), QStringLiteral("0")),
        P(QStringLiteral("预计目标"), QString(), QStringLiteral("1"), QStringLiteral("2026-13-1"), QStringLiteral("3")),
        P(QString(), QString(), QStringLiteral("abc")),
        // Months × the fixed rows' amounts would overflow their subtotals.
        P(QStringLiteral("预计目标"), QString(), QStringLiteral("1"), QStringLiteral("2026-1-1"), QStringLiteral("2000000000")),
    };
    const Importer::Outcome o = import(ImportKind::Plan, rows);
    EXPECT_EQ(o.imported, 3);
    EXPECT_EQ(o.refused, 6);
    // The target's 12 months reach the fixed rows with their subtotals.
    EXPECT_EQ(scalar(QStringLiteral("SELECT Months || '/' || Total FROM AC_Plan WHERE ID = 3")), QStringLiteral("12/600000000"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Months || '/' || Total FROM AC_Plan WHERE ID = 4")), QStringLiteral("12/240000000"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Description || '/' || StartDate FROM AC_Plan WHERE ID = 1")),
              QStringLiteral("买房/2026-01-01"));
    // A new fixed row takes row 1's months.
    EXPECT_EQ(scalar(QStringLiteral("SELECT Months || '/' || Total FROM AC_Plan WHERE ID = 6")), QStringLiteral("12/12000000"));
    const QStringList want{
        QStringLiteral("第2行，新记录[类别：单项支出，说明：旅游 'x'，每月金额：3000]!"),
        QStringLiteral("第3行，新记录[类别：固定支出，说明：，每月金额：100]!"),
        QStringLiteral("第4行，重复记录[类别：单项支出，说明：旅游 'x'，每月金额：3,000.00]!"),
        QStringLiteral("第5行，类别不在指定范围内[类别：零花，说明：，每月金额：1]！"),
        QStringLiteral("第6行，月数小于1[类别：预计目标，说明：，每月金额：1]！"),
        QStringLiteral("第7行，起始日期格式错误[类别：预计目标，说明：，每月金额：1]！"),
        QStringLiteral("第8行，金额格式错误[类别：，说明：，每月金额：abc]！"),
        QStringLiteral("第9行，月数格式错误[类别：预计目标，说明：，每月金额：1]！"),
    };
    EXPECT_EQ(log.lines.mid(2, want.size()), want);
}

TEST_F(ImportTest, AddressRowsCreateGroupsWarnOfSameNamesAndRefuseDuplicates)
{
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Type VALUES ('501', '同事', '5', 0, '1', 0, 1)")));
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Address VALUES (1, '李四', '501', '123', NULL, NULL, NULL, NULL, "
                                        "NULL, NULL, NULL, NULL, 1)")));
    auto A = [](const QString& name, const QString& group, const QString& phone) {
        return QStringList{name, group, phone, QStringLiteral("10001"), QString(), QString(), QString(),
                           QStringLiteral("O'Hara路 5%"), QString(), QString(), QString()};
    };
    const Rows rows{A(QStringLiteral("李四"), QStringLiteral("同学"), QStringLiteral("456")),
                    A(QString(), QStringLiteral("同学"), QString()), A(QStringLiteral("王五"), QString(), QString())};
    Importer::Outcome o = import(ImportKind::Address, rows);
    EXPECT_EQ(o.imported, 1);
    EXPECT_EQ(o.refused, 2);
    ASSERT_EQ(o.createdTypes.size(), 1);
    EXPECT_EQ(o.createdTypes.first().left(1), QStringLiteral("5"));
    const QStringList want{
        QStringLiteral("第1行，类别\"同学\"不存在，已自动生成。"),
        QStringLiteral("第1行，存在同名记录，新记录[姓名：李四，类别：同学，电话：456，QQ：10001]将被导入，请手工检查原同名记录是否为同一条记录!"),
        QStringLiteral("第1行，新记录[姓名：李四，类别：同学，电话：456，QQ：10001]!"),
        QStringLiteral("第2行，姓名为空[姓名：，类别：同学，电话：，QQ：10001]！"),
        QStringLiteral("第3行，类别名为空[姓名：王五，类别：，电话：，QQ：10001]！"),
    };
    EXPECT_EQ(log.lines.mid(2, want.size()), want);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Address FROM AC_Address WHERE ID = 2")), QStringLiteral("O'Hara路 5%"));

    o = import(ImportKind::Address, {rows.first()});
    EXPECT_EQ(o.refused, 1);
    EXPECT_TRUE(log.lines.at(2).startsWith(QStringLiteral("第1行，重复记录[姓名：李四")));
}

TEST_F(ImportTest, FavouritesMayHaveNoName)
{
    const Rows rows{{QString(), QStringLiteral("门户"), QStringLiteral("http://a.example/?q=1&x=%"), QString()},
                    {QStringLiteral("新浪"), QStringLiteral("门户"), QStringLiteral("http://sina"), QStringLiteral("说明")}};
    Importer::Outcome o = import(ImportKind::Memo, rows);
    EXPECT_EQ(o.imported, 2);
    EXPECT_EQ(log.lines.at(2), QStringLiteral("第1行，类别\"门户\"不存在，已自动生成。"));
    EXPECT_EQ(log.lines.at(3), QStringLiteral("第1行，新记录[名称：，类别：门户，网址：http://a.example/?q=1&x=%，说明：]!"));
    o = import(ImportKind::Memo, rows);
    EXPECT_EQ(o.refused, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Memo")), QStringLiteral("2"));
}
