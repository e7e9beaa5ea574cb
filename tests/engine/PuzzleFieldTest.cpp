// The field's operations on the puzzle: picking, the selection, dropping, keeping groups in
// their area, turning, pushing and the first scattering.
#include "engine/GP_Random.h"
#include "tests/support/FieldTestSupport.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {
constexpr int kTray = CGP_PuzzlePieceUnion::kRightTray;

GP_FieldAreas Areas()
{
    GP_FieldAreas areas;
    areas.field = QRect(0, 50, 800, 600);           // edges 0, 50, 800, 650
    areas.rightTray = QRect(401, 400, 399, 250);    // edges 401, 400, 800, 650
    areas.leftTray = QRect(0, 400, 399, 250);
    areas.trayButtonWidth = 56;
    return areas;
}

int Index(CGP_Puzzle& puzzle, const GP_GroupPtr& group)
{
    const std::deque<GP_GroupPtr> groups = puzzle.m_pGroups->Snapshot();
    return int(std::find(groups.begin(), groups.end(), group) - groups.begin());
}
} // namespace

TEST(PuzzleField, PickTakesTheFrontmostGroupWhosePixelIsDrawn)
{
    const GP_GroupPtr notched = Group({Piece(0, 0, 100, 100, true)});
    const GP_GroupPtr beneath = Group({Piece(5, 5, 90, 90)});
    const GP_GroupPtr lone = Group({Piece(7, 7, 300, 100, true)});
    const GP_GroupPtr inTray = Group({Piece(1, 1, 500, 500)}, kTray);
    const GP_GroupPtr unbuilt = Group({Piece(2, 2, 600, 100, false, false)});
    const auto puzzle = Puzzle({notched, beneath, lone, inTray, unbuilt});
    struct Row
    {
        const char* fault;
        QPoint point;
        int location;
        GP_GroupPtr held;  // null: a band starts
    } rows[] = {
        {"a drawn pixel of the top group", {130, 130}, 0, notched},
        {"a clear pixel falls through to the group beneath", {105, 105}, 0, beneath},
        {"a clear pixel with nothing beneath starts a band", {305, 105}, 0, nullptr},
        {"the box's last pixel belongs to the piece", {339, 139}, 0, lone},
        {"one past the box is outside", {340, 139}, 0, nullptr},
        {"a piece without an image is hit by its box", {601, 101}, 0, unbuilt},
        {"a tray's group is not found on the field", {510, 510}, 0, nullptr},
        {"it is found in its tray", {510, 510}, kTray, inTray},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const GP_Pick pick = puzzle->Pick(row.point, row.location);
        EXPECT_EQ(puzzle->m_pHeldGroup, row.held);
        EXPECT_EQ(pick, row.held ? GP_Pick::Held : GP_Pick::Band);
        EXPECT_EQ(puzzle->m_band.active, !row.held);
        if (!row.held) {
            EXPECT_EQ(puzzle->m_band.Rect(), QRect(row.point, QSize(1, 1)));
            EXPECT_EQ(puzzle->m_band.location, row.location);
        }
        puzzle->Drop(Areas());
    }
}

TEST(PuzzleField, SelectionIsDraggedWholeAndCtrlKeepsIt)
{
    struct Row
    {
        const char* fault;
        std::vector<int> selectedBefore;
        int pressOn;  // group index, -1 empty space
        bool ctrl;
        GP_Pick pick;
        std::vector<int> selectedAfter;
    } rows[] = {
        {"a press on one of two selected groups drags both", {0, 1}, 0, false, GP_Pick::Selection, {0, 1}},
        {"a press on an unselected group clears the selection", {0, 1}, 2, false, GP_Pick::Held, {}},
        {"a single selected group is simply held", {0}, 0, false, GP_Pick::Held, {}},
        {"Ctrl adds the group and drags the selection", {0}, 2, true, GP_Pick::Selection, {0, 2}},
        {"Ctrl on the first group starts a selection of one", {}, 1, true, GP_Pick::Held, {1}},
        {"a band without Ctrl clears the selection", {0, 1}, -1, false, GP_Pick::Band, {}},
        {"a band with Ctrl keeps it", {0, 1}, -1, true, GP_Pick::Band, {0, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const std::vector<GP_GroupPtr> groups{Group({Piece(0, 0, 100, 100)}), Group({Piece(3, 0, 200, 100)}),
                                              Group({Piece(6, 0, 300, 100)})};
        const auto puzzle = Puzzle(groups);
        for (int i : row.selectedBefore)
            groups[size_t(i)]->m_bSelected = true;
        const QPoint point = row.pressOn < 0 ? QPoint(500, 500) : At(groups[size_t(row.pressOn)]) + QPoint(20, 20);
        EXPECT_EQ(puzzle->Pick(point, 0, row.ctrl), row.pick);
        for (int i = 0; i < 3; ++i) {
            const bool expected = std::count(row.selectedAfter.begin(), row.selectedAfter.end(), i) > 0;
            EXPECT_EQ(groups[size_t(i)]->m_bSelected, expected) << "group " << i;
        }
        // What moves with the pointer: the held group or the whole selection.
        puzzle->MoveBy(7, 3);
        for (int i = 0; i < 3; ++i) {
            const bool dragged = row.pick != GP_Pick::Band
                && (groups[size_t(i)] == puzzle->m_pHeldGroup || (row.pick == GP_Pick::Selection && groups[size_t(i)]->m_bSelected));
            EXPECT_EQ(At(groups[size_t(i)]), QPoint(100 + 100 * i + (dragged ? 7 : 0), dragged ? 103 : 100)) << "group " << i;
        }
    }
}

TEST(PuzzleField, BandSelectsWhatItTouchesInItsLocationAndRepaintsBothBands)
{
    const GP_GroupPtr a = Group({Piece(0, 0, 100, 100)});
    const GP_GroupPtr b = Group({Piece(3, 0, 200, 100)});
    const GP_GroupPtr traySide = Group({Piece(6, 0, 150, 100)}, kTray);
    const auto puzzle = Puzzle({a, b, traySide});
    ASSERT_EQ(puzzle->Pick({90, 90}, 0), GP_Pick::Band);
    QRect dirty = puzzle->MoveBy(20, 20);  // band 90,90 - 110,110 touches a only
    EXPECT_TRUE(a->m_bSelected);
    EXPECT_FALSE(b->m_bSelected);
    EXPECT_FALSE(traySide->m_bSelected);
    EXPECT_TRUE(dirty.contains(QRect(90, 90, 20, 20)));
    dirty = puzzle->MoveBy(-30, 0);  // the moving corner passes the anchor: 80,90 - 90,110
    EXPECT_EQ(puzzle->m_band.Rect(), QRect(80, 90, 10, 20));
    EXPECT_FALSE(a->m_bSelected);
    EXPECT_TRUE(dirty.contains(QRect(90, 90, 20, 20))) << "the old band is repainted away";
    puzzle->MoveBy(10, 0);  // no width left: one pixel wide
    EXPECT_EQ(puzzle->m_band.Rect(), QRect(90, 90, 1, 20));
    EXPECT_FALSE(puzzle->Drop(Areas()));
    EXPECT_FALSE(puzzle->m_band.active);
}

TEST(PuzzleField, DropPutsSmallGroupsOnTopAndLargeOnesUnderneath)
{
    for (const int size : {9, 10}) {
        SCOPED_TRACE(size);
        const GP_GroupPtr dropped = Strip(size, 20, 300, 0, 10);
        const auto puzzle = Puzzle({Strip(2, 20, 100, 0, 0), dropped, Strip(1, 600, 500, 5, 5)});
        ASSERT_EQ(puzzle->Pick({25, 305}, 0), GP_Pick::Held);
        puzzle->MoveBy(5, 5);
        EXPECT_FALSE(puzzle->Drop(Areas()));
        EXPECT_EQ(Index(*puzzle, dropped), size < 10 ? 0 : 2);
        EXPECT_EQ(puzzle->m_pHeldGroup, nullptr);
    }
}

TEST(PuzzleField, AGroupOutOfItsAreaComesBackUntilOnePieceIsWhollyInside)
{
    // The field area is 2 pixels inside the field: x from 2 to 798, y from 52 to 648.
    struct Row
    {
        const char* fault;
        int count, x, y, location;
        QPoint firstAfter;
    } rows[] = {
        {"far off to the left: the nearest piece comes in", 3, -200, 100, 0, {2 - 2 * kSide, 100}},
        {"over the right edge", 3, 790, 100, 0, {758, 100}},
        {"over the bottom-right corner", 1, 790, 640, 0, {758, 608}},
        {"above the top", 2, 300, 0, 0, {300, 52}},
        {"one piece already inside: nothing moves", 3, 750, 100, 0, {750, 100}},
        {"small pieces keep half a handle from a tray's edges", 1, 401, 600, kTray, {431, 580}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const GP_GroupPtr group = Strip(row.count, row.x, row.y, 0, 0, row.location);
        const auto puzzle = Puzzle({group});
        const QRect dirty = puzzle->KeepInArea(group, Areas());
        EXPECT_EQ(At(group), row.firstAfter);
        EXPECT_EQ(dirty.isEmpty(), row.firstAfter == QPoint(row.x, row.y));
        const QRect area = puzzle->AreaOf(row.location, Areas());
        int inside = 0;
        for (const GP_PiecePtr& piece : group->m_pieces)
            inside += area.contains(QRect(piece->m_nX, piece->m_nY, kSide, kSide)) ? 1 : 0;
        EXPECT_GE(inside, 1);
    }
}

TEST(PuzzleField, PushMovesLoosePiecesAwayFromThePointer)
{
    // Pointer at (400, 300); piece centres are 20 past their corner.
    struct Row
    {
        const char* fault;
        QPoint corner;
        float speed;
        int pieces;
        int location;
        QPoint after;
    } rows[] = {
        {"a piece to the right flees right at 3 a tick", {480, 280}, 0, 1, 0, {483, 280}},
        {"its own speed adds to the base", {480, 280}, 2.5f, 1, 0, {485, 280}},
        {"diagonally each axis truncates", {480, 360}, 0, 1, 0, {482, 361}},
        {"200 away is out of reach", {580, 280}, 0, 1, 0, {580, 280}},
        {"a joined pair never moves", {480, 280}, 0, 2, 0, {480, 280}},
        {"a tray's piece is not pushed on the field", {480, 280}, 0, 1, kTray, {480, 280}},
        {"a piece right under the pointer has nowhere to go", {380, 280}, 0, 1, 0, {380, 280}},
        {"a piece pushed out of the field comes back", {-2, 280}, 0, 1, 0, {2, 280}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const GP_GroupPtr group = Strip(row.pieces, row.corner.x(), row.corner.y(), 0, 0, row.location);
        group->m_pieces.front()->m_fPushSpeed = row.speed;
        const auto puzzle = Puzzle({group});
        const QPointF pointer = row.corner.x() < 0 ? QPointF(100, 300) : QPointF(400, 300);
        const QRect dirty = puzzle->PushStep(pointer, 0, Areas());
        EXPECT_EQ(At(group), row.after);
        if (row.after != row.corner) {
            EXPECT_TRUE(dirty.contains(QRect(row.after, QSize(kSide, kSide))));
        }
    }
}

TEST(PuzzleField, OnlyAHeldGroupOfATurningPuzzleTurns)
{
    for (const bool turning : {false, true}) {
        const GP_GroupPtr group = Strip(2, 100, 100);
        const auto puzzle = Puzzle({group});
        puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = turning;
        EXPECT_FALSE(puzzle->RotateHeld()) << "nothing is held";
        puzzle->Pick({110, 110}, 0);
        EXPECT_EQ(puzzle->RotateHeld(), turning);
        // Turned a quarter about the middle (140, 120) of its 80 x 40 bounds.
        EXPECT_EQ(group->m_pieces[0]->m_nRotation, turning ? 1 : 0);
        EXPECT_EQ(puzzle->GroupBounds(group, false), turning ? QRect(120, 80, 40, 80) : QRect(100, 100, 80, 40));
    }
}

TEST(PuzzleField, TraysCountAsEmptyWithoutTheirHintPair)
{
    const GP_GroupPtr hinted = Group({Piece(0, 0, 500, 500)}, kTray);
    const GP_GroupPtr onField = Group({Piece(1, 0, 100, 100)});
    const auto puzzle = Puzzle({hinted, onField});
    EXPECT_FALSE(puzzle->LocationEmpty(kTray));
    EXPECT_TRUE(puzzle->AnyOutsideField());
    puzzle->m_pHintGroup1 = hinted;
    EXPECT_TRUE(puzzle->LocationEmpty(kTray));
    EXPECT_TRUE(puzzle->LocationEmpty(CGP_PuzzlePieceUnion::kLeftTray));
    hinted->m_nLocation = 0;
    EXPECT_FALSE(puzzle->AnyOutsideField());
}

TEST(PuzzleField, FirstScatteringKeepsClearOfHandlesAndThePictureWindow)
{
    std::vector<GP_GroupPtr> groups;
    for (int i = 0; i < 60; ++i)
        groups.push_back(Group({Piece(i % 10, i / 10, 0, 0)}));
    groups.push_back(Strip(2, 0, 0, 0, 9));  // joined: stays where it is
    const auto puzzle = Puzzle(groups);
    const QRect field(0, 50, 640, 430);
    const QRect picture(200, 150, 240, 200);
    const int handle = 56;
    GP_srand(7);
    puzzle->SpreadInitial(field, handle, picture);
    for (size_t i = 0; i < 60; ++i) {
        const QRect place(At(groups[i]), QSize(kSide, kSide));
        EXPECT_GE(place.left(), field.left() + 10);
        EXPECT_GE(place.top(), field.top() + 10);
        EXPECT_LE(place.left() + kSide, field.left() + field.width());
        EXPECT_LE(place.top() + kSide, field.top() + field.height() - handle);
        EXPECT_FALSE(place.intersects(picture)) << i;
    }
    EXPECT_EQ(At(groups.back()), QPoint(0, 0));
    // A field too small for a piece puts it at the margin instead of dividing by nothing.
    const GP_GroupPtr big = Group({Piece(0, 0, 0, 0)});
    Puzzle({big})->SpreadInitial(QRect(0, 0, 30, 30), handle, {});
    EXPECT_EQ(At(big), QPoint(10, 10));
}
