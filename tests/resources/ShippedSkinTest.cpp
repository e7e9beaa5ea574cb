// The three shipped skins: each loads with the game's own reader, offers every Object the
// windows look up, and every file it names is present and readable.

#include "engine/GP_StringSet.h"
#include "resources/GP_Resources.h"
#include "skin/Bitmap.h"
#include "skin/ButtonLooks.h"
#include "skin/Font.h"
#include "skin/Object.h"
#include "skin/Rectangle.h"
#include "skin/Region.h"
#include "skin/Skin.h"
#include "skin/SkinableSliderCtrl.h"
#include "skin/Text.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>

namespace {

const char* const kSkinFiles[] = {
    "resources/game/SKINS Nox/Advanced.skn",
    "resources/game/SKINS/Flower.skn",
    "resources/game/SKINS/Gothic.skn",
};

constexpr int kHtCaption = 2;

// Every Object the game's windows ask for: the default look of each control kind, and the
// windows that have a shape or layout of their own (dialog template, control number).
struct ObjectKey
{
    const char* name;
    int id1;
    int id2;
};

const ObjectKey kObjects[] = {
    {"Button", 0, 0}, {"CheckBox", 0, 0}, {"Radio", 0, 0}, {"Static", 0, 0}, {"Edit", 0, 0},
    {"TrackBar", 0, 0}, {"ProgressBar", 0, 0}, {"Dialog", 0, 0},
    {"Dialog", 189, 0}, {"Static", 189, 1160},            // message box
    {"Dialog", 138, 0}, {"Static", 138, 1165},            // loading dialog
    {"Dialog", 250, 0},                                   // wait dialog
    {"Dialog", 1000, 0}, {"Button", 1000, 1089}, {"Button", 1000, 1090},  // caption panel
    {"Dialog", 1001, 0}, {"Button", 1001, 1089}, {"Button", 1001, 1090}, {"Button", 1001, 1200},
    {"Dialog", 1002, 0}, {"Button", 1002, 1096},          // play panel and its tray button
    {"Dialog", 1003, 0},                                  // game menu
    {"Dialog", 1004, 0}, {"Button", 1004, 1149}, {"Button", 1004, 1150},  // picture window
    {"Dialog", 1005, 0}, {"Static", 1005, 1170},          // completion dialog
    {"Dialog", 2000, 0}, {"Button", 2000, 1}, {"Button", 2000, 2},  // trays
};

std::unique_ptr<WINSKIN::Skin> LoadSkin(const char* file)
{
    auto skin = std::make_unique<WINSKIN::Skin>();
    EXPECT_TRUE(skin->Load(SourceFile(file))) << file;
    return skin;
}

void ForEachItem(const WINSKIN::Skin& skin, const std::function<void(WINSKIN::Rectangle&)>& fn)
{
    for (int i = 0; i < skin.GetCount(); ++i)
        fn(*skin.GetItem(i));
}

// Mean absolute difference between two columns of an image, over the three colour channels.
double ColumnDistance(const QImage& image, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb p = image.pixel(a, y);
        const QRgb q = image.pixel(b, y);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / (3.0 * image.height());
}

double WrapStep(const QImage& image)
{
    return ColumnDistance(image, image.width() - 1, 0);
}

double HarshestStep(const QImage& image)
{
    double harshest = 0;
    for (int x = 0; x + 1 < image.width(); ++x)
        harshest = std::max(harshest, ColumnDistance(image, x, x + 1));
    return harshest;
}

} // namespace

TEST(ShippedSkin, EachSkinOffersEveryObjectTheWindowsLookUp)
{
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        auto skin = LoadSkin(file);
        ASSERT_GT(skin->GetCount(), 100);
        for (const ObjectKey& key : kObjects) {
            WINSKIN::Object* object = skin->FindObject(QString::fromLatin1(key.name), key.id1, key.id2);
            ASSERT_NE(object, nullptr) << key.name << " " << key.id1 << "/" << key.id2;
            // an exact Object, not the fallback of its kind
            EXPECT_EQ(object->ID1(), key.id1) << key.name << " " << key.id1 << "/" << key.id2;
            EXPECT_EQ(object->ID2(), key.id2) << key.name << " " << key.id1 << "/" << key.id2;
        }
        // the parts the controls find by role
        EXPECT_NE(skin->FindObject("TrackBar", 0, 0)->FindMatch(CGP_StringSet("Thumb")), nullptr);
        EXPECT_NE(skin->FindObject("ProgressBar", 0, 0)->FindMatch(CGP_StringSet("Meter")), nullptr);
        EXPECT_NE(skin->FindObject("Edit", 0, 0)->FindText(), nullptr);
        WINSKIN::Object* dialog = skin->FindObject("Dialog", 0, 0);
        WINSKIN::Rectangle* client = dialog->FindMatch(CGP_StringSet("Client"));
        ASSERT_NE(client, nullptr);
        // a client area with children: the skin paints it, so the controls sit on the panel
        EXPECT_GT(client->GetChildCount(), 0);
        ASSERT_NE(dialog->GetRegion(), nullptr);
        const QRect window(0, 0, 400, 300);
        EXPECT_EQ(dialog->HitTest(window, QPoint(200, 12)), kHtCaption);
        EXPECT_NE(dialog->HitTest(window, QPoint(200, 150)), kHtCaption);
        // the shape keeps the middle and cuts the outermost corner
        std::optional<QRegion> shape = dialog->GetRegion()->Build(window, CGP_StringSet());
        ASSERT_TRUE(shape.has_value());
        EXPECT_TRUE(shape->contains(QPoint(200, 150)));
        EXPECT_FALSE(shape->contains(QPoint(0, 0)));
        // the edit paints its own text: its client area is a plain rectangle without children
        WINSKIN::Rectangle* editClient = skin->FindObject("Edit", 0, 0)->FindMatch(CGP_StringSet("Client"));
        ASSERT_NE(editClient, nullptr);
        EXPECT_EQ(editClient->GetChildCount(), 0);
        EXPECT_EQ(editClient->AsBitmap(), nullptr);
    }
}

TEST(ShippedSkin, EveryFileASkinNamesIsPresentAndReadable)
{
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        // read the file's own text: every "Src" must name an existing file next to the skin
        const QString path = SourceFile(file);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        for (char c : text)
            ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "skin files are plain ASCII";
        const QDir folder = QFileInfo(path).dir();
        QXmlStreamReader xml(text);
        int sources = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || !xml.attributes().hasAttribute("Src"))
                continue;
            const QString src = xml.attributes().value("Src").toString();
            EXPECT_TRUE(QFileInfo::exists(folder.filePath(src))) << src.toStdString();
            ++sources;
        }
        ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(sources, 20);

        // and the game's reader made something of each of them
        auto skin = LoadSkin(file);
        int bitmaps = 0, fonts = 0, masks = 0;
        ForEachItem(*skin, [&](WINSKIN::Rectangle& item) {
            if (WINSKIN::Bitmap* bitmap = item.AsBitmap()) {
                EXPECT_FALSE(bitmap->Picture().isNull()) << "a Bitmap without its picture";
                ++bitmaps;
            }
            if (WINSKIN::Font* font = item.AsFont()) {
                ASSERT_TRUE(font->GetFont().has_value()) << item.Name().toStdString();
                // the face the skin asks for is the one its font file brought
                EXPECT_EQ(QFontInfo(*font->GetFont()).family(), font->GetFont()->family()) << item.Name().toStdString();
                ++fonts;
            }
            if (WINSKIN::Region* region = item.AsRegion()) {
                if (region->GetShape() == WINSKIN::Region::Arbitrary) {
                    EXPECT_GT(region->MaskWidth() * region->MaskHeight(), 0) << item.Name().toStdString();
                    ++masks;
                }
            }
        });
        EXPECT_GT(bitmaps, 100);
        EXPECT_GE(fonts, 4);
        EXPECT_GE(masks, 1);
    }
}

TEST(ShippedSkin, DrawingEveryObjectInEveryStateAtEachScaleNeedsNoPlaceholder)
{
    const char* const stateSets[] = {"", "NonClient Active", "Client", "Pushed Focused", "Checked Hover",
                                     "Disabled", "Thumb Pushed", "Meter", "tray_full"};
    for (const char* file : kSkinFiles) {
        for (const qreal scale : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(file) + (scale > 1 ? " at 200 %" : " at 100 %"));
            auto skin = LoadSkin(file);
            QImage canvas(QSize(320, 200) * scale, QImage::Format_ARGB32_Premultiplied);
            canvas.setDevicePixelRatio(scale);
            int objects = 0;
            ForEachItem(*skin, [&](WINSKIN::Rectangle& item) {
                WINSKIN::Object* object = item.AsObject();
                if (!object)
                    return;
                ++objects;
                for (const char* states : stateSets) {
                    canvas.fill(Qt::transparent);
                    QPainter painter(&canvas);
                    object->Draw(painter, QRect(0, 0, 320, 200), CGP_StringSet(QString::fromLatin1(states)), QStringLiteral("Text"));
                }
            });
            EXPECT_GE(objects, int(std::size(kObjects)));
            ForEachItem(*skin, [&](WINSKIN::Rectangle& item) {
                WINSKIN::Bitmap* bitmap = item.AsBitmap();
                if (!bitmap)
                    return;
                // a Bitmap that had to draw its placeholder colour would have chosen one by now
                EXPECT_EQ(bitmap->PlaceholderColour(), -1) << item.Name().toStdString();
                // every control picture comes at twice its size for dense screens (the board
                // textures, fine noise, are tiled as they are)
                if (!item.Name().startsWith(QLatin1String("Pattern")))
                    EXPECT_EQ(bitmap->DoublePicture().size(), bitmap->Picture().size() * 2) << item.Name().toStdString();
            });
        }
    }
}

TEST(ShippedSkin, DialogTitlesFitTheCaptionAtTheSkinsNarrowestWidth)
{
    // The captions the game's dialogs show; the default Dialog serves any of them.
    struct Title
    {
        int templateId;
        const char* text;
    };
    const Title titles[] = {{189, "Velmora"},     {250, "Creating..."}, {1003, "Game Menu"},   {1005, "Puzzle is solved"},
                            {1006, "Color"},      {1007, "Pattern"},    {1008, "Image"},       {1009, "Cutting"},
                            {1010, "Puzzle Name"}, {0, "Puzzle is solved"}};
    for (const char* file : kSkinFiles) {
        auto skin = LoadSkin(file);
        for (const Title& title : titles) {
            SCOPED_TRACE(std::string(file) + " " + title.text);
            WINSKIN::Object* dialog = skin->FindObject("Dialog", title.templateId, 0);
            ASSERT_NE(dialog, nullptr);
            ASSERT_GT(dialog->MinWidth(), 0);
            WINSKIN::Text* caption = dialog->FindText();
            ASSERT_NE(caption, nullptr);
            ASSERT_TRUE(caption->Attributes().Contains("NonClient"));
            ASSERT_NE(caption->GetFont(), nullptr);
            const QRect room = caption->Resolve(QRect(0, 0, dialog->MinWidth(), std::max(dialog->MinHeight(), 120)));
            const QFontMetrics metrics(*caption->GetFont()->GetFont());
            EXPECT_GE(room.width(), metrics.horizontalAdvance(QString::fromLatin1(title.text)));
        }
    }
}

TEST(ShippedSkin, TheBandsTabsAndRoundButtonsShareOneLineBesideTheGamesName)
{
    struct Band
    {
        int templateId;
        int height;
    };
    for (const char* file : kSkinFiles) {
        auto skin = LoadSkin(file);
        for (const Band& band : {Band{1000, 52}, Band{1001, 50}}) {
            SCOPED_TRACE(std::string(file) + " " + std::to_string(band.templateId));
            const QRect window(0, 0, 1280, band.height);
            WINSKIN::Object* object = skin->FindObject("Dialog", band.templateId, 0);
            ASSERT_NE(object, nullptr);
            WINSKIN::Rectangle* client = object->FindMatch(CGP_StringSet("Client"));
            ASSERT_NE(client, nullptr);
            const QRect line = client->Resolve(window);
            for (int button : {1089, 1090}) {
                const QRect place = skin->FindObject("Button", band.templateId, button)->Resolve(line);
                EXPECT_NEAR(place.center().y(), line.center().y(), 0.5) << button;
            }
            // the game's name at the band's left end, drawn with the client area
            WINSKIN::Rectangle* logo = skin->FindByName("BandLogo");
            ASSERT_NE(logo, nullptr);
            ASSERT_NE(logo->AsBitmap(), nullptr);
            EXPECT_FALSE(logo->AsBitmap()->Picture().isNull());
            EXPECT_LE(logo->Resolve(line).right(), 170) << "before the first tab";
        }
    }
}

TEST(ShippedSkin, EachSkinHasPictureButtonsInItsOwnColoursAtBothSizes)
{
    GP_InitResources();
    const QStringList compiled = QDir(QStringLiteral(":/gif")).entryList();
    ASSERT_GT(compiled.size(), 20);
    QList<QColor> mattes;
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        auto skin = LoadSkin(file);
        const CButtonLooks looks = CButtonLooks::ForSkin(skin.get());
        ASSERT_TRUE(QFileInfo(looks.Folder()).isDir()) << looks.Folder().toStdString();
        mattes << looks.Matte();
        for (const QString& id : compiled) {
            for (const char* look : {"normal", "hover", "pressed", "disabled"}) {
                const QString single = looks.LookPath(id.toInt(), QLatin1String(look), 1);
                const QString dense = looks.LookPath(id.toInt(), QLatin1String(look), 2);
                EXPECT_TRUE(dense.startsWith(looks.Folder()) && dense.endsWith(QLatin1String("@2x.gif"))) << dense.toStdString();
                EXPECT_EQ(QImageReader(dense).size(), QImageReader(single).size() * 2) << dense.toStdString();
            }
        }
    }
    // matted on three different colours: the screens each skin shows them on
    EXPECT_NE(mattes[0], mattes[1]);
    EXPECT_NE(mattes[1], mattes[2]);
}

TEST(ShippedSkin, SmallControlsReadAtAGlance)
{
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        auto skin = LoadSkin(file);
        // the slider's thumb is large enough to see and pick up
        EXPECT_GE(CSkinableSliderCtrl::ThumbPictureSize(*skin->FindObject("TrackBar", 0, 0)).height(), 20);
        // check boxes and radio buttons differ in shape, not only in their mark
        const auto box = [&](const char* kind) {
            QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            skin->FindObject(QString::fromLatin1(kind), 0, 0)->Draw(painter, image.rect(), CGP_StringSet(), QString());
            return image;
        };
        const QImage check = box("CheckBox");
        const QImage radio = box("Radio");
        int differing = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                differing += std::abs(qAlpha(check.pixel(x, y)) - qAlpha(radio.pixel(x, y))) > 128;
        EXPECT_GT(differing, 40);
    }
}

TEST(ShippedSkin, IconsAndBoardTexturesAreCompleteAndTileSeamlessly)
{
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        auto skin = LoadSkin(file);
        WINSKIN::Rectangle* icons = skin->FindByName("Icons");
        ASSERT_NE(icons, nullptr);
        ASSERT_GE(icons->GetChildCount(), 4);  // exclamation, information, question, error
        for (int i = 0; i < 4; ++i) {
            WINSKIN::Bitmap* icon = icons->GetChild(i)->AsBitmap();
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->Picture().size(), QSize(48, 48));
        }
        WINSKIN::Rectangle* textures = skin->FindByName("Textures");
        ASSERT_NE(textures, nullptr);
        ASSERT_EQ(textures->GetChildCount(), 15);
        for (int i = 0; i < 15; ++i) {
            SCOPED_TRACE(i + 1);
            WINSKIN::Bitmap* texture = textures->GetChild(i)->AsBitmap();
            ASSERT_NE(texture, nullptr);
            EXPECT_EQ(texture->HPlacement(), WINSKIN::Bitmap::Tiled);
            EXPECT_EQ(texture->VPlacement(), WINSKIN::Bitmap::Tiled);
            const QImage picture = texture->Picture().convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(picture.isNull());
            // the wrap from the last column to the first is no harsher than the harshest step
            // inside (a pattern may have hard steps of its own, as parquet has at its joints)
            EXPECT_LT(WrapStep(picture), HarshestStep(picture) * 1.5 + 6) << "seam at the left/right edge";
            const QImage turned = picture.transformed(QTransform().rotate(90));
            EXPECT_LT(WrapStep(turned), HarshestStep(turned) * 1.5 + 6) << "seam at the top/bottom edge";
            const int w = picture.width();
            // Darker than middle grey, where the tint keeps the board colour and darkens it a
            // little: a bright board colour reads as muted cloth, never washed out to white.
            qint64 light = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < w; ++x)
                    light += qGray(picture.pixel(x, y));
            const qint64 mean = light / (qint64(w) * picture.height());
            EXPECT_GT(mean, 64);
            EXPECT_LT(mean, 120);
        }
    }
}

TEST(ShippedSkin, MaskShapesReadBackAsTheShapesTheyWereDrawnFrom)
{
    // The round caption buttons wear a circle (an octagon in the Gothic skin) from a mask file:
    // read back by the game, it must be the same shape, symmetric about both axes (a wrong bit
    // order within the bytes or a padded row would shear or mirror it).
    for (const char* file : kSkinFiles) {
        SCOPED_TRACE(file);
        const bool octagon = QString::fromLatin1(file).contains(QLatin1String("Gothic"));
        auto skin = LoadSkin(file);
        WINSKIN::Object* close = skin->FindObject("Button", 1000, 1090);
        ASSERT_NE(close, nullptr);
        ASSERT_NE(close->GetRegion(), nullptr);
        ASSERT_EQ(close->GetRegion()->GetShape(), WINSKIN::Region::Arbitrary);
        const int n = close->GetRegion()->MaskWidth();
        ASSERT_EQ(close->GetRegion()->MaskHeight(), n);
        std::optional<QRegion> shape = close->GetRegion()->Build(QRect(0, 0, n, n), CGP_StringSet());
        ASSERT_TRUE(shape.has_value());
        int inside = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const bool in = shape->contains(QPoint(x, y));
                inside += in;
                EXPECT_EQ(in, shape->contains(QPoint(n - 1 - x, y))) << x << "," << y;
                EXPECT_EQ(in, shape->contains(QPoint(x, n - 1 - y))) << x << "," << y;
                EXPECT_EQ(in, shape->contains(QPoint(y, x))) << x << "," << y;
            }
        }
        EXPECT_TRUE(shape->contains(QPoint(n / 2, n / 2)));
        EXPECT_FALSE(shape->contains(QPoint(0, 0)));
        // the circle drawn half a pixel inside the square; the octagon cuts 0.29 of a side off
        // each corner
        const double radius = n / 2.0 - 0.5;
        const double cut = 0.29 * n;
        EXPECT_NEAR(double(inside), octagon ? n * n - 2 * cut * cut : M_PI * radius * radius, n * 2.0);
    }
}

