#include "view/model/GP_SettingsStore.h"

#include "view/model/GP_TreasuryThemeSettings.h"
#include "shell/log/GP_LogFile.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr quint32 ColorRef(quint32 red, quint32 green, quint32 blue)
{
    return red | (green << 8) | (blue << 16);
}

// Per skin: board, then trays.
constexpr quint32 kDefaultColor[GP_ViewSettings::kSkinCount][GP_ViewSettings::kTableCount] = {
    {ColorRef(0, 238, 0), ColorRef(136, 136, 238)},
    {ColorRef(121, 0, 121), ColorRef(0, 84, 166)},
    {ColorRef(0, 151, 0), ColorRef(0, 84, 166)},
};
constexpr quint32 kDefaultTexture[GP_ViewSettings::kSkinCount][GP_ViewSettings::kTableCount] = {
    {4, 1},
    {13, 1},
    {10, 1},
};

constexpr int kFirstCalendarYear = 2009;
constexpr int kFirstCalendarMonth = 9;
constexpr int kFirstCalendarDay = 1;
constexpr int kScrollWidth = 4;

const char kPlayVisible[] = "PlayVisible";
const char kThumbVisible[] = "ThumbVisible1";
const char kGhostVisible[] = "GhostVisible";
const char kTrayVisible[] = "TrayVisible";
const char kSoundFXEnable[] = "SoundFXEnable";
const char kSkinIndex[] = "SkinIndex";
const char kCurrentScroll[] = "CurrentScroll";
const char kShowCalendar[] = "ShowCalendar";
const char kMinDateCalendar[] = "MinDateCalendar";
const char kCreatorName[] = "Creator Name";
const char kOpenPath[] = "OpenPath";
const char kRotationHint[] = "RotationHint";
const char kControls[] = "Controls";
const char kLanguage[] = "Language";
const char kAllocMemory[] = "AllocMemory";
const char kCrashTime[] = "CrashTime";
const char kDontCheckForUpdate[] = "DontCheckForUpdate";
const char kMinIdTreasure[] = "MinIdTreasure";
const char kShowTreasure[] = "ShowTreasure";

QString ColorName(int table, int skin)
{
    return QStringLiteral("Table %1 Skin %2 Color").arg(table).arg(skin);
}

QString TextureName(int table, int skin)
{
    return QStringLiteral("Table %1 Skin %2 Texture").arg(table).arg(skin);
}

bool ValidSkin(int skin)
{
    return skin >= 0 && skin < GP_ViewSettings::kSkinCount;
}

QString DefaultMinDate()
{
    return CGP_SettingsStore::DateText(kFirstCalendarYear, kFirstCalendarMonth, kFirstCalendarDay);
}

} // namespace

CGP_SettingsStore::CGP_SettingsStore()
    : CGP_SettingsStore(std::make_unique<CGP_Registry>())
{
}

CGP_SettingsStore::CGP_SettingsStore(std::unique_ptr<CGP_Registry> registry)
    : m_registry(registry ? std::move(registry) : std::make_unique<CGP_Registry>())
{
    for (int skin = 0; skin < GP_ViewSettings::kSkinCount; ++skin) {
        for (int table = 0; table < GP_ViewSettings::kTableCount; ++table) {
            m_settings.tableColor[skin][table] = kDefaultColor[skin][table];
            m_settings.tableTexture[skin][table] = kDefaultTexture[skin][table];
        }
    }
    m_minDateCalendar = DefaultMinDate();
}

CGP_SettingsStore::~CGP_SettingsStore() = default;

QString CGP_SettingsStore::DateText(int year, int month, int day)
{
    return QStringLiteral("%1-%2-%3")
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

bool CGP_SettingsStore::IsDateText(const QString& text)
{
    static const QRegularExpression kDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return kDate.match(text).hasMatch();
}

quint32 CGP_SettingsStore::DefaultColor(int skin, GP_Table table)
{
    return ValidSkin(skin) ? kDefaultColor[skin][int(table)] : kDefaultColor[0][int(table)];
}

quint32 CGP_SettingsStore::DefaultTexture(int skin, GP_Table table)
{
    return ValidSkin(skin) ? kDefaultTexture[skin][int(table)] : kDefaultTexture[0][int(table)];
}

// The view may set any number; the tables are only ever indexed inside their bounds.
int CGP_SettingsStore::CurrentSkin() const
{
    return ValidSkin(m_settings.SkinIndex) ? m_settings.SkinIndex : 0;
}

quint32 CGP_SettingsStore::CurrentColor(GP_Table table) const
{
    return m_settings.tableColor[CurrentSkin()][int(table)];
}

quint32 CGP_SettingsStore::CurrentTexture(GP_Table table) const
{
    return m_settings.tableTexture[CurrentSkin()][int(table)];
}

void CGP_SettingsStore::SetCurrentLook(GP_Table table, quint32 color, quint32 texture)
{
    m_settings.tableColor[CurrentSkin()][int(table)] = color;
    m_settings.tableTexture[CurrentSkin()][int(table)] = texture;
}

void CGP_SettingsStore::RestoreCurrentSkinDefaults()
{
    const int skin = CurrentSkin();
    for (const GP_Table table : {GP_Table::Board, GP_Table::Trays})
        SetCurrentLook(table, DefaultColor(skin, table), DefaultTexture(skin, table));
}

QString CGP_SettingsStore::MinDateCalendar() const
{
    std::lock_guard<std::mutex> guard(m_calendarLock);
    return m_minDateCalendar;
}

void CGP_SettingsStore::SetMinDateCalendar(const QString& dateText)
{
    std::lock_guard<std::mutex> guard(m_calendarLock);
    m_minDateCalendar = dateText;
}

bool CGP_SettingsStore::ReadFlag(const char* name, bool fallback) const
{
    quint8 value = 0;
    if (!m_registry->GetFlag(QString::fromLatin1(name), value))
        return fallback;
    return value != 0;
}

void CGP_SettingsStore::LoadRegistrySet()
{
    GP_Log(QStringLiteral("LoadRegistrySet\n"));
    m_settings.Language = kLanguageEnglishUS;
    ReadTables();
    ReadFlags();
    ReadSkinIndex();
    ReadCurrentScroll();
    ReadCalendar();
    ReadTexts();
    m_settings.RotationHint = ReadFlag(kRotationHint, true) ? 1 : 0;
    m_settings.Controls = ReadFlag(kControls, true) ? 1 : 0;
    ReadAllocMemory();
}

void CGP_SettingsStore::ReadTables()
{
    for (int skin = 0; skin < GP_ViewSettings::kSkinCount; ++skin) {
        for (int table = 0; table < GP_ViewSettings::kTableCount; ++table) {
            quint32 color = kDefaultColor[skin][table];
            if (!m_registry->GetNumber(ColorName(table, skin), color))
                color = kDefaultColor[skin][table];
            m_settings.tableColor[skin][table] = color;
        }
    }
    for (int skin = 0; skin < GP_ViewSettings::kSkinCount; ++skin) {
        for (int table = 0; table < GP_ViewSettings::kTableCount; ++table) {
            quint32 texture = kDefaultTexture[skin][table];
            if (!m_registry->GetNumber(TextureName(table, skin), texture))
                texture = kDefaultTexture[skin][table];
            m_settings.tableTexture[skin][table] = texture;
        }
    }
}

void CGP_SettingsStore::ReadFlags()
{
    m_settings.PlayVisible = ReadFlag(kPlayVisible, true);
    m_settings.ThumbVisible1 = ReadFlag(kThumbVisible, true);
    m_settings.GhostVisible = ReadFlag(kGhostVisible, false);
    // Read for its own sake only: the trays always start closed.
    ReadFlag(kTrayVisible, true);
    m_settings.TrayVisible = false;
    m_settings.SoundFXEnable = ReadFlag(kSoundFXEnable, true);
}

// The skin number picks a row of the colour tables, so a number outside them is refused rather
// than let it index past them.
void CGP_SettingsStore::ReadSkinIndex()
{
    quint32 skin = 0;
    if (!m_registry->GetNumber(QString::fromLatin1(kSkinIndex), skin))
        skin = 0;
    if (skin >= quint32(GP_ViewSettings::kSkinCount)) {
        GP_Log(QStringLiteral("LoadRegistrySet: SkinIndex %1 out of range, skin 0 used\n").arg(skin));
        skin = 0;
    }
    m_settings.SkinIndex = int(skin);
}

void CGP_SettingsStore::ReadCurrentScroll()
{
    m_settings.CurrentScroll = 0.0f;
    QByteArray bytes;
    if (!m_registry->GetBytes(QString::fromLatin1(kCurrentScroll), kScrollWidth, bytes))
        return;
    if (bytes.size() != kScrollWidth)
        return;
    const float scroll = qFromLittleEndian<float>(bytes.constData());
    // A scroll position that is not a number would poison every layout computed from it.
    if (!std::isfinite(scroll)) {
        GP_Log(QStringLiteral("LoadRegistrySet: CurrentScroll is not a number, 0 used\n"));
        return;
    }
    m_settings.CurrentScroll = scroll;
}

void CGP_SettingsStore::ReadCalendar()
{
    // Stored inverted: an absent value and a stored 1 both leave the flag off.
    quint8 stored = 0;
    const bool present = m_registry->GetFlag(QString::fromLatin1(kShowCalendar), stored);
    m_showCalendar.store(present && stored == 0);

    QString date;
    if (!m_registry->GetText(QString::fromLatin1(kMinDateCalendar), date))
        date = DefaultMinDate();
    if (!IsDateText(date)) {
        GP_Log(QStringLiteral("LoadRegistrySet: MinDateCalendar is not a date, ") + DefaultMinDate()
               + QStringLiteral(" used\n"));
        date = DefaultMinDate();
    }
    SetMinDateCalendar(date);
}

void CGP_SettingsStore::ReadTexts()
{
    QString text;
    m_settings.CreatorName = m_registry->GetText(QString::fromLatin1(kCreatorName), text)
                                 ? text
                                 : QStringLiteral("Unknown");
    text.clear();
    m_settings.OpenPath = m_registry->GetText(QString::fromLatin1(kOpenPath), text) ? text : QString();
}

// The block exists only to take memory away from the rest of the game. A value from the file
// must not be able to make the game claim gigabytes, so the block is capped.
void CGP_SettingsStore::ReadAllocMemory()
{
    m_allocMemory.reset();
    m_allocSize = 0;
    quint32 wanted = 0;
    if (!m_registry->GetNumber(QString::fromLatin1(kAllocMemory), wanted) || wanted == 0)
        return;
    if (wanted > kMaxAllocMemory) {
        GP_Log(QStringLiteral("LoadRegistrySet: AllocMemory %1 bytes capped at %2\n").arg(wanted).arg(kMaxAllocMemory));
        wanted = kMaxAllocMemory;
    }
    m_allocMemory.reset(new (std::nothrow) char[wanted]);
    if (!m_allocMemory) {
        GP_Log(QStringLiteral("LoadRegistrySet: AllocMemory %1 bytes could not be allocated\n").arg(wanted));
        return;
    }
    std::memset(m_allocMemory.get(), 0, wanted);
    m_allocSize = wanted;
}

bool CGP_SettingsStore::SaveRegistrySet(const CGP_TreasuryThemeSettings* themes)
{
    GP_Log(QStringLiteral("SaveRegistrySet\n"));
    CGP_Registry& key = *m_registry;
    QByteArray language(2, '\0');
    qToLittleEndian(m_settings.Language, language.data());
    key.SetBytes(QString::fromLatin1(kLanguage), language);
    WriteTables();
    key.SetText(QString::fromLatin1(kCreatorName), m_settings.CreatorName);
    key.SetFlag(QString::fromLatin1(kPlayVisible), m_settings.PlayVisible ? 1 : 0);
    key.SetFlag(QString::fromLatin1(kThumbVisible), m_settings.ThumbVisible1 ? 1 : 0);
    key.SetFlag(QString::fromLatin1(kGhostVisible), m_settings.GhostVisible ? 1 : 0);
    key.SetFlag(QString::fromLatin1(kTrayVisible), m_settings.TrayVisible ? 1 : 0);
    key.SetFlag(QString::fromLatin1(kSoundFXEnable), m_settings.SoundFXEnable ? 1 : 0);
    key.SetNumber(QString::fromLatin1(kSkinIndex), quint32(m_settings.SkinIndex));
    key.SetText(QString::fromLatin1(kOpenPath), m_settings.OpenPath);
    key.SetFlag(QString::fromLatin1(kRotationHint), m_settings.RotationHint);
    key.SetFlag(QString::fromLatin1(kControls), m_settings.Controls);
    QByteArray scroll(kScrollWidth, '\0');
    qToLittleEndian(m_settings.CurrentScroll, scroll.data());
    key.SetBytes(QString::fromLatin1(kCurrentScroll), scroll);
    key.SetText(QString::fromLatin1(kMinDateCalendar), MinDateCalendar());
    key.SetFlag(QString::fromLatin1(kShowCalendar), ShowCalendar() ? 0 : 1);
    if (themes)
        WriteTreasuryThemes(*themes);
    m_allocMemory.reset();
    m_allocSize = 0;
    return key.Flush();
}

void CGP_SettingsStore::WriteTables()
{
    for (int skin = 0; skin < GP_ViewSettings::kSkinCount; ++skin) {
        for (int table = 0; table < GP_ViewSettings::kTableCount; ++table)
            m_registry->SetNumber(ColorName(table, skin), m_settings.tableColor[skin][table]);
    }
    for (int skin = 0; skin < GP_ViewSettings::kSkinCount; ++skin) {
        for (int table = 0; table < GP_ViewSettings::kTableCount; ++table)
            m_registry->SetNumber(TextureName(table, skin), m_settings.tableTexture[skin][table]);
    }
}

void CGP_SettingsStore::WriteTreasuryThemes(const CGP_TreasuryThemeSettings& themes)
{
    for (const GP_TreasuryThemeSetting& theme : themes.CopyThemeSettings()) {
        m_registry->SetText(QString::fromLatin1(kMinIdTreasure) + theme.name, theme.minIdTreasure);
        m_registry->SetFlag(QString::fromLatin1(kShowTreasure) + theme.name, theme.showTreasure ? 1 : 0);
    }
}

bool CGP_SettingsStore::HelpDismissed(const QString& marker) const
{
    return m_registry->HasValue(marker);
}

bool CGP_SettingsStore::DismissHelp(const QString& marker)
{
    if (!m_registry->SetNumber(marker, 1))
        return false;
    return m_registry->Flush();
}

std::optional<quint32> CGP_SettingsStore::CrashTime() const
{
    quint32 value = 0;
    if (!m_registry->GetNumber(QString::fromLatin1(kCrashTime), value))
        return std::nullopt;
    return value;
}

bool CGP_SettingsStore::DontCheckForUpdate() const
{
    quint32 value = 0;
    if (!m_registry->GetNumber(QString::fromLatin1(kDontCheckForUpdate), value))
        return false;
    return value != 0;
}
