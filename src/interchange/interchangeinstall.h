#pragma once
// The import, export and print commands of the main window ("导入...",
// "导出...", "打印...") working on the list of the current page.

#include "gridprint.h"
#include "importer.h"
#include "tablefile.h"

#include <QObject>
#include <functional>

class DBGrid;
class IDesktop;
class IFileDialog;
class IMessageBox;
class QPrinter;
class QPrintPreviewDialog;
class TDataModule1;
class TMainFrm;

class InterchangeCommands : public QObject {
    Q_OBJECT
public:
    InterchangeCommands(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                        IDesktop& desktop);

    void ActImportExecute();
    void ActExportExecute();
    void ActPrintExecute();

    // The list of a grid as it shows it: titles of the visible columns in
    // their order, one row per record, and for the ledger its footer row.
    // The ledger's "统计" column is left out.
    static TableFile::Rows gridRows(DBGrid* grid, bool ledger);
    static PrintTable printTable(DBGrid* grid, bool ledger, const QString& title, const QFont& font);

    QString logPath() const;

    // Shows the print preview (default: exec()); tests look at it and close it.
    std::function<void(QPrintPreviewDialog*)> showPreview;
    // Prints a chart widget on the default printer (tests print to a PDF file).
    std::function<void(QWidget*)> printChart;
    // The last import's result.
    Importer::Outcome lastOutcome;

private:
    void refreshAfterImport(ImportKind k, const Importer::Outcome& o);
    void previewGrid(DBGrid* grid, bool ledger, const QString& title);

    TMainFrm& frm_;
    TDataModule1& dm_;
    IMessageBox& messages_;
    IFileDialog& files_;
    IDesktop& desktop_;
};

// Hooks ActImport, ActExport and ActPrint of the main window.
InterchangeCommands* installInterchange(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files,
                                        IDesktop& desktop);
