#include "engine/GP_Clock.h"

#include <atomic>
#include <chrono>

namespace {
std::atomic<bool> s_held{false};
std::atomic<uint32_t> s_heldAt{0};
} // namespace

uint32_t GP_TimeMs()
{
    if (s_held.load())
        return s_heldAt.load();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void GP_HoldClockForTests(uint32_t ms)
{
    s_heldAt.store(ms);
    s_held.store(true);
}

void GP_ReleaseClockForTests()
{
    s_held.store(false);
}
