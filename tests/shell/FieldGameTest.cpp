// The whole game on an X server of its own, played with real pointer events: a puzzle named on
// the command line opens for play, its help picture goes with a click, and a piece dragged and
// dropped beside its neighbour joins it. The join is read from the session log and seen on the
// screen: where there was board, the picture now runs on across the seam.
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/app/ROruzoz.h"
#include "tests/shell/GameProcess.h"
#include "tests/support/TestFolder.h"
#include "tests/support/TestPuzzles.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

namespace {
constexpr int kPiece = 100;

// Xvfb on a display number it picks itself, stopped when the object goes.
class XServer
{
public:
    XServer()
    {
        m_process.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                 QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp")});
        QElapsedTimer clock;
        clock.start();
        while (!m_process.canReadLine() && clock.elapsed() < 10000)
            m_process.waitForReadyRead(200);
        const QByteArray line = m_process.readLine().trimmed();
        if (!line.isEmpty())
            m_display = QStringLiteral(":") + QString::fromLatin1(line);
    }
    ~XServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    const QString& Display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

bool RunOnDisplay(const QString& display, const QString& program, const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(env);
    process.start(program, args);
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

QImage Screen(const QString& display, const TestFolder& folder, const QString& name)
{
    const QString path = folder.File(name);
    EXPECT_TRUE(RunOnDisplay(display, QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}));
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Waits until the log holds the line, after the first line when one is given.
bool WaitForLog(const TestFolder& folder, const QByteArray& line, int ms, const QByteArray& after = QByteArray())
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        const QByteArray log = folder.Read(QStringLiteral("Exception.log"));
        const qsizetype from = after.isEmpty() ? 0 : log.indexOf(after);
        if (from >= 0 && log.indexOf(line, from) >= 0)
            return true;
        QThread::msleep(100);
    }
    return false;
}

void CopyFolder(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

GP_PiecePtr PieceAt(CGP_Puzzle& puzzle, int index)
{
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        if (group->m_pieces.front()->m_nIndex == index)
            return group->m_pieces.front();
    }
    return {};
}

// A six-piece puzzle already under way, its pieces where the test wants them and their images
// in the cache, so that opening it scatters nothing.
boost::shared_ptr<CGP_Puzzle> LayOutPuzzle(const TestFolder& folder, const QString& path)
{
    TestPuzzleOptions options;
    options.width = 3 * kPiece;
    options.height = 2 * kPiece;
    options.pieceSize = kPiece;
    const boost::shared_ptr<CGP_Puzzle> puzzle = MakeTestPuzzle(options);
    CGP_PieceWorkers(1).BuildPieces(*puzzle, nullptr);
    const QPoint places[6] = {{200, 300}, {600, 250}, {750, 520}, {450, 560}, {80, 560}, {800, 100}};
    for (int index = 0; index < 6; ++index) {
        PieceAt(*puzzle, index)->m_nX = places[index].x();
        PieceAt(*puzzle, index)->m_nY = places[index].y();
    }
    puzzle->m_bFresh = false;
    puzzle->m_nSolvingTime = 5;
    EXPECT_TRUE(puzzle->WriteNewFile(path));
    EXPECT_TRUE(puzzle->SaveProgress(path));
    QDir().mkpath(folder.File(QStringLiteral("Puzzles/Cash")));
    QFile cache(folder.File(QStringLiteral("Puzzles/Cash/Meadow.cash")));
    EXPECT_TRUE(cache.open(QIODevice::WriteOnly) && puzzle->WritePieceCache(cache));
    return puzzle;
}
} // namespace

TEST(FieldGame, ARealDragDropsAPieceBesideItsNeighbourAndTheyJoin)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed (dev.sh installs them)";
    TestFolder folder;
    CopyFolder(QStringLiteral(VELMORA_GAME_DIR "/PATTERNS"), folder.File(QStringLiteral("PATTERNS")));
    CopyFolder(QStringLiteral(VELMORA_GAME_DIR "/SKINS Nox"), folder.File(QStringLiteral("SKINS Nox")));
    // Already in the library: a file from elsewhere would come in as a copy without its cache.
    QDir().mkpath(folder.File(QStringLiteral("Puzzles/simple")));
    const QString path = folder.File(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    const boost::shared_ptr<CGP_Puzzle> puzzle = LayOutPuzzle(folder, path);
    const GP_PiecePtr left = PieceAt(*puzzle, 0);
    const GP_PiecePtr moved = PieceAt(*puzzle, 1);
    // Where the picture's top-left corner lies once the left piece is in place, and where the
    // middle piece must go to sit beside it.
    const QPoint origin(left->m_nX - left->m_nHomeX[0], left->m_nY - left->m_nHomeY[0]);
    const QPoint target = origin + QPoint(moved->m_nHomeX[0], moved->m_nHomeY[0]);
    const QPoint grip(moved->m_nX + moved->Width() / 2, moved->m_nY + moved->Height() / 2);
    const QPoint drop = grip + target - QPoint(moved->m_nX, moved->m_nY);

    XServer server;
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start";
    QProcess game;
    QProcessEnvironment env = GameEnvironment(folder.File(QStringLiteral("run")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), server.Display());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.File(QStringLiteral("config")));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(folder.Path());
    game.start(GameProgram(), {path});
    ASSERT_TRUE(WaitForLog(folder, "CChildView::OpenPuzzleForPlay: ", 30000)) << "the puzzle was never opened";
    ASSERT_TRUE(WaitForLog(folder, "ChangeGameMode\n", 10000, "CChildView::OpenPuzzleForPlay: "))
        << "the game never entered the field";
    QThread::msleep(1500);

    // The first game shows its help picture: a click anywhere takes it away.
    const QString x = QStringLiteral("xdotool");
    ASSERT_TRUE(RunOnDisplay(server.Display(), x, {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("500"),
                                          QStringLiteral("700"), QStringLiteral("click"), QStringLiteral("1")}));
    QThread::msleep(800);
    const QImage before = Screen(server.Display(), folder, QStringLiteral("before.png"));
    const QRgb board = before.pixel(origin + QPoint(150, 50));

    QStringList drag{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(grip.x()), QString::number(grip.y()),
                     QStringLiteral("mousedown"), QStringLiteral("1")};
    for (int step = 1; step <= 6; ++step) {
        const QPoint at = grip + (drop - grip) * step / 6;
        drag << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove") << QStringLiteral("--sync")
             << QString::number(at.x()) << QString::number(at.y());
    }
    drag << QStringLiteral("mouseup") << QStringLiteral("1");
    ASSERT_TRUE(RunOnDisplay(server.Display(), x, drag));
    EXPECT_TRUE(WaitForLog(folder, "PlaySession: a drop joined pieces, 5 groups left\n", 10000))
        << "no join in the log:\n" << folder.Read(QStringLiteral("Exception.log")).toStdString();
    QThread::msleep(500);
    const QImage after = Screen(server.Display(), folder, QStringLiteral("after.png"));

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
