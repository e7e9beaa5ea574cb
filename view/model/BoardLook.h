#pragma once

#include <QColor>

class CGP_SettingsStore;

// What the board settings dialog edits: the current skin's board and tray colours (colour
// references, red in the low byte) and patterns (indexes into the skin's "Textures"), and the
// sound switch.
struct GP_BoardLook
{
    quint32 boardColor = 0;
    quint32 trayColor = 0;
    quint32 boardPattern = 0;
    quint32 trayPattern = 0;
    bool soundFX = true;

    bool operator==(const GP_BoardLook&) const = default;

    // The look as the player left it, for the current skin.
    static GP_BoardLook Current(const CGP_SettingsStore& settings);
    // The skin's own look, with the sound on.
    static GP_BoardLook Defaults(int skinIndex);
    // Back into the current skin's four slots, and the sound switch.
    void Store(CGP_SettingsStore& settings) const;

    // A colour as a colour reference (CBoardBackgrounds::ColorOf turns it back).
    static quint32 ColorRef(const QColor& color);
};
