#include "engine/GP_PuzzlePiece.h"

#include "engine/GP_BmpWriter.h"
#include "engine/GP_PieceImageBuilder.h"
#include "engine/GP_Random.h"
#include "shell/log/GP_LogFile.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <exception>
#include <vector>

namespace {
// The push speed term: (rand() mod 30) tenths of a pixel.
constexpr int kPushSpeedDraws = 30;
constexpr float kPushSpeedUnit = 0.1f;
// No cached piece image comes anywhere near this; a larger record is damage.
constexpr quint32 kMaxCachedRecord = 64u * 1024 * 1024;

void LogCreateError(const QString& why)
{
    GP_Log(QStringLiteral("Error CImage::Create (GP_PuzzlePiece): %1\n").arg(why));
}

// The rectangle between x0..x1 and y0..y1, relative to a home offset, never inverted.
GP_CoreRect CoreAt(int x0, int y0, int x1, int y1, int homeX, int homeY)
{
    GP_CoreRect core{x0 - homeX, y0 - homeY, x1 - homeX, y1 - homeY};
    core.right = std::max(core.right, core.left);
    core.bottom = std::max(core.bottom, core.top);
    return core;
}

void Shrink(GP_CoreRect& core, int by)
{
    core.left += by;
    core.top += by;
    core.right = std::max(core.right - by, core.left);
    core.bottom = std::max(core.bottom - by, core.top);
}

// One image record of the cache: its size, then a whole BMP file.
boost::shared_ptr<QImage> ReadCachedImage(QIODevice* cache)
{
    char sizeBytes[4];
    if (cache->read(sizeBytes, 4) != 4) {
        LogCreateError(QStringLiteral("cache record size unreadable"));
        return {};
    }
    const quint32 size = qFromLittleEndian<quint32>(sizeBytes);
    if (size == 0 || size > kMaxCachedRecord) {
        LogCreateError(QStringLiteral("cache record of %1 bytes").arg(size));
        return {};
    }
    // A damaged size must not cost a buffer of that size before the shortfall shows.
    if (!cache->isSequential() && size > cache->bytesAvailable()) {
        LogCreateError(QStringLiteral("cache record cut short"));
        return {};
    }
    const QByteArray bytes = cache->read(size);
    if (bytes.size() != static_cast<int>(size)) {
        LogCreateError(QStringLiteral("cache record cut short"));
        return {};
    }
    QImage image = GP_DecodeBmp32(bytes);
    if (image.isNull()) {
        LogCreateError(QStringLiteral("cache record does not decode"));
        return {};
    }
    return boost::shared_ptr<QImage>(new QImage(image));
}
} // namespace

CGP_PuzzlePiece::CGP_PuzzlePiece()
    : m_fPushSpeed(static_cast<float>(GP_rand() % kPushSpeedDraws) * kPushSpeedUnit)
{
}

bool CGP_PuzzlePiece::Build(const GP_PieceSource& source)
{
    for (auto& image : m_pImages)
        image.reset();
    if (!source.picture || source.picture->isNull()) {
        LogCreateError(QStringLiteral("no picture"));
        return false;
    }
    if (source.column != -1)
        m_nColumn = source.column;
    if (source.row != -1)
        m_nRow = source.row;
    if (source.index != -1)
        m_nIndex = source.index;

    const int W = source.picture->width();
    const int H = source.picture->height();
    const GP_PieceFrame frame = GP_MeasurePiece(source.edges, W, H);
    if (!frame.valid) {
        LogCreateError(QStringLiteral("piece %1 has no outline inside the picture").arg(m_nIndex));
        return false;
    }
    if (source.column != -1 && source.row != -1) {
        m_nX = frame.left;
        m_nY = frame.top;
    }

    // Homes: where each turned image lies when the whole picture is turned the same way.
    const int w = frame.Width();
    const int h = frame.Height();
    const int homes[4][2] = {{frame.left, frame.top}, {H - frame.bottom, frame.left},
                             {W - frame.right, H - frame.bottom}, {frame.top, W - frame.right}};
    for (int r = 0; r < kSteps; ++r) {
        m_nHomeX[r] = homes[r][0];
        m_nHomeY[r] = homes[r][1];
        m_nWidths[r] = (r & 1) ? h : w;
        m_nHeights[r] = (r & 1) ? w : h;
    }
    const int top = frame.innerTop, right = frame.innerRight, bottom = frame.innerBottom, left = frame.innerLeft;
    m_rcCores[0] = CoreAt(left, top, right, bottom, m_nHomeX[0], m_nHomeY[0]);
    m_rcCores[1] = CoreAt(H - bottom, left, H - top, right, m_nHomeX[1], m_nHomeY[1]);
    m_rcCores[2] = CoreAt(W - right, H - bottom, W - left, H - top, m_nHomeX[2], m_nHomeY[2]);
    m_rcCores[3] = CoreAt(top, W - right, bottom, W - left, m_nHomeX[3], m_nHomeY[3]);
    if (source.rotate) {
        for (GP_CoreRect& core : m_rcCores)
            Shrink(core, source.edgeWidth);
    }
    // Hit tests stay clear of the tab hanging below a piece.
    m_rcCores[0].bottom = std::max(m_rcCores[0].bottom - source.edgeWidth, m_rcCores[0].top);

    const int steps = source.rotate ? kSteps : 1;
    try {
        if (source.cache) {
            // The cache holds every step's finished image, already turned and premultiplied.
            for (int r = 0; r < steps; ++r) {
                m_pImages[r] = ReadCachedImage(source.cache);
                if (!m_pImages[r]) {
                    for (auto& image : m_pImages)
                        image.reset();
                    return false;
                }
                m_nWidths[r] = m_pImages[r]->width();
                m_nHeights[r] = m_pImages[r]->height();
            }
            return true;
        }
        std::vector<QImage> images;
        CGP_PieceImageBuilder builder(source, frame);
        builder.Build(images);
        for (int r = 0; r < steps; ++r)
            m_pImages[r] = boost::shared_ptr<QImage>(new QImage(images[static_cast<size_t>(r)]));
        return true;
    } catch (const std::exception& error) {
        LogCreateError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        LogCreateError(QStringLiteral("unknown failure"));
    }
    for (auto& image : m_pImages)
        image.reset();
    return false;
}
