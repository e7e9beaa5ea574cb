#include "engine/GP_OutlineArc.h"

#include <algorithm>

namespace {
constexpr float kHalfPi = static_cast<float>(M_PI / 2);
constexpr float kPi = static_cast<float>(M_PI);
// The coarse samples of an arc, t = 0, 0.1, ..., 1.
const double kCoarseT[GP_OutlineArc::kCoarseSteps + 1] = {0 / 10.0, 1 / 10.0, 2 / 10.0, 3 / 10.0, 4 / 10.0, 5 / 10.0,
                                                          6 / 10.0, 7 / 10.0, 8 / 10.0, 9 / 10.0, 10 / 10.0};
// Squared distances compared without their root are trusted only this far from a tie.
constexpr double kRootSlack = 1 + 1e-9;
// Room left around an arc's box, far beyond any rounding of the outline queries, so that an
// arc left out by its box could never have answered.
constexpr double kArcBoxPad = 1e-3;

// Squared distance, in chord lengths, from (u, v) to the curve's point at t with that offset:
// the same operations, in the same order, as DistanceToEdge.
double Squared(double u, double v, double t, double offset)
{
    const double d = v - offset;
    return (u - t) * (u - t) + d * d;
}

template <typename Along, typename Across>
void SquaredLanes(const GP_Lanes& u, const GP_Lanes& v, const Along& t, const Across& offset, GP_Lanes& squared)
{
    const GP_Lanes d = v - offset;
    squared = (u - t) * (u - t) + d * d;
}
} // namespace

GP_OutlineArc::GP_OutlineArc(const GP_PathSegment& from)
    : m_segment(from)
    , m_frame(GP_ArcFrame::Of(from))
{
    const GP_PathSegment& s = m_segment;
    for (int i = 0; i <= kCoarseSteps; ++i)
        m_coarse[i] = s.Offset(i / double(kCoarseSteps)) / s.L;
    m_refineT.reserve(static_cast<size_t>(kCoarseSteps) * (std::max(2, static_cast<int>(s.L / kCoarseSteps)) + 2));
    m_refineOffset.reserve(m_refineT.capacity());
    for (int interval = 0; interval < kCoarseSteps; ++interval) {
        const double t0 = interval / double(kCoarseSteps);
        const double t1 = (interval + 1) / double(kCoarseSteps);
        const int steps = std::max(2, static_cast<int>((t1 - t0) * s.L));
        m_refineFirst[interval] = static_cast<int>(m_refineT.size());
        m_refineSteps[interval] = steps;
        for (int i = 0; i <= steps; ++i) {
            const double t = t0 + i * (t1 - t0) / steps;
            m_refineT.push_back(t);
            m_refineOffset.push_back(s.Offset(t) / s.L);
        }
    }
}

GP_ArcFrame GP_ArcFrame::Of(const GP_PathSegment& s)
{
    GP_ArcFrame f;
    f.cosA = std::cos(s.alpha);
    f.sinA = std::sin(s.alpha);
    // Extremes of the offset h(t) over 0..1: the ends and where h'(t) = 0.
    auto widen = [&](double t) {
        if (!(t > 0 && t < 1))
            return;
        const double h = s.Offset(t);
        f.low = std::min(f.low, h);
        f.high = std::max(f.high, h);
    };
    const double qa = 3 * (s.A + s.B);
    const double qb = -2 * (2 * s.A + s.B);
    const double qc = s.A;
    if (std::abs(qa) > 1e-12) {
        const double discriminant = qb * qb - 4 * qa * qc;
        if (discriminant >= 0) {
            const double root = std::sqrt(discriminant);
            widen((-qb + root) / (2 * qa));
            widen((-qb - root) / (2 * qa));
        }
    } else if (std::abs(qb) > 1e-12) {
        widen(-qc / qb);
    }
    f.minX = f.minY = HUGE_VAL;
    f.maxX = f.maxY = -HUGE_VAL;
    for (double u : {0.0, s.L}) {
        for (double h : {f.low, f.high}) {
            const double x = s.x1 + u * f.cosA - h * f.sinA;
            const double y = s.y1 + u * f.sinA + h * f.cosA;
            f.minX = std::min(f.minX, x);
            f.maxX = std::max(f.maxX, x);
            f.minY = std::min(f.minY, y);
            f.maxY = std::max(f.maxY, y);
        }
    }
    f.pad = kArcBoxPad * (1 + s.L);
    f.minX -= f.pad;
    f.minY -= f.pad;
    f.maxX += f.pad;
    f.maxY += f.pad;
    return f;
}

namespace {
bool WideSearchAvailable()
{
    // Our own start-up may run before the compiler's processor check has.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
} // namespace

bool GP_OutlineArc::s_wide = WideSearchAvailable();

void GP_OutlineArc::SetWideSearch(bool wide)
{
    s_wide = wide && WideSearchAvailable();
}

int GP_OutlineArc::Distance(const GP_Lanes& x, const GP_Lanes& y, GP_Lanes& best, int closest[kLaneCount]) const
{
    if (s_wide)
        return DistanceWide(x, y, best, closest);
    int closer = 0;
    for (int lane = 0; lane < kLaneCount; ++lane) {
        double laneBest = best[lane];
        if (DistanceOne(x[lane], y[lane], laneBest, closest[lane])) {
            best[lane] = laneBest;
            closer |= 1 << lane;
        }
    }
    return closer;
}

bool GP_OutlineArc::DistanceOne(double x, double y, double& best, int& closest) const
{
    const GP_PathSegment& s = m_segment;
    const double along = (x - s.x1) * m_frame.cosA + (y - s.y1) * m_frame.sinA;
    const double across = -(x - s.x1) * m_frame.sinA + (y - s.y1) * m_frame.cosA;
    // The arc lies in the rectangle 0..L along its chord and low..high across it.
    const double du = along < 0 ? -along : (along > s.L ? along - s.L : 0);
    const double dv = across < m_frame.low ? m_frame.low - across : (across > m_frame.high ? across - m_frame.high : 0);
    if (du * du + dv * dv >= (best + m_frame.pad) * (best + m_frame.pad))
        return false;
    const double u = along / s.L;
    const double v = across / s.L;
    double previous = Squared(u, v, kCoarseT[0], m_coarse[0]);
    double bestSum = 0;
    double nearest = 0;
    int interval = -1;
    for (int i = 1; i <= kCoarseSteps; ++i) {
        const double current = Squared(u, v, kCoarseT[i], m_coarse[i]);
        if (interval < 0 || previous + current < bestSum) {
            bestSum = previous + current;
            nearest = std::min(previous, current);
            interval = i - 1;
        }
        previous = current;
    }
    if (nearest > best * best)
        return false;
    const double length = s.L;
    const double lengthSquared = length * length;
    double bestSquared = best * best * kRootSlack;
    bool closer = false;
    const int first = m_refineFirst[interval];
    const int last = first + m_refineSteps[interval];
    for (int i = first; i <= last; ++i) {
        const double q = Squared(u, v, m_refineT[static_cast<size_t>(i)], m_refineOffset[static_cast<size_t>(i)]);
        // Clearly no closer: the root would not change that.
        if (q * lengthSquared > bestSquared)
            continue;
        const double distance = std::sqrt(q) * length;
        if (distance < best) {
            best = distance;
            bestSquared = best * best * kRootSlack;
            closest = i;
            closer = true;
        }
    }
    return closer;
}

// The same steps for the four lanes at once. Refining without first comparing squares changes
// nothing: a sample that comparison passes over lies too far off to come closer anyway.
__attribute__((target("avx2"))) int GP_OutlineArc::DistanceWide(const GP_Lanes& x, const GP_Lanes& y, GP_Lanes& best,
                                                                int closest[kLaneCount]) const
{
    const GP_PathSegment& s = m_segment;
    const GP_Lanes zero = {0, 0, 0, 0};
    const GP_Lanes dx = x - s.x1;
    const GP_Lanes dy = y - s.y1;
    const GP_Lanes along = dx * m_frame.cosA + dy * m_frame.sinA;
    const GP_Lanes across = -dx * m_frame.sinA + dy * m_frame.cosA;
    const GP_Lanes du = along < 0 ? -along : (along > s.L ? along - s.L : zero);
    const GP_Lanes dv = across < m_frame.low ? m_frame.low - across : (across > m_frame.high ? across - m_frame.high : zero);
    const GP_Lanes reach = best + m_frame.pad;
    const GP_LaneMask inBox = du * du + dv * dv < reach * reach;
    if (!(inBox[0] | inBox[1] | inBox[2] | inBox[3]))
        return 0;

    // The coarse interval of each lane, chosen without a branch.
    const GP_Lanes u = along / s.L;
    const GP_Lanes v = across / s.L;
    GP_Lanes previous, current;
    SquaredLanes(u, v, kCoarseT[0], m_coarse[0], previous);
    SquaredLanes(u, v, kCoarseT[1], m_coarse[1], current);
    GP_Lanes bestSum = previous + current;
    GP_Lanes nearest = current < previous ? current : previous;
    GP_LaneMask interval = {0, 0, 0, 0};
    previous = current;
    for (int i = 2; i <= kCoarseSteps; ++i) {
        SquaredLanes(u, v, kCoarseT[i], m_coarse[i], current);
        const GP_Lanes sum = previous + current;
        const GP_LaneMask lower = sum < bestSum;
        bestSum = lower ? sum : bestSum;
        nearest = lower ? (current < previous ? current : previous) : nearest;
        interval = lower ? GP_LaneMask{i - 1, i - 1, i - 1, i - 1} : interval;
        previous = current;
    }
    const GP_LaneMask worth = inBox & (nearest <= best * best);
    if (!(worth[0] | worth[1] | worth[2] | worth[3]))
        return 0;

    // Each lane walks the refining samples of its own interval, in order.
    GP_LaneMask first, last;
    int steps = 0;
    for (int lane = 0; lane < kLaneCount; ++lane) {
        first[lane] = m_refineFirst[interval[lane]];
        last[lane] = first[lane] + m_refineSteps[interval[lane]];
        steps = std::max(steps, m_refineSteps[interval[lane]]);
    }
    const double length = s.L;
    GP_LaneMask taken = {-1, -1, -1, -1};
    GP_LaneMask closer = {0, 0, 0, 0};
    for (int k = 0; k <= steps; ++k) {
        const GP_LaneMask at = first + k;
        GP_Lanes t, offset;
        for (int lane = 0; lane < kLaneCount; ++lane) {
            const size_t i = static_cast<size_t>(std::min(at[lane], last[lane]));
            t[lane] = m_refineT[i];
            offset[lane] = m_refineOffset[i];
        }
        GP_Lanes q;
        SquaredLanes(u, v, t, offset, q);
        const GP_Lanes distance = __builtin_ia32_sqrtpd256(q) * length;
        const GP_LaneMask lower = worth & (at <= last) & (distance < best);
        best = lower ? distance : best;
        taken = lower ? at : taken;
        closer |= lower;
    }
    int lanes = 0;
    for (int lane = 0; lane < kLaneCount; ++lane) {
        if (!closer[lane])
            continue;
        closest[lane] = static_cast<int>(taken[lane]);
        lanes |= 1 << lane;
    }
    return lanes;
}

const GP_OutlineNormal& GP_OutlineArc::NormalAt(int sample, bool turned) const
{
    std::vector<GP_OutlineNormal>& normals = m_normals[turned ? 1 : 0];
    if (normals.empty())
        normals.resize(m_refineT.size());
    GP_OutlineNormal& normal = normals[static_cast<size_t>(sample)];
    if (normal.known)
        return normal;
    const GP_PathSegment& s = m_segment;
    float angle = std::atan(static_cast<float>(s.Slope(m_refineT[static_cast<size_t>(sample)])))
                + static_cast<float>(s.alpha) + kHalfPi;
    if (turned)
        angle += kPi;
    normal = GP_OutlineNormal::Of(angle);
    return normal;
}
