#include "shell/app/MainFrame.h"

#include "resources/StringTable.h"
#include "shell/log/GP_LogFile.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/app/SplashWnd.h"
#include "shell/app/TemplateDialog.h"
#include "view/ChildView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

CMainFrame::CMainFrame()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_pView(new CChildView(this))
{
    setWindowTitle(QLatin1String(kTitle));
    setWindowIcon(GP_ProgramIcon());
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_pView);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            OnActivateApp(true);
        else if (state == Qt::ApplicationInactive && m_bActive)
            OnActivateApp(false);
    });
    WatchDisplay();
}

CMainFrame::~CMainFrame()
{
    // The splash's worker waits on the view's progress event: it must stop before the view goes.
    qDeleteAll(findChildren<CSplashWnd*>());
}

void CMainFrame::WatchDisplay()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    connect(screen, &QScreen::geometryChanged, this, &CMainFrame::OnDisplayChange);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &CMainFrame::OnDisplayChange);
}

void CMainFrame::resizeEvent(QResizeEvent*)
{
    m_pView->setGeometry(rect());
}

void CMainFrame::focusInEvent(QFocusEvent*)
{
    m_bActive = true;
    m_pView->setFocus();
    m_pView->RefreshTightCaptionPanel();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Alt+F4 and the window menu's Close: the game is left only through its own menu.
    event->ignore();
}

void CMainFrame::OnActivateApp(bool active)
{
    m_bActive = active;
    if (active) {
        m_pView->RepaintCurrentPanel();
        m_pView->RefreshTightCaptionPanel();
        return;
    }
    m_pView->CloseModelessPanels();
    // While the splash is up the frame is not open yet: there is nothing to minimise.
    if (!m_pView->IsInBlockingState() && isVisible())
        showMinimized();
    if (!g_pPauseBox && !g_bPauseBoxShown)
        ReleaseHalfDoneDrag();
}

void CMainFrame::ReleaseHalfDoneDrag()
{
    // A drag interrupted by the switch would otherwise stay glued to the pointer.
    const QPointF local = m_pView->mapFromGlobal(QCursor::pos());
    const QPointF global = QCursor::pos();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pView, &release);
    }
}

void CMainFrame::OnDisplayChange()
{
    if (m_bDisplayChangeHandled)
        return;
    m_bDisplayChangeHandled = true;
    GP_Log(QStringLiteral("CMainFrame::OnDisplayChange\n"));
    CMessageBoxDialog::Ask(this, GP_LoadString(IDS_RELAUNCH), QLatin1String(kTitle), GP_LoadString(IDS_OK),
                           QString(), QString(), MB_ICONINFORMATION);
    // Closed without the question: a game is saved and left, a creation step dropped.
    m_pView->LeaveAfterClose();
}
