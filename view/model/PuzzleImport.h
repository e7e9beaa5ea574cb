#pragma once

#include <QString>

// A puzzle file from outside the library (opened from a file manager, or named on the command
// line) brought into the player's library so that it can be played, listed and saved like the
// others. The file itself is never changed.
class CPuzzleImport
{
public:
    enum class Outcome {
        Imported,   // copied in under name
        InLibrary,  // already the library's puzzle name (the file, or the same bytes, is there)
        Damaged,    // missing, unreadable or not a whole puzzle: nothing copied
        CopyFailed, // the copy could not be written (logged): nothing left behind
    };
    struct Result
    {
        Outcome outcome = Outcome::Damaged;
        QString name; // the library puzzle to open
    };

    // Checks the file is a whole puzzle, then copies it into "Puzzles/simple" under its own name,
    // or under "NAME (2)", "NAME (3)", ... when a different puzzle already has that name.
    static Result Import(const QString& path);

    // The library name a file would take: its file name without the ".pzl" extension.
    static QString NameFor(const QString& path);
    // wanted, or the first of "wanted (2)", "wanted (3)", ... no library puzzle has.
    static QString FreeName(const QString& wanted);
};
