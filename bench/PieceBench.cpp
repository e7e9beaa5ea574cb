// How long building every piece image and shadow of a large puzzle takes: a 1600 × 1200 picture
// cut into pieces of 43 pixels (999 pieces), bevel, rotation and shadows on, on 1 and 2 builders.
#include "engine/GP_Path.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr float kPieceSize = 43;

QString SourceRoot()
{
    return QString::fromStdString(std::filesystem::path(__FILE__).parent_path().parent_path().string());
}

// A photograph when the system has one, else a picture with a photograph's fine detail.
QImage BenchPicture()
{
    QImage photo(QStringLiteral("/usr/share/backgrounds/mate/nature/Garden.jpg"));
    if (!photo.isNull())
        return photo.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
    QImage picture(kWidth, kHeight, QImage::Format_ARGB32);
    uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 31);
            picture.setPixel(x, y, qRgb((x / 7 + n) & 255, (y / 5 + n) & 255, ((x + y) / 11 + n) & 255));
        }
    }
    return picture;
}

void BuildAllPieces(benchmark::State& state)
{
    static CGP_Path patterns[kPatternCount];
    static const int loaded = LoadPatterns(patterns, SourceRoot() + QStringLiteral("/resources/game/PATTERNS"));
    if (loaded == 0) {
        state.SkipWithError("no patterns");
        return;
    }
    CGP_Puzzle puzzle;
    puzzle.m_pImage.reset(new QImage(BenchPicture()));
    puzzle.m_nBrightness = 110;
    puzzle.m_fPieceSize = kPieceSize;
    puzzle.m_bOptions[CGP_Puzzle::kOptionBevel] = true;
    puzzle.m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    puzzle.m_bOptions[CGP_Puzzle::kOptionShadows] = true;
    GP_srand(1);
    puzzle.CreateGrid(&patterns[0], true, true);
    CGP_PieceWorkers workers(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        puzzle.m_pGroups.reset();
        workers.BuildPieces(puzzle, nullptr);
        benchmark::DoNotOptimize(puzzle.m_pGroups->Size());
    }
    state.counters["pieces"] = static_cast<double>(puzzle.m_nPieceCount);
}
} // namespace

BENCHMARK(BuildAllPieces)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3)
    ->ReportAggregatesOnly(false);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
