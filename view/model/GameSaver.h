#pragma once

#include <QString>

#include <functional>

class CGP_Puzzle;

// What a game leaves on disk. Leaving writes the progress back into the puzzle file and the
// piece images into the cache, so that the game reopens as it was without building a piece;
// starting over writes the puzzle back as loose, unsolved pieces.
//
// Every write replaces its file whole (a new file beside it, renamed over the old one), so a
// full disk, a read-only folder or the end of the program half-way never costs the player the
// puzzle they had: a failed save leaves the previous file as it was and reports the failure.
class CGameSaver
{
public:
    struct LeaveResult
    {
        bool progressSaved = false;
        bool cacheWritten = false;
    };

    // Leaving a game: the hint pair goes, the solving time becomes seconds, and the puzzle is no
    // longer fresh. An unsolved puzzle's piece images go into the cache (step runs once per
    // piece); a solved puzzle needs none, so its cache is removed, and so is a cache that could
    // not be written. Then the progress goes into the puzzle file.
    static LeaveResult Leave(CGP_Puzzle& puzzle, int seconds, const QString& puzzleFile, const QString& cacheFile,
                             const std::function<void()>& step = {});

    // Starting a solved puzzle over: its saved groups are read from the file and split into
    // single pieces, and it is stored unsolved, with no time and no hints used. False (logged)
    // when the file could not be read or written; the file is then as it was.
    static bool StartOver(CGP_Puzzle& puzzle, const QString& puzzleFile);

private:
    static bool WriteCache(CGP_Puzzle& puzzle, const QString& cacheFile, const std::function<void()>& step);
    static bool SaveProgress(CGP_Puzzle& puzzle, const QString& puzzleFile);
};
