#include "view/model/PuzzleOpening.h"

#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzleFile.h"
#include "resources/StringTable.h"
#include "tests/view/model/LibraryTestSupport.h"

#include <QBuffer>
#include <QFile>

#include <cstring>

#include <gtest/gtest.h>

using namespace librarytest;
using Outcome = GP_OpenResult::Outcome;
using Answer = CPuzzleOpeningHost::SolvedAnswer;

namespace {
// Answers as a test tells it and writes down what the opening showed.
class RecordingHost : public CPuzzleOpeningHost
{
public:
    Answer AskAlreadySolved(const CGP_Puzzle&) override
    {
        ++questions;
        return answer;
    }
    void StartOver(const GP_PuzzlePtr& puzzle, const QString& path) override
    {
        startedOver = path;
        puzzle->m_bSolved = false;
        puzzle->m_nSolvingTime = 0;
        EXPECT_TRUE(CPuzzleLibrary::SaveProgressPart(*puzzle, path));
    }
    void ShowMessage(int messageId) override { messages << QString::number(messageId); }
    void ShowText(const QString& text) override { messages << text; }
    void BeginProgress(int messageId, const QString&, int count) override
    {
        progressMessage = messageId;
        steps = count;
    }
    void StepProgress() override { ++stepped; }
    void EndProgress() override { ++ended; }

    Answer answer = Answer::PlaySolved;
    int questions = 0;
    QString startedOver;
    QStringList messages;
    int progressMessage = 0;
    int steps = 0;
    std::atomic<int> stepped{0};
    int ended = 0;
};

const CGP_Path* Patterns()
{
    static CGP_Path patterns[kPatternCount];
    static const bool loaded = LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS"))) > 0;
    return loaded ? patterns : nullptr;
}

struct Opened
{
    GP_OpenResult result;
    GP_PuzzlePtr puzzle;
};

// The listed puzzle of that name, opened in a 1400 x 1000 field whose fitting area is given.
Opened OpenListed(RecordingHost& host, const QString& name, QSize area = QSize(1260, 900), bool calendar = false)
{
    GP_PuzzlePtr puzzle(new CGP_Puzzle);
    EXPECT_EQ(CPuzzleLibrary::ReadForList(GP_PuzzlePaths::PuzzleFile(name, calendar), name, *puzzle),
              CPuzzleLibrary::ReadResult::Listed);
    CGP_PieceWorkers workers(2);
    CPuzzleOpening opening(host, workers);
    const GP_OpenResult result = opening.Open(GP_OpenRequest{puzzle, calendar, QRect(0, 50, 1400, 1000), area, Patterns()});
    return Opened{result, puzzle};
}
} // namespace

// A puzzle made on a larger screen is cut again for this one, from its own picture.
TEST(PuzzleOpening, APuzzleTooLargeForTheAreaIsCutAgainWithItsPieceSizeScaled)
{
    TestFolder folder;
    puzzletest::ScopedLog log(folder);
    const struct Row
    {
        QSize picture;
        float pieceSize;
        QSize area;
        Outcome outcome;
        float newPieceSize;
        QSize newPicture;
        bool played;
        const char* fault;
    } rows[] = {
        {{1600, 1000}, 200, {1200, 900}, Outcome::Opened, 150, {1200, 750}, true, "piece size not scaled by 1200/1600"},
        {{1600, 1000}, 210, {1000, 900}, Outcome::Opened, 131, {1000, 625}, false, "piece size rounded, not truncated"},
        {{800, 500}, 100, {1200, 900}, Outcome::Opened, 100, {800, 500}, true, "a fitting puzzle is cut again"},
        {{40, 300}, 20, {1000, 299}, Outcome::ScreenTooSmall, 20, {40, 300}, false, "a 40 x 300 picture re-cut when 360 does not fit"},
    };
    for (const Row& row : rows) {
        const QString name = QStringLiteral("Wide %1").arg(&row - rows);
        const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(name, row.picture.width(), row.picture.height(), row.pieceSize);
        const QString path = GP_PuzzlePaths::LibraryFile(name);
        if (row.played)
            SavePlayed(*made, path, false, 77);
        const QByteArray before = Bytes(path);
        folder.Write(QStringLiteral("Puzzles/Cash/%1.cash").arg(name), "old cut");
        RecordingHost host;
        const Opened opened = OpenListed(host, name, row.area);

        EXPECT_EQ(opened.result.outcome, row.outcome) << row.fault;
        EXPECT_FLOAT_EQ(opened.puzzle->m_fPieceSize, row.newPieceSize) << row.fault;
        const bool recut = row.newPicture != row.picture;
        EXPECT_EQ(opened.result.recut, recut) << row.fault;
        if (row.outcome == Outcome::ScreenTooSmall) {
            EXPECT_EQ(host.messages, QStringList{QString::number(IDS_MODIFY_SCREEN_TOO_SMALL)});
            EXPECT_EQ(Bytes(path), before) << row.fault;
            continue;
        }
        CGP_Puzzle reread;
        ASSERT_TRUE(reread.OpenFile(path));
        EXPECT_EQ(QSize(reread.m_nCutWidth, reread.m_nCutHeight), row.newPicture) << row.fault;
        EXPECT_EQ(reread.m_pImage->size(), row.newPicture) << row.fault;
        EXPECT_EQ(reread.m_bFresh, !row.played || recut) << "progress not reset on a re-cut";
        EXPECT_EQ(reread.m_nSolvingTime, row.played && !recut ? 77 : 0) << "progress not reset on a re-cut";
        EXPECT_EQ(opened.result.cacheExisted, !recut) << "the old cut's cache is used for the new cut";
        int pieces = 0;
        for (const GP_GroupPtr& group : opened.puzzle->m_pGroups->Snapshot())
            pieces += int(group->m_pieces.size());
        EXPECT_EQ(pieces, reread.m_nColumns * reread.m_nRows) << row.fault;
    }
    EXPECT_EQ(log.Text().count(QStringLiteral("Puzzle Resided")), 2);
}

TEST(PuzzleOpening, AFailedReCutLeavesThePuzzleAsItsFileHasIt)
{
    TestFolder folder;
    puzzletest::ScopedLog log(folder);
    WritePuzzle(QStringLiteral("Big"), 1600, 1000, 200);
    const QString path = GP_PuzzlePaths::LibraryFile(QStringLiteral("Big"));
    const QByteArray before = Bytes(path);
    RecordingHost host;
    GP_SetReplaceFileFault([](const char* step) { return std::strcmp(step, "rename") == 0; });
    const Opened opened = OpenListed(host, QStringLiteral("Big"), QSize(1200, 900));
    GP_SetReplaceFileFault({});

    EXPECT_EQ(opened.result.outcome, Outcome::SaveFailed);
    EXPECT_EQ(host.messages, QStringList{QString::number(IDS_DISK_FULL)});
    EXPECT_EQ(Bytes(path), before) << "a failed re-cut touched the player's file";
    EXPECT_FLOAT_EQ(opened.puzzle->m_fPieceSize, 200) << "the list shows a cut the file does not have";
    EXPECT_EQ(opened.puzzle->m_nCutWidth, 1600);
    EXPECT_TRUE(log.Text().contains(QStringLiteral("Disk Full!")));
}

// What each kind of file and each answer to the solved question leads to.
TEST(PuzzleOpening, TheSolvedQuestionAndTheFileDecideHowOpeningEnds)
{
    TestFolder folder;
    puzzletest::ScopedLog log(folder);
    enum Kind { Fresh, Solved, Newer, Truncated };
    const struct Row
    {
        Kind kind;
        Answer answer;
        Outcome outcome;
        int questions;
        int progressMessage;
        bool fileKept;
        const char* fault;
    } rows[] = {
        {Fresh, Answer::Cancel, Outcome::Opened, 0, IDS_SCRAMBLING_PUZZLE, true, "a fresh puzzle asks the solved question"},
        {Solved, Answer::Cancel, Outcome::Cancelled, 1, 0, true, "Cancel still opens the puzzle"},
        {Solved, Answer::PlaySolved, Outcome::Opened, 1, IDS_LOADING_PUZZLE, true, "No does not play the solved puzzle"},
        {Solved, Answer::StartOver, Outcome::Opened, 1, IDS_SCRAMBLING_PUZZLE, true, "Yes does not start over"},
        {Newer, Answer::Cancel, Outcome::NewerVersion, 0, 0, true, "a newer puzzle is opened or deleted"},
        {Truncated, Answer::Cancel, Outcome::Deleted, 0, 0, false, "a damaged file is kept"},
    };
    for (const Row& row : rows) {
        const QString name = QStringLiteral("Puzzle %1").arg(&row - rows);
        const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(name);
        const QString path = GP_PuzzlePaths::LibraryFile(name);
        if (row.kind == Solved)
            SavePlayed(*made, path, true, 300);
        RecordingHost host;
        host.answer = row.answer;
        GP_PuzzlePtr puzzle(new CGP_Puzzle);
        ASSERT_EQ(CPuzzleLibrary::ReadForList(path, name, *puzzle), CPuzzleLibrary::ReadResult::Listed);
        QByteArray bytes = Bytes(path);
        if (row.kind == Newer)
            bytes[0] = char(GP_PuzzleFile::kVersion + 1);
        if (row.kind == Truncated)
            bytes.truncate(12);
        folder.Write(QStringLiteral("Puzzles/simple/%1.pzl").arg(name), bytes);
        CGP_PieceWorkers workers(2);
        CPuzzleOpening opening(host, workers);
        const GP_OpenResult result = opening.Open(GP_OpenRequest{puzzle, false, QRect(0, 50, 1400, 1000), QSize(1260, 900), Patterns()});

        EXPECT_EQ(result.outcome, row.outcome) << row.fault;
        EXPECT_EQ(host.questions, row.questions) << row.fault;
        EXPECT_EQ(host.progressMessage, row.progressMessage) << row.fault;
        EXPECT_EQ(QFile::exists(path), row.fileKept) << row.fault;
        EXPECT_EQ(host.startedOver.isEmpty(), row.answer != Answer::StartOver || row.kind != Solved) << row.fault;
        if (row.kind == Newer)
            EXPECT_EQ(host.messages, QStringList{CPuzzleOpening::NewerVersionText()});
        if (!result.Opened())
            continue;
        EXPECT_EQ(host.steps, 6) << row.fault;
        EXPECT_EQ(host.stepped.load(), 6) << "progress does not advance per piece";
        EXPECT_EQ(host.ended, 1);
        EXPECT_EQ(puzzle->m_strTitle, name) << "the stored title replaced the file's name";
        EXPECT_EQ(result.startSeconds, puzzle->m_nSolvingTime);
    }
}

// A left game reopens from its cache, where its pieces were; a fresh one is laid out anew.
TEST(PuzzleOpening, AGameReopensFromItsCacheWithItsClockAndPieces)
{
    TestFolder folder;
    puzzletest::ScopedLog log(folder);
    CPuzzleLibrary::CreateFolders();
    const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(QStringLiteral("Left"), 320, 240, 80);
    const QString path = GP_PuzzlePaths::LibraryFile(QStringLiteral("Left"));
    RecordingHost first;
    const Opened fresh = OpenListed(first, QStringLiteral("Left"));
    ASSERT_TRUE(fresh.result.Opened());
    EXPECT_FALSE(fresh.result.cacheExisted);
    const QRect field(0, 50, 1400, 1000);
    for (const GP_GroupPtr& group : fresh.puzzle->m_pGroups->Snapshot())
        EXPECT_TRUE(field.intersects(fresh.puzzle->GroupBounds(group, false))) << "a fresh piece lies off the field";

    // Leaving: progress and cache written as the game does.
    QByteArray cache;
    QBuffer buffer(&cache);
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(fresh.puzzle->WritePieceCache(buffer));
    folder.Write(QStringLiteral("Puzzles/Cash/Left.cash"), cache);
    SavePlayed(*fresh.puzzle, path, false, 61);
    const GP_GroupPtr firstGroup = fresh.puzzle->m_pGroups->Snapshot().front();
    const QPoint where(firstGroup->m_pieces.front()->m_nX, firstGroup->m_pieces.front()->m_nY);

    RecordingHost second;
    const Opened again = OpenListed(second, QStringLiteral("Left"));
    ASSERT_TRUE(again.result.Opened());
    EXPECT_TRUE(again.result.cacheExisted);
    EXPECT_EQ(again.result.startSeconds, 61);
    const GP_PiecePtr piece = again.puzzle->m_pGroups->Snapshot().front()->m_pieces.front();
    EXPECT_EQ(QPoint(piece->m_nX, piece->m_nY), where) << "a left game is laid out afresh";
    EXPECT_FALSE(log.Text().contains(QStringLiteral("not in the cache")));
}
