#include "engine/GP_Random.h"
#include "skin/Bitmap.h"
#include "skin/Object.h"
#include "skin/Text.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace WINSKIN;

namespace {
QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// One row of pixels whose red part tells the column: column x has red 10 * x + 5.
QImage ColumnPicture(int width, int height = 1)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 * x + 5, 0, 255));
    return image;
}

// The picture column shown at each x of row y, -1 where nothing was drawn.
std::vector<int> ColumnsShown(const QImage& image, int y = 0)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        columns.push_back(qAlpha(pixel) == 0 ? -1 : (qRed(pixel) - 5) / 10);
    }
    return columns;
}

struct PictureSkin
{
    TestFolder folder;
    std::unique_ptr<Skin> skin;

    PictureSkin(const QImage& picture, const QByteArray& items)
    {
        folder.Write("picture.png", Png(picture));
        skin = SkinFromText(items, folder.Path());
    }
    Rectangle& Item(const char* name) { return *skin->FindByName(name); }
};

int InkRows(const QImage& image, int* first = nullptr)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                if (first && rows == 0)
                    *first = y;
                ++rows;
                break;
            }
        }
    }
    return rows;
}

int InkColumns(const QImage& image, int* first)
{
    *first = -1;
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                if (*first < 0)
                    *first = x;
                ++count;
                break;
            }
        }
    }
    return count;
}
} // namespace

TEST(SkinDraw, AxisPlacement)
{
    using Axis = Bitmap::Axis;
    const struct
    {
        int placement;
        bool far;
        int low, high, size;
        Axis expected;
    } cases[] = {
        {Bitmap::None, false, 0, 25, 10, {0, 10, 10, 1}},
        {Bitmap::Tiled, false, 0, 25, 10, {0, 10, 10, 3}},    // 25 / 10 + 1
        {Bitmap::Tiled, true, 0, 25, 10, {15, 10, -10, 3}},   // from the right edge, going left
        {Bitmap::Tiled, false, 5, 25, 10, {5, 10, 10, 3}},    // 20 / 10 + 1: one copy wholly clipped
        {Bitmap::Stretched, false, 4, 24, 10, {4, 20, 20, 1}},
        {Bitmap::Stretched, true, 4, 24, 10, {4, 20, -20, 1}},
        {Bitmap::Centered, false, 5, 15, 20, {0, 20, 20, 1}}, // wider than the span: even overhang
        {Bitmap::Centered, false, 0, 7, 2, {2, 2, 2, 1}},     // (0 - 2 + 7) / 2
        {Bitmap::Centered, false, -9, 0, 2, {-5, 2, 2, 1}},   // (-9 - 2 + 0) / 2 rounds toward zero
        {Bitmap::None, true, 0, 25, 10, {0, 10, -10, 1}},
    };
    for (const auto& c : cases) {
        const Axis axis = Bitmap::PlaceAxis(c.placement, c.far, c.low, c.high, c.size);
        EXPECT_EQ(axis, c.expected) << "placement " << c.placement << " far " << c.far << " span " << c.low << ".."
                                    << c.high;
    }
}

TEST(SkinDraw, TiledCopiesFillTheRectangleFromTheAnchoredSide)
{
    PictureSkin art(ColumnPicture(10), "<Bitmap Name='Left' Src='picture.png' X2='25' Y2='1' HPosition='Tiled'/>"
                                       "<Bitmap Name='Right' Src='picture.png' X1='25,rb' X2='0,rb' Y2='1' HPosition='Tiled'/>");
    const std::vector<int> left = ColumnsShown(RenderItem(art.Item("Left"), QSize(30, 1)));
    // Three copies at 0, 10 and 20, the third cut at 25.
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(left[x], x < 25 ? x % 10 : -1) << x;
    // Over 5..30 the copies start at 20 and go left: 20, 10 and 0, the last one cut at 5.
    const std::vector<int> right = ColumnsShown(RenderItem(art.Item("Right"), QSize(30, 1)));
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(right[x], x < 5 ? -1 : x % 10) << x;
}

TEST(SkinDraw, CentredStretchedAndVerticalPlacement)
{
    PictureSkin art(ColumnPicture(20), "<Bitmap Name='Centred' Src='picture.png' X1='5' X2='15' Y2='1' HPosition='Centered'/>");
    const std::vector<int> centred = ColumnsShown(RenderItem(art.Item("Centred"), QSize(20, 1)));
    // Picture columns 5..14 show: five columns cut on either side.
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(centred[x], (x >= 5 && x < 15) ? x : -1) << x;

    PictureSkin wide(ColumnPicture(2), "<Bitmap Name='S' Src='picture.png' X1='2' X2='10' Y2='1' HPosition='Stretched'/>"
                                       "<Bitmap Name='Once' Src='picture.png' X1='2' X2='10' Y2='1'/>");
    EXPECT_EQ(ColumnsShown(RenderItem(wide.Item("S"), QSize(12, 1))),
              (std::vector<int>{-1, -1, 0, 0, 0, 0, 1, 1, 1, 1, -1, -1}));
    EXPECT_EQ(ColumnsShown(RenderItem(wide.Item("Once"), QSize(12, 1))),
              (std::vector<int>{-1, -1, 0, 1, -1, -1, -1, -1, -1, -1, -1, -1}));

    // Vertical placement with the bottom anchor: tiled rows start at the bottom edge.
    QImage rows(1, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        rows.setPixel(0, y, qRgb(10 * y + 5, 0, 255));
    PictureSkin tall(rows, "<Bitmap Name='Up' Src='picture.png' X2='1' Y1='10,rb' Y2='0,rb' VPosition='Tiled'/>");
    const QImage image = RenderItem(tall.Item("Up"), QSize(1, 10));
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ((qRed(image.pixel(0, y)) - 5) / 10, (y + 2) % 4) << y; // copies at 6, 2, -2
}

TEST(SkinDraw, TransparentColourLeavesTheDestinationUnchanged)
{
    QImage picture(4, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 255, 0));
    picture.setPixel(1, 0, qRgb(10, 20, 30));
    picture.setPixel(2, 0, qRgb(0, 255, 0));
    picture.setPixel(3, 0, qRgb(0, 254, 0));
    PictureSkin art(picture, "<Bitmap Name='Keyed' Src='picture.png' Transparent='0x00FF00' X2='0,rb' Y2='0,rb' HPosition='Stretched'/>"
                             "<Bitmap Name='Plain' Src='picture.png' X2='0,rb' Y2='0,rb' HPosition='Stretched'/>");
    for (const char* name : {"Keyed", "Plain"}) {
        QImage image(8, 1, QImage::Format_ARGB32_Premultiplied);
        image.fill(qRgb(200, 0, 0));
        QPainter painter(&image);
        art.Item(name).Draw(painter, image.rect(), CGP_StringSet(), QString());
        painter.end();
        const bool keyed = QByteArray(name) == "Keyed";
        const QRgb key = keyed ? qRgb(200, 0, 0) : qRgb(0, 255, 0);
        const QRgb expected[] = {key, key, qRgb(10, 20, 30), qRgb(10, 20, 30), key, key, qRgb(0, 254, 0), qRgb(0, 254, 0)};
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(image.pixel(x, 0), expected[x]) << name << " " << x;
    }
}

TEST(SkinDraw, MissingPictureShowsAKeptPlaceholderColour)
{
    EXPECT_EQ(Bitmap::PlaceholderFor(0), 0x80808080);
    EXPECT_EQ(Bitmap::PlaceholderFor(32767), 0x81010100); // the sum carries into the top byte
    EXPECT_EQ(Bitmap::PlaceholderFor(16384), 0x80808080 + int64_t(16384) * 0x808080 / 32767);

    auto skin = SkinFromText("<Bitmap Name='None' X1='2' X2='6' Y2='1'/>"
                             "<Bitmap Name='Missing' Src='nowhere.png' X2='0,rb' Y2='1'/>");
    GP_srand(12345);
    const int random = GP_rand();
    GP_srand(12345);
    Bitmap& none = *skin->FindByName("None")->AsBitmap();
    EXPECT_EQ(none.PlaceholderColour(), -1);
    const QImage first = RenderItem(none, QSize(8, 1));
    EXPECT_EQ(none.PlaceholderColour(), Bitmap::PlaceholderFor(random));
    const QRgb colour = ColourFromRef(uint32_t(Bitmap::PlaceholderFor(random))).rgb();
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(first.pixel(x, 0), (x >= 2 && x < 6) ? colour : 0u) << x; // the owner, clipped to the item
    GP_srand(999);
    EXPECT_EQ(RenderItem(none, QSize(8, 1)), first); // chosen once, then kept
    EXPECT_EQ(qAlpha(RenderItem(*skin->FindByName("Missing"), QSize(3, 1)).pixel(1, 0)), 255);
}

TEST(SkinDraw, ItemsDrawOnlyInStatesThatHoldAllTheirWords)
{
    auto skin = SkinFromText("<R Name='Parent' X2='0,rb' Y2='0,rb'>"
                             "  <Bitmap Name='Always' X1='0' X2='1' Y2='1'/>"
                             "  <Bitmap Name='Checked' Attributes='Checked' X1='1' X2='2' Y2='1'/>"
                             "  <Bitmap Name='Both' Attributes='Pushed Focused' X1='2' X2='3' Y2='1'/>"
                             "</R><R Name='Hidden' Attributes='Thumb' X2='0,rb' Y2='0,rb'><Bitmap Name='Always'/></R>");
    auto drawn = [&](const char* name, const char* states) {
        const QImage image = RenderItem(*skin->FindByName(name), QSize(3, 1), states);
        std::string marks;
        for (int x = 0; x < 3; ++x)
            marks += qAlpha(image.pixel(x, 0)) ? 'x' : '.';
        return marks;
    };
    EXPECT_EQ(drawn("Parent", ""), "x..");
    EXPECT_EQ(drawn("Parent", "Checked"), "xx.");
    EXPECT_EQ(drawn("Parent", "Pushed"), "x..");
    EXPECT_EQ(drawn("Parent", "Focused Pushed Active"), "x.x");
    EXPECT_EQ(drawn("Parent", "Checked Pushed Focused"), "xxx");
    EXPECT_EQ(drawn("Hidden", "Checked"), "...");
    EXPECT_EQ(drawn("Hidden", "Thumb"), "x..");
}

TEST(SkinDraw, ChildrenDrawInTheirParentsRectangleUnlessItIsTheClient)
{
    auto skin = SkinFromText("<Bitmap Name='Fill' X2='2' Y2='1'/>"
                             "<R Name='Inner' X1='4' X2='0,rb' Y2='1'><Bitmap Name='Fill'/></R>"
                             "<R Name='Client' Attributes='Client' X1='4' X2='0,rb' Y2='1'><Bitmap Name='Fill'/></R>");
    auto firstInk = [&](const char* name, const char* states) {
        int first = -1;
        InkColumns(RenderItem(*skin->FindByName(name), QSize(10, 1), states), &first);
        return first;
    };
    EXPECT_EQ(firstInk("Inner", ""), 4);
    EXPECT_EQ(firstInk("Client", "Client"), 0);
}

TEST(SkinDraw, TextFollowsItsFlagsColoursAndBackground)
{
    auto skin = SkinFromText("<Font Name='Big' Face='DejaVu Sans' Size='20'/>"
                             "<Text Name='TopLeft' BgMode='TRANSPARENT' Color='0xFF0000' X2='0,rb' Y2='0,rb'/>"
                             "<Text Name='Centred' BgMode='TRANSPARENT' Format='37' X2='0,rb' Y2='0,rb'/>"
                             "<Text Name='BottomRight' BgMode='TRANSPARENT' Format='DT_RIGHT DT_BOTTOM DT_SINGLELINE' X2='0,rb' Y2='0,rb'/>"
                             "<Text Name='VCentreNeedsSingleLine' BgMode='TRANSPARENT' Format='DT_VCENTER' X2='0,rb' Y2='0,rb'/>"
                             "<Text Name='Opaque' BgColor='0x0000FF' X2='0,rb' Y2='0,rb'/>"
                             "<Text Name='BigText' Font='Big' BgMode='TRANSPARENT' X2='0,rb' Y2='0,rb'/>");
    const QSize size(200, 60);
    int firstColumn = -1, firstRow = -1;

    const QImage topLeft = RenderItem(*skin->FindByName("TopLeft"), size, {}, "Hi");
    InkColumns(topLeft, &firstColumn);
    InkRows(topLeft, &firstRow);
    EXPECT_LT(firstColumn, 5);
    EXPECT_LT(firstRow, 8);
    bool red = false;
    for (int x = 0; x < 30 && !red; ++x)
        for (int y = 0; y < 30 && !red; ++y)
            red = qRed(topLeft.pixel(x, y)) > 200 && qGreen(topLeft.pixel(x, y)) < 50;
    EXPECT_TRUE(red);

    const QImage centred = RenderItem(*skin->FindByName("Centred"), size, {}, "Hi");
    const int columns = InkColumns(centred, &firstColumn);
    const int rows = InkRows(centred, &firstRow);
    EXPECT_NEAR(firstColumn + columns / 2.0, 100, 3);
    EXPECT_NEAR(firstRow + rows / 2.0, 30, 4);

    const QImage bottomRight = RenderItem(*skin->FindByName("BottomRight"), size, {}, "Hi");
    InkColumns(bottomRight, &firstColumn);
    InkRows(bottomRight, &firstRow);
    EXPECT_GT(firstColumn, 150);
    EXPECT_GT(firstRow, 35);

    InkRows(RenderItem(*skin->FindByName("VCentreNeedsSingleLine"), size, {}, "Hi"), &firstRow);
    EXPECT_LT(firstRow, 8);

    // The opaque background fills behind the text only, not the whole rectangle.
    const QImage opaque = RenderItem(*skin->FindByName("Opaque"), size, {}, "Hi");
    EXPECT_EQ(opaque.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(opaque.pixel(150, 50)), 0);
    EXPECT_EQ(InkRows(RenderItem(*skin->FindByName("Opaque"), size, {}, QString())), 0);

    const int small = InkRows(RenderItem(*skin->FindByName("TopLeft"), size, {}, "H"));
    const int big = InkRows(RenderItem(*skin->FindByName("BigText"), size, {}, "H"));
    EXPECT_GT(big, small + 5);
}

TEST(SkinDraw, TextFlagsElideAndWrap)
{
    QImage image(600, 40, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString path = "/home/player/Puzzles/simple/Harbour at night.pzl";
    const QRect narrow(0, 0, metrics.horizontalAdvance("Harbour at night.pzl") + 40, 20);
    // What each flag set shows; measured by drawing into a wide and a narrow rectangle.
    auto inkWidth = [&](const QString& text, uint32_t format, const QRect& rect) {
        image.fill(Qt::transparent);
        Text::DrawFormatted(painter, rect, text, format, QColor());
        int first = -1;
        return InkColumns(image, &first) + first;
    };
    const int full = inkWidth(path, DT_SINGLELINE, QRect(0, 0, 2000, 20));
    EXPECT_GT(full, narrow.width());
    EXPECT_LE(inkWidth(path, DT_SINGLELINE | DT_END_ELLIPSIS, narrow), narrow.width());
    EXPECT_LE(inkWidth(path, DT_SINGLELINE | DT_PATH_ELLIPSIS, narrow), narrow.width());
    painter.end();

    // The file name survives a path ellipsis; an end ellipsis keeps the start instead.
    QImage wordImage(400, 200, QImage::Format_ARGB32_Premultiplied);
    wordImage.fill(Qt::transparent);
    QPainter wordPainter(&wordImage);
    Text::DrawFormatted(wordPainter, QRect(0, 0, 60, 200), "one two three four five six", DT_WORDBREAK, QColor());
    wordPainter.end();
    EXPECT_GT(InkRows(wordImage), metrics.height() * 2); // several lines
    int first = -1;
    EXPECT_LE(InkColumns(wordImage, &first) + first, 62);
}

TEST(SkinDraw, ObjectDrawsWithItsFontAndClipsToTheWindow)
{
    auto skin = SkinFromText("<Font Name='Big' Face='DejaVu Sans' Size='24'/>"
                             "<Text Name='Label' BgMode='TRANSPARENT' X2='0,rb' Y2='0,rb'/>"
                             "<Object Name='Plain'><Text Name='Label'/></Object>"
                             "<Object Name='Large' Font='Big'><Text Name='Label'/></Object>");
    const QSize size(200, 60);
    const int plain = InkRows(RenderItem(*skin->FindObject("Plain", 0, 0), size, {}, "H"));
    const int large = InkRows(RenderItem(*skin->FindObject("Large", 0, 0), size, {}, "H"));
    EXPECT_GT(large, plain + 5);

    // Drawn over a part of a picture, nothing lands outside that part.
    QImage image(200, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QFont before = painter.font();
    skin->FindObject("Large", 0, 0)->Draw(painter, QRect(0, 0, 8, 60), CGP_StringSet(), "HHHH");
    EXPECT_EQ(painter.font(), before); // the object's font is put back
    painter.end();
    int first = -1;
    EXPECT_LE(InkColumns(image, &first) + first, 8);
}
