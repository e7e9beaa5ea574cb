// The whole game on an X server of its own, its library screen played with real pointer and key
// events: a pressed puzzle gets its popup menu; the popup's Delete asks first and only a Yes
// removes the puzzle with its cache; the popup's Send packs the puzzle with the real installer
// compiler while the wait dialog is up, and the save dialog puts the package where the player
// says. The question and the wait dialog wear the game's skin. Places on the screen come from the
// library screen's own layout rules.
#include "engine/GP_Folders.h"
#include "shell/dialogs/CaptionPanel.h"
#include "tests/shell/XGame.h"
#include "tests/support/FriendPackageReader.h"
#include "tests/support/Waits.h"
#include "view/model/FieldGeometry.h"
#include "view/model/LibraryScreenModel.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

namespace {
const QString kVelmora = QStringLiteral("Velmora");
const QString kCreating = QStringLiteral("Creating...");
const QString kSaveAs = QStringLiteral("Save As");
constexpr int kPopupPlay = 0;
constexpr int kPopupSend = 1;
constexpr int kPopupDelete = 3;
constexpr int kWindowPatience = 8000;

// The library as the game lists it and its screen's rules, pressed as the game is pressed, so
// that the test knows where each card and the popup stand.
class LibraryScreenMirror
{
public:
    explicit LibraryScreenMirror(const QRect& screen)
        : m_screen(screen)
        , m_model(m_library)
    {
        m_library.List();
        m_model.SetLayout(ScreenLayout(FieldGeometry::LayoutRect(screen), CCaptionPanel::kHeight));
    }

    QPoint Card(const QString& name) const
    {
        const std::vector<GP_LibraryItem> items = m_library.Items();
        for (size_t index = 0; index < items.size(); ++index) {
            if (items[index].puzzle->m_strTitle == name)
                return m_model.CardRect(int(index)).center();
        }
        ADD_FAILURE() << "no card for " << qPrintable(name);
        return {};
    }
    // A place of the library area that holds no card.
    QPoint Empty() const
    {
        const QRect area = m_model.Layout().LibraryArea();
        return {area.left() + 4, area.bottom() - 4};
    }
    void Press(const QPoint& point)
    {
        m_model.Press(point, false);
        m_model.Release();
    }
    QRect PopupButton(int place) const { return m_model.Layout().Popup(m_model.CurrentCard(), m_screen)[size_t(place)]; }
    // The selected puzzle left the list (only the list: the files are the game's to remove).
    void TakeOutSelected()
    {
        m_library.Update([](std::vector<GP_LibraryItem>& items) {
            std::erase_if(items, [](const GP_LibraryItem& item) { return item.selected; });
        });
        m_model.Refresh();
    }

private:
    QRect m_screen;
    CPuzzleLibrary m_library;
    CLibraryScreenModel m_model;
};

// Whether the screen within the rectangle differs from what it showed before.
bool ChangedWithin(const QImage& before, const QImage& now, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); y += 3) {
        for (int x = rect.left(); x <= rect.right(); x += 3) {
            if (before.pixel(x, y) != now.pixel(x, y))
                return true;
        }
    }
    return false;
}

// What the screen shows within the rectangle once it has stopped changing there; a null image
// when it never settled.
QImage SettledWithin(const QString& display, const TestFolder& folder, const QRect& rect)
{
    QImage last = ScreenShot(display, folder, QStringLiteral("settling.png"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWindowPatience) {
        QThread::msleep(200);
        QImage now = ScreenShot(display, folder, QStringLiteral("settling.png"));
        if (!ChangedWithin(last, now, rect))
            return now;
        last = std::move(now);
    }
    return {};
}

// Presses the puzzle's card and waits until the popup menu stands beside it. The popup comes
// after the release: what the screen shows while the button is down is the look without it.
::testing::AssertionResult OpenPopup(const QString& display, const TestFolder& folder, LibraryScreenMirror& library,
                                     const QString& name)
{
    const QPoint card = library.Card(name);
    const QString x = QStringLiteral("xdotool");
    const QStringList press{QStringLiteral("mousemove"), QString::number(card.x()), QString::number(card.y()),
                            QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("mousedown"), QStringLiteral("1")};
    if (!RunOnDisplay(display, x, press))
        return ::testing::AssertionFailure() << "xdotool could not press";
    library.Press(card);
    const QRect popup = library.PopupButton(kPopupPlay).united(library.PopupButton(kPopupDelete));
    const QImage pressed = SettledWithin(display, folder, popup);
    if (!RunOnDisplay(display, x, {QStringLiteral("mouseup"), QStringLiteral("1")}))
        return ::testing::AssertionFailure() << "xdotool could not release";
    if (pressed.isNull())
        return ::testing::AssertionFailure() << "the screen never settled after the press on " << qPrintable(name);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWindowPatience) {
        if (ChangedWithin(pressed, ScreenShot(display, folder, QStringLiteral("popup.png")), popup))
            return ::testing::AssertionSuccess();
        QThread::msleep(150);
    }
    return ::testing::AssertionFailure() << "no popup menu beside " << qPrintable(name);
}

// Whether the window wears the game's skin: the Nox skin is dark, the plain look of a dialog
// without it light.
::testing::AssertionResult WearsTheSkin(const QString& display, const TestFolder& folder, const QString& window)
{
    const QRect rect = WindowRect(display, window);
    const QImage screen = ScreenShot(display, folder, QStringLiteral("dialog.png"));
    if (rect.isEmpty() || !screen.rect().contains(rect))
        return ::testing::AssertionFailure() << "the window is not on the screen";
    qint64 lightness = 0;
    qint64 samples = 0;
    for (int y = rect.top(); y <= rect.bottom(); y += 2) {
        for (int x = rect.left(); x <= rect.right(); x += 2, ++samples)
            lightness += QColor(screen.pixel(x, y)).lightness();
    }
    if (lightness / samples >= 128)
        return ::testing::AssertionFailure() << "a plain, light window (mean lightness " << lightness / samples << ")";
    return ::testing::AssertionSuccess();
}

// Waits until the session log holds the line that many times.
bool WaitForLogCount(const TestFolder& folder, const QByteArray& line, int count)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWindowPatience) {
        if (folder.Read(QStringLiteral("Exception.log")).count(line) >= count)
            return true;
        QThread::msleep(100);
    }
    return false;
}

} // namespace

TEST(LibraryPopupGame, DeleteRemovesAPuzzleOnlyOnYesAndSendPacksOneForAFriend)
{
    VELMORA_SKIP_WITHOUT_X_TOOLS();
    const QString makensis = QStandardPaths::findExecutable(QStringLiteral("makensis"));
    ASSERT_FALSE(makensis.isEmpty()) << "makensis is missing: install Debian's nsis package (./dev.sh installs it)";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
        << "7z is missing: install Debian's p7zip-full package (./dev.sh installs it)";
    TestFolder folder;
    for (const char* name : {"Harbour", "Meadow", "Orchard"})
        LayOutPuzzle(folder, folder.File(QStringLiteral("Puzzles/simple/%1.pzl").arg(QLatin1String(name))));
    // The game's installer script, and a compiler in DATA (the game prefers it to the one on the
    // PATH) that holds Debian's makensis back until the test has seen the wait dialog.
    CopyFolder(QStringLiteral(VELMORA_GAME_DIR "/DATA"), folder.File(QStringLiteral("DATA")));
    const QString go = folder.File(QStringLiteral("go"));
    const QString held = folder.Write(QStringLiteral("DATA/makensis"),
                                      QStringLiteral("#!/bin/sh\nfor i in $(seq 100); do [ -e '%1' ] && break; sleep 0.1; done\n"
                                                     "exec '%2' \"$@\"\n")
                                          .arg(go, makensis)
                                          .toUtf8());
    QFile::setPermissions(held, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The package is built in a temporary folder of the test's own; the save dialog starts in the
    // player's documents.
    QProcessEnvironment env;
    QDir().mkpath(folder.File(QStringLiteral("tmp")));
    QDir().mkpath(folder.File(QStringLiteral("home/Documents")));
    env.insert(QStringLiteral("TMPDIR"), folder.File(QStringLiteral("tmp")));
    env.insert(QStringLiteral("HOME"), folder.File(QStringLiteral("home")));

    XServer server;
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start";
    const QString& display = server.Display();
    QProcess game;
    StartGame(game, folder, server, {}, env);
    ASSERT_TRUE(WaitForLog(folder, "ChangeGameMode\n", 30000)) << "the game never showed its library";
    QThread::msleep(1000);
    LibraryScreenMirror library(DisplayRect(display));
    // The library's help picture goes with a click.
    ASSERT_TRUE(ClickAt(display, library.Empty()));
    QThread::msleep(800);
    const QStringList gameWindows = ShownWindows(display, kVelmora);

    // Delete: No keeps the puzzle, Yes removes it with its cache. Yes has the keyboard first
    // (Return); Tab moves on to No.
    const QString orchard = folder.File(QStringLiteral("Puzzles/simple/Orchard.pzl"));
    const QString orchardCache = folder.File(QStringLiteral("Puzzles/Cash/Orchard.cash"));
    ASSERT_TRUE(OpenPopup(display, folder, library, QStringLiteral("Orchard")));
    const struct Answer
    {
        QStringList keys;
        bool removed;
    } answers[] = {{{QStringLiteral("Tab"), QStringLiteral("space")}, false}, {{QStringLiteral("Return")}, true}};
    int deletes = 0;
    for (const Answer& answer : answers) {
        const QByteArray mark = answer.keys.join(QLatin1Char(' ')).toLatin1();
        ASSERT_TRUE(ClickAt(display, library.PopupButton(kPopupDelete).center()));
        ++deletes;
        ASSERT_TRUE(WaitForLogCount(folder, "ClickPopupDelete\n", deletes) && WaitForLogCount(folder, "OnMainRemove\n", deletes))
            << "the popup's Delete did not reach the library";
        const QString question = WaitForNewWindow(display, kVelmora, gameWindows, kWindowPatience);
        ASSERT_FALSE(question.isEmpty()) << "no question before deleting";
        EXPECT_TRUE(WearsTheSkin(display, folder, question));
        ASSERT_TRUE(TypeInto(display, question, answer.keys));
        ASSERT_TRUE(WaitForWindowGone(display, question, kVelmora, kWindowPatience)) << mark.constData() << ": the question stayed";
        QThread::msleep(500);
        EXPECT_EQ(QFile::exists(orchard), !answer.removed) << mark.constData();
        EXPECT_EQ(QFile::exists(orchardCache), !answer.removed) << mark.constData();
    }
    library.TakeOutSelected();
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("Puzzles/simple/Harbour.pzl")))) << "Yes removed another puzzle too";

    // Send: the wait dialog while the compiler runs, then the save dialog. The player first
    // changes their mind there, then takes the name offered in the documents folder.
    const QString package = folder.File(QStringLiteral("home/Documents/Puzzles.exe"));
    const struct Save
    {
        const char* key;
        bool saved;
    } saves[] = {{"Escape", false}, {"Return", true}};
    int sends = 0;
    for (const Save& row : saves) {
        QFile::remove(go);
        // The popup goes while the package is made: it is brought up again for every send.
        ASSERT_TRUE(OpenPopup(display, folder, library, QStringLiteral("Harbour")));
        ASSERT_TRUE(ClickAt(display, library.PopupButton(kPopupSend).center()));
        ++sends;
        ASSERT_TRUE(WaitForLogCount(folder, "ClickPopupSend\n", sends) && WaitForLogCount(folder, "OnMainSend\n", sends))
            << "the popup's Send did not reach the library";
        const QString wait = WaitForNewWindow(display, kCreating, {}, kWindowPatience);
        EXPECT_FALSE(wait.isEmpty()) << "no wait dialog while the compiler runs";
        EXPECT_TRUE(wait.isEmpty() || WearsTheSkin(display, folder, wait));
        folder.Write(QStringLiteral("go"), "");
        EXPECT_TRUE(WaitForWindowGone(display, wait, kCreating, 60000)) << "the wait dialog outlived the compiler";
        const QString save = WaitForNewWindow(display, kSaveAs, {}, kWindowPatience);
        ASSERT_FALSE(save.isEmpty()) << "no save dialog:\n" << folder.Read(QStringLiteral("Exception.log")).toStdString();
        ASSERT_TRUE(TypeInto(display, save, {QLatin1String(row.key)}));
        EXPECT_TRUE(WaitForWindowGone(display, save, kSaveAs, kWindowPatience)) << row.key;
        if (row.saved) {
            EXPECT_TRUE(Eventually([&] { return QFile::exists(package); }, "the package in the documents folder"));
        } else {
            QThread::msleep(500);
            EXPECT_FALSE(QFile::exists(package)) << "saved though the player cancelled";
        }
        // Nothing of the send is left behind: not the copies, nor the package where it was built.
        const QDir temp(folder.File(QStringLiteral("TEMP")));
        const QDir tmp(folder.File(QStringLiteral("tmp")));
        const QStringList built{QStringLiteral("Puzzles.exe"), QStringLiteral("velmora-send-*")};
        EXPECT_TRUE(Eventually([&] { return temp.entryList({QStringLiteral("*.pzl")}).isEmpty() && tmp.entryList(built).isEmpty(); },
                               row.saved ? "a clean folder after saving" : "a clean folder after cancelling"));
    }

    game.terminate();
    if (!game.waitForFinished(15000))
        game.kill();
    EXPECT_TRUE(folder.Read(QStringLiteral("Exception.log")).contains("END SESSION"));

    EXPECT_EQ(UnpackedPuzzleFiles(package, folder.File(QStringLiteral("unpacked"))),
              QStringList{QStringLiteral("Puzzles/simple/Harbour.pzl")});
    CGP_Puzzle sent;
    ASSERT_TRUE(sent.OpenFile(folder.File(QStringLiteral("unpacked/Puzzles/simple/Harbour.pzl"))));
    EXPECT_TRUE(sent.m_bFresh) << "the friend gets the sender's progress";
    EXPECT_EQ(sent.m_nSolvingTime, 0);
}
