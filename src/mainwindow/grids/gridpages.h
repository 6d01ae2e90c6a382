#pragma once
// The list pages of the main window: the ledger page (filter bar and
// DBGridAct with its footers), the plan page (DBGridPlan, the figures panel
// Panel7, DBGridFullfill), the address book (DBGridAddr) and the favourites
// (DBGridMemo); the record actions that work on the list of the current
// branch; the list refresh; and the three search windows.
//
// The main window hands over its empty page containers and a few services
// through GridHost; GridPages fills them and offers the actions' work.

#include "dbgrid.h"
#include "recordfilters.h"

#include <QObject>
#include <QPointer>
#include <functional>

class LedgerRules;
class IDesktop;
class QAction;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class TActSearchFrm;
class TAddrSearchFrm;
class TMemoSearchFrm;

struct GridHost {
    QWidget* window = nullptr;        // parent of the search windows
    QWidget* ledgerPage = nullptr;    // Panel13: filter bar and ledger grid
    QWidget* planPage = nullptr;      // Panel2: plan table and figures
    QWidget* fulfilmentPage = nullptr;// Panel14: plan fulfilment
    QWidget* addressPage = nullptr;
    QWidget* memoPage = nullptr;
    std::function<GridNode()> currentNode;
    std::function<void(const QString&)> setStatus1; // status panel 1
    std::function<void()> updateUndoState;          // after an action changed a dataset state
    std::function<void(QAction*, bool)> setTicked;
    QAction* actTransferVisible = nullptr;
    std::function<void()> redrawStatistics;         // the active statistics tab
    std::function<void(const QString&, QTableView*)> registerGrid;
    QMenu* gridPopup = nullptr;
};

// The record clipboard: one slot per kind of list, kept for the run.
struct RecordSlots {
    QVariantMap ledger, plan, address, memo;
};

class GridPages : public QObject {
    Q_OBJECT
public:
    GridPages(TDataModule1* dm, LedgerRules* rules, IMessageBox* messages, IDesktop* desktop, const GridHost& host,
              QObject* parent = nullptr);
    ~GridPages() override;

    RecordFilters filters;

    // --- widgets ----------------------------------------------------------------
    QWidget* Panel17;                 // filter bar
    QLabel* DateRangeStaticText;
    QComboBox* ComboBox1;             // Included filter
    QComboBox* ComboBox2;             // date-range choice
    DBGrid* DBGridAct;
    QWidget* GroupBox1;               // "理财计划表"
    DBGrid* DBGridPlan;
    QWidget* Panel7;                  // plan figures
    QLabel *IncomeStaticText, *ExpenseStaticText, *SurplusStaticText;
    QLabel *DepositStaticText, *ConsumeStaticText, *TotalSaveStaticText;
    QWidget* GroupBox2;               // "理财计划完成情况"
    DBGrid* DBGridFullfill;
    DBGrid* DBGridAddr;
    DBGrid* DBGridMemo;
    TActSearchFrm* ActSearchFrm;
    TAddrSearchFrm* AddrSearchFrm;
    TMemoSearchFrm* MemoSearchFrm;

    // --- record actions (the branch is the current node's) -----------------------
    void ActInsertExecute();
    void ActEditExecute();
    void ActUndoExecute();
    void ActDelExecute();
    void ActCopyExecute();
    void ActPasteExecute();
    void ActSelectAllExecute();
    void ActTransferVisibleExecute();
    void DirSearchExecute();
    // The list refresh of a branch ("1"-"6").
    void listRefresh(const QString& branch);
    void ComboBox1Change(int index);
    void ComboBox2Change(int index);

    // Pending-edit post of the grid of a branch (the action pre-step).
    void postPending(const QString& branch);

    DBGrid* gridOf(const QString& branch) const;
    RecordSet* datasetOf(const QString& branch) const;
    const RecordSlots& recordSlots() const { return slots_; }

    // Footers and figures.
    void updateLedgerFooters();
    void updateFulfilmentFooters();
    void showPlanFigures();
    void layoutPlanFigures();

    // The start-date correction of the plan grid: false when a part is not a number.
    static bool correctStartDate(const QString& text, const QDate& today, QString* out);

    // The ledger sort order for a column and direction (" ASC" / " DESC").
    QString ledgerSortOrder(const QString& column, const QString& dir) const;
    static QString sideSortOrder(const QString& column, const QString& dir);

    std::function<QDate()> today = [] { return QDate::currentDate(); };

private:
    void buildLedgerPage(QWidget* page);
    void buildPlanPage(QWidget* page, QWidget* fulfil);
    void buildAddressPage(QWidget* page);
    void buildMemoPage(QWidget* page);
    void connectRules();
    QString branch() const;
    GridNode node() const;
    bool gridHasFocus(DBGrid* g) const;
    bool ledgerColumnExit(int column);
    bool planColumnExit(int column);
    void setRecordCount(int n);
    void insertSideRow(RecordSet* rs, DBGrid* g);
    void finishSidePage(QWidget* page, DBGrid* g, const QVector<GridColumn>& columns, const QColor& odd,
                        const QColor& even, const QString& ownBranch);
    void linkClick(DBGrid* g, int row, int column);
    int planRow1Months();

    TDataModule1* dm_;
    LedgerRules* rules_;
    IMessageBox* messages_;
    IDesktop* desktop_;
    GridHost host_;
    RecordSlots slots_;
    QVector<QPointer<QDialog>> forms_;
};
