// libFuzzer target: any bytes as the piece-image cache (".cash") of a stored puzzle, whose
// pieces are read from it as reopening the puzzle does (the fall-back build from the picture,
// which a damaged cache also leads to, is left to the tests: it is slow and reads no bytes).
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
    // The image decoders' complaints about damaged input would cost more than the decoding.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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
    g_bench->ReadCached(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
