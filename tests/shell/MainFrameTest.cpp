#include "resources/StringTable.h"
#include "tests/support/CapturedLog.h"
#include "shell/app/MainFrame.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/app/ROruzoz.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

// Counts the button releases the view gets.
class ReleaseCounter : public QObject
{
public:
    QList<Qt::MouseButton> released;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            released << static_cast<QMouseEvent*>(event)->button();
        return false;
    }
};

// Counts the key presses that reach a widget.
class KeyCounter : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::KeyPress;
        return false;
    }
};

} // namespace

TEST(MainFrame, FramelessFullScreenAndDeafToCloseRequests)
{
    CROruzozApp app;
    CMainFrame* frame = app.CreateMainFrame();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora"));
    EXPECT_TRUE(frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->windowIcon().isNull());
    // The one view fills the frame.
    ASSERT_NE(frame->View(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(frame->View()->geometry(), frame->rect());

    // Alt+F4 and the window menu's Close arrive as close requests; both are refused.
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    app.ExitInstance();
}

TEST(MainFrame, SwitchingAwayMinimisesAndLetsGoOfADrag)
{
    CROruzozApp app;
    CMainFrame* frame = app.CreateMainFrame();
    ReleaseCounter releases;
    frame->View()->installEventFilter(&releases);

    frame->OnActivateApp(true);
    EXPECT_TRUE(frame->IsActive());
    frame->OnActivateApp(false);
    EXPECT_FALSE(frame->IsActive());
    EXPECT_TRUE(frame->isMinimized());
    EXPECT_EQ(releases.released, (QList<Qt::MouseButton>{Qt::LeftButton, Qt::RightButton}));

    // While the pause box is up the field is not being dragged: no releases are sent.
    releases.released.clear();
    g_bPauseBoxShown = true;
    frame->OnActivateApp(false);
    g_bPauseBoxShown = false;
    EXPECT_TRUE(releases.released.isEmpty());
    app.ExitInstance();
}

TEST(MainFrame, DisplayChangeAsksForARelaunchOnceAndLeaves)
{
    QStringList texts;
    unsigned flags = 0;
    int boxes = 0;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
        auto* box = qobject_cast<CMessageBoxDialog*>(&dialog);
        if (box) {
            ++boxes;
            box->Create();
            flags = box->Flags();
            texts << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
        }
        return int(IDOK);
    });
    CROruzozApp app;
    CMainFrame* frame = app.CreateMainFrame();
    // Leaving the game ends the event loop; a watchdog ends it otherwise.
    QTimer::singleShot(0, frame, [frame] {
        frame->OnDisplayChange();
        frame->OnDisplayChange();
    });
    QTimer::singleShot(kPatience, [] { QCoreApplication::exit(99); }); // nothing came
    EXPECT_EQ(QApplication::exec(), 0);
    GP_SetModalRunner(previous);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(texts, QStringList{QStringLiteral("Application must be re-launched.")});
    EXPECT_EQ(flags & MB_ICONMASK, unsigned(MB_ICONINFORMATION));
    EXPECT_TRUE(frame->DisplayChangeHandled());
    app.ExitInstance();
}

TEST(PlayKeys, GPAndPauseReachTheViewOnlyInPlayAndAreNeverSwallowed)
{
    TestFolder folder;
    CapturedLog log(folder);
    CROruzozApp app;
    CMainFrame* frame = app.CreateMainFrame();
    CChildView* view = frame->View();
    QWindow* window = frame->windowHandle();
    ASSERT_NE(window, nullptr);
    KeyCounter keys;
    frame->installEventFilter(&keys);
    view->installEventFilter(&keys);

    // Outside play the keys pass by.
    view->ChangeGameMode(GameMode::MyPuzzles);
    QTest::keyClick(window, Qt::Key_G);
    EXPECT_FALSE(log.Text().contains(QStringLiteral("OnPlayGhost")));

    view->ChangeGameMode(GameMode::Play);
    QTest::keyClick(window, Qt::Key_G);
    QTest::keyClick(window, Qt::Key_P);
    QTest::keyClick(window, Qt::Key_Pause);
    QTest::keyClick(window, Qt::Key_H);
    QString text = log.Text();
    EXPECT_EQ(text.count(QStringLiteral("OnPlayGhost")), 1);
    EXPECT_EQ(text.count(QStringLiteral("OnPlayPicture")), 1);
    EXPECT_EQ(text.count(QStringLiteral("OnPlayPause")), 1);
    // Every key still went on to the window's widgets.
    EXPECT_GE(keys.presses, 5);

    // Blocked play commands: G and P do nothing, Pause still works.
    view->SetPlayCommandBlocked(true);
    EXPECT_FALSE(app.PreTranslateMessage(CROruzozApp::kKeyGhost));
    EXPECT_FALSE(app.PreTranslateMessage(CROruzozApp::kKeyPause));
    text = log.Text();
    EXPECT_EQ(text.count(QStringLiteral("OnPlayGhost")), 1);
    EXPECT_EQ(text.count(QStringLiteral("OnPlayPause")), 2);

    // A shown pause box stays while play commands are blocked, and goes with G or P otherwise.
    g_pPauseBox = new CMessageBoxDialog(GP_LoadString(IDS_GAME_PAUSED), QStringLiteral("Velmora"),
                                        GP_LoadString(IDS_OK), QString(), QString(), MB_OK, nullptr);
    QPointer<CMessageBoxDialog> box(g_pPauseBox);
    g_bPauseBoxShown = true;
    app.PreTranslateMessage(CROruzozApp::kKeyPicture);
    EXPECT_FALSE(box.isNull());
    view->SetPlayCommandBlocked(false);
    app.PreTranslateMessage(CROruzozApp::kKeyPicture);
    EXPECT_TRUE(box.isNull());
    EXPECT_EQ(g_pPauseBox, nullptr);
    EXPECT_FALSE(g_bPauseBoxShown);

    // The view asks for idle time in play only.
    EXPECT_TRUE(app.OnIdle(0));
    view->ChangeGameMode(GameMode::MyPuzzles);
    EXPECT_FALSE(app.OnIdle(0));
    app.ExitInstance();
    EXPECT_FALSE(app.OnIdle(0));
}
