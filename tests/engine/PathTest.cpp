#include "engine/GP_Path.h"

#include "tests/support/ShippedPatterns.h"
#include "tests/support/TestFolder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {
// A one-arc pattern along the chord (0, 0) → (100, 0) leaving at startDegrees and arriving at
// endDegrees; 0 and 0 make a straight line.
GP_PathSegment Arc(double x1, double y1, double x2, double y2, double startDegrees, double endDegrees)
{
    GP_PathSegment s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.L = std::hypot(x2 - x1, y2 - y1);
    s.alpha = std::atan2(y2 - y1, x2 - x1);
    s.beta = startDegrees * M_PI / 180;
    s.gamma = endDegrees * M_PI / 180;
    s.UpdateSlopes();
    return s;
}

CGP_Path PatternOf(std::initializer_list<GP_PathSegment> arcs)
{
    CGP_Path pattern;
    pattern.m_segments = arcs;
    pattern.m_maxTabAngle = GP_MaxTabAngle(pattern);
    return pattern;
}

// A straight piece of outline (no offset from its chord).
GP_PathSegment Line(double x1, double y1, double x2, double y2)
{
    const double degrees = std::atan2(y2 - y1, x2 - x1) * 180 / M_PI;
    return Arc(x1, y1, x2, y2, degrees, degrees);
}

// The steepest point of a pattern seen from either of its corners, found by walking every arc
// of the curve in fine steps: worked out from the curve's definition, apart from the game's own
// sampling. The corners themselves have no direction and are left out.
double SteepestSeenFromTheCorners(const CGP_Path& pattern)
{
    const double corners[2][2] = {{pattern.m_segments.front().x1, pattern.m_segments.front().y1},
                                  {pattern.m_segments.back().x2, pattern.m_segments.back().y2}};
    double steepest = 0;
    for (const GP_PathSegment& s : pattern.m_segments) {
        const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
        const double length = std::hypot(dx, dy), chord = std::atan2(dy, dx);
        const double a = std::tan(s.beta - chord), b = std::tan(s.gamma - chord);
        for (int k = 0; k <= 2000; ++k) {
            const double t = k / 2000.0;
            const double h = length * (a * t - (2 * a + b) * t * t + (a + b) * t * t * t);
            const double x = s.x1 + t * dx - h * std::sin(chord), y = s.y1 + t * dy + h * std::cos(chord);
            for (const auto& corner : corners) {
                if (std::hypot(x - corner[0], y - corner[1]) > 1e-6)
                    steepest = std::max(steepest, std::atan2(std::abs(y - corner[1]), std::abs(x - corner[0])));
            }
        }
    }
    return steepest;
}

QByteArray Saved(const CGP_Path& pattern)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(SavePattern(pattern, &buffer));
    return buffer.data();
}

bool LoadFrom(CGP_Path& pattern, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return LoadPattern(&pattern, &buffer);
}

// Where the outline runs, sampled finely along every arc.
std::vector<QPointF> Samples(const CGP_Path& path, int perArc = 1000)
{
    std::vector<QPointF> points;
    for (const GP_PathSegment& s : path.m_segments) {
        for (int i = 0; i <= perArc; ++i) {
            const double u = s.L * i / perArc;
            points.emplace_back(s.X(u), s.Y(u));
        }
    }
    return points;
}
} // namespace

TEST(PatternFile, RecordLayoutShortFilesAndDamage)
{
    const CGP_Path wave = PatternOf({Arc(0, 0, 50, 0, 30, -30), Arc(50, 0, 100, 0, -30, 30)});
    QByteArray bytes = Saved(wave);
    ASSERT_EQ(bytes.size(), 2 + 2 * 104);
    EXPECT_EQ(quint8(bytes[0]), 2);
    EXPECT_EQ(quint8(bytes[1]), 0);
    // x2 of the first record: little-endian 50.0 at offset 2 + 16.
    double x2;
    std::memcpy(&x2, bytes.constData() + 2 + 16, 8);
    EXPECT_EQ(x2, 50.0);

    // Slopes are derived again from the angles; stored slopes and link words mean nothing.
    QByteArray scribbled = bytes;
    for (int offset : {56, 64, 72, 88, 92, 96, 100})
        std::memset(scribbled.data() + 2 + offset, 0x5A, 4);
    CGP_Path loaded;
    ASSERT_TRUE(LoadFrom(loaded, scribbled));
    ASSERT_EQ(loaded.m_segments.size(), 2u);
    EXPECT_DOUBLE_EQ(loaded.m_segments[0].A, std::tan(30 * M_PI / 180));
    EXPECT_DOUBLE_EQ(loaded.m_segments[0].B, std::tan(-30 * M_PI / 180));
    EXPECT_DOUBLE_EQ(loaded.m_segments[1].tanAlpha, 0.0);
    EXPECT_NEAR(loaded.m_maxTabAngle, wave.m_maxTabAngle, 1e-12);
    EXPECT_GT(loaded.m_maxTabAngle, 0.0);

    // A file cut inside its second record keeps the first record only.
    ASSERT_FALSE(LoadFrom(loaded, bytes.left(2 + 104 + 50)));
    ASSERT_EQ(loaded.m_segments.size(), 1u);
    EXPECT_EQ(loaded.m_segments[0].x2, 50.0);

    // No count at all, or a count of zero: an empty pattern, which cuts straight sides.
    EXPECT_FALSE(LoadFrom(loaded, QByteArray("\x01", 1)));
    EXPECT_TRUE(loaded.IsEmpty());
    EXPECT_TRUE(LoadFrom(loaded, QByteArray("\x00\x00", 2)));
    EXPECT_TRUE(loaded.IsEmpty());
    EXPECT_EQ(MakeEdge(&loaded, 0, 0, 0, 10, 10), nullptr);

    // Numbers that would make edges endless or divide by zero leave the pattern empty.
    QByteArray damaged = bytes;
    const double infinite = INFINITY;
    std::memcpy(damaged.data() + 2 + 104 + 16, &infinite, 8);
    EXPECT_FALSE(LoadFrom(loaded, damaged));
    EXPECT_TRUE(loaded.IsEmpty());
    const CGP_Path backwards = PatternOf({Arc(100, 0, 0, 0, 0, 0)});
    EXPECT_FALSE(LoadFrom(loaded, Saved(backwards)));
    EXPECT_TRUE(loaded.IsEmpty());

    TestFolder folder;
    CGP_Path missing;
    missing.m_segments.push_back(GP_PathSegment());
    EXPECT_FALSE(LoadPattern(&missing, folder.File(QStringLiteral("Pattern1.ptn"))));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(PatternFile, ShippedPatternsAreSmoothTabsOnTheirChord)
{
    TestFolder folder;
    CGP_Path patterns[kPatternCount];
    EXPECT_EQ(LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS"))), kPatternCount);
    EXPECT_EQ(LoadPatterns(patterns, folder.Path()), 0);
    for (int i = 0; i < kPatternCount; ++i) {
        SCOPED_TRACE(i);
        const CGP_Path& pattern = ShippedPattern(i);
        ASSERT_GE(pattern.m_segments.size(), 2u);
        const GP_PathSegment& first = pattern.m_segments.front();
        const GP_PathSegment& last = pattern.m_segments.back();
        EXPECT_EQ(first.y1, last.y2);
        EXPECT_LT(first.x1, last.x2);
        for (size_t k = 1; k < pattern.m_segments.size(); ++k) {
            const GP_PathSegment& before = pattern.m_segments[k - 1];
            const GP_PathSegment& after = pattern.m_segments[k];
            EXPECT_EQ(before.x2, after.x1);
            EXPECT_EQ(before.y2, after.y1);
            EXPECT_NEAR(std::remainder(before.gamma - after.beta, 2 * M_PI), 0.0, 1e-12);
        }
        // Flat enough that the corner jitter stays positive.
        EXPECT_LT(pattern.m_maxTabAngle, 0.75);
    }
}

TEST(PatternFile, MaxTabAngleIsTheSteepestPointSeenFromEitherCorner)
{
    // Triangular tabs of straight lines, 10 high over a 5-wide foot: seen from the corner they
    // stand next to, they rise at atan(10 / 5) whichever end that is.
    const struct
    {
        const char* fault;
        CGP_Path pattern;
        double angle;
    } handMade[] = {
        {"the start corner not looked from",
         PatternOf({Line(0, 0, 5, 10), Line(5, 10, 10, 0), Line(10, 0, 100, 0)}), std::atan(2.0)},
        {"the end corner not looked from",
         PatternOf({Line(0, 0, 90, 0), Line(90, 0, 95, 10), Line(95, 10, 100, 0)}), std::atan(2.0)},
        {"a straight side given a tab", PatternOf({Line(0, 0, 100, 0)}), 0.0},
    };
    for (const auto& c : handMade)
        EXPECT_NEAR(c.pattern.m_maxTabAngle, c.angle, 1e-9) << c.fault;

    // The game samples every tenth of a pixel; the shipped tabs are smooth enough for that to
    // land within a thousandth of a radian of the finely walked curve.
    for (int i = 0; i < kPatternCount; ++i)
        EXPECT_NEAR(ShippedPattern(i).m_maxTabAngle, SteepestSeenFromTheCorners(ShippedPattern(i)), 1e-3) << i;
}

TEST(PathGeometry, MakeEdgeEndsExactlyAndMirrorsAcrossTheChord)
{
    for (int index : {0, 3, 10}) {
        const CGP_Path& pattern = ShippedPattern(index);
        const double x1 = 13.37, y1 = 71.1, x2 = 101.9, y2 = 77.7;
        const auto up = MakeEdge(&pattern, 0, x1, y1, x2, y2);
        const auto down = MakeEdge(&pattern, 1, x1, y1, x2, y2);
        ASSERT_TRUE(up && down);
        EXPECT_EQ(up->m_segments.back().x2, x2);
        EXPECT_EQ(up->m_segments.back().y2, y2);
        EXPECT_EQ(down->m_endX, x2);
        EXPECT_EQ(down->m_endY, y2);
        EXPECT_EQ(up->m_maxTabAngle, 0.0);
        EXPECT_NEAR(up->m_segments.front().x1, x1, 1e-9);
        EXPECT_NEAR(up->m_segments.front().y1, y1, 1e-9);

        // Reflect every point of the mirrored edge across the chord line: it lands on the edge.
        const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
        ASSERT_EQ(up->m_segments.size(), down->m_segments.size());
        for (size_t k = 0; k < up->m_segments.size(); ++k) {
            for (double f : {0.0, 0.25, 0.5, 0.9}) {
                const GP_PathSegment& a = up->m_segments[k];
                const GP_PathSegment& b = down->m_segments[k];
                const double px = b.X(b.L * f) - x1, py = b.Y(b.L * f) - y1;
                const double along = (px * dx + py * dy) / length2;
                const double rx = 2 * along * dx - px + x1, ry = 2 * along * dy - py + y1;
                EXPECT_NEAR(rx, a.X(a.L * f), 1e-9);
                EXPECT_NEAR(ry, a.Y(a.L * f), 1e-9);
            }
        }
        // The tab stands off the chord on opposite sides.
        const GP_PathSegment& mid = up->m_segments[up->m_segments.size() / 2];
        const double side = (mid.x1 - x1) * dy - (mid.y1 - y1) * dx;
        const GP_PathSegment& midDown = down->m_segments[down->m_segments.size() / 2];
        const double otherSide = (midDown.x1 - x1) * dy - (midDown.y1 - y1) * dx;
        EXPECT_LT(side * otherSide, 0.0);
    }
    EXPECT_EQ(MakeEdge(nullptr, 0, 0, 0, 1, 1), nullptr);
}

TEST(PathGeometry, SolveCubicBranches)
{
    double roots[3];
    // (t − 1)(t − 2)(t − 3): three real roots.
    ASSERT_EQ(SolveCubic(-6, 11, -6, roots), 3);
    std::vector<double> three(roots, roots + 3);
    std::sort(three.begin(), three.end());
    EXPECT_NEAR(three[0], 1, 1e-12);
    EXPECT_NEAR(three[1], 2, 1e-12);
    EXPECT_NEAR(three[2], 3, 1e-12);
    // (t − 2)(t² + 1): one real root.
    ASSERT_EQ(SolveCubic(-2, 1, -2, roots), 1);
    EXPECT_NEAR(roots[0], 2, 1e-12);
    // t³: S = 0, the triple root reported twice.
    ASSERT_EQ(SolveCubic(0, 0, 0, roots), 2);
    EXPECT_EQ(roots[0], 0);
    EXPECT_EQ(roots[1], 0);
    // (t − 1)²(t + 2): Q = S², a double root and a single one.
    ASSERT_EQ(SolveCubic(0, -3, 2, roots), 2);
    EXPECT_EQ(roots[0], -2);
    EXPECT_EQ(roots[1], 1);
}

TEST(PathGeometry, CrossingsOnStraightCurvedAndJointLines)
{
    // Straight: a linear root, exactly where the line is.
    const CGP_Path straight = PatternOf({Arc(0, 0, 100, 0, 0, 0)});
    const auto slanted = MakeEdge(&straight, 0, 10, 10, 30, 110);
    std::vector<double> xs = CrossingsAtY(slanted.get(), 60);
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_NEAR(xs[0], 20, 1e-9);
    EXPECT_TRUE(CrossingsAtY(slanted.get(), 5).empty());
    EXPECT_EQ(CrossingsAtY(slanted.get(), 110).size(), 1u); // the end corner belongs to the edge
    EXPECT_TRUE(CrossingsAtY(slanted.get(), 10).empty());   // the start corner does not

    const GP_EdgeBox box = EdgeBounds(MakeEdge(&straight, 0, 10, 20, 110, 20).get());
    EXPECT_EQ(box.left, 9);
    EXPECT_EQ(box.top, 19);
    EXPECT_EQ(box.right, 110);
    EXPECT_EQ(box.bottom, 21);

    // Curved: every shipped shape on a vertical and a tilted chord, against the sign changes of
    // a fine sampling of the outline.
    for (int index = 0; index < kPatternCount; ++index) {
        SCOPED_TRACE(index);
        const CGP_Path& pattern = ShippedPattern(index);
        for (const auto& edge : {MakeEdge(&pattern, 0, 200, 100, 200, 300), MakeEdge(&pattern, 1, 100, 200, 290, 250)}) {
            const std::vector<QPointF> points = Samples(*edge);
            for (double y = 100.37; y < 300; y += 7.1) {
                int changes = 0;
                for (size_t k = 1; k < points.size(); ++k)
                    changes += (points[k - 1].y() < y) != (points[k].y() < y);
                const std::vector<double> found = CrossingsAtY(edge.get(), y);
                ASSERT_EQ(int(found.size()), changes) << "y " << y;
                for (double x : found) {
                    double nearest = 1e9;
                    for (const QPointF& p : points) {
                        if (std::abs(p.y() - y) < 0.5)
                            nearest = std::min(nearest, std::abs(p.x() - x));
                    }
                    EXPECT_LT(nearest, 0.1);
                }
            }
        }
    }

    // A vertical edge through a line exactly at an inner joint: one crossing, on the joint.
    const CGP_Path wave = PatternOf({Arc(0, 0, 50, 0, 30, -30), Arc(50, 0, 100, 0, -30, 30)});
    const auto vertical = MakeEdge(&wave, 0, 20, 0, 20, 100);
    ASSERT_EQ(vertical->m_segments[0].y2, 50.0);
    xs = CrossingsAtY(vertical.get(), 50);
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_NEAR(xs[0], 20, 1e-6);
    // An arch whose end slope mirrors its start slope has no cubic term: still found exactly.
    const CGP_Path arch = PatternOf({Arc(0, 0, 100, 0, 40, -40)});
    const auto archEdge = MakeEdge(&arch, 0, 0, 0, 100, 0);
    const double top = archEdge->m_segments[0].Offset(0.5);
    xs = CrossingsAtY(archEdge.get(), top / 2);
    ASSERT_EQ(xs.size(), 2u);
    for (double x : xs)
        EXPECT_NEAR(archEdge->m_segments[0].Offset(x / 100), top / 2, 1e-9);
}

TEST(PathGeometry, DistanceToEdgeMatchesBruteForceAndGivesTheNormal)
{
    const CGP_Path& pattern = ShippedPattern(0);
    const auto edge = MakeEdge(&pattern, 0, 50, 50, 150, 60);
    const std::vector<QPointF> points = Samples(*edge, 2000); // a few thousandths of a pixel apart
    double worst = 0;
    int found = 0;
    for (double y = 20.3; y < 80; y += 3.1) {
        for (double x = 40.7; x < 160; x += 3.3) {
            double exact = 1e9;
            for (const QPointF& p : points)
                exact = std::min(exact, std::hypot(p.x() - x, p.y() - y));
            double best = 6;
            float angle = 0;
            const bool closer = DistanceToEdge(edge.get(), x, y, best, 0, angle);
            if (exact < 5.5) {
                ASSERT_TRUE(closer) << x << "," << y;
                ++found;
            }
            if (closer) {
                worst = std::max(worst, std::abs(best - exact));
            } else {
                EXPECT_GT(exact, 5.9) << x << "," << y;
            }
        }
    }
    EXPECT_GT(found, 50);
    EXPECT_LT(worst, 0.4); // the refinement steps about one pixel along the arc

    // A straight horizontal edge: the normal points down the screen, and turns for sides 2 and 3.
    const CGP_Path straight = PatternOf({Arc(0, 0, 100, 0, 0, 0)});
    const auto flat = MakeEdge(&straight, 0, 0, 10, 100, 10);
    double best = 100;
    float angle = 0;
    ASSERT_TRUE(DistanceToEdge(flat.get(), 40, 13, best, 0, angle));
    EXPECT_NEAR(best, 3, 1e-9);
    EXPECT_NEAR(angle, M_PI / 2, 1e-6);
    best = 100;
    ASSERT_TRUE(DistanceToEdge(flat.get(), 40, 13, best, 2, angle));
    EXPECT_NEAR(angle, 3 * M_PI / 2, 1e-6);
    best = 2;
    EXPECT_FALSE(DistanceToEdge(flat.get(), 40, 13, best, 0, angle));
    EXPECT_EQ(best, 2);
}

TEST(PathGeometry, DrawEdgeTracesTheOutline)
{
    const CGP_Path& pattern = ShippedPattern(0);
    const auto edge = MakeEdge(&pattern, 0, 10, 40, 110, 40);
    QImage image(130, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setPen(Qt::white);
        DrawEdge(edge.get(), painter, 5, 2);
    }
    // Every lit pixel lies on the shifted outline, and the outline is lit along its length.
    const std::vector<QPointF> points = Samples(*edge, 200);
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                continue;
            ++lit;
            double nearest = 1e9;
            for (const QPointF& p : points)
                nearest = std::min(nearest, std::hypot(p.x() + 5 - x, p.y() + 2 - y));
            EXPECT_LT(nearest, 1.5) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(image.pixel(15, 42), qRgb(255, 255, 255));
}
