#include "shell/log/GP_LogFile.h"
#include "shell/log/VersionText.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <set>
#include <thread>
#include <vector>

namespace {
const QByteArray kSeparator = "---------------------------------------------------------\r\n";

QByteArray ExistingLog(int size)
{
    return QByteArray(size, 'x');
}
} // namespace

TEST(LogFile, SizeAtStartDecidesBetweenAppendAndStartingOver)
{
    TestFolder folder;
    for (int size : {0, 1, 100000, 100001, 250000}) {
        const QString path = folder.Write(QStringLiteral("Exception.log"), ExistingLog(size));
        {
            CGP_LogFile log(path);
            log.Open();
        }
        const QByteArray after = folder.Read(QStringLiteral("Exception.log"));
        if (size <= 100000)
            EXPECT_TRUE(after.startsWith(ExistingLog(size) + kSeparator)) << "size " << size;
        else
            EXPECT_TRUE(after.startsWith(kSeparator)) << "size " << size;
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

TEST(LogFile, GrowingPastTheLimitStartsOverDuringARun)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("Exception.log"));
    CGP_LogFile log(path);
    log.Open();
    const QString line = QString(99, QLatin1Char('a')) + QLatin1Char('\n');
    for (int i = 0; i < 1001; ++i)
        log.Write(line);
    log.Write("after the cut\n");
    const QByteArray text = folder.Read(QStringLiteral("Exception.log"));
    EXPECT_LT(text.size(), 1000);
    EXPECT_TRUE(text.endsWith("after the cut\n"));
}

TEST(LogFile, ConcurrentWritersNeverInterleaveLines)
{
    TestFolder folder;
    const QString path = folder.File(QStringLiteral("Exception.log"));
    {
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
