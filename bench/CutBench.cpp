// How long cutting takes: a new cut of a large picture, and the outline queries that piece
// building runs for every pixel row and every pixel near an outline.
#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {
const CGP_Path& Pattern(int index)
{
    static CGP_Path patterns[kPatternCount];
    // The shipped patterns, found beside this source in the tree.
    static const int loaded = LoadPatterns(
        patterns, QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../resources/game/PATTERNS"));
    (void)loaded;
    return patterns[index];
}

boost::shared_ptr<CGP_Puzzle> Cut(int width, int height, float pieceSize)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pImage.reset(new QImage(width, height, QImage::Format_ARGB32));
    puzzle->m_pImage->fill(Qt::gray);
    puzzle->m_fPieceSize = pieceSize;
    puzzle->m_fChaos = 0.5f;
    GP_srand(1);
    puzzle->CreateGrid(&Pattern(0), true, true);
    return puzzle;
}
} // namespace

// A new cut of a 1600 × 1200 picture into 40-pixel pieces (1200 pieces).
static void BM_CreateGrid(benchmark::State& state)
{
    for (auto _ : state) {
        auto puzzle = Cut(1600, 1200, 40);
        benchmark::DoNotOptimize(puzzle->m_pVerticalEdges.data());
    }
}
BENCHMARK(BM_CreateGrid)->Unit(benchmark::kMillisecond);

// The crossings of one inner piece's four sides for five sub-rows per pixel row of its box.
static void BM_PieceCrossings(benchmark::State& state)
{
    const float size = static_cast<float>(state.range(0));
    auto puzzle = Cut(static_cast<int>(size * 6), static_cast<int>(size * 6), size);
    const CGP_Path* sides[4];
    puzzle->GetPieceEdges(2, 2, sides);
    const int top = EdgeBounds(sides[0]).top;
    const int bottom = EdgeBounds(sides[2]).bottom;
    for (auto _ : state) {
        size_t found = 0;
        for (int y = top; y < bottom; ++y) {
            for (int k = 0; k < 5; ++k) {
                for (const CGP_Path* side : sides)
                    found += CrossingsAtY(side, y + 0.09 + 0.2 * k).size();
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PieceCrossings)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

// The nearest-outline search for every pixel of an edge's box (the bevel's worst case).
static void BM_DistanceToEdgeBox(benchmark::State& state)
{
    auto puzzle = Cut(600, 600, 100);
    const CGP_Path* edge = puzzle->m_pVerticalEdges[2 * 7 + 2].get();
    const GP_EdgeBox box = EdgeBounds(edge);
    for (auto _ : state) {
        int hits = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                double best = 3.5;
                float angle = 0;
                hits += DistanceToEdge(edge, x + 0.09, y + 0.09, best, 1, angle);
            }
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["pixels"] = double(box.right - box.left) * (box.bottom - box.top);
}
BENCHMARK(BM_DistanceToEdgeBox)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
