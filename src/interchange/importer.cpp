#include "importer.h"

#include "balances.h"

#include "catalogue.h"
#include "datamodule.h"
#include "dates.h"

#include <QSaveFile>
#include <QStringEncoder>

namespace {

const QString kTransferOut = QStringLiteral("200");
const QString kTransferIn = QStringLiteral("300");
const QString kSeparator = QStringLiteral("299");
const QString kRefusedEnd = QStringLiteral("]！");
const QString kNoteEnd = QStringLiteral("]!");
const int kMostMonths = 99999;

QString created(int n, const QString& what, const QString& name)
{
    return QStringLiteral("第%1行，%2\"%3\"不存在，已自动生成。").arg(n).arg(what, name);
}

QString cell(const QStringList& row, int i) { return i < row.size() ? row.at(i).trimmed() : QString(); }

} // namespace

// ---------------------------------------------------------------------------------
// Log

void ImportLog::start()
{
    lines.clear();
    lines << QStringLiteral("检查数据合法性 ... ") << QString();
}

void ImportLog::finish(int imported, int refused)
{
    lines << QString() << QStringLiteral("      导入成功：  %1").arg(imported)
          << QStringLiteral("      导入失败：  %1").arg(refused);
}

QByteArray ImportLog::bytes() const
{
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    QStringEncoder gbk("GBK");
    return gbk.isValid() ? QByteArray(gbk.encode(text)) : text.toUtf8();
}

bool ImportLog::save(const QString& path) const
{
    QSaveFile f(path);
    const QByteArray b = bytes();
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size() && f.commit();
}

// ---------------------------------------------------------------------------------
// Kinds and recognition

ImportKind Importer::kindOfBranch(const QString& branch)
{
    if (branch == QLatin1String("1") || branch == QLatin1String("2") || branch == QLatin1String("3"))
        return ImportKind::Ledger;
    if (branch == QLatin1String("4"))
        return ImportKind::Plan;
    if (branch == QLatin1String("5"))
        return ImportKind::Address;
    if (branch == QLatin1String("6"))
        return ImportKind::Memo;
    return ImportKind::None;
}

QStringList Importer::titles(ImportKind k)
{
    switch (k) {
    case ImportKind::Ledger:
        return {QStringLiteral("日期"), QStringLiteral("收支类型"), QStringLiteral("收支说明"), QStringLiteral("收入金额"),
                QStringLiteral("支出金额"), QStringLiteral("交易帐户"), QStringLiteral("帐户余额"), QStringLiteral("对应帐户")};
    case ImportKind::Plan:
        return {QStringLiteral("类别"), QStringLiteral("说明"), QStringLiteral("每月金额"), QStringLiteral("起始日期"),
                QStringLiteral("月数"), QStringLiteral("小计")};
    case ImportKind::Address:
        return {QStringLiteral("姓名"), QStringLiteral("类别"), QStringLiteral("电话"), QStringLiteral("QQ"),
                QStringLiteral("Email"), QStringLiteral("主页"), QStringLiteral("生日"), QStringLiteral("通信地址"),
                QStringLiteral("公司名称"), QStringLiteral("职位"), QStringLiteral("备注")};
    case ImportKind::Memo:
        return {QStringLiteral("名称"), QStringLiteral("类别"), QStringLiteral("网址"), QStringLiteral("说明")};
    case ImportKind::None:
        break;
    }
    return {};
}

QString Importer::formatError(ImportKind k)
{
    switch (k) {
    case ImportKind::Ledger: return QStringLiteral("数据格式错误，请检查导入文件是否收支记录！");
    case ImportKind::Plan: return QStringLiteral("数据格式错误，请检查导入文件是否理财计划！");
    case ImportKind::Address: return QStringLiteral("数据格式错误，请检查导入文件是否通讯录！");
    case ImportKind::Memo: return QStringLiteral("数据格式错误，请检查导入文件是否收藏夹！");
    case ImportKind::None: break;
    }
    return QString();
}

bool Importer::recognise(ImportKind k, TableFile::Rows* rows)
{
    if (k == ImportKind::None || rows->isEmpty())
        return false;
    if (k == ImportKind::Ledger && rows->size() > 1 && cell(rows->last(), 0) == QStringLiteral("合计"))
        rows->removeLast();
    const QStringList want = titles(k);
    const QStringList& first = rows->first();
    for (int i = 0; i < want.size(); ++i)
        if (cell(first, i) != want.at(i))
            return false;
    rows->removeFirst();
    return true;
}

bool Importer::amountOf(const QString& text, Money* out)
{
    QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = Money();
        return true;
    }
    t.remove(QLatin1Char(','));
    // No more than an amount typed into the grids may hold, so that sums
    // of entries and balances stay exact.
    const qint64 most = qint64(99999999) * Money::kScale;
    return !t.isEmpty() && Money::parse(t, out) && out->raw() <= most && out->raw() >= -most;
}

// ---------------------------------------------------------------------------------
// Shared steps

bool Importer::failed() const { return const_cast<TDataModule1&>(dm_).db().transactionFailed(); }

QString Importer::lookupType(const QString& name, const QString& flag, bool withShared, const QString& preferFlag)
{
    const int user = dm_.currentUserId();
    bool ok;
    if (flag.isEmpty()) // a category: expense or income, the side's class first
        ok = dm_.query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE (UserID = 0 OR UserID = ?) "
                                      "AND trim(TypeName) = ? COLLATE NOCASE AND (TypeFlag = '3' OR TypeFlag = '2') "
                                      "AND UseFlag <> '0' ORDER BY (TypeFlag = ?) DESC, TypeID"),
                       {user, name, preferFlag});
    else if (withShared)
        ok = dm_.query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE (UserID = 0 OR UserID = ?) "
                                      "AND trim(TypeName) = ? COLLATE NOCASE AND TypeFlag = ? AND UseFlag <> '0' "
                                      "ORDER BY TypeID"),
                       {user, name, flag});
    else
        ok = dm_.query(QStringLiteral("SELECT TypeID FROM AC_Type WHERE UserID = ? "
                                      "AND trim(TypeName) = ? COLLATE NOCASE AND TypeFlag = ? AND UseFlag <> '0' "
                                      "ORDER BY TypeID"),
                       {user, name, flag});
    if (!ok || dm_.ADOQuery1().isEmpty())
        return QString();
    return dm_.ADOQuery1().text(0, QStringLiteral("TypeID"));
}

QString Importer::createType(const QString& name, const QString& flag, bool counted, Outcome& o)
{
    const QString code = Catalogue(&dm_).create(name, flag, counted);
    if (!code.isEmpty())
        o.createdTypes << code;
    return code;
}

qint64 Importer::nextId(const QString& table, const QString& column)
{
    // table and column are fixed names of this file, never user text.
    if (!dm_.query(QStringLiteral("SELECT max(%1) AS ID FROM %2 WHERE UserID = ?").arg(column, table),
                   {dm_.currentUserId()})
        || dm_.ADOQuery1().isEmpty() || dm_.ADOQuery1().value(0, 0).isNull())
        return 1;
    return dm_.ADOQuery1().integer(0, QStringLiteral("ID")) + 1;
}

// The posting engine's balance operations; during an
// import no entry is in editing, so an entry's balance is the balance before
// its position plus its amount.
Money Importer::balanceBefore(const QString& account, const QDate& date, qint64 actId)
{
    return Balances::before(dm_, dm_.currentUserId(), account, date, actId);
}

bool Importer::balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId)
{
    return Balances::shift(dm_, dm_.currentUserId(), account, date, delta, actId);
}

Importer::Outcome Importer::run(ImportKind k, const TableFile::Rows& rows, ImportLog& log,
                                const std::function<void()>& step)
{
    Outcome o;
    const int firstLine = log.lines.size();
    {
        TDataModule1::Work w(dm_);
        QList<QStringList> copy = rows;
        if (k == ImportKind::Ledger)
            ledgerRows(copy, log, o, step);
        else if (k == ImportKind::Plan)
            planRows(copy, log, o, step);
        else if (k == ImportKind::Address || k == ImportKind::Memo)
            sideRows(k == ImportKind::Address, copy, log, o, step);
        o.rolledBack = !w.commit();
    }
    if (o.rolledBack) {
        // Nothing was kept: the findings above describe a run that was undone.
        log.lines.insert(firstLine, QStringLiteral("导入过程中出错，此次导入已全部撤消，数据未作任何改动。"));
        o.refused = rows.size();
        o.imported = 0;
        o.createdTypes.clear();
    }
    return o;
}

// ---------------------------------------------------------------------------------
// Ledger entries

void Importer::ledgerRows(QList<QStringList>& rows, ImportLog& log, Outcome& o, const std::function<void()>& step)
{
    const int user = dm_.currentUserId();
    const bool transfersCounted = dm_.readSetting(2) != QLatin1String("0");
    auto nameOf = [this](const QString& code) {
        if (!dm_.query(QStringLiteral("SELECT TypeName FROM AC_Type WHERE UserID = 0 AND TypeID = ?"), {code})
            || dm_.ADOQuery1().isEmpty())
            return QString();
        return dm_.ADOQuery1().text(0, QStringLiteral("TypeName")).trimmed();
    };
    const QString outName = nameOf(kTransferOut);
    const QString inName = nameOf(kTransferIn);
    QVector<bool> consumed(rows.size(), false);

    for (int i = 0; i < rows.size() && !failed(); ++i) {
        const QStringList& r = rows.at(i);
        const int n = i + 1;
        const QString dateText = cell(r, 0), catName = cell(r, 1), note = cell(r, 2), inText = cell(r, 3),
                      outText = cell(r, 4), acctName = cell(r, 5), relName = cell(r, 7);
        const QString fields = dateText + QStringLiteral("，收支类型：") + catName + QStringLiteral("，收入金额：") + inText
                               + QStringLiteral("，支出金额：") + outText + QStringLiteral("，交易帐户：") + acctName
                               + QStringLiteral("，说明：") + note;
        auto refuse = [&](const QString& x, const QString& end = kRefusedEnd) {
            log.add(QStringLiteral("第%1").arg(n) + x + fields + end);
            ++o.refused;
        };
        auto done = [&] { if (step) step(); };

        if (consumed.at(i)) { // the second half of a transfer made by its first half
            ++o.imported;
            done();
            continue;
        }
        if (dateText.isEmpty()) { refuse(QStringLiteral("行，日期为空[日期：")); done(); continue; }
        const QDate date = Dates::parse(dateText);
        if (!date.isValid()) { refuse(QStringLiteral("行，日期格式错误[日期：")); done(); continue; }
        Money in, out;
        if (!amountOf(inText, &in) || !amountOf(outText, &out)) {
            refuse(QStringLiteral("行，金额格式错误[日期："));
            done();
            continue;
        }
        const Money cent = Money::fromRaw(Money::kScale / 100);
        // A negative amount is no entry of either side.
        if ((in < cent && out < cent) || in < Money() || out < Money()) {
            refuse(QStringLiteral("行，交易金额为0或负[日期："));
            done();
            continue;
        }
        if (in > cent && out > cent) { refuse(QStringLiteral("行，收入/支出金额都有值[日期：")); done(); continue; }

        if (acctName.isEmpty()) { refuse(QStringLiteral("行，交易帐户名为空[日期：")); done(); continue; }
        QString account = lookupType(acctName, QStringLiteral("1"), false);
        if (account.isEmpty() && !failed()) {
            account = createType(acctName, QStringLiteral("1"), false, o);
            if (account.isEmpty()) { refuse(QStringLiteral("行，交易帐户无法自动生成[日期：")); done(); continue; }
            log.add(created(n, QStringLiteral("帐户"), acctName));
        }
        if (catName.isEmpty()) { refuse(QStringLiteral("行，收支类型为空[日期：")); done(); continue; }
        const bool expenseSide = !(out < cent);
        QString category = lookupType(catName, QString(), true, expenseSide ? QStringLiteral("2") : QStringLiteral("3"));
        if (category.isEmpty() && !failed()) {
            category = createType(catName, expenseSide ? QStringLiteral("2") : QStringLiteral("3"), true, o);
            if (category.isEmpty()) { refuse(QStringLiteral("行，收支类型无法自动生成[日期：")); done(); continue; }
            log.add(created(n, QStringLiteral("收支类型"), catName));
        }
        if (category == kSeparator) { refuse(QStringLiteral("行，不是有效的收支类型[日期：")); done(); continue; }

        const bool transfer = category == kTransferOut || category == kTransferIn;
        bool included = true;
        QString relate;
        if (!transfer) {
            included = dm_.query(QStringLiteral("SELECT FundFlag FROM AC_Type WHERE UserID = ? AND TypeID = ?"),
                                 {user, category})
                       && !dm_.ADOQuery1().isEmpty() && dm_.ADOQuery1().boolean(0, QStringLiteral("FundFlag"));
        } else {
            included = transfersCounted;
            if (relName.isEmpty()) { refuse(QStringLiteral("行，对应帐户为空[日期：")); done(); continue; }
            relate = lookupType(relName, QStringLiteral("1"), false);
            if (relate.isEmpty() && !failed()) {
                relate = createType(relName, QStringLiteral("1"), false, o);
                if (relate.isEmpty()) { refuse(QStringLiteral("行，对应帐户无法自动生成[日期：")); done(); continue; }
                log.add(created(n, QStringLiteral("帐户"), relName));
            }
            if (relate == account) {
                refuse(QStringLiteral("行，转入/转出交易时,交易帐户和对应帐户为同一帐户日期："));
                done();
                continue;
            }
        }
        if (failed())
            break;

        // Duplicate test: a counter-account stored as NULL counts as empty.
        if (!dm_.query(QStringLiteral("SELECT ActID FROM AC_List WHERE UserID = ? AND ActDate = ? AND TypeID2 = ? "
                                      "AND InAmount = ? AND OutAmount = ? AND TypeID = ? "
                                      "AND coalesce(RelateTypeID, '') = ? AND coalesce(trim(Mark), '') = ? LIMIT 1"),
                       {user, date, category, in.raw(), out.raw(), account, relate, note}))
            break;
        if (!dm_.ADOQuery1().isEmpty()) {
            refuse(QStringLiteral("行，重复记录[日期："), kNoteEnd);
            done();
            continue;
        }

        const qint64 actId = nextId(QStringLiteral("AC_List"), QStringLiteral("ActID"));
        const Money amount = in - out;
        const Money balance = balanceBefore(account, date, actId) + amount;
        if (!dm_.exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {actId, date, in.raw(), out.raw(), account, category, note, balance.raw(), relate, included,
                       user, amount.abs().raw()})
            || !balanceShift(account, date, amount, actId))
            break;
        log.add(QStringLiteral("第%1行，新记录[日期：").arg(n) + fields + kNoteEnd);

        if (transfer) {
            const QString partnerCategory = category == kTransferOut ? kTransferIn : kTransferOut;
            const Money partnerBalance = balanceBefore(relate, date, actId) - amount;
            if (!dm_.exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                          {actId, date, out.raw(), in.raw(), relate, partnerCategory, note, partnerBalance.raw(),
                           account, included, user, amount.abs().raw()})
                || !balanceShift(relate, date, -amount, actId))
                break;
            // The file's line of the other half (amounts compared as amounts,
            // so "0.00" and an empty cell are alike).
            const QString partnerName = partnerCategory == kTransferOut ? outName : inName;
            for (int j = 0; j < rows.size(); ++j) {
                if (j == i || consumed.at(j))
                    continue;
                const QStringList& p = rows.at(j);
                Money pin, pout;
                if (cell(p, 0) != dateText || cell(p, 1) != partnerName || cell(p, 2) != note
                    || cell(p, 5) != relName || cell(p, 7) != acctName || !amountOf(cell(p, 3), &pin)
                    || !amountOf(cell(p, 4), &pout) || pin != out || pout != in)
                    continue;
                consumed[j] = true;
                break;
            }
        }
        ++o.imported;
        done();
    }
}

// ---------------------------------------------------------------------------------
// Plan rows

void Importer::planRows(const QList<QStringList>& rows, ImportLog& log, Outcome& o, const std::function<void()>& step)
{
    const int user = dm_.currentUserId();
    const QString target = QStringLiteral("预计目标"), funds = QStringLiteral("现有资金");
    const QStringList fixed = {QStringLiteral("固定收入"), QStringLiteral("固定支出")};
    const QStringList single = {QStringLiteral("单项收入"), QStringLiteral("单项支出")};
    for (int i = 0; i < rows.size() && !failed(); ++i) {
        const QStringList& r = rows.at(i);
        const int n = i + 1;
        const QString type = cell(r, 0), desc = cell(r, 1), amountText = cell(r, 2), startText = cell(r, 3),
                      monthsText = cell(r, 4);
        const QString fields = QStringLiteral("[类别：") + type + QStringLiteral("，说明：") + desc
                               + QStringLiteral("，每月金额：") + amountText;
        auto line = [&](const QString& finding, const QString& end) {
            log.add(QStringLiteral("第%1行，").arg(n) + finding + fields + end);
        };
        auto refuse = [&](const QString& finding, const QString& end = kRefusedEnd) {
            line(finding, end);
            ++o.refused;
            if (step) step();
        };
        Money amount;
        if (!amountOf(amountText, &amount)) { refuse(QStringLiteral("金额格式错误")); continue; }
        if (type.isEmpty()) { refuse(QStringLiteral("类别名为空")); continue; }
        int months = 1;
        Money total = amount;
        QDate start;
        if (type == target) {
            if (startText.isEmpty()) { refuse(QStringLiteral("起始日期为空")); continue; }
            start = Dates::parse(startText);
            if (!start.isValid()) { refuse(QStringLiteral("起始日期格式错误")); continue; }
            bool ok = false;
            months = monthsText.toInt(&ok);
            // The target's months multiply every fixed row's amount: a count
            // past any real plan would overflow their subtotals.
            if (!ok || months > kMostMonths) { refuse(QStringLiteral("月数格式错误")); continue; }
            if (months < 1) { refuse(QStringLiteral("月数小于1")); continue; }
        } else if (fixed.contains(type)) {
            months = 0;
            if (dm_.query(QStringLiteral("SELECT Months FROM AC_Plan WHERE UserID = ? AND ID = 1"), {user})
                && !dm_.ADOQuery1().isEmpty())
                months = int(dm_.ADOQuery1().integer(0, QStringLiteral("Months")));
            total = Money::fromRaw(amount.raw() * months);
        } else if (!single.contains(type) && type != funds) {
            refuse(QStringLiteral("类别不在指定范围内"));
            continue;
        }

        if (type == target) {
            if (!dm_.exec(QStringLiteral("UPDATE AC_Plan SET Description = ?, Amount = ?, StartDate = ?, Months = ?, "
                                         "Total = ? WHERE UserID = ? AND Type = ?"),
                          {desc, amount.raw(), start, months, amount.raw(), user, type})
                || !dm_.exec(QStringLiteral("UPDATE AC_Plan SET Months = ?, Total = Amount * ? WHERE UserID = ? "
                                            "AND (Type = '固定收入' OR Type = '固定支出')"),
                             {months, months, user}))
                break;
        } else if (type == funds) {
            if (!dm_.exec(QStringLiteral("UPDATE AC_Plan SET Description = ?, Amount = ?, Months = 1, Total = ? "
                                         "WHERE UserID = ? AND Type = ?"),
                          {desc, amount.raw(), amount.raw(), user, type}))
                break;
        } else {
            if (!dm_.query(QStringLiteral("SELECT ID FROM AC_Plan WHERE UserID = ? AND trim(Type) = ? AND Amount = ? "
                                          "AND coalesce(trim(Description), '') = ? LIMIT 1"),
                           {user, type, amount.raw(), desc}))
                break;
            if (!dm_.ADOQuery1().isEmpty()) { refuse(QStringLiteral("重复记录"), kNoteEnd); continue; }
            const qint64 id = nextId(QStringLiteral("AC_Plan"), QStringLiteral("ID"));
            if (!dm_.exec(QStringLiteral("INSERT INTO AC_Plan VALUES (?, ?, ?, ?, NULL, ?, ?, ?)"),
                          {id, type, desc, amount.raw(), months, total.raw(), user}))
                break;
            line(QStringLiteral("新记录"), kNoteEnd);
        }
        ++o.imported;
        if (step) step();
    }
}

// ---------------------------------------------------------------------------------
// Address-book and favourites rows

void Importer::sideRows(bool address, const QList<QStringList>& rows, ImportLog& log, Outcome& o,
                        const std::function<void()>& step)
{
    const int user = dm_.currentUserId();
    const QString table = address ? QStringLiteral("AC_Address") : QStringLiteral("AC_Memo");
    const QString flag = address ? QStringLiteral("5") : QStringLiteral("6");
    // File columns after name and group, and the table columns they fill.
    const QStringList columns = address ? QStringList{QStringLiteral("Phone"), QStringLiteral("QQ"), QStringLiteral("Email"),
                                                      QStringLiteral("Homepage"), QStringLiteral("Birthday"),
                                                      QStringLiteral("Address"), QStringLiteral("Company"),
                                                      QStringLiteral("Title"), QStringLiteral("Misc")}
                                        : QStringList{QStringLiteral("URL"), QStringLiteral("Description")};
    for (int i = 0; i < rows.size() && !failed(); ++i) {
        const QStringList& r = rows.at(i);
        const int n = i + 1;
        const QString name = cell(r, 0), group = cell(r, 1);
        QStringList rest;
        for (int c = 0; c < columns.size(); ++c)
            rest << cell(r, 2 + c);
        const QString fields = address ? QStringLiteral("[姓名：") + name + QStringLiteral("，类别：") + group
                                             + QStringLiteral("，电话：") + rest.at(0) + QStringLiteral("，QQ：") + rest.at(1)
                                       : QStringLiteral("[名称：") + name + QStringLiteral("，类别：") + group
                                             + QStringLiteral("，网址：") + rest.at(0) + QStringLiteral("，说明：")
                                             + rest.at(1);
        auto refuse = [&](const QString& finding, const QString& end = kRefusedEnd) {
            log.add(QStringLiteral("第%1行，").arg(n) + finding + fields + end);
            ++o.refused;
            if (step) step();
        };
        if (address && name.isEmpty()) { refuse(QStringLiteral("姓名为空")); continue; }
        if (group.isEmpty()) { refuse(QStringLiteral("类别名为空")); continue; }
        QString code = lookupType(group, flag, false);
        if (code.isEmpty() && !failed()) {
            code = createType(group, flag, false, o);
            if (code.isEmpty()) { refuse(QStringLiteral("类别无法自动生成")); continue; }
            log.add(created(n, QStringLiteral("类别"), group));
        }
        if (failed())
            break;

        // Duplicate test over every column; an empty value also matches NULL.
        QString sql = QStringLiteral("SELECT ID FROM %1 WHERE UserID = ? AND TypeID = ? AND coalesce(trim(Name), '') = ?")
                          .arg(table);
        QVariantList params{user, code, name};
        for (int c = 0; c < columns.size(); ++c) {
            sql += QStringLiteral(" AND coalesce(trim(%1), '') = ?").arg(columns.at(c));
            params << rest.at(c);
        }
        if (!dm_.query(sql + QStringLiteral(" LIMIT 1"), params))
            break;
        if (!dm_.ADOQuery1().isEmpty()) { refuse(QStringLiteral("重复记录"), kNoteEnd); continue; }

        if (!name.isEmpty()) {
            if (!dm_.query(QStringLiteral("SELECT ID FROM %1 WHERE UserID = ? AND trim(Name) = ? LIMIT 1").arg(table),
                           {user, name}))
                break;
            if (!dm_.ADOQuery1().isEmpty())
                log.add(QStringLiteral("第%1行，存在同名记录，新记录").arg(n) + fields
                        + QStringLiteral("]将被导入，请手工检查原同名记录是否为同一条记录!"));
        }
        const qint64 id = nextId(table, QStringLiteral("ID"));
        QVariantList values{id, name, code};
        values += QVariantList(rest.begin(), rest.end());
        values << user;
        QStringList marks;
        for (int c = 0; c < values.size(); ++c)
            marks << QStringLiteral("?");
        if (!dm_.exec(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QStringLiteral(", "))), values))
            break;
        log.add(QStringLiteral("第%1行，新记录").arg(n) + fields + kNoteEnd);
        ++o.imported;
        if (step) step();
    }
}
