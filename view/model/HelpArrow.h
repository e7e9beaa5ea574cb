#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <optional>

// One arrow of a help picture: from the edge of the picture's card to a control the card
// explains, wherever the screen's layout put that control. The pictures are drawn for a 4:3
// screen without arrows; the game adds them at run time so they point true on every screen.
struct HelpArrow
{
    // A gentle curve from the dot on the card to just short of the head's tip.
    QPainterPath shaft;
    QPolygonF head;
    QPointF start;
    QPointF tip;
    // The picture's scale on screen: the shaft, head and dot grow with it.
    qreal scale = 1.0;

    // The arrow from the card towards the target, stopping a little short of it; none when the
    // target lies under the card or too close to it for an arrow to read.
    static std::optional<HelpArrow> Between(const QRectF& card, const QRectF& target, qreal scale);

    // The card of a help picture: the bounds of its opaque pixels (the shadow around it is
    // translucent), in device-independent pixels; empty for a picture without one.
    static QRectF CardRect(const QImage& picture);
};
