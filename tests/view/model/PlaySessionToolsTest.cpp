// The play tools of one game over a host that records what it is asked: the clock, the pause
// box, the ghost and the picture window, the hint's blink, "Pull Apart" and leaving.
#include "tests/support/FieldTestSupport.h"
#include "tests/support/TestFolder.h"
#include "view/model/PlaySession.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {
struct ToolsHost : CPlaySessionHost
{
    void RepaintNow(const QRect& rect) override { repaints.push_back(rect); }
    void Invalidate() override { ++invalidated; }
    void PlaySound(int) override {}
    void SetFieldCursor(FieldCursor) override {}
    void SetCapture(bool) override {}
    void SetTrayButtonFull(bool) override {}
    void TraysChanged() override {}
    void StartViewTimer(int, int) override {}
    void StopViewTimer(int) override {}
    void ClosePauseBox() override { ++pauseClosed; }
    void PuzzleSolved() override {}
    void ShowPauseBox() override { ++pauseShown; }
    void ShowPictureWindow(bool shown, const QRect& rect) override
    {
        pictureShown = shown;
        pictureRect = rect;
    }
    void ShowTime(int seconds) override { times.push_back(seconds); }

    std::vector<QRect> repaints;
    std::vector<int> times;
    int invalidated = 0, pauseClosed = 0, pauseShown = 0;
    bool pictureShown = false;
    QRect pictureRect;
};

const QRect kView(0, 0, 1000, 750);
const QRect kPauseBox(300, 200, 400, 150);

// A row of loose pieces on a 1000 x 700 field below the band, with a 400 x 300 picture.
struct Game
{
    explicit Game(int pieces = 6)
        : puzzle(Puzzle({}))
        , session(puzzle, host)
    {
        for (int i = 0; i < pieces; ++i)
            puzzle->m_pGroups->PushBack(Group({Piece(i, 0, 100 + 60 * i, 300)}));
        puzzle->m_nPieceCount = pieces;
        puzzle->m_nColumns = pieces;
        puzzle->m_nRows = 1;
        puzzle->m_fPieceSize = 40;
        puzzle->m_pImage.reset(new QImage(400, 300, QImage::Format_RGB32));
        puzzle->m_nSolvingTime = 42;
        session.SetGeometry(QRect(0, 50, 1000, 700), 44);
    }
    void Pause()
    {
        session.OnPlayPause();
        session.SetPauseBox(true, kPauseBox);
    }

    ToolsHost host;
    boost::shared_ptr<CGP_Puzzle> puzzle;
    PlaySession session;
};
} // namespace

TEST(PlaySessionTools, PlayKeysAndCommandsCloseThePauseBoxAndDoTheirWork)
{
    struct Row
    {
        const char* fault;
        void (PlaySession::*command)();
        bool ghost, picture, hint, closes;
    };
    const Row rows[] = {
        {"G while paused did not toggle the ghost", &PlaySession::OnPlayGhost, true, false, false, true},
        {"P while paused did not toggle the picture window", &PlaySession::OnPlayPicture, false, true, false, true},
        {"a hint while paused left the box up", &PlaySession::OnPlayHint, false, false, true, true},
        {"Pull Apart while paused left the box up", &PlaySession::OnPlayArrangeAtEdge, false, false, false, true},
        {"Pause did not close its own box", &PlaySession::OnPlayPause, false, false, false, true},
        {"Z closed the pause box", &PlaySession::OnPlayZoom, false, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Game game;
        game.session.StartPlay(true, kView);
        game.Pause();
        ASSERT_EQ(game.host.pauseShown, 1);
        game.host.invalidated = 0;
        (game.session.*row.command)();
        EXPECT_EQ(game.session.IsGhostVisible(), row.ghost);
        EXPECT_EQ(game.session.IsPictureShown(), !row.picture);
        EXPECT_EQ(game.host.pictureShown, !row.picture);
        EXPECT_EQ(game.puzzle->m_nHintsUsed, row.hint ? 1 : 0);
        EXPECT_EQ(game.session.IsPauseBoxShown(), !row.closes);
        EXPECT_EQ(game.host.pauseClosed, row.closes ? 1 : 0);
        EXPECT_EQ(game.host.pauseShown, 1) << "a command brought up another pause box";
    }

    // No pause box over a modal box of the view.
    Game game;
    game.session.SetModalBoxUp(true);
    game.session.OnPlayPause();
    EXPECT_EQ(game.host.pauseShown, 0);
}

TEST(PlaySessionTools, ClockRunsOnlyWhileTheGameIsPlayedAndResumesWithoutAJump)
{
    Game game;
    game.session.StartPlay(false, kView);
    EXPECT_EQ(game.host.times, std::vector<int>{42});
    uint32_t now = 10000;
    // Idle steps of 10 ms, as the throttled idle loop runs them.
    const auto play = [&](int ms, bool active = true) {
        for (int t = 0; t < ms; t += 10)
            game.session.IdleStep(now += 10, active);
    };
    play(3000);
    EXPECT_EQ(game.session.Seconds(), 44);

    game.Pause();
    play(60000);
    game.session.ClosePauseBox();
    play(10);
    EXPECT_EQ(game.session.Seconds(), 44) << "time paused was counted";

    game.session.SetModalBoxUp(true);  // the board settings
    play(60000);
    game.session.SetModalBoxUp(false);
    game.session.RequestClockReset();
    play(10);
    EXPECT_EQ(game.session.Seconds(), 44) << "time in the board settings was counted";

    play(60000, false);  // another application is active
    game.session.RequestClockReset();
    play(1990);
    EXPECT_EQ(game.session.Seconds(), 46) << "time in the background was counted";
    EXPECT_EQ(game.host.times.back(), 46);

    game.puzzle->m_bSolved = true;
    play(5000);
    EXPECT_EQ(game.session.Seconds(), 46) << "a solved puzzle's clock ran on";
}

TEST(PlaySessionTools, HintBlinksOnIdleStepsAndRepaintsThePairWithItsRing)
{
    Game game(2);
    game.session.StartPlay(false, kView);
    game.session.OnPlayHint();
    ASSERT_TRUE(game.puzzle->m_pHintGroup1);
    EXPECT_TRUE(game.host.repaints.back().isEmpty()) << "a hint repaints the whole view at once";
    game.host.repaints.clear();
    // Idle steps count at most 20 ms each: a stall of a second moves the blink by 20 ms only.
    uint32_t now = 5000;
    game.session.IdleStep(now, true);
    game.session.IdleStep(now += 1000, true);
    EXPECT_EQ(game.puzzle->m_nHintBlinkTimer, 280);
    int steps = 0;
    while (game.puzzle->m_pHintGroup1 && steps < 1000) {
        game.session.IdleStep(now += 10, true);
        ++steps;
    }
    // A phase ends once the timer drops below zero: 29 steps are left of the first, then 31
    // steps of 10 ms each for the five that follow.
    EXPECT_EQ(steps, 29 + 5 * 31) << "a hint blinks for six phases";
    ASSERT_EQ(game.host.repaints.size(), 6u);
    const QRect pair(100, 300, 100, 40);
    EXPECT_EQ(game.host.repaints[0], pair.adjusted(-5, -5, 5, 5));
}

TEST(PlaySessionTools, PictureWindowZoomsInPlaceAndPullApartKeepsOffIt)
{
    Game game(30);
    // 30 x 40 by 40 of a 400 x 300 picture: 400 x 40; first at a third of that.
    game.session.StartPlay(true, kView, QRect(500, 400, 10, 10));
    EXPECT_TRUE(game.host.pictureShown);
    EXPECT_EQ(game.session.PictureRect(), QRect(500, 400, 133, 13));
    const QRect first = game.session.PictureRect();
    std::vector<QRect> zooms;
    for (int press = 0; press < 3; ++press) {
        game.session.OnPlayZoom();
        zooms.push_back(game.session.PictureRect());
        EXPECT_EQ(zooms.back().bottomRight(), first.bottomRight());
    }
    EXPECT_EQ(zooms[2].size(), QSize(80, 8)) << "three presses come back to the first zoom state";
    EXPECT_EQ(game.session.PictureZoom(), 0);

    // A place outside the view is not taken back: the window goes to the field's corner.
    Game away(30);
    away.session.StartPlay(true, kView, QRect(1200, 400, 133, 13));
    EXPECT_EQ(away.session.PictureRect(), QRect(1000 - 10 - 133, 60, 133, 13));

    // A big window over the middle of the field's top edge.
    Game pulled(30);
    pulled.puzzle->m_nRows = 8;
    pulled.session.StartPlay(true, kView, QRect(300, 50, 10, 10));
    for (int press = 0; press < 2; ++press)
        pulled.session.OnPlayZoom();
    const QRect window = pulled.session.PictureRect();
    pulled.session.OnPlayArrangeAtEdge();
    for (const GP_GroupPtr& group : pulled.puzzle->m_pGroups->Snapshot()) {
        const CGP_PuzzlePiece& piece = *group->m_pieces[0];
        EXPECT_FALSE(QRect(piece.m_nX, piece.m_nY, kSide, kSide).intersects(window)) << piece.m_nX << "," << piece.m_nY;
    }
    // Hidden, the window no longer keeps pieces away, and a puzzle that hides its picture has none.
    pulled.session.OnPlayPicture();
    EXPECT_FALSE(pulled.host.pictureShown);
    Game hidden;
    hidden.puzzle->m_bOptions[CGP_Puzzle::kOptionHidePicture] = true;
    hidden.session.StartPlay(true, kView);
    hidden.session.OnPlayPicture();
    EXPECT_FALSE(hidden.host.pictureShown);
}

TEST(PlaySessionTools, LeavingTakesTheClocksTimeAndForgetsTheHint)
{
    TestFolder folder;
    Game game;
    game.session.StartPlay(false, kView);
    game.session.OnPlayHint();
    game.session.IdleStep(100, true);
    game.session.IdleStep(1200, true);
    game.Pause();
    // No such file: the progress cannot be saved, and the game says so.
    const CGameSaver::LeaveResult left = game.session.Leave(folder.File(QStringLiteral("Meadow.pzl")),
                                                            folder.File(QStringLiteral("Meadow.cash")));
    EXPECT_FALSE(left.progressSaved);
    EXPECT_FALSE(game.session.IsPauseBoxShown());
    EXPECT_FALSE(game.puzzle->m_pHintGroup1);
    EXPECT_EQ(game.puzzle->m_nSolvingTime, 43);
    EXPECT_FALSE(game.puzzle->m_bFresh);
}
