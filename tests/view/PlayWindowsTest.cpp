// The play tools on the real view: a game's panels and picture window, the pause box and the
// keys, the game menu, and leaving the game with its progress saved (or 191 when it cannot be).
#include "engine/GP_Folders.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzleFile.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "tests/support/SettingsTestSupport.h"
#include "tests/support/TestPuzzles.h"
#include "view/ChildView.h"
#include "view/PlayDialog.h"
#include "view/PlayPanel.h"
#include "view/PlayWindows.h"
#include "view/PuzzleCompleteDialog.h"
#include "view/ThumbWnd.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PlaySession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// A game of six pieces on a shown view, its help pictures out of the way.
// The game's folder: the outline patterns, the cache folder and the puzzle (the view reads the
// patterns when it is made).
bool PrepareFolder(const QString& puzzle, const TestPuzzleOptions& options = {})
{
    const QDir patterns(QStringLiteral(VELMORA_GAME_DIR "/PATTERNS"));
    QDir().mkpath(GP_FolderPath(GP_Folder::Patterns));
    for (const QString& name : patterns.entryList(QDir::Files))
        QFile::copy(patterns.filePath(name), GP_FilePath(GP_Folder::Patterns, name));
    QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesCash));
    QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesSimple));
    return WriteTestPuzzle(puzzle, options);
}

struct ShownGame
{
    explicit ShownGame(const TestPuzzleOptions& options = {})
        : prepared(PrepareFolder(path, options))
    {
    }

    TestFolder folder;
    QString path = folder.File(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    bool prepared;
    CChildView view;

    bool Open() { return Open(path); }
    bool Open(const QString& file)
    {
        EXPECT_TRUE(prepared);
        view.Settings().DismissHelp(QStringLiteral("HlpGame1"));
        view.setGeometry(0, 0, 1024, 768);
        view.show();
        view.repaint();
        QApplication::processEvents();
        return view.OpenPuzzleForPlay(file);
    }
    CPlayWindows& Play() { return *view.PlayWindows(); }
    void Click(CLDialog* dialog, int id) { dialog->ControlAs<QAbstractButton>(id)->click(); }
};
} // namespace

TEST(PlayWindows, AGameShowsItsToolsAndTheirCommandsReachIt)
{
    ShownGame game;
    ASSERT_TRUE(game.Open());
    PlaySession* session = game.view.Session();
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(game.Play().Panel()->isVisible());
    EXPECT_FALSE(game.Play().GameMenu()->isVisible()) << "entering the field does not bring up the menu";
    CThumbWnd* picture = game.Play().PictureWindow();
    ASSERT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->geometry(), QRect(game.view.mapToGlobal(session->PictureRect().topLeft()), session->PictureRect().size()));
    EXPECT_FALSE(picture->Picture().isNull());

    // Pause from the band's clock; G closes the box as it turns the ghost on.
    game.view.OnPlayPause();
    ASSERT_TRUE(game.Play().PauseBox().IsShown());
    EXPECT_TRUE(session->IsPauseBoxShown());
    game.view.OnPlayGhost();
    EXPECT_FALSE(game.Play().PauseBox().IsShown());
    EXPECT_TRUE(session->IsGhostVisible());
    EXPECT_TRUE(game.view.Settings().Settings().GhostVisible);

    // The menu comes and goes with its button and remembers it; its entries hide it first.
    game.Click(game.Play().Panel(), CPlayPanel::kGameMenu);
    EXPECT_TRUE(game.Play().GameMenu()->isVisible());
    EXPECT_TRUE(game.view.Settings().Settings().PlayVisible);
    game.Click(game.Play().GameMenu(), CPlayDialog::kHint);
    EXPECT_FALSE(game.Play().GameMenu()->isVisible());
    EXPECT_EQ(session->Puzzle()->m_nHintsUsed, 1);
    game.Click(game.Play().GameMenu(), CPlayDialog::kPicture);
    EXPECT_FALSE(picture->isVisible());
    EXPECT_FALSE(game.view.Settings().Settings().ThumbVisible1);

    // Exit: the progress is in the file, the cache beside it, and the library is shown.
    const GP_PiecePtr piece = session->Puzzle()->m_pGroups->Snapshot().front()->m_pieces.front();
    piece->m_nX += 17;
    const QPoint place(piece->m_nX, piece->m_nY);
    game.Click(game.Play().Panel(), CPlayPanel::kExit);
    EXPECT_EQ(game.view.CurrentMode(), GameMode::MyPuzzles);
    EXPECT_EQ(game.view.Session(), nullptr);
    EXPECT_FALSE(game.Play().Panel()->isVisible());
    EXPECT_TRUE(QFile::exists(GP_FilePath(GP_Folder::PuzzlesCash, QStringLiteral("Meadow.cash"))));
    CGP_Puzzle saved;
    ASSERT_TRUE(saved.OpenFile(game.path));
    EXPECT_FALSE(saved.m_bFresh);
    EXPECT_EQ(saved.m_nHintsUsed, 1);
    bool found = false;
    for (const GP_GroupPtr& group : saved.m_pGroups->Snapshot())
        found = found || (group->m_pieces.front()->m_nIndex == piece->m_nIndex
                          && QPoint(group->m_pieces.front()->m_nX, group->m_pieces.front()->m_nY) == place);
    EXPECT_TRUE(found) << "the piece was not saved where it lay";
}

TEST(PlayWindows, ASaveThatFailsShows191AndKeepsThePlayersFile)
{
    ShownGame game;
    ASSERT_TRUE(game.Open());
    const QByteArray before = game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    QStringList messages;
    const GP_ModalRunner previous = GP_SetModalRunner([&messages](QDialog& dialog) {
        if (auto* box = qobject_cast<CMessageBoxDialog*>(&dialog)) {
            box->Create();
            messages << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
        }
        return int(IDOK);
    });
    GP_SetReplaceFileFault([](const char* step) { return std::string(step) == "write"; });
    game.view.OnPlayExit();
    GP_SetReplaceFileFault({});
    GP_SetModalRunner(previous);
    EXPECT_EQ(messages, QStringList{GP_LoadString(IDS_DISK_FULL)});
    EXPECT_EQ(game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl")), before);
    EXPECT_EQ(game.view.CurrentMode(), GameMode::MyPuzzles) << "the game still leaves the field";
    EXPECT_FALSE(QFile::exists(GP_FilePath(GP_Folder::PuzzlesCash, QStringLiteral("Meadow.cash"))));
}

// A 2 x 2 puzzle under way: three pieces joined in one group, the fourth loose; or solved, the
// four in one group, after 42 seconds.
bool WriteNearlySolvedPuzzle(const QString& path, bool solved = false)
{
    TestPuzzleOptions options;
    options.width = 200;
    options.height = 200;
    const boost::shared_ptr<CGP_Puzzle> puzzle = MakeTestPuzzle(options);
    CGP_PieceWorkers(1).BuildPieces(*puzzle, nullptr);
    const std::deque<GP_GroupPtr> groups = puzzle->m_pGroups->Snapshot();
    GP_GroupPtr joined(new CGP_PuzzlePieceUnion);
    puzzle->m_pGroups.reset(new GP_GroupDeque);
    for (const GP_GroupPtr& group : groups) {
        const GP_PiecePtr piece = group->m_pieces.front();
        piece->m_nX = piece->m_nHomeX[0] + 300;
        piece->m_nY = piece->m_nHomeY[0] + 200;
        if (piece->m_nIndex == 3 && !solved)
            puzzle->m_pGroups->PushBack(group);
        else
            joined->m_pieces.push_back(piece);
    }
    puzzle->m_pGroups->PushBack(joined);
    puzzle->m_bFresh = false;
    puzzle->m_bSolved = solved;
    puzzle->m_nSolvingTime = solved ? 42 : 5;
    return puzzle->WriteNewFile(path) && puzzle->SaveProgress(path);
}

TEST(PlayWindows, ASolvingDropShowsWhatItTookAndTheEndOfTheProgramThenLeavesNoCache)
{
    ShownGame game;
    ASSERT_TRUE(WriteNearlySolvedPuzzle(game.path));
    ASSERT_TRUE(game.Open());
    CChildView& view = game.view;
    PlaySession* session = view.Session();
    GP_PiecePtr loose;
    GP_PiecePtr placed;
    for (const GP_GroupPtr& group : session->Puzzle()->m_pGroups->Snapshot())
        (group->m_pieces.size() == 1 ? loose : placed) = group->m_pieces.front();
    ASSERT_TRUE(loose && placed);
    const QPoint grip(loose->m_nX + loose->Width() / 2, loose->m_nY + loose->Height() / 2);
    const QPoint target(placed->m_nX - placed->m_nHomeX[0] + loose->m_nHomeX[0], placed->m_nY - placed->m_nHomeY[0] + loose->m_nHomeY[0]);
    const QPoint drop = grip + target - QPoint(loose->m_nX, loose->m_nY);

    // The program is told to end while the completion dialog is up.
    QString shown;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
        shown = dialog.windowTitle();
        view.LeaveGameBeforeEnd();
        return int(QDialog::Accepted);
    });
    QTest::mousePress(&view, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&view, drop);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, drop);
    GP_SetModalRunner(previous);
    QApplication::processEvents();
    EXPECT_EQ(shown, QStringLiteral("Puzzle is solved"));
    EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
    EXPECT_EQ(view.Session(), nullptr);
    CGP_Puzzle saved;
    ASSERT_TRUE(saved.OpenFile(game.path));
    EXPECT_TRUE(saved.m_bSolved);
    EXPECT_NE(saved.m_nSolveYear, 0);
    EXPECT_GE(saved.m_nSolvingTime, 5);
    EXPECT_FALSE(QFile::exists(GP_FilePath(GP_Folder::PuzzlesCash, QStringLiteral("Meadow.cash"))));
}

TEST(PlayWindows, ASolvedPuzzleIsStartedOverPlayedSolvedOrLeftAsThePlayerAnswers)
{
    enum { kCancel = 1168 };
    const struct {
        int answer;
        bool opened;
        size_t groups;
        int seconds;
    } rows[] = {
        {IDOK, true, 4, 0},      // Yes: loose pieces and no time, in the puzzle's own file
        {IDCANCEL, true, 1, 42}, // No: the solved puzzle, its clock from the stored time
        {kCancel, false, 0, 0},  // Cancel: nothing opens
    };
    for (const auto& row : rows) {
        ShownGame game;
        // The file's name is the puzzle's, whatever title its settings store.
        const QString path = game.folder.File(QStringLiteral("Puzzles/simple/Harbour Copy.pzl"));
        ASSERT_TRUE(WriteNearlySolvedPuzzle(path, true));
        const QByteArray before = game.folder.Read(QStringLiteral("Puzzles/simple/Harbour Copy.pzl"));
        const QByteArray meadow = game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl"));
        QStringList asked;
        const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
            auto* box = qobject_cast<CMessageBoxDialog*>(&dialog);
            if (box) {
                box->Create();
                asked << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
            }
            return row.answer;
        });
        EXPECT_EQ(game.Open(path), row.opened) << row.answer;
        GP_SetModalRunner(previous);
        EXPECT_EQ(asked, QStringList{GP_LoadString(IDS_ALREADY_SOLVED)}) << row.answer;
        EXPECT_EQ(game.folder.Read(QStringLiteral("Puzzles/simple/Meadow.pzl")), meadow) << row.answer;
        if (!row.opened) {
            EXPECT_EQ(game.view.CurrentMode(), GameMode::MyPuzzles);
            EXPECT_EQ(game.folder.Read(QStringLiteral("Puzzles/simple/Harbour Copy.pzl")), before);
            continue;
        }
        PlaySession* session = game.view.Session();
        ASSERT_NE(session, nullptr) << row.answer;
        EXPECT_EQ(session->Puzzle()->m_pGroups->Size(), row.groups) << row.answer;
        EXPECT_EQ(session->Seconds(), row.seconds) << row.answer;
        EXPECT_EQ(session->Puzzle()->m_bSolved, row.answer != IDOK) << row.answer;
        CGP_Puzzle stored;
        ASSERT_TRUE(stored.OpenFile(path));
        EXPECT_EQ(stored.m_bSolved, row.answer != IDOK) << row.answer;
    }
}

TEST(PlayWindows, APuzzleOpenedDuringAGameLeavesThatGameSavedFirst)
{
    ShownGame game;
    ASSERT_TRUE(game.Open());
    PlaySession* session = game.view.Session();
    const GP_PiecePtr piece = session->Puzzle()->m_pGroups->Snapshot().front()->m_pieces.front();
    piece->m_nX += 23;
    const QPoint place(piece->m_nX, piece->m_nY);
    const QString other = game.folder.File(QStringLiteral("Puzzles/simple/Orchard.pzl"));
    ASSERT_TRUE(WriteNearlySolvedPuzzle(other));
    ASSERT_TRUE(game.view.OpenPuzzleForPlay(other));
    EXPECT_EQ(game.view.Session()->Puzzle()->m_pGroups->Size(), 2u);
    CGP_Puzzle saved;
    ASSERT_TRUE(saved.OpenFile(game.path));
    bool found = false;
    for (const GP_GroupPtr& group : saved.m_pGroups->Snapshot())
        found = found || (group->m_pieces.front()->m_nIndex == piece->m_nIndex
                          && QPoint(group->m_pieces.front()->m_nX, group->m_pieces.front()->m_nY) == place);
    EXPECT_TRUE(found) << "the first game was not saved before the second opened";
}

TEST(PlayWindows, TheCompletionDialogsTickedBoxSendsTheSolvedPuzzleToAFriend)
{
    ShownGame game;
    ASSERT_TRUE(WriteNearlySolvedPuzzle(game.path));
    // A package builder that writes its output file, as makensis does.
    const QString compiler = game.folder.Write(QStringLiteral("DATA/makensis"), "#!/bin/sh\necho MZ > \"${4#-DOUT_FILE=}\"\n");
    QFile::setPermissions(compiler, QFile::Permissions(0x7755));
    ASSERT_TRUE(game.Open());
    CChildView& view = game.view;
    GP_PiecePtr loose;
    GP_PiecePtr placed;
    for (const GP_GroupPtr& group : view.Session()->Puzzle()->m_pGroups->Snapshot())
        (group->m_pieces.size() == 1 ? loose : placed) = group->m_pieces.front();
    ASSERT_TRUE(loose && placed);
    const QPoint grip(loose->m_nX + loose->Width() / 2, loose->m_nY + loose->Height() / 2);
    const QPoint drop = grip + QPoint(placed->m_nX - placed->m_nHomeX[0] + loose->m_nHomeX[0] - loose->m_nX,
                                      placed->m_nY - placed->m_nHomeY[0] + loose->m_nHomeY[0] - loose->m_nY);

    const QString saveAs = game.folder.File(QStringLiteral("For Ada.exe"));
    QStringList shown;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
        shown << dialog.windowTitle();
        if (auto* complete = qobject_cast<CPuzzleCompleteDialog*>(&dialog)) {
            complete->Create();
            complete->ControlAs<QAbstractButton>(CPuzzleCompleteDialog::kSendToFriend)->setChecked(true);
            return int(QDialog::Accepted);
        }
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(saveAs);
            return int(QDialog::Accepted);
        }
        return dialog.exec();
    });
    QTest::mousePress(&view, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&view, drop);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, drop);
    GP_SetModalRunner(previous);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.front(), QStringLiteral("Puzzle is solved"));
    EXPECT_EQ(game.folder.Read(QStringLiteral("For Ada.exe")), QByteArray("MZ\n"));
    EXPECT_EQ(view.CurrentMode(), GameMode::Play) << "sending does not end the game";
}
