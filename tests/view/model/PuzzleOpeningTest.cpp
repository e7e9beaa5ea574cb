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
// Listing comes first: the file may be changed between listing and opening.
Opened OpenListed(RecordingHost& host, const QString& name, QSize area = QSize(1260, 900),
                  const std::function<void()>& afterListing = {})
{
    GP_PuzzlePtr puzzle(new CGP_Puzzle);
    EXPECT_EQ(CPuzzleLibrary::ReadForList(GP_PuzzlePaths::LibraryFile(name), name, *puzzle),
              CPuzzleLibrary::ReadResult::Listed);
    if (afterListing)
        afterListing();
    CGP_PieceWorkers workers(2);
    CPuzzleOpening opening(host, workers);
    const GP_OpenResult result = opening.Open(GP_OpenRequest{puzzle, false, QRect(0, 50, 1400, 1000), area, Patterns()});
    return Opened{result, puzzle};
}
} // namespace

// A puzzle made on a larger screen is cut again for this one, from its own picture; a re-cut
// that cannot be written leaves the puzzle as its file has it.
TEST(PuzzleOpening, APuzzleTooLargeForTheAreaIsCutAgainWithItsPieceSizeScaled)
{
    TestFolder folder;
    CapturedLog log(folder);
    const struct Row
    {
        QSize picture;
        float pieceSize;
        QSize area;
        bool diskFull;
        Outcome outcome;
        float newPieceSize;
        QSize newPicture;
        int message;
        const char* fault;
    } rows[] = {
        {{1600, 400}, 200, {1200, 900}, false, Outcome::Opened, 150, {1200, 300}, 0, "piece size not scaled by 1200/1600"},
        {{1600, 400}, 210, {1000, 900}, false, Outcome::Opened, 131, {1000, 250}, 0, "piece size rounded, not truncated"},
        {{400, 250}, 100, {1200, 900}, false, Outcome::Opened, 100, {400, 250}, 0, "a fitting puzzle is cut again"},
        {{40, 300}, 20, {1000, 299}, false, Outcome::ScreenTooSmall, 20, {40, 300}, IDS_MODIFY_SCREEN_TOO_SMALL,
         "a 40 x 300 picture re-cut when 360 does not fit"},
        {{1600, 400}, 200, {1200, 900}, true, Outcome::SaveFailed, 200, {1600, 400}, IDS_DISK_FULL,
         "a failed re-cut changes the player's file or the list"},
    };
    for (const Row& row : rows) {
        const QString name = QStringLiteral("Wide %1").arg(&row - rows);
        const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(name, row.picture.width(), row.picture.height(), row.pieceSize);
        const QString path = GP_PuzzlePaths::LibraryFile(name);
        if (row.outcome == Outcome::Opened)
            SavePlayed(*made, path, false, 77);
        const QByteArray before = Bytes(path);
        folder.Write(QStringLiteral("Puzzles/Cash/%1.cash").arg(name), "old cut");
        RecordingHost host;
        if (row.diskFull)
            GP_SetReplaceFileFault([](const char* step) { return std::strcmp(step, "rename") == 0; });
        const Opened opened = OpenListed(host, name, row.area);
        GP_SetReplaceFileFault({});

        EXPECT_EQ(opened.result.outcome, row.outcome) << row.fault;
        EXPECT_FLOAT_EQ(opened.puzzle->m_fPieceSize, row.newPieceSize) << row.fault;
        EXPECT_EQ(opened.puzzle->m_nCutWidth, row.newPicture.width()) << row.fault;
        EXPECT_EQ(host.messages, row.message ? QStringList{QString::number(row.message)} : QStringList()) << row.fault;
        if (row.outcome != Outcome::Opened) {
            EXPECT_EQ(Bytes(path), before) << row.fault;
            continue;
        }
        const bool recut = row.newPicture != row.picture;
        EXPECT_EQ(opened.result.recut, recut) << row.fault;
        CGP_Puzzle reread;
        ASSERT_TRUE(reread.OpenFile(path));
        EXPECT_EQ(reread.m_pImage->size(), row.newPicture) << row.fault;
        EXPECT_EQ(reread.m_nSolvingTime, recut ? 0 : 77) << "progress not reset on a re-cut";
        EXPECT_EQ(opened.result.cacheExisted, !recut) << "the old cut's cache is used for the new cut";
        int pieces = 0;
        for (const GP_GroupPtr& group : opened.puzzle->m_pGroups->Snapshot())
            pieces += int(group->m_pieces.size());
        EXPECT_EQ(pieces, reread.m_nColumns * reread.m_nRows) << row.fault;
    }
    EXPECT_EQ(log.Text().count(QStringLiteral("Puzzle Resided")), 3);
    EXPECT_TRUE(log.Text().contains(QStringLiteral("Disk Full!")));
}

// What each kind of file and each answer to the solved question leads to.
TEST(PuzzleOpening, TheSolvedQuestionAndTheFileDecideHowOpeningEnds)
{
    TestFolder folder;
    CapturedLog log(folder);
    enum Kind { Fresh, Left, Solved, Newer, Truncated };
    const struct Row
    {
        Kind kind;
        Answer answer;
        Outcome outcome;
        int questions;
        int progressMessage;
        const char* fault;
    } rows[] = {
        {Fresh, Answer::Cancel, Outcome::Opened, 0, IDS_SCRAMBLING_PUZZLE, "a fresh puzzle asks the solved question"},
        {Left, Answer::Cancel, Outcome::Opened, 0, IDS_SCRAMBLING_PUZZLE, "a left game does not reopen as it was left"},
        {Solved, Answer::Cancel, Outcome::Cancelled, 1, 0, "Cancel still opens the puzzle"},
        {Solved, Answer::PlaySolved, Outcome::Opened, 1, IDS_LOADING_PUZZLE, "No does not play the solved puzzle"},
        {Solved, Answer::StartOver, Outcome::Opened, 1, IDS_SCRAMBLING_PUZZLE, "Yes does not start over"},
        {Newer, Answer::Cancel, Outcome::NewerVersion, 0, 0, "a newer puzzle is opened or deleted"},
        {Truncated, Answer::Cancel, Outcome::Deleted, 0, 0, "a damaged file is kept"},
    };
    for (const Row& row : rows) {
        const QString name = QStringLiteral("Puzzle %1").arg(&row - rows);
        const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(name);
        const QString path = GP_PuzzlePaths::LibraryFile(name);
        if (row.kind == Solved || row.kind == Left)
            SavePlayed(*made, path, row.kind == Solved, row.kind == Solved ? 300 : 61);
        QPoint leftAt;
        if (row.kind == Left) {
            QByteArray cache;
            QBuffer buffer(&cache);
            buffer.open(QIODevice::ReadWrite);
            ASSERT_TRUE(made->WritePieceCache(buffer));
            folder.Write(QStringLiteral("Puzzles/Cash/%1.cash").arg(name), cache);
            const GP_PiecePtr piece = made->m_pGroups->Snapshot().front()->m_pieces.front();
            leftAt = QPoint(piece->m_nX, piece->m_nY);
        }
        RecordingHost host;
        host.answer = row.answer;
        const Opened opened = OpenListed(host, name, QSize(1260, 900), [&] {
            QByteArray bytes = Bytes(path);
            if (row.kind == Newer)
                bytes[0] = char(GP_PuzzleFile::kVersion + 1);
            if (row.kind == Truncated)
                bytes.truncate(12);
            folder.Write(QStringLiteral("Puzzles/simple/%1.pzl").arg(name), bytes);
        });

        EXPECT_EQ(opened.result.outcome, row.outcome) << row.fault;
        EXPECT_EQ(host.questions, row.questions) << row.fault;
        EXPECT_EQ(host.progressMessage, row.progressMessage) << row.fault;
        EXPECT_EQ(QFile::exists(path), row.kind != Truncated) << row.fault;
        EXPECT_EQ(host.startedOver.isEmpty(), row.answer != Answer::StartOver || row.kind != Solved) << row.fault;
        if (row.kind == Newer)
            EXPECT_EQ(host.messages, QStringList{CPuzzleOpening::NewerVersionText()});
        if (!opened.result.Opened())
            continue;
        EXPECT_EQ(host.stepped.load(), 6) << "progress does not advance per piece";
        EXPECT_EQ(host.ended, 1);
        EXPECT_EQ(opened.puzzle->m_strTitle, name) << "the stored title replaced the file's name";
        EXPECT_EQ(opened.result.startSeconds, opened.puzzle->m_nSolvingTime);
        EXPECT_EQ(opened.result.cacheExisted, row.kind == Left) << row.fault;
        if (row.kind == Left) {
            EXPECT_EQ(opened.result.startSeconds, 61);
            const GP_PiecePtr piece = opened.puzzle->m_pGroups->Snapshot().front()->m_pieces.front();
            EXPECT_EQ(QPoint(piece->m_nX, piece->m_nY), leftAt) << row.fault;
        }
    }
    EXPECT_FALSE(log.Text().contains(QStringLiteral("not in the cache")));
}
