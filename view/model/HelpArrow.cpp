#include "view/model/HelpArrow.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {
// Sizes at the picture's own scale (800 pixels wide).
constexpr qreal kGap = 6;          // between the tip and the target
constexpr qreal kRim = 2;          // the dot sits on the card's rim, just inside its edge
constexpr qreal kSlide = 60;       // the dot's way along the rim from the point nearest the tip
constexpr qreal kHeadLength = 18;
constexpr qreal kMinLength = 40;   // shorter arrows would be all head
constexpr qreal kBend = 0.25;      // the curve's control point, off the straight line
constexpr double kHeadSpread = 0.45;
// Only the card is fully opaque; its shadow stays below this.
constexpr int kCardAlpha = 250;

QPointF Clamped(const QPointF& point, const QRectF& box)
{
    return {std::clamp(point.x(), box.left(), box.right()), std::clamp(point.y(), box.top(), box.bottom())};
}

// The dot: the point of the rim nearest the tip, moved along the rim towards the card's middle
// (or onwards, from the middle itself) so the arrow leaves the card at a slant that reads as a
// pointer even when the target lies just past the card's edge.
QPointF StartOnRim(const QRectF& rim, const QPointF& tip, qreal slide)
{
    QPointF start = Clamped(tip, rim);
    const QPointF middle = rim.center();
    const bool besideTopOrBottom = tip.y() < rim.top() || tip.y() > rim.bottom();
    if (besideTopOrBottom)
        start.rx() += middle.x() >= start.x() ? slide : -slide;
    else
        start.ry() += middle.y() >= start.y() ? slide : -slide;
    return Clamped(start, rim);
}
} // namespace

std::optional<HelpArrow> HelpArrow::Between(const QRectF& card, const QRectF& target, qreal scale)
{
    // The tip is the point beside the target nearest the card's middle; a target under the card
    // or too close to it for the gap gets no arrow.
    const qreal gap = kGap * scale;
    const QRectF beside = target.adjusted(-gap, -gap, gap, gap);
    if (card.isEmpty() || target.isEmpty() || card.intersects(beside))
        return std::nullopt;
    const QPointF tip = Clamped(card.center(), beside);
    const qreal rim = std::min({kRim * scale, card.width() / 2, card.height() / 2});
    const QPointF start = StartOnRim(card.adjusted(rim, rim, -rim, -rim), tip, kSlide * scale);
    const QLineF line(start, tip);
    if (line.length() < kMinLength * scale)
        return std::nullopt;

    HelpArrow arrow;
    arrow.start = start;
    arrow.tip = tip;
    arrow.scale = scale;
    // The curve bows away from the card, never back over it.
    const QPointF middle = (start + tip) / 2;
    const QPointF bow = QPointF(tip.y() - start.y(), start.x() - tip.x()) * kBend;
    const QPointF control = QLineF(middle + bow, card.center()).length() >= QLineF(middle - bow, card.center()).length()
                                ? middle + bow
                                : middle - bow;
    // The shaft ends inside the head, along the curve's last direction.
    const QLineF last(control, tip);
    const double angle = std::atan2(last.dy(), last.dx());
    const qreal head = kHeadLength * scale;
    const QPointF forward(std::cos(angle), std::sin(angle));
    arrow.shaft.moveTo(start);
    arrow.shaft.quadTo(control, tip - forward * head * 0.6);
    arrow.head << tip
               << tip - QPointF(std::cos(angle - kHeadSpread), std::sin(angle - kHeadSpread)) * head
               << tip - QPointF(std::cos(angle + kHeadSpread), std::sin(angle + kHeadSpread)) * head;
    return arrow;
}

QRectF HelpArrow::CardRect(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) < kCardAlpha)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    const qreal ratio = picture.devicePixelRatio();
    return {left / ratio, top / ratio, (right - left + 1) / ratio, (bottom - top + 1) / ratio};
}
