#include "engine/GP_EdgeCrossings.h"

#include "engine/GP_OutlineArc.h"
#include "engine/GP_Path.h"

#include <algorithm>
#include <cmath>

GP_EdgeCrossings::GP_EdgeCrossings(const CGP_Path& edge)
{
    std::vector<const GP_PathSegment*> arcs;
    std::vector<GP_ArcFrame> frames;
    double top = HUGE_VAL, bottom = -HUGE_VAL;
    for (const GP_PathSegment& segment : edge.m_segments) {
        if (!(segment.L > 0))
            continue;
        arcs.push_back(&segment);
        frames.push_back(GP_ArcFrame::Of(segment));
        top = std::min(top, frames.back().minY);
        bottom = std::max(bottom, frames.back().maxY);
    }
    if (arcs.empty())
        return;
    // Every row one of whose sub-rows lies within some arc's box, and a row to spare each way.
    m_firstRow = static_cast<int>(std::floor(top)) - 1;
    m_rowCount = static_cast<int>(std::ceil(bottom)) + 1 - m_firstRow + 1;
    m_start.reserve(static_cast<size_t>(m_rowCount) * kSubRows + 1);
    for (int row = m_firstRow; row < m_firstRow + m_rowCount; ++row) {
        for (int k = 0; k < kSubRows; ++k) {
            m_start.push_back(static_cast<uint32_t>(m_crossings.size()));
            const double y = SubRowY(row, k);
            for (size_t i = 0; i < arcs.size(); ++i) {
                const GP_ArcFrame& frame = frames[i];
                if (y < frame.minY || y > frame.maxY)
                    continue;
                const GP_PathSegment& s = *arcs[i];
                double ts[3];
                const int found = SegmentCrossingsAtY(s, y, ts);
                for (int j = 0; j < found; ++j)
                    m_crossings.push_back(s.x1 + s.L * ts[j] * frame.cosA - s.Offset(ts[j]) * frame.sinA);
            }
        }
    }
    m_start.push_back(static_cast<uint32_t>(m_crossings.size()));
}

void GP_EdgeCrossings::Append(int row, int k, std::vector<double>& crossings) const
{
    const int index = row - m_firstRow;
    if (index < 0 || index >= m_rowCount || k < 0 || k >= kSubRows)
        return;
    const size_t subRow = static_cast<size_t>(index) * kSubRows + k;
    crossings.insert(crossings.end(), m_crossings.begin() + m_start[subRow], m_crossings.begin() + m_start[subRow + 1]);
}
