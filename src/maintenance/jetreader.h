#pragma once
// Read-only access to Jet 3/4 database files (the data files of version 1.0)
// through mdbtools. The file's database password is not needed for reading.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// All rows of one table. Values by column type: text and memo as QString,
// whole numbers as qint64, yes/no as bool, date/time as QDateTime, money and
// decimal numbers as their exact text ("12.5000"), floating point as double;
// an empty value is an empty QString for text columns and a null QVariant otherwise.
struct JetTable {
    QStringList columns;
    QVector<QVariantList> rows;
    int column(const QString& name) const; // case-insensitive, -1 when absent
};

class JetReader {
public:
    JetReader() = default;
    ~JetReader();
    JetReader(const JetReader&) = delete;
    JetReader& operator=(const JetReader&) = delete;

    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    // The user tables (system tables left out).
    QStringList tableNames() const;
    bool hasTable(const QString& name) const;
    bool read(const QString& table, JetTable* out, QString* error = nullptr) const;

private:
    void* handle_ = nullptr; // MdbHandle*
};
