// The play tools of the puzzle: the hint with its blinking pair, and "Pull Apart", which lays
// the loose pieces of the field along its edges.
#include "engine/GP_Puzzle.h"

#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"

#include <algorithm>
#include <unordered_map>

namespace {
// The hint stops drawing after this many tries and takes the first group that has a partner,
// so that a generator that never lands on one cannot hold the game.
constexpr int kHintDraws = 100000;
// "Pull Apart": the field shrinks by this much on every side; a draw of 0..1119 chooses the
// edge, the long edges (top and bottom) twice as often per pixel as the short ones.
constexpr int kEdgeInset = 10;
constexpr int kEdgeDraw = 1120;
constexpr int kTopEnd = 320;
constexpr int kRightEnd = 560;
constexpr int kBottomEnd = 800;
// A piece that finds no place off the picture window in this many tries stays where it is.
constexpr int kPlacementTries = 1000;

// A draw from the game's generator below range; an empty range gives 0. The draw is made all
// the same, so the pieces after it land where they would.
int DrawBelow(int range)
{
    const int draw = GP_rand();
    return range > 0 ? draw % range : 0;
}

void MoveGroupBy(CGP_PuzzlePieceUnion& group, int dx, int dy)
{
    for (const GP_PiecePtr& piece : group.m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
    group.m_nShadowLeft += dx;
    group.m_nShadowTop += dy;
}

// The group holding the piece of a grid cell, for the groups of one location.
using GroupOfPiece = std::unordered_map<int64_t, GP_GroupPtr>;

int64_t CellKey(int column, int row)
{
    return (int64_t(row) << 32) | uint32_t(column);
}

// A group of the location holding a solution neighbour of one of the group's pieces, or none.
GP_GroupPtr NeighbourGroup(const GP_GroupPtr& group, const GroupOfPiece& groupOf)
{
    const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const GP_PiecePtr& piece : group->m_pieces) {
        for (const auto& offset : offsets) {
            const int column = piece->m_nColumn + offset[0];
            const int row = piece->m_nRow + offset[1];
            const auto it = groupOf.find(CellKey(column, row));
            if (it != groupOf.end() && it->second != group)
                return it->second;
        }
    }
    return {};
}

// Where a piece of w x h goes along the edges of a W x H area, relative to the area.
QPoint EdgePlacement(int w, int h, int W, int H)
{
    const int edge = GP_rand() % kEdgeDraw;
    int x = 0;
    int y = 0;
    if (edge < kTopEnd) {
        x = DrawBelow(W - 3 * w) + w;
        y = DrawBelow(h / 2);
    } else if (edge < kRightEnd) {
        x = W - DrawBelow(h / 2) - h;
        y = DrawBelow(H - h);
    } else if (edge < kBottomEnd) {
        x = DrawBelow(W - 3 * w) + w;
        y = H - DrawBelow(h / 2) - h;
    } else {
        x = DrawBelow(h / 2);
        y = DrawBelow(H - w);
    }
    // An area too narrow for the table's ranges (narrower than 3w, lower than h) leaves nothing
    // to draw from: the piece goes to the area's edge rather than anywhere outside it.
    if (W < 3 * w || H < h) {
        x = std::clamp(x, 0, std::max(0, W - w));
        y = std::clamp(y, 0, std::max(0, H - h));
    }
    return {x, y};
}

QRect BlinkBounds(const CGP_Puzzle& puzzle, const GP_GroupPtr& group)
{
    if (!group)
        return {};
    return puzzle.GroupBounds(group, false) | puzzle.GroupBounds(group, true);
}
} // namespace

bool CGP_Puzzle::Hint(int location)
{
    if (!m_pGroups)
        return false;
    std::vector<GP_GroupPtr> groups;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_nLocation == location)
            groups.push_back(group);
    }
    if (groups.size() < 2)
        return false;
    m_pHeldGroup.reset();
    ClearHint();
    for (const GP_GroupPtr& group : m_pGroups->Snapshot())
        group->m_bSelected = false;

    GroupOfPiece groupOf;
    for (const GP_GroupPtr& group : groups) {
        for (const GP_PiecePtr& piece : group->m_pieces)
            groupOf[CellKey(piece->m_nColumn, piece->m_nRow)] = group;
    }
    GP_GroupPtr first;
    for (const GP_GroupPtr& group : groups) {
        if (NeighbourGroup(group, groupOf)) {
            first = group;
            break;
        }
    }
    if (!first)
        return false;
    GP_GroupPtr drawn;
    for (int draw = 0; draw < kHintDraws && !drawn; ++draw) {
        const GP_GroupPtr& candidate = groups[static_cast<size_t>(GP_rand()) % groups.size()];
        if (NeighbourGroup(candidate, groupOf))
            drawn = candidate;
    }
    if (!drawn)
        drawn = first;
    m_pHintGroup1 = drawn;
    m_pHintGroup2 = NeighbourGroup(drawn, groupOf);
    m_nHintBlinkCount = kHintBlinks;
    m_nHintBlinkTimer = kHintBlinkMs;
    ++m_nHintsUsed;
    return true;
}

void CGP_Puzzle::ClearHint()
{
    m_pHintGroup1.reset();
    m_pHintGroup2.reset();
    m_nHintBlinkCount = 0;
    m_nHintBlinkTimer = 0;
}

QRect CGP_Puzzle::BlinkHint(int elapsedMs)
{
    if (!m_pHintGroup1)
        return {};
    m_nHintBlinkTimer -= std::max(0, elapsedMs);
    if (m_nHintBlinkTimer >= 0)
        return {};
    m_nHintBlinkTimer = kHintBlinkMs;
    const QRect redraw = BlinkBounds(*this, m_pHintGroup1) | BlinkBounds(*this, m_pHintGroup2);
    // Countdown 7 starts the blink; the pair goes when it falls below 2: six phases shown.
    if (--m_nHintBlinkCount < 2)
        ClearHint();
    return redraw;
}

void CGP_Puzzle::ArrangeAtEdge(const QRect& field, const QRect& avoid)
{
    if (!m_pGroups)
        return;
    const QRect area = field.adjusted(kEdgeInset, kEdgeInset, -kEdgeInset, -kEdgeInset);
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_pieces.size() != 1 || group->m_nLocation != CGP_PuzzlePieceUnion::kField)
            continue;
        const CGP_PuzzlePiece& piece = *group->m_pieces.front();
        const int w = piece.Width();
        const int h = piece.Height();
        for (int attempt = 0; attempt < kPlacementTries; ++attempt) {
            const QRect place(area.topLeft() + EdgePlacement(w, h, area.width(), area.height()), QSize(w, h));
            if (!avoid.isEmpty() && place.intersects(avoid))
                continue;
            MoveGroupBy(*group, place.x() - piece.m_nX, place.y() - piece.m_nY);
            break;
        }
    }
}
