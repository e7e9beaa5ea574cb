#include "engine/GP_Path.h"

#include "engine/GP_Puzzle.h"
#include "shell/log/GP_LogFile.h"

#include <QFile>
#include <QIODevice>
#include <QPainter>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double kTwoThirdsPi = 2.0943951023931953;
constexpr double kCubicEpsilon = 1e-6;
constexpr double kBoundsStart = 100000;
// A pattern whose points stray further than this many chord lengths from its start is damaged.
constexpr double kPatternReach = 10;
constexpr float kDrawStep = 1.5f;
constexpr double kTabAngleStep = 0.1;

double ReadDouble(const char* at)
{
    const quint64 bits = qFromLittleEndian<quint64>(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteDouble(double value, char* at)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, at);
}

void Recompute(GP_PathSegment& s)
{
    s.L = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    s.alpha = std::atan2(s.y2 - s.y1, s.x2 - s.x1);
    s.UpdateSlopes();
}


// Damaged numbers would turn into endless sampling loops or divisions by zero later on.
bool PatternIsSound(const CGP_Path& pattern)
{
    if (pattern.IsEmpty())
        return true;
    const GP_PathSegment& first = pattern.m_segments.front();
    const double span = pattern.m_segments.back().x2 - first.x1;
    if (!std::isfinite(span) || span <= 0)
        return false;
    const double reach = span * kPatternReach;
    for (const GP_PathSegment& s : pattern.m_segments) {
        const double values[] = {s.x1, s.y1, s.x2, s.y2, s.alpha, s.beta, s.gamma, s.A, s.B, s.L};
        for (double v : values) {
            if (!std::isfinite(v))
                return false;
        }
        if (std::abs(s.x1 - first.x1) > reach || std::abs(s.y1 - first.y1) > reach
            || std::abs(s.x2 - first.x1) > reach || std::abs(s.y2 - first.y1) > reach || s.L > reach)
            return false;
    }
    return true;
}

// The quadratic left when the cubic term vanishes (an arch whose end slope mirrors its start).
int SolveQuadratic(double a, double b, double c, double roots[2])
{
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0)
        return 0;
    // On a steep chord b is huge; this form keeps the small root from cancelling away.
    const double q = -0.5 * (b + std::copysign(std::sqrt(discriminant), b));
    roots[0] = q / a;
    if (q == 0)
        return 1;
    roots[1] = c / q;
    return 2;
}

// A root this close to a joint is the joint itself: the arc that ends there owns it and the arc
// that starts there does not, so a line through a joint is crossed exactly once.
constexpr double kJointSnap = 1e-7;

double SnapToJoint(double t)
{
    if (std::abs(t) < kJointSnap)
        return 0;
    if (std::abs(t - 1) < kJointSnap)
        return 1;
    return t;
}

// Parameters t of the segment where its curve reaches height Y.
int SegmentRootsAtY(const GP_PathSegment& s, double Y, double roots[3])
{
    const double cubic = s.A + s.B;
    const double square = -(2 * s.A + s.B);
    double linear;
    double constant;
    if (s.y2 == s.y1) {
        const double sign = std::cos(s.alpha) >= 0 ? 1.0 : -1.0;
        linear = s.A;
        constant = -sign * (Y - s.y1) / s.L;
    } else {
        linear = s.A + s.tanAlpha;
        constant = -s.tanAlpha * (Y - s.y1) / (s.y2 - s.y1);
    }
    if (std::abs(cubic) >= kCubicEpsilon)
        return SolveCubic(square / cubic, linear / cubic, constant / cubic, roots);
    if (std::abs(square) >= kCubicEpsilon)
        return SolveQuadratic(square, linear, constant, roots);
    roots[0] = (Y - s.y1) / (s.y2 - s.y1);
    return 1;
}
} // namespace

double GP_PathSegment::X(double u) const
{
    const double h = L > 0 ? Offset(u / L) : 0;
    return x1 + u * std::cos(alpha) - h * std::sin(alpha);
}

double GP_PathSegment::Y(double u) const
{
    const double h = L > 0 ? Offset(u / L) : 0;
    return y1 + u * std::sin(alpha) + h * std::cos(alpha);
}

void GP_PathSegment::UpdateSlopes()
{
    tanAlpha = std::tan(alpha);
    A = std::tan(beta - alpha);
    B = std::tan(gamma - alpha);
}

void GP_ReadSegmentRecord(const char* record, GP_PathSegment& s)
{
    double* fields[] = {&s.x1, &s.y1, &s.x2, &s.y2, &s.alpha, &s.beta, &s.gamma, &s.tanAlpha, &s.A, &s.B, &s.L};
    int offset = 0;
    for (double* field : fields) {
        *field = ReadDouble(record + offset);
        offset += 8;
    }
}

void GP_WriteSegmentRecord(const GP_PathSegment& s, char* record)
{
    std::memset(record, 0, kPathSegmentRecordSize);
    const double fields[] = {s.x1, s.y1, s.x2, s.y2, s.alpha, s.beta, s.gamma, s.tanAlpha, s.A, s.B, s.L};
    int offset = 0;
    for (double field : fields) {
        WriteDouble(field, record + offset);
        offset += 8;
    }
}

QString GP_PatternFileName(int index)
{
    return QStringLiteral("Pattern%1.ptn").arg(index + 1);
}

bool LoadPattern(CGP_Path* path, QIODevice* file)
{
    path->m_segments.clear();
    path->m_maxTabAngle = 0;
    char countBytes[2];
    if (file->read(countBytes, 2) != 2) {
        GP_Log(QStringLiteral("LoadPattern: no segment count\n"));
        return false;
    }
    const int count = qFromLittleEndian<quint16>(countBytes);
    bool complete = true;
    for (int i = 0; i < count; ++i) {
        char record[kPathSegmentRecordSize];
        if (file->read(record, kPathSegmentRecordSize) != kPathSegmentRecordSize) {
            GP_Log(QStringLiteral("LoadPattern: short file, %1 of %2 segments read\n").arg(i).arg(count));
            complete = false;
            break;
        }
        GP_PathSegment segment;
        GP_ReadSegmentRecord(record, segment);
        segment.UpdateSlopes();
        path->m_segments.push_back(segment);
    }
    if (!PatternIsSound(*path)) {
        GP_Log(QStringLiteral("LoadPattern: damaged pattern ignored\n"));
        path->m_segments.clear();
        return false;
    }
    path->m_maxTabAngle = GP_MaxTabAngle(*path);
    return complete;
}

bool LoadPattern(CGP_Path* path, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        path->m_segments.clear();
        path->m_maxTabAngle = 0;
        GP_Log(QStringLiteral("LoadPattern: cannot open %1\n").arg(fileName));
        return false;
    }
    return LoadPattern(path, &file);
}

bool SavePattern(const CGP_Path& path, QIODevice* file)
{
    if (path.m_segments.size() > 0xFFFF)
        return false;
    char countBytes[2];
    qToLittleEndian(static_cast<quint16>(path.m_segments.size()), countBytes);
    if (file->write(countBytes, 2) != 2)
        return false;
    for (const GP_PathSegment& segment : path.m_segments) {
        char record[kPathSegmentRecordSize];
        GP_WriteSegmentRecord(segment, record);
        if (file->write(record, kPathSegmentRecordSize) != kPathSegmentRecordSize)
            return false;
    }
    return true;
}

int LoadPatterns(CGP_Path patterns[kPatternCount], const QString& folder)
{
    int loaded = 0;
    for (int i = 0; i < kPatternCount; ++i) {
        LoadPattern(&patterns[i], folder + QLatin1Char('/') + GP_PatternFileName(i));
        if (!patterns[i].IsEmpty())
            ++loaded;
    }
    return loaded;
}

double GP_MaxTabAngle(const CGP_Path& pattern)
{
    if (pattern.IsEmpty())
        return 0;
    const double sx = pattern.m_segments.front().x1;
    const double sy = pattern.m_segments.front().y1;
    const double ex = pattern.m_segments.back().x2;
    const double ey = pattern.m_segments.back().y2;
    double maximum = 0;
    for (GP_PathSegment s : pattern.m_segments) {
        s.L = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
        for (double u = 0; u < s.L; u += kTabAngleStep) {
            const double px = s.X(u);
            const double py = s.Y(u);
            maximum = std::max(maximum, std::atan2(std::abs(py - sy), std::abs(px - sx)));
            maximum = std::max(maximum, std::atan2(std::abs(py - ey), std::abs(px - ex)));
        }
    }
    return maximum;
}

std::unique_ptr<CGP_Path> MakeEdge(const CGP_Path* pattern, int direction, double x1, double y1,
                                   double x2, double y2)
{
    if (!pattern || pattern->IsEmpty())
        return nullptr;
    const GP_PathSegment& first = pattern->m_segments.front();
    const GP_PathSegment& last = pattern->m_segments.back();
    const double span = last.x2 - first.x1;
    if (!(span > 0))
        return nullptr;
    const double phi = std::atan2(y2 - y1, x2 - x1);
    const double k = std::hypot(x2 - x1, y2 - y1) / span;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const bool mirror = direction == 1;

    auto place = [&](double& x, double& y) {
        double px = (x - first.x1) * k;
        double py = (y - first.y1) * k;
        if (mirror)
            py = -py;
        x = px * cosPhi - py * sinPhi + x1;
        y = px * sinPhi + py * cosPhi + y1;
    };

    auto edge = std::make_unique<CGP_Path>();
    edge->m_segments.reserve(pattern->m_segments.size());
    for (GP_PathSegment s : pattern->m_segments) {
        place(s.x1, s.y1);
        place(s.x2, s.y2);
        s.beta = mirror ? phi - s.beta : s.beta + phi;
        s.gamma = mirror ? phi - s.gamma : s.gamma + phi;
        edge->m_segments.push_back(s);
    }
    // Rounding must not open a gap at the corner the next edge starts from.
    edge->m_segments.back().x2 = x2;
    edge->m_segments.back().y2 = y2;
    for (GP_PathSegment& s : edge->m_segments)
        Recompute(s);
    edge->m_endX = x2;
    edge->m_endY = y2;
    edge->m_maxTabAngle = 0;
    return edge;
}

GP_EdgeBox EdgeBounds(const CGP_Path* path)
{
    GP_EdgeBox box;
    if (!path)
        return box;
    double minX = kBoundsStart, minY = kBoundsStart, maxX = 0, maxY = 0;
    for (const GP_PathSegment& s : path->m_segments) {
        if (!(s.L > 0))
            continue;
        const float length = static_cast<float>(s.L);
        for (float u = 0; u < length; u += 1.0f) {
            const double x = s.X(u);
            const double y = s.Y(u);
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
        }
    }
    box.left = static_cast<int>(std::floor(minX)) - 1;
    box.top = static_cast<int>(std::floor(minY)) - 1;
    box.right = static_cast<int>(std::ceil(maxX)) + 1;
    box.bottom = static_cast<int>(std::ceil(maxY)) + 1;
    return box;
}

std::vector<double> CrossingsAtY(const CGP_Path* path, double y)
{
    std::vector<double> crossings;
    if (!path)
        return crossings;
    for (const GP_PathSegment& s : path->m_segments) {
        if (!(s.L > 0))
            continue;
        double ts[3];
        const int found = SegmentCrossingsAtY(s, y, ts);
        for (int r = 0; r < found; ++r)
            crossings.push_back(s.x1 + s.L * ts[r] * std::cos(s.alpha) - s.Offset(ts[r]) * std::sin(s.alpha));
    }
    return crossings;
}

int SegmentCrossingsAtY(const GP_PathSegment& s, double y, double ts[3])
{
    double roots[3];
    const int found = SegmentRootsAtY(s, y, roots);
    int kept = 0;
    for (int r = 0; r < found; ++r) {
        const double t = SnapToJoint(roots[r]);
        if (t > 0 && t <= 1)
            ts[kept++] = t;
    }
    return kept;
}

int SolveCubic(double p, double q, double r, double roots[3])
{
    const double Q = (p * p - 3 * q) / 9;
    const double R = (2 * p * p * p - 9 * p * q + 27 * r) / 54;
    const double third = p / 3;
    const double rNumerator = 2 * p * p * p - 9 * p * q + 27 * r;
    const double qNumerator = p * p - 3 * q;
    if (rNumerator * rNumerator / 2916 < qNumerator * qNumerator * qNumerator / 729) {
        const double theta = std::acos(R / std::sqrt(Q * Q * Q));
        const double scale = -2 * std::sqrt(Q);
        roots[0] = scale * std::cos(theta / 3) - third;
        roots[1] = scale * std::cos(theta / 3 + kTwoThirdsPi) - third;
        roots[2] = scale * std::cos(theta / 3 - kTwoThirdsPi) - third;
        return 3;
    }
    const double magnitude = std::pow(std::abs(R) + std::sqrt(R * R - Q * Q * Q), 1.0 / 3.0);
    const double S = R >= 0 ? -magnitude : magnitude;
    if (S == 0) {
        roots[0] = roots[1] = -third;
        return 2;
    }
    if (Q == S * S) {
        roots[0] = 2 * S - third;
        roots[1] = -S - third;
        return 2;
    }
    roots[0] = S + Q / S - third;
    return 1;
}

bool DistanceToEdge(const CGP_Path* path, double x, double y, double& best, int side, float& normalAngle)
{
    if (!path)
        return false;
    constexpr int kCoarseSteps = 10;
    const GP_PathSegment* closest = nullptr;
    double closestT = 0;
    for (const GP_PathSegment& s : path->m_segments) {
        if (!(s.L > 0))
            continue;
        const double cosA = std::cos(s.alpha);
        const double sinA = std::sin(s.alpha);
        const double u = ((x - s.x1) * cosA + (y - s.y1) * sinA) / s.L;
        const double v = (-(x - s.x1) * sinA + (y - s.y1) * cosA) / s.L;
        auto squared = [&](double t) {
            const double dv = v - s.Offset(t) / s.L;
            return (u - t) * (u - t) + dv * dv;
        };

        double previous = squared(0);
        double bestSum = 0;
        double coarse = 0;
        int interval = -1;
        for (int i = 1; i <= kCoarseSteps; ++i) {
            const double current = squared(i / double(kCoarseSteps));
            if (interval < 0 || previous + current < bestSum) {
                bestSum = previous + current;
                coarse = std::min(previous, current);
                interval = i - 1;
            }
            previous = current;
        }
        if (coarse > best * best)
            continue;

        const double t0 = interval / double(kCoarseSteps);
        const double t1 = (interval + 1) / double(kCoarseSteps);
        const int steps = std::max(2, static_cast<int>((t1 - t0) * s.L));
        for (int i = 0; i <= steps; ++i) {
            const double t = t0 + i * (t1 - t0) / steps;
            const double distance = std::sqrt(squared(t)) * s.L;
            if (distance < best) {
                best = distance;
                closest = &s;
                closestT = t;
            }
        }
    }
    if (!closest)
        return false;
    constexpr float kHalfPi = 1.57079632679f;
    constexpr float kPi = 3.14159265359f;
    float angle = std::atan(static_cast<float>(closest->Slope(closestT))) + static_cast<float>(closest->alpha) + kHalfPi;
    if (side == 2 || side == 3)
        angle += kPi;
    normalAngle = angle;
    return true;
}

void DrawEdge(const CGP_Path* path, QPainter& painter, int offsetX, int offsetY)
{
    if (!path)
        return;
    // One polyline per arc, its chord's angle taken once: the same points as X and Y give, for
    // the creation preview that draws a thousand-piece cut again on every slider step.
    QVarLengthArray<QPoint, 64> points;
    for (const GP_PathSegment& s : path->m_segments) {
        if (!(s.L > 0))
            continue;
        const double cosAlpha = std::cos(s.alpha);
        const double sinAlpha = std::sin(s.alpha);
        const auto pointAt = [&](double u) {
            const double h = s.Offset(u / s.L);
            return QPoint(static_cast<int>(s.x1 + u * cosAlpha - h * sinAlpha + offsetX),
                          static_cast<int>(s.y1 + u * sinAlpha + h * cosAlpha + offsetY));
        };
        points.clear();
        points.append(pointAt(0));
        float u = 0;
        for (;;) {
            u += kDrawStep;
            const double at = u >= s.L ? s.L : double(u);
            points.append(pointAt(at));
            if (at == s.L)
                break;
        }
        painter.drawPolyline(points.constData(), static_cast<int>(points.size()));
    }
}

void DrawCutLines(const CGP_Puzzle& puzzle, QPainter& painter, int offsetX, int offsetY)
{
    if (puzzle.m_pCorners.empty())
        return;
    const QPen oldPen = painter.pen();
    painter.setPen(QPen(QColor(255, 255, 255), 1, Qt::SolidLine));
    const int left = static_cast<int>(puzzle.m_fLeft) + offsetX;
    const int top = static_cast<int>(puzzle.m_fTop) + offsetY;
    const int right = static_cast<int>(puzzle.m_fRight) + offsetX;
    const int bottom = static_cast<int>(puzzle.m_fBottom) + offsetY;
    const QPoint frame[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    painter.drawPolyline(frame, 5);
    for (const auto& edge : puzzle.m_pVerticalEdges)
        DrawEdge(edge.get(), painter, offsetX, offsetY);
    for (const auto& edge : puzzle.m_pHorizontalEdges)
        DrawEdge(edge.get(), painter, offsetX, offsetY);
    painter.setPen(oldPen);
}
