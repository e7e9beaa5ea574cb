#include "engine/GP_Event.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr int kMaxWaitObjects = 64;
}

// One thread waiting on several events: any of them wakes it, and it then looks at all of them.
struct GP_EventWaiter
{
    std::mutex mutex;
    std::condition_variable wake;
    bool woken = false;
};

CGP_Event::CGP_Event(bool manualReset, bool initiallySet)
    : m_manualReset(manualReset)
    , m_set(initiallySet)
{
}

CGP_Event::~CGP_Event() = default;

void CGP_Event::Set()
{
    // Waiters are woken after the lock is let go: each woken thread goes on at once instead of
    // waiting for this one. Holding them keeps them alive until they have been told.
    std::vector<std::shared_ptr<GP_EventWaiter>> waiters;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set.store(true);
        if (m_manualReset)
            m_changed.notify_all();
        else
            m_changed.notify_one();
        waiters = m_waiters;
    }
    for (const std::shared_ptr<GP_EventWaiter>& waiter : waiters) {
        {
            std::lock_guard<std::mutex> waiterLock(waiter->mutex);
            waiter->woken = true;
        }
        waiter->wake.notify_one();
    }
}

void CGP_Event::Reset()
{
    m_set.store(false);
}

bool CGP_Event::IsSet() const
{
    return m_set.load();
}

uint32_t CGP_Event::Wait(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    auto ready = [this] { return TryTake(); };
    if (timeoutMs == GP_INFINITE) {
        m_changed.wait(lock, ready);
    } else if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        return GP_WAIT_TIMEOUT;
    }
    return GP_WAIT_OBJECT_0;
}

bool CGP_Event::TryTake()
{
    if (m_manualReset)
        return m_set.load();
    bool set = true;
    return m_set.compare_exchange_strong(set, false);
}

void CGP_Event::AddWaiter(const std::shared_ptr<GP_EventWaiter>& waiter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_waiters.push_back(waiter);
}

void CGP_Event::RemoveWaiter(const GP_EventWaiter* waiter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_waiters.erase(std::remove_if(m_waiters.begin(), m_waiters.end(),
                                   [waiter](const std::shared_ptr<GP_EventWaiter>& w) { return w.get() == waiter; }),
                    m_waiters.end());
}

uint32_t GP_WaitForAny(CGP_Event* const* events, int count, uint32_t timeoutMs)
{
    if (!events || count < 1 || count > kMaxWaitObjects)
        return GP_WAIT_FAILED;
    for (int i = 0; i < count; ++i) {
        if (!events[i])
            return GP_WAIT_FAILED;
    }

    // Registered before the first look, so that a signal between the look and the sleep still
    // wakes this thread.
    const auto shared = std::make_shared<GP_EventWaiter>();
    GP_EventWaiter& waiter = *shared;
    for (int i = 0; i < count; ++i)
        events[i]->AddWaiter(shared);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t result = GP_WAIT_TIMEOUT;
    for (;;) {
        int fired = -1;
        for (int i = 0; i < count && fired < 0; ++i) {
            if (events[i]->TryTake())
                fired = i;
        }
        if (fired >= 0) {
            result = GP_WAIT_OBJECT_0 + static_cast<uint32_t>(fired);
            break;
        }
        std::unique_lock<std::mutex> lock(waiter.mutex);
        if (timeoutMs == GP_INFINITE) {
            waiter.wake.wait(lock, [&waiter] { return waiter.woken; });
        } else if (!waiter.wake.wait_until(lock, deadline, [&waiter] { return waiter.woken; })) {
            break;
        }
        waiter.woken = false;
    }

    for (int i = 0; i < count; ++i)
        events[i]->RemoveWaiter(&waiter);
    return result;
}
