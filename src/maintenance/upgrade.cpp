#include "upgrade.h"

#include "balances.h"

#include "catalogue.h"
#include "datamodule.h"
#include "dates.h"
#include "jetreader.h"
#include "textlog.h"

#include <algorithm>

namespace {

const QString kDone = QStringLiteral("      ... 成功！");
const QString kClass = QStringLiteral("EOleException");

bool fail(SqlError* error, const QString& text)
{
    if (error)
        *error = {kClass, text};
    return false;
}

} // namespace

// --- the reader of real files -----------------------------------------------------------

bool JetV1Reader::moneyOf(const QVariant& v, Money* out)
{
    if (v.isNull() || v.toString().trimmed().isEmpty()) {
        *out = Money();
        return true;
    }
    if (v.typeId() == QMetaType::Double) {
        *out = Money::fromDouble(v.toDouble());
        return true;
    }
    const QString text = v.toString().trimmed();
    if (Money::parse(text, out))
        return true;
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (ok)
        *out = Money::fromDouble(d);
    return ok;
}

bool JetV1Reader::load(const QString& path, V1Data* out, SqlError* error)
{
    *out = V1Data();
    JetReader jet;
    QString why;
    if (!jet.open(path, &why))
        return fail(error, why);
    JetTable types, list;
    if (!jet.read(QStringLiteral("AC_Type"), &types, &why) || !jet.read(QStringLiteral("AC_List"), &list, &why))
        return fail(error, why);
    auto need = [&](const JetTable& t, const char* table, std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (t.column(QString::fromLatin1(n)) < 0) {
                why = QStringLiteral("%1 缺少列 %2").arg(QString::fromLatin1(table), QString::fromLatin1(n));
                return false;
            }
        return true;
    };
    if (!need(types, "AC_Type", {"TypeID", "TypeName", "TypeFlag", "FinalMoney", "UseFlag"})
        || !need(list, "AC_List", {"AccountID", "AccountTime", "Account", "TypeID", "TypeID2", "Mark"}))
        return fail(error, why);

    auto text = [](const JetTable& t, const QVariantList& row, const char* name) {
        const QVariant v = row.value(t.column(QString::fromLatin1(name)));
        return v.isNull() ? QString() : v.toString().trimmed();
    };
    for (const QVariantList& row : types.rows) {
        V1Type t;
        t.typeId = text(types, row, "TypeID");
        t.typeName = text(types, row, "TypeName");
        t.typeFlag = text(types, row, "TypeFlag");
        t.useFlag = text(types, row, "UseFlag");
        if (!moneyOf(row.value(types.column(QStringLiteral("FinalMoney"))), &t.finalMoney))
            return fail(error, QStringLiteral("AC_Type.FinalMoney 不是金额: ") + t.typeId);
        out->types << t;
    }
    for (const QVariantList& row : list.rows) {
        V1Record r;
        r.accountId = row.value(list.column(QStringLiteral("AccountID"))).toLongLong();
        r.accountTime = row.value(list.column(QStringLiteral("AccountTime"))).toDateTime();
        if (!r.accountTime.isValid())
            return fail(error, QStringLiteral("AC_List.AccountTime 不是日期: %1").arg(r.accountId));
        if (!moneyOf(row.value(list.column(QStringLiteral("Account"))), &r.account))
            return fail(error, QStringLiteral("AC_List.Account 不是金额: %1").arg(r.accountId));
        r.typeId = text(list, row, "TypeID");
        r.typeId2 = text(list, row, "TypeID2");
        // The note keeps its own spaces.
        const QVariant mark = row.value(list.column(QStringLiteral("Mark")));
        r.mark = mark.isNull() ? QString() : mark.toString();
        out->records << r;
    }
    return true;
}

// --- the import routine ---------------------------------------------------------------------

V1Import::V1Import(TDataModule1* dm, IV1Reader* reader) : dm_(dm), reader_(reader) {}

QString V1Import::logPath() const { return dm_->programFolder() + QStringLiteral("Data/Upgrade.log"); }

void V1Import::failed(const SqlError& e)
{
    dm_->messages()->show(QStringLiteral("程序错误"),
                          QStringLiteral("导入数据失败, 请检查导入数据是否为<Zelko家庭理财V1.0>, 详细信息：{")
                              + (e.className.isEmpty() ? kClass : e.className) + QStringLiteral(": ") + e.message
                              + QStringLiteral("}, 否则请与") + TDataModule1::supportAddress() + QStringLiteral("联系"),
                          MsgIcon::Critical);
}

bool V1Import::run(const QString& path)
{
    lines_.clear();
    user_ = dm_->currentUserId();
    TextLog file(logPath());
    file.create();

    // The old file is read and checked before anything of the user's is touched.
    V1Data data;
    SqlError error;
    bool ok = reader_ && reader_->load(path, &data, &error);
    if (!ok) {
        failed(error);
        lines_ << QString();
    } else {
        if (beforeClose)
            beforeClose();
        QList<RecordSet*> wasOpen;
        const QList<RecordSet*> order{dm_->ADOQuery6, dm_->ADOQuery7, dm_->ADOQuery8, dm_->ADOQuery9, dm_->ADOQuery10,
                                      dm_->ADOTable1, dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4};
        for (RecordSet* rs : {dm_->ADOTable1, dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4, dm_->ADOQuery6,
                              dm_->ADOQuery7, dm_->ADOQuery8, dm_->ADOQuery9, dm_->ADOQuery10})
            if (rs->isOpen()) {
                wasOpen << rs;
                rs->close();
            }

        {
            TDataModule1::Work w(*dm_);
            ok = importAll(data) && w.commit();
        }
        if (!ok) {
            SqlError e = dm_->db().lastError();
            if (!e.isSet())
                e = {QStringLiteral("EDatabaseError"), QStringLiteral("事务提交失败")};
            failed(e);
            lines_ << QString() << QStringLiteral("导入数据失败，用户数据未作任何修改！");
        }

        for (RecordSet* rs : order)
            if (wasOpen.contains(rs))
                rs->open();
        if (afterReopen)
            afterReopen();
        lines_ << QString();
        if (ok)
            lines_ << QStringLiteral("数据导入成功！尽情享受你的Zelko家庭理财！");
    }
    for (const QString& l : lines_)
        file.line(l);
    file.close();
    return ok;
}

Money V1Import::balanceBefore(const QString& account, const QDate& date, qint64 actId)
{
    return Balances::before(*dm_, user_, account, date, actId);
}

bool V1Import::insertEntry(qint64 id, const QDate& d, Money in, Money out, const QString& account,
                           const QString& category, const QString& mark, const QString& relate)
{
    const Money amount = in - out;
    const Money balance = balanceBefore(account, d, id) + amount;
    if (!dm_->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?)"),
                   {id, d, in.raw(), out.raw(), account, category, mark, balance.raw(), relate, user_,
                    amount.abs().raw()}))
        return false;
    // Entries are written in the old file's order of time and number; one
    // that falls before entries already written (a smaller number on the
    // same day) moves their running balances, so the chain stays whole.
    return Balances::shiftEntries(*dm_, user_, account, d, amount, id);
}

QString V1Import::ownName(const QString& code)
{
    if (!dm_->query(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = ? AND TypeID = ?"), {user_, code})
        || dm_->ADOQuery1().isEmpty())
        return QString();
    return dm_->ADOQuery1().text(0, QStringLiteral("TypeName"));
}

void V1Import::logRejected(const V1Record& r, Money amount)
{
    lines_ << QStringLiteral("原交易记录不正确，请在新系统中重新记帐！--- 日期:") + Dates::shortText(r.accountTime.date())
                  + QStringLiteral(", 流水号:") + QString::number(r.accountId) + QStringLiteral(", 交易金额:")
                  + DataVerify::amountText(amount) + QStringLiteral(", 交易类型:") + ownName(r.typeId2)
                  + QStringLiteral(", 交易帐户:") + ownName(r.typeId) + QStringLiteral(", 说明:") + r.mark;
}

QString V1Import::adjustmentCategory(const QString& flag, const QString& name, const QString& other)
{
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = ? AND (TypeName = ? OR TypeName = ?) "
                                   "AND TypeFlag = ? ORDER BY TypeID"),
                    {user_, name, other, flag}))
        return QString();
    if (!dm_->ADOQuery1().isEmpty())
        return dm_->ADOQuery1().text(0, QStringLiteral("TypeID"));
    return Catalogue(dm_).create(name, flag, false);
}

bool V1Import::importAll(const V1Data& data)
{
    lines_ << QString() << QStringLiteral("删除现有数据 ... ");
    const char* deletions[] = {
        "DELETE FROM AC_Address WHERE UserID = ?", "DELETE FROM AC_Info WHERE UserID = ?",
        "DELETE FROM AC_List WHERE UserID = ?",    "DELETE FROM AC_Memo WHERE UserID = ?",
        "DELETE FROM AC_Plan WHERE UserID = ? AND ID > 2", "DELETE FROM AC_Fullfill WHERE UserID = ?",
        "DELETE FROM AC_Setting WHERE UserID = ?",
    };
    for (const char* sql : deletions)
        if (!dm_->exec(QString::fromLatin1(sql), {user_}))
            return false;
    if (!dm_->exec(QStringLiteral("DELETE FROM AC_Type WHERE UserID = ? AND TypeID < ?"), {user_, QStringLiteral("4")}))
        return false;
    lines_ << kDone;

    // Categories and accounts, by code.
    lines_ << QString() << QStringLiteral("导入分类 ... ");
    QList<V1Type> types;
    for (const V1Type& t : data.types)
        if (!t.typeFlag.isEmpty() && t.typeFlag != QLatin1String("0"))
            types << t;
    std::stable_sort(types.begin(), types.end(), [](const V1Type& a, const V1Type& b) { return a.typeId < b.typeId; });
    for (const V1Type& t : types) {
        // A code the user still holds (a list the import does not replace)
        // or a code the old file repeats keeps its first row.
        if (!dm_->query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE UserID = ? AND TypeID = ?"), {user_, t.typeId}))
            return false;
        if (!dm_->ADOQuery1().isEmpty())
            continue;
        if (!dm_->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, ?, ?, 0, ?)"),
                       {t.typeId, t.typeName, t.typeFlag, t.finalMoney.raw(), t.useFlag, user_}))
            return false;
    }
    const QString expenseAdjust =
        adjustmentCategory(QStringLiteral("2"), QStringLiteral("其它支出"), QStringLiteral("其它杂支"));
    const QString incomeAdjust = adjustmentCategory(QStringLiteral("3"), QStringLiteral("其它收入"), QStringLiteral("其他"));
    if (dm_->db().transactionFailed())
        return false;
    lines_ << kDone;

    // Records in the order of time and number; amounts below a cent are skipped.
    lines_ << QString() << QStringLiteral("导入收支记录 ... ");
    QList<V1Record> records;
    for (const V1Record& r : data.records)
        if (!r.account.belowCent())
            records << r;
    std::stable_sort(records.begin(), records.end(), [](const V1Record& a, const V1Record& b) {
        if (a.accountTime != b.accountTime)
            return a.accountTime < b.accountTime;
        return a.accountId < b.accountId;
    });
    progress.max(records.size());
    const QString adjustNote = QStringLiteral("调整资金");
    const QString transferNote = QStringLiteral("资金转移");
    const Money zero;
    for (int i = 0; i < records.size(); ++i) {
        const V1Record& r = records.at(i);
        progress.advance();
        const QDate d = r.accountTime.date();
        const qint64 n = r.accountId;
        const Money a = r.account;
        const QString& t = r.typeId;
        const QString& c = r.typeId2;
        bool ok = true;
        if (c == QLatin1String("001")) {
            ok = a >= zero ? insertEntry(n, d, a, zero, t, incomeAdjust, adjustNote, QString())
                           : insertEntry(n, d, zero, -a, t, expenseAdjust, adjustNote, QString());
        } else if (c != QLatin1String("000")) {
            ok = c.startsWith(QLatin1Char('2')) ? insertEntry(n, d, zero, -a, t, c, r.mark, QString())
                                                : insertEntry(n, d, a, zero, t, c, r.mark, QString());
        } else if (a < zero) {
            const V1Record* next = i + 1 < records.size() ? &records.at(i + 1) : nullptr;
            // Both halves of a transfer: the paying account, then a different receiving one.
            if (next && next->typeId2 == QLatin1String("000") && next->account >= zero && next->typeId != t) {
                const Money m = -a;
                const QString& u = next->typeId;
                ok = insertEntry(n, d, zero, m, t, QStringLiteral("200"), transferNote, u)
                     && insertEntry(n, d, m, zero, u, QStringLiteral("300"), transferNote, t);
            } else {
                logRejected(r, -a);
                if (next)
                    logRejected(*next, next->account);
            }
            if (next) {
                ++i;
                progress.advance();
            }
        } else {
            logRejected(r, a);
        }
        if (!ok)
            return false;
    }

    // Account balances against the imported entries.
    if (!dm_->query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = ? AND TypeFlag = ? ORDER BY TypeID"),
                    {user_, QStringLiteral("1")}))
        return false;
    const QueryResult accounts = dm_->ADOQuery1();
    for (int i = 0; i < accounts.size(); ++i) {
        const QString code = accounts.text(i, QStringLiteral("TypeID"));
        const QString name = accounts.text(i, QStringLiteral("TypeName"));
        const Money stored = accounts.money(i, QStringLiteral("Balance"));
        Money last, sum;
        if (!DataVerify::entryBalances(dm_, user_, code, &last, &sum))
            return false;
        if (sum.nearlyEquals(last)) {
            if (stored.nearlyEquals(last))
                continue;
            lines_ << QStringLiteral("“") + name + QStringLiteral("”帐户余额与记录余额不一致！新系统将对帐户余额进行调整，请检查。");
            if (!dm_->exec(QStringLiteral("UPDATE AC_Type SET Balance = ? WHERE UserID = ? AND TypeID = ?"),
                           {last.raw(), user_, code}))
                return false;
        } else {
            lines_ << QStringLiteral("“") + name + QStringLiteral("”记录余额与记录汇总差额不一致！这是程序Bug。请与")
                          + TDataModule1::supportAddress() + QStringLiteral("联系。");
        }
    }
    lines_ << kDone;
    return true;
}
