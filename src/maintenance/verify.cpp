#include "verify.h"

#include "balances.h"

#include "datamodule.h"
#include "dates.h"
#include "textlog.h"

namespace {

const QString kDone = QStringLiteral("      ... 成功！");
const QString kUnknown = QStringLiteral("未知");

struct SystemRow {
    const char* code;
    const char* name;
    const char* flag;
    const char* use;
};

const SystemRow kSystemRows[] = {
    {"1", "资金", "0", "1"},  {"2", "支出", "0", "1"},
    {"200", "转出", "2", "2"}, {"299", "----------------------", "2", "2"},
    {"3", "收入", "0", "1"},  {"300", "转入", "3", "2"},
    {"4", "理财计划", "0", "1"}, {"5", "通讯录", "0", "1"},
    {"6", "收藏夹", "0", "1"},
};

QString q(const char* s) { return QString::fromUtf8(s); }

bool isTransfer(const QString& c) { return c == QLatin1String("200") || c == QLatin1String("300"); }

// The entry tail of a finding line.
QString entryTail(const QString& date, Money amount, const QString& category, const QString& account,
                  const QString& mark)
{
    return QStringLiteral("--- 日期:") + date + QStringLiteral(", 交易金额:") + DataVerify::amountText(amount)
           + QStringLiteral(", 交易类型:") + category + QStringLiteral(", 交易帐户:") + account
           + QStringLiteral(", 说明:") + mark;
}

QString amounts(Money in, Money out)
{
    return QStringLiteral("[收入：") + DataVerify::amountText(in) + QStringLiteral(", 支出：")
           + DataVerify::amountText(out) + QStringLiteral("]");
}

const QString kWhereEntry = QStringLiteral(" WHERE UserID = ? AND TypeID = ? AND ActID = ?");

} // namespace

DataVerify::DataVerify(TDataModule1* dm) : dm_(dm) {}

QString DataVerify::logPath() const { return dm_->programFolder() + QStringLiteral("Data/Verify.log"); }

QString DataVerify::nameOf(const QString& code, bool withSystemRows, QString* flag, bool* found)
{
    const QString sql = withSystemRows
                            ? QStringLiteral("SELECT * FROM AC_Type WHERE (UserID = 0 OR UserID = ?) AND TypeID = ? "
                                             "ORDER BY UserID DESC")
                            : QStringLiteral("SELECT * FROM AC_Type WHERE UserID = ? AND TypeID = ?");
    const bool ok = dm_->query(sql, {user_, code}) && !dm_->ADOQuery1().isEmpty();
    if (found)
        *found = ok;
    if (!ok) {
        if (flag)
            flag->clear();
        return QString();
    }
    if (flag)
        *flag = dm_->ADOQuery1().text(0, QStringLiteral("TypeFlag"));
    return dm_->ADOQuery1().text(0, QStringLiteral("TypeName"));
}

Money DataVerify::balanceBefore(const QString& account, const QDate& date, qint64 actId)
{
    return Balances::before(*dm_, user_, account, date, actId);
}

bool DataVerify::balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId)
{
    return Balances::shift(*dm_, user_, account, date, delta, actId);
}

bool DataVerify::entryBalances(TDataModule1* dm, const QVariant& user, const QString& account, Money* last,
                               Money* sum)
{
    if (!dm->query(QStringLiteral("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? "
                                  "ORDER BY ActDate DESC, ActID DESC LIMIT 1"),
                   {user, account}))
        return false;
    *last = dm->ADOQuery1().isEmpty() ? Money() : dm->ADOQuery1().money(0, QStringLiteral("Balance"));
    if (!dm->query(QStringLiteral("SELECT Sum(InAmount - OutAmount) AS Balance FROM AC_List WHERE UserID = ? "
                                  "AND TypeID = ?"),
                   {user, account}))
        return false;
    *sum = dm->ADOQuery1().isEmpty() ? Money() : dm->ADOQuery1().money(0, QStringLiteral("Balance"));
    return true;
}

void DataVerify::unexpected(const QString& cls, const QString& text)
{
    dm_->messages()->show(QStringLiteral("程序错误"),
                          QStringLiteral("数据校验错误, 详细信息：{") + cls + QStringLiteral(": ") + text
                              + QStringLiteral("}, 请与") + TDataModule1::supportAddress() + QStringLiteral("联系"),
                          MsgIcon::Critical);
}

bool DataVerify::run()
{
    lines_.clear();
    user_ = dm_->currentUserId();
    TextLog file(logPath());
    const bool fileOk = file.create();

    auto count = [this](const QString& sql, const QVariantList& params) -> int {
        if (!dm_->query(sql, params) || dm_->ADOQuery1().isEmpty())
            return 0;
        return int(dm_->ADOQuery1().integer(0, QStringLiteral("RecCount")));
    };
    int total = 2 * count(QStringLiteral("SELECT count(*) AS RecCount FROM AC_List WHERE UserID = ?"), {user_});
    total += count(QStringLiteral("SELECT count(*) AS RecCount FROM AC_Type WHERE UserID = ? AND TypeFlag = ?"),
                   {user_, QStringLiteral("1")});
    for (const char* t : {"AC_Info", "AC_Plan", "AC_Address", "AC_Memo"})
        total += count(QStringLiteral("SELECT count(*) AS RecCount FROM %1 WHERE UserID = ?").arg(q(t)), {user_});
    progress.max(total);

    log();
    bool completed = true;
    if (!fileOk) {
        unexpected(QStringLiteral("EFCreateError"), QStringLiteral("无法创建文件 ") + logPath());
        completed = false;
    } else {
        using Pass = bool (DataVerify::*)();
        const Pass passes[] = {&DataVerify::pass1, &DataVerify::pass2, &DataVerify::pass3, &DataVerify::pass4,
                               &DataVerify::pass5, &DataVerify::pass6, &DataVerify::pass7, &DataVerify::pass8};
        bool first = true;
        for (Pass p : passes) {
            if (!first)
                log();
            first = false;
            // Each pass is applied whole or not at all.
            TDataModule1::Work w(*dm_);
            const bool ran = (this->*p)();
            if (!ran || !w.commit()) {
                const SqlError& e = dm_->db().lastError();
                unexpected(e.className.isEmpty() ? QStringLiteral("EDatabaseError") : e.className,
                           e.message.isEmpty() ? QStringLiteral("事务提交失败") : e.message);
                completed = false;
                break;
            }
            log(kDone);
        }
    }
    log();
    log(QStringLiteral("数据检查完毕！"));
    for (const QString& l : lines_)
        file.line(l);
    file.close();
    return completed;
}

// --- pass 1: system rows of user 0 ---------------------------------------------------

bool DataVerify::pass1()
{
    log(QStringLiteral("检查类别完整性 ... "));
    for (const SystemRow& r : kSystemRows) {
        if (!dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = 0 AND TypeID = ?"), {q(r.code)}))
            return false;
        if (!dm_->ADOQuery1().isEmpty())
            continue;
        log(QStringLiteral("“") + q(r.name) + QStringLiteral("”记录不存在，已自动插入！"));
        if (!dm_->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, ?, 0, 0)"),
                       {q(r.code), q(r.name), q(r.flag), q(r.use)}))
            return false;
    }
    return true;
}

// Walks the user's entries by account, date and number, handing over each
// one as it stands now: an earlier step may have repaired it already as the
// transfer partner of another entry. Stops when visit returns false.
bool DataVerify::forEachEntry(const std::function<bool(const QueryResult& entry, qint64 actId)>& visit)
{
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? ORDER BY TypeID, ActDate, ActID"), {user_}))
        return false;
    const QueryResult all = dm_->ADOQuery1();
    for (int r = 0; r < all.size(); ++r) {
        progress.advance();
        const qint64 actId = all.integer(r, QStringLiteral("ActID"));
        if (!dm_->query(QStringLiteral("SELECT * FROM AC_List") + kWhereEntry,
                        {user_, all.text(r, QStringLiteral("TypeID")), actId}))
            return false;
        if (dm_->ADOQuery1().isEmpty())
            continue;
        const QueryResult entry = dm_->ADOQuery1();
        if (!visit(entry, actId))
            return false;
    }
    return true;
}

// --- pass 2: every ledger entry ---------------------------------------------------------

bool DataVerify::pass2()
{
    log(QStringLiteral("检查收支记录完整性 ... "));
    return forEachEntry([&](const QueryResult& list, qint64 actId) {
        const int i = 0;
        const QDate d = list.date(i, QStringLiteral("ActDate"));
        const QString date = Dates::shortText(d);
        Money in = list.money(i, QStringLiteral("InAmount"));
        Money out = list.money(i, QStringLiteral("OutAmount"));
        const QString account = list.text(i, QStringLiteral("TypeID"));
        const QString category = list.text(i, QStringLiteral("TypeID2"));
        const QString mark = list.text(i, QStringLiteral("Mark"));
        const QString relate = list.text(i, QStringLiteral("RelateTypeID"));
        const bool included = list.boolean(i, QStringLiteral("Included"));
        Money absAmount = list.money(i, QStringLiteral("AbsAmount"));
        const QVariantList key{user_, account, actId};

        // a. the account
        QString flag;
        bool found = false;
        QString accountName = nameOf(account, false, &flag, &found);
        const bool inAccount = found && flag == QLatin1String("1");
        if (!inAccount) {
            if (!found)
                accountName = kUnknown;
            const QString ownCategory = nameOf(category, false);
            log((found ? QStringLiteral("交易帐户不是帐户类，请手工修改！") : QStringLiteral("交易帐户不存在，请手工修改！"))
                + entryTail(date, absAmount, ownCategory, accountName, mark));
        }
        // b. the category
        QString categoryName = nameOf(category, true, &flag, &found);
        if (!found) {
            categoryName = kUnknown;
            log(QStringLiteral("交易类型不存在，请手工修改！") + entryTail(date, absAmount, categoryName, accountName, mark));
        } else if (flag != QLatin1String("2") && flag != QLatin1String("3")) {
            log(QStringLiteral("交易类型不是收支类，请手工修改！")
                + entryTail(date, absAmount, categoryName, accountName, mark));
        }
        auto tail = [&] { return entryTail(date, absAmount, categoryName, accountName, mark); };

        // c. the absolute amount
        const Money expectedAbs = (in - out).abs();
        if (!absAmount.nearlyEquals(expectedAbs)) {
            log(QStringLiteral("绝对金额错误[原值：") + amountText(absAmount) + QStringLiteral(", 新值：")
                + amountText(expectedAbs) + QStringLiteral("]，已自动修改！") + tail());
            if (!dm_->exec(QStringLiteral("UPDATE AC_List SET AbsAmount = ?") + kWhereEntry,
                           QVariantList{expectedAbs.raw()} + key))
                return false;
            absAmount = expectedAbs;
        }

        // d. signs and sides
        const Money negCent = Money::fromRaw(-Money::kScale / 100);
        if (in <= negCent || out <= negCent) {
            log(QStringLiteral("收入和支出金额不能为负") + amounts(in, out) + QStringLiteral("，请手工修改！") + tail());
        } else if (!in.belowCent() && !out.belowCent()) {
            log(QStringLiteral("收入和支出金额不能都有值") + amounts(in, out) + QStringLiteral("，请手工修改！") + tail());
        } else if (category.startsWith(QLatin1Char('2')) && !in.belowCent()) {
            log(QStringLiteral("支出交易收入金额有值") + amounts(in, out) + QStringLiteral("，已自动修改！") + tail());
            if (!dm_->exec(QStringLiteral("UPDATE AC_List SET InAmount = 0, OutAmount = ?") + kWhereEntry,
                           QVariantList{in.raw()} + key))
                return false;
            out = in;
            in = Money();
        } else if (category.startsWith(QLatin1Char('3')) && !out.belowCent()) {
            log(QStringLiteral("收入交易支出金额有值") + amounts(in, out) + QStringLiteral("，已自动修改！") + tail());
            if (!dm_->exec(QStringLiteral("UPDATE AC_List SET InAmount = ?, OutAmount = 0") + kWhereEntry,
                           QVariantList{out.raw()} + key))
                return false;
            in = out;
            out = Money();
        }

        if (isTransfer(category)) {
            // e. the transfer link
            if (relate.isEmpty()) {
                log(QStringLiteral("对应帐户为空，请手工修改！") + tail());
                return true;
            }
            const QString relateName = nameOf(relate, false, &flag, &found);
            if (!found)
                log(QStringLiteral("对应帐户不存在，请手工修改！") + tail());
            else if (flag != QLatin1String("1"))
                log(QStringLiteral("对应帐户不是帐户类[对应帐户：") + relateName + QStringLiteral("]，请手工修改！") + tail());
            // A partner is only written or repaired between two real
            // accounts: one "repaired" into a category or a missing code would
            // put ledger rows (and a balance shift) where no account is, and an
            // entry outside any account must not move a real account's entries.
            // An entry naming its own account has no partner to compare with
            // either: the look-up would find the entry itself.
            if (!inAccount || !found || flag != QLatin1String("1") || relate == account)
                return true;
            const QString expected = category == QLatin1String("200") ? QStringLiteral("300") : QStringLiteral("200");
            const Money change = out - in;
            if (!dm_->query(QStringLiteral("SELECT * FROM AC_List") + kWhereEntry, {user_, relate, actId}))
                return false;
            if (dm_->ADOQuery1().isEmpty()) {
                log(QStringLiteral("转帐对应记录不存在，已自动插入！") + tail());
                const Money balance = balanceBefore(relate, d, actId) + change;
                if (!dm_->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                               {actId, d, out.raw(), in.raw(), relate, expected, mark, balance.raw(), account, included,
                                user_, absAmount.raw()})
                    || !balanceShift(relate, d, change, actId))
                    return false;
                return true;
            }
            const QueryResult partner = dm_->ADOQuery1();
            const QVariantList partnerKey{user_, relate, actId};
            const QDate partnerDate = partner.date(0, QStringLiteral("ActDate"));
            if (partnerDate != d) {
                log(QStringLiteral("转帐对应记录日期不一致[对应记录日期：") + Dates::shortText(partnerDate)
                    + QStringLiteral("]，已自动修改！") + tail());
                if (!dm_->exec(QStringLiteral("UPDATE AC_List SET ActDate = ?") + kWhereEntry,
                               QVariantList{d} + partnerKey))
                    return false;
            }
            if (partner.text(0, QStringLiteral("TypeID2")) != expected) {
                log(QStringLiteral("转帐对应记录交易类型不一致，已自动修改！") + tail());
                if (!dm_->exec(QStringLiteral("UPDATE AC_List SET TypeID2 = ?") + kWhereEntry,
                               QVariantList{expected} + partnerKey))
                    return false;
            }
            if (partner.text(0, QStringLiteral("RelateTypeID")) != account) {
                log(QStringLiteral("转帐对应记录对应帐户不一致，已自动修改！") + tail());
                if (!dm_->exec(QStringLiteral("UPDATE AC_List SET RelateTypeID = ?") + kWhereEntry,
                               QVariantList{account} + partnerKey))
                    return false;
            }
            const Money pIn = partner.money(0, QStringLiteral("InAmount"));
            const Money pOut = partner.money(0, QStringLiteral("OutAmount"));
            if (!pIn.nearlyEquals(out) || !pOut.nearlyEquals(in)) {
                log(QStringLiteral("转帐对应记录金额不一致") + amounts(pIn, pOut) + QStringLiteral("，已自动修改！") + tail());
                const Money balance = balanceBefore(relate, d, actId) + change;
                if (!dm_->exec(QStringLiteral("UPDATE AC_List SET InAmount = ?, OutAmount = ?, Balance = ?, AbsAmount = ?")
                                   + kWhereEntry,
                               QVariantList{out.raw(), in.raw(), balance.raw(), absAmount.raw()} + partnerKey))
                    return false;
            }
        } else if (!relate.isEmpty()) {
            // f. only transfers name a counter-account
            log(QStringLiteral("对应帐户非空，已自动修改！") + tail());
            if (!dm_->exec(QStringLiteral("UPDATE AC_List SET RelateTypeID = ''") + kWhereEntry, key))
                return false;
        }
        return true;
    });
}

// --- pass 3: the chain of running balances ------------------------------------------------

bool DataVerify::pass3()
{
    log(QStringLiteral("检查收支记录余额连续性 ... "));
    // Read again, so that dates, amounts and partners repaired by pass 2 are seen.
    return forEachEntry([&](const QueryResult& list, qint64 actId) {
        const int i = 0;
        const QDate d = list.date(i, QStringLiteral("ActDate"));
        const QString account = list.text(i, QStringLiteral("TypeID"));
        const Money stored = list.money(i, QStringLiteral("Balance"));
        const Money expected = balanceBefore(account, d, actId) + list.money(i, QStringLiteral("InAmount"))
                               - list.money(i, QStringLiteral("OutAmount"));
        if (stored.nearlyEquals(expected))
            return true;
        const QString accountName = nameOf(account, false);
        const QString categoryName = nameOf(list.text(i, QStringLiteral("TypeID2")), false);
        log(QStringLiteral("余额错误[原值：") + amountText(stored) + QStringLiteral(", 新值：") + amountText(expected)
            + QStringLiteral("]，已自动修改！")
            + entryTail(Dates::shortText(d), list.money(i, QStringLiteral("AbsAmount")), categoryName, accountName,
                        list.text(i, QStringLiteral("Mark"))));
        if (!dm_->exec(QStringLiteral("UPDATE AC_List SET Balance = ?") + kWhereEntry,
                       {expected.raw(), user_, account, actId}))
            return false;
        return true;
    });
}

// --- pass 4: account balances ---------------------------------------------------------------

bool DataVerify::pass4()
{
    log(QStringLiteral("检查总分余额一致 ... "));
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = ? AND TypeFlag = ? ORDER BY TypeID"),
                    {user_, QStringLiteral("1")}))
        return false;
    const QueryResult accounts = dm_->ADOQuery1();
    for (int i = 0; i < accounts.size(); ++i) {
        progress.advance();
        const QString code = accounts.text(i, QStringLiteral("TypeID"));
        const QString name = accounts.text(i, QStringLiteral("TypeName"));
        const Money stored = accounts.money(i, QStringLiteral("Balance"));
        Money last, sum;
        if (!DataVerify::entryBalances(dm_, user_, code, &last, &sum))
            return false;
        if (sum.nearlyEquals(last)) {
            if (stored.nearlyEquals(last))
                continue;
            log(QStringLiteral("“") + name + QStringLiteral("”帐户余额与记录余额不一致[帐户：") + amountText(stored)
                + QStringLiteral(", 记录：") + amountText(last) + QStringLiteral("]，已自动修改。"));
            if (!dm_->exec(QStringLiteral("UPDATE AC_Type SET Balance = ? WHERE UserID = ? AND TypeID = ?"),
                           {last.raw(), user_, code}))
                return false;
        } else {
            log(QStringLiteral("“") + name + QStringLiteral("”记录余额与记录汇总差额不一致！这是程序Bug。请与")
                + TDataModule1::supportAddress() + QStringLiteral("联系。"));
        }
    }
    return true;
}

// --- pass 5: account details ------------------------------------------------------------------

bool DataVerify::pass5()
{
    log(QStringLiteral("检查帐户信息记录完整性 ... "));
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Info WHERE UserID = ? ORDER BY TypeID"), {user_}))
        return false;
    const QueryResult info = dm_->ADOQuery1();
    for (int i = 0; i < info.size(); ++i) {
        progress.advance();
        const QString code = info.text(i, QStringLiteral("TypeID"));
        QString flag;
        bool found = false;
        const QString name = nameOf(code, false, &flag, &found);
        if (found && flag == QLatin1String("1"))
            continue;
        const QString fields = QStringLiteral("户名:") + info.text(i, QStringLiteral("ActName")) + QStringLiteral(", 卡号:")
                               + info.text(i, QStringLiteral("CardNo")) + QStringLiteral(", 帐号:")
                               + info.text(i, QStringLiteral("ActNo"));
        if (!found)
            log(QStringLiteral("帐户不存在，已自动清除！--- ") + fields);
        else
            log(QStringLiteral("帐户不是帐户类，已自动清除！--- 分类名称：") + name + QStringLiteral(", ") + fields);
        if (!dm_->exec(QStringLiteral("DELETE FROM AC_Info WHERE UserID = ? AND TypeID = ?"), {user_, code}))
            return false;
    }
    return true;
}

// --- pass 6: budget plan ------------------------------------------------------------------------

bool DataVerify::pass6()
{
    log(QStringLiteral("检查理财计划记录完整性 ... "));
    int planMonths = 1;
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = ? AND ID = 1"), {user_}))
        return false;
    if (dm_->ADOQuery1().isEmpty()) {
        log(QStringLiteral("“预计目标”记录不存在，已自动插入！"));
        if (!dm_->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '', 0, ?, 1, 0, ?)"), {today(), user_}))
            return false;
    } else {
        planMonths = int(dm_->ADOQuery1().integer(0, QStringLiteral("Months")));
    }
    if (planMonths < 1)
        planMonths = 1;
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = ? AND ID = 2"), {user_}))
        return false;
    if (dm_->ADOQuery1().isEmpty()) {
        log(QStringLiteral("“现有资金”记录不存在，已自动插入！"));
        if (!dm_->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, ?)"), {user_}))
            return false;
    }

    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Plan WHERE UserID = ? ORDER BY ID"), {user_}))
        return false;
    const QueryResult plan = dm_->ADOQuery1();
    for (int i = 0; i < plan.size(); ++i) {
        progress.advance();
        const qint64 id = plan.integer(i, QStringLiteral("ID"));
        const QString type = plan.text(i, QStringLiteral("Type"));
        const Money amount = plan.money(i, QStringLiteral("Amount"));
        const Money total = plan.money(i, QStringLiteral("Total"));
        int m = int(plan.integer(i, QStringLiteral("Months")));
        auto tail = [&](int months) {
            return QStringLiteral("--- 类别：") + type + QStringLiteral(", 说明:") + plan.text(i, QStringLiteral("Description"))
                   + QStringLiteral(", 每月金额:") + amountText(amount) + QStringLiteral(", 月数:") + QString::number(months);
        };
        QString finding;
        int newMonths = m;
        if (id == 1) {
            if (m < 1) {
                finding = QStringLiteral("月数小于1，已自动修改！");
                newMonths = 1;
            }
        } else if (id == 2) {
            if (m != 1) {
                finding = QStringLiteral("月数不等于1，已自动修改！");
                newMonths = 1;
            }
        } else if (type == QStringLiteral("固定收入") || type == QStringLiteral("固定支出")) {
            if (m != planMonths) {
                finding = QStringLiteral("月数不等于用户指定月数，已自动修改！");
                newMonths = planMonths;
            }
        } else if (type == QStringLiteral("单项收入") || type == QStringLiteral("单项支出")) {
            if (m != 1) {
                finding = QStringLiteral("月数不等于1，已自动修改！");
                newMonths = 1;
            }
        } else {
            log(QStringLiteral("类别不在指定范围内，请手工修改！") + tail(m));
        }
        if (!finding.isEmpty()) {
            log(finding + tail(m));
            if (!dm_->exec(QStringLiteral("UPDATE AC_Plan SET Months = ? WHERE UserID = ? AND ID = ?"),
                           {newMonths, user_, id}))
                return false;
            m = newMonths;
        }
        const Money expected = Money::fromRaw(amount.raw() * m);
        if (!total.nearlyEquals(expected)) {
            log(QStringLiteral("小计金额错误[原值：") + amountText(total) + QStringLiteral(",新值：") + amountText(expected)
                + QStringLiteral("]，已自动修改！") + tail(m));
            if (!dm_->exec(QStringLiteral("UPDATE AC_Plan SET Total = ? WHERE UserID = ? AND ID = ?"),
                           {expected.raw(), user_, id}))
                return false;
        }
    }
    return true;
}

// --- passes 7 and 8: address book and favourites (reported only) ------------------------------------

// A table whose rows are filed under a category of one kind: rows under a
// missing category or a category of another kind are reported.
struct DataVerify::FiledRows {
    QString heading;    // the pass's first log line
    QString table;
    QString flag;       // TypeFlag of the right kind of category
    QString wrongKind;  // the finding for a category of another kind
    QString nameLabel;  // "--- 姓名:"
    QString nameColumn;
    QString label1, column1, label2, column2; // the two detail fields of a finding
};

bool DataVerify::checkFiledRows(const FiledRows& t)
{
    log(t.heading);
    if (!dm_->query(QStringLiteral("SELECT * FROM %1 WHERE UserID = ? ORDER BY ID").arg(t.table), {user_}))
        return false;
    const QueryResult rows = dm_->ADOQuery1();
    for (int i = 0; i < rows.size(); ++i) {
        progress.advance();
        QString flag;
        bool found = false;
        const QString group = nameOf(rows.text(i, QStringLiteral("TypeID")), false, &flag, &found);
        const QString name = t.nameLabel + rows.text(i, t.nameColumn);
        const QString rest = t.label1 + rows.text(i, t.column1) + t.label2 + rows.text(i, t.column2);
        if (!found)
            log(QStringLiteral("类别不存在，请手工修改！") + name + QStringLiteral(", 类别: 未知") + rest);
        else if (flag != t.flag)
            log(t.wrongKind + name + QStringLiteral(", 类别: ") + group + rest);
    }
    return true;
}

bool DataVerify::pass7()
{
    return checkFiledRows({QStringLiteral("检查通讯录记录完整性 ... "), QStringLiteral("AC_Address"), QStringLiteral("5"),
                           QStringLiteral("类别不是通讯录，请手工修改！"), QStringLiteral("--- 姓名:"), QStringLiteral("Name"),
                           QStringLiteral(", 电话："), QStringLiteral("Phone"), QStringLiteral(", Email:"),
                           QStringLiteral("Email")});
}

bool DataVerify::pass8()
{
    return checkFiledRows({QStringLiteral("检查收藏夹记录完整性 ... "), QStringLiteral("AC_Memo"), QStringLiteral("6"),
                           QStringLiteral("类别不是收藏夹，请手工修改！"), QStringLiteral("--- 名称:"), QStringLiteral("Name"),
                           QStringLiteral(", 网址："), QStringLiteral("URL"), QStringLiteral(", 说明:"),
                           QStringLiteral("Description")});
}
