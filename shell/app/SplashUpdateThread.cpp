#include "shell/app/SplashUpdateThread.h"

#include "shell/app/SplashWnd.h"

#include <QMetaObject>

#include <algorithm>

CSplashUpdateThread::CSplashUpdateThread(CSplashWnd* splash, CGP_Event* progressEvent, int loadingSteps, int limit)
    : m_pSplash(splash)
    , m_pProgressEvent(progressEvent)
    , m_loadingSteps(std::max(0, loadingSteps))
    , m_limit(limit)
{
}

CSplashUpdateThread::~CSplashUpdateThread()
{
    Stop();
}

int CSplashUpdateThread::CounterAfter(int steps, int loadingSteps, int limit)
{
    // Multiplied before dividing: dividing first would round a small limit's share to 0 and the
    // counter would never get full.
    const long long counter = static_cast<long long>(limit) * steps / (std::max(0, loadingSteps) + 100);
    return static_cast<int>(std::min<long long>(limit, counter));
}

int CSplashUpdateThread::Run()
{
    CGP_Event* events[2] = {StopEvent(), m_pProgressEvent};
    const int count = m_pProgressEvent ? 2 : 1;
    bool full = false;
    for (;;) {
        const uint32_t woke = GP_WaitForAny(events, count, kStepMs);
        if (woke == GP_WAIT_OBJECT_0 || woke == GP_WAIT_FAILED)
            return 0;
        const int counter = CounterAfter(++m_steps, m_loadingSteps, m_limit);
        const bool nowFull = counter >= m_limit && !full;
        full = full || nowFull;
        // The window belongs to the main thread: the worker only posts the new value.
        CSplashWnd* splash = m_pSplash;
        QMetaObject::invokeMethod(splash, [splash, counter, nowFull] { splash->SetCounter(counter, nowFull); },
                                  Qt::QueuedConnection);
    }
}
