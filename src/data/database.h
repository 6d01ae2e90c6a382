#pragma once
// One connection to the encrypted database file (SQLCipher), with prepared
// statements cached by their text and every value bound as a parameter.

#include "money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;

struct SqlError {
    QString className;
    QString message;
    bool isSet() const { return !message.isEmpty(); }
};

// Rows of one SELECT, held in memory. Values are the stored values; the
// typed readers convert money (1/10000 integers), ISO dates and 0/1 flags.
struct QueryResult {
    QStringList columns;
    QStringList declTypes; // declared column types ("CURRENCY", "DATE", ...), empty for expressions
    QVector<QVariantList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
    int size() const { return rows.size(); }
    int column(const QString& name) const; // case-insensitive, -1 when absent
    QVariant value(int row, const QString& name) const;
    QVariant value(int row, int col) const;
    QString text(int row, const QString& name) const;
    qint64 integer(int row, const QString& name) const;
    Money money(int row, const QString& name) const;
    QDate date(int row, const QString& name) const;
    bool boolean(int row, const QString& name) const;
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The database password every file of the program is keyed with.
    static QString password();

    // Opens and keys the file, then proves the key by reading the schema.
    // With create=false a missing file is an error (the program never makes one).
    bool open(const QString& path, const QString& key, bool create = false);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    sqlite3* handle() const { return db_; }

    const SqlError& lastError() const { return error_; }

    bool select(const QString& sql, const QVariantList& params, QueryResult* out);
    bool exec(const QString& sql, const QVariantList& params = {}, int* changes = nullptr);
    // Several statements separated by ';', no parameters (schema scripts).
    bool execScript(const QString& sql);

    QStringList tableNames();
    bool hasTable(const QString& name);

    // Nested transactions: the outermost begin/commit is a real transaction,
    // inner levels are savepoints. rollback() undoes the innermost level.
    bool begin();
    bool commit();
    bool rollback();
    int transactionDepth() const { return depth_; }
    // True when a statement failed since the outermost begin(): the unit of
    // work must be rolled back.
    bool transactionFailed() const { return failed_; }
    void markFailed() { if (depth_ > 0) failed_ = true; }

    static QVariant toStorage(const QVariant& v);

private:
    sqlite3_stmt* prepare(const QString& sql);
    bool bindAll(sqlite3_stmt* st, const QVariantList& params);
    void setError(const QString& cls, const QString& msg);
    void setSqliteError();
    void finalizeAll();

    sqlite3* db_ = nullptr;
    QString path_;
    SqlError error_;
    QHash<QString, sqlite3_stmt*> cache_;
    int depth_ = 0;
    bool failed_ = false;
};
