#include "engine/GP_Thread.h"

#include "shell/log/GP_LogFile.h"
#include "shell/log/MemoryDump.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {
// How much nicer than normal the lowest priority runs.
constexpr int kLowestPriorityNice = 10;
constexpr int kNicest = 19;
}

CGP_Thread::~CGP_Thread()
{
    Stop();
    m_hStopEvent.reset();
}

bool CGP_Thread::Start()
{
    return Create(false);
}

bool CGP_Thread::StartLowPriority()
{
    if (!Create(true))
        return false;
    m_priority = kLowestPriority;
    Resume();
    return true;
}

bool CGP_Thread::Create(bool suspended)
{
    if (m_hThread)
        return false;
    m_hStopEvent = std::make_unique<CGP_Event>(true, false);
    m_hStopEvent->Reset();
    m_resumeGate = std::make_unique<CGP_Event>(true, !suspended);
    m_state = suspended ? kSuspended : kRunning;
    try {
        m_hThread = std::make_unique<std::thread>([this] { ThreadEntry(this); });
    } catch (const std::system_error& error) {
        GP_Log(QStringLiteral("CGP_Thread: thread not created: %1\n").arg(QString::fromLocal8Bit(error.what())));
        m_hThread.reset();
        return false;
    }
    return true;
}

void CGP_Thread::Resume()
{
    m_state = kRunning;
    m_resumeGate->Set();
}

void CGP_Thread::LowerPriority()
{
    if (m_priority.load() != kLowestPriority)
        return;
    // Linux keeps a nice value per thread; raising it needs no privilege.
    const id_t tid = static_cast<id_t>(syscall(SYS_gettid));
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, tid);
    if (errno == 0 && setpriority(PRIO_PROCESS, tid, std::min(current + kLowestPriorityNice, kNicest)) != 0)
        GP_Log(QStringLiteral("CGP_Thread: priority not lowered errno=%1\n").arg(errno));
}

void CGP_Thread::Stop()
{
    if (!m_hThread)
        return;
    m_hStopEvent->Set();
    // A thread that never left its suspension must still get to its end.
    m_resumeGate->Set();
    if (m_hThread->joinable())
        m_hThread->join();
    m_hThread.reset();
}

unsigned CGP_Thread::ThreadEntry(CGP_Thread* thread)
{
    if (!thread)
        return 0;
    thread->m_resumeGate->Wait();
    thread->LowerPriority();
    const char* tag = thread->ThreadTag();
    try {
        return static_cast<unsigned>(thread->Run());
    } catch (...) {
        GP_ThreadCrashed(QString::fromLatin1(tag));
    }
}
