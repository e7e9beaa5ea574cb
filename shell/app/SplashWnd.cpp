#include "shell/app/SplashWnd.h"

#include "engine/GP_Clock.h"
#include "resources/GP_Resources.h"
#include "shell/app/ROruzoz.h"
#include "shell/app/SplashUpdateThread.h"
#include "shell/log/GP_LogFile.h"
#include "skin/BmpButton.h"
#include "skin/Font.h"
#include "skin/Rectangle.h"
#include "skin/Skin.h"
#include "view/ChildView.h"

#include <QGuiApplication>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

namespace {

CSplashWnd* s_pSplash = nullptr;
constexpr char kCounterFontItem[] = "Heading";

QScreen* ScreenFor(const QWidget* parent)
{
    if (parent && parent->screen())
        return parent->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace

CSplashWnd* CSplashWnd::Show(QWidget* parent, CChildView* view)
{
    if (!g_bShowSplash || s_pSplash)
        return nullptr;
    const QScreen* screen = ScreenFor(parent);
    const QImage picture = GP_LoadBitmap(QString::number(kBitmap), screen ? screen->devicePixelRatio() : 1.0);
    if (picture.isNull()) {
        GP_Log(QStringLiteral("CSplashWnd::Show: no splash picture\n"));
        return nullptr;
    }
    auto* splash = new CSplashWnd(parent, view, picture);
    splash->show();
    // Without a window manager nobody else gives it the keyboard, and Escape should reach it.
    splash->activateWindow();
    splash->repaint();
    return splash;
}

CSplashWnd* CSplashWnd::Current()
{
    return s_pSplash;
}

QRect CSplashWnd::PlaceOnScreen(const QSize& size, const QRect& screen)
{
    return QRect(QPoint(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2),
                 size);
}

QString CSplashWnd::CounterText(int counter)
{
    return QStringLiteral("%1%").arg(counter);
}

QFont CSplashWnd::CounterFont()
{
    const WINSKIN::Skin* skin = WINSKIN::Skin::Current();
    WINSKIN::Rectangle* item = skin ? skin->FindByName(QLatin1String(kCounterFontItem)) : nullptr;
    if (WINSKIN::Font* font = item ? item->AsFont() : nullptr; font && font->GetFont())
        return *font->GetFont();
    return CBmpButton::ButtonFont();
}

CSplashWnd::CSplashWnd(QWidget* parent, CChildView* view, const QImage& picture)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picture)
    , m_pView(view)
{
    s_pSplash = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);
    const QScreen* screen = ScreenFor(parent);
    const QSize size = picture.deviceIndependentSize().toSize();
    setGeometry(screen ? PlaceOnScreen(size, screen->geometry()) : QRect(QPoint(0, 0), size));
    m_pWorker = std::make_unique<CSplashUpdateThread>(this, view ? view->ProgressEvent() : nullptr,
                                                      view ? view->LoadingStepCount() : 0, kCounterLimit);
    if (!m_pWorker->StartLowPriority())
        GP_Log(QStringLiteral("CSplashWnd: the counter thread did not start\n"));
}

CSplashWnd::~CSplashWnd()
{
    // The worker posts to this window: it ends before the window goes.
    m_pWorker.reset();
    if (s_pSplash == this)
        s_pSplash = nullptr;
}

void CSplashWnd::SetCounter(int counter, bool firstTimeFull)
{
    m_counter = counter;
    update();
    if (!firstTimeFull || m_full)
        return;
    m_full = true;
    m_fullAt = GP_TimeMs();
    m_closeTimer.start(kCloseCheckMs, this);
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
    painter.setFont(CounterFont());
    painter.setPen(Qt::white);
    const QRect box(kCounterX - kCounterBoxWidth / 2, kCounterY - kCounterBoxHeight / 2, kCounterBoxWidth, kCounterBoxHeight);
    painter.drawText(box, Qt::AlignCenter, CounterText(m_counter));
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_closeTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    // The game clock, not the timer's own count: the clock is what the game's timing reads.
    if (GP_TimeMs() - m_fullAt >= kCloseDelayMs)
        Close();
}

void CSplashWnd::mousePressEvent(QMouseEvent*)
{
    Skip();
}

void CSplashWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        Skip();
    else
        QWidget::keyPressEvent(event);
}

void CSplashWnd::Skip()
{
    // Before the counter is full the game is still loading: there is nothing to skip yet.
    if (m_full)
        Close();
}

void CSplashWnd::Close()
{
    m_closeTimer.stop();
    m_pWorker->Stop();
    // Gone for the game from now on, though the object itself goes a moment later.
    if (s_pSplash == this)
        s_pSplash = nullptr;
    QPointer<CChildView> view = m_pView;
    QPointer<QWidget> frame = parentWidget();
    close();  // deletes the object
    if (!view)
        return;
    if (frame && !frame->isVisible()) {
        // The game's window opens now; the view draws itself first (which sets up its start-up
        // state) and then leaves that state for the library.
        QObject::connect(view, &CChildView::FirstPaintDone, view, [view] { view->OnSplashClosed(); },
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        frame->showMaximized();
        return;
    }
    view->update();
    view->OnSplashClosed();
}
