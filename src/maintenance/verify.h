#pragma once
// The consistency check of "数据修复压缩": eight passes over the current
// user's data (system catalogue rows, ledger entries, running balances,
// account totals, account details, budget plan, address book, favourites).
// What can be repaired without guessing is repaired; every finding is one
// line of Data/Verify.log. Each pass is one unit of work.

#include "money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class TDataModule1;
struct QueryResult;
class TextLog;

// The progress bar a long operation drives (all optional).
struct ProgressHooks {
    std::function<void(int)> setMaximum;
    std::function<void()> step;
    void max(int n) const { if (setMaximum) setMaximum(n); }
    void advance() const { if (step) step(); }
};

class DataVerify {
public:
    explicit DataVerify(TDataModule1* dm);

    // The verify routine: writes the log; true when every pass ran to its end.
    // An unexpected error (a pass that could not be committed, a log that
    // cannot be written) shows the "数据校验错误" box and ends the passes.
    bool run();

    QString logPath() const;
    // The lines of the last run (as written to the log).
    const QStringList& lines() const { return lines_; }

    ProgressHooks progress;
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Amount text of the log: "100", "12.5", "-0.35".
    static QString amountText(Money m) { return m.plain(); }

    // An account's balance after its last entry and the sum of its entries
    // (both zero without entries); false when a query fails.
    static bool entryBalances(TDataModule1* dm, const QVariant& user, const QString& account, Money* last, Money* sum);

private:
    bool pass1();
    bool forEachEntry(const std::function<bool(const QueryResult& entry, qint64 actId)>& visit);
    bool pass2();
    bool pass3();
    bool pass4();
    bool pass5();
    bool pass6();
    bool pass7();
    bool pass8();

    struct FiledRows;
    bool checkFiledRows(const FiledRows& t);

    void log(const QString& text = QString()) { lines_ << text; }
    QString nameOf(const QString& code, bool withSystemRows, QString* flag = nullptr, bool* found = nullptr);
    Money balanceBefore(const QString& account, const QDate& date, qint64 actId);
    bool balanceShift(const QString& account, const QDate& date, Money delta, qint64 actId);
    void unexpected(const QString& cls, const QString& text);

    TDataModule1* dm_;
    QVariant user_;
    QStringList lines_;
};
