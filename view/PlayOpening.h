#pragma once

#include "view/model/PuzzleOpening.h"

#include <QString>

class CChildView;
class CGameField;
class CLibraryCommands;
class CPlayWindows;

// Opening a puzzle for play in the view: the library's opening (re-cut, the solved question and
// starting over, the file's checks, the loading dialog) on the field's area, outline patterns
// and piece builders; then the game takes the field, a puzzle that had no piece-image cache is
// spread out, the play windows learn which file the game is saved into, and the view enters
// play. A puzzle that cannot be opened leaves the view on the library screen.
class CPlayOpening
{
public:
    CPlayOpening(CChildView& view, CLibraryCommands& library, CGameField& field, CPlayWindows& play);

    // The library's Play: a puzzle of the list (the one the player picked).
    bool OnMainPlay(const GP_PuzzlePtr& puzzle);
    // A library or calendar puzzle file; one the list does not hold yet (just brought into the
    // library) joins it first, and any other file is brought into the library. Answers whether
    // the game started.
    bool OpenFile(const QString& path);
    // The opening itself, without the view's screens: the game is on the field when it opened.
    GP_OpenResult Open(const GP_PuzzlePtr& puzzle, bool fromCalendar);

    // A puzzle file handed to the game from outside (a file manager, a second start): opened
    // now, or once the splash has gone when the game is still starting.
    void OpenHandedFile(const QString& path);
    // The puzzle named on the command line, opened when the splash has gone.
    void SetStartPuzzle(const QString& path) { m_startPuzzle = path; }
    void OpenStartPuzzle();

    // Whether the file lies in the calendar's folder.
    static bool IsCalendarFile(const QString& path);

private:
    // A puzzle file from outside the game (the command line, a file manager, a second start):
    // brought into the library, then opened. A file that is no whole puzzle gets one message.
    bool OpenOutsideFile(const QString& path);
    GP_PuzzlePtr ListedPuzzle(const QString& name, bool fromCalendar, const QString& path);
    bool Enter(const GP_OpenResult& opened, const QString& fileName);
    void ShowUnreadable(const QString& fileName);

    CChildView& m_view;
    CLibraryCommands& m_library;
    CGameField& m_field;
    CPlayWindows& m_play;
    QString m_startPuzzle;
};
