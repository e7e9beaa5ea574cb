#pragma once

#include <cstdint>
#include <optional>

// The solving clock of a game: whole seconds, with the milliseconds short of the next second
// carried over. It counts only the time between its updates; the caller updates it while the
// game is being played (shown, unpaused, no dialog up, the game active) and asks for a reset
// whenever time has passed that must not count (a pause, the board settings, another
// application), so the clock goes on from where it stood instead of jumping. Times are the
// game's millisecond clock, passed in.
class CPlayClock
{
public:
    // A game starts from the seconds it was left with, with no reference instant yet.
    void Start(int seconds);
    // The next update takes its reference afresh and counts nothing before it.
    void RequestReset() { m_resetRequested = true; }
    // Counts the time since the last update; answers whether the display should show a new
    // time (the first update of a game, or a second added).
    bool Update(uint32_t nowMs);

    int Seconds() const { return m_seconds; }
    int RemainderMs() const { return m_remainderMs; }

private:
    std::optional<uint32_t> m_referenceMs;
    bool m_resetRequested = false;
    int m_remainderMs = 0;
    int m_seconds = 0;
};
