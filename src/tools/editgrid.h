#pragma once
// The grid of a settings table: read-only with whole-row selection while
// browsing; "添加" and "修改" switch it to cell editing of one row, which is
// saved when the grid loses the focus, a title is clicked or the window asks.
// Title clicks sort the rows in memory, toggling ascending and descending.

#include "database.h"

#include <QMap>
#include <QTableWidget>
#include <functional>

class EditGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        int width = 80;
        enum Kind { Text, Number, Date, Pick } kind = Text;
        int decimals = 2;
        bool grouping = false;           // thousands separators
        QString suffix;                  // "%" and the like
        QVector<QPair<QVariant, QString>> options; // Pick: stored value and its text
        QStringList sortFields;          // sort by these (the first in the chosen direction)
        QString hint;
    };
    enum State { Browse, Edit, Insert };

    EditGrid(const QString& keyField, QWidget* parent = nullptr);
    void setColumns(const QVector<Column>& columns);
    void setOptions(const QString& field, const QVector<QPair<QVariant, QString>>& options);
    const QVector<Column>& columns() const { return columns_; }

    // Shows the rows of a query, in the current sort; keeps the current key
    // when it is still there (or goes to `select` when given).
    void setRows(const QueryResult& rows, const QVariant& select = QVariant());
    int rowCount() const { return records_.size(); }
    QVariant key(int row) const;
    QVariant currentKey() const { return key(currentRow()); }
    QVariant value(int row, const QString& field) const;

    State editState() const { return state_; }
    bool isEditing() const { return state_ != Browse; }
    void startInsert(const QMap<QString, QVariant>& defaults = {});
    void startEdit();
    // Saves a pending row through onSave; true when nothing is pending any more.
    bool savePending();
    void cancelPending();

    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return sortDesc_; }
    void sortBy(int column); // toggles; a new column starts ascending

    // The row's key (null for a new row) and typed texts by field (Pick
    // columns give their stored value). Returns false and names the field
    // to go back to when the row was refused (the window has said why).
    std::function<bool(const QVariant& key, const QMap<QString, QString>& values, QString* badField)> onSave;

signals:
    void stateChanged(EditGrid::State state);
    void editRequested(); // double-click while browsing

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QString displayText(const Column& c, const QVariant& v) const;
    QString editText(const Column& c, const QVariant& v) const;
    void fill();
    void fillRow(int row);
    void setState(State s);
    void stepPick(int row, int column);
    void applySort();
    int columnOf(const QString& field) const;
    void focusMoved(QWidget* now);

    QString keyField_;
    QVector<Column> columns_;
    QVector<QVariantMap> records_;
    State state_ = Browse;
    int editRow_ = -1;
    int sortColumn_ = -1;
    bool sortDesc_ = false;
    bool saving_ = false;
};
