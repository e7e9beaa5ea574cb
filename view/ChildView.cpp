#include "view/ChildView.h"

#include "engine/GP_Folders.h"
#include "resources/StringTable.h"
#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/log/GP_LogFile.h"
#include "skin/LDialog.h"
#include "skin/Skin.h"
#include "view/CaptionBands.h"
#include "view/CreationScreen.h"
#include "view/GameField.h"
#include "view/HelpOverlayWindow.h"
#include "view/HelpTargets.h"
#include "view/LibraryCommands.h"
#include "view/LibraryScreen.h"
#include "view/PlayOpening.h"
#include "view/PlayWindows.h"
#include "view/ScreenCanvas.h"
#include "view/ViewSkin.h"
#include "view/model/CallMessage.h"
#include "view/model/FieldGeometry.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/StarterLibrary.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {
constexpr char kPushCursorFile[] = "push.ani";
constexpr char kCaption[] = "Velmora";
constexpr int kPushTimer = 5;
} // namespace

CChildView::CChildView(QWidget* parent)
    : QWidget(parent)
    , m_pSettings(std::make_unique<CGP_SettingsStore>())
    , m_pLibrary(std::make_unique<CLibraryCommands>(this))
    , m_pSkin(std::make_unique<CViewSkin>())
    , m_pBands(std::make_unique<CCaptionBands>(*this, *this))
    , m_timers(*this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The splash's counter follows each loading step as it ends.
    m_pSettings->LoadRegistrySet();
    CompleteLoadingStep();
    CLDialog::SetSoundOn(m_pSettings->Settings().SoundFXEnable);
    m_pSkin->Load();
    CompleteLoadingStep();
    CLibraryCommands::CreateFolders();
    // A new player's library starts with the starter puzzles.
    CStarterLibrary::SeedIfNeeded(m_pSettings->Registry());
    CompleteLoadingStep();
    // The field loads the outline patterns and starts the piece builders.
    m_pField = std::make_unique<CGameField>(
        this, *m_pSettings, [this](int id, int periodMs) { StartViewTimer(id, periodMs); },
        [this](int id) { StopViewTimer(id); });
    CompleteLoadingStep();
    m_pHelp = new CHelpOverlayWindow(this, *m_pSettings,
                                     [this](HelpTarget target) { return LocateHelpTarget(*this, target); });
    m_pPlay = std::make_unique<CPlayWindows>(*this, *m_pField, *m_pSettings);
    m_pField->SetPlayWindows(m_pPlay.get());
    m_pOpening = std::make_unique<CPlayOpening>(*this, *m_pLibrary, *m_pField, *m_pPlay);
    // The puzzle being built never goes to the piece builders: there is nothing to stop.
    m_pCreation = std::make_unique<CCreationScreen>(this, m_pField->Patterns(), m_pSettings->Settings(),
                                                    CCreationScreen::ViewHost(*this));
    m_pCreation->AnswerToLibrary(*m_pLibrary);
    m_pCall = new CCallMessage(this);
    CompleteLoadingStep();
}

CChildView::~CChildView()
{
    // The game's windows and the bands wear the view's skin: they go first.
    m_pCreation.reset();
    m_pField->SetPlayWindows(nullptr);
    m_pOpening.reset();
    m_pPlay.reset();
    m_pField.reset();
    m_pBands.reset();
    if (m_pScreens)
        m_pSettings->Settings().CurrentScroll = m_pScreens->Scroll();
    // Every library puzzle's progress goes back into its file.
    m_pLibrary.reset();
    m_pSettings->SaveRegistrySet();
    m_pSkin.reset();
}

void CChildView::BuildControls()
{
    m_pField->BuildControls(GP_FilePath(GP_Folder::SkinNox, QLatin1String(kPushCursorFile)));
    m_pField->RebuildBackgrounds(FieldPainter::SkinTextures(WINSKIN::Skin::Current()));
    m_pPlay->BuildControls();
    UpdateFieldGeometry();
    m_pBands->Build();
    CreateScreens();
    // Windows are not shown from inside a paint.
    QMetaObject::invokeMethod(this, &CChildView::ShowCaptionBands, Qt::QueuedConnection);
}

void CChildView::ShowCaptionBands()
{
    if (m_bFirstPaintDone)
        m_pBands->ShowFor(m_gameMode);
}

CCaptionPanel* CChildView::CaptionPanel() const
{
    return m_pBands->Library();
}

CTightCaptionPanel* CChildView::TightCaptionPanel() const
{
    return m_pBands->Game();
}

bool CChildView::IsSkinLoaded() const
{
    return m_pSkin->IsLoaded();
}

void CChildView::resizeEvent(QResizeEvent*)
{
    m_pBands->Place();
    UpdateFieldGeometry();
    m_pHelp->Follow();
}

QRect CChildView::FieldRect() const
{
    return FieldGeometry::FieldRect(rect(), m_gameMode, CCaptionPanel::kHeight);
}

void CChildView::UpdateFieldGeometry()
{
    // The trays belong to the play field whatever the mode is now.
    const QRect field = FieldGeometry::FieldRect(rect(), GameMode::Play, CCaptionPanel::kHeight);
    m_pField->SetGeometry(field, FieldGeometry::HandleSide(FieldGeometry::LayoutRect(rect())));
}

void CChildView::showEvent(QShowEvent*)
{
    ShowCaptionBands();
}

QColor CChildView::BoardColour() const
{
    // A colour reference keeps red in its low byte.
    const quint32 ref = m_pSettings->CurrentColor(GP_Table::Board);
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

void CChildView::ChangeGameMode(GameMode mode)
{
    GP_Log(QStringLiteral("ChangeGameMode\n"));
    // Every tray closes and its windows hide; the hover box goes with the screens' buttons.
    m_pField->LeavePlay();
    m_pPlay->LeavePlay();
    m_pCreation->HidePanels();
    if (m_pScreens)
        m_pScreens->ShowMode(mode);
    if (m_gameMode == GameMode::Startup)
        m_pField->ResetIdleClock();
    m_pHelp->Clear();
    SetUpMode(mode);
    m_pHelp->raise();
    ShowCaptionBands();
    update();
    // A new creation's file dialog opens over the view as it now looks.
    if (mode == GameMode::CreateImage && !m_pCreation->ShowImageStep())
        ChangeGameMode(GameMode::MyPuzzles);
}

void CChildView::SetUpMode(GameMode mode)
{
    m_gameMode = mode;
    // The screen's help chain (none in the creation steps and at start-up).
    ShowHelp(mode);
    if (mode == GameMode::CreateParameters)
        m_pCreation->ShowParametersStep();
    if (mode == GameMode::Play) {
        m_pField->EnterPlay();
        m_pPlay->EnterPlay();
    }
}

void CChildView::ShowHelp(GameMode mode)
{
    m_pHelp->Start(mode, Session() && Session()->Puzzle()->m_bOptions[CGP_Puzzle::kOptionRotation]);
}

PlaySession* CChildView::Session() const
{
    return m_pField->Session();
}

bool CChildView::OpenPuzzleForPlay(const QString& path)
{
    GP_Log(QStringLiteral("CChildView::OpenPuzzleForPlay: %1\n").arg(path));
    UpdateFieldGeometry();
    return m_pOpening->OpenFile(path);
}

void CChildView::OnMainPlay(const GP_PuzzlePtr& puzzle)
{
    UpdateFieldGeometry();
    m_pOpening->OnMainPlay(puzzle);
}

void CChildView::timerEvent(QTimerEvent* event)
{
    const int id = m_timers.IdOf(event->timerId());
    if (id == 0) {
        QWidget::timerEvent(event);
        return;
    }
    if (id == kPushTimer && m_gameMode == GameMode::Play) {
        m_pField->OnTimer(id);
        return;
    }
    if (id == kScreenAnimationTimer) {
        if (m_pScreens)
            m_pScreens->Animate();
        return;
    }
    // The popup and hover timers (1, 2) run on the library screen itself: no other timer of the
    // table has work to do.
    m_timers.Stop(id);
}

bool CChildView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        RoutePointer(*static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QWidget::event(event);
    }
}

bool CChildView::HelpTakesPointer(const QMouseEvent& event)
{
    if (!m_pHelp->IsShown())
        return false;
    if (event.type() == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton)
        DismissHelp();
    return true;
}

void CChildView::DismissHelp()
{
    m_pHelp->Dismiss();
    // The picture window never shows over a help picture.
    m_pPlay->HelpChanged();
}

void CChildView::RoutePointer(const QMouseEvent& event)
{
    if (!HelpTakesPointer(event) && m_gameMode == GameMode::Play)
        m_pField->Pointer(event);
}

void CChildView::wheelEvent(QWheelEvent*)
{
    // Outside the game the screens take the wheel; the field has no use for it.
}

void CChildView::CompleteLoadingStep()
{
    ++m_loadingStepsDone;
    m_progressEvent.Set();
}

void CChildView::OnPlayGhost()
{
    GP_Log(QStringLiteral("OnPlayGhost\n"));
    if (m_gameMode == GameMode::Play && !m_pHelp->IsShown())
        m_pField->OnPlayGhost();
}

void CChildView::OnPlayPicture()
{
    GP_Log(QStringLiteral("OnPlayPicture\n"));
    if (m_gameMode == GameMode::Play && !m_pHelp->IsShown())
        m_pPlay->OnPlayPicture();
}

void CChildView::OnPlayPause()
{
    GP_Log(QStringLiteral("OnPlayPause\n"));
    if (m_gameMode == GameMode::Play)
        m_pPlay->OnPlayPause();
}

void CChildView::DeletePauseBox()
{
    m_pPlay->DeletePauseBox();
}

bool CChildView::OnIdle(long)
{
    // The solving clock, the hint blink and the join sparkle need idle time only in play.
    if (m_gameMode != GameMode::Play)
        return false;
    m_pField->Idle(window()->isActiveWindow() || QGuiApplication::applicationState() == Qt::ApplicationActive);
    return true;
}

void CChildView::RefreshTightCaptionPanel()
{
    if (m_gameMode == GameMode::Play)
        m_pPlay->RefreshClock();
}

void CChildView::RepaintCurrentPanel()
{
    update();
}

void CChildView::CloseModelessPanels()
{
    // The library's popup menu and hover box go; the game's panels and a creation step stay as
    // the player left them (closing a creation step would drop the puzzle being made).
    if (m_pScreens)
        m_pScreens->HidePopups();
}

bool CChildView::IsInBlockingState() const
{
    // A question of the view is up: the game stays in front with it.
    return CBmpButton::IsInputBlocked();
}

void CChildView::CloseGame()
{
    // exit(), not quit(): quit() first asks every window to close, and the frame refuses.
    QCoreApplication::exit(0);
}

void CChildView::OnSplashClosed()
{
    ChangeGameMode(GameMode::MyPuzzles);
    update();
    StartScreenAnimation(kScreenAnimationMs);
    GP_Log(QStringLiteral("CChildView::OnSplashClosed: not built yet; would start the update check\n"));
    m_pOpening->OpenStartPuzzle();
}

void CChildView::OnMainMinimize()
{
    window()->showMinimized();
}

void CChildView::OnMainCampaign()
{
    ChangeGameMode(GameMode::Calendar);
    update();
}

void CChildView::OnMainPuzzles()
{
    ChangeGameMode(GameMode::Treasury);
    update();
}

void CChildView::OnMainClose()
{
    StopScreenAnimation();
    const int answer = Ask(GP_LoadString(IDS_ARE_YOU_SURE), GP_LoadString(IDS_YES), GP_LoadString(IDS_NO),
                           MB_YESNO | MB_ICONQUESTION);
    if (answer != IDOK) {
        StartScreenAnimation(kScreenAnimationMs);
        return;
    }
    LeaveAfterClose();
}

int CChildView::Ask(const QString& text, const QString& first, const QString& second, unsigned flags)
{
    const bool wasBlocked = CBmpButton::IsInputBlocked();
    CBmpButton::SetInputBlocked(true);
    const int answer = CMessageBoxDialog::Ask(this, text, QLatin1String(kCaption), first, second, QString(), flags);
    CBmpButton::SetInputBlocked(wasBlocked);
    return answer;
}

void CChildView::RepaintView()
{
    update();
}

void CChildView::OnBmpButtonNotify(const BmpButtonNotify& notify)
{
    if (m_pScreens)
        m_pScreens->OnButtonNotify(notify);
}

void CChildView::OnMainGallery()
{
    if (m_pScreens && (m_gameMode == GameMode::Calendar || m_gameMode == GameMode::Treasury))
        m_pScreens->Library().TakeSelectedAsCurrent();
    ChangeGameMode(GameMode::MyPuzzles);
}

void CChildView::OnPlayExit()
{
    GP_Log(QStringLiteral("OnPlayExit\n"));
    if (m_gameMode == GameMode::Play)
        m_pPlay->LeaveGame(false);
}

void CChildView::OnPlayMenu()
{
    GP_Log(QStringLiteral("OnPlayMenu\n"));
    if (m_gameMode == GameMode::Play)
        m_pPlay->OnPlayMenu();
}

bool CChildView::StoreHelpFlag(const char* valueName)
{
    // A shown game help picture takes the click of the game band: it is dismissed as a release
    // on the field would dismiss it, and the click does nothing else.
    if (m_gameMode == GameMode::Play && m_pHelp->IsShown()) {
        DismissHelp();
        return true;
    }
    m_pSettings->DismissHelp(QLatin1String(valueName));
    return false;
}

void CChildView::LeaveGameBeforeEnd()
{
    if (m_gameMode != GameMode::Play)
        return;
    GP_Log(QStringLiteral("OnPlayExit\n"));
    m_pPlay->LeaveGame(true);
}

void CChildView::LeaveAfterClose()
{
    LeaveGameBeforeEnd();
    if (m_gameMode == GameMode::CreateImage || m_gameMode == GameMode::CreateParameters)
        m_pCreation->OnCreateBack();
    CloseGame();
}

void CChildView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_gameMode == GameMode::Play)
        m_pField->Paint(painter, event->rect());
    else
        painter.fillRect(event->rect(), BoardColour());
    if (m_gameMode == GameMode::CreateImage || m_gameMode == GameMode::CreateParameters)
        m_pCreation->Paint(painter, FieldRect());
    if (m_bFirstPaintDone)
        return;
    m_bFirstPaintDone = true;
    // The first paint builds the controls and reads the library; then start-up begins.
    BuildControls();
    CompleteLoadingStep();
    m_gameMode = GameMode::Startup;
    emit FirstPaintDone();
    // The library is read outside the paint: the splash counter moves meanwhile.
    QMetaObject::invokeMethod(this, &CChildView::ListLibrary, Qt::QueuedConnection);
}

void CChildView::ListLibrary()
{
    m_pLibrary->ListLibrary([this] { m_progressEvent.Set(); });
    CompleteLoadingStep();
    update();
}


void CChildView::OpenPuzzleFile(const QString& path)
{
    m_pOpening->OpenHandedFile(path);
}

void CChildView::SetStartPuzzle(const QString& path)
{
    m_pOpening->SetStartPuzzle(path);
}

void CChildView::CreateScreens()
{
    m_pScreens = new CScreenCanvas(*this, GP_FilePath(GP_Folder::SkinNox, QLatin1String(kPushCursorFile)), CCaptionPanel::kHeight);
}
