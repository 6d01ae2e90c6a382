#include "database.h"

#include <QFileInfo>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>

namespace {
const QString kErrorClass = QStringLiteral("EOleException");

QString upper(const QString& s) { return s.toUpper(); }
} // namespace

int QueryResult::column(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant QueryResult::value(int row, int col) const
{
    if (row < 0 || row >= rows.size() || col < 0 || col >= rows[row].size())
        return QVariant();
    return rows[row][col];
}

QVariant QueryResult::value(int row, const QString& name) const { return value(row, column(name)); }

QString QueryResult::text(int row, const QString& name) const
{
    const QVariant v = value(row, name);
    return v.isNull() ? QString() : v.toString();
}

qint64 QueryResult::integer(int row, const QString& name) const { return value(row, name).toLongLong(); }

Money QueryResult::money(int row, const QString& name) const
{
    const QVariant v = value(row, name);
    if (v.typeId() == QMetaType::Double)
        return Money::fromRaw(qint64(v.toDouble()));
    return Money::fromRaw(v.toLongLong());
}

QDate QueryResult::date(int row, const QString& name) const
{
    const QVariant v = value(row, name);
    return v.isNull() ? QDate() : QDate::fromString(v.toString().left(10), Qt::ISODate);
}

bool QueryResult::boolean(int row, const QString& name) const { return value(row, name).toLongLong() != 0; }

Database::~Database() { close(); }

QString Database::password() { return QStringLiteral("qzrtmkpvbxl"); }

void Database::setError(const QString& cls, const QString& msg) { error_ = {cls, msg}; }

void Database::setSqliteError()
{
    markFailed();
    setError(kErrorClass, db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("database not open"));
}

bool Database::open(const QString& path, const QString& key, bool create)
{
    close();
    error_ = {};
    if (!create && !QFileInfo::exists(path)) {
        setError(kErrorClass, QStringLiteral("Could not find file '%1'.").arg(path));
        return false;
    }
    const QByteArray p = path.toUtf8();
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(p.constData(), &db_, flags, nullptr) != SQLITE_OK) {
        setSqliteError();
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    const QByteArray k = key.toUtf8();
    sqlite3_key(db_, k.constData(), k.size());
    sqlite3_busy_timeout(db_, 5000);
    // Keep the 3.x cipher settings so a newer SQLCipher still opens the file.
    sqlite3_exec(db_, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
    // Reading the schema proves the key; a wrong key or a foreign file fails here.
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        setSqliteError();
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_exec(db_, "PRAGMA foreign_keys = OFF", nullptr, nullptr, nullptr);
    path_ = path;
    return true;
}

void Database::finalizeAll()
{
    for (sqlite3_stmt* st : std::as_const(cache_))
        sqlite3_finalize(st);
    cache_.clear();
}

void Database::close()
{
    if (!db_)
        return;
    while (depth_ > 0)
        rollback();
    // After the rollbacks, which run cached statements of this connection:
    // none may outlive it (nor keep it from closing).
    finalizeAll();
    sqlite3_close(db_);
    db_ = nullptr;
    depth_ = 0;
}

sqlite3_stmt* Database::prepare(const QString& sql)
{
    if (!db_) {
        setError(kErrorClass, QStringLiteral("database not open"));
        return nullptr;
    }
    auto it = cache_.constFind(sql);
    if (it != cache_.constEnd()) {
        sqlite3_reset(*it);
        sqlite3_clear_bindings(*it);
        return *it;
    }
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, s.constData(), s.size(), &st, nullptr) != SQLITE_OK || !st) {
        setSqliteError();
        if (st)
            sqlite3_finalize(st);
        return nullptr;
    }
    if (cache_.size() > 200)
        finalizeAll();
    cache_.insert(sql, st);
    return st;
}

QVariant Database::toStorage(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    if (v.userType() == qMetaTypeId<Money>())
        return QVariant(v.value<Money>().raw());
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QVariant(qint64(v.toBool() ? 1 : 0));
    case QMetaType::QDate:
        return QVariant(v.toDate().toString(Qt::ISODate));
    case QMetaType::QDateTime:
        return QVariant(v.toDateTime().date().toString(Qt::ISODate));
    default:
        return v;
    }
}

bool Database::bindAll(sqlite3_stmt* st, const QVariantList& params)
{
    const int n = sqlite3_bind_parameter_count(st);
    if (n != params.size()) {
        setError(kErrorClass, QStringLiteral("%1 parameters expected, %2 given").arg(n).arg(params.size()));
        return false;
    }
    for (int i = 0; i < n; ++i) {
        const QVariant v = toStorage(params[i]);
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(st, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Long:
            case QMetaType::ULong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(st, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(st, i + 1, b.constData(), b.size(), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray s = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, s.constData(), s.size(), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) {
            setSqliteError();
            return false;
        }
    }
    return true;
}

static QVariant columnValue(sqlite3_stmt* st, int c)
{
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(st, c)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, c));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                          sqlite3_column_bytes(st, c)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, c)), sqlite3_column_bytes(st, c)));
    default:
        return QVariant();
    }
}

bool Database::select(const QString& sql, const QVariantList& params, QueryResult* out)
{
    *out = QueryResult();
    error_ = {};
    sqlite3_stmt* st = prepare(sql);
    if (!st || !bindAll(st, params))
        return false;
    const int cols = sqlite3_column_count(st);
    for (int c = 0; c < cols; ++c) {
        out->columns << QString::fromUtf8(sqlite3_column_name(st, c));
        const char* dt = sqlite3_column_decltype(st, c);
        out->declTypes << (dt ? upper(QString::fromUtf8(dt)) : QString());
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(cols);
        for (int c = 0; c < cols; ++c)
            row << columnValue(st, c);
        out->rows << row;
    }
    if (rc != SQLITE_DONE) {
        setSqliteError();
        sqlite3_reset(st);
        out->rows.clear();
        return false;
    }
    sqlite3_reset(st);
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& params, int* changes)
{
    error_ = {};
    sqlite3_stmt* st = prepare(sql);
    if (!st || !bindAll(st, params))
        return false;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        setSqliteError();
        sqlite3_reset(st);
        return false;
    }
    sqlite3_reset(st);
    if (changes)
        *changes = sqlite3_changes(db_);
    return true;
}

bool Database::execScript(const QString& sql)
{
    error_ = {};
    if (!db_) {
        setError(kErrorClass, QStringLiteral("database not open"));
        return false;
    }
    // Schema changes invalidate cached statements.
    finalizeAll();
    char* msg = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        setError(kErrorClass, QString::fromUtf8(msg ? msg : "error"));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

QStringList Database::tableNames()
{
    QueryResult r;
    QStringList names;
    if (select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"), {}, &r))
        for (const auto& row : r.rows)
            names << row[0].toString();
    return names;
}

bool Database::hasTable(const QString& name)
{
    for (const QString& t : tableNames())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool Database::begin()
{
    if (depth_ == 0)
        failed_ = false;
    const QString sql = depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT sp%1").arg(depth_);
    if (!exec(sql))
        return false;
    ++depth_;
    return true;
}

bool Database::commit()
{
    if (depth_ == 0)
        return false;
    // A unit of work with a failed statement is never committed half-done.
    if (depth_ == 1 && failed_) {
        rollback();
        return false;
    }
    const QString sql = depth_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE sp%1").arg(depth_ - 1);
    if (!exec(sql))
        return false;
    --depth_;
    return true;
}

bool Database::rollback()
{
    if (depth_ == 0)
        return false;
    bool ok;
    if (depth_ == 1) {
        ok = exec(QStringLiteral("ROLLBACK"));
    } else {
        ok = exec(QStringLiteral("ROLLBACK TO sp%1").arg(depth_ - 1)) && exec(QStringLiteral("RELEASE sp%1").arg(depth_ - 1));
    }
    --depth_;
    if (depth_ == 0)
        failed_ = false;
    return ok;
}
