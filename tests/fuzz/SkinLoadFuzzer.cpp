// libFuzzer target: any bytes as a skin file. The loader must neither crash, read out of
// bounds, hang nor allocate without bound, whatever the file says.
#include "tests/fuzz/SkinExercise.h"

#include <QGuiApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // "Src" names are taken relative to the test skin's folder, so that inputs can reach real
    // pictures, masks and fonts.
    ExerciseSkin(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                 QStringLiteral(VELMORA_SOURCE_DIR "/tests/skin/data"));
    return 0;
}
