#include "shell/app/ROruzoz.h"
#include "shell/app/SplashUpdateThread.h"
#include "shell/app/SplashWnd.h"
#include "engine/GP_Clock.h"
#include "tests/support/Waits.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

TEST(Splash, CounterReachesItsLimitExactlyAfterLoadingStepsPlus100)
{
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(0, 7, 100), 0);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(1, 7, 100), 0);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(54, 7, 100), 50);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(106, 7, 100), 99);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(107, 7, 100), 100);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(5000, 7, 100), 100);
    // A limit below the step count still climbs and still gets full.
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(100, 0, 10), 10);
    EXPECT_EQ(CSplashUpdateThread::CounterAfter(50, 0, 10), 5);
    // Counting never goes backwards.
    int previous = 0;
    for (int steps = 0; steps < 300; ++steps) {
        const int counter = CSplashUpdateThread::CounterAfter(steps, 12, 1000);
        EXPECT_GE(counter, previous);
        previous = counter;
    }
    EXPECT_EQ(previous, 1000);
}

namespace {
// The game's clock held still for the length of a test; only the test moves it on.
struct HeldClock
{
    explicit HeldClock(uint32_t ms) { GP_HoldClockForTests(ms); }
    ~HeldClock() { GP_ReleaseClockForTests(); }
    void Set(uint32_t ms) { GP_HoldClockForTests(ms); }
};
} // namespace

TEST(Splash, CountsUpStaysTwoSecondsThenHandsOverToTheView)
{
    HeldClock clock(5000);
    g_bShowSplash = true;
    CChildView view;
    view.resize(200, 150);
    CSplashWnd* splash = CSplashWnd::Show(nullptr, &view);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(CSplashWnd::Current(), splash);
    EXPECT_FALSE(splash->size().isEmpty());
    // Only one splash at a time.
    EXPECT_EQ(CSplashWnd::Show(nullptr, &view), nullptr);
    QPointer<CSplashWnd> alive(splash);

    // The counter climbs by itself, one step each 50 ms...
    ASSERT_TRUE(Eventually([&] { return alive && alive->Counter() > 0; }, "the splash counter's first step"));
    // ...and a step more for each loading step the view reports.
    std::atomic<bool> loading{true};
    std::thread loader([&] {
        while (loading.load()) {
            view.ProgressEvent()->Set();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const bool full = Eventually([&] { return alive && alive->Counter() == CSplashWnd::kCounterLimit; },
                                 "a full splash counter");
    loading.store(false);
    loader.join();
    ASSERT_TRUE(full);
    EXPECT_TRUE(alive->CloseTimerArmed());

    // Full, it stays two seconds of the game's clock, not a moment less, then hands over.
    clock.Set(5000 + CSplashWnd::kCloseDelayMs - 1);
    QTest::qWait(200);
    ASSERT_FALSE(alive.isNull()) << "closed before two seconds had passed";
    EXPECT_EQ(view.CurrentMode(), GameMode::Startup);
    clock.Set(5000 + CSplashWnd::kCloseDelayMs);
    ASSERT_TRUE(Eventually([&] { return alive.isNull(); }, "the splash's close two seconds after it was full"));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
}

TEST(Splash, NoSplashWithoutTheFlagAndClosingEarlyStopsTheWorker)
{
    CChildView view;
    g_bShowSplash = false;
    EXPECT_EQ(CSplashWnd::Show(nullptr, &view), nullptr);
    g_bShowSplash = true;

    // A splash deleted while its worker counts (the game quitting during start-up) must stop the
    // worker before the window goes; the worker's posts to it are dropped.
    for (int round = 0; round < 5; ++round) {
        CSplashWnd* splash = CSplashWnd::Show(nullptr, &view);
        ASSERT_NE(splash, nullptr);
        QTest::qWait(30 + round * 20);
        delete splash;
        EXPECT_EQ(CSplashWnd::Current(), nullptr);
        QTest::qWait(20);
    }
    EXPECT_EQ(view.CurrentMode(), GameMode::Startup);
}
