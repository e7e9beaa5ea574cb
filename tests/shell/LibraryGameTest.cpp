// The whole game on an X server of its own, started as a player starts it: the library screen
// shows the puzzles of "Puzzles/simple" with their pictures, a double-click on one opens it for
// play, a real drag joins two pieces (seen in the log and on the screen, where the picture now
// runs on across the seam), the band's X leaves the game for the library, and the puzzle's file
// keeps the join.
#include "shell/dialogs/CaptionPanel.h"
#include "tests/shell/XGame.h"
#include "view/model/FieldGeometry.h"
#include "view/model/LibraryScreenModel.h"

#include <QProcess>
#include <QThread>

#include <boost/make_shared.hpp>

#include <memory>
#include <set>

#include <gtest/gtest.h>

namespace {
constexpr QSize kScreen{1024, 768};
// The game band's X: 28 pixels square, its right edge 16 pixels in from the band's, 8 down.
constexpr QPoint kBandClose{1024 - 16 - 14, 8 + 14};

// Where the library screen draws its cards for that many puzzles (the list fits one screen).
std::unique_ptr<CLibraryScreenModel> CardsFor(CPuzzleLibrary& library, int count)
{
    library.Update([count](std::vector<GP_LibraryItem>& items) {
        for (int index = 0; index < count; ++index)
            items.push_back(GP_LibraryItem{boost::make_shared<CGP_Puzzle>(), false, {}});
    });
    auto model = std::make_unique<CLibraryScreenModel>(library);
    model->SetLayout(ScreenLayout(FieldGeometry::LayoutRect(QRect(QPoint(), kScreen)), CCaptionPanel::kHeight));
    return model;
}

// Whether the card shows the puzzle's thumbnail: a point a quarter in from the picture's
// top-left corner, where the card draws it scaled into its frame.
::testing::AssertionResult ShowsThumbnail(const QImage& screen, const QRect& card, int inset, const QImage& thumbnail)
{
    const QRect inside = card.adjusted(inset, inset, -inset, -inset);
    const QSize shown = thumbnail.size().scaled(inside.size(), Qt::KeepAspectRatio);
    const QPoint corner(inside.left() + (inside.width() - shown.width()) / 2, inside.top() + (inside.height() - shown.height()) / 2);
    const QPoint at = corner + QPoint(shown.width() / 4, shown.height() / 4);
    const QRgb seen = screen.pixel(at);
    const QRgb own = thumbnail.pixel(thumbnail.width() / 4, thumbnail.height() / 4);
    const int difference = std::abs(qRed(seen) - qRed(own)) + std::abs(qGreen(seen) - qGreen(own)) + std::abs(qBlue(seen) - qBlue(own));
    if (difference <= 24)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at " << at.x() << "," << at.y() << " the screen shows #" << std::hex << seen
                                         << ", the thumbnail #" << own;
}
} // namespace

TEST(LibraryGame, APuzzleOpenedFromTheLibraryIsPlayedLeftByTheBandAndKeepsItsJoin)
{
    VELMORA_SKIP_WITHOUT_X_TOOLS();
    TestFolder folder;
    // Three puzzles, listed by name: Harbour, Meadow (laid out for the join), Orchard.
    const QString path = folder.File(QStringLiteral("Puzzles/simple/Meadow.pzl"));
    const boost::shared_ptr<CGP_Puzzle> puzzle = LayOutPuzzle(folder, path);
    for (const char* other : {"Harbour", "Orchard"})
        ASSERT_TRUE(QFile::copy(path, folder.File(QStringLiteral("Puzzles/simple/%1.pzl").arg(QLatin1String(other)))));
    CGP_Puzzle listed;
    ASSERT_EQ(CPuzzleLibrary::ReadForList(path, QStringLiteral("Meadow"), listed), CPuzzleLibrary::ReadResult::Listed);
    ASSERT_TRUE(listed.m_pThumbnail && !listed.m_pThumbnail->isNull());
    const QImage thumbnail = *listed.m_pThumbnail;
    CPuzzleLibrary cardsLibrary;
    const std::unique_ptr<CLibraryScreenModel> cards = CardsFor(cardsLibrary, 3);
    const int inset = cards->Layout().Scaled(ScreenLayout::kCardInset);
    const JoinDrag join = JoinDragOf(*puzzle);

    XServer server;
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start";
    QProcess game;
    StartGame(game, folder, server, {});
    ASSERT_TRUE(WaitForLog(folder, "ChangeGameMode\n", 30000)) << "the splash never gave way to the library";
    QThread::msleep(1000);
    // The library's help picture goes with a click below the cards.
    ASSERT_TRUE(ClickAt(server.Display(), QPoint(300, 740)));
    QThread::msleep(800);

    const QImage library = ScreenShot(server.Display(), folder, QStringLiteral("library.png"));
    for (int index = 0; index < 3; ++index)
        EXPECT_TRUE(ShowsThumbnail(library, cards->CardRect(index), inset, thumbnail)) << "card " << index;
    EXPECT_FALSE(ShowsThumbnail(library, cards->CardRect(3), inset, thumbnail)) << "a fourth card with three puzzles";

    ASSERT_TRUE(DoubleClickAt(server.Display(), cards->CardRect(1).center()));
    ASSERT_TRUE(WaitForLog(folder, "ChangeGameMode\n", 20000, "OnMainPlay\n"))
        << "the double-click opened nothing:\n" << folder.Read(QStringLiteral("Exception.log")).toStdString();
    QThread::msleep(1500);
    // The first game's help picture goes with a click on the board.
    ASSERT_TRUE(ClickAt(server.Display(), QPoint(500, 700)));
    QThread::msleep(800);
    const QRgb board = ScreenShot(server.Display(), folder, QStringLiteral("before.png")).pixel(join.origin + QPoint(150, 50));
    ASSERT_TRUE(RunOnDisplay(server.Display(), QStringLiteral("xdotool"), DragArguments(join.grip, join.drop)));
    EXPECT_TRUE(WaitForLog(folder, "PlaySession: a drop joined pieces, 5 groups left\n", 10000)) << "no join in the log";
    QThread::msleep(500);
    // Inside both cells, away from the tabs (they sit in the middle third of a side and reach
    // less than a third in), the screen shows the picture's own colours on both sides of the seam.
    const QImage seam = ScreenShot(server.Display(), folder, QStringLiteral("joined.png"));
    const QImage picture = CellPicture(3 * kPiece, 2 * kPiece, kPiece);
    for (const QPoint sample : {QPoint(20, 20), QPoint(80, 20), QPoint(20, 80), QPoint(50, 50), QPoint(120, 20),
                                QPoint(180, 20), QPoint(150, 50)}) {
        const QRgb shown = seam.pixel(join.origin + sample);
        const QRgb expected = picture.pixel(sample);
        EXPECT_LE(std::abs(qRed(shown) - qRed(expected)) + std::abs(qGreen(shown) - qGreen(expected))
                      + std::abs(qBlue(shown) - qBlue(expected)), 6)
            << "at " << sample.x() << "," << sample.y();
    }
    EXPECT_NE(board, picture.pixel(150, 50)) << "the place was board before the drop";

    ASSERT_TRUE(ClickAt(server.Display(), kBandClose));
    ASSERT_TRUE(WaitForLog(folder, "ChangeGameMode\n", 15000, "OnPlayExit\n")) << "the band's X did not leave the game";
    QThread::msleep(1000);
    // Back on the library, the puzzle just played stands first.
    const QImage back = ScreenShot(server.Display(), folder, QStringLiteral("back.png"));
    EXPECT_TRUE(ShowsThumbnail(back, cards->CardRect(0), inset, thumbnail));

    game.terminate();
    if (!game.waitForFinished(10000))
        game.kill();
    CGP_Puzzle saved;
    ASSERT_TRUE(saved.OpenFile(path)) << "the puzzle file was left damaged";
    EXPECT_EQ(saved.m_pGroups->Snapshot().size(), 5u) << "the join was not saved";
    bool joined = false;
    for (const GP_GroupPtr& group : saved.m_pGroups->Snapshot()) {
        std::set<int> indices;
        for (const GP_PiecePtr& piece : group->m_pieces)
            indices.insert(piece->m_nIndex);
        joined = joined || indices == std::set<int>{0, 1};
    }
    EXPECT_TRUE(joined) << "the first two pieces are not one group in the file";
}
