#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct CrashRun
{
    ::testing::AssertionResult finished = ::testing::AssertionFailure();
    QProcess::ExitStatus status = QProcess::NormalExit;
    int exitCode = -1;
    qint64 pid = 0;
    QByteArray output;
    QStringList dumps;  // file names in <temp>/AppName
    QByteArray log;
    QByteArray firstDump;
};

CrashRun RunCrashChild(const TestFolder& folder, const QString& how)
{
    const QString temp = folder.File(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), temp);
    // The sanitizers' own fault handlers must leave the crash to the game's handler.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("handle_segv=0:handle_abort=0:detect_leaks=0"));
    env.insert(QStringLiteral("TSAN_OPTIONS"), QStringLiteral("handle_segv=0:handle_abort=0"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(folder.Path());
    child.start(QStringLiteral(VELMORA_TEST_HELPER_DIR "/crash_child"), {how});
    CrashRun run;
    EXPECT_TRUE(child.waitForStarted(int(kPatience.count())));
    run.pid = child.processId();
    run.finished = Finishes(child, "the crashing child's end");
    run.status = child.exitStatus();
    run.exitCode = child.exitCode();
    run.output = child.readAllStandardOutput();
    const QDir dumps(temp + QStringLiteral("/AppName"));
    run.dumps = dumps.entryList(QDir::Files);
    run.log = folder.Read(QStringLiteral("Exception.log"));
    if (!run.dumps.isEmpty()) {
        QFile file(dumps.filePath(run.dumps.first()));
        if (file.open(QIODevice::ReadOnly))
            run.firstDump = file.readAll();
    }
    return run;
}

// v1.0-YYYYMMDD-HHMMSS-<pid>-<tid>.dmp
QRegularExpressionMatch MatchDumpName(const QString& name)
{
    static const QRegularExpression shape(QStringLiteral("^v1\\.0-(\\d{8})-(\\d{6})-(\\d+)-(\\d+)\\.dmp$"));
    return shape.match(name);
}

} // namespace

TEST(CrashDump, FaultOnMainOrWorkerThreadWritesNamedDumpAndLogLine)
{
    for (const QString& how : {QStringLiteral("main"), QStringLiteral("worker")}) {
        TestFolder folder;
        const CrashRun run = RunCrashChild(folder, how);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, QProcess::CrashExit) << how.toStdString();
        ASSERT_EQ(run.dumps.size(), 1) << how.toStdString();
        const auto name = MatchDumpName(run.dumps.first());
        ASSERT_TRUE(name.hasMatch()) << run.dumps.first().toStdString();
        EXPECT_EQ(name.captured(3).toLongLong(), run.pid);
        if (how == QLatin1String("main"))
            EXPECT_EQ(name.captured(4).toLongLong(), run.pid);
        else
            EXPECT_NE(name.captured(4).toLongLong(), run.pid);
        EXPECT_TRUE(name.captured(1).startsWith(QStringLiteral("20")));
        EXPECT_TRUE(run.firstDump.contains("signal: 11 SIGSEGV")) << run.firstDump.toStdString();
        EXPECT_TRUE(run.firstDump.contains("stack:\n"));
        EXPECT_TRUE(run.log.contains("MemoryDump::MemoryDump evelmora\n"));
        EXPECT_TRUE(run.log.contains("MemoryDump::topLevelFilter: evelmora.dmp\n"));
    }
}

TEST(CrashDump, UncaughtExceptionDumpsOnce)
{
    TestFolder folder;
    const CrashRun run = RunCrashChild(folder, QStringLiteral("terminate"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, QProcess::CrashExit);
    ASSERT_EQ(run.dumps.size(), 1);
    EXPECT_TRUE(run.firstDump.contains("signal: 0 exception"));
    EXPECT_EQ(run.log.count("MemoryDump::topLevelFilter"), 1);
}

// (Running out of memory, where the notice replaces the dump, is played through the game itself.)
TEST(CrashDump, ExceptionEscapingAGameThreadIsLoggedDumpedAndEndsTheGameWithZero)
{
    TestFolder folder;
    const CrashRun run = RunCrashChild(folder, QStringLiteral("thread-exception"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.log.contains("ERROR!!\nCrashChildThread thread exception.\n")) << run.log.constData();
    EXPECT_EQ(run.dumps.size(), 1);
}
