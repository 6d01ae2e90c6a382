#include "chartsinstall.h"

#include "categorytree.h"
#include "statisticstabs.h"
#include "tmainfrm.h"

#ifdef ZELKO_HAVE_GRIDS
#include "gridpages.h"
#endif

#include <QComboBox>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidgetItem>
#include <memory>

namespace {

// Only accounts have the surplus and balance tabs.
void applyTabVisibility(TMainFrm& frm, StatisticsTabs* t)
{
    const bool funds = frm.branchCode() == QLatin1String("1");
    frm.PageControl1->setTabVisible(frm.PageControl1->indexOf(t->TabSheet4), funds);
    frm.PageControl1->setTabVisible(frm.PageControl1->indexOf(t->TabSheet3), funds);
}

bool ledgerShown(TMainFrm& frm) { return frm.currentNode() && frm.currentPage() == static_cast<QWidget*>(frm.ledgerPage); }

} // namespace

StatisticsTabs* statisticsTabs(TMainFrm& frm) { return frm.PageControl1->findChild<StatisticsTabs*>(); }

void installCharts(TMainFrm& frm, TDataModule1& dm, IMessageBox&, IFileDialog&, IDesktop&)
{
    if (statisticsTabs(frm))
        return;
    auto* t = new StatisticsTabs(&dm, frm.PageControl1);
    TMainFrm* w = &frm;
    t->currentNode = [w] {
        StatisticsTabs::Node n;
        if (QTreeWidgetItem* i = w->currentNode()) {
            n.typeId = w->currentTypeId();
            n.typeFlag = w->currentTypeFlag();
            n.text = i->text(0);
            n.fund = CategoryTree::fundFlag(i);
        }
        return n;
    };
    t->setStatus0 = [w](const QString& s) { w->StatusPanel[0]->setText(s); };

    // The active tab follows every ledger query; a node change that ran no
    // query (no list pages built in) still redraws.
    auto drawnByQuery = std::make_shared<bool>(false);
#ifdef ZELKO_HAVE_GRIDS
    if (GridPages* gp = frm.gridPages()) {
        auto previous = gp->filters.afterLedgerQuery;
        gp->filters.afterLedgerQuery = [previous, t, w, drawnByQuery] {
            if (previous)
                previous();
            if (ledgerShown(*w)) {
                applyTabVisibility(*w, t);
                t->redraw();
                *drawnByQuery = true;
            }
        };
    }
#endif
    QObject::connect(&frm, &TMainFrm::nodeChanged, t, [t, w, drawnByQuery] {
        applyTabVisibility(*w, t);
        if (!*drawnByQuery && ledgerShown(*w))
            t->redraw();
        *drawnByQuery = false;
    });
    QObject::connect(&frm, &TMainFrm::fontApplied, t, [t](const QFont& f) { t->applyFont(f); });

    // The window already has its font and shows its first node.
    t->applyFont(frm.chosenFont());
    const int saved = frm.layoutValues().pageControl1;
    applyTabVisibility(frm, t);
    if (saved >= 0 && saved < frm.PageControl1->count() && frm.PageControl1->isTabVisible(saved))
        frm.PageControl1->setCurrentIndex(saved);
    if (ledgerShown(frm))
        t->redraw();
}
