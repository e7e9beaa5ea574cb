#include "view/model/BoardBackgrounds.h"
#include "view/model/GP_SettingsStore.h"

#include "tests/support/SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

QImage GreyStrip(std::initializer_list<int> greys)
{
    QImage strip(int(greys.size()), 1, QImage::Format_RGB32);
    int x = 0;
    for (const int grey : greys)
        strip.setPixel(x++, 0, qRgb(grey, grey, grey));
    return strip;
}

} // namespace

TEST(BoardBackgrounds, TextureShadesTheColourAroundMidGrey)
{
    const QImage tile = CBoardBackgrounds::Build(0x00EE00, GreyStrip({0, 64, 128, 192, 255}));  // (0, 238, 0)
    ASSERT_EQ(tile.size(), QSize(5, 1));
    EXPECT_EQ(tile.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(tile.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(tile.pixel(1, 0), qRgb(0, 119, 0));
    EXPECT_EQ(tile.pixel(2, 0), qRgb(0, 238, 0)) << "mid-grey keeps the chosen colour exactly";
    EXPECT_EQ(tile.pixel(3, 0), qRgb(129, 247, 129));
    EXPECT_EQ(tile.pixel(4, 0), qRgb(255, 255, 255));
    // A coloured texel counts by its grey level only: (200, 100, 50) is grey 126.
    QImage coloured(1, 1, QImage::Format_RGB32);
    coloured.setPixel(0, 0, qRgb(200, 100, 50));
    EXPECT_EQ(CBoardBackgrounds::Build(0xEE8888, coloured).pixel(0, 0), qRgb(134, 134, 234));
    for (const int channel : {0, 1, 127, 200, 255}) {
        for (int grey = 1; grey <= 255; ++grey)
            ASSERT_GE(CBoardBackgrounds::Tint(channel, grey), CBoardBackgrounds::Tint(channel, grey - 1));
        EXPECT_EQ(CBoardBackgrounds::Tint(channel, 255), 255);
    }
}

TEST(BoardBackgrounds, BoardAndTraysFollowTheCurrentSkin)
{
    TestFolder folder;
    CapturedLog log(folder);
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("Velmora.ini"))));
    store.LoadRegistrySet();
    store.Settings().SkinIndex = 1;  // board (121, 0, 121) pattern 13, trays (0, 84, 166) pattern 1
    QList<QImage> textures;
    for (int i = 0; i < 15; ++i)
        textures << GreyStrip({i * 10, 255 - i * 10});

    CBoardBackgrounds backgrounds;
    backgrounds.Rebuild(store, textures);
    EXPECT_EQ(backgrounds.Board(), CBoardBackgrounds::Build(0x790079, textures[13]));
    EXPECT_EQ(backgrounds.Trays(), CBoardBackgrounds::Build(0xA65400, textures[1]));

    // A pattern the skin does not have leaves that surface a plain tile of its colour.
    store.SetCurrentLook(GP_Table::Trays, 0xA65400, 15);
    backgrounds.Rebuild(store, textures);
    const int size = CBoardBackgrounds::kPlainTileSize;
    ASSERT_EQ(backgrounds.Trays().size(), QSize(size, size));
    EXPECT_EQ(backgrounds.Trays().pixel(size - 1, size - 1), qRgb(0, 84, 166));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CBoardBackgrounds: no texture 15 among 15")));
}
