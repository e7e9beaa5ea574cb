#pragma once

#include <QString>

// The files of a puzzle, formed from its name. A name comes from a file name, a download or the
// player, and is used as it stands; a name that would reach outside its folder (a separator, a
// NUL, "." or "..") gives no path at all, and every caller treats that as "no such file".
namespace GP_PuzzlePaths {
constexpr char kPuzzleExtension[] = ".pzl";
constexpr char kCacheExtension[] = ".cash";

// Whether a file named name + extension stays inside the folder it is put in.
bool IsSafeName(const QString& name);

QString LibraryFile(const QString& name);  // "Puzzles/simple/NAME.pzl"
QString CalendarFile(const QString& name); // "Puzzles/calendar/NAME.pzl"
QString CacheFile(const QString& name);    // "Puzzles/Cash/NAME.cash"
QString PackingCopy(const QString& name);  // "TEMP/NAME.pzl"

// The puzzle's file: the calendar's when it was opened from the calendar, else the library's.
QString PuzzleFile(const QString& name, bool fromCalendar);
} // namespace GP_PuzzlePaths
