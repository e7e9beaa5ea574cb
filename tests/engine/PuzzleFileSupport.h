#pragma once

#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ShippedPatterns.h"
#include "tests/support/TestFolder.h"

#include <QBuffer>
#include <QImage>

#include <boost/shared_ptr.hpp>

#include <gtest/gtest.h>

// Shared by the puzzle file, cache and joining tests.
namespace puzzletest {

// A picture with something in every pixel, so JPEG and BMP round trips have work to do.
inline QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 255) / std::max(1, w - 1), (y * 255) / std::max(1, h - 1), (x + y) & 0xFF));
    return image;
}

// A puzzle cut as the creation flow cuts it: picture, grid, thumbnail.
inline boost::shared_ptr<CGP_Puzzle> CutPuzzle(int w, int h, float pieceSize, int patternIndex = 0)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pImage.reset(new QImage(Gradient(w, h)));
    puzzle->m_fPieceSize = pieceSize;
    puzzle->m_nPatternIndex = patternIndex;
    puzzle->m_strTitle = puzzle->m_strStoredTitle = QStringLiteral("Meadow");
    puzzle->m_strCreator = QStringLiteral("Ada");
    puzzle->CreateGrid(&ShippedPattern(patternIndex), GP_PatternHasRandomTabs(patternIndex), true);
    puzzle->MakeThumbnail();
    puzzle->m_nCutWidth = w;
    puzzle->m_nCutHeight = h;
    return puzzle;
}

// The bytes of a new puzzle file as the complete write makes them.
inline QByteArray NewFileBytes(CGP_Puzzle& puzzle)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    EXPECT_TRUE(puzzle.WriteThumbnailBlock(buffer));
    EXPECT_TRUE(puzzle.WriteSettings(buffer));
    EXPECT_TRUE(puzzle.WritePictureBlock(buffer));
    return bytes;
}

inline uint32_t U32At(const QByteArray& bytes, qsizetype offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
    return value;
}

inline void PutU32At(QByteArray& bytes, qsizetype offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace puzzletest
