// velmora-tool send, with Debian's makensis, and the package opened with 7-Zip.
#include "tests/support/FriendPackageReader.h"
#include "tests/support/TestFolder.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// An application folder with the game's DATA and PATTERNS and three puzzles, one of them played.
QString MakeApp(const TestFolder& folder)
{
    const QString app = folder.File(QStringLiteral("app"));
    for (const char* sub : {"DATA", "PATTERNS", "Puzzles/simple"})
        QDir().mkpath(app + QLatin1Char('/') + QLatin1String(sub));
    for (const char* sub : {"DATA", "PATTERNS"}) {
        const QDir shipped(QStringLiteral(VELMORA_GAME_DIR "/") + QLatin1String(sub));
        for (const QString& file : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(file), app + QLatin1Char('/') + QLatin1String(sub) + QLatin1Char('/') + file);
    }
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
    picture.save(folder.File(QStringLiteral("picture.png")));
    for (const char* name : {"Harbour", "Mill at dusk", "Orchard"}) {
        const ProgramRun made = RunProgram(kTool, {QStringLiteral("make"), folder.File(QStringLiteral("picture.png")), QStringLiteral("-o"),
                                       app + QStringLiteral("/Puzzles/simple/%1.pzl").arg(QLatin1String(name)),
                                       QStringLiteral("--name"), QLatin1String(name), QStringLiteral("--piece-size"), QStringLiteral("100")},
                               app);
        EXPECT_EQ(made.exitCode, 0) << made.err.constData();
    }
    const ProgramRun played = RunProgram(kTool, {QStringLiteral("play"), QStringLiteral("Puzzles/simple/Orchard.pzl"), QStringLiteral("--steps"),
                                     QStringLiteral("4")}, app);
    EXPECT_EQ(played.exitCode, 0) << played.err.constData();
    return app;
}
} // namespace

TEST(ToolSend, ThreePuzzlesBecomeOnePackageOfThreeUnsolvedPuzzleFiles)
{
    const QString makensis = QStandardPaths::findExecutable(QStringLiteral("makensis"));
    ASSERT_FALSE(makensis.isEmpty()) << "makensis is missing: install Debian's nsis package (./dev.sh installs it)";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
        << "7z is missing: install Debian's p7zip-full package (./dev.sh installs it)";
    TestFolder folder;
    const QString app = MakeApp(folder);
    // The package is built in a temporary folder of this test's own.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(folder.File(QStringLiteral("tmp")));
    env.insert(QStringLiteral("TMPDIR"), folder.File(QStringLiteral("tmp")));
    const ProgramRun sent = RunProgram(kTool, {QStringLiteral("send"), QStringLiteral("--app"), app, QStringLiteral("Harbour"),
                                   QStringLiteral("Mill at dusk"), QStringLiteral("Orchard"), QStringLiteral("-o"),
                                   folder.File(QStringLiteral("Puzzles.exe"))}, folder.Path(), env);
    ASSERT_EQ(sent.exitCode, 0) << sent.err.constData();
    const QStringList files = UnpackedPuzzleFiles(folder.File(QStringLiteral("Puzzles.exe")), folder.File(QStringLiteral("unpacked")));
    EXPECT_EQ(files, (QStringList{QStringLiteral("Puzzles/simple/Harbour.pzl"), QStringLiteral("Puzzles/simple/Mill at dusk.pzl"),
                                  QStringLiteral("Puzzles/simple/Orchard.pzl")}));
    for (const QString& file : files) {
        const ProgramRun info = RunProgram(kTool, {QStringLiteral("info"), folder.File(QStringLiteral("unpacked/")) + file}, folder.Path());
        ASSERT_EQ(info.exitCode, 0) << qPrintable(file) << info.err.constData();
        const QJsonObject settings = QJsonDocument::fromJson(info.out).object()[QStringLiteral("settings")].toObject();
        EXPECT_TRUE(settings[QStringLiteral("fresh")].toBool()) << qPrintable(file);
        EXPECT_EQ(settings[QStringLiteral("solvingTime")].toInt(), 0) << qPrintable(file);
    }
    EXPECT_TRUE(QDir(folder.File(QStringLiteral("tmp"))).entryList({QStringLiteral("Puzzles.exe"), QStringLiteral("velmora-send-*")}).isEmpty())
        << "the package stays in the build folder";
}

TEST(ToolSend, AFailedSendEndsWithOneLine)
{
    TestFolder folder;
    const QString app = folder.File(QStringLiteral("app"));
    QDir().mkpath(app + QStringLiteral("/Puzzles/simple"));
    QDir().mkpath(app + QStringLiteral("/DATA"));
    folder.Write(QStringLiteral("app/Puzzles/simple/Known.pzl"), "a puzzle");
    QProcessEnvironment noCompiler = QProcessEnvironment::systemEnvironment();
    noCompiler.insert(QStringLiteral("PATH"), folder.Path());
    const struct Row
    {
        QStringList args;
        QProcessEnvironment env;
        const char* says;
    } rows[] = {
        {{QStringLiteral("Unknown"), QStringLiteral("-o"), QStringLiteral("P.exe")}, {}, "no puzzle named \"Unknown\""},
        {{QStringLiteral("Known"), QStringLiteral("-o"), QStringLiteral("P.exe")}, noCompiler, "no makensis"},
        {{QStringLiteral("Known")}, {}, "no package file given"},
    };
    for (const Row& row : rows) {
        const ProgramRun run = RunProgram(kTool, QStringList{QStringLiteral("send"), QStringLiteral("--app"), app} + row.args, folder.Path(), row.env);
        EXPECT_NE(run.exitCode, 0) << row.says;
        EXPECT_EQ(run.err.count("velmora-tool: send: "), 1) << run.err.constData();
        EXPECT_TRUE(run.err.contains(row.says)) << run.err.constData();
        EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("P.exe"))));
    }
}
