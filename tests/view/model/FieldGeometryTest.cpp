// Where the field, the trays and the help pictures go on screens of several shapes.
#include "engine/GP_PuzzlePieceUnion.h"
#include "view/model/FieldGeometry.h"

#include <gtest/gtest.h>

namespace {
QRect Edges(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}
} // namespace

TEST(FieldGeometry, LayoutFieldAndTraysOnScreensOfSeveralShapes)
{
    struct Row
    {
        const char* fault;
        QRect view;
        QRect layout;
        int handle;
        QRect open3, handle3, open4, handle4;
    } rows[] = {
        // 800 x 600 is 4:3 (0.75 < 0.79): the layout is cut to 800 wide anyway, so nothing moves.
        {"the smallest screen", {0, 0, 800, 600}, {0, 0, 800, 600}, 35,
         Edges(401, 341, 800, 600), Edges(763, 563, 798, 598), Edges(0, 341, 399, 600), Edges(1, 563, 36, 598)},
        // 1280 x 1024 is taller than 0.79: the whole window is the layout.
        {"a tall screen keeps its whole width", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 56,
         Edges(641, 553, 1280, 1024), Edges(1222, 966, 1278, 1022), Edges(0, 553, 639, 1024), Edges(1, 966, 57, 1022)},
        // 1920 x 1080: the layout is 1440 wide, centred 240 in.
        {"a wide screen lays out at 4:3 in the middle", {0, 0, 1920, 1080}, {240, 0, 1440, 1080}, 63,
         Edges(961, 581, 1920, 1080), Edges(1855, 1015, 1918, 1078), Edges(0, 581, 959, 1080), Edges(1, 1015, 64, 1078)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        EXPECT_EQ(FieldGeometry::LayoutRect(row.view), row.layout);
        const int handle = FieldGeometry::HandleSide(FieldGeometry::LayoutRect(row.view));
        EXPECT_EQ(handle, row.handle);
        const QRect field = FieldGeometry::FieldRect(row.view, GameMode::Play, 52);
        EXPECT_EQ(field.top(), 50) << "the play band is 50 high whatever the library's is";
        const GP_TrayGeometry right = FieldGeometry::Tray(CGP_PuzzlePieceUnion::kRightTray, field, handle);
        const GP_TrayGeometry left = FieldGeometry::Tray(CGP_PuzzlePieceUnion::kLeftTray, field, handle);
        EXPECT_EQ(right.open, row.open3);
        EXPECT_EQ(right.handle, row.handle3);
        EXPECT_EQ(left.open, row.open4);
        EXPECT_EQ(left.handle, row.handle4);
        // Hot zones: 2 more past the outer edges only.
        EXPECT_EQ(right.openHot, row.open3.adjusted(0, 0, 2, 2));
        EXPECT_EQ(right.handleHot, row.handle3.adjusted(0, 0, 2, 2));
        EXPECT_EQ(left.openHot, row.open4.adjusted(-2, 0, 0, 2));
        EXPECT_EQ(left.handleHot, row.handle4.adjusted(-2, 0, 0, 2));
    }
}

TEST(FieldGeometry, FieldFittingAreaAndHelpPicturePlaces)
{
    const QRect view(0, 0, 1000, 700);
    EXPECT_EQ(FieldGeometry::FieldRect(view, GameMode::Play, 52), Edges(0, 50, 1000, 700));
    EXPECT_EQ(FieldGeometry::FieldRect(view, GameMode::MyPuzzles, 52), Edges(0, 52, 1000, 700));
    // 5 % of 1000 and of 650 (truncated) in from every side.
    EXPECT_EQ(FieldGeometry::FittingArea(Edges(0, 50, 1000, 700)), Edges(50, 82, 950, 668));
    // Help pictures keep their shape: as large as fits, centred, never stretched.
    EXPECT_EQ(FieldGeometry::FitCentred({800, 600}, {240, 0, 1440, 1080}), QRect(240, 0, 1440, 1080));
    EXPECT_EQ(FieldGeometry::FitCentred({800, 600}, {0, 0, 1280, 1024}), QRect(0, 32, 1280, 960));
    EXPECT_EQ(FieldGeometry::FitCentred({800, 600}, {0, 0, 0, 0}), QRect());
}
