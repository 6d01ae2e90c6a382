#pragma once
// The calendar page: the header with the year and month boxes, "返回今天"
// and the lunar, solar and stem-branch texts of the current date, over the
// month calendar LssCalendar1.

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class TLssCalendar;

class CalendarPage : public QWidget {
    Q_OBJECT
public:
    explicit CalendarPage(QWidget* parent = nullptr);

    QComboBox* YearComboBox;
    QComboBox* MonthComboBox;
    QPushButton* TodayButton;      // "返回今天"
    QLabel* LunarLabel;            // lunar date text
    QLabel* SolarLabel;            // solar date text
    QLabel* StemBranchLabel;       // stem-branch date text
    TLssCalendar* LssCalendar1;

    // The three texts of a date.
    static QString solarText(const QDate& d);
    static QString lunarText(const QDate& d);
    static QString stemBranchText(const QDate& d);

    // Calendar date := today; boxes and texts follow.
    void backToToday();

private:
    void calendarChanged();
};
