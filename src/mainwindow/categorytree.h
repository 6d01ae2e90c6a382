#pragma once
// The category tree: a read-only two-level tree of the catalogue whose nodes
// carry their catalogue row. Any mouse press plays the click sound (through
// the pressed signal); the right button selects the node under the pointer
// before the pop-up menu opens. Dropping a node on another asks the owner
// to move it (the owner decides and re-keys).

#include <QTreeWidget>

class CategoryTree : public QTreeWidget {
    Q_OBJECT
public:
    enum Role { TypeIdRole = Qt::UserRole + 1, TypeNameRole, TypeFlagRole, FundFlagRole };
    explicit CategoryTree(QWidget* parent = nullptr);

    static QString typeId(const QTreeWidgetItem* n) { return n ? n->data(0, TypeIdRole).toString() : QString(); }
    static QString typeFlag(const QTreeWidgetItem* n) { return n ? n->data(0, TypeFlagRole).toString() : QString(); }
    static bool fundFlag(const QTreeWidgetItem* n) { return n && n->data(0, FundFlagRole).toBool(); }
    static bool isRoot(const QTreeWidgetItem* n) { return n && !n->parent(); }

signals:
    void mousePressed();
    void dropRequested(QTreeWidgetItem* source, QTreeWidgetItem* target);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};
