#include "recordset.h"

#include "dates.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kErrorClass = QStringLiteral("EOleException");

int moneyTypeId()
{
    static const int id = qMetaTypeId<Money>();
    return id;
}

bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isNumeric(const QVariant& v)
{
    return isIntegral(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

QString quoteIdent(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

FieldType typeFromDecl(const QString& decl)
{
    const QString d = decl.trimmed().toUpper();
    if (d.startsWith(QLatin1String("CURRENCY")) || d.startsWith(QLatin1String("MONEY")))
        return FieldType::Money;
    if (d.startsWith(QLatin1String("DATE")) || d.startsWith(QLatin1String("TIMESTAMP")))
        return FieldType::Date;
    if (d.startsWith(QLatin1String("BOOL")) || d.startsWith(QLatin1String("BIT")) || d == QLatin1String("YESNO"))
        return FieldType::Boolean;
    if (d.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (d.startsWith(QLatin1String("DOUBLE")) || d.startsWith(QLatin1String("REAL")) || d.startsWith(QLatin1String("FLOAT"))
        || d.startsWith(QLatin1String("NUMERIC")) || d.startsWith(QLatin1String("DECIMAL")))
        return FieldType::Double;
    return FieldType::Text;
}

// Quick reader for the stored ISO form; other forms go through Dates.
QDate readDate(const QVariant& v)
{
    const QString s = v.toString();
    if (s.size() >= 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-')) {
        auto digit = [&](int i) { return s[i].unicode() - '0'; };
        bool ok = true;
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
            ok = ok && s[i].unicode() >= '0' && s[i].unicode() <= '9';
        if (ok) {
            const QDate d(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3), digit(5) * 10 + digit(6),
                          digit(8) * 10 + digit(9));
            if (d.isValid())
                return d;
        }
    }
    return Dates::fromIso(s);
}

// A value as read from the database (or given by a caller) in the field's type.
// ok=false when it cannot be converted.
QVariant toTyped(FieldType type, const QVariant& v, bool* ok = nullptr)
{
    if (ok)
        *ok = true;
    if (isNullValue(v))
        return QVariant();
    auto fail = [&]() {
        if (ok)
            *ok = false;
        return QVariant();
    };
    switch (type) {
    case FieldType::Money: {
        if (v.userType() == moneyTypeId())
            return v;
        if (isIntegral(v) && v.typeId() != QMetaType::Bool)
            return QVariant::fromValue(Money::fromRaw(v.toLongLong()));
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
            return QVariant::fromValue(Money::fromRaw(qint64(std::llround(v.toDouble()))));
        Money m;
        if (Money::parse(v.toString(), &m))
            return QVariant::fromValue(m);
        return fail();
    }
    case FieldType::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().isValid() ? v : QVariant();
        if (v.typeId() == QMetaType::QDateTime)
            return QVariant(v.toDateTime().date());
        const QDate d = readDate(v);
        if (d.isValid())
            return QVariant(d);
        return v.toString().trimmed().isEmpty() ? QVariant() : fail();
    }
    case FieldType::Boolean: {
        if (v.typeId() == QMetaType::Bool)
            return v;
        if (isNumeric(v))
            return QVariant(v.toDouble() != 0);
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QVariant(false);
        bool n = false;
        const double d = s.toDouble(&n);
        return n ? QVariant(d != 0) : fail();
    }
    case FieldType::Integer: {
        if (v.typeId() == QMetaType::LongLong)
            return v;
        if (v.userType() == moneyTypeId())
            return QVariant(qint64(v.value<Money>().raw() / Money::kScale));
        if (isIntegral(v))
            return QVariant(v.toLongLong());
        if (v.typeId() == QMetaType::Double)
            return QVariant(qint64(std::llround(v.toDouble())));
        bool n = false;
        const qint64 i = v.toString().trimmed().toLongLong(&n);
        return n ? QVariant(i) : fail();
    }
    case FieldType::Double: {
        if (v.typeId() == QMetaType::Double)
            return v;
        if (v.userType() == moneyTypeId())
            return QVariant(v.value<Money>().toDouble());
        if (isNumeric(v))
            return QVariant(v.toDouble());
        bool n = false;
        const double d = v.toString().trimmed().toDouble(&n);
        return n ? QVariant(d) : fail();
    }
    case FieldType::Text:
    case FieldType::Lookup:
        break;
    }
    if (v.typeId() == QMetaType::QString)
        return v;
    if (v.userType() == moneyTypeId())
        return QVariant(v.value<Money>().plain());
    if (v.typeId() == QMetaType::QDate)
        return QVariant(Dates::toIso(v.toDate()));
    return QVariant(v.toString());
}

// A sort key: nulls first, numbers (money, dates, flags too) by value, text ignoring case.
struct SortValue {
    enum Kind : quint8 { Null, Int, Real, Text } kind = Null;
    qint64 i = 0;
    double d = 0;
    QString s;

    static SortValue of(const QVariant& v)
    {
        SortValue k;
        if (isNullValue(v))
            return k;
        const int t = v.userType();
        if (t == QMetaType::LongLong) {
            k.kind = Int;
            k.i = *static_cast<const qint64*>(v.constData());
        } else if (t == moneyTypeId()) {
            k.kind = Int;
            k.i = static_cast<const Money*>(v.constData())->raw();
        } else if (t == QMetaType::QDate) {
            k.kind = Int;
            k.i = static_cast<const QDate*>(v.constData())->toJulianDay();
        } else if (isIntegral(v)) {
            k.kind = Int;
            k.i = v.toLongLong();
        } else if (t == QMetaType::Double || t == QMetaType::Float) {
            k.kind = Real;
            k.d = v.toDouble();
        } else {
            k.kind = Text;
            k.s = t == QMetaType::QString ? *static_cast<const QString*>(v.constData())
                                          : Database::toStorage(v).toString();
        }
        return k;
    }
    int compare(const SortValue& o) const
    {
        if (kind == Null || o.kind == Null)
            return kind == o.kind ? 0 : (kind == Null ? -1 : 1);
        if (kind == Int && o.kind == Int)
            return i < o.i ? -1 : (i > o.i ? 1 : 0);
        if (kind != Text && o.kind != Text) {
            const double x = kind == Int ? double(i) : d, y = o.kind == Int ? double(o.i) : o.d;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const QString x = kind == Text ? s : (kind == Int ? QString::number(i) : QString::number(d, 'g', 15));
        const QString y = o.kind == Text ? o.s : (o.kind == Int ? QString::number(o.i) : QString::number(o.d, 'g', 15));
        return QString::compare(x, y, Qt::CaseInsensitive);
    }
};

// Exact equality of two typed values (text keeps its case).
bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool an = isNullValue(a), bn = isNullValue(b);
    if (an || bn)
        return an == bn;
    if (a.userType() == b.userType()) {
        if (a.userType() == moneyTypeId())
            return a.value<Money>() == b.value<Money>();
        if (a.typeId() == QMetaType::QString)
            return a.toString() == b.toString();
        if (a.typeId() == QMetaType::Double)
            return a.toDouble() == b.toDouble();
        return a == b;
    }
    if (isNumeric(a) && isNumeric(b))
        return isIntegral(a) && isIntegral(b) ? a.toLongLong() == b.toLongLong() : a.toDouble() == b.toDouble();
    return Database::toStorage(a).toString() == Database::toStorage(b).toString();
}

QString keyString(const QVariant& v)
{
    if (isNullValue(v))
        return QString();
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (v.typeId() == QMetaType::LongLong)
        return QString::number(v.toLongLong());
    const QVariant s = Database::toStorage(v);
    if (s.typeId() == QMetaType::Double) {
        const double d = s.toDouble();
        if (d == std::floor(d) && std::fabs(d) < 9e15)
            return QString::number(qint64(d));
    }
    return s.toString();
}

// A column default as declared in the table ("0", "'x'", "NULL", ...).
QVariant parseDefault(const QVariant& decl)
{
    if (isNullValue(decl))
        return QVariant();
    QString s = decl.toString().trimmed();
    while (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')')))
        s = s.mid(1, s.size() - 2).trimmed();
    if (s.size() >= 2 && s.startsWith(QLatin1Char('\'')) && s.endsWith(QLatin1Char('\'')))
        return QVariant(s.mid(1, s.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
    bool ok = false;
    const qint64 i = s.toLongLong(&ok);
    if (ok)
        return QVariant(i);
    const double d = s.toDouble(&ok);
    if (ok)
        return QVariant(d);
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return QVariant(qint64(1));
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QVariant(qint64(0));
    return QVariant();
}

} // namespace

// Everything post() may change in memory, to put back when the unit of work fails.
struct RecordSet::Snapshot {
    State state;
    QStringList columns, fields;
    QVector<FieldType> types;
    QVector<QVariantList> rows;
    QVector<int> view;
    int cur, editRow, insertAt;
    QVariantList buffer;
    bool modified, bof, eof;
};

RecordSet::RecordSet(Database* db, QObject* parent) : QObject(parent), db_(db) {}

// --- source ------------------------------------------------------------------

void RecordSet::setTable(const QString& table) { table_ = table; }

void RecordSet::setTableCondition(const QString& whereSql, const QVariantList& params)
{
    tableWhere_ = whereSql;
    tableParams_ = params;
}

void RecordSet::setSql(const QString& sql, const QVariantList& params)
{
    sql_ = sql;
    params_ = params;
}

bool RecordSet::load()
{
    error_ = {};
    QString sql = sql_;
    QVariantList params = params_;
    if (sql.isEmpty()) {
        if (table_.isEmpty()) {
            error_ = {kErrorClass, QStringLiteral("No SQL statement and no table to read")};
            return false;
        }
        sql = QStringLiteral("SELECT * FROM ") + quoteIdent(table_);
        params.clear();
        if (!tableWhere_.isEmpty()) {
            sql += QStringLiteral(" WHERE ") + tableWhere_;
            params = tableParams_;
        }
    }
    if (!db_) {
        error_ = {kErrorClass, QStringLiteral("database not open")};
        return false;
    }
    QueryResult r;
    if (!db_->select(sql, params, &r)) {
        error_ = db_->lastError();
        return false;
    }

    // The table written back: its columns and their declared defaults.
    tableColumns_.clear();
    tableDefaults_.clear();
    if (!table_.isEmpty()) {
        QueryResult info;
        if (db_->select(QStringLiteral("PRAGMA table_info(") + quoteIdent(table_) + QLatin1Char(')'), {}, &info)) {
            const int nameCol = info.column(QStringLiteral("name"));
            const int dfltCol = info.column(QStringLiteral("dflt_value"));
            for (const auto& row : std::as_const(info.rows)) {
                tableColumns_ << row.value(nameCol).toString();
                tableDefaults_ << parseDefault(row.value(dfltCol));
            }
        }
    }

    columns_ = r.columns;
    const int n = columns_.size();
    QVector<FieldType> types(n, FieldType::Text);
    for (int c = 0; c < n; ++c) {
        auto ov = typeOverrides_.constFind(columns_[c].toLower());
        if (ov != typeOverrides_.constEnd() && *ov != FieldType::Lookup) {
            types[c] = *ov;
            continue;
        }
        const QString decl = c < r.declTypes.size() ? r.declTypes[c] : QString();
        if (!decl.isEmpty()) {
            types[c] = typeFromDecl(decl);
            continue;
        }
        // An expression: take the kind of its first value.
        for (const auto& row : std::as_const(r.rows)) {
            const QVariant& v = row[c];
            if (isNullValue(v))
                continue;
            types[c] = v.typeId() == QMetaType::LongLong ? FieldType::Integer
                       : v.typeId() == QMetaType::Double ? FieldType::Double
                                                         : FieldType::Text;
            break;
        }
    }
    for (int c = 0; c < n; ++c) {
        const FieldType t = types[c];
        const int already = t == FieldType::Integer ? QMetaType::LongLong
                            : t == FieldType::Text  ? QMetaType::QString
                            : t == FieldType::Double ? QMetaType::Double
                                                     : QMetaType::UnknownType;
        for (auto& row : r.rows) {
            QVariant& v = row[c];
            if (already != QMetaType::UnknownType && v.typeId() == already)
                continue;
            if (isNullValue(v)) {
                if (v.isValid())
                    v = QVariant();
                continue;
            }
            bool ok = true;
            QVariant typed = toTyped(t, v, &ok);
            v = ok ? typed : QVariant();
        }
    }
    rows_ = std::move(r.rows);
    ++loads_;
    types_ = types;
    rebuildFields();
    buffer_.clear();
    editRow_ = insertAt_ = -1;
    modified_ = false;
    ++generation_;
    lookupCache_.clear();
    return true;
}

void RecordSet::rebuildFields()
{
    fields_ = columns_;
    types_.resize(columns_.size());
    for (const Lookup& l : std::as_const(lookups_)) {
        fields_ << l.name;
        types_ << FieldType::Lookup;
    }
}

bool RecordSet::open()
{
    if (isEditing())
        discardEdit();
    if (!load()) {
        rows_.clear();
        view_.clear();
        cur_ = -1;
        bof_ = eof_ = true;
        setState(Inactive);
        notifyReset();
        return false;
    }
    rebuildView();
    cur_ = view_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.isEmpty();
    setState(Browse);
    notifyReset();
    notifyCurrent();
    return true;
}

void RecordSet::close()
{
    if (state_ == Inactive)
        return;
    rows_.clear();
    view_.clear();
    buffer_.clear();
    editRow_ = insertAt_ = -1;
    modified_ = false;
    cur_ = -1;
    bof_ = eof_ = true;
    ++generation_;
    setState(Inactive);
    notifyReset();
}

bool RecordSet::reopen()
{
    const int rec = recNo();
    if (isEditing())
        discardEdit();
    if (!load()) {
        rows_.clear();
        view_.clear();
        cur_ = -1;
        bof_ = eof_ = true;
        setState(Inactive);
        notifyReset();
        return false;
    }
    rebuildView();
    if (view_.isEmpty()) {
        cur_ = -1;
        bof_ = eof_ = true;
    } else {
        cur_ = std::clamp(rec - 1, 0, int(view_.size()) - 1);
        bof_ = cur_ == 0;
        eof_ = false;
    }
    setState(Browse);
    notifyReset();
    notifyCurrent();
    return true;
}

// --- fields ------------------------------------------------------------------

int RecordSet::fieldCount() const { return fields_.isEmpty() && columns_.isEmpty() ? lookups_.size() : fields_.size(); }

QString RecordSet::fieldName(int i) const
{
    if (fields_.isEmpty() && columns_.isEmpty())
        return i >= 0 && i < lookups_.size() ? lookups_[i].name : QString();
    return fields_.value(i);
}

int RecordSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i] == name)
            return i;
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

FieldType RecordSet::fieldType(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i >= 0)
        return types_.value(i, FieldType::Text);
    if (lookupFor(name))
        return FieldType::Lookup;
    return typeOverrides_.value(name.toLower(), FieldType::Text);
}

bool RecordSet::isLookupField(const QString& name) const { return lookupFor(name) != nullptr; }

const RecordSet::Lookup* RecordSet::lookupFor(const QString& name) const
{
    for (const Lookup& l : lookups_)
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

void RecordSet::addLookupField(const QString& name, const QString& keyField, RecordSet* source,
                               const QString& sourceKey, const QString& resultField)
{
    for (Lookup& l : lookups_) {
        if (l.name.compare(name, Qt::CaseInsensitive) == 0) {
            l = {name, keyField, source, sourceKey, resultField};
            lookupCache_.clear();
            rebuildFields();
            notifyReset();
            return;
        }
    }
    lookups_.append({name, keyField, source, sourceKey, resultField});
    if (state_ != Inactive) {
        rebuildFields();
        notifyReset();
    }
}

void RecordSet::setFieldType(const QString& name, FieldType type)
{
    typeOverrides_.insert(name.toLower(), type);
    const int i = fieldIndex(name);
    if (i < 0 || i >= columns_.size() || type == FieldType::Lookup || types_[i] == type)
        return;
    types_[i] = type;
    auto convert = [&](QVariant& v) {
        bool ok = true;
        const QVariant t = toTyped(type, Database::toStorage(v), &ok);
        v = ok ? t : QVariant();
    };
    for (auto& row : rows_)
        convert(row[i]);
    if (i < buffer_.size())
        convert(buffer_[i]);
    notifyReset();
}

// --- values ------------------------------------------------------------------

int RecordSet::visibleCount() const { return view_.size() + (state_ == Insert ? 1 : 0); }

// The values of visible row `row`: the edit buffer for the row being edited
// or inserted. While the filter runs, rows are addressed in query order.
const QVariantList* RecordSet::rowAt(int row) const
{
    if (filtering_)
        return row >= 0 && row < rows_.size() ? &rows_[row] : nullptr;
    if (row < 0 || row >= visibleCount())
        return nullptr;
    if (state_ == Insert) {
        if (row == insertAt_)
            return &buffer_;
        return &rows_[view_[row > insertAt_ ? row - 1 : row]];
    }
    if (state_ == Edit && row == cur_)
        return &buffer_;
    return &rows_[view_[row]];
}

QVariant RecordSet::cell(const QVariantList& row, int fieldIdx) const
{
    if (fieldIdx < 0)
        return QVariant();
    if (fieldIdx < columns_.size())
        return row.value(fieldIdx);
    const int li = fieldIdx - columns_.size();
    if (li < lookups_.size())
        return lookupValue(lookups_[li], row);
    return QVariant();
}

QVariant RecordSet::lookupValue(const Lookup& l, const QVariantList& row) const
{
    const RecordSet* src = l.source.data();
    if (!src)
        return QVariant();
    const QVariant key = cell(row, fieldIndex(l.keyField));
    if (isNullValue(key))
        return QVariant();
    const int li = int(&l - lookups_.constData());
    if (lookupCache_.size() != lookups_.size())
        lookupCache_.resize(lookups_.size());
    LookupCache& cache = lookupCache_[li];
    if (cache.source != src || cache.generation != src->generation_) {
        cache.map.clear();
        cache.source = src;
        cache.generation = src->generation_;
        const int k = src->fieldIndex(l.sourceKey);
        const int v = src->fieldIndex(l.result);
        if (k >= 0 && v >= 0) {
            cache.map.reserve(src->view_.size());
            for (int raw : src->view_) {
                const QVariantList& r = src->rows_[raw];
                const QString ks = keyString(src->cell(r, k));
                if (!cache.map.contains(ks))
                    cache.map.insert(ks, src->cell(r, v));
            }
        }
    }
    return cache.map.value(keyString(key));
}

bool RecordSet::lookupKeyFor(const Lookup& l, const QVariant& result, QVariant* key) const
{
    const RecordSet* src = l.source.data();
    if (!src)
        return false;
    const int k = src->fieldIndex(l.sourceKey);
    const int v = src->fieldIndex(l.result);
    if (k < 0 || v < 0)
        return false;
    for (int raw : src->view_) {
        const QVariantList& r = src->rows_[raw];
        const QVariant rv = src->cell(r, v);
        if (sameValue(rv, result) || (result.typeId() == QMetaType::QString && defaultText(rv) == result.toString())) {
            *key = src->cell(r, k);
            return true;
        }
    }
    return false;
}

QVariant RecordSet::value(const QString& field) const { return value(currentRow(), field); }

QVariant RecordSet::value(int row, const QString& field) const
{
    const QVariantList* r = rowAt(row);
    return r ? cell(*r, fieldIndex(field)) : QVariant();
}

QString RecordSet::text(const QString& field) const
{
    const QVariant v = value(field);
    if (isNullValue(v))
        return QString();
    if (v.userType() == moneyTypeId())
        return v.value<Money>().plain();
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Double)
        return defaultText(v);
    return v.toString();
}

qint64 RecordSet::integer(const QString& field) const { return toTyped(FieldType::Integer, value(field)).toLongLong(); }

Money RecordSet::money(const QString& field) const
{
    const QVariant v = toTyped(FieldType::Money, value(field));
    return v.userType() == moneyTypeId() ? v.value<Money>() : Money();
}

QDate RecordSet::date(const QString& field) const { return toTyped(FieldType::Date, value(field)).toDate(); }

bool RecordSet::boolean(const QString& field) const { return toTyped(FieldType::Boolean, value(field)).toBool(); }

QVariant RecordSet::oldValue(const QString& field) const
{
    if (state_ == Insert)
        return QVariant();
    if (state_ == Edit)
        return editRow_ >= 0 && editRow_ < rows_.size() ? cell(rows_[editRow_], fieldIndex(field)) : QVariant();
    return value(field);
}

bool RecordSet::setValue(const QString& field, const QVariant& v)
{
    if (!isEditing() || readOnly_)
        return false;
    if (const Lookup* l = lookupFor(field)) {
        QVariant key;
        if (isNullValue(v))
            return setValue(l->keyField, QVariant());
        if (!lookupKeyFor(*l, v, &key))
            return false;
        return setValue(l->keyField, key);
    }
    const int i = fieldIndex(field);
    if (i < 0 || i >= columns_.size())
        return false;
    bool ok = true;
    QVariant typed = toTyped(types_[i], v, &ok);
    if (!ok)
        return false;
    if (types_[i] == FieldType::Text && typed.typeId() == QMetaType::QString && typed.toString().isEmpty())
        typed = QVariant(); // an empty text is stored as NULL, as the old data engine did
    if (buffer_.size() < columns_.size())
        buffer_.resize(columns_.size());
    if (sameValue(buffer_[i], typed) && buffer_[i].userType() == typed.userType())
        return true; // unchanged: no change event, so hooks setting the same value do not loop
    buffer_[i] = typed;
    modified_ = true;
    notifyRowChanged(cur_);
    if (onFieldChange)
        onFieldChange(*this, fields_[i]);
    return true;
}

void RecordSet::setGetText(const QString& field, GetText hook)
{
    if (hook)
        getText_.insert(field.toLower(), std::move(hook));
    else
        getText_.remove(field.toLower());
}

void RecordSet::setSetText(const QString& field, SetText hook)
{
    if (hook)
        setText_.insert(field.toLower(), std::move(hook));
    else
        setText_.remove(field.toLower());
}

QString RecordSet::defaultText(const QVariant& v)
{
    if (isNullValue(v))
        return QString();
    if (v.userType() == moneyTypeId())
        return v.value<Money>().display();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return Dates::shortText(v.toDate());
    case QMetaType::QDateTime:
        return Dates::shortText(v.toDateTime().date());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QString RecordSet::displayText(int row, const QString& field) const
{
    auto hook = getText_.constFind(field.toLower());
    if (hook != getText_.constEnd() && *hook)
        return (*hook)(*this, row, field);
    return defaultText(value(row, field));
}

QString RecordSet::displayText(const QString& field) const { return displayText(currentRow(), field); }

bool RecordSet::setText(const QString& field, const QString& text, QString* error)
{
    QString err;
    auto refuse = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!isEditing() || readOnly_)
        return refuse(QStringLiteral("Dataset not in edit or insert mode"));
    auto hook = setText_.constFind(field.toLower());
    if (hook != setText_.constEnd() && *hook) {
        if (!(*hook)(*this, field, text, &err))
            return refuse(err);
        return true;
    }
    const FieldType type = fieldType(field);
    const QString t = text.trimmed();
    QVariant v;
    switch (type) {
    case FieldType::Money: {
        Money m;
        if (t.isEmpty())
            m = Money();
        else if (!Money::parse(t, &m))
            return refuse(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        v = QVariant::fromValue(m);
        break;
    }
    case FieldType::Date:
        if (!t.isEmpty()) {
            const QDate d = Dates::parse(t);
            if (!d.isValid())
                return refuse(QStringLiteral("'%1' is not a valid date").arg(text));
            v = d;
        }
        break;
    case FieldType::Integer:
        if (!t.isEmpty()) {
            bool ok = false;
            const qint64 i = t.toLongLong(&ok);
            if (!ok)
                return refuse(QStringLiteral("'%1' is not a valid integer value").arg(text));
            v = i;
        }
        break;
    case FieldType::Double:
        if (!t.isEmpty()) {
            bool ok = false;
            const double d = t.toDouble(&ok);
            if (!ok)
                return refuse(QStringLiteral("'%1' is not a valid floating point value").arg(text));
            v = d;
        }
        break;
    case FieldType::Boolean:
        if (!t.isEmpty()) {
            bool ok = true;
            v = toTyped(FieldType::Boolean, t, &ok);
            if (!ok)
                return refuse(QStringLiteral("'%1' is not a valid boolean value").arg(text));
        }
        break;
    case FieldType::Lookup:
        if (!t.isEmpty()) {
            const Lookup* l = lookupFor(field);
            QVariant key;
            if (!l || !lookupKeyFor(*l, text, &key))
                return refuse(QStringLiteral("'%1' is not a valid value").arg(text));
            if (!setValue(l->keyField, key))
                return refuse(QStringLiteral("Field '%1' cannot be modified").arg(field));
            return true;
        }
        break;
    case FieldType::Text:
        v = text.isEmpty() ? QVariant() : QVariant(text);
        break;
    }
    if (!setValue(field, v))
        return refuse(QStringLiteral("Field '%1' cannot be modified").arg(field));
    return true;
}

// --- navigation --------------------------------------------------------------

int RecordSet::recordCount() const { return state_ == Inactive ? 0 : visibleCount(); }

int RecordSet::recNo() const { return state_ == Inactive || cur_ < 0 ? 0 : cur_ + 1; }

void RecordSet::setCursor(int row)
{
    if (row == cur_)
        return;
    cur_ = row;
    notifyCurrent();
}

// Leaves the row being edited as a grid does: a modified row is posted, an
// untouched one is cancelled. False when the post failed (the row stays).
bool RecordSet::checkBrowseMode()
{
    if (!isEditing())
        return true;
    if (modified_)
        return post();
    cancel();
    return true;
}

// Visible position of the row whose key (or, without a key, all columns)
// matches `values`; -1 when it is gone.
int RecordSet::findRow(const QVariantList& values) const
{
    QList<int> keys;
    for (const QString& k : keyFields_) {
        const int i = fieldIndex(k);
        if (i < 0 || i >= columns_.size()) {
            keys.clear();
            break;
        }
        keys << i;
    }
    if (keys.isEmpty())
        for (int i = 0; i < columns_.size(); ++i)
            keys << i;
    for (int pos = 0; pos < view_.size(); ++pos) {
        const QVariantList& r = rows_[view_[pos]];
        bool same = true;
        for (int i : std::as_const(keys))
            if (!sameValue(r.value(i), values.value(i))) {
                same = false;
                break;
            }
        if (same)
            return pos;
    }
    return -1;
}

bool RecordSet::moveTo(int row, bool fireAlways)
{
    if (state_ == Inactive)
        return false;
    if (isEditing()) {
        const bool wasInsert = state_ == Insert;
        const int at = insertAt_;
        const int before = visibleCount();
        if (wasInsert && row == at)
            return true; // already on the new row
        // Remember which row is wanted: posting may reopen the set.
        const QVariantList* target = rowAt(row);
        const bool targetIsEdited = state_ == Edit && row == cur_;
        const QVariantList wanted = target && !targetIsEdited ? *target : QVariantList();
        const QStringList columnsBefore = columns_;
        const quint64 loads = loads_;
        if (!checkBrowseMode())
            return false;
        if (loads != loads_) {
            const int pos = wanted.isEmpty() || columns_ != columnsBefore ? -1 : findRow(wanted);
            if (pos >= 0)
                row = pos;
        } else if (wasInsert && visibleCount() < before && row > at) {
            --row; // the untouched new row went away
        }
        if (state_ == Inactive)
            return false;
    }
    const int n = visibleCount();
    if (n == 0) {
        bof_ = eof_ = true;
        return false;
    }
    row = std::clamp(row, 0, n - 1);
    if (row == cur_ && !fireAlways)
        return true;
    if (beforeScroll)
        beforeScroll(*this);
    setCursor(row);
    if (afterScroll)
        afterScroll(*this);
    return true;
}

bool RecordSet::setRecNo(int n)
{
    const bool ok = moveTo(n - 1, false);
    if (ok)
        bof_ = eof_ = false;
    return ok;
}

bool RecordSet::first()
{
    const bool ok = moveTo(0, true);
    bof_ = true;
    eof_ = recordCount() == 0;
    return ok;
}

bool RecordSet::last()
{
    const bool ok = moveTo(recordCount() - 1, true);
    eof_ = true;
    bof_ = recordCount() == 0;
    return ok;
}

int RecordSet::moveBy(int delta)
{
    if (state_ == Inactive)
        return 0;
    if (!checkBrowseMode())
        return 0;
    const int n = visibleCount();
    if (n == 0) {
        bof_ = eof_ = true;
        return 0;
    }
    const int from = std::max(cur_, 0);
    const int to = std::clamp(from + delta, 0, n - 1);
    moveTo(to, true);
    const int moved = to - from;
    if (delta > 0) {
        eof_ = moved < delta;
        bof_ = false;
    } else if (delta < 0) {
        bof_ = moved > delta;
        eof_ = false;
    }
    return moved;
}

bool RecordSet::next() { return moveBy(1) == 1; }

bool RecordSet::prior() { return moveBy(-1) == -1; }

bool RecordSet::locate(const QString& field, const QVariant& v)
{
    if (state_ == Inactive)
        return false;
    const int fi = fieldIndex(field);
    if (fi < 0)
        return false;
    if (!checkBrowseMode())
        return false;
    const FieldType t = types_.value(fi, FieldType::Text);
    QVariant want = v;
    if (t != FieldType::Lookup) {
        bool ok = true;
        want = toTyped(t, v, &ok);
        if (!ok)
            return false;
    }
    for (int i = 0; i < view_.size(); ++i) {
        if (sameValue(cell(rows_[view_[i]], fi), want)) {
            moveTo(i, true);
            bof_ = eof_ = false;
            return true;
        }
    }
    return false;
}

// --- editing -----------------------------------------------------------------

void RecordSet::setState(State s)
{
    if (state_ == s)
        return;
    state_ = s;
    emit stateChanged(s);
}

bool RecordSet::edit()
{
    if (state_ == Edit || state_ == Insert)
        return true;
    if (state_ != Browse || readOnly_ || cur_ < 0 || cur_ >= view_.size())
        return false;
    editRow_ = view_[cur_];
    buffer_ = rows_[editRow_];
    modified_ = false;
    setState(Edit);
    if (afterEdit)
        afterEdit(*this);
    return true;
}

bool RecordSet::beginNew(bool atEnd)
{
    if (state_ == Inactive || readOnly_)
        return false;
    if (!checkBrowseMode())
        return false;
    insertAt_ = atEnd || cur_ < 0 ? view_.size() : std::min(cur_, int(view_.size()));
    buffer_ = QVariantList();
    buffer_.resize(columns_.size());
    editRow_ = -1;
    notifyInsert(insertAt_, true);
    state_ = Insert;
    cur_ = insertAt_;
    notifyInsert(insertAt_, false);
    bof_ = eof_ = false;
    emit stateChanged(Insert);
    notifyCurrent();
    if (onNewRecord)
        onNewRecord(*this);
    modified_ = false; // defaults filled by the hook do not make the row modified
    if (afterInsert)
        afterInsert(*this);
    return true;
}

bool RecordSet::append() { return beginNew(true); }

bool RecordSet::insert() { return beginNew(false); }

// Drops the edit buffer without events (closing, reopening).
void RecordSet::discardEdit()
{
    if (state_ == Insert) {
        const int at = insertAt_;
        notifyRemove(at, true);
        state_ = Browse;
        notifyRemove(at, false);
        cur_ = view_.isEmpty() ? -1 : std::min(at, int(view_.size()) - 1);
    } else if (state_ == Edit) {
        state_ = Browse;
        notifyRowChanged(cur_);
    }
    buffer_.clear();
    editRow_ = insertAt_ = -1;
    modified_ = false;
    emit stateChanged(state_);
}

void RecordSet::cancel()
{
    if (!isEditing())
        return;
    discardEdit();
    finishEditing();
    notifyCurrent();
    if (afterCancel)
        afterCancel(*this);
}

// A sort or filter set while a row could not be left takes effect now.
void RecordSet::finishEditing()
{
    if (!pendingRebuild_ || isEditing())
        return;
    pendingRebuild_ = false;
    const int raw = cur_ >= 0 && cur_ < view_.size() ? view_[cur_] : -1;
    rebuildView();
    const int pos = raw >= 0 ? int(view_.indexOf(raw)) : -1;
    cur_ = pos >= 0 ? pos : (view_.isEmpty() ? -1 : 0);
    notifyReset();
    notifyCurrent();
}

bool RecordSet::keyClause(const QVariantList& orig, QString* where, QVariantList* params) const
{
    QList<int> keys;
    bool explicitKey = !keyFields_.isEmpty();
    for (const QString& k : keyFields_) {
        const int i = fieldIndex(k);
        if (i < 0 || i >= columns_.size() || !tableColumns_.contains(columns_[i], Qt::CaseInsensitive)) {
            explicitKey = false;
            break;
        }
        keys << i;
    }
    if (!explicitKey) {
        keys.clear();
        for (int i = 0; i < columns_.size(); ++i)
            if (tableColumns_.contains(columns_[i], Qt::CaseInsensitive))
                keys << i;
    }
    if (keys.isEmpty())
        return false;
    QStringList terms;
    for (int i : keys) {
        const QVariant v = orig.value(i);
        if (isNullValue(v)) {
            terms << quoteIdent(columns_[i]) + QStringLiteral(" IS NULL");
        } else {
            terms << quoteIdent(columns_[i]) + QStringLiteral(" = ?");
            *params << v;
        }
    }
    const QString cond = terms.join(QStringLiteral(" AND "));
    if (explicitKey)
        *where = cond;
    else // without a key, touch exactly one of any identical rows
        *where = QStringLiteral("rowid = (SELECT rowid FROM ") + quoteIdent(table_) + QStringLiteral(" WHERE ") + cond
                 + QStringLiteral(" LIMIT 1)");
    return true;
}

bool RecordSet::buildWrite(QString* sql, QVariantList* params, bool* needed)
{
    *needed = true;
    if (table_.isEmpty() || tableColumns_.isEmpty()) {
        error_ = {kErrorClass, QStringLiteral("Record set has no table to write to")};
        return false;
    }
    const QString t = quoteIdent(table_);
    QStringList cols;
    if (state_ == Insert) {
        // Columns left empty are not named, so the table's defaults apply.
        for (int i = 0; i < columns_.size(); ++i) {
            if (!tableColumns_.contains(columns_[i], Qt::CaseInsensitive) || isNullValue(buffer_.value(i)))
                continue;
            cols << quoteIdent(columns_[i]);
            *params << buffer_[i];
        }
        if (cols.isEmpty()) {
            *sql = QStringLiteral("INSERT INTO ") + t + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?");
            *sql = QStringLiteral("INSERT INTO ") + t + QStringLiteral(" (") + cols.join(QStringLiteral(", "))
                   + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        return true;
    }
    const QVariantList& orig = rows_[editRow_];
    for (int i = 0; i < columns_.size(); ++i) {
        if (!tableColumns_.contains(columns_[i], Qt::CaseInsensitive))
            continue;
        const QVariant& nv = buffer_.value(i);
        if (sameValue(nv, orig.value(i)))
            continue;
        cols << quoteIdent(columns_[i]) + QStringLiteral(" = ?");
        *params << nv;
    }
    if (cols.isEmpty()) {
        *needed = false;
        return true;
    }
    QString where;
    if (!keyClause(orig, &where, params)) {
        error_ = {kErrorClass, QStringLiteral("Record set has no key to find the row")};
        return false;
    }
    *sql = QStringLiteral("UPDATE ") + t + QStringLiteral(" SET ") + cols.join(QStringLiteral(", "))
           + QStringLiteral(" WHERE ") + where;
    return true;
}

void RecordSet::writeFailed(const QString& sql)
{
    if (db_)
        db_->markFailed();
    if (onWriteError)
        onWriteError(sql, error_);
}

// --- the unit of work of one write (post, remove) -------------------------------

// Opens the write's transaction: its depth, or -1 (reported) when it cannot.
int RecordSet::beginWrite()
{
    if (!db_ || !db_->isOpen()) {
        error_ = {kErrorClass, QStringLiteral("database not open")};
        if (onWriteError)
            onWriteError(QString(), error_);
        return -1;
    }
    if (!db_->begin()) {
        error_ = db_->lastError();
        if (onWriteError)
            onWriteError(QStringLiteral("BEGIN"), error_);
        return -1;
    }
    return db_->transactionDepth();
}

// Rolls back the write's transaction and whatever the hooks left open in it.
void RecordSet::rollbackWrite(int depth)
{
    while (db_->transactionDepth() >= depth && db_->transactionDepth() > 0)
        db_->rollback();
}

// Runs the write's statement; a failure, or no row touched where one must
// be, is reported and rolls the write back.
bool RecordSet::execWrite(const QString& sql, const QVariantList& params, bool mustTouchRow, int depth)
{
    int changes = 0;
    if (!db_->exec(sql, params, &changes)) {
        error_ = db_->lastError();
        writeFailed(sql);
        rollbackWrite(depth);
        return false;
    }
    if (mustTouchRow && changes == 0) {
        error_ = {kErrorClass, QStringLiteral("Row cannot be located for updating. Some values may have been "
                                              "changed since it was last read.")};
        writeFailed(sql);
        rollbackWrite(depth);
        return false;
    }
    return true;
}

// Commits the write; when that fails (or a hook ended the transaction) the
// error is kept and the write rolled back.
bool RecordSet::commitWrite(int depth)
{
    const bool ok = db_->transactionDepth() >= depth && !db_->transactionFailed() && db_->commit();
    if (!ok) {
        error_ = db_->lastError();
        rollbackWrite(depth);
    }
    return ok;
}

bool RecordSet::post()
{
    if (!isEditing())
        return false;
    const int depth = beginWrite();
    if (depth < 0)
        return false;
    if (beforePost && !beforePost(*this)) {
        rollbackWrite(depth);
        return false;
    }
    if (!isEditing()) { // the hook left the row
        rollbackWrite(depth);
        return false;
    }
    const bool inserting = state_ == Insert;
    QString sql;
    QVariantList params;
    bool needed = true;
    if (!buildWrite(&sql, &params, &needed)) {
        writeFailed(sql);
        rollbackWrite(depth);
        return false;
    }
    if (needed && !execWrite(sql, params, !inserting, depth))
        return false;

    Snapshot snap{state_, columns_, fields_, types_, rows_, view_, cur_, editRow_, insertAt_, buffer_, modified_, bof_, eof_};

    // The row as written: columns left out of an INSERT hold their defaults.
    QVariantList row = buffer_;
    row.resize(columns_.size());
    if (inserting) {
        for (int i = 0; i < columns_.size(); ++i) {
            if (!isNullValue(row[i]))
                continue;
            for (int c = 0; c < tableColumns_.size(); ++c)
                if (tableColumns_[c].compare(columns_[i], Qt::CaseInsensitive) == 0)
                    row[i] = toTyped(types_[i], tableDefaults_.value(c));
        }
        rows_.append(row);
        view_.insert(insertAt_, int(rows_.size()) - 1);
        cur_ = insertAt_;
    } else {
        rows_[editRow_] = row;
    }
    buffer_.clear();
    editRow_ = insertAt_ = -1;
    modified_ = false;
    ++generation_;
    setState(Browse);
    notifyRowChanged(cur_);

    if (afterPost)
        afterPost(*this);

    if (!commitWrite(depth)) {
        // Back to exactly what was in memory, still editing what was typed.
        columns_ = snap.columns;
        fields_ = snap.fields;
        types_ = snap.types;
        rows_ = snap.rows;
        view_ = snap.view;
        cur_ = snap.cur;
        editRow_ = snap.editRow;
        insertAt_ = snap.insertAt;
        buffer_ = snap.buffer;
        modified_ = snap.modified;
        bof_ = snap.bof;
        eof_ = snap.eof;
        ++generation_;
        lookupCache_.clear();
        setState(snap.state);
        notifyReset();
        notifyCurrent();
        return false;
    }
    finishEditing();
    if (afterCommit)
        afterCommit(*this);
    return true;
}

bool RecordSet::remove()
{
    if (state_ == Inactive || readOnly_)
        return false;
    if (state_ == Insert) { // a row never written just goes away
        cancel();
        return true;
    }
    // The row is deleted as it is stored: what was typed into it is dropped
    // first, so the delete hooks see the stored values.
    if (state_ == Edit)
        discardEdit();
    if (cur_ < 0 || cur_ >= view_.size())
        return false;
    const int depth = beginWrite();
    if (depth < 0)
        return false;
    if (beforeDelete && !beforeDelete(*this)) {
        rollbackWrite(depth);
        return false;
    }
    if (state_ != Browse || cur_ < 0 || cur_ >= view_.size()) { // the hook changed the state
        rollbackWrite(depth);
        return false;
    }
    const int raw = view_[cur_];
    QString sql, where;
    QVariantList params;
    if (table_.isEmpty() || tableColumns_.isEmpty() || !keyClause(rows_[raw], &where, &params)) {
        error_ = {kErrorClass, QStringLiteral("Record set has no table to write to")};
        writeFailed(sql);
        rollbackWrite(depth);
        return false;
    }
    sql = QStringLiteral("DELETE FROM ") + quoteIdent(table_) + QStringLiteral(" WHERE ") + where;
    if (!execWrite(sql, params, true, depth))
        return false;
    if (!commitWrite(depth))
        return false;
    // The hooks may have reopened the set: find the row again.
    const int pos = raw < rows_.size() ? int(view_.indexOf(raw)) : -1;
    if (pos >= 0) {
        notifyRemove(pos, true);
        rows_.removeAt(raw);
        view_.removeAt(pos);
        for (int& v : view_)
            if (v > raw)
                --v;
        ++generation_;
        notifyRemove(pos, false);
        cur_ = view_.isEmpty() ? -1 : std::min(pos, int(view_.size()) - 1);
        bof_ = view_.isEmpty();
        eof_ = view_.isEmpty();
        notifyCurrent();
    }
    if (afterDelete)
        afterDelete(*this);
    return true;
}

// --- filter and sort ---------------------------------------------------------

void RecordSet::rebuildView()
{
    ++generation_;
    view_.clear();
    view_.reserve(rows_.size());
    if (filter_) {
        filtering_ = true;
        for (int i = 0; i < rows_.size(); ++i)
            if (filter_(*this, i))
                view_.append(i);
        filtering_ = false;
    } else {
        for (int i = 0; i < rows_.size(); ++i)
            view_.append(i);
    }
    if (sort_.trimmed().isEmpty())
        return;
    struct Key { int field; bool desc; };
    QVector<Key> keys;
    for (const QString& part : sort_.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const int f = fieldIndex(words[0]);
        if (f < 0)
            continue;
        const bool desc = words.size() > 1 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        keys.append({f, desc});
    }
    if (keys.isEmpty())
        return;
    // Each key value is worked out once per row (lookups included), in a
    // compact form that compares cheaply.
    QVector<QVector<SortValue>> values(keys.size());
    for (int k = 0; k < keys.size(); ++k) {
        QVector<SortValue>& col = values[k];
        col.resize(rows_.size());
        for (int raw : std::as_const(view_))
            col[raw] = SortValue::of(cell(rows_[raw], keys[k].field));
    }
    struct Column { const SortValue* values; bool desc; };
    QVector<Column> cols;
    for (int k = 0; k < keys.size(); ++k)
        cols.append({std::as_const(values[k]).constData(), keys[k].desc});
    const Column* first = cols.constData();
    const Column* end = first + cols.size();
    std::stable_sort(view_.begin(), view_.end(), [first, end](int a, int b) {
        for (const Column* c = first; c != end; ++c) {
            const int r = c->values[a].compare(c->values[b]);
            if (r != 0)
                return c->desc ? r > 0 : r < 0;
        }
        return false;
    });
}

void RecordSet::setFilter(Filter f, const QString& text)
{
    const bool left = checkBrowseMode();
    filter_ = std::move(f);
    filterText_ = text;
    if (state_ == Inactive)
        return;
    pendingRebuild_ = true;
    if (left)
        finishEditing();
}

void RecordSet::clearFilter() { setFilter(Filter(), QString()); }

void RecordSet::setSort(const QString& sort)
{
    const bool left = checkBrowseMode();
    sort_ = sort;
    if (state_ == Inactive)
        return;
    pendingRebuild_ = true;
    if (left)
        finishEditing();
}

// --- controls and notifications ------------------------------------------------

void RecordSet::disableControls() { ++controlsDisabled_; }

void RecordSet::enableControls()
{
    if (controlsDisabled_ == 0)
        return;
    if (--controlsDisabled_ == 0 && controlsDirty_) {
        controlsDirty_ = false;
        emit reset();
        emit currentChanged(currentRow());
    }
}

void RecordSet::notifyReset()
{
    ++generation_;
    if (controlsDisabled_) {
        controlsDirty_ = true;
        return;
    }
    emit reset();
}

void RecordSet::notifyRowChanged(int row)
{
    ++generation_;
    if (controlsDisabled_) {
        controlsDirty_ = true;
        return;
    }
    if (row >= 0)
        emit rowChanged(row);
}

void RecordSet::notifyCurrent()
{
    if (controlsDisabled_) {
        controlsDirty_ = true;
        return;
    }
    emit currentChanged(currentRow());
}

void RecordSet::notifyInsert(int row, bool before)
{
    if (controlsDisabled_) {
        controlsDirty_ = true;
        return;
    }
    if (before)
        emit aboutToInsertRow(row);
    else
        emit rowInserted(row);
}

void RecordSet::notifyRemove(int row, bool before)
{
    if (controlsDisabled_) {
        controlsDirty_ = true;
        return;
    }
    if (before)
        emit aboutToRemoveRow(row);
    else
        emit rowRemoved(row);
}
