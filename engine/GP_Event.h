#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Results of a wait, with the numbers the game's code has always compared against.
constexpr uint32_t GP_INFINITE = 0xFFFFFFFF;
constexpr uint32_t GP_WAIT_OBJECT_0 = 0;
constexpr uint32_t GP_WAIT_ABANDONED = 0x80;
constexpr uint32_t GP_WAIT_TIMEOUT = 0x102;
constexpr uint32_t GP_WAIT_FAILED = 0xFFFFFFFF;

struct GP_EventWaiter;

// A signal between threads. A manual-reset event stays set until reset and releases every
// waiter; an auto-reset event releases one waiter and resets itself.
class CGP_Event
{
public:
    CGP_Event(bool manualReset, bool initiallySet);
    ~CGP_Event();

    CGP_Event(const CGP_Event&) = delete;
    CGP_Event& operator=(const CGP_Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    // GP_WAIT_OBJECT_0 once set, GP_WAIT_TIMEOUT when the time ran out first.
    uint32_t Wait(uint32_t timeoutMs = GP_INFINITE);

private:
    friend uint32_t GP_WaitForAny(CGP_Event* const* events, int count, uint32_t timeoutMs);

    // Takes the signal if it is there (resetting an auto-reset event); needs no lock.
    bool TryTake();
    void AddWaiter(const std::shared_ptr<GP_EventWaiter>& waiter);
    void RemoveWaiter(const GP_EventWaiter* waiter);

    // Guards the waiters and the sleeping in Wait; the signal itself is an atomic flag, so that
    // a waiter woken by Set never has to wait for Set to let go of this.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::shared_ptr<GP_EventWaiter>> m_waiters;
    const bool m_manualReset;
    std::atomic<bool> m_set;
};

// Waits until any of the events is set. Returns GP_WAIT_OBJECT_0 + the index of the first set
// event (the lowest index when several are), GP_WAIT_TIMEOUT, or GP_WAIT_FAILED for a null event
// or a count outside 1..64.
uint32_t GP_WaitForAny(CGP_Event* const* events, int count, uint32_t timeoutMs);
