#include "tests/engine/PieceTestSupport.h"

#include "engine/GP_PieceImageBuilder.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"
#include "engine/GP_UnionShadow.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {
int ClampTo(int v, int low, int high)
{
    return std::min(std::max(v, low), high);
}

int ShadeOne(int channel, float f, float g, int K)
{
    return ClampTo(static_cast<int>(f * static_cast<float>(channel) + g * static_cast<float>(K)), 0, 255);
}
} // namespace

std::vector<QImage> ReferencePieceImages(const GP_PieceSource& source)
{
    const QImage picture = source.picture->convertToFormat(QImage::Format_RGB32);
    const GP_PieceFrame frame = GP_MeasurePiece(source.edges, picture.width(), picture.height());
    const int w = frame.Width(), h = frame.Height();
    const int n = source.rotate ? 4 : 1;
    std::vector<int> alpha(static_cast<size_t>(w * h), 0);

    // Alpha: 25 samples a pixel, each against every crossing of its sub-row.
    for (int y = 0; y < h; ++y) {
        for (int k = 0; k < 5; ++k) {
            const double Y = frame.top + y + 0.09 + 0.2 * k;
            std::vector<double> crossings;
            for (int side = 0; side < 4; ++side) {
                if (!source.edges[side])
                    continue;
                for (double c : CrossingsAtY(source.edges[side], Y))
                    crossings.push_back(c);
            }
            if (!source.edges[3] && Y >= frame.topLeftY && Y < frame.bottomLeftY)
                crossings.push_back(0);
            if (!source.edges[1] && Y >= frame.topRightY && Y < frame.bottomRightY)
                crossings.push_back(frame.topRightX);
            for (int x = 0; x < w; ++x) {
                for (int j = 0; j < 5; ++j) {
                    const double X = frame.left + x + 0.09 + 0.2 * j;
                    int left = 0, right = 0;
                    for (double c : crossings) {
                        left += c < X;
                        right += c > X;
                    }
                    if (left % 2 == 1 && right % 2 == 1)
                        ++alpha[static_cast<size_t>(y * w + x)];
                }
            }
        }
    }
    for (int& a : alpha)
        a = static_cast<int>(a * 255 * 0.04);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int& a = alpha[static_cast<size_t>(y * w + x)];
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && a >= 254)
                a = 244;
        }
    }

    std::vector<QImage> images;
    for (int r = 0; r < n; ++r) {
        QImage image(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, (picture.pixel(frame.left + x, frame.top + y) & 0xFFFFFF)
                                         | (uint32_t(alpha[static_cast<size_t>(y * w + x)]) << 24));
        images.push_back(image);
    }

    if (source.bevel) {
        const GP_BevelLight& light = GP_BevelLight::Get();
        const float b = GP_BevelWidth(source.pieceSize);
        const float b1 = b + 1;
        const float k = 1.0f / b;
        const int K = GP_HighlightLevel(source.brightness);
        const double lines[4] = {frame.topLeftY, frame.topRightX, frame.bottomLeftY, frame.topLeftX};
        const float angles[4] = {static_cast<float>(M_PI / 2), static_cast<float>(M_PI), -static_cast<float>(M_PI / 2), 0};
        const double subX[4] = {0.09, 0.59, 0.09, 0.59}, subY[4] = {0.09, 0.09, 0.59, 0.59};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (alpha[static_cast<size_t>(y * w + x)] == 0)
                    continue;
                bool interior = true;
                for (int p = 0; p < 10; ++p) {
                    const float angle = 0.628f * static_cast<float>(p);
                    const int px = ClampTo(x + static_cast<int>(std::lround(b1 * std::cos(angle))), 0, w - 1);
                    const int py = ClampTo(y + static_cast<int>(std::lround(b1 * std::sin(angle))), 0, h - 1);
                    if (alpha[static_cast<size_t>(py * w + px)] < 254)
                        interior = false;
                }
                float diffuse[4] = {}, specular[4] = {};
                for (int sub = 0; sub < 4 && !interior; ++sub) {
                    const double X = frame.left + x + subX[sub];
                    const double Y = frame.top + y + subY[sub];
                    double best = b1;
                    float angle = 0;
                    bool found = false;
                    for (int side = 0; side < 4; ++side) {
                        if (source.edges[side]) {
                            float normal;
                            if (DistanceToEdge(source.edges[side], X, Y, best, side, normal)) {
                                angle = normal;
                                found = true;
                            }
                            continue;
                        }
                        const double d = std::abs((side % 2 == 0 ? Y : X) - lines[side]);
                        if (d < best) {
                            best = d;
                            angle = angles[side];
                            found = true;
                        }
                    }
                    if (!found) {
                        interior = true;
                        break;
                    }
                    for (int r = 0; r < n; ++r) {
                        if (best >= b) {
                            diffuse[r] += light.light[r][2];
                            specular[r] += light.s0;
                            continue;
                        }
                        const float t = static_cast<float>((b - best) * k);
                        const float N[3] = {-std::cos(angle) * t, -std::sin(angle) * t, std::sqrt(1 - t * t)};
                        diffuse[r] += N[0] * light.light[r][0] + N[1] * light.light[r][1] + N[2] * light.light[r][2];
                        specular[r] += GP_Pow32(N[0] * light.half[r][0] + N[1] * light.half[r][1] + N[2] * light.half[r][2]);
                    }
                }
                for (int r = 0; r < n; ++r) {
                    const float f = light.base + (interior ? light.flatDiffuse : diffuse[r]) * light.average;
                    const float g = (interior ? light.flatSpecular : specular[r]) * light.average;
                    const QRgb p = images[static_cast<size_t>(r)].pixel(x, y);
                    images[static_cast<size_t>(r)].setPixel(x, y, qRgba(ShadeOne(qRed(p), f, g, K), ShadeOne(qGreen(p), f, g, K),
                                                                        ShadeOne(qBlue(p), f, g, K), qAlpha(p)));
                }
            }
        }
    }

    for (int r = 0; r < n; ++r) {
        QImage& image = images[static_cast<size_t>(r)];
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb p = image.pixel(x, y);
                const int a = qAlpha(p);
                if (a == 255)
                    continue;
                image.setPixel(x, y, a == 0 ? 0 : qRgba(qRed(p) * a / 255, qGreen(p) * a / 255, qBlue(p) * a / 255, a));
            }
        }
        image = image.transformed(QTransform().rotate(90 * r));
        image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return images;
}

QImage ReferenceShadowAlpha(const CGP_Puzzle& puzzle, const std::vector<GP_PiecePtr>& pieces)
{
    const int r = pieces.front()->m_nRotation;
    const float sigma = puzzle.m_fPieceSize / 200 * 15;
    const int R = static_cast<int>(std::ceil(sigma)), m = R + 1;
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
    for (const GP_PiecePtr& p : pieces) {
        left = std::min(left, p->m_nHomeX[r]);
        top = std::min(top, p->m_nHomeY[r]);
        right = std::max(right, p->m_nHomeX[r] + p->m_nWidths[r]);
        bottom = std::max(bottom, p->m_nHomeY[r] + p->m_nHeights[r]);
    }
    const int W = right - left + 2 * m, H = bottom - top + 2 * m;
    std::vector<double> a(static_cast<size_t>(W * H), 0), mask(static_cast<size_t>(W * H), 0);
    for (const GP_PiecePtr& p : pieces) {
        const int ox = p->m_nHomeX[r] - left + m, oy = p->m_nHomeY[r] - top + m;
        for (int y = oy - m; y < oy + p->m_nHeights[r] + m; ++y)
            for (int x = ox - m; x < ox + p->m_nWidths[r] + m; ++x)
                if (x >= 0 && y >= 0 && x < W && y < H)
                    mask[static_cast<size_t>(y * W + x)] = 1;
        const QImage& image = *p->m_pImages[r];
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    a[static_cast<size_t>((oy + y) * W + ox + x)] = 255;
    }
    std::vector<double> weights;
    double total = 0;
    for (int i = -R; i <= R; ++i) {
        weights.push_back(std::exp(-double(i * i) / (2.0 * sigma * sigma)) / (sigma * std::sqrt(2 * M_PI)));
        total += weights.back();
    }
    for (double& wgt : weights)
        wgt /= total;
    auto pass = [&](const std::vector<double>& in, bool rows) {
        std::vector<double> out(in.size(), 0);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                if (mask[static_cast<size_t>(y * W + x)] == 0)
                    continue;
                double sum = 0;
                for (int i = -R; i <= R; ++i) {
                    const int sx = rows ? x + i : x, sy = rows ? y : y + i;
                    if (sx < 0 || sy < 0 || sx >= W || sy >= H)
                        continue;
                    sum += weights[static_cast<size_t>(i + R)] * in[static_cast<size_t>(sy * W + sx)];
                }
                out[static_cast<size_t>(y * W + x)] = std::min(static_cast<int>(sum + 0.5), 255);
            }
        }
        return out;
    };
    const std::vector<double> blurred = pass(pass(a, true), false);
    QImage result(W, H, QImage::Format_Alpha8);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            result.scanLine(y)[x] = static_cast<uchar>(blurred[static_cast<size_t>(y * W + x)]);
    return result;
}

std::unique_ptr<CGP_Path> StraightEdge(double x1, double y1, double x2, double y2)
{
    auto path = std::make_unique<CGP_Path>();
    GP_PathSegment s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.alpha = s.beta = s.gamma = std::atan2(y2 - y1, x2 - x1);
    s.L = std::hypot(x2 - x1, y2 - y1);
    s.UpdateSlopes();
    path->m_segments.push_back(s);
    path->m_endX = x2;
    path->m_endY = y2;
    return path;
}

CGP_Path StraightPattern()
{
    CGP_Path pattern = std::move(*StraightEdge(0, 0, 1, 0));
    return pattern;
}

QImage TestPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int jitter = static_cast<int>((noise >> 16) % 32);
            row[x] = qRgb((x * 255 / width + jitter) % 256, (y * 255 / height + jitter) % 256,
                          ((x + y) * 97 / (width + height) + 80 + jitter) % 256);
        }
    }
    return image;
}

boost::shared_ptr<CGP_Puzzle> CutPuzzle(const QImage& picture, const CGP_Path* pattern, float pieceSize, float chaos,
                                        bool bevel, bool rotate, bool shadows)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pImage.reset(new QImage(picture));
    puzzle->m_fPieceSize = pieceSize;
    puzzle->m_fChaos = chaos;
    puzzle->m_nBrightness = 100;
    puzzle->m_bOptions[CGP_Puzzle::kOptionBevel] = bevel;
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = rotate;
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = shadows;
    puzzle->m_nEdgeWidth = static_cast<int>(pieceSize / 200 * 8);
    GP_srand(7);
    puzzle->CreateGrid(pattern, true, true);
    return puzzle;
}

GP_PieceSource SourceOf(const CGP_Puzzle& puzzle, int row, int column)
{
    GP_PieceSource source;
    puzzle.GetPieceEdges(row, column, source.edges);
    source.pieceSize = puzzle.m_fPieceSize;
    source.column = column;
    source.row = row;
    source.index = row * puzzle.m_nColumns + column;
    source.brightness = puzzle.m_nBrightness;
    source.rotate = puzzle.m_bOptions[CGP_Puzzle::kOptionRotation];
    source.edgeWidth = puzzle.m_nEdgeWidth;
    source.bevel = puzzle.m_bOptions[CGP_Puzzle::kOptionBevel];
    source.picture = puzzle.m_pImage.get();
    return source;
}

std::vector<uint32_t> Words(const QImage& image)
{
    std::vector<uint32_t> words;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        words.insert(words.end(), row, row + image.width());
    }
    return words;
}
