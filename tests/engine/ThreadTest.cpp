#include "engine/GP_ProcessingThread.h"
#include "engine/GP_ThreadSafeDeque.h"

#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {
// A worker whose job waits for the test to open a gate, so the test decides when it ends.
class GatedWorker : public CGP_ProcessingThread
{
public:
    ~GatedWorker() override { Stop(); }
    const char* ThreadTag() const override { return "GatedWorker"; }
    void Process() override
    {
        started.Set();
        gate.Wait();
        if (slowJob)
            std::this_thread::sleep_for(100ms);
        ++jobs;
        if (finished)
            ++*finished;
    }

    CGP_Event started{false, false};
    CGP_Event gate{true, false};
    bool slowJob = false;
    std::atomic<int>* finished = nullptr;
    std::atomic<int> jobs{0};
};

class NiceProbe : public CGP_Thread
{
public:
    ~NiceProbe() override { Stop(); }
    const char* ThreadTag() const override { return "NiceProbe"; }
    int Run() override
    {
        nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
        ran.Set();
        StopEvent()->Wait();
        return 0;
    }
    std::atomic<int> nice{-100};
    CGP_Event ran{true, false};
};

} // namespace

TEST(Event, ManualAndAutoResetAndWaitForAny)
{
    const Deadline deadline("every signal of the events test");
    CGP_Event manual(true, false);
    CGP_Event automatic(false, false);
    EXPECT_EQ(manual.Wait(0), GP_WAIT_TIMEOUT);
    manual.Set();
    EXPECT_EQ(manual.Wait(0), GP_WAIT_OBJECT_0);
    EXPECT_EQ(manual.Wait(0), GP_WAIT_OBJECT_0);
    automatic.Set();
    EXPECT_EQ(automatic.Wait(0), GP_WAIT_OBJECT_0);
    EXPECT_EQ(automatic.Wait(0), GP_WAIT_TIMEOUT);

    // The lowest set index wins; an auto-reset event is taken by the wait that reports it.
    CGP_Event a(false, false), b(false, true), c(true, true);
    CGP_Event* events[] = {&a, &b, &c};
    EXPECT_EQ(GP_WaitForAny(events, 3, 0), GP_WAIT_OBJECT_0 + 1);
    EXPECT_EQ(GP_WaitForAny(events, 3, 0), GP_WAIT_OBJECT_0 + 2);
    EXPECT_EQ(GP_WaitForAny(events, 3, 0), GP_WAIT_OBJECT_0 + 2);
    c.Reset();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(GP_WaitForAny(events, 3, 30), GP_WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 25ms);

    CGP_Event* broken[] = {&a, nullptr};
    EXPECT_EQ(GP_WaitForAny(broken, 2, 0), GP_WAIT_FAILED);
    EXPECT_EQ(GP_WaitForAny(events, 0, 0), GP_WAIT_FAILED);

    // A signal from another thread wakes a wait without limit, and reports the right event.
    std::thread setter([&c] {
        std::this_thread::sleep_for(20ms);
        c.Set();
    });
    EXPECT_EQ(GP_WaitForAny(events, 3, GP_INFINITE), GP_WAIT_OBJECT_0 + 2);
    setter.join();

    // One auto-reset signal releases exactly one of two waiters.
    CGP_Event single(false, false);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i) {
        waiters.emplace_back([&] {
            CGP_Event* list[] = {&single};
            if (GP_WaitForAny(list, 1, 300) == GP_WAIT_OBJECT_0)
                ++released;
        });
    }
    std::this_thread::sleep_for(30ms);
    single.Set();
    for (std::thread& t : waiters)
        t.join();
    EXPECT_EQ(released.load(), 1);
}

TEST(ProcessingThread, SignalBlocksWhileTheWorkerIsBusy)
{
    const Deadline deadline("the gated worker's jobs and its end");
    GatedWorker worker;
    ASSERT_TRUE(worker.Start());
    EXPECT_EQ(worker.CreationState(), CGP_Thread::kRunning);
    worker.Signal();
    ASSERT_EQ(worker.started.Wait(uint32_t(kPatience.count())), GP_WAIT_OBJECT_0);
    EXPECT_FALSE(worker.IdleEvent()->IsSet());

    std::atomic<bool> secondHandedOver{false};
    std::thread owner([&] {
        worker.Signal();
        secondHandedOver = true;
    });
    std::this_thread::sleep_for(80ms);
    EXPECT_FALSE(secondHandedOver.load());
    EXPECT_EQ(worker.jobs.load(), 0);

    worker.gate.Set();
    owner.join();
    EXPECT_TRUE(secondHandedOver.load());
    ASSERT_TRUE(Eventually([&] { return worker.jobs.load() == 2 && worker.IdleEvent()->IsSet(); },
                           "the worker's second job and its idle signal"));
}

TEST(ProcessingThread, StopWhileIdleAndDestructionDuringAJob)
{
    const Deadline deadline("the idle worker's and the probe's end");
    {
        GatedWorker idle;
        ASSERT_TRUE(idle.Start());
        idle.IdleEvent()->Reset();
        const auto before = std::chrono::steady_clock::now();
        idle.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
        EXPECT_TRUE(idle.IdleEvent()->IsSet());
        EXPECT_EQ(idle.jobs.load(), 0);
        EXPECT_FALSE(idle.IsStarted());
    }

    // Started suspended, lowered, resumed: runs at a lower priority than its owner.
    errno = 0;
    const int ownNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    NiceProbe probe;
    ASSERT_TRUE(probe.StartLowPriority());
    EXPECT_EQ(probe.CreationState(), CGP_Thread::kRunning);
    ASSERT_EQ(probe.ran.Wait(uint32_t(kPatience.count())), GP_WAIT_OBJECT_0);
    EXPECT_GT(probe.nice.load(), ownNice);
    EXPECT_EQ(CGP_Thread::ThreadEntry(nullptr), 0u);
}

TEST(ProcessingThread, DestructionWaitsForTheRunningJob)
{
    const Deadline deadline("the end of the worker destroyed during its job");
    std::atomic<int> finished{0};
    {
        GatedWorker worker;
        worker.slowJob = true;
        worker.finished = &finished;
        ASSERT_TRUE(worker.Start());
        worker.gate.Set();
        worker.Signal();
        ASSERT_EQ(worker.started.Wait(uint32_t(kPatience.count())), GP_WAIT_OBJECT_0);
        EXPECT_EQ(finished.load(), 0);
    }
    EXPECT_EQ(finished.load(), 1);
}

TEST(ThreadSafeDeque, ConcurrentPushesKeepEveryElement)
{
    const Deadline deadline("the pushing and reading threads' end");
    CGP_ThreadSafeDeque<int> deque;
    constexpr int kThreads = 4, kEach = 5000;
    std::vector<std::thread> pushers;
    for (int t = 0; t < kThreads; ++t) {
        pushers.emplace_back([&deque, t] {
            for (int i = 0; i < kEach; ++i) {
                if (i % 2)
                    deque.PushBack(t * kEach + i);
                else
                    deque.PushFront(t * kEach + i);
            }
        });
    }
    // A reader walking under the mutex meanwhile sees a consistent queue.
    std::thread reader([&deque] {
        for (int i = 0; i < 50; ++i) {
            std::lock_guard<std::mutex> lock(deque.Mutex());
            size_t counted = 0;
            for (int value : deque.Items())
                counted += value >= 0;
            EXPECT_EQ(counted, deque.Items().size());
        }
    });
    for (std::thread& t : pushers)
        t.join();
    reader.join();
    ASSERT_EQ(deque.Size(), size_t(kThreads * kEach));
    const std::deque<int> all = deque.Snapshot();
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), size_t(kThreads * kEach));

    const int more[] = {-1, -2};
    deque.Insert(CGP_ThreadSafeDeque<int>::kEnd, std::begin(more), std::end(more));
    deque.Insert(0, std::begin(more), std::begin(more) + 1);
    std::lock_guard<std::mutex> lock(deque.Mutex());
    EXPECT_EQ(deque.Items().front(), -1);
    EXPECT_EQ(deque.Items().back(), -2);
    EXPECT_EQ(deque.Items()[deque.Items().size() - 2], -1);
}
