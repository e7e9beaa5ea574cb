#pragma once

#include "view/PauseBox.h"
#include "view/PlayCommands.h"

#include <QRect>
#include <QString>

#include <array>

class CChildView;
class CGP_Puzzle;
class CGameField;
class CGP_SettingsStore;
class CLDialog;
class CPlayDialog;
class CPlayPanel;
class CThumbWnd;
class PlaySession;
class QDialog;

// The play tools' part of the main view: the game menu, the in-game panel, the picture window,
// the pause box, the board settings, the completion dialog and leaving the game. The player's
// commands go to the game being played (PlaySession), which decides; what it asks for comes
// back here as windows. The three movable panels remember their places, which are taken again
// only when they lie wholly inside the view.
class CPlayWindows : public CPlayCommands
{
public:
    CPlayWindows(CChildView& view, CGameField& field, CGP_SettingsStore& settings);
    ~CPlayWindows() override;

    CPlayWindows(const CPlayWindows&) = delete;
    CPlayWindows& operator=(const CPlayWindows&) = delete;

    // The panels and the picture window exist from the view's first paint, hidden.
    void BuildControls();
    // A game is about to be played from this file (opened from the calendar or the library);
    // leaving it saves it there and goes back to where it came from.
    // scattered: the game was laid out afresh, before the picture window had its place.
    void BeginGame(const QString& puzzleFile, bool fromCalendar, bool scattered);
    // The view entered the field, or left it for another screen.
    void EnterPlay();
    void LeavePlay();
    // A help picture came or went: the picture window never shows over one.
    void HelpChanged();
    // The game window got the focus or the game became the active application again: time
    // away is not counted, and the clock shows again.
    void RefreshClock();
    // Pause: the pause box comes up, or goes.
    void OnPlayPause();
    // A play key closed the pause box.
    void DeletePauseBox();
    // Leaving the game: its progress is saved and the view goes back to the screen the game
    // came from. Quietly (the program is ending) no message box is shown.
    void LeaveGame(bool quiet);
    // Starting a solved puzzle over, before it is opened for play: its file keeps loose,
    // unsolved pieces. A save that fails shows 191 and leaves the file as it was.
    bool StartOver(CGP_Puzzle& puzzle, const QString& puzzleFile);

    // The game's requests, passed on by the field.
    void ShowPauseBox();
    void ClosePauseBox();
    void ShowPictureWindow(bool shown, const QRect& rect);
    void ShowTime(int seconds);
    void SetTrayButtonFull(bool full);
    void PuzzleSolved();

    // CPlayCommands
    void OnPlayHint() override;
    void OnPlayPicture() override;
    void OnPlayGhost() override;
    void OnPlayArrangeAtEdge() override;
    void OnPlaySettings() override;
    void OnPlayExit() override;
    void OnPlayMenu() override;
    void OnPlayTray1() override;
    void OnPlayZoom() override;

    CPlayDialog* GameMenu() const { return m_pMenu; }
    CPlayPanel* Panel() const { return m_pPanel; }
    CThumbWnd* PictureWindow() const { return m_pThumb; }
    CPauseBox& PauseBox() { return m_pauseBox; }

private:
    PlaySession* Session() const;
    // Runs a dialog of the game modally: the clock, the pause box and the play keys wait.
    int RunModal(QDialog& dialog);
    void SaveAndLeave(bool quiet);
    void ShowDiskFull();
    void ReturnFromPlay();
    void PlacePanel(CLDialog& panel, const QPoint& defaultPlace);
    void RememberPlaces();
    void PictureWindowMoved();
    QRect ToGlobal(const QRect& rect) const;
    // The game menu, the in-game panel and the picture window.
    std::array<CLDialog*, 3> Panels() const;

    CChildView& m_view;
    CGameField& m_field;
    CGP_SettingsStore& m_settings;
    CPlayDialog* m_pMenu = nullptr;
    CPlayPanel* m_pPanel = nullptr;
    CThumbWnd* m_pThumb = nullptr;
    CPauseBox m_pauseBox;
    QString m_puzzleFile;
    bool m_bFromCalendar = false;
    bool m_bScattered = false;
    bool m_bInPlay = false;
    bool m_bLeaving = false;
    int m_nModalDepth = 0;
};
