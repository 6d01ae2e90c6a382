#pragma once
// The tables of the household database, their columns in order, the shared
// system rows of the catalogue and the indexes the ledger rules rely on.

#include <QString>
#include <QStringList>

class Database;

namespace Schema {

struct Table {
    QString name;
    QStringList columns; // in table order; INSERT ... VALUES relies on it
};

// The eleven AC_ tables.
const QList<Table>& tables();

// CREATE statements for the tables and indexes.
QString createScript();

// The twelve shared rows of user 0: classes 1-9 and the members 200, 299, 300.
bool insertSystemRows(Database& db);

// Writes a new delivered database file (tables, indexes, system rows) at path.
// Fails when the file already exists: a user's data is never overwritten.
bool createDeliveredFile(const QString& path, QString* error);

} // namespace Schema
