// The field's pointer protocol over a hand-made puzzle in a 1280 x 800 view: trays opening and
// closing under a drag, turning and pushing, and what a drop asks of the view.
#include "tests/support/FieldTestSupport.h"
#include "view/model/FieldController.h"
#include "view/model/FieldGeometry.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {
constexpr int kRight = CGP_PuzzlePieceUnion::kRightTray;
constexpr int kLeft = CGP_PuzzlePieceUnion::kLeftTray;
const QRect kView(0, 0, 1280, 800);

struct Game
{
    explicit Game(const std::vector<GP_GroupPtr>& groups)
        : puzzle(Puzzle(groups))
    {
        controller.SetPuzzle(puzzle);
        controller.SetGeometry(FieldGeometry::FieldRect(kView, GameMode::Play, 0),
                               FieldGeometry::HandleSide(FieldGeometry::LayoutRect(kView)));
    }
    CPocket& Tray(int location) { return *controller.TrayOf(location); }
    // A drag from a group's middle through the points.
    void Drag(const GP_GroupPtr& group, const std::vector<QPoint>& through)
    {
        controller.LeftPress(At(group) + QPoint(20, 20), false);
        for (const QPoint& point : through)
            controller.LeftMove(point);
    }

    boost::shared_ptr<CGP_Puzzle> puzzle;
    FieldController controller;
};

QPoint Middle(const QRect& rect)
{
    return rect.center();
}
} // namespace

TEST(FieldController, TraysOpenUnderADragCloseWhenLeftAndStayOpenForADrop)
{
    // Field 0,50 - 1280,800; the 4:3 layout is 1066 wide, so handles are 47 pixels; tray 3 is
    // open over 641,441 - 1280,800 and its handle sits 2 in from the corner.
    Game probe({});
    const QRect handle3 = probe.Tray(kRight).HandleRect();
    const QRect open3 = probe.Tray(kRight).OpenRect();
    ASSERT_EQ(handle3, QRect(1231, 751, 47, 47));
    ASSERT_EQ(open3, QRect(641, 441, 639, 359));
    struct Row
    {
        const char* fault;
        std::vector<QPoint> path;
        QPoint release;
        bool open, autoOpened;
        int location;
    } rows[] = {
        {"passing over the handle opens the tray by itself", {Middle(handle3)}, Middle(handle3), true, false, kRight},
        {"the handle's hot zone reaches the view's last pixel", {QPoint(1279, 799)}, QPoint(700, 500), true, false, kRight},
        {"leaving the tray's area closes it again", {Middle(handle3), QPoint(300, 200)}, QPoint(300, 200), false, false, 0},
        {"a drop inside keeps it open", {Middle(handle3), QPoint(700, 500)}, QPoint(700, 500), true, false, kRight},
        {"moving about inside leaves it open by itself until the drop", {Middle(handle3), QPoint(900, 600)}, QPoint(), true, true, kRight},
        {"a drag that never meets the handle opens nothing", {Middle(open3)}, Middle(open3), false, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const GP_GroupPtr group = Group({Piece(0, 0, 100, 100)});
        Game game({group});
        game.Drag(group, row.path);
        if (!row.release.isNull())
            game.controller.LeftRelease(row.release);
        EXPECT_EQ(game.Tray(kRight).IsOpen(), row.open);
        EXPECT_EQ(game.Tray(kRight).IsAutoOpened(), row.autoOpened);
        EXPECT_EQ(group->m_nLocation, row.location);
        EXPECT_FALSE(game.Tray(kLeft).IsOpen());
        // The handle shows "full" while the tray holds pieces; a click opens or closes it.
        EXPECT_EQ(game.Tray(kRight).ShowsFull(), row.location == kRight);
        EXPECT_TRUE(game.controller.ToggleTray(kLeft).traysChanged);
        EXPECT_TRUE(game.Tray(kLeft).IsOpen() && !game.Tray(kLeft).IsAutoOpened());
        game.controller.ToggleTray(kLeft);
        EXPECT_FALSE(game.Tray(kLeft).IsOpen());
    }
}

TEST(FieldController, TrayThreeWinsWhereBothTraysWouldTakeThePoint)
{
    Game game({});
    // Made to overlap: the left tray reaching over the right one.
    GP_TrayGeometry left = game.Tray(kLeft).Geometry();
    left.open = left.openHot = game.Tray(kRight).OpenRect().united(left.open);
    game.Tray(kLeft).SetGeometry(left);
    const QPoint both = Middle(game.Tray(kRight).OpenRect());
    EXPECT_EQ(game.controller.TargetAt(both), 0) << "closed trays take nothing";
    game.Tray(kLeft).Open(false);
    EXPECT_EQ(game.controller.TargetAt(both), kLeft);
    game.Tray(kRight).Open(false);
    EXPECT_EQ(game.controller.TargetAt(both), kRight);
    EXPECT_EQ(game.controller.LocationAt(both), kRight);
    // The plain test of presses misses the 2 widened pixels the drag's test takes.
    const QPoint pastEdge(1281, 799);
    EXPECT_EQ(game.controller.TargetAt(pastEdge), kRight);
    EXPECT_EQ(game.controller.LocationAt(pastEdge), 0);
}

TEST(FieldController, ADropTellsTheViewWhatToShowAndPlay)
{
    struct Row
    {
        const char* fault;
        QPoint to;       // where the right piece's corner is dropped
        int location;    // of the left piece
        bool withThird;  // a third piece keeps the game from being solved
        bool joins;
    } rows[] = {
        {"a drop beside its neighbour joins: sparkle and sound", {240, 200}, 0, true, true},
        {"a drop elsewhere joins nothing", {600, 200}, 0, true, false},
        {"neighbours in different places never join", {240, 200}, kLeft, true, false},
        {"the drop that solves: no sparkle, no join sound, the tray button alone", {241, 201}, 0, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        std::vector<GP_GroupPtr> groups{Group({Piece(0, 0, 200, 200)}, row.location), Group({Piece(1, 0, 400, 400)})};
        if (row.withThird)
            groups.push_back(Group({Piece(5, 5, 900, 100)}));
        Game game(groups);
        game.puzzle->m_nPieceCount = int(groups.size());
        const FieldEffects press = game.controller.LeftPress({410, 410}, false);
        EXPECT_EQ(press.capture, true);
        EXPECT_EQ(press.cursor, FieldCursor::Grab);
        const QPoint release = QPoint(410, 410) + row.to - QPoint(400, 400);
        const FieldEffects move = game.controller.LeftMove(release);
        ASSERT_EQ(move.repaintNow.size(), 1u);
        EXPECT_EQ(move.repaintNow[0], QRect(400, 400, 40, 40).united(QRect(row.to, QSize(40, 40))));
        const FieldEffects drop = game.controller.LeftRelease(release);
        const bool sparkles = row.joins && row.withThird;
        EXPECT_EQ(drop.capture, false);
        EXPECT_TRUE(drop.invalidate);
        EXPECT_EQ(drop.becameSolved, !row.withThird);
        EXPECT_EQ(drop.sparkleAt, sparkles ? std::optional<QPoint>(release - QPoint(24, 0)) : std::nullopt);
        EXPECT_EQ(drop.sounds, sparkles ? std::vector<int>{239} : std::vector<int>{});
        EXPECT_EQ(drop.trayFullLook, row.withThird ? std::optional<bool>(row.location != 0) : std::nullopt);
        EXPECT_FALSE(game.controller.IsLeftHeld());
        EXPECT_FALSE(game.controller.LeftRelease(release).invalidate) << "a release without its press drops nothing";
    }
}

TEST(FieldController, RightPressTurnsWhatIsHeldAndPushesOtherwise)
{
    struct Row
    {
        const char* fault;
        bool dragging;
        bool band;
        bool turns;
        bool pushes;
    } rows[] = {
        {"while dragging: the held group turns and no push starts", true, false, true, false},
        {"while drawing a band: nothing turns, no push", false, true, false, false},
        {"on the open field: a push starts", false, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const GP_GroupPtr group = Group({Piece(0, 0, 100, 100)});
        Game game({group});
        game.puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
        if (row.dragging)
            game.controller.LeftPress({120, 120}, false);
        if (row.band)
            game.controller.LeftPress({600, 600}, false);
        const FieldEffects effects = game.controller.RightPress({300, 300}, {300, 300});
        EXPECT_EQ(group->m_pieces[0]->m_nRotation, row.turns ? 1 : 0);
        EXPECT_EQ(game.controller.IsPushHeld(), row.pushes);
        EXPECT_EQ(effects.pushTimer.value_or(false), row.pushes);
        EXPECT_EQ(effects.cursor == FieldCursor::Push, row.pushes);
        EXPECT_EQ(effects.repaintNow.size(), 1u);
    }
}

TEST(FieldController, APushGoesOn400MsAfterTheReleaseAndNeverMovesJoinedGroups)
{
    const GP_GroupPtr loose = Group({Piece(0, 0, 480, 280)});
    const GP_GroupPtr joined = Strip(2, 300, 380, 3, 3);
    Game game({loose, joined});
    const QPoint pointer(400, 300);
    uint32_t now = 5000;
    game.controller.RightPress(pointer, pointer);
    int ticks = 0;
    // Held for 100 ms, released, then the timer ticks every 20 ms until it stops itself.
    for (; ticks < 100; ++ticks, now += 20) {
        if (now == 5100)
            game.controller.RightRelease(now);
        const FieldEffects tick = game.controller.PushTick(now, pointer);
        if (tick.pushTimer == false)
            break;
    }
    EXPECT_FALSE(game.controller.IsPushTimerRunning());
    // Ticks at 5000..5500: the last one (5520) is more than 400 ms after the release.
    EXPECT_EQ(now, 5520u);
    EXPECT_EQ(ticks, 26);
    EXPECT_EQ(At(loose).x(), 480 + 3 * 26);
    EXPECT_EQ(At(joined), QPoint(300, 380));
}

TEST(FieldController, APushFollowsThePointerWhileHeldAndStaysWhereItWasReleased)
{
    const GP_GroupPtr inTray = Group({Piece(0, 0, 900, 600)}, kRight);
    const GP_GroupPtr onField = Group({Piece(1, 0, 900, 300)});
    Game game({inTray, onField});
    game.Tray(kRight).Open(false);
    game.controller.RightPress({860, 320}, {860, 320});
    game.controller.PushTick(100, {860, 320});  // on the field: only the field's piece moves
    EXPECT_EQ(At(onField), QPoint(903, 300));
    EXPECT_EQ(At(inTray), QPoint(900, 600));
    game.controller.PushTick(120, {860, 620});  // the pointer went into the open tray
    EXPECT_EQ(At(inTray), QPoint(903, 600));
    game.controller.RightRelease(130);
    game.controller.PushTick(140, {100, 100});  // the pointer wanders off: the push stays
    EXPECT_EQ(At(inTray), QPoint(906, 600));
}
