#include "view/LibraryCommands.h"

#include "resources/StringTable.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/WaitDialog.h"
#include "shell/log/GP_LogFile.h"
#include "skin/BmpButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QWidget>

namespace {
constexpr char kCaption[] = "Velmora";
// The loading dialog is repainted while the pieces are built, without taking the player's input.
constexpr auto kPaintOnly = QEventLoop::ExcludeUserInputEvents;

void PaintPending()
{
    QCoreApplication::processEvents(kPaintOnly);
}
} // namespace

CLibraryCommands::CLibraryCommands(QWidget* view)
    : m_pView(view)
{
}

CLibraryCommands::~CLibraryCommands()
{
    GP_Log(QStringLiteral("SavePuzzleIcons\n"));
    if (!m_library.SavePuzzleIcons().isEmpty())
        ShowMessage(IDS_DISK_FULL);
}

void CLibraryCommands::CreateFolders()
{
    CPuzzleLibrary::CreateFolders();
}

void CLibraryCommands::ListLibrary(const std::function<void()>& step)
{
    m_library.List([&step] {
        if (step)
            step();
        PaintPending();
    });
    if (m_listChanged)
        m_listChanged();
}

int CLibraryCommands::Ask(const QString& text, unsigned flags, int buttons)
{
    const QString labels[3] = {GP_LoadString(buttons == 1 ? IDS_OK : IDS_YES),
                               buttons >= 2 ? GP_LoadString(IDS_NO) : QString(),
                               buttons == 3 ? GP_LoadString(IDS_CANCEL) : QString()};
    // The picture buttons of the screens ignore the player while a box is up.
    const bool wasBlocked = CBmpButton::IsInputBlocked();
    CBmpButton::SetInputBlocked(true);
    const int answer = CMessageBoxDialog::Ask(m_pView, text, QLatin1String(kCaption), labels[0], labels[1], labels[2], flags);
    CBmpButton::SetInputBlocked(wasBlocked);
    return answer;
}

void CLibraryCommands::ShowMessage(int messageId)
{
    const bool warning = messageId == IDS_NONE_SELECTED || messageId == IDS_MULTIPLE_SELECTED;
    Ask(GP_LoadString(messageId), warning ? MB_ICONWARNING : MB_ICONERROR, 1);
}

void CLibraryCommands::ShowText(const QString& text)
{
    Ask(text, MB_ICONINFORMATION, 1);
}

CPuzzleOpeningHost::SolvedAnswer CLibraryCommands::AskAlreadySolved(const CGP_Puzzle&)
{
    const int answer = Ask(GP_LoadString(IDS_ALREADY_SOLVED), MB_ICONQUESTION, 3);
    if (answer == IDOK)
        return SolvedAnswer::StartOver;
    return answer == IDCANCEL ? SolvedAnswer::PlaySolved : SolvedAnswer::Cancel;
}

void CLibraryCommands::StartOver(const GP_PuzzlePtr& puzzle, const QString& path)
{
    GP_Log(QStringLiteral("OnMainScatter\n"));
    if (m_startOver)
        m_startOver(puzzle, path);
    else
        GP_Log(QStringLiteral("OnMainScatter: no game saver to start the puzzle over\n"));
}

void CLibraryCommands::BeginProgress(int messageId, const QString& name, int steps)
{
    m_pLoading = std::make_unique<CLoadingDialog>(messageId, name, m_pView);
    m_pLoading->Create();
    m_pLoading->SetRange(steps);
    m_pLoading->show();
    PaintPending();
}

void CLibraryCommands::StepProgress()
{
    if (!m_pLoading)
        return;
    m_pLoading->Step();
    PaintPending();
}

void CLibraryCommands::EndProgress()
{
    m_pLoading.reset();
    if (m_pView)
        m_pView->update();
}

GP_PuzzlePtr CLibraryCommands::SinglySelected()
{
    const std::vector<GP_PuzzlePtr> selected = m_library.Selected();
    if (selected.size() == 1)
        return selected.front();
    ShowMessage(selected.empty() ? IDS_NONE_SELECTED : IDS_MULTIPLE_SELECTED);
    return {};
}

GP_OpenResult CLibraryCommands::OpenForPlay(const GP_OpenRequest& request, CGP_PieceWorkers& workers)
{
    GP_Log(QStringLiteral("OnMainPlay\n"));
    if (m_pView)
        m_pView->repaint();
    CPuzzleOpening opening(*this, workers);
    const GP_OpenResult result = opening.Open(request);
    if (result.outcome == GP_OpenResult::Outcome::Deleted && !request.fromCalendar)
        m_library.Remove(request.puzzle);
    return result;
}

bool CLibraryCommands::OnMainRemove()
{
    GP_Log(QStringLiteral("OnMainRemove\n"));
    if (m_library.Selected().empty()) {
        ShowMessage(IDS_NONE_SELECTED);
        return false;
    }
    if (Ask(GP_LoadString(IDS_ARE_YOU_SURE), MB_ICONQUESTION, 2) != IDOK)
        return false;
    if (m_hidePopup)
        m_hidePopup();
    m_library.RemoveSelected();
    if (m_listChanged)
        m_listChanged();
    if (m_pView)
        m_pView->update();
    return true;
}

bool CLibraryCommands::OnMainSend(const QStringList& calendarNames)
{
    GP_Log(QStringLiteral("OnMainSend\n"));
    if (!calendarNames.isEmpty())
        return Send(calendarNames, true);
    QStringList names;
    for (const GP_PuzzlePtr& puzzle : m_library.Selected())
        names << puzzle->m_strTitle;
    return Send(names, false);
}

bool CLibraryCommands::SendPuzzle(const QString& name, bool fromCalendar)
{
    return Send({name}, fromCalendar);
}

bool CLibraryCommands::Send(const QStringList& names, bool fromCalendar)
{
    using Failure = CFriendPackage::Failure;
    CFriendPackage package;
    Failure failure = package.Prepare(names, fromCalendar);
    if (failure == Failure::NothingSelected || failure == Failure::UnknownName) {
        ShowMessage(IDS_NONE_SELECTED);
        return false;
    }
    if (failure == Failure::CopyFailed) {
        ShowMessage(IDS_DISK_FULL);
        return false;
    }
    const std::unique_ptr<QProcess> process = package.StartMakeInstall(&failure);
    if (process) {
        if (m_hidePopup)
            m_hidePopup();
        CWaitDialog wait(process.get(), m_pView, m_pView);
        wait.Create();
        GP_RunModal(wait);
        process->waitForFinished(-1);
        if (m_pView)
            m_pView->update();
        failure = package.CheckBuilt(*process);
    }
    if (failure != Failure::None) {
        ShowMessage(IDS_CANNOT_CREATE_FILE);
        CFriendPackage::ClearPuzzleTEMP();
        return false;
    }
    const QString target = AskWhereToSave();
    if (target.isEmpty()) {
        package.Discard();
        return false;
    }
    if (package.SaveSendPuzzleFile(target) != Failure::None) {
        ShowMessage(IDS_DISK_FULL);
        return false;
    }
    return true;
}

QString CLibraryCommands::AskWhereToSave()
{
    QFileDialog dialog(m_pView);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QLatin1String(CFriendPackage::kSaveFilter));
    dialog.setDefaultSuffix(QLatin1String(CFriendPackage::kSaveExtension));
    dialog.setDirectory(CFriendPackage::DefaultSaveFolder());
    dialog.selectFile(QLatin1String(CFriendPackage::kPackageName) + QStringLiteral(".exe"));
    if (GP_RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
