#include "view/model/GP_SettingsStore.h"
#include "view/model/GP_TreasuryThemeSettings.h"

#include "tests/support/SettingsTestSupport.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <thread>

namespace {

// Remembers the names it is asked for, in order.
class RecordingRegistry : public CGP_Registry
{
public:
    using CGP_Registry::CGP_Registry;
    bool SetText(const QString& n, const QString& t) override { writes << n; return CGP_Registry::SetText(n, t); }
    bool SetFlag(const QString& n, quint8 v) override { writes << n; return CGP_Registry::SetFlag(n, v); }
    bool SetNumber(const QString& n, quint32 v) override { writes << n; return CGP_Registry::SetNumber(n, v); }
    bool SetBytes(const QString& n, const QByteArray& b) override { writes << n; return CGP_Registry::SetBytes(n, b); }
    bool GetText(const QString& n, QString& t) const override { reads << n; return CGP_Registry::GetText(n, t); }
    bool GetBytes(const QString& n, int w, QByteArray& b) const override { reads << n; return CGP_Registry::GetBytes(n, w, b); }
    QStringList writes;
    mutable QStringList reads;
};

class FakeThemes : public CGP_TreasuryThemeSettings
{
public:
    std::vector<GP_TreasuryThemeSetting> CopyThemeSettings() const override { ++copies; return themes; }
    std::vector<GP_TreasuryThemeSetting> themes;
    mutable int copies = 0;
};

std::unique_ptr<CGP_SettingsStore> LoadedStore(const QString& file)
{
    auto store = std::make_unique<CGP_SettingsStore>(std::make_unique<CGP_Registry>(file));
    store->LoadRegistrySet();
    return store;
}

void Store(const QString& file, const QString& key, const QVariant& value)
{
    QSettings(file, QSettings::IniFormat).setValue(key, value);
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
    auto store = LoadedStore(folder.File(QStringLiteral("Velmora.ini")));
    const GP_ViewSettings& s = store->Settings();
    EXPECT_EQ(s.SkinIndex, 0);
    EXPECT_EQ(store->CurrentColor(GP_Table::Board), 0x00EE00u);  // (0, 238, 0)
    EXPECT_EQ(store->CurrentTexture(GP_Table::Board), 4u);
    EXPECT_EQ(store->CurrentColor(GP_Table::Trays), 0xEE8888u);  // (136, 136, 238)
    EXPECT_EQ(store->CurrentTexture(GP_Table::Trays), 1u);
    EXPECT_EQ(s.tableColor[1][0], 0x790079u);  // (121, 0, 121)
    EXPECT_EQ(s.tableColor[2][0], 0x009700u);  // (0, 151, 0)
    EXPECT_EQ(s.tableColor[2][1], 0xA65400u);  // (0, 84, 166)
    EXPECT_EQ(s.tableTexture[1][0], 13u);
    EXPECT_EQ(s.tableTexture[2][0], 10u);
    EXPECT_TRUE(s.PlayVisible && s.ThumbVisible1 && s.SoundFXEnable);
    EXPECT_FALSE(s.GhostVisible || s.TrayVisible || store->ShowCalendar());
    EXPECT_EQ(s.CurrentScroll, 0.0f);
    EXPECT_EQ(store->MinDateCalendar(), QStringLiteral("2009-09-01"));
    EXPECT_EQ(CGP_SettingsStore::DateText(2011, 12, 4), QStringLiteral("2011-12-04"));
    EXPECT_EQ(CGP_SettingsStore::DateText(2011, 3, 15), QStringLiteral("2011-03-15"));
    EXPECT_EQ(s.CreatorName, QStringLiteral("Unknown"));
    EXPECT_TRUE(s.OpenPath.isEmpty());
    EXPECT_EQ(s.RotationHint + s.Controls, 2);
    EXPECT_EQ(s.Language, 0x409);
    EXPECT_EQ(store->AllocatedBytes(), 0u);
    EXPECT_FALSE(store->CrashTime().has_value());
    EXPECT_FALSE(store->DontCheckForUpdate());
    EXPECT_TRUE(log.Text().contains(QStringLiteral("LoadRegistrySet\n")));
}

TEST(SettingsStore, SavedSettingsComeBackWithTheirStoredWidths)
{
    TestFolder folder;
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    const QString author(100, QLatin1Char('x'));
    {
        auto store = LoadedStore(file);
        GP_ViewSettings& s = store->Settings();
        s.SkinIndex = 2;
        store->SetCurrentLook(GP_Table::Board, 0x123456, 7);
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
    EXPECT_EQ(StoredValue(file, QStringLiteral("CurrentScroll")).toByteArray(), FloatBytes(12.5f));
    EXPECT_EQ(StoredValue(file, QStringLiteral("Language")).toByteArray(), QByteArray("\x09\x04", 2));

    auto again = LoadedStore(file);
    const GP_ViewSettings& s = again->Settings();
    EXPECT_EQ(s.SkinIndex, 2);
    EXPECT_EQ(again->CurrentColor(GP_Table::Board), 0x123456u);
    EXPECT_EQ(again->CurrentTexture(GP_Table::Board), 7u);
    EXPECT_EQ(s.tableColor[0][0], 0x00EE00u) << "other skins keep their own values";
    EXPECT_TRUE(s.GhostVisible);
    EXPECT_FALSE(s.SoundFXEnable);
    EXPECT_EQ(s.CurrentScroll, 12.5f);
    EXPECT_EQ(s.CreatorName, author) << "a 100-character author is read whole";
    EXPECT_EQ(s.OpenPath, QStringLiteral("/home/anna/Bilder/Käfer/"));
    EXPECT_EQ(again->MinDateCalendar(), QStringLiteral("2011-03-04"));

    // "Default" restores the current skin only.
    again->RestoreCurrentSkinDefaults();
    EXPECT_EQ(again->CurrentColor(GP_Table::Board), 0x009700u);
    EXPECT_EQ(again->CurrentTexture(GP_Table::Board), 10u);
}

TEST(SettingsStore, TraysAndCalendarFlagsFollowTheirOwnRules)
{
    TestFolder folder;
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    Store(file, QStringLiteral("TrayVisible"), QByteArray("\x01", 1));
    Store(file, QStringLiteral("ShowCalendar"), QByteArray("\x01", 1));
    auto store = LoadedStore(file);
    EXPECT_FALSE(store->Settings().TrayVisible) << "the trays always start closed";
    EXPECT_FALSE(store->ShowCalendar()) << "stored inverted";
    store->SaveRegistrySet();
    EXPECT_EQ(StoredValue(file, QStringLiteral("TrayVisible")).toByteArray(), QByteArray("\0", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowCalendar")).toByteArray(), QByteArray("\x01", 1));

    Store(file, QStringLiteral("ShowCalendar"), QByteArray("\0", 1));
    store = LoadedStore(file);
    EXPECT_TRUE(store->ShowCalendar());
    store->Settings().TrayVisible = true;
    store->SaveRegistrySet();
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowCalendar")).toByteArray(), QByteArray("\0", 1));
    EXPECT_EQ(StoredValue(file, QStringLiteral("TrayVisible")).toByteArray(), QByteArray("\x01", 1));
}

TEST(SettingsStore, LoadAndSaveKeepTheirOrderAndTraces)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    auto registry = std::make_unique<RecordingRegistry>(file);
    RecordingRegistry& key = *registry;
    CGP_SettingsStore store(std::move(registry));
    FakeThemes themes;
    themes.themes = {{QStringLiteral("Animals"), QStringLiteral("00123"), true}, {QStringLiteral("Castles"), {}, false}};

    store.LoadRegistrySet();
    const QStringList reads = TableNames("Color") + TableNames("Texture")
                             + QStringList{"PlayVisible", "ThumbVisible1", "GhostVisible", "TrayVisible",
                                           "SoundFXEnable", "SkinIndex", "CurrentScroll", "ShowCalendar",
                                           "MinDateCalendar", "Creator Name", "OpenPath", "RotationHint",
                                           "Controls", "AllocMemory"};
    EXPECT_EQ(key.reads, reads);
    store.SaveRegistrySet(&themes);
    const QStringList writes = QStringList{"Language"} + TableNames("Color") + TableNames("Texture")
                              + QStringList{"Creator Name", "PlayVisible", "ThumbVisible1", "GhostVisible",
                                            "TrayVisible", "SoundFXEnable", "SkinIndex", "OpenPath",
                                            "RotationHint", "Controls", "CurrentScroll", "MinDateCalendar",
                                            "ShowCalendar", "MinIdTreasureAnimals", "ShowTreasureAnimals",
                                            "MinIdTreasureCastles", "ShowTreasureCastles"};
    EXPECT_EQ(key.writes, writes);
    EXPECT_EQ(themes.copies, 1);
    const QString text = log.Text();
    EXPECT_LT(text.indexOf(QStringLiteral("LoadRegistrySet\n")), text.indexOf(QStringLiteral("SaveRegistrySet\n")));
    EXPECT_EQ(StoredValue(file, QStringLiteral("MinIdTreasureAnimals")).toString(), QStringLiteral("00123"));
    EXPECT_EQ(StoredValue(file, QStringLiteral("ShowTreasureAnimals")).toByteArray(), QByteArray("\x01", 1));

    // Without themes nothing of the Treasury is written.
    key.writes.clear();
    FakeThemes none;
    store.SaveRegistrySet(&none);
    store.SaveRegistrySet(nullptr);
    EXPECT_FALSE(key.writes.join(QLatin1Char(' ')).contains(QStringLiteral("Treasure")));
}

TEST(SettingsStore, UnsoundStoredValuesFallBackAndAreLogged)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
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

    store->Settings().SkinIndex = 9;  // a skin number the view sets is bounded too
    EXPECT_EQ(store->CurrentColor(GP_Table::Trays), 0xEE8888u);
    store->SaveRegistrySet();
    EXPECT_EQ(store->AllocatedBytes(), 0u) << "the block is let go on save";

    Store(file, QStringLiteral("AllocMemory"), QByteArray("\xe8\x03\0\0", 4));
    EXPECT_EQ(LoadedStore(file)->AllocatedBytes(), 1000u);
}

TEST(SettingsStore, MissingKeyGivesDefaultsAndSkipsWrites)
{
    TestFolder folder;
    folder.Write(QStringLiteral("blocked"), "a file where the folder should be");
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("blocked/Velmora.ini"))));
    store.LoadRegistrySet();
    EXPECT_EQ(store.CurrentColor(GP_Table::Board), 0x00EE00u);
    EXPECT_EQ(store.Settings().CreatorName, QStringLiteral("Unknown"));
    EXPECT_FALSE(store.SaveRegistrySet());
    EXPECT_FALSE(store.DismissHelp(QString::fromLatin1(kHlpShop)));
    EXPECT_FALSE(store.HelpDismissed(QString::fromLatin1(kHlpShop)));
    EXPECT_EQ(folder.Read(QStringLiteral("blocked")), QByteArray("a file where the folder should be"));
}

TEST(SettingsStore, HelpMarkersAndDiagnosticValues)
{
    TestFolder folder;
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    auto store = LoadedStore(file);
    for (const char* marker : {kHlpMyPzl, kHlpCalendar, kHlpShop, kHlpGame1, kHlpGame2}) {
        EXPECT_FALSE(store->HelpDismissed(QString::fromLatin1(marker)));
        EXPECT_TRUE(store->DismissHelp(QString::fromLatin1(marker)));
        EXPECT_TRUE(store->HelpDismissed(QString::fromLatin1(marker)));
        // On disk at once, 4 bytes of 1, without waiting for the settings to be saved.
        EXPECT_EQ(StoredValue(file, QString::fromLatin1(marker)).toByteArray(), QByteArray("\x01\0\0\0", 4)) << marker;
    }
    Store(file, QStringLiteral("CrashTime"), QByteArray("\x10\x27\0\0", 4));
    Store(file, QStringLiteral("DontCheckForUpdate"), QByteArray("\x01\0\0\0", 4));
    store = LoadedStore(file);
    EXPECT_EQ(store->CrashTime().value_or(0), 10000u);
    EXPECT_TRUE(store->DontCheckForUpdate());
    Store(file, QStringLiteral("DontCheckForUpdate"), QByteArray("\0\0\0\0", 4));
    EXPECT_FALSE(LoadedStore(file)->DontCheckForUpdate());
}

TEST(SettingsStore, CalendarThreadChangesWhileTheViewSaves)
{
    TestFolder folder;
    const QString file = folder.File(QStringLiteral("Velmora.ini"));
    auto store = LoadedStore(file);
    const Deadline deadline("the calendar thread's end");
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
