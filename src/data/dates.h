#pragma once
// The program's own date texts. They never depend on the regional settings.

#include <QDate>
#include <QString>

namespace Dates {

// Names of the forms understood by format().
inline const QString kShort = QStringLiteral("yyyy-m-d");
inline const QString kLong = QStringLiteral("yyyy'年'm'月'd'日' ddd");
inline const QString kMonth = QStringLiteral("yyyy-mm");
inline const QString kYear = QStringLiteral("yyyy");
inline const QString kCompact = QStringLiteral("yyyymmdd");
inline const QString kChinese = QStringLiteral("yyyy年mm月dd日");

// The date routine: the date in the named form, empty text for an unknown name.
QString format(const QString& formatName, const QDate& date);

inline QString shortText(const QDate& d) { return format(kShort, d); }
inline QString longText(const QDate& d) { return format(kLong, d); }

// "星期天" ... "星期六"
QString weekdayName(const QDate& d);

// Parses the short form and its relatives ("2008-3-7", "2008-03-07",
// "2008/3/7", "2008-03-07 00:00:00", the mask text "2008-03-07"), ignoring a
// time part. Returns an invalid date for anything else, half-typed masks included.
QDate parse(const QString& text);

// Storage form in the database: ISO "YYYY-MM-DD".
inline QString toIso(const QDate& d) { return d.isValid() ? d.toString(Qt::ISODate) : QString(); }
QDate fromIso(const QString& text);

} // namespace Dates
