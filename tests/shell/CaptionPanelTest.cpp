#include "shell/dialogs/CampaignPanel.h"
#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/MainViewCommands.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/LDialog.h"
#include "skin/BmpButton.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"
#include "view/ChildView.h"
#include "view/model/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace {

// Writes every call into the session log, so that the log shows calls and traces in order.
class RecordingView : public CMainViewCommands
{
public:
    void OnMainCampaign() override { Note("campaign"); }
    void OnMainPuzzles() override { Note("puzzles"); }
    void OnMainGallery() override { Note("gallery"); }
    void OnMainMinimize() override { Note("minimize"); }
    void OnMainClose() override { Note("close"); }
    void OnPlayMenu() override { Note("menu"); }
    void OnPlayPause() override { Note("pause"); }
    void OnPlayExit() override { Note("exit"); }
    bool StoreHelpFlag(const char* valueName) override
    {
        Note(QStringLiteral("help %1").arg(QLatin1String(valueName)));
        return helpShown;
    }
    bool helpShown = false;
    void RepaintView() override { Note("repaint"); }

private:
    static void Note(const QString& call) { GP_Log(QStringLiteral("[%1]\n").arg(call)); }
};

class PanelTest : public ::testing::Test
{
protected:
    PanelTest()
        : m_log(m_folder)
    {
        // Click sounds have tests of their own; here they would only add log lines.
        m_soundWasOn = CLDialog::IsSoundOn();
        CLDialog::SetSoundOn(false);
        m_previous = GP_SetModalRunner([this](QDialog& dialog) {
            auto* box = qobject_cast<CMessageBoxDialog*>(&dialog);
            if (!box)
                return 0;
            box->Create();
            questions << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
            blockedWhileAsking = CBmpButton::IsInputBlocked();
            return answer;
        });
    }
    ~PanelTest() override
    {
        GP_SetModalRunner(m_previous);
        CLDialog::SetSoundOn(m_soundWasOn);
    }
    QString Log() const { return m_log.Text(); }

    // Clicks each button and answers the log lines each click wrote, one entry per click.
    std::string Clicks(CLDialog& panel, std::initializer_list<int> ids)
    {
        QStringList lines;
        for (int id : ids) {
            auto* button = panel.ControlAs<QAbstractButton>(id);
            EXPECT_NE(button, nullptr) << id;
            if (!button)
                continue;
            m_log.NewText();
            button->click();
            lines << m_log.NewText().trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        return lines.join(QStringLiteral(" | ")).toStdString();
    }

    QStringList questions;
    int answer = IDCANCEL;
    bool blockedWhileAsking = false;

private:
    TestFolder m_folder;
    CapturedLog m_log;
    GP_ModalRunner m_previous;
    bool m_soundWasOn = true;
};

} // namespace

TEST_F(PanelTest, EveryCommandOfTheThreeBandsReachesTheViewAfterItsTrace)
{
    RecordingView view;
    CCaptionPanel caption(&view, nullptr);
    EXPECT_EQ(caption.TemplateId(), 1000);
    EXPECT_EQ(Clicks(caption, {1089, 1090, 1086, 1087, 1010}),
              "OnMainMinimize [minimize] | OnMainClose [close] | OnMainCampaign [campaign] | "
              "OnMainPuzzles [puzzles] | [gallery]");

    // The game band marks the first game help as seen before anything else, and asks nothing.
    CTightCaptionPanel band(&view, nullptr);
    EXPECT_EQ(band.TemplateId(), 1001);
    EXPECT_EQ(band.Control(CCaptionPanel::kCalendar), nullptr);
    EXPECT_EQ(Clicks(band, {1089, 1090, 1198, 1200}),
              "[help HlpGame1] [minimize] | [help HlpGame1] [exit] | [help HlpGame1] [menu] | "
              "[help HlpGame1] [pause]");
    // While a help picture is up, a click only takes it away.
    view.helpShown = true;
    EXPECT_EQ(Clicks(band, {1089, 1090, 1198, 1200}),
              "[help HlpGame1] | [help HlpGame1] | [help HlpGame1] | [help HlpGame1]");
    view.helpShown = false;

    CCampaignPanel campaign(&view, nullptr);
    EXPECT_EQ(Clicks(campaign, {1095, 1156, 1048}), " |  | [repaint]");
    EXPECT_TRUE(questions.isEmpty());

    // A band without a view does nothing at all.
    CCaptionPanel orphan(nullptr, nullptr);
    EXPECT_EQ(Clicks(orphan, {1090, 1086}), " | ");
}

TEST_F(PanelTest, CloseQuestionAnsweredNoGoesOnAndYesLeaves)
{
    CChildView view;
    CCaptionPanel panel(&view, nullptr);
    view.ChangeGameMode(GameMode::MyPuzzles);

    // "No" leaves everything as it was, the screen animation running again; the picture
    // buttons ignored the player while the question was up.
    view.StopScreenAnimation();
    answer = IDCANCEL;
    Clicks(panel, {CCaptionPanel::kClose});
    EXPECT_EQ(questions, QStringList{QStringLiteral("Are you sure?")});
    EXPECT_TRUE(blockedWhileAsking);
    EXPECT_FALSE(CBmpButton::IsInputBlocked());
    EXPECT_TRUE(view.ScreenAnimationRunning());
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);

    // "Yes" from a creation step goes back to the library and ends the game.
    view.ChangeGameMode(GameMode::CreateParameters);
    answer = IDOK;
    bool ended = false;
    QTimer::singleShot(0, &panel, [&] {
        Clicks(panel, {CCaptionPanel::kClose});
        ended = true;
    });
    QTimer::singleShot(kPatience, [] { QCoreApplication::exit(99); }); // nothing came
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(ended);
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
    EXPECT_FALSE(view.ScreenAnimationRunning());
    EXPECT_TRUE(Log().contains(QStringLiteral("OnCreateBack\n")));
}

TEST_F(PanelTest, GameBandOnTheRealViewStoresTheHelpFlagAndAsksNothing)
{
    CChildView view;
    view.ChangeGameMode(GameMode::Play);
    EXPECT_FALSE(view.Settings().HelpDismissed(QStringLiteral("HlpGame1")));
    CTightCaptionPanel band(&view, nullptr);
    // The first click only takes the game's help picture away.
    Clicks(band, {CTightCaptionPanel::kClose});
    EXPECT_TRUE(view.Settings().HelpDismissed(QStringLiteral("HlpGame1")));
    EXPECT_EQ(view.CurrentMode(), GameMode::Play);
    EXPECT_LT(Log().indexOf(QStringLiteral("OnPlayExit")), 0);
    Clicks(band, {CTightCaptionPanel::kClock, CTightCaptionPanel::kMenu, CTightCaptionPanel::kClose});
    EXPECT_TRUE(questions.isEmpty());
    const QString log = Log();
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayExit")), 0);
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayPause")), 0);
    EXPECT_GE(log.indexOf(QStringLiteral("OnPlayMenu")), 0);
    // "X" leaves the field without a question (no game was on it).
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
}
