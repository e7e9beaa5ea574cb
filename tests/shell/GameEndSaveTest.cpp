// The whole game on an X server of its own: a piece is dragged with real pointer events, then
// the game is told to end (SIGTERM, as the desktop says it when the player logs out). The
// puzzle file keeps the piece where it was dragged, with no question asked.
#include "tests/shell/XGame.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

TEST(GameEnd, ASignalMidGameLeavesThePuzzleFileWithThePiecesWhereTheyWereDragged)
{
    VELMORA_SKIP_WITHOUT_X_TOOLS();
    TestFolder folder;
    // A game of the library, with its piece-image cache.
    const QString path = folder.File(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    const boost::shared_ptr<CGP_Puzzle> puzzle = LayOutPuzzle(folder, path);
    // The top-right piece goes to an empty spot left of it, clear of its neighbours.
    const GP_PiecePtr moved = PieceAt(*puzzle, 5);
    const QPoint grip(moved->m_nX + moved->Width() / 2, moved->m_nY + moved->Height() / 2);
    const QPoint shift(-450, 30);

    XServer server;
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start";
    QProcess game;
    ASSERT_TRUE(StartGameOnDisplay(game, folder, server, path)) << "the game never opened the puzzle for play";
    QThread::msleep(1500);
    // The first game's help picture goes with a click on the board.
    ASSERT_TRUE(ClickAt(server.Display(), QPoint(500, 450)));
    QThread::msleep(800);
    ASSERT_TRUE(RunOnDisplay(server.Display(), QStringLiteral("xdotool"), DragArguments(grip, grip + shift)));
    QThread::msleep(800);

    game.terminate();
    ASSERT_TRUE(game.waitForFinished(15000)) << "the game did not end on SIGTERM";
    EXPECT_TRUE(folder.Read(QStringLiteral("Exception.log")).contains("OnPlayExit\n"));
    EXPECT_TRUE(folder.Read(QStringLiteral("Exception.log")).contains("END SESSION"));

    CGP_Puzzle saved;
    ASSERT_TRUE(saved.OpenFile(path)) << "the puzzle file was left damaged";
    const GP_PiecePtr piece = PieceAt(saved, 5);
    ASSERT_TRUE(piece);
    EXPECT_EQ(QPoint(piece->m_nX, piece->m_nY), QPoint(moved->m_nX, moved->m_nY) + shift) << "the drag was not saved";
    for (int index = 0; index < 5; ++index) {
        const GP_PiecePtr still = PieceAt(saved, index);
        EXPECT_EQ(QPoint(still->m_nX, still->m_nY), QPoint(PieceAt(*puzzle, index)->m_nX, PieceAt(*puzzle, index)->m_nY)) << index;
    }
    EXPECT_GE(saved.m_nSolvingTime, 5);
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("Puzzles/Cash/Meadow.cash"))));
}
