#include "dbgrid.h"

#include "dates.h"
#include "fieldrules.h"
#include "money.h"
#include "services.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

// --- footer ------------------------------------------------------------------

class GridFooter : public QWidget {
public:
    explicit GridFooter(DBGrid* grid) : QWidget(grid), grid_(grid) {}
    QSize sizeHint() const override { return {100, fontMetrics().height() + 8}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QPalette pal = palette();
        p.fillRect(rect(), pal.button());
        QHeaderView* h = grid_->horizontalHeader();
        const int left = grid_->verticalHeader()->isVisible() ? grid_->verticalHeader()->width() : 0;
        p.setPen(pal.mid().color());
        p.drawLine(0, 0, width(), 0);
        if (left > 0)
            p.drawLine(left - 1, 0, left - 1, height());
        p.setClipRect(left, 0, width() - left, height());
        GridModel* m = grid_->gridModel();
        for (int c = 0; c < m->columnCount(); ++c) {
            if (h->isSectionHidden(c))
                continue;
            const int x = left + h->sectionViewportPosition(c);
            const int w = h->sectionSize(c);
            if (x + w < left || x > width())
                continue;
            const QRect r(x, 1, w, height() - 1);
            p.setPen(pal.mid().color());
            p.drawLine(r.right(), 0, r.right(), height());
            const GridColumn& col = m->columns().at(c);
            if (col.footer.isEmpty())
                continue;
            QFont f = font();
            f.setBold(col.footerBold);
            p.setFont(f);
            p.setPen(col.footerColor.isValid() ? col.footerColor : pal.buttonText().color());
            p.drawText(r.adjusted(3, 0, -4, 0), int(col.footerAlign), col.footer);
        }
    }

private:
    DBGrid* grid_;
};

// --- helpers -------------------------------------------------------------------

namespace {

Money toMoney(const QVariant& v)
{
    if (v.userType() == qMetaTypeId<Money>())
        return v.value<Money>();
    if (v.typeId() == QMetaType::Double)
        return Money::fromDouble(v.toDouble());
    if (v.typeId() == QMetaType::QString) {
        Money m;
        Money::parse(v.toString(), &m);
        return m;
    }
    return Money::fromRaw(v.toLongLong());
}

QDate toDate(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return Dates::fromIso(v.toString());
}

} // namespace

// --- model ---------------------------------------------------------------------

GridModel::GridModel(RecordSet* rs, QObject* parent) : QAbstractTableModel(parent), rs_(rs)
{
    connect(rs, &RecordSet::reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(rs, &RecordSet::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    });
    connect(rs, &RecordSet::aboutToInsertRow, this, [this](int row) {
        ++rowsChanging;
        beginInsertRows({}, row, row);
    });
    connect(rs, &RecordSet::rowInserted, this, [this](int) {
        endInsertRows();
        --rowsChanging;
    });
    connect(rs, &RecordSet::aboutToRemoveRow, this, [this](int row) {
        ++rowsChanging;
        beginRemoveRows({}, row, row);
    });
    connect(rs, &RecordSet::rowRemoved, this, [this](int) {
        endRemoveRows();
        --rowsChanging;
    });
    connect(rs, &RecordSet::stateChanged, this, [this] {
        const int n = rowCount();
        if (n > 0) {
            emit headerDataChanged(Qt::Vertical, 0, n - 1);
            emit dataChanged(index(0, 0), index(n - 1, columnCount() - 1));
        }
    });
    connect(rs, &RecordSet::currentChanged, this, [this] {
        const int n = rowCount();
        if (n > 0)
            emit headerDataChanged(Qt::Vertical, 0, n - 1);
    });
}

void GridModel::setColumns(const QVector<GridColumn>& c)
{
    beginResetModel();
    cols_ = c;
    for (const GridColumn& col : cols_) {
        if (!col.lookup || watched_.contains(col.lookup.data()))
            continue;
        watched_.insert(col.lookup.data());
        connect(col.lookup.data(), &RecordSet::reset, this, [this] {
            lookupCache_.clear();
            const int n = rowCount();
            if (n > 0)
                emit dataChanged(index(0, 0), index(n - 1, columnCount() - 1));
        });
    }
    endResetModel();
}

int GridModel::columnOf(const QString& name) const
{
    for (int i = 0; i < cols_.size(); ++i)
        if (cols_[i].columnName().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    for (int i = 0; i < cols_.size(); ++i)
        if (cols_[i].field.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rs_->recordCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_.size(); }

QVariant GridModel::value(int row, const QString& field) const { return rs_->value(row, field); }

QString GridModel::lookupName(const GridColumn& c, const QString& key) const
{
    const RecordSet* src = c.lookup.data();
    if (!src || key.isEmpty())
        return QString();
    QHash<QString, QString>& map = lookupCache_[src];
    if (map.isEmpty()) {
        for (int r = 0; r < src->recordCount(); ++r) {
            const QString k = src->value(r, c.lookupKey).toString();
            if (!map.contains(k))
                map.insert(k, src->value(r, c.lookupName).toString());
        }
        map.insert(QString(), QString());
    }
    return map.value(key);
}

QString GridModel::displayText(int row, int column) const
{
    const GridColumn& c = cols_.at(column);
    if (c.checkBox)
        return QString();
    if (c.isLookup())
        return lookupName(c, value(row, c.field).toString());
    const QVariant v = value(row, c.field);
    if (v.isNull())
        return QString();
    if (c.money)
        return toMoney(v).display();
    if (c.date)
        return Dates::shortText(toDate(v));
    return rs_->displayText(row, c.field);
}

bool GridModel::isColumnReadOnly(int c) const
{
    const GridColumn& col = cols_.at(c);
    return col.readOnly || rs_->isReadOnly() || (col.dynamicReadOnly && col.dynamicReadOnly());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    const int c = index.column();
    const GridColumn& col = cols_.at(c);
    if (roleProvider && (role == Qt::BackgroundRole || role == Qt::ForegroundRole || role == Qt::FontRole)) {
        const QVariant v = roleProvider(row, c, role);
        if (v.isValid())
            return v;
    }
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, c);
    case Qt::EditRole: {
        const QVariant v = value(row, col.field);
        if (col.isLookup())
            return v.toString();
        if (col.date)
            return v.isNull() ? QString() : toDate(v).toString(QStringLiteral("yyyy-MM-dd"));
        if (col.money)
            return v.isNull() ? QString() : toMoney(v).plain();
        return rs_->displayText(row, col.field);
    }
    case Qt::CheckStateRole:
        if (col.checkBox)
            return value(row, col.field).toBool() ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case Qt::TextAlignmentRole:
        return int(col.align);
    case Qt::ForegroundRole:
        return col.color.isValid() ? QVariant(col.color) : QVariant();
    case Qt::FontRole:
        if (col.bold) {
            QFont f = QApplication::font();
            f.setBold(true);
            return f;
        }
        return QVariant();
    case Qt::BackgroundRole:
        if (oddColor.isValid())
            return (row + 1) % 2 ? oddColor : evenColor;
        return QVariant();
    case Qt::ToolTipRole:
        if (col.elide)
            return displayText(row, c);
        return QVariant();
    default:
        return QVariant();
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const GridColumn& col = cols_.at(index.column());
    if (isColumnReadOnly(index.column()))
        return false;
    if (index.row() != rs_->currentRow())
        return false;
    if (!rs_->isEditing() && !rs_->edit())
        return false;
    if (role == Qt::CheckStateRole && col.checkBox)
        return rs_->setValue(col.field, value.toInt() == Qt::Checked);
    if (role != Qt::EditRole)
        return false;
    if (col.isLookup()) {
        const QString code = value.toString();
        if (code == rs_->value(col.field).toString())
            return true;
        return rs_->setValue(col.field, code.isEmpty() ? QVariant() : QVariant(code));
    }
    QString text = value.toString();
    if (beforeSetText && !beforeSetText(index.column(), &text))
        return false;
    if (text == data(index, Qt::EditRole).toString())
        return true; // unchanged: the row stays unmodified
    QString error;
    if (!rs_->setText(col.field, text, &error)) {
        if (messages && !error.isEmpty())
            messages->info(error);
        return false;
    }
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal) {
        if (section < 0 || section >= cols_.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return cols_[section].title;
        if (role == Qt::ToolTipRole && !cols_[section].hint.isEmpty())
            return cols_[section].hint;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        if (section != rs_->currentRow())
            return QString();
        if (rs_->state() == RecordSet::Insert)
            return QStringLiteral("*");
        if (rs_->state() == RecordSet::Edit)
            return QStringLiteral("I");
        return QStringLiteral("▶");
    }
    return QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const GridColumn& col = cols_.at(index.column());
    if (!isColumnReadOnly(index.column())) {
        if (col.checkBox)
            f |= Qt::ItemIsUserCheckable;
        else
            f |= Qt::ItemIsEditable;
    }
    return f;
}

// --- delegate --------------------------------------------------------------------

static const GridColumn* columnFor(const QModelIndex& i)
{
    auto* m = qobject_cast<const GridModel*>(i.model());
    return m && i.column() < m->columns().size() ? &m->columns().at(i.column()) : nullptr;
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const
{
    QWidget* w = makeEditor(parent, o, i);
    const GridColumn* c = columnFor(i);
    if (w && c && !c->inputMethod)
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
    return w;
}

QWidget* GridDelegate::makeEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const
{
    const GridColumn* c = columnFor(i);
    if (c && c->isLookup()) {
        auto* cb = new QComboBox(parent);
        cb->setMaxVisibleItems(10);
        const RecordSet* src = c->lookup.data();
        for (int r = 0; r < src->recordCount(); ++r)
            cb->addItem(src->value(r, c->lookupName).toString(), src->value(r, c->lookupKey).toString());
        return cb;
    }
    if (c && !c->pickList.isEmpty()) {
        auto* cb = new QComboBox(parent);
        cb->setEditable(true);
        cb->addItems(c->pickList);
        return cb;
    }
    if (c && c->date) {
        auto* le = new QLineEdit(parent);
        le->setInputMask(FieldRules::kDateMask);
        le->setFrame(false);
        return le;
    }
    QWidget* w = QStyledItemDelegate::createEditor(parent, o, i);
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        le->setFrame(false);
        le->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return w;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& i) const
{
    const QString v = i.data(Qt::EditRole).toString();
    if (auto* cb = qobject_cast<QComboBox*>(editor)) {
        const GridColumn* c = columnFor(i);
        if (c && c->isLookup())
            cb->setCurrentIndex(cb->findData(v));
        else
            cb->setCurrentText(v);
        return;
    }
    if (auto* le = qobject_cast<QLineEdit*>(editor)) {
        le->setText(v);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, i);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const
{
    if (auto* cb = qobject_cast<QComboBox*>(editor)) {
        const GridColumn* c = columnFor(i);
        if (c && c->isLookup()) {
            if (cb->currentIndex() >= 0)
                m->setData(i, cb->currentData(), Qt::EditRole);
        } else {
            m->setData(i, cb->currentText(), Qt::EditRole);
        }
        return;
    }
    if (auto* le = qobject_cast<QLineEdit*>(editor)) {
        const GridColumn* c = columnFor(i);
        QString t = c && c->date ? le->displayText() : le->text();
        if (c && c->date && t.trimmed() == QLatin1String("-  -"))
            t.clear();
        m->setData(i, t, Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, m, i);
}

void GridDelegate::paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const
{
    const GridColumn* c = columnFor(i);
    QStyleOptionViewItem opt = o;
    initStyleOption(&opt, i);
    if (c && c->elide)
        opt.textElideMode = Qt::ElideRight;
    else
        opt.textElideMode = Qt::ElideNone;
    if (c && c->checkBox) {
        // A centred check box.
        const QWidget* w = opt.widget;
        QStyle* s = w ? w->style() : QApplication::style();
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.text.clear();
        s->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        QStyleOptionViewItem box = opt;
        const int bw = s->pixelMetric(QStyle::PM_IndicatorWidth, &opt, w);
        const int bh = s->pixelMetric(QStyle::PM_IndicatorHeight, &opt, w);
        box.rect = QRect(opt.rect.center().x() - bw / 2 + 1, opt.rect.center().y() - bh / 2 + 1, bw, bh);
        box.state = box.state & ~QStyle::State_HasFocus;
        box.state |= i.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        s->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, p, w);
        return;
    }
    const QWidget* w = opt.widget;
    QStyle* s = w ? w->style() : QApplication::style();
    s->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
}

bool GridDelegate::eventFilter(QObject* o, QEvent* e)
{
    // Enter in a cell editor stores the text and moves to the next cell.
    if (e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        auto* w = qobject_cast<QWidget*>(o);
        if (w && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
            emit commitData(w);
            emit closeEditor(w, QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(o, e);
}

bool GridDelegate::editorEvent(QEvent* e, QAbstractItemModel* m, const QStyleOptionViewItem& o, const QModelIndex& i)
{
    const GridColumn* c = columnFor(i);
    if (c && c->checkBox) {
        if (e->type() == QEvent::MouseButtonRelease && (i.flags() & Qt::ItemIsUserCheckable)) {
            const bool on = i.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            m->setData(i, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            return true;
        }
        if (e->type() == QEvent::MouseButtonDblClick)
            return true;
        return false;
    }
    return QStyledItemDelegate::editorEvent(e, m, o, i);
}

// --- grid ------------------------------------------------------------------------

DBGrid::DBGrid(RecordSet* rs, const QString& name, QWidget* parent)
    : QTableView(parent), rs_(rs), model_(new GridModel(rs, this)), footer_(new GridFooter(this))
{
    setObjectName(name);
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    footer_->hide();
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setWordWrap(false);
    setEditingMode(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { titleClick(c); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, footer_, qOverload<>(&QWidget::update));
    connect(horizontalHeader(), &QHeaderView::sectionMoved, footer_, qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, footer_, qOverload<>(&QWidget::update));
    connect(rs, &RecordSet::currentChanged, this, [this] { syncFromRecordSet(); });
    connect(rs, &RecordSet::rowInserted, this, [this] { syncFromRecordSet(); });
    connect(rs, &RecordSet::rowRemoved, this, [this] { syncFromRecordSet(); });
    connect(rs, &RecordSet::reset, this, [this] {
        // Rows read again: back to row selection unless a row is being edited.
        if (!rs_->isEditing() && editing_)
            setEditingMode(false);
        syncFromRecordSet();
        emit footersNeeded();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!old || !now || guard_)
            return;
        const bool wasInside = old == this || isAncestorOf(old);
        const bool isInside = now == this || isAncestorOf(now);
        if (wasInside && !isInside && now->window() == window())
            pendingPost();
    });
}

DBGrid::~DBGrid() = default;

void DBGrid::setColumns(const QVector<GridColumn>& c)
{
    model_->setColumns(c);
    markers_.clear();
    for (int i = 0; i < c.size(); ++i)
        setColumnWidth(i, c[i].width);
    footer_->update();
}

void DBGrid::sizeHintsFromColumns()
{
    for (int i = 0; i < model_->columns().size(); ++i)
        setColumnWidth(i, model_->columns()[i].width);
}

void DBGrid::setEditingMode(bool editing)
{
    editing_ = editing;
    if (editing) {
        setSelectionBehavior(QAbstractItemView::SelectItems);
        setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                        | QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked);
    } else {
        if (state() == QAbstractItemView::EditingState)
            if (QWidget* ed = indexWidget(currentIndex()))
                Q_UNUSED(ed);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    const QModelIndex cur = currentIndex();
    if (cur.isValid()) {
        const bool g = guard_;
        guard_ = true;
        selectCurrent(cur);
        guard_ = g;
    }
    viewport()->update();
    emit editingModeChanged(editing);
}

void DBGrid::selectCurrent(const QModelIndex& i)
{
    // Browsing selects the whole row, editing the cell.
    QItemSelectionModel::SelectionFlags f = QItemSelectionModel::ClearAndSelect;
    if (!editing_)
        f |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(i, f);
}

void DBGrid::focusColumn(const QString& name)
{
    const int c = columnOf(name);
    if (c < 0)
        return;
    const int row = rs_->currentRow();
    if (row < 0)
        return;
    guard_ = true;
    setCurrentIndex(model_->index(row, c));
    guard_ = false;
    if (isVisible())
        setFocus();
}

void DBGrid::syncFromRecordSet()
{
    const int row = rs_->currentRow();
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.row() == row) {
        if (!editing_ && !selectionModel()->isRowSelected(row, {}))
            selectionModel()->select(cur, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    guard_ = true;
    const int col = cur.isValid() ? cur.column() : std::max(0, nextEditableColumn(-1));
    selectCurrent(model_->index(row, col));
    scrollTo(model_->index(row, col));
    guard_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (guard_ || model_->rowsChanging > 0 || !current.isValid())
        return;
    if (previous.isValid() && previous.row() != current.row()) {
        if (current.row() != rs_->currentRow()) {
            // Moving to another row posts a pending edit (refused: stay).
            const bool wasInsert = rs_->state() == RecordSet::Insert;
            const int before = rs_->recordCount();
            int target = current.row();
            if (rs_->isEditing()) {
                if (!rs_->isModified() && wasInsert) {
                    rs_->cancel();
                    if (rs_->recordCount() < before && target > previous.row())
                        --target;
                } else {
                    // Storing the row may re-read and re-order the list (a new
                    // date moves the entry): find the clicked row again by its key.
                    QVariantList key;
                    for (const QString& f : rs_->keyFields())
                        key << rs_->value(target, f);
                    if (!rs_->post()) {
                        guard_ = true;
                        setCurrentIndex(model_->index(rs_->currentRow(), previous.column()));
                        guard_ = false;
                        return;
                    }
                    if (!key.isEmpty()) {
                        auto matches = [this, &key](int row) {
                            for (int k = 0; k < key.size(); ++k)
                                if (rs_->value(row, rs_->keyFields().at(k)) != key.at(k))
                                    return false;
                            return true;
                        };
                        if (target >= rs_->recordCount() || !matches(target))
                            for (int row = 0; row < rs_->recordCount(); ++row)
                                if (matches(row)) {
                                    target = row;
                                    break;
                                }
                    }
                }
            }
            rs_->setRecNo(target + 1);
            guard_ = true;
            setCurrentIndex(model_->index(rs_->currentRow(), current.column()));
            guard_ = false;
        }
        return;
    }
    if (previous.isValid() && previous.column() != current.column() && rs_->isEditing()) {
        if (onColumnExit && !onColumnExit(previous.column())) {
            guard_ = true;
            setCurrentIndex(previous);
            guard_ = false;
            return;
        }
        if (model_->isColumnReadOnly(current.column())) {
            const int next = nextEditableColumn(current.column());
            if (next >= 0 && next != current.column()) {
                guard_ = true;
                setCurrentIndex(model_->index(current.row(), next));
                guard_ = false;
            }
        }
    }
}

int DBGrid::nextEditableColumn(int from) const
{
    QHeaderView* h = horizontalHeader();
    const int n = model_->columnCount();
    if (n == 0)
        return -1;
    int v = from < 0 ? -1 : h->visualIndex(from);
    for (int step = 0; step < n; ++step) {
        v = (v + 1) % n;
        const int logical = h->logicalIndex(v);
        if (h->isSectionHidden(logical))
            continue;
        if (!rs_->isEditing() || !model_->isColumnReadOnly(logical))
            return logical;
    }
    return -1;
}

void DBGrid::moveToNextCell()
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid())
        return;
    const int next = nextEditableColumn(cur.column());
    if (next < 0)
        return;
    setCurrentIndex(model_->index(cur.row(), next));
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint == QAbstractItemDelegate::EditNextItem) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextCell();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

bool DBGrid::stepLookup(int column)
{
    if (column < 0 || column >= model_->columnCount() || !rs_->isEditing() || model_->isColumnReadOnly(column))
        return false;
    const GridColumn& c = model_->columns().at(column);
    if (c.isLookup()) {
        const RecordSet* src = c.lookup.data();
        const int n = src->recordCount();
        if (n == 0)
            return true;
        const QString now = rs_->value(c.field).toString();
        int at = -1;
        for (int r = 0; r < n; ++r)
            if (src->value(r, c.lookupKey).toString() == now) {
                at = r;
                break;
            }
        const int next = (at < 0 || at + 1 >= n) ? 0 : at + 1;
        rs_->setValue(c.field, src->value(next, c.lookupKey).toString());
        return true;
    }
    if (!c.pickList.isEmpty()) {
        const int at = c.pickList.indexOf(rs_->value(c.field).toString());
        const int next = (at < 0 || at + 1 >= c.pickList.size()) ? 0 : at + 1;
        rs_->setValue(c.field, c.pickList.at(next));
        return true;
    }
    return false;
}

void DBGrid::keyPressEvent(QKeyEvent* e)
{
    // Up or Down past the first or last row while a row is being entered
    // stores it, as moving to another row would.
    if ((e->key() == Qt::Key_Down || e->key() == Qt::Key_Up) && e->modifiers() == Qt::NoModifier
        && rs_->isEditing()) {
        const int row = currentIndex().row();
        const bool atEdge = e->key() == Qt::Key_Down ? row >= model()->rowCount() - 1 : row <= 0;
        if (atEdge) {
            pendingPost();
            e->accept();
            return;
        }
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        moveToNextCell();
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
        const int c = currentIndex().column();
        if (onSpace && onSpace(c)) {
            e->accept();
            return;
        }
        if (rs_->isEditing() && c >= 0) {
            const GridColumn& col = model_->columns().at(c);
            if (col.isLookup() || !col.pickList.isEmpty()) {
                stepLookup(c);
                e->accept();
                return;
            }
        }
        if (c >= 0 && model_->columns().at(c).checkBox && rs_->isEditing() && !model_->isColumnReadOnly(c)) {
            rs_->setValue(model_->columns().at(c).field, !rs_->value(model_->columns().at(c).field).toBool());
            e->accept();
            return;
        }
    }
    if (!editing_ && e->key() != Qt::Key_Up && e->key() != Qt::Key_Down && e->key() != Qt::Key_PageUp
        && e->key() != Qt::Key_PageDown && e->key() != Qt::Key_Home && e->key() != Qt::Key_End
        && e->key() != Qt::Key_Left && e->key() != Qt::Key_Right && e->key() != Qt::Key_Tab
        && e->key() != Qt::Key_Backtab) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    QTableView::keyPressEvent(e);
}

void DBGrid::focusOutEvent(QFocusEvent* e) { QTableView::focusOutEvent(e); }

void DBGrid::pendingPost()
{
    if (state() == QAbstractItemView::EditingState) {
        // Take what is typed in an open editor first.
        if (QWidget* ed = QApplication::focusWidget(); ed && isAncestorOf(ed) && ed != viewport())
            commitData(ed);
        guard_ = true;
        if (QWidget* ed = QApplication::focusWidget(); ed && isAncestorOf(ed) && ed != viewport())
            QTableView::closeEditor(ed, QAbstractItemDelegate::NoHint);
        guard_ = false;
    }
    if (!rs_->isEditing())
        return;
    if (rs_->state() == RecordSet::Insert && !rs_->isModified())
        rs_->cancel();
    else
        rs_->post();
}

void DBGrid::discardEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget* ed = QApplication::focusWidget();
    if (ed && isAncestorOf(ed) && ed != viewport()) {
        guard_ = true;
        QTableView::closeEditor(ed, QAbstractItemDelegate::RevertModelCache);
        guard_ = false;
    }
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QModelIndex i = indexAt(e->pos());
    if (!rs_->isEditing()) {
        if (i.isValid() && onEditRequest)
            onEditRequest();
        return;
    }
    if (i.isValid() && i.row() == rs_->currentRow()) {
        const GridColumn& c = model_->columns().at(i.column());
        if (c.isLookup() && !model_->isColumnReadOnly(i.column())) {
            stepLookup(i.column());
            return;
        }
    }
    QTableView::mouseDoubleClickEvent(e);
}

void DBGrid::mouseReleaseEvent(QMouseEvent* e)
{
    QTableView::mouseReleaseEvent(e);
    const QModelIndex i = indexAt(e->pos());
    if (i.isValid() && !rs_->isEditing() && !editing_ && onCellClick && e->button() == Qt::LeftButton)
        onCellClick(i.row(), i.column());
}

// --- frozen first column -------------------------------------------------------------

namespace {

// Clicks on the frozen column act on the grid beneath it.
class FrozenClicks : public QObject {
public:
    FrozenClicks(DBGrid* grid, QTableView* frozen) : QObject(frozen), grid_(grid), frozen_(frozen) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        const QModelIndex i = frozen_->indexAt(me->pos());
        if (!i.isValid())
            return true;
        grid_->setFocus();
        const QModelIndex cur = grid_->currentIndex();
        grid_->setCurrentIndex(grid_->model()->index(i.row(), cur.isValid() ? cur.column() : 0));
        if (e->type() == QEvent::MouseButtonDblClick && !grid_->recordSet()->isEditing() && grid_->onEditRequest)
            grid_->onEditRequest();
        return true;
    }

private:
    DBGrid* grid_;
    QTableView* frozen_;
};

} // namespace

void DBGrid::setFrozenFirstColumn(bool on)
{
    if (!on) {
        delete frozen_;
        frozen_ = nullptr;
        return;
    }
    if (frozen_)
        return;
    frozen_ = new QTableView(this);
    frozen_->setObjectName(objectName() + QStringLiteral("Frozen"));
    frozen_->setModel(model_);
    frozen_->setSelectionModel(selectionModel());
    frozen_->setItemDelegate(itemDelegate());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(verticalScrollMode());
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen_->setWordWrap(false);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    frozen_->viewport()->installEventFilter(new FrozenClicks(this, frozen_));
    frozen_->horizontalHeader()->setSectionsClickable(true);
    frozen_->horizontalHeader()->setSortIndicatorShown(true);
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        emit horizontalHeader()->sectionClicked(c);
    });
    auto hideOthers = [this] {
        for (int c = 1; c < model_->columnCount(); ++c)
            frozen_->setColumnHidden(c, true);
        frozen_->setColumnWidth(0, columnWidth(0));
    };
    hideOthers();
    connect(model_, &QAbstractItemModel::modelReset, frozen_, hideOthers);
    connect(horizontalHeader(), &QHeaderView::sectionResized, frozen_, [this](int logical, int, int size) {
        if (logical == 0) {
            frozen_->setColumnWidth(0, size);
            placeFrozen();
        }
    });
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, [this] { placeFrozen(); });
    placeFrozen();
}

void DBGrid::placeFrozen()
{
    if (!frozen_)
        return;
    // Shown only while the first column would scroll out of sight.
    const bool scrolled = horizontalScrollBar()->value() > 0 && horizontalHeader()->visualIndex(0) == 0;
    frozen_->setVisible(scrolled);
    if (!scrolled)
        return;
    const int left = frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0);
    frozen_->setGeometry(left, frameWidth(), columnWidth(0) + 1, viewport()->height() + horizontalHeader()->height());
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    frozen_->horizontalHeader()->setSortIndicator(horizontalHeader()->sortIndicatorSection(),
                                                  horizontalHeader()->sortIndicatorOrder());
    frozen_->raise();
}

// --- footers -------------------------------------------------------------------------

void DBGrid::setFooterVisible(bool on)
{
    footerOn_ = on;
    footer_->setVisible(on);
    updateGeometries();
}

void DBGrid::setFooter(const QString& columnName, const QString& text, const QColor& color, bool bold,
                       Qt::Alignment align)
{
    const int c = columnOf(columnName);
    if (c < 0)
        return;
    GridColumn& col = model_->column(c);
    col.footer = text;
    if (color.isValid())
        col.footerColor = color;
    col.footerBold = bold;
    col.footerAlign = align;
    footer_->update();
}

QString DBGrid::footerText(const QString& columnName) const
{
    const int c = model_->columnOf(columnName);
    return c < 0 ? QString() : model_->columns().at(c).footer;
}

void DBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (!footerOn_)
        return;
    const int h = footer_->sizeHint().height();
    const QMargins m = viewportMargins();
    if (m.bottom() != h)
        setViewportMargins(m.left(), m.top(), m.right(), h);
    const QRect vp = viewport()->geometry();
    footer_->setGeometry(vp.left() - m.left(), vp.bottom() + 1, vp.width() + m.left(), h);
    footer_->update();
}

void DBGrid::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    updateGeometries();
    placeFrozen();
}

bool DBGrid::viewportEvent(QEvent* e) { return QTableView::viewportEvent(e); }

int DBGrid::layoutRows() const { return model_->rowCount(); }

// --- sort markers -------------------------------------------------------------------------

void DBGrid::setMarker(int column, Marker m)
{
    markers_.clear();
    if (m != NoMarker)
        markers_.insert(column, m);
    horizontalHeader()->setSortIndicator(m == NoMarker ? -1 : column,
                                         m == Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    placeFrozen();
}

bool DBGrid::anyDescending() const
{
    for (auto it = markers_.begin(); it != markers_.end(); ++it)
        if (it.value() == Descending)
            return true;
    return false;
}

int DBGrid::markedColumn() const
{
    for (auto it = markers_.begin(); it != markers_.end(); ++it)
        if (it.value() != NoMarker)
            return it.key();
    return -1;
}

void DBGrid::titleClick(int column)
{
    if (column < 0 || column >= model_->columnCount())
        return;
    const GridColumn& c = model_->columns().at(column);
    if (!c.sortable || c.field.isEmpty()) {
        // keep the marker where it was
        const int m = markedColumn();
        horizontalHeader()->setSortIndicator(m, marker(m) == Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        return;
    }
    setMarker(column, marker(column) == Ascending ? Descending : Ascending);
    if (sortEnabled && sortOrder)
        rs_->setSort(sortOrder(c.columnName(), marker(column) == Descending ? QStringLiteral(" DESC")
                                                                            : QStringLiteral(" ASC")));
}

void DBGrid::reapplySort()
{
    const int column = markedColumn();
    if (column < 0) {
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    const GridColumn& c = model_->columns().at(column);
    horizontalHeader()->setSortIndicator(column, marker(column) == Descending ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder);
    if (!sortEnabled || !sortOrder)
        return;
    const QString order =
        sortOrder(c.columnName(), marker(column) == Descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    // A re-query keeps the record set's sort: sorting again would only cost time.
    if (order != rs_->sort())
        rs_->setSort(order);
}

bool DBGrid::focusInsideGrid() const
{
    QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}
