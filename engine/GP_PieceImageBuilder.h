#pragma once

#include "engine/GP_OutlineArc.h"
#include "engine/GP_PuzzlePiece.h"

#include <QImage>

#include <cmath>
#include <cstdint>
#include <vector>

class CGP_Path;

// The light that shades a bevel, in single precision as it always was. Step r is the light of
// the image turned r quarter turns: once turned, every image is lit from the upper left.
struct GP_BevelLight
{
    float a;              // 1/√3
    float light[4][3];    // towards the light, per rotation step
    float half[4][3];     // half vector between the light and the viewer
    float s0;             // highlight of a flat surface, (H0.z)^32
    float flatDiffuse;    // four flat sub-samples
    float flatSpecular;
    float base;           // 1 − a − s0
    float average;        // 1/4

    static const GP_BevelLight& Get();
};

// x^32 by squaring, in single precision.
inline float GP_Pow32(float x)
{
    for (int i = 0; i < 5; ++i)
        x *= x;
    return x;
}

// Grey level of the bevel's highlight: the darker the picture, the brighter the highlight.
int GP_HighlightLevel(int brightness);
// Width of the bevel for a piece size.
float GP_BevelWidth(float pieceSize);

// Where a piece lies in the picture, worked out from its sides.
struct GP_PieceFrame
{
    bool valid = false;
    // The image box; right and bottom exclusive.
    int left = 0, top = 0, right = 0, bottom = 0;
    // Inner limits of the four sides: what lies between them is solid piece.
    int innerTop = 0, innerRight = 0, innerBottom = 0, innerLeft = 0;
    // Corners, for the straight border sides.
    double topLeftX = 0, topLeftY = 0, topRightX = 0, topRightY = 0;
    double bottomRightX = 0, bottomRightY = 0, bottomLeftX = 0, bottomLeftY = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The box, inner limits and corners of the piece with these sides (top, right, bottom, left).
// Not valid when the piece has no side at all or its box misses the picture.
GP_PieceFrame GP_MeasurePiece(const CGP_Path* const edges[4], int pictureWidth, int pictureHeight);

// Makes a piece's images from the picture: the anti-aliased alpha of its outline, the outer
// frame, the bevel, premultiplication and the quarter turns.
class CGP_PieceImageBuilder
{
public:
    CGP_PieceImageBuilder(const GP_PieceSource& source, const GP_PieceFrame& frame);
    ~CGP_PieceImageBuilder();

    // One premultiplied image, or four when the source rotates pieces, each already turned.
    // Throws std::bad_alloc when an image cannot be made.
    void Build(std::vector<QImage>& images);

private:
    struct Side;
    struct Scratch;
    // A side, or one arc of it, that may be the nearest to a pixel.
    struct Candidate
    {
        int side;
        const GP_OutlineArc* arc; // null: the straight border side
        double reachLeft, reachRight; // pixels whose sub-samples lie between these may find it
    };
    // Where each step's image keeps its words.
    struct Targets
    {
        uint32_t* bits[4];
    };
    // One row of the unturned image as it lies in each turned image.
    struct RowTargets
    {
        uint32_t* at[4];
        ptrdiff_t step[4];
    };

    void PrepareSides();
    void CopyPicture();
    void ComputeAlpha();
    // Lets go of the sides' crossings once the alpha has them.
    void ReleaseCrossings();
    void MarkOuterFrame();
    // The crossings of sub-row k (at height y) of a picture row with every side.
    void AddRowCrossings(int row, int k, double y, std::vector<double>& crossings) const;
    void WritePlain(const Targets& targets);
    void WriteBevelled(const Targets& targets);
    // The four sub-samples of a bevel pixel with the nearest side each has found.
    struct SubSamples
    {
        GP_Lanes x, y;
        GP_Lanes distance;
        const Candidate* nearest[kLaneCount];
        int sample[kLaneCount];
    };
    // Finds each sub-sample's nearest side within reach, asking the sides in order; returns the
    // sub-samples that found one, sub-sample i as bit i.
    int NearestSides(const Candidate* candidates, int count, SubSamples& samples) const;
    void ShadePixel(int x, int y, int highlight, const std::vector<Candidate>& candidates, uint32_t words[4]);
    RowTargets RowOf(const Targets& targets, int y) const;

    const GP_PieceSource& m_source;
    const GP_PieceFrame& m_frame;
    int m_width;
    int m_height;
    int m_steps;
    // Working buffers kept by each builder thread from piece to piece.
    Scratch& m_scratch;
    std::vector<uint32_t>& m_pixels;  // the picture under the piece, with the piece's alpha
    std::vector<uint8_t>& m_alpha;
    std::vector<Side> m_sides;
    float m_bevel = 0;
    float m_reach = 0;
};
