// The game field's operations on the puzzle: picking up, moving, dropping, turning and pushing
// groups, the selection band, keeping groups inside their area, and the first scattering.
#include "engine/GP_Puzzle.h"

#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// A tray keeps its pieces this far inside its edges.
constexpr int kAreaInset = 2;
// Pushing: pieces within this distance of the pointer flee, at least this fast per tick.
constexpr double kPushReach = 200.0;
constexpr double kPushBaseSpeed = 3.0;
// The first scattering keeps this far from the field's left and top edges.
constexpr int kSpreadMargin = 10;
// A placement that keeps meeting the avoided rectangle is taken after this many draws.
constexpr int kSpreadDraws = 1000;

// Rectangles here are edge pairs (right and bottom exclusive), as the field's rules count them.
struct Edges
{
    int left, top, right, bottom;
};

Edges EdgesOf(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect PieceRect(const CGP_PuzzlePiece& piece)
{
    return QRect(piece.m_nX, piece.m_nY, piece.Width(), piece.Height());
}

void ShiftGroup(CGP_PuzzlePieceUnion& group, int dx, int dy)
{
    for (const GP_PiecePtr& piece : group.m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
    group.m_nShadowLeft += dx;
    group.m_nShadowTop += dy;
}

// Whether the pixel of the piece's current image under the point is drawn; a piece still
// without an image is hit anywhere in its box.
bool PieceHit(const CGP_PuzzlePiece& piece, const QPoint& point)
{
    if (!PieceRect(piece).contains(point))
        return false;
    const QImage* image = piece.Image();
    if (!image || image->isNull())
        return true;
    const int x = point.x() - piece.m_nX;
    const int y = point.y() - piece.m_nY;
    if (!image->rect().contains(x, y))
        return false;
    return qAlpha(image->pixel(x, y)) != 0;
}

// How far a rectangle must move to lie wholly inside the area, one axis: zero when it does.
int Correction(int low, int high, int areaLow, int areaHigh)
{
    if (low < areaLow)
        return areaLow - low;
    if (high > areaHigh)
        return areaHigh - high;
    return 0;
}

int TruncatedStep(double value)
{
    return static_cast<int>(std::trunc(value));
}
} // namespace

QRect GP_SelectionBand::Rect() const
{
    const int left = std::min(anchor.x(), corner.x());
    const int top = std::min(anchor.y(), corner.y());
    const int width = std::max(1, std::abs(corner.x() - anchor.x()));
    const int height = std::max(1, std::abs(corner.y() - anchor.y()));
    return QRect(left, top, width, height);
}

GP_GroupPtr CGP_Puzzle::GroupAt(const QPoint& point, int location) const
{
    if (!m_pGroups)
        return {};
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_nLocation != location)
            continue;
        for (const GP_PiecePtr& piece : group->m_pieces) {
            if (PieceHit(*piece, point))
                return group;
        }
    }
    return {};
}

GP_Pick CGP_Puzzle::Pick(const QPoint& point, int location, bool keepSelection)
{
    m_pHeldGroup.reset();
    m_pHintGroup1.reset();
    m_pHintGroup2.reset();
    m_band = {};
    const std::deque<GP_GroupPtr> groups = m_pGroups ? m_pGroups->Snapshot() : std::deque<GP_GroupPtr>();
    const GP_GroupPtr hit = GroupAt(point, location);
    if (hit && keepSelection)
        hit->m_bSelected = true;
    const auto selected = std::count_if(groups.begin(), groups.end(), [](const GP_GroupPtr& g) { return g->m_bSelected; });
    if (hit && hit->m_bSelected && selected >= 2)
        return GP_Pick::Selection;
    m_bandKeeps.clear();
    for (const GP_GroupPtr& group : groups) {
        if (!keepSelection)
            group->m_bSelected = false;
        else if (group->m_bSelected)
            m_bandKeeps.push_back(group);
    }
    if (hit) {
        m_pHeldGroup = hit;
        return GP_Pick::Held;
    }
    m_band.active = true;
    m_band.location = location;
    m_band.anchor = point;
    m_band.corner = point;
    return GP_Pick::Band;
}

void CGP_Puzzle::Retarget(int location)
{
    if (m_band.active || !m_pGroups)
        return;
    if (m_pHeldGroup) {
        m_pHeldGroup->m_nLocation = location;
        return;
    }
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_bSelected)
            group->m_nLocation = location;
    }
}

QRect CGP_Puzzle::PaintBounds(const GP_GroupPtr& group) const
{
    QRect bounds = GroupBounds(group, false);
    if (m_bOptions[kOptionShadows] && group->m_nShadowWidth > 0 && group->m_nShadowHeight > 0)
        bounds = bounds.united(GroupBounds(group, true));
    return bounds;
}

QRect CGP_Puzzle::MoveBy(int dx, int dy)
{
    if (!m_pGroups)
        return {};
    QRect dirty;
    if (m_band.active) {
        dirty = m_band.Rect();
        m_band.corner += QPoint(dx, dy);
        dirty = dirty.united(m_band.Rect());
        const QRect band = m_band.Rect();
        for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
            if (group->m_nLocation != m_band.location)
                continue;
            const bool kept = std::find(m_bandKeeps.begin(), m_bandKeeps.end(), group) != m_bandKeeps.end();
            const bool selected = kept || GroupBounds(group, false).intersects(band);
            if (selected != group->m_bSelected) {
                group->m_bSelected = selected;
                dirty = dirty.united(PaintBounds(group));
            }
        }
        // The band's dotted outline is drawn on the rectangle's edge pixels.
        return dirty.adjusted(-1, -1, 1, 1);
    }
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group != m_pHeldGroup && !group->m_bSelected)
            continue;
        dirty = dirty.united(PaintBounds(group));
        ShiftGroup(*group, dx, dy);
        dirty = dirty.united(PaintBounds(group));
    }
    return dirty;
}

bool CGP_Puzzle::Drop(const GP_FieldAreas& areas, const ShadowRequest& requestShadows)
{
    if (m_band.active) {
        m_band.active = false;
        m_bandKeeps.clear();
        return false;
    }
    const bool joined = DropHeldGroup([this, &areas](const GP_GroupPtr& group) { KeepInArea(group, areas); },
                                      requestShadows);
    if (joined)
        UpdateSolved();
    return joined;
}

bool CGP_Puzzle::RotateHeld()
{
    if (!m_bOptions[kOptionRotation] || !m_pHeldGroup)
        return false;
    const QRect b = GroupBounds(m_pHeldGroup, false);
    const Edges e = EdgesOf(b);
    RotateGroup(m_pHeldGroup, 1, (e.left + e.right) / 2, (e.top + e.bottom) / 2);
    m_pHintGroup1.reset();
    m_pHintGroup2.reset();
    return true;
}

QRect CGP_Puzzle::AreaOf(int location, const GP_FieldAreas& areas) const
{
    if (location == CGP_PuzzlePieceUnion::kField)
        return areas.field.adjusted(kAreaInset, kAreaInset, -kAreaInset, -kAreaInset);
    const QRect tray = location == CGP_PuzzlePieceUnion::kRightTray ? areas.rightTray : areas.leftTray;
    QRect area = tray.adjusted(kAreaInset, kAreaInset, -kAreaInset, -kAreaInset);
    // Small pieces would hide under the handle in the tray's corner: they keep clear of it.
    if (m_fPieceSize < areas.trayButtonWidth) {
        const int half = areas.trayButtonWidth / 2;
        area.adjust(half, half, -half, -half);
    }
    return area;
}

QRect CGP_Puzzle::KeepInArea(const GP_GroupPtr& group, const GP_FieldAreas& areas)
{
    if (!group || group->m_pieces.empty())
        return {};
    const QRect area = AreaOf(group->m_nLocation, areas);
    if (area.width() <= 0 || area.height() <= 0)
        return {};
    const Edges a = EdgesOf(area);
    bool found = false;
    int bestDx = 0, bestDy = 0;
    int64_t bestCost = 0;
    for (const GP_PiecePtr& piece : group->m_pieces) {
        const Edges p = EdgesOf(PieceRect(*piece));
        const int dx = Correction(p.left, p.right, a.left, a.right);
        const int dy = Correction(p.top, p.bottom, a.top, a.bottom);
        if (dx == 0 && dy == 0)
            return {};
        const int64_t cost = std::abs(int64_t(dx)) + std::abs(int64_t(dy));
        if (!found || cost < bestCost) {
            found = true;
            bestCost = cost;
            bestDx = dx;
            bestDy = dy;
        }
    }
    QRect dirty = PaintBounds(group);
    ShiftGroup(*group, bestDx, bestDy);
    return dirty.united(PaintBounds(group));
}

QRect CGP_Puzzle::PushStep(const QPointF& point, int location, const GP_FieldAreas& areas)
{
    QRect dirty;
    if (!m_pGroups)
        return dirty;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_pieces.size() != 1 || group->m_nLocation != location)
            continue;
        CGP_PuzzlePiece& piece = *group->m_pieces.front();
        const double dx = piece.m_nX + piece.Width() * 0.5 - point.x();
        const double dy = piece.m_nY + piece.Height() * 0.5 - point.y();
        const double r = std::hypot(dx, dy);
        // A piece right under the pointer has no way to flee: it stays.
        if (r >= kPushReach || r <= 0.0)
            continue;
        const double speed = piece.m_fPushSpeed + kPushBaseSpeed;
        const QRect before = PaintBounds(group);
        ShiftGroup(*group, TruncatedStep(speed * dx / r), TruncatedStep(speed * dy / r));
        KeepInArea(group, areas);
        dirty = dirty.united(before).united(PaintBounds(group));
    }
    return dirty;
}

bool CGP_Puzzle::LocationEmpty(int location) const
{
    if (!m_pGroups)
        return true;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_nLocation != location || group == m_pHintGroup1 || group == m_pHintGroup2)
            continue;
        return false;
    }
    return true;
}

bool CGP_Puzzle::AnyOutsideField() const
{
    if (!m_pGroups)
        return false;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_nLocation != CGP_PuzzlePieceUnion::kField)
            return true;
    }
    return false;
}

void CGP_Puzzle::SpreadInitial(const QRect& field, int handleHeight, const QRect& avoid)
{
    if (!m_pGroups)
        return;
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        if (group->m_pieces.size() != 1 || group->m_nLocation != CGP_PuzzlePieceUnion::kField)
            continue;
        const CGP_PuzzlePiece& piece = *group->m_pieces.front();
        const int spanX = field.width() - piece.Width() - kSpreadMargin;
        const int spanY = field.height() - handleHeight - piece.Height() - kSpreadMargin;
        QRect place;
        for (int draw = 0; draw < kSpreadDraws; ++draw) {
            // A field too small for the piece puts it at the margin.
            const int rx = GP_rand();
            const int ry = GP_rand();
            const int x = (spanX > 0 ? rx % spanX : 0) + kSpreadMargin;
            const int y = (spanY > 0 ? ry % spanY : 0) + kSpreadMargin;
            place = QRect(field.left() + x, field.top() + y, piece.Width(), piece.Height());
            if (avoid.isEmpty() || !place.intersects(avoid))
                break;
        }
        ShiftGroup(*group, place.left() - piece.m_nX, place.top() - piece.m_nY);
    }
}
