// How skinned windows look to the player: hover feedback, double-density pictures, the slider's
// thumb, smooth edges and shadows on a blending desktop, and client areas kept inside the frame.
#include "skin/Bitmap.h"
#include "skin/DesktopCompositing.h"
#include "skin/DropShadow.h"
#include "skin/LDialog.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableSliderCtrl.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

const QByteArray kHoverLooks = "<Object Name=\"Button\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png") + Fill("checked.png", "Hover")
    + Fill("pushed.png", "Disabled") + "</Object><Object Name=\"CheckBox\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png")
    + Fill("checked.png", "Hover", "X2=\"8\" Y2=\"0,rb\"") + "</Object>";

// A rounded dialog whose square client picture would poke out of its corners.
const QByteArray kRoundDialog = "<Region Name=\"Round\" Shape=\"ROUNDRECT\" Data=\"41 41\" X2=\"0,rb\" Y2=\"0,rb\"/>"
                                "<Object Name=\"Dialog\" Region=\"Round\" X2=\"0,rb\" Y2=\"0,rb\">"
    + Fill("face.png", "NonClient") + "<Client Attributes=\"Client\" X1=\"2\" Y1=\"2\" X2=\"2,rb\" Y2=\"2,rb\">" + Fill("client.png")
    + "</Client></Object>";

// Counts the paint events a widget gets.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(SkinLook, HoverShowsOnTheControlUnderThePointerAndGoesWhenItLeaves)
{
    CurrentTestSkin skin(kHoverLooks);
    CLDialog dialog(1000);
    dialog.resize(300, 120);
    auto* button = new CSkinableButton(&dialog, 1);
    auto* box = new CSkinableCheckBox(&dialog, 2);
    auto* neighbour = new CSkinableButton(&dialog, 3);
    button->setGeometry(10, 10, 80, 30);
    box->setGeometry(100, 10, 80, 30);
    neighbour->setGeometry(190, 10, 80, 30);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    struct Row
    {
        QWidget* control;
        QPoint inside;  // a point of the control where its Hover look shows
    };
    for (const Row& row : {Row{button, {40, 15}}, Row{box, {4, 15}}}) {
        SCOPED_TRACE(WINSKIN::ControlId(row.control));
        QTest::mouseMove(&dialog, QPoint(5, 100));
        QApplication::processEvents();
        const QImage before = Grab(*row.control);
        PaintCounter neighbourPaints;
        neighbour->installEventFilter(&neighbourPaints);

        QTest::mouseMove(row.control, row.inside);
        QTRY_VERIFY_WITH_TIMEOUT(WINSKIN::SkinableBase::Find(row.control)->IsHovered(), 2000);
        const QImage hovered = Grab(*row.control);
        EXPECT_NE(hovered, before) << "the pointer over it changes its look";
        EXPECT_TRUE(SameColour(hovered.pixel(row.inside), SkinColours::Checked));
        QApplication::processEvents();
        EXPECT_EQ(neighbourPaints.paints, 0) << "only the control under the pointer is drawn again";

        QTest::mouseMove(&dialog, QPoint(5, 100));
        QTRY_VERIFY_WITH_TIMEOUT(!WINSKIN::SkinableBase::Find(row.control)->IsHovered(), 2000);
        EXPECT_EQ(Grab(*row.control), before) << "the look comes back when the pointer leaves";
    }

    // A disabled control shows its disabled look, pointer or not.
    button->setEnabled(false);
    QTest::mouseMove(button, QPoint(40, 15));
    QApplication::processEvents();
    EXPECT_TRUE(SameColour(Grab(*button).pixel(40, 15), SkinColours::Pushed));
}

TEST(SkinLook, DenseScreensDrawTheDoubleSizePictures)
{
    // "tile.png" is 2 x 2 red; "tile@2x.png" 4 x 4 with a green top-left quarter and blue
    // elsewhere, so its quarters show where they landed.
    TestFolder folder;
    QImage single(2, 2, QImage::Format_ARGB32);
    single.fill(Qt::red);
    single.save(folder.File(QStringLiteral("tile.png")));
    QImage dense(4, 4, QImage::Format_ARGB32);
    dense.fill(Qt::blue);
    for (const QPoint& at : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        dense.setPixelColor(at, Qt::green);
    dense.save(folder.File(QStringLiteral("tile@2x.png")));
    QImage odd(5, 4, QImage::Format_ARGB32);
    odd.fill(Qt::blue);
    odd.save(folder.File(QStringLiteral("odd@2x.png")));
    single.save(folder.File(QStringLiteral("odd.png")));

    CapturedLog log;
    auto skin = SkinFromText("<Bitmap Name='Tiled' Src='tile.png' HPosition='Tiled' VPosition='Tiled' X2='0,rb' Y2='0,rb'/>"
                             "<Bitmap Name='Stretched' Src='tile.png' HPosition='Stretched' VPosition='Stretched' X2='0,rb' Y2='0,rb'/>"
                             "<Bitmap Name='Cut' Src='tile.png' SrcX='1' SrcY='1' SrcWidth='1' SrcHeight='1' X2='0,rb' Y2='0,rb'/>"
                             "<Bitmap Name='Odd' Src='odd.png' HPosition='Tiled' X2='0,rb' Y2='0,rb'/>"
                             "<Bitmap Name='Offset' Src='tile.png' X1='1' Y1='1' X2='0,rb' Y2='0,rb'/>",
                             folder.Path());
    EXPECT_EQ(skin->FindByName("Tiled")->AsBitmap()->DoublePicture().size(), QSize(4, 4));
    EXPECT_EQ(skin->FindByName("Cut")->AsBitmap()->DoublePicture().size(), QSize(2, 2)) << "cut at twice the place";
    EXPECT_TRUE(skin->FindByName("Odd")->AsBitmap()->DoublePicture().isNull()) << "not twice the size: left out";
    EXPECT_EQ(log.Lines(QStringLiteral("WINSKIN::Bitmap:")).size(), 1);

    struct Row
    {
        const char* item;
        qreal ratio;
        QPoint device;  // a pixel of the drawn picture, in device pixels
        QColor expected;
    };
    const Row rows[] = {
        {"Tiled", 1, {0, 0}, Qt::red},
        // one screen pixel for each picture pixel: a quarter of it is 2 x 2 screen pixels
        {"Tiled", 2, {1, 1}, Qt::green},    {"Tiled", 2, {2, 2}, Qt::blue},     {"Tiled", 2, {3, 0}, Qt::blue},
        {"Tiled", 2, {4, 4}, Qt::green},    // the next copy starts two logical pixels on
        {"Stretched", 2, {3, 3}, Qt::green}, {"Stretched", 2, {5, 5}, Qt::blue}, // 4 x 4 logical: doubled again
        {"Stretched", 1.25, {0, 0}, Qt::red},                                    // below 1.5: the picture itself
        {"Odd", 2, {0, 0}, Qt::red},
        {"Offset", 2, {2, 2}, Qt::green}, {"Offset", 2, {3, 3}, Qt::green},      // drawn once where it starts
        {"Offset", 2, {4, 4}, Qt::blue},  {"Offset", 2, {1, 1}, Qt::transparent},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " at " + std::to_string(row.ratio) + " " + std::to_string(row.device.x()));
        QImage canvas((QSizeF(4, 4) * row.ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(row.ratio);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        skin->FindByName(row.item)->Draw(painter, QRect(0, 0, 4, 4), CGP_StringSet(), QString());
        painter.end();
        EXPECT_EQ(canvas.pixelColor(row.device), row.expected);
    }
}

TEST(SkinLook, TheSliderThumbIsAsLargeAsTheSkinsThumbPicture)
{
    TestFolder folder;
    QImage thumb(20, 26, QImage::Format_ARGB32);
    thumb.fill(Qt::red);
    thumb.save(folder.File(QStringLiteral("thumb.png")));
    WINSKIN::Skin skin;
    WINSKIN::Skin::SetCurrent(&skin);
    skin.LoadText("<Skin><Object Name='TrackBar' X2='0,rb' Y2='0,rb'><Group Attributes='Thumb' X2='0,rb' Y2='0,rb'>"
                  "<Bitmap Src='thumb.png' HPosition='Centered' VPosition='Centered' X2='0,rb' Y2='0,rb'/></Group></Object></Skin>",
                  folder.Path());
    CLDialog dialog(1000);
    dialog.resize(300, 80);
    auto* slider = new CSkinableSliderCtrl(&dialog, 1);
    slider->setRange(0, 100);
    slider->setGeometry(10, 10, 260, 32);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int value : {0, 50, 100}) {
        slider->setValue(value);
        const QRect rect = slider->ThumbRect();
        EXPECT_EQ(rect.size(), QSize(20, 26)) << value;
        EXPECT_EQ(rect.center().y(), slider->rect().center().y()) << value;
        EXPECT_TRUE(SameColour(Grab(*slider).pixel(rect.center()), Qt::red)) << "drawn whole, not clipped";
    }
    WINSKIN::Skin::SetCurrent(nullptr);
    slider->SetObject(nullptr);
    EXPECT_NE(slider->ThumbRect().size(), QSize(20, 26)) << "the plain slider keeps its own thumb";
}

TEST(SkinLook, OnABlendingDesktopShapedDialogsAreTranslucentWithAShadow)
{
    CurrentTestSkin skin(kRoundDialog);
    struct Row
    {
        bool composites;
        bool masked;
        bool shadowed;
    };
    for (const Row& row : {Row{false, true, false}, Row{true, false, true}}) {
        SCOPED_TRACE(row.composites);
        WINSKIN::SetDesktopComposites(row.composites);
        QWidget frame;
        frame.resize(400, 300);
        frame.show();
        CLDialog dialog(1000, &frame);
        dialog.resize(200, 120);
        dialog.move(50, 60);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.testAttribute(Qt::WA_TranslucentBackground), row.composites);
        EXPECT_EQ(!dialog.mask().isEmpty(), row.masked);
        // The cut-away corner lets the pointer through either way; the middle does not.
        const auto* skinned = WINSKIN::SkinableBase::Find(&dialog);
        if (row.composites)
            EXPECT_EQ(skinned->HitTest(QPoint(1, 1)), WINSKIN::HTTRANSPARENT);
        else
            EXPECT_FALSE(dialog.mask().contains(QPoint(1, 1)));
        EXPECT_EQ(skinned->HitTest(QPoint(100, 60)), WINSKIN::HTCLIENT);
        ASSERT_EQ(dialog.Shadow() != nullptr, row.shadowed);
        if (!row.shadowed)
            continue;
        CDropShadow* shadow = dialog.Shadow();
        const int spread = CDropShadow::kSpread;
        EXPECT_TRUE(shadow->isVisible());
        EXPECT_EQ(shadow->geometry(), dialog.frameGeometry().adjusted(-spread, -spread, spread, spread + CDropShadow::kDrop));
        dialog.move(90, 40);
        EXPECT_EQ(shadow->geometry().topLeft(), dialog.frameGeometry().topLeft() - QPoint(spread, spread)) << "it follows";
        dialog.hide();
        EXPECT_FALSE(shadow->isVisible());
    }
    WINSKIN::SetDesktopComposites(std::nullopt);
}

TEST(SkinLook, AShadowIsDarkUnderTheWindowAndFadesOutBelowIt)
{
    const QSize window(100, 60);
    const QImage shadow = CDropShadow::Picture(QRegion(QRect(QPoint(0, 0), window)), window);
    const int s = CDropShadow::kSpread;
    ASSERT_EQ(shadow.size(), window + QSize(2 * s, 2 * s + CDropShadow::kDrop));
    const auto alpha = [&](int y) { return qAlpha(shadow.pixel(s + 50, y)); };
    EXPECT_EQ(alpha(s + 30), CDropShadow::kDarkness) << "under the middle of the window";
    EXPECT_EQ(qAlpha(shadow.pixel(0, 0)), 0) << "the outer corner is clear";
    for (int y = s + 60; y < shadow.height() - 1; ++y)
        EXPECT_GE(alpha(y), alpha(y + 1)) << y;
    EXPECT_GT(alpha(s + 62), alpha(s - 2)) << "deeper below the window than above it";
}

TEST(SkinLook, TheClientAreaNeverShowsPastTheFramesRoundedCorners)
{
    CurrentTestSkin skin(kRoundDialog);
    CLDialog dialog(1000);
    dialog.resize(200, 120);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QImage look = Grab(dialog);
    EXPECT_TRUE(SameColour(look.pixel(100, 60), SkinColours::Client));
    // Inside the client rectangle's corner but outside the rounded shape: the client's square
    // picture is not drawn there.
    EXPECT_FALSE(SameColour(look.pixel(3, 3), SkinColours::Client));
    EXPECT_FALSE(SameColour(look.pixel(196, 116), SkinColours::Client));
}
