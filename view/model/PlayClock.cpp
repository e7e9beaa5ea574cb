#include "view/model/PlayClock.h"

namespace {
constexpr int kSecondMs = 1000;
}

void CPlayClock::Start(int seconds)
{
    m_referenceMs.reset();
    m_resetRequested = false;
    m_remainderMs = 0;
    m_seconds = seconds > 0 ? seconds : 0;
}

bool CPlayClock::Update(uint32_t nowMs)
{
    if (!m_referenceMs) {
        m_referenceMs = nowMs;
        m_resetRequested = false;
        return true;
    }
    if (m_resetRequested) {
        m_referenceMs = nowMs;
        m_resetRequested = false;
    }
    // Unsigned difference: right across the millisecond clock's wrap.
    m_remainderMs += static_cast<int>(nowMs - *m_referenceMs);
    m_referenceMs = nowMs;
    bool secondAdded = false;
    while (m_remainderMs > kSecondMs) {
        m_remainderMs -= kSecondMs;
        ++m_seconds;
        secondAdded = true;
    }
    return secondAdded;
}
