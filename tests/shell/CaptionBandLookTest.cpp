// The caption band as the player sees it: one spelling of its tabs, the current screen's tab
// pressed (a click does not change which), and every button on one line.
#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/MainViewCommands.h"
#include "skin/LDialog.h"
#include "view/ChildView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

namespace {

class SilentView : public CMainViewCommands
{
public:
    void OnMainCampaign() override {}
    void OnMainPuzzles() override {}
    void OnMainGallery() override {}
    void OnMainMinimize() override {}
    void OnMainClose() override {}
    void OnPlayMenu() override {}
    void OnPlayPause() override {}
    void OnPlayExit() override {}
    void StoreHelpFlag(const char*) override {}
    void RepaintView() override {}
};

QList<int> PressedTabs(const CCaptionPanel& band)
{
    QList<int> pressed;
    for (int tab : {CCaptionPanel::kCalendar, CCaptionPanel::kTreasury, CCaptionPanel::kMyPuzzles}) {
        if (band.ControlAs<QAbstractButton>(tab)->isChecked())
            pressed << tab;
    }
    return pressed;
}

} // namespace

TEST(CaptionBandLook, TheCurrentScreensTabIsPressedAndAClickDoesNotChangeWhich)
{
    CLDialog::SetSoundOn(false);
    SilentView view;
    CCaptionPanel band(&view, nullptr);
    band.resize(1280, CCaptionPanel::kHeight);
    EXPECT_EQ(band.ControlAs<QAbstractButton>(CCaptionPanel::kMyPuzzles)->text(), QStringLiteral("My Puzzles"));
    EXPECT_TRUE(PressedTabs(band).isEmpty());
    band.SetCurrentTab(CCaptionPanel::kTreasury);
    EXPECT_EQ(PressedTabs(band), QList<int>{CCaptionPanel::kTreasury});
    // The view says which screen is current; clicks alone change nothing.
    band.ControlAs<QAbstractButton>(CCaptionPanel::kCalendar)->click();
    EXPECT_EQ(PressedTabs(band), QList<int>{CCaptionPanel::kTreasury});
    band.ControlAs<QAbstractButton>(CCaptionPanel::kTreasury)->click();
    EXPECT_EQ(PressedTabs(band), QList<int>{CCaptionPanel::kTreasury});
    band.SetCurrentTab(0);
    EXPECT_TRUE(PressedTabs(band).isEmpty());

    // Tabs and round buttons share one middle line (without a skin, the band lays them out).
    const int line = band.ControlAs<QWidget>(CCaptionPanel::kCalendar)->geometry().center().y();
    for (int id : {CCaptionPanel::kMyPuzzles, CCaptionPanel::kMinimize, CCaptionPanel::kClose})
        EXPECT_EQ(band.ControlAs<QWidget>(id)->geometry().center().y(), line) << id;
}

TEST(CaptionBandLook, TheViewPressesTheTabOfItsScreen)
{
    CChildView view;
    view.resize(1280, 800);
    view.show();
    struct Row
    {
        GameMode mode;
        QList<int> pressed;
    };
    const Row rows[] = {{GameMode::Calendar, {CCaptionPanel::kCalendar}},
                        {GameMode::Treasury, {CCaptionPanel::kTreasury}},
                        {GameMode::MyPuzzles, {CCaptionPanel::kMyPuzzles}},
                        {GameMode::Startup, {}}};
    QTRY_VERIFY_WITH_TIMEOUT(view.CaptionPanel() != nullptr, 5000);
    for (const Row& row : rows) {
        view.ChangeGameMode(row.mode);
        EXPECT_EQ(PressedTabs(*view.CaptionPanel()), row.pressed) << int(row.mode);
    }
}
