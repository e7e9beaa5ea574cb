// The pictures, sounds, cursors and picture-button looks compiled into the game: each one is
// where the game asks for it, in the form and size the game expects.

#include "resources/GP_Resources.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <cstdlib>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

quint16 U16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 U32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

class CompiledAssets : public ::testing::Test
{
protected:
    void SetUp() override { GP_InitResources(); }
};

// Every screen button the view creates; each has four looks.
const int kScreenButtons[] = {49293, 49294, 49295, 49296, 49297, 49298, 49299, 49300, 49301, 49302,
                              49303, 49304, 49305, 49306, 49307, 49308, 49309, 49310, 49311, 49312,
                              49313, 49314, 49315, 49316, 49318, 49319, 49324, 49327, 49328, 49329};
const char* const kLooks[] = {"normal", "hover", "pressed", "disabled"};

// The part of a .cur file the game reads itself: the hot spot of its first image.
struct CursorHeader
{
    bool valid = false;
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
};

CursorHeader ReadCursorHeader(const QByteArray& b)
{
    CursorHeader h;
    if (b.size() < 22 || U16(b, 0) != 0 || U16(b, 2) != 2 || U16(b, 4) < 1)
        return h;
    h.width = quint8(b[6]) ? quint8(b[6]) : 256;
    h.height = quint8(b[7]) ? quint8(b[7]) : 256;
    h.hotX = U16(b, 10);
    h.hotY = U16(b, 12);
    h.valid = U32(b, 18) + U32(b, 14) <= quint32(b.size());
    return h;
}

void ExpectCursorWithHotSpotOnIt(const QByteArray& bytes, const char* what)
{
    SCOPED_TRACE(what);
    const CursorHeader header = ReadCursorHeader(bytes);
    ASSERT_TRUE(header.valid);
    const QImage image = QImage::fromData(bytes, "CUR");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(header.width, header.height));
    ASSERT_TRUE(image.rect().contains(header.hotX, header.hotY));
    // the hot spot lies on the drawn shape, not on clear pixels beside it
    EXPECT_GT(qAlpha(image.pixel(header.hotX, header.hotY)), 0);
}

} // namespace

TEST_F(CompiledAssets, PicturesAreAtTheirNumbersWithTheirSizes)
{
    const QImage splash(GP_BitmapPath(QStringLiteral("167")));
    EXPECT_EQ(splash.size(), QSize(600, 400));
    // the counter is drawn in white at (300, 356): the splash is dark there
    EXPECT_LT(qGray(splash.pixel(300, 356)), 90);

    const QImage sparkle(GP_BitmapPath(QStringLiteral("sparkle")));
    ASSERT_EQ(sparkle.size(), QSize(16 * 24, 24));
    ASSERT_TRUE(sparkle.hasAlphaChannel());
    for (int frame = 0; frame < 16; ++frame) {
        // every frame shows something and keeps clear corners, so it blends over the pieces
        int covered = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                covered += qAlpha(sparkle.pixel(frame * 24 + x, y)) > 16;
        EXPECT_GT(covered, 0) << "frame " << frame;
        EXPECT_EQ(qAlpha(sparkle.pixel(frame * 24, 0)), 0) << "frame " << frame;
    }

    for (const char* name : {"HlpMyPzl", "HlpGame1", "HlpGame2", "HlpCalendar", "HlpShop"}) {
        const QImage overlay(GP_BitmapPath(QString::fromLatin1(name)));
        EXPECT_EQ(overlay.size(), QSize(800, 600)) << name;
        // the card on a clear background: the game dims the screen around it
        EXPECT_EQ(qAlpha(overlay.pixel(4, 300)), 0) << name;
        EXPECT_EQ(qAlpha(overlay.pixel(400, 300)), 255) << name;
        // and the same at twice the size, for dense screens
        const QImage dense = GP_LoadBitmap(QString::fromLatin1(name), 2);
        EXPECT_EQ(dense.size(), QSize(1600, 1200)) << name;
        EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(800, 600)) << name;
        EXPECT_EQ(GP_LoadBitmap(QString::fromLatin1(name), 1).size(), QSize(800, 600)) << name;
    }
    EXPECT_EQ(GP_LoadBitmap(QStringLiteral("167"), 2).size(), QSize(1200, 800));
    EXPECT_EQ(GP_LoadBitmap(QStringLiteral("sparkle"), 2).size(), sparkle.size()) << "no double size: the picture itself";
    for (const char* name : {"tray_empty", "tray_full", "tray_frame", "hover_box"})
        EXPECT_FALSE(QImage(GP_BitmapPath(QString::fromLatin1(name))).isNull()) << name;
    // library cards: the plain and the selected one are nine-slices of one size
    const QImage card(GP_BitmapPath(QStringLiteral("item_frame")));
    EXPECT_EQ(card.size(), QSize(96, 96));
    EXPECT_EQ(QImage(GP_BitmapPath(QStringLiteral("item_frame_selected"))).size(), card.size());
    const QImage screen(GP_BitmapPath(QStringLiteral("screen")));
    EXPECT_GE(screen.width(), 1600);
    EXPECT_EQ(screen.width() * 3, screen.height() * 4);

    EXPECT_EQ(QImage(GP_IconPath(128)).size(), QSize(256, 256));
    EXPECT_TRUE(ReadAll(GP_IconPath(128) + QStringLiteral(".svg")).startsWith("<svg"));
}

TEST_F(CompiledAssets, SoundsAreShortCleanNormalisedPcm)
{
    for (int number : {239, 240, 245, 246, 247}) {
        SCOPED_TRACE(number);
        const QByteArray wav = ReadAll(GP_WavePath(number));
        ASSERT_GT(wav.size(), 44);
        ASSERT_EQ(wav.left(4), "RIFF");
        ASSERT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(U16(wav, 20), 1);   // PCM
        EXPECT_EQ(U16(wav, 22), 1);   // mono
        EXPECT_EQ(U16(wav, 34), 16);  // 16-bit
        const quint32 rate = U32(wav, 24);
        ASSERT_EQ(wav.mid(36, 4), "data");
        const int samples = int(U32(wav, 40) / 2);
        ASSERT_EQ(44 + samples * 2, wav.size());
        EXPECT_LE(samples, int(rate) * 2) << "at most two seconds";
        int peak = 0;
        for (int i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(int(qint16(U16(wav, 44 + 2 * i)))));
        EXPECT_GT(peak, 32767 / 2) << "normalised";
        EXPECT_LT(peak, 32767) << "never clipped";
        // fades at both ends: no click when the sound starts or stops
        EXPECT_LT(std::abs(int(qint16(U16(wav, 44)))), 330);
        EXPECT_LT(std::abs(int(qint16(U16(wav, 44 + 2 * (samples - 1))))), 330);
    }
}

TEST_F(CompiledAssets, CursorsCarryHotSpotsOnTheirShapes)
{
    for (int number : {104, 181, 182})
        ExpectCursorWithHotSpotOnIt(ReadAll(GP_CursorPath(number)), qPrintable(GP_CursorPath(number)));
}

TEST_F(CompiledAssets, EveryScreenButtonHasFourLooksOfOneSize)
{
    for (int id : kScreenButtons) {
        SCOPED_TRACE(id);
        QSize size;
        for (const char* look : kLooks) {
            QImageReader reader(GP_ButtonLookPath(id, QString::fromLatin1(look)), "gif");
            const QImage first = reader.read();
            ASSERT_FALSE(first.isNull()) << look;
            if (size.isEmpty())
                size = first.size();
            EXPECT_EQ(first.size(), size) << look << ": every look of a button has one size";
            if (QByteArray(look) == "hover") {
                EXPECT_GT(reader.imageCount(), 1) << "the hover look is animated";
            }
        }
        EXPECT_GE(size.width(), 20);
        EXPECT_GE(size.height(), 20);
    }
}

TEST_F(CompiledAssets, ButtonFontLoads)
{
    const int id = QFontDatabase::addApplicationFont(GP_ButtonFontPath());
    ASSERT_GE(id, 0);
    EXPECT_FALSE(QFontDatabase::applicationFontFamilies(id).isEmpty());
    QFontDatabase::removeApplicationFont(id);
}

TEST(PushCursor, IsAnAnimatedCursorOfSixToEightHotSpottedFrames)
{
    const QByteArray ani = ReadAll(SourceFile(QStringLiteral("resources/game/SKINS Nox/push.ani")));
    ASSERT_GT(ani.size(), 12);
    ASSERT_EQ(ani.left(4), "RIFF");
    ASSERT_EQ(ani.mid(8, 4), "ACON");
    ASSERT_EQ(int(U32(ani, 4)) + 8, ani.size());
    int frames = -1;
    int icons = 0;
    // walk the chunks; "LIST" chunks hold further chunks after their four-letter type
    int at = 12;
    std::function<void(int, int)> walk = [&](int from, int to) {
        while (from + 8 <= to) {
            const QByteArray tag = ani.mid(from, 4);
            const int size = int(U32(ani, from + 4));
            ASSERT_LE(from + 8 + size, to) << tag.constData();
            if (tag == "anih") {
                ASSERT_EQ(size, 36);
                EXPECT_EQ(U32(ani, from + 8), 36u);
                frames = int(U32(ani, from + 12));
                EXPECT_EQ(U32(ani, from + 40) & 1u, 1u) << "frames are icon resources";
                EXPECT_GT(U32(ani, from + 36), 0u) << "a frame rate";
            } else if (tag == "LIST") {
                walk(from + 12, from + 8 + size);
            } else if (tag == "icon") {
                ++icons;
                ExpectCursorWithHotSpotOnIt(ani.mid(from + 8, size), "push.ani frame");
            }
            from += 8 + size + (size & 1);
        }
    };
    walk(at, ani.size());
    EXPECT_GE(frames, 6);
    EXPECT_LE(frames, 8);
    EXPECT_EQ(icons, frames);
}

TEST(StarterPictures, AreSmallJpegsWithCreditsAndAPuzzleEach)
{
    const QDir folder(SourceFile(QStringLiteral("resources/starter")));
    const QStringList pictures = folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    EXPECT_GE(pictures.size(), 6);
    EXPECT_LE(pictures.size(), 10);
    const QString credits = QString::fromUtf8(ReadAll(SourceFile(QStringLiteral("resources/CREDITS"))));
    const QString table = QString::fromUtf8(ReadAll(folder.filePath(QStringLiteral("puzzles.tsv"))));
    qint64 total = 0;
    for (const QString& name : pictures) {
        SCOPED_TRACE(name.toStdString());
        QImageReader reader(folder.filePath(name));
        EXPECT_EQ(reader.format(), "jpeg");
        // Fitted to the play area of a 1920 x 1080 screen, so a starter puzzle is not cut again there.
        EXPECT_LE(reader.size().width(), 1728);
        EXPECT_LE(reader.size().height(), 927);
        EXPECT_GE(std::min(reader.size().width(), reader.size().height()), 600);
        EXPECT_TRUE(credits.contains(name)) << "every picture names its author and licence";
        EXPECT_TRUE(table.contains(QLatin1Char('\n') + name + QLatin1Char('\t'))) << "every picture is cut into a starter puzzle";
        total += QFileInfo(folder.filePath(name)).size();
    }
    EXPECT_LE(total, 15 * 1024 * 1024);
}
