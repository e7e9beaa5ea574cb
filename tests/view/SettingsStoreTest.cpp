#include "view/GP_SettingsStore.h"
#include "view/GP_TreasuryThemeSettings.h"

#include "tests/view/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

namespace {

// Remembers the names it is asked for, in order.
class RecordingRegistry : public CGP_Registry
{
public:
    using CGP_Registry::CGP_Registry;

    bool SetText(const QString& name, const QString& text) override { return Wrote(name) && CGP_Registry::SetText(name, text); }
    bool SetFlag(const QString& name, quint8 value) override { return Wrote(name) && CGP_Registry::SetFlag(name, value); }
    bool SetNumber(const QString& name, quint32 value) override { return Wrote(name) && CGP_Registry::SetNumber(name, value); }
    bool SetBytes(const QString& name, const QByteArray& bytes) override { return Wrote(name) && CGP_Registry::SetBytes(name, bytes); }
    bool GetText(const QString& name, QString& text) const override { return Read(name) && CGP_Registry::GetText(name, text); }
    bool GetBytes(const QString& name, int width, QByteArray& bytes) const override
    {
        return Read(name) && CGP_Registry::GetBytes(name, width, bytes);
    }

    QStringList writes;
    mutable QStringList reads;

private:
    bool Wrote(const QString& name) { writes << name; return true; }
    bool Read(const QString& name) const { reads << name; return true; }
};

class FakeThemes : public CGP_TreasuryThemeSettings
{
public:
    std::vector<GP_TreasuryThemeSetting> CopyThemeSettings() const override
    {
        ++copies;
        return themes;
    }
    std::vector<GP_TreasuryThemeSetting> themes;
    mutable int copies = 0;
};

QString SettingsFile(const TestFolder& folder)
{
    return folder.File(QStringLiteral("Velmora.ini"));
}

std::unique_ptr<CGP_SettingsStore> LoadedStore(const QString& file)
{
    auto store = std::make_unique<CGP_SettingsStore>(std::make_unique<CGP_Registry>(file));
    store->LoadRegistrySet();
    return store;
}

void Store(const QString& file, const QString& key, const QVariant& value)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(key, value);
}

QByteArray FloatBytes(float value)
{
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

QStringList TableNames(const char* kind)
{
    QStringList names;
    for (int skin = 0; skin < 3; ++skin)
        for (int table = 0; table < 2; ++table)
            names << QStringLiteral("Table %1 Skin %2 %3").arg(table).arg(skin).arg(QLatin1String(kind));
    return names;
}

} // namespace

TEST(SettingsStore, FreshUserGetsEveryDefault)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto store = LoadedStore(SettingsFile(folder));
    const GP_ViewSettings& s = store->Settings();

    EXPECT_EQ(s.SkinIndex, 0);
    EXPECT_EQ(store->CurrentColor(GP_Table::Board), 0x00EE00u);  // (0, 238, 0)
    EXPECT_EQ(store->CurrentTexture(GP_Table::Board), 4u);
    EXPECT_EQ(store->CurrentColor(GP_Table::Trays), 0xEE8888u);  // (136, 136, 238)
    EXPECT_EQ(store->CurrentTexture(GP_Table::Trays), 1u);
    const quint32 colors[3][2] = {{0x00EE00, 0xEE8888}, {0x790079, 0xA65400}, {0x009700, 0xA65400}};
    const quint32 textures[3][2] = {{4, 1}, {13, 1}, {10, 1}};
    for (int skin = 0; skin < 3; ++skin) {
        for (int table = 0; table < 2; ++table) {
            EXPECT_EQ(s.tableColor[skin][table], colors[skin][table]) << skin << table;
            EXPECT_EQ(s.tableTexture[skin][table], textures[skin][table]) << skin << table;
        }
    }
    EXPECT_TRUE(s.PlayVisible);
    EXPECT_TRUE(s.ThumbVisible1);
    EXPECT_FALSE(s.GhostVisible);
    EXPECT_FALSE(s.TrayVisible);
    EXPECT_TRUE(s.SoundFXEnable);
    EXPECT_EQ(s.CurrentScroll, 0.0f);
    EXPECT_FALSE(store->ShowCalendar());
    EXPECT_EQ(store->MinDateCalendar(), QStringLiteral("2009-09-01"));
    EXPECT_EQ(s.CreatorName, QStringLiteral("Unknown"));
    EXPECT_TRUE(s.OpenPath.isEmpty());
    EXPECT_EQ(s.RotationHint, 1);
    EXPECT_EQ(s.Controls, 1);
    EXPECT_EQ(s.Language, 0x409);
    EXPECT_EQ(store->AllocatedBytes(), 0u);
    EXPECT_FALSE(store->CrashTime().has_value());
    EXPECT_FALSE(store->DontCheckForUpdate());
    EXPECT_FALSE(store->HelpDismissed(QString::fromLatin1(kHlpMyPzl)));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("LoadRegistrySet\n")));
}

TEST(SettingsStore, SavedSettingsComeBackWithTheirStoredWidths)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    const QString author = QString(100, QLatin1Char('x')) ;
    {
        auto store = LoadedStore(file);
        GP_ViewSettings& s = store->Settings();
        s.SkinIndex = 2;
        store->SetCurrentLook(GP_Table::Board, 0x123456, 7);
        store->SetCurrentLook(GP_Table::Trays, 0x654321, 3);
        s.PlayVisible = false;
        s.ThumbVisible1 = false;
        s.GhostVisible = true;
        s.SoundFXEnable = false;
        s.CurrentScroll = 12.5f;
        s.CreatorName = author;
        s.OpenPath = QStringLiteral("/home/anna/Bilder/Käfer/");
        store->SetMinDateCalendar(QStringLiteral("2011-03-04"));
        EXPECT_TRUE(store->SaveRegistrySet());
    }
    EXPECT_EQ(StoredValue(file, QStringLiteral("SkinIndex")).toByteArray(), QByteArray("\x02\0\0\0", 4));
    EXPECT_EQ(StoredValue(file, QStringLiteral("Table 0 Skin 2 Color")).toByteArray(), QByteArray("\x56\x34\x12\0", 4));
    EXPECT_EQ(StoredValue(file, QStringLiteral("GhostVisible")).toByteArray(), QByteArray("\x01", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("SoundFXEnable")).toByteArray(), QByteArray("\0", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("CurrentScroll")).toByteArray(), FloatBytes(12.5f));
    EXPECT_EQ(StoredValue(file, QStringLiteral("Language")).toByteArray(), QByteArray("\x09\x04", 2));
    EXPECT_EQ(StoredValue(file, QStringLiteral("MinDateCalendar")).toString(), QStringLiteral("2011-03-04"));
    EXPECT_FALSE(StoredValue(file, QStringLiteral("AllocMemory")).isValid());

    auto again = LoadedStore(file);
    const GP_ViewSettings& s = again->Settings();
    EXPECT_EQ(s.SkinIndex, 2);
    EXPECT_EQ(again->CurrentColor(GP_Table::Board), 0x123456u);
    EXPECT_EQ(again->CurrentTexture(GP_Table::Board), 7u);
    EXPECT_EQ(again->CurrentColor(GP_Table::Trays), 0x654321u);
    EXPECT_EQ(again->CurrentTexture(GP_Table::Trays), 3u);
    EXPECT_EQ(s.tableColor[0][0], 0x00EE00u) << "other skins keep their own values";
    EXPECT_FALSE(s.PlayVisible);
    EXPECT_FALSE(s.ThumbVisible1);
    EXPECT_TRUE(s.GhostVisible);
    EXPECT_FALSE(s.SoundFXEnable);
    EXPECT_EQ(s.CurrentScroll, 12.5f);
    EXPECT_EQ(s.CreatorName, author) << "a 100-character author is read whole";
    EXPECT_EQ(s.OpenPath, QStringLiteral("/home/anna/Bilder/Käfer/"));
    EXPECT_EQ(again->MinDateCalendar(), QStringLiteral("2011-03-04"));
}

TEST(SettingsStore, TraysAndCalendarFlagsFollowTheirOwnRules)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    Store(file, QStringLiteral("TrayVisible"), QByteArray("\x01", 1));
    Store(file, QStringLiteral("ShowCalendar"), QByteArray("\x01", 1));
    {
        auto store = LoadedStore(file);
        EXPECT_FALSE(store->Settings().TrayVisible) << "the trays always start closed";
        EXPECT_FALSE(store->ShowCalendar()) << "stored inverted";
        store->SaveRegistrySet();
    }
    EXPECT_EQ(StoredValue(file, QStringLiteral("TrayVisible")).toByteArray(), QByteArray("\0", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowCalendar")).toByteArray(), QByteArray("\x01", 1));

    Store(file, QStringLiteral("ShowCalendar"), QByteArray("\0", 1));
    {
        auto store = LoadedStore(file);
        EXPECT_TRUE(store->ShowCalendar());
        store->Settings().TrayVisible = true;
        store->SaveRegistrySet();
    }
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowCalendar")).toByteArray(), QByteArray("\0", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("TrayVisible")).toByteArray(), QByteArray("\x01", 1));
}

TEST(SettingsStore, LoadAndSaveKeepTheirOrderAndTraces)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto registry = std::make_unique<RecordingRegistry>(SettingsFile(folder));
    RecordingRegistry& key = *registry;
    CGP_SettingsStore store(std::move(registry));
    FakeThemes themes;
    themes.themes = {{QStringLiteral("Animals"), QStringLiteral("00123"), true},
                     {QStringLiteral("Castles"), QString(), false}};

    store.LoadRegistrySet();
    QStringList reads = TableNames("Color") + TableNames("Texture");
    reads << "PlayVisible" << "ThumbVisible1" << "GhostVisible" << "TrayVisible" << "SoundFXEnable"
          << "SkinIndex" << "CurrentScroll" << "ShowCalendar" << "MinDateCalendar" << "Creator Name"
          << "OpenPath" << "RotationHint" << "Controls" << "AllocMemory";
    EXPECT_EQ(key.reads, reads);

    store.SaveRegistrySet(&themes);
    QStringList writes = QStringList{"Language"} + TableNames("Color") + TableNames("Texture");
    writes << "Creator Name" << "PlayVisible" << "ThumbVisible1" << "GhostVisible" << "TrayVisible"
           << "SoundFXEnable" << "SkinIndex" << "OpenPath" << "RotationHint" << "Controls" << "CurrentScroll"
           << "MinDateCalendar" << "ShowCalendar" << "MinIdTreasureAnimals" << "ShowTreasureAnimals"
           << "MinIdTreasureCastles" << "ShowTreasureCastles";
    EXPECT_EQ(key.writes, writes);
    EXPECT_EQ(themes.copies, 1);

    const QString text = log.Text();
    EXPECT_LT(text.indexOf(QStringLiteral("LoadRegistrySet\n")), text.indexOf(QStringLiteral("SaveRegistrySet\n")));
    const QString file = SettingsFile(folder);
    EXPECT_EQ(StoredValue(file, QStringLiteral("MinIdTreasureAnimals")).toString(), QStringLiteral("00123"));
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowTreasureAnimals")).toByteArray(), QByteArray("\x01", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowTreasureCastles")).toByteArray(), QByteArray("\0", 1));

    // No theme list, or an empty one: no Treasury values at all.
    TestFolder other;
    FakeThemes none;
    auto plain = LoadedStore(SettingsFile(other));
    plain->SaveRegistrySet(&none);
    plain->SaveRegistrySet(nullptr);
    QSettings raw(SettingsFile(other), QSettings::IniFormat);
    EXPECT_FALSE(raw.allKeys().join(QLatin1Char(' ')).contains(QStringLiteral("Treasure")));
}

TEST(SettingsStore, UnsoundStoredValuesFallBackAndAreLogged)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = SettingsFile(folder);
    Store(file, QStringLiteral("SkinIndex"), QByteArray("\x07\0\0\0", 4));
    Store(file, QStringLiteral("CurrentScroll"), FloatBytes(std::numeric_limits<float>::quiet_NaN()));
    Store(file, QStringLiteral("MinDateCalendar"), QStringLiteral("yesterday"));
    Store(file, QStringLiteral("Table 0 Skin 0 Color"), QStringLiteral("green"));
    Store(file, QStringLiteral("PlayVisible"), QByteArray("\0\0\0\0", 4));  // too wide for a flag
    Store(file, QStringLiteral("Creator Name"), QByteArray("Bob"));         // bytes, not a text
    Store(file, QStringLiteral("AllocMemory"), QByteArray("\xff\xff\xff\xff", 4));

    auto store = LoadedStore(file);
    EXPECT_EQ(store->Settings().SkinIndex, 0);
    EXPECT_EQ(store->Settings().CurrentScroll, 0.0f);
    EXPECT_EQ(store->MinDateCalendar(), QStringLiteral("2009-09-01"));
    EXPECT_EQ(store->CurrentColor(GP_Table::Board), 0x00EE00u);
    EXPECT_TRUE(store->Settings().PlayVisible);
    EXPECT_EQ(store->Settings().CreatorName, QStringLiteral("Unknown"));
    EXPECT_EQ(store->AllocatedBytes(), size_t(CGP_SettingsStore::kMaxAllocMemory));
    const QString text = log.Text();
    EXPECT_TRUE(text.contains(QStringLiteral("SkinIndex 7 out of range")));
    EXPECT_TRUE(text.contains(QStringLiteral("CurrentScroll is not a number")));
    EXPECT_TRUE(text.contains(QStringLiteral("MinDateCalendar is not a date")));
    EXPECT_TRUE(text.contains(QStringLiteral("AllocMemory 4294967295 bytes capped")));

    // The skin number set later by the view is bounded as well.
    store->Settings().SkinIndex = 9;
    EXPECT_EQ(store->CurrentColor(GP_Table::Trays), 0xEE8888u);
    store->SaveRegistrySet();
    EXPECT_EQ(store->AllocatedBytes(), 0u) << "the block is let go on save";
}

TEST(SettingsStore, AllocMemoryIsHeldUntilSaved)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    Store(file, QStringLiteral("AllocMemory"), QByteArray("\xe8\x03\0\0", 4));
    auto store = LoadedStore(file);
    EXPECT_EQ(store->AllocatedBytes(), 1000u);
    store->SaveRegistrySet();
    EXPECT_EQ(store->AllocatedBytes(), 0u);
    EXPECT_EQ(StoredValue(file, QStringLiteral("AllocMemory")).toByteArray(), QByteArray("\xe8\x03\0\0", 4))
        << "the value itself stays as the player left it";
}

TEST(SettingsStore, MissingKeyGivesDefaultsAndSkipsWrites)
{
    TestFolder folder;
    folder.Write(QStringLiteral("blocked"), "a file where the folder should be");
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("blocked/Velmora.ini"))));
    store.LoadRegistrySet();
    EXPECT_EQ(store.CurrentColor(GP_Table::Board), 0x00EE00u);
    EXPECT_EQ(store.Settings().CreatorName, QStringLiteral("Unknown"));
    store.Settings().CreatorName = QStringLiteral("Nobody");
    EXPECT_FALSE(store.SaveRegistrySet());
    EXPECT_FALSE(store.DismissHelp(QString::fromLatin1(kHlpShop)));
    EXPECT_FALSE(store.HelpDismissed(QString::fromLatin1(kHlpShop)));
    EXPECT_EQ(folder.Read(QStringLiteral("blocked")), QByteArray("a file where the folder should be"));
}

TEST(SettingsStore, HelpMarkersAndDiagnosticValues)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    auto store = LoadedStore(file);
    const QString markers[] = {QString::fromLatin1(kHlpMyPzl), QString::fromLatin1(kHlpCalendar),
                               QString::fromLatin1(kHlpShop), QString::fromLatin1(kHlpGame1),
                               QString::fromLatin1(kHlpGame2)};
    for (const QString& marker : markers) {
        EXPECT_FALSE(store->HelpDismissed(marker));
        EXPECT_TRUE(store->DismissHelp(marker));
        EXPECT_TRUE(store->HelpDismissed(marker));
        // Written at once, 4 bytes of 1, without waiting for the settings to be saved.
        EXPECT_EQ(StoredValue(file, marker).toByteArray(), QByteArray("\x01\0\0\0", 4)) << marker.toStdString();
    }

    Store(file, QStringLiteral("CrashTime"), QByteArray("\x10\x27\0\0", 4));
    Store(file, QStringLiteral("DontCheckForUpdate"), QByteArray("\x01\0\0\0", 4));
    auto later = LoadedStore(file);
    ASSERT_TRUE(later->CrashTime().has_value());
    EXPECT_EQ(*later->CrashTime(), 10000u);
    EXPECT_TRUE(later->DontCheckForUpdate());
    Store(file, QStringLiteral("DontCheckForUpdate"), QByteArray("\0\0\0\0", 4));
    EXPECT_FALSE(LoadedStore(file)->DontCheckForUpdate());
}

TEST(SettingsStore, DefaultButtonRestoresOnlyTheCurrentSkin)
{
    TestFolder folder;
    auto store = LoadedStore(SettingsFile(folder));
    store->Settings().SkinIndex = 1;
    store->SetCurrentLook(GP_Table::Board, 0x111111, 2);
    store->Settings().tableColor[0][0] = 0x222222;
    store->RestoreCurrentSkinDefaults();
    EXPECT_EQ(store->CurrentColor(GP_Table::Board), 0x790079u);
    EXPECT_EQ(store->CurrentTexture(GP_Table::Board), 13u);
    EXPECT_EQ(store->Settings().tableColor[0][0], 0x222222u);
}

TEST(SettingsStore, DateTextPadsMonthAndDay)
{
    EXPECT_EQ(CGP_SettingsStore::DateText(2009, 9, 1), QStringLiteral("2009-09-01"));
    EXPECT_EQ(CGP_SettingsStore::DateText(2011, 12, 4), QStringLiteral("2011-12-04"));
    EXPECT_EQ(CGP_SettingsStore::DateText(2011, 3, 15), QStringLiteral("2011-03-15"));
    EXPECT_EQ(CGP_SettingsStore::DateText(2011, 11, 30), QStringLiteral("2011-11-30"));
}

TEST(SettingsStore, CalendarThreadChangesWhileTheViewSaves)
{
    TestFolder folder;
    const QString file = SettingsFile(folder);
    auto store = LoadedStore(file);
    std::thread calendar([&] {
        for (int day = 1; day <= 28; ++day) {
            store->SetShowCalendar(day % 2 == 1);
            store->SetMinDateCalendar(CGP_SettingsStore::DateText(2011, 2, day));
        }
    });
    for (int i = 0; i < 5; ++i)
        store->SaveRegistrySet();
    calendar.join();
    store->SaveRegistrySet();
    auto again = LoadedStore(file);
    EXPECT_EQ(again->MinDateCalendar(), QStringLiteral("2011-02-28"));
    EXPECT_FALSE(again->ShowCalendar());
}
