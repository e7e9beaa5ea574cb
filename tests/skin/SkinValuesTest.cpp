#include "skin/SkinValues.h"

#include <gtest/gtest.h>

#include <climits>

using namespace WINSKIN;

TEST(SkinValues, CoordinatesReadOffsetAndAnchor)
{
    const struct
    {
        const char* text;
        int anchor;
        int offset;
    } cases[] = {
        {"12", 0, 12},           {"12,lt", 0, 12},   {"12,LeftTop", 0, 12}, {"8,RightBottom", 1, 8},
        {"8,rb", 1, 8},          {"0,rb", 1, 0},     {"-1,rb", 1, -1},      {"3,Rb", 0, 3},
        {"3,middle", 0, 3},      {" 7 , rb", 1, 7},  {"", 0, 0},            {"abc", 0, 0},
        {"+5x,rb", 1, 5},        {"99999999,rb", 1, kMaxSkinOffset},        {"-99999999", 0, -kMaxSkinOffset},
    };
    for (const auto& c : cases) {
        const Coordinate coordinate = ReadCoordinate(c.text);
        EXPECT_EQ(coordinate.anchor, c.anchor) << c.text;
        EXPECT_EQ(coordinate.offset, c.offset) << c.text;
    }
}

TEST(SkinValues, DecimalAndHexadecimalReading)
{
    EXPECT_EQ(ReadDecimal("42"), 42);
    EXPECT_EQ(ReadDecimal("  -17abc"), -17);
    EXPECT_EQ(ReadDecimal("+3"), 3);
    EXPECT_EQ(ReadDecimal("x3"), 0);
    EXPECT_EQ(ReadDecimal(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(ReadDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadDecimal("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ReadNumber("0x1F"), 31);
    EXPECT_EQ(ReadNumber("0XfF"), 255);
    EXPECT_EQ(ReadNumber("017"), 17); // no octal: only "0x" changes the base
    EXPECT_EQ(ReadNumber("0x"), 0);
}

TEST(SkinValues, ColoursAreStoredInWindowsOrder)
{
    EXPECT_EQ(SwapColour(ReadNumber("0xFFFFFF")), 0xFFFFFFu);
    EXPECT_EQ(SwapColour(ReadNumber("0")), 0u);
    EXPECT_EQ(SwapColour(ReadNumber("0x123456")), 0x563412u);
    EXPECT_EQ(SwapColour(ReadNumber("16711680")), 0x0000FFu); // red
    EXPECT_EQ(SwapColour(ReadNumber("0xAA123456")), 0x563412u); // no fourth byte
}

TEST(SkinValues, HitTestNamesGiveTheWindowsCodes)
{
    const std::pair<const char*, int> names[] = {
        {"HTERROR", -2}, {"HTTRANSPARENT", -1}, {"HTNOWHERE", 0}, {"HTCLIENT", 1}, {"HTCAPTION", 2},
        {"HTSYSMENU", 3}, {"HTGROWBOX", 4}, {"HTSIZE", 4}, {"HTMENU", 5}, {"HTHSCROLL", 6}, {"HTVSCROLL", 7},
        {"HTREDUCE", 8}, {"HTZOOM", 9}, {"HTLEFT", 10}, {"HTRIGHT", 11}, {"HTTOP", 12}, {"HTTOPLEFT", 13},
        {"HTTOPRIGHT", 14}, {"HTBOTTOM", 15}, {"HTBOTTOMLEFT", 16}, {"HTBOTTOMRIGHT", 17}, {"HTBORDER", 18}};
    for (const auto& [name, code] : names) {
        bool known = false;
        EXPECT_EQ(HitTestCode(name, &known), code) << name;
        EXPECT_TRUE(known) << name;
    }
    bool known = true;
    HitTestCode("htcaption", &known);
    EXPECT_FALSE(known);
}

TEST(SkinValues, FormatNumberAndWordsGiveTheSameFlags)
{
    EXPECT_EQ(ReadTextFormat("37"), ReadTextFormat("DT_CENTER DT_VCENTER DT_SINGLELINE"));
    EXPECT_EQ(ReadTextFormat("37"), uint32_t(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(ReadTextFormat("0x25"), 37u);
    EXPECT_EQ(ReadTextFormat("DT_RIGHT\r\nDT_BOTTOM\nDT_WORDBREAK  DT_BOGUS DT_NOPREFIX"),
              uint32_t(DT_RIGHT | DT_BOTTOM | DT_WORDBREAK | DT_NOPREFIX));
    EXPECT_EQ(ReadTextFormat("DT_EXPANDTABS DT_PATH_ELLIPSIS DT_END_ELLIPSIS"),
              uint32_t(DT_EXPANDTABS | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS));
    EXPECT_EQ(ReadTextFormat(""), 0u);
    EXPECT_EQ(ReadTextFormat("dt_center"), 0u);
}

TEST(SkinValues, PlacementShapeAndCombineWords)
{
    EXPECT_EQ(ReadPlacement("Tiled"), 1);
    EXPECT_EQ(ReadPlacement("Stretched"), 2);
    EXPECT_EQ(ReadPlacement("Centered"), 3);
    EXPECT_EQ(ReadPlacement("Centred"), 0);
    EXPECT_EQ(ReadPlacement("2"), 0); // words only

    EXPECT_EQ(ReadShape("ARBITRARY"), 5);
    EXPECT_EQ(ReadShape("POLYGON"), 4);
    EXPECT_EQ(ReadShape("3"), 3);
    EXPECT_EQ(ReadShape("9"), 9); // unknown numbers stay, and build no region
    EXPECT_EQ(ReadShape("OVAL"), 0);

    EXPECT_EQ(ReadCombineMode("", 2), 2);
    EXPECT_EQ(ReadCombineMode("RGN_DIFF", 2), 4);
    EXPECT_EQ(ReadCombineMode("RGN_COPY", 2), 5);
    EXPECT_EQ(ReadCombineMode("1", 2), 1);
    EXPECT_EQ(ReadCombineMode("0", 2), 2);
    EXPECT_EQ(ReadCombineMode("RGN_NONE", 2), 2);
}

TEST(SkinValues, WordsSplitOnBlanksAndLineEnds)
{
    EXPECT_EQ(SplitWords("  Pushed\r\n\r\nFocused  Checked "), (QList<QByteArray>{"Pushed", "Focused", "Checked"}));
    EXPECT_TRUE(SplitWords(" \r\n ").isEmpty());
    EXPECT_EQ(SplitWords("a\tb"), QList<QByteArray>{"a\tb"}); // tabs are not separators
}
