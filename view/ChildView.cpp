#include "view/ChildView.h"

#include "shell/GP_LogFile.h"
#include "view/GP_SettingsStore.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPaintEvent>

CChildView::CChildView(QWidget* parent)
    : QWidget(parent), m_pSettings(std::make_unique<CGP_SettingsStore>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_pSettings->LoadRegistrySet();
    // What creation will load (skin, patterns, settings, folders, workers) counts as done at once.
    for (int step = 0; step < kLoadingSteps - 2; ++step)
        CompleteLoadingStep();
}

CChildView::~CChildView()
{
    m_pSettings->SaveRegistrySet();
}

QColor CChildView::BoardColour() const
{
    // A colour reference keeps red in its low byte.
    const quint32 ref = m_pSettings->CurrentColor(GP_Table::Board);
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

void CChildView::ChangeGameMode(::GameMode mode)
{
    GP_Log(QStringLiteral("ChangeGameMode\n"));
    m_gameMode = mode;
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
    return m_gameMode == Play;
}

void CChildView::RefreshTightCaptionPanel()
{
    if (m_gameMode == Play)
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
    ChangeGameMode(MyPuzzles);
    update();
    LogNotBuilt("OnSplashClosed", "show the library screen with its tabs and start the update check");
}

void CChildView::OnMainMinimize()
{
    window()->showMinimized();
}

void CChildView::OnMainGallery()
{
    ChangeGameMode(MyPuzzles);
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
    if (m_gameMode == Play)
        OnPlayExit();
    if (m_gameMode == CreateImage || m_gameMode == CreateParameters) {
        GP_Log(QStringLiteral("OnCreateBack\n"));
        ChangeGameMode(MyPuzzles);
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
    CompleteLoadingStep();
    CompleteLoadingStep();
    m_gameMode = Startup;
    emit FirstPaintDone();
}
