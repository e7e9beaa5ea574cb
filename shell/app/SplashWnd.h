#pragma once

#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class CChildView;
class CSplashUpdateThread;

// The start-up splash: picture 167 in the middle of the screen, with a counter that runs up to
// "100%" while the view loads and then stays two seconds (a click or Escape ends those at once).
// It comes before the game's window: when it closes it opens its parent frame, if that is still
// hidden, and the view leaves its start-up state once it has drawn itself.
class CSplashWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBitmap = 167;
    static constexpr int kCounterLimit = 100;
    static constexpr uint32_t kCloseDelayMs = 2000;
    // How often the splash looks at the game clock while it waits to close.
    static constexpr int kCloseCheckMs = 50;
    // Where the counter's text is centred on the picture, and the box it is fitted in.
    static constexpr int kCounterX = 300;
    static constexpr int kCounterY = 356;
    static constexpr int kCounterBoxWidth = 132;
    static constexpr int kCounterBoxHeight = 36;

    // Shows the splash in the middle of the screen when the command line lets it and none
    // exists yet; null when there is none (no flag, or the picture is missing). parent: the
    // game's frame, opened when the splash goes if it is hidden then.
    static CSplashWnd* Show(QWidget* parent, CChildView* view);
    static CSplashWnd* Current();

    // Where a splash of that size stands on a screen: in its middle.
    static QRect PlaceOnScreen(const QSize& size, const QRect& screen);
    // The counter as it is shown: "57%".
    static QString CounterText(int counter);
    // The counter's font: the current skin's "Heading" font, else the game's own bold face.
    static QFont CounterFont();

    ~CSplashWnd() override;

    int Counter() const { return m_counter; }
    bool CloseTimerArmed() const { return m_closeTimer.isActive(); }
    // From the worker (on this thread): the new counter; the first time it is full, the
    // two-second wait begins.
    void SetCounter(int counter, bool firstTimeFull);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CSplashWnd(QWidget* parent, CChildView* view, const QImage& picture);
    // A click or Escape: once the counter is full, the splash goes without waiting.
    void Skip();
    void Close();

    QImage m_picture;
    QPointer<CChildView> m_pView;
    std::unique_ptr<CSplashUpdateThread> m_pWorker;
    QBasicTimer m_closeTimer;  // timer 7: looks at the game clock until the two seconds are over
    uint32_t m_fullAt = 0;
    int m_counter = 0;
    bool m_full = false;
};
