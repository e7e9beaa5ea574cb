#pragma once

#include "engine/GP_Puzzle.h"

#include <QString>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// A calendar day: year, month, day.
struct GP_Date
{
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;

    auto operator<=>(const GP_Date&) const = default;
};

// The calendar puzzles on disk, by their day. Calendar puzzle files are named by the date text
// of their day ("2011-03-09"). The store itself has no lock: its owner (the library) guards it
// with the list mutex.
class CCalendarStore
{
public:
    struct Entry
    {
        QString name;
        boost::shared_ptr<CGP_Puzzle> puzzle;
    };

    // The day a date text names: the year from characters 0 to 3, the month from characters 5
    // and 6, the day from the last two, each decimal. None when the text is not of that shape or
    // names no real day.
    static std::optional<GP_Date> ParseDateText(const QString& text);

    void Add(const GP_Date& date, const QString& name, const boost::shared_ptr<CGP_Puzzle>& puzzle);
    // The day's entry loses its name (and puzzle); answers whether the day had one.
    bool Forget(const GP_Date& date);
    void Clear() { m_days.clear(); }

    const Entry* Find(const GP_Date& date) const;
    std::vector<GP_Date> Dates() const;
    size_t Size() const { return m_days.size(); }

private:
    std::map<GP_Date, Entry> m_days;
};
