#include "view/model/PlayClock.h"
#include "view/model/ThumbGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// One thing that happens to the clock: an update at a time, or a reset asked for.
struct Tick
{
    uint32_t at;
    bool reset = false;
};
} // namespace

TEST(PlayClock, CountsOnlyPlayedTimeAndNeverJumps)
{
    struct Row
    {
        const char* fault;
        int start;
        std::vector<Tick> ticks;
        int seconds;
        int remainder;
    };
    const Row rows[] = {
        {"the first update of a game counted time before it", 7, {{5000}}, 7, 0},
        {"milliseconds between updates were lost", 0, {{100}, {700}, {1300}, {1950}}, 1, 850},
        // While paused (or in the settings, or in another application) nothing updates the
        // clock; the reset on return starts from that moment.
        {"time spent paused was counted", 10, {{1000}, {1400}, {90000, true}, {90500}}, 10, 900},
        {"a return from another application jumped", 0, {{0}, {999}, {60000, true}, {60001}}, 0, 1000},
        {"a second was added at exactly 1000 ms", 0, {{0}, {1000}}, 0, 1000},
        {"the clock's wrap stopped it", 0, {{0xFFFFFF00u}, {0x00000300u}}, 1, 0x400 - 1000},
        {"a long update lost whole seconds", 3, {{0}, {4500}}, 7, 500},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        CPlayClock clock;
        clock.Start(row.start);
        for (const Tick& tick : row.ticks) {
            if (tick.reset)
                clock.RequestReset();
            clock.Update(tick.at);
        }
        EXPECT_EQ(clock.Seconds(), row.seconds);
        EXPECT_EQ(clock.RemainderMs(), row.remainder);
    }
}

TEST(PlayClock, AsksForTheDisplayOnlyWhenItChanges)
{
    CPlayClock clock;
    clock.Start(59);
    EXPECT_TRUE(clock.Update(100)) << "a new game shows its time at once";
    EXPECT_FALSE(clock.Update(600));
    EXPECT_TRUE(clock.Update(1200));
    EXPECT_EQ(clock.Seconds(), 60);
    // Another game starts afresh, from its own seconds.
    clock.Start(-5);
    EXPECT_TRUE(clock.Update(50000));
    EXPECT_EQ(clock.Seconds(), 0);
    EXPECT_EQ(clock.RemainderMs(), 0);
}

TEST(ThumbGeometry, ZoomCyclesAndTheWindowKeepsItsBottomRightInsideTheView)
{
    CThumbGeometry geometry;
    const QSize picture = CThumbGeometry::PictureSize(8, 6, 100.5f, QSize(900, 700));
    // Columns x piece size, capped at the picture: 804 x 603 fits, 804 x 700 wide would not.
    EXPECT_EQ(picture, QSize(804, 603));
    EXPECT_EQ(CThumbGeometry::PictureSize(10, 6, 100.5f, QSize(900, 700)), QSize(900, 603));

    EXPECT_EQ(geometry.WindowSize(picture), QSize(268, 201)) << "3.0 before the first press";
    std::vector<QSize> sizes;
    for (int press = 0; press < 6; ++press) {
        geometry.PressZoom();
        sizes.push_back(geometry.WindowSize(picture));
    }
    EXPECT_EQ(sizes[0], QSize(229, 172));  // 3.5
    EXPECT_EQ(sizes[1], QSize(321, 241));  // 2.5
    EXPECT_EQ(sizes[2], QSize(160, 120));  // 5.0
    EXPECT_EQ(geometry.ZoomState(), 0) << "three presses come back to the first zoom state";
    EXPECT_EQ(sizes[3], sizes[0]);
    EXPECT_EQ(sizes[5], sizes[2]);

    struct Row
    {
        const char* fault;
        QRect current;
        QSize size;
        QRect placed;
    };
    const QRect view(0, 0, 1280, 800);
    const Row rows[] = {
        {"the window did not grow towards the top left", QRect(900, 100, 200, 150), QSize(300, 200), QRect(800, 50, 300, 200)},
        {"a window past the right edge stayed out", QRect(1200, 100, 200, 150), QSize(100, 100), QRect(1178, 150, 100, 100)},
        {"a window below the bottom stayed out", QRect(100, 700, 200, 150), QSize(100, 100), QRect(200, 698, 100, 100)},
        {"a grown window left the view at the top left", QRect(10, 10, 100, 100), QSize(300, 300), QRect(2, 2, 300, 300)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        EXPECT_EQ(CThumbGeometry::Place(row.current, row.size, view), row.placed);
    }
}
