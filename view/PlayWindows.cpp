#include "view/PlayWindows.h"

#include "engine/GP_Puzzle.h"
#include "resources/StringTable.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "shell/log/GP_LogFile.h"
#include "skin/BmpButton.h"
#include "skin/RawValueStore.h"
#include "skin/Skin.h"
#include "view/ChildView.h"
#include "view/ChooseColorDialog.h"
#include "view/GameField.h"
#include "view/HelpOverlayWindow.h"
#include "view/LibraryCommands.h"
#include "view/PlayDialog.h"
#include "view/PlayPanel.h"
#include "view/PuzzleCompleteDialog.h"
#include "view/ThumbWnd.h"
#include "view/model/CompletionText.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PlaySession.h"
#include "view/model/PuzzlePaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace {
// Where the panels stand until the player moves them, below the game band: the menu on the
// left, the in-game panel in the middle, the picture window (placed by the game) on the right.
const QPoint kMenuPlace(20, 70);
constexpr int kPanelTop = 58;
constexpr char kCaption[] = "Velmora";
} // namespace

CPlayWindows::CPlayWindows(CChildView& view, CGameField& field, CGP_SettingsStore& settings)
    : m_view(view)
    , m_field(field)
    , m_settings(settings)
    , m_pauseBox(&view)
{
}

CPlayWindows::~CPlayWindows()
{
    RememberPlaces();
    m_pauseBox.Close();
    // The windows wear the view's skin: they go before it.
    delete m_pMenu;
    delete m_pPanel;
    delete m_pThumb;
}

PlaySession* CPlayWindows::Session() const
{
    return m_field.Session();
}

void CPlayWindows::BuildControls()
{
    if (m_pMenu)
        return;
    m_pMenu = new CPlayDialog(this, &m_view);
    m_pPanel = new CPlayPanel(this, &m_view);
    m_pThumb = new CThumbWnd(this, &m_view);
    QObject::connect(m_pThumb, &CThumbWnd::Moved, m_pThumb, [this] { PictureWindowMoved(); });
}

void CPlayWindows::BeginGame(const QString& puzzleFile, bool fromCalendar, bool scattered)
{
    m_puzzleFile = puzzleFile;
    m_bFromCalendar = fromCalendar;
    m_bScattered = scattered;
}

std::array<CLDialog*, 3> CPlayWindows::Panels() const
{
    return {m_pMenu, m_pPanel, m_pThumb};
}

QRect CPlayWindows::ToGlobal(const QRect& rect) const
{
    return QRect(m_view.mapToGlobal(rect.topLeft()), rect.size());
}

void CPlayWindows::PlacePanel(CLDialog& panel, const QPoint& defaultPlace)
{
    const WINSKIN::RawValueStoreOf<CGP_Registry> key(m_settings.Registry());
    if (!panel.RestorePosition(key))
        panel.move(m_view.mapToGlobal(defaultPlace));
}

void CPlayWindows::EnterPlay()
{
    PlaySession* session = Session();
    if (!session || !m_pPanel)
        return;
    m_bInPlay = true;
    const QRect view = m_view.rect();
    PlacePanel(*m_pMenu, kMenuPlace);
    PlacePanel(*m_pPanel, QPoint((view.width() - m_pPanel->width()) / 2, kPanelTop));
    m_pPanel->SetTrayFull(m_field.TrayButtonFull());
    m_pPanel->show();

    m_pThumb->SetPicture(session->PictureCut());
    const WINSKIN::RawValueStoreOf<CGP_Registry> key(m_settings.Registry());
    QRect remembered;
    if (m_pThumb->RestorePosition(key))
        remembered = QRect(m_view.mapFromGlobal(m_pThumb->pos()), m_pThumb->size());
    session->StartPlay(m_settings.Settings().ThumbVisible1, view, remembered);
    if (std::exchange(m_bScattered, false))
        session->SpreadClearOfPicture();
}

void CPlayWindows::RememberPlaces()
{
    WINSKIN::RawValueStoreOf<CGP_Registry> key(m_settings.Registry());
    for (CLDialog* panel : Panels()) {
        if (panel && panel->isVisible())
            panel->SavePosition(key);
    }
}

void CPlayWindows::LeavePlay()
{
    if (!m_bInPlay)
        return;
    m_bInPlay = false;
    RememberPlaces();
    m_pauseBox.Close();
    for (CLDialog* panel : Panels())
        panel->hide();
}

void CPlayWindows::HelpChanged()
{
    if (PlaySession* session = Session(); session && m_bInPlay)
        ShowPictureWindow(session->IsPictureShown(), session->PictureRect());
}

void CPlayWindows::RefreshClock()
{
    PlaySession* session = Session();
    if (!session || !m_bInPlay)
        return;
    session->RequestClockReset();
    ShowTime(session->Seconds());
}

void CPlayWindows::ShowTime(int seconds)
{
    if (CTightCaptionPanel* band = m_view.TightCaptionPanel())
        band->ShowTime(seconds);
}

void CPlayWindows::ShowPauseBox()
{
    PlaySession* session = Session();
    if (!session)
        return;
    m_pauseBox.Show([this] {
        if (PlaySession* shown = Session())
            shown->ClosePauseBox();
    });
    const QRect box = m_pauseBox.Rect();
    session->SetPauseBox(true, QRect(m_view.mapFromGlobal(box.topLeft()), box.size()));
}

void CPlayWindows::ClosePauseBox()
{
    const bool hadKeyboard = m_pauseBox.IsShown() && QApplication::activeWindow() != m_view.window();
    m_pauseBox.Close();
    // The keys go back to the game, as they went to the box.
    if (hadKeyboard)
        m_view.window()->activateWindow();
    m_view.update();
}

void CPlayWindows::OnPlayPause()
{
    if (PlaySession* session = Session())
        session->OnPlayPause();
}

void CPlayWindows::DeletePauseBox()
{
    if (PlaySession* session = Session())
        session->ClosePauseBox();
    m_pauseBox.Close();
}

void CPlayWindows::ShowPictureWindow(bool shown, const QRect& rect)
{
    if (!m_pThumb)
        return;
    m_pThumb->setGeometry(ToGlobal(rect));
    // Never over a help picture: it comes back once the last one has gone.
    static_cast<QWidget*>(m_pThumb)->setVisible(shown && m_bInPlay && !m_view.HelpWindow()->IsShown());
}

void CPlayWindows::PictureWindowMoved()
{
    if (PlaySession* session = Session(); session && m_pThumb->isVisible())
        session->PictureMoved(QRect(m_view.mapFromGlobal(m_pThumb->pos()), m_pThumb->size()));
}

void CPlayWindows::SetTrayButtonFull(bool full)
{
    if (m_pPanel)
        m_pPanel->SetTrayFull(full);
}

int CPlayWindows::RunModal(QDialog& dialog)
{
    PlaySession* session = Session();
    const bool wasBlocked = m_view.IsPlayCommandBlocked();
    const bool buttonsBlocked = CBmpButton::IsInputBlocked();
    m_view.SetPlayCommandBlocked(true);
    CBmpButton::SetInputBlocked(true);
    if (session)
        session->SetModalBoxUp(true);
    ++m_nModalDepth;
    const int result = GP_RunModal(dialog);
    --m_nModalDepth;
    if (PlaySession* after = Session())
        after->SetModalBoxUp(false);
    CBmpButton::SetInputBlocked(buttonsBlocked);
    m_view.SetPlayCommandBlocked(wasBlocked);
    return result;
}

void CPlayWindows::PuzzleSolved()
{
    GP_Log(QStringLiteral("PuzzleSolved\n"));
    PlaySession* session = Session();
    if (!session)
        return;
    const QString puzzleFile = m_puzzleFile;
    CPuzzleCompleteDialog dialog(GP_CompletionText(*session->Puzzle(), QLocale::system()), true, &m_view);
    RunModal(dialog);
    // The game may have been left while the dialog was up (the program told to end).
    if (dialog.SendToFriend() && !puzzleFile.isEmpty() && m_puzzleFile == puzzleFile)
        m_view.Library().SendPuzzle(QFileInfo(puzzleFile).completeBaseName(), m_bFromCalendar);
}

void CPlayWindows::OnPlayHint()
{
    if (PlaySession* session = Session())
        session->OnPlayHint();
}

void CPlayWindows::OnPlayPicture()
{
    PlaySession* session = Session();
    if (!session || !m_bInPlay)
        return;
    session->OnPlayPicture();
    if (session->PictureAllowed())
        m_settings.Settings().ThumbVisible1 = session->IsPictureShown();
}

void CPlayWindows::OnPlayGhost()
{
    m_field.OnPlayGhost();
}

void CPlayWindows::OnPlayArrangeAtEdge()
{
    if (PlaySession* session = Session())
        session->OnPlayArrangeAtEdge();
}

void CPlayWindows::OnPlayZoom()
{
    if (PlaySession* session = Session())
        session->OnPlayZoom();
}

void CPlayWindows::OnPlayMenu()
{
    if (!m_pMenu)
        return;
    const bool show = !m_pMenu->isVisible();
    static_cast<QWidget*>(m_pMenu)->setVisible(show && m_bInPlay);
    m_settings.Settings().PlayVisible = show;
}

void CPlayWindows::OnPlayTray1()
{
    GP_Log(QStringLiteral("OnPlayTray1\n"));
}

void CPlayWindows::OnPlaySettings()
{
    PlaySession* session = Session();
    if (session)
        session->ClosePauseBox();
    const QList<QImage> textures = FieldPainter::SkinTextures(WINSKIN::Skin::Current());
    CChooseColorDialog dialog(GP_BoardLook::Current(m_settings), m_settings.Settings().SkinIndex, textures, &m_view);
    const bool apply = RunModal(dialog) == QDialog::Accepted;
    // The time in the dialog is not counted.
    if (PlaySession* after = Session())
        after->RequestClockReset();
    if (!apply)
        return;
    dialog.Look().Store(m_settings);
    CLDialog::SetSoundOn(dialog.Look().soundFX);
    if (PlaySession* after = Session())
        after->SetSoundOn(dialog.Look().soundFX);
    m_field.RebuildBackgrounds(textures);
    m_view.update();
}

void CPlayWindows::OnPlayExit()
{
    LeaveGame(false);
}

void CPlayWindows::LeaveGame(bool quiet)
{
    // The program may be told to end while the game is being saved: it is saved once.
    if (m_bLeaving)
        return;
    m_bLeaving = true;
    SaveAndLeave(quiet);
    m_bLeaving = false;
}

void CPlayWindows::SaveAndLeave(bool quiet)
{
    PlaySession* session = Session();
    if (!session || m_puzzleFile.isEmpty()) {
        ReturnFromPlay();
        return;
    }
    const QString name = QFileInfo(m_puzzleFile).completeBaseName();
    CGameSaver::LeaveResult left;
    {
        CLoadingDialog saving(IDS_SAVING_PUZZLE, name, &m_view);
        saving.SetRange(session->Puzzle()->m_nPieceCount);
        saving.show();
        left = session->Leave(m_puzzleFile, GP_PuzzlePaths::CacheFile(name), [&saving] {
            saving.Step();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    if (!left.progressSaved && !quiet)
        ShowDiskFull();
    // The library lists the puzzle as its file now has it, without the game's pieces.
    if (!m_bFromCalendar)
        m_view.Library().Library().Reload(name);
    ReturnFromPlay();
}

void CPlayWindows::ShowDiskFull()
{
    CMessageBoxDialog box(GP_LoadString(IDS_DISK_FULL), QLatin1String(kCaption), GP_LoadString(IDS_OK), QString(), QString(),
                          MB_OK | MB_ICONEXCLAMATION, &m_view);
    RunModal(box);
}

bool CPlayWindows::StartOver(CGP_Puzzle& puzzle, const QString& puzzleFile)
{
    if (CGameSaver::StartOver(puzzle, puzzleFile))
        return true;
    ShowDiskFull();
    return false;
}

void CPlayWindows::ReturnFromPlay()
{
    // The one way back from the field: to the calendar for its puzzles, else to the library.
    const GameMode back = m_bFromCalendar ? GameMode::Calendar : GameMode::MyPuzzles;
    m_puzzleFile.clear();
    m_bFromCalendar = false;
    LeavePlay();
    // Left from inside a dialog of the game (the program told to end while it is up): the game
    // goes once the dialog's caller, which may be the game itself, has returned.
    if (m_nModalDepth > 0)
        QTimer::singleShot(0, &m_view, [this, gone = Session()] {
            if (Session() == gone)
                m_field.StartGame(nullptr);
        });
    else
        m_field.StartGame(nullptr);
    m_view.ChangeGameMode(back);
    m_view.update();
}
