#pragma once
// An editable record set: the rows of one query held in memory (a static
// cursor), a current row, the states browse / edit / insert, dataset events
// in a fixed order, per-field text hooks, lookup fields, a client-side filter
// and sort that survive reopening, and write-back through bound parameters
// keyed by the table's logical key.
//
// Event order:
//   append()/insert(): onNewRecord, afterInsert            (state Insert)
//   edit():            afterEdit                           (state Edit)
//   setValue():        onFieldChange(field)                (Edit/Insert only)
//   post():            [transaction] beforePost (may cancel) -> row written
//                      -> afterPost [commit] -> afterCommit
//                      A failed statement anywhere in between (Database marks
//                      the transaction failed) rolls everything back and the
//                      record stays in Edit/Insert with what was typed.
//   remove():          [transaction] beforeDelete (may cancel) -> row deleted
//                      [commit] -> afterDelete
//                      A row being edited is deleted as stored (the typed
//                      values are dropped first); a new row is cancelled.
//   any move:          beforeScroll, then afterScroll
//   cancel():          afterCancel
// Leaving a row that is being edited (a move, append/insert, a new sort or
// filter) posts it when it was modified and cancels it otherwise, like a grid.
// Opening, reopening, sorting and filtering fire no scroll events.
// afterPost runs inside the transaction: do database work there, but reopen
// record sets only in afterCommit.

#include "database.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

enum class FieldType { Text, Integer, Money, Date, Boolean, Double, Lookup };

class RecordSet : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Edit, Insert };

    using Event = std::function<void(RecordSet&)>;
    using CancelableEvent = std::function<bool(RecordSet&)>; // false cancels
    using FieldEvent = std::function<void(RecordSet&, const QString& field)>;
    // Display text of a field on a visible row.
    using GetText = std::function<QString(const RecordSet&, int row, const QString& field)>;
    // Entry of a field from text on the current row; false with *error refuses it.
    using SetText = std::function<bool(RecordSet&, const QString& field, const QString& text, QString* error)>;
    using Filter = std::function<bool(const RecordSet&, int row)>;

    explicit RecordSet(Database* db, QObject* parent = nullptr);

    // --- source -----------------------------------------------------------
    // The table rows are written to. Without setSql() the record set reads
    // "SELECT * FROM <table>" (optionally narrowed by setTableCondition).
    void setTable(const QString& table);
    QString table() const { return table_; }
    void setTableCondition(const QString& whereSql, const QVariantList& params); // "UserID = ?"
    void setSql(const QString& sql, const QVariantList& params = {});
    QString sql() const { return sql_; }
    QVariantList params() const { return params_; }
    // Logical key used to find a row on UPDATE and DELETE (original values).
    void setKeyFields(const QStringList& fields) { keyFields_ = fields; }
    const QStringList& keyFields() const { return keyFields_; }
    void setReadOnly(bool ro) { readOnly_ = ro; }
    bool isReadOnly() const { return readOnly_; }
    void setDatabase(Database* db) { db_ = db; }
    Database* database() const { return db_; }

    bool open();   // false on an SQL error (lastError() says why); state stays Inactive
    void close();
    bool isOpen() const { return state_ != Inactive; }
    // Reads the rows again keeping filter, sort and record number.
    bool reopen();
    const SqlError& lastError() const { return error_; }

    // --- fields -----------------------------------------------------------
    int fieldCount() const;
    QString fieldName(int i) const;
    int fieldIndex(const QString& name) const; // case-insensitive, -1 when absent
    FieldType fieldType(const QString& name) const;
    bool isLookupField(const QString& name) const;
    // A display-only field resolved by key from another record set:
    // value = source's resultField on the source row whose sourceKey equals keyField.
    void addLookupField(const QString& name, const QString& keyField, RecordSet* source,
                        const QString& sourceKey, const QString& resultField);
    // Field types come from the declared column types; override when needed.
    void setFieldType(const QString& name, FieldType type);

    // --- values -----------------------------------------------------------
    // Current row (the edit buffer while editing or inserting).
    QVariant value(const QString& field) const;
    // Visible row r (0-based, after filter and sort).
    QVariant value(int row, const QString& field) const;
    // The value as plain text: numbers and money without grouping ("-30.5"),
    // dates in the short form ("2008-3-7"), flags "1"/"0", NULL as "".
    QString text(const QString& field) const;
    qint64 integer(const QString& field) const;
    Money money(const QString& field) const;
    QDate date(const QString& field) const;
    bool boolean(const QString& field) const;
    // Value of the row as it was read (before the current edit).
    QVariant oldValue(const QString& field) const;

    // Sets a field of the current row in Edit or Insert state and then fires
    // onFieldChange. Returns false in Browse state or for a read-only field.
    bool setValue(const QString& field, const QVariant& value);

    void setGetText(const QString& field, GetText hook);
    void setSetText(const QString& field, SetText hook);
    // Through the field's get-text hook, or the default form.
    QString displayText(int row, const QString& field) const;
    QString displayText(const QString& field) const; // current row
    // Through the field's set-text hook, or the default conversion.
    bool setText(const QString& field, const QString& text, QString* error = nullptr);
    // The default display form of a typed value ("1,234.50", "2008-3-7", "1"/"0").
    static QString defaultText(const QVariant& value);

    // --- navigation --------------------------------------------------------
    int recordCount() const;   // visible rows
    int recNo() const;         // 1-based; 0 when empty
    int currentRow() const { return recNo() - 1; }
    bool setRecNo(int n);      // clamps; fires the scroll events
    bool first();
    bool last();
    bool next();
    bool prior();
    int moveBy(int delta);     // returns the distance moved
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    // Finds the first visible row where field == value; moves there.
    bool locate(const QString& field, const QVariant& value);

    // --- editing -----------------------------------------------------------
    State state() const { return state_; }
    bool isEditing() const { return state_ == Edit || state_ == Insert; }
    bool append();         // new row at the end
    bool insert();         // new row before the current row
    bool edit();
    bool post();           // false when cancelled by beforePost or rolled back
    void cancel();
    bool remove();         // false when cancelled by beforeDelete or rolled back
    bool isModified() const { return modified_; }

    // --- filter and sort ----------------------------------------------------
    // While the filter runs, value(row, field) addresses the rows as read
    // (row = index in query order), not the visible rows.
    void setFilter(Filter f, const QString& text = QString());
    void clearFilter();
    QString filterText() const { return filterText_; }
    bool isFiltered() const { return bool(filter_); }
    void setSort(const QString& sort); // "ActDate DESC, ActID DESC"; empty: query order
    QString sort() const { return sort_; }

    // --- events -------------------------------------------------------------
    Event onNewRecord, afterInsert, afterEdit, afterPost, afterCommit, afterDelete, afterCancel,
        beforeScroll, afterScroll;
    CancelableEvent beforePost, beforeDelete;
    FieldEvent onFieldChange;
    // Called when writing the row itself (INSERT/UPDATE/DELETE) fails, before
    // the rollback; the data module reports it like any failed statement.
    std::function<void(const QString& sql, const SqlError& error)> onWriteError;

    // Controls: while disabled no layout/data signals are emitted.
    void disableControls();
    void enableControls();

signals:
    void reset();                  // rows replaced (open, reopen, sort, filter)
    void rowChanged(int row);      // values of a visible row changed
    void currentChanged(int row);  // cursor moved
    void stateChanged(RecordSet::State state);
    void rowInserted(int row);
    void rowRemoved(int row);
    // Sent just before a visible row appears or disappears (for item models).
    void aboutToInsertRow(int row);
    void aboutToRemoveRow(int row);

private:
    // implementation state lives in recordset.cpp
    struct Row;
    void rebuildView();
    Database* db_;
    QString table_;
    QString tableWhere_;
    QVariantList tableParams_;
    QString sql_;
    QVariantList params_;
    QStringList keyFields_;
    bool readOnly_ = false;
    State state_ = Inactive;
    SqlError error_;
    QStringList fields_;
    QVector<FieldType> types_;
    QVector<QVariantList> rows_;   // all rows read (and written back)
    QVector<int> view_;            // visible rows: indexes into rows_
    int cur_ = -1;                 // index into view_
    QVariantList buffer_;          // edit buffer
    int editRow_ = -1;             // index into rows_ of the row being edited; -1 on insert
    int insertAt_ = -1;            // view position of a new row
    bool modified_ = false;
    bool bof_ = true, eof_ = true;
    Filter filter_;
    QString filterText_;
    QString sort_;
    int controlsDisabled_ = 0;
    struct Lookup { QString name, keyField; QPointer<RecordSet> source; QString sourceKey, result; };
    QVector<Lookup> lookups_;
    QHash<QString, GetText> getText_;
    QHash<QString, SetText> setText_;
    // --- implementation helpers (recordset.cpp) ---
    struct Snapshot;
    bool load();
    void discardEdit();
    bool checkBrowseMode();
    bool beginNew(bool atEnd);
    bool moveTo(int row, bool fireAlways);
    void setState(State s);
    void setCursor(int row);
    int visibleCount() const;
    const QVariantList* rowAt(int row) const;
    QVariant cell(const QVariantList& row, int fieldIdx) const;
    QVariant lookupValue(const Lookup& l, const QVariantList& row) const;
    bool lookupKeyFor(const Lookup& l, const QVariant& result, QVariant* key) const;
    const Lookup* lookupFor(const QString& name) const;
    void rebuildFields();
    bool buildWrite(QString* sql, QVariantList* params, bool* needed);
    bool keyClause(const QVariantList& orig, QString* where, QVariantList* params) const;
    void writeFailed(const QString& sql);
    int beginWrite();
    void rollbackWrite(int depth);
    bool execWrite(const QString& sql, const QVariantList& params, bool mustTouchRow, int depth);
    bool commitWrite(int depth);
    void notifyReset();
    void notifyRowChanged(int row);
    void notifyCurrent();
    void notifyInsert(int row, bool before);
    void notifyRemove(int row, bool before);
    void finishEditing();

    QStringList columns_;          // query columns (the first fields_)
    QStringList tableColumns_;     // columns of table_ (written back)
    QVariantList tableDefaults_;   // their declared defaults, by tableColumns_ index
    QHash<QString, FieldType> typeOverrides_; // lower-case name -> type
    bool filtering_ = false;       // value(row, ...) addresses rows_ directly
    bool pendingRebuild_ = false;  // sort/filter changed while a row could not be left
    bool controlsDirty_ = false;
    int changeGuard_ = 0;
    quint64 generation_ = 0;       // bumped whenever the rows change (lookup caches)
    quint64 loads_ = 0;            // counts reads of the rows (open, reopen)
    int findRow(const QVariantList& values) const;
    struct LookupCache { quint64 generation = ~quint64(0); const RecordSet* source = nullptr; QHash<QString, QVariant> map; };
    mutable QVector<LookupCache> lookupCache_; // by lookup index
    friend class RecordSetModel;
};
