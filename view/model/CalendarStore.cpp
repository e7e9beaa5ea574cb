#include "view/model/CalendarStore.h"

namespace {
constexpr int kDateTextLength = 10;

// A run of decimal digits as a number; -1 when anything else is in it.
int Digits(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
} // namespace

std::optional<GP_Date> CCalendarStore::ParseDateText(const QString& text)
{
    if (text.size() != kDateTextLength || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return std::nullopt;
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, kDateTextLength - 2, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return GP_Date{static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day)};
}

void CCalendarStore::Add(const GP_Date& date, const QString& name, const boost::shared_ptr<CGP_Puzzle>& puzzle)
{
    m_days[date] = Entry{name, puzzle};
}

bool CCalendarStore::Forget(const GP_Date& date)
{
    return m_days.erase(date) > 0;
}

const CCalendarStore::Entry* CCalendarStore::Find(const GP_Date& date) const
{
    const auto it = m_days.find(date);
    return it == m_days.end() ? nullptr : &it->second;
}

std::vector<GP_Date> CCalendarStore::Dates() const
{
    std::vector<GP_Date> dates;
    dates.reserve(m_days.size());
    for (const auto& [date, entry] : m_days)
        dates.push_back(date);
    return dates;
}
