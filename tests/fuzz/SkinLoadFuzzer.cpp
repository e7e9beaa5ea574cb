// libFuzzer target: any bytes as a skin file. The loader must neither crash, read out of
// bounds, hang nor allocate without bound, whatever the file says.
#include "tests/fuzz/SkinExercise.h"

#include <QGuiApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the very end on purpose: destroyed among the exit handlers, after Qt's thread
    // storage, it would crash removing the fonts the skins added.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    // Complaints about damaged pictures and fonts would cost more than reading them.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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
