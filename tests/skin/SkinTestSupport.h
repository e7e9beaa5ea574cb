#pragma once

#include "tests/support/CapturedLog.h"
#include "skin/Skin.h"
#include "tests/support/TestFolder.h"

#include <QImage>
#include <QPainter>
#include <QStringList>

#include <memory>

// A skin read from text given in the test; "Src" names are relative to folder.
inline std::unique_ptr<WINSKIN::Skin> SkinFromText(const QByteArray& items, const QString& folder = QString())
{
    auto skin = std::make_unique<WINSKIN::Skin>();
    skin->LoadText("<Skin>" + items + "</Skin>", folder);
    return skin;
}

// A transparent picture of that size with the item drawn over the whole of it.
template <typename Item>
QImage RenderItem(Item& item, QSize size, const QString& states = QString(), const QString& text = QString())
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    item.Draw(painter, QRect(QPoint(0, 0), size), CGP_StringSet(states), text);
    return image;
}
