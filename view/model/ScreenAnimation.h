#pragma once

// The calendar's and the Treasury's items fade in when their page comes up, driven by the
// screen animation's ticks (timer 4, every 40 ms). A tick advances by the milliseconds that
// passed, but never by more than kMaxStepMs: a busy moment does not make the items jump.
class CScreenAnimation
{
public:
    static constexpr int kTickMs = 40;
    static constexpr int kMaxStepMs = 20;
    static constexpr int kFadeMs = 320;

    // A new page: its items start transparent.
    void Restart() { m_shownMs = 0; }
    // Answers whether the items moved (and want a repaint).
    bool Advance(int elapsedMs);
    double Opacity() const;
    bool Running() const { return m_shownMs < kFadeMs; }

private:
    int m_shownMs = kFadeMs;
};
