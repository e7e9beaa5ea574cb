#include "view/PlayOpening.h"

#include "engine/GP_Folders.h"
#include "resources/StringTable.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/log/GP_LogFile.h"
#include "view/ChildView.h"
#include "view/GameField.h"
#include "view/LibraryCommands.h"
#include "view/PlayWindows.h"
#include "view/model/FieldGeometry.h"
#include "view/model/PuzzleImport.h"
#include "view/model/PuzzlePaths.h"

#include <QFileInfo>

#include <utility>

CPlayOpening::CPlayOpening(CChildView& view, CLibraryCommands& library, CGameField& field, CPlayWindows& play)
    : m_view(view), m_library(library), m_field(field), m_play(play)
{
    m_library.SetStartOver([this](const GP_PuzzlePtr& puzzle, const QString& path) { m_play.StartOver(*puzzle, path); });
}

bool CPlayOpening::IsCalendarFile(const QString& path)
{
    return QFileInfo(path).absolutePath() == QFileInfo(GP_FolderPath(GP_Folder::PuzzlesCalendar)).absoluteFilePath();
}

bool CPlayOpening::OnMainPlay(const GP_PuzzlePtr& puzzle)
{
    const QString fileName = puzzle->m_strTitle + QLatin1String(GP_PuzzlePaths::kPuzzleExtension);
    return Enter(Open(puzzle, false), fileName);
}

void CPlayOpening::OpenHandedFile(const QString& path)
{
    GP_Log(QStringLiteral("OpenPuzzleFile %1\n").arg(path));
    if (m_view.CurrentMode() == GameMode::Startup)
        m_startPuzzle = path;
    else
        m_view.OpenPuzzleForPlay(path);
}

void CPlayOpening::OpenStartPuzzle()
{
    const QString puzzle = std::exchange(m_startPuzzle, QString());
    if (!puzzle.isEmpty())
        OpenHandedFile(puzzle);
}

bool CPlayOpening::OpenFile(const QString& path)
{
    const bool fromCalendar = IsCalendarFile(path);
    const QString name = CPuzzleImport::NameFor(path);
    const QString fileName = QFileInfo(path).fileName();
    // Only the library's and the calendar's own files are played, as the game is saved back
    // there: any other file is brought into the library first.
    const QString own = GP_PuzzlePaths::PuzzleFile(name, fromCalendar);
    if (own.isEmpty() || QFileInfo(own).absoluteFilePath() != QFileInfo(path).absoluteFilePath())
        return OpenOutsideFile(path);
    const GP_PuzzlePtr puzzle = ListedPuzzle(name, fromCalendar, path);
    if (!puzzle) {
        GP_Log(QStringLiteral("OnMainPlay: %1 cannot be read\n").arg(path));
        return Enter({}, fileName);
    }
    return Enter(Open(puzzle, fromCalendar), fileName);
}

bool CPlayOpening::OpenOutsideFile(const QString& path)
{
    const CPuzzleImport::Result imported = CPuzzleImport::Import(path);
    if (imported.outcome == CPuzzleImport::Outcome::Damaged || imported.outcome == CPuzzleImport::Outcome::CopyFailed) {
        // A game being played goes on.
        if (m_view.CurrentMode() != GameMode::Play)
            m_view.ChangeGameMode(GameMode::MyPuzzles);
        ShowUnreadable(QFileInfo(path).fileName());
        return false;
    }
    GP_Log(QStringLiteral("OpenPuzzleFile: in the library as %1\n").arg(imported.name));
    return OpenFile(GP_PuzzlePaths::LibraryFile(imported.name));
}

GP_PuzzlePtr CPlayOpening::ListedPuzzle(const QString& name, bool fromCalendar, const QString& path)
{
    CPuzzleLibrary& library = m_library.Library();
    if (!fromCalendar) {
        if (GP_PuzzlePtr listed = library.Find(name))
            return listed;
    } else {
        const CCalendarStore calendar = library.Calendar();
        for (const GP_Date& date : calendar.Dates()) {
            const CCalendarStore::Entry* entry = calendar.Find(date);
            if (entry && entry->puzzle && entry->puzzle->m_strTitle == name)
                return entry->puzzle;
        }
    }
    GP_PuzzlePtr puzzle(new CGP_Puzzle);
    if (CPuzzleLibrary::ReadForList(path, name, *puzzle) != CPuzzleLibrary::ReadResult::Listed)
        return {};
    // A library file the list has not seen (brought in since the list was read) joins it, so
    // that the library shows the game's progress afterwards.
    if (!fromCalendar)
        library.AddMade(puzzle);
    return puzzle;
}

GP_OpenResult CPlayOpening::Open(const GP_PuzzlePtr& puzzle, bool fromCalendar)
{
    // A game still on the field (a file handed to the game mid-game) is saved and left first;
    // it may be this very puzzle, which the opening loads afresh.
    if (m_field.Session())
        m_play.LeaveGame(false);
    GP_OpenRequest request;
    request.puzzle = puzzle;
    request.fromCalendar = fromCalendar;
    request.field = m_field.FieldRect();
    request.fittingArea = FieldGeometry::FittingArea(request.field).size();
    request.patterns = m_field.Patterns();
    const GP_OpenResult result = m_library.OpenForPlay(request, m_field.Workers());
    if (!result.Opened())
        return result;
    puzzle->UpdateSolved();
    m_field.StartGame(puzzle);
    // Without a cache the pieces lie as they were cut: an unsolved puzzle is spread out, and
    // again clear of the picture window once that has its place.
    const bool spread = !result.cacheExisted && !puzzle->m_bSolved;
    if (spread)
        puzzle->SpreadInitial(request.field, m_field.HandleSide(), QRect());
    m_play.BeginGame(GP_PuzzlePaths::PuzzleFile(puzzle->m_strTitle, fromCalendar), fromCalendar, spread);
    return result;
}

bool CPlayOpening::Enter(const GP_OpenResult& opened, const QString& fileName)
{
    using Outcome = GP_OpenResult::Outcome;
    if (opened.Opened()) {
        m_view.ChangeGameMode(GameMode::Play);
        return true;
    }
    // The opening showed its own message for the rest, or the player cancelled.
    if (opened.outcome == Outcome::Unreadable || opened.outcome == Outcome::Deleted || opened.outcome == Outcome::BuildFailed)
        ShowUnreadable(fileName);
    if (m_view.CurrentMode() != GameMode::MyPuzzles)
        m_view.ChangeGameMode(GameMode::MyPuzzles);
    return false;
}

void CPlayOpening::ShowUnreadable(const QString& fileName)
{
    m_view.Ask(GP_FillString(GP_LoadString(IDS_PUZZLE_UNREADABLE), fileName), GP_LoadString(IDS_OK), QString(),
               MB_OK | MB_ICONEXCLAMATION);
}
