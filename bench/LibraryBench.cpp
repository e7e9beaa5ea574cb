// How long reading a library of 1000 puzzles takes when the game starts (target: 2 s): each
// puzzle a 1000 x 750 picture in 192 pieces with a 140-pixel thumbnail, half of them played.
#include "engine/GP_Folders.h"
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "view/model/PuzzleLibrary.h"
#include "view/model/PuzzlePaths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {
constexpr int kPuzzles = 1000;
constexpr int kWidth = 1000;
constexpr int kHeight = 750;
constexpr float kPieceSize = 62;

QString SourceRoot()
{
    return QString::fromStdString(std::filesystem::path(__FILE__).parent_path().parent_path().string());
}

QImage Picture()
{
    QImage picture(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.setPixel(x, y, qRgb((x / 3 + y) & 255, (y / 2) & 255, (x ^ y) & 255));
    return picture;
}

// The application folder with the library, made once for every run.
const QTemporaryDir* Library()
{
    static QTemporaryDir folder;
    static bool made = false;
    if (made)
        return &folder;
    made = true;
    GP_SetAppFolder(folder.path());
    CPuzzleLibrary::CreateFolders();
    static CGP_Path patterns[kPatternCount];
    LoadPatterns(patterns, SourceRoot() + QStringLiteral("/resources/game/PATTERNS"));
    CGP_Puzzle puzzle;
    puzzle.m_pImage.reset(new QImage(Picture()));
    puzzle.m_fPieceSize = kPieceSize;
    puzzle.CreateGrid(&patterns[0], GP_PatternHasRandomTabs(0), true);
    puzzle.MakeThumbnail();
    puzzle.m_nCutWidth = kWidth;
    puzzle.m_nCutHeight = kHeight;
    const QString fresh = GP_PuzzlePaths::LibraryFile(QStringLiteral("fresh"));
    const QString played = GP_PuzzlePaths::LibraryFile(QStringLiteral("played"));
    puzzle.WriteNewFile(fresh);
    puzzle.BuildPieces(nullptr, {}, {});
    puzzle.m_bFresh = false;
    puzzle.m_nSolvingTime = 600;
    puzzle.m_fSolvedPercent = 40;
    puzzle.WriteNewFile(played);
    for (int i = 0; i < kPuzzles; ++i)
        QFile::copy(i % 2 ? played : fresh, GP_PuzzlePaths::LibraryFile(QStringLiteral("Puzzle %1").arg(i, 4, 10, QLatin1Char('0'))));
    QFile::remove(fresh);
    QFile::remove(played);
    return &folder;
}

void BM_ListThousandPuzzles(benchmark::State& state)
{
    if (!Library()->isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    size_t listed = 0;
    for (auto _ : state) {
        CPuzzleLibrary library;
        library.List();
        listed = library.Size();
    }
    if (listed != kPuzzles)
        state.SkipWithError("not every puzzle was listed");
    state.counters["puzzles"] = static_cast<double>(listed);
}
} // namespace

BENCHMARK(BM_ListThousandPuzzles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
