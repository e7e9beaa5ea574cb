#pragma once

#include "engine/GP_PuzzlePiece.h"

#include <QImage>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

// A group of joined pieces (a single piece is a group of its own), with its shadow.
class CGP_PuzzlePieceUnion
{
public:
    // Where a group lies.
    static constexpr int32_t kField = 0;
    static constexpr int32_t kRightTray = 3;
    static constexpr int32_t kLeftTray = 4;

    std::vector<GP_PiecePtr> m_pieces;      // in the order they joined
    boost::shared_ptr<QImage> m_pShadow;    // empty until built; emptied when the group changes
    int32_t m_nShadowLeft = 0;              // where the shadow is drawn, in field coordinates
    int32_t m_nShadowTop = 0;
    int32_t m_nShadowWidth = 0;
    int32_t m_nShadowHeight = 0;
    bool m_bSelected = false;
    int32_t m_nLocation = kField;
};
