#include "tmainfrm.h"

#include "actinfofrm.h"
#include "addtypefrm.h"
#include "balancegrid.h"
#include "categorytree.h"
#include "datamodule.h"
#include "dates.h"
#include "icons.h"
#include "recordset.h"
#include "registry.h"
#include "services.h"
#include "taboutfrm.h"
#include "tflashbox.h"
#include "toptionsfrm.h"
#include "treecatalogue.h"
#ifdef ZELKO_HAVE_GRIDS
#include "gridpages.h"
#include "ledgerrules.h"
#endif
#ifdef ZELKO_HAVE_BACKUP
#include "backupcommands.h"
#endif

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

std::function<void(TDataModule1&)> TMainFrm::splashScreen = [](TDataModule1& dm) { TFlashBox::run(dm); };

namespace {

const char* const kGridNames[] = {"DBGridAct", "DBGridPlan", "DBGridAddr", "DBGridMemo", "DBGridBalance", "DBGridFullfill"};

QWidget* container(const QString& name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    return w;
}

QSplitter* splitter(Qt::Orientation orientation, const QString& name, QWidget* parent)
{
    auto* s = new QSplitter(orientation, parent);
    s->setObjectName(name);
    s->setHandleWidth(7);
    return s;
}

// The first pane takes the room there is and cannot be collapsed; the second keeps its size.
void firstPaneStretches(QSplitter* s)
{
    s->setCollapsible(0, false);
    s->setStretchFactor(0, 1);
    s->setStretchFactor(1, 0);
}

QLabel* heading(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setMinimumHeight(22);
    l->setAutoFillBackground(true);
    l->setStyleSheet(QStringLiteral("QLabel { background: #dfe6ee; border-bottom: 1px solid #b8c2cc; }"));
    return l;
}

QTableView* emptyGrid(const QString& name, QWidget* parent)
{
    auto* v = new QTableView(parent);
    v->setObjectName(name);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    return v;
}

QFrame* separator(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedWidth(8);
    return f;
}

// An item of a menu bound to an action but with a caption of its own.
QAction* proxyFor(QAction* src, const QString& caption, QObject* parent)
{
    auto* p = new QAction(src->icon(), caption, parent);
    p->setObjectName(src->objectName() + QStringLiteral("Menu"));
    p->setShortcut(src->shortcut());
    p->setShortcutContext(Qt::WidgetShortcut); // the action itself owns the key
    p->setEnabled(src->isEnabled());
    p->setStatusTip(src->statusTip());
    QObject::connect(p, &QAction::triggered, src, &QAction::trigger);
    QObject::connect(src, &QAction::changed, p, [p, src] {
        p->setEnabled(src->isEnabled());
        p->setIcon(src->icon());
        p->setVisible(src->isVisible());
    });
    return p;
}

} // namespace

TMainFrm::TMainFrm(TDataModule1* dm, IMessageBox* messages, IFileDialog* files, IDesktop* desktop, QWidget* parent)
    : QMainWindow(parent), dm_(dm), messages_(messages), files_(files), desktop_(desktop)
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowIcon(Icons::get(QStringLiteral("app")));
    buildActions();
    buildRegions();
    buildToolbar();
    buildStatusBar();
    buildMenus();
    installCommands();
    installPages();
    dm_->refreshCurrentPage = [this] { listRefresh(); };

    // 1. splash
    if (dm_->readSetting(18) == QLatin1String("0") && splashScreen)
        splashScreen(*dm_);
    // 2.
    dm_->clickSound();
    // 3. layout
    readLayout();
    // 4. skins
    buildSkinMenu();
    // 5., 6. the datasets of the current user
    openDatasets();
    // 7. status bar
    fillStatusBar();
    // 8. caption
    setWindowTitle(QStringLiteral("Zelko家庭理财 V") + QStringLiteral("2.8"));
    // 10. the tree selects its first root and thereby shows its page
    buildTree();
    setWindowState(windowState() | Qt::WindowMaximized);
}

TMainFrm::~TMainFrm()
{
    if (dm_)
        dm_->refreshCurrentPage = nullptr;
#ifdef ZELKO_HAVE_GRIDS
    delete gridPages_;
    delete rules_;
#endif
}

void TMainFrm::start()
{
    showMaximized();
}

void TMainFrm::installPages()
{
#ifdef ZELKO_HAVE_GRIDS
    rules_ = new LedgerRules(dm_);
    GridHost host;
    host.window = this;
    host.ledgerPage = Panel13;
    host.planPage = Panel2;
    host.fulfilmentPage = Panel14;
    host.addressPage = addressPage;
    host.memoPage = memoPage;
    host.currentNode = [this] { return GridNode{currentTypeId(), currentTypeFlag()}; };
    host.setStatus1 = [this](const QString& t) { StatusPanel[1]->setText(t); };
    host.updateUndoState = [this] { updateUndoState(); };
    host.setTicked = [](QAction* a, bool on) { setTicked(a, on); };
    host.actTransferVisible = ActTransferVisible;
    host.registerGrid = [this](const QString& name, QTableView* v) { registerGrid(name, v); };
    host.gridPopup = GridPopup;
    gridPages_ = new GridPages(dm_, rules_, messages_, desktop_, host);
    GridPages* g = gridPages_;
    actionHooks.insert(QStringLiteral("ActInsert"), [g] { g->ActInsertExecute(); });
    actionHooks.insert(QStringLiteral("ActEdit"), [g] { g->ActEditExecute(); });
    actionHooks.insert(QStringLiteral("ActUndo"), [g] { g->ActUndoExecute(); });
    actionHooks.insert(QStringLiteral("ActDel"), [g] { g->ActDelExecute(); });
    actionHooks.insert(QStringLiteral("ActCopy"), [g] { g->ActCopyExecute(); });
    actionHooks.insert(QStringLiteral("ActPaste"), [g] { g->ActPasteExecute(); });
    actionHooks.insert(QStringLiteral("ActSelectAll"), [g] { g->ActSelectAllExecute(); });
    actionHooks.insert(QStringLiteral("ActTransferVisible"), [g] { g->ActTransferVisibleExecute(); });
    actionHooks.insert(QStringLiteral("DirSearch"), [g] { g->DirSearchExecute(); });
    listRefreshHook = [g](const QString& b) { g->listRefresh(b); };
    connect(dm_->ADOQuery6, &RecordSet::reset, this, [this] { balanceGrid->updateFooters(); });
#endif
}

void TMainFrm::installCommands()
{
#ifdef ZELKO_HAVE_BACKUP
    backup_ = new BackupCommands(dm_, messages_, files_, this);
    BackupRestore& r = backup_->routines();
    r.afterReconnect = [this] {
        buildTree();
        refreshBalances();
    };
    r.showUser = [this](const QString& t) { StatusPanel[2]->setText(t); };
    r.applySkin = [this](const QString&) {
        buildSkinMenu();
        QAction* ticked = SkinNone;
        for (QAction* a : SkinMenu->actions())
            if (isTicked(a))
                ticked = a;
        const QString name = ticked == SkinNone ? QString() : ticked->data().toString();
        if (ISkinEngine* skins = dm_->skins()) {
            if (name.isEmpty())
                skins->off();
            else
                skins->load(dm_->programFolder() + QStringLiteral("Skins/") + name);
        }
    };
    BackupCommands* b = backup_;
    actionHooks.insert(QStringLiteral("ActBackup"), [b] { b->ActBackupExecute(); });
    // The closing reminder's backup: the close has played the click already.
    actionHooks.insert(QStringLiteral("BackupRoutine"), [b] { b->routines().backup(); });
    actionHooks.insert(QStringLiteral("ActRestore"), [b] { b->ActRestoreExecute(); });
#endif
    actionHooks.insert(QStringLiteral("Options"), [this] {
        TOptionsFrm d(dm_, messages_, this);
        if (runDialogHook(d) != QDialog::Rejected)
            listRefresh();
    });
    actionHooks.insert(QStringLiteral("About"), [this] {
        TAboutFrm d(dm_, desktop_, this);
        runDialogHook(d);
    });
}

// --- actions ---------------------------------------------------------------------

QAction* TMainFrm::makeAction(const QString& name, const QString& caption, const QString& icon,
                              const QKeySequence& key, const QString& hint)
{
    auto* a = new QAction(Icons::get(icon), caption, this);
    a->setObjectName(name);
    a->setProperty("ownIcon", QVariant::fromValue(a->icon()));
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint.isEmpty() ? caption : hint);
    addAction(a);
    actions_ << a;
    connect(a, &QAction::triggered, this, [this, a] { runAction(a); });
    return a;
}

void TMainFrm::buildActions()
{
    ActInsert = makeAction(QStringLiteral("ActInsert"), QStringLiteral("新增记录"), QStringLiteral("ActInsert"),
                           QKeySequence(Qt::Key_Insert));
    ActEdit = makeAction(QStringLiteral("ActEdit"), QStringLiteral("修改记录"), QStringLiteral("ActEdit"),
                         QKeySequence(Qt::CTRL | Qt::Key_E));
    ActUndo = makeAction(QStringLiteral("ActUndo"), QStringLiteral("撤消编辑"), QStringLiteral("ActUndo"),
                         QKeySequence(Qt::CTRL | Qt::Key_Z), QStringLiteral("撤消新增或修改操作"));
    ActUndo->setEnabled(false);
    ActDel = makeAction(QStringLiteral("ActDel"), QStringLiteral("删除记录"), QStringLiteral("ActDel"));
    ActDel->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    ActCopy = makeAction(QStringLiteral("ActCopy"), QStringLiteral("复制记录"), QStringLiteral("ActCopy"));
    ActPaste = makeAction(QStringLiteral("ActPaste"), QStringLiteral("粘贴记录"), QStringLiteral("ActPaste"));
    ActSelectAll = makeAction(QStringLiteral("ActSelectAll"), QStringLiteral("选中所有记录"),
                              QStringLiteral("ActSelectAll"), QKeySequence(Qt::CTRL | Qt::Key_A));
    ActTransferVisible = makeAction(QStringLiteral("ActTransferVisible"), QStringLiteral("选中转帐记录"),
                                    QStringLiteral("ActTransferVisible"), QKeySequence(Qt::CTRL | Qt::Key_T));
    DirSearch = makeAction(QStringLiteral("DirSearch"), QStringLiteral("查询..."), QStringLiteral("DirSearch"),
                           QKeySequence(Qt::CTRL | Qt::Key_F));
    DirAdd = makeAction(QStringLiteral("DirAdd"), QStringLiteral("新增分类"), QStringLiteral("DirAdd"));
    DirEdit = makeAction(QStringLiteral("DirEdit"), QStringLiteral("修改分类"), QStringLiteral("DirEdit"));
    DirDel = makeAction(QStringLiteral("DirDel"), QStringLiteral("删除分类"), QStringLiteral("DirDel"));
    DirProperty = makeAction(QStringLiteral("DirProperty"), QStringLiteral("帐户属性"), QStringLiteral("DirProperty"),
                             QKeySequence(Qt::CTRL | Qt::Key_R));
    ActExport = makeAction(QStringLiteral("ActExport"), QStringLiteral("导出..."), QStringLiteral("ActExport"),
                           QKeySequence(Qt::CTRL | Qt::Key_S));
    ActImport = makeAction(QStringLiteral("ActImport"), QStringLiteral("导入..."), QStringLiteral("ActImport"));
    ActPrint = makeAction(QStringLiteral("ActPrint"), QStringLiteral("打印..."), QStringLiteral("ActPrint"),
                          QKeySequence(Qt::CTRL | Qt::Key_P));
    ActBackup = makeAction(QStringLiteral("ActBackup"), QStringLiteral("数据备份..."), QStringLiteral("ActBackup"),
                           QKeySequence(Qt::CTRL | Qt::Key_B));
    ActRestore = makeAction(QStringLiteral("ActRestore"), QStringLiteral("数据恢复..."), QStringLiteral("ActRestore"));
    ActUpgrade = makeAction(QStringLiteral("ActUpgrade"), QStringLiteral("从1.0导入数据..."), QStringLiteral("ActUpgrade"));
    ActVerify = makeAction(QStringLiteral("ActVerify"), QStringLiteral("数据修复压缩"), QStringLiteral("ActVerify"));
    ActHelp = makeAction(QStringLiteral("ActHelp"), QStringLiteral("帮助文件"), QStringLiteral("ActHelp"),
                         QKeySequence(Qt::Key_F1));
    ActExit = makeAction(QStringLiteral("ActExit"), QStringLiteral("退出程序"), QStringLiteral("ActExit"));
    ToolCalc = makeAction(QStringLiteral("ToolCalc"), QStringLiteral("计算器"), QStringLiteral("ToolCalc"),
                          QKeySequence(Qt::Key_F10));
    ToolInterest = makeAction(QStringLiteral("ToolInterest"), QStringLiteral("利息计算"), QStringLiteral("ToolInterest"),
                              QKeySequence(Qt::Key_F11), QStringLiteral("利息计算器"));
    ToolTax = makeAction(QStringLiteral("ToolTax"), QStringLiteral("个税计算"), QStringLiteral("ToolTax"),
                         QKeySequence(Qt::Key_F12), QStringLiteral("个税计算器"));
}

QAction* TMainFrm::action(const QString& objectName) const
{
    for (QAction* a : actions_)
        if (a->objectName() == objectName)
            return a;
    return nullptr;
}

void TMainFrm::setTicked(QAction* a, bool on)
{
    a->setProperty("ticked", on);
    if (on)
        a->setIcon(Icons::get(QStringLiteral("check")));
    else
        a->setIcon(a->property("ownIcon").value<QIcon>());
}

bool TMainFrm::isTicked(const QAction* a) { return a->property("ticked").toBool(); }

void TMainFrm::runHook(const QString& name)
{
    auto it = actionHooks.constFind(name);
    if (it != actionHooks.constEnd() && *it)
        (*it)();
}

void TMainFrm::runAction(QAction* a)
{
    actionPreStep(a);
    if (a == DirAdd)
        DirAddExecute();
    else if (a == DirEdit)
        DirEditExecute();
    else if (a == DirDel)
        DirDelExecute();
    else if (a == DirProperty)
        DirPropertyExecute();
    else if (a == ActHelp)
        HelpExecute();
    else if (a == ToolCalc)
        CalcExecute();
    else if (a == ActExit)
        close();
    else
        runHook(a->objectName());
}

void TMainFrm::actionPreStep(QAction* a)
{
    static const QStringList exempt{QStringLiteral("ActInsert"), QStringLiteral("ActEdit"), QStringLiteral("ActUndo"),
                                    QStringLiteral("ActDel"),    QStringLiteral("ActRestore"), QStringLiteral("ActUpgrade"),
                                    QStringLiteral("ActHelp"),   QStringLiteral("ToolCalc")};
    if (exempt.contains(a->objectName()))
        return;
    postPending(branchCode());
}

void TMainFrm::postPending(const QString& b)
{
#ifdef ZELKO_HAVE_GRIDS
    if (gridPages_ && !postPendingHook) {
        gridPages_->postPending(b);
        return;
    }
#endif
    RecordSet* rs = nullptr;
    if (b == QLatin1String("1") || b == QLatin1String("2") || b == QLatin1String("3"))
        rs = dm_->ADOTable1;
    else if (b == QLatin1String("4"))
        rs = dm_->ADOTable2;
    else if (b == QLatin1String("5"))
        rs = dm_->ADOTable3;
    else if (b == QLatin1String("6"))
        rs = dm_->ADOTable4;
    if (!rs || !rs->isEditing())
        return;
    if (postPendingHook)
        postPendingHook(rs);
    else
        rs->post();
}

// --- regions ---------------------------------------------------------------------

void TMainFrm::buildRegions()
{
    mainSplitter = splitter(Qt::Horizontal, QStringLiteral("MainSplitter"), this);
    mainSplitter->setChildrenCollapsible(true);

    Panel1 = container(QStringLiteral("Panel1"), mainSplitter);
    leftSplitter = splitter(Qt::Vertical, QStringLiteral("LeftSplitter"), Panel1);
    Panel1->layout()->addWidget(leftSplitter);
    auto* treeBox = container(QStringLiteral("Panel6"), leftSplitter);
    Panel4 = heading(QStringLiteral("Panel4"), QStringLiteral(" 分类菜单"), treeBox);
    treeBox->layout()->addWidget(Panel4);
    TreeView1 = new CategoryTree(treeBox);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    treeBox->layout()->addWidget(TreeView1);
    Panel3 = container(QStringLiteral("Panel3"), leftSplitter);
    Panel5 = heading(QStringLiteral("Panel5"), QStringLiteral(" 资产状况"), Panel3);
    Panel3->layout()->addWidget(Panel5);
    balanceGrid = new BalanceGrid(dm_->ADOQuery6, Panel3);
    DBGridBalance = balanceGrid->view();
    Panel3->layout()->addWidget(balanceGrid);
    firstPaneStretches(leftSplitter);

    clientArea = new QStackedWidget(mainSplitter);
    clientArea->setObjectName(QStringLiteral("ClientArea"));
    mainSplitter->setCollapsible(1, false);
    mainSplitter->setStretchFactor(0, 0);
    mainSplitter->setStretchFactor(1, 1);

    // Ledger page: filter bar and ledger grid over the statistics panel.
    ledgerPage = splitter(Qt::Vertical, QStringLiteral("LedgerPage"), clientArea);
    Panel13 = container(QStringLiteral("Panel13"), ledgerPage);
    Panel19 = container(QStringLiteral("Panel19"), ledgerPage);
    PageControl1 = new QTabWidget(Panel19);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Panel19->layout()->addWidget(PageControl1);
    connect(PageControl1->tabBar(), &QTabBar::tabBarClicked, this, [this] { dm_->clickSound(); });
    firstPaneStretches(ledgerPage);
    clientArea->addWidget(ledgerPage);

    // Plan page: plan table and totals, fulfilment on the right.
    planPage = splitter(Qt::Horizontal, QStringLiteral("PlanPage"), clientArea);
    Panel2 = container(QStringLiteral("Panel2"), planPage);
    Panel14 = container(QStringLiteral("Panel14"), planPage);
    firstPaneStretches(planPage);
    clientArea->addWidget(planPage);

    addressPage = container(QStringLiteral("AddressPage"), clientArea);
    clientArea->addWidget(addressPage);
    memoPage = container(QStringLiteral("MemoPage"), clientArea);
    clientArea->addWidget(memoPage);

    // Notebook page.
    Panel9 = container(QStringLiteral("Panel9"), clientArea);
    auto* noteBar = new QToolBar(Panel9);
    noteBar->setObjectName(QStringLiteral("ToolBar2"));
    noteBar->setMinimumHeight(26);
    Panel9->layout()->addWidget(noteBar);
    RichEdit1 = new QTextEdit(Panel9);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setHtml(QStringLiteral("<p style=\"color:#ff0000;\">功能尚未完成</p>"));
    Panel9->layout()->addWidget(RichEdit1);
    clientArea->addWidget(Panel9);

    // Calendar page: calendar and side panel over the festival settings.
    Panel8 = splitter(Qt::Vertical, QStringLiteral("Panel8"), clientArea);
    calendarRow = splitter(Qt::Horizontal, QStringLiteral("CalendarRow"), Panel8);
    calendarArea = container(QStringLiteral("CalendarArea"), calendarRow);
    Panel16 = container(QStringLiteral("Panel16"), calendarRow);
    firstPaneStretches(calendarRow);
    Panel15 = container(QStringLiteral("Panel15"), Panel8);
    GroupBox4 = new QGroupBox(QStringLiteral("节日设置"), Panel15);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    auto* g4 = new QVBoxLayout(GroupBox4);
    DBGridEh2 = emptyGrid(QStringLiteral("DBGridEh2"), GroupBox4);
    g4->addWidget(DBGridEh2);
    Panel15->layout()->addWidget(GroupBox4);
    firstPaneStretches(Panel8);
    clientArea->addWidget(Panel8);

    DBGridInvt = emptyGrid(QStringLiteral("DBGridInvt"), clientArea);
    clientArea->addWidget(DBGridInvt);

    setCentralWidget(mainSplitter);

    panels_ = {{QStringLiteral("Panel1"), mainSplitter, 0, &layout_.panel1},
               {QStringLiteral("Panel3"), leftSplitter, 1, &layout_.panel3},
               {QStringLiteral("Panel14"), planPage, 1, &layout_.panel14},
               {QStringLiteral("Panel15"), Panel8, 1, &layout_.panel15},
               {QStringLiteral("Panel16"), calendarRow, 1, &layout_.panel16},
               {QStringLiteral("Panel19"), ledgerPage, 1, &layout_.panel19}};
    for (QSplitter* s : {mainSplitter, leftSplitter, planPage, Panel8, calendarRow, ledgerPage})
        connect(s, &QSplitter::splitterMoved, this, [this, s] { panelMoved(s); });

    // Tree signals.
    connect(TreeView1, &CategoryTree::mousePressed, this, [this] { dm_->clickSound(); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] {
        if (!building_)
            treeSelectionChanged();
    });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        treeSelectionChanged();
        if (CategoryTree::typeFlag(item) == QLatin1String("1")) {
            const int row = balanceGrid->model()->rowOf(CategoryTree::typeId(item));
            if (row >= 0)
                DBGridBalance->selectRow(row);
        }
    });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (DirProperty->isEnabled())
            DirProperty->trigger();
    });
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        treeSelectionChanged();
        TreePopup->popup(TreeView1->viewport()->mapToGlobal(pos));
    });
    auto stat = [this](QTreeWidgetItem* item, QChar c) {
        if (!CategoryTree::isRoot(item))
            return;
        const int k = CategoryTree::typeId(item).toInt();
        if (k < 1 || k > 9)
            return;
        while (layout_.treeStat.size() < 9)
            layout_.treeStat += QLatin1Char('0');
        layout_.treeStat[k - 1] = c;
    };
    connect(TreeView1, &QTreeWidget::itemExpanded, this, [stat](QTreeWidgetItem* i) { stat(i, QLatin1Char('1')); });
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, [stat](QTreeWidgetItem* i) { stat(i, QLatin1Char('0')); });
    connect(TreeView1, &CategoryTree::dropRequested, this, &TMainFrm::TreeView1DragDrop);

    connect(DBGridBalance, &QTableView::clicked, this, [this](const QModelIndex& i) { DBGridBalanceCellClick(i.row()); });
    connect(DBGridBalance, &QTableView::doubleClicked, this, [this] {
        if (DirProperty->isEnabled())
            DirProperty->trigger();
    });

    for (RecordSet* rs : {dm_->ADOTable1, dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4})
        connect(rs, &RecordSet::stateChanged, this, [this] { updateUndoState(); });
}

void TMainFrm::buildToolbar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    auto* box = new QWidget(ToolBar1);
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(0);
    struct Item { QAction* a; const char* caption; const char* hint; };
    auto addRow = [&](std::initializer_list<Item> items) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        for (const Item& it : items) {
            if (!it.a) {
                row->addWidget(separator(box));
                continue;
            }
            auto* b = new QToolButton(box);
            b->setObjectName(QStringLiteral("Button") + it.a->objectName());
            b->setFixedSize(55, 51);
            b->setIconSize(QSize(32, 32));
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b->setAutoRaise(true);
            b->setText(it.caption ? QString::fromUtf8(it.caption) : it.a->text());
            b->setToolTip(it.hint ? QString::fromUtf8(it.hint) : it.a->toolTip());
            b->setIcon(it.a->icon());
            b->setEnabled(it.a->isEnabled());
            QAction* a = it.a;
            connect(b, &QToolButton::clicked, a, &QAction::trigger);
            connect(a, &QAction::changed, b, [a, b] {
                b->setEnabled(a->isEnabled());
                b->setIcon(a->icon());
            });
            buttons_.insert(a->objectName(), b);
            row->addWidget(b);
        }
        row->addStretch(1);
        rows->addLayout(row);
    };
    addRow({{DirAdd, nullptr, "新增分类"},
            {DirEdit, nullptr, "修改分类"},
            {DirDel, nullptr, "删除分类"},
            {DirProperty, nullptr, "查看属性"},
            {nullptr, nullptr, nullptr},
            {DirSearch, "查询记录", nullptr},
            {nullptr, nullptr, nullptr},
            {ActInsert, nullptr, nullptr},
            {ActEdit, nullptr, "修改记录"},
            {ActUndo, nullptr, nullptr},
            {ActDel, nullptr, "删除记录"}});
    addRow({{ActSelectAll, "选中所有", "选中所有明细"},
            {ActTransferVisible, "不选转帐", "转帐明细是否参与统计"},
            {nullptr, nullptr, nullptr},
            {ToolCalc, nullptr, "计算器"},
            {ToolInterest, nullptr, nullptr},
            {ToolTax, nullptr, nullptr},
            {nullptr, nullptr, nullptr},
            {ActExit, "退出", "退出程序"}});
    ToolBar1->addWidget(box);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
}

QToolButton* TMainFrm::toolButton(const QString& actionName) const { return buttons_.value(actionName); }

void TMainFrm::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    const int widths[] = {0, 100, 150, 170};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setContentsMargins(2, 0, 2, 0);
        if (i == 0) {
            l->setMinimumWidth(10);
            StatusBar1->addWidget(l, 1);
        } else {
            l->setFixedWidth(widths[i]);
            if (i >= 2)
                l->setAlignment(Qt::AlignCenter);
            StatusBar1->addPermanentWidget(l);
        }
        StatusPanel[i] = l;
    }
    StatusPanel[0]->setText(QStringLiteral(" 你不理财，财不理你。理财记帐从《Zelko家庭理财》开始！"));
}

QString TMainFrm::statusText(int panel) const { return panel >= 0 && panel < 4 ? StatusPanel[panel]->text() : QString(); }

void TMainFrm::setRecordCount(int n) { StatusPanel[1]->setText(QStringLiteral("记录数：") + QString::number(n)); }

void TMainFrm::buildMenus()
{
    QMenuBar* bar = menuBar();
    MenuCategory = bar->addMenu(QStringLiteral("分类"));
    MenuCategory->setObjectName(QStringLiteral("MenuCategory"));
    MenuCategory->addAction(proxyFor(DirAdd, QStringLiteral("新增分类..."), this));
    MenuCategory->addAction(proxyFor(DirEdit, QStringLiteral("修改分类..."), this));
    MenuCategory->addAction(DirDel);
    MenuCategory->addAction(DirProperty);
    MenuCategory->addSeparator();
    MenuCategory->addAction(ActExport);
    MenuCategory->addAction(ActImport);
    MenuCategory->addAction(ActPrint);
    MenuCategory->addSeparator();
    MenuCategory->addAction(proxyFor(ActExit, QStringLiteral("退出"), this));

    // The record menu and the grid's context menu offer the same commands.
    auto addRecordActions = [this](QMenu* m) {
        m->addActions({ActInsert, ActEdit, ActUndo, ActDel});
        m->addSeparator();
        m->addActions({ActCopy, ActPaste});
        m->addSeparator();
        m->addActions({ActSelectAll, ActTransferVisible});
        m->addSeparator();
        m->addAction(DirSearch);
    };
    MenuRecord = bar->addMenu(QStringLiteral("记录"));
    MenuRecord->setObjectName(QStringLiteral("MenuRecord"));
    addRecordActions(MenuRecord);

    MenuSettings = bar->addMenu(QStringLiteral("设置"));
    MenuSettings->setObjectName(QStringLiteral("MenuSettings"));
    auto item = [this](QMenu* m, const QString& name, const QString& caption, const QString& icon) {
        QAction* a = m->addAction(Icons::get(icon), caption);
        a->setObjectName(name);
        a->setProperty("ownIcon", QVariant::fromValue(a->icon()));
        return a;
    };
    MenuShowLogin = item(MenuSettings, QStringLiteral("MenuShowLogin"), QStringLiteral("显示用户登录窗口"),
                         QStringLiteral("ShowLogin"));
    MenuShortcut = item(MenuSettings, QStringLiteral("MenuShortcut"), QStringLiteral("创建桌面快捷方式"),
                        QStringLiteral("Shortcut"));
    MenuSettings->addSeparator();
    MenuToolbar = item(MenuSettings, QStringLiteral("MenuToolbar"), QStringLiteral("工具栏"), QStringLiteral("Toolbar"));
    MenuView = item(MenuSettings, QStringLiteral("MenuView"), QStringLiteral("查看"), QString());
    MenuView->setVisible(false);
    MenuMute = item(MenuSettings, QStringLiteral("MenuMute"), QStringLiteral("静音"), QStringLiteral("Mute"));
    SkinMenu = MenuSettings->addMenu(Icons::get(QStringLiteral("Skin")), QStringLiteral("皮肤"));
    SkinMenu->setObjectName(QStringLiteral("SkinMenu"));
    MenuFont = item(MenuSettings, QStringLiteral("MenuFont"), QStringLiteral("字体..."), QStringLiteral("Font"));
    MenuOptions = item(MenuSettings, QStringLiteral("MenuOptions"), QStringLiteral("选项..."), QStringLiteral("Options"));
    MenuSettings->addSeparator()->setVisible(false);
    MenuCurrency = item(MenuSettings, QStringLiteral("MenuCurrency"), QStringLiteral("币种汇率..."), QString());
    MenuCurrency->setVisible(false);
    connect(MenuShowLogin, &QAction::triggered, this, &TMainFrm::ShowLoginClick);
    connect(MenuShortcut, &QAction::triggered, this, &TMainFrm::ShortcutClick);
    connect(MenuToolbar, &QAction::triggered, this, &TMainFrm::ToolbarClick);
    connect(MenuMute, &QAction::triggered, this, &TMainFrm::MuteClick);
    connect(MenuFont, &QAction::triggered, this, &TMainFrm::FontClick);
    connect(MenuOptions, &QAction::triggered, this, &TMainFrm::OptionsClick);

    MenuMaintenance = bar->addMenu(QStringLiteral("数据维护"));
    MenuMaintenance->setObjectName(QStringLiteral("MenuMaintenance"));
    MenuMaintenance->addAction(ActVerify);
    MenuFinalize = item(MenuMaintenance, QStringLiteral("MenuFinalize"), QStringLiteral("帐户结转"), QString());
    MenuFinalize->setVisible(false);
    connect(MenuFinalize, &QAction::triggered, this, [this] { runHook(QStringLiteral("Finalize")); });
    MenuMaintenance->addSeparator();
    MenuMaintenance->addActions({ActBackup, ActRestore});
    MenuMaintenance->addSeparator();
    MenuMaintenance->addAction(proxyFor(ActUpgrade, QStringLiteral("从V1.0导入数据..."), this));

    MenuTools = bar->addMenu(QStringLiteral("工具"));
    MenuTools->setObjectName(QStringLiteral("MenuTools"));
    MenuTools->addAction(ToolCalc);
    MenuTools->addAction(proxyFor(ToolInterest, QStringLiteral("利息计算器"), this));
    MenuTools->addAction(proxyFor(ToolTax, QStringLiteral("个税计算器"), this));

    MenuHelp = bar->addMenu(QStringLiteral("帮助"));
    MenuHelp->setObjectName(QStringLiteral("MenuHelp"));
    MenuHelp->addAction(proxyFor(ActHelp, QStringLiteral("使用手册"), this));
    MenuAbout = item(MenuHelp, QStringLiteral("MenuAbout"), QStringLiteral("关于..."), QStringLiteral("About"));
    connect(MenuAbout, &QAction::triggered, this, [this] { runHook(QStringLiteral("About")); });

    TreePopup = new QMenu(this);
    TreePopup->setObjectName(QStringLiteral("TreePopup"));
    TreePopup->addActions({DirAdd, DirEdit, DirDel, DirProperty});
    TreePopup->addSeparator();
    TreePopup->addActions({ActExport, ActImport, ActPrint});

    GridPopup = new QMenu(this);
    GridPopup->setObjectName(QStringLiteral("GridPopup"));
    addRecordActions(GridPopup);
}

// --- layout ------------------------------------------------------------------------

void TMainFrm::readLayout()
{
    auto s = Registry::open();
    if (!s || s->status() == QSettings::AccessError)
        return;
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = scr ? scr->availableGeometry() : QRect(0, 0, 1024, 768);
    const int chrome = menuBar()->sizeHint().height() + ToolBar1->sizeHint().height() + StatusBar1->sizeHint().height();
    layout_.read(*s, work, chrome);
    setGeometry(layout_.geometry);
    for (const char* name : kGridNames) {
        s->beginGroup(QStringLiteral("TMainFrm") + QString::fromLatin1(name));
        const QString state = s->value(QStringLiteral("Columns")).toString();
        if (!state.isEmpty())
            gridStates_.insert(QString::fromLatin1(name), QByteArray::fromBase64(state.toLatin1()));
        s->endGroup();
    }
    layoutRead_ = true;
    grids_.insert(QStringLiteral("DBGridBalance"), DBGridBalance);
    for (auto it = grids_.constBegin(); it != grids_.constEnd(); ++it)
        if (it.value() && gridStates_.contains(it.key()))
            it.value()->horizontalHeader()->restoreState(gridStates_.value(it.key()));
    applyFont(layout_.font());
}

void TMainFrm::registerGrid(const QString& name, QTableView* view)
{
    grids_.insert(name, view);
    auto it = gridStates_.constFind(name);
    if (view && it != gridStates_.constEnd())
        view->horizontalHeader()->restoreState(*it);
}

void TMainFrm::writeLayout()
{
    auto s = Registry::open();
    if (!s || s->status() == QSettings::AccessError)
        return;
    if (PageControl1->count() > 0)
        layout_.pageControl1 = PageControl1->currentIndex();
    // Panels first, then the tab, the tree text; the grid layouts; the font.
    QSettings& st = *s;
    layout_.write(st);
    for (auto it = grids_.constBegin(); it != grids_.constEnd(); ++it) {
        if (!it.value())
            continue;
        st.beginGroup(QStringLiteral("TMainFrm") + it.key());
        st.setValue(QStringLiteral("Columns"), QString::fromLatin1(it.value()->horizontalHeader()->saveState().toBase64()));
        st.setValue(QStringLiteral("RowHeight"), QString::number(it.value()->verticalHeader()->defaultSectionSize()));
        st.endGroup();
    }
    st.sync();
}

SidePanelState TMainFrm::panelState(const QString& name) const
{
    for (const Panel& p : panels_)
        if (p.name == name)
            return *p.state;
    return {};
}

void TMainFrm::applyPanel(Panel& p)
{
    QList<int> sizes = p.splitter->sizes();
    if (sizes.size() != 2)
        return;
    const int total = sizes[0] + sizes[1];
    if (total <= 0)
        return;
    const int want = p.state->collapsed ? 0 : qMin(p.state->size, total);
    sizes[p.index] = want;
    sizes[1 - p.index] = total - want;
    p.splitter->setSizes(sizes);
}

void TMainFrm::panelMoved(QSplitter* s)
{
    for (Panel& p : panels_) {
        if (p.splitter != s)
            continue;
        const int size = s->sizes().value(p.index);
        if (size <= 0) {
            p.state->collapsed = true; // the size before collapsing is kept
        } else {
            p.state->collapsed = false;
            p.state->size = size;
        }
    }
}

void TMainFrm::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!panelsApplied_) {
        panelsApplied_ = true;
        QTimer::singleShot(0, this, [this] {
            for (Panel& p : panels_)
                applyPanel(p);
            if (layout_.pageControl1 >= 0 && layout_.pageControl1 < PageControl1->count())
                PageControl1->setCurrentIndex(layout_.pageControl1);
        });
    }
}

void TMainFrm::resizeEvent(QResizeEvent* e)
{
    // Status panel 0 takes what panels 1-3 leave (stretch in the status bar).
    QMainWindow::resizeEvent(e);
}

void TMainFrm::applyFont(const QFont& f)
{
    layout_.setFont(f);
    const QColor c = layout_.color();
    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel3, Panel4, Panel5, Panel2, Panel14, PageControl1,
                                                      ToolBar1, StatusBar1, TreeView1}) {
        w->setFont(f);
        if (c.isValid()) {
            QPalette p = w->palette();
            p.setColor(QPalette::WindowText, c);
            p.setColor(QPalette::Text, c);
            w->setPalette(p);
        }
    }
    balanceGrid->applyFont(f);
#ifdef ZELKO_HAVE_GRIDS
    // The list grids take the font too; their fixed colours and bold columns
    // come from their own models on top of it.
    if (gridPages_) {
        for (QWidget* g : std::initializer_list<QWidget*>{gridPages_->DBGridAct, gridPages_->DBGridPlan,
                                                          gridPages_->DBGridFullfill, gridPages_->DBGridAddr,
                                                          gridPages_->DBGridMemo, gridPages_->Panel7})
            if (g)
                g->setFont(f);
    }
#endif
    emit fontApplied(f);
}

// --- start -------------------------------------------------------------------------

void TMainFrm::buildSkinMenu()
{
    SkinMenu->clear();
    delete skinGroup_;
    skinGroup_ = new QActionGroup(this);
    skinGroup_->setExclusive(false);
    QString name = dm_->readSetting(-1);
    if (name == QLatin1String("0"))
        name.clear();
    const QString folder = dm_->programFolder() + QStringLiteral("Skins/");
    SkinNone = SkinMenu->addAction(QStringLiteral("无"));
    SkinNone->setObjectName(QStringLiteral("SkinNone"));
    skinGroup_->addAction(SkinNone);
    setTicked(SkinNone, name.isEmpty() || !QFileInfo(folder + name).isFile());
    SkinMenu->addSeparator();
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.skn")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& fi : files) {
        const QString caption = fi.fileName().trimmed();
        QAction* a = SkinMenu->addAction(caption);
        a->setObjectName(QStringLiteral("Skin:") + caption);
        a->setData(caption);
        skinGroup_->addAction(a);
        setTicked(a, caption == name);
    }
    connect(skinGroup_, &QActionGroup::triggered, this, &TMainFrm::SkinClick);
}

void TMainFrm::openDatasets()
{
    dm_->bindToCurrentUser();
    auto open = [this](RecordSet* rs) {
        if (rs->open())
            return;
        messages_->show(QStringLiteral("程序错误"),
                        TDataModule1::errorText(QStringLiteral("查询记录错误: "), rs->sql().isEmpty() ? rs->table() : rs->sql(),
                                                rs->lastError()),
                        MsgIcon::Critical);
    };
    for (RecordSet* rs : {dm_->ADOQuery6, dm_->ADOQuery7, dm_->ADOQuery8, dm_->ADOQuery9, dm_->ADOQuery10})
        open(rs);
    // The ledger dataset is reopened when its view is set (list refresh).
    if (dm_->ADOTable1->isOpen())
        dm_->refresh(dm_->ADOTable1);
    for (RecordSet* rs : {dm_->ADOTable2, dm_->ADOTable3, dm_->ADOTable4})
        open(rs);
}

void TMainFrm::fillStatusBar()
{
    StatusPanel[2]->setText(QStringLiteral("用户： 【") + dm_->currentUserName() + QStringLiteral("】"));
    StatusPanel[3]->setText(Dates::longText(QDate::currentDate()));
}

void TMainFrm::setMenuMarks()
{
    MenuShowLogin->setEnabled(dm_->readSetting(0) != QLatin1String("0"));
    setTicked(MenuMute, dm_->readSetting(1) == QLatin1String("1"));
    setTicked(ActTransferVisible, dm_->readSetting(2) == QLatin1String("1"));
    const bool bar = dm_->readSetting(4) == QLatin1String("1");
    ToolBar1->setVisible(bar);
    setTicked(MenuToolbar, bar);
}

// --- tree ----------------------------------------------------------------------------

QTreeWidgetItem* TMainFrm::addNode(QTreeWidgetItem* parent, const QString& typeId, const QString& name,
                                   const QString& flag, bool fund)
{
    auto* n = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
    n->setText(0, name);
    n->setData(0, CategoryTree::TypeIdRole, typeId);
    n->setData(0, CategoryTree::TypeNameRole, name);
    n->setData(0, CategoryTree::TypeFlagRole, flag);
    n->setData(0, CategoryTree::FundFlagRole, fund);
    n->setIcon(0, Icons::forNode(typeId, flag, fund));
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    n->setFlags(f);
    return n;
}

void TMainFrm::setNodeCode(QTreeWidgetItem* n, const QString& code) { n->setData(0, CategoryTree::TypeIdRole, code); }

void TMainFrm::buildTree()
{
    building_ = true;
    TreeView1->clear();
    currentNode_ = nullptr;
    const QVector<TreeCatalogue::TypeRow> rows = TreeCatalogue::listInUse(*dm_);
    QTreeWidgetItem* root = nullptr;
    QTreeWidgetItem* first = nullptr;
    for (const TreeCatalogue::TypeRow& r : rows) {
        if (r.typeFlag == QLatin1String("0")) {
            root = addNode(nullptr, r.typeId, r.typeName, r.typeFlag, r.fundFlag);
            if (!first)
                first = root;
            continue;
        }
        if (!root)
            continue;
        addNode(root, r.typeId, r.typeName, r.typeFlag, r.fundFlag);
        const int k = CategoryTree::typeId(root).toInt();
        if (k >= 1 && k <= layout_.treeStat.size() && layout_.treeStat.at(k - 1) == QLatin1Char('1'))
            root->setExpanded(true);
    }
    building_ = false;
    if (first)
        TreeView1->setCurrentItem(first);
    treeSelectionChanged();
    setMenuMarks();
}

void TMainFrm::treeSelectionChanged()
{
    currentNode_ = TreeView1->currentItem();
    pageSwitch();
    listRefresh();
    emit nodeChanged();
}

void TMainFrm::selectNode(const QString& typeId)
{
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* r = TreeView1->topLevelItem(i);
        if (CategoryTree::typeId(r) == typeId) {
            TreeView1->setCurrentItem(r);
            return;
        }
        for (int j = 0; j < r->childCount(); ++j)
            if (CategoryTree::typeId(r->child(j)) == typeId) {
                TreeView1->setCurrentItem(r->child(j));
                return;
            }
    }
}

QString TMainFrm::currentTypeId() const { return CategoryTree::typeId(currentNode_); }
QString TMainFrm::currentTypeFlag() const { return CategoryTree::typeFlag(currentNode_); }
QString TMainFrm::branchCode() const { return currentTypeId().left(1); }
QWidget* TMainFrm::currentPage() const { return clientArea->currentWidget(); }

RecordSet* TMainFrm::decidingDataset(const QString& b) const
{
    if (b == QLatin1String("4"))
        return dm_->ADOTable2;
    if (b == QLatin1String("5"))
        return dm_->ADOTable3;
    if (b == QLatin1String("6") || b == QLatin1String("8") || b == QLatin1String("9") || b == QLatin1String("A"))
        return dm_->ADOTable4;
    return dm_->ADOTable1;
}

void TMainFrm::pageSwitch()
{
    auto setTabs = [this](bool visible) {
        for (int i = 0; i < PageControl1->count(); ++i) {
            const QString t = PageControl1->tabText(i);
            if (t == QStringLiteral("盈余统计") || t == QStringLiteral("余额变化"))
                PageControl1->setTabVisible(i, visible);
        }
    };
    if (!currentNode_) {
        for (QAction* a : {DirProperty, DirAdd, DirEdit, DirDel})
            a->setEnabled(false);
        setTabs(false);
        return;
    }
    const QString b = branchCode();
    // The family members root changes nothing.
    if (b == QLatin1String("7"))
        return;
    if (!CategoryTree::isRoot(currentNode_)) {
        DirProperty->setEnabled(b == QLatin1String("1"));
        DirAdd->setEnabled(false);
        DirEdit->setEnabled(true);
        DirDel->setEnabled(true);
    } else {
        DirProperty->setEnabled(false);
        DirAdd->setEnabled(!(b == QLatin1String("4") || b == QLatin1String("7") || b == QLatin1String("8")
                             || b == QLatin1String("9")));
        DirEdit->setEnabled(false);
        DirDel->setEnabled(false);
    }
    QWidget* page = ledgerPage;
    bool search = true;
    bool listActions = false;
    if (b == QLatin1String("4")) {
        page = planPage;
        search = false;
    } else if (b == QLatin1String("5")) {
        page = addressPage;
    } else if (b == QLatin1String("6")) {
        page = memoPage;
    } else if (b == QLatin1String("8")) {
        page = Panel9;
    } else if (b == QLatin1String("9")) {
        page = Panel8;
        search = false;
    } else if (b == QLatin1String("A")) {
        page = DBGridInvt;
    } else {
        listActions = true;
        setTabs(b == QLatin1String("1"));
    }
    clientArea->setCurrentWidget(page);
    shownBranch_ = b;
    DirSearch->setEnabled(search);
    ActTransferVisible->setEnabled(listActions);
    ActSelectAll->setEnabled(listActions);
    updateUndoState();
}

void TMainFrm::updateUndoState()
{
    if (shownBranch_.isEmpty())
        return;
    RecordSet* rs = decidingDataset(shownBranch_);
    const bool editing = rs && rs->isEditing();
    ActUndo->setEnabled(editing);
    if (editing)
        ActDel->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    else
        ActDel->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_Delete)});
}

void TMainFrm::listRefresh()
{
    const QString b = branchCode();
    if (!currentNode_)
        return;
    if (b == QLatin1String("4"))
        StatusPanel[1]->clear();
    if (listRefreshHook)
        listRefreshHook(b);
}

void TMainFrm::refreshBalances()
{
    if (dm_->ADOQuery6->isOpen())
        dm_->refresh(dm_->ADOQuery6);
    balanceGrid->updateFooters();
}

void TMainFrm::refreshClassLists(const QString& cls, bool withDataset, bool recalcFooters)
{
    auto reopen = [this](RecordSet* rs) {
        if (rs->isOpen())
            dm_->refresh(rs);
    };
    if (cls == QLatin1String("1"))
        reopen(dm_->ADOQuery6);
    else if (cls == QLatin1String("2") || cls == QLatin1String("3"))
        reopen(dm_->ADOQuery9);
    else if (cls == QLatin1String("5"))
        reopen(dm_->ADOQuery7);
    else if (cls == QLatin1String("6"))
        reopen(dm_->ADOQuery10);
    if (!withDataset)
        return;
    if (cls == QLatin1String("1") || cls == QLatin1String("2") || cls == QLatin1String("3")) {
        if (!dm_->ADOTable1->isEditing())
            reopen(dm_->ADOTable1);
        if (cls == QLatin1String("1") && recalcFooters)
            balanceGrid->updateFooters();
    } else if (cls == QLatin1String("5")) {
        if (!dm_->ADOTable3->isEditing())
            reopen(dm_->ADOTable3);
    } else if (cls == QLatin1String("6")) {
        if (!dm_->ADOTable4->isEditing())
            reopen(dm_->ADOTable4);
    }
}

static int runDialog(const std::function<int(QDialog*)>& exec, QDialog* d)
{
    return exec ? exec(d) : d->exec();
}

int TMainFrm::runDialogHook(QDialog& d) { return runDialog(execDialog, &d); }

void TMainFrm::DirAddExecute()
{
    if (!currentNode_ || !CategoryTree::isRoot(currentNode_))
        return;
    dm_->clickSound();
    QTreeWidgetItem* cls = currentNode_;
    cls->setExpanded(true);
    const QString c = CategoryTree::typeId(cls);
    QString code;
    if (c == QLatin1String("1")) {
        TActInfoFrm d(dm_, desktop_, TActInfoFrm::Add, c, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        code = d.newCode();
    } else if (c == QLatin1String("2") || c == QLatin1String("3")) {
        TAddTypeFrm d(dm_, TAddTypeFrm::Add, c, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        code = d.newCode();
    } else {
        TAddOtherTypeFrm d(dm_, TAddTypeFrm::Add, c, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        code = d.newCode();
    }
    TreeCatalogue::TypeRow row;
    if (code.isEmpty() || !TreeCatalogue::readType(*dm_, code, &row))
        return;
    addNode(cls, row.typeId, row.typeName, row.typeFlag, row.fundFlag);
    refreshClassLists(c, false, false);
}

void TMainFrm::DirEditExecute()
{
    if (!currentNode_ || CategoryTree::isRoot(currentNode_))
        return;
    dm_->clickSound();
    QTreeWidgetItem* n = currentNode_;
    const QString code = CategoryTree::typeId(n);
    const QString flag = CategoryTree::typeFlag(n);
    QString name;
    if (flag == QLatin1String("1")) {
        TActInfoFrm d(dm_, desktop_, TActInfoFrm::Edit, code, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        name = d.TypeNameEdit->text();
    } else if (flag == QLatin1String("2") || flag == QLatin1String("3")) {
        TAddTypeFrm d(dm_, TAddTypeFrm::Edit, code, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        name = d.TypeNameEdit->text();
    } else {
        TAddOtherTypeFrm d(dm_, TAddTypeFrm::Edit, code, this);
        if (runDialog(execDialog, &d) != QDialog::Accepted)
            return;
        name = d.TypeNameEdit->text();
    }
    n->setText(0, name);
    n->setData(0, CategoryTree::TypeNameRole, name);
    TreeCatalogue::TypeRow row;
    if (TreeCatalogue::readType(*dm_, code, &row)) {
        n->setData(0, CategoryTree::FundFlagRole, row.fundFlag);
        n->setIcon(0, Icons::forNode(code, flag, row.fundFlag));
    }
    refreshClassLists(code.left(1), true, true);
}

void TMainFrm::DirDelExecute()
{
    if (!currentNode_ || CategoryTree::isRoot(currentNode_))
        return;
    dm_->clickSound();
    QTreeWidgetItem* n = currentNode_;
    const QString code = CategoryTree::typeId(n);
    const QString flag = CategoryTree::typeFlag(n);
    if (!messages_->confirm(QStringLiteral("警告"), QStringLiteral("删除当前分类将会结束该分类的使用权，确实要删除吗？"),
                            MsgIcon::Warning))
        return;
    TDataModule1::Work work(*dm_);
    bool ok = true;
    if (flag == QLatin1String("1")) {
        TreeCatalogue::TypeRow row;
        if (TreeCatalogue::readType(*dm_, code, &row) && !row.balance.belowCent()
            && !messages_->confirm(QStringLiteral("重要提示"), QStringLiteral("帐户余额不是0，是否继续？"), MsgIcon::Question))
            return;
        ok = TreeCatalogue::deleteDetails(*dm_, code);
    }
    ok = ok && TreeCatalogue::retireType(*dm_, code);
    if (!ok || !work.commit())
        return;
    delete n; // the tree selects a neighbour and shows its page
    if (currentNode_ == n)
        currentNode_ = nullptr;
    treeSelectionChanged();
    refreshClassLists(code.left(1), true, true);
}

void TMainFrm::DirPropertyExecute()
{
    if (!currentNode_ || CategoryTree::isRoot(currentNode_) || CategoryTree::typeFlag(currentNode_) != QLatin1String("1"))
        return;
    dm_->clickSound();
    TActInfoFrm d(dm_, desktop_, TActInfoFrm::View, CategoryTree::typeId(currentNode_), this);
    runDialog(execDialog, &d);
}

void TMainFrm::TreeView1DragDrop(QTreeWidgetItem* source, QTreeWidgetItem* target)
{
    if (!source || !target || source == target)
        return;
    if (CategoryTree::isRoot(source)) {
        messages_->info(QStringLiteral("大类不允许移动！"));
        return;
    }
    if (CategoryTree::typeFlag(target) != CategoryTree::typeFlag(source) || CategoryTree::isRoot(target)) {
        messages_->info(QStringLiteral("类别不能移到别的分类！"));
        return;
    }
    const QString a = CategoryTree::typeId(source);
    const QString b = CategoryTree::typeId(target);
    // A row being edited holds the old codes (its key among them): it is
    // stored first, and nothing moves while it cannot be.
    postPending(a.left(1));
    if (RecordSet* rs = decidingDataset(a.left(1)); rs && rs->isEditing())
        return;
    QString newCode;
    if (!TreeCatalogue::moveMember(*dm_, a, b, &newCode))
        return;
    QTreeWidgetItem* parent = source->parent();
    building_ = true;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* c = parent->child(i);
        setNodeCode(c, TreeCatalogue::codeAfterMove(CategoryTree::typeId(c), a.toInt(), b.toInt()));
    }
    parent->takeChild(parent->indexOfChild(source));
    parent->insertChild(parent->indexOfChild(target), source);
    TreeView1->setCurrentItem(source);
    building_ = false;
    currentNode_ = source;
    refreshClassLists(a.left(1), true, false);
    pageSwitch();
    listRefresh();
    emit nodeChanged();
}

void TMainFrm::DBGridBalanceCellClick(int row)
{
    dm_->clickSound();
    const QString id = balanceGrid->model()->typeId(row);
    QTreeWidgetItem* first = TreeView1->topLevelItem(0);
    if (!first || id.isEmpty())
        return;
    if (CategoryTree::typeFlag(first) == QLatin1String("0"))
        first->setExpanded(true);
    for (int i = 0; i < first->childCount(); ++i)
        if (CategoryTree::typeId(first->child(i)) == id) {
            TreeView1->setCurrentItem(first->child(i));
            break;
        }
}

// --- small commands ----------------------------------------------------------------------

void TMainFrm::ToolbarClick()
{
    dm_->clickSound();
    const bool show = dm_->readSetting(4) != QLatin1String("1");
    dm_->writeSetting(4, show ? QStringLiteral("1") : QStringLiteral("0"));
    ToolBar1->setVisible(show);
    setTicked(MenuToolbar, show);
}

void TMainFrm::MuteClick()
{
    dm_->clickSound();
    const bool mute = dm_->readSetting(1) != QLatin1String("1");
    dm_->writeSetting(1, mute ? QStringLiteral("1") : QStringLiteral("0"));
    setTicked(MenuMute, mute);
}

void TMainFrm::ShowLoginClick()
{
    dm_->clickSound();
    Registry::removeInstallPath();
    dm_->writeSetting(0, QStringLiteral("0"));
    messages_->info(QStringLiteral("下次运行时将提示用户登录！"));
}

void TMainFrm::ShortcutClick()
{
    dm_->clickSound();
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) {
        const QString exe = QCoreApplication::applicationFilePath();
        QString quoted = exe;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""))
            .replace(QLatin1Char('`'), QStringLiteral("\\`")).replace(QLatin1Char('$'), QStringLiteral("\\$"));
        const QString icon = dm_->programFolder() + QStringLiteral("Images/zelko.svg");
        QFile f(desktop + QStringLiteral("/Zelko家庭理财V2.8.desktop"));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Zelko家庭理财V2.8\n"
                                          "Comment=家庭理财记帐\nExec=\"") + quoted + QStringLiteral("\"\n");
            if (QFileInfo(icon).isFile())
                text += QStringLiteral("Icon=") + icon + QStringLiteral("\n");
            text += QStringLiteral("Terminal=false\nCategories=Office;Finance;\n");
            f.write(text.toUtf8());
            f.close();
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        }
    }
    messages_->info(QStringLiteral("创建快捷方式完成！"));
}

void TMainFrm::SkinClick(QAction* item)
{
    dm_->clickSound();
    for (QAction* a : skinGroup_->actions())
        setTicked(a, a == item);
    const QString name = item == SkinNone ? QString() : item->data().toString();
    const QString path = dm_->programFolder() + QStringLiteral("Skins/") + name;
    if (ISkinEngine* skins = dm_->skins()) {
        if (!name.isEmpty() && QFileInfo(path).isFile())
            skins->load(path);
        else
            skins->off();
    }
    dm_->writeSetting(-1, name);
}

void TMainFrm::FontClick()
{
    dm_->clickSound();
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, layout_.font(), this, QStringLiteral("字体"));
    if (ok)
        applyFont(f);
}

void TMainFrm::OptionsClick()
{
    dm_->clickSound();
    runHook(QStringLiteral("Options"));
}

void TMainFrm::HelpExecute()
{
    const QString folder = dm_->programFolder();
    QString path = folder + QStringLiteral("account.chm");
    for (const char* name : {"account.chm", "account.html", "account.htm", "account.pdf"}) {
        if (QFileInfo(folder + QString::fromLatin1(name)).isFile()) {
            path = folder + QString::fromLatin1(name);
            break;
        }
    }
    if (desktop_)
        desktop_->openUrl(QUrl::fromLocalFile(path).toString());
}

void TMainFrm::CalcExecute()
{
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!exe.isEmpty()) {
            QProcess::startDetached(exe, {});
            return;
        }
    }
}

// --- close -----------------------------------------------------------------------------------

bool TMainFrm::backupDue(const QString& interval, const QString& lastBackup, const QDate& today, int* days)
{
    bool ok = false;
    const int n = interval.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return false;
    QDate last = lastBackup.trimmed() == QLatin1String("0") ? QDate(2008, 1, 1) : Dates::parse(lastBackup);
    if (!last.isValid())
        last = QDate(2008, 1, 1);
    const qint64 d = last.daysTo(today);
    if (days)
        *days = int(d);
    return today > last && d >= n;
}

void TMainFrm::backupRoutine() { runHook(QStringLiteral("BackupRoutine")); }

void TMainFrm::closeEvent(QCloseEvent* e)
{
    if (closed_) {
        e->accept();
        return;
    }
    closed_ = true;
    dm_->clickSound();
    actionPreStep(ActExit);
    int days = 0;
    if (backupDue(dm_->readSetting(10), dm_->readSetting(11), QDate::currentDate(), &days)) {
        if (messages_->confirm(QStringLiteral("提示"),
                               QStringLiteral("距上次数据备份已经") + QString::number(days)
                                   + QStringLiteral("天，现在是否要备份？"),
                               MsgIcon::Question))
            backupRoutine();
    }
    writeLayout();
    e->accept();
}
