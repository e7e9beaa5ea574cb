#include "view/model/ThumbGeometry.h"

#include <algorithm>

void CThumbGeometry::PressZoom()
{
    m_zoom = (m_zoom + 1) % kZoomStates;
    m_zoomed = true;
}

double CThumbGeometry::Divisor() const
{
    return m_zoomed ? kDivisors[m_zoom] : kFirstDivisor;
}

QSize CThumbGeometry::PictureSize(int columns, int rows, float pieceSize, const QSize& source)
{
    const int width = static_cast<int>(columns * pieceSize);
    const int height = static_cast<int>(rows * pieceSize);
    return QSize(std::clamp(width, 0, std::max(0, source.width())), std::clamp(height, 0, std::max(0, source.height())));
}

QSize CThumbGeometry::WindowSize(const QSize& picture) const
{
    const double divisor = Divisor();
    return QSize(static_cast<int>(picture.width() / divisor), static_cast<int>(picture.height() / divisor));
}

namespace {
// One axis: the far edge kept unless outside the view, then the near edge kept inside.
int NearEdge(int far, int length, int viewNear, int viewFar)
{
    if (far > viewFar)
        far = viewFar - CThumbGeometry::kEdgeGap;
    int near = far - length;
    if (near < viewNear)
        near = viewNear + CThumbGeometry::kEdgeGap;
    return near;
}
} // namespace

QRect CThumbGeometry::Place(const QRect& current, const QSize& size, const QRect& view)
{
    const int left = NearEdge(current.x() + current.width(), size.width(), view.x(), view.x() + view.width());
    const int top = NearEdge(current.y() + current.height(), size.height(), view.y(), view.y() + view.height());
    return QRect(QPoint(left, top), size);
}
