#pragma once
// Compaction of the database file: the whole file is exported through
// SQLCipher into a fresh copy keyed with the database password
// (Data/Account.tmp), the copy is proven to open and to hold every row, and
// only then does it replace the live file in one rename. Whatever fails, the
// live file stays as it was.

#include "database.h"

#include <QString>

namespace Compaction {

// Compacts `live` (not open anywhere in this program) through `tmp`.
// False with *error (class and text) on failure; `live` is untouched then and
// `tmp` removed.
bool compact(const QString& live, const QString& tmp, SqlError* error);

// Row counts of every table of the file (table name -> count); empty when
// it does not open with the database password.
QList<QPair<QString, qint64>> rowCounts(const QString& path);

} // namespace Compaction
