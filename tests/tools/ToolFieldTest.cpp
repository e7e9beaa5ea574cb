// velmora-tool field, run as the program it is: a puzzle opened as the game opens it, scripts of
// pointer events replayed against it, and what it writes.
#include "tests/tools/ToolRun.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
// A fresh 4 x 3 puzzle of 100-pixel pieces, without turning.
QString MakePuzzle(const TestFolder& folder)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
    picture.save(folder.File(QStringLiteral("picture.png")));
    const ProgramRun made = Tool(folder, {QStringLiteral("make"), QStringLiteral("picture.png"), QStringLiteral("-o"),
                                   QStringLiteral("Field.pzl"), QStringLiteral("--piece-size"), QStringLiteral("100")});
    EXPECT_EQ(made.exitCode, 0) << made.err.constData();
    return QStringLiteral("Field.pzl");
}

ProgramRun Field(const TestFolder& folder, const QString& script, const QStringList& more = {})
{
    folder.Write(QStringLiteral("events.txt"), script.toUtf8());
    return Tool(folder, QStringList{QStringLiteral("field"), QStringLiteral("Field.pzl"), QStringLiteral("--events"),
                                    QStringLiteral("events.txt")} + more);
}

QJsonObject FirstPiece(const QJsonObject& group)
{
    return group[QStringLiteral("pieces")].toArray().first().toObject();
}

QPoint Middle(const QJsonObject& piece)
{
    return QPoint(piece[QStringLiteral("x")].toInt() + piece[QStringLiteral("width")].toInt() / 2,
                  piece[QStringLiteral("y")].toInt() + piece[QStringLiteral("height")].toInt() / 2);
}
} // namespace

TEST(ToolField, ReplaysADragAndAPushAndWritesTheFieldInItsOwnOrder)
{
    TestFolder folder;
    MakePuzzle(folder);
    const ProgramRun still = Field(folder, QStringLiteral("# nothing happens\n\n"));
    ASSERT_EQ(still.exitCode, 0) << still.err.constData();
    EXPECT_TRUE(still.out.startsWith("{\"mode\":\"Play\",\"solved\":false,\"percent\":0,\"field\":[0,50,1280,800],\"trays\":"
                                     "[{\"location\":3,\"open\":false,\"autoOpened\":false,\"openRect\":[641,441,1280,800],"
                                     "\"handle\":[1231,751,1278,798]},{\"location\":4,"))
        << still.out.left(300).constData();
    const QJsonArray groups = still.Json()[QStringLiteral("groups")].toArray();
    ASSERT_EQ(groups.size(), 12);
    const QJsonObject top = groups.first().toObject();
    EXPECT_TRUE(QByteArray(still.out).contains("{\"z\":0,\"location\":0,\"selected\":false,\"held\":false,\"bounds\":["));
    EXPECT_EQ(Field(folder, QString()).out, still.out) << "the same seed scatters the same way";

    // The top piece dragged 50 right and 40 down, then every piece near (40, 700) pushed away.
    const QJsonObject piece = FirstPiece(top);
    const QPoint grip = Middle(piece);
    const QString drag = QStringLiteral("press %1 %2\nmove %3 %4\nrelease %3 %4\n")
                             .arg(grip.x()).arg(grip.y()).arg(grip.x() + 50).arg(grip.y() + 40);
    const ProgramRun dragged = Field(folder, drag);
    ASSERT_EQ(dragged.exitCode, 0) << dragged.err.constData();
    const QJsonObject moved = FirstPiece(dragged.Json()[QStringLiteral("groups")].toArray().first().toObject());
    EXPECT_EQ(moved[QStringLiteral("index")], piece[QStringLiteral("index")]);
    EXPECT_EQ(moved[QStringLiteral("x")].toInt(), piece[QStringLiteral("x")].toInt() + 50);
    EXPECT_EQ(moved[QStringLiteral("y")].toInt(), piece[QStringLiteral("y")].toInt() + 40);

    const QPoint near = grip + QPoint(50, 40) + QPoint(-60, 0);
    const QString push = drag + QStringLiteral("rpress %1 %2\nwait 100\nrrelease %1 %2\nwait 1000\n").arg(near.x()).arg(near.y());
    const ProgramRun pushed = Field(folder, push, {QStringLiteral("--png"), QStringLiteral("field.png"), QStringLiteral("--json"),
                                            QStringLiteral("field.json"), QStringLiteral("--size"), QStringLiteral("1280x800")});
    ASSERT_EQ(pushed.exitCode, 0) << pushed.err.constData();
    EXPECT_TRUE(pushed.out.isEmpty()) << "the JSON goes to its file";
    const QJsonObject fled = FirstPiece(QJsonDocument::fromJson(folder.Read(QStringLiteral("field.json")))
                                            .object()[QStringLiteral("groups")].toArray().first().toObject());
    // Pushed right for 100 ms held plus 400 ms after: at least 3 pixels a tick.
    EXPECT_GE(fled[QStringLiteral("x")].toInt(), moved[QStringLiteral("x")].toInt() + 3 * 25);
    EXPECT_EQ(QImage(folder.File(QStringLiteral("field.png"))).size(), QSize(1280, 800));
}

TEST(ToolField, ABadScriptFailsWithItsLineNumber)
{
    TestFolder folder;
    MakePuzzle(folder);
    struct Row
    {
        const char* script;
        const char* says;
    } rows[] = {
        {"press 10 10\n# fine so far\njump 3\n", "line 3: unknown event \"jump 3\""},
        {"command hint\ncommand cheat\n", "line 2: unknown command \"cheat\""},
        {"move 10\n", "line 1: \"move\" takes 2 values"},
        {"\n\npress 10 ten\n", "line 3: \"ten\" is not a number"},
        {"press 10 10 shift\n", "line 1: \"shift\" is not \"ctrl\""},
        {"key Q\n", "line 1: unknown key \"Q\""},
        {"wait -5\n", "line 1: a wait of -5 ms"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        const ProgramRun run = Field(folder, QString::fromLatin1(row.script));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(row.says)) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << "one line";
    }
    const ProgramRun missing = Tool(folder, {QStringLiteral("field"), QStringLiteral("Field.pzl")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("--events"));
}

TEST(ToolField, PlayCommandsRunTheMenusHandlersAndExitSavesTheGame)
{
    TestFolder folder;
    MakePuzzle(folder);
    // A hint two phases on, then the pause box.
    const ProgramRun hinted = Field(folder, QStringLiteral("command hint\nwait 650\ncommand pause\n"));
    ASSERT_EQ(hinted.exitCode, 0) << hinted.err.constData();
    const QJsonObject first = hinted.Json();
    const QJsonObject hint = first[QStringLiteral("hint")].toObject();
    EXPECT_EQ(hint[QStringLiteral("countdown")].toInt(), 5);
    const QJsonArray pair = hint[QStringLiteral("groups")].toArray();
    ASSERT_EQ(pair.size(), 2);
    EXPECT_NE(pair[0].toInt(), pair[1].toInt());
    EXPECT_EQ(first[QStringLiteral("hintsUsed")].toInt(), 1);
    EXPECT_TRUE(first[QStringLiteral("paused")].toBool());
    const QJsonObject shown = first[QStringLiteral("picture")].toObject();
    EXPECT_TRUE(shown[QStringLiteral("shown")].toBool());
    EXPECT_EQ(shown[QStringLiteral("zoom")].toDouble(), 3.0);

    // G closes the pause box; three zooms come back to the first zoom state; Pull Apart keeps
    // clear of the picture window; two seconds are played; then the game is left.
    const ProgramRun left = Field(folder, QStringLiteral("command hint\nwait 650\ncommand pause\nkey G\ncommand zoom\n"
                                                      "command zoom\ncommand zoom\ncommand pull-apart\nwait 2000\n"
                                                      "command exit\n"));
    ASSERT_EQ(left.exitCode, 0) << left.err.constData();
    const QJsonObject json = left.Json();
    EXPECT_EQ(json[QStringLiteral("mode")].toString(), QStringLiteral("MyPuzzles"));
    EXPECT_TRUE(json[QStringLiteral("hint")].isNull()) << "the hint pair outlived its six phases";
    EXPECT_TRUE(json[QStringLiteral("ghost")].toBool());
    EXPECT_FALSE(json[QStringLiteral("paused")].toBool());
    EXPECT_EQ(json[QStringLiteral("seconds")].toInt(), 2);
    const QJsonObject picture = json[QStringLiteral("picture")].toObject();
    EXPECT_EQ(picture[QStringLiteral("zoom")].toDouble(), 5.0);
    const QJsonArray edges = picture[QStringLiteral("rect")].toArray();
    const QRect window(QPoint(edges[0].toInt(), edges[1].toInt()), QPoint(edges[2].toInt() - 1, edges[3].toInt() - 1));
    const QJsonArray groups = json[QStringLiteral("groups")].toArray();
    for (const QJsonValue& group : groups) {
        const QJsonObject piece = FirstPiece(group.toObject());
        const QRect place(piece[QStringLiteral("x")].toInt(), piece[QStringLiteral("y")].toInt(),
                          piece[QStringLiteral("width")].toInt(), piece[QStringLiteral("height")].toInt());
        EXPECT_FALSE(place.intersects(window)) << place.x() << "," << place.y();
    }

    // The file holds the game as the field left it, and the cache its pieces.
    const ProgramRun info = Tool(folder, {QStringLiteral("info"), QStringLiteral("Field.pzl")});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    const QJsonObject settings = info.Json()[QStringLiteral("settings")].toObject();
    EXPECT_FALSE(settings[QStringLiteral("fresh")].toBool());
    EXPECT_EQ(settings[QStringLiteral("hintsUsed")].toInt(), 1);
    EXPECT_EQ(settings[QStringLiteral("solvingTime")].toInt(), 2);
    const QJsonArray saved = info.Json()[QStringLiteral("groups")].toArray();
    ASSERT_EQ(saved.size(), groups.size());
    for (qsizetype i = 0; i < saved.size(); ++i) {
        const QJsonObject a = saved[i].toObject()[QStringLiteral("pieces")].toArray().first().toObject();
        const QJsonObject b = FirstPiece(groups[i].toObject());
        EXPECT_EQ(QPoint(a[QStringLiteral("x")].toInt(), a[QStringLiteral("y")].toInt()),
                  QPoint(b[QStringLiteral("x")].toInt(), b[QStringLiteral("y")].toInt())) << i;
    }
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("Puzzles/Cash/Field.cash"))));

    const ProgramRun after = Field(folder, QStringLiteral("command exit\nwait 10\n"));
    EXPECT_EQ(after.exitCode, 2);
    EXPECT_TRUE(after.err.contains("line 2: the game was left before this line")) << after.err.constData();
}
