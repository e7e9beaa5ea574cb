#pragma once

#include <QLocale>
#include <QString>

class CGP_Puzzle;

// The completion dialog's text: the puzzle's name, author, picture size and pieces, then the
// solving time as the locale writes a time of day, the solve date as the locale writes a date,
// and the hints used.
QString GP_CompletionText(const CGP_Puzzle& puzzle, const QLocale& locale);

// Seconds as the locale writes a time of day (hours = seconds / 3600). A game of a day or
// longer has no time of day: its hours go on counting, as H:MM:SS.
QString GP_SolvingTimeText(int seconds, const QLocale& locale);

// A text with its "%s" and "%d" filled, in order, with the arguments as they stand; nothing in
// an argument is read as a format, and "%%" is a percent sign.
QString GP_FillFormat(const QString& format, const QStringList& arguments);
