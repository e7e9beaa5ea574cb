#include "shell/CaptionPanel.h"
#include "shell/GP_LogFile.h"
#include "shell/MessageBoxDialog.h"
#include "shell/ModalRunner.h"
#include "shell/TightCaptionPanel.h"
#include "tests/support/TestFolder.h"
#include "view/ChildView.h"
#include "view/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace {

class PanelTest : public ::testing::Test
{
protected:
    PanelTest()
        : m_log(m_folder.File(QStringLiteral("Exception.log")))
    {
        m_log.Open();
        g_pLogFile = &m_log;
        m_previous = GP_SetModalRunner([this](QDialog& dialog) {
            auto* box = qobject_cast<CMessageBoxDialog*>(&dialog);
            if (!box)
                return 0;
            box->InitDialog();
            questions << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
            return answer;
        });
    }
    ~PanelTest() override
    {
        GP_SetModalRunner(m_previous);
        g_pLogFile = nullptr;
    }
    QString Log() const { return QString::fromUtf8(m_folder.Read(QStringLiteral("Exception.log"))); }

    void Click(CTemplateDialog& panel, int id)
    {
        auto* button = panel.ControlAs<QAbstractButton>(id);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }

    QStringList questions;
    int answer = IDCANCEL;

private:
    TestFolder m_folder;
    CGP_LogFile m_log;
    GP_ModalRunner m_previous;
};

} // namespace

TEST_F(PanelTest, CaptionPanelNavigatesAndAsksBeforeClosing)
{
    CChildView view;
    CCaptionPanel panel(&view, nullptr);
    EXPECT_EQ(panel.TemplateId(), 1000);

    Click(panel, CCaptionPanel::kCalendar);
    EXPECT_EQ(view.GameMode(), Calendar);
    Click(panel, CCaptionPanel::kTreasury);
    EXPECT_EQ(view.GameMode(), Treasury);
    Click(panel, CCaptionPanel::kMyPuzzles);
    EXPECT_EQ(view.GameMode(), MyPuzzles);
    QString log = Log();
    EXPECT_LT(log.indexOf(QStringLiteral("OnMainCampaign\n")), log.indexOf(QStringLiteral("OnMainPuzzles\n")));

    // "No" leaves everything as it was, the screen animation running again.
    view.StartScreenAnimation(40);
    answer = IDCANCEL;
    Click(panel, CCaptionPanel::kClose);
    EXPECT_EQ(questions, QStringList{QStringLiteral("Are you sure?")});
    EXPECT_TRUE(view.ScreenAnimationRunning());
    EXPECT_EQ(view.GameMode(), MyPuzzles);
    EXPECT_TRUE(Log().contains(QStringLiteral("OnMainClose\n")));

    // "Yes" from a creation step goes back to the library and ends the game.
    view.ChangeGameMode(CreateParameters);
    answer = IDOK;
    bool ended = false;
    QTimer::singleShot(0, &panel, [&] {
        Click(panel, CCaptionPanel::kClose);
        ended = true;
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(ended);
    EXPECT_EQ(view.GameMode(), MyPuzzles);
    EXPECT_TRUE(Log().contains(QStringLiteral("OnCreateBack\n")));
}

TEST_F(PanelTest, GameBandMarksHelpSeenThenActsWithoutAsking)
{
    CChildView view;
    view.ChangeGameMode(Play);
    EXPECT_FALSE(view.Settings().HelpDismissed(QStringLiteral("HlpGame1")));
    CTightCaptionPanel band(&view, nullptr);
    EXPECT_EQ(band.TemplateId(), 1001);
    EXPECT_EQ(band.Control(CCaptionPanel::kCalendar), nullptr);

    Click(band, CTightCaptionPanel::kClose);
    Click(band, CTightCaptionPanel::kClock);
    Click(band, CTightCaptionPanel::kMenu);
    EXPECT_TRUE(questions.isEmpty());
    const QString log = Log();
    EXPECT_TRUE(view.Settings().HelpDismissed(QStringLiteral("HlpGame1")));
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayExit")), 0);
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayPause")), 0);
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayMenu")), 0);
    // Still in the game: leaving it is the play exit's business.
    EXPECT_EQ(view.GameMode(), Play);
}
