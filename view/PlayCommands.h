#pragma once

// What the game's panels and windows ask of the game being played: the game menu, the in-game
// panel and the picture window turn their buttons into these calls.
class CPlayCommands
{
public:
    virtual ~CPlayCommands() = default;

    virtual void OnPlayHint() = 0;
    // Shows or hides the picture window.
    virtual void OnPlayPicture() = 0;
    virtual void OnPlayGhost() = 0;
    // "Pull Apart": the loose pieces go to the edges of the field.
    virtual void OnPlayArrangeAtEdge() = 0;
    // The board settings dialog.
    virtual void OnPlaySettings() = 0;
    virtual void OnPlayExit() = 0;
    // Shows or hides the game menu.
    virtual void OnPlayMenu() = 0;
    // The in-game panel's tray button: only a trace; its look follows the trays.
    virtual void OnPlayTray1() = 0;
    // The picture window's "Z".
    virtual void OnPlayZoom() = 0;
};
