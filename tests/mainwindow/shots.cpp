// Renders the main window and the tree's dialogs to PNG files for a look:
//   cmake --build <dir> --target mainwindow-shots
//   xvfb-run -a -s "-screen 0 1366x768x24" <dir>/tests/mainwindow-shots /tmp/shots/main
#include "actinfofrm.h"
#include "addtypefrm.h"
#include "categorytree.h"
#include "fakes.h"
#include "shots.h"
#include "icons.h"
#include "testdb.h"
#include "tmainfrm.h"
#include "treecatalogue.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidgetItem>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    useCjkFont();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/shots/main");
    QDir().mkpath(out);

    TestFolder folder;
    auto dm = folder.makeDataModule();
    addUserRow(dm->db(), 1, QStringLiteral("张三"), QString());
    dm->currentUser = QStringLiteral("1");
    dm->writeSetting(4, QStringLiteral("1"));
    dm->writeSetting(18, QStringLiteral("1"));
    dm->writeSetting(0, QStringLiteral("1"));
    auto type = [&](const char* id, const char* name, bool fund, qint64 balance) {
        dm->exec(QStringLiteral("INSERT INTO AC_Type VALUES (?, ?, ?, ?, '1', ?, 1)"),
                 {QString::fromUtf8(id), QString::fromUtf8(name), QString::fromUtf8(id).left(1), balance, fund});
    };
    type("101", "现金", false, 12345000);
    type("102", "工资卡", false, 85000000);
    type("103", "信用卡", false, -3200000);
    type("104", "住房公积金", true, 46000000);
    type("201", "餐饮", true, 0);
    type("202", "交通", true, 0);
    type("203", "日用品", true, 0);
    type("204", "人情往来", false, 0);
    type("301", "工资", true, 0);
    type("302", "奖金", true, 0);
    type("501", "同事", false, 0);
    type("502", "同学", false, 0);
    type("601", "银行", false, 0);
    const QDate today = QDate::currentDate();
    struct E { int id; int days; qint64 in, out; const char* acc; const char* cat; const char* mark; qint64 bal; };
    const E entries[] = {
        {1, -20, 0, 350000, "101", "201", "午饭", 14350000},
        {2, -15, 0, 1200000, "101", "202", "加油", 13150000},
        {3, -9, 0, 805000, "101", "203", "超市购物", 12345000},
        {4, -25, 90000000, 0, "102", "301", "十月工资", 90000000},
        {5, -3, 0, 5000000, "102", "204", "同事婚礼", 85000000},
    };
    for (const E& e : entries)
        dm->exec(QStringLiteral("INSERT INTO AC_List VALUES (?, ?, ?, ?, ?, ?, ?, ?, NULL, 1, 1, ?)"),
                 {e.id, today.addDays(e.days), e.in, e.out, QString::fromUtf8(e.acc), QString::fromUtf8(e.cat),
                  QString::fromUtf8(e.mark), e.bal, e.in + e.out});
    TreeCatalogue::AccountDetails d;
    d.actName = QStringLiteral("张三");
    d.cardNo = QStringLiteral("6222 **** 1234");
    d.rate = QStringLiteral("0.35%");
    d.address = QStringLiteral("北京市海淀区中关村大街1号");
    d.phone = QStringLiteral("95588");
    d.url = QStringLiteral("https://www.icbc.com.cn");
    d.openDate = QDate(2015, 3, 18);
    TreeCatalogue::insertDetails(*dm, QStringLiteral("102"), d);

    FakeFileDialog files;
    FakeDesktop desktop;
    TMainFrm::splashScreen = [](TDataModule1&) {};
    TMainFrm w(dm.get(), &folder.messages, &files, &desktop);
    w.start();
    settle();
    w.selectNode(QStringLiteral("101"));
    settle();
    w.grab().save(out + QStringLiteral("/mainwindow.png"));

    w.selectNode(QStringLiteral("2"));
    settle();
    w.grab().save(out + QStringLiteral("/mainwindow-expense.png"));

    w.selectNode(QStringLiteral("201"));
    QTreeWidgetItem* n = w.TreeView1->currentItem();
    const QRect r = w.TreeView1->visualItemRect(n);
    w.TreePopup->popup(w.TreeView1->viewport()->mapToGlobal(r.center()));
    settle();
    w.TreePopup->grab().save(out + QStringLiteral("/tree-popup.png"));
    w.TreePopup->hide();

    auto shoot = [&](QDialog* dlg, const QString& name) {
        dlg->show();
        settle();
        dlg->grab().save(out + QStringLiteral("/") + name);
        dlg->hide();
    };
    {
        TAddTypeFrm a(dm.get(), TAddTypeFrm::Add, QStringLiteral("2"), &w);
        shoot(&a, QStringLiteral("addtypefrm.png"));
    }
    {
        TAddOtherTypeFrm a(dm.get(), TAddTypeFrm::Edit, QStringLiteral("501"), &w);
        shoot(&a, QStringLiteral("addothertypefrm.png"));
    }
    {
        TActInfoFrm a(dm.get(), &desktop, TActInfoFrm::View, QStringLiteral("102"), &w);
        shoot(&a, QStringLiteral("actinfofrm-view.png"));
    }
    {
        TActInfoFrm a(dm.get(), &desktop, TActInfoFrm::Add, QStringLiteral("1"), &w);
        shoot(&a, QStringLiteral("actinfofrm-add.png"));
    }
    // The settings menu with its ticks.
    w.MenuSettings->popup(w.mapToGlobal(QPoint(90, 22)));
    settle();
    w.MenuSettings->grab().save(out + QStringLiteral("/menu-settings.png"));
    w.MenuSettings->hide();

    // Every icon of the window on one sheet.
    QWidget sheet;
    auto* grid = new QGridLayout(&sheet);
    const QStringList names = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    int i = 0;
    for (const QString& file : names) {
        const QString name = QFileInfo(file).completeBaseName();
        auto* pic = new QLabel(&sheet);
        pic->setPixmap(Icons::get(name).pixmap(32, 32));
        auto* small = new QLabel(&sheet);
        small->setPixmap(Icons::get(name).pixmap(16, 16));
        auto* text = new QLabel(name, &sheet);
        grid->addWidget(pic, (i / 5), (i % 5) * 3);
        grid->addWidget(small, (i / 5), (i % 5) * 3 + 1);
        grid->addWidget(text, (i / 5), (i % 5) * 3 + 2);
        ++i;
    }
    sheet.show();
    settle();
    sheet.grab().save(out + QStringLiteral("/icons.png"));
    w.hide();
    return 0;
}
