#pragma once

#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/Skin.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

// Reads a skin from text and uses its items the way the skinned windows do: every Object of
// the first few items is drawn in several state sets (the second on a screen of twice the
// density), hit-tested over a grid of points and asked for its shape, client part, meter and
// thumb. Shared by the fuzzer and the tests.
inline void ExerciseSkin(const QByteArray& text, const QString& folder)
{
    constexpr int kItemsUsed = 16;
    const QRect window(0, 0, 48, 32);
    // No states (only unmarked items draw) and every word the windows use (all items draw).
    const char* const stateSets[] = {"", "Client NonClient Active Pushed Focused Checked Hover Disabled Meter Thumb"};

    WINSKIN::Skin skin;
    skin.LoadText(text, folder);
    QImage plain(window.size(), QImage::Format_ARGB32_Premultiplied);
    QImage dense(window.size() * 2, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2);
    for (int i = 0; i < std::min(skin.GetCount(), kItemsUsed); ++i) {
        WINSKIN::Rectangle* item = skin.GetItem(i);
        for (const char* words : stateSets) {
            const CGP_StringSet states{QString::fromLatin1(words)};
            QImage& canvas = words[0] ? dense : plain;
            canvas.fill(Qt::transparent);
            QPainter painter(&canvas);
            item->Draw(painter, window, states, QStringLiteral("Text &Label"));
            painter.end();
            if (WINSKIN::Region* region = item->AsRegion())
                region->Build(window, states);
            if (WINSKIN::Object* object = item->AsObject(); object && object->GetRegion())
                object->GetRegion()->Build(window, states);
        }
        for (int y = -4; y < window.height() + 4; y += 9)
            for (int x = -4; x < window.width() + 4; x += 9)
                item->HitTest(window, QPoint(x, y));
        item->FindText();
        item->FindMatch(CGP_StringSet(QStringLiteral("Client")));
        item->FindMatch(CGP_StringSet(QStringLiteral("Meter")));
        item->FindMatch(CGP_StringSet(QStringLiteral("Thumb")));
    }
    skin.FindObject(QStringLiteral("Button"), 1000, 1089);
    skin.FindByName(QStringLiteral("Icons"));
}
