#pragma once

#include <QString>

#include <vector>

// What the settings remember of one Treasury theme: the lowest puzzle id the player has seen
// ("MinIdTreasure" + name) and whether the theme's new puzzles are still to be shown
// ("ShowTreasure" + name).
struct GP_TreasuryThemeSetting
{
    QString name;
    QString minIdTreasure;
    bool showTreasure = false;
};

// The Treasury's theme list as the settings store sees it when the game saves its settings.
class CGP_TreasuryThemeSettings
{
public:
    virtual ~CGP_TreasuryThemeSettings() = default;

    // A copy of every theme's values, taken while holding the theme list's mutex, so that the
    // settings file is written without the Treasury thread waiting on it.
    virtual std::vector<GP_TreasuryThemeSetting> CopyThemeSettings() const = 0;
};
