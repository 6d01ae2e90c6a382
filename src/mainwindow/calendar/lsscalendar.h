#pragma once
// The month calendar of the calendar page: a large title with the year and
// month and arrows to the neighbouring months, the week-day names, and a
// six-week grid of large day numbers with the lunar day, the solar term or
// the festival under each; the month number as a large faint figure behind
// the grid. Today is ringed, the current date filled. A click picks a day,
// the arrow keys move by a day or a week, Page Up / Page Down by a month.

#include "festivals.h"

#include <QColor>
#include <QDate>
#include <QWidget>

class QToolButton;

class TLssCalendar : public QWidget {
    Q_OBJECT
public:
    explicit TLssCalendar(QWidget* parent = nullptr);

    QDate date() const { return date_; }
    // Sets the current date (kept within 1900-01-01 .. 2100-12-31) and
    // notifies dateChanged when it moved.
    void setDate(const QDate& d);
    // Change the year or the month alone; the day is kept, or the last day
    // of a shorter month is taken.
    void setYear(int year);
    void setMonth(int month);

    FestivalLists& festivals() { return festivals_; }
    const FestivalLists& festivals() const { return festivals_; }

    // What a day cell shows under its number.
    struct DayLabel {
        QString text;
        QColor color;
        bool festival = false;
    };
    DayLabel dayLabel(const QDate& d) const;
    // The hint of a day cell.
    QString hint(const QDate& d) const;

    // Geometry of the shown month (for painting, clicks and tests).
    QDate firstShown() const;          // the Sunday on or before the 1st
    QRect cellRect(const QDate& d) const;
    QDate dateAt(const QPoint& p) const;
    QToolButton* previousButton() const { return prev_; }
    QToolButton* nextButton() const { return next_; }

    // "Today" as the calendar sees it (tests may fix it).
    static QDate today();
    static QDate fixedToday;

    static QDate minimumDate() { return QDate(1900, 1, 1); }
    static QDate maximumDate() { return QDate(2100, 12, 31); }

    QSize sizeHint() const override { return QSize(640, 480); }
    QSize minimumSizeHint() const override { return QSize(360, 300); }

signals:
    void dateChanged(const QDate& date);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool event(QEvent* e) override;

private:
    QRect titleRect() const;
    QRect weekRect() const;
    QRect gridRect() const;

    QDate date_;
    FestivalLists festivals_;
    QToolButton* prev_;
    QToolButton* next_;
};
