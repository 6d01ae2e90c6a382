#pragma once
// The main window: toolbar, status bar, the left panel with the category
// tree and the balance grid, and the client area whose page follows the
// branch code of the selected tree node. It owns every command (actions,
// menus, pop-up menus), the start and close sequences and the layout kept
// in the per-user store.
//
// Pages whose content other parts of the program build are empty containers
// with a QVBoxLayout (Panel13, Panel2, Panel14, addressPage, memoPage,
// calendarArea); commands whose work lives elsewhere run the function stored
// in actionHooks under the action's object name, after the action pre-step.

#include "layoutstore.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class BackupCommands;
class BalanceGrid;
class GridPages;
class LedgerRules;
class CategoryTree;
class IDesktop;
class IFileDialog;
class IMessageBox;
class QAction;
class QActionGroup;
class QDialog;
class QGroupBox;
class QHeaderView;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTextEdit;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;
class RecordSet;
class TDataModule1;

class TMainFrm : public QMainWindow {
    Q_OBJECT
public:
    TMainFrm(TDataModule1* dm, IMessageBox* messages, IFileDialog* files, IDesktop* desktop, QWidget* parent = nullptr);
    ~TMainFrm() override;

    // Shows the window maximised (after the start sequence of the constructor).
    void start();

    // The splash screen shown at start while setting 18 is "0" (tests
    // replace it).
    static std::function<void(TDataModule1&)> splashScreen;

    // --- regions ------------------------------------------------------------
    QToolBar* ToolBar1;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel[4];
    QSplitter* mainSplitter;       // Panel1 | client area
    QWidget* Panel1;               // left panel
    QSplitter* leftSplitter;       // tree over Panel3
    QLabel* Panel4;                // heading " 分类菜单"
    CategoryTree* TreeView1;
    QWidget* Panel3;               // balance panel
    QLabel* Panel5;                // heading " 资产状况"
    BalanceGrid* balanceGrid;
    QTableView* DBGridBalance;
    QStackedWidget* clientArea;

    QSplitter* ledgerPage;         // Panel13 over Panel19
    QWidget* Panel13;              // filter bar and ledger grid go here
    QWidget* Panel19;              // statistics panel
    QTabWidget* PageControl1;      // statistics tabs (filled elsewhere)
    QSplitter* planPage;           // Panel2 | Panel14
    QWidget* Panel2;               // plan table and totals go here
    QWidget* Panel14;              // plan fulfilment goes here
    QWidget* addressPage;          // DBGridAddr goes here
    QWidget* memoPage;             // DBGridMemo goes here
    QWidget* Panel9;               // notebook page
    QTextEdit* RichEdit1;
    QSplitter* Panel8;             // calendar page: (calendarArea | Panel16) over Panel15
    QSplitter* calendarRow;
    QWidget* calendarArea;         // the calendar goes here
    QWidget* Panel16;
    QWidget* Panel15;
    QGroupBox* GroupBox4;
    QTableView* DBGridEh2;
    QTableView* DBGridInvt;

    // --- commands -----------------------------------------------------------
    QAction *ActInsert, *ActEdit, *ActUndo, *ActDel, *ActCopy, *ActPaste, *ActSelectAll, *ActTransferVisible;
    QAction *DirSearch, *DirAdd, *DirEdit, *DirDel, *DirProperty;
    QAction *ActExport, *ActImport, *ActPrint, *ActBackup, *ActRestore, *ActUpgrade, *ActVerify;
    QAction *ActHelp, *ActExit, *ToolCalc, *ToolInterest, *ToolTax;
    QList<QAction*> actionList() const { return actions_; }
    QAction* action(const QString& objectName) const;

    QMenu *MenuCategory, *MenuRecord, *MenuSettings, *MenuMaintenance, *MenuTools, *MenuHelp;
    QAction *MenuShowLogin, *MenuShortcut, *MenuToolbar, *MenuView, *MenuMute, *MenuFont, *MenuOptions,
        *MenuCurrency, *MenuFinalize, *MenuAbout;
    QMenu* SkinMenu;
    QAction* SkinNone;
    QMenu* TreePopup;
    QMenu* GridPopup;              // for the list grids built elsewhere
    QToolButton* toolButton(const QString& actionName) const;

    // Work of the commands built elsewhere, keyed by action object name
    // ("ActInsert", "ActBackup", ...) or menu role ("Options", "About",
    // "Finalize", "BackupRoutine" for the closing reminder's backup). Called
    // after the pre-step.
    QHash<QString, std::function<void()>> actionHooks;
    // The list refresh of a branch (ledger query, plan, address and
    // favourites filters); called with the branch code.
    std::function<void(const QString& branch)> listRefreshHook;
    // Runs a modal dialog of the tree commands (default: exec()); tests
    // answer the dialog through it.
    std::function<int(QDialog*)> execDialog;
    // Posting a pending edit of a grid's dataset (default: post the dataset).
    std::function<void(RecordSet*)> postPendingHook;

    // Grids built elsewhere register here so that their column layout is
    // restored now and saved at close (name: "DBGridAct", "DBGridPlan", ...).
    void registerGrid(const QString& name, QTableView* view);

    // The list pages (ledger, plan, address book, favourites) when built in.
    GridPages* gridPages() const { return gridPages_; }
    BackupCommands* backupCommands() const { return backup_; }

    // --- state ---------------------------------------------------------------
    QTreeWidgetItem* currentNode() const { return currentNode_; }
    QString branchCode() const;
    QString currentTypeId() const;
    QString currentTypeFlag() const;
    QWidget* currentPage() const;
    WindowLayout& layoutValues() { return layout_; }
    QString treeStat() const { return layout_.treeStat; }
    QFont chosenFont() const { return layout_.font(); }
    SidePanelState panelState(const QString& name) const;

    // Ticks are shown as a check-mark image on the item.
    static void setTicked(QAction* a, bool on);
    static bool isTicked(const QAction* a);

    // --- operations offered to the rest of the window -----------------------
    void buildTree();
    void pageSwitch();
    void listRefresh();
    void selectNode(const QString& typeId);
    void applyFont(const QFont& f);
    void setRecordCount(int n);
    void updateUndoState();
    void backupRoutine();
    void refreshBalances();
    // The closing reminder: true when it would ask today.
    static bool backupDue(const QString& interval, const QString& lastBackup, const QDate& today, int* days);

    // --- command handlers ------------------------------------------------------
    void DirAddExecute();
    void DirEditExecute();
    void DirDelExecute();
    void DirPropertyExecute();
    void TreeView1DragDrop(QTreeWidgetItem* source, QTreeWidgetItem* target);
    void ToolbarClick();
    void MuteClick();
    void ShowLoginClick();
    void ShortcutClick();
    void SkinClick(QAction* item);
    void FontClick();
    void OptionsClick();
    void HelpExecute();
    void CalcExecute();
    void DBGridBalanceCellClick(int row);

    // Sections of the status bar's panel texts for tests and others.
    QString statusText(int panel) const;

signals:
    // After the font application, for the grids and charts built elsewhere.
    void fontApplied(const QFont& f);
    // After every page switch (current node changed).
    void nodeChanged();

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    struct Panel {
        QString name;
        QSplitter* splitter;
        int index;
        SidePanelState* state;
    };
    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildRegions();
    void buildStatusBar();
    QAction* makeAction(const QString& name, const QString& caption, const QString& icon,
                        const QKeySequence& key = QKeySequence(), const QString& hint = QString());
    void runAction(QAction* a);
    void actionPreStep(QAction* a);
    void postPending(const QString& branch);
    void readLayout();
    void writeLayout();
    void buildSkinMenu();
    void openDatasets();
    void fillStatusBar();
    void setMenuMarks();
    void treeSelectionChanged();
    void applyPanel(Panel& p);
    void panelMoved(QSplitter* s);
    void refreshClassLists(const QString& cls, bool withDataset, bool recalcFooters);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& typeId, const QString& name,
                             const QString& flag, bool fund);
    void setNodeCode(QTreeWidgetItem* n, const QString& code);
    RecordSet* decidingDataset(const QString& branch) const;
    void runHook(const QString& name);

    TDataModule1* dm_;
    IMessageBox* messages_;
    IFileDialog* files_;
    IDesktop* desktop_;
    QList<QAction*> actions_;
    QHash<QString, QToolButton*> buttons_;
    QActionGroup* skinGroup_ = nullptr;
    QTreeWidgetItem* currentNode_ = nullptr;
    QString shownBranch_;
    WindowLayout layout_;
    bool layoutRead_ = false;
    QVector<Panel> panels_;
    QHash<QString, QPointer<QTableView>> grids_;
    QHash<QString, QByteArray> gridStates_;
    bool building_ = false;
    bool closed_ = false;
    bool panelsApplied_ = false;
    LedgerRules* rules_ = nullptr;
    GridPages* gridPages_ = nullptr;
    BackupCommands* backup_ = nullptr;
    void installPages();
    int runDialogHook(QDialog& d);
    void installCommands();
};
