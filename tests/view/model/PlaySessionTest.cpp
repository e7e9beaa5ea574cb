// One game over a host that records what it is asked: the join sparkle and its idle steps, the
// solved game's last steps, the pause box, and the help pictures' chains.
#include "tests/support/FieldTestSupport.h"
#include "tests/support/TestFolder.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/HelpOverlays.h"
#include "view/model/PlaySession.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {
struct RecordingHost : CPlaySessionHost
{
    void RepaintNow(const QRect& rect) override { repaints.push_back(rect); }
    void Invalidate() override { ++invalidated; }
    void PlaySound(int wave) override { sounds.push_back(wave); }
    void SetFieldCursor(FieldCursor) override {}
    void SetCapture(bool on) override { captured = on; }
    void SetTrayButtonFull(bool) override {}
    void TraysChanged() override { ++traysChanged; }
    void StartViewTimer(int id, int) override { timers.push_back(id); }
    void StopViewTimer(int id) override { timers.push_back(-id); }
    void ClosePauseBox() override { ++pauseBoxClosed; }
    void PuzzleSolved() override { ++solved; }

    std::vector<QRect> repaints;
    std::vector<int> sounds;
    std::vector<int> timers;
    int invalidated = 0, traysChanged = 0, pauseBoxClosed = 0, solved = 0;
    bool captured = false;
};

// Two neighbours and a third piece, the right one dropped beside the left one.
struct JoinedGame
{
    explicit JoinedGame(int pieceCount = 3)
        : puzzle(Puzzle({Group({Piece(0, 0, 200, 200)}), Group({Piece(1, 0, 400, 400)}), Group({Piece(2, 2, 700, 600)})}))
        , session(puzzle, host)
    {
        puzzle->m_nPieceCount = pieceCount;
        session.SetGeometry(QRect(0, 50, 1000, 700), 44);
        if (pieceCount == 2)
            puzzle->m_pGroups->Items().pop_back();
    }
    void DropBeside(uint32_t now)
    {
        session.ResetIdleClock(now);
        session.LeftPress({410, 410}, false);
        session.LeftMove({252, 210});
        session.LeftRelease({252, 210});
    }

    RecordingHost host;
    boost::shared_ptr<CGP_Puzzle> puzzle;
    PlaySession session;
};
} // namespace

TEST(PlaySession, TheJoinSparklePlaysSixteenFramesOnIdleStepsOfAtMost20Ms)
{
    JoinedGame game;
    game.DropBeside(1000);
    ASSERT_EQ(game.session.SparkleFrame(), 0);
    EXPECT_EQ(game.session.SparkleRect(), QRect(252 - 24, 210, 24, 24));
    EXPECT_EQ(game.host.sounds, std::vector<int>{239});
    EXPECT_NEAR(game.puzzle->m_fSolvedPercent, 50.0, 0.01) << "one join of the two a whole picture needs";
    game.session.SetSoundOn(false);

    game.host.repaints.clear();
    game.session.IdleStep(6000, true);  // five seconds away: counts as 20 ms
    EXPECT_EQ(game.session.SparkleFrame(), 0);
    game.session.IdleStep(6030, true);  // 20 of the 30 ms: 0.8 frames so far
    EXPECT_EQ(game.session.SparkleFrame(), 0);
    game.session.IdleStep(6050, true);  // 1.2
    EXPECT_EQ(game.session.SparkleFrame(), 1);
    game.session.IdleStep(9000, false);  // an inactive window does not move it on
    EXPECT_EQ(game.session.SparkleFrame(), 1);
    for (const QRect& rect : game.host.repaints)
        EXPECT_EQ(rect, game.session.SparkleRect()) << "only the sparkle's square is repainted";
    uint32_t now = 9000;
    for (int step = 0; step < 36; ++step)
        game.session.IdleStep(now += 20, true);  // 15.6 frames
    EXPECT_EQ(game.session.SparkleFrame(), 15);
    for (int step = 0; step < 3; ++step)
        game.session.IdleStep(now += 20, true);
    EXPECT_FALSE(game.session.SparkleFrame());
    const size_t repaints = game.host.repaints.size();
    game.session.IdleStep(now += 20, true);
    EXPECT_EQ(game.host.repaints.size(), repaints) << "a finished sparkle rests";
}

TEST(PlaySession, TheSolvingDropDatesCentresClosesTheTraysAndPlaysItsSoundWhenSoundIsOn)
{
    for (const bool sound : {true, false}) {
        SCOPED_TRACE(sound);
        JoinedGame game(2);
        game.session.SetSoundOn(sound);
        game.session.Controller().TrayOf(CGP_PuzzlePieceUnion::kLeftTray)->Open(false);
        game.DropBeside(1000);
        EXPECT_TRUE(game.puzzle->m_bSolved);
        EXPECT_EQ(game.host.solved, 1);
        EXPECT_EQ(game.host.sounds, sound ? std::vector<int>{240} : std::vector<int>{});
        EXPECT_FALSE(game.session.SparkleFrame());
        EXPECT_EQ(QDate(game.puzzle->m_nSolveYear, game.puzzle->m_nSolveMonth, game.puzzle->m_nSolveDay), QDate::currentDate());
        for (CPocket* tray : game.session.Controller().Trays()) {
            EXPECT_FALSE(tray->IsOpen());
            EXPECT_FALSE(tray->ShowsFull());
        }
        // 80 x 40 centred in a span of 1000 from x = 0 and in the field's 700 rows from 50.
        EXPECT_EQ(game.puzzle->GroupBounds(game.puzzle->m_pGroups->Snapshot().front(), false), QRect(460, 380, 80, 40));
    }
}

TEST(PlaySession, APressWellInsideThePauseBoxClosesItAndStillPicks)
{
    struct Row
    {
        QPoint press;
        bool closes;
    } rows[] = {{{410, 410}, true}, {{410, 370}, false}, {{410, 461}, true}, {{410, 500}, false}};
    for (const Row& row : rows) {
        JoinedGame game;
        // Box 300,350 - 600,530: presses count from 380 to 499.
        game.session.SetPauseBox(true, QRect(300, 350, 300, 180));
        game.session.LeftPress(row.press, false);
        EXPECT_EQ(game.host.pauseBoxClosed, row.closes ? 1 : 0) << row.press.y();
        EXPECT_EQ(game.session.IsPauseBoxShown(), !row.closes);
        EXPECT_TRUE(game.host.captured);
    }
}

TEST(PlaySession, GhostOnlyForPuzzlesThatAllowIt)
{
    JoinedGame game;
    game.session.SetPauseBox(true, QRect(0, 0, 10, 10));
    game.session.OnPlayGhost();
    EXPECT_TRUE(game.session.IsGhostVisible());
    EXPECT_FALSE(game.session.IsPauseBoxShown()) << "the key closes the pause box";
    game.puzzle->m_bOptions[CGP_Puzzle::kOptionNoGhost] = true;
    game.session.OnPlayGhost();
    EXPECT_TRUE(game.session.IsGhostVisible());
}

TEST(HelpOverlays, EachScreenShowsItsChainOnceAndDismissingWritesTheValue)
{
    struct Row
    {
        const char* fault;
        GameMode mode;
        bool rotating;
        QStringList dismissedBefore;
        QStringList shown;  // in the order releases dismiss them
    } rows[] = {
        {"the library's picture", GameMode::MyPuzzles, false, {}, {"HlpMyPzl"}},
        {"a game without turning: one picture", GameMode::Play, false, {}, {"HlpGame1"}},
        {"a turning game: both, in order", GameMode::Play, true, {}, {"HlpGame1", "HlpGame2"}},
        {"the first already seen: only the second", GameMode::Play, true, {"HlpGame1"}, {"HlpGame2"}},
        {"both seen: none", GameMode::Play, true, {"HlpGame1", "HlpGame2"}, {}},
        {"calendar", GameMode::Calendar, false, {}, {"HlpCalendar"}},
        {"Treasury", GameMode::Treasury, false, {}, {"HlpShop"}},
        {"creation has none", GameMode::CreateImage, false, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        TestFolder folder;
        CGP_SettingsStore settings(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("settings.ini"))));
        for (const QString& value : row.dismissedBefore)
            settings.DismissHelp(value);
        HelpOverlays overlays(settings);
        EXPECT_EQ(overlays.Start(row.mode, row.rotating), !row.shown.isEmpty());
        for (const QString& expected : row.shown) {
            EXPECT_EQ(overlays.Current(), expected);
            EXPECT_FALSE(settings.HelpDismissed(expected));
            overlays.Dismiss();
            EXPECT_TRUE(settings.HelpDismissed(expected));
        }
        EXPECT_FALSE(overlays.IsShown());
        EXPECT_FALSE(HelpOverlays(settings).Start(row.mode, row.rotating)) << "never shown again";
    }
}
