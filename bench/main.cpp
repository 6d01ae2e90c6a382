// zelko-bench: the ledger rules on a large synthetic ledger.
//
// Builds a database of about 100,000 entries (three users, nine accounts
// each, ten years, transfers included) in a temporary folder, then prints one
// row per measurement: name, median milliseconds through the program's own
// record sets and rules, and the median of a baseline that runs the same
// statements directly on SQLite (prepared, in one transaction).
//
// Add a measurement by appending to the table in main().

#include "benchsupport.h"
#include "datamodule.h"
#include "ledgerrules.h"
#include "schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <vector>

namespace {

// --- raw SQLite helpers for the baselines ---------------------------------------------

class Raw {
public:
    explicit Raw(sqlite3* db) : db_(db) {}
    ~Raw()
    {
        for (auto& s : cache_)
            sqlite3_finalize(s.second);
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        auto it = cache_.find(sql);
        if (it != cache_.end()) {
            sqlite3_reset(it->second);
            sqlite3_clear_bindings(it->second);
            return it->second;
        }
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "prepare failed: %s\n%s\n", sqlite3_errmsg(db_), sql);
            std::exit(1);
        }
        cache_[sql] = st;
        return st;
    }
    void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
    static void bind(sqlite3_stmt* st, int i, qint64 v) { sqlite3_bind_int64(st, i, v); }
    static void bind(sqlite3_stmt* st, int i, const QByteArray& v)
    {
        sqlite3_bind_text(st, i, v.constData(), v.size(), SQLITE_TRANSIENT);
    }
    // Steps through every row reading every column, like a record set filling itself.
    static qint64 drain(sqlite3_stmt* st)
    {
        qint64 n = 0;
        const int cols = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < cols; ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                    n += sqlite3_column_bytes(st, c);
                else
                    n += sqlite3_column_int64(st, c);
            }
        }
        return n;
    }
    static qint64 scalar(sqlite3_stmt* st)
    {
        qint64 v = 0;
        if (sqlite3_step(st) == SQLITE_ROW)
            v = sqlite3_column_int64(st, 0);
        while (sqlite3_step(st) == SQLITE_ROW) {
        }
        return v;
    }

private:
    sqlite3* db_;
    std::map<std::string, sqlite3_stmt*> cache_;
};

QByteArray iso(const QDate& d) { return d.toString(Qt::ISODate).toLatin1(); }

// The ledger's balance shift, raw: user 1's entries of the account after
// (date, id) and the account's total move by delta.
void shiftBalances(Raw& raw, const char* acc, qint64 delta, const QDate& date, qint64 id)
{
    sqlite3_stmt* u = raw.prepare("UPDATE AC_List SET Balance = Balance + ? WHERE UserID = ? AND TypeID = ? "
                                  "AND ActDate >= ? AND (ActDate > ? OR ActID > ?)");
    Raw::bind(u, 1, delta);
    Raw::bind(u, 2, 1);
    Raw::bind(u, 3, QByteArray(acc));
    Raw::bind(u, 4, iso(date));
    Raw::bind(u, 5, iso(date));
    Raw::bind(u, 6, id);
    sqlite3_step(u);
    sqlite3_stmt* t = raw.prepare("UPDATE AC_Type SET Balance = Balance + ? WHERE UserID = ? AND TypeID = ?");
    Raw::bind(t, 1, delta);
    Raw::bind(t, 2, 1);
    Raw::bind(t, 3, QByteArray(acc));
    sqlite3_step(t);
}

// --- the synthetic ledger ---------------------------------------------------------------

const int kUsers = 3;
const int kAccounts = 9;
QDate gToday = QDate::currentDate();
QDate gFirst = gToday.addYears(-10);

// Entries are generated in date order with rising ActIDs, so each account's
// running balance is a plain cumulative sum. User 1's account 101 gets 20,000
// entries; about one entry in eight is a transfer (two rows).
void buildLedger(sqlite3* db, qint64* rows)
{
    Raw raw(db);
    raw.exec("BEGIN");
    sqlite3_stmt* type = raw.prepare("INSERT INTO AC_Type VALUES (?, ?, ?, ?, '1', ?, ?)");
    sqlite3_stmt* list = raw.prepare("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt* plan = raw.prepare("INSERT INTO AC_Plan VALUES (?, ?, '', ?, ?, ?, ?, ?)");
    sqlite3_stmt* user = raw.prepare("INSERT INTO AC_User VALUES (?, ?, '', '', 0)");
    std::mt19937 rng(7);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    const int days = int(gFirst.daysTo(gToday));
    *rows = 0;
    for (int u = 1; u <= kUsers; ++u) {
        sqlite3_reset(user);
        Raw::bind(user, 1, u);
        Raw::bind(user, 2, QByteArray("user") + QByteArray::number(u));
        sqlite3_step(user);
        std::vector<qint64> balance(kAccounts + 1, 0);
        const int perUser = u == 1 ? 35000 : 33000; // rows, transfers counting twice
        int made = 0;
        qint64 actId = 0;
        std::vector<int> dayOf;
        // Spread the entries evenly over the ten years, in date order.
        for (int i = 0; made < perUser; ++i) {
            ++actId;
            const QDate date = gFirst.addDays(qint64(i) * days / (perUser * 7 / 8));
            if (date >= gToday)
                break;
            // Account 1 takes ~57% of the entries of user 1 (20,000).
            const int acc = (u == 1 && pick(100) < 57) ? 1 : 1 + pick(kAccounts);
            const bool transfer = pick(8) == 0;
            const qint64 amount = qint64(1 + pick(200000)) * 100;
            auto put = [&](int a, int rel, const char* cat, qint64 in, qint64 out) {
                balance[a] += in - out;
                sqlite3_reset(list);
                Raw::bind(list, 1, actId);
                Raw::bind(list, 2, iso(date));
                Raw::bind(list, 3, in);
                Raw::bind(list, 4, out);
                Raw::bind(list, 5, QByteArray::number(100 + a));
                Raw::bind(list, 6, QByteArray(cat));
                Raw::bind(list, 7, QByteArray("synthetic entry"));
                Raw::bind(list, 8, balance[a]);
                if (rel)
                    Raw::bind(list, 9, QByteArray::number(100 + rel));
                else
                    Raw::bind(list, 9, QByteArray());
                Raw::bind(list, 10, 1);
                Raw::bind(list, 11, u);
                Raw::bind(list, 12, in > out ? in - out : out - in);
                sqlite3_step(list);
                ++made;
                ++*rows;
            };
            if (transfer) {
                int other = 1 + pick(kAccounts);
                if (other == acc)
                    other = acc % kAccounts + 1;
                put(acc, other, "200", 0, amount);
                put(other, acc, "300", amount, 0);
            } else if (pick(3) == 0) {
                put(acc, 0, QByteArray::number(301 + pick(5)).constData(), amount * 3, 0);
            } else {
                put(acc, 0, QByteArray::number(201 + pick(10)).constData(), 0, amount);
            }
        }
        for (int a = 1; a <= kAccounts; ++a) {
            sqlite3_reset(type);
            Raw::bind(type, 1, QByteArray::number(100 + a));
            Raw::bind(type, 2, QByteArray("account ") + QByteArray::number(a));
            Raw::bind(type, 3, QByteArray("1"));
            Raw::bind(type, 4, balance[a]);
            Raw::bind(type, 5, a == 9 ? 1 : 0); // one off-book account
            Raw::bind(type, 6, u);
            sqlite3_step(type);
        }
        for (int c = 1; c <= 10; ++c) {
            sqlite3_reset(type);
            Raw::bind(type, 1, QByteArray::number(200 + c));
            Raw::bind(type, 2, QByteArray("expense ") + QByteArray::number(c));
            Raw::bind(type, 3, QByteArray("2"));
            Raw::bind(type, 4, 0);
            Raw::bind(type, 5, 1);
            Raw::bind(type, 6, u);
            sqlite3_step(type);
        }
        for (int c = 1; c <= 5; ++c) {
            sqlite3_reset(type);
            Raw::bind(type, 1, QByteArray::number(300 + c));
            Raw::bind(type, 2, QByteArray("income ") + QByteArray::number(c));
            Raw::bind(type, 3, QByteArray("3"));
            Raw::bind(type, 4, 0);
            Raw::bind(type, 5, 1);
            Raw::bind(type, 6, u);
            sqlite3_step(type);
        }
        struct PlanRow { int id; const char* type; qint64 amount; int months; };
        const PlanRow planRows[] = {{1, "预计目标", 50000000, 120}, {2, "现有资金", 0, 1}};
        for (const PlanRow& p : planRows) {
            sqlite3_reset(plan);
            Raw::bind(plan, 1, p.id);
            Raw::bind(plan, 2, QByteArray(p.type));
            Raw::bind(plan, 3, p.amount);
            Raw::bind(plan, 4, iso(gFirst));
            Raw::bind(plan, 5, p.months);
            Raw::bind(plan, 6, p.amount * p.months);
            Raw::bind(plan, 7, u);
            sqlite3_step(plan);
        }
    }
    raw.exec("COMMIT");
}

// --- measuring ----------------------------------------------------------------------------

// Runs prepare (untimed) then run (timed) reps times; the median in ms.
double measure(int reps, const std::function<void(int)>& run, const std::function<void(int)>& prepare = {})
{
    std::vector<double> ms;
    for (int i = 0; i < reps; ++i) {
        if (prepare)
            prepare(i);
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

struct Measurement {
    const char* name;
    std::function<double()> program;  // median ms through the record sets and rules
    std::function<double()> baseline; // median ms of the same statements on raw SQLite
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchDatabase bench;
    if (!bench.open())
        return 1;
    TDataModule1& dm = *bench.dm;
    PrintingMessages& messages = bench.messages;
    sqlite3* db = dm.db().handle();
    // BENCH_PRAGMA="PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL" tries
    // another connection configuration than the program's own.
    if (qEnvironmentVariableIsSet("BENCH_PRAGMA"))
        sqlite3_exec(db, qgetenv("BENCH_PRAGMA").constData(), nullptr, nullptr, nullptr);
    {
        QueryResult j, s;
        dm.db().select(QStringLiteral("PRAGMA journal_mode"), {}, &j);
        dm.db().select(QStringLiteral("PRAGMA synchronous"), {}, &s);
        std::printf("# connection: journal_mode=%s synchronous=%s\n", qPrintable(j.text(0, "journal_mode")),
                    qPrintable(s.text(0, "synchronous")));
    }

    QElapsedTimer buildTimer;
    buildTimer.start();
    qint64 rows = 0;
    buildLedger(db, &rows);
    std::printf("# synthetic ledger: %lld entries, %d users, built in %.0f ms\n", rows, kUsers,
                buildTimer.nsecsElapsed() / 1e6);

    dm.currentUser = QStringLiteral("1");
    dm.bindToCurrentUser();
    LedgerRules rules(&dm);
    RecordSet* ledger = dm.ADOTable1;
    // The ledger view as the program opens it by default: the recent entries.
    const QDate viewFrom = gToday.addDays(-30);
    const QString viewSql = QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? AND ActDate >= ? ORDER BY ActDate, ActID");
    ledger->setSql(viewSql, {1, viewFrom});
    ledger->open();
    dm.ADOQuery6->open();
    {
        QueryResult r;
        dm.db().select(QStringLiteral("SELECT count(*) FROM AC_List WHERE UserID = 1 AND TypeID = '101'"), {}, &r);
        std::printf("# account 101 of user 1: %lld entries; ledger view: %d entries\n", r.integer(0, "count(*)"),
                    ledger->recordCount());
    }

    Raw raw(db);
    // The statements of one post, as the rules run them.
    auto rawPost = [&](const QDate& date, const char* account, const char* category, qint64 in, qint64 out,
                       const char* relate) {
        raw.exec("BEGIN IMMEDIATE");
        sqlite3_stmt* st = raw.prepare("SELECT max(ActID) AS ActID FROM AC_List WHERE UserID = ?");
        Raw::bind(st, 1, 1);
        const qint64 id = Raw::scalar(st) + 1;
        auto before = [&](const char* acc) {
            sqlite3_stmt* b = raw.prepare("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActDate <= ? "
                                          "AND (ActDate < ? OR ActID < ?) ORDER BY ActDate DESC, ActID DESC LIMIT 1");
            Raw::bind(b, 1, 1);
            Raw::bind(b, 2, QByteArray(acc));
            Raw::bind(b, 3, iso(date));
            Raw::bind(b, 4, iso(date));
            Raw::bind(b, 5, id);
            return Raw::scalar(b);
        };
        auto shift = [&](const char* acc, qint64 delta) { shiftBalances(raw, acc, delta, date, id); };
        auto insert = [&](const char* acc, const char* cat, qint64 i, qint64 o, const char* rel, qint64 bal) {
            sqlite3_stmt* s = raw.prepare("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            Raw::bind(s, 1, id);
            Raw::bind(s, 2, iso(date));
            Raw::bind(s, 3, i);
            Raw::bind(s, 4, o);
            Raw::bind(s, 5, QByteArray(acc));
            Raw::bind(s, 6, QByteArray(cat));
            Raw::bind(s, 7, QByteArray("bench"));
            Raw::bind(s, 8, bal);
            Raw::bind(s, 9, QByteArray(rel));
            Raw::bind(s, 10, 1);
            Raw::bind(s, 11, 1);
            Raw::bind(s, 12, i > o ? i - o : o - i);
            sqlite3_step(s);
        };
        insert(account, category, in, out, relate, before(account) + in - out);
        shift(account, in - out);
        if (*relate) {
            insert(relate, "300", out, in, account, before(relate) + out - in);
            shift(relate, out - in);
        }
        raw.exec("COMMIT");
        // The view and the accounts list read again.
        sqlite3_stmt* v = raw.prepare("SELECT * FROM AC_List WHERE UserID = ? AND ActDate >= ? ORDER BY ActDate, ActID");
        Raw::bind(v, 1, 1);
        Raw::bind(v, 2, iso(viewFrom));
        Raw::drain(v);
        sqlite3_stmt* a = raw.prepare("SELECT * FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' AND UseFlag <> '0' ORDER BY TypeID");
        Raw::bind(a, 1, 1);
        Raw::drain(a);
        return id;
    };
    auto post = [&](const QDate& date, const QString& account, const QString& category, Money amount,
                    const QString& relate = QString()) {
        ledger->append();
        ledger->setValue(QStringLiteral("ActDate"), date);
        ledger->setValue(QStringLiteral("TypeID"), account);
        ledger->setValue(QStringLiteral("TypeID2"), category);
        if (!relate.isEmpty())
            ledger->setValue(QStringLiteral("RelateTypeID"), relate);
        ledger->setValue(category.startsWith(QLatin1Char('2')) ? QStringLiteral("OutAmount") : QStringLiteral("InAmount"),
                         QVariant::fromValue(amount));
        ledger->setValue(QStringLiteral("Mark"), QStringLiteral("bench"));
        const qint64 id = ledger->integer(QStringLiteral("ActID"));
        if (!ledger->post()) {
            std::fprintf(stderr, "post failed\n");
            ledger->cancel();
        }
        return id;
    };
    auto locate = [&](const QString& account, qint64 id) {
        for (int r = 0; r < ledger->recordCount(); ++r)
            if (ledger->value(r, QStringLiteral("ActID")).toLongLong() == id
                && ledger->value(r, QStringLiteral("TypeID")).toString() == account)
                return ledger->setRecNo(r + 1);
        return false;
    };

    const int reps = 15;
    const QDate early = gFirst.addDays(-1);
    std::vector<qint64> transfers;
    std::vector<qint64> rawTransfers;

    std::vector<Measurement> table = {
        {"post_end",
         [&] { return measure(reps, [&](int) { post(gToday, "101", "201", Money::fromRaw(123400)); }); },
         [&] { return measure(reps, [&](int) { rawPost(gToday, "101", "201", 0, 123400, ""); }); }},
        {"post_begin",
         [&] { return measure(reps, [&](int) { post(early, "101", "201", Money::fromRaw(123400)); }); },
         [&] { return measure(reps, [&](int) { rawPost(early, "101", "201", 0, 123400, ""); }); }},
        {"move_entry",
         [&] {
             // Each time another recent entry of account 101 moves back a year.
             std::vector<qint64> ids;
             for (int r = 0; r < ledger->recordCount(); ++r)
                 if (ledger->value(r, QStringLiteral("TypeID")).toString() == QLatin1String("101")
                     && ledger->value(r, QStringLiteral("TypeID2")).toString().startsWith(QLatin1Char('2'))
                     && ledger->value(r, QStringLiteral("TypeID2")).toString() != QLatin1String("200"))
                     ids.push_back(ledger->value(r, QStringLiteral("ActID")).toLongLong());
             return measure(std::min<int>(reps, int(ids.size())), [&](int i) {
                 locate(QStringLiteral("101"), ids[size_t(i)]);
                 ledger->edit();
                 ledger->setValue(QStringLiteral("ActDate"), ledger->date(QStringLiteral("ActDate")).addYears(-1));
                 if (!ledger->post()) {
                     std::fprintf(stderr, "move failed\n");
                     ledger->cancel();
                 }
             });
         },
         [&] {
             return measure(reps, [&](int i) {
                 // Old amount out from the old position, the row moved, new amount in from the new one.
                 const QDate from = gToday.addDays(-20 + i);
                 const QDate to = from.addYears(-1);
                 raw.exec("BEGIN IMMEDIATE");
                 sqlite3_stmt* u = raw.prepare("UPDATE AC_List SET Balance = Balance + ? WHERE UserID = ? AND TypeID = ? "
                                               "AND ActDate >= ? AND (ActDate > ? OR ActID > ?)");
                 for (const auto& [date, delta] : {std::make_pair(from, qint64(5000)), std::make_pair(to, qint64(-5000))}) {
                     sqlite3_reset(u);
                     Raw::bind(u, 1, delta);
                     Raw::bind(u, 2, 1);
                     Raw::bind(u, 3, QByteArray("101"));
                     Raw::bind(u, 4, iso(date));
                     Raw::bind(u, 5, iso(date));
                     Raw::bind(u, 6, 1000000);
                     sqlite3_step(u);
                 }
                 sqlite3_stmt* b = raw.prepare("SELECT Balance FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActDate <= ? "
                                               "AND (ActDate < ? OR ActID < ?) ORDER BY ActDate DESC, ActID DESC LIMIT 1");
                 Raw::bind(b, 1, 1);
                 Raw::bind(b, 2, QByteArray("101"));
                 Raw::bind(b, 3, iso(to));
                 Raw::bind(b, 4, iso(to));
                 Raw::bind(b, 5, 1000000);
                 Raw::scalar(b);
                 sqlite3_stmt* w = raw.prepare("UPDATE AC_List SET ActDate = ?, Balance = Balance WHERE UserID = ? AND "
                                               "TypeID = ? AND ActID = ?");
                 Raw::bind(w, 1, iso(to));
                 Raw::bind(w, 2, 1);
                 Raw::bind(w, 3, QByteArray("101"));
                 Raw::bind(w, 4, 1000000);
                 sqlite3_step(w);
                 raw.exec("COMMIT");
                 sqlite3_stmt* v = raw.prepare("SELECT * FROM AC_List WHERE UserID = ? AND ActDate >= ? ORDER BY ActDate, ActID");
                 Raw::bind(v, 1, 1);
                 Raw::bind(v, 2, iso(viewFrom));
                 Raw::drain(v);
             });
         }},
        {"transfer",
         [&] {
             return measure(reps, [&](int) {
                 transfers.push_back(post(gToday, "101", "200", Money::fromRaw(500000), "102"));
             });
         },
         [&] {
             return measure(reps, [&](int) { rawTransfers.push_back(rawPost(gToday, "101", "200", 0, 500000, "102")); });
         }},
        {"delete_transfer",
         [&] {
             return measure(
                 int(transfers.size()), [&](int) { ledger->remove(); },
                 [&](int i) { locate(QStringLiteral("102"), transfers[size_t(i)]); });
         },
         [&] {
             return measure(int(rawTransfers.size()), [&](int i) {
                 const qint64 id = rawTransfers[size_t(i)];
                 raw.exec("BEGIN IMMEDIATE");
                 for (const auto& [acc, delta] : {std::make_pair("102", qint64(-500000)), std::make_pair("101", qint64(500000))}) {
                     shiftBalances(raw, acc, delta, gToday, id);
                     sqlite3_stmt* d = raw.prepare("DELETE FROM AC_List WHERE UserID = ? AND TypeID = ? AND ActID = ?");
                     Raw::bind(d, 1, 1);
                     Raw::bind(d, 2, QByteArray(acc));
                     Raw::bind(d, 3, id);
                     sqlite3_step(d);
                 }
                 raw.exec("COMMIT");
                 sqlite3_stmt* v = raw.prepare("SELECT * FROM AC_List WHERE UserID = ? AND ActDate >= ? ORDER BY ActDate, ActID");
                 Raw::bind(v, 1, 1);
                 Raw::bind(v, 2, iso(viewFrom));
                 Raw::drain(v);
             });
         }},
        {"open_ledger",
         [&] {
             // The ledger record set itself, on every entry of the user.
             ledger->close();
             ledger->setSql(QStringLiteral("SELECT * FROM AC_List WHERE UserID = ? ORDER BY ActDate, ActID"), {1});
             const double ms = measure(5, [&](int) { ledger->open(); }, [&](int) { ledger->close(); });
             std::printf("# open_ledger: %d entries\n", ledger->recordCount());
             ledger->close();
             ledger->setSql(viewSql, {1, viewFrom});
             ledger->open();
             return ms;
         },
         [&] {
             return measure(5, [&](int) {
                 sqlite3_stmt* v = raw.prepare("SELECT * FROM AC_List WHERE UserID = ? ORDER BY ActDate, ActID");
                 Raw::bind(v, 1, 1);
                 Raw::drain(v);
             });
         }},
        {"plan_recalc",
         [&] { return measure(5, [&](int) { rules.planRecalc(); }); },
         [&] {
             return measure(5, [&](int) {
                 raw.exec("BEGIN IMMEDIATE");
                 for (const char* sql : {"SELECT Total, StartDate, Months FROM AC_Plan WHERE UserID = ? AND ID = 1",
                                         "SELECT Total FROM AC_Plan WHERE UserID = ? AND ID = 2",
                                         "SELECT Sum(Total) FROM AC_Plan WHERE UserID = ? AND substr(Type, -2) = '收入'",
                                         "SELECT Sum(Total) FROM AC_Plan WHERE UserID = ? AND substr(Type, -2) = '支出'",
                                         "DELETE FROM AC_Fullfill WHERE UserID = ?"}) {
                     sqlite3_stmt* s = raw.prepare(sql);
                     Raw::bind(s, 1, 1);
                     Raw::drain(s);
                 }
                 sqlite3_stmt* ins = raw.prepare(
                     "INSERT INTO AC_Fullfill SELECT substr(ActDate, 1, 7) AS MonthNo, Sum(InAmount - OutAmount) AS "
                     "SaveAmount, 0 AS Fullfill, UserID FROM AC_List WHERE UserID = ? AND ActDate >= ? AND ActDate < ? "
                     "AND TypeID IN (SELECT TypeID FROM AC_Type WHERE UserID = ? AND TypeFlag = '1' AND UseFlag <> '0' "
                     "AND FundFlag = 0) GROUP BY UserID, substr(ActDate, 1, 7)");
                 Raw::bind(ins, 1, 1);
                 Raw::bind(ins, 2, iso(gFirst));
                 Raw::bind(ins, 3, iso(gFirst.addMonths(120)));
                 Raw::bind(ins, 4, 1);
                 sqlite3_step(ins);
                 sqlite3_stmt* up = raw.prepare("UPDATE AC_Fullfill SET Fullfill = SaveAmount * 100.0 / ? WHERE UserID = ?");
                 Raw::bind(up, 1, 4166667);
                 Raw::bind(up, 2, 1);
                 sqlite3_step(up);
                 raw.exec("COMMIT");
                 sqlite3_stmt* v = raw.prepare("SELECT * FROM AC_Fullfill WHERE UserID = ? ORDER BY MonthNo");
                 Raw::bind(v, 1, 1);
                 Raw::drain(v);
             });
         }},
    };

    const QStringList only = app.arguments().mid(1);
    std::printf("%-16s %12s %12s %8s\n", "name", "median_ms", "baseline_ms", "ratio");
    for (const Measurement& m : table) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(m.name)))
            continue;
        const double a = m.program();
        const double b = m.baseline();
        std::printf("%-16s %12.3f %12.3f %8.2f\n", m.name, a, b, b > 0 ? a / b : 0.0);
        std::fflush(stdout);
    }
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    std::printf("# peak memory: %.1f MB\n", ru.ru_maxrss / 1024.0);
    if (messages.count)
        std::printf("# %d message boxes were shown (see stderr)\n", messages.count);
    return 0;
}
