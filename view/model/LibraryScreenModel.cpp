#include "view/model/LibraryScreenModel.h"

#include "resources/StringTable.h"
#include "view/model/PrintfText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;

// The picture's size as its cut gives it: columns and rows times the piece size, truncated.
int PictureWidth(const CGP_Puzzle& puzzle)
{
    return static_cast<int>(puzzle.m_nColumns * puzzle.m_fPieceSize);
}

int PictureHeight(const CGP_Puzzle& puzzle)
{
    return static_cast<int>(puzzle.m_nRows * puzzle.m_fPieceSize);
}
} // namespace

CLibraryScreenModel::CLibraryScreenModel(CPuzzleLibrary& library)
    : m_library(library)
{
}

void CLibraryScreenModel::SetLayout(const ScreenLayout& layout)
{
    m_layout = layout;
    Refresh();
}

void CLibraryScreenModel::Refresh()
{
    const std::vector<GP_LibraryItem> items = Items();
    m_count = items.size();
    const int columns = m_layout.Columns();
    const int rows = int((m_count + size_t(columns) - 1) / size_t(columns));
    const int pitch = m_layout.Pitch().height();
    m_maximum = std::max(0, rows * pitch - m_layout.LibraryArea().height());
    m_scroll = std::clamp(m_scroll, 0.0, m_maximum);
    if (m_restoreScroll >= 0 && m_count > 0 && !m_layout.LibraryArea().isEmpty()) {
        SetScroll(m_restoreScroll);
        m_restoreScroll = -1;
    }
    const auto listed = [&](const GP_PuzzlePtr& puzzle) {
        return std::any_of(items.begin(), items.end(), [&](const GP_LibraryItem& item) { return item.puzzle == puzzle; });
    };
    if (m_current && !listed(m_current))
        m_current.reset();
    if (m_pressed && !listed(m_pressed))
        m_pressed.reset();
}

int CLibraryScreenModel::RowOffset() const
{
    return static_cast<int>(std::lround(m_maximum - m_scroll));
}

QRect CLibraryScreenModel::CardRect(int index) const
{
    const int columns = m_layout.Columns();
    const QRect area = m_layout.LibraryArea();
    const QSize pitch = m_layout.Pitch();
    const QSize card = m_layout.ItemSize();
    const int column = index % columns;
    const int row = index / columns;
    return QRect(QPoint(area.left() + column * pitch.width() + (pitch.width() - card.width()) / 2,
                        area.top() + row * pitch.height() - RowOffset()),
                 card);
}

std::pair<int, int> CLibraryScreenModel::ShownRange() const
{
    const int columns = m_layout.Columns();
    const int pitch = std::max(1, m_layout.Pitch().height());
    const int offset = RowOffset();
    const int first = std::max(0, offset / pitch) * columns;
    const int last = (offset + m_layout.LibraryArea().height()) / pitch + 1;
    return {std::min(first, int(m_count)), std::min(last * columns, int(m_count))};
}

int CLibraryScreenModel::ItemAt(const QPoint& point) const
{
    if (!m_layout.LibraryArea().contains(point))
        return -1;
    const auto [first, last] = ShownRange();
    for (int index = first; index < last; ++index) {
        if (CardRect(index).contains(point))
            return index;
    }
    return -1;
}

GP_ScreenEffects CLibraryScreenModel::Press(const QPoint& point, bool ctrl)
{
    GP_ScreenEffects effects;
    effects.hideHover = true;
    effects.repaint = true;
    effects.captureOn = true;
    const int index = ItemAt(point);
    if (index < 0) {
        m_pressed.reset();
        effects.hidePopup = true;
        effects.bandCursor = true;
        m_bandActive = true;
        m_bandStart = m_bandEnd = point;
        if (!ctrl)
            m_library.Update([](std::vector<GP_LibraryItem>& items) {
                for (GP_LibraryItem& item : items)
                    item.selected = false;
            });
        SelectUnderBand();
        return effects;
    }
    bool single = false;
    m_library.Update([&](std::vector<GP_LibraryItem>& items) {
        if (size_t(index) >= items.size())
            return;
        m_pressed = items[size_t(index)].puzzle;
        for (GP_LibraryItem& item : items) {
            if (!ctrl)
                item.selected = false;
        }
        items[size_t(index)].selected = true;
        single = std::count_if(items.begin(), items.end(), [](const GP_LibraryItem& item) { return item.selected; }) == 1;
        if (!single)
            return;
        // The list runs from the puzzle picked last.
        std::rotate(items.begin(), items.begin() + index, items.begin() + index + 1);
    });
    if (single) {
        m_current = m_pressed;
        effects.hidePopup = true;
    }
    return effects;
}

GP_ScreenEffects CLibraryScreenModel::Move(const QPoint& point)
{
    GP_ScreenEffects effects;
    if (!m_bandActive)
        return effects;
    m_bandEnd = point;
    SelectUnderBand();
    effects.repaint = true;
    return effects;
}

void CLibraryScreenModel::SelectUnderBand()
{
    const QRect band = Band();
    const auto [first, last] = ShownRange();
    std::vector<int> covered;
    for (int index = first; index < last; ++index) {
        if (CardRect(index).intersects(band))
            covered.push_back(index);
    }
    if (covered.empty())
        return;
    m_library.Update([&](std::vector<GP_LibraryItem>& items) {
        for (int index : covered) {
            if (size_t(index) < items.size())
                items[size_t(index)].selected = true;
        }
    });
}

QRect CLibraryScreenModel::Band() const
{
    if (!m_bandActive)
        return {};
    // A band from a press alone is one pixel square.
    return QRect(m_bandStart, m_bandEnd).normalized();
}

GP_ScreenEffects CLibraryScreenModel::Release()
{
    GP_ScreenEffects effects;
    effects.captureOff = true;
    if (m_bandActive) {
        m_bandActive = false;
        effects.arrowCursor = true;
        effects.repaint = true;
    }
    if (m_current) {
        effects.popupDelayMs = kPopupDelayMs;
        effects.hideHover = true;
    }
    return effects;
}

GP_ScreenEffects CLibraryScreenModel::DoubleClick(const QPoint& point)
{
    GP_ScreenEffects effects;
    effects.hideHover = true;
    GP_PuzzlePtr puzzle = m_pressed;
    if (!puzzle) {
        const int index = ItemAt(point);
        const std::vector<GP_LibraryItem> items = Items();
        if (index < 0 || size_t(index) >= items.size())
            return effects;
        puzzle = items[size_t(index)].puzzle;
    }
    if (m_library.Selected().size() > 1) {
        effects.message = IDS_MULTIPLE_SELECTED;
        return effects;
    }
    m_current = puzzle;
    effects.open = puzzle;
    return effects;
}

GP_ScreenEffects CLibraryScreenModel::SinglePuzzleCommand()
{
    GP_ScreenEffects effects;
    effects.hideHover = true;
    const std::vector<GP_PuzzlePtr> selected = m_library.Selected();
    if (selected.size() != 1) {
        effects.message = selected.empty() ? IDS_NONE_SELECTED : IDS_MULTIPLE_SELECTED;
        return effects;
    }
    m_current = selected.front();
    effects.open = m_current;
    return effects;
}

void CLibraryScreenModel::TakeSelectedAsCurrent()
{
    const std::vector<GP_PuzzlePtr> selected = m_library.Selected();
    m_current = selected.empty() ? GP_PuzzlePtr() : selected.front();
}

QRect CLibraryScreenModel::CurrentCard() const
{
    if (!m_current)
        return {};
    const std::vector<GP_LibraryItem> items = Items();
    for (size_t index = 0; index < items.size(); ++index) {
        if (items[index].puzzle != m_current)
            continue;
        const QRect card = CardRect(int(index));
        return card.intersects(m_layout.LibraryArea()) ? card : QRect();
    }
    return {};
}

bool CLibraryScreenModel::SetScroll(double position)
{
    const double clamped = std::isfinite(position) ? std::clamp(position, 0.0, m_maximum) : m_scroll;
    if (clamped == m_scroll)
        return false;
    m_scroll = clamped;
    return true;
}

bool CLibraryScreenModel::Wheel(int delta)
{
    return SetScroll(m_scroll + delta / 2.0);
}

bool CLibraryScreenModel::Step(int direction)
{
    return SetScroll(m_scroll + direction * m_layout.Pitch().height());
}

QString CLibraryScreenModel::TimeText(int seconds)
{
    seconds = std::max(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / kSecondsPerHour)
        .arg(seconds % kSecondsPerHour / kSecondsPerMinute, 2, 10, QLatin1Char('0'))
        .arg(seconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
}

QString CLibraryScreenModel::HoverText(const CGP_Puzzle& puzzle)
{
    const QString& name = puzzle.m_strTitle;
    const int width = PictureWidth(puzzle);
    const int height = PictureHeight(puzzle);
    const int pieces = puzzle.m_nColumns * puzzle.m_nRows;
    if (IsNew(puzzle))
        return GP_PrintfText(GP_LoadString(IDS_HOVER_SIMPLE), {name, width, height, pieces}) + QLatin1Char('\n')
            + GP_LoadString(IDS_NEW);
    const QString time = QLatin1Char(' ') + TimeText(puzzle.m_nSolvingTime);
    const bool hasAuthor = !puzzle.m_strCreator.trimmed().isEmpty();
    if (puzzle.m_bSolved && hasAuthor)
        return GP_PrintfText(GP_LoadString(IDS_HOVER_AUTHOR), {name, puzzle.m_strCreator, width, height, pieces}) + time;
    const int solved = puzzle.m_bSolved ? 100 : static_cast<int>(puzzle.m_fSolvedPercent);
    if (hasAuthor)
        return GP_PrintfText(GP_LoadString(IDS_HOVER_AUTHOR_SOLVED), {name, puzzle.m_strCreator, width, height, pieces, solved})
            + time;
    return GP_PrintfText(GP_LoadString(IDS_HOVER_SOLVED), {name, width, height, pieces, solved}) + time;
}
