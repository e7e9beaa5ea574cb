#include "view/model/GP_Registry.h"

#include "tests/support/SettingsTestSupport.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <thread>

namespace {

const char kFileName[] = "config/Quorvik/Velmora.ini";

} // namespace

TEST(Registry, ValuesKeepTheirWidthAndKind)
{
    TestFolder folder;
    const QString file = folder.File(QLatin1String(kFileName));
    {
        CGP_Registry key(file);
        ASSERT_TRUE(key.IsOpen());
        key.SetNumber(QStringLiteral("Table 0 Skin 0 Color"), 0x00EE00);
        key.SetFlag(QStringLiteral("flag"), 7);
        key.SetBytes(QStringLiteral("two"), QByteArray("\x34\x12", 2));
        key.SetBytes(QStringLiteral("five"), QByteArray("\x01\x02\x03\x04\x05", 5));
        key.SetText(QStringLiteral("text"), QStringLiteral("12"));
        // A slash or percent sign in a name must neither open a group nor meet another name.
        key.SetNumber(QStringLiteral("ShowTreasureA/B"), 1);
        key.SetNumber(QStringLiteral("ShowTreasureA%2FB"), 2);
        EXPECT_TRUE(key.Flush());
    }
    EXPECT_TRUE(folder.Read(QLatin1String(kFileName)).contains("Table%200%20Skin%200%20Color=@ByteArray(\\0\\xee\\0\\0)"));
    EXPECT_EQ(StoredValue(file, QStringLiteral("flag")).toByteArray(), QByteArray("\x07", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("text")).typeId(), QMetaType::QString);
    EXPECT_TRUE(QSettings(file, QSettings::IniFormat).childGroups().isEmpty());

    CGP_Registry key(file);
    quint32 number = 99;
    EXPECT_TRUE(key.GetNumber(QStringLiteral("two"), number));
    EXPECT_EQ(number, 0x1234u) << "a short value fills the low bytes";
    EXPECT_TRUE(key.GetNumber(QStringLiteral("ShowTreasureA/B"), number));
    EXPECT_EQ(number, 1u);
    EXPECT_TRUE(key.GetNumber(QStringLiteral("ShowTreasureA%2FB"), number));
    EXPECT_EQ(number, 2u);
    number = 99;
    EXPECT_FALSE(key.GetNumber(QStringLiteral("five"), number)) << "5 bytes do not fit a number";
    EXPECT_FALSE(key.GetNumber(QStringLiteral("text"), number)) << "a text is not a number";
    EXPECT_FALSE(key.GetNumber(QStringLiteral("missing"), number));
    EXPECT_EQ(number, 99u) << "a failed read leaves the output alone";
    quint8 flag = 42;
    EXPECT_FALSE(key.GetFlag(QStringLiteral("Table 0 Skin 0 Color"), flag)) << "4 bytes do not fit a flag";
    EXPECT_TRUE(key.GetFlag(QStringLiteral("flag"), flag));
    EXPECT_EQ(flag, 7);
    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(key.GetText(QStringLiteral("flag"), text)) << "raw bytes are not a text";
    EXPECT_EQ(text, QStringLiteral("untouched"));
    EXPECT_TRUE(key.HasValue(QStringLiteral("flag")));
    EXPECT_FALSE(key.HasValue(QStringLiteral("missing")));
}

TEST(Registry, KeyThatCannotBeOpenedFailsEverythingAndWritesNothing)
{
    TestFolder folder;
    CapturedLog log(folder);
    folder.Write(QStringLiteral("config"), "not a folder");  // where the settings folder should go
    CGP_Registry key(folder.File(QLatin1String(kFileName)));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.SetNumber(QStringLiteral("SkinIndex"), 1));
    EXPECT_FALSE(key.SetText(QStringLiteral("Creator Name"), QStringLiteral("x")));
    quint32 number = 5;
    EXPECT_FALSE(key.GetNumber(QStringLiteral("SkinIndex"), number));
    EXPECT_FALSE(key.HasValue(QStringLiteral("SkinIndex")));
    EXPECT_FALSE(key.Flush());
    EXPECT_EQ(folder.Read(QStringLiteral("config")), QByteArray("not a folder"));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CGP_Registry: cannot create the settings folder")));
}

TEST(Registry, DamagedFileKeepsWhatReadsAndIsSetAside)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = folder.File(QLatin1String(kFileName));
    const QByteArray damaged = "[General]\nSkinIndex=@ByteArray(\\x2\\0\\0\\0)\n[Gen\xff\xfe\x01ral\ngarbage";
    folder.Write(QLatin1String(kFileName), damaged);
    {
        CGP_Registry key(file);
        ASSERT_TRUE(key.IsOpen());
        quint32 skin = 0;
        EXPECT_TRUE(key.GetNumber(QStringLiteral("SkinIndex"), skin));
        EXPECT_EQ(skin, 2u);
        EXPECT_TRUE(log.Text().contains(QStringLiteral("the settings file is damaged")));
        EXPECT_EQ(folder.Read(QLatin1String(kFileName) + QStringLiteral(".damaged")), damaged);
        key.SetText(QStringLiteral("Creator Name"), QStringLiteral("After"));
        EXPECT_TRUE(key.Flush()) << "a damaged file must not stop later saves";
    }
    QSettings reread(file, QSettings::IniFormat);
    EXPECT_EQ(reread.status(), QSettings::NoError);
    EXPECT_EQ(reread.value(QStringLiteral("Creator Name")).toString(), QStringLiteral("After"));
    EXPECT_EQ(reread.value(QStringLiteral("SkinIndex")).toByteArray(), QByteArray("\x02\0\0\0", 4));
}

TEST(Registry, EmptyLockOfAKilledSaveIsClearedInsteadOfWaitedOut)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = folder.File(QLatin1String(kFileName));
    CGP_Registry key(file);
    ASSERT_TRUE(key.IsOpen());
    // What a save killed right after creating its lock leaves: a lock file with no owner in it.
    folder.Write(QLatin1String(kFileName) + QStringLiteral(".lock"), QByteArray());
    key.SetNumber(QStringLiteral("SkinIndex"), 2);
    {
        // Waiting the lock out would take half a minute; clearing it takes no time worth measuring.
        const Deadline deadline("the save past the empty lock");
        EXPECT_TRUE(key.Flush());
    }
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".lock")));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("removed the lock an interrupted save left")));
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value(QStringLiteral("SkinIndex")).toByteArray(),
              QByteArray("\x02\0\0\0", 4));
}

TEST(Registry, FailedWriteIsReportedAndLogged)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = folder.File(QLatin1String(kFileName));
    CGP_Registry key(file);
    ASSERT_TRUE(key.IsOpen());
    // The folder vanishes and a plain file takes its place: the new contents have nowhere to go.
    ASSERT_TRUE(QDir(QFileInfo(file).absolutePath()).removeRecursively());
    folder.Write(QStringLiteral("config/Quorvik"), "in the way");
    key.SetNumber(QStringLiteral("SkinIndex"), 1);
    EXPECT_FALSE(key.Flush());
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CGP_Registry: cannot write the settings file")));
    EXPECT_TRUE(CGP_Registry::UserSettingsPath().endsWith(QStringLiteral("/Quorvik/Velmora.ini")));
}

TEST(Registry, ThreadsReadWholeValuesWhileTheViewWrites)
{
    TestFolder folder;
    CGP_Registry key(folder.File(QLatin1String(kFileName)));
    const QString name = QStringLiteral("ShowTreasureAnimals");
    key.SetNumber(name, 0);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    const Deadline deadline("the reading thread's end");
    std::thread treasury([&] {
        while (!stop.load()) {
            quint32 value = 0;
            if (key.GetNumber(name, value) && value % 0x01010101u != 0)
                ++torn;
        }
    });
    for (quint32 i = 0; i < 256; ++i) {
        key.SetNumber(name, i * 0x01010101u);
        if (i % 32 == 0)
            key.Flush();
    }
    stop.store(true);
    treasury.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_TRUE(key.Flush());
    EXPECT_EQ(StoredValue(key.FilePath(), name).toByteArray(), QByteArray(4, '\xff'));
}
