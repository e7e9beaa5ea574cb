#include "view/model/ScreenLayout.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kBaseWidth = 1024.0;
constexpr double kBaseHeight = 768.0;
// The thumb track's rule.
constexpr double kThumbLeftDivisor = 1.03;
constexpr double kThumbWidthDivisor = 40.0;
constexpr double kThumbHeightShare = 0.7;
constexpr double kTrackBottomDivisor = 1.064;
constexpr double kTrackTopDivisor = 11.7;
// Margins of a 1024 x 768 layout.
constexpr int kMargin = 24;
constexpr int kGap = 8;
constexpr int kTabRowTop = 14;
constexpr int kAreaGap = 16;
constexpr int kBottomRow = 70;
constexpr int kPopupGap = 6;
constexpr int kPopupStep = 4;
constexpr int kTitleWidth = 260;

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}
} // namespace

ScreenLayout::ScreenLayout(const QRect& layout, int top)
    : m_layout(layout)
    , m_top(std::max(top, layout.top()))
    , m_scale(std::max(0.25, std::min(layout.width() / kBaseWidth, layout.height() / kBaseHeight)))
{
}

int ScreenLayout::Scaled(int pixels) const
{
    return Round(pixels * m_scale);
}

QSize ScreenLayout::Scaled(const QSize& size) const
{
    return QSize(Scaled(size.width()), Scaled(size.height()));
}

int ScreenLayout::Right() const
{
    return m_layout.left() + m_layout.width();
}

int ScreenLayout::Bottom() const
{
    return m_layout.top() + m_layout.height();
}

int ScreenLayout::TabRowTop() const
{
    return m_top + Scaled(kTabRowTop);
}

int ScreenLayout::AreaTop() const
{
    return TabRowTop() + Scaled(kTabSize.height()) + Scaled(kAreaGap);
}

std::array<QRect, 3> ScreenLayout::Tabs() const
{
    const QSize size = Scaled(kTabSize);
    std::array<QRect, 3> tabs;
    int x = m_layout.left() + Scaled(kMargin);
    for (QRect& tab : tabs) {
        tab = QRect(QPoint(x, TabRowTop()), size);
        x += size.width() + Scaled(kGap);
    }
    return tabs;
}

QRect ScreenLayout::LibraryArea() const
{
    const int top = AreaTop();
    const int left = m_layout.left() + Scaled(kMargin);
    const int right = ScrollUp().left() - Scaled(kGap);
    const int bottom = Bottom() - Scaled(kBottomRow);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

QSize ScreenLayout::ItemSize() const
{
    const int card = Scaled(kThumbnailSide + 2 * kCardInset);
    return QSize(card, card);
}

QSize ScreenLayout::Pitch() const
{
    return Scaled(kItemPitch);
}

int ScreenLayout::Columns() const
{
    return std::max(1, LibraryArea().width() / std::max(1, Pitch().width()));
}

QRect ScreenLayout::ScrollUp() const
{
    const QSize size = Scaled(kArrowSize);
    return QRect(QPoint(Thumb(0, 0).left() - Scaled(kGap) - size.width(), AreaTop()), size);
}

QRect ScreenLayout::ScrollDown() const
{
    const QRect up = ScrollUp();
    return QRect(QPoint(up.left(), Bottom() - Scaled(kBottomRow) - up.height()), up.size());
}

QRect ScreenLayout::MakeOwn() const
{
    const QSize size = Scaled(kMakeOwnSize);
    return QRect(QPoint(m_layout.left() + Scaled(kMargin), Bottom() - Scaled(kBottomRow) + (Scaled(kBottomRow) - size.height()) / 2),
                 size);
}

int ScreenLayout::ThumbBottom() const
{
    return Round(m_layout.height() / kTrackBottomDivisor);
}

int ScreenLayout::ThumbTop() const
{
    return Round(m_layout.height() / kTrackTopDivisor);
}

QRect ScreenLayout::Thumb(double position, double maximum) const
{
    const int width = Round(m_layout.width() / kThumbWidthDivisor);
    const int height = Round(kThumbHeightShare * width);
    const int x = Round(m_layout.width() / kThumbLeftDivisor + m_layout.left());
    const int a = ThumbBottom();
    const int b = ThumbTop();
    // Nothing to scroll: no division by zero, the thumb stays where position 0 puts it.
    const double share = maximum > 0 ? std::clamp(position / maximum, 0.0, 1.0) : 0.0;
    return QRect(x, Round(a - (a - b) * share), width, height);
}

double ScreenLayout::PositionForThumbTop(int y, double maximum) const
{
    const int a = ThumbBottom();
    const int b = ThumbTop();
    if (maximum <= 0 || a == b)
        return 0;
    return std::clamp(double(a - y) / (a - b), 0.0, 1.0) * maximum;
}

std::array<QRect, 4> ScreenLayout::Popup(const QRect& card, const QRect& screen) const
{
    const QSize size = Scaled(kPopupSize);
    const int step = size.height() + Scaled(kPopupStep);
    const int columnHeight = 3 * step + size.height();
    int x = card.right() + 1 + Scaled(kPopupGap);
    if (x + size.width() > screen.right() + 1)
        x = card.left() - Scaled(kPopupGap) - size.width();
    const QRect column = KeepInside(QRect(x, card.top(), size.width(), columnHeight), screen);
    std::array<QRect, 4> buttons;
    for (int index = 0; index < 4; ++index)
        buttons[size_t(index)] = QRect(QPoint(column.left(), column.top() + index * step), size);
    return buttons;
}

QRect ScreenLayout::CalendarTitle() const
{
    const QRect area = LibraryArea();
    const int width = Scaled(kTitleWidth);
    const QSize arrow = Scaled(kNavigationSize);
    return QRect(area.left() + (area.width() - width) / 2, area.top(), width, 2 * arrow.height() + Scaled(kGap));
}

QRect ScreenLayout::MonthDown() const
{
    const QRect title = CalendarTitle();
    const QSize size = Scaled(kNavigationSize);
    return QRect(QPoint(title.left() - Scaled(kGap) - size.width(), title.top()), size);
}

QRect ScreenLayout::MonthUp() const
{
    const QRect title = CalendarTitle();
    return QRect(QPoint(title.right() + 1 + Scaled(kGap), title.top()), Scaled(kNavigationSize));
}

QRect ScreenLayout::YearDown() const
{
    const QRect down = MonthDown();
    return down.translated(0, down.height() + Scaled(kGap));
}

QRect ScreenLayout::YearUp() const
{
    const QRect up = MonthUp();
    return up.translated(0, up.height() + Scaled(kGap));
}

QRect ScreenLayout::DayGrid() const
{
    const QRect area = LibraryArea();
    const QRect title = CalendarTitle();
    const int top = title.bottom() + 1 + Scaled(kAreaGap);
    return QRect(area.left(), top, area.width(), std::max(0, area.bottom() + 1 - top));
}

QRect ScreenLayout::ThemeTab() const
{
    const QRect area = LibraryArea();
    const QSize size = Scaled(kTabSize);
    return QRect(QPoint(area.left() + Scaled(kNavigationSize.width()) + Scaled(kGap), area.top()), size);
}

QRect ScreenLayout::ThemeLeft() const
{
    const QRect tab = ThemeTab();
    const QSize size = Scaled(kNavigationSize);
    return QRect(QPoint(tab.left() - Scaled(kGap) - size.width(), tab.top() + (tab.height() - size.height()) / 2), size);
}

QRect ScreenLayout::ThemeRight() const
{
    const QRect tab = ThemeTab();
    const QSize size = Scaled(kNavigationSize);
    return QRect(QPoint(tab.right() + 1 + Scaled(kGap), tab.top() + (tab.height() - size.height()) / 2), size);
}

QRect ScreenLayout::PageText() const
{
    const QRect area = LibraryArea();
    const QRect tab = ThemeTab();
    const int width = Scaled(kTitleWidth) / 2;
    const QSize arrow = Scaled(kPageArrowSize);
    return QRect(area.right() + 1 - arrow.width() - Scaled(kGap) - width, tab.top() + (tab.height() - arrow.height()) / 2,
                 width, arrow.height());
}

QRect ScreenLayout::PageLeft() const
{
    const QRect text = PageText();
    const QSize size = Scaled(kPageArrowSize);
    return QRect(QPoint(text.left() - Scaled(kGap) - size.width(), text.top()), size);
}

QRect ScreenLayout::PageRight() const
{
    const QRect text = PageText();
    return QRect(QPoint(text.right() + 1 + Scaled(kGap), text.top()), Scaled(kPageArrowSize));
}

QRect ScreenLayout::TreasuryArea() const
{
    const QRect area = LibraryArea();
    const int top = ThemeTab().bottom() + 1 + Scaled(kAreaGap);
    return QRect(area.left(), top, area.width(), std::max(0, area.bottom() + 1 - top));
}

QRect ScreenLayout::GetSelected() const
{
    const QSize size = Scaled(kGetSelectedSize);
    const QRect make = MakeOwn();
    return QRect(QPoint(make.left(), make.top() + (make.height() - size.height()) / 2), size);
}

QRect ScreenLayout::GetSelectedBelow() const
{
    const QRect first = GetSelected();
    return first.translated(first.width() + Scaled(kGap), 0);
}

QRect ScreenLayout::KeepInside(const QRect& box, const QRect& screen)
{
    QRect placed = box;
    if (placed.right() > screen.right())
        placed.moveRight(screen.right());
    if (placed.bottom() > screen.bottom())
        placed.moveBottom(screen.bottom());
    if (placed.left() < screen.left())
        placed.moveLeft(screen.left());
    if (placed.top() < screen.top())
        placed.moveTop(screen.top());
    return placed;
}
