#pragma once

#include "engine/GP_Thread.h"

#include <mutex>

// A worker that does one job at a time. The owner writes a job's parameters into the worker
// only while its idle event is set, then calls Signal(); the worker runs Process() and sets its
// idle event again when the job is done.
class CGP_ProcessingThread : public CGP_Thread
{
public:
    CGP_ProcessingThread();
    ~CGP_ProcessingThread() override;

    // Waits for the stop event or the work event; runs Process for each job. Returns 0.
    int Run() override;
    // The job.
    virtual void Process() {}

    // Hands the worker its next job. Blocks while the previous job is still running, so a busy
    // worker is never given a second job.
    void Signal();

    CGP_Event* WorkEvent() const { return m_hWorkEvent.get(); }
    CGP_Event* IdleEvent() const { return m_hIdleEvent.get(); }

protected:
    std::unique_ptr<CGP_Event> m_hWorkEvent;
    std::unique_ptr<CGP_Event> m_hIdleEvent;
    // Serialises owners that might start the same worker from two threads.
    std::mutex m_hMutex;
};
