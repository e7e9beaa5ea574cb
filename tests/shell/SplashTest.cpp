#include "shell/app/ROruzoz.h"
#include "shell/app/SplashUpdateThread.h"
#include "shell/app/SplashWnd.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

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

TEST(Splash, CountsUpStaysTwoSecondsThenHandsOverToTheView)
{
    g_bShowSplash = true;
    CChildView view;
    view.resize(200, 150);
    CSplashWnd* splash = CSplashWnd::Show(nullptr, &view);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(CSplashWnd::Current(), splash);
    EXPECT_EQ(splash->pos(), QPoint(0, 0));
    EXPECT_FALSE(splash->size().isEmpty());
    // Only one splash at a time.
    EXPECT_EQ(CSplashWnd::Show(nullptr, &view), nullptr);
    QPointer<CSplashWnd> alive(splash);

    // Loading steps reported by the view only speed the counter up.
    for (int step = 0; step < 20; ++step)
        view.ProgressEvent()->Set();

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alive && alive->Counter() == CSplashWnd::kCounterLimit; }, 20000));
    const qint64 full = clock.elapsed();
    EXPECT_TRUE(alive->CloseTimerArmed());
    EXPECT_EQ(view.CurrentMode(), GameMode::Startup);

    ASSERT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 10000));
    const qint64 closed = clock.elapsed();
    EXPECT_GE(closed - full, 1800);
    EXPECT_LE(closed - full, 20000);  // generous: loaded machines and sanitizers are slow
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
