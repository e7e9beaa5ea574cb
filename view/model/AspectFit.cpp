#include "view/model/AspectFit.h"

QRect AspectFit(const QSize& picture, const QRect& area)
{
    if (picture.isEmpty() || area.isEmpty())
        return QRect();
    // Compared in 64 bits: the products of two sides pass 32 bits for large screens.
    const qint64 pictureW = picture.width(), pictureH = picture.height();
    const qint64 areaW = area.width(), areaH = area.height();
    qint64 width = areaW;
    qint64 height = areaH;
    if (areaW * pictureH <= areaH * pictureW)
        height = (areaW * pictureH * 2 + pictureW) / (pictureW * 2);  // the width decides
    else
        width = (areaH * pictureW * 2 + pictureH) / (pictureH * 2);   // the height decides
    const int x = area.x() + int((areaW - width) / 2);
    const int y = area.y() + int((areaH - height) / 2);
    return QRect(x, y, int(width), int(height));
}
