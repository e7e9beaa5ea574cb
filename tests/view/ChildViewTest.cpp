#include "engine/GP_Folders.h"
#include "resources/StringTable.h"
#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/BmpButton.h"
#include "skin/LDialog.h"
#include "skin/Skin.h"
#include "skin/SkinableBase.h"
#include "tests/support/SettingsTestSupport.h"
#include "tests/view/model/LibraryTestSupport.h"
#include "view/ChildView.h"
#include "view/CreateImageDialog.h"
#include "view/CreatePrimaryDialog.h"
#include "view/CreationScreen.h"
#include "view/LibraryCommands.h"
#include "view/PuzzleNameDialog.h"
#include "view/model/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
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

    // A new creation's file dialog is up over a view without bands; cancelled, the library is back.
    bool bandsHidden = false;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog&) {
        bandsHidden = !Shown(caption) && !Shown(view->TightCaptionPanel());
        return int(QDialog::Rejected);
    });
    view->ChangeGameMode(GameMode::CreateImage);
    GP_SetModalRunner(previous);
    EXPECT_TRUE(bandsHidden);
    EXPECT_EQ(view->CurrentMode(), GameMode::MyPuzzles);

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

namespace {
// Plays the creation's dialogs: the picture to open, the name to give (with "Send this puzzle to
// a friend" ticked) and where the friend's package goes; writes down every message shown.
struct CreationPlayer
{
    QString picture;
    QString packageFile;
    QStringList names;
    QStringList messages;
    int nameDialogs = 0;
    GP_ModalRunner previous;

    CreationPlayer() : previous(GP_SetModalRunner([this](QDialog& dialog) { return Answer(dialog); })) {}
    ~CreationPlayer() { GP_SetModalRunner(previous); }

    int Answer(QDialog& dialog)
    {
        if (auto* box = dynamic_cast<CMessageBoxDialog*>(&dialog)) {
            box->Create();
            messages << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
            return IDOK;
        }
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(files->acceptMode() == QFileDialog::AcceptOpen ? picture : packageFile);
            return QDialog::Accepted;
        }
        if (auto* name = dynamic_cast<CPuzzleNameDialog*>(&dialog)) {
            ++nameDialogs;
            if (names.isEmpty())
                return IDCANCEL;
            name->Create();
            name->ControlAs<QLineEdit>(CPuzzleNameDialog::kName)->setText(names.takeFirst());
            name->ControlAs<QAbstractButton>(CPuzzleNameDialog::kSendToFriend)->setChecked(true);
            return IDOK;
        }
        // The wait dialog of the friend's package ends by itself.
        return dialog.exec();
    }
};

void Press(CChildView& view, int buttonId)
{
    view.OnBmpButtonNotify(BmpButtonNotify{nullptr, buttonId, CBmpButton::kNotifyClicked});
}
} // namespace

TEST(ChildView, AMadePuzzleJoinsTheLibrarySelectedAndModifyCutsItAgain)
{
    constexpr int kMakeOwnPuzzle = 49312;
    constexpr int kPopupModify = 49310;
    constexpr QRgb kPictureColour = qRgb(30, 90, 160);
    TestFolder folder;
    CapturedLog log(folder);
    for (const char* shipped : {"SKINS Nox", "PATTERNS"})
        ASSERT_TRUE(QFile::link(QStringLiteral(VELMORA_GAME_DIR "/") + shipped, folder.File(shipped)));
    const QString compiler = folder.Write(QStringLiteral("DATA/makensis"), "#!/bin/sh\necho MZ > \"${4#-DOUT_FILE=}\"\n");
    QFile::setPermissions(compiler, QFile::Permissions(0x7755));
    QImage picture(800, 400, QImage::Format_RGB32);
    picture.fill(kPictureColour);
    CreationPlayer player;
    player.picture = folder.File(QStringLiteral("Bay.jpg.png"));
    player.packageFile = folder.File(QStringLiteral("For Ada.exe"));
    ASSERT_TRUE(picture.save(player.picture, "PNG"));
    const boost::shared_ptr<CGP_Puzzle> locked = librarytest::WritePuzzle(QStringLiteral("Locked"));
    locked->m_bOptions[CGP_Puzzle::kOptionNoModify] = true;
    ASSERT_TRUE(locked->WriteNewFile(GP_PuzzlePaths::LibraryFile(QStringLiteral("Locked"))));

    CChildView view;
    view.setGeometry(40, 30, 1024, 700);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    CPuzzleLibrary& library = view.Library().Library();
    // The library is read after the first paint.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(library.Find(QStringLiteral("Locked"))); }, 5000))
        << "the library was never listed";
    view.ChangeGameMode(GameMode::MyPuzzles);

    Press(view, kMakeOwnPuzzle);
    ASSERT_EQ(view.CurrentMode(), GameMode::CreateImage);
    CCreationScreen& creation = view.Creation();
    ASSERT_TRUE(creation.ImageDialog() && creation.PrimaryDialog());
    EXPECT_TRUE(creation.ImageDialog()->isVisible() && creation.PrimaryDialog()->isVisible());
    EXPECT_FALSE(view.CaptionPanel() && view.CaptionPanel()->isVisible());
    // The picture is on the view with the cut over it.
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(view.FieldRect().center() + QPoint(3, 3)), kPictureColour);

    player.names = QStringList{QStringLiteral("Bay")};
    creation.PrimaryDialog()->ControlAs<QAbstractButton>(CCreatePrimaryDialog::kMake)->click();
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
    const GP_PuzzlePtr made = library.Find(QStringLiteral("Bay"));
    ASSERT_TRUE(made);
    EXPECT_EQ(library.Selected(), std::vector<GP_PuzzlePtr>{made});
    EXPECT_EQ(librarytest::Bytes(player.packageFile), QByteArray("MZ\n")) << "the ticked box sent nothing";
    EXPECT_TRUE(player.messages.isEmpty()) << qPrintable(player.messages.join(QLatin1Char('\n')));

    // Modify of the made puzzle goes straight to the cut and saves without asking a name.
    Press(view, kPopupModify);
    ASSERT_EQ(view.CurrentMode(), GameMode::CreateParameters);
    EXPECT_FALSE(creation.ImageDialog()->isVisible());
    const int pieces = creation.Session()->PieceCount();
    creation.PrimaryDialog()->ControlAs<QAbstractSlider>(CCreatePrimaryDialog::kPieceSize)->setValue(40);
    EXPECT_NE(creation.Session()->PieceCount(), pieces);
    const int recut = creation.Session()->PieceCount();
    creation.PrimaryDialog()->ControlAs<QAbstractButton>(CCreatePrimaryDialog::kMake)->click();
    EXPECT_EQ(player.nameDialogs, 1);
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
    const GP_PuzzlePtr changed = library.Find(QStringLiteral("Bay"));
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->m_nColumns * changed->m_nRows, recut);
    EXPECT_EQ(library.Size(), 2u);

    // A locked puzzle says so and stays as it is.
    library.SelectOnly(library.Find(QStringLiteral("Locked")));
    Press(view, kPopupModify);
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
    EXPECT_EQ(player.messages, QStringList{GP_LoadString(IDS_MODIFY_NOT_ALLOWED)});
    EXPECT_FALSE(creation.IsActive());
}
