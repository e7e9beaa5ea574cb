#pragma once

#include <QImage>

#include <boost/shared_ptr.hpp>

#include <cstdint>

class CGP_Path;
class QIODevice;
class GP_EdgeCrossingTables;

// A rectangle as four edges; right and bottom are exclusive.
struct GP_CoreRect
{
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const GP_CoreRect&) const = default;
};

// What a piece is built from: its four sides, the puzzle's options and the picture.
struct GP_PieceSource
{
    // Top, right, bottom, left; null is a straight border side.
    const CGP_Path* edges[4] = {nullptr, nullptr, nullptr, nullptr};
    float pieceSize = 0;
    // -1 keeps the values the piece already has (a piece read from a puzzle file).
    int32_t column = -1;
    int32_t row = -1;
    int32_t index = -1;
    int32_t brightness = 0;
    bool rotate = false;     // "randomly rotated pieces": four images instead of one
    int32_t edgeWidth = 0;
    bool bevel = true;       // "beveled piece edges"
    const QImage* picture = nullptr;
    // The piece-image cache, positioned at this piece's image records; null builds afresh.
    QIODevice* cache = nullptr;
    // Where the edges cross the alpha's sub-rows, shared with the pieces on their other sides;
    // null works them out for this piece alone.
    GP_EdgeCrossingTables* crossingTables = nullptr;
};

// One piece: its images for each quarter turn, where it lies, and where it belongs.
class CGP_PuzzlePiece
{
public:
    static constexpr int kSteps = 4;

    // Draws the piece's push speed term from the game's generator.
    CGP_PuzzlePiece();

    // Makes the piece's images (from the cache when the source names one) and its homes and
    // core rectangles. False, with one log line, when an image cannot be made; the piece then
    // has no images.
    bool Build(const GP_PieceSource& source);

    const QImage* Image() const { return m_pImages[m_nRotation & 3].get(); }
    int Width() const { return m_nWidths[m_nRotation & 3]; }
    int Height() const { return m_nHeights[m_nRotation & 3]; }

    int32_t m_nRotation = 0;                     // quarter turns clockwise, 0..3
    boost::shared_ptr<QImage> m_pImages[kSteps]; // premultiplied; only step 0 without rotation
    float m_fPushSpeed = 0;                      // added to the push step's base speed
    int32_t m_nX = 0;                            // top-left of the current image on the field
    int32_t m_nY = 0;
    int32_t m_nIndex = 0;                        // row · columns + column
    int32_t m_nWidths[kSteps] = {};
    int32_t m_nHeights[kSteps] = {};
    int32_t m_nHomeX[kSteps] = {};               // the image's place in the solved, turned picture
    int32_t m_nHomeY[kSteps] = {};
    GP_CoreRect m_rcCores[kSteps];               // the solid middle, relative to the image
    int32_t m_nColumn = 0;
    int32_t m_nRow = 0;
};

using GP_PiecePtr = boost::shared_ptr<CGP_PuzzlePiece>;
