#pragma once

#include <QRect>
#include <QSize>

// The picture window's size and place. The window shows the cut part of the picture scaled
// down by a divisor that "Z" cycles through; a new size keeps the window's right and bottom
// edges where they were, so it grows and shrinks towards the top left, and is pulled back in
// to 2 pixels from the view's edge wherever it would stick out.
class CThumbGeometry
{
public:
    static constexpr int kZoomStates = 3;
    static constexpr double kDivisors[kZoomStates] = {5.0, 3.5, 2.5};
    // The divisor of a game's first picture window, before "Z" was ever pressed.
    static constexpr double kFirstDivisor = 3.0;
    static constexpr int kEdgeGap = 2;

    // "Z": the zoom state goes 0, 1, 2, 0, ... from 0, whose divisor shows only once "Z" has
    // gone round; before the first press the window has a divisor of its own.
    void PressZoom();
    double Divisor() const;
    int ZoomState() const { return m_zoom; }
    bool WasZoomed() const { return m_zoomed; }

    // The cut part of the picture: columns x piece size by rows x piece size, no larger than
    // the picture itself.
    static QSize PictureSize(int columns, int rows, float pieceSize, const QSize& source);
    // The window's size for a picture of that size at the present divisor (truncated).
    QSize WindowSize(const QSize& picture) const;
    // The window's rectangle at the new size: right and bottom kept where they lie inside the
    // view; any edge outside the view pulled in to kEdgeGap from it.
    static QRect Place(const QRect& current, const QSize& size, const QRect& view);

private:
    int m_zoom = 0;
    bool m_zoomed = false;
};
