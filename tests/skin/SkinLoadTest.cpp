#include "skin/Bitmap.h"
#include "skin/Font.h"
#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/Text.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QFontDatabase>

using namespace WINSKIN;

namespace {
int CountNamed(const Skin& skin, const QString& name)
{
    int count = 0;
    for (int i = 0; i < skin.GetCount(); ++i)
        count += skin.GetItem(i)->Name() == name;
    return count;
}

// A 4 x 2 picture whose pixels are all different: (x, y) has red 10x + y*100 and blue 200.
QByteArray NumberedPicture()
{
    QImage image(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(10 * x + 100 * y, 0, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

TEST(SkinLoad, ElementNamesDecideTheKind)
{
    auto skin = SkinFromText("<Object Name='o'/><Bitmap Name='b'/><Font Name='f'/><Text Name='t'/>"
                             "<Region Name='r'/><HotSpot Name='h'/><object Name='lower'/>");
    ASSERT_EQ(skin->GetCount(), 7);
    EXPECT_TRUE(skin->FindByName("o")->AsObject());
    EXPECT_TRUE(skin->FindByName("b")->AsBitmap());
    EXPECT_TRUE(skin->FindByName("f")->AsFont());
    EXPECT_TRUE(skin->FindByName("t")->AsText());
    EXPECT_TRUE(skin->FindByName("r")->AsRegion());
    Rectangle* plain = skin->FindByName("h");
    EXPECT_FALSE(plain->AsObject() || plain->AsBitmap() || plain->AsFont() || plain->AsText() || plain->AsRegion());
    EXPECT_FALSE(skin->FindByName("lower")->AsObject()); // element names are case-sensitive
}

TEST(SkinLoad, CommonAttributesAndHitResultNames)
{
    auto skin = SkinFromText("<R Name='a' Attributes=' Pushed\r\nFocused ' HitResult='2' X1='10' Y1='4,lt' X2='5' Y2='3,rb'/>"
                             "<R Name='b' HitResult='HTCAPTION'/><R Name='c' HitResult='HTNOSUCH'/>"
                             "<R Name='d' HitResult='-1'/><R Name='e' HitResult='0'/><R Name='f' HitResult='HTBOTTOMRIGHT'/>");
    Rectangle* a = skin->FindByName("a");
    EXPECT_EQ(a->GetHitResult(), skin->FindByName("b")->GetHitResult());
    EXPECT_EQ(a->GetHitResult(), 2);
    EXPECT_EQ(skin->FindByName("c")->GetHitResult(), 0);
    EXPECT_EQ(skin->FindByName("d")->GetHitResult(), -1);
    EXPECT_EQ(skin->FindByName("e")->GetHitResult(), 0);
    EXPECT_EQ(skin->FindByName("f")->GetHitResult(), 17);
    EXPECT_EQ(a->Attributes().GetCount(), 2);
    EXPECT_TRUE(a->Attributes().Contains("Pushed") && a->Attributes().Contains("Focused"));
    // X1 10 and X2 5 give 5..10; the bottom is 3 inside the owner's.
    EXPECT_EQ(a->Resolve(QRect(100, 200, 50, 40)), QRect(105, 204, 5, 33));
}

TEST(SkinLoad, CornersResolveAgainstTheOwnerEdges)
{
    auto skin = SkinFromText("<R Name='edge' X2='0,rb' Y2='0,rb'/><R Name='inside' X2='1,rb' Y2='1,rb'/>"
                             "<R Name='outside' X2='-1,rb' Y2='-1,rb'/><R Name='flipped' X1='2,rb' X2='8' Y1='30' Y2='5,rb'/>");
    const QRect owner(10, 20, 100, 50); // right edge 110, bottom edge 70
    EXPECT_EQ(skin->FindByName("edge")->Resolve(owner), QRect(10, 20, 100, 50));
    EXPECT_EQ(skin->FindByName("inside")->Resolve(owner), QRect(10, 20, 99, 49));
    EXPECT_EQ(skin->FindByName("outside")->Resolve(owner), QRect(10, 20, 101, 51));
    EXPECT_EQ(skin->FindByName("flipped")->Resolve(owner), QRect(18, 50, 90, 15));
}

TEST(SkinLoad, FirstDefinitionWinsAndObjectsAreToldApartByIdentifiers)
{
    auto skin = SkinFromText("<Object Name='Button' HitResult='5'/>"
                             "<Object Name='Button' ID1='1000' ID2='1089' HitResult='6'/>"
                             "<Object Name='Button' HitResult='7'/>"           // same identifiers: ignored
                             "<Object Name='Button' ID1='0' ID2='0' HitResult='8'/>"
                             "<Bitmap Name='Face'/><Text Name='Face'/>"        // same name, other kind: ignored
                             "<Object Name='Dialog' ID1='3'/><Object Name='Dialog' ID1='3'/>" // new: the first Dialog differs
                             "<Object HitResult='9'/><Object HitResult='9'/>"); // no name never matches
    EXPECT_EQ(CountNamed(*skin, "Button"), 2);
    EXPECT_EQ(CountNamed(*skin, "Face"), 1);
    EXPECT_TRUE(skin->FindByName("Face")->AsBitmap());
    EXPECT_EQ(CountNamed(*skin, "Dialog"), 1);
    EXPECT_EQ(CountNamed(*skin, ""), 2);
    EXPECT_EQ(skin->GetCount(), 6);

    EXPECT_EQ(skin->FindObject("Button", 1000, 1089)->GetHitResult(), 6);
    EXPECT_EQ(skin->FindObject("Button", 1000, 1), skin->FindObject("Button", 0, 0));
    EXPECT_EQ(skin->FindObject("Button", 0, 0)->GetHitResult(), 5);
    EXPECT_EQ(skin->FindObject("Dialog", 3, 0)->ID1(), 3);
    EXPECT_EQ(skin->FindObject("Dialog", 4, 0), nullptr); // no 0, 0 Dialog to fall back on
    EXPECT_EQ(skin->FindObject("Face", 0, 0), nullptr);   // not an Object
    EXPECT_EQ(skin->FindByName("button"), nullptr);
}

TEST(SkinLoad, ChildrenAreReferencesOrNewItemsReadInPlace)
{
    auto skin = SkinFromText("<Bitmap Name='Face' HitResult='3'/>"
                             "<Object Name='Button'>"
                             "  <Bitmap Name='Face' HitResult='99'/>" // a reference: attributes ignored
                             "  <Text Name='Label' Color='0xFF0000'><R Name='Inner'/></Text>"
                             "  <R/>"
                             "</Object>"
                             "<Object Name='Other'><Text Name='Label'/></Object>");
    Object* button = skin->FindObject("Button", 0, 0);
    ASSERT_EQ(button->GetChildCount(), 3);
    EXPECT_EQ(button->GetChild(0), skin->FindByName("Face"));
    EXPECT_EQ(button->GetChild(0)->GetHitResult(), 3);
    EXPECT_EQ(button->GetChild(1)->AsText()->TextColour(), 0x0000FFu);
    EXPECT_EQ(button->GetChild(1)->GetChild(0), skin->FindByName("Inner"));
    EXPECT_EQ(skin->FindObject("Other", 0, 0)->GetChild(0), button->GetChild(1));
    EXPECT_EQ(skin->GetCount(), 6); // Face, Button, Label, Inner, the unnamed one, Other
    EXPECT_EQ(button->GetHitResult(), 1); // an Object's 0 becomes HTCLIENT
    EXPECT_EQ(button->FindText(), button->GetChild(1));
    EXPECT_EQ(skin->FindByName("Face")->FindText(), nullptr);
}

TEST(SkinLoad, ChildListKeepsAtMost65534)
{
    QByteArray children;
    for (int i = 0; i < kMaxChildren + 3; ++i)
        children += "<R Name='Dot'/>";
    CapturedLog log;
    auto skin = SkinFromText("<R Name='Dot'/><R Name='Many'>" + children + "<R Name='Late'/></R>");
    EXPECT_EQ(skin->FindByName("Many")->GetChildCount(), 65534);
    EXPECT_EQ(skin->FindByName("Many")->GetChild(65533), skin->FindByName("Dot"));
    ASSERT_NE(skin->FindByName("Late"), nullptr); // read, though not attached
    EXPECT_EQ(skin->GetCount(), 3);
    EXPECT_EQ(log.Lines("WINSKIN").size(), 1);
}

TEST(SkinLoad, ItemsAreTheChildrenOfTheLastTopLevelNode)
{
    Skin skin;
    skin.LoadText("<?xml version='1.0'?><!-- before --><Root><R Name='a'/><R Name='b'/></Root>", {});
    EXPECT_EQ(skin.GetCount(), 2);
    skin.LoadText("<Root><R Name='a'/></Root><!-- after the root -->", {});
    EXPECT_EQ(skin.GetCount(), 0);
    skin.LoadText("<Anything><R Name='x'/></Anything>", {});
    EXPECT_EQ(skin.GetCount(), 1);
}

TEST(SkinLoad, ObjectAttributesAndReferencesByName)
{
    auto skin = SkinFromText("<Font Name='F'/><Region Name='S'/><Bitmap Name='B'/><R Name='Area' X1='4'/>"
                             "<Object Name='Full' Font='F' Region='S' ClientArea='Area' ID1='7' ID2='-2'"
                             " MinWidth='100' MinHeight='50' MaxWidth='640' MaxHeight='480' HitResult='HTCAPTION'/>"
                             "<Object Name='Wrong' Font='B' Region='B' ClientArea='Missing'/>");
    Object* full = skin->FindObject("Full", 7, -2);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetFont(), skin->FindByName("F"));
    EXPECT_EQ(full->GetRegion(), skin->FindByName("S"));
    EXPECT_EQ(full->ClientArea(), skin->FindByName("Area"));
    EXPECT_EQ(full->MinWidth(), 100);
    EXPECT_EQ(full->MinHeight(), 50);
    EXPECT_EQ(full->MaxWidth(), 640);
    EXPECT_EQ(full->MaxHeight(), 480);
    EXPECT_EQ(full->GetHitResult(), 2);
    Object* wrong = skin->FindObject("Wrong", 0, 0);
    EXPECT_EQ(wrong->GetFont(), nullptr);
    EXPECT_EQ(wrong->GetRegion(), nullptr);
    EXPECT_EQ(wrong->ClientArea(), nullptr);
    EXPECT_EQ(wrong->MaxWidth(), 0);
}

TEST(SkinLoad, TextDefaultsAndAttributes)
{
    auto skin = SkinFromText("<Font Name='F'/><Text Name='Plain'/>"
                             "<Text Name='Set' Font='F' Color='0x102030' BgColor='255' BgMode='TRANSPARENT' Format='0x8025'/>"
                             "<Text Name='Opaque' BgMode='transparent'/>");
    Text* plain = skin->FindByName("Plain")->AsText();
    EXPECT_EQ(plain->GetFont(), nullptr);
    EXPECT_EQ(plain->TextColour(), 0u);
    EXPECT_EQ(plain->BgColour(), 0xFFFFFFu);
    EXPECT_EQ(plain->BgMode(), Text::kOpaque);
    EXPECT_EQ(plain->Format(), 0u);
    Text* set = skin->FindByName("Set")->AsText();
    EXPECT_EQ(set->GetFont(), skin->FindByName("F"));
    EXPECT_EQ(set->TextColour(), 0x302010u);
    EXPECT_EQ(set->BgColour(), 0xFF0000u);
    EXPECT_EQ(set->BgMode(), Text::kTransparent);
    EXPECT_EQ(set->Format(), uint32_t(DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    EXPECT_EQ(skin->FindByName("Opaque")->AsText()->BgMode(), Text::kOpaque);
}

TEST(SkinLoad, FontSizesStylesAndStockFonts)
{
    EXPECT_EQ(Font::PixelHeight(8, 96), 11);   // 10.67
    EXPECT_EQ(Font::PixelHeight(12, 96), 16);
    EXPECT_EQ(Font::PixelHeight(9, 120), 15);  // 15.0
    EXPECT_EQ(Font::PixelHeight(10, 72), 10);
    EXPECT_EQ(Font::PixelHeight(-8, 96), -11);

    auto skin = SkinFromText("<Font Name='Default'/><Font Name='Styled' Face='DejaVu Serif' Size='20' Style='15'/>"
                             "<Font Name='Light' Style='14'/><Font Name='Stock' StockObject='ANSI_FIXED_FONT' Face='DejaVu Serif'/>"
                             "<Font Name='UnknownStock' StockObject='NO_SUCH_FONT' Size='10'/>");
    const QFont plain = *skin->FindByName("Default")->AsFont()->GetFont();
    EXPECT_EQ(plain.pixelSize(), Font::PixelHeight(8, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY())));
    EXPECT_EQ(plain.weight(), QFont::Normal);
    EXPECT_FALSE(plain.italic() || plain.underline() || plain.strikeOut());
    Font* styledItem = skin->FindByName("Styled")->AsFont();
    const QFont styled = *styledItem->GetFont();
    EXPECT_EQ(styled.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(styled.weight(), QFont::Bold);
    EXPECT_TRUE(styled.italic() && styled.underline() && styled.strikeOut());
    EXPECT_GT(styledItem->LetterSize().height(), plain.pixelSize());
    const QFont light = *skin->FindByName("Light")->AsFont()->GetFont();
    EXPECT_EQ(light.weight(), QFont::Normal);
    EXPECT_TRUE(light.italic());
    const QFont stock = *skin->FindByName("Stock")->AsFont()->GetFont();
    EXPECT_EQ(stock, QFontDatabase::systemFont(QFontDatabase::FixedFont)); // the face is not used
    EXPECT_EQ(skin->FindByName("UnknownStock")->AsFont()->GetFont()->pixelSize(),
              Font::PixelHeight(10, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY())));
}

TEST(SkinLoad, FontSelectionNestsAndPutsTheFontBack)
{
    auto skin = SkinFromText("<Font Name='F' Face='DejaVu Serif' Size='30'/>");
    Font* font = skin->FindByName("F")->AsFont();
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const QFont original = painter.font();
    font->Select(painter);
    font->Select(painter); // an object's font and its text's may be the same
    EXPECT_EQ(painter.font().family(), QStringLiteral("DejaVu Serif"));
    font->Deselect(painter);
    EXPECT_EQ(painter.font().family(), QStringLiteral("DejaVu Serif"));
    font->Deselect(painter);
    EXPECT_EQ(painter.font(), original);
    font->Deselect(painter); // nothing remembered: nothing changes
    EXPECT_EQ(painter.font(), original);
}

TEST(SkinLoad, FontFilesLiveAsLongAsTheirItem)
{
    TestFolder folder;
    QFile fontFile("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    ASSERT_TRUE(fontFile.open(QIODevice::ReadOnly));
    folder.Write("fonts/Mono.ttf", fontFile.readAll());
    folder.Write("skin/Mono.skn", "<Skin><Font Name='M' Src='../fonts/Mono.ttf' Face='DejaVu Sans Mono'/>"
                                  "<Font Name='Gone' Src='../fonts/None.ttf'/></Skin>");
    QStringList families;
    {
        CapturedLog log;
        Skin skin;
        ASSERT_TRUE(skin.Load(folder.File("skin/Mono.skn")));
        EXPECT_EQ(skin.GetCount(), 2);
        EXPECT_EQ(log.Lines("WINSKIN").size(), 1) << log.Lines("WINSKIN").join("|").toStdString(); // the missing file only
        EXPECT_TRUE(log.Lines("WINSKIN").value(0).contains("None.ttf"));
        // The font file was added: its id now names a family.
        for (int id = 0; id < 64; ++id)
            families += QFontDatabase::applicationFontFamilies(id);
        EXPECT_TRUE(families.contains(QStringLiteral("DejaVu Sans Mono")));
        EXPECT_TRUE(skin.FindByName("Gone")->AsFont()->GetFont().has_value()); // still made from its face
    }
    QStringList after;
    for (int id = 0; id < 64; ++id)
        after += QFontDatabase::applicationFontFamilies(id);
    EXPECT_FALSE(after.contains(QStringLiteral("DejaVu Sans Mono")));
}

TEST(SkinLoad, BitmapCutOutNeedsAllFourValues)
{
    TestFolder folder;
    folder.Write("pictures/numbered.png", NumberedPicture());
    auto skin = SkinFromText("<Bitmap Name='Whole' Src='pictures/numbered.png' SrcX='1' SrcY='0' SrcWidth='2'/>"
                             "<Bitmap Name='Cut' Src='pictures/numbered.png' SrcX='1' SrcY='1' SrcWidth='2' SrcHeight='1'/>"
                             "<Bitmap Name='NotNumber' Src='pictures/numbered.png' SrcX='a' SrcY='1' SrcWidth='2' SrcHeight='1'/>"
                             "<Bitmap Name='Outside' Src='pictures\\numbered.png' SrcX='3' SrcY='1' SrcWidth='99999' SrcHeight='99999'/>"
                             "<Bitmap Name='None' HPosition='Tiled' VPosition='Centered' Transparent='0x00FF00'/>",
                             folder.Path());
    const QImage whole = skin->FindByName("Whole")->AsBitmap()->Picture();
    EXPECT_EQ(whole.size(), QSize(4, 2));
    const QImage cut = skin->FindByName("Cut")->AsBitmap()->Picture();
    ASSERT_EQ(cut.size(), QSize(2, 1));
    EXPECT_EQ(cut.pixel(0, 0), qRgb(110, 0, 200));
    EXPECT_EQ(cut.pixel(1, 0), qRgb(120, 0, 200));
    EXPECT_EQ(skin->FindByName("NotNumber")->AsBitmap()->Picture().size(), QSize(4, 2));
    // Only the part inside the picture is kept, however large the cut-out claims to be.
    EXPECT_EQ(skin->FindByName("Outside")->AsBitmap()->Picture().size(), QSize(1, 1));
    Bitmap* none = skin->FindByName("None")->AsBitmap();
    EXPECT_TRUE(none->Picture().isNull());
    EXPECT_EQ(none->HPlacement(), Bitmap::Tiled);
    EXPECT_EQ(none->VPlacement(), Bitmap::Centered);
    EXPECT_EQ(none->TransparentColour(), 0x00FF00);
    EXPECT_EQ(skin->FindByName("Whole")->AsBitmap()->TransparentColour(), -1);
}

TEST(SkinLoad, SourcesAreReadFromTheSkinFolderWithoutChangingTheCurrentOne)
{
    TestFolder folder;
    folder.Write("SKINS/Art/numbered.png", NumberedPicture());
    folder.Write("SKINS/Test.skn", "<Skin><Bitmap Name='B' Src='Art/numbered.png'/></Skin>");
    const QString current = QDir::currentPath();
    Skin skin;
    // A path relative to the application folder, which the test folder is while it lives.
    ASSERT_TRUE(skin.Load("SKINS/Test.skn"));
    EXPECT_EQ(QDir::currentPath(), current);
    EXPECT_EQ(QDir(skin.Folder()), QDir(folder.File("SKINS")));
    EXPECT_EQ(skin.FindByName("B")->AsBitmap()->Picture().size(), QSize(4, 2));
}

TEST(SkinLoad, RegionAttributes)
{
    auto skin = SkinFromText("<Region Name='Poly' Shape='POLYGON' Data='0 0 10 0\r\n5 8 7' CombineMode='RGN_XOR'/>"
                             "<Region Name='Round' Shape='3' Data='6 4 1 1'/>"
                             "<Region Name='RectData' Shape='RECTANGLE' Data='1 2 3 4'/>"
                             "<Region Name='Default'/>");
    Region* poly = skin->FindByName("Poly")->AsRegion();
    EXPECT_EQ(poly->GetShape(), Region::Polygon);
    EXPECT_EQ(poly->GetCombineMode(), Region::Xor);
    ASSERT_EQ(poly->Points().GetCount(), 3); // the odd number is dropped
    EXPECT_EQ(poly->Points()[2], QPoint(5, 8));
    EXPECT_EQ(skin->FindByName("Round")->AsRegion()->Points()[0], QPoint(6, 4));
    EXPECT_EQ(skin->FindByName("RectData")->AsRegion()->Points().GetCount(), 0); // Data only for two shapes
    Region* plain = skin->FindByName("Default")->AsRegion();
    EXPECT_EQ(plain->GetShape(), Region::Empty);
    EXPECT_EQ(plain->GetCombineMode(), Region::Or);
}

TEST(SkinLoad, EveryLoadTellsTheWindowsAndTheCurrentSkinIsOneForTheProgram)
{
    int calls = 0;
    Skin* told = nullptr;
    Skin::ReloadHandler windows = Skin::SetReloadHandler([&](Skin& skin) {
        ++calls;
        told = &skin;
    });
    {
        Skin skin;
        skin.LoadText("<Skin><R/></Skin>", {});
        skin.LoadText("not xml", {});
        skin.Load("no/such/file.skn");
        EXPECT_EQ(calls, 3);
        EXPECT_EQ(told, &skin);
        EXPECT_EQ(Skin::Current(), nullptr);
        Skin::SetCurrent(&skin);
        EXPECT_EQ(Skin::Current(), &skin);
    }
    EXPECT_EQ(Skin::Current(), nullptr); // a destroyed skin is not left current
    Skin::SetReloadHandler(windows);
}

TEST(SkinLoad, TheTestSkinLoadsEveryItemWithoutComplaint)
{
    CapturedLog log;
    Skin skin;
    ASSERT_TRUE(skin.Load(SourceFile("tests/skin/data/TestSkin.skn")));
    EXPECT_EQ(skin.GetCount(), 51);
    // The one complaint is the picture that is missing on purpose.
    ASSERT_EQ(log.Lines("WINSKIN").size(), 1) << log.Lines("WINSKIN").join("|").toStdString();
    EXPECT_TRUE(log.Lines("WINSKIN")[0].contains("no-such-picture.png"));
    Object* dialog = skin.FindObject("Dialog", 0, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(dialog->GetFont(), nullptr);
    EXPECT_NE(dialog->GetRegion(), nullptr);
    EXPECT_EQ(dialog->ClientArea(), skin.FindByName("DialogClient"));
    EXPECT_EQ(dialog->FindMatch(CGP_StringSet("Client")), skin.FindByName("DialogClient"));
    EXPECT_EQ(skin.FindObject("ProgressBar", 0, 0)->FindMatch(CGP_StringSet("Meter")), skin.FindByName("MeterFill"));
    EXPECT_EQ(skin.FindObject("TrackBar", 0, 0)->FindMatch(CGP_StringSet("Thumb")), skin.FindByName("ThumbFace"));
    EXPECT_EQ(skin.FindObject("TrackBar", 0, 0)->FindMatch(CGP_StringSet("Meter")), nullptr);
    EXPECT_EQ(skin.FindObject("Button", 1000, 1089)->FindText(), skin.FindByName("BigButtonText"));
    Rectangle* icons = skin.FindByName("Icons");
    ASSERT_EQ(icons->GetChildCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(icons->GetChild(i)->AsBitmap()->Picture().size(), QSize(16, 16)) << i;
}
