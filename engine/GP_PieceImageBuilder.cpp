#include "engine/GP_PieceImageBuilder.h"

#include "engine/GP_EdgeCrossingTables.h"
#include "engine/GP_Path.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace {
// Highlight of the bevel: never darker than this grey.
constexpr int kMinHighlight = 63;
// Bevel width per 200 pixels of piece size.
constexpr float kBevelPer200 = 5.0f;
// Sub-rows and sub-columns of a pixel for the alpha: at 0.09 + 0.2·k.
constexpr int kSubSamples = 5;
constexpr double kSubStart = GP_EdgeCrossings::kSubStart;
constexpr double kSubStep = GP_EdgeCrossings::kSubStep;
// Opaque pixels on the border of an image are softened to this.
constexpr int kOpaqueAlpha = 254;
constexpr int kBorderAlpha = 244;
// The probe around a pixel that tells the inside of a piece from its bevel.
constexpr int kProbeCount = 10;
constexpr float kProbeStep = 0.628f;
// The four sub-samples of a bevel pixel.
constexpr double kBevelSubX[4] = {0.09, 0.59, 0.09, 0.59};
constexpr double kBevelSubY[4] = {0.09, 0.09, 0.59, 0.59};
constexpr float kHalfPi = static_cast<float>(M_PI / 2);
constexpr float kPi = static_cast<float>(M_PI);
int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

uint32_t ShadeChannel(int channel, float f, float g, int highlight, int shift)
{
    const int value = static_cast<int>(f * static_cast<float>(channel) + g * static_cast<float>(highlight));
    return static_cast<uint32_t>(Clamp(value, 0, 255)) << shift;
}

uint32_t ShadePixelWord(uint32_t pixel, float f, float g, int highlight)
{
    return (pixel & 0xFF000000u) | ShadeChannel((pixel >> 16) & 0xFF, f, g, highlight, 16)
         | ShadeChannel((pixel >> 8) & 0xFF, f, g, highlight, 8) | ShadeChannel(pixel & 0xFF, f, g, highlight, 0);
}

void Normalise(const float in[3], float out[3])
{
    const float length = std::sqrt(in[0] * in[0] + in[1] * in[1] + in[2] * in[2]);
    for (int i = 0; i < 3; ++i)
        out[i] = in[i] / length;
}

struct EdgeEnds
{
    double x1, y1, x2, y2;
};

EdgeEnds Ends(const CGP_Path* edge)
{
    const GP_PathSegment& first = edge->m_segments.front();
    const GP_PathSegment& last = edge->m_segments.back();
    return {first.x1, first.y1, last.x2, last.y2};
}

// Whichever of the given edges is present answers; otherwise the fallback.
double FirstOf(std::initializer_list<std::pair<const CGP_Path*, double EdgeEnds::*>> options,
               double fallback)
{
    for (const auto& option : options) {
        if (option.first)
            return Ends(option.first).*option.second;
    }
    return fallback;
}

// The light of the four steps side by side, one lane a step.
constexpr int kStepLanes = 4;
struct StepLanes
{
    float lightX[kStepLanes], lightY[kStepLanes], lightZ[kStepLanes];
    float halfX[kStepLanes], halfY[kStepLanes], halfZ[kStepLanes];

    static const StepLanes& Get()
    {
        static const StepLanes lanes = [] {
            const GP_BevelLight& light = GP_BevelLight::Get();
            StepLanes l{};
            for (int r = 0; r < kStepLanes; ++r) {
                l.lightX[r] = light.light[r][0];
                l.lightY[r] = light.light[r][1];
                l.lightZ[r] = light.light[r][2];
                l.halfX[r] = light.half[r][0];
                l.halfY[r] = light.half[r][1];
                l.halfZ[r] = light.half[r][2];
            }
            return l;
        }();
        return lanes;
    }
};

bool Present(const CGP_Path* edge)
{
    return edge && !edge->m_segments.empty();
}
} // namespace

const GP_BevelLight& GP_BevelLight::Get()
{
    static const GP_BevelLight light = [] {
        GP_BevelLight l{};
        l.a = 1.0f / std::sqrt(3.0f);
        const float a = l.a;
        const float directions[4][3] = {{-a, -a, a}, {-a, a, a}, {a, a, a}, {a, -a, a}};
        for (int r = 0; r < 4; ++r) {
            const float towardsViewer[3] = {directions[r][0], directions[r][1], directions[r][2] + 1.0f};
            for (int i = 0; i < 3; ++i)
                l.light[r][i] = directions[r][i];
            Normalise(towardsViewer, l.half[r]);
        }
        l.s0 = GP_Pow32(l.half[0][2]);
        l.flatDiffuse = 4 * a;
        l.flatSpecular = 4 * l.s0;
        l.base = 1 - a - l.s0;
        l.average = 0.25f;
        return l;
    }();
    return light;
}

int GP_HighlightLevel(int brightness)
{
    return std::max(255 - brightness, kMinHighlight);
}

float GP_BevelWidth(float pieceSize)
{
    return pieceSize * kBevelPer200 / 200.0f;
}

GP_PieceFrame GP_MeasurePiece(const CGP_Path* const edges[4], int pictureWidth, int pictureHeight)
{
    GP_PieceFrame frame;
    const CGP_Path* top = Present(edges[0]) ? edges[0] : nullptr;
    const CGP_Path* right = Present(edges[1]) ? edges[1] : nullptr;
    const CGP_Path* bottom = Present(edges[2]) ? edges[2] : nullptr;
    const CGP_Path* left = Present(edges[3]) ? edges[3] : nullptr;
    // Without a single side nothing says where the piece is.
    if (!top && !right && !bottom && !left)
        return frame;

    int boxLeft = pictureWidth, boxTop = pictureHeight, boxRight = 0, boxBottom = 0;
    GP_EdgeBox bounds[4];
    for (int side = 0; side < 4; ++side) {
        if (!Present(edges[side]))
            continue;
        bounds[side] = EdgeBounds(edges[side]);
        boxLeft = std::min(boxLeft, bounds[side].left);
        boxTop = std::min(boxTop, bounds[side].top);
        boxRight = std::max(boxRight, bounds[side].right);
        boxBottom = std::max(boxBottom, bounds[side].bottom);
    }
    frame.innerTop = top ? bounds[0].bottom : std::max(boxTop, 0);
    frame.innerRight = right ? bounds[1].left : boxRight;
    frame.innerBottom = bottom ? bounds[2].top : boxBottom;
    frame.innerLeft = left ? bounds[3].right : std::max(boxLeft, 0);

    frame.left = std::max(boxLeft, 0);
    frame.top = std::max(boxTop, 0);
    frame.right = std::min(boxRight + 1, pictureWidth);
    frame.bottom = std::min(boxBottom + 1, pictureHeight);

    // A straight side runs between the corners of the sides next to it.
    frame.topLeftX = FirstOf({{top, &EdgeEnds::x1}, {bottom, &EdgeEnds::x1}}, frame.left);
    frame.topLeftY = FirstOf({{top, &EdgeEnds::y1}, {left, &EdgeEnds::y1}, {right, &EdgeEnds::y1}}, frame.top);
    frame.topRightX = FirstOf({{top, &EdgeEnds::x2}, {bottom, &EdgeEnds::x2}}, frame.right);
    frame.topRightY = FirstOf({{top, &EdgeEnds::y2}, {right, &EdgeEnds::y1}, {left, &EdgeEnds::y1}}, frame.top);
    frame.bottomLeftX = FirstOf({{bottom, &EdgeEnds::x1}, {top, &EdgeEnds::x1}}, frame.left);
    frame.bottomLeftY = FirstOf({{bottom, &EdgeEnds::y1}, {left, &EdgeEnds::y2}, {right, &EdgeEnds::y2}}, frame.bottom);
    frame.bottomRightX = FirstOf({{bottom, &EdgeEnds::x2}, {top, &EdgeEnds::x2}}, frame.right);
    frame.bottomRightY = FirstOf({{bottom, &EdgeEnds::y2}, {right, &EdgeEnds::y2}, {left, &EdgeEnds::y2}}, frame.bottom);

    frame.valid = frame.right > frame.left && frame.bottom > frame.top;
    return frame;
}

// A side of the piece: the arcs of its edge, or the straight line of a border side.
struct CGP_PieceImageBuilder::Side
{
    const CGP_Path* edge = nullptr;
    std::vector<GP_OutlineArc> arcs;
    const GP_EdgeCrossings* crossings = nullptr; // shared with the piece on the other side, or
    std::unique_ptr<GP_EdgeCrossings> ownCrossings; // made for this piece alone
    bool horizontal = false; // a straight top or bottom: the distance is along y
    double line = 0;
    GP_OutlineNormal normal;
};

struct CGP_PieceImageBuilder::Scratch
{
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> alpha;
    std::vector<uint8_t> opaque;
    std::vector<uint8_t> solid;
    std::vector<int> counts;
    std::vector<int> wholeSteps;
    std::vector<double> crossings;
    std::vector<int> enter, leave;
    std::vector<Candidate> rowCandidates, pixelCandidates;

    static Scratch& OfThisThread()
    {
        thread_local Scratch scratch;
        return scratch;
    }
};

CGP_PieceImageBuilder::CGP_PieceImageBuilder(const GP_PieceSource& source, const GP_PieceFrame& frame)
    : m_source(source)
    , m_frame(frame)
    , m_width(frame.Width())
    , m_height(frame.Height())
    , m_steps(source.rotate ? 4 : 1)
    , m_scratch(Scratch::OfThisThread())
    , m_pixels(m_scratch.pixels)
    , m_alpha(m_scratch.alpha)
{
    m_bevel = GP_BevelWidth(source.pieceSize);
    m_reach = m_bevel + 1;
}

CGP_PieceImageBuilder::~CGP_PieceImageBuilder() = default;

void CGP_PieceImageBuilder::Build(std::vector<QImage>& images)
{
    PrepareSides();
    CopyPicture();
    ComputeAlpha();
    ReleaseCrossings();
    MarkOuterFrame();
    images.clear();
    Targets targets{};
    images.reserve(static_cast<size_t>(m_steps));
    for (int r = 0; r < m_steps; ++r) {
        // Made in place: a second owner would make bits() copy the image.
        images.emplace_back((r & 1) ? m_height : m_width, (r & 1) ? m_width : m_height, QImage::Format_ARGB32_Premultiplied);
        QImage& image = images.back();
        if (image.isNull())
            throw std::bad_alloc();
        // Not cleared: every pixel of every turned image is written below.
        targets.bits[r] = reinterpret_cast<uint32_t*>(image.bits());
    }
    // Each pixel is shaded for every step, premultiplied and put straight where its turn puts it.
    if (m_source.bevel)
        WriteBevelled(targets);
    else
        WritePlain(targets);
}

void CGP_PieceImageBuilder::PrepareSides()
{
    m_sides.clear();
    m_sides.resize(4);
    const double lines[4] = {m_frame.topLeftY, m_frame.topRightX, m_frame.bottomLeftY, m_frame.topLeftX};
    const float angles[4] = {kHalfPi, kPi, -kHalfPi, 0.0f};
    for (int i = 0; i < 4; ++i) {
        Side& side = m_sides[static_cast<size_t>(i)];
        side.horizontal = i == 0 || i == 2;
        side.line = lines[i];
        side.normal = GP_OutlineNormal::Of(angles[i]);
        if (!Present(m_source.edges[i]))
            continue;
        side.edge = m_source.edges[i];
        if (m_source.crossingTables)
            side.crossings = m_source.crossingTables->Of(side.edge);
        if (!side.crossings) {
            side.ownCrossings = std::make_unique<GP_EdgeCrossings>(*side.edge);
            side.crossings = side.ownCrossings.get();
        }
        side.arcs.reserve(side.edge->m_segments.size());
        for (const GP_PathSegment& segment : side.edge->m_segments) {
            if (segment.L > 0)
                side.arcs.emplace_back(segment);
        }
    }
}

void CGP_PieceImageBuilder::ReleaseCrossings()
{
    for (Side& side : m_sides) {
        if (side.crossings && !side.ownCrossings)
            m_source.crossingTables->Done(side.edge);
        side.crossings = nullptr;
        side.ownCrossings.reset();
    }
}

void CGP_PieceImageBuilder::CopyPicture()
{
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    const QImage* picture = m_source.picture;
    QImage converted;
    const bool direct = picture->format() == QImage::Format_ARGB32 || picture->format() == QImage::Format_RGB32;
    if (!direct)
        converted = picture->copy(m_frame.left, m_frame.top, m_width, m_height).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y) {
        const QRgb* row = direct ? reinterpret_cast<const QRgb*>(picture->constScanLine(m_frame.top + y)) + m_frame.left
                                 : reinterpret_cast<const QRgb*>(converted.constScanLine(y));
        uint32_t* out = &m_pixels[static_cast<size_t>(y) * m_width];
        for (int x = 0; x < m_width; ++x)
            out[x] = row[x] & 0x00FFFFFFu;
    }
}

void CGP_PieceImageBuilder::AddRowCrossings(int row, int k, double y, std::vector<double>& crossings) const
{
    for (const Side& side : m_sides) {
        if (side.crossings)
            side.crossings->Append(row, k, crossings);
    }
    // Straight border sides cross every sub-row between their corners.
    if (!m_sides[3].edge && y >= m_frame.topLeftY && y < m_frame.bottomLeftY)
        crossings.push_back(0);
    if (!m_sides[1].edge && y >= m_frame.topRightY && y < m_frame.bottomRightY)
        crossings.push_back(m_frame.topRightX);
}

namespace {
// The sample positions of a row, in order: sample s lies in pixel s / 5 at sub-column s % 5.
class RowSamples
{
public:
    RowSamples(int left, int width) : m_left(left), m_count(width * kSubSamples) {}

    int Count() const { return m_count; }

    double At(int s) const
    {
        const int x = s / kSubSamples;
        const int j = s % kSubSamples;
        return m_left + x + kSubStart + kSubStep * j;
    }

    // The first sample at or right of c (strictly right when after is set).
    int FirstFrom(double c, bool after) const
    {
        const double estimate = (c - m_left - kSubStart) / kSubStep;
        int s = estimate <= 0 ? 0 : (estimate >= m_count ? m_count : static_cast<int>(estimate));
        auto before = [&](int at) { return after ? At(at) <= c : At(at) < c; };
        while (s > 0 && !before(s - 1))
            --s;
        while (s < m_count && before(s))
            ++s;
        return s;
    }

private:
    int m_left;
    int m_count;
};

// Adds the samples first..last-1 to the counts of their pixels; whole pixels go through the
// difference array.
void AddSamples(int first, int last, int* counts, int* wholeSteps)
{
    if (first >= last)
        return;
    const int firstPixel = first / kSubSamples;
    const int lastPixel = (last - 1) / kSubSamples;
    if (firstPixel == lastPixel) {
        counts[firstPixel] += last - first;
        return;
    }
    counts[firstPixel] += (firstPixel + 1) * kSubSamples - first;
    counts[lastPixel] += last - lastPixel * kSubSamples;
    wholeSteps[firstPixel + 1] += kSubSamples;
    wholeSteps[lastPixel] -= kSubSamples;
}
} // namespace

void CGP_PieceImageBuilder::ComputeAlpha()
{
    uint8_t coverage[kSubSamples * kSubSamples + 1];
    for (int h = 0; h <= kSubSamples * kSubSamples; ++h)
        coverage[h] = static_cast<uint8_t>(h * 255 * 0.04);

    m_alpha.assign(static_cast<size_t>(m_width) * m_height, 0);
    const RowSamples samples(m_frame.left, m_width);
    std::vector<int>& counts = m_scratch.counts;
    std::vector<int>& wholeSteps = m_scratch.wholeSteps;
    counts.resize(static_cast<size_t>(m_width));
    wholeSteps.resize(static_cast<size_t>(m_width) + 1);
    std::vector<double>& crossings = m_scratch.crossings;
    std::vector<int>& enter = m_scratch.enter;
    std::vector<int>& leave = m_scratch.leave;
    for (int y = 0; y < m_height; ++y) {
        std::fill(counts.begin(), counts.end(), 0);
        std::fill(wholeSteps.begin(), wholeSteps.end(), 0);
        bool crossed = false;
        for (int k = 0; k < kSubSamples; ++k) {
            const double Y = GP_EdgeCrossings::SubRowY(m_frame.top + y, k);
            crossings.clear();
            AddRowCrossings(m_frame.top + y, k, Y, crossings);
            // A crossing that is no number lies neither left nor right of any sample.
            crossings.erase(std::remove_if(crossings.begin(), crossings.end(), [](double c) { return std::isnan(c); }),
                            crossings.end());
            if (crossings.empty())
                continue;
            crossed = true;
            std::sort(crossings.begin(), crossings.end());
            // A sample is inside when an odd number of crossings lies on either side of it.
            // From enter[i] on, crossing i no longer lies right of the samples; from leave[i]
            // on it lies left of them.
            const int n = static_cast<int>(crossings.size());
            enter.resize(static_cast<size_t>(n));
            leave.resize(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) {
                enter[static_cast<size_t>(i)] = samples.FirstFrom(crossings[static_cast<size_t>(i)], false);
                leave[static_cast<size_t>(i)] = samples.FirstFrom(crossings[static_cast<size_t>(i)], true);
            }
            int at = 0, entered = 0, left = 0;
            for (;;) {
                while (entered < n && enter[static_cast<size_t>(entered)] <= at)
                    ++entered;
                while (left < n && leave[static_cast<size_t>(left)] <= at)
                    ++left;
                int next = samples.Count();
                if (entered < n)
                    next = std::min(next, enter[static_cast<size_t>(entered)]);
                if (left < n)
                    next = std::min(next, leave[static_cast<size_t>(left)]);
                const int rightOf = n - entered;
                if ((left & 1) && (rightOf & 1))
                    AddSamples(at, next, counts.data(), wholeSteps.data());
                if (next >= samples.Count())
                    break;
                at = next;
            }
        }
        if (!crossed)
            continue;
        uint8_t* row = &m_alpha[static_cast<size_t>(y) * m_width];
        int whole = 0;
        for (int x = 0; x < m_width; ++x) {
            whole += wholeSteps[static_cast<size_t>(x)];
            row[x] = coverage[counts[static_cast<size_t>(x)] + whole];
        }
    }
    for (size_t i = 0; i < m_pixels.size(); ++i)
        m_pixels[i] = (m_pixels[i] & 0x00FFFFFFu) | (static_cast<uint32_t>(m_alpha[i]) << 24);
}

void CGP_PieceImageBuilder::MarkOuterFrame()
{
    auto soften = [&](int x, int y) {
        const size_t i = static_cast<size_t>(y) * m_width + x;
        if (m_alpha[i] < kOpaqueAlpha)
            return;
        m_alpha[i] = kBorderAlpha;
        m_pixels[i] = (m_pixels[i] & 0x00FFFFFFu) | (static_cast<uint32_t>(kBorderAlpha) << 24);
    };
    for (int x = 0; x < m_width; ++x) {
        soften(x, 0);
        soften(x, m_height - 1);
    }
    for (int y = 0; y < m_height; ++y) {
        soften(0, y);
        soften(m_width - 1, y);
    }
}

int CGP_PieceImageBuilder::NearestSides(const Candidate* candidates, int count, SubSamples& samples) const
{
    const double reach = m_reach;
    samples.distance = GP_Lanes{reach, reach, reach, reach};
    int found = 0;
    // The last side that came closer decides the normal; an arc's is worked out only then.
    for (int c = 0; c < count; ++c) {
        const Candidate& candidate = candidates[c];
        if (candidate.arc) {
            int sample[kLaneCount];
            const int closer = candidate.arc->Distance(samples.x, samples.y, samples.distance, sample);
            for (int lane = 0; lane < kLaneCount; ++lane) {
                if (!(closer & (1 << lane)))
                    continue;
                samples.nearest[lane] = &candidate;
                samples.sample[lane] = sample[lane];
            }
            found |= closer;
            continue;
        }
        const Side& side = m_sides[static_cast<size_t>(candidate.side)];
        const GP_Lanes& along = side.horizontal ? samples.y : samples.x;
        for (int lane = 0; lane < kLaneCount; ++lane) {
            const double d = std::abs(along[lane] - side.line);
            if (d < samples.distance[lane]) {
                samples.distance[lane] = d;
                samples.nearest[lane] = &candidate;
                found |= 1 << lane;
            }
        }
    }
    return found;
}

namespace {
uint32_t Premultiplied(uint32_t pixel)
{
    const uint32_t a = pixel >> 24;
    if (a == 255)
        return pixel;
    if (a == 0)
        return 0;
    const uint32_t r = ((pixel >> 16) & 0xFF) * a / 255;
    const uint32_t g = ((pixel >> 8) & 0xFF) * a / 255;
    const uint32_t b = (pixel & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}
} // namespace

CGP_PieceImageBuilder::RowTargets CGP_PieceImageBuilder::RowOf(const Targets& targets, int y) const
{
    // Where pixel (0, y) goes in each turned image, and how far one pixel to the right moves it.
    const ptrdiff_t w = m_width;
    const ptrdiff_t h = m_height;
    RowTargets row{};
    row.at[0] = targets.bits[0] + y * w;
    row.step[0] = 1;
    if (m_steps == 1)
        return row;
    row.at[1] = targets.bits[1] + (h - 1 - y);
    row.step[1] = h;
    row.at[2] = targets.bits[2] + (h - 1 - y) * w + (w - 1);
    row.step[2] = -1;
    row.at[3] = targets.bits[3] + (w - 1) * h + y;
    row.step[3] = -h;
    return row;
}

void CGP_PieceImageBuilder::WritePlain(const Targets& targets)
{
    for (int y = 0; y < m_height; ++y) {
        const RowTargets row = RowOf(targets, y);
        for (int x = 0; x < m_width; ++x) {
            const size_t i = static_cast<size_t>(y) * m_width + x;
            const uint32_t word = Premultiplied(m_pixels[i]);
            for (int r = 0; r < m_steps; ++r)
                row.at[r][x * row.step[r]] = word;
        }
    }
}

void CGP_PieceImageBuilder::WriteBevelled(const Targets& targets)
{
    const GP_BevelLight& light = GP_BevelLight::Get();
    const int highlight = GP_HighlightLevel(m_source.brightness);
    int probeX[kProbeCount], probeY[kProbeCount];
    ptrdiff_t probeStep[kProbeCount];
    int probeReach = 0;
    for (int i = 0; i < kProbeCount; ++i) {
        const float angle = kProbeStep * static_cast<float>(i);
        probeX[i] = static_cast<int>(std::lround(m_reach * std::cos(angle)));
        probeY[i] = static_cast<int>(std::lround(m_reach * std::sin(angle)));
        probeStep[i] = static_cast<ptrdiff_t>(probeY[i]) * m_width + probeX[i];
        probeReach = std::max({probeReach, std::abs(probeX[i]), std::abs(probeY[i])});
    }
    // Inside the piece every pixel gets the same flat light: one table for all of them.
    const float flatF = light.base + light.flatDiffuse * light.average;
    const float flatG = light.flatSpecular * light.average;
    uint8_t flat[256];
    for (int c = 0; c < 256; ++c)
        flat[c] = static_cast<uint8_t>(ShadeChannel(c, flatF, flatG, highlight, 0));

    // Opaque enough to count as inside, and, per row, which pixels have every probe point so.
    std::vector<uint8_t>& opaque = m_scratch.opaque;
    opaque.resize(m_alpha.size());
    for (size_t i = 0; i < m_alpha.size(); ++i)
        opaque[i] = m_alpha[i] >= kOpaqueAlpha;
    std::vector<uint8_t>& solid = m_scratch.solid;
    solid.resize(static_cast<size_t>(m_width));

    std::vector<Candidate>& rowCandidates = m_scratch.rowCandidates;
    std::vector<Candidate>& pixelCandidates = m_scratch.pixelCandidates;
    for (int y = 0; y < m_height; ++y) {
        const RowTargets row = RowOf(targets, y);
        // The sides that may lie within reach of some sub-sample of this row, in side order.
        const double rowTop = m_frame.top + y + kBevelSubY[0];
        const double rowBottom = m_frame.top + y + kBevelSubY[3];
        rowCandidates.clear();
        for (int s = 0; s < 4; ++s) {
            const Side& side = m_sides[static_cast<size_t>(s)];
            if (!side.edge) {
                rowCandidates.push_back({s, nullptr, -HUGE_VAL, HUGE_VAL});
                continue;
            }
            for (const GP_OutlineArc& arc : side.arcs) {
                if (arc.Near(-HUGE_VAL, rowTop, HUGE_VAL, rowBottom, m_reach))
                    rowCandidates.push_back({s, &arc, arc.MinX() - m_reach, arc.MaxX() + m_reach});
            }
        }
        const bool rowInside = y >= probeReach && y < m_height - probeReach;
        const int innerEnd = m_width - probeReach;
        if (rowInside && innerEnd > probeReach) {
            std::fill(solid.begin(), solid.end(), 1);
            const uint8_t* opaqueRow = &opaque[static_cast<size_t>(y) * m_width];
            uint8_t* __restrict solidRow = solid.data();
            for (int p = 0; p < kProbeCount; ++p) {
                const uint8_t* __restrict probe = opaqueRow + probeStep[p];
                for (int x = probeReach; x < innerEnd; ++x)
                    solidRow[x] &= probe[x];
            }
        }
        for (int x = 0; x < m_width; ++x) {
            const size_t i = static_cast<size_t>(y) * m_width + x;
            if (m_alpha[i] == 0) {
                for (int r = 0; r < m_steps; ++r)
                    row.at[r][x * row.step[r]] = 0;
                continue;
            }
            bool interior = true;
            if (rowInside && x >= probeReach && x < innerEnd) {
                interior = solid[static_cast<size_t>(x)] != 0;
            } else {
                for (int p = 0; p < kProbeCount && interior; ++p) {
                    const int px = Clamp(x + probeX[p], 0, m_width - 1);
                    const int py = Clamp(y + probeY[p], 0, m_height - 1);
                    interior = m_alpha[static_cast<size_t>(py) * m_width + px] >= kOpaqueAlpha;
                }
            }
            if (!interior) {
                const double left = m_frame.left + x + kBevelSubX[0];
                const double right = m_frame.left + x + kBevelSubX[3];
                pixelCandidates.clear();
                // The row's candidates already reach the row; only the columns are left to ask.
                for (const Candidate& candidate : rowCandidates) {
                    if (candidate.reachLeft <= right && candidate.reachRight >= left)
                        pixelCandidates.push_back(candidate);
                }
                uint32_t words[4];
                ShadePixel(x, y, highlight, pixelCandidates, words);
                for (int r = 0; r < m_steps; ++r)
                    row.at[r][x * row.step[r]] = Premultiplied(words[r]);
                continue;
            }
            const uint32_t pixel = m_pixels[i];
            const uint32_t shaded = (pixel & 0xFF000000u) | (uint32_t(flat[(pixel >> 16) & 0xFF]) << 16)
                                  | (uint32_t(flat[(pixel >> 8) & 0xFF]) << 8) | flat[pixel & 0xFF];
            const uint32_t word = Premultiplied(shaded);
            for (int r = 0; r < m_steps; ++r)
                row.at[r][x * row.step[r]] = word;
        }
    }
}

void CGP_PieceImageBuilder::ShadePixel(int x, int y, int highlight, const std::vector<Candidate>& candidates,
                                       uint32_t words[4])
{
    const GP_BevelLight& light = GP_BevelLight::Get();
    const StepLanes& lanes = StepLanes::Get();
    const uint32_t pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    SubSamples samples;
    for (int sub = 0; sub < kLaneCount; ++sub) {
        samples.x[sub] = m_frame.left + x + kBevelSubX[sub];
        samples.y[sub] = m_frame.top + y + kBevelSubY[sub];
    }
    // A sub-sample with no side within reach makes the whole pixel an interior one.
    if (NearestSides(candidates.data(), static_cast<int>(candidates.size()), samples) != (1 << kLaneCount) - 1) {
        const float f = light.base + light.flatDiffuse * light.average;
        const float g = light.flatSpecular * light.average;
        for (int r = 0; r < m_steps; ++r)
            words[r] = ShadePixelWord(pixel, f, g, highlight);
        return;
    }
    const float k = 1.0f / m_bevel;
    float diffuse[4] = {0, 0, 0, 0};
    float specular[4] = {0, 0, 0, 0};
    for (int sub = 0; sub < kLaneCount; ++sub) {
        const double d = samples.distance[sub];
        // Every step is lit, whether the piece turns or not: four lanes cost no more than one.
        if (d >= m_bevel) {
            for (int r = 0; r < kStepLanes; ++r) {
                diffuse[r] += lanes.lightZ[r];
                specular[r] += light.s0;
            }
            continue;
        }
        // Only a slope needs the side's normal.
        const Candidate* nearest = samples.nearest[sub];
        const GP_OutlineNormal& normal = nearest->arc ? nearest->arc->NormalAt(samples.sample[sub], nearest->side >= 2)
                                                      : m_sides[static_cast<size_t>(nearest->side)].normal;
        const float t = static_cast<float>((m_bevel - d) * k);
        const float nx = normal.awayX * t;
        const float ny = normal.awayY * t;
        const float nz = std::sqrt(1 - t * t);
        for (int r = 0; r < kStepLanes; ++r) {
            diffuse[r] += nx * lanes.lightX[r] + ny * lanes.lightY[r] + nz * lanes.lightZ[r];
            specular[r] += GP_Pow32(nx * lanes.halfX[r] + ny * lanes.halfY[r] + nz * lanes.halfZ[r]);
        }
    }
    for (int r = 0; r < m_steps; ++r) {
        const float f = light.base + diffuse[r] * light.average;
        const float g = specular[r] * light.average;
        words[r] = ShadePixelWord(pixel, f, g, highlight);
    }
}
