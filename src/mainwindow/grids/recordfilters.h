#pragma once
// What the lists show: the ledger view's date range, the ledger query with
// its criteria (shared by the footers and the charts), the Included filter,
// and the client-side filters of the address book and the favourites.
//
// Every value typed by the user reaches SQL as a bound parameter; description
// texts match literally (a quote, % or _ is just a character).

#include "datamodule.h"

#include <QDate>
#include <QStringList>
#include <functional>

// The selected tree node as the lists need it.
struct GridNode {
    QString typeId;   // empty: no current node
    QString typeFlag; // "0" root, "1" account, "2"/"3" categories, ...
    bool isValid() const { return !typeId.isEmpty(); }
    bool isRoot() const { return typeFlag == QLatin1String("0"); }
    QChar branch() const { return typeId.isEmpty() ? QChar() : typeId.at(0); }
};

struct LedgerFooters {
    bool computed = false; // false while there are no ledger criteria
    qint64 count = 0;
    QVariant inAmount;     // Money, or null when no row counts
    QVariant outAmount;
};

class RecordFilters {
public:
    explicit RecordFilters(TDataModule1* dm);

    // "Today" of the date ranges; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // --- ledger date range --------------------------------------------------
    static QStringList rangeItems();    // "默认记录" ... "所有记录"
    static QStringList includedItems(); // "全部", "参与统计", "不参与统计"
    // Sets dm->viewStart / viewEnd for the index of the range choice (invalid = open).
    void computeDateRange(int index, const GridNode& node);
    // "2008年3月5日 - 2008年4月1日"; " - " with both bounds open.
    static QString rangeCaption(const QDate& start, const QDate& end);
    QString rangeCaption() const { return rangeCaption(dm_->viewStart, dm_->viewEnd); }

    // --- ledger query ---------------------------------------------------------
    struct LedgerQuery {
        QString type;            // "", "所有", "支出", "收入"
        QStringList accounts;    // account codes; empty: all
        QString maxAmount;       // text as typed; empty: no bound
        QString minAmount;
        QString description;     // literal part of Mark
        QStringList categories;  // category codes; empty: all
        QDate end;               // invalid: open
        QDate start;
    };
    // The inputs of a list refresh for the node (type by branch, account or category).
    static LedgerQuery queryForNode(const GridNode& node, const QDate& start, const QDate& end);
    // Builds the criteria, stores them as the current ledger criteria
    // (dm->viewCondition / viewParams) and re-queries the ledger dataset.
    // False (reported with "查询收支记录错误") when the query failed.
    bool runLedgerQuery(const LedgerQuery& q);
    // The conditions text with ? placeholders, and its values.
    void buildCriteria(const LedgerQuery& q, QString* criteria, QVariantList* params) const;
    // Included filter change: replaces only the Included condition and re-queries.
    bool changeIncluded(int index);
    static QString includedCondition(int index);
    // Footers: count and sums of the included entries of the current view.
    LedgerFooters ledgerFooters();

    // --- address book and favourites ------------------------------------------
    struct AddressQuery {
        QString name, typeId, misc, title, company, address, birthday, homepage, email, qq, phone;
    };
    struct MemoQuery {
        QString name, typeId, description, url;
    };
    bool filterAddress(const AddressQuery& q);
    bool filterMemo(const MemoQuery& q);

    // LIKE '%text%' with the text taken literally ('\' is the escape character).
    static QString likePattern(const QString& text);

    // Run after each ledger / address / favourites query: re-apply sort markers,
    // redraw footers and statistics, write the record count.
    std::function<void()> afterLedgerQuery;
    std::function<void()> afterAddressFilter;
    std::function<void()> afterMemoFilter;

private:
    // The node conditions shared by the default-records test and the query.
    TDataModule1* dm_;
};
