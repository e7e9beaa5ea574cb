// Where the splash stands, what its counter says, how the player cuts its last two seconds short,
// and that the game's window opens only when it goes.
#include "shell/app/MainFrame.h"
#include "shell/app/ROruzoz.h"
#include "shell/app/SplashWnd.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

TEST(SplashLook, TheSplashStandsInTheMiddleOfItsScreenAndCountsInPercent)
{
    struct Row
    {
        QRect screen;
        QPoint expected;
    };
    const Row rows[] = {
        {{0, 0, 1280, 800}, {340, 200}},
        {{0, 0, 800, 600}, {100, 100}},
        {{1920, 0, 1280, 1024}, {2260, 312}},  // the second of two screens side by side
        {{0, 0, 601, 401}, {0, 0}},            // an odd pixel left over goes to the right and bottom
    };
    for (const Row& row : rows)
        EXPECT_EQ(CSplashWnd::PlaceOnScreen(QSize(600, 400), row.screen), QRect(row.expected, QSize(600, 400))) << row.screen.x();

    g_bShowSplash = true;
    CChildView view;
    QPointer<CSplashWnd> splash = CSplashWnd::Show(nullptr, &view);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->geometry(), CSplashWnd::PlaceOnScreen(QSize(600, 400), QGuiApplication::primaryScreen()->geometry()));
    delete splash;

    EXPECT_EQ(CSplashWnd::CounterText(57), QStringLiteral("57%"));
    EXPECT_EQ(CSplashWnd::CounterText(CSplashWnd::kCounterLimit), QStringLiteral("100%"));
}

TEST(SplashLook, AClickOrEscapeSkipsTheWaitOnlyOnceTheCounterIsFull)
{
    g_bShowSplash = true;
    using Skip = void (*)(QWidget*);
    const Skip skips[] = {
        [](QWidget* splash) { QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(20, 20)); },
        [](QWidget* splash) { QTest::keyClick(splash, Qt::Key_Escape); },
    };
    for (Skip skip : skips) {
        CChildView view;
        QPointer<CSplashWnd> splash = CSplashWnd::Show(nullptr, &view);
        ASSERT_NE(splash, nullptr);
        skip(splash);
        QApplication::processEvents();
        ASSERT_FALSE(splash.isNull()) << "still loading: nothing to skip yet";
        splash->SetCounter(CSplashWnd::kCounterLimit, true);
        EXPECT_TRUE(splash->CloseTimerArmed());
        skip(splash);
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles) << "full: it goes at once";
        EXPECT_EQ(CSplashWnd::Current(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 2000);
    }
}

TEST(SplashLook, TheGamesWindowOpensWhenTheSplashGoes)
{
    CROruzozApp app;
    g_bShowSplash = true;
    CMainFrame* frame = app.CreateMainFrame(true);
    QPointer<CSplashWnd> splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(frame->isVisible()) << "the splash comes first, alone";
    EXPECT_TRUE(splash->isVisible());
    splash->SetCounter(CSplashWnd::kCounterLimit, true);
    QTest::keyClick(splash, Qt::Key_Escape);
    EXPECT_TRUE(frame->isVisible());
    // The view draws itself first, then leaves its start-up state for the library.
    QTRY_COMPARE_WITH_TIMEOUT(frame->View()->CurrentMode(), GameMode::MyPuzzles, 5000);
    app.ExitInstance();

    // Without a splash the window opens at once.
    g_bShowSplash = false;
    frame = app.CreateMainFrame(true);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    app.ExitInstance();
    g_bShowSplash = true;
}
