#pragma once
// A table model over a RecordSet for QTableView: one column per configured
// field, display text through the record set's get-text hooks, entry through
// its set-text hooks, check boxes for flag columns, and colours, fonts and
// alignment from a callback supplied by the window.

#include "recordset.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <functional>

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        bool readOnly = false;
        bool check = false; // a Boolean field shown as a check box
    };

    explicit RecordSetModel(RecordSet* rs, QObject* parent = nullptr);

    RecordSet* recordSet() const { return rs_; }
    void setColumns(const QVector<Column>& columns);
    const QVector<Column>& columns() const { return columns_; }
    int columnOf(const QString& field) const; // -1 when not shown
    void setColumnReadOnly(const QString& field, bool readOnly);
    void setColumnTitle(const QString& field, const QString& title);

    // Background, foreground, font, alignment ... for a cell; an invalid
    // QVariant falls back to the view's default.
    std::function<QVariant(int row, int column, int role)> roleProvider;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // An entry was refused (not a valid date, amount ...); the window shows it.
    void entryRefused(const QString& message);
    // The record set's cursor moved to this row.
    void currentRowChanged(int row);

private:
    bool goToRow(int row);
    QPointer<RecordSet> rs_;
    QVector<Column> columns_;
    bool inserting_ = false;
    bool removing_ = false;
};
