#include "ledgerrules.h"

#include "balances.h"

#include "fieldrules.h"

#include <QLocale>

namespace {

const QString kTransferOut = QStringLiteral("200");
const QString kTransferIn = QStringLiteral("300");
const QString kSeparator = QStringLiteral("299");

bool isTransfer(const QString& category) { return category == kTransferOut || category == kTransferIn; }
bool isExpense(const QString& category) { return category.startsWith(QLatin1Char('2')); }

// Field names of the grid columns the rules focus.
const QString fActDate = QStringLiteral("ActDate");
const QString fTypeID = QStringLiteral("TypeID");
const QString fTypeID2 = QStringLiteral("TypeID2");
const QString fRelate = QStringLiteral("RelateTypeID");
const QString fIn = QStringLiteral("InAmount");
const QString fOut = QStringLiteral("OutAmount");
const QString fIncluded = QStringLiteral("Included");
const QString fMark = QStringLiteral("Mark");

// Scope guard for field changes made by the rules themselves.
struct RulesScope {
    explicit RulesScope(int& n) : n_(n) { ++n_; }
    ~RulesScope() { --n_; }
    int& n_;
};

// Balances moved: the ledger, the account totals and the page show them anew.
void refreshLedgerViews(TDataModule1* dm)
{
    if (dm->ADOTable1->isOpen())
        dm->refresh(dm->ADOTable1);
    if (dm->ADOQuery6->isOpen())
        dm->refresh(dm->ADOQuery6);
    dm->requestPageRefresh();
}

} // namespace

QString FulfilmentFooter::overallText() const { return FieldRules::percentText(overall); }

LedgerRules::LedgerRules(TDataModule1* dm, QObject* parent) : QObject(parent), dm_(dm)
{
    for (RecordSet* rs : {dm->ADOTable1, dm->ADOTable2, dm->ADOTable3, dm->ADOTable4}) {
        sets_ << rs;
        rs->onNewRecord = [this](RecordSet& r) { ADOTableNewRecord(r); };
        rs->afterInsert = [this](RecordSet& r) { ADOTableAfterInsert(r); };
        rs->afterEdit = [this](RecordSet& r) { ADOTableAfterEdit(r); };
        rs->beforePost = [this](RecordSet& r) { return ADOTableBeforePost(r); };
        rs->afterPost = [this](RecordSet& r) { ADOTableAfterPost(r); };
        rs->afterCommit = [this](RecordSet& r) { ADOTableAfterCommit(r); };
        rs->beforeDelete = [this](RecordSet& r) { return ADOTableBeforeDelete(r); };
        rs->afterDelete = [this](RecordSet& r) { ADOTableAfterDelete(r); };
        rs->beforeScroll = [this](RecordSet& r) { ADOTableBeforeScroll(r); };
        rs->afterCancel = [this](RecordSet&) { setUndo(false); };
        rs->onFieldChange = [this](RecordSet& r, const QString& f) { ADOTableFieldChange(r, f); };
    }
    FieldRules::install(dm);
}

LedgerRules::~LedgerRules()
{
    for (const QPointer<RecordSet>& rs : sets_) {
        if (!rs)
            continue; // the data module went first
        rs->onNewRecord = nullptr;
        rs->afterInsert = nullptr;
        rs->afterEdit = nullptr;
        rs->beforePost = nullptr;
        rs->afterPost = nullptr;
        rs->afterCommit = nullptr;
        rs->beforeDelete = nullptr;
        rs->afterDelete = nullptr;
        rs->beforeScroll = nullptr;
        rs->afterCancel = nullptr;
        rs->onFieldChange = nullptr;
    }
}

// ---------------------------------------------------------------------------------
// Operations on the stored balances

Money LedgerRules::balanceBefore(const QString& account, const QDate& date, qint64 actId)
{
    return Balances::before(*dm_, user(), account, date, actId);
}

bool LedgerRules::balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId)
{
    return Balances::shift(*dm_, user(), account, date, delta, actId);
}

Money LedgerRules::entryBalance(const QString& account, const QDate& date, Money amount, qint64 actId)
{
    if (account.isEmpty() || !date.isValid() || actId == 0)
        return Money();
    Money result = balanceBefore(account, date, actId) + amount;
    // While an entry is being changed the stored balances still hold its old
    // amount (and the opposite amount of its old transfer partner) from the
    // old position onwards; a later new position must not count them.
    const BeforeEdit& be = beforeEdit_;
    if (be.valid && date > be.date) {
        if (account == be.account)
            result -= be.amount;
        if (isTransfer(be.category) && account == be.relate)
            result += be.amount;
    }
    return result;
}

// ---------------------------------------------------------------------------------
// Helpers

bool LedgerRules::isShared(RecordSet& rs) const
{
    return &rs == dm_->ADOTable1 || &rs == dm_->ADOTable2 || &rs == dm_->ADOTable3 || &rs == dm_->ADOTable4;
}

void LedgerRules::setUndo(bool on)
{
    undoEnabled = on;
    deleteShortcut = !on;
    emit undoAvailable(on);
    emit deleteShortcutChanged(!on);
}

void LedgerRules::setGridEditing(RecordSet& rs, bool on)
{
    if (&rs == dm_->ADOTable1)
        ledgerCellEditing = on;
    emit gridEditing(&rs, on);
}

void LedgerRules::setAmountColumns(const QString& category)
{
    inReadOnly = isExpense(category);
    outReadOnly = !inReadOnly;
}

bool LedgerRules::refuse(RecordSet& rs, const QString& message, const QString& field)
{
    dm_->messages()->show(QStringLiteral("提示"), message, MsgIcon::Information);
    emit focusColumn(&rs, field);
    return false;
}

bool LedgerRules::fundFlagOf(const QString& code)
{
    if (!dm_->query(QStringLiteral("SELECT FundFlag FROM AC_Type WHERE UserID = ? AND TypeID = ?"), {user(), code})
        || dm_->ADOQuery1().isEmpty())
        return true; // no row: the flag is not known to be False
    return dm_->ADOQuery1().boolean(0, QStringLiteral("FundFlag"));
}

// ---------------------------------------------------------------------------------
// Shared events

void LedgerRules::ADOTableNewRecord(RecordSet& rs)
{
    RulesScope scope(inRules_);
    if (&rs == dm_->ADOTable1)
        ledgerNewRecord(rs);
    else if (&rs == dm_->ADOTable2)
        planNewRecord(rs);
    else if (&rs == dm_->ADOTable3)
        sideNewRecord(rs, QStringLiteral("AC_Address"), &lastAddressGroup_);
    else if (&rs == dm_->ADOTable4)
        sideNewRecord(rs, QStringLiteral("AC_Memo"), &lastMemoGroup_);
}

void LedgerRules::ADOTableAfterInsert(RecordSet& rs)
{
    setUndo(true);
    setGridEditing(rs, true);
    if (&rs == dm_->ADOTable1) {
        emit focusColumn(&rs, fActDate);
        beforeEdit_ = BeforeEdit();
    } else if (&rs == dm_->ADOTable2) {
        emit focusColumn(&rs, QStringLiteral("Type"));
    } else {
        emit focusColumn(&rs, QStringLiteral("Name"));
    }
}

void LedgerRules::ADOTableAfterEdit(RecordSet& rs)
{
    if (&rs == dm_->ADOTable1) {
        BeforeEdit be;
        be.valid = true;
        be.date = rs.date(fActDate);
        be.account = rs.text(fTypeID);
        be.category = rs.text(fTypeID2);
        be.relate = rs.text(fRelate);
        be.amount = rs.money(fIn) - rs.money(fOut);
        beforeEdit_ = be;
        relateReadOnly = !isTransfer(be.category);
        setAmountColumns(be.category);
        emit columnStatesChanged();
        emit focusColumn(&rs, fActDate);
    } else if (&rs == dm_->ADOTable2) {
        planAfterEdit(rs);
    } else if (isShared(rs)) {
        emit focusColumn(&rs, QStringLiteral("Name"));
    }
}

bool LedgerRules::ADOTableBeforePost(RecordSet& rs)
{
    RulesScope scope(inRules_);
    if (&rs == dm_->ADOTable1)
        return ledgerBeforePost(rs);
    if (&rs == dm_->ADOTable2)
        return planBeforePost(rs);
    if (&rs == dm_->ADOTable3)
        return addressBeforePost(rs);
    if (&rs == dm_->ADOTable4)
        return memoBeforePost(rs);
    return true;
}

void LedgerRules::ADOTableAfterPost(RecordSet& rs)
{
    if (&rs == dm_->ADOTable1)
        ledgerAfterPost(rs);
}

void LedgerRules::ADOTableAfterCommit(RecordSet& rs)
{
    setUndo(false);
    if (&rs == dm_->ADOTable1) {
        lastPosted_ = pending_;
        // The stored balances no longer hold the old amounts.
        beforeEdit_.valid = false;
        refreshLedgerViews(dm_);
    } else if (&rs == dm_->ADOTable2) {
        planRecalc();
        dm_->refresh(dm_->ADOTable2);
    }
}

bool LedgerRules::ADOTableBeforeDelete(RecordSet& rs)
{
    if (&rs == dm_->ADOTable1)
        return ledgerBeforeDelete(rs);
    // Rows 1 and 2 of the plan always exist (the delete command says why).
    if (&rs == dm_->ADOTable2)
        return rs.integer(QStringLiteral("ID")) >= 3;
    return true;
}

void LedgerRules::ADOTableAfterDelete(RecordSet& rs)
{
    if (&rs == dm_->ADOTable1) {
        beforeEdit_.valid = false;
        // The partner of a deleted transfer may be on view, and balances moved.
        refreshLedgerViews(dm_);
    } else if (&rs == dm_->ADOTable2) {
        planRecalc();
    }
}

void LedgerRules::ADOTableBeforeScroll(RecordSet& rs)
{
    if (isShared(rs))
        setGridEditing(rs, false);
}

void LedgerRules::ADOTableFieldChange(RecordSet& rs, const QString& field)
{
    if (&rs == dm_->ADOTable1) {
        if (field.compare(fTypeID2, Qt::CaseInsensitive) == 0)
            ADOTable11TypeID2Change(rs);
        else if (field.compare(fIncluded, Qt::CaseInsensitive) == 0)
            ADOTable11IncludedChange(rs);
    } else if (&rs == dm_->ADOTable2) {
        if (field.compare(QStringLiteral("Total"), Qt::CaseInsensitive) == 0)
            ADOTable2TotalChange(rs);
    }
}

// ---------------------------------------------------------------------------------
// Ledger

void LedgerRules::ledgerNewRecord(RecordSet& rs)
{
    qint64 id = 1;
    if (dm_->query(QStringLiteral("SELECT max(ActID) AS ActID FROM AC_List WHERE UserID = ?"), {user()})
        && !dm_->ADOQuery1().isEmpty() && !dm_->ADOQuery1().value(0, 0).isNull())
        id = dm_->ADOQuery1().integer(0, QStringLiteral("ActID")) + 1;
    rs.setValue(QStringLiteral("ActID"), id);
    const QDate date = lastPosted_.date.isValid() ? lastPosted_.date : QDate::currentDate();
    rs.setValue(fActDate, date);
    rs.setValue(fIncluded, true);
    if (!lastPosted_.category.isEmpty()) {
        rs.setValue(fTypeID2, lastPosted_.category);
        if (!rs.onFieldChange)
            ADOTable11TypeID2Change(rs);
    }
    if (!lastPosted_.account.isEmpty())
        rs.setValue(fTypeID, lastPosted_.account);
    rs.setValue(fIn, QVariant::fromValue(Money()));
    rs.setValue(fOut, QVariant::fromValue(Money()));
    rs.setValue(QStringLiteral("Balance"), QVariant::fromValue(balanceBefore(rs.text(fTypeID), date, id)));
    rs.setValue(QStringLiteral("UserID"), user());
}

void LedgerRules::ADOTable11TypeID2Change(RecordSet& rs)
{
    RulesScope scope(inRules_);
    const QString c = rs.text(fTypeID2);
    if (c.isEmpty() || c == kSeparator)
        return;
    rs.setValue(fIncluded, true);
    if (!isTransfer(c)) {
        rs.setValue(fRelate, QString());
        relateReadOnly = true;
        if (!fundFlagOf(c))
            rs.setValue(fIncluded, false);
    } else {
        if (rs.text(fRelate).isEmpty())
            rs.setValue(fRelate, beforeEdit_.valid ? beforeEdit_.relate : QString());
        relateReadOnly = false;
        if (dm_->readSetting(2) == QLatin1String("0"))
            rs.setValue(fIncluded, false);
    }
    if (isExpense(c)) {
        const Money in = rs.money(fIn);
        if (!in.belowCent()) {
            rs.setValue(fOut, QVariant::fromValue(in));
            rs.setValue(fIn, QVariant::fromValue(Money()));
        }
    } else {
        const Money out = rs.money(fOut);
        if (!out.belowCent()) {
            rs.setValue(fIn, QVariant::fromValue(out));
            rs.setValue(fOut, QVariant::fromValue(Money()));
        }
    }
    setAmountColumns(c);
    emit columnStatesChanged();
}

void LedgerRules::ADOTable11IncludedChange(RecordSet& rs)
{
    // Ticking "统计" on a row without cell editing posts the entry at once.
    if (inRules_ || rs.state() != RecordSet::Edit || ledgerCellEditing)
        return;
    rs.post();
}

bool LedgerRules::ledgerBeforePost(RecordSet& rs)
{
    if (rs.value(fActDate).isNull() || !rs.date(fActDate).isValid())
        return refuse(rs, QStringLiteral("交易日期不能为空！"), fActDate);
    const QString category = rs.text(fTypeID2);
    if (category.isEmpty())
        return refuse(rs, QStringLiteral("收支类型不能为空！"), fTypeID2);
    if (category == kSeparator)
        return refuse(rs, QStringLiteral("不是有效的收支类型，请重新输入！"), fTypeID2);
    const QString account = rs.text(fTypeID);
    const QString relate = rs.text(fRelate);
    if (isTransfer(category) && relate.isEmpty())
        return refuse(rs, QStringLiteral("转入/转出交易时,对应帐户不能空！"), fRelate);
    if (isTransfer(category) && relate == account)
        return refuse(rs, QStringLiteral("转入/转出交易时,交易帐户和对应帐户不能为同一帐户！"), fRelate);
    const Money in = rs.money(fIn);
    const Money out = rs.money(fOut);
    // Neither side may be negative either: the message says so, and a negative
    // side would break "InAmount, OutAmount >= 0" of the stored entries.
    if ((in < Money::fromRaw(100) && out < Money::fromRaw(100)) || in < Money() || out < Money())
        return refuse(rs, QStringLiteral("交易金额不能为0或负！"), isExpense(category) ? fOut : fIn);
    if (account.isEmpty())
        return refuse(rs, QStringLiteral("交易帐户不能为空！"), fTypeID);

    const QDate date = rs.date(fActDate);
    const qint64 id = rs.integer(QStringLiteral("ActID"));
    const Money amount = in - out;
    // A non-transfer entry never keeps another account.
    if (!isTransfer(category) && !relate.isEmpty())
        rs.setValue(fRelate, QString());
    const bool change = rs.state() == RecordSet::Edit && beforeEdit_.valid;
    if (!change)
        beforeEdit_.valid = false;
    rs.setValue(QStringLiteral("Balance"), QVariant::fromValue(entryBalance(account, date, amount, id)));
    rs.setValue(QStringLiteral("AbsAmount"), QVariant::fromValue(amount.abs()));

    Posted p;
    p.valid = true;
    p.actId = id;
    p.date = date;
    p.account = account;
    p.category = category;
    p.relate = isTransfer(category) ? relate : QString();
    p.mark = rs.text(fMark);
    p.in = in;
    p.out = out;
    p.included = rs.boolean(fIncluded);
    pending_ = p;

    // The old amount leaves the old account from the old position onwards, and
    // after-post adds the new amount from the new position. When the position
    // stays where it was, the two shifts of the same entries are made as one
    // (a changed description or counting flag then shifts nothing at all).
    ownShift_ = amount;
    partnerShift_ = isTransfer(category) ? -amount : Money();
    if (change) {
        const BeforeEdit& be = beforeEdit_;
        if (be.account == account && be.date == date)
            ownShift_ = amount - be.amount;
        else if (!balanceShift(be.account, be.date, -be.amount, id))
            return false;
        if (isTransfer(be.category)) {
            if (!dm_->exec(QStringLiteral("DELETE FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActID = ?"),
                           {user(), be.relate, id}))
                return false;
            // The partner held -(old amount).
            if (isTransfer(category) && be.relate == relate && be.date == date)
                partnerShift_ = -amount + be.amount;
            else if (!balanceShift(be.relate, be.date, be.amount, id))
                return false;
        }
    }
    return true;
}

void LedgerRules::ledgerAfterPost(RecordSet&)
{
    const Posted& p = pending_;
    const Money amount = p.in - p.out;
    if (!balanceShift(p.account, p.date, ownShift_, p.actId))
        return;
    if (!isTransfer(p.category))
        return;
    const QString partnerCategory = p.category == kTransferOut ? kTransferIn : kTransferOut;
    const Money partnerAmount = p.out - p.in;
    const Money partnerBalance = balanceBefore(p.relate, p.date, p.actId) + partnerAmount;
    if (!dm_->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {p.actId, p.date, p.out.raw(), p.in.raw(), p.relate, partnerCategory, p.mark, partnerBalance.raw(),
                    p.account, p.included, user(), amount.abs().raw()}))
        return;
    balanceShift(p.relate, p.date, partnerShift_, p.actId);
}

bool LedgerRules::ledgerBeforeDelete(RecordSet& rs)
{
    const qint64 id = rs.integer(QStringLiteral("ActID"));
    const QString category = rs.text(fTypeID2);
    const QDate date = rs.date(fActDate);
    const Money amount = rs.money(fIn) - rs.money(fOut);
    if (!balanceShift(rs.text(fTypeID), date, -amount, id))
        return false;
    if (isTransfer(category)) {
        const QString relate = rs.text(fRelate);
        if (!dm_->exec(QStringLiteral("DELETE FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActID = ?"),
                       {user(), relate, id}))
            return false;
        if (!balanceShift(relate, date, amount, id))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------
// Address book and favourites

void LedgerRules::sideNewRecord(RecordSet& rs, const QString& table, QString* lastGroup)
{
    qint64 id = 1;
    if (dm_->query(QStringLiteral("SELECT max(ID) AS ID FROM %1 WHERE UserID = ?").arg(table), {user()})
        && !dm_->ADOQuery1().isEmpty() && !dm_->ADOQuery1().value(0, 0).isNull())
        id = dm_->ADOQuery1().integer(0, QStringLiteral("ID")) + 1;
    rs.setValue(QStringLiteral("ID"), id);
    if (!lastGroup->isEmpty())
        rs.setValue(QStringLiteral("TypeID"), *lastGroup);
    rs.setValue(QStringLiteral("UserID"), user());
}

bool LedgerRules::addressBeforePost(RecordSet& rs)
{
    const QString name = rs.text(QStringLiteral("Name"));
    if (name.isEmpty())
        return refuse(rs, QStringLiteral("姓名不能为空！"), QStringLiteral("Name"));
    if (rs.text(QStringLiteral("TypeID")).isEmpty())
        return refuse(rs, QStringLiteral("类别不能为空！"), QStringLiteral("TypeID"));
    if (dm_->query(QStringLiteral("SELECT ID FROM AC_Address WHERE UserID = ? AND ID <> ? AND Name = ?"),
                   {user(), rs.integer(QStringLiteral("ID")), name})
        && !dm_->ADOQuery1().isEmpty()) {
        if (dm_->messages()->show(QStringLiteral("提示"), name + QStringLiteral("已经输入！是否要添加？"),
                                  MsgIcon::Question, MsgButtons::OkCancel)
            != MsgAnswer::Ok) {
            emit focusColumn(&rs, QStringLiteral("Name"));
            return false;
        }
    }
    lastAddressGroup_ = rs.text(QStringLiteral("TypeID"));
    return true;
}

bool LedgerRules::memoBeforePost(RecordSet& rs)
{
    if (rs.text(QStringLiteral("TypeID")).isEmpty())
        return refuse(rs, QStringLiteral("类别不能为空！"), QStringLiteral("TypeID"));
    lastMemoGroup_ = rs.text(QStringLiteral("TypeID"));
    return true;
}
