// The help pictures' arrows: from the card's rim to just beside the control, bowing away from the
// card; none where the control is under the card or too close to it; the card found in a picture.
#include "resources/GP_Resources.h"
#include "view/model/HelpArrow.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {
// The card of a help picture as it lies on a 1280 x 800 screen (picture scale 4/3).
const QRectF kCard(267, 148, 747, 504);
constexpr qreal kScale = 4.0 / 3.0;
constexpr qreal kGap = 6 * kScale;

bool Beside(const QRectF& target, const QPointF& point)
{
    const qreal g = kGap + 0.01;
    return !target.contains(point) && target.adjusted(-g, -g, g, g).contains(point);
}
} // namespace

TEST(HelpArrow, LeavesTheCardsRimAndStopsBesideItsControlWhereverTheLayoutPutIt)
{
    struct Row
    {
        const char* what;
        QRectF target;
        bool drawn;
    };
    const Row rows[] = {
        {"tabs just above the card", {133, 67, 576, 43}, true},
        {"a tray handle in the bottom-left corner", {0, 752, 48, 48}, true},
        {"a tray handle in the bottom-right corner", {1232, 752, 48, 48}, true},
        {"the band's Menu at the top left", {170, 5, 110, 30}, true},
        {"a button beside the card's right edge", {1100, 380, 40, 40}, true},
        {"a button below the card, left of its middle", {133, 740, 248, 46}, true},
        {"a control under the card", {600, 300, 80, 40}, false},
        {"a control touching the card's top", {400, 140, 100, 8}, false},
        {"a control hidden (empty)", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto arrow = HelpArrow::Between(kCard, row.target, kScale);
        ASSERT_EQ(arrow.has_value(), row.drawn);
        if (!arrow)
            continue;
        EXPECT_TRUE(Beside(row.target, arrow->tip)) << arrow->tip.x() << "," << arrow->tip.y();
        EXPECT_TRUE(kCard.contains(arrow->start));
        EXPECT_FALSE(kCard.adjusted(3 * kScale, 3 * kScale, -3 * kScale, -3 * kScale).contains(arrow->start))
            << "the dot sits on the rim";
        // The shaft leaves the card at once and never crosses back over it.
        const QRectF inside = kCard.adjusted(6 * kScale, 6 * kScale, -6 * kScale, -6 * kScale);
        for (int step = 0; step <= 20; ++step)
            EXPECT_FALSE(inside.contains(arrow->shaft.pointAtPercent(step / 20.0))) << "at " << step;
        // The head's point is the tip, its barbs lie back towards the card, and the shaft ends
        // under the head.
        ASSERT_EQ(arrow->head.size(), 3);
        EXPECT_EQ(arrow->head[0], arrow->tip);
        for (int barb : {1, 2})
            EXPECT_LT(QLineF(arrow->head[barb], arrow->start).length(), QLineF(arrow->tip, arrow->start).length());
        EXPECT_TRUE(arrow->head.containsPoint(arrow->shaft.currentPosition(), Qt::OddEvenFill));
    }
}

TEST(HelpArrow, TheCardIsThePicturesOpaquePartInItsOwnPixels)
{
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage picture(QSize(800, 600) * ratio, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.scale(ratio, ratio);
            painter.fillRect(QRect(100, 100, 600, 400), QColor(0, 0, 0, 200));  // the shadow
            painter.fillRect(QRect(120, 110, 560, 370), QColor(20, 30, 60));     // the card
        }
        picture.setDevicePixelRatio(ratio);
        EXPECT_EQ(HelpArrow::CardRect(picture), QRectF(120, 110, 560, 370));
    }
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_TRUE(HelpArrow::CardRect(clear).isEmpty());

    // Every shipped picture, at both sizes, has its card 560 pixels wide in the middle.
    GP_InitResources();
    for (const char* name : {"HlpMyPzl", "HlpGame1", "HlpGame2", "HlpCalendar", "HlpShop"}) {
        for (const qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(name) + (ratio > 1 ? "@2x" : ""));
            const QImage picture = GP_LoadBitmap(QString::fromLatin1(name), ratio);
            ASSERT_FALSE(picture.isNull());
            const QRectF card = HelpArrow::CardRect(picture);
            EXPECT_EQ(card.left(), 120);
            EXPECT_EQ(card.width(), 560);
            EXPECT_NEAR(card.center().y(), 300, 1);
        }
    }
}
