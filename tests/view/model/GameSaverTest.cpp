#include "view/model/GameSaver.h"
#include "view/model/PuzzlePaths.h"

#include "engine/GP_Folders.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzleFile.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "tests/engine/PuzzleFileSupport.h"
#include "tests/support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstring>

namespace {
using namespace puzzletest;

// A puzzle of 12 pieces saved in the library, opened for play with its pieces built.
struct SavedGame
{
    TestFolder folder;
    QString file;
    QString cache;
    boost::shared_ptr<CGP_Puzzle> puzzle;

    SavedGame()
    {
        QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesSimple));
        QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesCash));
        file = GP_PuzzlePaths::LibraryFile(QStringLiteral("Meadow"));
        cache = GP_PuzzlePaths::CacheFile(QStringLiteral("Meadow"));
        boost::shared_ptr<CGP_Puzzle> made = CutPuzzle(200, 150, 50);
        EXPECT_TRUE(made->WriteNewFile(file));
        puzzle = Open(nullptr);
    }

    // The puzzle as the game opens it: from the file, its pieces from the cache when given.
    boost::shared_ptr<CGP_Puzzle> Open(QIODevice* fromCache)
    {
        boost::shared_ptr<CGP_Puzzle> opened(new CGP_Puzzle);
        EXPECT_TRUE(opened->OpenFile(file));
        opened->CreateGrid(&ShippedPattern(opened->m_nPatternIndex), GP_PatternHasRandomTabs(opened->m_nPatternIndex), false);
        CGP_PieceWorkers workers(1);
        workers.BuildPieces(*opened, fromCache);
        return opened;
    }

    boost::shared_ptr<CGP_Puzzle> Reopen()
    {
        QFile cached(cache);
        return Open(cached.open(QIODevice::ReadOnly) ? &cached : nullptr);
    }
};

// Every piece as it lies: index, place, turn; then the bytes of its image.
QList<QList<int>> Places(CGP_Puzzle& puzzle)
{
    QList<QList<int>> places;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot())
        for (const GP_PiecePtr& piece : group->m_pieces)
            places.append({piece->m_nIndex, piece->m_nX, piece->m_nY, piece->m_nRotation, int(group->m_pieces.size())});
    return places;
}

QList<QImage> Images(CGP_Puzzle& puzzle)
{
    QList<QImage> images;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot())
        for (const GP_PiecePtr& piece : group->m_pieces)
            images.append(piece->Image()->convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return images;
}

void Drag(CGP_Puzzle& puzzle, int dx, int dy)
{
    const GP_GroupPtr group = puzzle.m_pGroups->Snapshot().front();
    for (const GP_PiecePtr& piece : group->m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
}

// Makes GP_ReplaceFile fail at one step of one of its calls (0 = the first call).
class ReplaceFault
{
public:
    ReplaceFault(const char* step, int call)
    {
        GP_SetReplaceFileFault([this, step, call](const char* now) {
            if (std::strcmp(now, "open") == 0)
                ++m_calls;
            return m_calls - 1 == call && std::strcmp(now, step) == 0;
        });
    }
    ~ReplaceFault() { GP_SetReplaceFileFault({}); }

private:
    int m_calls = 0;
};
} // namespace

TEST(GameSaver, LeavingKeepsTheGameAndACacheThatRebuildsTheSamePieces)
{
    SavedGame game;
    CapturedLog log(game.folder);
    Drag(*game.puzzle, 37, -12);
    game.puzzle->m_nHintsUsed = 2;
    game.puzzle->m_pHintGroup1 = game.puzzle->m_pGroups->Snapshot()[1];
    const QList<QList<int>> places = Places(*game.puzzle);
    const QList<QImage> images = Images(*game.puzzle);
    int steps = 0;
    const CGameSaver::LeaveResult left = CGameSaver::Leave(*game.puzzle, 754, game.file, game.cache, [&] { ++steps; });
    EXPECT_TRUE(left.progressSaved);
    EXPECT_TRUE(left.cacheWritten);
    EXPECT_EQ(steps, 12) << "the saving dialog steps once per piece";
    EXPECT_FALSE(game.puzzle->m_pHintGroup1) << "the hint pair is not part of a left game";

    const boost::shared_ptr<CGP_Puzzle> again = game.Reopen();
    EXPECT_FALSE(again->m_bFresh);
    EXPECT_EQ(again->m_nSolvingTime, 754);
    EXPECT_EQ(again->m_nHintsUsed, 2);
    EXPECT_EQ(Places(*again), places);
    EXPECT_EQ(Images(*again), images) << "the cache gives back other piece images";
    EXPECT_FALSE(log.Text().contains(QStringLiteral("not in the cache")));
}

TEST(GameSaver, ASolvedGameLeavesNoCacheAndAFailedCacheOnlyItself)
{
    struct Row
    {
        const char* fault;
        bool solved;
        int failingCall;  // -1: nothing fails
        bool cacheLeft;
    };
    const Row rows[] = {
        {"a solved puzzle kept its cache", true, -1, false},
        {"a cache that could not be written was kept, or cost the progress", false, 0, false},
        {"an unsolved puzzle lost its cache", false, -1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        SavedGame game;
        CapturedLog log(game.folder);
        // A cache from an earlier visit.
        game.folder.Write(QStringLiteral("Puzzles/Cash/Meadow.cash"), "earlier");
        game.puzzle->m_bSolved = row.solved;
        Drag(*game.puzzle, 5, 5);
        const QList<QList<int>> places = Places(*game.puzzle);
        CGameSaver::LeaveResult left;
        {
            ReplaceFault fault("write", row.failingCall);
            left = CGameSaver::Leave(*game.puzzle, 30, game.file, game.cache);
        }
        EXPECT_EQ(QFile::exists(game.cache), row.cacheLeft);
        EXPECT_TRUE(left.progressSaved);
        CGP_Puzzle reread;
        ASSERT_TRUE(reread.OpenFile(game.file));
        EXPECT_EQ(reread.m_bSolved, row.solved);
        EXPECT_EQ(Places(reread), places);
    }
}

TEST(GameSaver, AFailedSaveKeepsThePlayersFileWholeAndSaysSo)
{
    for (const char* step : {"open", "write", "sync", "rename"}) {
        SCOPED_TRACE(step);
        SavedGame game;
        CapturedLog log(game.folder);
        // Progress saved once already: the file the player has.
        ASSERT_TRUE(CGameSaver::Leave(*game.puzzle, 100, game.file, game.cache).progressSaved);
        const QByteArray before = game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl"));
        Drag(*game.puzzle, 50, 50);
        CGameSaver::LeaveResult left;
        {
            // The cache is written first, then the puzzle file: its write fails.
            ReplaceFault fault(step, 1);
            left = CGameSaver::Leave(*game.puzzle, 200, game.file, game.cache);
        }
        EXPECT_FALSE(left.progressSaved);
        EXPECT_EQ(game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl")), before);
        EXPECT_TRUE(log.Text().contains(QStringLiteral("Disk Full!")));
        EXPECT_EQ(QDir(GP_FolderPath(GP_Folder::PuzzlesSimple)).entryList(QDir::Files), QStringList{"Meadow.pzl"});
        CGP_Puzzle reread;
        EXPECT_TRUE(reread.OpenFile(game.file));
        EXPECT_EQ(reread.m_nSolvingTime, 100);
    }
}

TEST(GameSaver, StartingOverStoresLoosePiecesWithNothingCounted)
{
    SavedGame game;
    CapturedLog log(game.folder);
    // A solved game as it was left: one group, time, hints, percentage.
    {
        const auto groups = game.puzzle->m_pGroups->Snapshot();
        const GP_GroupPtr all = groups.front();
        for (size_t i = 1; i < groups.size(); ++i)
            all->m_pieces.insert(all->m_pieces.end(), groups[i]->m_pieces.begin(), groups[i]->m_pieces.end());
        game.puzzle->m_pGroups.reset(new GP_GroupDeque());
        game.puzzle->m_pGroups->PushBack(all);
    }
    game.puzzle->m_bSolved = true;
    game.puzzle->m_nHintsUsed = 3;
    game.puzzle->m_fSolvedPercent = 100;
    ASSERT_TRUE(CGameSaver::Leave(*game.puzzle, 999, game.file, game.cache).progressSaved);

    CGP_Puzzle listed;
    ASSERT_TRUE(listed.OpenFile(game.file));
    ASSERT_TRUE(CGameSaver::StartOver(listed, game.file));
    CGP_Puzzle reread;
    ASSERT_TRUE(reread.OpenFile(game.file));
    EXPECT_FALSE(reread.m_bSolved);
    EXPECT_EQ(reread.m_nSolvingTime, 0);
    EXPECT_EQ(reread.m_nHintsUsed, 0);
    EXPECT_EQ(reread.m_fSolvedPercent, 0);
    ASSERT_TRUE(reread.m_pGroups);
    EXPECT_EQ(reread.m_pGroups->Size(), 12u);

    // A start over that cannot be stored leaves the file as it was.
    const QByteArray before = game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    ReplaceFault fault("write", 0);
    EXPECT_FALSE(CGameSaver::StartOver(listed, game.file));
    EXPECT_EQ(game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl")), before);
    EXPECT_FALSE(CGameSaver::StartOver(listed, game.folder.File(QStringLiteral("missing.pzl"))));
}
