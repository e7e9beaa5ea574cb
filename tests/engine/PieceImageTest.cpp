#include "engine/GP_BmpWriter.h"
#include "engine/GP_PieceImageBuilder.h"
#include "engine/GP_PuzzlePiece.h"
#include "engine/GP_UnionShadow.h"
#include "tests/engine/PieceTestSupport.h"
#include "tests/support/ShippedPatterns.h"
#include "tests/support/TestFolder.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

namespace {
QImage Plain(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

int AlphaAt(const CGP_PuzzlePiece& piece, int x, int y, int step = 0)
{
    return qAlpha(piece.m_pImages[step]->pixel(x, y));
}

// A 4 × 3 grid of plain 100-pixel squares on a 400 × 300 picture: every box known by hand.
struct SquareGrid
{
    CGP_Path pattern = StraightPattern();
    boost::shared_ptr<CGP_Puzzle> puzzle;

    SquareGrid(bool bevel, bool rotate, QRgb colour = qRgb(200, 100, 40))
    {
        puzzle = CutPuzzle(Plain(400, 300, colour), &pattern, 100, 0, bevel, rotate, false);
    }
};
} // namespace

TEST(PieceImageTest, SizesFollowThePieceSize)
{
    EXPECT_FLOAT_EQ(GP_BevelWidth(200), 5.0f);
    EXPECT_FLOAT_EQ(GP_BevelWidth(43), 1.075f);
    EXPECT_FLOAT_EQ(GP_ShadowSigma(200), 15.0f);
    EXPECT_EQ(GP_ShadowRadius(GP_ShadowSigma(200)), 15);
    EXPECT_EQ(GP_ShadowMargin(GP_ShadowSigma(200)), 16);
    EXPECT_EQ(GP_ShadowMargin(GP_ShadowSigma(43)), 5); // σ 3.225, R 4

    // The edge width is set by piece building itself.
    CGP_Path pattern = StraightPattern();
    auto puzzle = CutPuzzle(Plain(800, 600, qRgb(1, 2, 3)), &pattern, 200, 0, false, false, false);
    puzzle->m_nEdgeWidth = 0;
    puzzle->BuildPieces(nullptr, {}, {});
    EXPECT_EQ(puzzle->m_nEdgeWidth, 8);
    EXPECT_EQ(puzzle->m_pGroups->Size(), 12u);

    EXPECT_EQ(GP_HighlightLevel(100), 155);
    EXPECT_EQ(GP_HighlightLevel(250), 63);
}

TEST(PieceImageTest, SupersampledCoverageOfStraightSides)
{
    // A rectangle from (10.5, 10.2) to (100.3, 60.7): the samples of a pixel lie at
    // 0.09, 0.29, 0.49, 0.69 and 0.89, so each side covers a known share of its pixels.
    auto top = StraightEdge(10.5, 10.2, 100.3, 10.2);
    auto right = StraightEdge(100.3, 10.2, 100.3, 60.7);
    auto bottom = StraightEdge(10.5, 60.7, 100.3, 60.7);
    auto left = StraightEdge(10.5, 10.2, 10.5, 60.7);
    const QImage picture = Plain(200, 100, qRgb(10, 20, 30));
    GP_PieceSource source;
    source.edges[0] = top.get();
    source.edges[1] = right.get();
    source.edges[2] = bottom.get();
    source.edges[3] = left.get();
    source.pieceSize = 100;
    source.column = source.row = source.index = 0;
    source.bevel = false;
    source.picture = &picture;
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(source));
    ASSERT_EQ(piece.m_nHomeX[0], 9);
    ASSERT_EQ(piece.m_nHomeY[0], 9);
    auto alpha = [&](int px, int py) { return AlphaAt(piece, px - 9, py - 9); };
    EXPECT_EQ(alpha(50, 30), 255);
    EXPECT_EQ(alpha(100, 30), 102); // 2 of 5 sub-columns left of 100.3, on every sub-row
    EXPECT_EQ(alpha(10, 30), 102);  // 10.69 and 10.89 lie right of 10.5
    EXPECT_EQ(alpha(50, 10), 204);  // 4 of 5 sub-rows below 10.2
    EXPECT_EQ(alpha(50, 60), 204);  // 4 of 5 sub-rows above 60.7
    EXPECT_EQ(alpha(100, 10), 81);  // 8 of 25
    EXPECT_EQ(alpha(101, 30), 0);
    EXPECT_EQ(alpha(50, 61), 0);
    // Premultiplied: a pixel of alpha 102 keeps 102/255 of its colour.
    const QRgb edge = piece.m_pImages[0]->pixel(100 - 9, 30 - 9);
    EXPECT_EQ(qRed(edge), 10 * 102 / 255);
    EXPECT_EQ(qBlue(edge), 30 * 102 / 255);
}

TEST(PieceImageTest, CornerPieceHasStraightEdgesAndASoftFrame)
{
    SquareGrid grid(false, false);
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(SourceOf(*grid.puzzle, 0, 0)));
    // Box: the right and bottom edges' boxes reach to -1, clamped to 0; to 101 + 1.
    EXPECT_EQ(piece.m_nWidths[0], 102);
    EXPECT_EQ(piece.m_nHeights[0], 102);
    EXPECT_EQ(piece.m_nX, 0);
    EXPECT_EQ(piece.m_nY, 0);
    for (int i = 1; i < 99; ++i) {
        EXPECT_EQ(AlphaAt(piece, 0, i), 244) << i;  // the picture's border: opaque, softened
        EXPECT_EQ(AlphaAt(piece, i, 0), 244) << i;
        EXPECT_EQ(AlphaAt(piece, 1, i), 255) << i;
        EXPECT_EQ(AlphaAt(piece, 99, i), 255) << i; // the straight cut at x = 100
        EXPECT_EQ(AlphaAt(piece, 100, i), 0) << i;
        EXPECT_EQ(AlphaAt(piece, i, 100), 0) << i;
    }
    // Only one image without rotation.
    EXPECT_TRUE(piece.m_pImages[0]);
    EXPECT_FALSE(piece.m_pImages[1] || piece.m_pImages[2] || piece.m_pImages[3]);
    EXPECT_EQ(piece.m_pImages[0]->format(), QImage::Format_ARGB32_Premultiplied);
}

TEST(PieceImageTest, HomesSizesAndCoresOfEveryStep)
{
    SquareGrid grid(false, true);
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(SourceOf(*grid.puzzle, 1, 1)));
    // Box 99..202 both ways; inner limits 101 and 199; picture 400 × 300.
    const int homes[4][2] = {{99, 99}, {98, 99}, {198, 98}, {99, 198}};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(piece.m_nHomeX[r], homes[r][0]) << r;
        EXPECT_EQ(piece.m_nHomeY[r], homes[r][1]) << r;
        EXPECT_EQ(piece.m_nWidths[r], 103) << r;
        ASSERT_TRUE(piece.m_pImages[r]) << r;
        EXPECT_EQ(piece.m_pImages[r]->size(), QSize(103, 103)) << r;
    }
    EXPECT_EQ(piece.m_nIndex, 5);
    EXPECT_EQ(piece.m_nColumn, 1);
    EXPECT_EQ(piece.m_nRow, 1);
    // Turned like the picture, shrunk by the edge width (4) when rotating, step 0's bottom once more.
    ASSERT_EQ(grid.puzzle->m_nEdgeWidth, 4);
    EXPECT_EQ(piece.m_rcCores[0], (GP_CoreRect{6, 6, 96, 92}));
    EXPECT_EQ(piece.m_rcCores[1], (GP_CoreRect{7, 6, 97, 96}));
    EXPECT_EQ(piece.m_rcCores[2], (GP_CoreRect{7, 7, 97, 97}));
    EXPECT_EQ(piece.m_rcCores[3], (GP_CoreRect{6, 7, 96, 97}));

    // A piece that is not square shows its turns in its sizes: the bottom-right corner piece.
    CGP_PuzzlePiece corner;
    ASSERT_TRUE(corner.Build(SourceOf(*grid.puzzle, 2, 3)));
    EXPECT_EQ(corner.m_nWidths[0], 101);  // 299 .. 400
    EXPECT_EQ(corner.m_nHeights[0], 101); // 199 .. 300
    EXPECT_EQ(corner.m_nHomeX[1], 0);
    EXPECT_EQ(corner.m_nHomeY[1], 299);
    EXPECT_EQ(corner.m_nHomeX[2], 0);
    EXPECT_EQ(corner.m_nHomeY[2], 0);
    EXPECT_EQ(corner.m_nHomeX[3], 199);
    EXPECT_EQ(corner.m_nHomeY[3], 0);

    // Without rotation only the bottom shrinks, and never past the top.
    SquareGrid flat(false, false);
    CGP_PuzzlePiece still;
    ASSERT_TRUE(still.Build(SourceOf(*flat.puzzle, 1, 1)));
    EXPECT_EQ(still.m_rcCores[0], (GP_CoreRect{2, 2, 100, 96}));
    GP_PieceSource thick = SourceOf(*flat.puzzle, 1, 1);
    thick.edgeWidth = 500;
    thick.rotate = true;
    ASSERT_TRUE(still.Build(thick));
    for (const GP_CoreRect& core : still.m_rcCores) {
        EXPECT_GE(core.right, core.left);
        EXPECT_GE(core.bottom, core.top);
    }
}

TEST(PieceImageTest, RotatedImagesAreTheTurnedPicture)
{
    // Without a bevel every step is the step-0 image turned clockwise.
    const CGP_Path& pattern = ShippedPattern(0);
    auto puzzle = CutPuzzle(TestPicture(300, 240), &pattern, 60, 0.4f, false, true, false);
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(SourceOf(*puzzle, 1, 2)));
    const QImage& base = *piece.m_pImages[0];
    const int w = base.width(), h = base.height();
    EXPECT_EQ(piece.m_pImages[1]->pixel(h - 1 - 7, 3), base.pixel(3, 7));
    EXPECT_EQ(piece.m_pImages[2]->pixel(w - 1 - 3, h - 1 - 7), base.pixel(3, 7));
    EXPECT_EQ(piece.m_pImages[3]->pixel(7, w - 1 - 3), base.pixel(3, 7));
}

TEST(PieceImageTest, InteriorOfABevelledPiece)
{
    const QRgb colour = qRgb(200, 100, 40);
    SquareGrid grid(true, true, colour);
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(SourceOf(*grid.puzzle, 1, 1)));
    // s0 from the light alone: a = 1/√3, H0 = normalise(−a, −a, a + 1), s0 = H0.z^32.
    const double a = 1 / std::sqrt(3.0);
    const double s0 = std::pow((a + 1) / std::sqrt(2 * a * a + (a + 1) * (a + 1)), 32);
    EXPECT_NEAR(GP_BevelLight::Get().s0, s0, 1e-5);
    const int K = GP_HighlightLevel(100);
    for (int r = 0; r < 4; ++r) {
        const QRgb p = piece.m_pImages[r]->pixel(50, 50);
        EXPECT_NEAR(qRed(p), (1 - s0) * 200 + s0 * K, 1.0) << r;
        EXPECT_NEAR(qGreen(p), (1 - s0) * 100 + s0 * K, 1.0) << r;
        EXPECT_NEAR(qBlue(p), (1 - s0) * 40 + s0 * K, 1.0) << r;
        EXPECT_EQ(qAlpha(p), 255);
    }
    // Along the top edge the light from the upper left brightens step 0 and, turned half way,
    // darkens step 2: the same unturned pixel, lit from the other side.
    const QRgb lit = piece.m_pImages[0]->pixel(50, 3);
    const QRgb shaded = piece.m_pImages[2]->pixel(103 - 1 - 50, 103 - 1 - 3);
    EXPECT_GT(qGreen(lit), qGreen(piece.m_pImages[0]->pixel(50, 50)));
    EXPECT_LT(qGreen(shaded), qGreen(piece.m_pImages[0]->pixel(50, 50)));
}

TEST(PieceImageTest, BuilderGivesTheReferencePixels)
{
    struct Case
    {
        int pattern;
        float size;
        bool bevel;
        bool rotate;
        int brightness;
    };
    const Case cases[] = {{0, 43, true, true, 100}, {3, 60, true, false, 230}, {7, 50, false, true, 10},
                          {12, 200, true, true, 128}, {5, 77, true, true, 200}, {9, 43, false, false, 60}};
    const QImage picture = TestPicture(420, 330);
    for (const Case& c : cases) {
        const CGP_Path& pattern = ShippedPattern(c.pattern);
        auto puzzle = CutPuzzle(picture, &pattern, c.size, 0.6f, c.bevel, c.rotate, false);
        puzzle->m_nBrightness = c.brightness;
        const int rows = puzzle->m_nRows, columns = puzzle->m_nColumns;
        // Corners, borders and the middle.
        const int places[][2] = {{0, 0}, {0, columns - 1}, {rows - 1, 0}, {rows - 1, columns - 1},
                                 {0, columns / 2}, {rows / 2, 0}, {rows / 2, columns / 2}};
        for (const auto& place : places) {
            const GP_PieceSource source = SourceOf(*puzzle, place[0], place[1]);
            CGP_PuzzlePiece piece;
            ASSERT_TRUE(piece.Build(source));
            const std::vector<QImage> expected = ReferencePieceImages(source);
            for (size_t r = 0; r < expected.size(); ++r) {
                ASSERT_TRUE(piece.m_pImages[r]);
                EXPECT_EQ(Words(*piece.m_pImages[r]), Words(expected[r]))
                    << "pattern " << c.pattern << " piece " << place[0] << "," << place[1] << " step " << r;
            }
        }
    }
}

TEST(PieceImageTest, CacheRecordsRoundTripWithAlpha)
{
    const CGP_Path& pattern = ShippedPattern(2);
    auto puzzle = CutPuzzle(TestPicture(240, 200), &pattern, 50, 0.5f, true, true, false);
    CGP_PuzzlePiece piece;
    ASSERT_TRUE(piece.Build(SourceOf(*puzzle, 1, 1)));

    // A whole BMP file of 32 bits with alpha that decodes to the very same words.
    const QByteArray bmp = GP_EncodeBmp32(*piece.m_pImages[1]);
    ASSERT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 2), static_cast<quint32>(bmp.size()));
    EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 32);
    const QImage decoded = GP_DecodeBmp32(bmp);
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(Words(decoded), Words(*piece.m_pImages[1]));

    // A piece read from records of the cache: u32 size, then the file, one per step.
    QByteArray records;
    for (int r = 0; r < 4; ++r) {
        const QByteArray file = GP_EncodeBmp32(*piece.m_pImages[r]);
        char size[4];
        qToLittleEndian(static_cast<quint32>(file.size()), size);
        records.append(size, 4).append(file);
    }
    QBuffer cache(&records);
    cache.open(QIODevice::ReadOnly);
    GP_PieceSource source = SourceOf(*puzzle, 1, 1);
    source.column = source.row = source.index = -1;
    source.cache = &cache;
    CGP_PuzzlePiece reread;
    reread.m_nIndex = 7;
    ASSERT_TRUE(reread.Build(source));
    EXPECT_EQ(reread.m_nIndex, 7); // kept: -1 was given
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(Words(*reread.m_pImages[r]), Words(*piece.m_pImages[r])) << r;
        EXPECT_EQ(reread.m_nWidths[r], piece.m_nWidths[r]);
        EXPECT_EQ(reread.m_nHomeX[r], piece.m_nHomeX[r]);
        EXPECT_EQ(reread.m_rcCores[r], piece.m_rcCores[r]);
    }

    // A damaged record fails the piece and leaves it without images.
    TestFolder folder;
    QByteArray damaged = records;
    damaged[4 + 20] = 'X';
    damaged.truncate(4 + 60);
    QBuffer bad(&damaged);
    bad.open(QIODevice::ReadOnly);
    source.cache = &bad;
    EXPECT_FALSE(reread.Build(source));
    EXPECT_FALSE(reread.m_pImages[0]);
}
