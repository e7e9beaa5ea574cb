#pragma once

#include <QPolygon>
#include <QRect>
#include <QRegion>

#include <utility>
#include <vector>

// Window shapes built row by row, only over the rows and columns of a clip rectangle (the
// window). Qt's own ellipse and polygon regions take time that grows much faster than their
// size, and a skin may give shapes tens of thousands of pixels tall; nothing outside the
// window can be part of its shape, so nothing outside is built.
namespace WINSKIN {

using RowRuns = std::vector<std::pair<int, int>>; // [left, right) spans of one row

// Collects rows of runs from top to bottom and makes one region of them; rows with the
// same runs as the row above share its band.
class RegionRows
{
public:
    void AddRow(int y, RowRuns runs);
    QRegion Finish();

private:
    void CloseBand(int bottom);

    std::vector<QRect> m_rects;
    RowRuns m_bandRuns;
    int m_bandTop = 0;
    int m_nextRow = 0;
    bool m_open = false;
};

// The ellipse inscribed in rect: the pixels whose centres lie inside it.
QRegion EllipseRegion(const QRect& rect, const QRect& clip);
// The polygon filled with the even-odd rule: the pixels whose centres lie inside it.
QRegion PolygonRegion(const QPolygon& polygon, const QRect& clip);
// A rectangle whose corners are quarters of an ellipse of the given size.
QRegion RoundRectRegion(const QRect& rect, QSize ellipse, const QRect& clip);

} // namespace WINSKIN
