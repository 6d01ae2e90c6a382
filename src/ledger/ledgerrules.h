#pragma once
// The ledger rules: the dataset events of the data module's ledger, plan,
// address-book and favourites record sets. They keep the running balance of
// every entry, the account balances of the catalogue and the second entry of
// a transfer pair right at every post and delete, and rebuild the plan's
// monthly fulfilment.
//
// Every post (the row write, the balance shifts, the partner's delete and
// insert) and every delete runs inside the record set's one transaction: when
// a statement fails the statement routine reports it, everything is rolled
// back and the entry stays in editing. Amounts are exact Money values.
//
// The grids follow the states below: read-only columns, focus requests, cell
// editing versus row selection, the "撤消编辑" action and the Del shortcut.

#include "datamodule.h"
#include "money.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

// The six figures shown under the plan grid.
struct PlanFigures {
    Money income;        // 预计收入: sum of Total over "...收入" rows
    Money expense;       // 预计支出: sum of Total over "...支出" rows
    Money surplus;       // 预计结余: income - expense
    Money perMonth;      // 每月应存入: (T - F) / M
    Money spendPerMonth; // 每月可用开支: ((I - X) - (T - F)) / M
    Money toAchieve;     // 应该完成存款: T - F
    bool monthlyShown = false; // the two monthly figures are shown only when M is not 0
    // The right-aligned texts of the labels, "0.00" style.
    QString incomeText() const { return income.display(); }
    QString expenseText() const { return expense.display(); }
    QString surplusText() const { return surplus.display(); }
    QString perMonthText() const { return monthlyShown ? perMonth.display() : QStringLiteral("0.00"); }
    QString spendPerMonthText() const { return monthlyShown ? spendPerMonth.display() : QStringLiteral("0.00"); }
    QString toAchieveText() const { return toAchieve.display(); }
};

// The footer of the fulfilment grid.
struct FulfilmentFooter {
    Money saving;        // sum of SaveAmount
    double overall = 0;  // saving as a percentage of the whole target (T - F)
    QString savingText() const { return saving.display(); }
    QString overallText() const;
};

class LedgerRules : public QObject {
    Q_OBJECT
public:
    // Installs the events and field rules on dm's record sets.
    explicit LedgerRules(TDataModule1* dm, QObject* parent = nullptr);
    ~LedgerRules() override;

    TDataModule1* dataModule() const { return dm_; }

    // --- operations on the stored balances (current user) ----------------------------
    // The Balance of the latest entry of the account before (date, actId), 0 when none.
    Money balanceBefore(const QString& account, const QDate& date, qint64 actId);
    // Adds delta to every entry of the account after (date, actId) and to the
    // account's catalogue balance. False when a statement failed (reported).
    // Run it inside a unit of work (TDataModule1::Work) with the rest of the change.
    bool balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId);
    // The running balance an entry of that amount will have at that position,
    // allowing for the amounts of the entry being edited (and of its old transfer
    // partner) that the stored balances still contain.
    Money entryBalance(const QString& account, const QDate& date, Money amount, qint64 actId);

    // --- posting state ------------------------------------------------------------------
    struct Posted {
        bool valid = false;
        qint64 actId = 0;
        QDate date;
        QString account, category, relate, mark;
        Money in, out;
        bool included = true;
    };
    struct BeforeEdit {
        bool valid = false;
        QDate date;
        QString account, category, relate;
        Money amount; // InAmount - OutAmount
    };
    const Posted& lastPosted() const { return lastPosted_; }
    const BeforeEdit& beforeEdit() const { return beforeEdit_; }
    // The main window's insert command overrides the defaults with the tree node.
    void setDefaultAccount(const QString& code) { lastPosted_.account = code; }
    void setDefaultCategory(const QString& code) { lastPosted_.category = code; }
    // The group the next new address-book (ADOTable3) or favourites (ADOTable4)
    // row starts with; the insert command sets it from the selected group node.
    void setRememberedGroup(RecordSet* rs, const QString& group)
    {
        if (rs == dm_->ADOTable3)
            lastAddressGroup_ = group;
        else if (rs == dm_->ADOTable4)
            lastMemoGroup_ = group;
    }

    // --- states the grids follow ------------------------------------------------------
    // Ledger grid columns "对应帐户", "收入金额", "支出金额".
    bool relateReadOnly = true;
    bool inReadOnly = false;
    bool outReadOnly = false;
    // Plan grid columns "类别", "起始日期", "月数", "小计".
    bool planTypeReadOnly = false;
    bool planStartReadOnly = true;
    bool planMonthsReadOnly = true;
    bool planTotalReadOnly = false;
    // "撤消编辑" enabled; "删除记录" has its Del shortcut.
    bool undoEnabled = false;
    bool deleteShortcut = true;
    // The ledger grid is in cell editing (false: row selection). The rules set
    // it with gridEditing(); a grid that enters or leaves cell editing by
    // itself sets it too, so that ticking "统计" in row selection posts at once.
    bool ledgerCellEditing = false;
    // The column the plan grid has focused ("小计" makes the subtotal rule work),
    // kept up to date by the plan grid.
    QString planFocusedColumn;

    // --- budget plan ----------------------------------------------------------------------
    // Reads the plan, computes the six figures and rebuilds the fulfilment of the
    // plan period from the liquid accounts; reopens the fulfilment record set.
    void planRecalc();
    const PlanFigures& planFigures() const { return figures_; }
    FulfilmentFooter fulfilmentFooter();

    // --- the events (installed on the record sets; public for the grids and tests) -----
    void ADOTableNewRecord(RecordSet& rs);
    void ADOTableAfterInsert(RecordSet& rs);
    void ADOTableAfterEdit(RecordSet& rs);
    bool ADOTableBeforePost(RecordSet& rs);
    void ADOTableAfterPost(RecordSet& rs);
    void ADOTableAfterCommit(RecordSet& rs);
    bool ADOTableBeforeDelete(RecordSet& rs);
    void ADOTableAfterDelete(RecordSet& rs);
    void ADOTableBeforeScroll(RecordSet& rs);
    void ADOTableFieldChange(RecordSet& rs, const QString& field);
    void ADOTable11TypeID2Change(RecordSet& rs);
    void ADOTable11IncludedChange(RecordSet& rs);
    // Row 1's start date and months are applied to the existing funds and to
    // the fixed rows when row 1 is posted (in the same transaction), so a
    // cancelled edit changes nothing.
    void ADOTable2TotalChange(RecordSet& rs);

signals:
    void columnStatesChanged();
    // Asks the grid of rs to focus the column of that field (a field name such
    // as "ActDate", "TypeID2", "RelateTypeID", "OutAmount", "Months", "Type").
    // Ledger columns: 日期 ActDate, 收支类型 TypeID2, 对应帐户 RelateTypeID,
    // 收入金额 InAmount, 支出金额 OutAmount, 交易帐户 TypeID.
    void focusColumn(RecordSet* rs, const QString& field);
    void undoAvailable(bool enabled);
    void deleteShortcutChanged(bool hasDel);
    // Cell editing (true) or row selection (false) for the grid of rs.
    void gridEditing(RecordSet* rs, bool editing);
    void planFiguresChanged();

private:
    bool isShared(RecordSet& rs) const;
    void setUndo(bool on);
    void setGridEditing(RecordSet& rs, bool on);
    void setAmountColumns(const QString& category);
    bool refuse(RecordSet& rs, const QString& message, const QString& field);
    bool fundFlagOf(const QString& code);

    void ledgerNewRecord(RecordSet& rs);
    bool ledgerBeforePost(RecordSet& rs);
    void ledgerAfterPost(RecordSet& rs);
    bool ledgerBeforeDelete(RecordSet& rs);

    void planNewRecord(RecordSet& rs);
    void planAfterEdit(RecordSet& rs);
    bool planBeforePost(RecordSet& rs);
    bool updateExistingFunds(const QDate& start);
    bool updateFixedMonths(int months);

    void sideNewRecord(RecordSet& rs, const QString& table, QString* lastGroup);
    bool addressBeforePost(RecordSet& rs);
    bool memoBeforePost(RecordSet& rs);

    qint64 user() const { return dm_->currentUserId(); }

    TDataModule1* dm_;
    QList<QPointer<RecordSet>> sets_;
    Posted lastPosted_;
    Posted pending_;         // the values of the post in progress, kept once it commits
    BeforeEdit beforeEdit_;
    Money ownShift_, partnerShift_; // what after-post shifts after the new position
    QString lastAddressGroup_, lastMemoGroup_;
    PlanFigures figures_;
    int inRules_ = 0;        // field changes made by the rules themselves
};
