#include "engine/GP_ProcessingThread.h"


CGP_ProcessingThread::CGP_ProcessingThread()
    : m_hWorkEvent(std::make_unique<CGP_Event>(true, false))
    , m_hIdleEvent(std::make_unique<CGP_Event>(true, true))
{
}

CGP_ProcessingThread::~CGP_ProcessingThread()
{
    // The thread waits on these events: it has to be gone before they are.
    Stop();
    m_hWorkEvent.reset();
    m_hIdleEvent.reset();
}

int CGP_ProcessingThread::Run()
{
    CGP_Event* events[] = {m_hStopEvent.get(), m_hWorkEvent.get()};
    for (;;) {
        const uint32_t result = GP_WaitForAny(events, 2, GP_INFINITE);
        if (result == GP_WAIT_OBJECT_0)
            break;
        if (result != GP_WAIT_OBJECT_0 + 1)
            continue; // a failed wait is simply tried again
        m_hWorkEvent->Reset();
        Process();
        m_hIdleEvent->Set();
    }
    m_hIdleEvent->Set();
    return 0;
}

void CGP_ProcessingThread::Signal()
{
    std::lock_guard<std::mutex> lock(m_hMutex);
    m_hIdleEvent->Wait(GP_INFINITE);
    m_hIdleEvent->Reset();
    m_hWorkEvent->Set();
}
