// libFuzzer target: any bytes as a puzzle file (".pzl"), opened as the game opens a puzzle.
#include "tests/fuzz/PuzzleFileExercise.h"

#include <QGuiApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // The image decoders' complaints about damaged input would cost more than the decoding.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CGP_Path* patterns = puzzlefuzz::Patterns(QStringLiteral(VELMORA_SOURCE_DIR "/resources/game/PATTERNS"));
    puzzlefuzz::ExercisePuzzleFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), patterns);
    return 0;
}
