#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

// Where the library, calendar and Treasury screens put their buttons and items. Everything is
// placed and scaled by fractions of the layout rectangle (FieldGeometry::LayoutRect), so the
// screens keep their shape from 1024 x 768 to 2560 x 1440. The pictures were drawn for a layout
// 1024 wide and 768 high; Scale() is how much larger this layout is.
class ScreenLayout
{
public:
    // The picture buttons' own sizes in a 1024 x 768 layout.
    static constexpr QSize kTabSize{180, 44};
    static constexpr QSize kPopupSize{150, 34};
    static constexpr QSize kMakeOwnSize{240, 46};
    static constexpr QSize kArrowSize{30, 30};
    static constexpr QSize kNavigationSize{34, 34};
    static constexpr QSize kPageArrowSize{40, 40};
    static constexpr QSize kGetSelectedSize{180, 40};
    // A library item: the thumbnail's card and the name and mark under it.
    static constexpr int kThumbnailSide = 140;
    static constexpr int kCardInset = 12;
    static constexpr QSize kItemPitch{184, 214};

    // layout: the layout rectangle; top: the first row the screen may use (below the caption
    // band).
    ScreenLayout(const QRect& layout, int top);

    const QRect& Layout() const { return m_layout; }
    double Scale() const { return m_scale; }
    int Scaled(int pixels) const;
    QSize Scaled(const QSize& size) const;

    // The three tabs (calendar, Treasury, my puzzles).
    std::array<QRect, 3> Tabs() const;

    // The library: the area its items are drawn in, the card of an item (its thumbnail sits
    // kCardInset in), the scroll arrows and "Make your own puzzle".
    QRect LibraryArea() const;
    QSize ItemSize() const;
    QSize Pitch() const;
    int Columns() const;
    QRect ScrollUp() const;
    QRect ScrollDown() const;
    QRect MakeOwn() const;

    // The scroll thumb for a scroll position and its maximum: at x = width / 1.03 + left, width
    // / 40 wide, 0.7 of that high, and at y = a - (a - b) x position / maximum with
    // a = height / 1.064 and b = height / 11.7, so position 0 is at the bottom of the track.
    // With nothing to scroll (maximum 0) the thumb rests at the bottom.
    QRect Thumb(double position, double maximum) const;
    // The positions of the thumb's top at position 0 and at the maximum.
    int ThumbBottom() const;
    int ThumbTop() const;
    // The scroll position whose thumb top is at y.
    double PositionForThumbTop(int y, double maximum) const;

    // The four popup buttons beside an item's card: to its right, or to its left when they
    // would leave the screen, and moved up when they would run off its bottom.
    std::array<QRect, 4> Popup(const QRect& card, const QRect& screen) const;

    // The calendar: month and year arrows around the month's title, and the day grid below.
    QRect CalendarTitle() const;
    QRect MonthDown() const;
    QRect MonthUp() const;
    QRect YearDown() const;
    QRect YearUp() const;
    QRect DayGrid() const;

    // The Treasury: theme arrows around the theme tab, the page arrows around the page text, the
    // page area and the two download buttons.
    QRect ThemeLeft() const;
    QRect ThemeTab() const;
    QRect ThemeRight() const;
    QRect PageLeft() const;
    QRect PageText() const;
    QRect PageRight() const;
    QRect TreasuryArea() const;
    QRect GetSelected() const;
    QRect GetSelectedBelow() const;

    // A box of that size placed at an anchor (its top-left), moved so that it stays wholly on
    // the screen.
    static QRect KeepInside(const QRect& box, const QRect& screen);

private:
    int TabRowTop() const;
    int AreaTop() const;
    int Right() const;
    int Bottom() const;

    QRect m_layout;
    int m_top;
    double m_scale;
};
