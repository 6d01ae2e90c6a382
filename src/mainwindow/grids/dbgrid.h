#pragma once
// The list grid of the main window: a QTableView over a record set with the
// program's columns (titles, widths, colours, lookups, pick lists, check box,
// masked date editor), a footer row kept aligned with the header sections,
// title-click sort markers, the two modes (browsing: whole-row selection;
// editing: cell editing), Enter to the next cell with read-only columns
// skipped, refusals when leaving a column, and the pending-edit post when the
// focus leaves the grid.

#include "recordset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class IMessageBox;

struct GridColumn {
    QString field;            // record set field; for a lookup the key field
    QString name;             // the column's own name (TypeName2 ...), defaults to field
    QString title;
    int width = 80;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color;             // font colour of the column (invalid: default)
    bool bold = false;
    QString hint;             // title hint
    bool sortable = true;
    bool elide = false;       // "..." when cut
    bool checkBox = false;
    bool date = false;        // masked date editor, shown "yyyy-m-d"
    bool money = false;       // "###,##0.00"
    bool readOnly = false;    // always read-only
    bool inputMethod = true;  // false: the input method is off in its editor (dates, amounts)
    std::function<bool()> dynamicReadOnly; // read-only while it says so
    // Lookup: shows lookup's nameField for the row whose lookupKey equals field.
    QPointer<RecordSet> lookup;
    QString lookupKey = QStringLiteral("TypeID");
    QString lookupName = QStringLiteral("TypeName");
    QStringList pickList;     // fixed values (the plan's kinds)
    QString footer;           // footer text
    QColor footerColor;
    bool footerBold = false;
    Qt::Alignment footerAlign = Qt::AlignRight | Qt::AlignVCenter;

    QString columnName() const { return name.isEmpty() ? field : name; }
    bool isLookup() const { return !lookup.isNull(); }
};

// Rows of a record set shown through the grid's columns.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(RecordSet* rs, QObject* parent = nullptr);
    RecordSet* recordSet() const { return rs_; }
    void setColumns(const QVector<GridColumn>& c);
    const QVector<GridColumn>& columns() const { return cols_; }
    GridColumn& column(int c) { return cols_[c]; }
    int columnOf(const QString& name) const;
    IMessageBox* messages = nullptr; // for refused entries
    // While the record set adds or drops a row the view's cursor follows it;
    // that is no move of the user's.
    int rowsChanging = 0;

    // Extra roles (background, foreground, font) by row and column.
    std::function<QVariant(int row, int column, int role)> roleProvider;
    // Typed text of a column before it is stored; false cancels the update.
    std::function<bool(int column, QString* text)> beforeSetText;
    // Alternate row colours (odd, even record number); invalid: none.
    QColor oddColor, evenColor;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QVariant value(int row, const QString& field) const; // edit buffer on the current row while editing
    QString displayText(int row, int column) const;
    QString lookupName(const GridColumn& c, const QString& key) const;
    bool isColumnReadOnly(int c) const;

private:
    void reloadLookups();
    RecordSet* rs_;
    QVector<GridColumn> cols_;
    mutable QHash<const RecordSet*, QHash<QString, QString>> lookupCache_;
    QSet<const RecordSet*> watched_;
};

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const override;
    void setEditorData(QWidget* editor, const QModelIndex& i) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const override;
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override;
    bool editorEvent(QEvent* e, QAbstractItemModel* m, const QStyleOptionViewItem& o, const QModelIndex& i) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* makeEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const;
};

class GridFooter;

class DBGrid : public QTableView {
    Q_OBJECT
public:
    DBGrid(RecordSet* rs, const QString& name, QWidget* parent = nullptr);
    ~DBGrid() override;

    RecordSet* recordSet() const { return rs_; }
    GridModel* gridModel() const { return model_; }
    void setColumns(const QVector<GridColumn>& c);
    int columnOf(const QString& name) const { return model_->columnOf(name); }
    GridColumn& column(int c) { return model_->column(c); }

    // --- modes -------------------------------------------------------------
    void setEditingMode(bool editing);
    bool isEditingMode() const { return editing_; }
    // Focuses the column (by column name or field) on the current row.
    void focusColumn(const QString& name);

    // --- footers -----------------------------------------------------------
    void setFooterVisible(bool on);
    bool footerVisible() const { return footerOn_; }
    void setFooter(const QString& columnName, const QString& text, const QColor& color = QColor(),
                   bool bold = false, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);
    QString footerText(const QString& columnName) const;
    GridFooter* footerWidget() const { return footer_; }

    // --- sort markers --------------------------------------------------------
    enum Marker { NoMarker, Ascending, Descending };
    Marker marker(int column) const { return markers_.value(column, NoMarker); }
    void setMarker(int column, Marker m);
    bool anyDescending() const;
    int markedColumn() const;
    // Title click: toggles the marker and asks for the sort (onSort).
    void titleClick(int column);
    // Re-applies the current marker without toggling (after a re-query).
    void reapplySort();
    // Builds the order by column name and direction; set by the page.
    std::function<QString(const QString& columnName, const QString& dir)> sortOrder;
    bool sortEnabled = true; // false: the plan keeps "ID ASC"

    // --- hooks ---------------------------------------------------------------
    // Leaving a column while editing; false refuses the move (the hook shows the message).
    std::function<bool(int column)> onColumnExit;
    // Space on a column while editing; true when handled.
    std::function<bool(int column)> onSpace;
    // Double click while browsing (the edit command).
    std::function<void()> onEditRequest;
    // Click on a cell while browsing.
    std::function<void(int row, int column)> onCellClick;
    // Pending-edit post when the focus leaves the grid.
    void pendingPost();
    // Closes an open cell editor without taking its text.
    void discardEditor();
    // Steps a lookup column to the next value of its list.
    bool stepLookup(int column);
    int layoutRows() const;

    void sizeHintsFromColumns();
    // Keeps the first column in place when the grid scrolls sideways.
    void setFrozenFirstColumn(bool on);
    QTableView* frozenView() const { return frozen_; }

signals:
    void footersNeeded();
    // Cell editing switched on (true) or back to row selection (false).
    void editingModeChanged(bool editing);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* e) override;
    bool viewportEvent(QEvent* e) override;

private:
    void syncFromRecordSet();
    void selectCurrent(const QModelIndex& i);
    void moveToNextCell();
    int nextEditableColumn(int from) const; // -1 when none
    bool focusInsideGrid() const;

    RecordSet* rs_;
    GridModel* model_;
    GridFooter* footer_;
    void placeFrozen();
    QTableView* frozen_ = nullptr;
    bool footerOn_ = false;
    bool editing_ = false;
    bool guard_ = false;
    QHash<int, Marker> markers_;
    friend class GridFooter;
};
