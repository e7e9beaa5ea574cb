#pragma once

// Small hand-made puzzles for the field's tests: square pieces at chosen places, each piece its
// own group unless grouped, homes on a plain grid so that neighbours fit edge to edge.
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"

#include <QImage>

#include <boost/shared_ptr.hpp>

#include <vector>

namespace fieldtest {

constexpr int kSide = 40;

// A piece in column, row at (x, y), square of side kSide in every turn; with notched its image
// is clear in its top-left quarter, so presses there fall through.
inline GP_PiecePtr Piece(int column, int row, int x, int y, bool notched = false, bool withImage = true)
{
    GP_PiecePtr piece(new CGP_PuzzlePiece);
    piece->m_nColumn = column;
    piece->m_nRow = row;
    piece->m_nIndex = row * 100 + column;
    piece->m_nX = x;
    piece->m_nY = y;
    piece->m_fPushSpeed = 0;
    for (int r = 0; r < CGP_PuzzlePiece::kSteps; ++r) {
        piece->m_nWidths[r] = kSide;
        piece->m_nHeights[r] = kSide;
        piece->m_nHomeX[r] = column * kSide;
        piece->m_nHomeY[r] = row * kSide;
    }
    if (withImage) {
        QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        image.fill(qRgba(200, 120, 40, 255));
        for (int y0 = 0; notched && y0 < kSide / 2; ++y0)
            for (int x0 = 0; x0 < kSide / 2; ++x0)
                image.setPixel(x0, y0, 0);
        for (int r = 0; r < CGP_PuzzlePiece::kSteps; ++r)
            piece->m_pImages[r].reset(new QImage(image));
    }
    return piece;
}

inline GP_GroupPtr Group(std::vector<GP_PiecePtr> pieces, int location = CGP_PuzzlePieceUnion::kField)
{
    GP_GroupPtr group(new CGP_PuzzlePieceUnion);
    group->m_pieces = std::move(pieces);
    group->m_nLocation = location;
    return group;
}

// A strip of `count` pieces of one group starting at (x, y), columns from `column` on.
inline GP_GroupPtr Strip(int count, int x, int y, int column = 0, int row = 0, int location = CGP_PuzzlePieceUnion::kField)
{
    std::vector<GP_PiecePtr> pieces;
    for (int i = 0; i < count; ++i)
        pieces.push_back(Piece(column + i, row, x + i * kSide, y));
    return Group(pieces, location);
}

// The puzzle holding the groups in this drawing order (first on top); no shadows, no turning.
inline boost::shared_ptr<CGP_Puzzle> Puzzle(const std::vector<GP_GroupPtr>& groups, int columns = 20, int rows = 20)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_nColumns = columns;
    puzzle->m_nRows = rows;
    puzzle->m_nPieceCount = columns * rows;
    puzzle->m_fPieceSize = kSide;
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = false;
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = false;
    puzzle->m_pGroups.reset(new GP_GroupDeque);
    for (const GP_GroupPtr& group : groups)
        puzzle->m_pGroups->PushBack(group);
    return puzzle;
}

inline QPoint At(const GP_GroupPtr& group)
{
    return QPoint(group->m_pieces.front()->m_nX, group->m_pieces.front()->m_nY);
}

} // namespace fieldtest
