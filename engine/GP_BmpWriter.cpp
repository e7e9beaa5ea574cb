#include "engine/GP_BmpWriter.h"

#include "shell/log/GP_LogFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <cstring>

namespace {
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 124; // BITMAPV5HEADER
constexpr quint32 kBitFields = 3;    // BI_BITFIELDS
constexpr quint32 kSrgb = 0x73524742; // 'sRGB'
constexpr quint32 kIntentImages = 4;  // LCS_GM_IMAGES
constexpr qint32 kPixelsPerMetre = 2835; // 72 dots per inch

class Writer
{
public:
    explicit Writer(QByteArray& bytes) : m_bytes(bytes) {}
    void U16(quint16 value) { Put(qToLittleEndian(value)); }
    void U32(quint32 value) { Put(qToLittleEndian(value)); }
    void I32(qint32 value) { Put(qToLittleEndian(value)); }
    void Zeros(int count) { m_bytes.append(count, '\0'); }

private:
    template <typename T>
    void Put(T value) { m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value); }
    QByteArray& m_bytes;
};
} // namespace

QByteArray GP_EncodeBmp32(const QImage& source)
{
    if (source.isNull())
        return {};
    const bool keep = source.format() == QImage::Format_ARGB32_Premultiplied || source.format() == QImage::Format_ARGB32
                   || source.format() == QImage::Format_RGB32;
    const QImage image = keep ? source : source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const quint32 pixelBytes = static_cast<quint32>(w) * static_cast<quint32>(h) * 4;

    QByteArray bytes;
    bytes.reserve(kFileHeaderSize + kInfoHeaderSize + static_cast<int>(pixelBytes));
    Writer out(bytes);
    bytes.append("BM", 2);
    out.U32(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
    out.U16(0);
    out.U16(0);
    out.U32(kFileHeaderSize + kInfoHeaderSize);

    out.U32(kInfoHeaderSize);
    out.I32(w);
    out.I32(h); // bottom-up rows, as every reader expects
    out.U16(1);
    out.U16(32);
    out.U32(kBitFields);
    out.U32(pixelBytes);
    out.I32(kPixelsPerMetre);
    out.I32(kPixelsPerMetre);
    out.U32(0);
    out.U32(0);
    out.U32(0x00FF0000u);
    out.U32(0x0000FF00u);
    out.U32(0x000000FFu);
    out.U32(image.format() == QImage::Format_RGB32 ? 0u : 0xFF000000u);
    out.U32(kSrgb);
    out.Zeros(36 + 12); // colour end points and gamma: unused for sRGB
    out.U32(kIntentImages);
    out.U32(0);
    out.U32(0);
    out.U32(0);

    for (int y = h - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            out.U32(row[x]);
    }
    return bytes;
}

bool GP_SaveBmp32(const QImage& image, const QString& path)
{
    const QByteArray bytes = GP_EncodeBmp32(image);
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        GP_Log(QStringLiteral("GP_SaveBmp32: cannot write %1\n").arg(path));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        GP_Log(QStringLiteral("GP_SaveBmp32: write error on %1 (%2)\n").arg(path, file.errorString()));
        file.close();
        file.remove();
        return false;
    }
    return true;
}

QImage GP_DecodeBmp32(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    // The words are taken as they were written: premultiplied already.
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return image;
}
