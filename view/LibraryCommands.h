#pragma once

#include "view/model/FriendPackage.h"
#include "view/model/PuzzleOpening.h"

#include <functional>
#include <memory>

class CGP_PieceWorkers;
class CLoadingDialog;
class QWidget;

// The view's side of the puzzle library: the library on disk read at the first paint, opening a
// puzzle for play with the skinned questions and the loading dialog, removing puzzles, sending
// them to a friend with the wait and save dialogs, and the progress written back when the view
// goes. The rules live in the model classes; this only shows what they ask.
class CLibraryCommands : public CPuzzleOpeningHost
{
public:
    explicit CLibraryCommands(QWidget* view);
    // Writes every library puzzle's progress back (SavePuzzleIcons).
    ~CLibraryCommands() override;

    CPuzzleLibrary& Library() { return m_library; }

    // When the view is created.
    static void CreateFolders();
    // At the first paint; step advances the start-up progress.
    void ListLibrary(const std::function<void()>& step);

    // The one selected puzzle, or null after message 198 (none) or 192 (several).
    GP_PuzzlePtr SinglySelected();

    // OnMainPlay: opens the puzzle for play; the view enters play when the result says Opened.
    GP_OpenResult OpenForPlay(const GP_OpenRequest& request, CGP_PieceWorkers& workers);
    // OnMainRemove: 198 with nothing selected, else the question 199; answers whether anything
    // was removed.
    bool OnMainRemove();
    // OnMainSend: the selected library puzzles (or, from the calendar, the calendar's), packed
    // and saved where the player chooses. Answers whether a package was saved.
    bool OnMainSend(const QStringList& calendarNames = {});
    // The same for one puzzle: the completion and name dialogs' "send to friend" boxes.
    bool SendPuzzle(const QString& name, bool fromCalendar);

    // What the library screen does for the commands: hide its popup menu, and show the list
    // afresh once it was read or puzzles were removed.
    void SetScreenHooks(std::function<void()> hidePopup, std::function<void()> listChanged)
    {
        m_hidePopup = std::move(hidePopup);
        m_listChanged = std::move(listChanged);
    }
    // Starts a solved puzzle over (the game's saver sets it).
    void SetStartOver(std::function<void(const GP_PuzzlePtr&, const QString&)> startOver) { m_startOver = std::move(startOver); }

    // CPuzzleOpeningHost
    SolvedAnswer AskAlreadySolved(const CGP_Puzzle& puzzle) override;
    void StartOver(const GP_PuzzlePtr& puzzle, const QString& path) override;
    void ShowMessage(int messageId) override;
    void ShowText(const QString& text) override;
    void BeginProgress(int messageId, const QString& name, int steps) override;
    void StepProgress() override;
    void EndProgress() override;

private:
    int Ask(const QString& text, unsigned flags, int buttons);
    bool Send(const QStringList& names, bool fromCalendar);
    QString AskWhereToSave();

    QWidget* m_pView;
    CPuzzleLibrary m_library;
    std::unique_ptr<CLoadingDialog> m_pLoading;
    std::function<void()> m_hidePopup;
    std::function<void()> m_listChanged;
    std::function<void(const GP_PuzzlePtr&, const QString&)> m_startOver;
};
