#include "balancegrid.h"

#include "recordset.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kFuchsia(255, 0, 255);

Money moneyOf(const QVariant& v)
{
    if (v.userType() == qMetaTypeId<Money>())
        return v.value<Money>();
    return Money::fromRaw(v.toLongLong());
}
} // namespace

BalanceModel::BalanceModel(RecordSet* accounts, QObject* parent) : QAbstractTableModel(parent), rs_(accounts)
{
    auto resetAll = [this] {
        beginResetModel();
        endResetModel();
        emit sumsChanged();
    };
    connect(rs_, &RecordSet::reset, this, resetAll);
    connect(rs_, &RecordSet::rowInserted, this, resetAll);
    connect(rs_, &RecordSet::rowRemoved, this, resetAll);
    connect(rs_, &RecordSet::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, 1));
        emit sumsChanged();
    });
}

int BalanceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !rs_ || !rs_->isOpen() ? 0 : rs_->recordCount();
}

int BalanceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QString BalanceModel::typeId(int row) const
{
    return row >= 0 && row < rowCount() ? rs_->value(row, QStringLiteral("TypeID")).toString() : QString();
}

int BalanceModel::rowOf(const QString& id) const
{
    for (int r = 0; r < rowCount(); ++r)
        if (typeId(r) == id)
            return r;
    return -1;
}

Money BalanceModel::balance(int row) const { return moneyOf(rs_->value(row, QStringLiteral("Balance"))); }

bool BalanceModel::offBook(int row) const { return rs_->value(row, QStringLiteral("FundFlag")).toBool(); }

Money BalanceModel::availableSum() const
{
    Money sum;
    for (int r = 0; r < rowCount(); ++r)
        if (!offBook(r))
            sum += balance(r);
    return sum;
}

Money BalanceModel::offBookSum() const
{
    Money sum;
    for (int r = 0; r < rowCount(); ++r)
        if (offBook(r))
            sum += balance(r);
    return sum;
}

void BalanceModel::setBaseFont(const QFont& f)
{
    beginResetModel();
    font_ = f;
    endResetModel();
}

QVariant BalanceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const bool isBalance = index.column() == 1;
    switch (role) {
    case Qt::DisplayRole:
        return isBalance ? balance(index.row()).display()
                         : rs_->value(index.row(), QStringLiteral("TypeName")).toString();
    case Qt::ForegroundRole:
        return isBalance ? kGreen : kNavy;
    case Qt::FontRole: {
        QFont f = font_;
        if (isBalance)
            f.setBold(true);
        return f;
    }
    case Qt::TextAlignmentRole:
        return isBalance ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BalanceModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("帐户名称") : QStringLiteral("当前余额");
    if (role == Qt::FontRole)
        return font_;
    return {};
}

BalanceGrid::BalanceGrid(RecordSet* accounts, QWidget* parent) : QWidget(parent)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("DBGridBalance"));
    model_ = new BalanceModel(accounts, this);
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(20);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->resizeSection(0, 81);
    view_->horizontalHeader()->resizeSection(1, 93);
    view_->horizontalHeader()->setStretchLastSection(true);
    box->addWidget(view_, 1);

    footerBox_ = new QWidget(this);
    footerBox_->setObjectName(QStringLiteral("DBGridBalanceFooter"));
    footerBox_->setAutoFillBackground(true);
    auto* grid = new QGridLayout(footerBox_);
    grid->setContentsMargins(0, 1, 0, 1);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(1);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            auto* l = new QLabel(footerBox_);
            l->setFrameShape(QFrame::StyledPanel);
            l->setContentsMargins(3, 1, 3, 1);
            l->setAlignment(c == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
            grid->addWidget(l, r, c);
            footer_[r][c] = l;
        }
    footer_[0][0]->setText(QStringLiteral("可用资金"));
    footer_[1][0]->setText(QStringLiteral("帐外资金"));
    footer_[0][0]->setObjectName(QStringLiteral("FooterAvailableTitle"));
    footer_[1][0]->setObjectName(QStringLiteral("FooterOffBookTitle"));
    footer_[0][1]->setObjectName(QStringLiteral("FooterAvailableSum"));
    footer_[1][1]->setObjectName(QStringLiteral("FooterOffBookSum"));
    box->addWidget(footerBox_);

    connect(model_, &BalanceModel::sumsChanged, this, &BalanceGrid::updateFooters);
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, &BalanceGrid::alignFooters);
    connect(view_->horizontalHeader(), &QHeaderView::geometriesChanged, this, &BalanceGrid::alignFooters);
    applyFont(font());
    updateFooters();
}

void BalanceGrid::alignFooters()
{
    auto* grid = static_cast<QGridLayout*>(footerBox_->layout());
    const int w0 = view_->horizontalHeader()->sectionSize(0) + view_->frameWidth();
    for (int r = 0; r < 2; ++r)
        footer_[r][0]->setFixedWidth(qMax(0, w0));
    grid->setColumnStretch(1, 1);
}

void BalanceGrid::updateFooters()
{
    footer_[0][1]->setText(model_->availableSum().display());
    footer_[1][1]->setText(model_->offBookSum().display());
}

void BalanceGrid::applyFont(const QFont& f)
{
    setFont(f);
    view_->setFont(f);
    view_->horizontalHeader()->setFont(f);
    model_->setBaseFont(f);
    QFont bold = f;
    bold.setBold(true);
    auto colour = [](QLabel* l, const QColor& c) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, c);
        l->setPalette(p);
    };
    footer_[0][0]->setFont(f);
    colour(footer_[0][0], kNavy);
    footer_[1][0]->setFont(f);
    colour(footer_[1][0], kFuchsia);
    for (int r = 0; r < 2; ++r) {
        footer_[r][1]->setFont(bold);
        colour(footer_[r][1], kGreen);
    }
    alignFooters();
}
