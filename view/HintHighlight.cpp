#include "view/HintHighlight.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"

#include <QPainter>

namespace {
const QColor kOuter(20, 16, 8, 230);
const QColor kInner(255, 226, 96);
constexpr int kInnerReach = 3;
// The directions the outline is pushed out in to make the ring.
constexpr int kDirections[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// The pieces' outlines, in one colour, pushed out by reach in every direction.
void DrawSpread(QPainter& ring, const CGP_PuzzlePieceUnion& group, const QPoint& origin, int reach, const QColor& colour)
{
    for (const GP_PiecePtr& piece : group.m_pieces) {
        const QImage* image = piece->Image();
        if (!image || image->isNull())
            continue;
        QImage silhouette(image->size(), QImage::Format_ARGB32_Premultiplied);
        silhouette.fill(colour);
        QPainter shape(&silhouette);
        shape.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        shape.drawImage(0, 0, *image);
        shape.end();
        const QPoint at = QPoint(piece->m_nX, piece->m_nY) - origin;
        for (const auto& direction : kDirections)
            ring.drawImage(at + QPoint(direction[0], direction[1]) * reach, silhouette);
    }
}

void DrawRing(QPainter& painter, const CGP_Puzzle& puzzle, const GP_GroupPtr& group)
{
    const QRect bounds = puzzle.GroupBounds(group, false).adjusted(-CHintHighlight::kReach, -CHintHighlight::kReach,
                                                                   CHintHighlight::kReach, CHintHighlight::kReach);
    if (bounds.isEmpty())
        return;
    QImage ring(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    ring.fill(Qt::transparent);
    QPainter draw(&ring);
    DrawSpread(draw, *group, bounds.topLeft(), CHintHighlight::kReach, kOuter);
    DrawSpread(draw, *group, bounds.topLeft(), kInnerReach, kInner);
    // The pieces themselves stay as they are.
    draw.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    DrawSpread(draw, *group, bounds.topLeft(), 0, Qt::black);
    draw.end();
    painter.drawImage(bounds.topLeft(), ring);
}
} // namespace

void CHintHighlight::Draw(QPainter& painter, const CGP_Puzzle& puzzle, int location)
{
    const GP_GroupPtr first = puzzle.m_pHintGroup1;
    if (!first || first->m_nLocation != location || !PhaseShows(puzzle.m_nHintBlinkCount))
        return;
    DrawRing(painter, puzzle, first);
    if (puzzle.m_pHintGroup2)
        DrawRing(painter, puzzle, puzzle.m_pHintGroup2);
}
