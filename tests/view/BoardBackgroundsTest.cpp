#include "view/BoardBackgrounds.h"
#include "view/GP_SettingsStore.h"

#include "tests/view/SettingsTestSupport.h"

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

QList<QImage> NumberedTextures(int count)
{
    QList<QImage> textures;
    for (int i = 0; i < count; ++i)
        textures << GreyStrip({i * 10, 255 - i * 10});
    return textures;
}

} // namespace

TEST(BoardBackgrounds, TextureShadesTheColourAroundMidGrey)
{
    const quint32 green = 0x00EE00;  // (0, 238, 0)
    const QImage tile = CBoardBackgrounds::Build(green, GreyStrip({0, 64, 128, 192, 255}));
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
    const quint32 trays = 0xEE8888;  // (136, 136, 238)
    EXPECT_EQ(CBoardBackgrounds::Build(trays, coloured).pixel(0, 0), qRgb(134, 134, 234));

    // Every grey level gives a channel between black and white that never goes down as the
    // texel gets lighter.
    for (int channel : {0, 1, 127, 200, 255}) {
        int previous = 0;
        for (int grey = 0; grey <= 255; ++grey) {
            const int value = CBoardBackgrounds::Tint(channel, grey);
            ASSERT_GE(value, previous) << channel << " " << grey;
            ASSERT_LE(value, 255);
            previous = value;
        }
        EXPECT_EQ(CBoardBackgrounds::Tint(channel, 128), channel);
    }
}

TEST(BoardBackgrounds, MissingTextureGivesAPlainTileAndALogLine)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QImage plain = CBoardBackgrounds::Build(0xA65400, QImage());
    ASSERT_EQ(plain.size(), QSize(CBoardBackgrounds::kPlainTileSize, CBoardBackgrounds::kPlainTileSize));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(0, 84, 166));
    EXPECT_EQ(plain.pixel(63, 63), qRgb(0, 84, 166));

    const QList<QImage> textures = NumberedTextures(3);
    EXPECT_EQ(CBoardBackgrounds::TextureAt(textures, 2), textures[2]);
    EXPECT_TRUE(CBoardBackgrounds::TextureAt(textures, 3).isNull());
    EXPECT_TRUE(CBoardBackgrounds::TextureAt(textures, 0xFFFFFFFF).isNull());
    EXPECT_TRUE(log.Text().contains(QStringLiteral("CBoardBackgrounds: no texture 3 among 3")));
}

TEST(BoardBackgrounds, BoardAndTraysFollowTheCurrentSkin)
{
    TestFolder folder;
    CGP_SettingsStore store(std::make_unique<CGP_Registry>(folder.File(QStringLiteral("Velmora.ini"))));
    store.LoadRegistrySet();
    store.Settings().SkinIndex = 1;  // board (121, 0, 121) pattern 13, trays (0, 84, 166) pattern 1
    const QList<QImage> textures = NumberedTextures(15);

    CBoardBackgrounds backgrounds;
    backgrounds.Rebuild(store, textures);
    EXPECT_EQ(backgrounds.Board(), CBoardBackgrounds::Build(0x790079, textures[13]));
    EXPECT_EQ(backgrounds.Trays(), CBoardBackgrounds::Build(0xA65400, textures[1]));
    EXPECT_NE(backgrounds.Board(), backgrounds.Trays());

    // A pattern the skin does not have leaves that surface plain instead of failing.
    store.SetCurrentLook(GP_Table::Trays, 0xA65400, 40);
    backgrounds.Rebuild(store, textures);
    EXPECT_EQ(backgrounds.Trays().pixel(10, 10), qRgb(0, 84, 166));
}
