#pragma once

// Puzzle files in a test's application folder, made as the game makes them.
#include "engine/GP_Folders.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "tests/engine/PuzzleFileSupport.h"
#include "view/model/PuzzlePaths.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace librarytest {

// A fresh puzzle of a w x h picture written to the library (or calendar) under name.
inline boost::shared_ptr<CGP_Puzzle> WritePuzzle(const QString& name, int w = 240, int h = 160, float pieceSize = 80,
                                                 bool calendar = false)
{
    boost::shared_ptr<CGP_Puzzle> puzzle = puzzletest::CutPuzzle(w, h, pieceSize);
    puzzle->m_strTitle = name;
    // The title stored inside differs from the file's name, as a renamed file's does.
    puzzle->m_strStoredTitle = QStringLiteral("Title of ") + name;
    const QString path = GP_PuzzlePaths::PuzzleFile(name, calendar);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(puzzle->WriteNewFile(path)) << qPrintable(path);
    return puzzle;
}

// The puzzle with its pieces built and the play state given, saved as leaving a game saves it.
inline void SavePlayed(CGP_Puzzle& puzzle, const QString& path, bool solved, int seconds, int hints = 2)
{
    if (!puzzle.m_pGroups)
        puzzle.BuildPieces(nullptr, {}, {});
    puzzle.m_bFresh = false;
    puzzle.m_bSolved = solved;
    puzzle.m_nSolvingTime = seconds;
    puzzle.m_fSolvedPercent = solved ? 100.0f : 25.0f;
    puzzle.m_nHintsUsed = hints;
    EXPECT_TRUE(puzzle.SaveProgress(path));
}

inline QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs the block as an ordinary user when the tests run as root, so that a file's missing read
// permission counts as it does for a player.
class AsPlayer
{
public:
    AsPlayer() : m_root(geteuid() == 0)
    {
        if (m_root) {
            EXPECT_EQ(setegid(kNobody), 0);
            EXPECT_EQ(seteuid(kNobody), 0);
        }
    }
    ~AsPlayer()
    {
        if (m_root) {
            EXPECT_EQ(seteuid(0), 0);
            EXPECT_EQ(setegid(0), 0);
        }
    }
    static constexpr uid_t kNobody = 65534; // nobody, nogroup

private:
    bool m_root;
};

} // namespace librarytest
