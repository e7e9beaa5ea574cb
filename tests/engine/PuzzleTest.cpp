#include "engine/GP_Puzzle.h"

#include "engine/GP_Random.h"
#include "tests/engine/PieceTestSupport.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ShippedPatterns.h"
#include "tests/support/TestFolder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {
QString SavePicture(const TestFolder& folder, const QString& name, const QImage& image)
{
    const QString path = folder.File(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

QImage Filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

boost::shared_ptr<CGP_Puzzle> PuzzleWithPicture(int w, int h)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pImage.reset(new QImage(Filled(w, h, QColor(90, 120, 150)).convertToFormat(QImage::Format_ARGB32)));
    return puzzle;
}

int InnerCorners(const CGP_Puzzle& p) { return (p.m_nColumns - 1) * (p.m_nRows - 1); }
} // namespace

TEST(PuzzleGrid, CountsMarginsAndTheRegularLattice)
{
    // Margins worked out by hand: the slack of each side is shared equally.
    struct Cut
    {
        const char* fault;
        int w, h;
        float size;  // 0: chosen from the picture
        float chosen;
        int columns, rows;
        float left, right, top, bottom;
    };
    const Cut cuts[] = {
        {"a size chosen from the shorter side", 400, 300, 0, 75, 5, 4, 12.5f, 387.5f, 0, 300},
        {"horizontal slack on one side only", 410, 300, 100, 100, 4, 3, 5, 405, 0, 300},
        {"vertical slack not halved", 400, 330, 100, 100, 4, 3, 0, 400, 15, 315},
    };
    const CGP_Path& pattern = ShippedPattern(0);
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.fault);
        auto puzzle = PuzzleWithPicture(cut.w, cut.h);
        puzzle->m_fPieceSize = cut.size;
        puzzle->m_fChaos = 0;
        puzzle->CreateGrid(&pattern, true, true);
        EXPECT_EQ(puzzle->m_fPieceSize, cut.chosen);
        EXPECT_EQ(puzzle->m_nColumns, cut.columns);
        EXPECT_EQ(puzzle->m_nRows, cut.rows);
        EXPECT_EQ(puzzle->m_nPieceCount, cut.columns * cut.rows);
        EXPECT_EQ(puzzle->m_fLeft, cut.left);
        EXPECT_EQ(puzzle->m_fRight, cut.right);
        EXPECT_EQ(puzzle->m_fTop, cut.top);
        EXPECT_EQ(puzzle->m_fBottom, cut.bottom);
        // Without chaos every corner lies on the lattice that starts at the top-left margin.
        ASSERT_EQ(puzzle->m_pCorners.size(), size_t(cut.columns + 1) * (cut.rows + 1));
        for (int i = 0; i <= cut.rows; ++i) {
            for (int j = 0; j <= cut.columns; ++j) {
                EXPECT_EQ(puzzle->Corner(i, j).x, j * cut.chosen + cut.left) << i << "," << j;
                EXPECT_EQ(puzzle->Corner(i, j).y, i * cut.chosen + cut.top) << i << "," << j;
            }
        }
    }

    auto puzzle = PuzzleWithPicture(400, 300);
    puzzle->CreateGrid(&pattern, true, true);
    EXPECT_EQ(puzzle->m_pPattern, &pattern);
    // Edges: the border ones are absent, every inner one runs between its two corners.
    EXPECT_EQ(puzzle->m_nVerticalEdgeCount, 6 * 4);
    EXPECT_EQ(puzzle->m_nHorizontalEdgeCount, 5 * 5);
    ASSERT_EQ(puzzle->m_pVerticalEdges.size(), 24u);
    ASSERT_EQ(puzzle->m_pHorizontalEdges.size(), 25u);
    ASSERT_EQ(puzzle->m_pVerticalDirections.size(), 24u);
    ASSERT_EQ(puzzle->m_pHorizontalDirections.size(), 25u);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j <= 5; ++j) {
            const CGP_Path* edge = puzzle->m_pVerticalEdges[i * 6 + j].get();
            ASSERT_EQ(edge == nullptr, j == 0 || j == 5);
            if (!edge)
                continue;
            EXPECT_NEAR(edge->m_segments.front().x1, puzzle->Corner(i, j).x, 1e-9);
            EXPECT_NEAR(edge->m_segments.front().y1, puzzle->Corner(i, j).y, 1e-9);
            EXPECT_EQ(edge->m_endX, puzzle->Corner(i + 1, j).x);
            EXPECT_EQ(edge->m_endY, puzzle->Corner(i + 1, j).y);
        }
    }
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j < 5; ++j) {
            const CGP_Path* edge = puzzle->m_pHorizontalEdges[i * 5 + j].get();
            ASSERT_EQ(edge == nullptr, i == 0 || i == 4);
            if (edge) {
                EXPECT_EQ(edge->m_endX, puzzle->Corner(i, j + 1).x);
            }
        }
    }

    // A corner piece has two straight sides; an inner piece has none.
    const CGP_Path* sides[4];
    puzzle->GetPieceEdges(0, 0, sides);
    EXPECT_EQ(sides[0], nullptr);
    EXPECT_EQ(sides[1], puzzle->m_pVerticalEdges[1].get());
    EXPECT_EQ(sides[2], puzzle->m_pHorizontalEdges[5].get());
    EXPECT_EQ(sides[3], nullptr);
    puzzle->GetPieceEdges(2, 3, sides);
    EXPECT_EQ(sides[0], puzzle->m_pHorizontalEdges[2 * 5 + 3].get());
    EXPECT_EQ(sides[1], puzzle->m_pVerticalEdges[2 * 6 + 4].get());
    EXPECT_EQ(sides[2], puzzle->m_pHorizontalEdges[3 * 5 + 3].get());
    EXPECT_EQ(sides[3], puzzle->m_pVerticalEdges[2 * 6 + 3].get());
    for (const CGP_Path* side : sides)
        EXPECT_NE(side, nullptr);

    // An empty pattern cuts straight sides.
    CGP_Path empty;
    puzzle->CreateGrid(&empty, true, true);
    for (const auto& edge : puzzle->m_pVerticalEdges)
        EXPECT_EQ(edge, nullptr);
}

TEST(PuzzleGrid, JitterAndDirectionsFollowTheGeneratorInOrder)
{
    const CGP_Path& pattern = ShippedPattern(2);
    auto puzzle = PuzzleWithPicture(640, 480);
    puzzle->m_fPieceSize = 80;
    puzzle->m_fChaos = 0.8f;
    GP_srand(6);
    puzzle->CreateGrid(&pattern, true, true);
    const int afterCut = GP_rand();

    // Replay the generator: x then y for each inner corner, row by row; then one draw per
    // inner vertical edge, then one per inner horizontal edge.
    GP_srand(6);
    const double amplitude = 80 * 0.5 * std::tan((double(1.57f) - 2 * pattern.m_maxTabAngle) * 0.5);
    ASSERT_GT(amplitude, 0);
    for (int i = 0; i <= 6; ++i) {
        for (int j = 0; j <= 8; ++j) {
            const GP_Corner& c = puzzle->Corner(i, j);
            if (i == 0 || j == 0 || i == 6 || j == 8) {
                EXPECT_EQ(c.x, j * 80.0);
                EXPECT_EQ(c.y, i * 80.0);
                continue;
            }
            const int r1 = GP_rand();
            const int r2 = GP_rand();
            EXPECT_DOUBLE_EQ(c.x, j * 80.0 + 0.8f * amplitude * (1 - 2.0 * r1 / 32767));
            EXPECT_DOUBLE_EQ(c.y, i * 80.0 + 0.8f * amplitude * (1 - 2.0 * r2 / 32767));
        }
    }
    // Seed 6 draws exactly 500 for one tab (the least that turns it) and 499 for another.
    int ones = 0;
    int atThreshold = 0;
    auto expectDirection = [&](uint8_t direction) {
        const int draw = GP_rand() % 1000;
        atThreshold += draw == 499 || draw == 500;
        EXPECT_EQ(direction, draw >= 500 ? 1 : 0) << "draw " << draw;
        ones += direction;
    };
    for (int i = 0; i < 6; ++i) {
        for (int j = 1; j < 8; ++j)
            expectDirection(puzzle->m_pVerticalDirections[i * 9 + j]);
    }
    for (int i = 1; i < 6; ++i) {
        for (int j = 0; j < 8; ++j)
            expectDirection(puzzle->m_pHorizontalDirections[i * 8 + j]);
    }
    EXPECT_EQ(atThreshold, 2);
    EXPECT_EQ(GP_rand(), afterCut);
    EXPECT_GT(ones, 10);

    // Directions decide the tab's side: a direction-1 edge is the mirror of a direction-0 one.
    const size_t flipped = std::find(puzzle->m_pVerticalDirections.begin(), puzzle->m_pVerticalDirections.end(), 1)
                           - puzzle->m_pVerticalDirections.begin();
    ASSERT_LT(flipped, puzzle->m_pVerticalDirections.size());
    const CGP_Path* edge = puzzle->m_pVerticalEdges[flipped].get();
    const auto same = MakeEdge(&pattern, 1, edge->m_segments.front().x1, edge->m_segments.front().y1,
                               edge->m_endX, edge->m_endY);
    EXPECT_NEAR(same->m_segments[3].x1, edge->m_segments[3].x1, 1e-9);
}

TEST(PuzzleGrid, OneWayPatternsRebuildsAndRefusals)
{
    // Patterns 5 and 8 turn every tab the same way and draw only for the corners.
    for (int index : {5, 8}) {
        EXPECT_FALSE(GP_PatternHasRandomTabs(index));
        const CGP_Path& pattern = ShippedPattern(index);
        auto puzzle = PuzzleWithPicture(500, 400);
        puzzle->m_fPieceSize = 50;
        puzzle->m_fChaos = 1;
        GP_srand(5);
        puzzle->CreateGrid(&pattern, GP_PatternHasRandomTabs(index), true);
        const int next = GP_rand();
        GP_srand(5);
        for (int k = 0; k < 2 * InnerCorners(*puzzle); ++k)
            GP_rand();
        EXPECT_EQ(GP_rand(), next);
        for (uint8_t d : puzzle->m_pVerticalDirections)
            EXPECT_EQ(d, 0);
        for (uint8_t d : puzzle->m_pHorizontalDirections)
            EXPECT_EQ(d, 0);
    }
    for (int index : {0, 1, 2, 3, 4, 6, 7, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_TRUE(GP_PatternHasRandomTabs(index));

    // Rebuilding a stored cut keeps its corners and directions and draws nothing.
    const CGP_Path& pattern = ShippedPattern(0);
    auto puzzle = PuzzleWithPicture(500, 400);
    puzzle->m_fChaos = 0.5f;
    puzzle->CreateGrid(&pattern, true, true);
    const std::vector<GP_Corner> corners = puzzle->m_pCorners;
    std::vector<uint8_t> vertical = puzzle->m_pVerticalDirections;
    vertical[1] ^= 1; // as if the file said otherwise
    puzzle->m_pVerticalDirections = vertical;
    const std::vector<uint8_t> horizontal = puzzle->m_pHorizontalDirections;
    GP_srand(99);
    puzzle->CreateGrid(&pattern, true, false);
    const int next = GP_rand();
    GP_srand(99);
    EXPECT_EQ(GP_rand(), next);
    ASSERT_EQ(puzzle->m_pCorners.size(), corners.size());
    for (size_t k = 0; k < corners.size(); ++k) {
        EXPECT_EQ(puzzle->m_pCorners[k].x, corners[k].x);
        EXPECT_EQ(puzzle->m_pCorners[k].y, corners[k].y);
    }
    EXPECT_EQ(puzzle->m_pVerticalDirections, vertical);
    EXPECT_EQ(puzzle->m_pHorizontalDirections, horizontal);
    const GP_Corner& a = puzzle->Corner(0, 1);
    const GP_Corner& b = puzzle->Corner(1, 1);
    const auto expected = MakeEdge(&pattern, vertical[1], a.x, a.y, b.x, b.y);
    EXPECT_EQ(puzzle->m_pVerticalEdges[1]->m_segments[2].x2, expected->m_segments[2].x2);

    // Releasing the images keeps the lattice; releasing the grid drops it.
    puzzle->ReleaseImages();
    EXPECT_FALSE(puzzle->m_pImage);
    EXPECT_FALSE(puzzle->m_pImageCopy);
    EXPECT_TRUE(puzzle->m_pVerticalEdges.empty());
    EXPECT_EQ(puzzle->m_pCorners.size(), corners.size());
    puzzle->ReleaseGrid(false);
    EXPECT_TRUE(puzzle->m_pCorners.empty());
    EXPECT_TRUE(puzzle->m_pVerticalDirections.empty());

    // No picture, no pattern, or a picture too small for a piece: nothing is cut.
    CGP_Puzzle blank;
    blank.CreateGrid(&pattern, true, true);
    EXPECT_TRUE(blank.m_pCorners.empty());
    EXPECT_EQ(blank.m_nColumns, 2);
    auto noPattern = PuzzleWithPicture(100, 100);
    noPattern->CreateGrid(nullptr, true, true);
    EXPECT_EQ(noPattern->m_fPieceSize, 0.0f);
    auto tiny = PuzzleWithPicture(3, 30);
    tiny->CreateGrid(&pattern, true, true);
    EXPECT_TRUE(tiny->m_pCorners.empty());
    EXPECT_EQ(tiny->m_nColumns, 2);
}

TEST(PuzzlePicture, LoadImageSizesAlphaBrightnessAndFailures)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QSize screen(800, 600);
    CGP_Puzzle puzzle;

    const QString small = SavePicture(folder, QStringLiteral("small.png"), Filled(30, 60, QColor(100, 100, 100)));
    puzzle.LoadImage(small);
    ASSERT_TRUE(puzzle.m_pImage);
    EXPECT_EQ(puzzle.m_pImage->size(), QSize(30, 60));
    // Grey 100 measures 100 + 100 / 90: the running value is carried into each row's mean.
    EXPECT_EQ(puzzle.m_nBrightness, 101);
    puzzle.LoadImage(small, &screen);
    EXPECT_EQ(puzzle.m_pImage->size(), QSize(48, 96));

    const struct { int w, h; QSize fitted; } fits[] = {
        {1600, 1000, QSize(800, 500)}, {1000, 1500, QSize(400, 600)}, {800, 600, QSize(800, 600)},
        {200, 40, QSize(240, 48)}, {640, 480, QSize(640, 480)},
    };
    for (const auto& fit : fits) {
        puzzle.LoadImage(SavePicture(folder, QStringLiteral("fit.png"), Filled(fit.w, fit.h, Qt::white)), &screen);
        ASSERT_TRUE(puzzle.m_pImage);
        EXPECT_EQ(puzzle.m_pImage->size(), fit.fitted) << fit.w << "x" << fit.h;
        EXPECT_EQ(puzzle.m_nBrightness, 255);
    }

    // Transparent parts become opaque black; the untouched copy is a copy, not the same image.
    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(5, 5, qRgba(200, 10, 20, 255));
    puzzle.LoadImage(SavePicture(folder, QStringLiteral("clear.png"), clear));
    ASSERT_TRUE(puzzle.m_pImage && puzzle.m_pImageCopy);
    EXPECT_EQ(puzzle.m_pImage->pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(puzzle.m_pImage->pixel(5, 5), qRgba(200, 10, 20, 255));
    EXPECT_EQ(*puzzle.m_pImage, *puzzle.m_pImageCopy);
    EXPECT_NE(puzzle.m_pImage.get(), puzzle.m_pImageCopy.get());
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(qAlpha(puzzle.m_pImage->pixel(x, y)), 255);
    }

    // The brightness runs row by row, so the last row weighs the most.
    QImage darkFoot = Filled(100, 50, Qt::white);
    for (int x = 0; x < 100; ++x)
        darkFoot.setPixel(x, 49, qRgb(0, 0, 0));
    puzzle.LoadImage(SavePicture(folder, QStringLiteral("foot.png"), darkFoot));
    EXPECT_EQ(puzzle.m_nBrightness, 0);
    QImage lightFoot = Filled(100, 50, Qt::black);
    for (int x = 0; x < 100; ++x)
        lightFoot.setPixel(x, 49, qRgb(90, 60, 30));
    puzzle.LoadImage(SavePicture(folder, QStringLiteral("light.png"), lightFoot));
    EXPECT_EQ(puzzle.m_nBrightness, 60);

    folder.Write(QStringLiteral("broken.png"), QByteArray("\x89PNG\r\n\x1a\nnot really"));
    puzzle.LoadImage(folder.File(QStringLiteral("broken.png")), &screen);
    EXPECT_FALSE(puzzle.m_pImage);
    puzzle.LoadImage(folder.File(QStringLiteral("absent.jpg")));
    EXPECT_FALSE(puzzle.m_pImage);
    EXPECT_EQ(log.Text().count("CGP_Puzzle::LoadImage: CImage::Load HRESULT="), 2);
}

TEST(PuzzlePicture, ThumbnailPlaceAndProgressOverlay)
{
    const struct { int w, h; QSize thumb; } sizes[] = {
        {400, 300, QSize(140, 105)}, {300, 400, QSize(105, 140)}, {400, 400, QSize(140, 140)}, {1000, 3, QSize(140, 1)},
    };
    for (const auto& size : sizes) {
        auto puzzle = PuzzleWithPicture(size.w, size.h);
        puzzle->MakeThumbnail();
        ASSERT_TRUE(puzzle->m_pThumbnail);
        EXPECT_EQ(puzzle->m_pThumbnail->size(), size.thumb);
        EXPECT_EQ(puzzle->m_pThumbnail->depth(), 24);
    }
    auto puzzle = PuzzleWithPicture(400, 300);
    EXPECT_EQ(puzzle->GetThumbnailRect(nullptr), QRect(200, 200, 0, 0));
    puzzle->MakeThumbnail();
    EXPECT_EQ(puzzle->m_pThumbnail->pixel(70, 50), qRgb(90, 120, 150));
    EXPECT_EQ(puzzle->GetThumbnailRect(nullptr), QRect(200, 200, 140, 105));
    puzzle->m_nThumbX = 20000001;
    puzzle->m_nThumbY = -20000001;
    EXPECT_EQ(puzzle->GetThumbnailRect(nullptr), QRect(200, 0, 140, 105));
    puzzle->m_nThumbX = -20000000;
    EXPECT_EQ(puzzle->GetThumbnailRect(nullptr).left(), -20000000);
    const QImage placeholder(60, 70, QImage::Format_RGB32);
    puzzle->m_bOptions[CGP_Puzzle::kOptionHidePicture] = true;
    EXPECT_EQ(puzzle->GetThumbnailRect(&placeholder).size(), QSize(60, 70));
    puzzle->m_bSolved = true;
    EXPECT_EQ(puzzle->GetThumbnailRect(&placeholder).size(), QSize(140, 105));

    // The pie covers the solved share clockwise from twelve o'clock.
    puzzle->m_bSolved = false;
    puzzle->m_fSolvedPercent = 25;
    puzzle->MakeProgressOverlay();
    ASSERT_TRUE(puzzle->m_pProgressOverlay);
    const QImage& pie = *puzzle->m_pProgressOverlay;
    ASSERT_EQ(pie.size(), QSize(91, 91));
    const QRgb solved = qRgba(0xA6 * 192 / 255, 0xCA * 192 / 255, 0xF0 * 192 / 255, 192);
    EXPECT_EQ(pie.pixel(68, 22), solved);
    EXPECT_EQ(pie.pixel(22, 22), 0u);
    EXPECT_EQ(pie.pixel(22, 68), 0u);
    EXPECT_EQ(pie.pixel(68, 68), 0u);
    EXPECT_EQ(pie.pixel(0, 0), 0u);
    puzzle->m_fSolvedPercent = 75;
    puzzle->MakeProgressOverlay();
    EXPECT_EQ(puzzle->m_pProgressOverlay->pixel(68, 68), solved);
    EXPECT_EQ(puzzle->m_pProgressOverlay->pixel(22, 68), solved);
    EXPECT_EQ(puzzle->m_pProgressOverlay->pixel(22, 22), 0u);
    EXPECT_EQ(puzzle->m_pProgressOverlay->pixel(90, 0), 0u);
    for (int y = 0; y < 91; ++y) {
        for (int x = 0; x < 91; ++x) {
            const QRgb p = puzzle->m_pProgressOverlay->pixel(x, y);
            ASSERT_TRUE(p == 0u || p == solved) << x << "," << y;
        }
    }

    // Solved puzzles and thumbnails too thin for a pie get none.
    auto thin = PuzzleWithPicture(1400, 140);
    thin->MakeThumbnail();
    ASSERT_EQ(thin->m_pThumbnail->height(), 14);
    thin->MakeProgressOverlay();
    EXPECT_FALSE(thin->m_pProgressOverlay);
    auto done = PuzzleWithPicture(400, 300);
    done->MakeThumbnail();
    done->m_bSolved = true;
    done->MakeProgressOverlay();
    EXPECT_FALSE(done->m_pProgressOverlay);
}

TEST(PuzzleGrid, CutLinesAreDrawnInWhite)
{
    const CGP_Path straight = StraightPattern();
    auto puzzle = PuzzleWithPicture(400, 300);
    puzzle->m_fChaos = 0;
    QImage canvas = Filled(420, 320, Qt::black);
    {
        QPainter painter(&canvas);
        painter.setPen(Qt::red);
        DrawCutLines(*puzzle, painter, 10, 10); // no lattice yet: nothing drawn
        puzzle->CreateGrid(&straight, true, true);
        DrawCutLines(*puzzle, painter, 10, 10);
        EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    }
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(canvas.pixel(22, 10), white);   // frame, top left (12.5 + 10)
    EXPECT_EQ(canvas.pixel(397, 310), white); // frame, bottom right
    EXPECT_EQ(canvas.pixel(97, 50), white);   // first inner vertical edge at x 87.5
    EXPECT_EQ(canvas.pixel(200, 85), white);  // first inner horizontal edge at y 75
    EXPECT_EQ(canvas.pixel(60, 50), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(0, 0, 0));
}
