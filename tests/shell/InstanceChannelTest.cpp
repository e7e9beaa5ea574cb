// A second start handing a puzzle file to the running game over the runtime folder's channel.
#include "shell/app/InstanceChannel.h"
#include "tests/support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
// The runtime folder of one test, where the lock and the channel live.
class PrivateRuntime
{
public:
    PrivateRuntime()
        : m_previous(qgetenv("XDG_RUNTIME_DIR"))
    {
        const QString run = m_folder.File(QStringLiteral("run"));
        QDir().mkpath(run);
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
    }
    ~PrivateRuntime() { qputenv("XDG_RUNTIME_DIR", m_previous); }

private:
    TestFolder m_folder;
    QByteArray m_previous;
};

// Hands path over from another thread, as a second process would, while this thread runs the
// game's event loop; answers what the sender was told and what the game received.
std::pair<bool, QStringList> HandOverWhileRunning(CInstanceChannel& channel, const QString& path)
{
    QStringList received;
    QObject::connect(&channel, &CInstanceChannel::FileHanded, &channel, [&](const QString& p) { received.append(p); });
    std::atomic<int> taken{-1};
    std::thread second([&] { taken = CInstanceChannel::HandOver(path, 5000) ? 1 : 0; });
    QElapsedTimer clock;
    clock.start();
    while (taken < 0 && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    second.join();
    QCoreApplication::processEvents();
    QObject::disconnect(&channel, &CInstanceChannel::FileHanded, &channel, nullptr);
    return {taken == 1, received};
}
} // namespace

TEST(InstanceChannel, TheRunningGameGetsTheFileASecondStartHandsOver)
{
    PrivateRuntime runtime;
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen());
    for (const QString& path : {QStringLiteral("/home/player/Downloads/Lake.pzl"),
                                QStringLiteral("/home/player/Téléchargements/Ünïcode puzzle (2).pzl"),
                                QStringLiteral("/tmp/a file with  two spaces and a tab\t.pzl "), QStringLiteral("/tmp/x.pzl\r")}) {
        SCOPED_TRACE(path.toStdString());
        const auto [taken, received] = HandOverWhileRunning(channel, path);
        EXPECT_TRUE(taken) << "the second start is told the game has the file";
        EXPECT_EQ(received, QStringList{path});
    }
}

TEST(InstanceChannel, NoRunningGameRefusesAtOnceAndADeadGamesChannelIsReplaced)
{
    PrivateRuntime runtime;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(CInstanceChannel::HandOver(QStringLiteral("/tmp/Lake.pzl"), 5000));
    EXPECT_LT(clock.elapsed(), 4000) << "nobody listens: no waiting for an answer";

    {
        // A game that hangs never answers: the second start gives up after its wait.
        QLocalServer hung;
        ASSERT_TRUE(hung.listen(CInstanceChannel::ChannelPath()));
        EXPECT_FALSE(CInstanceChannel::HandOver(QStringLiteral("/tmp/Lake.pzl"), 300));
    }
    // A copy that was killed left its channel's file behind; the next copy to hold the lock
    // listens anew.
    QFile leftover(CInstanceChannel::ChannelPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    EXPECT_FALSE(CInstanceChannel::HandOver(QStringLiteral("/tmp/Lake.pzl"), 300));
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen());
    const auto [taken, received] = HandOverWhileRunning(channel, QStringLiteral("/tmp/Lake.pzl"));
    EXPECT_TRUE(taken);
    EXPECT_EQ(received, QStringList{QStringLiteral("/tmp/Lake.pzl")});
}
