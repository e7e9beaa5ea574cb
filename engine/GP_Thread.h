#pragma once

#include "engine/GP_Event.h"

#include <atomic>
#include <memory>
#include <thread>

// The base of every background thread of the game: an operating-system thread with a stop
// event. The thread runs Run(); an exception that escapes Run ends the game with a crash report,
// as a crash of the main thread does.
//
// The most derived class stops the thread in its own destructor (Stop()), so that Run never
// reaches members or overrides that are already gone.
class CGP_Thread
{
public:
    // Creation states.
    static constexpr int kRunning = 0;
    static constexpr int kSuspended = 4;
    // THREAD_PRIORITY_LOWEST: the priority of threads that are started suspended.
    static constexpr int kLowestPriority = -2;

    CGP_Thread() = default;
    virtual ~CGP_Thread();

    CGP_Thread(const CGP_Thread&) = delete;
    CGP_Thread& operator=(const CGP_Thread&) = delete;

    virtual int Run() = 0;
    // The thread kind named in a crash report, e.g. "CPieceBuilderThread".
    virtual const char* ThreadTag() const = 0;

    // Creates the stop event and the thread, running at once at normal priority. Returns false
    // (leaving no thread) when either cannot be made.
    bool Start();
    // The other way owners start a thread: created suspended, lowered to the lowest priority,
    // then resumed.
    bool StartLowPriority();

    // Signals the stop event and waits, without limit, until the thread has ended.
    void Stop();

    bool IsStarted() const { return m_hThread != nullptr; }
    int CreationState() const { return m_state.load(); }
    CGP_Event* StopEvent() const { return m_hStopEvent.get(); }

    // The entry routine of every game thread. A null object returns 0 at once.
    static unsigned ThreadEntry(CGP_Thread* thread);

protected:
    std::unique_ptr<std::thread> m_hThread;
    std::unique_ptr<CGP_Event> m_hStopEvent;
    std::atomic<int> m_state{kRunning};

private:
    bool Create(bool suspended);
    void Resume();
    void LowerPriority();

    // Holds a thread created suspended until it is resumed.
    std::unique_ptr<CGP_Event> m_resumeGate;
    std::atomic<int> m_priority{0};
};
