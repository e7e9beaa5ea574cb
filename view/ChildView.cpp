#include "view/ChildView.h"

#include "engine/GP_Folders.h"
#include "resources/StringTable.h"
#include "shell/dialogs/CaptionPanel.h"
#include "shell/log/GP_LogFile.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/ClickSoundPlayer.h"
#include "skin/LDialog.h"
#include "skin/Skin.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PuzzleImport.h"
#include "view/model/StarterLibrary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPaintEvent>

namespace {
// The screens' picture buttons the view answers, with the trace each writes when clicked.
enum ScreenButton : int {
    kTabCalendar = 49302,
    kTabTreasury = 49303,
    kTabMyPuzzles = 49304,
    kButtonMinimize = 49305,
    kButtonClose = 49306,
    kScrollUp = 49313,
    kScrollDown = 49314,
    kScroller = 49315,
};

struct ButtonTrace
{
    int id;
    const char* trace;
};

constexpr ButtonTrace kButtonTraces[] = {
    {kTabCalendar, "ClickCalendar"},
    {kTabTreasury, "ClickTreasure"},
    {kTabMyPuzzles, "ClickMyPuzzles"},
    {kButtonMinimize, "ClickMinimize"},
    {kButtonClose, "ClickClose"},
    {49312, "ClickMakoOwnPuzzle"},
    {49309, "ClickPopupSend"},
    {49310, "ClickPopupModify"},
    {49311, "ClickPopupDelete"},
    {kScrollUp, "ButtonScroll_Up"},
    {kScrollDown, "ButtonScroll_Down"},
    {49293, "CalendarUp"},
    {49294, "CalendarDown"},
    {49301, "ClickYearUp"},
    {49307, "ClickYearDown"},
    {49299, "ClickPageLeft"},
    {49300, "ClickPageRight"},
    {49295, "ClickThemeLeft"},
    {49296, "ClickThemeRight"},
    {49298, "ClickTheme "},
    {49297, "ClickGetSelected"},
    {49316, "ClickGetSelected"},
};

const char* TraceOf(int buttonId)
{
    for (const ButtonTrace& entry : kButtonTraces) {
        if (entry.id == buttonId)
            return entry.trace;
    }
    return nullptr;
}

constexpr char kSkinFile[] = "Advanced.skn";
constexpr char kCaption[] = "Velmora";
constexpr int kSoundClick = 245;
} // namespace

CChildView::CChildView(QWidget* parent)
    : QWidget(parent), m_pSettings(std::make_unique<CGP_SettingsStore>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_pSettings->LoadRegistrySet();
    CLDialog::SetSoundOn(m_pSettings->Settings().SoundFXEnable);
    LoadSkin();
    // A new player's library starts with the starter puzzles.
    CStarterLibrary::SeedIfNeeded(m_pSettings->Registry());
    // What creation will load (skin, patterns, settings, folders, workers) counts as done at once.
    for (int step = 0; step < kLoadingSteps - 2; ++step)
        CompleteLoadingStep();
}

CChildView::~CChildView()
{
    // The bands wear the view's skin: they go first.
    delete m_pCaptionPanel;
    delete m_pTightCaptionPanel;
    m_pSettings->SaveRegistrySet();
    if (WINSKIN::Skin::Current() == m_pSkin.get())
        WINSKIN::Skin::SetCurrent(nullptr);
}

void CChildView::LoadSkin()
{
    const QString path = GP_FilePath(GP_Folder::SkinNox, QLatin1String(kSkinFile));
    if (!QFile::exists(path)) {
        GP_Log(QStringLiteral("CChildView::LoadSkin: no skin at %1; the windows keep their plain look\n").arg(path));
        return;
    }
    m_pSkin = std::make_unique<WINSKIN::Skin>();
    WINSKIN::Skin* previous = WINSKIN::Skin::Current();
    WINSKIN::Skin::SetCurrent(m_pSkin.get());
    m_bSkinLoaded = m_pSkin->Load(path);
    if (m_bSkinLoaded)
        return;
    GP_Log(QStringLiteral("CChildView::LoadSkin: %1 could not be read; the windows keep their plain look\n").arg(path));
    WINSKIN::Skin::SetCurrent(previous);
}

void CChildView::BuildControls()
{
    m_pCaptionPanel = new CCaptionPanel(this, this);
    // Windows are not shown from inside a paint.
    QMetaObject::invokeMethod(this, &CChildView::ShowCaptionBands, Qt::QueuedConnection);
}

void CChildView::ShowCaptionBands()
{
    if (!m_bFirstPaintDone)
        return;
    const bool play = m_gameMode == GameMode::Play;
    const bool library = m_gameMode == GameMode::Startup || m_gameMode == GameMode::MyPuzzles || m_gameMode == GameMode::Calendar
        || m_gameMode == GameMode::Treasury;
    if (play && !m_pTightCaptionPanel)
        m_pTightCaptionPanel = new CTightCaptionPanel(this, this);
    PlaceCaptionBands();
    const bool shown = isVisible();
    if (m_pCaptionPanel)
        m_pCaptionPanel->setHidden(!(shown && library));
    if (m_pTightCaptionPanel)
        m_pTightCaptionPanel->setHidden(!(shown && play));
}

void CChildView::PlaceCaptionBands()
{
    const QPoint top = mapToGlobal(QPoint(0, 0));
    if (m_pCaptionPanel)
        m_pCaptionPanel->setGeometry(QRect(top, QSize(width(), CCaptionPanel::kHeight)));
    if (m_pTightCaptionPanel)
        m_pTightCaptionPanel->setGeometry(QRect(top, QSize(width(), CTightCaptionPanel::kHeight)));
}

void CChildView::resizeEvent(QResizeEvent*)
{
    PlaceCaptionBands();
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
    m_gameMode = mode;
    ShowCaptionBands();
    update();
}

void CChildView::LogNotBuilt(const char* call, const char* wouldDo) const
{
    GP_Log(QStringLiteral("CChildView::%1: not built yet; would %2\n")
               .arg(QLatin1String(call), QLatin1String(wouldDo)));
}

void CChildView::CompleteLoadingStep()
{
    ++m_loadingStepsDone;
    m_progressEvent.Set();
}

void CChildView::OnPlayGhost()
{
    LogNotBuilt("OnPlayGhost", "show or hide the ghost picture");
}

void CChildView::OnPlayPicture()
{
    LogNotBuilt("OnPlayPicture", "show or hide the picture window");
}

void CChildView::OnPlayPause()
{
    LogNotBuilt("OnPlayPause", "show or close the pause box");
}

bool CChildView::OnIdle(long)
{
    // The solving clock, the hint blink and the join sparkle need idle time only in play.
    return m_gameMode == GameMode::Play;
}

void CChildView::RefreshTightCaptionPanel()
{
    if (m_gameMode == GameMode::Play)
        LogNotBuilt("RefreshTightCaptionPanel", "repaint the tight caption panel");
}

void CChildView::RepaintCurrentPanel()
{
    update();
}

void CChildView::CloseModelessPanels()
{
    LogNotBuilt("CloseModelessPanels", "close the open panels and the current modeless dialog");
}

bool CChildView::IsInBlockingState() const
{
    // No panel, creation step or download exists yet that could block minimising.
    return false;
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
    LogNotBuilt("OnSplashClosed", "show the library screen with its tabs and start the update check");
}

void CChildView::OnMainMinimize()
{
    window()->showMinimized();
}

void CChildView::OnMainCampaign()
{
    ChangeGameMode(GameMode::Calendar);
    update();
    LogNotBuilt("OnMainCampaign", "draw the calendar screen");
}

void CChildView::OnMainPuzzles()
{
    ChangeGameMode(GameMode::Treasury);
    update();
    LogNotBuilt("OnMainPuzzles", "draw the Treasury screen");
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
    if (notify.idFrom == kScroller) {
        if (notify.code == CBmpButton::kNotifyPressed)
            GP_Log(QStringLiteral("Scroller_Down\n"));
        else
            GP_Log(QStringLiteral("Scroller_Up\n"));
        LogNotBuilt("OnBmpButtonNotify", "drag the library's scroll thumb");
        return;
    }
    if (notify.code == CBmpButton::kNotifyClicked)
        OnScreenButtonClicked(notify.idFrom);
}

void CChildView::OnScreenButtonClicked(int buttonId)
{
    const bool scrollButton = buttonId == kScrollUp || buttonId == kScrollDown;
    if (!scrollButton && m_pSettings->Settings().SoundFXEnable)
        CClickSoundPlayer::Instance().Play(kSoundClick);
    if (const char* trace = TraceOf(buttonId))
        GP_Log(QStringLiteral("%1\n").arg(QLatin1String(trace)));
    switch (buttonId) {
    case kTabCalendar:
        OnMainCampaign();
        return;
    case kTabTreasury:
        OnMainPuzzles();
        return;
    case kTabMyPuzzles:
        OnMainGallery();
        update();
        return;
    case kButtonMinimize:
        OnMainMinimize();
        return;
    case kButtonClose:
        OnMainClose();
        return;
    default:
        GP_Log(QStringLiteral("CChildView::OnBmpButtonNotify: not built yet; would carry out button %1\n").arg(buttonId));
        return;
    }
}

void CChildView::OnMainGallery()
{
    ChangeGameMode(GameMode::MyPuzzles);
    LogNotBuilt("OnMainGallery", "make the library's selected puzzle current");
}

void CChildView::OnPlayExit()
{
    LogNotBuilt("OnPlayExit", "save the game's progress and return to the screen it came from");
}

void CChildView::OnPlayMenu()
{
    LogNotBuilt("OnPlayMenu", "show or hide the game menu");
}

void CChildView::StopScreenAnimation()
{
    m_bScreenAnimation = false;
}

void CChildView::StartScreenAnimation(int)
{
    m_bScreenAnimation = true;
}

void CChildView::StoreHelpFlag(const char* valueName)
{
    m_pSettings->DismissHelp(QLatin1String(valueName));
}

void CChildView::LeaveAfterClose()
{
    if (m_gameMode == GameMode::Play)
        OnPlayExit();
    if (m_gameMode == GameMode::CreateImage || m_gameMode == GameMode::CreateParameters) {
        GP_Log(QStringLiteral("OnCreateBack\n"));
        ChangeGameMode(GameMode::MyPuzzles);
    }
    CloseGame();
}

void CChildView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), BoardColour());
    if (m_bFirstPaintDone)
        return;
    m_bFirstPaintDone = true;
    // The first paint builds the controls and reads the library; then start-up begins.
    BuildControls();
    CompleteLoadingStep();
    CompleteLoadingStep();
    m_gameMode = GameMode::Startup;
    emit FirstPaintDone();
}

void CChildView::OpenPuzzleFile(const QString& path)
{
    GP_Log(QStringLiteral("OpenPuzzleFile %1\n").arg(path));
    const CPuzzleImport::Result imported = CPuzzleImport::Import(path);
    if (imported.outcome == CPuzzleImport::Outcome::Damaged || imported.outcome == CPuzzleImport::Outcome::CopyFailed) {
        if (m_gameMode != GameMode::Play)
            ChangeGameMode(GameMode::MyPuzzles);
        const QString text = GP_LoadString(IDS_PUZZLE_UNREADABLE).replace(QLatin1String("%s"), QFileInfo(path).fileName());
        Ask(text, GP_LoadString(IDS_OK), QString(), MB_OK | MB_ICONWARNING);
        return;
    }
    GP_Log(QStringLiteral("OpenPuzzleFile: in the library as %1\n").arg(imported.name));
    LogNotBuilt("OpenPuzzleFile", "list the library and open the imported puzzle for play");
}
