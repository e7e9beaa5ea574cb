#pragma once

#include "view/ChildView.h"
#include "view/HelpOverlayWindow.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <algorithm>

#include <gtest/gtest.h>

// A control's rectangle on the view.
inline QRect OnView(const QWidget& view, const QWidget& control)
{
    return QRect(control.mapTo(&view, QPoint(0, 0)), control.size());
}

// The shown help picture has one arrow per control, each stopping just beside its control and
// painted in gold over the dimmed screen.
inline void ExpectHelpArrowsAt(CChildView& view, const QList<QRect>& controls)
{
    const QList<HelpArrow> arrows = view.HelpWindow()->Arrows();
    EXPECT_EQ(arrows.size(), controls.size());
    const QImage shown = view.grab().toImage();
    for (const QRect& control : controls) {
        const auto reaches = [&](const HelpArrow& arrow) {
            const qreal near = 7 * arrow.scale;
            const QRectF target(control);
            return !target.contains(arrow.tip) && target.adjusted(-near, -near, near, near).contains(arrow.tip);
        };
        const auto arrow = std::find_if(arrows.begin(), arrows.end(), reaches);
        if (arrow == arrows.end()) {
            ADD_FAILURE() << "no arrow ends beside the control at " << control.x() << "," << control.y();
            continue;
        }
        const QColor paint = shown.pixelColor(arrow->shaft.pointAtPercent(0.5).toPoint());
        EXPECT_TRUE(paint.red() > 200 && paint.green() > 160 && paint.blue() < 170)
            << "the shaft is gold, not " << paint.name().toStdString();
    }
}
