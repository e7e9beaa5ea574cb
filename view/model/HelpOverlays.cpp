#include "view/model/HelpOverlays.h"

#include "shell/log/GP_LogFile.h"
#include "view/model/GP_SettingsStore.h"

HelpOverlays::HelpOverlays(CGP_SettingsStore& settings)
    : m_settings(settings)
{
}

QStringList HelpOverlays::Chain(GameMode mode, bool rotatingPuzzle)
{
    switch (mode) {
    case GameMode::MyPuzzles:
        return {QLatin1String(kHlpMyPzl)};
    case GameMode::Play:
        if (rotatingPuzzle)
            return {QLatin1String(kHlpGame1), QLatin1String(kHlpGame2)};
        return {QLatin1String(kHlpGame1)};
    case GameMode::Calendar:
        return {QLatin1String(kHlpCalendar)};
    case GameMode::Treasury:
        return {QLatin1String(kHlpShop)};
    default:
        return {};
    }
}

QList<HelpTarget> HelpOverlays::Targets(const QString& valueName)
{
    if (valueName == QLatin1String(kHlpMyPzl))
        return {HelpTarget::ScreenTabs, HelpTarget::MakeOwnPuzzle};
    if (valueName == QLatin1String(kHlpGame1))
        return {HelpTarget::TrayHandles, HelpTarget::GameMenu};
    if (valueName == QLatin1String(kHlpGame2))
        return {HelpTarget::GameClock};
    if (valueName == QLatin1String(kHlpCalendar))
        return {HelpTarget::MonthChooser};
    if (valueName == QLatin1String(kHlpShop))
        return {HelpTarget::ThemeChooser, HelpTarget::GetSelected};
    return {};
}

bool HelpOverlays::Start(GameMode mode, bool rotatingPuzzle)
{
    m_chain = Chain(mode, rotatingPuzzle);
    return ShowNextFrom(0);
}

bool HelpOverlays::ShowNextFrom(qsizetype index)
{
    m_current.clear();
    for (qsizetype i = index; i < m_chain.size(); ++i) {
        if (!m_settings.HelpDismissed(m_chain[i])) {
            m_current = m_chain[i];
            return true;
        }
    }
    return false;
}

bool HelpOverlays::Dismiss()
{
    if (m_current.isEmpty())
        return false;
    // A value that cannot be written only means the overlay comes back next time.
    if (!m_settings.DismissHelp(m_current))
        GP_Log(QStringLiteral("HelpOverlays: could not write %1\n").arg(m_current));
    return ShowNextFrom(m_chain.indexOf(m_current) + 1);
}

void HelpOverlays::Clear()
{
    m_chain.clear();
    m_current.clear();
}
