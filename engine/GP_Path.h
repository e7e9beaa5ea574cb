#pragma once

#include <QString>

#include <memory>
#include <vector>

class QIODevice;
class QPainter;
class CGP_Puzzle;

// One smooth cubic arc of an outline. Between its two points the curve lies at the offset
// h(t) = L·(A·t − (2A + B)·t² + (A + B)·t³) from the chord (t = u / L along the chord), a
// Hermite arc that leaves the start at slope A and reaches the end at slope B relative to the
// chord. Neighbouring arcs share their joint and their tangent angle there, so a chain is smooth.
struct GP_PathSegment
{
    double x1 = 0, y1 = 0;  // start point
    double x2 = 0, y2 = 0;  // end point
    double alpha = 0;       // chord angle, atan2(y2 - y1, x2 - x1)
    double beta = 0;        // absolute tangent angle at the start
    double gamma = 0;       // absolute tangent angle at the end
    double tanAlpha = 0;    // tan(alpha)
    double A = 0;           // tan(beta - alpha)
    double B = 0;           // tan(gamma - alpha)
    double L = 0;           // chord length

    // Offset from the chord at t in 0..1.
    double Offset(double t) const { return L * (A * t - (2 * A + B) * t * t + (A + B) * t * t * t); }
    // Slope of the curve against its chord at t.
    double Slope(double t) const { return A - 2 * (2 * A + B) * t + 3 * (A + B) * t * t; }
    // The point at distance u along the chord (0..L).
    double X(double u) const;
    double Y(double u) const;
    // Derives tanAlpha, A and B from alpha, beta and gamma.
    void UpdateSlopes();
};

// A segment as it is stored in a pattern file: 104 bytes, little-endian doubles.
constexpr int kPathSegmentRecordSize = 104;
void GP_ReadSegmentRecord(const char* record, GP_PathSegment& segment);
void GP_WriteSegmentRecord(const GP_PathSegment& segment, char* record);

// An outline: a chain of smooth arcs from one lattice corner to the next (an edge of the cut),
// or a template that edges are made from (a pattern).
class CGP_Path
{
public:
    CGP_Path() = default;
    virtual ~CGP_Path() = default;

    bool IsEmpty() const { return m_segments.empty(); }

    std::vector<GP_PathSegment> m_segments;
    double m_reserved = 0;
    double m_maxTabAngle = 0;  // patterns only: how steeply the tab rises seen from its corners
    double m_endX = 0;         // edges only: exactly the target corner
    double m_endY = 0;
};

// Integer box around an outline.
struct GP_EdgeBox
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Number of outline patterns the game ships, "PATTERNS/Pattern1.ptn" .. "Pattern16.ptn".
constexpr int kPatternCount = 16;
// The pattern file of index 0..15.
QString GP_PatternFileName(int index);

// Reads a pattern: a 16-bit segment count, then the 104-byte records. Whatever complete records
// a short file holds are kept. Computes the max tab angle. Returns false when nothing could be
// read at all.
bool LoadPattern(CGP_Path* path, QIODevice* file);
// The same from a file name; a file that cannot be opened leaves the pattern empty.
bool LoadPattern(CGP_Path* path, const QString& fileName);
// Writes a pattern file in the same layout (used by the pattern generator and by tests).
bool SavePattern(const CGP_Path& path, QIODevice* file);
// Loads the sixteen patterns of a PATTERNS folder; returns how many held segments.
int LoadPatterns(CGP_Path patterns[kPatternCount], const QString& folder);

// The angle of the steepest point of a pattern's tab seen from either of its ends.
double GP_MaxTabAngle(const CGP_Path& pattern);

// The pattern laid onto the chord (x1, y1) → (x2, y2); direction 1 mirrors the tab to the other
// side. Null for a pattern with no segments (a straight side).
std::unique_ptr<CGP_Path> MakeEdge(const CGP_Path* pattern, int direction, double x1, double y1,
                                   double x2, double y2);

GP_EdgeBox EdgeBounds(const CGP_Path* path);

// The x values, in the order found, where the outline crosses the horizontal line at y. A
// crossing at a joint between two arcs is counted once.
std::vector<double> CrossingsAtY(const CGP_Path* path, double y);
// The parameters t in (0, 1] where one arc of positive length reaches height y, in the order
// found, a joint owned as CrossingsAtY owns it; returns how many were written to ts.
int SegmentCrossingsAtY(const GP_PathSegment& segment, double y, double ts[3]);

// Roots of t³ + p·t² + q·t + r = 0; returns how many were written to roots (1 to 3).
int SolveCubic(double p, double q, double r, double roots[3]);

// When some arc of the outline comes closer to (x, y) than best, lowers best to that distance,
// sets normalAngle to the outline's normal there (turned by π for the bottom side 2 and the left
// side 3) and returns true.
bool DistanceToEdge(const CGP_Path* path, double x, double y, double& best, int side, float& normalAngle);

// Draws the outline as a polyline shifted by the offset.
void DrawEdge(const CGP_Path* path, QPainter& painter, int offsetX, int offsetY);

// Draws the whole cut of a puzzle in white: the frame of the cut area and every inner edge.
void DrawCutLines(const CGP_Puzzle& puzzle, QPainter& painter, int offsetX, int offsetY);
