#include "engine/GP_OutlineArc.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {
// The arcs of every shipped pattern laid onto a piece-sized chord, both ways round, and a long
// one whose intervals refine with more than three samples.
std::vector<GP_PathSegment> ShippedArcs()
{
    CGP_Path patterns[kPatternCount];
    EXPECT_EQ(LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS"))), kPatternCount);
    std::vector<GP_PathSegment> arcs;
    for (const CGP_Path& pattern : patterns) {
        for (int direction = 0; direction < 2; ++direction) {
            for (double length : {43.0, 260.0}) {
                const auto edge = MakeEdge(&pattern, direction, 100.3, 50.7, 100.3 + length * 0.8, 50.7 + length * 0.6);
                if (!edge)
                    continue;
                for (const GP_PathSegment& s : edge->m_segments) {
                    if (s.L > 0)
                        arcs.push_back(s);
                }
            }
        }
    }
    return arcs;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Four points near the arc and a best distance for each, some beyond every sample.
struct Query
{
    GP_Lanes x, y, best;
};

// Every lane must get exactly what DistanceToEdge gives for the one-arc outline: the same
// bits of distance and the same normal, or no answer at all.
// Returns how many lanes the arc answered.
int ExpectLikeDistanceToEdge(const GP_PathSegment& segment, const GP_OutlineArc& arc, const Query& query, int side)
{
    CGP_Path alone;
    alone.m_segments = {segment};
    GP_Lanes best = query.best;
    int closest[kLaneCount] = {-1, -1, -1, -1};
    const int closer = arc.Distance(query.x, query.y, best, closest);
    for (int lane = 0; lane < kLaneCount; ++lane) {
        double expected = query.best[lane];
        float angle = 0;
        const bool found = DistanceToEdge(&alone, query.x[lane], query.y[lane], expected, side, angle);
        EXPECT_EQ(found, (closer & (1 << lane)) != 0) << query.x[lane] << ", " << query.y[lane];
        EXPECT_TRUE(SameBits(expected, best[lane])) << expected << " vs " << best[lane];
        if (!found || !(closer & (1 << lane)))
            continue;
        const GP_OutlineNormal& normal = arc.NormalAt(closest[lane], side >= 2);
        EXPECT_EQ(normal.awayX, -std::cos(angle));
        EXPECT_EQ(normal.awayY, -std::sin(angle));
    }
    return __builtin_popcount(static_cast<unsigned>(closer));
}

class OutlineArcTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override { GP_OutlineArc::SetWideSearch(GetParam()); }
    void TearDown() override { GP_OutlineArc::SetWideSearch(true); }
};
} // namespace

TEST_P(OutlineArcTest, AnswersExactlyAsDistanceToEdge)
{
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> unit(0, 1);
    int answered = 0, asked = 0;
    for (const GP_PathSegment& segment : ShippedArcs()) {
        const GP_OutlineArc arc(segment);
        for (int round = 0; round < 40; ++round) {
            Query query;
            for (int lane = 0; lane < kLaneCount; ++lane) {
                // Points on a pixel's sub-sample grid, as the bevel asks, and anywhere.
                const bool onGrid = lane < 2;
                double x = arc.MinX() - 3 + unit(random) * (arc.MaxX() - arc.MinX() + 6);
                double y = arc.MinY() - 3 + unit(random) * (arc.MaxY() - arc.MinY() + 6);
                if (onGrid) {
                    x = std::floor(x) + 0.09 + 0.5 * (lane & 1);
                    y = std::floor(y) + 0.59;
                }
                query.x[lane] = x;
                query.y[lane] = y;
                query.best[lane] = round % 4 == 0 ? 0.05 : 0.5 + 2.5 * unit(random);
            }
            answered += ExpectLikeDistanceToEdge(segment, arc, query, round % 4);
            asked += kLaneCount;
            if (HasFailure())
                return;
        }
    }
    // Enough of the points lie near the curve for the comparison to mean something.
    EXPECT_GT(answered, asked / 10);
}

INSTANTIATE_TEST_SUITE_P(WideAndLaneByLane, OutlineArcTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Wide" : "LaneByLane"; });
