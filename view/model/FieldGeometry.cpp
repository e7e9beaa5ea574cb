#include "view/model/FieldGeometry.h"

#include "engine/GP_PuzzlePieceUnion.h"

namespace {
constexpr int kHotReach = 2;
constexpr int kFittingPercent = 5;

QRect FromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

QRect FieldGeometry::LayoutRect(const QRect& window)
{
    if (window.width() <= 0 || double(window.height()) / window.width() >= kWideRatio)
        return window;
    const int width = window.height() * 4 / 3;
    const int inset = (window.width() - width) / 2;
    return QRect(window.left() + inset, window.top(), width, window.height());
}

QRect FieldGeometry::FieldRect(const QRect& client, GameMode mode, int captionPanelHeight)
{
    const int band = mode == GameMode::Play ? kPlayCaptionHeight : captionPanelHeight;
    return client.adjusted(0, band, 0, 0);
}

int FieldGeometry::HandleSide(const QRect& layout)
{
    return static_cast<int>(layout.width() / kHandleDivisor);
}

GP_TrayGeometry FieldGeometry::Tray(int location, const QRect& field, int s)
{
    const int L = field.left();
    const int R = field.left() + field.width();
    const int B = field.top() + field.height();
    const int top = field.top() + kTrayTopGap;
    const int W = R - L;
    const int H = B - top;
    GP_TrayGeometry tray;
    tray.location = location;
    if (location == CGP_PuzzlePieceUnion::kRightTray) {
        tray.open = FromEdges(L + W / 2 + 1, top + H / 2, R, B);
        tray.handle = FromEdges(R - s, B - s, R, B).translated(-2, -2);
        tray.openHot = tray.open.adjusted(0, 0, kHotReach, kHotReach);
        tray.handleHot = tray.handle.adjusted(0, 0, kHotReach, kHotReach);
    } else {
        tray.open = FromEdges(L, top + H / 2, L + W / 2 - 1, B);
        tray.handle = FromEdges(L, B - s, L + s, B).translated(1, -2);
        tray.openHot = tray.open.adjusted(-kHotReach, 0, 0, kHotReach);
        tray.handleHot = tray.handle.adjusted(-kHotReach, 0, 0, kHotReach);
    }
    return tray;
}

QRect FieldGeometry::FittingArea(const QRect& field)
{
    const int dx = field.width() * kFittingPercent / 100;
    const int dy = field.height() * kFittingPercent / 100;
    return field.adjusted(dx, dy, -dx, -dy);
}

QRect FieldGeometry::FitCentred(const QSize& picture, const QRect& area)
{
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const QSize size = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2,
                 size.width(), size.height());
}
