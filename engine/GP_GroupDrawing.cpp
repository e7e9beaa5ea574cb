#include "engine/GP_GroupDrawing.h"

#include "engine/GP_PuzzlePieceUnion.h"

#include <QPainter>

#include <algorithm>
#include <deque>

namespace {
// The ghost's opacity, of 255.
constexpr int kGhostOpacity = 128;

bool In(const GP_GroupPtr& group, int location)
{
    return group && group->m_nLocation == location;
}
} // namespace

std::vector<GP_DrawStep> GP_GroupDrawOrder(CGP_Puzzle& puzzle, bool trayHover, int location)
{
    std::vector<GP_DrawStep> order;
    if (!puzzle.m_pGroups)
        return order;
    std::deque<GP_GroupPtr> groups = puzzle.m_pGroups->Snapshot();
    // The front of the deque ends on top: walk from the back.
    std::reverse(groups.begin(), groups.end());
    const GP_GroupPtr held = puzzle.m_pHeldGroup;
    const GP_GroupPtr hint1 = puzzle.m_pHintGroup1;
    const GP_GroupPtr hint2 = puzzle.m_pHintGroup2;

    if (!In(hint1, location)) {
        for (const GP_GroupPtr& group : groups) {
            if (In(group, location) && group != held && !group->m_bSelected)
                order.push_back({group, false});
        }
        // The held group's shadow comes with it, last.
        if (!trayHover) {
            for (const GP_GroupPtr& group : groups) {
                if (In(group, location) && group != held && group->m_bSelected)
                    order.push_back({group, true});
            }
        }
        for (const GP_GroupPtr& group : groups) {
            if (In(group, location) && group != held && group->m_bSelected)
                order.push_back({group, false});
        }
        if (In(held, location)) {
            order.push_back({held, true});
            order.push_back({held, false});
        }
        return order;
    }

    for (const GP_GroupPtr& group : groups) {
        if (In(group, location) && group != hint1 && group != hint2)
            order.push_back({group, false});
    }
    // The pair's shadows blink: shown on the even phases of the countdown.
    if (puzzle.m_nHintBlinkCount % 2 == 0) {
        order.push_back({hint1, true});
        if (hint2)
            order.push_back({hint2, true});
    }
    order.push_back({hint1, false});
    if (hint2)
        order.push_back({hint2, false});
    return order;
}

void GP_DrawGroupStep(QPainter& painter, const GP_DrawStep& step)
{
    const CGP_PuzzlePieceUnion& group = *step.group;
    if (step.shadow) {
        const boost::shared_ptr<QImage> shadow = group.m_pShadow;
        if (shadow && !shadow->isNull())
            painter.drawImage(QPoint(group.m_nShadowLeft, group.m_nShadowTop), *shadow);
        return;
    }
    for (const GP_PiecePtr& piece : group.m_pieces) {
        const boost::shared_ptr<QImage> image = piece->m_pImages[piece->m_nRotation & 3];
        if (image && !image->isNull())
            painter.drawImage(QPoint(piece->m_nX, piece->m_nY), *image);
    }
}

void GP_DrawGhost(QPainter& painter, const CGP_Puzzle& puzzle, const QRect& field)
{
    const boost::shared_ptr<QImage> picture = puzzle.m_pImage;
    if (!picture || picture->isNull())
        return;
    const int width = std::min(static_cast<int>(puzzle.m_nColumns * puzzle.m_fPieceSize), picture->width());
    const int height = std::min(static_cast<int>(puzzle.m_nRows * puzzle.m_fPieceSize), picture->height());
    if (width <= 0 || height <= 0)
        return;
    const QRect source((picture->width() - width) / 2, (picture->height() - height) / 2, width, height);
    const QPoint target((field.width() - width) / 2, field.top() + (field.height() - height) / 2);
    painter.save();
    painter.setOpacity(kGhostOpacity / 255.0);
    painter.drawImage(target, *picture, source);
    painter.restore();
}

void CGP_Puzzle::DrawGroups(QPainter& painter, const QRect& field, const QRect& update, bool ghost, bool trayHover,
                            int location)
{
    painter.save();
    painter.setClipRect(update);
    if (ghost && !m_bOptions[kOptionNoGhost])
        GP_DrawGhost(painter, *this, field);
    for (const GP_DrawStep& step : GP_GroupDrawOrder(*this, trayHover, location))
        GP_DrawGroupStep(painter, step);
    painter.restore();
}
