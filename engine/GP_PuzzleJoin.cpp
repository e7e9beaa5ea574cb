// Joining and solving: the join pass after a drop, the solved share, turning, scattering,
// separating and centring groups.
#include "engine/GP_Puzzle.h"

#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"

#include <QTransform>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace {
// Groups of this many pieces or more sink to the back of the drawing order, under the loose
// pieces the player is still sorting.
constexpr size_t kLargeGroup = 10;
// Join tolerance: 10 pixels, once more for every 10000 pixels a piece image covers.
constexpr int kToleranceStep = 10;
constexpr int kToleranceArea = 10000;
constexpr int kTurnDraws = 10;

struct Match
{
    bool found = false;
    int ex = 0;
    int ey = 0;
};

bool Neighbours(const CGP_PuzzlePiece& p, const CGP_PuzzlePiece& q)
{
    if (p.m_nRow == q.m_nRow)
        return std::abs(p.m_nColumn - q.m_nColumn) == 1;
    if (p.m_nColumn == q.m_nColumn)
        return std::abs(p.m_nRow - q.m_nRow) == 1;
    return false;
}

int Tolerance(const CGP_PuzzlePiece& q, int step)
{
    const int64_t area = int64_t(q.m_nWidths[step]) * q.m_nHeights[step];
    const int64_t k = area > kToleranceArea ? area / kToleranceArea : 1;
    return static_cast<int>(std::min<int64_t>(kToleranceStep * k, INT32_MAX));
}

// The first pair of pieces, p of a and q of b, that lie within tolerance of their places
// relative to each other; ex, ey is how far p is off as seen from q.
Match FindMatch(const CGP_PuzzlePieceUnion& a, const CGP_PuzzlePieceUnion& b)
{
    for (const GP_PiecePtr& p : a.m_pieces) {
        for (const GP_PiecePtr& q : b.m_pieces) {
            const int r = p->m_nRotation & 3;
            if (p->m_nRotation != q->m_nRotation || !Neighbours(*p, *q))
                continue;
            const int64_t ex = int64_t(p->m_nHomeX[r]) - q->m_nHomeX[r] - p->m_nX + q->m_nX;
            const int64_t ey = int64_t(p->m_nHomeY[r]) - q->m_nHomeY[r] - p->m_nY + q->m_nY;
            const int tolerance = Tolerance(*q, r);
            if (std::abs(ex) < tolerance && std::abs(ey) < tolerance)
                return Match{true, static_cast<int>(ex), static_cast<int>(ey)};
        }
    }
    return {};
}

struct PairMatch
{
    size_t i = 0;
    size_t j = 0;
    Match match;
};

// The first pair of the scan (each group with every group after it, in drawing order) that may
// join and fits. Only pairs with an active group count (the held one, or without one the
// selected ones), so they alone are paired with the rest: a drop among thousands of loose
// groups costs one pass, not one per pair.
PairMatch FirstJoin(const std::deque<GP_GroupPtr>& groups, const GP_GroupPtr& held)
{
    const auto active = [&held](const GP_GroupPtr& group) { return held ? group == held : group->m_bSelected; };
    std::vector<size_t> actives;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (active(groups[i]))
            actives.push_back(i);
    }
    PairMatch pair;
    const auto fits = [&](size_t i, size_t j) {
        const CGP_PuzzlePieceUnion& a = *groups[i];
        const CGP_PuzzlePieceUnion& b = *groups[j];
        if (a.m_nLocation != b.m_nLocation)
            return false;
        pair = PairMatch{i, j, FindMatch(a, b)};
        return pair.match.found;
    };
    for (size_t i = 0; i < groups.size(); ++i) {
        if (active(groups[i])) {
            for (size_t j = i + 1; j < groups.size(); ++j) {
                if (fits(i, j))
                    return pair;
            }
            continue;
        }
        for (auto it = std::upper_bound(actives.begin(), actives.end(), i); it != actives.end(); ++it) {
            if (fits(i, *it))
                return pair;
        }
    }
    return PairMatch{};
}

void MoveGroup(CGP_PuzzlePieceUnion& group, int dx, int dy)
{
    for (const GP_PiecePtr& piece : group.m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
    group.m_nShadowLeft += dx;
    group.m_nShadowTop += dy;
}

void Remove(std::deque<GP_GroupPtr>& groups, const GP_GroupPtr& group)
{
    groups.erase(std::remove(groups.begin(), groups.end(), group), groups.end());
}

// Puts a group back where its size says: large groups at the back, the rest at the front.
void Refile(std::deque<GP_GroupPtr>& groups, const GP_GroupPtr& group)
{
    Remove(groups, group);
    if (group->m_pieces.size() >= kLargeGroup)
        groups.push_back(group);
    else
        groups.push_front(group);
}

// One quarter turn clockwise of the piece's place about (cx, cy), for its current step.
void TurnPlace(CGP_PuzzlePiece& piece, int cx, int cy)
{
    const int x = piece.m_nX;
    const int y = piece.m_nY;
    piece.m_nX = cx + cy - y - piece.Width();
    piece.m_nY = x - cx + cy;
}
} // namespace

bool CGP_Puzzle::TryJoin(const ShadowRequest& requestShadows)
{
    if (!m_pGroups)
        return false;
    bool joined = false;
    bool solved = false;
    std::vector<GP_GroupPtr> touched;
    {
        std::lock_guard<std::mutex> lock(m_pGroups->Mutex());
        std::deque<GP_GroupPtr>& groups = m_pGroups->Items();
        if (groups.size() == 1)
            return false;
        for (;;) {
            const PairMatch pair = FirstJoin(groups, m_pHeldGroup);
            if (!pair.match.found)
                break;
            const GP_GroupPtr a = groups[pair.i];
            const GP_GroupPtr b = groups[pair.j];
            const Match& match = pair.match;
            // The larger group stays; of two equal ones the first moves.
            const bool aStays = a->m_pieces.size() > b->m_pieces.size();
            const GP_GroupPtr& stays = aStays ? a : b;
            const GP_GroupPtr& moves = aStays ? b : a;
            const int dx = aStays ? -match.ex : match.ex;
            const int dy = aStays ? -match.ey : match.ey;
            Remove(groups, moves);
            stays->m_pShadow.reset();
            moves->m_pShadow.reset();
            // What the player moved keeps being what the player moved, so that the
            // pieces it has just joined can join the next neighbour in this same pass.
            if (moves == m_pHeldGroup)
                m_pHeldGroup = stays;
            if (moves->m_bSelected)
                stays->m_bSelected = true;
            moves->m_bSelected = false;
            for (const GP_PiecePtr& piece : moves->m_pieces) {
                piece->m_nX += dx;
                piece->m_nY += dy;
                stays->m_pieces.push_back(piece);
            }
            moves->m_pieces.clear();
            Refile(groups, stays);
            if (std::find(touched.begin(), touched.end(), stays) == touched.end())
                touched.push_back(stays);
            joined = true;
        }
        if (groups.size() == 1) {
            solved = true;
            groups.front()->m_nLocation = CGP_PuzzlePieceUnion::kField;
        }
    }
    if (joined && m_bOptions[kOptionShadows] && requestShadows) {
        boost::shared_ptr<GP_GroupDeque> unshadowed(new GP_GroupDeque());
        for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
            if (!group->m_pShadow)
                unshadowed->PushBack(group);
        }
        requestShadows(unshadowed);
    }
    if (solved)
        m_bSolved = true;
    for (const GP_GroupPtr& group : touched)
        group->m_bSelected = false;
    return joined;
}

void CGP_Puzzle::UpdateSolved()
{
    // A puzzle of one piece is whole from the start.
    if (m_nPieceCount <= 1) {
        m_fSolvedPercent = 100;
        return;
    }
    int64_t joinedGroups = 0;
    int64_t joinedPieces = 0;
    if (m_pGroups) {
        for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
            if (group->m_pieces.size() > 1) {
                ++joinedGroups;
                joinedPieces += static_cast<int64_t>(group->m_pieces.size());
            }
        }
    }
    // A group of n pieces stands for n - 1 joins; a whole puzzle needs piece count - 1.
    m_fSolvedPercent = static_cast<float>(double(joinedPieces - joinedGroups) * 100.0 / (m_nPieceCount - 1));
}

bool CGP_Puzzle::DropHeldGroup(const GroupStep& keepInside, const ShadowRequest& requestShadows)
{
    if (m_bSkipDrop) {
        m_bSkipDrop = false;
        return false;
    }
    const bool joined = TryJoin(requestShadows);
    if (m_pGroups) {
        if (keepInside) {
            for (const GP_GroupPtr& group : m_pGroups->Snapshot())
                keepInside(group);
        }
        std::lock_guard<std::mutex> lock(m_pGroups->Mutex());
        std::deque<GP_GroupPtr>& groups = m_pGroups->Items();
        if (m_pHeldGroup && std::find(groups.begin(), groups.end(), m_pHeldGroup) != groups.end())
            Refile(groups, m_pHeldGroup);
    }
    m_pHeldGroup.reset();
    m_pHintGroup1.reset();
    m_pHintGroup2.reset();
    return joined;
}

QRect CGP_Puzzle::GroupBounds(const GP_GroupPtr& group, bool useShadow) const
{
    if (!group)
        return {};
    if (useShadow && m_bOptions[kOptionShadows])
        return QRect(group->m_nShadowLeft, group->m_nShadowTop, group->m_nShadowWidth, group->m_nShadowHeight);
    if (group->m_pieces.empty())
        return {};
    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const GP_PiecePtr& piece : group->m_pieces) {
        left = std::min(left, piece->m_nX);
        top = std::min(top, piece->m_nY);
        right = std::max(right, piece->m_nX + piece->Width());
        bottom = std::max(bottom, piece->m_nY + piece->Height());
    }
    return QRect(left, top, right - left, bottom - top);
}

void CGP_Puzzle::RotateGroup(const GP_GroupPtr& group, int steps, int cx, int cy)
{
    if (!group || group->m_pieces.empty())
        return;
    const QRect before = GroupBounds(group, false);
    const int turns = ((steps % 4) + 4) % 4;
    if (group->m_pieces.size() == 1) {
        CGP_PuzzlePiece& piece = *group->m_pieces.front();
        piece.m_nRotation = (piece.m_nRotation + turns) % 4;
        TurnPlace(piece, cx, cy);
    } else {
        // Each quarter turn turns the places too, so a group stays whole however far it turns.
        for (const GP_PiecePtr& piece : group->m_pieces) {
            for (int t = 0; t < turns; ++t) {
                piece->m_nRotation = (piece->m_nRotation + 1) % 4;
                TurnPlace(*piece, cx, cy);
            }
        }
    }
    if (group->m_pShadow && turns != 0) {
        group->m_pShadow = boost::shared_ptr<QImage>(
            new QImage(group->m_pShadow->transformed(QTransform().rotate(90.0 * turns))));
        if (turns % 2)
            std::swap(group->m_nShadowWidth, group->m_nShadowHeight);
    }
    const QRect after = GroupBounds(group, false);
    group->m_nShadowLeft += after.left() - before.left();
    group->m_nShadowTop += after.top() - before.top();
}

void CGP_Puzzle::SpreadPieces(const QRect& area)
{
    if (!m_pGroups)
        return;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_nLocation != CGP_PuzzlePieceUnion::kField)
            continue;
        const QRect b = GroupBounds(group, false);
        // A group as wide or as high as the area has no room to move: it goes to the area's
        // edge. The draw is made all the same, so the other groups land where they would.
        const int freeWidth = area.width() - b.width();
        const int rx = GP_rand();
        const int freeHeight = area.height() - b.height();
        const int ry = GP_rand();
        const int dx = (freeWidth > 0 ? rx % freeWidth : 0) + area.left() - b.left();
        const int dy = (freeHeight > 0 ? ry % freeHeight : 0) + area.top() - b.top();
        MoveGroup(*group, dx, dy);
        if (m_bOptions[kOptionRotation]) {
            const int n = GP_rand() % kTurnDraws + 1;
            const QRect moved = GroupBounds(group, false);
            RotateGroup(group, n, (moved.left() + moved.left() + moved.width()) / 2,
                        (moved.top() + moved.top() + moved.height()) / 2);
        }
    }
    std::lock_guard<std::mutex> lock(m_pGroups->Mutex());
    std::deque<GP_GroupPtr>& groups = m_pGroups->Items();
    const size_t count = groups.size();
    for (size_t i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(GP_rand()) % count;
        const GP_GroupPtr group = groups[at];
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(at));
        groups.push_front(group);
    }
}

void CGP_Puzzle::SeparateGroups()
{
    boost::shared_ptr<GP_GroupDeque> separated(new GP_GroupDeque());
    if (m_pGroups) {
        for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
            for (const GP_PiecePtr& piece : group->m_pieces) {
                GP_GroupPtr single(new CGP_PuzzlePieceUnion());
                single->m_pieces.push_back(piece);
                separated->PushBack(single);
            }
        }
    }
    m_pGroups = separated;
    // The held and hinted groups are gone with the old deque.
    m_pHeldGroup.reset();
    m_pHintGroup1.reset();
    m_pHintGroup2.reset();
}

void CGP_Puzzle::CentreSolved(const QRect& area)
{
    if (!m_pGroups)
        return;
    const std::deque<GP_GroupPtr> groups = m_pGroups->Snapshot();
    if (groups.size() != 1)
        return;
    const QRect b = GroupBounds(groups.front(), false);
    const int dx = (area.width() - b.width()) / 2 - b.left();
    const int dy = (area.height() - b.height()) / 2 - b.top();
    MoveGroup(*groups.front(), dx, area.top() + dy);
}
