// velmora-tool make, info and play, run as the programs they are.
#include "tests/tools/ToolRun.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
QString Picture(const TestFolder& folder, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (y * 5) & 0xFF, (x ^ y) & 0xFF));
    const QString path = folder.File(QStringLiteral("picture.png"));
    image.save(path);
    return path;
}
} // namespace

TEST(ToolPuzzle, MakeInfoAndPlayARotatedPuzzleToTheEnd)
{
    TestFolder folder;
    ASSERT_TRUE(QFile::exists(QStringLiteral(VELMORA_GAME_DIR "/velmora-tool"))) << "build velmora-tool first";
    const QString picture = Picture(folder, 300, 200); // 6 x 4 pieces
    const ProgramRun made = Tool(folder, {QStringLiteral("make"), picture, QStringLiteral("-o"), QStringLiteral("TwentyFour.pzl"),
                                   QStringLiteral("--name"), QStringLiteral("TwentyFour"), QStringLiteral("--author"),
                                   QStringLiteral("Ada"), QStringLiteral("--piece-size"), QStringLiteral("50"),
                                   QStringLiteral("--fit"), QStringLiteral("300x200"), QStringLiteral("--rotate")});
    ASSERT_EQ(made.exitCode, 0) << made.err.constData();

    const QJsonObject fresh = Tool(folder, {QStringLiteral("info"), QStringLiteral("TwentyFour.pzl")}).Json();
    const QJsonObject header = fresh[QStringLiteral("header")].toObject();
    const QJsonObject settings = fresh[QStringLiteral("settings")].toObject();
    EXPECT_EQ(header[QStringLiteral("magic")].toString(), QStringLiteral("79646a70"));
    EXPECT_EQ(header[QStringLiteral("P")].toInt(), 16 + header[QStringLiteral("N")].toInt() + 269 + 35 * 16 + 28 + 30);
    EXPECT_EQ(settings[QStringLiteral("columns")].toInt(), 6);
    EXPECT_EQ(settings[QStringLiteral("rows")].toInt(), 4);
    EXPECT_EQ(settings[QStringLiteral("title")].toString(), QStringLiteral("TwentyFour"));
    EXPECT_EQ(settings[QStringLiteral("creator")].toString(), QStringLiteral("Ada"));
    EXPECT_EQ(settings[QStringLiteral("cutWidth")].toInt(), 300);
    EXPECT_TRUE(settings[QStringLiteral("fresh")].toBool());
    const QJsonObject options = settings[QStringLiteral("options")].toObject();
    EXPECT_TRUE(options[QStringLiteral("bevelledEdges")].toBool());
    EXPECT_TRUE(options[QStringLiteral("randomlyRotated")].toBool());
    EXPECT_FALSE(options[QStringLiteral("hidePicture")].toBool());
    EXPECT_EQ(fresh[QStringLiteral("corners")].toInt(), 35);
    EXPECT_TRUE(fresh[QStringLiteral("groups")].isNull());

    // Half way, then leave: progress and the cache are saved.
    const ProgramRun half = Tool(folder, {QStringLiteral("play"), QStringLiteral("TwentyFour.pzl"), QStringLiteral("--cache"),
                                   QStringLiteral("TwentyFour.cash"), QStringLiteral("--steps"), QStringLiteral("12"),
                                   QStringLiteral("--seed"), QStringLiteral("7")});
    ASSERT_EQ(half.exitCode, 0) << half.err.constData();
    const QJsonObject halfReport = half.Json();
    const int left = halfReport[QStringLiteral("groups")].toInt();
    EXPECT_EQ(halfReport[QStringLiteral("moves")].toInt(), 12);
    EXPECT_EQ(halfReport[QStringLiteral("joins")].toInt(), 24 - left);
    EXPECT_LE(left, 12) << "every move joins at least once";
    EXPECT_FALSE(halfReport[QStringLiteral("solved")].toBool());
    // Every join of single groups is one step of 23 towards the whole picture.
    EXPECT_NEAR(halfReport[QStringLiteral("solvedPercent")].toDouble(), (24 - left) * 100.0 / 23.0, 0.01);
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("TwentyFour.cash"))));
    const QJsonObject played = Tool(folder, {QStringLiteral("info"), QStringLiteral("TwentyFour.pzl")}).Json();
    EXPECT_FALSE(played[QStringLiteral("settings")].toObject()[QStringLiteral("fresh")].toBool());
    EXPECT_EQ(played[QStringLiteral("groups")].toArray().size(), left);

    // Resumed from the cache and played to the end: one group, solved, and no cache left.
    const ProgramRun end = Tool(folder, {QStringLiteral("play"), QStringLiteral("TwentyFour.pzl"), QStringLiteral("--cache"),
                                  QStringLiteral("TwentyFour.cash")});
    ASSERT_EQ(end.exitCode, 0) << end.err.constData();
    const QJsonObject report = end.Json();
    EXPECT_EQ(report[QStringLiteral("piecesFromCache")].toInt(), 24);
    EXPECT_EQ(report[QStringLiteral("groups")].toInt(), 1);
    EXPECT_TRUE(report[QStringLiteral("solved")].toBool());
    EXPECT_EQ(report[QStringLiteral("solvedPercent")].toDouble(), 100.0);
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("TwentyFour.cash"))));
    const QJsonObject solved = Tool(folder, {QStringLiteral("info"), QStringLiteral("TwentyFour.pzl")}).Json();
    EXPECT_TRUE(solved[QStringLiteral("settings")].toObject()[QStringLiteral("solved")].toBool());
    const QJsonArray groups = solved[QStringLiteral("groups")].toArray();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].toObject()[QStringLiteral("pieces")].toArray().size(), 24);
}

TEST(ToolPuzzle, DamagedFilesAndBadOptionsFailWithOneLine)
{
    TestFolder folder;
    const QString picture = Picture(folder, 200, 120);
    ASSERT_EQ(Tool(folder, {QStringLiteral("make"), picture, QStringLiteral("-o"), QStringLiteral("Small.pzl")}).exitCode, 0);
    const QByteArray whole = folder.Read(QStringLiteral("Small.pzl"));
    folder.Write(QStringLiteral("Cut.pzl"), whole.left(whole.size() - 10));
    for (const QString& command : {QStringLiteral("info"), QStringLiteral("play")}) {
        const ProgramRun run = Tool(folder, {command, QStringLiteral("Cut.pzl")});
        EXPECT_NE(run.exitCode, 0) << qPrintable(command);
        const QList<QByteArray> lines = run.err.trimmed().split('\n');
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().contains("Cut.pzl is damaged")) << run.err.constData();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(folder.Read(QStringLiteral("Cut.pzl")), whole.left(whole.size() - 10)) << "play saved nothing";
    EXPECT_EQ(Tool(folder, {QStringLiteral("make"), picture}).exitCode, 2);
    EXPECT_EQ(Tool(folder, {QStringLiteral("make"), picture, QStringLiteral("-o"), QStringLiteral("x.pzl"),
                            QStringLiteral("--pattern"), QStringLiteral("16")}).exitCode, 2);
    EXPECT_EQ(Tool(folder, {QStringLiteral("make"), picture, QStringLiteral("-o"), QStringLiteral("x.pzl"),
                            QStringLiteral("--pieces"), QStringLiteral("0")}).exitCode, 2);
    EXPECT_EQ(Tool(folder, {QStringLiteral("play"), QStringLiteral("Small.pzl"), QStringLiteral("--steps"), QStringLiteral("-1")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("x.pzl"))));
}
