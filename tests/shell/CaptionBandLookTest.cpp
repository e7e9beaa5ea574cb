// The caption band as the player sees it: one spelling of its tabs, the current screen's tab
// pressed (a click on it does not undo that), and every button on one line.
#include "shell/dialogs/CaptionPanel.h"
#include "skin/LDialog.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

TEST(CaptionBandLook, TheCurrentScreensTabIsPressedOnOneLineWithTheRoundButtons)
{
    CLDialog::SetSoundOn(false);
    CChildView view;
    view.resize(1280, 800);
    view.show();
    QTRY_VERIFY_WITH_TIMEOUT(view.CaptionPanel() != nullptr, 5000);
    CCaptionPanel& band = *view.CaptionPanel();
    const auto pressed = [&band] {
        QList<int> tabs;
        for (int tab : {CCaptionPanel::kCalendar, CCaptionPanel::kTreasury, CCaptionPanel::kMyPuzzles}) {
            if (band.ControlAs<QAbstractButton>(tab)->isChecked())
                tabs << tab;
        }
        return tabs;
    };
    EXPECT_EQ(band.ControlAs<QAbstractButton>(CCaptionPanel::kMyPuzzles)->text(), QStringLiteral("My Puzzles"));

    struct Row
    {
        GameMode mode;
        QList<int> pressed;
    };
    const Row rows[] = {{GameMode::Calendar, {CCaptionPanel::kCalendar}},
                        {GameMode::Treasury, {CCaptionPanel::kTreasury}},
                        {GameMode::MyPuzzles, {CCaptionPanel::kMyPuzzles}},
                        {GameMode::Startup, {}}};
    for (const Row& row : rows) {
        view.ChangeGameMode(row.mode);
        EXPECT_EQ(pressed(), row.pressed) << int(row.mode);
    }
    // A click takes the player to the tab's screen; a second click on it leaves it pressed.
    for (int click = 0; click < 2; ++click) {
        band.ControlAs<QAbstractButton>(CCaptionPanel::kCalendar)->click();
        EXPECT_EQ(view.CurrentMode(), GameMode::Calendar);
        EXPECT_EQ(pressed(), QList<int>{CCaptionPanel::kCalendar}) << click;
    }

    // Tabs and round buttons share one middle line.
    const int line = band.ControlAs<QWidget>(CCaptionPanel::kCalendar)->geometry().center().y();
    for (int id : {CCaptionPanel::kMyPuzzles, CCaptionPanel::kMinimize, CCaptionPanel::kClose})
        EXPECT_EQ(band.ControlAs<QWidget>(id)->geometry().center().y(), line) << id;
}
