#pragma once
// Files that hold one table: a web page, a tab-separated text file or an
// Excel 97-2003 workbook. The first row holds the column titles. Reading
// trims every cell and skips rows whose cells are all empty; writing goes to
// a temporary name first and takes the final name only when complete.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace TableFile {

enum class Kind { Html = 1, Text = 2, Xls = 3 };

using Rows = QList<QStringList>;

// ".htm", ".txt", ".xls"
QString extensionOf(Kind k);
// The kind named by a file's extension (".htm"/".html", ".txt", ".xls");
// false when the name has none of them.
bool kindOfName(const QString& fileName, Kind* k);
// The name with the kind's extension appended unless it already ends with it
// (compared lower-cased): "report" -> "report.txt", "a.htm" as Xls -> "a.htm.xls".
QString withExtension(const QString& fileName, Kind k);

// Text of a file: UTF-8 with or without a byte-order mark, otherwise GBK.
QString decodeText(const QByteArray& bytes);

// Reads the file; false with a reason when it cannot be read as that kind.
bool read(const QString& path, Kind k, Rows* rows, QString* why = nullptr);
bool parseHtml(const QString& html, Rows* rows);
Rows parseText(const QString& text);

// Writes the rows; false with a reason (the old file, if any, stays as it was).
bool write(const QString& path, Kind k, const Rows& rows, QString* why = nullptr);
QByteArray htmlBytes(const Rows& rows);
QByteArray textBytes(const Rows& rows);
// A BIFF8 workbook in a compound file, one sheet "Sheet1", every cell a text.
// False when the table does not fit a sheet (65536 rows, 256 columns).
bool xlsBytes(const Rows& rows, QByteArray* out, QString* why = nullptr);

} // namespace TableFile
