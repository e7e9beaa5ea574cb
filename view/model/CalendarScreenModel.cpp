#include "view/model/CalendarScreenModel.h"

#include <QLocale>

#include <algorithm>

namespace {
constexpr int kMonthsPerYear = 12;
} // namespace

CCalendarScreenModel::CCalendarScreenModel(const QDate& today)
    : m_lastYear(today.isValid() ? today.year() : kFirstYear)
    , m_lastMonth(today.isValid() ? today.month() : kFirstMonth)
    , m_year(m_lastYear)
    , m_month(m_lastMonth)
{
    if (MonthIndex(m_lastYear, m_lastMonth) < MonthIndex(kFirstYear, kFirstMonth)) {
        m_year = m_lastYear = kFirstYear;
        m_month = m_lastMonth = kFirstMonth;
    }
}

QString CCalendarScreenModel::Title() const
{
    return QLocale::c().standaloneMonthName(m_month) + QLatin1Char(' ') + QString::number(m_year);
}

bool CCalendarScreenModel::SetPage(int year, int month)
{
    const int first = MonthIndex(kFirstYear, kFirstMonth);
    const int last = MonthIndex(m_lastYear, m_lastMonth);
    const int index = std::clamp(MonthIndex(year, month), first, last);
    const int newYear = index / kMonthsPerYear;
    const int newMonth = index % kMonthsPerYear + 1;
    if (newYear == m_year && newMonth == m_month)
        return false;
    m_year = newYear;
    m_month = newMonth;
    return true;
}

bool CCalendarScreenModel::StepMonth(int direction)
{
    return SetPage(m_year, m_month + direction);
}

bool CCalendarScreenModel::StepYear(int direction)
{
    return SetPage(m_year + direction, m_month);
}

int CCalendarScreenModel::DaysInMonth(int year, int month)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        if (year % 400 == 0)
            return 29;
        if (year % 100 == 0)
            return 28;
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

QRect CCalendarScreenModel::DayCell(int day) const
{
    const QRect grid = m_layout.DayGrid();
    const int width = grid.width() / kColumns;
    const int height = grid.height() / kRows;
    // Monday is the first column.
    const int lead = QDate(m_year, m_month, 1).dayOfWeek() - 1;
    const int slot = lead + day - 1;
    return QRect(grid.left() + slot % kColumns * width, grid.top() + slot / kColumns * height, width, height);
}

int CCalendarScreenModel::DayAt(const QPoint& point) const
{
    for (int day = 1; day <= DaysInMonth(m_year, m_month); ++day) {
        if (DayCell(day).contains(point))
            return day;
    }
    return 0;
}
