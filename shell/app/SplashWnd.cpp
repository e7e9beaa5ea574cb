#include "shell/app/SplashWnd.h"

#include "engine/GP_Clock.h"
#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"
#include "shell/app/ROruzoz.h"
#include "shell/app/SplashUpdateThread.h"
#include "view/ChildView.h"

#include <QPainter>
#include <QTimerEvent>

namespace {

CSplashWnd* s_pSplash = nullptr;
constexpr int kCounterPoints = 20;
constexpr int kCounterBoxWidth = 200;
// How often the full splash looks at the clock: as often as its counter steps.
constexpr int kCloseCheckMs = 50;

} // namespace

CSplashWnd* CSplashWnd::Show(QWidget* parent, CChildView* view)
{
    if (!g_bShowSplash || s_pSplash)
        return nullptr;
    GP_InitResources();
    const QPixmap picture(GP_BitmapPath(QString::number(kBitmap)));
    if (picture.isNull()) {
        GP_Log(QStringLiteral("CSplashWnd::Show: no splash picture\n"));
        return nullptr;
    }
    auto* splash = new CSplashWnd(parent, view, picture);
    splash->show();
    splash->repaint();
    return splash;
}

CSplashWnd* CSplashWnd::Current()
{
    return s_pSplash;
}

CSplashWnd::CSplashWnd(QWidget* parent, CChildView* view, const QPixmap& picture)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picture)
    , m_pView(view)
{
    s_pSplash = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setGeometry(QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize()));
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
    if (!firstTimeFull)
        return;
    m_fullAtMs = GP_TimeMs();
    m_closeTimer.start(kCloseCheckMs, this);
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    QFont font = painter.font();
    font.setPointSize(kCounterPoints);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const int height = painter.fontMetrics().height();
    const QRect box(kCounterX - kCounterBoxWidth / 2, kCounterY - height / 2, kCounterBoxWidth, height);
    painter.drawText(box, Qt::AlignCenter, QString::number(m_counter));
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_closeTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (GP_TimeMs() - m_fullAtMs >= static_cast<uint32_t>(kCloseDelayMs))
        Close();
}

void CSplashWnd::Close()
{
    m_closeTimer.stop();
    m_pWorker->Stop();
    QPointer<CChildView> view = m_pView;
    close();  // deletes the object
    if (!view)
        return;
    view->update();
    view->OnSplashClosed();
}
