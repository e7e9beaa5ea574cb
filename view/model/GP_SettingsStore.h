#pragma once

#include "view/model/GP_Registry.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>

class CGP_TreasuryThemeSettings;

// The two surfaces with a background of their own: the board (table 0) and the trays (table 1).
enum class GP_Table { Board = 0, Trays = 1 };

// The help overlays remember that they were dismissed by these values being present.
inline constexpr char kHlpMyPzl[] = "HlpMyPzl";
inline constexpr char kHlpCalendar[] = "HlpCalendar";
inline constexpr char kHlpShop[] = "HlpShop";
inline constexpr char kHlpGame1[] = "HlpGame1";
inline constexpr char kHlpGame2[] = "HlpGame2";

// The view's settings as the player left them. Colours are colour references (red in the low
// byte, then green, then blue); a texture is an index into the skin's "Textures" pictures.
struct GP_ViewSettings
{
    static constexpr int kSkinCount = 3;
    static constexpr int kTableCount = 2;

    quint32 tableColor[kSkinCount][kTableCount] = {};
    quint32 tableTexture[kSkinCount][kTableCount] = {};
    bool PlayVisible = true;
    bool ThumbVisible1 = true;
    bool GhostVisible = false;
    bool TrayVisible = false;
    bool SoundFXEnable = true;
    int SkinIndex = 0;
    float CurrentScroll = 0.0f;
    QString CreatorName = QStringLiteral("Unknown");
    QString OpenPath;
    quint8 RotationHint = 1;
    quint8 Controls = 1;
    quint16 Language = 0x409;
};

// Every setting of the game with its default, read once when the view is created and written
// once when it is destroyed, plus the few values other screens keep under the same key.
class CGP_SettingsStore
{
public:
    // A block larger than this is never allocated for "AllocMemory", whatever the file says.
    static constexpr quint32 kMaxAllocMemory = 64u * 1024u * 1024u;
    static constexpr quint16 kLanguageEnglishUS = 0x409;

    // The current user's settings.
    CGP_SettingsStore();
    // Settings kept by the given key (tests point it at a private file).
    explicit CGP_SettingsStore(std::unique_ptr<CGP_Registry> registry);
    ~CGP_SettingsStore();

    CGP_SettingsStore(const CGP_SettingsStore&) = delete;
    CGP_SettingsStore& operator=(const CGP_SettingsStore&) = delete;

    // Reads every setting; whatever is missing or unreadable takes its default.
    void LoadRegistrySet();
    // Writes every setting and, when given, the Treasury themes' values, then lets the
    // "AllocMemory" block go. False when the file could not be written (logged).
    bool SaveRegistrySet(const CGP_TreasuryThemeSettings* themes = nullptr);

    GP_ViewSettings& Settings() { return m_settings; }
    const GP_ViewSettings& Settings() const { return m_settings; }

    // The colour and texture of a table in the current skin, and their defaults.
    quint32 CurrentColor(GP_Table table) const;
    quint32 CurrentTexture(GP_Table table) const;
    void SetCurrentLook(GP_Table table, quint32 color, quint32 texture);
    void RestoreCurrentSkinDefaults();
    static quint32 DefaultColor(int skin, GP_Table table);
    static quint32 DefaultTexture(int skin, GP_Table table);

    // Shared with the calendar thread.
    bool ShowCalendar() const { return m_showCalendar.load(); }
    void SetShowCalendar(bool show) { m_showCalendar.store(show); }
    QString MinDateCalendar() const;
    void SetMinDateCalendar(const QString& dateText);

    // Help overlays: dismissed once their value exists; dismissing writes it at once.
    bool HelpDismissed(const QString& marker) const;
    bool DismissHelp(const QString& marker);

    // "CrashTime" when present; "DontCheckForUpdate" counts as 0 when missing.
    std::optional<quint32> CrashTime() const;
    bool DontCheckForUpdate() const;

    // The size of the "AllocMemory" block held now (0 when none).
    std::size_t AllocatedBytes() const { return m_allocSize; }

    CGP_Registry& Registry() { return *m_registry; }

    // "2009-09-01": year, then month and day with two digits.
    static QString DateText(int year, int month, int day);
    static bool IsDateText(const QString& text);

private:
    int CurrentSkin() const;
    void ReadTables();
    void ReadFlags();
    void ReadSkinIndex();
    void ReadCurrentScroll();
    void ReadCalendar();
    void ReadTexts();
    void ReadAllocMemory();
    void WriteTables();
    void WriteTreasuryThemes(const CGP_TreasuryThemeSettings& themes);
    bool ReadFlag(const char* name, bool fallback) const;

    std::unique_ptr<CGP_Registry> m_registry;
    GP_ViewSettings m_settings;
    std::atomic<bool> m_showCalendar{false};
    QString m_minDateCalendar;
    mutable std::mutex m_calendarLock;
    std::unique_ptr<char[]> m_allocMemory;
    std::size_t m_allocSize = 0;
};
