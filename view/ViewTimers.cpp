#include "view/ViewTimers.h"

void CViewTimers::Start(int id, int periodMs)
{
    if (Valid(id))
        m_timers[size_t(id)].start(periodMs, &m_owner);
}

void CViewTimers::Stop(int id)
{
    if (Valid(id))
        m_timers[size_t(id)].stop();
}

bool CViewTimers::IsActive(int id) const
{
    return Valid(id) && m_timers[size_t(id)].isActive();
}

int CViewTimers::IdOf(int timerId) const
{
    for (int id = 1; id < kCount; ++id) {
        if (m_timers[size_t(id)].timerId() == timerId)
            return id;
    }
    return 0;
}
