// The calendar's and the Treasury's pages: navigation within their ends, the day grid, the page
// text and the empty page offline, the animation's step limit, and the popup and hover box
// kept on the screen.
#include "resources/StringTable.h"
#include "view/model/CalendarScreenModel.h"
#include "view/model/FieldGeometry.h"
#include "view/model/ScreenAnimation.h"
#include "view/model/ScreenLayout.h"
#include "view/model/TreasuryScreenModel.h"

#include <gtest/gtest.h>

TEST(ScreenPages, CalendarNavigationStopsAtTheCalendarsEnds)
{
    struct Row
    {
        const char* fault;
        QDate today;
        int months, years;
        const char* title;
        bool moved;
    } rows[] = {
        {"a month back from January crosses the year", {2012, 1, 15}, -1, 0, "December 2011", true},
        {"nothing after today's month", {2012, 1, 15}, +1, 0, "January 2012", false},
        {"a year back stops at September 2009", {2010, 3, 1}, 0, -1, "September 2009", true},
        {"nothing before September 2009", {2009, 9, 30}, -1, 0, "September 2009", false},
        {"a clock before the calendar still shows its first month", {2001, 1, 1}, 0, +1, "September 2009", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        CCalendarScreenModel calendar(row.today);
        const bool moved = row.months ? calendar.StepMonth(row.months) : calendar.StepYear(row.years);
        EXPECT_EQ(moved, row.moved);
        EXPECT_EQ(calendar.Title(), QLatin1String(row.title));
    }
    // February by the Gregorian rule.
    for (const auto& [year, days] : {std::pair{2012, 29}, {2100, 28}, {2000, 29}, {2011, 28}})
        EXPECT_EQ(CCalendarScreenModel::DaysInMonth(year, 2), days) << year;
}

TEST(ScreenPages, CalendarDaysSitUnderTheirWeekdays)
{
    CCalendarScreenModel calendar(QDate(2011, 3, 20));
    calendar.SetLayout(ScreenLayout(QRect(0, 0, 1024, 768), 52));
    // 1 March 2011 was a Tuesday: the second column of the first week.
    const QRect first = calendar.DayCell(1);
    EXPECT_EQ(calendar.DayCell(7).left(), first.left() - first.width()) << "Monday the 7th starts the next week";
    EXPECT_EQ(calendar.DayCell(7).top(), first.top() + first.height());
    EXPECT_EQ(calendar.DayAt(calendar.DayCell(31).center()), 31);
    EXPECT_EQ(calendar.DayAt(calendar.DayCell(1).center() - QPoint(first.width(), 0)), 0) << "the Monday before is empty";
    EXPECT_EQ(calendar.Date(9), (GP_Date{2011, 3, 9}));
}

TEST(ScreenPages, TreasuryPagesAndTheEmptyPageOffline)
{
    CTreasuryScreenModel treasury;
    treasury.SetPageSize(8);
    EXPECT_EQ(treasury.PageText(), QStringLiteral("Page 1 / 1"));
    EXPECT_TRUE(treasury.PagePuzzles().empty());
    EXPECT_EQ(treasury.EmptyPageText(), GP_LoadString(IDS_CONNECTION_ERROR));
    EXPECT_FALSE(treasury.StepPage(1));
    EXPECT_FALSE(treasury.StepTheme(1));

    // Filled by the content: 20 puzzles make three pages of 8; a theme change starts at page 1.
    GP_TreasuryTheme animals{QStringLiteral("7"), QStringLiteral("Animals"), {}};
    for (int index = 0; index < 20; ++index)
        animals.puzzles.push_back(GP_TreasuryPuzzle{QString::number(index), QStringLiteral("A%1").arg(index), QImage()});
    treasury.SetContent({animals, GP_TreasuryTheme{QStringLiteral("8"), QStringLiteral("Sea"), {}}}, true);
    EXPECT_TRUE(treasury.StepPage(1));
    EXPECT_TRUE(treasury.StepPage(1));
    EXPECT_FALSE(treasury.StepPage(1));
    EXPECT_EQ(treasury.PageText(), QStringLiteral("Page 3 / 3"));
    ASSERT_EQ(treasury.PagePuzzles().size(), 4u);
    EXPECT_EQ(treasury.PagePuzzles().front().name, QStringLiteral("A16"));
    EXPECT_TRUE(treasury.StepTheme(1));
    EXPECT_EQ(treasury.ThemeTitle(), QStringLiteral("Sea"));
    EXPECT_EQ(treasury.PageText(), QStringLiteral("Page 1 / 1"));
    EXPECT_TRUE(treasury.EmptyPageText().isEmpty()) << "an empty theme from a reached server is no error";
}

TEST(ScreenPages, AnimationAdvancesAtMostTwentyMillisecondsATick)
{
    CScreenAnimation animation;
    EXPECT_FALSE(animation.Running());
    animation.Restart();
    EXPECT_TRUE(animation.Advance(400)) << "a late tick";
    EXPECT_DOUBLE_EQ(animation.Opacity(), 20.0 / CScreenAnimation::kFadeMs);
    int ticks = 1;
    while (animation.Advance(CScreenAnimation::kTickMs))
        ++ticks;
    EXPECT_EQ(ticks, CScreenAnimation::kFadeMs / CScreenAnimation::kMaxStepMs);
    EXPECT_DOUBLE_EQ(animation.Opacity(), 1.0);
}

TEST(ScreenPages, ThePopupAndTheHoverBoxNeverLeaveTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const ScreenLayout layout(FieldGeometry::LayoutRect(screen), 52);
    const QSize card = layout.ItemSize();
    struct Row
    {
        const char* fault;
        QPoint cardAt;
        bool left;
    } rows[] = {
        {"room on the right: the popup stands right of the card", {200, 200}, false},
        {"a card at the right edge: the popup goes to its left", {screen.right() - card.width(), 200}, true},
        {"a card at the bottom right: the popup moves up as well", {screen.right() - card.width(), screen.bottom() - 20}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const QRect item(row.cardAt, card);
        const std::array<QRect, 4> popup = layout.Popup(item, screen);
        for (const QRect& button : popup)
            EXPECT_TRUE(screen.contains(button)) << button.x() << "," << button.y();
        EXPECT_EQ(popup[0].right() < item.left(), row.left);
        EXPECT_FALSE(popup[0].intersects(item));
    }
    // The hover box at the pointer, moved back inside past each edge.
    for (const QPoint& pointer : {QPoint(1270, 400), QPoint(600, 790), QPoint(1279, 799), QPoint(-30, -30)})
        EXPECT_TRUE(screen.contains(ScreenLayout::KeepInside(QRect(pointer, QSize(300, 120)), screen)))
            << pointer.x() << "," << pointer.y();
}
