// zelko-grids-bench: the ledger page on a large synthetic ledger.
//
// Builds about 100,000 entries (three users, nine accounts each, ten years)
// in a temporary folder and measures, on the real record sets, grid models
// and footers of the ledger page (no window is shown):
//   view_switch    selecting another tree node (date range, query, footers)
//   filter_change  changing the date range, then the Included filter
//   grid_post      posting a new entry from the grid and redrawing it
// Each row prints the median milliseconds and the median of a baseline that
// runs the same statements directly on SQLite.

#include "benchsupport.h"
#include "gridpages.h"
#include "ledgerrules.h"
#include "schema.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

double measure(int reps, const std::function<void(int)>& run)
{
    std::vector<double> ms;
    for (int i = 0; i < reps; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        QCoreApplication::processEvents();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

void exec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

void build(sqlite3* db, const QDate& today)
{
    exec(db, "BEGIN");
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, 'synthetic', ?, NULL, 1, ?, ?)", -1, &list,
                       nullptr);
    std::mt19937 rng(11);
    const QDate first = today.addYears(-10);
    const int days = int(first.daysTo(today));
    for (int u = 1; u <= 3; ++u) {
        for (int a = 1; a <= 9; ++a) {
            const QByteArray sql = QStringLiteral("INSERT INTO AC_Type VALUES ('%1', 'account %2', '1', 0, '1', %3, %4)")
                                       .arg(100 + a)
                                       .arg(a)
                                       .arg(a == 9 ? 1 : 0)
                                       .arg(u)
                                       .toLatin1();
            exec(db, sql.constData());
        }
        for (int c = 1; c <= 10; ++c)
            exec(db, QStringLiteral("INSERT INTO AC_Type VALUES ('%1', 'expense %2', '2', 0, '1', 1, %3)")
                         .arg(200 + c)
                         .arg(c)
                         .arg(u)
                         .toLatin1()
                         .constData());
        exec(db, QStringLiteral("INSERT INTO AC_Type VALUES ('301', 'income', '3', 0, '1', 1, %1)").arg(u).toLatin1().constData());
        std::vector<qint64> balance(10, 0);
        const int n = 33400;
        for (int i = 0; i < n; ++i) {
            const int a = 1 + int(rng() % 9);
            const bool income = rng() % 3 == 0;
            const qint64 amount = qint64(1 + rng() % 200000) * 100;
            balance[a] += income ? amount : -amount;
            const QByteArray date = first.addDays(qint64(i) * days / n).toString(Qt::ISODate).toLatin1();
            const QByteArray acc = QByteArray::number(100 + a);
            const QByteArray cat = income ? QByteArray("301") : QByteArray::number(201 + int(rng() % 10));
            sqlite3_reset(list);
            sqlite3_bind_int64(list, 1, i + 1);
            sqlite3_bind_text(list, 2, date.constData(), date.size(), SQLITE_TRANSIENT);
            sqlite3_bind_int64(list, 3, income ? amount : 0);
            sqlite3_bind_int64(list, 4, income ? 0 : amount);
            sqlite3_bind_text(list, 5, acc.constData(), acc.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(list, 6, cat.constData(), cat.size(), SQLITE_TRANSIENT);
            sqlite3_bind_int64(list, 7, balance[a]);
            sqlite3_bind_int64(list, 8, u);
            sqlite3_bind_int64(list, 9, amount);
            sqlite3_step(list);
        }
        for (int a = 1; a <= 9; ++a)
            exec(db, QStringLiteral("UPDATE AC_Type SET Balance = %1 WHERE UserID = %2 AND TypeID = '%3'")
                         .arg(balance[a])
                         .arg(u)
                         .arg(100 + a)
                         .toLatin1()
                         .constData());
        exec(db, QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '', 0, NULL, 12, 0, %1)").arg(u).toUtf8().constData());
        exec(db, QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, %1)").arg(u).toUtf8().constData());
    }
    sqlite3_finalize(list);
    exec(db, "COMMIT");
}

// The statements a view change runs, straight on SQLite: the rows and the footers.
void rawView(sqlite3* db, const char* where, const QByteArray& start, const QByteArray& end)
{
    for (const QByteArray sql : {QByteArray("SELECT * FROM AC_List WHERE ") + where,
                                 QByteArray("SELECT count(*), Sum(InAmount), Sum(OutAmount) FROM AC_List WHERE Included=1 AND ")
                                     + where}) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        int i = 1;
        if (sql.contains("ActDate >=")) {
            sqlite3_bind_text(st, i++, start.constData(), start.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, i++, end.constData(), end.size(), SQLITE_TRANSIENT);
        }
        sqlite3_bind_int64(st, i, 1);
        qint64 sink = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sink += sqlite3_column_type(st, c) == SQLITE_TEXT ? sqlite3_column_bytes(st, c) : sqlite3_column_int64(st, c);
        sqlite3_finalize(st);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDatabase bench;
    if (!bench.open())
        return 1;
    TDataModule1& dm = *bench.dm;
    PrintingMessages& messages = bench.messages;
    sqlite3* db = dm.db().handle();
    const QDate today = QDate::currentDate();
    build(db, today);
    dm.currentUser = QStringLiteral("1");
    dm.bindToCurrentUser();
    LedgerRules rules(&dm);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QWidget* pages[5];
    for (QWidget*& p : pages) {
        p = new QWidget;
        new QVBoxLayout(p);
        layout->addWidget(p);
    }
    GridHost host;
    host.window = &window;
    host.ledgerPage = pages[0];
    host.planPage = pages[1];
    host.fulfilmentPage = pages[2];
    host.addressPage = pages[3];
    host.memoPage = pages[4];
    GridNode node{QStringLiteral("1"), QStringLiteral("0")};
    host.currentNode = [&node] { return node; };
    GridPages grids(&dm, &rules, &messages, nullptr, host);
    for (RecordSet* q : {dm.ADOQuery6, dm.ADOQuery9})
        q->open();
    grids.ComboBox2->setCurrentIndex(5); // this year
    grids.listRefresh(QStringLiteral("1"));

    const QByteArray yearStart = QDate(today.year(), 1, 1).toString(Qt::ISODate).toLatin1();
    const QByteArray yearEnd = QDate(today.year(), 12, 31).toString(Qt::ISODate).toLatin1();
    const int reps = 9;
    struct Row {
        const char* name;
        std::function<double()> program, baseline;
    };
    const GridNode nodes[] = {{QStringLiteral("1"), QStringLiteral("0")},
                              {QStringLiteral("101"), QStringLiteral("1")},
                              {QStringLiteral("2"), QStringLiteral("0")},
                              {QStringLiteral("203"), QStringLiteral("2")}};
    std::vector<Row> table = {
        {"view_switch",
         [&] {
             return measure(reps, [&](int i) {
                 node = nodes[i % 4];
                 grids.listRefresh(QString(node.branch()));
             });
         },
         [&] {
             return measure(reps, [&](int) {
                 rawView(db, "(ActDate >= ?) AND (ActDate <= ?) AND (UserID = ?)", yearStart, yearEnd);
             });
         }},
        {"filter_change",
         [&] {
             node = nodes[0];
             return measure(reps, [&](int i) {
                 if (i % 2 == 0)
                     grids.ComboBox2Change(i % 4 == 0 ? 6 : 5);
                 else
                     grids.ComboBox1Change(i % 4 == 1 ? 1 : 0);
             });
         },
         [&] { return measure(reps, [&](int) { rawView(db, "(UserID = ?)", {}, {}); }); }},
        {"grid_post",
         [&] {
             grids.ComboBox2->setCurrentIndex(5);
             node = nodes[1];
             grids.listRefresh(QStringLiteral("1"));
             RecordSet* rs = dm.ADOTable1;
             return measure(reps, [&](int) {
                 grids.ActInsertExecute();
                 rs->setValue(QStringLiteral("TypeID2"), QStringLiteral("201"));
                 rs->setValue(QStringLiteral("OutAmount"), QVariant::fromValue(Money::fromRaw(123400)));
                 grids.postPending(QStringLiteral("1"));
             });
         },
         [&] {
             return measure(reps, [&](int) {
                 exec(db, "BEGIN");
                 exec(db, "INSERT INTO AC_List VALUES (999999, date('now'), 0, 123400, '101', '201', '', 0, NULL, 1, 1, 123400)");
                 exec(db, "UPDATE AC_Type SET Balance = Balance - 123400 WHERE UserID = 1 AND TypeID = '101'");
                 exec(db, "ROLLBACK");
                 rawView(db, "(ActDate >= ?) AND (ActDate <= ?) AND (UserID = ?) AND (TypeID in ('101'))", yearStart,
                         yearEnd);
             });
         }},
    };

    const QStringList only = app.arguments().mid(1);
    std::printf("%-16s %12s %12s %8s\n", "name", "median_ms", "baseline_ms", "ratio");
    for (const Row& r : table) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(r.name)))
            continue;
        const double a = r.program();
        const double b = r.baseline();
        std::printf("%-16s %12.3f %12.3f %8.2f\n", r.name, a, b, b > 0 ? a / b : 0.0);
        std::fflush(stdout);
    }
    if (messages.count)
        std::printf("# %d message boxes were shown (see stderr)\n", messages.count);
    return 0;
}
