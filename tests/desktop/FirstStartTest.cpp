// The whole game under Xvfb as a new player meets it: the first start fills the library with the
// starter puzzles, a later start never refills it, and a puzzle file opened while the game runs
// reaches the running game.
#include "tests/desktop/XvfbDisplay.h"
#include "tests/shell/GameProcess.h"
#include "tests/support/TestFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {
const QString kStarter = QStringLiteral(VELMORA_GAME_DIR "/DATA/starter");

QStringList Puzzles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pzl")}, QDir::Files, QDir::Name);
}

// A player's application folder: the build's data linked in, as the installed launcher does.
class PlayerFolder : public TestFolder
{
public:
    PlayerFolder()
    {
        for (const char* data : {"PATTERNS", "SKINS Nox", "SKINS", "DATA"})
            QFile::link(QStringLiteral(VELMORA_GAME_DIR "/") + QLatin1String(data), File(QLatin1String(data)));
    }
    QString Library() const { return File(QStringLiteral("Puzzles/simple")); }
    QByteArray Log() const { return Read(QStringLiteral("Exception.log")); }
    // Waits until the log holds text count times; false after ms.
    bool WaitForLog(const QByteArray& text, int count = 1, int ms = 30000) const
    {
        QElapsedTimer clock;
        clock.start();
        while (Log().count(text) < count && clock.elapsed() < ms)
            QThread::msleep(50);
        return Log().count(text) >= count;
    }
};

class Game
{
public:
    Game(const PlayerFolder& folder, const QString& display, const QStringList& args = {})
    {
        QProcessEnvironment env = GameEnvironment(folder.File(QStringLiteral("run")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.File(QStringLiteral("config")));
        // Message boxes show, say so on stderr and answer OK by themselves.
        env.insert(QStringLiteral("VELMORA_TEST_ANSWER"), QStringLiteral("1"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder.Path());
        m_errors = folder.File(QStringLiteral("stderr-%1.txt").arg(reinterpret_cast<quintptr>(this)));
        m_process.setStandardErrorFile(m_errors);
        m_process.start(GameProgram(), args);
        m_process.waitForStarted(10000);
    }
    ~Game() { End(); }

    // Ends the game as the desktop does at log-out; true when it ended by itself.
    bool End()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.terminate();
        if (m_process.waitForFinished(20000))
            return true;
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    QProcess& Process() { return m_process; }
    bool Running() { return !m_process.waitForFinished(0) && m_process.state() == QProcess::Running; }
    // What the game wrote to stderr so far.
    QByteArray Errors() const
    {
        QFile file(m_errors);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QProcess m_process;
    QString m_errors;
};

// The window is up and the start-up screens are through.
constexpr char kUp[] = "ChangeGameMode\n";
} // namespace

TEST(FirstStart, FillsTheLibraryWithTheStarterPuzzlesOnceAndNeverRefillsIt)
{
    XvfbDisplay x;
    ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    const QStringList starter = Puzzles(kStarter);
    ASSERT_GE(starter.size(), 6) << "build the starter puzzles first";
    PlayerFolder folder;
    {
        Game first(folder, x.Display());
        ASSERT_TRUE(folder.WaitForLog(kUp)) << folder.Log().constData();
        EXPECT_EQ(Puzzles(folder.Library()), starter);
        EXPECT_TRUE(first.End());
    }
    // The player deletes every puzzle; the next start leaves the library empty.
    for (const QString& name : starter)
        ASSERT_TRUE(QFile::remove(folder.Library() + QLatin1Char('/') + name));
    {
        Game second(folder, x.Display());
        ASSERT_TRUE(folder.WaitForLog(kUp, 2)) << folder.Log().constData();
        EXPECT_EQ(Puzzles(folder.Library()), QStringList());
        EXPECT_TRUE(second.End());
    }
    EXPECT_EQ(folder.Log().count("BEGIN SESSION"), 2);
}

TEST(FirstStart, APuzzleFileOpenedWhileTheGameRunsReachesTheRunningGame)
{
    XvfbDisplay x;
    ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    PlayerFolder folder;
    QFile marigold(kStarter + QStringLiteral("/Marigold.pzl"));
    ASSERT_TRUE(marigold.open(QIODevice::ReadOnly));
    const QByteArray bytes = marigold.readAll();
    // Named like a starter puzzle, but another puzzle: it comes in under a free name.
    const QString sent = folder.Write(QStringLiteral("Downloads/Two Friends.pzl"), bytes);
    const QString broken = folder.Write(QStringLiteral("Downloads/Broken.pzl"), bytes.left(bytes.size() / 3));
    const QString first = folder.Write(QStringLiteral("Downloads/Opened First.pzl"), bytes);

    // Started with a file: the game comes up with it in the library.
    Game game(folder, x.Display(), {first});
    ASSERT_TRUE(folder.WaitForLog(kUp)) << folder.Log().constData();
    ASSERT_TRUE(folder.WaitForLog("OpenPuzzleFile: in the library as Opened First\n"));

    const struct
    {
        QStringList args;
        QByteArray logged; // what the running game logs for it
        int dialogs;       // message boxes the running game shows for it
    } starts[] = {
        {{sent}, "OpenPuzzleFile: in the library as Two Friends (2)\n", 0},
        {{broken}, "CPuzzleImport: " + broken.toUtf8() + " is not a puzzle that can be played\n", 1},
        {{}, QByteArray(), 0},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.args.join(' ').toStdString());
        const qsizetype before = folder.Log().size();
        const qsizetype errorsBefore = game.Errors().size();
        QProcess second;
        second.setProcessEnvironment(game.Process().processEnvironment());
        second.setWorkingDirectory(folder.Path());
        second.start(GameProgram(), start.args);
        ASSERT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_TRUE(second.readAllStandardError().isEmpty()) << "a second start shows nothing";
        if (!start.logged.isEmpty()) {
            EXPECT_TRUE(folder.WaitForLog(start.logged)) << folder.Log().mid(before).constData();
        }
        QThread::msleep(1000);
        EXPECT_EQ(folder.Log().count("BEGIN SESSION"), 1) << "the second start wrote no session of its own";
        EXPECT_EQ(folder.Log().mid(before).count("OpenPuzzleFile "), start.args.size());
        EXPECT_EQ(game.Errors().mid(errorsBefore).count("velmora: dialog "), start.dialogs);
        EXPECT_TRUE(game.Running());
    }
    const QStringList library = Puzzles(folder.Library());
    EXPECT_TRUE(library.contains(QStringLiteral("Two Friends (2).pzl")));
    EXPECT_TRUE(library.contains(QStringLiteral("Opened First.pzl")));
    EXPECT_FALSE(library.contains(QStringLiteral("Broken.pzl")));
    QFile starterFriends(kStarter + QStringLiteral("/Two Friends.pzl"));
    ASSERT_TRUE(starterFriends.open(QIODevice::ReadOnly));
    EXPECT_EQ(folder.Read(QStringLiteral("Puzzles/simple/Two Friends.pzl")), starterFriends.readAll())
        << "the library's own puzzle of that name stays as it was";
    EXPECT_TRUE(game.End());
}
