#include "engine/GP_Puzzle.h"

#include "engine/GP_Random.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <exception>

namespace {
// Pictures smaller than this on either side are enlarged when fitted for a new puzzle.
constexpr int kMinPictureSide = 48;
// 1.57 as the single-precision value it always was.
const double kNearHalfPi = static_cast<double>(1.57f);
constexpr int kDirectionDraws = 1000;
constexpr int kDirectionThreshold = 499;
// Thumbnail positions beyond this are damage, not places.
constexpr int kThumbPositionLimit = 20000000;
constexpr int kProgressInset = 14;
constexpr QRgb kProgressColour = 0xF0CAA6; // as a COLORREF: 0x00BBGGRR
constexpr int kProgressAlpha = 192;
constexpr float kProgressStart = 1.57f;
constexpr float kProgressPerPercent = 0.0628f;
constexpr int kProgressReach = 1000;

const bool kRandomTabs[kPatternCount] = {true, true, true, true, true, false, true, true,
                                         false, true, true, true, true, true, true, true};

// A log text is taken with "%%" meaning "%": literal percent signs of names are doubled.
QString LogSafe(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// A 32-bit picture of the given size; running out of room for it is an engine error.
QImage CheckedPicture(QImage image, const char* step)
{
    if (image.isNull()) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadImage: CImage::%1 GetLastError = %2 \n")
                   .arg(QLatin1String(step)).arg(errno));
        throw CGP_Exeption("Error CImage::Create", __LINE__, "GP_Puzzle");
    }
    return image;
}

// Brightness as the game has always measured it: each row's sum is added to the running value
// and the whole divided by three times the width, row after row.
int32_t MeasureBrightness(QImage& picture)
{
    const int w = picture.width();
    double v = 0;
    for (int y = 0; y < picture.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        double rowSum = 0;
        for (int x = 0; x < w; ++x) {
            row[x] |= 0xFF000000u;
            rowSum += qRed(row[x]) + qGreen(row[x]) + qBlue(row[x]);
        }
        v = (v + rowSum) / (3.0 * w);
    }
    return std::min(static_cast<int32_t>(v), 255);
}
} // namespace

bool GP_PatternHasRandomTabs(int patternIndex)
{
    if (patternIndex < 0 || patternIndex >= kPatternCount)
        return true;
    return kRandomTabs[patternIndex];
}

CGP_Puzzle::CGP_Puzzle() = default;
CGP_Puzzle::~CGP_Puzzle() = default;

QImage CGP_Puzzle::DecodeImage(const QString& path)
{
    QImageReader reader(path);
    QImage loaded = reader.read();
    if (loaded.isNull())
        GP_Log(QStringLiteral("CGP_Puzzle::LoadImage: CImage::Load HRESULT=%1 GetLastError=%2 \n")
                   .arg(static_cast<int>(reader.error())).arg(errno));
    return loaded;
}

void CGP_Puzzle::LoadImage(const QString& path, const QSize* fit)
{
    LoadImage(DecodeImage(path), fit);
}

void CGP_Puzzle::LoadImage(const QImage& loaded, const QSize* fit)
{
    if (loaded.isNull()) {
        m_pImage.reset();
        m_pImageCopy.reset();
        return;
    }
    const int W = loaded.width();
    const int H = loaded.height();
    float w = W, h = H;
    if (fit && (W > fit->width() || H > fit->height())) {
        const float scale = float(W) / H >= float(fit->width()) / fit->height() ? float(W) / fit->width()
                                                                              : float(H) / fit->height();
        w = W / scale;
        h = H / scale;
    } else if (fit && (W < kMinPictureSide || H < kMinPictureSide)) {
        if (W < H) {
            w = kMinPictureSide;
            h = float(H) * kMinPictureSide / W;
        } else {
            h = kMinPictureSide;
            w = float(W) * kMinPictureSide / H;
        }
    }
    UsePicture(loaded, QSize(static_cast<int>(w), static_cast<int>(h)));
}

void CGP_Puzzle::UsePicture(const QImage& source, const QSize& size)
{
    // A picture squeezed below one pixel cannot be cut; it is refused, not a reason to stop.
    if (source.isNull() || size.width() < 1 || size.height() < 1) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadImage: CImage::Create1 GetLastError = %1 \n").arg(EINVAL));
        m_pImage.reset();
        m_pImageCopy.reset();
        return;
    }

    QImage picture = CheckedPicture(QImage(size, QImage::Format_ARGB32), "Create1");
    // Transparent parts of a picture end up black, as on a fresh bitmap.
    picture.fill(QColor(0, 0, 0));
    {
        QPainter painter(&picture);
        if (size != source.size()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(QPoint(0, 0), size), source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        } else {
            painter.drawImage(0, 0, source);
        }
    }
    m_nBrightness = MeasureBrightness(picture);
    m_pImage = boost::shared_ptr<QImage>(new QImage(picture));
    m_pImageCopy = boost::shared_ptr<QImage>(new QImage(CheckedPicture(picture.copy(), "Create2")));
}

void CGP_Puzzle::CreateGrid(const CGP_Path* pattern, bool randomTabs, bool generate)
{
    if (!pattern || !m_pImage || m_pImage->isNull())
        return;
    m_pPattern = pattern;
    const int W = m_pImage->width();
    const int H = m_pImage->height();
    if (m_fPieceSize == 0)
        m_fPieceSize = static_cast<float>(std::min(W / 4, H / 4));
    const int cell = static_cast<int>(m_fPieceSize);
    // A picture too small for even one piece: cutting it would divide by zero.
    if (cell < 1) {
        GP_Log(QStringLiteral("CGP_Puzzle::CreateGrid: piece size %1 cannot cut a %2 x %3 picture\n")
                   .arg(m_fPieceSize).arg(W).arg(H));
        return;
    }
    const double size = m_fPieceSize;
    m_nColumns = W / cell;
    m_nRows = H / cell;
    m_nPieceCount = m_nRows * m_nColumns;
    m_fLeft = static_cast<float>((W - m_nColumns * size) * 0.5);
    m_fRight = static_cast<float>(m_fLeft + m_nColumns * size);
    m_fTop = static_cast<float>((H - m_nRows * size) * 0.5);
    m_fBottom = static_cast<float>(m_fTop + m_nRows * size);

    ReleaseGrid(!generate);
    MakeCorners(size);

    m_nVerticalEdgeCount = (m_nColumns + 1) * m_nRows;
    m_nHorizontalEdgeCount = (m_nRows + 1) * m_nColumns;
    m_pVerticalEdges.clear();
    m_pVerticalEdges.resize(static_cast<size_t>(m_nVerticalEdgeCount));
    m_pHorizontalEdges.clear();
    m_pHorizontalEdges.resize(static_cast<size_t>(m_nHorizontalEdgeCount));
    // Directions of a stored puzzle that do not fit its grid are damage: start them afresh.
    if (m_pVerticalDirections.size() != m_pVerticalEdges.size())
        m_pVerticalDirections.assign(m_pVerticalEdges.size(), 0);
    if (m_pHorizontalDirections.size() != m_pHorizontalEdges.size())
        m_pHorizontalDirections.assign(m_pHorizontalEdges.size(), 0);

    try {
        MakeVerticalEdges(randomTabs, generate);
    } catch (const std::exception&) {
        GP_Log(GridErrorText("Mirror"));
    } catch (...) {
        GP_Log(GridErrorText("Mirror"));
    }
    MakeHorizontalEdges(randomTabs, generate);
}

bool CGP_Puzzle::MakeCorners(double size)
{
    const size_t count = static_cast<size_t>((m_nColumns + 1) * (m_nRows + 1));
    if (!m_pCorners.empty() && m_pCorners.size() == count)
        return true;
    if (!m_pCorners.empty())
        GP_Log(QStringLiteral("CGP_Puzzle::CreateGrid: stored corners do not fit the grid, cut afresh\n"));
    try {
        std::vector<GP_Corner> corners(count);
        const double amplitude = size * 0.5 * std::tan((kNearHalfPi - 2 * m_pPattern->m_maxTabAngle) * 0.5);
        const double jitter = m_fChaos * amplitude;
        for (int i = 0; i <= m_nRows; ++i) {
            for (int j = 0; j <= m_nColumns; ++j) {
                GP_Corner& corner = corners[static_cast<size_t>(i * (m_nColumns + 1) + j)];
                corner.x = j * size + m_fLeft;
                corner.y = i * size + m_fTop;
                // Corners on the border stay on the lattice, so the cut area keeps straight sides.
                if (i == 0 || j == 0 || i == m_nRows || j == m_nColumns)
                    continue;
                const int r1 = GP_rand();
                const int r2 = GP_rand();
                corner.x += jitter * (1 - 2.0 * r1 / GP_RAND_MAX);
                corner.y += jitter * (1 - 2.0 * r2 / GP_RAND_MAX);
            }
        }
        m_pCorners = std::move(corners);
        return true;
    } catch (const std::exception&) {
        GP_Log(GridErrorText("m_pCorners"));
    } catch (...) {
        GP_Log(GridErrorText("m_pCorners"));
    }
    return false;
}

int CGP_Puzzle::NextDirection(std::vector<uint8_t>& directions, size_t index, bool randomTabs, bool generate)
{
    if (!generate)
        return directions[index];
    const int direction = randomTabs && GP_rand() % kDirectionDraws > kDirectionThreshold ? 1 : 0;
    directions[index] = static_cast<uint8_t>(direction);
    return direction;
}

void CGP_Puzzle::MakeVerticalEdges(bool randomTabs, bool generate)
{
    if (m_pCorners.empty())
        return;
    for (int i = 0; i < m_nRows; ++i) {
        for (int j = 1; j < m_nColumns; ++j) {
            const size_t index = static_cast<size_t>(i * (m_nColumns + 1) + j);
            const int direction = NextDirection(m_pVerticalDirections, index, randomTabs, generate);
            const GP_Corner& from = Corner(i, j);
            const GP_Corner& to = Corner(i + 1, j);
            m_pVerticalEdges[index] = MakeEdge(m_pPattern, direction, from.x, from.y, to.x, to.y);
        }
    }
}

void CGP_Puzzle::MakeHorizontalEdges(bool randomTabs, bool generate)
{
    if (m_pCorners.empty())
        return;
    for (int i = 1; i < m_nRows; ++i) {
        for (int j = 0; j < m_nColumns; ++j) {
            const size_t index = static_cast<size_t>(i * m_nColumns + j);
            const int direction = NextDirection(m_pHorizontalDirections, index, randomTabs, generate);
            const GP_Corner& from = Corner(i, j);
            const GP_Corner& to = Corner(i, j + 1);
            m_pHorizontalEdges[index] = MakeEdge(m_pPattern, direction, from.x, from.y, to.x, to.y);
        }
    }
}

QString CGP_Puzzle::GridErrorText(const char* stage) const
{
    const int cell = static_cast<int>(m_fPieceSize);
    return QStringLiteral("Error CreateGrid(%1)\n%2\nCreator: %3\nPicture: %4 x %5\nPiece count: %6\nSolved: %7%%\n")
                       .arg(QLatin1String(stage), LogSafe(m_strTitle), LogSafe(m_strCreator))
                       .arg(m_nColumns * cell)
                       .arg(m_nRows * cell)
                       .arg(m_nPieceCount)
                       .arg(static_cast<int>(m_fSolvedPercent));
}

void CGP_Puzzle::ReleaseGrid(bool keepLattice)
{
    m_pVerticalEdges.clear();
    m_pHorizontalEdges.clear();
    if (keepLattice)
        return;
    m_pCorners.clear();
    m_pVerticalDirections.clear();
    m_pHorizontalDirections.clear();
}

void CGP_Puzzle::GetPieceEdges(int row, int column, const CGP_Path* edges[4]) const
{
    auto at = [](const std::vector<std::unique_ptr<CGP_Path>>& list, int index) -> const CGP_Path* {
        if (index < 0 || static_cast<size_t>(index) >= list.size())
            return nullptr;
        return list[static_cast<size_t>(index)].get();
    };
    edges[0] = at(m_pHorizontalEdges, row * m_nColumns + column);
    edges[1] = at(m_pVerticalEdges, row * (m_nColumns + 1) + column + 1);
    edges[2] = at(m_pHorizontalEdges, (row + 1) * m_nColumns + column);
    edges[3] = at(m_pVerticalEdges, row * (m_nColumns + 1) + column);
}

void CGP_Puzzle::MakeThumbnail()
{
    if (!m_pImage || m_pImage->isNull())
        return;
    const int W = m_pImage->width();
    const int H = m_pImage->height();
    // A sliver of a picture still gets a thumbnail one pixel thick rather than none at all.
    const int width = W > H ? kThumbnailSide : std::max(1, W * kThumbnailSide / H);
    const int height = W > H ? std::max(1, H * kThumbnailSide / W) : kThumbnailSide;
    QImage thumbnail(width, height, QImage::Format_RGB888);
    if (thumbnail.isNull())
        throw CGP_Exeption("Error CImage::Create", __LINE__, "GP_Puzzle");
    thumbnail = m_pImage->convertToFormat(QImage::Format_RGB888)
                    .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_pThumbnail = boost::shared_ptr<QImage>(new QImage(thumbnail));
}

void CGP_Puzzle::ReleaseImages()
{
    m_pImage.reset();
    m_pImageCopy.reset();
    ReleaseGrid(true);
}

QRect CGP_Puzzle::GetThumbnailRect(const QImage* placeholder)
{
    if (m_nThumbX < -kThumbPositionLimit || m_nThumbX > kThumbPositionLimit)
        m_nThumbX = kDefaultThumbX;
    if (m_nThumbY < -kThumbPositionLimit || m_nThumbY > kThumbPositionLimit)
        m_nThumbY = 0;
    if (!m_pThumbnail || m_pThumbnail->isNull())
        return QRect(m_nThumbX, m_nThumbY, 0, 0);
    QSize size = m_pThumbnail->size();
    if (m_bOptions[kOptionHidePicture] && !m_bSolved && placeholder && !placeholder->isNull())
        size = placeholder->size();
    return QRect(QPoint(m_nThumbX, m_nThumbY), size);
}

void CGP_Puzzle::MakeProgressOverlay()
{
    if (!m_pThumbnail || m_pThumbnail->isNull() || m_bSolved)
        return;
    const int s = std::min(m_pThumbnail->width(), m_pThumbnail->height()) - kProgressInset;
    // An empty square has nothing to show (and no image could hold it).
    if (s <= 0)
        return;
    QImage overlay(s, s, QImage::Format_ARGB32_Premultiplied);
    if (overlay.isNull())
        throw CGP_Exeption("Error CImage::Create", __LINE__, "GP_Puzzle");
    overlay.fill(QColor(0, 0, 0));

    const QColor colour(qBlue(kProgressColour), qGreen(kProgressColour), qRed(kProgressColour));
    const float theta = kProgressStart - m_fSolvedPercent * kProgressPerPercent;
    const double centre = s / 2.0;
    const int startX = s / 2 + static_cast<int>(kProgressReach * std::cos(theta));
    const int startY = s / 2 - static_cast<int>(kProgressReach * std::sin(theta));
    const double startDegrees = std::atan2(centre - startY, startX - centre) * 180 / M_PI;
    const double endDegrees = std::atan2(centre, s / 2 - centre) * 180 / M_PI;
    // The pie runs counter-clockwise from the start radial to twelve o'clock.
    double span = std::fmod(endDegrees - startDegrees, 360.0);
    if (span <= 0)
        span += 360.0;
    {
        QPainter painter(&overlay);
        painter.setPen(QPen(colour, 1, Qt::SolidLine));
        painter.setBrush(colour);
        painter.drawPie(QRectF(0, 0, s - 1, s - 1), static_cast<int>(std::lround(startDegrees * 16)),
                        static_cast<int>(std::lround(span * 16)));
    }
    for (int y = 0; y < s; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < s; ++x) {
            const QRgb pixel = row[x];
            if ((pixel & 0x00FFFFFF) == 0) {
                row[x] = 0;
                continue;
            }
            row[x] = qRgba(qRed(pixel) * kProgressAlpha / 255, qGreen(pixel) * kProgressAlpha / 255,
                           qBlue(pixel) * kProgressAlpha / 255, kProgressAlpha);
        }
    }
    m_pProgressOverlay = boost::shared_ptr<QImage>(new QImage(overlay));
}
