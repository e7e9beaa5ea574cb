#include "engine/GP_Folders.h"
#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/BmpButton.h"
#include "skin/LDialog.h"
#include "skin/Skin.h"
#include "skin/SkinableBase.h"
#include "tests/support/SettingsTestSupport.h"
#include "view/ChildView.h"
#include "view/model/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>

namespace {

void StoreSoundSetting(bool on)
{
    CGP_SettingsStore store;
    store.LoadRegistrySet();
    store.Settings().SoundFXEnable = on;
    store.SaveRegistrySet();
}

// A shown view that has had its first paint, in the game's folder so that it wears the skin.
class ShownView
{
public:
    ShownView()
        : m_previousFolder(GP_AppFolder())
    {
        GP_SetAppFolder(QStringLiteral(VELMORA_GAME_DIR));
        m_view = std::make_unique<CChildView>();
        m_view->setGeometry(40, 30, 900, 600);
        m_view->show();
        m_view->repaint();
        QApplication::processEvents();
    }
    ~ShownView()
    {
        m_view.reset();
        GP_SetAppFolder(m_previousFolder);
    }
    CChildView& operator*() { return *m_view; }
    CChildView* operator->() { return m_view.get(); }

private:
    QString m_previousFolder;
    std::unique_ptr<CChildView> m_view;
};

bool Shown(const QWidget* band)
{
    return band && band->isVisible();
}

} // namespace

TEST(ChildView, SoundSwitchFollowsTheSettingAndTheSkinIsWornWhereItIs)
{
    TestFolder folder;
    CapturedLog log(folder);
    StoreSoundSetting(false);
    {
        CChildView view;
        EXPECT_FALSE(CLDialog::IsSoundOn());
        // Outside the game's folder there is no skin: one line says so and the game goes on.
        EXPECT_FALSE(view.IsSkinLoaded());
        EXPECT_TRUE(log.Text().contains(QStringLiteral("CChildView::LoadSkin")));
    }
    StoreSoundSetting(true);
    ShownView view;
    EXPECT_TRUE(CLDialog::IsSoundOn());
    EXPECT_TRUE(view->IsSkinLoaded());
    EXPECT_NE(WINSKIN::Skin::Current(), nullptr);
    ASSERT_NE(view->CaptionPanel(), nullptr);
    const auto* band = dynamic_cast<WINSKIN::SkinableBase*>(view->CaptionPanel());
    EXPECT_NE(band->GetObject(), nullptr);
}

TEST(ChildView, EachScreenShowsItsOwnBandAcrossTheTop)
{
    ShownView view;
    view->ChangeGameMode(GameMode::MyPuzzles);
    CCaptionPanel* caption = view->CaptionPanel();
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(Shown(caption));
    EXPECT_EQ(caption->geometry().topLeft(), view->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(caption->width(), view->width());

    view->ChangeGameMode(GameMode::Play);
    EXPECT_FALSE(Shown(caption));
    EXPECT_TRUE(Shown(view->TightCaptionPanel()));
    EXPECT_EQ(view->TightCaptionPanel()->width(), view->width());

    view->ChangeGameMode(GameMode::CreateImage);
    EXPECT_FALSE(Shown(caption));
    EXPECT_FALSE(Shown(view->TightCaptionPanel()));

    view->ChangeGameMode(GameMode::Calendar);
    EXPECT_TRUE(Shown(caption));
    // The view's window follows a new size.
    view->resize(700, 500);
    EXPECT_EQ(caption->width(), 700);
}

TEST(ChildView, PictureButtonsReportToTheViewAndAreBlockedDuringTheCloseQuestion)
{
    TestFolder folder;
    CapturedLog log(folder);
    ShownView view;
    view->ChangeGameMode(GameMode::MyPuzzles);
    // The screens' buttons sit on a panel of the view: they report to the panel's parent.
    QWidget panel(&*view);
    panel.setGeometry(0, 100, 400, 100);
    auto* treasury = new CBmpButton(&panel, 49303);
    treasury->setGeometry(0, 0, 100, 40);
    auto* close = new CBmpButton(&panel, 49306);
    close->setGeometry(200, 0, 100, 40);
    panel.show();

    QTest::mouseClick(treasury, Qt::LeftButton);
    EXPECT_EQ(view->CurrentMode(), GameMode::Treasury);
    EXPECT_TRUE(log.Text().contains(QStringLiteral("ClickTreasure\n")));

    int asked = 0;
    bool blocked = false;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
        ++asked;
        blocked = CBmpButton::IsInputBlocked();
        // A click on a picture button while the question is up reaches nobody.
        QTest::mouseClick(treasury, Qt::LeftButton);
        return int(IDCANCEL);
    });
    view->ChangeGameMode(GameMode::Calendar);
    view->StopScreenAnimation();
    QTest::mouseClick(close, Qt::LeftButton);
    GP_SetModalRunner(previous);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(CBmpButton::IsInputBlocked());
    // The click made during the question changed nothing; No left the screen as it was.
    EXPECT_EQ(view->CurrentMode(), GameMode::Calendar);
    EXPECT_TRUE(view->ScreenAnimationRunning());
    EXPECT_TRUE(log.Text().contains(QStringLiteral("ClickClose\n")));
}
