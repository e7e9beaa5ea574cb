#pragma once

#include "view/model/GameMode.h"

#include <QRect>

// Where one tray lies: the area it covers when open, the handle shown while it is closed, and
// both widened by 2 pixels past the view's outer edges for the pointer's hover and drag tests
// (a pointer pushed against the screen's edge still finds them).
struct GP_TrayGeometry
{
    int location = 0;
    QRect open;
    QRect handle;
    QRect openHot;
    QRect handleHot;
};

// The rectangles the field and the screens are laid out in. Rectangles are QRects made from
// left, top, right, bottom with right and bottom one past the last pixel.
class FieldGeometry
{
public:
    // In play a band of this height runs across the top of the field.
    static constexpr int kPlayCaptionHeight = 50;
    // The trays start this far below the field's top.
    static constexpr int kTrayTopGap = 32;
    // Past this ratio of height to width a screen is wide: the layout keeps to 4:3.
    static constexpr double kWideRatio = 0.79;
    // The layout's width over the tray handle's side.
    static constexpr double kHandleDivisor = 22.66;

    // The layout rectangle of the screens: the window's, cut to 4:3 and centred on a wide
    // screen.
    static QRect LayoutRect(const QRect& window);
    // The field: the view's client rectangle below the caption band of the mode.
    static QRect FieldRect(const QRect& client, GameMode mode, int captionPanelHeight);
    // The side of a tray handle for a layout rectangle.
    static int HandleSide(const QRect& layout);
    // Tray 3 (right) or 4 (left) of a field.
    static GP_TrayGeometry Tray(int location, const QRect& field, int handleSide);
    // Where a puzzle's picture must fit to be played on the field: 5 % in from every side.
    static QRect FittingArea(const QRect& field);
    // A picture as large as fits in the area at its own aspect ratio, centred in it.
    static QRect FitCentred(const QSize& picture, const QRect& area);
};
