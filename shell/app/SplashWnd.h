#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class CChildView;
class CSplashUpdateThread;

// The start-up splash: picture 167 with a counter in white that runs up while the view loads,
// and stays two seconds once full. When it closes, the view leaves its start-up state.
class CSplashWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBitmap = 167;
    static constexpr int kCounterLimit = 100;
    static constexpr int kCloseDelayMs = 2000;
    // Where the counter's text is centred on the picture.
    static constexpr int kCounterX = 300;
    static constexpr int kCounterY = 356;

    // Shows the splash over the frame when the command line lets it and none exists yet; null
    // when there is none (no flag, or the picture is missing).
    static CSplashWnd* Show(QWidget* parent, CChildView* view);
    static CSplashWnd* Current();

    ~CSplashWnd() override;

    int Counter() const { return m_counter; }
    bool CloseTimerArmed() const { return m_closeTimer.isActive(); }
    // From the worker (on this thread): the new counter; the first time it is full, the
    // two seconds of the game's clock start.
    void SetCounter(int counter, bool firstTimeFull);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CSplashWnd(QWidget* parent, CChildView* view, const QPixmap& picture);
    void Close();

    QPixmap m_picture;
    QPointer<CChildView> m_pView;
    std::unique_ptr<CSplashUpdateThread> m_pWorker;
    QBasicTimer m_closeTimer;  // timer 7: looks at the game's clock until two seconds have passed
    uint32_t m_fullAtMs = 0;
    int m_counter = 0;
};
