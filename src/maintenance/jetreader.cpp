#include "jetreader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <mdbtools.h>

#include <memory>
#include <vector>

namespace {

MdbHandle* mdb(void* h) { return static_cast<MdbHandle*>(h); }

const char kDateFormat[] = "%Y-%m-%d %H:%M:%S";

QVariant convert(int type, const char* text, int len)
{
    const QByteArray raw(text, len);
    switch (type) {
    case MDB_TEXT:
    case MDB_MEMO:
        return QString::fromUtf8(raw);
    default:
        break;
    }
    if (len == 0)
        return QVariant();
    switch (type) {
    case MDB_BOOL:
        return raw.trimmed() != "0" && raw.trimmed().toLower() != "false";
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return raw.trimmed().toLongLong();
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return raw.trimmed().toDouble();
    case MDB_MONEY:
    case MDB_NUMERIC:
        return QString::fromLatin1(raw.trimmed());
    case MDB_DATETIME: {
        // Dates the library cannot place (before 1900 or far ahead) come out
        // as day 0 of a month: they read as empty.
        QDateTime t = QDateTime::fromString(QString::fromLatin1(raw.trimmed()), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return t.isValid() ? QVariant(t) : QVariant();
    }
    default:
        return QString::fromUtf8(raw);
    }
}

} // namespace

int JetTable::column(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

JetReader::~JetReader() { close(); }

bool JetReader::open(const QString& path, QString* error)
{
    close();
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("文件不存在: ") + path;
        return false;
    }
    // Text of Jet 3 files is in the code page of the machine that wrote
    // them: a Chinese Windows, so GBK, unless the environment says otherwise.
    if (qEnvironmentVariableIsEmpty("MDB_JET3_CHARSET"))
        qputenv("MDB_JET3_CHARSET", "GBK");
    MdbHandle* h = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!h) {
        if (error)
            *error = QStringLiteral("不是可识别的数据库文件: ") + path;
        return false;
    }
    if (!mdb_read_catalog(h, MDB_ANY)) {
        mdb_close(h);
        if (error)
            *error = QStringLiteral("无法读取数据库目录: ") + path;
        return false;
    }
    mdb_set_date_fmt(h, kDateFormat);
    handle_ = h;
    return true;
}

void JetReader::close()
{
    if (handle_)
        mdb_close(mdb(handle_));
    handle_ = nullptr;
}

QStringList JetReader::tableNames() const
{
    QStringList names;
    if (!handle_)
        return names;
    MdbHandle* h = mdb(handle_);
    for (unsigned i = 0; i < h->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(h->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

bool JetReader::hasTable(const QString& name) const
{
    for (const QString& t : tableNames())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool JetReader::read(const QString& table, JetTable* out, QString* error) const
{
    *out = JetTable();
    QString actual;
    for (const QString& t : tableNames())
        if (t.compare(table, Qt::CaseInsensitive) == 0)
            actual = t;
    if (actual.isEmpty()) {
        if (error)
            *error = QStringLiteral("表不存在: ") + table;
        return false;
    }
    MdbHandle* h = mdb(handle_);
    QByteArray name = actual.toUtf8();
    MdbTableDef* def = mdb_read_table_by_name(h, name.data(), MDB_TABLE);
    if (!def) {
        if (error)
            *error = QStringLiteral("无法读取表: ") + table;
        return false;
    }
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> guard(def, mdb_free_tabledef);
    if (!mdb_read_columns(def)) {
        if (error)
            *error = QStringLiteral("无法读取表的列: ") + table;
        return false;
    }
    mdb_rewind_table(def);

    const int n = int(def->num_cols);
    const size_t size = h->bind_size ? h->bind_size : MDB_BIND_SIZE;
    std::vector<std::vector<char>> buffers(n, std::vector<char>(size + 1, 0));
    std::vector<int> lengths(n, 0);
    std::vector<int> types(n, 0);
    for (int i = 0; i < n; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
        out->columns << QString::fromUtf8(col->name);
        types[i] = col->col_type;
        mdb_bind_column(def, i + 1, buffers[i].data(), &lengths[i]);
    }
    while (mdb_fetch_row(def)) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) {
            const int len = qBound(0, lengths[i], int(size));
            row << convert(types[i], buffers[i].data(), len);
        }
        out->rows << row;
    }
    return true;
}
