#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// 32-bit pictures with alpha as BMP files. The platform's own BMP encoder drops alpha, so the
// piece-image cache writes its records here: 32 bits per pixel, a BITMAPV5HEADER with
// BI_BITFIELDS and an alpha mask. The words are written as they are in the image: a
// premultiplied piece image stays premultiplied, ready to blend when it is read back.

// A complete BMP file of the image (converted to 32 bits first when it is not). Empty for a
// null image.
QByteArray GP_EncodeBmp32(const QImage& image);
// The same, into a file. False, with one log line, when it cannot be written.
bool GP_SaveBmp32(const QImage& image, const QString& path);
// Reads a BMP file back as a premultiplied image holding exactly the words that were written.
// A null image when the bytes are no BMP.
QImage GP_DecodeBmp32(const QByteArray& bytes);
