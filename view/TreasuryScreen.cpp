#include "view/TreasuryScreen.h"

#include "resources/StringTable.h"
#include "shell/log/GP_LogFile.h"
#include "skin/BmpButton.h"
#include "view/HoverBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kColumns = 4;
constexpr int kRows = 2;
constexpr int kCellGap = 10;
const QColor kCell(255, 255, 255, 22);
const QColor kSelected(255, 206, 84);
} // namespace

CTreasuryScreen::CTreasuryScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host)
    : CScreen(canvas, hoverBox, host)
{
    for (int id : {kThemeLeft, kTheme, kThemeRight, kPageLeft, kPageRight, kGetSelected, kGetSelectedBelow})
        AddButton(id);
    m_model.SetPageSize(kColumns * kRows);
    // Nothing was fetched yet: an empty page that says so.
    m_model.SetContent({}, false);
    ContentChanged();
}

void CTreasuryScreen::ContentChanged()
{
    if (CBmpButton* theme = Button(kTheme))
        theme->setText(m_model.ThemeTitle());
    PageChanged();
}

void CTreasuryScreen::SetShown(bool shown)
{
    CScreen::SetShown(shown);
    if (shown)
        m_animation.Restart();
}

void CTreasuryScreen::Place(const ScreenLayout& layout)
{
    m_layout = layout;
    PlaceButton(kThemeLeft, layout.ThemeLeft());
    PlaceButton(kTheme, layout.ThemeTab());
    PlaceButton(kThemeRight, layout.ThemeRight());
    PlaceButton(kPageLeft, layout.PageLeft());
    PlaceButton(kPageRight, layout.PageRight());
    PlaceButton(kGetSelected, layout.GetSelected());
    PlaceButton(kGetSelectedBelow, layout.GetSelectedBelow());
}

QRect CTreasuryScreen::PuzzleCell(int index) const
{
    const QRect area = m_layout.TreasuryArea();
    const int width = area.width() / kColumns;
    const int height = area.height() / kRows;
    return QRect(area.left() + index % kColumns * width, area.top() + index / kColumns * height, width, height)
        .adjusted(kCellGap, kCellGap, -kCellGap, -kCellGap);
}

void CTreasuryScreen::Paint(QPainter& painter, const QRect&)
{
    QFont font = painter.font();
    font.setPixelSize(m_layout.Scaled(18));
    font.setBold(true);
    painter.setFont(font);
    DrawShadowedText(painter, m_layout.PageText(), Qt::AlignCenter, m_model.PageText());
    const std::vector<GP_TreasuryPuzzle> puzzles = m_model.PagePuzzles();
    if (puzzles.empty()) {
        DrawShadowedText(painter, m_layout.TreasuryArea(), Qt::AlignCenter | Qt::TextWordWrap, m_model.EmptyPageText());
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t index = 0; index < puzzles.size(); ++index) {
        const GP_TreasuryPuzzle& puzzle = puzzles[index];
        const QRect cell = PuzzleCell(int(index));
        painter.fillRect(cell, kCell);
        painter.save();
        painter.setOpacity(m_animation.Opacity());
        if (!puzzle.picture.isNull()) {
            const QSize shown = puzzle.picture.size().scaled(cell.size() - QSize(8, 30), Qt::KeepAspectRatio);
            painter.drawImage(QRect(QPoint(cell.center().x() - shown.width() / 2, cell.top() + 4), shown), puzzle.picture);
        }
        painter.restore();
        if (puzzle.selected) {
            painter.setPen(QPen(kSelected, 2));
            painter.drawRect(cell.adjusted(1, 1, -1, -1));
        }
        const QString name = puzzle.isNew ? GP_LoadString(IDS_NEW) + QLatin1Char(' ') + puzzle.name : puzzle.name;
        DrawShadowedText(painter, cell.adjusted(4, 0, -4, -4), Qt::AlignHCenter | Qt::AlignBottom, name);
    }
}

void CTreasuryScreen::Press(const QMouseEvent&)
{
    HoverBox().HideBox();
}

bool CTreasuryScreen::OnButton(int buttonId)
{
    switch (buttonId) {
    case kThemeLeft:
    case kThemeRight:
        if (m_model.StepTheme(buttonId == kThemeRight ? 1 : -1))
            ContentChanged();
        return true;
    case kPageLeft:
    case kPageRight:
        if (m_model.StepPage(buttonId == kPageRight ? 1 : -1))
            PageChanged();
        return true;
    case kTheme:
        return true;
    case kGetSelected:
    case kGetSelectedBelow:
        if (m_model.PagePuzzles().empty())
            GP_Log(QStringLiteral("ClickGetSelected: no Treasury puzzle to fetch\n"));
        return true;
    default:
        return false;
    }
}

void CTreasuryScreen::PageChanged()
{
    HoverBox().HideBox();
    m_animation.Restart();
    Canvas()->update();
}

bool CTreasuryScreen::Animate(int elapsedMs)
{
    if (!m_animation.Advance(elapsedMs))
        return false;
    Canvas()->update(m_layout.TreasuryArea());
    return true;
}
