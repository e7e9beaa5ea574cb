// What a change on the creation screen costs: the picture cut anew into about 1000 pieces, and
// the preview's picture drawn again with the new cut over it.
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {
const CGP_Path* Patterns()
{
    static CGP_Path patterns[kPatternCount];
    static const int loaded = LoadPatterns(
        patterns, QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../resources/game/PATTERNS"));
    (void)loaded;
    return patterns;
}

// A picture filling the area of a 1280 x 750 field, cut into 984 pieces of 28 pixels.
CGP_Puzzle& Puzzle()
{
    static CGP_Puzzle puzzle;
    if (!puzzle.m_pImage) {
        QImage picture(1152, 676, QImage::Format_ARGB32);
        picture.fill(QColor(40, 90, 150));
        puzzle.UsePicture(picture, picture.size());
        puzzle.m_fPieceSize = 28;
        GP_srand(1);
    }
    return puzzle;
}
} // namespace

// A parameter change: a new cut with the current pattern.
static void BM_CreationRecut(benchmark::State& state)
{
    CGP_Puzzle& puzzle = Puzzle();
    int pattern = 0;
    for (auto _ : state) {
        pattern = (pattern + 1) % kPatternCount;
        puzzle.CreateGrid(&Patterns()[pattern], GP_PatternHasRandomTabs(pattern), true);
        benchmark::DoNotOptimize(puzzle.m_pVerticalEdges.data());
    }
    state.counters["pieces"] = puzzle.m_nPieceCount;
}
BENCHMARK(BM_CreationRecut)->Unit(benchmark::kMillisecond);

// The preview after a change: the picture with the whole cut drawn over it.
static void BM_CreationPreviewDraw(benchmark::State& state)
{
    CGP_Puzzle& puzzle = Puzzle();
    puzzle.CreateGrid(&Patterns()[0], true, true);
    for (auto _ : state) {
        QImage drawn = puzzle.m_pImage->convertToFormat(QImage::Format_RGB32);
        QPainter painter(&drawn);
        DrawCutLines(puzzle, painter, 0, 0);
        painter.end();
        benchmark::DoNotOptimize(drawn.constBits());
    }
}
BENCHMARK(BM_CreationPreviewDraw)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
