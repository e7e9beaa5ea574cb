#include "skin/LDialog.h"
#include "skin/Object.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableEdit.h"
#include "skin/SkinableStatic.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using WINSKIN::SkinableBase;

namespace {

const QByteArray kButtons = "<Object Name=\"Button\" MinWidth=\"1\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png") + Fill("pushed.png", "Pushed")
    + Fill("focused.png", "Focused", "X2=\"4\" Y2=\"4\"") + Fill("checked.png", "Checked", "X1=\"4,rb\" Y1=\"4,rb\" X2=\"0,rb\" Y2=\"0,rb\"")
    + "</Object>"
      "<Object Name=\"Button\" ID1=\"1000\" ID2=\"1089\" X1=\"80,rb\" Y1=\"12\" X2=\"52,rb\" Y2=\"40\" MinWidth=\"2\">"
    + Fill("pushed.png") + "</Object>";

const QByteArray kDialog = "<Region Name=\"Round\" Shape=\"ELLIPTIC\" X2=\"0,rb\" Y2=\"0,rb\"/>"
                           "<Object Name=\"Dialog\" Region=\"Round\" MinWidth=\"150\" MinHeight=\"100\" X2=\"0,rb\" Y2=\"0,rb\">"
    + Fill("face.png", "NonClient") + "<Caption HitResult=\"HTCAPTION\" X2=\"0,rb\" Y2=\"30\"/>"
    + "<Client Attributes=\"Client\" X1=\"10\" Y1=\"30\" X2=\"10,rb\" Y2=\"10,rb\">" + Fill("client.png") + "</Client></Object>";

QRgb Pixel(QWidget& widget, QPoint at)
{
    return Rendered(widget).pixel(at);
}

} // namespace

TEST(SkinableWindow, ControlsFindTheirObjectByDialogAndControlNumber)
{
    CurrentTestSkin skin(kButtons + kDialog);
    CLDialog dialog(1000);
    dialog.resize(300, 200);
    auto* special = new CSkinableButton(&dialog, 1089);
    auto* other = new CSkinableButton(&dialog, 1090);
    special->setGeometry(20, 20, 60, 24);
    other->setGeometry(20, 60, 60, 24);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_EQ(dialog.ID1(), 1000);
    EXPECT_EQ(special->ID1(), 1000);
    EXPECT_EQ(special->ID2(), 1089);
    EXPECT_EQ(special->GetObject(), skin.Get().FindObject("Button", 1000, 1089));
    EXPECT_EQ(special->GetObject()->MinWidth(), 2);
    EXPECT_EQ(other->ID2(), 1090);
    EXPECT_EQ(other->GetObject(), skin.Get().FindObject("Button", 0, 0));
    ASSERT_EQ(dialog.GetChildCount(), 2);
    EXPECT_EQ(dialog.GetChild(0), special);
    EXPECT_EQ(special->Parent(), &dialog);

    // The special Object is anchored to the right of the dialog's client area: 80 and 52
    // pixels in from its right edge, 12 to 40 down from its top.
    const QRect client = dialog.contentsRect();
    EXPECT_EQ(client, QRect(10, 30, 280, 160));
    EXPECT_EQ(special->geometry(), QRect(client.right() + 1 - 80, client.top() + 12, 28, 28));
    // The default Object spans the client area: the button stays where the dialog put it,
    // moved with the client area.
    EXPECT_EQ(other->geometry(), QRect(30, 90, 60, 24));

    // A wider dialog moves the anchored button with its right edge.
    dialog.resize(400, 200);
    EXPECT_EQ(special->geometry().x(), 10 + 380 - 80);
    EXPECT_EQ(other->geometry(), QRect(30, 90, 60, 24));

    // A control under a window that is not skinned keeps identifiers 0, 0.
    QWidget plain;
    auto* orphan = new CSkinableButton(&plain, 1089);
    orphan->Attach();
    EXPECT_EQ(orphan->ID1(), 0);
    EXPECT_EQ(orphan->ID2(), 0);
    EXPECT_EQ(orphan->GetObject(), skin.Get().FindObject("Button", 0, 0));
}

TEST(SkinableWindow, ANewSkinReachesEveryRegisteredWindow)
{
    CurrentTestSkin skin(kButtons + kDialog);
    CLDialog dialog(1000);
    dialog.resize(300, 200);
    auto* button = new CSkinableButton(&dialog, 1089);
    auto* edit = new CSkinableEdit(&dialog, 1100);
    dialog.Create();
    const int registered = SkinableBase::RegisteredCount();
    EXPECT_GE(registered, 3);
    EXPECT_EQ(SkinableBase::Find(edit), edit);
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(dialog.mask().isEmpty());

    // The new skin has no Object of its own for control 1089, and none for dialogs.
    skin.Load("<Object Name=\"Button\" MinWidth=\"9\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("checked.png") + "</Object>");
    ASSERT_NE(button->GetObject(), nullptr);
    EXPECT_EQ(button->GetObject()->MinWidth(), 9);
    EXPECT_EQ(dialog.GetObject(), nullptr);
    EXPECT_FALSE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_EQ(dialog.contentsRect(), dialog.rect());
    EXPECT_EQ(edit->GetObject(), nullptr);

    // The first skin back: everything wears it again.
    skin.Load(kButtons + kDialog);
    EXPECT_EQ(button->GetObject(), skin.Get().FindObject("Button", 1000, 1089));
    EXPECT_NE(dialog.GetObject(), nullptr);
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);

    // A destroyed window leaves the registry.
    delete edit;
    EXPECT_EQ(SkinableBase::RegisteredCount(), registered - 1);
    EXPECT_EQ(SkinableBase::Find(edit), nullptr);
    // A skin that is no longer current is not drawn from.
    WINSKIN::Skin::SetCurrent(nullptr);
    EXPECT_EQ(button->GetObject(), nullptr);
}

TEST(SkinableWindow, StatesChangeTheLook)
{
    CurrentTestSkin skin(kButtons);
    QWidget window;
    window.resize(200, 100);
    auto* button = new CSkinableButton(&window, 7);
    button->setGeometry(10, 10, 80, 30);
    auto* box = new CSkinableCheckBox(&window, 8);
    box->setGeometry(10, 50, 80, 30);
    // The check box has no Object of its own: it draws as Qt draws it.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(button->GetObject(), nullptr);
    EXPECT_EQ(box->GetObject(), nullptr);

    box->setFocus();
    ASSERT_FALSE(button->hasFocus());
    const QPoint centre(40, 15);
    const QPoint focusCorner(1, 1);
    const QPoint checkCorner(78, 28);
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Face));
    EXPECT_TRUE(SameColour(Pixel(*button, focusCorner), SkinColours::Face));

    button->setDown(true);
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Pushed));
    button->setDown(false);
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Face));

    button->setCheckable(true);
    button->setChecked(true);
    EXPECT_TRUE(SameColour(Pixel(*button, checkCorner), SkinColours::Checked));
    button->setChecked(false);
    EXPECT_TRUE(SameColour(Pixel(*button, checkCorner), SkinColours::Face));

    window.activateWindow();
    button->setFocus();
    // The offscreen platform may not hand out keyboard focus; the look follows it when it does.
    if (button->hasFocus()) {
        EXPECT_TRUE(SameColour(Pixel(*button, focusCorner), SkinColours::Focused));
    }

    // Own states are added to every state set.
    button->clearFocus();
    button->AddOwnState("Pushed");
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Face)) << "a button's own press state decides";
    button->RemoveOwnState("Pushed");

    // A mouse press shows the pushed look and the click still arrives.
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Pushed));
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(SameColour(Pixel(*button, centre), SkinColours::Face));
}

TEST(SkinableWindow, WindowsWithoutAnObjectStayPlainAndWork)
{
    CurrentTestSkin skin("<Object Name=\"Unrelated\"/>");
    CLDialog dialog(1234);
    dialog.resize(200, 120);
    auto* button = new CSkinableButton(&dialog, 1);
    button->setText("OK");
    button->setGeometry(10, 10, 80, 30);
    auto* edit = new CSkinableEdit(&dialog, 2);
    edit->setGeometry(10, 50, 120, 24);
    auto* label = new CSkinableStatic(&dialog, 3);
    label->setText("Hello");
    const Qt::WindowFlags flags = dialog.windowFlags();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_EQ(dialog.GetObject(), nullptr);
    EXPECT_EQ(button->GetObject(), nullptr);
    EXPECT_EQ(dialog.windowFlags(), flags);
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(button->geometry(), QRect(10, 10, 80, 30));

    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    edit->setFocus();
    QTest::keyClicks(edit, "abc");
    EXPECT_EQ(edit->text(), "abc");
    // Nothing was drawn from a skin: the plain button is not one solid colour.
    const QImage look = button->grab().toImage();
    EXPECT_FALSE(SameColour(look.pixel(40, 15), SkinColours::Face) && SameColour(look.pixel(2, 2), SkinColours::Face));
}

TEST(SkinableWindow, ShapeFollowsTheRegionAndTheSize)
{
    CurrentTestSkin skin(kDialog);
    CLDialog dialog(1000);
    dialog.resize(200, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_NE(dialog.GetObject(), nullptr);

    // An ellipse over the window: corners are outside the shape, the middle inside.
    QImage image = Rendered(dialog);
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(198, 98)), 0);
    EXPECT_TRUE(SameColour(image.pixel(100, 15), SkinColours::Face)) << "the frame outside the client area";
    EXPECT_TRUE(SameColour(image.pixel(100, 60), SkinColours::Client)) << "the client area";
    EXPECT_EQ(dialog.mask().boundingRect(), QRect(0, 0, 200, 100));

    dialog.resize(300, 180);
    EXPECT_EQ(dialog.mask().boundingRect(), QRect(0, 0, 300, 180));
    EXPECT_TRUE(dialog.mask().contains(QPoint(150, 90)));
    EXPECT_FALSE(dialog.mask().contains(QPoint(2, 2)));

    // The Object's smallest size holds.
    EXPECT_EQ(dialog.minimumSize(), QSize(150, 100));
    dialog.resize(50, 50);
    EXPECT_EQ(dialog.size(), QSize(150, 100));
}

TEST(SkinableWindow, SizeLimitsGiveWayAtTheDraggedEdge)
{
    CurrentTestSkin skin("<Object Name=\"Dialog\" MinWidth=\"100\" MinHeight=\"50\" MaxWidth=\"400\" MaxHeight=\"300\"/>");
    const WINSKIN::Object& limits = *skin.Get().FindObject("Dialog", 0, 0);
    QRect rect(100, 100, 40, 20);
    SkinableBase::ApplySizeLimits(limits, WINSKIN::WMSZ_LEFT, rect);
    EXPECT_EQ(rect, QRect(40, 100, 100, 50)) << "the right edge stays, the bottom gives way";
    rect = QRect(100, 100, 40, 20);
    SkinableBase::ApplySizeLimits(limits, WINSKIN::WMSZ_BOTTOMRIGHT, rect);
    EXPECT_EQ(rect, QRect(100, 100, 100, 50));
    rect = QRect(100, 100, 40, 20);
    SkinableBase::ApplySizeLimits(limits, WINSKIN::WMSZ_TOPLEFT, rect);
    EXPECT_EQ(rect, QRect(40, 70, 100, 50));
    rect = QRect(0, 0, 900, 900);
    SkinableBase::ApplySizeLimits(limits, WINSKIN::WMSZ_TOPRIGHT, rect);
    EXPECT_EQ(rect, QRect(0, 600, 400, 300));
    EXPECT_EQ(SkinableBase::SizingEdgeOf(WINSKIN::HTBOTTOMRIGHT), WINSKIN::WMSZ_BOTTOMRIGHT);
    EXPECT_EQ(SkinableBase::SizingEdgeOf(WINSKIN::HTCAPTION), 0);
}

TEST(SkinableWindow, EditTakesItsColoursAndFontFromTheSkin)
{
    CurrentTestSkin skin("<Font Name=\"Big\" Face=\"DejaVu Sans\" Size=\"20\"/>"
                         "<Object Name=\"Edit\" Font=\"Big\" X2=\"0,rb\" Y2=\"0,rb\">"
        + Fill("face.png") + "<Client Attributes=\"Client\" X1=\"6\" Y1=\"4\" X2=\"6,rb\" Y2=\"4,rb\"/>"
        + "<Text Attributes=\"EditColours\" Color=\"0xFF0000\" BgColor=\"0x0000FF\"/></Object>");
    QWidget window;
    window.resize(200, 60);
    auto* edit = new CSkinableEdit(&window, 5);
    edit->setGeometry(10, 10, 150, 36);
    const QFont own = edit->font();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(edit->GetObject(), nullptr);

    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->BackgroundColour(), QColor(0, 0, 255));
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_NE(edit->font().pixelSize() > 0 ? edit->font().pixelSize() : edit->font().pointSize(), own.pointSize());
    const QImage image = Rendered(*edit);
    EXPECT_TRUE(SameColour(image.pixel(2, 2), SkinColours::Face)) << "the frame";
    EXPECT_TRUE(SameColour(image.pixel(140, 18), QColor(0, 0, 255))) << "the client background";
    edit->setFocus();
    QTest::keyClicks(edit, "typed");
    EXPECT_EQ(edit->text(), "typed");

    // Without the skin the field has its own frame, font and colours back.
    skin.Load("");
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(edit->font(), own);
    EXPECT_NE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST(SkinableWindow, EdgesAndCornersResizeWithinTheLimits)
{
    CurrentTestSkin skin("<Object Name=\"Dialog\" MinWidth=\"150\" MinHeight=\"100\" MaxWidth=\"400\" X2=\"0,rb\" Y2=\"0,rb\">"
                         + Fill("face.png") + "<Grip HitResult=\"HTBOTTOMRIGHT\" X1=\"10,rb\" Y1=\"10,rb\" X2=\"0,rb\" Y2=\"0,rb\"/>"
                         + "<Edge HitResult=\"HTLEFT\" X2=\"6\" Y1=\"10\" Y2=\"10,rb\"/></Object>");
    CSkinableDialog dialog(77);
    dialog.setGeometry(100, 100, 200, 150);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_NE(dialog.GetObject(), nullptr);
    EXPECT_EQ(dialog.HitTest(QPoint(195, 145)), WINSKIN::HTBOTTOMRIGHT);

    // The bottom-right corner: smaller than the smallest size stops at it, the top-left stays.
    Press(&dialog, QPoint(195, 145));
    MoveTo(&dialog, QPoint(0, 0));
    EXPECT_EQ(dialog.geometry(), QRect(100, 100, 150, 100));
    MoveTo(&dialog, QPoint(395, 175));
    EXPECT_EQ(dialog.geometry(), QRect(100, 100, 400, 180)) << "no wider than the largest width";
    Release(&dialog, QPoint(395, 175));
    EXPECT_EQ(dialog.geometry(), QRect(100, 100, 400, 180));

    // The left edge: the right edge stays where it is.
    Press(&dialog, QPoint(2, 50));
    MoveTo(&dialog, QPoint(302, 50));
    Release(&dialog, QPoint(302, 50));
    EXPECT_EQ(dialog.geometry(), QRect(350, 100, 150, 180));
}
