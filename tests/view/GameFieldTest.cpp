// The game field on the real view: a puzzle file opened for play, its help picture, a drag with
// the mouse, the trays' windows and the painted board; and a file that is not a puzzle.
#include "engine/GP_Folders.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/SkinableBase.h"
#include "skin/SkinableButton.h"
#include "tests/support/SettingsTestSupport.h"
#include "tests/support/TestPuzzles.h"
#include "tests/view/HelpArrowChecks.h"
#include "view/ChildView.h"
#include "view/GameField.h"
#include "view/HelpOverlayWindow.h"
#include "view/TrayWindows.h"
#include "view/model/GP_Registry.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PlaySession.h"
#include "view/model/PuzzlePaths.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {
void ForgetGameHelp()
{
    QSettings settings(CGP_Registry::UserSettingsPath(), QSettings::IniFormat);
    settings.remove(QStringLiteral("HlpGame1"));
    settings.remove(QStringLiteral("HlpGame2"));
    settings.sync();
}

GP_PiecePtr OnlyPiece(const GP_GroupPtr& group)
{
    return group->m_pieces.front();
}
} // namespace

TEST(GameFieldView, APuzzleOpensForPlayItsHelpGoesWithAClickAndTheMouseDragsAPiece)
{
    ForgetGameHelp();
    const QString previousFolder = GP_AppFolder();
    GP_SetAppFolder(QStringLiteral(VELMORA_GAME_DIR));
    // Games are played from the library, where they are saved back.
    QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesSimple));
    const QString path = GP_PuzzlePaths::LibraryFile(QStringLiteral("Field Test Meadow"));
    ASSERT_TRUE(WriteTestPuzzle(path, {}));
    {
        CChildView view;
        view.setGeometry(0, 0, 1024, 768);
        view.show();
        view.repaint();
        QApplication::processEvents();
        ASSERT_TRUE(view.OpenPuzzleForPlay(path));
        EXPECT_EQ(view.CurrentMode(), GameMode::Play);
        PlaySession* session = view.Session();
        ASSERT_NE(session, nullptr);
        EXPECT_EQ(session->Puzzle()->m_pGroups->Size(), 6u);
        EXPECT_EQ(session->Field(), QRect(0, 50, 1024, 718));

        // The help picture swallows the press; the release dismisses it for good.
        ASSERT_TRUE(view.HelpWindow()->IsShown());
        EXPECT_TRUE(view.HelpWindow()->isVisible());
        // Its arrows point at both trays' handles and at the band's Menu.
        QList<QRect> explained;
        for (int location : {CGP_PuzzlePieceUnion::kLeftTray, CGP_PuzzlePieceUnion::kRightTray})
            explained << OnView(view, *view.Field()->TrayWindows(location)->EmptyHandle());
        for (auto* control : view.TightCaptionPanel()->findChildren<QWidget*>()) {
            if (WINSKIN::ControlId(control) == CTightCaptionPanel::kMenu)
                explained << OnView(view, *control);
        }
        ExpectHelpArrowsAt(view, explained);
        const GP_GroupPtr top = session->Puzzle()->m_pGroups->Snapshot().front();
        const GP_PiecePtr piece = OnlyPiece(top);
        const QPoint before(piece->m_nX, piece->m_nY);
        // A point the piece draws: its middle lies inside its cell whatever its tabs do.
        const QPoint grip = before + QPoint(piece->Width() / 2, piece->Height() / 2);
        QTest::mousePress(&view, Qt::LeftButton, {}, grip);
        EXPECT_EQ(session->Puzzle()->m_pHeldGroup, nullptr);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, grip);
        EXPECT_FALSE(view.HelpWindow()->IsShown());
        EXPECT_FALSE(view.HelpWindow()->isVisible());
        EXPECT_TRUE(view.Settings().HelpDismissed(QStringLiteral("HlpGame1")));

        // The board shows the piece where it lies.
        const QImage shown = view.grab().toImage();
        const QImage* image = piece->Image();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(shown.pixel(grip), image->pixel(grip - before));

        // Dragged towards the middle of the field, where keeping it inside cannot pull it back.
        const QPoint middle = session->Field().center();
        const QPoint step(grip.x() < middle.x() ? 30 : -30, grip.y() < middle.y() ? 20 : -20);
        QTest::mousePress(&view, Qt::LeftButton, {}, grip);
        EXPECT_EQ(session->Puzzle()->m_pHeldGroup, top);
        QTest::mouseMove(&view, grip + step);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, grip + step);
        EXPECT_EQ(QPoint(piece->m_nX, piece->m_nY), before + step);
        EXPECT_EQ(session->Puzzle()->m_pHeldGroup, nullptr);

        // Both trays show their "empty" handle; a click on one opens its tray's window.
        CTrayWindows* right = view.Field()->TrayWindows(CGP_PuzzlePieceUnion::kRightTray);
        ASSERT_NE(right, nullptr);
        EXPECT_TRUE(right->EmptyHandle()->isVisible());
        EXPECT_FALSE(right->FullHandle()->isVisible());
        QTest::mouseClick(right->EmptyHandle(), Qt::LeftButton);
        EXPECT_TRUE(right->OpenWindow()->isVisible());
        EXPECT_EQ(right->OpenWindow()->geometry(), session->Controller().TrayOf(CGP_PuzzlePieceUnion::kRightTray)->OpenRect());

        // Leaving the field closes and hides the trays.
        view.ChangeGameMode(GameMode::MyPuzzles);
        EXPECT_FALSE(right->OpenWindow()->isVisible());
        EXPECT_FALSE(right->EmptyHandle()->isVisible());
    }
    QFile::remove(path);
    GP_SetAppFolder(previousFolder);
}

TEST(GameFieldView, AFileThatIsNotAPuzzleSaysSoOnceAndShowsTheLibrary)
{
    // A damaged file of the library is deleted; the player's own file elsewhere is only refused.
    const struct {
        const char* file;
        QByteArray bytes;
        bool keptAfter;
    } rows[] = {
        {"Broken.pzl", "not a puzzle at all", true},
        {"Puzzles/simple/Broken.pzl", "VP", false},
    };
    for (const auto& row : rows) {
        TestFolder files;
        const QString path = files.Write(QLatin1String(row.file), row.bytes);
        CapturedLog log(files);
        QStringList shown;
        const GP_ModalRunner previous = GP_SetModalRunner([&shown](QDialog& dialog) {
            shown << dialog.windowTitle();
            return 1;
        });
        CChildView view;
        EXPECT_FALSE(view.OpenPuzzleForPlay(path)) << row.file;
        GP_SetModalRunner(previous);
        EXPECT_EQ(shown.size(), 1) << row.file;
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles) << row.file;
        EXPECT_EQ(view.Session(), nullptr) << row.file;
        EXPECT_EQ(QFile::exists(path), row.keptAfter) << row.file;
    }
}
