#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/RegionShapes.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <random>

using namespace WINSKIN;

namespace {
QByteArray MaskFile(int width, int height, const QByteArray& bits)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian<qint32>(width, bytes.data());
    qToLittleEndian<qint32>(height, bytes.data() + 4);
    return bytes + bits;
}

std::string Picture(const QRegion& region, const QRect& area)
{
    std::string rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            rows += region.contains(QPoint(x, y)) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

QRegion Built(Skin& skin, const char* name, const QRect& owner, const char* states = "")
{
    const std::optional<QRegion> region = skin.FindByName(name)->AsRegion()->Build(owner, CGP_StringSet(states));
    EXPECT_TRUE(region.has_value()) << name;
    return region.value_or(QRegion());
}
} // namespace

TEST(SkinHitTest, LaterChildrenWinWhereTheyOverlap)
{
    auto skin = SkinFromText("<Object Name='Window' HitResult='HTCAPTION'>"
                             "  <R Name='First' X1='0' X2='20' Y2='10' HitResult='5'/>"
                             "  <R Name='Second' X1='10' X2='30' Y2='10' HitResult='6'/>"
                             "  <R Name='Silent' X1='0' X2='40' Y2='10'/>" // answers 0, so the others still speak
                             "  <R Name='Grip' X1='8,rb' Y1='8,rb' X2='0,rb' Y2='0,rb' HitResult='HTBOTTOMRIGHT'/>"
                             "</Object>");
    Object& window = *skin->FindObject("Window", 0, 0);
    const QRect owner(0, 0, 100, 50);
    EXPECT_EQ(window.HitTest(owner, {5, 5}), 5);
    EXPECT_EQ(window.HitTest(owner, {15, 5}), 6);   // both cover it: the later one answers
    EXPECT_EQ(window.HitTest(owner, {25, 5}), 6);
    EXPECT_EQ(window.HitTest(owner, {35, 5}), 2);   // only the silent one: the object's own result
    EXPECT_EQ(window.HitTest(owner, {99, 49}), 17);
    EXPECT_EQ(window.HitTest(owner, {100, 49}), 0); // right and bottom edges lie outside
    EXPECT_EQ(window.HitTest(owner, {-1, 0}), 0);
}

TEST(SkinHitTest, RectangleAsksItsChildrenInsideItsOwnRectangle)
{
    auto skin = SkinFromText("<R Name='Panel' X1='10' Y1='10' X2='50' Y2='50' HitResult='3'>"
                             "  <R Name='Button' X1='5' Y1='5' X2='15' Y2='15' HitResult='7'/>"
                             "</R>");
    Rectangle& panel = *skin->FindByName("Panel");
    const QRect owner(0, 0, 100, 100);
    EXPECT_EQ(panel.HitTest(owner, {17, 17}), 7); // 10 + 5 .. 10 + 15
    EXPECT_EQ(panel.HitTest(owner, {7, 7}), 0);
    EXPECT_EQ(panel.HitTest(owner, {12, 12}), 3);
    EXPECT_EQ(panel.HitTest(owner, {60, 60}), 0);
}

TEST(SkinHitTest, ClientAreaCoordinatesApplyTwice)
{
    auto skin = SkinFromText("<R Name='Area' X1='10' Y1='10' X2='10,rb' Y2='10,rb' HitResult='HTCLIENT'/>"
                             "<Object Name='Dialog' ClientArea='Area' HitResult='HTCAPTION'>"
                             "  <R Name='Border' X2='0,rb' Y2='0,rb' HitResult='HTBORDER'/>"
                             "</Object>");
    Object& dialog = *skin->FindObject("Dialog", 0, 0);
    const QRect owner(0, 0, 100, 100);
    // The area resolves to 10..90, and then again inside that to 20..80.
    EXPECT_EQ(dialog.HitTest(owner, {50, 50}), 1);
    EXPECT_EQ(dialog.HitTest(owner, {20, 20}), 1);
    EXPECT_EQ(dialog.HitTest(owner, {15, 15}), 18);
    EXPECT_EQ(dialog.HitTest(owner, {85, 50}), 18);
}

TEST(SkinRegion, ShapesOverTheItemRectangle)
{
    auto skin = SkinFromText("<Region Name='Empty' Shape='EMPTY' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Rect' Shape='RECTANGLE' X1='1' Y1='1' X2='1,rb' Y2='1,rb'/>"
                             "<Region Name='Ellipse' Shape='ELLIPTIC' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Round' Shape='ROUNDRECT' Data='4 4' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Square' Shape='ROUNDRECT' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Star' Shape='POLYGON' X1='1' Y1='1' X2='0,rb' Y2='0,rb'"
                             " Data='0 3 8 3 1 8 4 0 7 8'/>"
                             "<Region Name='Unknown' Shape='9' X2='0,rb' Y2='0,rb'/>");
    const QRect owner(0, 0, 10, 10);
    EXPECT_TRUE(Built(*skin, "Empty", owner).isEmpty());
    EXPECT_EQ(Built(*skin, "Rect", owner), QRegion(1, 1, 8, 8));
    const QRegion ellipse = Built(*skin, "Ellipse", owner);
    EXPECT_TRUE(ellipse.contains(QPoint(5, 5)));
    EXPECT_FALSE(ellipse.contains(QPoint(0, 0)) || ellipse.contains(QPoint(9, 9)));
    const QRegion round = Built(*skin, "Round", owner);
    EXPECT_TRUE(round.contains(QPoint(5, 0)) && round.contains(QPoint(0, 5)) && round.contains(QPoint(5, 5)));
    EXPECT_FALSE(round.contains(QPoint(0, 0)) || round.contains(QPoint(9, 0)) || round.contains(QPoint(9, 9)));
    EXPECT_EQ(Built(*skin, "Square", owner), QRegion(0, 0, 10, 10)); // no corner ellipse given
    // A five-pointed star, moved by the item's top-left corner; the even-odd rule leaves
    // the centre, which lies inside twice, out.
    EXPECT_EQ(Picture(Built(*skin, "Star", owner), owner),
              "..........\n"
              "..........\n"
              "....##....\n"
              "....##....\n"
              "..##..##..\n"
              "..........\n" // the centre
              "...#.##...\n"
              "...#..#...\n"
              "..#....#..\n"
              "..........\n");
    // A polygon's pixels are those whose centres lie inside: a rectangle polygon is exact.
    EXPECT_EQ(PolygonRegion(QPolygon({QPoint(2, 1), QPoint(9, 1), QPoint(9, 7), QPoint(2, 7)}), QRect(0, 0, 20, 20)),
              QRegion(2, 1, 7, 6));
    // Only the part inside the clip is built, however far the shape reaches.
    EXPECT_EQ(EllipseRegion(QRect(-30000, -30000, 60000, 60000), QRect(0, 0, 8, 8)), QRegion(0, 0, 8, 8));
    EXPECT_EQ(PolygonRegion(QPolygon({QPoint(-30000, -30000), QPoint(30000, -30000), QPoint(0, 30000)}), QRect(0, 0, 8, 8)),
              QRegion(0, 0, 8, 8));
    EXPECT_FALSE(skin->FindByName("Unknown")->AsRegion()->Build(owner, CGP_StringSet()).has_value());
}

TEST(SkinRegion, ChildrenCombineByTheirModes)
{
    auto skin = SkinFromText(
        "<Region Name='Diff' Shape='RECTANGLE' X2='8' Y2='1'><Region Shape='RECTANGLE' CombineMode='RGN_DIFF' X1='2' X2='4' Y2='1'/></Region>"
        "<Region Name='Copy' Shape='RECTANGLE' X2='8' Y2='1'><Region Shape='RECTANGLE' CombineMode='RGN_COPY' X1='6' X2='7' Y2='1'/></Region>"
        "<Region Name='And' Shape='RECTANGLE' X2='4' Y2='1'><Region Shape='RECTANGLE' CombineMode='RGN_AND' X1='2' X2='8' Y2='1'/></Region>"
        "<Region Name='Xor' Shape='RECTANGLE' X2='4' Y2='1'><Region Shape='RECTANGLE' CombineMode='RGN_XOR' X1='2' X2='6' Y2='1'/></Region>"
        "<Region Name='Or' Shape='RECTANGLE' X2='2' Y2='1'><Region Shape='RECTANGLE' X1='5' X2='6' Y2='1'/></Region>"
        "<Region Name='Odd' Shape='RECTANGLE' X2='2' Y2='1'><Region Shape='RECTANGLE' CombineMode='7' X1='5' X2='6' Y2='1'/></Region>"
        "<Region Name='Order' Shape='EMPTY'>"
        "  <Region Shape='RECTANGLE' X2='8' Y2='1'/>"
        "  <Region Shape='RECTANGLE' CombineMode='RGN_DIFF' X1='1' X2='3' Y2='1'/>"
        "  <Region Shape='RECTANGLE' CombineMode='RGN_OR' X1='2' X2='3' Y2='1'/>"
        "  <Bitmap X2='8' Y2='1'/>" // not a region: left out of the shape
        "  <Region Shape='RECTANGLE' Attributes='Pushed' CombineMode='RGN_COPY' X1='7' X2='8' Y2='1'/>"
        "</Region>");
    const QRect owner(0, 0, 8, 1);
    EXPECT_EQ(Picture(Built(*skin, "Diff", owner), owner), "##..####\n");
    EXPECT_EQ(Picture(Built(*skin, "Copy", owner), owner), "......#.\n");
    EXPECT_EQ(Picture(Built(*skin, "And", owner), owner), "..##....\n");
    EXPECT_EQ(Picture(Built(*skin, "Xor", owner), owner), "##..##..\n");
    EXPECT_EQ(Picture(Built(*skin, "Or", owner), owner), "##...#..\n");
    EXPECT_EQ(Picture(Built(*skin, "Odd", owner), owner), "##......\n"); // an unknown mode changes nothing
    EXPECT_EQ(Picture(Built(*skin, "Order", owner), owner), "#.######\n");
    EXPECT_EQ(Picture(Built(*skin, "Order", owner, "Pushed"), owner), ".......#\n");
}

TEST(SkinRegion, StatesDecideWhetherAShapeIsBuilt)
{
    auto skin = SkinFromText("<Region Name='Active' Attributes='Active' Shape='RECTANGLE' X2='0,rb' Y2='0,rb'/>");
    Region& region = *skin->FindByName("Active")->AsRegion();
    EXPECT_FALSE(region.Build(QRect(0, 0, 4, 4), CGP_StringSet("Inactive")).has_value());
    EXPECT_EQ(region.Build(QRect(0, 0, 4, 4), CGP_StringSet("Active NonClient")), QRegion(0, 0, 4, 4));
}

TEST(SkinRegion, MaskBitsRunMostSignificantFirstWithoutRowPadding)
{
    TestFolder folder;
    // 3 x 3, a diagonal: bits 0, 4 and 8 of the data.
    folder.Write("diagonal.msk", MaskFile(3, 3, QByteArray("\x88\x80", 2)));
    // 10 x 2: row 1 starts at bit 10, in the middle of the second byte.
    folder.Write("rows.msk", MaskFile(10, 2, QByteArray("\xC0\x20\x00", 3)));
    auto skin = SkinFromText("<Region Name='Diagonal' Shape='ARBITRARY' Src='diagonal.msk' X1='1' Y1='2' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Rows' Shape='ARBITRARY' Src='rows.msk' X2='0,rb' Y2='0,rb'/>",
                             folder.Path());
    EXPECT_EQ(Picture(Built(*skin, "Diagonal", QRect(0, 0, 5, 5)), QRect(0, 0, 5, 5)),
              ".....\n"
              ".....\n"
              ".#...\n"
              "..#..\n"
              "...#.\n");
    EXPECT_EQ(Picture(Built(*skin, "Rows", QRect(0, 0, 10, 2)), QRect(0, 0, 10, 2)),
              "##........\n"
              "#.........\n");
    Region& rows = *skin->FindByName("Rows")->AsRegion();
    EXPECT_EQ(rows.MaskWidth(), 10);
    EXPECT_EQ(rows.MaskHeight(), 2);
    // Built once, then every use gets its own copy.
    QRegion first = Built(*skin, "Rows", QRect(0, 0, 10, 2));
    first += QRect(5, 0, 1, 1);
    EXPECT_FALSE(Built(*skin, "Rows", QRect(0, 0, 10, 2)).contains(QPoint(5, 0)));
}

TEST(SkinRegion, MaskRegionEqualsTheUnionOfItsPixels)
{
    std::mt19937 random(7);
    for (const QSize size : {QSize(1, 1), QSize(7, 5), QSize(33, 17), QSize(64, 40)}) {
        QByteArray bits((size.width() * size.height() + 7) / 8, '\0');
        for (char& byte : bits)
            byte = char(random() & random()); // sparse, with runs and bands
        QRegion pixels;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const int bit = y * size.width() + x;
                if ((static_cast<unsigned char>(bits[bit / 8]) >> (7 - bit % 8)) & 1)
                    pixels += QRect(x, y, 1, 1);
            }
        const QRegion mask = Region::MaskToRegion(bits, size.width(), size.height());
        EXPECT_TRUE(mask.xored(pixels).isEmpty()) << size.width() << "x" << size.height();
    }
    // Identical rows share one band.
    const QRegion bands = Region::MaskToRegion(QByteArray("\xFF\xFF\xFF\xFF", 4), 8, 4);
    EXPECT_EQ(bands.rectCount(), 1);
    EXPECT_TRUE(Region::MaskToRegion(QByteArray(), 5, 5).isEmpty());
}

TEST(SkinRegion, DamagedMasksGiveLessShapeNeverMore)
{
    TestFolder folder;
    folder.Write("zero.msk", MaskFile(0, 100000, "\xFF\xFF"));
    folder.Write("negative.msk", MaskFile(-8, 8, QByteArray(8, '\xFF')));
    folder.Write("huge.msk", MaskFile(100000, 100000, QByteArray(16, '\xFF')));
    folder.Write("short.msk", MaskFile(8, 2, "\xFF"));
    folder.Write("header.msk", "\x08\x00");
    CapturedLog log;
    auto skin = SkinFromText("<Region Name='Zero' Shape='5' Src='zero.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Negative' Shape='5' Src='negative.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Huge' Shape='5' Src='huge.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Short' Shape='5' Src='short.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Header' Shape='5' Src='header.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='Missing' Shape='5' Src='missing.msk' X2='0,rb' Y2='0,rb'/>"
                             "<Region Name='NoSrc' Shape='5' X2='0,rb' Y2='0,rb'/>",
                             folder.Path());
    const QRect owner(0, 0, 8, 2);
    for (const char* name : {"Zero", "Negative", "Huge", "Header", "Missing", "NoSrc"})
        EXPECT_TRUE(Built(*skin, name, owner).isEmpty()) << name;
    EXPECT_EQ(Picture(Built(*skin, "Short", owner), owner), "########\n........\n");
    EXPECT_EQ(log.Lines("WINSKIN").size(), 5) << log.Lines("WINSKIN").join("|").toStdString(); // every damaged file but the empty one
}
