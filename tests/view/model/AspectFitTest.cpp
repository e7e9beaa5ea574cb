#include "view/model/AspectFit.h"

#include <gtest/gtest.h>

TEST(AspectFit, APictureKeepsItsShapeAsLargeAsTheAreaAllowsInItsMiddle)
{
    struct Row
    {
        QSize picture;
        QRect area;
        QRect expected;
        const char* fault;
    };
    const Row rows[] = {
        {{800, 600}, {0, 50, 1280, 750}, {140, 50, 1000, 750}, "a wide screen leaves strips at the sides, not stretched text"},
        {{800, 600}, {0, 0, 800, 1000}, {0, 200, 800, 600}, "a tall area leaves strips above and below"},
        {{800, 600}, {10, 20, 400, 300}, {10, 20, 400, 300}, "the same shape fills the area exactly"},
        {{1600, 1200}, {0, 0, 1280, 800}, {106, 0, 1067, 800}, "a double-size picture is placed by its shape, rounded"},
        {{3, 1}, {0, 0, 10, 10}, {0, 3, 10, 3}, "the odd pixel goes evenly"},
        {{800, 600}, {0, 0, 0, 0}, {}, "no area, nothing shown"},
        {{0, 600}, {0, 0, 100, 100}, {}, "no picture, nothing shown"},
        {{60000, 45000}, {0, 0, 2000000000, 1000}, {999999333, 0, 1333, 1000}, "large sides do not overflow"},
    };
    for (const Row& row : rows) {
        const QRect placed = AspectFit(row.picture, row.area);
        EXPECT_EQ(placed, row.expected) << row.fault;
        if (placed.isEmpty())
            continue;
        EXPECT_TRUE(row.area.contains(placed)) << row.fault;
        // the shape is kept to within a pixel of rounding
        EXPECT_NEAR(double(placed.width()) / placed.height(), double(row.picture.width()) / row.picture.height(),
                    2.0 / placed.height()) << row.fault;
    }
}
