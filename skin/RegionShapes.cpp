#include "skin/RegionShapes.h"

#include <algorithm>
#include <cmath>

namespace WINSKIN {

void RegionRows::CloseBand(int bottom)
{
    for (const auto& [left, right] : m_bandRuns)
        m_rects.emplace_back(left, m_bandTop, right - left, bottom - m_bandTop);
}

void RegionRows::AddRow(int y, RowRuns runs)
{
    // A row that does not follow the band (a gap) or differs from it starts a new band.
    if (m_open && y == m_nextRow && runs == m_bandRuns) {
        m_nextRow = y + 1;
        return;
    }
    if (m_open)
        CloseBand(m_nextRow);
    m_bandRuns = std::move(runs);
    m_bandTop = y;
    m_nextRow = y + 1;
    m_open = true;
}

QRegion RegionRows::Finish()
{
    if (m_open)
        CloseBand(m_nextRow);
    m_open = false;
    QRegion region;
    if (!m_rects.empty())
        region.setRects(m_rects.data(), int(m_rects.size()));
    m_rects.clear();
    return region;
}

namespace {
// Clips [left, right) to the clip's columns; false when nothing is left.
bool ClipRun(int* left, int* right, const QRect& clip)
{
    *left = std::max(*left, clip.left());
    *right = std::min(*right, clip.left() + clip.width());
    return *left < *right;
}
} // namespace

QRegion EllipseRegion(const QRect& rect, const QRect& clip)
{
    if (rect.isEmpty())
        return QRegion();
    const double cx = rect.x() + rect.width() / 2.0;
    const double cy = rect.y() + rect.height() / 2.0;
    const double a = rect.width() / 2.0;
    const double b = rect.height() / 2.0;
    const QRect rows = rect.intersected(clip);
    RegionRows region;
    for (int y = rows.top(); y < rows.top() + rows.height(); ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (dy * dy > 1.0)
            continue;
        const double half = a * std::sqrt(1.0 - dy * dy);
        int left = int(std::ceil(cx - half - 0.5));
        int right = int(std::floor(cx + half - 0.5)) + 1;
        if (ClipRun(&left, &right, clip))
            region.AddRow(y, {{left, right}});
    }
    return region.Finish();
}

QRegion PolygonRegion(const QPolygon& polygon, const QRect& clip)
{
    const QRect rows = polygon.boundingRect().intersected(clip);
    RegionRows region;
    std::vector<double> crossings;
    for (int y = rows.top(); y < rows.top() + rows.height(); ++y) {
        const double sy = y + 0.5;
        crossings.clear();
        for (qsizetype i = 0; i < polygon.size(); ++i) {
            const QPoint p = polygon[i];
            const QPoint q = polygon[(i + 1) % polygon.size()];
            // Each edge counts for the rows whose centres lie in [low y, high y).
            if ((p.y() <= sy) == (q.y() <= sy))
                continue;
            crossings.push_back(p.x() + (sy - p.y()) * double(q.x() - p.x()) / double(q.y() - p.y()));
        }
        std::sort(crossings.begin(), crossings.end());
        RowRuns runs;
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [from, to).
            int left = int(std::ceil(crossings[i] - 0.5));
            int right = int(std::ceil(crossings[i + 1] - 0.5));
            if (!ClipRun(&left, &right, clip))
                continue;
            if (!runs.empty() && left <= runs.back().second)
                runs.back().second = std::max(runs.back().second, right);
            else
                runs.emplace_back(left, right);
        }
        if (!runs.empty())
            region.AddRow(y, std::move(runs));
    }
    return region.Finish();
}

QRegion RoundRectRegion(const QRect& rect, QSize ellipse, const QRect& clip)
{
    const int w = std::clamp(ellipse.width(), 0, rect.width());
    const int h = std::clamp(ellipse.height(), 0, rect.height());
    if (w < 2 || h < 2)
        return QRegion(rect.intersected(clip));
    QRegion region(rect.adjusted(w / 2, 0, -(w / 2), 0).intersected(clip));
    region += QRegion(rect.adjusted(0, h / 2, 0, -(h / 2)).intersected(clip));
    const int right = rect.x() + rect.width() - w;
    const int bottom = rect.y() + rect.height() - h;
    for (const QPoint corner : {rect.topLeft(), QPoint(right, rect.y()), QPoint(rect.x(), bottom), QPoint(right, bottom)})
        region += EllipseRegion(QRect(corner, QSize(w, h)), clip);
    return region;
}

} // namespace WINSKIN
