#include "view/GP_Registry.h"

#include "tests/view/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <thread>

namespace {

QString SettingsFile(const TestFolder& folder)
{
    return folder.File(QStringLiteral("config/Quorvik/Velmora.ini"));
}

} // namespace

TEST(Registry, ValuesKeepTheirExactRawWidthOnDisk)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    {
        CGP_Registry key(file);
        ASSERT_TRUE(key.IsOpen());
        EXPECT_TRUE(key.SetNumber(QStringLiteral("Table 0 Skin 0 Color"), 0x00EE00));
        EXPECT_TRUE(key.SetFlag(QStringLiteral("PlayVisible"), 1));
        EXPECT_TRUE(key.SetBytes(QStringLiteral("Language"), QByteArray("\x09\x04", 2)));
        EXPECT_TRUE(key.SetText(QStringLiteral("Creator Name"), QStringLiteral("Anna")));
        EXPECT_TRUE(key.Flush());
    }
    EXPECT_EQ(StoredValue(file, QStringLiteral("Table 0 Skin 0 Color")).toByteArray(), QByteArray("\x00\xee\x00\x00", 4));
    EXPECT_EQ(StoredValue(file, QStringLiteral("PlayVisible")).toByteArray(), QByteArray("\x01", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("Language")).toByteArray(), QByteArray("\x09\x04", 2));
    const QVariant name = StoredValue(file, QStringLiteral("Creator Name"));
    EXPECT_EQ(name.typeId(), QMetaType::QString);
    EXPECT_EQ(name.toString(), QStringLiteral("Anna"));
    // The file itself: one flat entry per name, bytes as bytes.
    EXPECT_TRUE(folder.Read(QStringLiteral("config/Quorvik/Velmora.ini"))
                    .contains("Table%200%20Skin%200%20Color=@ByteArray(\\0\\xee\\0\\0)"));
}

TEST(Registry, ReadsHonourWidthAndKind)
{
    TestFolder folder;
    CGP_Registry key(SettingsFile(folder));
    key.SetBytes(QStringLiteral("two"), QByteArray("\x34\x12", 2));
    key.SetBytes(QStringLiteral("five"), QByteArray("\x01\x02\x03\x04\x05", 5));
    key.SetNumber(QStringLiteral("number"), 0xDEADBEEF);
    key.SetFlag(QStringLiteral("flag"), 7);
    key.SetText(QStringLiteral("text"), QStringLiteral("12"));

    quint32 number = 99;
    EXPECT_TRUE(key.GetNumber(QStringLiteral("two"), number));
    EXPECT_EQ(number, 0x1234u) << "a short value fills the low bytes, the rest is zero";
    EXPECT_TRUE(key.GetNumber(QStringLiteral("number"), number));
    EXPECT_EQ(number, 0xDEADBEEFu);
    EXPECT_TRUE(key.GetNumber(QStringLiteral("flag"), number));
    EXPECT_EQ(number, 7u);

    number = 99;
    EXPECT_FALSE(key.GetNumber(QStringLiteral("five"), number)) << "5 bytes do not fit a number";
    EXPECT_FALSE(key.GetNumber(QStringLiteral("text"), number)) << "a text is not a number";
    EXPECT_FALSE(key.GetNumber(QStringLiteral("missing"), number));
    EXPECT_EQ(number, 99u) << "a failed read leaves the output alone";

    quint8 flag = 42;
    EXPECT_TRUE(key.GetFlag(QStringLiteral("flag"), flag));
    EXPECT_EQ(flag, 7);
    flag = 42;
    EXPECT_FALSE(key.GetFlag(QStringLiteral("number"), flag)) << "4 bytes do not fit a flag";
    EXPECT_EQ(flag, 42);

    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(key.GetText(QStringLiteral("number"), text)) << "raw bytes are not a text";
    EXPECT_EQ(text, QStringLiteral("untouched"));
    EXPECT_TRUE(key.GetText(QStringLiteral("text"), text));
    EXPECT_EQ(text, QStringLiteral("12"));

    EXPECT_TRUE(key.HasValue(QStringLiteral("flag")));
    EXPECT_FALSE(key.HasValue(QStringLiteral("missing")));
}

TEST(Registry, NamesStayFlatAndDistinct)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    const QStringList names = {QStringLiteral("ShowTreasureA/B"), QStringLiteral("ShowTreasureA%2FB"),
                               QStringLiteral("ShowTreasureA\\B"), QStringLiteral("ShowTreasure100%")};
    {
        CGP_Registry key(file);
        for (int i = 0; i < names.size(); ++i)
            key.SetNumber(names[i], quint32(i + 1));
    }
    CGP_Registry key(file);
    for (int i = 0; i < names.size(); ++i) {
        quint32 value = 0;
        EXPECT_TRUE(key.GetNumber(names[i], value)) << names[i].toStdString();
        EXPECT_EQ(value, quint32(i + 1)) << names[i].toStdString();
    }
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_TRUE(raw.childGroups().isEmpty()) << "a slash in a name must not open a group";
}

TEST(Registry, KeyThatCannotBeOpenedFailsEverythingAndWritesNothing)
{
    TestFolder folder;
    CapturedLog log(folder);
    // The settings folder's place is taken by a plain file, so the folder cannot be made.
    folder.Write(QStringLiteral("config"), "not a folder");
    const QString file = folder.File(QStringLiteral("config/Quorvik/Velmora.ini"));
    CGP_Registry key(file);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.SetNumber(QStringLiteral("SkinIndex"), 1));
    EXPECT_FALSE(key.SetText(QStringLiteral("Creator Name"), QStringLiteral("x")));
    EXPECT_FALSE(key.SetFlag(QStringLiteral("PlayVisible"), 1));
    quint32 number = 5;
    QString text;
    EXPECT_FALSE(key.GetNumber(QStringLiteral("SkinIndex"), number));
    EXPECT_FALSE(key.GetText(QStringLiteral("Creator Name"), text));
    EXPECT_FALSE(key.HasValue(QStringLiteral("SkinIndex")));
    EXPECT_FALSE(key.Flush());
    QRect rect;
    EXPECT_FALSE(key.SavePanelPosition(1000, QRect(1, 2, 3, 4)));
    EXPECT_FALSE(key.LoadPanelPosition(1000, rect));
    EXPECT_EQ(folder.Read(QStringLiteral("config")), QByteArray("not a folder"));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CGP_Registry: cannot create the settings folder")));
}

TEST(Registry, PanelPositionsAreSixteenBytesUnderTheTemplateNumber)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    EXPECT_EQ(GP_PanelPositionName(1000), QStringLiteral("3E8"));
    EXPECT_EQ(GP_PanelPositionName(0xABCDEF), QStringLiteral("ABCDEF"));
    {
        CGP_Registry key(file);
        EXPECT_TRUE(key.SavePanelPosition(1000, QRect(-10, 20, 300, 400)));
    }
    // left, top, right, bottom: right and bottom one past the last pixel.
    QByteArray expected;
    for (const qint32 edge : {-10, 20, 290, 420})
        expected += QByteArray(reinterpret_cast<const char*>(&edge), 4);
    EXPECT_EQ(StoredValue(file, QStringLiteral("3E8")).toByteArray(), expected);

    CGP_Registry key(file);
    QRect rect;
    ASSERT_TRUE(key.LoadPanelPosition(1000, rect));
    EXPECT_EQ(rect, QRect(-10, 20, 300, 400));
    EXPECT_FALSE(key.LoadPanelPosition(1001, rect));

    // Damaged places are refused rather than used: too short, or right left of left.
    key.SetBytes(QStringLiteral("3E9"), expected.left(12));
    EXPECT_FALSE(key.LoadPanelPosition(1001, rect));
    QByteArray inverted;
    for (const qint32 edge : {100, 0, 50, 10})
        inverted += QByteArray(reinterpret_cast<const char*>(&edge), 4);
    key.SetBytes(QStringLiteral("3EA"), inverted);
    EXPECT_FALSE(key.LoadPanelPosition(1002, rect));
    EXPECT_EQ(rect, QRect(-10, 20, 300, 400));
}

TEST(Registry, DamagedFileKeepsWhatReadsAndIsSetAside)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = SettingsFile(folder);
    const QByteArray damaged = "[General]\nSkinIndex=@ByteArray(\\x2\\0\\0\\0)\n[Gen\xff\xfe\x01ral\ngarbage";
    folder.Write(QStringLiteral("config/Quorvik/Velmora.ini"), damaged);

    {
        CGP_Registry key(file);
        ASSERT_TRUE(key.IsOpen());
        quint32 skin = 0;
        EXPECT_TRUE(key.GetNumber(QStringLiteral("SkinIndex"), skin));
        EXPECT_EQ(skin, 2u);
        EXPECT_TRUE(log.Text().contains(QStringLiteral("the settings file is damaged")));
        // The damaged file is kept as it was, and the key writes again.
        EXPECT_EQ(folder.Read(QStringLiteral("config/Quorvik/Velmora.ini.damaged")), damaged);
        EXPECT_TRUE(key.SetText(QStringLiteral("Creator Name"), QStringLiteral("After")));
        EXPECT_TRUE(key.Flush());
    }
    QSettings reread(file, QSettings::IniFormat);
    EXPECT_EQ(reread.status(), QSettings::NoError);
    EXPECT_EQ(reread.value(QStringLiteral("Creator Name")).toString(), QStringLiteral("After"));
    EXPECT_EQ(reread.value(QStringLiteral("SkinIndex")).toByteArray(), QByteArray("\x02\0\0\0", 4));
}

TEST(Registry, FailedWriteIsReportedAndLogged)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = SettingsFile(folder);
    CGP_Registry key(file);
    ASSERT_TRUE(key.IsOpen());
    // The folder vanishes and a plain file takes its place: the new contents have nowhere to go.
    ASSERT_TRUE(QDir(QFileInfo(file).absolutePath()).removeRecursively());
    folder.Write(QStringLiteral("config/Quorvik"), "in the way");
    key.SetNumber(QStringLiteral("SkinIndex"), 1);
    EXPECT_FALSE(key.Flush());
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CGP_Registry: cannot write the settings file")));
}

TEST(Registry, UserFileIsTheOrganisationsApplicationFile)
{
    const QString path = CGP_Registry::UserSettingsPath();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Quorvik/Velmora.ini"))) << path.toStdString();
}

TEST(Registry, ThreadsReadWholeValuesWhileTheViewWrites)
{
    TestFolder folder;
    CGP_Registry key(SettingsFile(folder));
    const QString name = QStringLiteral("ShowTreasureAnimals");
    key.SetNumber(name, 0);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    // The Treasury thread reads while the view writes and saves.
    std::thread reader([&] {
        while (!stop.load()) {
            quint32 value = 0;
            if (key.GetNumber(name, value) && value % 0x01010101u != 0)
                ++torn;
            key.HasValue(name);
        }
    });
    for (quint32 i = 0; i < 256; ++i) {
        key.SetNumber(name, i * 0x01010101u);
        if (i % 32 == 0)
            key.Flush();
    }
    stop.store(true);
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_TRUE(key.Flush());
    EXPECT_EQ(StoredValue(key.FilePath(), name).toByteArray(), QByteArray(4, '\xff'));
}
