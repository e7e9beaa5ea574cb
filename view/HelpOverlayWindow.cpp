#include "view/HelpOverlayWindow.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/FieldGeometry.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>

namespace {
// The pictures are clear around their card: the screen under them is darkened so the card reads.
constexpr QColor kVeil(5, 9, 20, 150);
// The arrows wear the cards' light gold, with a soft shadow beneath.
constexpr QColor kArrowColour(0xf6, 0xd4, 0x89);
constexpr QColor kArrowShadow(0, 0, 0, 110);
constexpr qreal kShaftWidth = 4;
constexpr qreal kDotRadius = 5;
constexpr qreal kShadowDrop = 3;
} // namespace

CHelpOverlayWindow::CHelpOverlayWindow(QWidget* view, CGP_SettingsStore& settings, Locator locate)
    : QWidget(view)
    , m_overlays(settings)
    , m_locate(std::move(locate))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CHelpOverlayWindow::Start(GameMode mode, bool rotatingPuzzle)
{
    m_overlays.Start(mode, rotatingPuzzle);
    ShowCurrent();
}

void CHelpOverlayWindow::Dismiss()
{
    m_overlays.Dismiss();
    ShowCurrent();
}

void CHelpOverlayWindow::Clear()
{
    m_overlays.Clear();
    hide();
}

void CHelpOverlayWindow::Follow()
{
    if (IsShown())
        ShowCurrent();
}

void CHelpOverlayWindow::ShowCurrent()
{
    if (!m_overlays.IsShown()) {
        hide();
        parentWidget()->update();
        return;
    }
    GP_InitResources();
    m_picture = GP_LoadBitmap(m_overlays.Current(), devicePixelRatioF());
    if (m_picture.isNull())
        GP_Log(QStringLiteral("CHelpOverlayWindow: no picture for %1\n").arg(m_overlays.Current()));
    m_card = HelpArrow::CardRect(m_picture);
    m_layout = FieldGeometry::LayoutRect(parentWidget()->rect());
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

QRect CHelpOverlayWindow::PictureRect() const
{
    return FieldGeometry::FitCentred(m_picture.deviceIndependentSize().toSize(), m_layout);
}

QList<HelpArrow> CHelpOverlayWindow::Arrows() const
{
    QList<HelpArrow> arrows;
    if (!m_locate || m_card.isEmpty() || !IsShown())
        return arrows;
    const QRect placed = PictureRect();
    const qreal scale = placed.width() / m_picture.deviceIndependentSize().width();
    const QRectF card(placed.topLeft() + m_card.topLeft() * scale, m_card.size() * scale);
    for (HelpTarget target : HelpOverlays::Targets(m_overlays.Current())) {
        for (const QRect& control : m_locate(target)) {
            if (const auto arrow = HelpArrow::Between(card, QRectF(control), scale))
                arrows << *arrow;
        }
    }
    return arrows;
}

void CHelpOverlayWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, rect(), m_layout, m_picture);
    for (const HelpArrow& arrow : Arrows())
        PaintArrow(painter, arrow);
}

void CHelpOverlayWindow::PaintArrow(QPainter& painter, const HelpArrow& arrow)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = kDotRadius * arrow.scale;
    for (const bool shadow : {true, false}) {
        const QColor colour = shadow ? kArrowShadow : kArrowColour;
        const QPointF drop = shadow ? QPointF(0, kShadowDrop * arrow.scale) : QPointF();
        painter.setPen(QPen(colour, kShaftWidth * arrow.scale, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arrow.shaft.translated(drop));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(arrow.head.translated(drop));
        painter.drawEllipse(arrow.start + drop, radius, radius);
    }
    painter.restore();
}

void CHelpOverlayWindow::Paint(QPainter& painter, const QRect& area, const QRect& layout, const QImage& picture)
{
    painter.fillRect(area, kVeil);
    if (picture.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FieldGeometry::FitCentred(picture.deviceIndependentSize().toSize(), layout), picture);
}
