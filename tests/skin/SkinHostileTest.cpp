#include "skin/Bitmap.h"
#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/SkinFileCheck.h"
#include "tests/fuzz/SkinExercise.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace WINSKIN;

namespace {
// Loads the text as a skin file in a folder of its own; returns the skin and the log lines.
std::unique_ptr<Skin> LoadFile(const QByteArray& text, QStringList* lines)
{
    TestFolder folder;
    folder.Write("Hostile.skn", text);
    CapturedLog log;
    auto skin = std::make_unique<Skin>();
    skin->Load(folder.File("Hostile.skn"));
    *lines = log.Lines("WINSKIN");
    return skin;
}

QByteArray Nested(int depth)
{
    return "<Skin>" + QByteArray("<R>").repeated(depth - 1) + QByteArray("</R>").repeated(depth - 1) + "</Skin>";
}
} // namespace

TEST(SkinHostile, MissingEmptyAndGarbageFilesGiveAnEmptySkinAndOneLine)
{
    const QByteArray texts[] = {"", "garbage", "<Skin><R></Skin>", "<Skin", "\xEF\xBB\xBF", "<a/><b/>"};
    for (const QByteArray& text : texts) {
        QStringList lines;
        auto skin = LoadFile(text, &lines);
        EXPECT_EQ(skin->GetCount(), 0) << text.toStdString();
        EXPECT_EQ(lines.size(), 1) << text.toStdString() << ": " << lines.join("|").toStdString();
    }
    CapturedLog log;
    Skin skin;
    EXPECT_FALSE(skin.Load("no/such/skin.skn"));
    EXPECT_FALSE(skin.Load(QDir::tempPath())); // a folder is not a skin file
    EXPECT_EQ(skin.GetCount(), 0);
    EXPECT_EQ(log.Lines("WINSKIN").size(), 2);
    // A later good load fills the same skin again.
    EXPECT_TRUE(skin.LoadText("<Skin><R Name='a'/></Skin>", {}));
    EXPECT_EQ(skin.GetCount(), 1);
}

TEST(SkinHostile, EncodingIsCheckedBeforeTheParserSeesIt)
{
    // A UTF-8 lead byte at the very end makes TinyXML 2.6.2 loop for ever (CVE-2021-42260);
    // a NUL after a blank trips its assertion (CVE-2023-34194).
    const QByteArray rejected[] = {
        QByteArray("<Skin>\xEF", 7), QByteArray("<Skin><R/>\xEF\xBB", 12), QByteArray("<Skin> \0<R/></Skin>", 19),
        "<Skin><R Name='\xC0\xAF'/></Skin>",          // overlong
        "<Skin><R Name='\xED\xA0\x80'/></Skin>",      // a surrogate
        "<Skin><R Name='\xF4\x90\x80\x80'/></Skin>",  // past U+10FFFF
        "<Skin><R Name='\xE9t\xE9'/></Skin>",         // Latin-1, not UTF-8
        "<Skin><R Name='\x80'/></Skin>",
    };
    for (const QByteArray& text : rejected) {
        QStringList lines;
        auto skin = LoadFile(text, &lines);
        EXPECT_EQ(skin->GetCount(), 0) << text.toHex().toStdString();
        ASSERT_EQ(lines.size(), 1) << text.toHex().toStdString();
        EXPECT_TRUE(lines[0].contains("UTF-8") || lines[0].contains("NUL")) << lines[0].toStdString();
    }
    // Well-formed text of any script is fine, names included.
    QStringList lines;
    auto skin = LoadFile("\xEF\xBB\xBF<Skin><R Name='\xD0\x9A\xD0\xBD\xD0\xBE\xD0\xBF\xD0\xBA\xD0\xB0'/>"
                         "<R Name='\xF0\x9F\xA7\xA9'/></Skin>", &lines);
    EXPECT_EQ(skin->GetCount(), 2);
    EXPECT_NE(skin->FindByName(QString::fromUtf8("\xD0\x9A\xD0\xBD\xD0\xBE\xD0\xBF\xD0\xBA\xD0\xB0")), nullptr);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(SkinHostile, NestingIsCountedTheWayTheParserReads)
{
    EXPECT_EQ(ElementNesting("<a><b/><c><d></d></c></a>"), 3);
    EXPECT_EQ(ElementNesting("<a><!-- <b><c><d> --></a>"), 1);
    EXPECT_EQ(ElementNesting("<a><![CDATA[<b><c>]]></a>"), 1);
    EXPECT_EQ(ElementNesting("<?xml version='1.0'?><!DOCTYPE x><a/>"), 1);
    EXPECT_EQ(ElementNesting("<a x='/>' y=\"/>\"><b><c/></b></a>"), 3); // quoted "/>" closes nothing
    EXPECT_EQ(ElementNesting("<a></a><b><c></c></b>"), 2);
    EXPECT_EQ(ElementNesting("<a><b><c>"), 3); // unclosed elements still count

    QStringList lines;
    EXPECT_EQ(LoadFile(Nested(kMaxSkinNesting), &lines)->GetCount(), kMaxSkinNesting - 1);
    EXPECT_TRUE(lines.isEmpty());
    // Deeper files would exhaust the stack of the recursive parser: refused, quickly.
    for (int depth : {kMaxSkinNesting + 1, 200000}) {
        EXPECT_EQ(LoadFile(Nested(depth), &lines)->GetCount(), 0) << depth;
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].contains("nested")) << lines[0].toStdString();
    }
    EXPECT_FALSE(CheckSkinText(QByteArray(kMaxSkinFileBytes + 1, ' ')).isEmpty());
}

TEST(SkinHostile, ItemsCannotHoldThemselves)
{
    QStringList lines;
    auto skin = LoadFile("<Skin><R Name='Loop' X2='0,rb' Y2='0,rb' HitResult='4'>"
                         "  <R Name='Loop'/>"                                    // itself
                         "  <R Name='Inner'><R Name='Loop'/><R Name='Inner'/></R>" // its holder and itself
                         "</R>"
                         "<Object Name='Area' ClientArea='Area'/>"               // its own client area
                         "<Object Name='Outer'><Object Name='Nested' ClientArea='Outer'/></Object></Skin>",
                         &lines);
    Rectangle& loop = *skin->FindByName("Loop");
    ASSERT_EQ(loop.GetChildCount(), 1);
    EXPECT_EQ(loop.GetChild(0)->GetChildCount(), 0);
    EXPECT_EQ(skin->FindObject("Area", 0, 0)->ClientArea(), nullptr);
    EXPECT_EQ(skin->FindObject("Nested", 0, 0)->ClientArea(), nullptr);
    EXPECT_EQ(lines.size(), 3); // the two loops of children; client areas are dropped without a word
    EXPECT_EQ(loop.HitTest(QRect(0, 0, 10, 10), QPoint(1, 1)), 4);
    EXPECT_EQ(skin->FindObject("Area", 0, 0)->HitTest(QRect(0, 0, 10, 10), QPoint(1, 1)), 1);
    RenderItem(loop, QSize(10, 10));
}

TEST(SkinHostile, SharedChildrenCannotMultiplyWithoutBound)
{
    // Every level holds the one below twice: 2^40 visits without the tree limits.
    QByteArray text = "<Skin><R Name='L0' HitResult='1'/>";
    for (int i = 1; i <= 40; ++i)
        text += QStringLiteral("<R Name='L%1' X2='0,rb' Y2='0,rb'><R Name='L%2'/><R Name='L%2'/></R>").arg(i).arg(i - 1).toUtf8();
    text += "</Skin>";
    QStringList lines;
    auto skin = LoadFile(text, &lines);
    EXPECT_FALSE(lines.isEmpty());
    Rectangle& top = *skin->FindByName("L40");
    EXPECT_EQ(top.HitTest(QRect(0, 0, 10, 10), QPoint(5, 5)), 0);
    EXPECT_EQ(skin->FindByName("L3")->HitTest(QRect(0, 0, 10, 10), QPoint(5, 5)), 0); // L0 has no rectangle
    RenderItem(top, QSize(10, 10));
    EXPECT_EQ(top.FindMatch(CGP_StringSet("Thumb")), nullptr);

    // A chain deeper than the stack allows is cut where it gets too deep.
    text = "<Skin><R Name='C0'/>";
    for (int i = 1; i <= 500; ++i)
        text += QStringLiteral("<R Name='C%1'><R Name='C%2'/></R>").arg(i).arg(i - 1).toUtf8();
    text += "</Skin>";
    skin = LoadFile(text, &lines);
    int depth = 0;
    for (Rectangle* item = skin->FindByName("C500"); item && item->GetChildCount(); item = item->GetChild(0))
        ++depth;
    EXPECT_LT(depth, kMaxTreeDepth);
}

TEST(SkinHostile, LargeNumbersStayWithinBounds)
{
    TestFolder folder;
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    pixel.save(folder.File("pixel.png"));
    auto skin = SkinFromText(
        "<Bitmap Name='Wide' Src='pixel.png' X1='-2147483648' X2='-2147483647,rb' Y2='0,rb' HPosition='Tiled' VPosition='Stretched'/>"
        "<Bitmap Name='Both' Src='pixel.png' X1='-99999' X2='-99999,rb' Y1='-99999' Y2='-99999,rb' HPosition='Tiled' VPosition='Tiled'/>"
        "<Bitmap Name='Cut' Src='pixel.png' SrcX='-2147483648' SrcY='0' SrcWidth='2147483647' SrcHeight='2147483647'/>"
        "<Region Name='Oval' Shape='ELLIPTIC' X1='-2147483647' X2='-2147483647,rb' Y1='-9' Y2='-9,rb'/>",
        folder.Path());
    EXPECT_EQ(skin->FindByName("Wide")->Resolve(QRect(0, 0, 10, 10)), QRect(-kMaxSkinOffset, 0, 2 * kMaxSkinOffset + 10, 10));
    const QImage wide = RenderItem(*skin->FindByName("Wide"), QSize(64, 8));
    const QImage both = RenderItem(*skin->FindByName("Both"), QSize(64, 8));
    EXPECT_EQ(wide.pixel(63, 7), qRgb(255, 0, 0));
    EXPECT_EQ(both.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(skin->FindByName("Cut")->AsBitmap()->Picture().size(), QSize(1, 1));
    const QRegion oval = skin->FindByName("Oval")->AsRegion()->Build(QRect(0, 0, 10, 10), CGP_StringSet()).value();
    EXPECT_TRUE(oval.contains(QPoint(5, 5)));

    QByteArray data;
    for (int i = 0; i < 3 * kMaxRegionPoints; ++i)
        data += "1 ";
    CapturedLog log;
    auto many = SkinFromText("<Region Name='P' Shape='POLYGON' Data='" + data + "'/>");
    EXPECT_EQ(many->FindByName("P")->AsRegion()->Points().GetCount(), kMaxRegionPoints);
    EXPECT_EQ(log.Lines("WINSKIN").size(), 1);
}

TEST(SkinHostile, ItemCountIsCapped)
{
    CapturedLog log;
    auto skin = SkinFromText(QByteArray("<R/>").repeated(kMaxSkinItems + 50));
    EXPECT_EQ(skin->GetCount(), kMaxSkinItems);
    EXPECT_EQ(log.Lines("WINSKIN").size(), 1);
}

TEST(SkinHostile, DevicesAndFoldersAreNotReadAsArt)
{
    CapturedLog log;
    auto skin = SkinFromText("<Bitmap Name='B' Src='/dev/zero'/><Region Name='R' Shape='ARBITRARY' Src='/dev/zero'/>"
                             "<Font Name='F' Src='/dev/zero'/><Bitmap Name='D' Src='.'/>",
                             QDir::tempPath());
    EXPECT_EQ(skin->GetCount(), 4);
    EXPECT_TRUE(skin->FindByName("B")->AsBitmap()->Picture().isNull());
    EXPECT_EQ(log.Lines("WINSKIN").size(), 4);
}

TEST(SkinHostile, EveryFuzzSeedLoadsAndIsUsed)
{
    const QDir corpus(SourceFile("tests/fuzz/corpus/skin"));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_GE(seeds.size(), 5);
    for (const QString& seed : seeds) {
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << seed.toStdString();
        SCOPED_TRACE(seed.toStdString());
        ExerciseSkin(file.readAll(), SourceFile("tests/skin/data"));
    }
}
