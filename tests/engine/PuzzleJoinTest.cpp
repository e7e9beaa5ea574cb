#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"

#include <gtest/gtest.h>

#include <set>

namespace {
// Pieces laid out as the piece builder lays them: a box in a W x H picture, with the homes and
// sizes of all four quarter turns.
constexpr int kPictureW = 1000;
constexpr int kPictureH = 800;

GP_PiecePtr Piece(int column, int row, int side, int rotation = 0)
{
    GP_PiecePtr piece(new CGP_PuzzlePiece());
    piece->m_nColumn = column;
    piece->m_nRow = row;
    piece->m_nIndex = row * 10 + column;
    piece->m_nRotation = rotation;
    const int left = column * side, top = row * side, right = left + side, bottom = top + side;
    const int homes[4][2] = {{left, top}, {kPictureH - bottom, left}, {kPictureW - right, kPictureH - bottom},
                             {top, kPictureW - right}};
    for (int r = 0; r < 4; ++r) {
        piece->m_nWidths[r] = side;
        piece->m_nHeights[r] = side;
        piece->m_nHomeX[r] = homes[r][0];
        piece->m_nHomeY[r] = homes[r][1];
    }
    // Where it belongs for its turn, moved to the middle of the field.
    piece->m_nX = homes[rotation][0] + 100;
    piece->m_nY = homes[rotation][1] + 100;
    return piece;
}

GP_GroupPtr Group(std::initializer_list<GP_PiecePtr> pieces, int location = 0)
{
    GP_GroupPtr group(new CGP_PuzzlePieceUnion());
    group->m_pieces.assign(pieces.begin(), pieces.end());
    group->m_nLocation = location;
    return group;
}

boost::shared_ptr<CGP_Puzzle> Puzzle(std::initializer_list<GP_GroupPtr> groups, int pieceCount = 20)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pGroups.reset(new GP_GroupDeque());
    for (const GP_GroupPtr& group : groups)
        puzzle->m_pGroups->PushBack(group);
    puzzle->m_nPieceCount = pieceCount;
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = false;
    return puzzle;
}

std::deque<GP_GroupPtr> Groups(CGP_Puzzle& puzzle)
{
    return puzzle.m_pGroups->Snapshot();
}

void Shift(const GP_GroupPtr& group, int dx, int dy)
{
    for (const GP_PiecePtr& piece : group->m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
}

// Whether every piece of the group lies where it belongs relative to the first.
bool Whole(const GP_GroupPtr& group)
{
    const CGP_PuzzlePiece& first = *group->m_pieces.front();
    const int r = first.m_nRotation;
    for (const GP_PiecePtr& piece : group->m_pieces) {
        if (piece->m_nRotation != r || piece->m_nX - first.m_nX != piece->m_nHomeX[r] - first.m_nHomeX[r]
            || piece->m_nY - first.m_nY != piece->m_nHomeY[r] - first.m_nHomeY[r])
            return false;
    }
    return true;
}
} // namespace

TEST(PuzzleJoin, ToleranceGrowsWithThePieceImage)
{
    struct Case
    {
        int side, dx, dy;
        bool joins;
    };
    // Up to 100 x 100 pixels the tolerance is 10, and still 10 just above; at 150 x 150 (22500
    // pixels) it is 20, at 200 x 200 it is 40.
    const Case cases[] = {{100, 9, 0, true},   {100, 10, 0, false}, {100, -9, 9, true}, {100, 0, -10, false},
                          {60, 9, -9, true},   {150, 19, 0, true},  {150, 20, 0, false}, {150, -19, -19, true},
                          {101, 9, 0, true},   {101, 10, 0, false}, {200, 0, 39, true},  {200, 40, 0, false}};
    for (const Case& c : cases) {
        GP_GroupPtr a = Group({Piece(3, 2, c.side)});
        GP_GroupPtr b = Group({Piece(4, 2, c.side)});
        Shift(a, c.dx, c.dy);
        a->m_bSelected = true;
        auto puzzle = Puzzle({a, b});
        EXPECT_EQ(puzzle->TryJoin(), c.joins) << c.side << " " << c.dx << "," << c.dy;
        EXPECT_EQ(Groups(*puzzle).size(), c.joins ? 1u : 2u);
        EXPECT_EQ(puzzle->m_bSolved, c.joins);
        if (c.joins) {
            // Equal groups: the first of the pair moves onto the second, which stays put.
            EXPECT_TRUE(Whole(Groups(*puzzle).front()));
            EXPECT_EQ(b->m_pieces[1]->m_nX, 3 * c.side + 100);
            EXPECT_EQ(b->m_pieces[0]->m_nX, 4 * c.side + 100);
            EXPECT_FALSE(b->m_bSelected);
        }
    }
}

TEST(PuzzleJoin, OnlyNeighboursOfOneTurnInOnePlaceWithTheHeldOrSelectedGroupJoin)
{
    // Turned differently: never, however close.
    {
        auto puzzle = Puzzle({Group({Piece(0, 0, 80, 1)}), Group({Piece(1, 0, 80, 0)})});
        Groups(*puzzle)[0]->m_bSelected = true;
        Groups(*puzzle)[0]->m_pieces[0]->m_nX = Groups(*puzzle)[1]->m_pieces[0]->m_nX - 80;
        Groups(*puzzle)[0]->m_pieces[0]->m_nY = Groups(*puzzle)[1]->m_pieces[0]->m_nY;
        EXPECT_FALSE(puzzle->TryJoin());
    }
    // Both turned the same way: at their places for that turn they join.
    {
        auto puzzle = Puzzle({Group({Piece(0, 0, 80, 3)}), Group({Piece(1, 0, 80, 3)})});
        Groups(*puzzle)[1]->m_bSelected = true;
        EXPECT_TRUE(puzzle->TryJoin());
    }
    // Diagonal and two-apart pieces are not neighbours.
    for (auto other : {Piece(1, 1, 80), Piece(2, 0, 80)}) {
        auto puzzle = Puzzle({Group({Piece(0, 0, 80)}), Group({other})});
        Groups(*puzzle)[0]->m_bSelected = true;
        EXPECT_FALSE(puzzle->TryJoin());
    }
    // Different places: the field and a tray.
    {
        auto puzzle = Puzzle({Group({Piece(0, 0, 80)}, 0), Group({Piece(0, 1, 80)}, 3)});
        Groups(*puzzle)[0]->m_bSelected = true;
        EXPECT_FALSE(puzzle->TryJoin());
    }
    // Neither held nor selected.
    {
        auto puzzle = Puzzle({Group({Piece(0, 0, 80)}), Group({Piece(0, 1, 80)})});
        EXPECT_FALSE(puzzle->TryJoin());
    }
    // While a group is held, only pairs with it count, selected or not.
    {
        GP_GroupPtr held = Group({Piece(5, 5, 80)});
        auto puzzle = Puzzle({Group({Piece(0, 0, 80)}), Group({Piece(0, 1, 80)}), held});
        Groups(*puzzle)[0]->m_bSelected = true;
        puzzle->m_pHeldGroup = held;
        EXPECT_FALSE(puzzle->TryJoin());
        EXPECT_EQ(Groups(*puzzle).size(), 3u);
    }
    // No deque, or one group: nothing to do.
    CGP_Puzzle empty;
    EXPECT_FALSE(empty.TryJoin());
    auto single = Puzzle({Group({Piece(0, 0, 80)})});
    EXPECT_FALSE(single->TryJoin());
    EXPECT_FALSE(single->m_bSolved);
}

TEST(PuzzleJoin, ChainsJoinInOnePassAndGroupsAreRefiledBySize)
{
    // A row of three pieces, all in place; the middle one is dropped between the other two.
    {
        GP_GroupPtr left = Group({Piece(0, 0, 50)});
        GP_GroupPtr middle = Group({Piece(1, 0, 50)});
        GP_GroupPtr right = Group({Piece(2, 0, 50)});
        GP_GroupPtr far = Group({Piece(7, 7, 50)});
        Shift(far, 300, 0);
        auto puzzle = Puzzle({middle, left, right, far});
        puzzle->m_pHeldGroup = middle;
        EXPECT_TRUE(puzzle->TryJoin());
        const auto groups = Groups(*puzzle);
        ASSERT_EQ(groups.size(), 2u);
        EXPECT_EQ(groups.front()->m_pieces.size(), 3u) << "small joined groups come to the front";
        EXPECT_TRUE(Whole(groups.front()));
        EXPECT_EQ(groups.back(), far);
        EXPECT_FALSE(puzzle->m_bSolved);
    }
    // The same with a selected group and no held one; selection ends with the pass.
    {
        GP_GroupPtr left = Group({Piece(0, 0, 50)});
        GP_GroupPtr middle = Group({Piece(1, 0, 50)});
        GP_GroupPtr right = Group({Piece(2, 0, 50)});
        auto puzzle = Puzzle({left, middle, right});
        middle->m_bSelected = true;
        EXPECT_TRUE(puzzle->TryJoin());
        ASSERT_EQ(Groups(*puzzle).size(), 1u);
        EXPECT_TRUE(puzzle->m_bSolved);
        EXPECT_FALSE(Groups(*puzzle).front()->m_bSelected);
    }
    // A selected piece dropped between in-place groups of 2 and 3 (nothing held) moves into the
    // first; the selection goes with it to the group that stays, which then takes in the other.
    {
        GP_GroupPtr two = Group({Piece(0, 0, 50), Piece(1, 0, 50)});
        GP_GroupPtr loose = Group({Piece(2, 0, 50)});
        GP_GroupPtr three = Group({Piece(3, 0, 50), Piece(4, 0, 50), Piece(5, 0, 50)});
        auto puzzle = Puzzle({loose, two, three});
        loose->m_bSelected = true;
        EXPECT_TRUE(puzzle->TryJoin());
        const auto groups = Groups(*puzzle);
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups.front()->m_pieces.size(), 6u);
        EXPECT_TRUE(Whole(groups.front()));
        EXPECT_FALSE(groups.front()->m_bSelected) << "the pass ends the selection";
    }
    // The larger group stays wherever it is in the deque; at ten pieces it goes to the back.
    {
        std::vector<GP_PiecePtr> row;
        for (int c = 0; c < 9; ++c)
            row.push_back(Piece(c, 0, 40));
        GP_GroupPtr nine(new CGP_PuzzlePieceUnion());
        nine->m_pieces = row;
        Shift(nine, 4, -3); // the whole row lies a little off; the joining piece moves to it
        GP_GroupPtr loose = Group({Piece(9, 0, 40)});
        GP_GroupPtr other = Group({Piece(0, 5, 40)});
        Shift(other, 500, 500);
        auto puzzle = Puzzle({other, loose, nine});
        loose->m_bSelected = true;
        EXPECT_TRUE(puzzle->TryJoin());
        const auto groups = Groups(*puzzle);
        ASSERT_EQ(groups.size(), 2u);
        EXPECT_EQ(groups.back(), nine);
        EXPECT_EQ(nine->m_pieces.size(), 10u);
        EXPECT_EQ(nine->m_pieces[0]->m_nX, 0 + 100 + 4) << "the larger group did not move";
        EXPECT_TRUE(Whole(nine));
    }
}

TEST(PuzzleJoin, LastJoinSolvesOnTheFieldAndAsksForShadows)
{
    GP_GroupPtr a = Group({Piece(0, 0, 60)}, 3);
    GP_GroupPtr b = Group({Piece(1, 0, 60)}, 3);
    a->m_pShadow.reset(new QImage(4, 4, QImage::Format_ARGB32_Premultiplied));
    b->m_pShadow.reset(new QImage(4, 4, QImage::Format_ARGB32_Premultiplied));
    auto puzzle = Puzzle({a, b}, 2);
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = true;
    b->m_bSelected = true;
    std::vector<GP_GroupPtr> asked;
    EXPECT_TRUE(puzzle->TryJoin([&](const boost::shared_ptr<GP_GroupDeque>& groups) {
        for (const GP_GroupPtr& group : groups->Snapshot())
            asked.push_back(group);
    }));
    ASSERT_EQ(Groups(*puzzle).size(), 1u);
    const GP_GroupPtr whole = Groups(*puzzle).front();
    EXPECT_TRUE(puzzle->m_bSolved);
    EXPECT_EQ(whole->m_nLocation, 0) << "a solved puzzle lies on the field, whichever tray it was in";
    EXPECT_FALSE(whole->m_pShadow) << "a changed group's shadow is stale";
    EXPECT_EQ(asked, std::vector<GP_GroupPtr>{whole});

    // Without shadows nobody is asked.
    auto plain = Puzzle({Group({Piece(0, 0, 60)}), Group({Piece(1, 0, 60)})});
    Groups(*plain)[0]->m_bSelected = true;
    bool called = false;
    EXPECT_TRUE(plain->TryJoin([&](const boost::shared_ptr<GP_GroupDeque>&) { called = true; }));
    EXPECT_FALSE(called);
}

TEST(PuzzleJoin, SolvedShareCountsJoins)
{
    std::vector<GP_GroupPtr> groups;
    auto five = Group({Piece(0, 0, 10), Piece(1, 0, 10), Piece(2, 0, 10), Piece(3, 0, 10), Piece(4, 0, 10)});
    auto three = Group({Piece(0, 1, 10), Piece(1, 1, 10), Piece(2, 1, 10)});
    auto puzzle = Puzzle({five, three}, 20);
    for (int i = 0; i < 12; ++i)
        puzzle->m_pGroups->PushBack(Group({Piece(i % 5, 2 + i / 5, 10)}));
    puzzle->UpdateSolved();
    EXPECT_NEAR(puzzle->m_fSolvedPercent, 600.0 / 19.0, 1e-4); // 31.6
    auto fresh = Puzzle({Group({Piece(0, 0, 10)}), Group({Piece(1, 0, 10)})}, 2);
    fresh->UpdateSolved();
    EXPECT_EQ(fresh->m_fSolvedPercent, 0.0f);
    auto whole = Puzzle({Group({Piece(0, 0, 10), Piece(1, 0, 10)})}, 2);
    whole->UpdateSolved();
    EXPECT_EQ(whole->m_fSolvedPercent, 100.0f);
    auto one = Puzzle({Group({Piece(0, 0, 10)})}, 1);
    one->UpdateSolved();
    EXPECT_EQ(one->m_fSolvedPercent, 100.0f) << "one piece is whole, not a division by zero";
}

TEST(PuzzleJoin, DroppingTheHeldGroup)
{
    GP_GroupPtr a = Group({Piece(0, 0, 50)});
    GP_GroupPtr b = Group({Piece(1, 0, 50)});
    GP_GroupPtr held = Group({Piece(5, 5, 50)});
    Shift(held, 200, 0);
    auto puzzle = Puzzle({a, b, held});
    puzzle->m_pHeldGroup = held;
    puzzle->m_pHintGroup1 = a;
    puzzle->m_pHintGroup2 = b;

    // A suppressed drop only clears the byte.
    puzzle->m_bSkipDrop = true;
    int kept = 0;
    puzzle->DropHeldGroup([&](const GP_GroupPtr&) { ++kept; });
    EXPECT_FALSE(puzzle->m_bSkipDrop);
    EXPECT_EQ(kept, 0);
    EXPECT_EQ(puzzle->m_pHeldGroup, held);

    puzzle->DropHeldGroup([&](const GP_GroupPtr&) { ++kept; });
    EXPECT_EQ(kept, 3);
    EXPECT_EQ(Groups(*puzzle).front(), held) << "a dropped small group comes to the top";
    EXPECT_FALSE(puzzle->m_pHeldGroup);
    EXPECT_FALSE(puzzle->m_pHintGroup1);
    EXPECT_FALSE(puzzle->m_pHintGroup2);
    EXPECT_EQ(Groups(*puzzle).size(), 3u) << "a and b were neither held nor selected";

    // A dropped group of ten goes under the rest.
    std::vector<GP_PiecePtr> pieces;
    for (int c = 0; c < 10; ++c)
        pieces.push_back(Piece(c, 3, 20));
    GP_GroupPtr big(new CGP_PuzzlePieceUnion());
    big->m_pieces = pieces;
    auto second = Puzzle({big, Group({Piece(0, 9, 20)})});
    second->m_pHeldGroup = big;
    second->DropHeldGroup();
    EXPECT_EQ(Groups(*second).back(), big);
}

TEST(PuzzleJoin, BoundsAndQuarterTurnsKeepGroupsWhole)
{
    GP_GroupPtr group = Group({Piece(2, 1, 100), Piece(3, 1, 100), Piece(3, 2, 100)});
    auto puzzle = Puzzle({group});
    const QRect before = puzzle->GroupBounds(group, false);
    EXPECT_EQ(before, QRect(300, 200, 200, 200));
    group->m_nShadowLeft = 280;
    group->m_nShadowTop = 180;
    group->m_nShadowWidth = 240;
    group->m_nShadowHeight = 230;
    group->m_pShadow.reset(new QImage(240, 230, QImage::Format_ARGB32_Premultiplied));
    EXPECT_EQ(puzzle->GroupBounds(group, true), before) << "shadows off: the pieces' bounds";
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = true;
    EXPECT_EQ(puzzle->GroupBounds(group, true), QRect(280, 180, 240, 230));

    // One turn about the centre: each place turns clockwise and the group stays whole.
    puzzle->RotateGroup(group, 1, 400, 300);
    EXPECT_TRUE(Whole(group));
    EXPECT_EQ(group->m_pieces[0]->m_nRotation, 1);
    // x' = cx + cy - y - w, y' = x - cx + cy for the first piece at (300, 200).
    EXPECT_EQ(group->m_pieces[0]->m_nX, 400 + 300 - 200 - 100);
    EXPECT_EQ(group->m_pieces[0]->m_nY, 300 - 400 + 300);
    const QRect after = puzzle->GroupBounds(group, false);
    EXPECT_EQ(group->m_nShadowLeft, 280 + after.left() - before.left());
    EXPECT_EQ(group->m_nShadowTop, 180 + after.top() - before.top());
    EXPECT_EQ(group->m_pShadow->size(), QSize(230, 240)) << "the shadow turns with its group";

    // Several steps at once still leave a group whole.
    for (int steps : {2, 3, 7, -1, 4}) {
        puzzle->RotateGroup(group, steps, 500, 500);
        EXPECT_TRUE(Whole(group)) << steps;
    }
    EXPECT_EQ(group->m_pieces[0]->m_nRotation, (1 + 2 + 3 + 7 + 3 + 0) % 4);

    // A lone piece turns its image and its place once about the centre.
    GP_GroupPtr lone = Group({Piece(0, 0, 100)});
    lone->m_pieces[0]->m_nHeights[1] = lone->m_pieces[0]->m_nWidths[1] = 70;
    lone->m_pieces[0]->m_nX = 10;
    lone->m_pieces[0]->m_nY = 20;
    puzzle->RotateGroup(lone, 5, 60, 70);
    EXPECT_EQ(lone->m_pieces[0]->m_nRotation, 1);
    EXPECT_EQ(lone->m_pieces[0]->m_nX, 60 + 70 - 20 - 70);
    EXPECT_EQ(lone->m_pieces[0]->m_nY, 10 - 60 + 70);
}

TEST(PuzzleJoin, SpreadingSeparatingAndCentring)
{
    std::vector<GP_GroupPtr> singles;
    for (int i = 0; i < 12; ++i)
        singles.push_back(Group({Piece(i % 4, i / 4, 40)}));
    GP_GroupPtr tray = Group({Piece(9, 9, 40)}, 4);
    auto puzzle = Puzzle({});
    for (const GP_GroupPtr& group : singles)
        puzzle->m_pGroups->PushBack(group);
    puzzle->m_pGroups->PushBack(tray);
    const int trayX = tray->m_pieces[0]->m_nX;
    const QRect area(30, 50, 600, 400);

    // Two draws per field group, then one per group for the shuffle.
    GP_srand(99);
    puzzle->SpreadPieces(area);
    const int next = GP_rand();
    GP_srand(99);
    for (int i = 0; i < 12 * 2 + 13; ++i)
        GP_rand();
    EXPECT_EQ(next, GP_rand());
    for (const GP_GroupPtr& group : singles)
        EXPECT_TRUE(area.contains(puzzle->GroupBounds(group, false))) << puzzle->GroupBounds(group, false).x();
    EXPECT_EQ(tray->m_pieces[0]->m_nX, trayX) << "the trays are not spread";
    const auto shuffled = Groups(*puzzle);
    EXPECT_EQ(std::set<GP_GroupPtr>(shuffled.begin(), shuffled.end()).size(), 13u);

    // With turning pieces a third draw per group turns it 1 to 10 steps.
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    GP_srand(5);
    puzzle->SpreadPieces(area);
    const int afterTurns = GP_rand();
    GP_srand(5);
    for (int i = 0; i < 12 * 3 + 13; ++i)
        GP_rand();
    EXPECT_EQ(afterTurns, GP_rand());
    std::set<int> steps;
    for (const GP_GroupPtr& group : singles)
        steps.insert(group->m_pieces[0]->m_nRotation);
    EXPECT_GT(steps.size(), 1u);

    // A group wider and higher than the area goes to its top-left corner.
    GP_GroupPtr wide = Group({Piece(0, 0, 700)});
    auto cramped = Puzzle({wide});
    cramped->SpreadPieces(area);
    EXPECT_EQ(cramped->GroupBounds(wide, false).topLeft(), area.topLeft());

    // Separating gives every piece a clean group of its own, in order.
    GP_GroupPtr pair = Group({Piece(0, 0, 40), Piece(1, 0, 40)}, 3);
    pair->m_bSelected = true;
    pair->m_pShadow.reset(new QImage(2, 2, QImage::Format_ARGB32_Premultiplied));
    pair->m_nShadowLeft = 9;
    auto joined = Puzzle({pair, Group({Piece(2, 0, 40)})});
    const GP_PiecePtr second = pair->m_pieces[1];
    joined->SeparateGroups();
    const auto separate = Groups(*joined);
    ASSERT_EQ(separate.size(), 3u);
    EXPECT_EQ(separate[1]->m_pieces, std::vector<GP_PiecePtr>{second});
    for (const GP_GroupPtr& group : separate) {
        EXPECT_EQ(group->m_nLocation, 0);
        EXPECT_FALSE(group->m_bSelected);
        EXPECT_FALSE(group->m_pShadow);
        EXPECT_EQ(group->m_nShadowLeft, 0);
    }

    // Centring: horizontally in a span of the area's width from x = 0, vertically in the area.
    GP_GroupPtr whole = Group({Piece(0, 0, 100), Piece(1, 0, 100)});
    whole->m_nShadowLeft = 90;
    whole->m_nShadowTop = 95;
    auto solved = Puzzle({whole});
    const QRect field(10, 50, 801, 550);
    solved->CentreSolved(field);
    EXPECT_EQ(solved->GroupBounds(whole, false), QRect((801 - 200) / 2, 50 + (550 - 100) / 2, 200, 100));
    EXPECT_EQ(whole->m_nShadowLeft, 90 + (801 - 200) / 2 - 100);
    EXPECT_EQ(whole->m_nShadowTop, 95 + 50 + (550 - 100) / 2 - 100);
    auto unsolved = Puzzle({Group({Piece(0, 0, 100)}), Group({Piece(5, 5, 100)})});
    const int x = Groups(*unsolved)[0]->m_pieces[0]->m_nX;
    unsolved->CentreSolved(field);
    EXPECT_EQ(Groups(*unsolved)[0]->m_pieces[0]->m_nX, x);
}
