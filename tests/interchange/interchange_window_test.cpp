// The commands in the main window: export of the shown list to the three
// file kinds and their import back (the same entries and balances), the
// refusals that change nothing, and the print preview.
#include "../mainwindow/mainfixture.h"

#include "dbgrid.h"
#include "gridpages.h"
#include "gridprint.h"
#include "interchangeinstall.h"

#include <QAction>
#include <QCoreApplication>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include "messagebox.h"
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QStringList L(const QString& date, const QString& cat, const QString& note, const QString& in, const QString& out,
              const QString& acct, const QString& rel = QString())
{
    return {date, cat, note, in, out, acct, QString(), rel};
}

class InterchangeWindow : public MainFixture {
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        dm->writeSetting(6, QStringLiteral("6")); // the ledger shows every entry
        QDir().mkpath(QStringLiteral("/tmp/shots/interchange"));
        QDir().mkpath(folder.path(QStringLiteral("Sound")));
        for (const char* wav : {"Sound/push.wav", "Sound/done.wav"}) {
            QFile f(folder.path(QString::fromLatin1(wav)));
            f.open(QIODevice::WriteOnly);
        }
    }
    // A ledger with a transfer pair, made through the import rules.
    void seedLedger()
    {
        TableFile::Rows rows{Importer::titles(ImportKind::Ledger),
                             L(QStringLiteral("2026-3-2"), QStringLiteral("工资"), QStringLiteral("三月"), QStringLiteral("8,000.00"), {}, QStringLiteral("工资卡")),
                             L(QStringLiteral("2026-3-3"), QStringLiteral("转出"), QStringLiteral("取现"), {}, QStringLiteral("500.00"), QStringLiteral("工资卡"), QStringLiteral("现金")),
                             L(QStringLiteral("2026-3-4"), QStringLiteral("伙食"), QStringLiteral("<午饭> & \"茶\""), {}, QStringLiteral("12.50"), QStringLiteral("现金")),
                             L(QStringLiteral("2026-3-5"), QStringLiteral("伙食"), QStringLiteral("50%的'折扣'"), {}, QStringLiteral("3"), QStringLiteral("现金"))};
        ASSERT_TRUE(Importer::recognise(ImportKind::Ledger, &rows));
        ImportLog log;
        Importer imp(*dm);
        ASSERT_EQ(imp.run(ImportKind::Ledger, rows, log).imported, 4);
    }
    InterchangeCommands* openWindow()
    {
        open();
        commands = installInterchange(*win, *dm, folder.messages, files, desktop);
        commands->showPreview = [](QPrintPreviewDialog*) {};
        return commands;
    }
    QStringList ledgerSnapshot()
    {
        dm->query(QStringLiteral("SELECT ActDate, InAmount, OutAmount, TypeID, TypeID2, Mark, Balance, RelateTypeID, "
                                 "Included, AbsAmount FROM AC_List WHERE UserID = 1 ORDER BY TypeID, ActDate, TypeID2"));
        QStringList out;
        for (const QVariantList& r : dm->ADOQuery1().rows) {
            QStringList cells;
            for (const QVariant& v : r)
                cells << v.toString();
            out << cells.join(QLatin1Char('|'));
        }
        dm->query(QStringLiteral("SELECT TypeID, Balance FROM AC_Type WHERE UserID = 1 ORDER BY TypeID"));
        for (const QVariantList& r : dm->ADOQuery1().rows)
            out << r.at(0).toString() + QLatin1Char('=') + r.at(1).toString();
        return out;
    }
    void clearLedger()
    {
        ASSERT_TRUE(dm->exec(QStringLiteral("DELETE FROM AC_List")));
        ASSERT_TRUE(dm->exec(QStringLiteral("UPDATE AC_Type SET Balance = 0")));
    }
    QString readLog()
    {
        QFile f(commands->logPath());
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        QStringDecoder gbk("GBK");
        return gbk.decode(f.readAll());
    }

    QTemporaryDir dir;
    InterchangeCommands* commands = nullptr;
};

} // namespace

TEST_F(InterchangeWindow, LedgerExportsToEveryKindAndImportsBackToTheSameEntries)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("1"));
    DBGrid* grid = win->gridPages()->DBGridAct;
    ASSERT_EQ(grid->model()->rowCount(), 5);
    const QStringList before = ledgerSnapshot();

    // Typed name, chosen filter, the file written.
    struct Case { QString typed, filter, written; };
    const QList<Case> cases{
        {QStringLiteral("led.htm"), QStringLiteral("Web网页 (*.htm)"), QStringLiteral("led.htm")},
        {QStringLiteral("led"), QStringLiteral("文本文件 (*.txt)"), QStringLiteral("led.txt")},
        {QStringLiteral("led.htm"), QString(), QStringLiteral("led.htm.xls")}, // the Excel filter is chosen at first
    };
    for (const Case& c : cases) {
        files.nextPath = dir.filePath(c.typed);
        files.nextFilter = c.filter;
        win->ActExport->trigger();
        const QString name = c.typed;
        const QString path = dir.filePath(c.written);
        EXPECT_EQ(files.requests.last().filter, QStringLiteral("Web网页 (*.htm);;文本文件 (*.txt);;Excel文件 (*.xls)"));
        TableFile::Kind kind;
        ASSERT_TRUE(TableFile::kindOfName(path, &kind)) << path.toStdString();
        TableFile::Rows rows;
        ASSERT_TRUE(TableFile::read(path, kind, &rows)) << path.toStdString();
        ASSERT_EQ(rows.size(), 7); // titles, five entries, the totals
        EXPECT_EQ(rows.first(), Importer::titles(ImportKind::Ledger));
        EXPECT_EQ(rows.last().first(), QStringLiteral("合计"));
        EXPECT_EQ(files.requests.last().title, QStringLiteral("保存为"));
        ASSERT_FALSE(folder.sound.played.isEmpty());
        EXPECT_TRUE(folder.sound.played.last().endsWith(QStringLiteral("Sound/done.wav")));

        clearLedger();
        win->listRefresh();
        desktop.opened.clear();
        files.nextPath = path;
        files.nextFilter.clear();
        if (kind != TableFile::Kind::Xls)
            files.nextFilter = c.filter;
        win->ActImport->trigger();
        EXPECT_EQ(files.requests.last().title, QStringLiteral("打开"));
        EXPECT_EQ(ledgerSnapshot(), before) << name.toStdString();
        EXPECT_EQ(commands->lastOutcome.imported, 5);
        EXPECT_EQ(commands->lastOutcome.refused, 0);
        ASSERT_EQ(desktop.opened.size(), 1);
        EXPECT_TRUE(desktop.opened.first().endsWith(QStringLiteral("Data/Import.log")));
        EXPECT_TRUE(readLog().endsWith(QStringLiteral("\r\n      导入成功：  5\r\n      导入失败：  0\r\n")));
        EXPECT_EQ(grid->model()->rowCount(), 5); // the list shows them again
    }
    EXPECT_EQ(folder.messages.count(), 0);
    grid->grab().save(QStringLiteral("/tmp/shots/interchange/ledger_after_import.png"));
}

TEST_F(InterchangeWindow, OverwriteQuestionAndWriteFailure)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("1"));
    const QString path = dir.filePath(QStringLiteral("old.txt"));
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    files.nextPath = path;
    folder.messages.answerNext(MsgAnswer::Cancel);
    folder.sound.played.clear();
    win->ActExport->trigger();
    EXPECT_EQ(folder.sound.played.size(), 1); // the click, no done sound
    ASSERT_EQ(folder.messages.count(), 1);
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("重要提示"));
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("文件已存在，是否覆盖？"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
    f.close();

    files.nextPath = dir.filePath(QStringLiteral("no/such/folder/x.xls"));
    win->ActExport->trigger();
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("错误"));
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("导出失败，请检查导出文件是否正在被另一个程序使用！"));
}

TEST_F(InterchangeWindow, WrongFilesChangeNothing)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("1"));
    const QStringList before = ledgerSnapshot();

    // The text filter with the name plan.xls looks for plan.xls.txt.
    ASSERT_TRUE(TableFile::write(dir.filePath(QStringLiteral("plan.xls")), TableFile::Kind::Xls,
                                 {Importer::titles(ImportKind::Ledger)}));
    files.nextPath = dir.filePath(QStringLiteral("plan.xls"));
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    win->ActImport->trigger();
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("导入文件不存在！"));
    EXPECT_EQ(folder.messages.last().title, QStringLiteral("错误"));

    // A plan file, a picture named .xls, a page without a table.
    const QString plan = dir.filePath(QStringLiteral("plan.txt"));
    ASSERT_TRUE(TableFile::write(plan, TableFile::Kind::Text, {Importer::titles(ImportKind::Plan)}));
    const QString fake = dir.filePath(QStringLiteral("fake.xls"));
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    for (const auto& [p, bytes] : {std::pair{fake, QByteArray("\x89PNG\r\n\x1a\n....")},
                                   std::pair{page, QByteArray("<html><body>没有表格</body></html>")}}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    for (const QString& p : {plan, fake, page}) {
        folder.messages.clear();
        files.nextPath = p;
        files.nextFilter = p.endsWith(QLatin1String(".txt")) ? QStringLiteral("文本文件 (*.txt)")
                           : p.endsWith(QLatin1String(".htm")) ? QStringLiteral("Web网页 (*.htm)")
                                                                : QStringLiteral("Excel文件 (*.xls)");
        win->ActImport->trigger();
        ASSERT_EQ(folder.messages.count(), 1) << p.toStdString();
        EXPECT_EQ(folder.messages.last().title, QStringLiteral("错误"));
        EXPECT_EQ(folder.messages.last().text, QStringLiteral("数据格式错误，请检查导入文件是否收支记录！"));
    }
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_EQ(readLog(), QStringLiteral("检查数据合法性 ... \r\n\r\n"));
    EXPECT_EQ(ledgerSnapshot(), before);

    // A page that takes no import: a log with its first lines only, opened.
    select(QStringLiteral("7"));
    files.nextPath = plan;
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    win->ActImport->trigger();
    EXPECT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(readLog(), QStringLiteral("检查数据合法性 ... \r\n\r\n"));
    EXPECT_EQ(ledgerSnapshot(), before);
}

TEST_F(InterchangeWindow, AddressBookRoundTripRefusesEveryRowAsDuplicate)
{
    seedCatalogue();
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Address VALUES (1, '李四', '501', '123', '1001', 'a@b.c', NULL, "
                                        "'1990-1-1', 'O''Hara路', NULL, NULL, '备注', 1)")));
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Address VALUES (2, '王五', '501', NULL, NULL, NULL, NULL, "
                                        "NULL, NULL, NULL, NULL, NULL, 1)")));
    openWindow();
    select(QStringLiteral("5"));
    files.nextFilter = QStringLiteral("Web网页 (*.htm)");
    files.nextPath = dir.filePath(QStringLiteral("addr.htm"));
    win->ActExport->trigger();
    TableFile::Rows rows;
    ASSERT_TRUE(TableFile::read(files.nextPath, TableFile::Kind::Html, &rows));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.first(), Importer::titles(ImportKind::Address));

    win->ActImport->trigger();
    EXPECT_EQ(commands->lastOutcome.refused, 2);
    EXPECT_EQ(commands->lastOutcome.imported, 0);
    EXPECT_EQ(readLog().count(QStringLiteral("重复记录")), 2);

    // Into a new group: the group appears in the tree.
    rows[1][1] = QStringLiteral("球友");
    rows.removeLast();
    const QString edited = dir.filePath(QStringLiteral("addr2.txt"));
    ASSERT_TRUE(TableFile::write(edited, TableFile::Kind::Text, rows));
    files.nextPath = edited;
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    win->ActImport->trigger();
    EXPECT_EQ(commands->lastOutcome.imported, 1);
    const QString group = scalar(QStringLiteral("SELECT TypeID FROM AC_Type WHERE TypeName = '球友'"));
    ASSERT_FALSE(group.isEmpty());
    EXPECT_NE(node(group), nullptr);
    EXPECT_EQ(win->currentTypeId(), QStringLiteral("5"));
}

TEST_F(InterchangeWindow, PrintPreviewAndPdf)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("1"));
    int previews = 0;
    commands->showPreview = [&](QPrintPreviewDialog* d) {
        ++previews;
        d->resize(1000, 760);
        d->show();
        QCoreApplication::processEvents();
        d->grab().save(QStringLiteral("/tmp/shots/interchange/print_preview_ledger.png"));
        d->close();
    };
    win->ActPrint->trigger();
    EXPECT_EQ(previews, 1);

    // The same table rendered into a PDF: title, rows, page numbers.
    const PrintTable t = InterchangeCommands::printTable(win->gridPages()->DBGridAct, true,
                                                         QStringLiteral("收 支 明 细"), QFont(QStringLiteral("宋体")));
    EXPECT_EQ(t.headers, Importer::titles(ImportKind::Ledger));
    EXPECT_EQ(t.rows.size(), 6);
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintTable many = t;
    for (int i = 0; i < 200; ++i)
        many.rows << t.rows.first();
    int pages = 0;
    {
        QPainter p(&printer);
        pages = GridPrint::paint(many, &printer, &p, printer.resolution());
    }
    EXPECT_GT(pages, 1);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_EQ(GridPrint::pageText(2, 5), QStringLiteral("第2页/共5页"));

    // Pages that print nothing.
    select(QStringLiteral("7"));
    win->ActPrint->trigger();
    EXPECT_EQ(previews, 1);
    select(QStringLiteral("6"));
    commands->showPreview = [&](QPrintPreviewDialog* d) {
        ++previews;
        d->resize(900, 600);
        d->show();
        QCoreApplication::processEvents();
        d->grab().save(QStringLiteral("/tmp/shots/interchange/print_preview_memo.png"));
    };
    win->ActPrint->trigger();
    EXPECT_EQ(previews, 2);
}

TEST_F(InterchangeWindow, LedgerPrintGoesByTheActiveTabsPositionAmongVisibleTabs)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("101"));
    QTabWidget* tabs = win->PageControl1;
    while (tabs->count())
        tabs->removeTab(0);
    QStringList names{QStringLiteral("收支变化"), QStringLiteral("分类统计"), QStringLiteral("家庭成员"),
                      QStringLiteral("盈余统计"), QStringLiteral("余额变化")};
    // The tabs hold Chart1, Chart2, Chart5, Chart4, Chart3 in this order.
    const QStringList charts{QStringLiteral("Chart1"), QStringLiteral("Chart2"), QStringLiteral("Chart5"),
                             QStringLiteral("Chart4"), QStringLiteral("Chart3")};
    QList<QWidget*> pages;
    for (int i = 0; i < names.size(); ++i) {
        auto* w = new QWidget;
        auto* chart = new QWidget(w);
        chart->setObjectName(charts.at(i));
        pages << chart;
        tabs->addTab(w, names.at(i));
    }
    tabs->setTabVisible(2, false); // a hidden tab does not count
    QList<QWidget*> printed;
    int previews = 0;
    commands->printChart = [&](QWidget* w) { printed << w; };
    commands->showPreview = [&](QPrintPreviewDialog*) { ++previews; };
    struct Case { int tab; int previews; QWidget* chart; };
    // Tab 2 is hidden: tab 1 is position 1 (Chart1), tab 3 position 2
    // (Chart2), tab 4 position 3 (Chart3).
    const QList<Case> cases{{0, 1, nullptr}, {1, 0, pages[0]}, {3, 0, pages[1]}, {4, 0, pages[4]}};
    for (const Case& c : cases) {
        printed.clear();
        previews = 0;
        tabs->setCurrentIndex(c.tab);
        win->ActPrint->trigger();
        EXPECT_EQ(previews, c.previews) << c.tab;
        if (c.chart)
            EXPECT_EQ(printed, QList<QWidget*>{c.chart}) << c.tab;
        else
            EXPECT_TRUE(printed.isEmpty());
    }
    // Position 4 (the fifth visible tab) prints nothing.
    tabs->setTabVisible(2, true);
    printed.clear();
    tabs->setCurrentIndex(4);
    win->ActPrint->trigger();
    EXPECT_TRUE(printed.isEmpty());
}

TEST(InterchangeFileDialog, TheQtDialogStartsOnTheGivenFilterAndReportsTheChosenOne)
{
    QTemporaryDir dir;
    QString initial;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            initial = d->selectedNameFilter();
            d->selectNameFilter(QStringLiteral("文本文件 (*.txt)"));
            d->selectFile(dir.filePath(QStringLiteral("report")));
            QMetaObject::invokeMethod(d, "accept");
        }
    });
    QtFileDialog files;
    QString chosen;
    FileDialogRequest r;
    r.title = QStringLiteral("保存为");
    r.folder = dir.path();
    r.filter = QStringLiteral("Web网页 (*.htm);;文本文件 (*.txt);;Excel文件 (*.xls)");
    r.filterChoice = QStringLiteral("Excel文件 (*.xls)");
    r.chosenFilter = &chosen;
    const QString path = files.saveFile(r);
    EXPECT_EQ(initial, QStringLiteral("Excel文件 (*.xls)"));
    EXPECT_EQ(chosen, QStringLiteral("文本文件 (*.txt)"));
    EXPECT_TRUE(path.endsWith(QStringLiteral("report"))) << path.toStdString();
}

TEST_F(InterchangeWindow, PlanRoundTripAndEmptyFavourites)
{
    seedCatalogue();
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (1, '预计目标', '买房', 1000000, '2026-01-01', 6, 1000000, 1)")));
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (2, '现有资金', '', 0, NULL, 1, 0, 1)")));
    ASSERT_TRUE(dm->exec(QStringLiteral("INSERT INTO AC_Plan VALUES (3, '固定收入', '工资', 80000000, NULL, 6, 480000000, 1)")));
    openWindow();
    select(QStringLiteral("4"));
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    files.nextPath = dir.filePath(QStringLiteral("plan"));
    win->ActExport->trigger();
    TableFile::Rows rows;
    ASSERT_TRUE(TableFile::read(dir.filePath(QStringLiteral("plan.txt")), TableFile::Kind::Text, &rows));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.first(), Importer::titles(ImportKind::Plan));

    // The same plan again: target and funds are rewritten, the fixed row is a duplicate.
    files.nextPath = dir.filePath(QStringLiteral("plan.txt"));
    win->ActImport->trigger();
    EXPECT_EQ(commands->lastOutcome.imported, 2) << readLog().toStdString();
    EXPECT_EQ(commands->lastOutcome.refused, 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_Plan WHERE UserID = 1")), QStringLiteral("3"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT Months || '/' || Total FROM AC_Plan WHERE ID = 3")),
              QStringLiteral("6/480000000"));
    EXPECT_EQ(win->gridPages()->DBGridPlan->model()->rowCount(), 3);

    // An empty favourites list writes its title row only.
    select(QStringLiteral("6"));
    files.nextFilter = QStringLiteral("Excel文件 (*.xls)");
    files.nextPath = dir.filePath(QStringLiteral("memo.xls"));
    win->ActExport->trigger();
    ASSERT_TRUE(TableFile::read(files.nextPath, TableFile::Kind::Xls, &rows));
    EXPECT_EQ(rows, TableFile::Rows{Importer::titles(ImportKind::Memo)});
}

TEST_F(InterchangeWindow, AMovedLedgerColumnFailsTheTitleCheck)
{
    seedLedger();
    openWindow();
    select(QStringLiteral("1"));
    DBGrid* grid = win->gridPages()->DBGridAct;
    grid->horizontalHeader()->moveSection(2, 4);
    files.nextFilter = QStringLiteral("文本文件 (*.txt)");
    files.nextPath = dir.filePath(QStringLiteral("moved.txt"));
    win->ActExport->trigger();
    TableFile::Rows rows;
    ASSERT_TRUE(TableFile::read(files.nextPath, TableFile::Kind::Text, &rows));
    EXPECT_NE(rows.first(), Importer::titles(ImportKind::Ledger));
    const QStringList before = ledgerSnapshot();
    win->ActImport->trigger();
    EXPECT_EQ(folder.messages.last().text, QStringLiteral("数据格式错误，请检查导入文件是否收支记录！"));
    EXPECT_EQ(ledgerSnapshot(), before);
}
