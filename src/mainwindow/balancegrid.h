#pragma once
// The balance grid of the left panel: the current user's accounts with their
// balances, and two footer rows (available funds, off-book funds) kept
// aligned with the grid's columns.

#include "money.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QPointer>
#include <QTableView>

class QLabel;
class RecordSet;

class BalanceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BalanceModel(RecordSet* accounts, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setBaseFont(const QFont& f);
    QString typeId(int row) const;
    int rowOf(const QString& typeId) const;
    Money balance(int row) const;
    bool offBook(int row) const;
    Money availableSum() const;
    Money offBookSum() const;

signals:
    void sumsChanged();

private:
    QPointer<RecordSet> rs_;
    QFont font_;
};

class BalanceGrid : public QWidget {
    Q_OBJECT
public:
    explicit BalanceGrid(RecordSet* accounts, QWidget* parent = nullptr);
    QTableView* view() const { return view_; }
    BalanceModel* model() const { return model_; }
    void applyFont(const QFont& f);
    // Recalculates the footer sums.
    void updateFooters();
    QLabel* footerLabel(int row, int column) const { return footer_[row][column]; }

private:
    void alignFooters();
    QTableView* view_;
    BalanceModel* model_;
    QWidget* footerBox_;
    QLabel* footer_[2][2];
};
