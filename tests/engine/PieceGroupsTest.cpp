#include "engine/GP_BmpWriter.h"
#include "engine/GP_GroupDrawing.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_UnionShadow.h"
#include "engine/PieceBuilderThread.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ShippedPatterns.h"
#include "tests/support/Waits.h"
#include "tests/engine/PieceTestSupport.h"
#include "tests/support/TestFolder.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <set>

namespace {
// A group of one square piece of a plain colour at (x, y).
GP_GroupPtr SquareGroup(QRgb colour, int x, int y, int size = 20)
{
    auto piece = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece);
    auto image = boost::shared_ptr<QImage>(new QImage(size, size, QImage::Format_ARGB32_Premultiplied));
    image->fill(colour);
    piece->m_pImages[0] = image;
    piece->m_nWidths[0] = piece->m_nHeights[0] = size;
    piece->m_nX = x;
    piece->m_nY = y;
    auto group = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
    group->m_pieces.push_back(piece);
    return group;
}

std::vector<bool> Kinds(const std::vector<GP_DrawStep>& order)
{
    std::vector<bool> kinds;
    for (const GP_DrawStep& step : order)
        kinds.push_back(step.shadow);
    return kinds;
}

} // namespace

TEST(PieceGroupsTest, ShadowKernelMaskAndBlur)
{
    const std::vector<double> kernel = GP_ShadowKernel(GP_ShadowSigma(200));
    ASSERT_EQ(kernel.size(), 31u);
    EXPECT_NEAR(std::accumulate(kernel.begin(), kernel.end(), 0.0), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(kernel[0], kernel[30]);
    EXPECT_NEAR(kernel[15] / kernel[0], std::exp(15.0 * 15 / (2 * 15.0 * 15)), 1e-9);

    // Two joined pieces, drawn apart on the field: the shadow lies where their box lies.
    const CGP_Path& pattern = ShippedPattern(1);
    auto puzzle = CutPuzzle(TestPicture(300, 200), &pattern, 60, 0.5f, true, false, true);
    auto a = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece);
    auto b = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece);
    ASSERT_TRUE(a->Build(SourceOf(*puzzle, 1, 1)));
    ASSERT_TRUE(b->Build(SourceOf(*puzzle, 1, 2)));
    a->m_nX += 500;
    a->m_nY += 40;
    b->m_nX += 500;
    b->m_nY += 40;
    auto group = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
    group->m_pieces = {a, b};
    CreateUnionShadow(puzzle.get(), group);
    ASSERT_TRUE(group->m_pShadow);
    const int m = GP_ShadowMargin(GP_ShadowSigma(60)); // σ 4.5: R 5, margin 6
    ASSERT_EQ(m, 6);
    const int boxWidth = b->m_nHomeX[0] + b->m_nWidths[0] - a->m_nHomeX[0];
    EXPECT_EQ(group->m_pShadow->width(), boxWidth + 2 * m);
    EXPECT_EQ(group->m_nShadowLeft, a->m_nX - m);
    EXPECT_EQ(group->m_nShadowTop, 40 + std::min(a->m_nHomeY[0], b->m_nHomeY[0]) - m);
    EXPECT_EQ(group->m_nShadowWidth, group->m_pShadow->width());

    // Black with the blurred alpha, equal to the plain blur sample by sample.
    const QImage expected = ReferenceShadowAlpha(*puzzle, group->m_pieces);
    ASSERT_EQ(expected.size(), group->m_pShadow->size());
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb p = group->m_pShadow->pixel(x, y);
            differing += qAlpha(p) != expected.scanLine(y)[x] || (p & 0xFFFFFF) != 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // The middle of a piece is dark, the canvas corner outside every piece's reach is clear.
    EXPECT_GT(qAlpha(group->m_pShadow->pixel(m + a->m_nWidths[0] / 2, m + a->m_nHeights[0] / 2)), 200);
    EXPECT_EQ(qAlpha(group->m_pShadow->pixel(0, 0)), 0);

    // Shadows short enough to blur by table and long ones summed point by point alike.
    for (const float size : {43.0f, 120.0f}) {
        auto cut = CutPuzzle(TestPicture(300, 260), &pattern, size, 0.5f, true, true, true);
        auto piece = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece);
        ASSERT_TRUE(piece->Build(SourceOf(*cut, 0, 1)));
        piece->m_nRotation = 3;
        auto alone = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
        alone->m_pieces = {piece};
        CreateUnionShadow(cut.get(), alone);
        ASSERT_TRUE(alone->m_pShadow);
        const QImage plain = ReferenceShadowAlpha(*cut, alone->m_pieces);
        ASSERT_EQ(plain.size(), alone->m_pShadow->size()) << size;
        int wrong = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                wrong += qAlpha(alone->m_pShadow->pixel(x, y)) != plain.scanLine(y)[x];
        EXPECT_EQ(wrong, 0) << size;
    }

    // An existing shadow is kept; an empty group gets none.
    const QImage* before = group->m_pShadow.get();
    CreateUnionShadow(puzzle.get(), group);
    EXPECT_EQ(group->m_pShadow.get(), before);
    auto empty = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
    CreateUnionShadow(puzzle.get(), empty);
    EXPECT_FALSE(empty->m_pShadow);
}

TEST(PieceGroupsTest, ASilhouetteThatFailsSwitchesSilhouettesOff)
{
    TestFolder folder;
    CapturedLog log(folder);
    const CGP_Path& pattern = ShippedPattern(1);
    auto puzzle = CutPuzzle(TestPicture(200, 200), &pattern, 50, 0.5f, false, false, true);
    auto broken = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
    broken->m_pieces.push_back(boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece));
    broken->m_pieces.front()->m_nWidths[0] = broken->m_pieces.front()->m_nHeights[0] = 10;
    CreateUnionShadow(puzzle.get(), broken);
    EXPECT_TRUE(log.Text().contains("Error CGP_Puzzle::CreateUnionShadow\n"));
    EXPECT_FALSE(GP_ShadowSilhouettes());

    auto piece = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece);
    ASSERT_TRUE(piece->Build(SourceOf(*puzzle, 1, 1)));
    auto later = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion);
    later->m_pieces.push_back(piece);
    CreateUnionShadow(puzzle.get(), later);
    ASSERT_TRUE(later->m_pShadow);
    EXPECT_EQ(qAlpha(later->m_pShadow->pixel(later->m_pShadow->width() / 2, later->m_pShadow->height() / 2)), 0);

    GP_SetShadowSilhouettes(true);
    later->m_pShadow.reset();
    CreateUnionShadow(puzzle.get(), later);
    EXPECT_GT(qAlpha(later->m_pShadow->pixel(later->m_pShadow->width() / 2, later->m_pShadow->height() / 2)), 200);
}

TEST(PieceGroupsTest, DrawOrderPutsTheHeldAndSelectedGroupsOnTop)
{
    CGP_Puzzle puzzle;
    puzzle.m_pGroups.reset(new GP_GroupDeque);
    // Front of the deque = on top among equals.
    GP_GroupPtr front = SquareGroup(qRgb(255, 0, 0), 0, 0);
    GP_GroupPtr selected = SquareGroup(qRgb(0, 255, 0), 5, 5);
    GP_GroupPtr held = SquareGroup(qRgb(0, 0, 255), 10, 10);
    GP_GroupPtr back = SquareGroup(qRgb(255, 255, 0), 15, 15);
    GP_GroupPtr tray = SquareGroup(qRgb(255, 0, 255), 0, 0);
    selected->m_bSelected = true;
    held->m_bSelected = true;
    tray->m_nLocation = CGP_PuzzlePieceUnion::kLeftTray;
    for (const GP_GroupPtr& g : {front, held, selected, back, tray})
        puzzle.m_pGroups->PushBack(g);
    puzzle.m_pHeldGroup = held;

    std::vector<GP_DrawStep> expected = {{back, false}, {front, false}, {selected, true}, {selected, false},
                                         {held, true}, {held, false}};
    EXPECT_EQ(GP_GroupDrawOrder(puzzle, false, 0), expected);
    // Over a tray the selected groups lose their shadows; the held one keeps its own.
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(GP_GroupDrawOrder(puzzle, true, 0), expected);
    EXPECT_EQ(GP_GroupDrawOrder(puzzle, false, 4), (std::vector<GP_DrawStep>{{tray, false}}));

    // A hint pair here: the others first, then the pair; shadows on even phases only.
    puzzle.m_pHintGroup1 = back;
    puzzle.m_pHintGroup2 = front;
    puzzle.m_nHintBlinkCount = 4;
    expected = {{selected, false}, {held, false}, {back, true}, {front, true}, {back, false}, {front, false}};
    EXPECT_EQ(GP_GroupDrawOrder(puzzle, false, 0), expected);
    puzzle.m_nHintBlinkCount = 3;
    EXPECT_EQ(Kinds(GP_GroupDrawOrder(puzzle, false, 0)), (std::vector<bool>{false, false, false, false}));
    // A pair shown in another location leaves this one in its usual order.
    EXPECT_EQ(GP_GroupDrawOrder(puzzle, false, 4), (std::vector<GP_DrawStep>{{tray, false}}));

    // On a canvas the held group ends on top, clipped to the update rectangle.
    puzzle.m_pHintGroup1.reset();
    puzzle.m_pHintGroup2.reset();
    QImage canvas(60, 60, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        puzzle.DrawGroups(painter, QRect(0, 0, 60, 60), QRect(0, 0, 33, 33), false, false, 0);
    }
    EXPECT_EQ(canvas.pixel(12, 12), qRgb(0, 0, 255));  // held over selected and front
    EXPECT_EQ(canvas.pixel(7, 7), qRgb(0, 255, 0));    // selected over front
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(32, 32), qRgb(255, 255, 0)); // back, only where nothing covers it
    EXPECT_EQ(canvas.pixel(33, 33), qRgb(255, 255, 255)); // back, but outside the update rectangle
}

TEST(PieceGroupsTest, GhostIsTheCutAreaHalfSeenInTheMiddleOfTheField)
{
    CGP_Puzzle puzzle;
    puzzle.m_pImage.reset(new QImage(100, 80, QImage::Format_ARGB32));
    puzzle.m_pImage->fill(qRgb(0, 0, 0));
    puzzle.m_fPieceSize = 30;
    puzzle.m_nColumns = 3;
    puzzle.m_nRows = 2; // cut area 90 × 60
    QImage canvas(300, 200, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        puzzle.DrawGroups(painter, QRect(50, 40, 200, 160), QRect(0, 0, 300, 200), true, false, 0);
    }
    // Horizontally within 0..200, vertically within the field: x 55..145, y 90..150.
    EXPECT_NEAR(qRed(canvas.pixel(55, 90)), 127, 2);
    EXPECT_NEAR(qRed(canvas.pixel(144, 149)), 127, 2);
    EXPECT_EQ(canvas.pixel(54, 90), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(55, 89), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(145, 149), qRgb(255, 255, 255));

    puzzle.m_bOptions[CGP_Puzzle::kOptionNoGhost] = true;
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        puzzle.DrawGroups(painter, QRect(50, 40, 200, 160), QRect(0, 0, 300, 200), true, false, 0);
    }
    EXPECT_EQ(canvas.pixel(100, 120), qRgb(255, 255, 255));
}

TEST(PieceGroupsTest, WorkersBuildEveryPieceOnceWithShadows)
{
    const CGP_Path& pattern = ShippedPattern(4);
    const QImage picture = TestPicture(200, 160);
    std::vector<uint32_t> firstImages;
    for (int threads : {1, 2, 3}) {
        auto puzzle = CutPuzzle(picture, &pattern, 40, 0.5f, true, true, true);
        int progress = 0;
        {
            const Deadline deadline("the builders' pieces and their end");
            CGP_PieceWorkers workers(threads);
            ASSERT_EQ(static_cast<int>(workers.Builders().size()), threads);
            workers.BuildPieces(*puzzle, nullptr, [&] { ++progress; });
        }
        EXPECT_EQ(progress, puzzle->m_nPieceCount);
        const std::deque<GP_GroupPtr> groups = puzzle->m_pGroups->Snapshot();
        ASSERT_EQ(static_cast<int>(groups.size()), puzzle->m_nPieceCount);
        std::set<int> indices;
        std::vector<int> order;
        for (const GP_GroupPtr& group : groups) {
            ASSERT_EQ(group->m_pieces.size(), 1u);
            EXPECT_TRUE(group->m_pShadow);
            EXPECT_EQ(group->m_nLocation, 0);
            EXPECT_FALSE(group->m_bSelected);
            indices.insert(group->m_pieces.front()->m_nIndex);
            order.push_back(group->m_pieces.front()->m_nIndex);
        }
        EXPECT_EQ(static_cast<int>(indices.size()), puzzle->m_nPieceCount);
        if (threads == 1) {
            // One builder builds strictly in rows.
            EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
        }
        // The same pieces whichever builder made them.
        for (const GP_GroupPtr& group : groups) {
            if (group->m_pieces.front()->m_nIndex != 5)
                continue;
            const std::vector<uint32_t> words = Words(*group->m_pieces.front()->m_pImages[3]);
            if (firstImages.empty())
                firstImages = words;
            EXPECT_EQ(words, firstImages);
        }
        // Pieces that shared their edges' crossings with their neighbours come out as if built alone.
        if (threads != 2)
            continue;
        for (const GP_GroupPtr& group : groups) {
            const CGP_PuzzlePiece& shared = *group->m_pieces.front();
            CGP_PuzzlePiece alone;
            ASSERT_TRUE(alone.Build(SourceOf(*puzzle, shared.m_nRow, shared.m_nColumn)));
            for (int step = 0; step < CGP_PuzzlePiece::kSteps; ++step) {
                ASSERT_TRUE(shared.m_pImages[step] && alone.m_pImages[step]);
                EXPECT_EQ(Words(*shared.m_pImages[step]), Words(*alone.m_pImages[step])) << shared.m_nIndex;
            }
        }
    }
}

TEST(PieceGroupsTest, ShadowWorkerShadowsGroupsAndRepaints)
{
    const CGP_Path& pattern = ShippedPattern(4);
    auto puzzle = CutPuzzle(TestPicture(300, 240), &pattern, 50, 0.5f, false, false, false);
    const Deadline deadline("the workers' pieces, shadows and end");
    CGP_PieceWorkers workers(2);
    workers.BuildPieces(*puzzle, nullptr);
    std::atomic<int> repaints{0};
    workers.SetRepaint([&] { ++repaints; });
    std::vector<GP_GroupPtr> groups;
    for (const GP_GroupPtr& group : puzzle->m_pGroups->Snapshot()) {
        EXPECT_FALSE(group->m_pShadow); // shadows off while building
        groups.push_back(group);
    }
    const size_t half = groups.size() / 2;
    workers.RequestShadows(puzzle.get(), std::vector<GP_GroupPtr>(groups.begin(), groups.begin() + half));
    workers.RequestShadows(puzzle.get(), std::vector<GP_GroupPtr>(groups.begin() + half, groups.end()));
    workers.WaitForShadows();
    EXPECT_EQ(repaints.load(), 2);
    for (const GP_GroupPtr& group : groups)
        EXPECT_TRUE(group->m_pShadow);
}

TEST(PieceGroupsTest, RebuildingAStoredPuzzleUsesTheCacheAndSurvivesItsDamage)
{
    TestFolder folder;
    CapturedLog log(folder);
    const CGP_Path& pattern = ShippedPattern(6);
    auto puzzle = CutPuzzle(TestPicture(240, 200), &pattern, 50, 0.5f, true, false, true);
    puzzle->BuildPieces(nullptr, {}, {});
    // Two pieces joined into one group, the rest alone.
    std::deque<GP_GroupPtr> groups = puzzle->m_pGroups->Snapshot();
    ASSERT_GE(groups.size(), 4u);
    std::vector<uint32_t> original = Words(*groups[1]->m_pieces.front()->m_pImages[0]);
    groups[0]->m_pieces.push_back(groups[1]->m_pieces.front());
    groups.erase(groups.begin() + 1);
    puzzle->m_pGroups.reset(new GP_GroupDeque);
    for (const GP_GroupPtr& group : groups) {
        group->m_pShadow.reset();
        for (const GP_PiecePtr& piece : group->m_pieces)
            piece->m_pImages[0].reset();
        puzzle->m_pGroups->PushBack(group);
    }
    const int moved = groups[0]->m_pieces[1]->m_nIndex;

    // A cache whose table knows only the moved piece; its record is the original image.
    QByteArray cache(puzzle->m_nPieceCount * 4, '\xFF');
    const QByteArray file = GP_EncodeBmp32([&] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.fill(qRgba(10, 20, 30, 255));
        return image;
    }());
    const quint32 at = static_cast<quint32>(cache.size());
    char bytes[4];
    qToLittleEndian(at, bytes);
    cache.replace(moved * 4, 4, bytes, 4);
    qToLittleEndian(static_cast<quint32>(file.size()), bytes);
    cache.append(bytes, 4).append(file);
    QBuffer device(&cache);
    device.open(QIODevice::ReadOnly);

    int progress = 0;
    puzzle->BuildPieces(&device, [&] { ++progress; }, {});
    EXPECT_EQ(progress, puzzle->m_nPieceCount);
    // The cached piece came from its record; the others, missing from the table, were built.
    EXPECT_EQ(groups[0]->m_pieces[1]->m_pImages[0]->size(), QSize(1, 1));
    EXPECT_TRUE(log.Text().contains("built anew"));
    for (const GP_GroupPtr& group : groups) {
        EXPECT_TRUE(group->m_pShadow);
        for (const GP_PiecePtr& piece : group->m_pieces)
            EXPECT_TRUE(piece->m_pImages[0]);
    }
    EXPECT_NE(Words(*groups[0]->m_pieces[1]->m_pImages[0]), original);
}
