#include "view/TrayWindow.h"

#include <QPaintEvent>
#include <QPainter>

CTrayWindow::CTrayWindow(QWidget* view, InsidePainter inside, FramePainter plainFrame)
    : SkinableCtrl(QStringLiteral("Dialog"), view)
    , m_inside(std::move(inside))
    , m_plainFrame(std::move(plainFrame))
{
    SetIDs(kTemplateId, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CTrayWindow::paintEvent(QPaintEvent* event)
{
    // With the skin the frame is already drawn and only the client area is left to paint.
    QPainter painter(this);
    const bool skinned = GetObject() != nullptr;
    const QRect inside = skinned ? ClientRect() : rect();
    painter.setClipRect(inside.intersected(event->rect()));
    // The painter works in the view's coordinates.
    painter.translate(-pos());
    if (m_inside)
        m_inside(painter, event->rect().intersected(inside).translated(pos()));
    if (!skinned && m_plainFrame) {
        painter.setClipping(false);
        m_plainFrame(painter, geometry());
    }
}
