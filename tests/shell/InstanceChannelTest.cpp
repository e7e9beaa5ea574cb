// The channel a second start hands a puzzle file over by (the whole-game run is in tests/desktop).
#include "shell/app/InstanceChannel.h"
#include "tests/support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(InstanceChannel, PathsArriveWholeAndAHungOrDeadGameIsNotWaitedFor)
{
    TestFolder folder;
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    QDir().mkpath(folder.File(QStringLiteral("run")));
    QFile::setPermissions(folder.File(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", folder.File(QStringLiteral("run")).toLocal8Bit());

    EXPECT_FALSE(CInstanceChannel::HandOver(QStringLiteral("/tmp/Lake.pzl"), 300)) << "no game runs";
    {
        QLocalServer hung;  // listening, never answering
        ASSERT_TRUE(hung.listen(CInstanceChannel::ChannelPath()));
        EXPECT_FALSE(CInstanceChannel::HandOver(QStringLiteral("/tmp/Lake.pzl"), 300));
    }
    // A killed game leaves its channel's file behind; the next game listens all the same.
    folder.Write(QStringLiteral("run/Velmora.files"), QByteArray());
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen());
    QStringList received;
    QObject::connect(&channel, &CInstanceChannel::FileHanded, [&](const QString& path) { received.append(path); });
    for (const QString& path : {QStringLiteral("/home/player/Téléchargements/Ünïcode puzzle (2).pzl"),
                                QStringLiteral("/tmp/two  spaces, a tab\t and one at the end .pzl ")}) {
        std::atomic<int> taken{-1};
        std::thread second([&] { taken = CInstanceChannel::HandOver(path) ? 1 : 0; });
        QElapsedTimer clock;
        clock.start();
        while (taken < 0 && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.join();
        QCoreApplication::processEvents();
        EXPECT_EQ(taken, 1) << "the second start is told the game has the file";
        EXPECT_EQ(received.value(received.size() - 1), path);
    }
    EXPECT_EQ(received.size(), 2);
    qputenv("XDG_RUNTIME_DIR", previous);
}
