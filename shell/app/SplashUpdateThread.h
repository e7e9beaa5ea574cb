#pragma once

#include "engine/GP_Thread.h"

#include <atomic>

class CSplashWnd;

// The splash's counter: one step every 50 ms and one for each loading step the view reports,
// until the splash stops it.
class CSplashUpdateThread : public CGP_Thread
{
public:
    static constexpr uint32_t kStepMs = 50;

    // progressEvent: the view's, set once per loading step (may be null); loadingSteps: how many
    // the view has.
    CSplashUpdateThread(CSplashWnd* splash, CGP_Event* progressEvent, int loadingSteps, int limit);
    ~CSplashUpdateThread() override;

    int Run() override;
    const char* ThreadTag() const override { return "CSplashUpdateThread"; }

    // The counter after so many steps: limit ÷ (loading steps + 100) × steps, at most the limit.
    static int CounterAfter(int steps, int loadingSteps, int limit);

    int Steps() const { return m_steps.load(); }

private:
    CSplashWnd* m_pSplash;  // outlives the thread: the splash stops it first
    CGP_Event* m_pProgressEvent;
    const int m_loadingSteps;
    const int m_limit;
    std::atomic<int> m_steps{0};
};
