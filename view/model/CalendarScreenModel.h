#pragma once

#include "view/model/CalendarStore.h"
#include "view/model/ScreenLayout.h"

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QString>

// The calendar screen's page without its widgets: the month shown, its navigation between the
// calendar's first month (September 2009) and the month of today, and the day grid (a week per
// row, Monday first).
class CCalendarScreenModel
{
public:
    static constexpr int kFirstYear = 2009;
    static constexpr int kFirstMonth = 9;
    static constexpr int kColumns = 7;
    static constexpr int kRows = 6;

    // Starts on the month of today, the last month offered.
    explicit CCalendarScreenModel(const QDate& today);

    int Year() const { return m_year; }
    int Month() const { return m_month; }
    // "September 2009".
    QString Title() const;
    // A month or a year forward (+1) or back (-1); answers whether the page changed. A year step
    // that would pass either end stops at that end.
    bool StepMonth(int direction);
    bool StepYear(int direction);
    // The days of a month: 31, 30, or February's 28 or 29 by the Gregorian rule.
    static int DaysInMonth(int year, int month);

    void SetLayout(const ScreenLayout& layout) { m_layout = layout; }
    const ScreenLayout& Layout() const { return m_layout; }
    // The cell of a day of the month shown, and the day under a point (0 for none).
    QRect DayCell(int day) const;
    int DayAt(const QPoint& point) const;
    GP_Date Date(int day) const { return GP_Date{uint16_t(m_year), uint16_t(m_month), uint16_t(day)}; }

private:
    bool SetPage(int year, int month);
    int MonthIndex(int year, int month) const { return year * 12 + month - 1; }

    int m_lastYear;
    int m_lastMonth;
    int m_year;
    int m_month;
    ScreenLayout m_layout{QRect(), 0};
};
