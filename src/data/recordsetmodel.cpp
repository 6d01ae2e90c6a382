#include "recordsetmodel.h"

RecordSetModel::RecordSetModel(RecordSet* rs, QObject* parent) : QAbstractTableModel(parent), rs_(rs)
{
    if (!rs)
        return;
    connect(rs, &RecordSet::reset, this, [this]() {
        beginResetModel();
        inserting_ = removing_ = false;
        endResetModel();
    });
    connect(rs, &RecordSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && !columns_.isEmpty())
            emit dataChanged(index(row, 0), index(row, columns_.size() - 1));
    });
    connect(rs, &RecordSet::aboutToInsertRow, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        inserting_ = true;
    });
    connect(rs, &RecordSet::rowInserted, this, [this](int) {
        if (inserting_) {
            inserting_ = false;
            endInsertRows();
        }
    });
    connect(rs, &RecordSet::aboutToRemoveRow, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        removing_ = true;
    });
    connect(rs, &RecordSet::rowRemoved, this, [this](int) {
        if (removing_) {
            removing_ = false;
            endRemoveRows();
        }
    });
    connect(rs, &RecordSet::currentChanged, this, &RecordSetModel::currentRowChanged);
    connect(rs, &QObject::destroyed, this, [this]() {
        beginResetModel();
        endResetModel();
    });
}

void RecordSetModel::setColumns(const QVector<Column>& columns)
{
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

int RecordSetModel::columnOf(const QString& field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void RecordSetModel::setColumnReadOnly(const QString& field, bool readOnly)
{
    const int c = columnOf(field);
    if (c < 0 || columns_[c].readOnly == readOnly)
        return;
    columns_[c].readOnly = readOnly;
    if (rowCount() > 0)
        emit dataChanged(index(0, c), index(rowCount() - 1, c));
}

void RecordSetModel::setColumnTitle(const QString& field, const QString& title)
{
    const int c = columnOf(field);
    if (c < 0)
        return;
    columns_[c].title = title;
    emit headerDataChanged(Qt::Horizontal, c, c);
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !rs_ ? 0 : rs_->recordCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_.size(); }

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!rs_ || !index.isValid() || index.row() >= rowCount() || index.column() >= columns_.size())
        return QVariant();
    const Column& col = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        if (col.check)
            return QVariant();
        return rs_->displayText(index.row(), col.field);
    case Qt::EditRole:
        if (col.check)
            return rs_->value(index.row(), col.field).toBool();
        return rs_->displayText(index.row(), col.field);
    case Qt::CheckStateRole:
        if (!col.check)
            return QVariant();
        return rs_->value(index.row(), col.field).toBool() ? Qt::Checked : Qt::Unchecked;
    default:
        return roleProvider ? roleProvider(index.row(), index.column(), role) : QVariant();
    }
}

// Makes `row` the record set's current row, leaving (posting) the row being
// edited like a grid does, and puts it into edit state.
bool RecordSetModel::goToRow(int row)
{
    // Leaving the edited row may post it (and reopen the set) or drop an
    // untouched new row; the record set then finds the wanted row again.
    if (rs_->currentRow() != row && !rs_->setRecNo(row + 1))
        return false;
    return rs_->edit();
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!rs_ || !index.isValid() || index.row() >= rowCount() || index.column() >= columns_.size())
        return false;
    if (!(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const Column col = columns_[index.column()];
    if (role == Qt::CheckStateRole) {
        if (!col.check || !goToRow(index.row()))
            return false;
        const bool on = value.toInt() == Qt::Checked;
        return rs_->setValue(col.field, on);
    }
    if (role != Qt::EditRole || col.check)
        return false;
    if (!goToRow(index.row()))
        return false;
    QString error;
    if (!rs_->setText(col.field, value.toString(), &error)) {
        emit entryRefused(error);
        return false;
    }
    return true;
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() >= columns_.size())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Column& col = columns_[index.column()];
    if (!rs_ || rs_->isReadOnly() || col.readOnly)
        return f;
    return f | (col.check ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < columns_.size()) {
        if (role == Qt::DisplayRole)
            return columns_[section].title;
        return QVariant();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
