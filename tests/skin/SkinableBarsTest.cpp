#include "skin/SkinableProgressCtrl.h"
#include "skin/SkinableSliderCtrl.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QTest>

using WINSKIN::SkinableBase;

namespace {
// The columns (or rows) of a picture's middle line that have that colour.
QRect ColouredArea(const QImage& image, const QColor& colour)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (SameColour(image.pixel(x, y), colour))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}
} // namespace

TEST(SkinableBars, MeterFillsTheDoneShare)
{
    const QRect bar(0, 0, 200, 20);
    EXPECT_EQ(SkinableBase::MeterRect(bar, 50, 0, 100, false), QRect(0, 0, 100, 20));
    EXPECT_EQ(SkinableBase::MeterRect(bar, 100, 0, 100, false), bar);
    EXPECT_TRUE(SkinableBase::MeterRect(bar, 0, 0, 100, false).isEmpty());
    EXPECT_TRUE(SkinableBase::MeterRect(bar, 5, 7, 7, false).isEmpty()) << "an empty range fills nothing";
    EXPECT_TRUE(SkinableBase::MeterRect(bar, -1, 0, 100, false).isEmpty()) << "below the range";
    EXPECT_EQ(SkinableBase::MeterRect(bar, 150, 0, 100, false), bar) << "above the range";
    EXPECT_EQ(SkinableBase::MeterRect(QRect(10, 10, 20, 200), 25, 0, 100, true), QRect(10, 160, 20, 50))
        << "vertical bars fill from the bottom";
    EXPECT_EQ(SkinableBase::MeterRect(bar, 0, -2000000000, 2000000000, false).width(), 100)
        << "wide ranges do not overflow";
}

TEST(SkinableBars, ProgressBarDrawsItsMeter)
{
    CurrentTestSkin skin("<Object Name=\"ProgressBar\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png")
                         + "<Group Attributes=\"Meter\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("pushed.png") + "</Group></Object>");
    CSkinableProgressCtrl bar;
    bar.setRange(0, 100);
    bar.setValue(50);
    bar.resize(200, 20);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    ASSERT_NE(bar.GetObject(), nullptr);

    EXPECT_EQ(ColouredArea(Rendered(bar), SkinColours::Pushed), QRect(0, 0, 100, 20));
    bar.setValue(0);
    EXPECT_TRUE(ColouredArea(Rendered(bar), SkinColours::Pushed).isEmpty());
    bar.setOrientation(Qt::Vertical);
    bar.resize(20, 200);
    bar.setValue(25);
    EXPECT_EQ(ColouredArea(Rendered(bar), SkinColours::Pushed), QRect(0, 150, 20, 50));
    bar.setRange(0, 0);
    EXPECT_TRUE(ColouredArea(Rendered(bar), SkinColours::Pushed).isEmpty());
}

TEST(SkinableBars, SliderThumbIsDrawnWhereTheSliderHasIt)
{
    CurrentTestSkin skin("<Object Name=\"TrackBar\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png") + "<Group Attributes=\"Thumb\" X2=\"0,rb\" Y2=\"0,rb\">"
                         + Fill("checked.png") + Fill("pushed.png", "Pushed") + "</Group></Object>");
    CSkinableSliderCtrl slider;
    slider.setRange(0, 100);
    slider.setValue(25);
    slider.resize(240, 30);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    ASSERT_NE(slider.GetObject(), nullptr);
    EXPECT_EQ(slider.orientation(), Qt::Horizontal);

    const QRect thumb = slider.ThumbRect();
    ASSERT_FALSE(thumb.isEmpty());
    EXPECT_EQ(ColouredArea(Rendered(slider), SkinColours::Checked), thumb & slider.rect());

    slider.setValue(90);
    const QRect moved = slider.ThumbRect();
    EXPECT_GT(moved.x(), thumb.x());
    EXPECT_EQ(ColouredArea(Rendered(slider), SkinColours::Checked), moved & slider.rect());

    // Dragging the thumb shows its pushed look, and the slider still follows the mouse.
    const QPoint grip = moved.center();
    Press(&slider, grip);
    EXPECT_TRUE(slider.isSliderDown());
    EXPECT_EQ(ColouredArea(Rendered(slider), SkinColours::Pushed), moved & slider.rect());
    MoveTo(&slider, grip - QPoint(100, 0));
    Release(&slider, grip - QPoint(100, 0));
    EXPECT_LT(slider.value(), 90);
    EXPECT_TRUE(ColouredArea(Rendered(slider), SkinColours::Pushed).isEmpty());
}
