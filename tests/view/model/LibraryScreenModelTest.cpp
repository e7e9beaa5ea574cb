// The library screen's rules: what a press, a band and a double-click select and open, the
// scroll position with its thumb, and the hover box's texts.
#include "resources/StringTable.h"
#include "view/model/FieldGeometry.h"
#include "view/model/LibraryScreenModel.h"

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

namespace {
constexpr int kBand = 52;

// A library of named puzzles in memory, laid out on a 1024 x 768 screen.
struct Screen
{
    explicit Screen(int count, QRect window = QRect(0, 0, 1024, 768))
        : model(library)
    {
        library.Update([count](std::vector<GP_LibraryItem>& items) {
            for (int index = 0; index < count; ++index) {
                GP_LibraryItem item;
                item.puzzle = boost::make_shared<CGP_Puzzle>();
                item.puzzle->m_strTitle = QStringLiteral("P%1").arg(index);
                items.push_back(item);
            }
        });
        model.SetLayout(ScreenLayout(FieldGeometry::LayoutRect(window), kBand));
    }
    // The names in list order, selected ones marked with '*'.
    QString List() const
    {
        QStringList names;
        for (const GP_LibraryItem& item : library.Items())
            names << item.puzzle->m_strTitle + (item.selected ? QStringLiteral("*") : QString());
        return names.join(QLatin1Char(' '));
    }
    QPoint Centre(int index) const { return model.CardRect(index).center(); }
    // Empty space: the gap left of a card.
    QPoint Gap(int index) const { return model.CardRect(index).topLeft() - QPoint(4, -4); }
    CPuzzleLibrary library;
    CLibraryScreenModel model;
};
} // namespace

TEST(LibraryScreenModel, PressesAndBandsSelectAsThePlayerMeans)
{
    struct Row
    {
        const char* fault;
        std::function<void(Screen&)> play;
        const char* list;
        const char* current;
    } rows[] = {
        {"Ctrl-clicks add each item and move none", [](Screen& s) {
             for (int index : {1, 2, 3})
                 s.model.Press(s.Centre(index), true), s.model.Release();
         }, "P1* P0 P2* P3* P4 P5", "P1"},
        {"a plain click keeps one item and brings it to the front", [](Screen& s) {
             s.model.Press(s.Centre(1), true), s.model.Release();
             s.model.Press(s.Centre(4), false), s.model.Release();
         }, "P4* P1 P0 P2 P3 P5", "P4"},
        {"a band with Ctrl adds the covered items to the selection", [](Screen& s) {
             s.model.Press(s.Centre(5), false), s.model.Release();
             s.model.Press(s.Gap(2), true);
             s.model.Move(s.Centre(3));
             s.model.Release();
         }, "P5* P0 P1* P2* P3 P4", "P5"},
        {"a band without Ctrl starts a new selection", [](Screen& s) {
             s.model.Press(s.Centre(5), false), s.model.Release();
             s.model.Press(s.Gap(2), false);
             s.model.Move(s.Centre(3));
             s.model.Release();
         }, "P5 P0 P1* P2* P3 P4", "P5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Screen screen(6);
        row.play(screen);
        EXPECT_EQ(screen.List(), QLatin1String(row.list));
        ASSERT_TRUE(screen.model.Current());
        EXPECT_EQ(screen.model.Current()->m_strTitle, QLatin1String(row.current));
    }
}

TEST(LibraryScreenModel, PointerEffectsAndCommandsThatNeedOnePuzzle)
{
    Screen screen(6);
    // A press on empty space draws a band with the cross-hair and hides the popup.
    GP_ScreenEffects press = screen.model.Press(screen.Gap(0), false);
    EXPECT_TRUE(press.bandCursor && press.hidePopup && press.hideHover && press.captureOn);
    EXPECT_EQ(screen.model.Band().size(), QSize(1, 1));
    GP_ScreenEffects release = screen.model.Release();
    EXPECT_TRUE(release.arrowCursor && release.captureOff);
    EXPECT_EQ(release.popupDelayMs, -1) << "no puzzle is current: no popup";
    EXPECT_EQ(screen.model.SinglePuzzleCommand().message, IDS_NONE_SELECTED);

    // A release with a puzzle current brings the popup after 500 ms, beside that puzzle.
    screen.model.Press(screen.Centre(3), false);
    release = screen.model.Release();
    EXPECT_EQ(release.popupDelayMs, 500);
    EXPECT_EQ(screen.model.CurrentCard(), screen.model.CardRect(0)) << "the picked puzzle went to the front";

    // The double-click's press moved P4 to the front; the double-click still opens P4, not the
    // puzzle that slid into its place.
    Screen clicked(6);
    const QPoint fifth = clicked.Centre(4);
    clicked.model.Press(fifth, false);
    clicked.model.Release();
    GP_ScreenEffects twice = clicked.model.DoubleClick(fifth);
    ASSERT_TRUE(twice.open);
    EXPECT_EQ(twice.open->m_strTitle, QStringLiteral("P4"));

    // With three selected, the double-click and "Play" both answer 192 and open nothing.
    for (int index : {1, 2, 3})
        clicked.model.Press(clicked.Centre(index), true), clicked.model.Release();
    twice = clicked.model.DoubleClick(clicked.Centre(3));
    EXPECT_EQ(twice.message, IDS_MULTIPLE_SELECTED);
    EXPECT_FALSE(twice.open);
    const GP_ScreenEffects play = clicked.model.SinglePuzzleCommand();
    EXPECT_EQ(play.message, IDS_MULTIPLE_SELECTED);
    EXPECT_FALSE(play.open);
}

TEST(LibraryScreenModel, ScrollStaysInItsRangeAndTheThumbFollows)
{
    struct Row
    {
        const char* fault;
        QRect window;
        int puzzles;
    } rows[] = {
        {"4:3", {0, 0, 1024, 768}, 40},
        {"wide, layout centred", {0, 0, 1920, 1080}, 60},
        {"few puzzles: nothing to scroll", {0, 0, 1280, 800}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Screen screen(row.puzzles, row.window);
        const QRect layout = FieldGeometry::LayoutRect(row.window);
        const int a = int(std::lround(layout.height() / 1.064));
        const int b = int(std::lround(layout.height() / 11.7));
        const double maximum = screen.model.Maximum();
        EXPECT_EQ(screen.model.Thumb().top(), a) << "position 0 is the bottom of the track";
        EXPECT_EQ(screen.model.Thumb().left(), int(std::lround(layout.width() / 1.03 + layout.left())));
        EXPECT_EQ(screen.model.Thumb().width(), int(std::lround(layout.width() / 40.0)));
        if (maximum == 0) {
            EXPECT_FALSE(screen.model.Wheel(-120)) << "nothing moves, and no division by zero";
            EXPECT_EQ(screen.model.Thumb().top(), a);
            continue;
        }
        // Position 0 shows the list's last row, the maximum its first.
        const QRect area = screen.model.Layout().LibraryArea();
        EXPECT_TRUE(area.contains(screen.model.CardRect(row.puzzles - 1)));
        EXPECT_LT(screen.model.CardRect(0).top(), area.top());
        EXPECT_TRUE(screen.model.SetScroll(1e9));
        EXPECT_EQ(screen.model.Scroll(), maximum);
        EXPECT_EQ(screen.model.Thumb().top(), b);
        EXPECT_EQ(screen.model.CardRect(0).top(), area.top());
        // The wheel adds half its delta; the arrows a row; the thumb dragged to its ends.
        EXPECT_TRUE(screen.model.Wheel(-120));
        EXPECT_EQ(screen.model.Scroll(), maximum - 60);
        EXPECT_TRUE(screen.model.Step(-1));
        EXPECT_EQ(screen.model.Scroll(), maximum - 60 - screen.model.Layout().Pitch().height());
        EXPECT_TRUE(screen.model.DragThumbTo(a + 500));
        EXPECT_EQ(screen.model.Scroll(), 0);
        EXPECT_FALSE(screen.model.Step(-1)) << "clamped at 0";
        EXPECT_TRUE(screen.model.DragThumbTo(b));
        EXPECT_EQ(screen.model.Scroll(), maximum);
    }

    // The position kept with the settings survives the start: the screen is laid out while the
    // list is still empty, and only the read list can hold it.
    Screen restarted(0);
    restarted.model.RestoreScroll(250);
    EXPECT_EQ(restarted.model.Scroll(), 0);
    restarted.library.Update([](std::vector<GP_LibraryItem>& items) {
        for (int index = 0; index < 40; ++index)
            items.push_back(GP_LibraryItem{boost::make_shared<CGP_Puzzle>(), false, {}});
    });
    restarted.model.Refresh();
    ASSERT_GT(restarted.model.Maximum(), 250);
    EXPECT_EQ(restarted.model.Scroll(), 250);
}

TEST(LibraryScreenModel, HoverTextsOfNewUnsolvedAndSolvedPuzzles)
{
    const auto puzzle = [](bool fresh, bool solved, const char* author) {
        auto made = boost::make_shared<CGP_Puzzle>();
        CGP_Puzzle& p = *made;
        p.m_strTitle = QStringLiteral("Harbour");
        p.m_strCreator = QLatin1String(author);
        p.m_nColumns = 6;
        p.m_nRows = 4;
        p.m_fPieceSize = 80.6f;
        p.m_bFresh = fresh;
        p.m_bSolved = solved;
        p.m_fSolvedPercent = solved ? 100 : 37.9f;
        p.m_nSolvingTime = 3723;
        return made;
    };
    struct Row
    {
        const char* fault;
        boost::shared_ptr<CGP_Puzzle> puzzle;
        const char* text;
    } rows[] = {
        {"a new puzzle: 209 and NEW!", puzzle(true, false, "Ann"), "Harbour\n483 x 322\nPieces: 24\nNEW!"},
        {"unsolved with an author: 210, percent truncated", puzzle(false, false, "Ann"),
         "Harbour\nAuthor: Ann\nPicture: 483 x 322, Pieces: 24\n Solved: 37% Time: 1:02:03"},
        {"unsolved without an author: 211", puzzle(false, false, ""),
         "Harbour\nPicture: 483 x 322, Pieces: 24\n Solved: 37% Time: 1:02:03"},
        {"solved: 212", puzzle(false, true, "Ann"), "Harbour\nAuthor: Ann\nPicture: 483 x 322, Pieces: 24\n Time: 1:02:03"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CLibraryScreenModel::HoverText(*row.puzzle), QString::fromUtf8(row.text)) << row.fault;
}
