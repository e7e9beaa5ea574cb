// A save cut short by the game being killed must leave the settings of the last complete save.
#include "view/model/GP_SettingsStore.h"

#include "engine/GP_Random.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

const char kChildFileVariable[] = "VELMORA_SETTINGS_CHILD_FILE";
constexpr int kPathLength = 100000;  // a large file makes a kill inside the write likely
constexpr int kRounds = 12;
// A child nobody kills stops by itself before any test could wait for it.
constexpr qint64 kChildLifetimeMs = kProgramPatience.count();

QString PathOf(quint32 generation)
{
    return QString(kPathLength, QChar(u'a' + generation % 26));
}

void FillGeneration(CGP_SettingsStore& store, quint32 generation)
{
    store.Settings().CreatorName = QStringLiteral("generation %1").arg(generation);
    store.Settings().tableColor[0][0] = generation;
    store.Settings().OpenPath = PathOf(generation);
}

// True when the file holds one whole generation: every value from the same save.
bool ReadWholeGeneration(const QString& file, quint32& generation)
{
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(file));
    store.LoadRegistrySet();
    generation = store.Settings().tableColor[0][0];
    return store.Settings().CreatorName == QStringLiteral("generation %1").arg(generation)
           && store.Settings().OpenPath == PathOf(generation);
}

void SaveGeneration(const QString& file, quint32 generation)
{
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(file));
    store.LoadRegistrySet();
    FillGeneration(store, generation);
    EXPECT_TRUE(store.SaveRegistrySet());
}

::testing::AssertionResult WaitForFirstSave(QProcess& child)
{
    QByteArray output;
    return Eventually(
        [&] {
            output += child.readAllStandardOutput();
            return output.contains("saved ");
        },
        "the child's first save", kProgramPatience);
}

} // namespace

// Started as a child by the test below: saves generation after generation until killed.
TEST(SettingsCrashChild, DISABLED_SavesUntilKilled)
{
    const QString file = qEnvironmentVariable(kChildFileVariable);
    ASSERT_FALSE(file.isEmpty());
    quint32 generation = 0;
    ASSERT_TRUE(ReadWholeGeneration(file, generation));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kChildLifetimeMs) {
        SaveGeneration(file, ++generation);
        std::printf("saved %u\n", generation);
        std::fflush(stdout);
    }
}

TEST(SettingsCrash, KilledSaveLeavesTheLastWholeSettings)
{
    TestFolder folder;
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    SaveGeneration(file, 0);
    GP_srand(20091);

    quint32 last = 0;
    for (int round = 0; round < kRounds; ++round) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildFileVariable), file);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_also_run_disabled_tests"),
                     QStringLiteral("--gtest_filter=SettingsCrashChild.DISABLED_SavesUntilKilled")});
        ASSERT_TRUE(child.waitForStarted(int(kPatience.count())));
        ASSERT_TRUE(WaitForFirstSave(child)) << child.readAllStandardError().toStdString();
        QThread::usleep(static_cast<unsigned long>(GP_rand() % 20000));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(Finishes(child, "the killed child's end", kPatience));

        quint32 generation = 0;
        ASSERT_TRUE(ReadWholeGeneration(file, generation)) << "round " << round;
        EXPECT_GE(generation, last);
        last = generation;
    }
    EXPECT_GT(last, 0u);
    // Whatever the kills left beside the file does not stop the next save.
    SaveGeneration(file, last + 1);
    quint32 generation = 0;
    EXPECT_TRUE(ReadWholeGeneration(file, generation));
    EXPECT_EQ(generation, last + 1);
}
