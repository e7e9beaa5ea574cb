#pragma once

#include "engine/GP_Path.h"

#include <cmath>
#include <vector>

// Four points searched side by side, a lane each: the four sub-samples of a bevel pixel.
using GP_Lanes = double __attribute__((vector_size(32)));
using GP_LaneMask = long long __attribute__((vector_size(32)));
constexpr int kLaneCount = 4;

// The outline's normal as the bevel's slope needs it: −cos and −sin of its angle.
struct GP_OutlineNormal
{
    float awayX = 0, awayY = 0;
    bool known = false;

    static GP_OutlineNormal Of(float angle) { return {-std::cos(angle), -std::sin(angle), true}; }
};

// The chord's angle of an arc and a box around its curve, padded far beyond any rounding of the
// outline's queries: an arc whose box misses a point or a row could never have answered there.
struct GP_ArcFrame
{
    double cosA = 0, sinA = 0;
    double low = 0, high = 0; // extremes of the offset from the chord
    double pad = 0;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    static GP_ArcFrame Of(const GP_PathSegment& segment);
};

// One arc of an outline with the numbers its distance queries share, worked out once: the
// chord's angle, the offsets at the coarse and refining samples, and a box around the curve.
// Its answers are DistanceToEdge's for this arc alone, number for number.
class GP_OutlineArc
{
public:
    static constexpr int kCoarseSteps = 10;

    explicit GP_OutlineArc(const GP_PathSegment& from);

    const GP_PathSegment& Segment() const { return m_segment; }
    const GP_ArcFrame& Frame() const { return m_frame; }
    double MinX() const { return m_frame.minX; }
    double MaxX() const { return m_frame.maxX; }
    double MinY() const { return m_frame.minY; }
    double MaxY() const { return m_frame.maxY; }

    // Whether the arc's box, widened by reach, meets the rectangle x0..x1, y0..y1.
    bool Near(double x0, double y0, double x1, double y1, double reach) const
    {
        return m_frame.minX - reach <= x1 && m_frame.maxX + reach >= x0 && m_frame.minY - reach <= y1
            && m_frame.maxY + reach >= y0;
    }

    // DistanceToEdge of this arc for four points at once: every lane where the arc comes closer
    // than best lowers its best and takes the refining sample of its closest point. Returns the
    // lanes that came closer, lane i as bit i.
    int Distance(const GP_Lanes& x, const GP_Lanes& y, GP_Lanes& best, int closest[kLaneCount]) const;

    // Whether the four lanes are searched with AVX2 at once (where the processor has it) or one
    // after another; both give the same numbers, and tests try both.
    static void SetWideSearch(bool wide);

    // The outline's normal at a refining sample, turned by π on the bottom and left sides.
    // Neighbouring pixels keep finding the same few samples, so each is worked out once.
    const GP_OutlineNormal& NormalAt(int sample, bool turned) const;

private:
    bool DistanceOne(double x, double y, double& best, int& closest) const;
    __attribute__((target("avx2"))) int DistanceWide(const GP_Lanes& x, const GP_Lanes& y, GP_Lanes& best,
                                                     int closest[kLaneCount]) const;

    static bool s_wide;

    GP_PathSegment m_segment;
    GP_ArcFrame m_frame;
    double m_coarse[kCoarseSteps + 1]; // offset / L at t = 0, 0.1, ..., 1
    // The refining samples of each coarse interval: their t and offset / L.
    int m_refineFirst[kCoarseSteps] = {};
    int m_refineSteps[kCoarseSteps] = {};
    std::vector<double> m_refineT;
    std::vector<double> m_refineOffset;
    mutable std::vector<GP_OutlineNormal> m_normals[2];
};
