#pragma once
// The calendar's festival lists: solar festivals (Gregorian month and day),
// lunar festivals (lunar month and day, day 00 = last day of the preceding
// lunar month) and weekday festivals (month, week of the month 1-4 or 5 for
// the last, weekday 0 = Sunday). Each row has a four-digit code, a name and
// a text colour (0xRRGGBB). QtCore only.

#include <QDate>
#include <QList>
#include <QString>

struct Festival {
    QString code;
    QString name;
    quint32 color = 0;
};

class FestivalList {
public:
    void clear() { rows_.clear(); }
    // Adds a row; a row with the same code is replaced.
    void add(const QString& code, const QString& name, quint32 color);
    const QList<Festival>& rows() const { return rows_; }
    const Festival* find(const QString& code) const;

private:
    QList<Festival> rows_;
};

struct FestivalLists {
    FestivalList solar;
    FestivalList lunar;
    FestivalList weekday;

    void clear();
    // Codes of a date in each list ("" when the date has none, e.g. a lunar
    // code outside the lunar table or on a day of a leap month).
    static QString solarCode(const QDate& d);
    static QString lunarCode(const QDate& d);
    static QString lastLunarDayCode(const QDate& d);
    static QStringList weekdayCodes(const QDate& d);
    // Festivals of a date: lunar first, then solar, then weekday.
    QList<Festival> on(const QDate& d) const;
};

namespace Festivals {
constexpr quint32 kRed = 0xFF0000;
constexpr quint32 kMaroon = 0x800000;
constexpr quint32 kGreen = 0x008000;
// Empties the lists and fills them from the program's own table.
void fillDefault(FestivalLists& lists);
// The first name of a row ("元宵节 中国情人节" -> "元宵节"), for a day cell.
QString shortName(const QString& name);
} // namespace Festivals
