// The screens on the real view, played with the mouse: Ctrl-clicks select several puzzles and
// the popup's Play then asks for one; the close question answered No leaves the library as it
// was; the wheel scrolls only the library; a double-click opens the puzzle it was made on, and a
// calendar day's puzzle is played and left back to the calendar; the tabs show one screen each
// with its tab pressed.
#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "skin/BmpButton.h"
#include "skin/SkinableBase.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/Waits.h"
#include "tests/view/HelpArrowChecks.h"
#include "tests/view/model/LibraryTestSupport.h"
#include "view/ChildView.h"
#include "view/HelpOverlayWindow.h"
#include "view/LibraryCommands.h"
#include "view/LibraryScreen.h"
#include "view/CalendarScreen.h"
#include "view/ScreenCanvas.h"
#include "view/model/PlaySession.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
CBmpButton* PictureButton(QWidget& canvas, int id)
{
    for (auto* button : canvas.findChildren<CBmpButton*>()) {
        if (WINSKIN::ControlId(button) == id)
            return button;
    }
    return nullptr;
}

void Wheel(QWidget& target, int delta)
{
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&target, &event);
}

// The picture buttons with these numbers, spanned by one rectangle on the view (the first and
// the last of a row or a block span it).
QRect ButtonsOnView(CChildView& view, std::initializer_list<int> ids)
{
    QRect all;
    for (int id : ids)
        all |= OnView(view, *PictureButton(*view.Screens(), id));
    return all;
}

// The screen's help picture goes with a click, as the player takes it away.
void DismissHelp(CChildView& view)
{
    while (view.HelpWindow()->IsShown())
        QTest::mouseClick(view.Screens(), Qt::LeftButton, {}, QPoint(5, 700));
}
} // namespace

TEST(Screens, ThePlayerSelectsScrollsAndOpensWithTheMouse)
{
    TestFolder folder;
    CapturedLog log(folder);
    // The game's outline patterns, which a game needs to open.
    for (int index = 1; index <= kPatternCount; ++index) {
        const QString name = QStringLiteral("PATTERNS/Pattern%1.ptn").arg(index);
        folder.Write(name, librarytest::Bytes(QStringLiteral(VELMORA_GAME_DIR "/") + name));
    }
    for (int index = 0; index < 30; ++index)
        librarytest::WritePuzzle(QStringLiteral("Puzzle %1").arg(index, 2, 10, QLatin1Char('0')));
    const QDate today = QDate::currentDate();
    librarytest::WritePuzzle(today.toString(QStringLiteral("yyyy-MM-dd")), 240, 160, 80, true);
    QStringList asked;
    int answer = IDOK;
    const GP_ModalRunner previous = GP_SetModalRunner([&](QDialog& dialog) {
        if (auto* box = dynamic_cast<CMessageBoxDialog*>(&dialog)) {
            box->Create();
            asked << box->ControlAs<QLabel>(CMessageBoxDialog::kTextControl)->text();
        }
        return answer;
    });
    {
        CChildView view;
        view.setGeometry(0, 0, 1024, 768);
        view.show();
        view.repaint();
        QApplication::processEvents();
        ASSERT_TRUE(Eventually([&] { return view.Library().Library().Size() >= 30; }, "the library's listing"));
        view.OnSplashClosed();
        CScreenCanvas& canvas = *view.Screens();
        // The library's help points at the tabs and at "Make Your Own Puzzle" where they lie.
        ASSERT_TRUE(view.HelpWindow()->IsShown());
        ExpectHelpArrowsAt(view, {ButtonsOnView(view, {CScreenCanvas::kTabCalendar, CScreenCanvas::kTabMyPuzzles}),
                                  ButtonsOnView(view, {CLibraryScreen::kMakeOwn})});
        DismissHelp(view);
        CLibraryScreenModel& library = canvas.Library().Model();
        ASSERT_GE(library.Count(), 30u);
        ASSERT_GT(library.Maximum(), 0);
        EXPECT_TRUE(view.ScreenAnimationRunning());
        EXPECT_TRUE(PictureButton(canvas, CScreenCanvas::kTabMyPuzzles)->isChecked());

        // Three Ctrl-clicks select three puzzles; the popup's Play answers 192 and opens nothing.
        const int shown = library.ShownRange().first + library.Layout().Columns();
        for (int index : {shown, shown + 1, shown + 2})
            QTest::mouseClick(&canvas, Qt::LeftButton, Qt::ControlModifier, library.CardRect(index).center());
        EXPECT_EQ(library.Library().Selected().size(), 3u);
        QTest::mouseClick(PictureButton(canvas, CLibraryScreen::kPopupPlay), Qt::LeftButton);
        EXPECT_EQ(asked, QStringList{GP_LoadString(IDS_MULTIPLE_SELECTED)});
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);

        // Close answered No: the selection, the popup and the screen animation stay as they were.
        answer = IDCANCEL;
        const QWidget* popup = PictureButton(canvas, CLibraryScreen::kPopupPlay);
        const bool popupShown = popup->isVisible();
        view.OnMainClose();
        answer = IDOK;
        EXPECT_EQ(asked.last(), GP_LoadString(IDS_ARE_YOU_SURE));
        EXPECT_EQ(library.Library().Selected().size(), 3u);
        EXPECT_EQ(popup->isVisible(), popupShown);
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
        EXPECT_TRUE(view.ScreenAnimationRunning());

        // The wheel scrolls the library, by half its delta, and nothing on the calendar.
        const double scroll = library.Scroll();
        Wheel(canvas, 120);
        EXPECT_EQ(library.Scroll(), scroll + 60);
        view.OnMainCampaign();
        ASSERT_TRUE(view.HelpWindow()->IsShown());
        ExpectHelpArrowsAt(view, {ButtonsOnView(view, {CCalendarScreen::kMonthDown, CCalendarScreen::kMonthUp})});
        DismissHelp(view);
        EXPECT_TRUE(PictureButton(canvas, CScreenCanvas::kTabCalendar)->isChecked());
        EXPECT_FALSE(PictureButton(canvas, CScreenCanvas::kTabMyPuzzles)->isChecked());
        Wheel(canvas, 120);
        EXPECT_EQ(library.Scroll(), scroll + 60);

        // Back on the library, a double-click opens the puzzle clicked, though its press moved
        // it to the front of the list.
        QTest::mouseClick(PictureButton(canvas, CScreenCanvas::kTabMyPuzzles), Qt::LeftButton);
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);
        const auto [first, last] = library.ShownRange();
        const int index = last - 1;
        const QString name = library.Library().Items()[size_t(index)].puzzle->m_strTitle;
        const QPoint centre = library.CardRect(index).center();
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, centre);
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, centre);
        EXPECT_EQ(view.CurrentMode(), GameMode::Play);
        ASSERT_TRUE(view.Session());
        EXPECT_EQ(view.Session()->Puzzle()->m_strTitle, name);
        EXPECT_FALSE(canvas.isVisible()) << "the screens make way for the field";
        view.OnPlayExit();
        EXPECT_EQ(view.CurrentMode(), GameMode::MyPuzzles);

        // Today's calendar puzzle: a double-click on its day plays it, and leaving the game goes
        // back to the calendar.
        view.OnMainCampaign();
        const QPoint day = canvas.Calendar().Model().DayCell(today.day()).center();
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, day);
        ASSERT_EQ(view.CurrentMode(), GameMode::Play);
        EXPECT_EQ(view.Session()->Puzzle()->m_strTitle, today.toString(QStringLiteral("yyyy-MM-dd")));
        view.OnPlayExit();
        EXPECT_EQ(view.CurrentMode(), GameMode::Calendar);
        EXPECT_TRUE(PictureButton(canvas, CScreenCanvas::kTabCalendar)->isChecked());
    }
    GP_SetModalRunner(previous);
}
