#include "engine/GP_UnionShadow.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/log/GP_LogFile.h"

#include <QRect>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <stdexcept>

namespace {
// σ of a shadow per 200 pixels of piece size.
constexpr float kSigmaPer200 = 15.0f;
constexpr uint8_t kMasked = 255;
constexpr uint8_t kOpaque = 255;

std::atomic<bool> g_silhouettes{true};

// One pass of the blur along lines of a plane: count lines of length points, step apart
// along a line and lineStep apart between lines. Only masked points are computed; the rest
// stay 0. The input is binary on the first pass, so windows that are all 0 or all 255 are
// known without a sum: they add up exactly as every other window of their kind does.
void BlurPass(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, const std::vector<uint8_t>& mask,
              const std::vector<double>& kernel, int lines, int length, int step, int lineStep)
{
    const int R = static_cast<int>(kernel.size() / 2);
    const int window = 2 * R + 1;
    double fullSum = 0;
    for (double weight : kernel)
        fullSum += weight * kOpaque;
    const uint8_t full = static_cast<uint8_t>(std::min(static_cast<int>(fullSum + 0.5), 255));
    for (int line = 0; line < lines; ++line) {
        const size_t base = static_cast<size_t>(line) * lineStep;
        auto at = [&](int i) { return in[base + static_cast<size_t>(i) * step]; };
        // Zeros and opaque points in the window [i − R, i + R] as it slides.
        int zeros = 0, opaque = 0;
        for (int i = 0; i < std::min(R, length); ++i) {
            zeros += at(i) == 0;
            opaque += at(i) == kOpaque;
        }
        for (int i = 0; i < length; ++i) {
            if (i + R < length) {
                zeros += at(i + R) == 0;
                opaque += at(i + R) == kOpaque;
            }
            if (i - R - 1 >= 0) {
                zeros -= at(i - R - 1) == 0;
                opaque -= at(i - R - 1) == kOpaque;
            }
            const size_t index = base + static_cast<size_t>(i) * step;
            if (mask[index] == 0) {
                out[index] = 0;
                continue;
            }
            const bool whole = i - R >= 0 && i + R < length;
            if (zeros == window || (!whole && zeros == std::min(i + R, length - 1) - std::max(i - R, 0) + 1)) {
                out[index] = 0;
                continue;
            }
            if (whole && opaque == window) {
                out[index] = full;
                continue;
            }
            double sum = 0;
            if (whole) {
                const uint8_t* first = &in[base + static_cast<size_t>(i - R) * step];
                for (int k = 0; k < window; ++k)
                    sum += kernel[static_cast<size_t>(k)] * first[static_cast<size_t>(k) * step];
            } else {
                for (int k = -R; k <= R; ++k) {
                    const int j = i + k;
                    if (j < 0 || j >= length)
                        continue;
                    sum += kernel[static_cast<size_t>(k + R)] * at(j);
                }
            }
            out[index] = static_cast<uint8_t>(std::min(static_cast<int>(sum + 0.5), 255));
        }
    }
}

// Windows up to this long are blurred on the first pass by table.
constexpr int kLongestTableWindow = 16;

// Every first-pass window's result by which of its points are opaque: bit k stands for the
// k-th point of the window. The first pass sees only 0 and opaque points, and a 0 adds exactly
// nothing, so the sum over the opaque points in window order is the whole sum, bit for bit.
class OpaqueWindowTable
{
public:
    const std::vector<uint8_t>& For(const std::vector<double>& kernel)
    {
        if (kernel == m_kernel)
            return m_results;
        m_kernel = kernel;
        const size_t count = size_t(1) << kernel.size();
        std::vector<double> sums(count, 0);
        m_results.assign(count, 0);
        for (size_t bits = 1; bits < count; ++bits) {
            int last = 0;
            while ((bits >> (last + 1)) != 0)
                ++last;
            // The last point of the window is added last.
            sums[bits] = sums[bits & ~(size_t(1) << last)] + kernel[static_cast<size_t>(last)] * kOpaque;
            m_results[bits] = static_cast<uint8_t>(std::min(static_cast<int>(sums[bits] + 0.5), 255));
        }
        return m_results;
    }

    static OpaqueWindowTable& OfThisThread()
    {
        thread_local OpaqueWindowTable table;
        return table;
    }

private:
    std::vector<double> m_kernel;
    std::vector<uint8_t> m_results;
};

// The first pass of the blur over a plane of 0 and opaque points, by table.
void OpaqueBlurPass(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, const std::vector<uint8_t>& mask,
                    const std::vector<uint8_t>& results, int R, int lines, int length, int step, int lineStep)
{
    for (int line = 0; line < lines; ++line) {
        const size_t base = static_cast<size_t>(line) * lineStep;
        auto opaqueAt = [&](int i) { return uint32_t(in[base + static_cast<size_t>(i) * step] == kOpaque); };
        // Before point i: the window of point i − 1, its first point at bit 0.
        uint32_t bits = 0;
        for (int j = 0; j < std::min(R, length); ++j)
            bits |= opaqueAt(j) << (j + 1 + R);
        for (int i = 0; i < length; ++i) {
            bits >>= 1;
            if (i + R < length)
                bits |= opaqueAt(i + R) << (2 * R);
            const size_t index = base + static_cast<size_t>(i) * step;
            out[index] = mask[index] == 0 ? 0 : results[bits];
        }
    }
}

// The second pass, down the columns, worked a row at a time so that whole rows are summed side
// by side. Every point still adds its window in order, and a point outside the canvas, which the
// column pass skips, would have added exactly nothing: the sums are the same to the bit.
void ColumnBlurPass(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, const std::vector<uint8_t>& mask,
                    const std::vector<double>& kernel, int width, int height)
{
    const int R = static_cast<int>(kernel.size() / 2);
    std::vector<double> sums(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0.0);
        for (int j = std::max(y - R, 0); j <= std::min(y + R, height - 1); ++j) {
            const double weight = kernel[static_cast<size_t>(j - y + R)];
            const uint8_t* row = &in[static_cast<size_t>(j) * width];
            for (int x = 0; x < width; ++x)
                sums[static_cast<size_t>(x)] += weight * row[x];
        }
        const size_t base = static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const double sum = sums[static_cast<size_t>(x)];
            out[base + x] = mask[base + x] == 0 ? 0 : static_cast<uint8_t>(std::min(static_cast<int>(sum + 0.5), 255));
        }
    }
}

// The group's box: the union of its pieces' home rectangles for the rotation step.
QRect GroupHomeBox(const CGP_PuzzlePieceUnion& group, int step)
{
    QRect box;
    for (const GP_PiecePtr& piece : group.m_pieces)
        box |= QRect(piece->m_nHomeX[step], piece->m_nHomeY[step], piece->m_nWidths[step], piece->m_nHeights[step]);
    return box;
}

void DrawSilhouette(const CGP_PuzzlePiece& piece, int step, int offsetX, int offsetY, int width,
                    std::vector<uint8_t>& alpha)
{
    const QImage* image = piece.m_pImages[step].get();
    if (!image || image->isNull())
        throw std::runtime_error("piece without an image");
    if (image->width() != piece.m_nWidths[step] || image->height() != piece.m_nHeights[step])
        throw std::runtime_error("piece image of another size");
    const int imageWidth = image->width();
    const int imageHeight = image->height();
    for (int y = 0; y < imageHeight; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image->constScanLine(y));
        uint8_t* out = &alpha[static_cast<size_t>(y + offsetY) * width + offsetX];
        for (int x = 0; x < imageWidth; ++x) {
            if (qAlpha(row[x]) != 0)
                out[x] = kOpaque;
        }
    }
}
} // namespace

float GP_ShadowSigma(float pieceSize)
{
    return pieceSize / 200 * kSigmaPer200;
}

int GP_ShadowRadius(float sigma)
{
    return static_cast<int>(std::ceil(sigma));
}

int GP_ShadowMargin(float sigma)
{
    return GP_ShadowRadius(sigma) + 1;
}

std::vector<double> GP_ShadowKernel(float sigma)
{
    const int R = GP_ShadowRadius(sigma);
    std::vector<double> kernel(static_cast<size_t>(2 * R + 1));
    const double s = sigma;
    double total = 0;
    for (int i = -R; i <= R; ++i) {
        const double weight = std::exp(-double(i * i) / (2 * s * s)) / (s * std::sqrt(2 * M_PI));
        kernel[static_cast<size_t>(i + R)] = weight;
        total += weight;
    }
    for (double& weight : kernel)
        weight /= total;
    return kernel;
}

void GP_SetShadowSilhouettes(bool on)
{
    g_silhouettes = on;
}

bool GP_ShadowSilhouettes()
{
    return g_silhouettes;
}

void CreateUnionShadow(CGP_Puzzle* puzzle, const GP_GroupPtr& group)
{
    if (!puzzle || !group || group->m_pieces.empty() || group->m_pShadow)
        return;
    const CGP_PuzzlePiece& first = *group->m_pieces.front();
    const int step = first.m_nRotation & 3;
    const float sigma = GP_ShadowSigma(puzzle->m_fPieceSize);
    // A piece size of 0 would make a kernel of nothing but divisions by zero.
    if (!(sigma > 0)) {
        GP_Log(QStringLiteral("CreateUnionShadow: no shadow for piece size %1\n").arg(puzzle->m_fPieceSize));
        return;
    }
    const int margin = GP_ShadowMargin(sigma);
    const QRect box = GroupHomeBox(*group, step);
    const QRect canvasBox = box.adjusted(-margin, -margin, margin, margin);
    const int width = canvasBox.width();
    const int height = canvasBox.height();
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) {
        GP_Log(QStringLiteral("Error CImage::Create (CreateUnionShadow) %1 x %2\n").arg(width).arg(height));
        return;
    }
    const size_t size = static_cast<size_t>(width) * height;
    std::vector<uint8_t> alpha(size, 0), mask(size, 0);
    for (const GP_PiecePtr& piece : group->m_pieces) {
        const QRect home(piece->m_nHomeX[step] - canvasBox.left(), piece->m_nHomeY[step] - canvasBox.top(),
                         piece->m_nWidths[step], piece->m_nHeights[step]);
        const QRect reach = home.adjusted(-margin, -margin, margin, margin).intersected(QRect(0, 0, width, height));
        for (int y = reach.top(); y <= reach.bottom(); ++y)
            std::fill_n(&mask[static_cast<size_t>(y) * width + reach.left()], reach.width(), kMasked);
        if (!GP_ShadowSilhouettes())
            continue;
        try {
            DrawSilhouette(*piece, step, home.left(), home.top(), width, alpha);
        } catch (...) {
            GP_Log(QStringLiteral("Error CGP_Puzzle::CreateUnionShadow\n"));
            GP_SetShadowSilhouettes(false);
        }
    }

    const std::vector<double> kernel = GP_ShadowKernel(sigma);
    std::vector<uint8_t> across(size, 0);
    if (kernel.size() <= static_cast<size_t>(kLongestTableWindow)) {
        const std::vector<uint8_t>& results = OpaqueWindowTable::OfThisThread().For(kernel);
        OpaqueBlurPass(alpha, across, mask, results, static_cast<int>(kernel.size() / 2), height, width, 1, width);
    } else {
        BlurPass(alpha, across, mask, kernel, height, width, 1, width);
    }
    ColumnBlurPass(across, alpha, mask, kernel, width, height);
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        const uint8_t* in = &alpha[static_cast<size_t>(y) * width];
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<QRgb>(in[x]) << 24;
    }
    // The shadow follows the group: it lies where the box lies relative to the first piece.
    group->m_nShadowLeft = first.m_nX - first.m_nHomeX[step] + canvasBox.left();
    group->m_nShadowTop = first.m_nY - first.m_nHomeY[step] + canvasBox.top();
    group->m_nShadowWidth = width;
    group->m_nShadowHeight = height;
    group->m_pShadow = boost::shared_ptr<QImage>(new QImage(canvas));
}
