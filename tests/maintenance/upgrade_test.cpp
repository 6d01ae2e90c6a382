// The import of version-1.0 data (from a reader fed from memory) and the
// commands around the import and the consistency check.
#include "ledgerfixture.h"
#include "maintenancecommands.h"
#include "upgrade.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

namespace {

const QString kDone = QStringLiteral("      ... 成功！");

class FakeV1Reader : public IV1Reader {
public:
    bool load(const QString& path, V1Data* out, SqlError* error) override
    {
        paths << path;
        if (!ok) {
            *error = {QStringLiteral("EOleException"), QStringLiteral("不是可识别的数据库文件")};
            return false;
        }
        *out = data;
        return true;
    }
    V1Data data;
    bool ok = true;
    QStringList paths;
};

V1Type type(const char* code, const char* name, const char* flag, double money = 0)
{
    return {QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(flag), QStringLiteral("1"),
            Money::fromDouble(money)};
}

V1Record record(qint64 id, int day, double amount, const char* account, const char* category, const char* mark = "")
{
    V1Record r;
    r.accountId = id;
    r.accountTime = QDateTime(QDate(2024, 1, day), QTime(9, 30));
    r.account = Money::fromDouble(amount);
    r.typeId = QString::fromUtf8(account);
    r.typeId2 = QString::fromUtf8(category);
    r.mark = QString::fromUtf8(mark);
    return r;
}

} // namespace

class Upgrade : public LedgerFixture {
protected:
    void SetUp() override
    {
        LedgerFixture::SetUp();
        // What user 1 has now, and another user's data.
        addType(QStringLiteral("101"), QStringLiteral("旧帐户"), QStringLiteral("1"), 10);
        addType(QStringLiteral("201"), QStringLiteral("旧类别"), QStringLiteral("2"));
        addType(QStringLiteral("501"), QStringLiteral("同事"), QStringLiteral("5"));
        addEntry(1, QDate(2023, 5, 1), 10, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("旧"), 10);
        addType(QStringLiteral("101"), QStringLiteral("他的现金"), QStringLiteral("1"), 7, 2);
        addEntry(1, QDate(2023, 5, 1), 7, 0, QStringLiteral("101"), QStringLiteral("301"), QStringLiteral("他的"), 7,
                 QString(), -1, 2);
        for (int id = 1; id <= 3; ++id)
            ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Plan VALUES (?, 'x', '', 0, NULL, 1, 0, 1)"), {id}));
        ASSERT_TRUE(dm->db().exec(QStringLiteral("INSERT INTO AC_Address (ID, Name, TypeID, UserID) VALUES (1, '甲', '501', 1)")));

        reader.data.types = {type("101", "现金", "1", 480), type("102", "银行", "1", 530), type("201", "餐饮", "2"),
                             type("301", "工资", "3"), type("000", "转帐", "0"), type("999", "空", "")};
        reader.data.records = {
            record(2, 2, -50, "101", "201", "午饭"),
            record(1, 1, 1000, "101", "301", "工资"),
            record(3, 3, 0.005, "101", "201", "零头"),
            record(4, 4, -500, "101", "000", "转"),
            record(5, 4, 500, "102", "000", "转"),
            record(6, 5, -20, "101", "001", "旧备注"),
            record(7, 6, 30, "102", "001", "盘盈"),
            record(8, 7, -40, "101", "000", "半笔"),
            record(9, 8, -15, "101", "201", "晚饭"),
            record(10, 9, 60, "102", "000", "另半笔"),
        };
    }

    QueryResult entry(const QString& account, qint64 id)
    {
        return select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND TypeID = ? AND ActID = ?"), {account, id});
    }

    FakeV1Reader reader;
};

TEST_F(Upgrade, ImportsCategoriesRecordsTransfersAndAdjustments)
{
    V1Import import(dm.get(), &reader);
    int maximum = 0, steps = 0;
    import.progress.setMaximum = [&](int n) { maximum = n; };
    import.progress.step = [&] { ++steps; };
    ASSERT_TRUE(import.run(QStringLiteral("/old/Account.mdb")));
    EXPECT_EQ(folder.messages.count(), 0);
    EXPECT_EQ(maximum, 9); // the 0.005 record is not counted
    EXPECT_EQ(steps, 9);

    // The catalogue: the old rows with a class, plus the two adjustment categories.
    const QueryResult types = select(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = 1 ORDER BY TypeID"));
    QStringList codes;
    for (int i = 0; i < types.size(); ++i)
        codes << types.text(i, QStringLiteral("TypeID")) + QLatin1Char('=') + types.text(i, QStringLiteral("TypeName"));
    EXPECT_EQ(codes.join(QLatin1Char(',')),
              QStringLiteral("101=现金,102=银行,201=餐饮,202=其它支出,301=工资,302=其它收入,501=同事"));

    // Ordinary records, both sides.
    QueryResult e = entry(QStringLiteral("101"), 1);
    EXPECT_EQ(e.money(0, QStringLiteral("InAmount")), Money::fromDouble(1000));
    EXPECT_EQ(e.text(0, QStringLiteral("TypeID2")), QStringLiteral("301"));
    EXPECT_EQ(e.text(0, QStringLiteral("Mark")), QStringLiteral("工资"));
    EXPECT_TRUE(e.boolean(0, QStringLiteral("Included")));
    e = entry(QStringLiteral("101"), 2);
    EXPECT_EQ(e.money(0, QStringLiteral("OutAmount")), Money::fromDouble(50));
    EXPECT_EQ(e.money(0, QStringLiteral("Balance")), Money::fromDouble(950));
    // 0.005 is neither imported nor logged.
    EXPECT_TRUE(entry(QStringLiteral("101"), 3).isEmpty());

    // The transfer pair.
    e = entry(QStringLiteral("101"), 4);
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e.text(0, QStringLiteral("TypeID2")), QStringLiteral("200"));
    EXPECT_EQ(e.money(0, QStringLiteral("OutAmount")), Money::fromDouble(500));
    EXPECT_EQ(e.text(0, QStringLiteral("RelateTypeID")), QStringLiteral("102"));
    EXPECT_EQ(e.text(0, QStringLiteral("Mark")), QStringLiteral("资金转移"));
    e = entry(QStringLiteral("102"), 4);
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e.text(0, QStringLiteral("TypeID2")), QStringLiteral("300"));
    EXPECT_EQ(e.money(0, QStringLiteral("InAmount")), Money::fromDouble(500));
    EXPECT_EQ(e.text(0, QStringLiteral("RelateTypeID")), QStringLiteral("101"));
    EXPECT_TRUE(entry(QStringLiteral("102"), 5).isEmpty()); // the incoming half was consumed

    // Adjustments: the note is replaced, the sign picks the category.
    e = entry(QStringLiteral("101"), 6);
    EXPECT_EQ(e.money(0, QStringLiteral("OutAmount")), Money::fromDouble(20));
    EXPECT_EQ(e.text(0, QStringLiteral("TypeID2")), QStringLiteral("202"));
    EXPECT_EQ(e.text(0, QStringLiteral("Mark")), QStringLiteral("调整资金"));
    e = entry(QStringLiteral("102"), 7);
    EXPECT_EQ(e.money(0, QStringLiteral("InAmount")), Money::fromDouble(30));
    EXPECT_EQ(e.text(0, QStringLiteral("TypeID2")), QStringLiteral("302"));

    // An outgoing half followed by an ordinary expense: neither is imported.
    EXPECT_TRUE(entry(QStringLiteral("101"), 8).isEmpty());
    EXPECT_TRUE(entry(QStringLiteral("101"), 9).isEmpty());
    EXPECT_TRUE(entry(QStringLiteral("102"), 10).isEmpty());

    // The ledger is consistent and the account balance was adjusted.
    EXPECT_TRUE(violations().isEmpty()) << violations().join(QStringLiteral("; ")).toStdString();

    // The user's other data is gone except plan rows 1 and 2 and the other lists.
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM AC_Address WHERE UserID = 1")).isEmpty());
    EXPECT_EQ(select(QStringLiteral("SELECT ID FROM AC_Plan WHERE UserID = 1")).size(), 2);
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1 AND Mark = '旧'")).isEmpty());
    // Another user's data is untouched.
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 2")).size(), 1);
    EXPECT_EQ(select(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = 2")).text(0, QStringLiteral("TypeName")),
              QStringLiteral("他的现金"));

    const QStringList expected{
        QString(), QStringLiteral("删除现有数据 ... "), kDone,
        QString(), QStringLiteral("导入分类 ... "), kDone,
        QString(), QStringLiteral("导入收支记录 ... "),
        QStringLiteral("原交易记录不正确，请在新系统中重新记帐！--- 日期:2024-1-7, 流水号:8, 交易金额:40, 交易类型:, 交易帐户:现金, 说明:半笔"),
        QStringLiteral("原交易记录不正确，请在新系统中重新记帐！--- 日期:2024-1-8, 流水号:9, 交易金额:-15, 交易类型:餐饮, 交易帐户:现金, 说明:晚饭"),
        QStringLiteral("原交易记录不正确，请在新系统中重新记帐！--- 日期:2024-1-9, 流水号:10, 交易金额:60, 交易类型:, 交易帐户:银行, 说明:另半笔"),
        QStringLiteral("“现金”帐户余额与记录余额不一致！新系统将对帐户余额进行调整，请检查。"),
        kDone,
        QString(), QStringLiteral("数据导入成功！尽情享受你的Zelko家庭理财！"),
    };
    EXPECT_EQ(import.lines(), expected) << import.lines().join('\n').toStdString();
    QFile f(folder.path(QStringLiteral("Data/Upgrade.log")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringDecoder gbk("GBK");
    EXPECT_EQ(QString(gbk.decode(f.readAll())), expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST_F(Upgrade, ExistingAdjustmentCategoriesAreUsed)
{
    reader.data.types << type("205", "其它杂支", "2") << type("309", "其他", "3");
    reader.data.records = {record(1, 1, -20, "101", "001", "x"), record(2, 2, 20, "101", "001", "y")};
    V1Import import(dm.get(), &reader);
    ASSERT_TRUE(import.run(QStringLiteral("/old/Account.mdb")));
    EXPECT_EQ(entry(QStringLiteral("101"), 1).text(0, QStringLiteral("TypeID2")), QStringLiteral("205"));
    EXPECT_EQ(entry(QStringLiteral("101"), 2).text(0, QStringLiteral("TypeID2")), QStringLiteral("309"));
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = 1 AND TypeName = '其它支出'")).isEmpty());
}

TEST_F(Upgrade, AFileThatCannotBeReadLeavesTheDataInPlace)
{
    reader.ok = false;
    V1Import import(dm.get(), &reader);
    EXPECT_FALSE(import.run(QStringLiteral("/old/wrong.mdb")));
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("程序错误"));
    EXPECT_EQ(folder.messages.last().text,
              QStringLiteral("导入数据失败, 请检查导入数据是否为<Zelko家庭理财V1.0>, 详细信息：{EOleException: "
                             "不是可识别的数据库文件}, 否则请与zelko.support@163.com联系"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1")).size(), 1);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_Address WHERE UserID = 1")).size(), 1);
    EXPECT_FALSE(import.lines().contains(QStringLiteral("数据导入成功！尽情享受你的Zelko家庭理财！")));
}

TEST_F(Upgrade, AFailedStatementUndoesTheWholeImport)
{
    ASSERT_TRUE(dm->db().exec(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON AC_List WHEN NEW.Mark = '晚饭' "
                                             "BEGIN SELECT RAISE(ABORT, 'boom'); END")));
    reader.data.records.removeAt(7); // record 9 is now an ordinary expense that gets imported
    V1Import import(dm.get(), &reader);
    EXPECT_FALSE(import.run(QStringLiteral("/old/Account.mdb")));
    ASSERT_GE(folder.messages.count(), 2); // the statement's own box, then the import's
    EXPECT_TRUE(folder.messages.last().text.startsWith(QStringLiteral("导入数据失败")));
    // Nothing of the import is left, everything of the user is back.
    EXPECT_EQ(select(QStringLiteral("SELECT Mark FROM AC_List WHERE UserID = 1")).text(0, QStringLiteral("Mark")),
              QStringLiteral("旧"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1")).size(), 1);
    EXPECT_EQ(select(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = 1 AND TypeID = '101'"))
                  .text(0, QStringLiteral("TypeName")),
              QStringLiteral("旧帐户"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = 1")).size(), 3);
    EXPECT_FALSE(import.lines().contains(QStringLiteral("数据导入成功！尽情享受你的Zelko家庭理财！")));
}

TEST_F(Upgrade, RecordsOutOfNumberOrderKeepTheBalanceChainWhole)
{
    // Same day, the later time has the smaller number.
    V1Record late = record(1, 3, -30, "101", "201", "b");
    late.accountTime = QDateTime(QDate(2024, 1, 3), QTime(18, 0));
    reader.data.records = {record(5, 3, 100, "101", "301", "a"), late};
    V1Import import(dm.get(), &reader);
    ASSERT_TRUE(import.run(QStringLiteral("/old/Account.mdb")));
    EXPECT_TRUE(violations().isEmpty()) << violations().join(QStringLiteral("; ")).toStdString();
}

// --- the commands ------------------------------------------------------------------------

class Commands : public Upgrade {
protected:
    MaintenanceCommands commands() { return MaintenanceCommands(dm.get(), &folder.messages, &files, &desktop, &reader); }
    FakeFileDialog files;
    FakeDesktop desktop;
};

TEST_F(Commands, UpgradeRefusesTheLiveFileAMissingFileAndStopsOnCancel)
{
    MaintenanceCommands c = commands();
    files.nextPath = folder.databasePath();
    EXPECT_FALSE(c.actUpgrade());
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("请选择已备份的<Zelko家庭理财V1.0>数据文件！"));
    EXPECT_EQ(files.requests.last().title, QStringLiteral("打开"));
    EXPECT_EQ(files.requests.last().folder, folder.programFolder() + QStringLiteral("Backup"));

    files.nextPath = folder.path(QStringLiteral("Backup/none")); // gets ".mdb"
    EXPECT_FALSE(c.actUpgrade());
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("错误"));
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("源数据文件不存在！"));

    QFile old(folder.path(QStringLiteral("Backup/old.mdb")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    files.nextPath = folder.path(QStringLiteral("Backup/old"));
    folder.messages.clear();
    folder.messages.answerNext(MsgAnswer::Ok);
    folder.messages.answerNext(MsgAnswer::Cancel);
    EXPECT_FALSE(c.actUpgrade());
    ASSERT_EQ(folder.messages.count(), 2);
    EXPECT_EQ(folder.messages.shown[0].title, QStringLiteral("重要提示"));
    EXPECT_EQ(folder.messages.shown[0].text, QStringLiteral("用户数据将被覆盖，是否继续？"));
    EXPECT_EQ(folder.messages.shown[1].title, QStringLiteral("警告"));
    EXPECT_EQ(folder.messages.shown[1].text, QStringLiteral("该用户当前所有记录将被全部删除，是否继续？"));
    EXPECT_TRUE(reader.paths.isEmpty());
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1")).size(), 1);

    // Both answered: the import runs on the chosen file and its log is opened.
    QString caption;
    c.showProgress = [&](const QString& t) { caption = t; };
    EXPECT_TRUE(c.actUpgrade());
    EXPECT_EQ(caption, QStringLiteral("正在导入数据..."));
    EXPECT_EQ(reader.paths, QStringList{folder.path(QStringLiteral("Backup/old.mdb"))});
    EXPECT_EQ(desktop.opened.last(), QUrl::fromLocalFile(folder.path(QStringLiteral("Data/Upgrade.log"))).toString());
}

TEST_F(Commands, VerifyRepairsCompactsReopensAndOpensTheLog)
{
    dm->ADOTable2->open();
    ASSERT_TRUE(dm->ADOTable2->isOpen());
    MaintenanceCommands c = commands();
    QStringList calls;
    c.showProgress = [&](const QString& t) { calls << t; };
    c.suspendGrids = [&] { calls << QStringLiteral("suspend"); };
    c.resumeGrids = [&] { calls << QStringLiteral("resume"); };
    c.rebuildTree = [&] { calls << QStringLiteral("tree"); };
    c.freeProgress = [&] { calls << QStringLiteral("free"); };
    EXPECT_TRUE(c.actVerify());
    EXPECT_EQ(calls, (QStringList{QStringLiteral("正在修复压缩数据..."), QStringLiteral("suspend"), QStringLiteral("resume"),
                                  QStringLiteral("tree"), QStringLiteral("free")}));
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("提示"));
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("数据修复压缩成功！"));
    EXPECT_EQ(desktop.opened.last(), QUrl::fromLocalFile(folder.path(QStringLiteral("Data/Verify.log"))).toString());
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("Data/Account.tmp"))));
    ASSERT_TRUE(dm->isConnected());
    EXPECT_TRUE(dm->ADOTable2->isOpen());
    // The repair of the entry's account balance survived the compaction.
    EXPECT_TRUE(violations().isEmpty()) << violations().join(QStringLiteral("; ")).toStdString();
}

TEST_F(Commands, AFailedCompactionIsReportedAndTheLogStillOpens)
{
    // The copy's place is taken by a folder, so the compaction fails.
    ASSERT_TRUE(QDir().mkpath(folder.path(QStringLiteral("Data/Account.tmp/x"))));
    MaintenanceCommands c = commands();
    EXPECT_FALSE(c.actVerify());
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("错误"));
    EXPECT_TRUE(folder.messages.last().text.startsWith(QStringLiteral("数据修复压缩失败！详细信息：{")));
    EXPECT_TRUE(folder.messages.last().text.endsWith(QStringLiteral("}, 请与zelko.support@163.com联系")));
    EXPECT_EQ(desktop.opened.size(), 1);
    ASSERT_TRUE(dm->isConnected());
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM AC_List WHERE UserID = 1")).size(), 1);
}
