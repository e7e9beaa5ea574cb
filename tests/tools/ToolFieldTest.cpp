// velmora-tool field, run as the program it is: a puzzle opened as the game opens it, scripts of
// pointer events replayed against it, and what it writes.
#include "tests/support/TestFolder.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject Json() const { return QJsonDocument::fromJson(out).object(); }
};

ToolRun Tool(const TestFolder& folder, const QStringList& args)
{
    QProcess process;
    process.setWorkingDirectory(folder.Path());
    process.start(QStringLiteral(VELMORA_GAME_DIR "/velmora-tool"), args);
    ToolRun run;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "velmora-tool " << qPrintable(args.join(' ')) << " did not finish";
        process.kill();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A fresh 4 x 3 puzzle of 100-pixel pieces, without turning.
QString MakePuzzle(const TestFolder& folder)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
    picture.save(folder.File(QStringLiteral("picture.png")));
    const ToolRun made = Tool(folder, {QStringLiteral("make"), QStringLiteral("picture.png"), QStringLiteral("-o"),
                                   QStringLiteral("Field.pzl"), QStringLiteral("--piece-size"), QStringLiteral("100")});
    EXPECT_EQ(made.exitCode, 0) << made.err.constData();
    return QStringLiteral("Field.pzl");
}

ToolRun Field(const TestFolder& folder, const QString& script, const QStringList& more = {})
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
    const ToolRun still = Field(folder, QStringLiteral("# nothing happens\n\n"));
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
    const ToolRun dragged = Field(folder, drag);
    ASSERT_EQ(dragged.exitCode, 0) << dragged.err.constData();
    const QJsonObject moved = FirstPiece(dragged.Json()[QStringLiteral("groups")].toArray().first().toObject());
    EXPECT_EQ(moved[QStringLiteral("index")], piece[QStringLiteral("index")]);
    EXPECT_EQ(moved[QStringLiteral("x")].toInt(), piece[QStringLiteral("x")].toInt() + 50);
    EXPECT_EQ(moved[QStringLiteral("y")].toInt(), piece[QStringLiteral("y")].toInt() + 40);

    const QPoint near = grip + QPoint(50, 40) + QPoint(-60, 0);
    const QString push = drag + QStringLiteral("rpress %1 %2\nwait 100\nrrelease %1 %2\nwait 1000\n").arg(near.x()).arg(near.y());
    const ToolRun pushed = Field(folder, push, {QStringLiteral("--png"), QStringLiteral("field.png"), QStringLiteral("--json"),
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
        {"press 10 10\n# fine so far\ncommand hint\n", "line 3: unknown event \"command hint\""},
        {"move 10\n", "line 1: \"move\" takes 2 values"},
        {"\n\npress 10 ten\n", "line 3: \"ten\" is not a number"},
        {"press 10 10 shift\n", "line 1: \"shift\" is not \"ctrl\""},
        {"key Q\n", "line 1: unknown key \"Q\""},
        {"wait -5\n", "line 1: a wait of -5 ms"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        const ToolRun run = Field(folder, QString::fromLatin1(row.script));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(row.says)) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << "one line";
    }
    const ToolRun missing = Tool(folder, {QStringLiteral("field"), QStringLiteral("Field.pzl")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("--events"));
}
