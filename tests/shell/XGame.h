#pragma once

// What the whole-game tests on an X server of their own share: the server, programs run on it,
// waiting for the game's session log, the game's folders copied for a run, and a puzzle laid
// out where the test wants its pieces.
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "tests/shell/GameProcess.h"
#include "tests/support/TestFolder.h"
#include "tests/support/TestPuzzles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

// The whole-game tests need an X server and a pointer to drive it.
inline bool XToolsPresent()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}
#define VELMORA_SKIP_WITHOUT_X_TOOLS()                                                                                       \
    if (!XToolsPresent())                                                                                                    \
    GTEST_SKIP() << "Xvfb and xdotool are needed (dev.sh installs them)"

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

// Runs a program on the display; whether it ended well. output receives what it printed.
inline bool RunOnDisplay(const QString& display, const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(env);
    process.start(program, args);
    const bool ended = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput();
    return ended;
}

inline QImage ScreenShot(const QString& display, const TestFolder& folder, const QString& name)
{
    const QString path = folder.File(name);
    EXPECT_TRUE(RunOnDisplay(display, QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}));
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// The whole screen as the game's window covers it (the game's frame is as large as the screen).
inline QRect DisplayRect(const QString& display)
{
    QByteArray output;
    RunOnDisplay(display, QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}, &output);
    const QList<QByteArray> size = output.simplified().split(' ');
    return size.size() == 2 ? QRect(0, 0, size[0].toInt(), size[1].toInt()) : QRect();
}

// The shown top-level windows whose title is exactly the one given.
inline QStringList ShownWindows(const QString& display, const QString& title)
{
    // xdotool ends with 1 when no window matches.
    QByteArray ids;
    RunOnDisplay(display, QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')},
                 &ids);
    return QString::fromLatin1(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits for a window of that title other than those known; its id, empty when none came.
inline QString WaitForNewWindow(const QString& display, const QString& title, const QStringList& known, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        for (const QString& id : ShownWindows(display, title)) {
            if (!known.contains(id))
                return id;
        }
        QThread::msleep(100);
    }
    return {};
}

inline bool WaitForWindowGone(const QString& display, const QString& id, const QString& title, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (!ShownWindows(display, title).contains(id))
            return true;
        QThread::msleep(100);
    }
    return false;
}

// Where a window stands on the screen, frame included.
inline QRect WindowRect(const QString& display, const QString& id)
{
    QByteArray shell;
    RunOnDisplay(display, QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, &shell);
    QRect rect;
    for (const QByteArray& line : shell.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        else if (pair[0] == "Y")
            rect.moveTop(value);
        else if (pair[0] == "WIDTH")
            rect.setWidth(value);
        else if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

// Keys typed into a window, which gets the keyboard first (there is no window manager to give it).
inline bool TypeInto(const QString& display, const QString& window, const QStringList& keys)
{
    const QStringList focusThenType{QStringLiteral("windowfocus"), QStringLiteral("--sync"), window,
                                    QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")};
    return RunOnDisplay(display, QStringLiteral("xdotool"), focusThenType + keys);
}

// A click at the point. No --sync: xdotool waits for ever when the pointer is there already.
inline bool ClickAt(const QString& display, const QPoint& point)
{
    return RunOnDisplay(display, QStringLiteral("xdotool"),
                        {QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
                         QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"), QStringLiteral("1")});
}

// Waits until the log holds the line, after the first line when one is given.
inline bool WaitForLog(const TestFolder& folder, const QByteArray& line, int ms, const QByteArray& after = QByteArray())
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

inline void CopyFolder(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

// A pointer drag with real X events from one point to another, in six steps.
inline QStringList DragArguments(const QPoint& from, const QPoint& to)
{
    QStringList drag{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(from.x()), QString::number(from.y()),
                     QStringLiteral("mousedown"), QStringLiteral("1")};
    for (int step = 1; step <= 6; ++step) {
        const QPoint at = from + (to - from) * step / 6;
        drag << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove") << QStringLiteral("--sync")
             << QString::number(at.x()) << QString::number(at.y());
    }
    drag << QStringLiteral("mouseup") << QStringLiteral("1");
    return drag;
}

constexpr int kPiece = 100;

inline GP_PiecePtr PieceAt(CGP_Puzzle& puzzle, int index)
{
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        if (group->m_pieces.front()->m_nIndex == index)
            return group->m_pieces.front();
    }
    return {};
}

// A six-piece puzzle already under way, its pieces where the test wants them and their images
// in the cache, so that opening it scatters nothing.
inline boost::shared_ptr<CGP_Puzzle> LayOutPuzzle(const TestFolder& folder, const QString& path)
{
    TestPuzzleOptions options;
    options.width = 3 * kPiece;
    options.height = 2 * kPiece;
    options.pieceSize = kPiece;
    const boost::shared_ptr<CGP_Puzzle> puzzle = MakeTestPuzzle(options);
    CGP_PieceWorkers(1).BuildPieces(*puzzle, nullptr);
    QDir().mkpath(QFileInfo(path).absolutePath());
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
    QFile cache(folder.File(QStringLiteral("Puzzles/Cash/%1.cash").arg(QFileInfo(path).completeBaseName())));
    EXPECT_TRUE(cache.open(QIODevice::WriteOnly) && puzzle->WritePieceCache(cache));
    return puzzle;
}

// Where LayOutPuzzle's middle piece of the top row is gripped and dropped so that it sits beside
// the left one, and where the picture's top-left corner then lies on the field.
struct JoinDrag
{
    QPoint grip;
    QPoint drop;
    QPoint origin;
};

inline JoinDrag JoinDragOf(CGP_Puzzle& puzzle)
{
    const GP_PiecePtr left = PieceAt(puzzle, 0);
    const GP_PiecePtr moved = PieceAt(puzzle, 1);
    JoinDrag drag;
    drag.origin = QPoint(left->m_nX - left->m_nHomeX[0], left->m_nY - left->m_nHomeY[0]);
    const QPoint target = drag.origin + QPoint(moved->m_nHomeX[0], moved->m_nHomeY[0]);
    drag.grip = QPoint(moved->m_nX + moved->Width() / 2, moved->m_nY + moved->Height() / 2);
    drag.drop = drag.grip + target - QPoint(moved->m_nX, moved->m_nY);
    return drag;
}

// A double-click at the point, its two clicks well within the double-click time.
inline bool DoubleClickAt(const QString& display, const QPoint& point)
{
    return RunOnDisplay(display, QStringLiteral("xdotool"),
                        {QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
                         QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"), QStringLiteral("--repeat"),
                         QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
}

// Starts the game in the folder on the server's display with its skin and outline patterns;
// extra goes into its environment.
inline void StartGame(QProcess& game, const TestFolder& folder, const XServer& server, const QStringList& arguments,
                      const QProcessEnvironment& extra = {})
{
    CopyFolder(QStringLiteral(VELMORA_GAME_DIR "/PATTERNS"), folder.File(QStringLiteral("PATTERNS")));
    CopyFolder(QStringLiteral(VELMORA_GAME_DIR "/SKINS Nox"), folder.File(QStringLiteral("SKINS Nox")));
    QProcessEnvironment env = GameEnvironment(folder.File(QStringLiteral("run")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), server.Display());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.File(QStringLiteral("config")));
    // Qt's own dialogs whatever desktop the tests run from.
    env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    env.remove(QStringLiteral("DESKTOP_SESSION"));
    env.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
    for (const QString& name : extra.keys())
        env.insert(name, extra.value(name));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(folder.Path());
    game.start(GameProgram(), arguments);
}

// Starts the game with the puzzle named on its command line and waits until it has entered the
// field.
inline bool StartGameOnDisplay(QProcess& game, const TestFolder& folder, const XServer& server, const QString& puzzle)
{
    StartGame(game, folder, server, {puzzle});
    return WaitForLog(folder, "CChildView::OpenPuzzleForPlay: ", 30000)
        && WaitForLog(folder, "ChangeGameMode\n", 10000, "CChildView::OpenPuzzleForPlay: ");
}
