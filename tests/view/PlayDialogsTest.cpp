#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/LDialog.h"
#include "skin/SkinableBase.h"
#include "tests/support/SettingsTestSupport.h"
#include "view/ChooseColorDialog.h"
#include "view/PauseBox.h"
#include "view/PlayCommands.h"
#include "view/PlayDialog.h"
#include "view/PlayPanel.h"
#include "view/PuzzleCompleteDialog.h"
#include "view/Swatch.h"
#include "view/TextureDialog.h"
#include "view/ThumbWnd.h"
#include "view/model/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>

namespace {

// Notes every command in order.
class RecordingCommands : public CPlayCommands
{
public:
    void OnPlayHint() override { calls << "hint"; }
    void OnPlayPicture() override { calls << "picture"; }
    void OnPlayGhost() override { calls << "ghost"; }
    void OnPlayArrangeAtEdge() override { calls << "pull apart"; }
    void OnPlaySettings() override { calls << "settings"; }
    void OnPlayExit() override { calls << "exit"; }
    void OnPlayMenu() override { calls << "menu"; }
    void OnPlayTray1() override { calls << "tray"; }
    void OnPlayZoom() override { calls << "zoom"; }
    QStringList calls;
};

// Click sounds have tests of their own; a modal runner of the test answers every dialog.
class PlayDialogsTest : public ::testing::Test
{
protected:
    PlayDialogsTest()
    {
        m_soundWasOn = CLDialog::IsSoundOn();
        CLDialog::SetSoundOn(false);
    }
    ~PlayDialogsTest() override
    {
        GP_SetModalRunner({});
        CLDialog::SetSoundOn(m_soundWasOn);
    }
    void Click(CLDialog& dialog, int id)
    {
        auto* button = dialog.ControlAs<QAbstractButton>(id);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }

    RecordingCommands commands;
    QWidget main;

private:
    bool m_soundWasOn = true;
};

} // namespace

TEST_F(PlayDialogsTest, MenuPanelAndPictureWindowTurnTheirButtonsIntoPlayCommands)
{
    struct Row
    {
        int id;
        const char* call;
    };
    CPlayDialog menu(&commands, &main);
    const Row entries[] = {{1035, "hint"},     {1011, "picture"},  {1037, "ghost"},
                           {1039, "pull apart"}, {1091, "settings"}, {1013, "exit"}};
    for (const Row& row : entries) {
        SCOPED_TRACE(row.call);
        menu.show();
        commands.calls.clear();
        Click(menu, row.id);
        EXPECT_EQ(commands.calls, QStringList{row.call});
        EXPECT_FALSE(menu.isVisible()) << "an entry works with the menu hidden";
    }
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("Game Menu"));

    CPlayPanel panel(&commands, &main);
    CThumbWnd thumb(&commands, &main);
    const std::pair<CLDialog*, Row> buttons[] = {
        {&panel, {1098, "menu"}}, {&panel, {1096, "tray"}}, {&panel, {1013, "exit"}}, {&panel, {1100, nullptr}},
        {&thumb, {1149, "picture"}}, {&thumb, {1150, "zoom"}},
    };
    for (const auto& [dialog, row] : buttons) {
        SCOPED_TRACE(row.id);
        commands.calls.clear();
        Click(*dialog, row.id);
        EXPECT_EQ(commands.calls, row.call ? QStringList{row.call} : QStringList{});
    }
    // The window system's close leaves the picture window where it is.
    thumb.show();
    QCloseEvent close;
    QApplication::sendEvent(&thumb, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(thumb.isVisible());
    EXPECT_EQ(thumb.windowTitle(), QStringLiteral("Picture"));
}

TEST_F(PlayDialogsTest, BoardsButtonWearsTheTrayFullLookOnlyWhileAsked)
{
    CPlayPanel panel(&commands, &main);
    auto* boards = dynamic_cast<WINSKIN::SkinableBase*>(panel.Control(CPlayPanel::kBoards));
    ASSERT_NE(boards, nullptr);
    const QString look = QStringLiteral("tray_full");
    panel.SetTrayFull(true);
    EXPECT_TRUE(boards->OwnStates().Contains(look));
    panel.SetTrayFull(true);
    panel.SetTrayFull(false);
    EXPECT_FALSE(boards->OwnStates().Contains(look)) << "the look stayed after the trays were emptied";
}

TEST_F(PlayDialogsTest, BoardSettingsEditACopyAndChooseColoursAndPatterns)
{
    const QList<QImage> textures = [] {
        QList<QImage> list;
        for (int i = 0; i < 15; ++i) {
            QImage texture(8, 8, QImage::Format_RGB32);
            texture.fill(QColor(i * 10, 100, 200));
            list << texture;
        }
        return list;
    }();
    GP_BoardLook look;
    look.boardColor = 0x0000EE00;
    look.trayColor = 0x00EE8888;
    look.boardPattern = 4;
    look.trayPattern = 1;
    look.soundFX = false;
    CChooseColorDialog dialog(look, 1, textures, &main);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Color"));
    EXPECT_FALSE(dialog.ControlAs<QAbstractButton>(CChooseColorDialog::kSoundFX)->isChecked());
    EXPECT_EQ(dialog.ControlAs<CSwatch>(CChooseColorDialog::kBoardColorSwatch)->Color(), QColor(0, 238, 0));
    EXPECT_EQ(dialog.ControlAs<CSwatch>(CChooseColorDialog::kBoardPatternSwatch)->Pattern(), textures[4]);

    // The colour dialog opens on the colour it changes; the pattern choice on its pattern.
    QColor offered;
    int offeredPattern = -1;
    GP_SetModalRunner([&](QDialog& opened) {
        if (auto* colors = qobject_cast<QColorDialog*>(&opened)) {
            offered = colors->currentColor();
            colors->setCurrentColor(QColor(10, 20, 30));
            return int(QDialog::Accepted);
        }
        auto* patterns = dynamic_cast<CTextureDialog*>(&opened);
        if (!patterns)
            return int(QDialog::Rejected);
        offeredPattern = patterns->Pattern();
        patterns->ControlAs<QAbstractButton>(CTextureDialog::kFirstChoice + 13)->click();
        return int(QDialog::Accepted);
    });
    Click(dialog, CChooseColorDialog::kTrayColorSwatch);
    EXPECT_EQ(offered, QColor(0x88, 0x88, 0xEE));
    Click(dialog, CChooseColorDialog::kBoardPattern);
    EXPECT_EQ(offeredPattern, 4);
    EXPECT_EQ(dialog.Look().trayColor, 0x001E140Au);
    EXPECT_EQ(dialog.Look().boardPattern, 13u);
    EXPECT_EQ(dialog.ControlAs<CSwatch>(CChooseColorDialog::kBoardPatternSwatch)->Pattern(), textures[13]);
    EXPECT_EQ(look.boardPattern, 4u) << "the dialog changed the caller's look";

    // A cancelled choice changes nothing.
    GP_SetModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    Click(dialog, CChooseColorDialog::kBoardColor);
    Click(dialog, CChooseColorDialog::kTrayPatternSwatch);
    EXPECT_EQ(dialog.Look().boardColor, 0x0000EE00u);
    EXPECT_EQ(dialog.Look().trayPattern, 1u);

    // "Default" is the skin's own look with the sound on.
    Click(dialog, CChooseColorDialog::kDefault);
    EXPECT_EQ(dialog.Look(), GP_BoardLook::Defaults(1));
    EXPECT_TRUE(dialog.ControlAs<QAbstractButton>(CChooseColorDialog::kSoundFX)->isChecked());
    Click(dialog, CChooseColorDialog::kSoundFX);
    EXPECT_FALSE(dialog.Look().soundFX);
    Click(dialog, CChooseColorDialog::kApply);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}

TEST_F(PlayDialogsTest, BoardLookGoesIntoTheCurrentSkinsSlots)
{
    TestFolder folder;
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("Velmora.ini"))));
    store.LoadRegistrySet();
    store.Settings().SkinIndex = 2;
    GP_BoardLook look = GP_BoardLook::Current(store);
    EXPECT_EQ(look, GP_BoardLook::Defaults(2));
    look.boardColor = GP_BoardLook::ColorRef(QColor(1, 2, 3));
    look.trayPattern = 9;
    look.soundFX = false;
    look.Store(store);
    EXPECT_EQ(store.CurrentColor(GP_Table::Board), 0x00030201u);
    EXPECT_EQ(store.CurrentTexture(GP_Table::Trays), 9u);
    EXPECT_FALSE(store.Settings().SoundFXEnable);
    // The other skins keep their own.
    EXPECT_EQ(store.Settings().tableTexture[0][1], CGP_SettingsStore::DefaultTexture(0, GP_Table::Trays));
}

TEST_F(PlayDialogsTest, CompletionOffersSendingOnlyWhereItExists)
{
    for (bool canSend : {false, true}) {
        SCOPED_TRACE(canSend);
        CPuzzleCompleteDialog dialog(QStringLiteral("Meadow\nHints Used: 2"), canSend, &main);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Puzzle is solved"));
        EXPECT_EQ(dialog.ControlAs<QLabel>(CPuzzleCompleteDialog::kHeading)->text(), QStringLiteral("Puzzle is solved!"));
        EXPECT_EQ(dialog.ControlAs<QLabel>(CPuzzleCompleteDialog::kText)->text(), QStringLiteral("Meadow\nHints Used: 2"));
        auto* send = dialog.ControlAs<QAbstractButton>(CPuzzleCompleteDialog::kSendToFriend);
        EXPECT_EQ(send->isVisibleTo(&dialog), canSend);
        EXPECT_FALSE(send->isChecked());
        EXPECT_FALSE(dialog.SendToFriend());
        send->setChecked(true);
        EXPECT_EQ(dialog.SendToFriend(), canSend);
    }
}

TEST_F(PlayDialogsTest, PauseBoxLivesOnlyWhileShownAndClosesOnAClickInsideItsMiddle)
{
    main.setGeometry(0, 0, 800, 600);
    main.show();
    CPauseBox pause(&main);
    int closedByPlayer = 0;
    pause.Show([&] { ++closedByPlayer; });
    ASSERT_TRUE(pause.IsShown());
    EXPECT_EQ(g_pPauseBox != nullptr, true);
    EXPECT_TRUE(g_bPauseBoxShown);
    const QRect box = pause.Rect();
    ASSERT_FALSE(box.isEmpty());
    auto* text = g_pPauseBox->ControlAs<QLabel>(CMessageBoxDialog::kTextControl);
    EXPECT_EQ(text->text(), GP_LoadString(IDS_GAME_PAUSED));
    struct Row
    {
        QPoint at;
        bool closes;
    };
    const Row rows[] = {
        {box.center(), true},
        {QPoint(box.center().x(), box.top() + 29), false},
        {QPoint(box.center().x(), box.top() + 30), true},
        {QPoint(box.center().x(), box.bottom() - 29), false},
        {QPoint(box.left() - 1, box.center().y()), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(pause.ClosesAt(row.at), row.closes) << row.at.y() - box.top();

    // The player's OK tells the game; closing by the game does not.
    g_pPauseBox->Button(CMessageBoxDialog::kFirstButton)->click();
    EXPECT_EQ(closedByPlayer, 1);
    EXPECT_FALSE(pause.IsShown());
    EXPECT_EQ(g_pPauseBox, nullptr);
    pause.Show([&] { ++closedByPlayer; });
    pause.Close();
    EXPECT_EQ(closedByPlayer, 1);
    EXPECT_FALSE(g_bPauseBoxShown);
    EXPECT_FALSE(pause.ClosesAt(box.center()));
}

TEST_F(PlayDialogsTest, GameBandShowsTheSolvingTime)
{
    EXPECT_EQ(CTightCaptionPanel::TimeText(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(CTightCaptionPanel::TimeText(3725), QStringLiteral("1:02:05"));
    EXPECT_EQ(CTightCaptionPanel::TimeText(100 * 3600 + 59), QStringLiteral("100:00:59"));
    CTightCaptionPanel band(nullptr, &main);
    band.ShowTime(61);
    EXPECT_EQ(band.ControlAs<QAbstractButton>(CTightCaptionPanel::kClock)->text(), QStringLiteral("0:01:01"));
}
