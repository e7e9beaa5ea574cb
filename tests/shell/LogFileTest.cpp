#include "shell/log/GP_LogFile.h"
#include "shell/log/VersionText.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>

#include <set>
#include <thread>
#include <vector>

namespace {
const QByteArray kSeparator = "---------------------------------------------------------\r\n";
} // namespace

TEST(LogFile, OneHundredThousandBytesGoOnAndOneMoreStartsOver)
{
    // At exactly the limit the log is written on; one byte past it, it starts over, whether the
    // size is found when the game starts or reached during the run.
    const struct
    {
        const char* fault;
        bool duringTheRun;
        int size;
        bool kept;
    } cases[] = {
        {"an empty log started over", false, 0, true},
        {"a log of exactly the limit started over at the start", false, 100000, true},
        {"a log one byte past the limit kept at the start", false, 100001, false},
        {"a log far past the limit kept at the start", false, 250000, false},
        {"a log of exactly the limit started over during the run", true, 100000, true},
        {"a log one byte past the limit kept during the run", true, 100001, false},
        {"a log far past the limit kept during the run", true, 250000, false},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        const QString path = folder.File(QStringLiteral("Exception.log"));
        const QByteArray existing(c.duringTheRun ? 0 : c.size, 'x');
        folder.Write(QStringLiteral("Exception.log"), existing);
        QByteArray expected = c.kept ? existing + kSeparator : kSeparator;
        {
            CGP_LogFile log(path);
            log.Open();
            if (c.duringTheRun) {
                log.Write(QString(c.size - QFileInfo(path).size(), QLatin1Char('x')));
                const QByteArray before = folder.Read(QStringLiteral("Exception.log"));
                log.Write("next line\n");
                expected = c.kept ? before + "next line\n" : QByteArray("next line\n");
            }
        }
        EXPECT_TRUE(folder.Read(QStringLiteral("Exception.log")).startsWith(expected)) << c.fault;
    }
}

TEST(LogFile, SessionIsFramedBySeparatorsAndBeginEndLines)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("Exception.log"));
    {
        CGP_LogFile log(path);
        log.Open();
        log.Write("OnMainPlay\n").Write(QStringLiteral("ChangeGameMode\n"));
    }
    const QString text = QString::fromUtf8(folder.Read(QStringLiteral("Exception.log")));
    const QString version = QRegularExpression::escape(GP_VersionText());
    const QRegularExpression session(
        QStringLiteral("^-{57}\r\nBEGIN SESSION: %1 .+  \\d\\d:\\d\\d:\\d\\d\r\n"
                       "OnMainPlay\nChangeGameMode\n"
                       "END SESSION: %1 .+  \\d\\d:\\d\\d:\\d\\d\r\n-{57}\r\n$").arg(version));
    EXPECT_TRUE(session.match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(GP_VersionText(), QStringLiteral("1.0.0.0"));
}

TEST(LogFile, ChainedPiecesAndPercentSignsComeOutAsWritten)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("Exception.log"));
    {
        CGP_LogFile log(path);
        log.Open();
        log.Write("ERROR!!\n").Write("Main").Write(" thread exception.\n");
        // A player's puzzle name may carry anything; it must never act as a format.
        log.Write(QStringLiteral("Solved 100%% of \"%s %n %d\"\n"));
    }
    const QByteArray text = folder.Read(QStringLiteral("Exception.log"));
    EXPECT_TRUE(text.contains("ERROR!!\nMain thread exception.\n"));
    EXPECT_TRUE(text.contains("Solved 100% of \"%s %n %d\"\n"));
}

TEST(LogFile, ClosedLogWritesNothing)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("no-such-folder/Exception.log"));
    CGP_LogFile log(path);
    log.Open();
    EXPECT_FALSE(log.IsOpen());
    log.Write("lost\n");

    CGP_LogFile unopened(folder.File(QStringLiteral("Exception.log")));
    unopened.Write("never opened\n");
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("Exception.log"))));

    CGP_LogFile* previous = g_pLogFile;
    g_pLogFile = nullptr;
    EXPECT_FALSE(GP_Log(QStringLiteral("nobody listens\n")));
    g_pLogFile = previous;
}

TEST(LogFile, ConcurrentWritersNeverInterleaveLines)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("Exception.log"));
    {
        const Deadline deadline("the eight writers' last lines");
        CGP_LogFile log(path);
        log.Open();
        std::vector<std::thread> writers;
        for (int t = 0; t < 8; ++t) {
            writers.emplace_back([&log, t] {
                for (int i = 0; i < 400; ++i)
                    log.Write(QStringLiteral("writer %1 line %2 ......\n").arg(t).arg(i));
            });
        }
        for (std::thread& writer : writers)
            writer.join();
    }
    const QList<QByteArray> lines = folder.Read(QStringLiteral("Exception.log")).split('\n');
    const QRegularExpression shape(QStringLiteral("^writer (\\d) line (\\d+) \\.{6}$"));
    std::set<QString> seen;
    for (const QByteArray& line : lines) {
        if (line.startsWith("writer")) {
            const auto match = shape.match(QString::fromUtf8(line));
            ASSERT_TRUE(match.hasMatch()) << line.toStdString();
            seen.insert(match.captured(1) + QLatin1Char('/') + match.captured(2));
        }
    }
    EXPECT_EQ(seen.size(), 8u * 400u);
}
