#include "resources/StringTable.h"
#include "skin/ClickSoundPlayer.h"
#include "skin/LDialog.h"
#include "skin/RawValueStore.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableRadio.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHash>
#include <QHelpEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <QtEndian>

namespace {

const QByteArray kPanel = "<Object Name=\"Dialog\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png")
    + "<Caption HitResult=\"HTCAPTION\" X2=\"0,rb\" Y2=\"30\"/></Object>";

class MemoryStore : public WINSKIN::RawValueStore
{
public:
    bool SetBytes(const QString& name, const QByteArray& bytes) override
    {
        if (refuse)
            return false;
        values[name] = bytes;
        return true;
    }
    bool GetBytes(const QString& name, int maxWidth, QByteArray& bytes) const override
    {
        if (!values.contains(name) || values[name].size() > maxWidth)
            return false;
        bytes = values[name];
        return true;
    }

    QHash<QString, QByteArray> values;
    bool refuse = false;
};

QByteArray Edges(qint32 left, qint32 top, qint32 right, qint32 bottom)
{
    QByteArray bytes(16, '\0');
    const qint32 edges[] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian(edges[i], bytes.data() + 4 * i);
    return bytes;
}

class RecordingPlayer : public CClickSoundPlayer
{
public:
    RecordingPlayer() { SetInstance(this); }
    ~RecordingPlayer() override { SetInstance(nullptr); }
    void Play(int waveNumber) override { played << waveNumber; }
    QList<int> played;
};

// The main window a panel lives in: 800 x 600 at the screen's corner.
struct MainWindow
{
    MainWindow()
    {
        window.setGeometry(0, 0, 800, 600);
        window.show();
    }
    QWidget window;
};

// A 200 x 120 panel 1000 shown in the main window, wearing the panel skin.
struct ShownPanel
{
    ShownPanel()
        : skin(kPanel)
        , panel(1000, &main.window)
    {
        panel.resize(200, 120);
        panel.show();
    }
    bool Exposed() { return QTest::qWaitForWindowExposed(&main.window) && QTest::qWaitForWindowExposed(&panel); }

    CurrentTestSkin skin;
    MainWindow main;
    CLDialog panel;
};

} // namespace

TEST(LDialog, RemembersItsPlaceOnlyWhenItFitsTheMainWindow)
{
    ShownPanel shown;
    ASSERT_TRUE(shown.Exposed());
    CLDialog& panel = shown.panel;
    const QRect area = panel.ParentClientArea();
    ASSERT_EQ(area.size(), QSize(800, 600));
    panel.move(area.topLeft() + QPoint(100, 50));

    MemoryStore store;
    ASSERT_TRUE(panel.SavePosition(store));
    EXPECT_EQ(panel.PositionName(), "3E8");
    const QPoint at = panel.frameGeometry().topLeft();
    EXPECT_EQ(store.values.value("3E8"), Edges(at.x(), at.y(), at.x() + 200, at.y() + 120));

    panel.move(area.topLeft() + QPoint(300, 300));
    ASSERT_TRUE(panel.RestorePosition(store));
    EXPECT_EQ(panel.frameGeometry(), QRect(at, QSize(200, 120)));

    // Partly outside the main window: ignored, the panel stays where it is.
    const QPoint tl = area.topLeft();
    store.values["3E8"] = Edges(tl.x() + 700, tl.y() + 100, tl.x() + 900, tl.y() + 220);
    EXPECT_FALSE(panel.RestorePosition(store));
    EXPECT_EQ(panel.frameGeometry().topLeft(), at);
    // Only the place is taken, never the size; a rectangle inside the window is.
    store.values["3E8"] = Edges(tl.x() + 10, tl.y() + 20, tl.x() + 60, tl.y() + 70);
    EXPECT_TRUE(panel.RestorePosition(store));
    EXPECT_EQ(panel.frameGeometry(), QRect(tl + QPoint(10, 20), QSize(200, 120)));
    // Not a rectangle: too short, or turned inside out.
    store.values["3E8"] = QByteArray(8, '\0');
    EXPECT_FALSE(panel.RestorePosition(store));
    store.values["3E8"] = Edges(tl.x() + 300, tl.y() + 20, tl.x() + 100, tl.y() + 70);
    EXPECT_FALSE(panel.RestorePosition(store));
    store.values.clear();
    EXPECT_FALSE(panel.RestorePosition(store));
    store.refuse = true;
    EXPECT_FALSE(panel.SavePosition(store));

    // Any settings key with the same two calls will do.
    struct Key
    {
        bool SetBytes(const QString& name, const QByteArray& bytes) { return (last = name + bytes.toHex()), true; }
        bool GetBytes(const QString&, int, QByteArray&) const { return false; }
        QString last;
    } key;
    WINSKIN::RawValueStoreOf<Key> adapter(key);
    EXPECT_TRUE(panel.SavePosition(adapter));
    EXPECT_TRUE(key.last.startsWith("3E8"));
}

TEST(LDialog, DraggedPanelStaysInsideTheMainWindow)
{
    ShownPanel shown;
    ASSERT_TRUE(shown.Exposed());
    CLDialog& panel = shown.panel;
    ASSERT_NE(panel.GetObject(), nullptr);
    const QRect area = panel.ParentClientArea();
    panel.move(area.topLeft() + QPoint(500, 200));

    // Caught by the caption and pulled 400 pixels right: it stops at the right edge.
    Press(&panel, QPoint(50, 10));
    MoveTo(&panel, QPoint(450, 10));
    EXPECT_EQ(panel.frameGeometry().right(), area.right());
    EXPECT_EQ(panel.frameGeometry().top(), area.top() + 200);
    // Then up past the top.
    MoveTo(&panel, QPoint(50, -400));
    EXPECT_EQ(panel.frameGeometry().top(), area.top());
    Release(&panel, QPoint(50, -400));
    // Moves end with the release; the client area is no handle.
    const QPoint rest = panel.pos();
    Press(&panel, QPoint(50, 60));
    MoveTo(&panel, QPoint(10, 100));
    Release(&panel, QPoint(10, 100));
    EXPECT_EQ(panel.pos(), rest);

    EXPECT_EQ(CLDialog::KeepInside(QRect(-20, -30, 100, 50), QRect(0, 0, 800, 600)), QRect(0, 0, 100, 50));
    EXPECT_EQ(CLDialog::KeepInside(QRect(750, 580, 100, 50), QRect(0, 0, 800, 600)), QRect(700, 550, 100, 50));
    // Larger than the area: the right and bottom edges win.
    EXPECT_EQ(CLDialog::KeepInside(QRect(-5, -5, 900, 700), QRect(0, 0, 800, 600)), QRect(-100, -100, 900, 700));
}

TEST(LDialog, TemplateInItsLanguageElseEnglish)
{
    CLDialog::RegisterTemplate(3001, 1033, [](CLDialog& dialog) {
        dialog.setWindowTitle("english");
        new CSkinableButton(&dialog, 1);
    });
    CLDialog::RegisterTemplate(3002, 1033, [](CLDialog& dialog) { dialog.setWindowTitle("english"); });
    CLDialog::RegisterTemplate(3002, 1049, [](CLDialog& dialog) { dialog.setWindowTitle("russian"); });
    EXPECT_EQ(CLDialog::TemplateLanguage(3001, 1049), 1033);
    EXPECT_EQ(CLDialog::TemplateLanguage(3002, 1049), 1049);
    EXPECT_EQ(CLDialog::TemplateLanguage(3999, 1049), 0);

    CLDialog fallback(3001, nullptr, 1049);
    fallback.Create();
    EXPECT_EQ(fallback.windowTitle(), "english");
    EXPECT_EQ(fallback.findChildren<CSkinableButton*>().size(), 1);
    CLDialog own(3002, nullptr, 1049);
    own.Create();
    EXPECT_EQ(own.windowTitle(), "russian");
    // Created once only, also when shown afterwards.
    own.show();
    EXPECT_EQ(fallback.findChildren<CSkinableButton*>().size(), 1);
    CLDialog none(3999);
    none.Create();
    EXPECT_TRUE(none.children().isEmpty() || none.findChildren<QAbstractButton*>().isEmpty());
}

TEST(LDialog, ClickSoundsFollowTheControlKind)
{
    RecordingPlayer player;
    CLDialog dialog(1005);
    auto* button = new CSkinableButton(&dialog, 1);
    auto* box = new CSkinableCheckBox(&dialog, 2);
    auto* radio = new CSkinableRadio(&dialog, 3);
    auto* plain = new QPushButton(&dialog);
    dialog.Create();
    button->click();
    box->click();
    radio->click();
    plain->click();
    EXPECT_EQ(player.played, (QList<int>{245, 246, 247, 245}));

    // A control added later is heard as soon as it is polished.
    auto* late = new CSkinableRadio(&dialog, 4);
    dialog.show();
    late->ensurePolished();
    late->click();
    EXPECT_EQ(player.played.last(), 247);

    CLDialog::SetSoundOn(false);
    button->click();
    CLDialog::SetSoundOn(true);
    EXPECT_EQ(player.played.size(), 5);

    QCheckBox tristate;
    tristate.setTristate(true);
    QRadioButton manual;
    manual.setAutoExclusive(false);
    EXPECT_EQ(CLDialog::ClickSoundFor(&tristate), 245);
    EXPECT_EQ(CLDialog::ClickSoundFor(&manual), 245);
}

TEST(LDialog, ToolTipsComeFromTheStringTable)
{
    EXPECT_TRUE(CLDialog::ToolTipText(0).isEmpty());
    EXPECT_TRUE(CLDialog::ToolTipText(987654).isEmpty());
    EXPECT_EQ(CLDialog::ToolTipText(IDS_OK), GP_LoadString(IDS_OK));
    ASSERT_GT(GP_LoadString(IDS_IMAGE_SIZE_ERROR).size(), 80);
    EXPECT_EQ(CLDialog::ToolTipText(IDS_IMAGE_SIZE_ERROR), GP_LoadString(IDS_IMAGE_SIZE_ERROR).left(80));

    CLDialog dialog(1005);
    dialog.resize(200, 100);
    auto* button = new CSkinableButton(&dialog, IDS_CANCEL);
    button->setGeometry(10, 10, 80, 30);
    auto* unnumbered = new CSkinableButton(&dialog, 0);
    unnumbered->setGeometry(100, 10, 80, 30);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QHelpEvent request(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &request);
    EXPECT_EQ(QToolTip::text(), GP_LoadString(IDS_CANCEL));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QHelpEvent nothing(QEvent::ToolTip, QPoint(5, 5), unnumbered->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(unnumbered, &nothing);
    EXPECT_FALSE(QToolTip::isVisible());
}
