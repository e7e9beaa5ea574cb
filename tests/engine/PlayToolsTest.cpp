#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"

#include <gtest/gtest.h>

#include <map>

namespace {
constexpr int kSide = 40;

// A loose grid of pieces (columns x rows), each its own group on the field, laid out far from
// its place so that nothing lies in its solved position by chance.
struct Board
{
    boost::shared_ptr<CGP_Puzzle> puzzle{new CGP_Puzzle};

    Board(int columns, int rows, int side = kSide, int height = kSide)
    {
        puzzle->m_nColumns = columns;
        puzzle->m_nRows = rows;
        puzzle->m_nPieceCount = columns * rows;
        puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = false;
        puzzle->m_pGroups.reset(new GP_GroupDeque());
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                GP_PiecePtr piece(new CGP_PuzzlePiece());
                piece->m_nColumn = column;
                piece->m_nRow = row;
                piece->m_nIndex = row * columns + column;
                for (int r = 0; r < 4; ++r) {
                    piece->m_nWidths[r] = r % 2 ? height : side;
                    piece->m_nHeights[r] = r % 2 ? side : height;
                }
                piece->m_nX = 300 + column * 3 * side;
                piece->m_nY = 300 + row * 3 * side;
                GP_GroupPtr group(new CGP_PuzzlePieceUnion());
                group->m_pieces.push_back(piece);
                puzzle->m_pGroups->PushBack(group);
            }
        }
    }

    std::deque<GP_GroupPtr> Groups() { return puzzle->m_pGroups->Snapshot(); }
    GP_GroupPtr GroupOf(int index)
    {
        for (const GP_GroupPtr& group : Groups())
            for (const GP_PiecePtr& piece : group->m_pieces)
                if (piece->m_nIndex == index)
                    return group;
        return {};
    }
    // Moves every piece of the second group into the first (a join, without the geometry).
    void Join(int a, int b)
    {
        const GP_GroupPtr keep = GroupOf(a);
        const GP_GroupPtr gone = GroupOf(b);
        keep->m_pieces.insert(keep->m_pieces.end(), gone->m_pieces.begin(), gone->m_pieces.end());
        std::lock_guard<std::mutex> lock(puzzle->m_pGroups->Mutex());
        auto& items = puzzle->m_pGroups->Items();
        items.erase(std::find(items.begin(), items.end(), gone));
    }
};

// Whether two groups hold pieces that lie side by side in the solution.
bool Neighbours(const GP_GroupPtr& a, const GP_GroupPtr& b)
{
    for (const GP_PiecePtr& p : a->m_pieces)
        for (const GP_PiecePtr& q : b->m_pieces)
            if ((p->m_nRow == q->m_nRow && std::abs(p->m_nColumn - q->m_nColumn) == 1)
                || (p->m_nColumn == q->m_nColumn && std::abs(p->m_nRow - q->m_nRow) == 1))
                return true;
    return false;
}

QRect Bounds(const CGP_PuzzlePiece& piece)
{
    return QRect(piece.m_nX, piece.m_nY, piece.Width(), piece.Height());
}
} // namespace

TEST(PlayTools, HintGivesOnlyAConnectablePairAndCountsOnlyWhatItGives)
{
    struct Row
    {
        const char* fault;
        int columns, rows;
        std::vector<std::pair<int, int>> joins;    // piece indexes joined beforehand
        std::vector<int> inTray;                   // pieces whose groups lie in a tray
        bool given;
    };
    const Row rows[] = {
        {"a single group counts a hint", 2, 1, {{0, 1}}, {}, false},
        {"groups far apart in the solution make a pair", 3, 1, {}, {1}, false},
        {"a pair was missed among loose pieces", 3, 2, {}, {}, true},
        {"a pair was missed next to a joined group", 3, 1, {{0, 1}}, {}, true},
        {"a tray's groups were paired with the field's", 2, 2, {}, {1, 2}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Board board(row.columns, row.rows);
        for (auto [a, b] : row.joins)
            board.Join(a, b);
        for (int index : row.inTray)
            board.GroupOf(index)->m_nLocation = CGP_PuzzlePieceUnion::kRightTray;
        board.puzzle->m_nHintsUsed = 4;
        GP_srand(7);
        EXPECT_EQ(board.puzzle->Hint(CGP_PuzzlePieceUnion::kField), row.given);
        EXPECT_EQ(board.puzzle->m_nHintsUsed, row.given ? 5 : 4);
        const GP_GroupPtr one = board.puzzle->m_pHintGroup1;
        const GP_GroupPtr two = board.puzzle->m_pHintGroup2;
        ASSERT_EQ(bool(one), row.given);
        if (!row.given)
            continue;
        ASSERT_TRUE(two);
        EXPECT_NE(one, two);
        EXPECT_TRUE(Neighbours(one, two));
        EXPECT_EQ(one->m_nLocation, CGP_PuzzlePieceUnion::kField);
        EXPECT_EQ(two->m_nLocation, CGP_PuzzlePieceUnion::kField);
        EXPECT_EQ(board.puzzle->m_nHintBlinkCount, 7);
        EXPECT_EQ(board.puzzle->m_nHintBlinkTimer, 300);
    }
}

TEST(PlayTools, SecondHintRestartsTheBlinkAndClearsWhatTheFirstLeft)
{
    Board board(6, 5);
    GP_srand(11);
    ASSERT_TRUE(board.puzzle->Hint(CGP_PuzzlePieceUnion::kField));
    const GP_GroupPtr firstPair = board.puzzle->m_pHintGroup1;
    // Two phases go by, the player holds a piece and has selected another.
    EXPECT_FALSE(board.puzzle->BlinkHint(301).isEmpty());
    EXPECT_FALSE(board.puzzle->BlinkHint(301).isEmpty());
    ASSERT_EQ(board.puzzle->m_nHintBlinkCount, 5);
    board.puzzle->m_pHeldGroup = board.Groups()[3];
    board.Groups()[4]->m_bSelected = true;

    std::map<GP_GroupPtr, int> firsts;
    for (int hint = 2; hint <= 40; ++hint) {
        ASSERT_TRUE(board.puzzle->Hint(CGP_PuzzlePieceUnion::kField));
        EXPECT_EQ(board.puzzle->m_nHintsUsed, hint);
        EXPECT_EQ(board.puzzle->m_nHintBlinkCount, 7);
        EXPECT_EQ(board.puzzle->m_nHintBlinkTimer, 300);
        EXPECT_FALSE(board.puzzle->m_pHeldGroup);
        EXPECT_FALSE(board.Groups()[4]->m_bSelected);
        EXPECT_TRUE(Neighbours(board.puzzle->m_pHintGroup1, board.puzzle->m_pHintGroup2));
        ++firsts[board.puzzle->m_pHintGroup1];
    }
    // The drawn group is a random one, not always the first that has a partner.
    EXPECT_GT(firsts.size(), 10u);
    EXPECT_TRUE(firstPair);
}

TEST(PlayTools, HintBlinksSixPhasesThenGoes)
{
    Board board(2, 1);
    board.puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = true;
    const GP_GroupPtr left = board.GroupOf(0);
    left->m_nShadowLeft = 100;
    left->m_nShadowTop = 120;
    left->m_nShadowWidth = 50;
    left->m_nShadowHeight = 50;
    ASSERT_TRUE(board.puzzle->Hint(CGP_PuzzlePieceUnion::kField));
    const QRect both = Bounds(*left->m_pieces[0]) | Bounds(*board.GroupOf(1)->m_pieces[0]);

    // Time below a phase changes nothing; every phase redraws both groups with the shadow.
    EXPECT_TRUE(board.puzzle->BlinkHint(150).isEmpty());
    EXPECT_TRUE(board.puzzle->BlinkHint(150).isEmpty());
    // The pair shows from the hint on; each phase that ends redraws it, the last one to clear it.
    int phases = 1;
    while (board.puzzle->m_pHintGroup1 && phases < 20) {
        const QRect redraw = board.puzzle->BlinkHint(301);
        EXPECT_TRUE(redraw.contains(both | QRect(100, 120, 50, 50))) << phases;
        if (board.puzzle->m_pHintGroup1)
            ++phases;
    }
    EXPECT_EQ(phases, 6) << "a hint shows for six phases of 300 ms";
    EXPECT_FALSE(board.puzzle->m_pHintGroup2);
    EXPECT_TRUE(board.puzzle->BlinkHint(1000).isEmpty());
}

TEST(PlayTools, PullApartLaysLoosePiecesAlongTheEdgesOffThePictureWindow)
{
    struct Row
    {
        const char* fault;
        QRect field;
        QRect window;
        int side, height;
    };
    const Row rows[] = {
        {"pieces left the field or missed its edges", QRect(0, 50, 1280, 750), QRect(), 40, 40},
        {"a piece landed on the picture window", QRect(0, 50, 1280, 750), QRect(900, 60, 370, 300), 40, 40},
        {"a turned piece landed on the picture window", QRect(0, 50, 1280, 750), QRect(0, 400, 200, 400), 30, 50},
        // Narrower than three pieces, lower than one: the edge table's ranges are empty.
        {"a narrow field divided by zero", QRect(10, 50, 100, 40), QRect(), 40, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Board board(8, 6, row.side, row.height);
        for (const GP_GroupPtr& group : board.Groups())
            group->m_pieces[0]->m_nRotation = group->m_pieces[0]->m_nIndex % 4;
        board.Join(0, 1);
        board.GroupOf(10)->m_nLocation = CGP_PuzzlePieceUnion::kLeftTray;
        const QRect joined = board.puzzle->GroupBounds(board.GroupOf(0), false);
        const QRect tray = Bounds(*board.GroupOf(10)->m_pieces[0]);
        GP_srand(5);
        board.puzzle->ArrangeAtEdge(row.field, row.window);

        const QRect area = row.field.adjusted(10, 10, -10, -10);
        EXPECT_EQ(board.puzzle->GroupBounds(board.GroupOf(0), false), joined) << "a joined group moved";
        EXPECT_EQ(Bounds(*board.GroupOf(10)->m_pieces[0]), tray) << "a tray's piece moved";
        for (const GP_GroupPtr& group : board.Groups()) {
            if (group->m_pieces.size() != 1 || group->m_nLocation != CGP_PuzzlePieceUnion::kField)
                continue;
            const QRect piece = Bounds(*group->m_pieces[0]);
            EXPECT_FALSE(piece.intersects(row.window)) << piece.x() << "," << piece.y();
            if (area.width() < 3 * piece.width() || area.height() < piece.height()) {
                EXPECT_GE(piece.left(), area.left());
                EXPECT_LE(piece.x() + piece.width(), area.x() + area.width());
                EXPECT_EQ(piece.top(), area.top());
                continue;
            }
            // Within half a piece of an edge, and inside the field.
            const int reach = std::max(piece.width(), piece.height()) * 3 / 2;
            const bool atEdge = piece.top() - area.top() < reach || area.bottom() - piece.bottom() < reach
                                || piece.left() - area.left() < reach || area.right() - piece.right() < reach;
            EXPECT_TRUE(atEdge) << piece.x() << "," << piece.y();
            // The side edges measure a piece's depth by its height: only a square piece is
            // sure to stay wholly inside.
            if (piece.width() == piece.height()) {
                EXPECT_TRUE(row.field.contains(piece)) << piece.x() << "," << piece.y();
            }
        }
    }
}

TEST(PlayTools, PullApartLeavesAPieceThatFindsNoPlaceWhereItWas)
{
    Board board(3, 1);
    const QRect before = Bounds(*board.GroupOf(2)->m_pieces[0]);
    // The picture window covers the whole field: there is nowhere to go, and no end to trying.
    board.puzzle->ArrangeAtEdge(QRect(0, 0, 800, 600), QRect(0, 0, 800, 600));
    EXPECT_EQ(Bounds(*board.GroupOf(2)->m_pieces[0]), before);
}
