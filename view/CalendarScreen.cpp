#include "view/CalendarScreen.h"

#include "view/HoverBox.h"
#include "view/model/LibraryScreenModel.h"
#include "view/model/PuzzleLibrary.h"
#include "view/model/PuzzlePaths.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {
constexpr int kCellGap = 4;
const QColor kEmptyDay(255, 255, 255, 18);
const QColor kDayFrame(255, 255, 255, 60);
} // namespace

CCalendarScreen::CCalendarScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host, CPuzzleLibrary& library)
    : CScreen(canvas, hoverBox, host)
    , m_library(library)
    , m_model(QDate::currentDate())
{
    for (int id : {kMonthUp, kMonthDown, kYearUp, kYearDown})
        AddButton(id);
}

void CCalendarScreen::SetShown(bool shown)
{
    CScreen::SetShown(shown);
    m_hoverTimer.stop();
    m_hoveredDay = 0;
    if (shown)
        m_animation.Restart();
}

void CCalendarScreen::Place(const ScreenLayout& layout)
{
    m_model.SetLayout(layout);
    PlaceButton(kMonthDown, layout.MonthDown());
    PlaceButton(kMonthUp, layout.MonthUp());
    PlaceButton(kYearDown, layout.YearDown());
    PlaceButton(kYearUp, layout.YearUp());
}

boost::shared_ptr<CGP_Puzzle> CCalendarScreen::PuzzleOf(int day, QString* name) const
{
    if (day <= 0)
        return {};
    const CCalendarStore calendar = m_library.Calendar();
    const CCalendarStore::Entry* entry = calendar.Find(m_model.Date(day));
    if (!entry)
        return {};
    if (name)
        *name = entry->name;
    return entry->puzzle;
}

void CCalendarScreen::Paint(QPainter& painter, const QRect&)
{
    const ScreenLayout& layout = m_model.Layout();
    const QRect title = layout.CalendarTitle();
    QFont heading = painter.font();
    heading.setPixelSize(layout.Scaled(24));
    heading.setBold(true);
    painter.setFont(heading);
    const QRect monthRow(title.left(), layout.MonthDown().top(), title.width(), layout.MonthDown().height());
    const QRect yearRow(title.left(), layout.YearDown().top(), title.width(), layout.YearDown().height());
    DrawShadowedText(painter, monthRow, Qt::AlignCenter, QLocale::c().standaloneMonthName(m_model.Month()));
    DrawShadowedText(painter, yearRow, Qt::AlignCenter, QString::number(m_model.Year()));

    QFont dayFont = painter.font();
    dayFont.setPixelSize(layout.Scaled(15));
    painter.setFont(dayFont);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const CCalendarStore calendar = m_library.Calendar();
    for (int day = 1; day <= CCalendarScreenModel::DaysInMonth(m_model.Year(), m_model.Month()); ++day) {
        const QRect cell = m_model.DayCell(day).adjusted(kCellGap, kCellGap, -kCellGap, -kCellGap);
        const CCalendarStore::Entry* entry = calendar.Find(m_model.Date(day));
        painter.fillRect(cell, kEmptyDay);
        if (entry && entry->puzzle && entry->puzzle->m_pThumbnail) {
            const QImage& picture = *entry->puzzle->m_pThumbnail;
            const QSize shown = picture.size().scaled(cell.size(), Qt::KeepAspectRatioByExpanding);
            painter.save();
            painter.setClipRect(cell);
            painter.setOpacity(m_animation.Opacity());
            painter.drawImage(QRect(cell.center() - QPoint(shown.width() / 2, shown.height() / 2), shown), picture);
            painter.restore();
        }
        painter.setPen(kDayFrame);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        DrawShadowedText(painter, cell.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop, QString::number(day));
    }
}

void CCalendarScreen::Press(const QMouseEvent&)
{
    m_hoverTimer.stop();
    HoverBox().HideBox();
}

void CCalendarScreen::Move(const QMouseEvent& event)
{
    const QPoint point = event.position().toPoint();
    const int day = PuzzleOf(m_model.DayAt(point)) ? m_model.DayAt(point) : 0;
    m_hoverPoint = point;
    if (day == m_hoveredDay)
        return;
    HoverBox().HideBox();
    m_hoveredDay = day;
    if (day)
        m_hoverTimer.start(CLibraryScreenModel::kOtherScreensHoverDelayMs, this);
    else
        m_hoverTimer.stop();
}

void CCalendarScreen::DoubleClick(const QMouseEvent& event)
{
    HoverBox().HideBox();
    QString name;
    if (event.button() == Qt::LeftButton && PuzzleOf(m_model.DayAt(event.position().toPoint()), &name))
        Host().openForPlay(GP_PuzzlePaths::CalendarFile(name));
}

bool CCalendarScreen::OnButton(int buttonId)
{
    bool moved = false;
    switch (buttonId) {
    case kMonthUp:
        moved = m_model.StepMonth(1);
        break;
    case kMonthDown:
        moved = m_model.StepMonth(-1);
        break;
    case kYearUp:
        moved = m_model.StepYear(1);
        break;
    case kYearDown:
        moved = m_model.StepYear(-1);
        break;
    default:
        return false;
    }
    if (moved)
        PageChanged();
    return true;
}

void CCalendarScreen::PageChanged()
{
    HoverBox().HideBox();
    m_hoveredDay = 0;
    m_animation.Restart();
    Canvas()->update();
}

bool CCalendarScreen::Animate(int elapsedMs)
{
    if (!m_animation.Advance(elapsedMs))
        return false;
    Canvas()->update(m_model.Layout().DayGrid());
    return true;
}

void CCalendarScreen::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_hoverTimer.timerId()) {
        CScreen::timerEvent(event);
        return;
    }
    m_hoverTimer.stop();
    if (const auto puzzle = PuzzleOf(m_hoveredDay); puzzle && IsShown() && !Host().helpShown())
        HoverBox().ShowText(CLibraryScreenModel::HoverText(*puzzle), m_hoverPoint);
}
