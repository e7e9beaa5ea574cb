// The whole game on an X server of its own, played with real pointer events: a puzzle named on
// the command line opens for play, its help picture goes with a click, and a piece dragged and
// dropped beside its neighbour joins it. The join is read from the session log and seen on the
// screen: where there was board, the picture now runs on across the seam.
#include "shell/app/ROruzoz.h"
#include "tests/shell/XGame.h"
#include "tests/support/TestFolder.h"
#include "tests/support/TestPuzzles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

TEST(FieldGame, ARealDragDropsAPieceBesideItsNeighbourAndTheyJoin)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed (dev.sh installs them)";
    TestFolder folder;
    // Already in the library: a file from elsewhere would come in as a copy without its cache.
    const QString path = folder.File(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    const boost::shared_ptr<CGP_Puzzle> puzzle = LayOutPuzzle(folder, path);
    const JoinDrag join = JoinDragOf(*puzzle);
    const QPoint origin = join.origin;

    XServer server;
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start";
    QProcess game;
    ASSERT_TRUE(StartGameOnDisplay(game, folder, server, path)) << "the game never opened the puzzle for play";
    QThread::msleep(1500);

    // The first game shows its help picture: a click anywhere takes it away.
    const QString x = QStringLiteral("xdotool");
    ASSERT_TRUE(RunOnDisplay(server.Display(), x, {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("500"),
                                          QStringLiteral("700"), QStringLiteral("click"), QStringLiteral("1")}));
    QThread::msleep(800);
    const QImage before = ScreenShot(server.Display(), folder, QStringLiteral("before.png"));
    const QRgb board = before.pixel(origin + QPoint(150, 50));

    ASSERT_TRUE(RunOnDisplay(server.Display(), x, DragArguments(join.grip, join.drop)));
    EXPECT_TRUE(WaitForLog(folder, "PlaySession: a drop joined pieces, 5 groups left\n", 10000))
        << "no join in the log:\n" << folder.Read(QStringLiteral("Exception.log")).toStdString();
    QThread::msleep(500);
    const QImage after = ScreenShot(server.Display(), folder, QStringLiteral("after.png"));

    // Inside both cells, away from the tabs (they sit in the middle third of a side and reach
    // less than a third in), the screen shows the picture's own colours on both sides of the seam.
    const QImage picture = CellPicture(3 * kPiece, 2 * kPiece, kPiece);
    const QPoint samples[] = {{20, 20}, {80, 20}, {20, 80}, {50, 50}, {120, 20}, {180, 20}, {150, 50}};
    for (const QPoint& sample : samples) {
        const QRgb shown = after.pixel(origin + sample);
        const QRgb expected = picture.pixel(sample);
        EXPECT_LE(std::abs(qRed(shown) - qRed(expected)) + std::abs(qGreen(shown) - qGreen(expected))
                      + std::abs(qBlue(shown) - qBlue(expected)), 6)
            << "at " << sample.x() << "," << sample.y();
    }
    EXPECT_NE(board, picture.pixel(150, 50)) << "the place was board before the drop";

    game.terminate();
    if (!game.waitForFinished(10000))
        game.kill();
    EXPECT_TRUE(folder.Read(QStringLiteral("Exception.log")).contains("END SESSION"));
}

TEST(FieldGame, TheCommandLineNamesAPuzzleByAnyArgumentThatIsNotAFlag)
{
    const QString here = QDir::currentPath();
    struct Row
    {
        QStringList arguments;
        QString puzzle;
    } rows[] = {
        {{"velmora"}, ""},
        {{"velmora", "/Embedding", "-Automation"}, ""},
        {{"velmora", "Meadow.pzl"}, here + "/Meadow.pzl"},
        {{"velmora", "/Embedding", "/home/ada/Puzzles/Meadow.pzl"}, "/home/ada/Puzzles/Meadow.pzl"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CROruzozApp::PuzzleNamedBy(row.arguments), row.puzzle) << qPrintable(row.arguments.join(' '));
}
