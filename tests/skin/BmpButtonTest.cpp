#include "resources/GP_Resources.h"
#include "tests/support/CapturedLog.h"
#include "skin/BmpButton.h"
#include "skin/SkinableBase.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kButtonId = 49293;

// The main view: it takes the notifications of the buttons on its panels.
class Receiver : public QWidget, public CBmpButtonReceiver
{
public:
    void OnBmpButtonNotify(const BmpButtonNotify& notify) override
    {
        // Read during the call from the one record.
        EXPECT_EQ(&notify, &CBmpButton::LastNotify());
        received << notify;
    }
    QList<BmpButtonNotify> received;
};

struct Screen
{
    Screen()
    {
        view.setGeometry(0, 0, 600, 400);
        auto* panel = new QWidget(&view);
        panel->setGeometry(50, 50, 400, 200);
        button = new CBmpButton(panel, 1086);
        button->SetUserValue(77);
        loaded = button->LoadLooks(kButtonId);
        button->setGeometry(20, 20, 180, 44);
        view.show();
    }
    ~Screen() { CBmpButton::SetInputBlocked(false); }

    QPoint Inside() const { return QPoint(90, 22); }
    unsigned LastCode() const { return view.received.isEmpty() ? 0 : view.received.last().code; }

    Receiver view;
    CBmpButton* button = nullptr;
    bool loaded = false;
};

} // namespace

TEST(BmpButton, PressClickAndReleaseNotifyTheParentsParent)
{
    Screen screen;
    ASSERT_TRUE(screen.loaded);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen.view));
    CBmpButton* button = screen.button;
    int signalled = 0;
    QObject::connect(button, &CBmpButton::Notify, [&](const BmpButtonNotify& notify) {
        EXPECT_EQ(&notify, &CBmpButton::LastNotify());
        ++signalled;
    });
    EXPECT_EQ(button->GetState(), CBmpButton::Normal);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

    Press(button, screen.Inside());
    EXPECT_EQ(button->GetState(), CBmpButton::Pressed);
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookPressed);
    ASSERT_EQ(screen.view.received.size(), 1);
    const BmpButtonNotify pressed = screen.view.received.last();
    EXPECT_EQ(pressed.hwndFrom, button);
    EXPECT_EQ(pressed.idFrom, 1086);
    EXPECT_EQ(pressed.code, 0x4CEu);
    EXPECT_EQ(pressed.userValue, 77u);

    Release(button, screen.Inside());
    EXPECT_EQ(button->GetState(), CBmpButton::Hover);
    EXPECT_EQ(screen.LastCode(), 0x4CDu);
    // A release without a press on this button.
    Release(button, screen.Inside());
    EXPECT_EQ(screen.LastCode(), 0x4CFu);
    EXPECT_EQ(screen.view.received.size(), 3);
    EXPECT_EQ(signalled, 3);
    // Other buttons of the mouse do nothing.
    QTest::mousePress(button, Qt::RightButton, {}, screen.Inside());
    EXPECT_EQ(screen.view.received.size(), 3);
}

TEST(BmpButton, HoverEndsWhenThePointerHasLeft)
{
    Screen screen;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen.view));
    CBmpButton* button = screen.button;
    QCursor::setPos(button->mapToGlobal(screen.Inside()));
    MoveTo(button, screen.Inside());
    EXPECT_EQ(button->GetState(), CBmpButton::Hover);
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookHover);
    QTest::qWait(CBmpButton::kHoverTimerMs * 2);
    EXPECT_EQ(button->GetState(), CBmpButton::Hover) << "the pointer is still over it";

    QCursor::setPos(button->mapToGlobal(QPoint(-200, -200)));
    QTRY_COMPARE_WITH_TIMEOUT(button->GetState(), CBmpButton::Normal, 2000);

    // Held down, it stays pressed while the pointer is away.
    QCursor::setPos(button->mapToGlobal(screen.Inside()));
    Press(button, screen.Inside());
    QCursor::setPos(button->mapToGlobal(QPoint(-200, -200)));
    MoveTo(button, QPoint(-200, -200));
    QTest::qWait(CBmpButton::kHoverTimerMs * 2);
    EXPECT_EQ(button->GetState(), CBmpButton::Pressed);
    Release(button, QPoint(-200, -200));
    EXPECT_EQ(screen.LastCode(), 0x4CDu);
    QTRY_COMPARE_WITH_TIMEOUT(button->GetState(), CBmpButton::Normal, 2000);
}

TEST(BmpButton, CheckedDisabledAndInertLooks)
{
    Screen screen;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen.view));
    CBmpButton* button = screen.button;
    button->setCheckable(true);
    button->setChecked(true);
    EXPECT_EQ(button->GetState(), CBmpButton::Normal);
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookPressed) << "checked shows the pressed look";
    MoveTo(button, screen.Inside());
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookPressed);
    button->setChecked(false);
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookHover);

    button->setEnabled(false);
    EXPECT_EQ(button->GetState(), CBmpButton::Disabled);
    EXPECT_EQ(button->CurrentLook(), CBmpButton::LookDisabled);
    button->setEnabled(true);
    EXPECT_EQ(button->GetState(), CBmpButton::Normal);

    // While the main view blocks input the button neither changes nor notifies, and keeps
    // showing what it showed.
    const QImage before = button->grab().toImage();
    CBmpButton::SetInputBlocked(true);
    EXPECT_TRUE(button->IsInert());
    Press(button, screen.Inside());
    Release(button, screen.Inside());
    MoveTo(button, screen.Inside());
    EXPECT_TRUE(screen.view.received.isEmpty());
    EXPECT_EQ(button->GetState(), CBmpButton::Normal);
    EXPECT_NE(button->cursor().shape(), Qt::PointingHandCursor);
    button->setCheckable(true);
    button->setChecked(true);
    EXPECT_EQ(button->grab().toImage(), before);

    // Unless it is marked always active.
    button->SetAlwaysActive(true);
    Press(button, screen.Inside());
    EXPECT_EQ(screen.LastCode(), 0x4CEu);
    EXPECT_NE(button->grab().toImage(), before);
    Release(button, screen.Inside());
    CBmpButton::SetInputBlocked(false);
}

TEST(BmpButton, PictureControlPlaysGifsOverItsBackground)
{
    GP_InitResources();
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(GP_ButtonLookPath(kButtonId, "hover")));
    EXPECT_GT(picture.FrameCount(), 1);
    const QSize size = QImageReader(GP_ButtonLookPath(kButtonId, "hover")).size();
    ASSERT_FALSE(size.isEmpty());
    EXPECT_EQ(picture.GetSize(), size);
    QSignalSpy frames(&picture, &CPictureEx::FrameChanged);
    EXPECT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.IsPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 2, 3000);
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());

    // A one-frame look needs no player; memory works as resources do.
    QFile file(GP_ButtonLookPath(kButtonId, "normal"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    CPictureEx still;
    ASSERT_TRUE(still.Load(file.readAll()));
    EXPECT_EQ(still.FrameCount(), 1);
    EXPECT_TRUE(still.Draw());
    EXPECT_EQ(still.CurrentFrame().size(), size);

    // Not a picture: logged, nothing loaded, the background colour shows.
    CapturedLog log;
    CPictureEx broken;
    broken.SetBkColor(QColor(10, 20, 30));
    EXPECT_FALSE(broken.Load(QByteArray("GIF89a but not really")));
    EXPECT_FALSE(broken.IsLoaded());
    EXPECT_FALSE(broken.Draw());
    EXPECT_EQ(broken.CurrentFrame().pixel(0, 0), QColor(10, 20, 30).rgb());
    EXPECT_FALSE(broken.Load(QStringLiteral(":/gif/none/such")));
    const QString text = log.Text();
    EXPECT_TRUE(text.contains("CPictureEx::Load: a picture in memory is not a GIF picture"));
    EXPECT_TRUE(text.contains("CPictureEx::Load: cannot open \":/gif/none/such\""));
}

TEST(BmpButton, FontIsTwentyPixelBold)
{
    const QFont font = CBmpButton::ButtonFont();
    EXPECT_EQ(font.pixelSize(), CBmpButton::kFontPixels);
    EXPECT_TRUE(font.bold());
    // Verdana where the system has it, else the game's own button font.
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
}
