#pragma once

#include <QBasicTimer>

#include <array>

class QObject;

// The main view's numbered timers (1 popup menu, 2 hover box, 4 screen animation, 5 push): each
// ticks into its owner's timerEvent, and IdOf tells which of them a tick belongs to.
class CViewTimers
{
public:
    static constexpr int kCount = 6;

    explicit CViewTimers(QObject& owner) : m_owner(owner) {}

    // Numbers outside 1 .. kCount - 1 are ignored.
    void Start(int id, int periodMs);
    void Stop(int id);
    bool IsActive(int id) const;
    // The number of the timer whose tick this is, 0 for none of them.
    int IdOf(int timerId) const;

private:
    static bool Valid(int id) { return id > 0 && id < kCount; }

    QObject& m_owner;
    std::array<QBasicTimer, kCount> m_timers;
};
