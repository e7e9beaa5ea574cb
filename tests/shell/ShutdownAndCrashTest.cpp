#include "shell/app/MainFrame.h"
#include "shell/app/ROruzoz.h"
#include "tests/shell/GameProcess.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <chrono>

namespace {

struct StartedProgram
{
    QString program;
    QStringList arguments;
    bool frameGone = false;
};

// A harmless stand-in for an outside program: writes its folder and arguments to a file.
QString WriteRecorderScript(const TestFolder& folder, const QString& name, const QString& record)
{
    const QString path = folder.Write(name, QStringLiteral("#!/bin/sh\necho \"$PWD|$*\" >> \"%1\"\n").arg(record).toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// The file's contents once it holds a whole line, or nothing when none came within the limit.
QByteArray WaitForFile(const QString& path, std::chrono::milliseconds limit)
{
    QByteArray bytes;
    const bool whole = Eventually(
        [&] {
            QFile file(path);
            bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return bytes.endsWith('\n');
        },
        "a line from the started program", limit);
    return whole ? bytes : QByteArray();
}

} // namespace

TEST(Shutdown, UpdateInstallerStartsOnceAfterTheWindowIsGone)
{
    std::vector<StartedProgram> started;
    CROruzozApp app;
    app.SetProgramStarter([&](const QString& program, const QStringList& arguments, const QString&) {
        bool frameGone = app.MainWnd() == nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            frameGone = frameGone && !qobject_cast<CMainFrame*>(window);
        started.push_back({program, arguments, frameGone});
        return true;
    });

    // Nothing downloaded: nothing starts.
    app.CreateMainFrame();
    ASSERT_NE(app.MainWnd(), nullptr);
    app.ExitInstance();
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(app.MainWnd(), nullptr);

    app.CreateMainFrame();
    app.SetUpdateInstallerPath(QStringLiteral("/tmp/velmora-update-installer"));
    app.ExitInstance();
    app.ExitInstance();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, QStringLiteral("/tmp/velmora-update-installer"));
    EXPECT_EQ(started[0].arguments, QStringList{QStringLiteral("/isUpdate=1")});
    EXPECT_TRUE(started[0].frameGone);
}

TEST(Shutdown, RealInstallerProgramGetsItsArgument)
{
    TestFolder folder;
    const QString record = folder.File(QStringLiteral("installer-ran"));
    CROruzozApp app;
    app.SetUpdateInstallerPath(WriteRecorderScript(folder, QStringLiteral("Update Setup"), record));
    app.ExitInstance();
    const QByteArray ran = WaitForFile(record, kPatience);
    EXPECT_TRUE(ran.endsWith("|/isUpdate=1\n")) << ran.constData();
    QThread::msleep(200);
    EXPECT_EQ(folder.Read(QStringLiteral("installer-ran")).count('\n'), 1);
}

namespace {

struct GameRun
{
    ::testing::AssertionResult finished = ::testing::AssertionFailure();
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray log;
    QByteArray errors;
    QStringList dumps;
    QByteArray courier;
};

// Starts the game in a folder of its own with the hidden crash hook; dialogs answer by themselves.
GameRun RunCrashingGame(const char* how, const char* answer, bool reporterExpected)
{
    TestFolder folder;
    const QString temp = folder.File(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    WriteRecorderScript(folder, QStringLiteral("FaultCourier"), folder.File(QStringLiteral("courier-ran")));

    QProcess game;
    QProcessEnvironment env = GameEnvironment(folder.File(QStringLiteral("run")));
    env.insert(QStringLiteral("TMPDIR"), temp);
    env.insert(QStringLiteral("VELMORA_CRASH_TEST"), QLatin1String(how));
    env.insert(QStringLiteral("VELMORA_TEST_ANSWER"), QLatin1String(answer));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(folder.Path());
    game.start(GameProgram(), {});
    GameRun run;
    run.finished = Finishes(game, "the crashed game's end");
    run.exitCode = game.exitCode();
    run.status = game.exitStatus();
    run.errors = game.readAllStandardError();
    run.log = folder.Read(QStringLiteral("Exception.log"));
    run.dumps = QDir(temp + QStringLiteral("/AppName")).entryList(QDir::Files);
    run.courier = WaitForFile(folder.File(QStringLiteral("courier-ran")), reporterExpected ? kPatience : std::chrono::milliseconds(300));
    return run;
}

void ExpectCrashLines(const GameRun& run, bool withDump)
{
    const qsizetype begin = run.log.indexOf("BEGIN SESSION: ");
    const qsizetype filter = run.log.indexOf("MemoryDump::topLevelFilter: evelmora.dmp\n");
    const qsizetype error = run.log.indexOf("ERROR!!\nMain thread exception.\n");
    EXPECT_GE(begin, 0);
    EXPECT_GT(error, begin);
    if (withDump) {
        EXPECT_GT(filter, begin);
        EXPECT_LT(filter, error);  // the filter runs before the handler
        EXPECT_EQ(run.dumps.size(), 1);
    } else {
        EXPECT_LT(filter, 0);
        EXPECT_TRUE(run.dumps.isEmpty());
    }
    EXPECT_LT(run.log.indexOf("END SESSION"), 0);  // the log is not closed on the crash path
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0);
}

} // namespace

TEST(CrashPath, ExceptionDumpsAsksAndStartsTheReporterOnYes)
{
    const GameRun yes = RunCrashingGame("exception", "1", true);
    ASSERT_TRUE(yes.finished);
    ExpectCrashLines(yes, true);
    EXPECT_EQ(yes.errors.count("velmora: dialog Application error"), 1) << yes.errors.constData();
    // Started from the application folder, without arguments.
    EXPECT_TRUE(yes.courier.endsWith("|\n")) << yes.courier.constData();

    const GameRun no = RunCrashingGame("exception", "0", false);
    ASSERT_TRUE(no.finished);
    ExpectCrashLines(no, true);
    EXPECT_EQ(no.errors.count("velmora: dialog Application error"), 1);
    EXPECT_TRUE(no.courier.isEmpty());
}

TEST(CrashPath, FaultOnTheMainThreadTakesTheSamePath)
{
    const GameRun run = RunCrashingGame("signal", "1", true);
    ASSERT_TRUE(run.finished);
    ExpectCrashLines(run, true);
    EXPECT_EQ(run.errors.count("velmora: dialog Application error"), 1) << run.errors.constData();
    EXPECT_FALSE(run.courier.isEmpty());
}

TEST(CrashPath, OutOfMemoryShowsTheNoticeAndAsksNothing)
{
    const GameRun run = RunCrashingGame("memory", "1", false);
    ASSERT_TRUE(run.finished);
    ExpectCrashLines(run, false);
    EXPECT_GE(run.log.indexOf("GPNewErrorHandler()\n"), 0);
    // One dialog: the no-memory notice; the bug-report question is not asked.
    EXPECT_EQ(run.errors.count("velmora: dialog Application error"), 1) << run.errors.constData();
    EXPECT_TRUE(run.courier.isEmpty());
}

TEST(Shutdown, GameRunsAsOneCopyAndEndsItsSessionWhenAskedToEnd)
{
    TestFolder folder;
    const QString runtime = folder.File(QStringLiteral("run"));
    const QProcessEnvironment env = GameEnvironment(runtime);

    QProcess first;
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(folder.Path());
    first.start(GameProgram(), {});
    ASSERT_TRUE(first.waitForStarted(int(kPatience.count())));
    ASSERT_TRUE(Eventually([&] { return folder.Read(QStringLiteral("Exception.log")).contains("MemoryDump::MemoryDump"); },
                           "the running game's first log lines", kProgramPatience));
    ASSERT_TRUE(QFile::exists(runtime + QStringLiteral("/Velmora")));

    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(folder.Path());
    second.start(GameProgram(), {});
    ASSERT_TRUE(Finishes(second, "the second copy's end"));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().isEmpty()) << "silently";
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(Finishes(first, "the first copy's end after it was asked to end"));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 1);  // a normal end
    const QByteArray log = folder.Read(QStringLiteral("Exception.log"));
    EXPECT_EQ(log.count("BEGIN SESSION: "), 1);  // the second copy wrote nothing
    EXPECT_EQ(log.count("END SESSION: "), 1);
    EXPECT_GT(log.indexOf("END SESSION: "), log.indexOf("BEGIN SESSION: "));
    EXPECT_TRUE(log.endsWith("---------------------------------------------------------\r\n"));
    EXPECT_FALSE(QFile::exists(runtime + QStringLiteral("/Velmora")));
}
