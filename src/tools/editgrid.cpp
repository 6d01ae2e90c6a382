#include "editgrid.h"

#include "dates.h"
#include "money.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <algorithm>

EditGrid::EditGrid(const QString& keyField, QWidget* parent) : QTableWidget(parent), keyField_(keyField)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setToolTip(QStringLiteral("鼠标双击进入修改状态"));
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->setFixedWidth(14);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        if (savePending())
            sortBy(c);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void EditGrid::setColumns(const QVector<Column>& columns)
{
    columns_ = columns;
    setColumnCount(columns_.size());
    for (int i = 0; i < columns_.size(); ++i) {
        auto* h = new QTableWidgetItem(columns_[i].title);
        if (!columns_[i].hint.isEmpty())
            h->setToolTip(columns_[i].hint);
        setHorizontalHeaderItem(i, h);
        setColumnWidth(i, columns_[i].width);
    }
    fill();
}

void EditGrid::setOptions(const QString& field, const QVector<QPair<QVariant, QString>>& options)
{
    const int c = columnOf(field);
    if (c < 0)
        return;
    columns_[c].options = options;
    if (!isEditing())
        fill();
}

int EditGrid::columnOf(const QString& field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant EditGrid::key(int row) const
{
    return row >= 0 && row < records_.size() ? records_[row].value(keyField_) : QVariant();
}

QVariant EditGrid::value(int row, const QString& field) const
{
    return row >= 0 && row < records_.size() ? records_[row].value(field) : QVariant();
}

QString EditGrid::displayText(const Column& c, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return QString();
    switch (c.kind) {
    case Column::Number: {
        const double d = v.toDouble();
        QString t;
        if (c.grouping && c.decimals == 2)
            t = Money::fromDouble(d).display();
        else
            t = QString::number(d, 'f', c.decimals);
        return t + c.suffix;
    }
    case Column::Date: {
        const QDate d = Dates::fromIso(v.toString());
        return d.isValid() ? Dates::shortText(d) : v.toString();
    }
    case Column::Pick:
        for (const auto& o : c.options)
            if (o.first.toString() == v.toString())
                return o.second;
        return QString();
    case Column::Text:
        break;
    }
    return v.toString();
}

QString EditGrid::editText(const Column& c, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return QString();
    if (c.kind == Column::Number)
        return QString::number(v.toDouble(), 'g', 15);
    return displayText(c, v);
}

void EditGrid::fill()
{
    const QSignalBlocker block(this);
    setRowCount(records_.size());
    for (int r = 0; r < records_.size(); ++r)
        fillRow(r);
}

void EditGrid::fillRow(int r)
{
    const bool editing = isEditing() && r == editRow_;
    for (int c = 0; c < columns_.size(); ++c) {
        const Column& col = columns_[c];
        const QVariant v = records_[r].value(col.field);
        auto* item = new QTableWidgetItem(editing ? editText(col, v) : displayText(col, v));
        item->setData(Qt::UserRole, v);
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editing && col.kind != Column::Pick)
            f |= Qt::ItemIsEditable;
        item->setFlags(f);
        if (col.kind == Column::Number)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (editing && col.kind == Column::Pick)
            item->setToolTip(QStringLiteral("按空格键选择下一项"));
        setItem(r, c, item);
    }
}

void EditGrid::setRows(const QueryResult& rows, const QVariant& select)
{
    const QVariant keep = select.isValid() ? select : currentKey();
    records_.clear();
    for (int r = 0; r < rows.size(); ++r) {
        QVariantMap m;
        for (int c = 0; c < rows.columns.size(); ++c)
            m.insert(rows.columns[c], rows.value(r, c));
        records_ << m;
    }
    state_ = Browse;
    editRow_ = -1;
    applySort();
    fill();
    // Wide enough for what the rows hold; the grid scrolls sideways if need be.
    for (int c = 0; c < columns_.size(); ++c)
        setColumnWidth(c, std::max(columns_[c].width, sizeHintForColumn(c) + 6));
    int target = records_.isEmpty() ? -1 : 0;
    for (int r = 0; keep.isValid() && r < records_.size(); ++r)
        if (key(r).toString() == keep.toString())
            target = r;
    if (target >= 0)
        setCurrentCell(target, 0);
    setState(Browse);
}

void EditGrid::setState(State s)
{
    state_ = s;
    if (s == Browse) {
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionBehavior(QAbstractItemView::SelectRows);
    } else {
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                        | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
        setSelectionBehavior(QAbstractItemView::SelectItems);
    }
    emit stateChanged(s);
}

void EditGrid::startInsert(const QMap<QString, QVariant>& defaults)
{
    if (!savePending())
        return;
    QVariantMap m;
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m.insert(it.key(), it.value());
    // A new row goes where the cursor is when a column is sorted descending.
    int at = records_.size();
    if (sortColumn_ >= 0 && sortDesc_ && currentRow() >= 0)
        at = currentRow();
    records_.insert(at, m);
    editRow_ = at;
    state_ = Insert;
    fill();
    setState(Insert);
    setCurrentCell(at, 0);
    setFocus();
}

void EditGrid::startEdit()
{
    if (isEditing() || currentRow() < 0)
        return;
    editRow_ = currentRow();
    state_ = Edit;
    fillRow(editRow_);
    setState(Edit);
    setCurrentCell(editRow_, 0);
    setFocus();
}

bool EditGrid::savePending()
{
    if (!isEditing())
        return true;
    if (saving_)
        return false;
    // Take a value still being typed into a cell editor.
    if (QAbstractItemView::state() == QAbstractItemView::EditingState) {
        const auto editors = viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* ed : editors) {
            if (!ed->isVisible())
                continue;
            commitData(ed);
            closeEditor(ed, QAbstractItemDelegate::NoHint);
        }
    }
    QMap<QString, QString> values;
    for (int c = 0; c < columns_.size(); ++c) {
        QTableWidgetItem* it = item(editRow_, c);
        if (!it)
            continue;
        values.insert(columns_[c].field,
                      columns_[c].kind == Column::Pick ? it->data(Qt::UserRole).toString() : it->text());
    }
    const QVariant k = state_ == Insert ? QVariant() : key(editRow_);
    QString bad;
    saving_ = true;
    const bool ok = onSave ? onSave(k, values, &bad) : true;
    saving_ = false;
    if (!ok) {
        if (!isEditing())
            return true; // the window reloaded the grid meanwhile
        const int c = std::max(0, columnOf(bad));
        setCurrentCell(editRow_, c);
        setFocus();
        return false;
    }
    // onSave reloads the rows on success; make sure the grid is browsing.
    if (isEditing()) {
        state_ = Browse;
        editRow_ = -1;
        fill();
        setState(Browse);
    }
    return true;
}

void EditGrid::cancelPending()
{
    if (!isEditing())
        return;
    if (state_ == Insert)
        records_.removeAt(editRow_);
    state_ = Browse;
    editRow_ = -1;
    fill();
    setState(Browse);
}

void EditGrid::sortBy(int column)
{
    if (column < 0 || column >= columns_.size())
        return;
    sortDesc_ = column == sortColumn_ ? !sortDesc_ : false;
    sortColumn_ = column;
    const QVariant keep = currentKey();
    applySort();
    fill();
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, sortDesc_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    for (int r = 0; r < records_.size(); ++r)
        if (key(r).toString() == keep.toString())
            setCurrentCell(r, currentColumn() < 0 ? 0 : currentColumn());
}

static int compareValues(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    bool na = false, nb = false;
    const double da = a.toDouble(&na), db = b.toDouble(&nb);
    if (na && nb)
        return da < db ? -1 : (da > db ? 1 : 0);
    return QString::compare(a.toString(), b.toString());
}

void EditGrid::applySort()
{
    if (sortColumn_ < 0)
        return;
    const Column& c = columns_[sortColumn_];
    QStringList fields = c.sortFields.isEmpty() ? QStringList{c.field} : c.sortFields;
    const bool desc = sortDesc_;
    std::stable_sort(records_.begin(), records_.end(), [&](const QVariantMap& x, const QVariantMap& y) {
        for (int i = 0; i < fields.size(); ++i) {
            int r = compareValues(x.value(fields[i]), y.value(fields[i]));
            if (i == 0 && desc)
                r = -r;
            if (r != 0)
                return r < 0;
        }
        return false;
    });
}

void EditGrid::stepPick(int row, int column)
{
    Column& c = columns_[column];
    QTableWidgetItem* it = item(row, column);
    if (!it || c.options.isEmpty())
        return;
    const QString cur = it->data(Qt::UserRole).toString();
    int next = 0;
    for (int i = 0; i < c.options.size(); ++i)
        if (c.options[i].first.toString() == cur && !it->data(Qt::UserRole).isNull())
            next = (i + 1) % c.options.size();
    it->setData(Qt::UserRole, c.options[next].first);
    it->setText(c.options[next].second);
}

void EditGrid::keyPressEvent(QKeyEvent* e)
{
    if (isEditing() && e->key() == Qt::Key_Space && currentRow() == editRow_ && currentColumn() >= 0
        && columns_[currentColumn()].kind == Column::Pick) {
        stepPick(editRow_, currentColumn());
        return;
    }
    if (isEditing() && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state_ != Browse
        && !isPersistentEditorOpen(currentIndex())) {
        savePending();
        return;
    }
    if (isEditing() && e->key() == Qt::Key_Escape) {
        cancelPending();
        return;
    }
    QTableWidget::keyPressEvent(e);
}

void EditGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!isEditing()) {
        emit editRequested();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(e);
}

void EditGrid::focusMoved(QWidget* now)
{
    if (!isEditing() || saving_ || !now)
        return;
    if (now == this || isAncestorOf(now))
        return;
    // A message box of our own save is not "leaving"; a button saves through
    // its own command, so that a refused row is reported once.
    if (now->window() != window() || qobject_cast<QAbstractButton*>(now))
        return;
    savePending();
}
