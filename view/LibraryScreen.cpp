#include "view/LibraryScreen.h"

#include "resources/GP_Resources.h"
#include "resources/StringTable.h"
#include "skin/BmpButton.h"
#include "view/GameCursors.h"
#include "view/HoverBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <qdrawutil.h>

namespace {
constexpr int kFrameBorder = 20;
// The name and the mark under a card, in a 1024 x 768 layout: they grow with the cards.
constexpr int kNameHeight = 22;
constexpr int kMarkHeight = 18;
constexpr int kTextPixels = 13;
const QColor kNewMark(255, 196, 64);
const QColor kSolvedMark(120, 214, 140);
const QColor kProgressMark(190, 200, 226);

void DrawFrame(QPainter& painter, const QRect& rect, const QImage& frame)
{
    if (frame.isNull()) {
        painter.fillRect(rect, QColor(16, 22, 40));
        return;
    }
    qDrawBorderPixmap(&painter, rect, QMargins(kFrameBorder, kFrameBorder, kFrameBorder, kFrameBorder),
                      QPixmap::fromImage(frame));
}
} // namespace

CLibraryScreen::CLibraryScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host, CPuzzleLibrary& library,
                               CGameCursors& cursors, float scroll)
    : CScreen(canvas, hoverBox, host)
    , m_model(library)
    , m_cursors(cursors)
{
    GP_InitResources();
    m_frame = QImage(GP_BitmapPath(QStringLiteral("item_frame")));
    m_frameSelected = QImage(GP_BitmapPath(QStringLiteral("item_frame_selected")));
    const int popupIds[] = {kPopupPlay, kPopupSend, kPopupModify, kPopupDelete};
    for (size_t index = 0; index < m_popup.size(); ++index) {
        // The popup comes and goes by itself, not with the screen's other buttons.
        m_popup[index] = MakeButton(canvas, popupIds[index]);
    }
    m_makeOwn = AddButton(kMakeOwn);
    m_up = AddButton(kScrollUp);
    m_down = AddButton(kScrollDown);
    m_thumb = AddButton(kScroller);
    m_thumb->installEventFilter(this);
    m_model.RestoreScroll(scroll);
}

void CLibraryScreen::SetShown(bool shown)
{
    CScreen::SetShown(shown);
    HideHover();
    if (!shown) {
        HidePopup();
        m_cursors.Clear();
        return;
    }
    ScrollUpdate();
    // A current puzzle gets its popup at once.
    if (m_model.Current())
        m_popupTimer.start(0, this);
}

void CLibraryScreen::Place(const ScreenLayout& layout)
{
    const double scroll = m_model.Scroll();
    m_model.SetLayout(layout);
    m_model.SetScroll(scroll);
    m_makeOwn->setGeometry(layout.MakeOwn());
    m_up->setGeometry(layout.ScrollUp());
    m_down->setGeometry(layout.ScrollDown());
    ScrollUpdate();
    if (PopupShown())
        ShowPopup();
}

void CLibraryScreen::Refresh()
{
    m_model.Refresh();
    if (!m_model.Current())
        HidePopup();
    ScrollUpdate();
}

void CLibraryScreen::ScrollUpdate()
{
    m_thumb->setGeometry(m_model.Thumb());
    if (PopupShown())
        ShowPopup();
    Canvas()->update();
}

void CLibraryScreen::Paint(QPainter& painter, const QRect& update)
{
    const QRect area = m_model.Layout().LibraryArea();
    const std::vector<GP_LibraryItem> items = m_model.Library().Items();
    const auto [first, last] = m_model.ShownRange();
    painter.save();
    const ScreenLayout& layout = m_model.Layout();
    painter.setClipRect(area.adjusted(0, 0, 0, layout.Scaled(kNameHeight + kMarkHeight)) & update);
    QFont font = painter.font();
    font.setPixelSize(layout.Scaled(kTextPixels));
    painter.setFont(font);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int index = first; index < last && size_t(index) < items.size(); ++index)
        PaintItem(painter, items[size_t(index)], m_model.CardRect(index));
    painter.restore();
    if (m_model.BandActive()) {
        QPen dotted(QColor(240, 240, 240), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_model.Band().adjusted(0, 0, -1, -1));
    }
}

void CLibraryScreen::PaintItem(QPainter& painter, const GP_LibraryItem& item, const QRect& card)
{
    DrawFrame(painter, card, item.selected ? m_frameSelected : m_frame);
    const CGP_Puzzle& puzzle = *item.puzzle;
    const int inset = m_model.Layout().Scaled(ScreenLayout::kCardInset);
    const QRect inside = card.adjusted(inset, inset, -inset, -inset);
    if (puzzle.m_pThumbnail && !puzzle.m_pThumbnail->isNull()) {
        const QSize shown = puzzle.m_pThumbnail->size().scaled(inside.size(), Qt::KeepAspectRatio);
        const QRect picture(inside.left() + (inside.width() - shown.width()) / 2,
                            inside.top() + (inside.height() - shown.height()) / 2, shown.width(), shown.height());
        painter.drawImage(picture, *puzzle.m_pThumbnail);
    }
    const ScreenLayout& layout = m_model.Layout();
    const QRect name(card.left() - 10, card.bottom() + 3, card.width() + 20, layout.Scaled(kNameHeight));
    const QString elided = painter.fontMetrics().elidedText(puzzle.m_strTitle, Qt::ElideRight, name.width());
    DrawShadowedText(painter, name, Qt::AlignHCenter | Qt::AlignVCenter, elided);
    QString mark;
    QColor colour;
    if (CLibraryScreenModel::IsNew(puzzle)) {
        mark = GP_LoadString(IDS_NEW);
        colour = kNewMark;
    } else if (puzzle.m_bSolved) {
        mark = QStringLiteral("\u2714 Solved");
        colour = kSolvedMark;
    } else {
        mark = QStringLiteral("%1%").arg(int(puzzle.m_fSolvedPercent));
        colour = kProgressMark;
    }
    painter.setPen(colour);
    painter.drawText(QRect(name.left(), name.bottom() + 1, name.width(), layout.Scaled(kMarkHeight)),
                     Qt::AlignHCenter | Qt::AlignVCenter, mark);
}

void CLibraryScreen::Apply(const GP_ScreenEffects& effects)
{
    if (effects.hideHover)
        HideHover();
    if (effects.hidePopup)
        HidePopup();
    if (effects.bandCursor)
        m_cursors.Show(FieldCursor::Band);
    if (effects.arrowCursor)
        m_cursors.Clear();
    if (effects.popupDelayMs >= 0)
        m_popupTimer.start(effects.popupDelayMs, this);
    if (effects.repaint)
        Canvas()->update();
    if (effects.message)
        Host().showMessage(effects.message);
    if (effects.open) {
        HidePopup();
        Host().play(effects.open);
    }
}

void CLibraryScreen::Press(const QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return;
    m_popupTimer.stop();
    Apply(m_model.Press(event.position().toPoint(), event.modifiers().testFlag(Qt::ControlModifier)));
}

void CLibraryScreen::Move(const QMouseEvent& event)
{
    const QPoint point = event.position().toPoint();
    if (event.buttons() & Qt::LeftButton) {
        Apply(m_model.Move(point));
        return;
    }
    // The pointer resting on an item brings its hover box.
    const int index = m_model.ItemAt(point);
    const std::vector<GP_LibraryItem> items = m_model.Library().Items();
    const GP_PuzzlePtr under = index >= 0 && size_t(index) < items.size() ? items[size_t(index)].puzzle : GP_PuzzlePtr();
    m_hoverPoint = point;
    if (under == m_hovered)
        return;
    HideHover();
    m_hovered = under;
    if (under)
        m_hoverTimer.start(CLibraryScreenModel::kHoverDelayMs, this);
}

void CLibraryScreen::Release(const QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        Apply(m_model.Release());
}

void CLibraryScreen::DoubleClick(const QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        Apply(m_model.DoubleClick(event.position().toPoint()));
}

void CLibraryScreen::Wheel(const QWheelEvent& event)
{
    HideHover();
    if (m_model.Wheel(event.angleDelta().y()))
        ScrollUpdate();
}

bool CLibraryScreen::OnButton(int buttonId)
{
    switch (buttonId) {
    case kPopupPlay:
        PlaySelected();
        return true;
    case kScrollUp:
    case kScrollDown:
        HideHover();
        m_model.Step(buttonId == kScrollUp ? 1 : -1);
        ScrollUpdate();
        return true;
    default:
        return false;
    }
}

void CLibraryScreen::PlaySelected()
{
    HideHover();
    Apply(m_model.SinglePuzzleCommand());
}

void CLibraryScreen::HidePopup()
{
    m_popupTimer.stop();
    for (CBmpButton* button : m_popup)
        button->hide();
}

bool CLibraryScreen::PopupShown() const
{
    return m_popup.front()->isVisible();
}

void CLibraryScreen::ShowPopup()
{
    const QRect card = m_model.CurrentCard();
    if (!IsShown() || card.isEmpty()) {
        HidePopup();
        return;
    }
    const std::array<QRect, 4> places = m_model.Layout().Popup(card, Canvas()->rect());
    for (size_t index = 0; index < m_popup.size(); ++index) {
        m_popup[index]->setGeometry(places[index]);
        m_popup[index]->show();
        m_popup[index]->raise();
    }
}

void CLibraryScreen::HideHover()
{
    m_hoverTimer.stop();
    m_hovered.reset();
    HoverBox().HideBox();
}

void CLibraryScreen::ScrollerNotify(bool pressed)
{
    HideHover();
    m_draggingThumb = pressed;
    if (pressed)
        m_thumbGrab = m_thumb->mapFromGlobal(QCursor::pos()).y();
    ScrollUpdate();
}

bool CLibraryScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_thumb && event->type() == QEvent::MouseMove && m_draggingThumb) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const int top = m_thumb->mapToParent(move->position().toPoint()).y() - m_thumbGrab;
        if (m_model.DragThumbTo(top))
            ScrollUpdate();
    }
    return CScreen::eventFilter(watched, event);
}

void CLibraryScreen::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_popupTimer.timerId()) {
        m_popupTimer.stop();
        HideHover();
        ShowPopup();
        return;
    }
    if (event->timerId() == m_hoverTimer.timerId()) {
        m_hoverTimer.stop();
        if (m_hovered && IsShown() && !Host().helpShown())
            HoverBox().ShowText(CLibraryScreenModel::HoverText(*m_hovered), m_hoverPoint);
        return;
    }
    CScreen::timerEvent(event);
}
