// libFuzzer target: any bytes as the piece-image cache (".cash") of a stored puzzle, whose
// pieces are rebuilt from it as reopening the puzzle does.
#include "tests/fuzz/PuzzleFileExercise.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
puzzlefuzz::CacheBench* g_bench = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static puzzlefuzz::CacheBench bench;
    const CGP_Path* patterns = puzzlefuzz::Patterns(QStringLiteral(VELMORA_SOURCE_DIR "/resources/game/PATTERNS"));
    if (!bench.Open(QStringLiteral(VELMORA_SOURCE_DIR "/tests/fuzz/data/cache-puzzle.pzl"), patterns)) {
        std::fprintf(stderr, "PieceCacheFuzzer: tests/fuzz/data/cache-puzzle.pzl does not open\n");
        std::abort();
    }
    g_bench = &bench;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    g_bench->Rebuild(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
