#pragma once

#include "view/model/GameMode.h"

#include <QList>
#include <QString>
#include <QStringList>

class CGP_SettingsStore;

// What a help picture's arrows point at: the controls its tips explain.
enum class HelpTarget {
    ScreenTabs,     // the three tabs of the screens, together
    MakeOwnPuzzle,  // the library's "Make Your Own Puzzle"
    MonthChooser,   // the calendar's month arrows, together (the year's lie under the card)
    ThemeChooser,   // the Treasury's theme tab and its arrows, together
    GetSelected,    // the Treasury's "Get Selected"
    TrayHandles,    // each tray's handle, an arrow apiece
    GameMenu,       // the game band's Menu
    GameClock,      // the game band's clock, which pauses the game
};

// The one-time help pictures over the screens. Each screen has a chain of them, each shown only
// while its value is absent from the settings; dismissing one writes its value (so it never
// returns) and brings up the next of the chain.
class HelpOverlays
{
public:
    explicit HelpOverlays(CGP_SettingsStore& settings);

    // The value names of a screen's chain; in play the second, on turning pieces, only for a
    // puzzle whose pieces turn.
    static QStringList Chain(GameMode mode, bool rotatingPuzzle);
    // What the arrows of an overlay point at, by its value name.
    static QList<HelpTarget> Targets(const QString& valueName);

    // Shows the first overlay of the screen's chain that was never dismissed; answers whether
    // one is shown.
    bool Start(GameMode mode, bool rotatingPuzzle);
    // The value name of the overlay shown, empty when none is.
    const QString& Current() const { return m_current; }
    bool IsShown() const { return !m_current.isEmpty(); }
    // The release that dismisses the shown overlay: its value is written and the next overlay of
    // the chain comes up. Answers whether one is still shown.
    bool Dismiss();
    // No overlay any more (the screen changes); nothing is written.
    void Clear();

private:
    bool ShowNextFrom(qsizetype index);

    CGP_SettingsStore& m_settings;
    QStringList m_chain;
    QString m_current;
};
