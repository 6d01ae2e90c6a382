#include "interchangeinstall.h"

#include "datamodule.h"
#include "dbgrid.h"
#include "gridpages.h"
#include "tmainfrm.h"
#include "tprogressbardlg.h"

#include <QAction>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QUrl>

namespace {

const QStringList kFilters{QStringLiteral("Web网页 (*.htm)"), QStringLiteral("文本文件 (*.txt)"),
                           QStringLiteral("Excel文件 (*.xls)")};

// The open and save dialogs: the three filters, the Excel one chosen at first.
FileDialogRequest fileRequest(const QString& title, QString* chosenFilter)
{
    FileDialogRequest r;
    r.title = title;
    r.filter = kFilters.join(QStringLiteral(";;"));
    r.filterChoice = kFilters.last();
    r.chosenFilter = chosenFilter;
    return r;
}

// The chosen filter decides the kind; a name without the kind's extension
// gets it appended ("data.xls" as a text file is "data.xls.txt"). Without a
// known filter the name's own extension decides, else the Excel kind.
QString settleName(const QString& chosen, const QString& filter, TableFile::Kind* kind)
{
    const int index = kFilters.indexOf(filter);
    if (index >= 0)
        *kind = TableFile::Kind(index + 1);
    else if (!TableFile::kindOfName(chosen, kind))
        *kind = TableFile::Kind::Xls;
    return TableFile::withExtension(chosen, *kind);
}

bool isLedger(const QString& b)
{
    return b == QLatin1String("1") || b == QLatin1String("2") || b == QLatin1String("3");
}

QString printTitle(const QString& b)
{
    if (isLedger(b))
        return QStringLiteral("收 支 明 细");
    if (b == QLatin1String("4"))
        return QStringLiteral("理 财 计 划");
    if (b == QLatin1String("5"))
        return QStringLiteral("通 讯 录");
    if (b == QLatin1String("6"))
        return QStringLiteral("备 忘 录");
    return QString();
}

QList<int> shownColumns(DBGrid* grid, bool ledger)
{
    QList<int> out;
    QHeaderView* h = grid->horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int logical = h->logicalIndex(v);
        if (logical < 0 || h->isSectionHidden(logical))
            continue;
        if (ledger && grid->column(logical).field == QLatin1String("Included"))
            continue; // "统计" stays out of files and printouts
        out << logical;
    }
    return out;
}

} // namespace

InterchangeCommands::InterchangeCommands(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                                         IDesktop& desktop)
    : QObject(&frm), frm_(frm), dm_(dm), messages_(messages), files_(files), desktop_(desktop)
{
    showPreview = [](QPrintPreviewDialog* d) { d->exec(); };
    printChart = [](QWidget* chart) {
        QPrinter printer(QPrinter::HighResolution);
        if (!printer.isValid())
            return; // no printer: the printing system has nothing to print on
        const QPageLayout::Orientation old = printer.pageLayout().orientation();
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter p;
        if (p.begin(&printer)) {
            const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
            const QSize size = chart->size().scaled(page.size(), Qt::KeepAspectRatio);
            p.scale(double(size.width()) / chart->width(), double(size.height()) / chart->height());
            chart->render(&p);
            p.end();
        }
        printer.setPageOrientation(old);
    };
}

QString InterchangeCommands::logPath() const { return dm_.programFolder() + QStringLiteral("Data/Import.log"); }

TableFile::Rows InterchangeCommands::gridRows(DBGrid* grid, bool ledger)
{
    TableFile::Rows rows;
    GridModel* m = grid->gridModel();
    const QList<int> cols = shownColumns(grid, ledger);
    QStringList titles;
    for (int c : cols)
        titles << m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    rows << titles;
    const int count = m->rowCount();
    for (int r = 0; r < count; ++r) {
        QStringList row;
        for (int c : cols)
            row << m->displayText(r, c);
        rows << row;
    }
    if (ledger) {
        QStringList footer;
        for (int c : cols)
            footer << grid->footerText(grid->column(c).columnName());
        rows << footer;
    }
    return rows;
}

PrintTable InterchangeCommands::printTable(DBGrid* grid, bool ledger, const QString& title, const QFont& font)
{
    PrintTable t;
    t.title = title;
    t.font = font;
    TableFile::Rows rows = gridRows(grid, ledger);
    t.headers = rows.takeFirst();
    t.rows = rows;
    for (int c : shownColumns(grid, ledger)) {
        t.widths << grid->columnWidth(c);
        t.rightAligned << bool(grid->column(c).align & Qt::AlignRight);
    }
    return t;
}

// ---------------------------------------------------------------------------------
// Import

void InterchangeCommands::ActImportExecute()
{
    dm_.clickSound();
    QString filter;
    const QString chosen = files_.openFile(fileRequest(QStringLiteral("打开"), &filter));
    if (chosen.isEmpty())
        return;
    TableFile::Kind fileKind;
    const QString path = settleName(chosen, filter, &fileKind);
    if (!QFileInfo(path).isFile()) {
        messages_.error(QStringLiteral("导入文件不存在！"));
        return;
    }
    ImportLog log;
    log.start();
    const QString logFile = logPath();
    auto openLog = [&] {
        dm_.doneSound();
        desktop_.openUrl(QUrl::fromLocalFile(logFile).toString());
    };
    const ImportKind kind = Importer::kindOfBranch(frm_.branchCode());
    if (kind == ImportKind::None) {
        log.save(logFile);
        openLog();
        return;
    }
    TableFile::Rows rows;
    if (!TableFile::read(path, fileKind, &rows) || !Importer::recognise(kind, &rows)) {
        messages_.error(Importer::formatError(kind));
        log.save(logFile);
        return;
    }
    Importer::Outcome o;
    {
        TProgressBarDlg progress(&dm_, &frm_);
        progress.setWindowTitle(QStringLiteral("正在导入数据..."));
        progress.setMaximum(rows.size());
        progress.show();
        Importer importer(dm_);
        o = importer.run(kind, rows, log, [&progress] { progress.step(); });
    }
    lastOutcome = o;
    log.finish(o.imported, o.refused);
    if (!log.save(logFile))
        messages_.error(QStringLiteral("无法写入导入日志文件 %1！").arg(QDir::toNativeSeparators(logFile)));
    if (o.rolledBack)
        messages_.error(QStringLiteral("导入过程中出错，此次导入已全部撤消，数据未作任何改动！"));
    refreshAfterImport(kind, o);
    openLog();
}

void InterchangeCommands::refreshAfterImport(ImportKind k, const Importer::Outcome& o)
{
    if (!o.createdTypes.isEmpty()) {
        // New accounts, categories and groups appear in the tree.
        const QString current = frm_.currentTypeId();
        frm_.buildTree();
        frm_.selectNode(current);
    }
    auto reopen = [this](RecordSet* rs) {
        if (rs && rs->isOpen())
            dm_.refresh(rs);
    };
    switch (k) {
    case ImportKind::Ledger:
        reopen(dm_.ADOQuery6);
        reopen(dm_.ADOQuery9);
        frm_.listRefresh();
        frm_.refreshBalances();
        break;
    case ImportKind::Plan:
        frm_.listRefresh(); // recalculates the plan
        reopen(dm_.ADOTable2);
        break;
    case ImportKind::Address:
        reopen(dm_.ADOQuery7);
        reopen(dm_.ADOTable3);
        frm_.listRefresh();
        break;
    case ImportKind::Memo:
        reopen(dm_.ADOQuery10);
        reopen(dm_.ADOTable4);
        frm_.listRefresh();
        break;
    case ImportKind::None:
        break;
    }
}

// ---------------------------------------------------------------------------------
// Export

void InterchangeCommands::ActExportExecute()
{
    dm_.clickSound();
    const QString b = frm_.branchCode();
    DBGrid* grid = frm_.gridPages() ? frm_.gridPages()->gridOf(b) : nullptr;
    if (!grid || Importer::kindOfBranch(b) == ImportKind::None)
        return;
    QString filter;
    const QString chosen = files_.saveFile(fileRequest(QStringLiteral("保存为"), &filter));
    if (chosen.isEmpty())
        return;
    TableFile::Kind kind;
    const QString path = settleName(chosen, filter, &kind);
    if (QFileInfo::exists(path)
        && !messages_.confirm(QStringLiteral("重要提示"), QStringLiteral("文件已存在，是否覆盖？"), MsgIcon::Question))
        return;
    const TableFile::Rows rows = gridRows(grid, isLedger(b));
    if (kind == TableFile::Kind::Xls && rows.size() > 65536) {
        messages_.error(QStringLiteral("导出失败，Excel文件最多只能容纳65536行，请改为导出网页或文本文件！"));
        return;
    }
    if (!TableFile::write(path, kind, rows)) {
        messages_.error(QStringLiteral("导出失败，请检查导出文件是否正在被另一个程序使用！"));
        return;
    }
    dm_.doneSound();
}

// ---------------------------------------------------------------------------------
// Print

void InterchangeCommands::previewGrid(DBGrid* grid, bool ledger, const QString& title)
{
    QFont font = frm_.chosenFont();
    if (font.family().isEmpty())
        font = QFont(QStringLiteral("宋体"));
    const PrintTable table = printTable(grid, ledger, title, font);
    QPrinter printer(QPrinter::HighResolution);
    printer.setColorMode(QPrinter::Color);
    QPrintPreviewDialog dlg(&printer, &frm_);
    dlg.setWindowTitle(QStringLiteral("打印预览"));
    connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [table](QPrinter* pr) {
        QPainter p(pr);
        GridPrint::paint(table, pr, &p, pr->resolution());
    });
    if (showPreview)
        showPreview(&dlg);
}

void InterchangeCommands::ActPrintExecute()
{
    dm_.clickSound();
    const QString b = frm_.branchCode();
    DBGrid* grid = frm_.gridPages() ? frm_.gridPages()->gridOf(b) : nullptr;
    if (Importer::kindOfBranch(b) == ImportKind::None)
        return;
    if (isLedger(b)) {
        // The active tab's position among the visible tabs: 0 the list,
        // 1 to 3 the charts Chart1 to Chart3.
        QTabWidget* tabs = frm_.PageControl1;
        int position = 0;
        if (tabs && tabs->currentIndex() >= 0) {
            for (int i = 0; i < tabs->currentIndex(); ++i)
                if (tabs->isTabVisible(i))
                    ++position;
        }
        if (position == 0) {
            if (grid)
                previewGrid(grid, true, printTitle(b));
        } else if (position <= 3 && tabs) {
            // Chart1, Chart2 and Chart3 of the statistics tabs, wherever they sit.
            QWidget* chart = tabs->findChild<QWidget*>(QStringLiteral("Chart%1").arg(position));
            if (chart && printChart)
                printChart(chart);
        }
        return;
    }
    if (grid)
        previewGrid(grid, false, printTitle(b));
}

InterchangeCommands* installInterchange(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                                        IDesktop& desktop)
{
    auto* c = new InterchangeCommands(frm, dm, messages, files, desktop);
    frm.actionHooks[QStringLiteral("ActImport")] = [c] { c->ActImportExecute(); };
    frm.actionHooks[QStringLiteral("ActExport")] = [c] { c->ActExportExecute(); };
    frm.actionHooks[QStringLiteral("ActPrint")] = [c] { c->ActPrintExecute(); };
    return c;
}
