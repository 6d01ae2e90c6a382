// Renders the ledger page with its statistics tabs to PNG files for a look:
//   cmake --build <dir> --target charts-shots
//   xvfb-run -a -s "-screen 0 1366x768x24" <dir>/tests/charts-shots /tmp/shots/charts
#include "categorytree.h"
#include "chartsinstall.h"
#include "chartview.h"
#include "fakes.h"
#include "shots.h"
#include "statisticstabs.h"
#include "testdb.h"
#include "tmainfrm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItem>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    useCjkFont();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/shots/charts");
    QDir().mkpath(out);

    TestFolder folder;
    auto dm = folder.makeDataModule();
    addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
    dm->currentUser = QStringLiteral("1");
    dm->writeSetting(4, QStringLiteral("1"));
    dm->writeSetting(18, QStringLiteral("1"));
    dm->writeSetting(0, QStringLiteral("1"));
    dm->writeSetting(6, QStringLiteral("6")); // all records
    dm->writeSetting(8, QStringLiteral("2")); // surplus by month
    auto type = [&](const char* id, const char* name, bool fund) {
        dm->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, 0, '1', ?, 1)"),
                 {QString::fromUtf8(id), QString::fromUtf8(name), QString::fromUtf8(id).left(1), fund});
    };
    type("101", "现金", false);
    type("102", "工资卡", false);
    type("104", "住房公积金", true);
    type("201", "餐饮", true);
    type("202", "交通", true);
    type("203", "日用品", true);
    type("204", "人情往来", true);
    type("205", "房租", true);
    type("301", "工资", true);
    type("302", "奖金", true);

    // About four months of a household's entries, with running balances.
    const QDate today = QDate::currentDate();
    const QDate first = QDate(today.year(), today.month(), 1).addMonths(-3);
    QHash<QString, qint64> balance;
    int id = 0;
    auto add = [&](const QDate& d, qint64 in, qint64 out, const char* acc, const char* cat, const char* mark) {
        const QString a = QString::fromUtf8(acc);
        balance[a] += in - out;
        dm->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, NULL, 1, 1, ?)"),
                 {++id, d, in * 100, out * 100, a, QString::fromUtf8(cat), QString::fromUtf8(mark), balance[a] * 100,
                  (in + out) * 100});
    };
    add(first, 50000, 0, "101", "302", "年终奖（现金）");
    for (QDate d = first; d <= today; d = d.addDays(1)) {
        const int k = d.toJulianDay() % 7;
        add(d, 0, 2500 + k * 900, "101", "201", "伙食");
        if (k % 3 == 0)
            add(d, 0, 1200 + k * 150, "101", "202", "公交/打车");
        if (d.day() == 5)
            add(d, 850000, 0, "102", "301", "月工资");
        if (d.day() == 5)
            add(d, 120000, 0, "104", "301", "公积金缴存");
        if (d.day() == 8)
            add(d, 0, 350000, "102", "205", "房租");
        if (d.dayOfWeek() == 6)
            add(d, 0, 30000 + k * 4000, "101", "203", "超市 100% 'quoted'");
        if (d.day() == 18 && d.month() % 2 == 0)
            add(d, 0, 120000, "102", "204", "同事婚礼");
        if (d.day() == 20 && d.month() % 2 == 1)
            add(d, 0, 1600000, "102", "204", "装修借款");
    }

    for (auto it = balance.cbegin(); it != balance.cend(); ++it)
        dm->exec(QStringLiteral("UPDATE AC_Type SET Balance = ? WHERE UserID = 1 AND TypeID = ?"), {it.value() * 100, it.key()});

    FakeFileDialog files;
    FakeDesktop desktop;
    TMainFrm w(dm.get(), &folder.messages, &files, &desktop);
    installCharts(w, *dm, folder.messages, files, desktop);
    StatisticsTabs* t = statisticsTabs(w);
    w.resize(1366, 768);
    w.show();
    settle();
    w.setWindowState(Qt::WindowNoState);
    w.resize(1366, 768);
    settle();

    auto shot = [&](const QString& name) {
        settle();
        w.grab().save(out + QStringLiteral("/") + name + QStringLiteral(".png"));
    };
    t->PageControl1->setCurrentWidget(t->TabSheet1);
    shot(QStringLiteral("1-income-expense-day"));
    t->ComboBox3->setCurrentIndex(2);
    emit t->ComboBox3->activated(2);
    {
        // The cross-hair and the value readout under the mouse.
        QWidget* vp = t->Chart1->viewport();
        const QPointF at(vp->width() * 0.55, vp->height() * 0.45);
        QMouseEvent move(QEvent::MouseMove, at, vp->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    }
    shot(QStringLiteral("2-income-expense-month"));
    t->ComboBox3->setCurrentIndex(1);
    emit t->ComboBox3->activated(1);
    shot(QStringLiteral("3-income-expense-week"));
    t->PageControl1->setCurrentWidget(t->TabSheet2);
    shot(QStringLiteral("4-pie"));
    t->PageControl1->setCurrentWidget(t->TabSheet5);
    shot(QStringLiteral("5-family"));
    t->PageControl1->setCurrentWidget(t->TabSheet4);
    shot(QStringLiteral("6-surplus-month"));
    t->PageControl1->setCurrentWidget(t->TabSheet3);
    shot(QStringLiteral("7-balance"));
    for (QTreeWidgetItem* i : w.TreeView1->findItems(QStringLiteral("工资卡"), Qt::MatchRecursive | Qt::MatchContains)) {
        w.TreeView1->setCurrentItem(i);
        break;
    }
    shot(QStringLiteral("8-balance-account"));
    for (QTreeWidgetItem* i : w.TreeView1->findItems(QStringLiteral("支出"), Qt::MatchRecursive | Qt::MatchExactly)) {
        w.TreeView1->setCurrentItem(i);
        break;
    }
    t->PageControl1->setCurrentWidget(t->TabSheet2);
    shot(QStringLiteral("9-pie-expense"));
    return 0;
}
