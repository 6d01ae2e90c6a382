#include "categorytree.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMouseEvent>

CategoryTree::CategoryTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void CategoryTree::mousePressEvent(QMouseEvent* e)
{
    emit mousePressed();
    if (e->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(e->position().toPoint()))
            setCurrentItem(item);
        return;
    }
    QTreeWidget::mousePressEvent(e);
}

void CategoryTree::dragMoveEvent(QDragMoveEvent* e)
{
    // Dropping is accepted over the whole tree; what happens is decided on the drop.
    if (e->source() == this)
        e->acceptProposedAction();
    else
        e->ignore();
}

void CategoryTree::dropEvent(QDropEvent* e)
{
    if (e->source() != this) {
        e->ignore();
        return;
    }
    QTreeWidgetItem* target = itemAt(e->position().toPoint());
    QTreeWidgetItem* source = currentItem();
    // The tree never moves its items itself.
    e->setDropAction(Qt::IgnoreAction);
    e->accept();
    if (source && target && source != target)
        emit dropRequested(source, target);
}
