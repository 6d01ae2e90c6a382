#pragma once
// The Chinese lunar calendar for the years 1900-2100: conversion between
// Gregorian dates and lunar dates, the sexagenary (stem-branch) numbers of
// year, month and day, the 24 solar terms, and the texts the calendar page
// shows. QtCore only.

#include <QDate>
#include <QString>

namespace Lunar {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;

struct LunarDate {
    int year = 0;   // lunar year (the Gregorian year its new year falls in)
    int month = 0;  // 1..12
    int day = 0;    // 1..30
    bool leap = false;
    bool isValid() const { return year != 0; }
    bool operator==(const LunarDate& o) const
    {
        return year == o.year && month == o.month && day == o.day && leap == o.leap;
    }
};

// --- the year table -----------------------------------------------------------
// Month of the year that is followed by a leap month, 0 for none.
int leapMonth(int lunarYear);
// Days of a month (29 or 30); 0 for a month that does not exist.
int monthDays(int lunarYear, int month, bool leap = false);
// Days of the whole lunar year.
int yearDays(int lunarYear);
// Gregorian date of the lunar new year (the first day of the first month).
QDate newYear(int lunarYear);

// First and last Gregorian days the table covers.
QDate firstDate();
QDate lastDate();

// --- conversion ------------------------------------------------------------------
// Invalid LunarDate outside the table.
LunarDate fromSolar(const QDate& date);
// Invalid QDate for a lunar date that does not exist.
QDate toSolar(const LunarDate& lunar);

// --- stems and branches ------------------------------------------------------------
// Sexagenary numbers 0..59 (0 = 甲子). The year counts from the lunar new
// year; the month changes on the first solar term of each Gregorian month
// (小寒, 立春, 惊蛰 ...); the day is the running count of days.
int yearCycle(int lunarYear);
int monthCycle(const QDate& date);
int dayCycle(const QDate& date);

QString stemBranchName(int cycle);       // 甲子 ...
QString animalOfYear(int lunarYear);     // 鼠 ... 猪
QString elementOfYear(int lunarYear);    // 木 火 土 金 水 of the year's stem

// --- solar terms ------------------------------------------------------------------------
// 0 = 小寒, 1 = 大寒, 2 = 立春 ... 23 = 冬至; two per Gregorian month.
QString solarTermName(int index);
// Beijing-time day of the term in the given Gregorian year.
QDate solarTermDate(int year, int index);
// Index of the term that falls on the date, -1 for none.
int solarTermOn(const QDate& date);

// --- texts ------------------------------------------------------------------------------
QString yearText(int lunarYear);                 // 二零二四年
QString monthName(int month, bool leap);         // 正月, 闰二月, 冬月, 腊月
QString dayName(int day);                        // 初一 ... 三十
QString starSign(const QDate& date);             // 双鱼座 ...

} // namespace Lunar
