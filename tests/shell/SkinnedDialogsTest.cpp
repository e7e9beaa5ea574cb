#include "resources/StringTable.h"
#include "shell/dialogs/IconStatic.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/WaitDialog.h"
#include "skin/SkinableBase.h"
#include "tests/shell/MessageBoxTestSupport.h"
#include "tests/skin/SkinWindowTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

// A message box frame with a caption strip and a border, wider than the box asks for, so that
// its controls must find the client area and the right edge the skin gives them.
const QByteArray kFrames = "<Object Name=\"Dialog\" ID1=\"189\" MinWidth=\"600\" X2=\"0,rb\" Y2=\"0,rb\">"
                           + Fill("face.png") + "<Client Attributes=\"Client\" X1=\"10\" Y1=\"40\" X2=\"10,rb\" Y2=\"10,rb\">"
                           + Fill("client.png") + "</Client></Object>"
                           "<Object Name=\"Dialog\" ID1=\"138\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png")
                           + "<Client Attributes=\"Client\" X1=\"6\" Y1=\"6\" X2=\"6,rb\" Y2=\"6,rb\"/></Object>"
                           "<Object Name=\"Button\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png") + "</Object>"
                           "<Object Name=\"Static\" X2=\"0,rb\" Y2=\"0,rb\"><Text X2=\"0,rb\" Y2=\"0,rb\"/></Object>"
                           "<Object Name=\"ProgressBar\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("face.png")
                           + "<Group Attributes=\"Meter\" X2=\"0,rb\" Y2=\"0,rb\">" + Fill("pushed.png") + "</Group></Object>";

// Icons by index: exclamation, information, question, error; the last is not a picture.
const QByteArray kIcons = "<Icons Name=\"Icons\" X2=\"48\" Y2=\"48\">" + Fill("face.png") + Fill("pushed.png")
    + Fill("focused.png") + "<Text X2=\"0,rb\" Y2=\"0,rb\"/></Icons>";

// Where the visible buttons stand, left to right, as distances of their right edges from the
// right edge of the client area; every button must lie inside the client area.
QList<int> RowFromTheRight(const CMessageBoxDialog& box)
{
    const QRect client = box.contentsRect();
    QList<int> row;
    for (int id : {CMessageBoxDialog::kFirstButton, CMessageBoxDialog::kSecondButton, CMessageBoxDialog::kThirdButton}) {
        const QPushButton* button = box.Button(id);
        if (!button->isVisibleTo(&box))
            continue;
        EXPECT_TRUE(client.contains(button->geometry())) << id;
        row << client.x() + client.width() - (button->x() + button->width());
    }
    return row;
}

void CheckButtonRows(bool skinned)
{
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    auto one = Box("OK", "", "");
    auto three = Box("Yes", "No", "Update");
    const QList<int> single = RowFromTheRight(*one);
    const QList<int> row = RowFromTheRight(*three);
    ASSERT_EQ(single.size(), 1);
    ASSERT_EQ(row.size(), 3);
    // One button stands where the last of three stands: at the right edge.
    EXPECT_EQ(single[0], row[2]);
    EXPECT_LT(row[2], 20);
    EXPECT_GT(row[0], row[1]);
    EXPECT_GT(row[1], row[2]);
    EXPECT_EQ(one->ButtonPlace(CMessageBoxDialog::kFirstButton), 3);
    EXPECT_EQ(three->Button(CMessageBoxDialog::kThirdButton)->text(), QStringLiteral("Update"));
    // The message lies in the client area above the buttons.
    const QWidget* text = three->Control(CMessageBoxDialog::kTextControl);
    EXPECT_TRUE(three->contentsRect().contains(text->geometry()));
    EXPECT_LT(text->geometry().bottom(), three->Button(1)->geometry().top());

    const auto* button = dynamic_cast<const WINSKIN::SkinableBase*>(one->Button(CMessageBoxDialog::kFirstButton));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetObject() != nullptr, skinned);
    EXPECT_EQ(bool(one->windowFlags() & Qt::FramelessWindowHint), skinned);
}

QColor IconCentre(unsigned flags)
{
    auto box = Box("OK", "", "", flags);
    const auto* icon = box->ControlAs<CIconStatic>(CMessageBoxDialog::kIconControl);
    if (!icon || icon->Icon().isNull() || !icon->isVisibleTo(box.get()))
        return QColor();
    const QImage picture = icon->Icon().toImage();
    return QColor(picture.pixel(picture.width() / 2, picture.height() / 2));
}

} // namespace

TEST(SkinnedDialogs, MessageBoxButtonsEndAtTheRightEdgeWithAndWithoutASkin)
{
    CheckButtonRows(false);
    CurrentTestSkin skin(kFrames);
    CheckButtonRows(true);

    // The skin's frame comes around the box's own layout: a caption strip above, a border round.
    auto box = Box("OK", "", "");
    EXPECT_EQ(box->contentsMargins(), QMargins(10, 40, 10, 10));
    EXPECT_GE(box->width(), 600);
    EXPECT_GE(box->Control(CMessageBoxDialog::kTextControl)->y(), 40);
}

TEST(SkinnedDialogs, MessageBoxIconByFlagsOnlyFromAPictureOfTheSkinsIcons)
{
    {
        // A skin without "Icons": no icon for any flags.
        CurrentTestSkin skin(kFrames);
        EXPECT_FALSE(IconCentre(MB_ICONQUESTION).isValid());
        EXPECT_FALSE(IconCentre(MB_OK).isValid());
    }
    CurrentTestSkin skin(kFrames + kIcons);
    EXPECT_EQ(IconCentre(MB_ICONEXCLAMATION | MB_OKCANCEL).rgb(), SkinColours::Face.rgb());
    EXPECT_EQ(IconCentre(MB_OK).rgb(), SkinColours::Face.rgb());
    EXPECT_EQ(IconCentre(MB_ICONINFORMATION).rgb(), SkinColours::Pushed.rgb());
    EXPECT_EQ(IconCentre(MB_ICONQUESTION | MB_YESNO).rgb(), SkinColours::Focused.rgb());
    // Index 3 is a text, not a picture: the error box shows none.
    EXPECT_FALSE(IconCentre(MB_ICONERROR).isValid());

    // With an icon the message moves right of it.
    auto box = Box("OK", "", "", MB_ICONQUESTION);
    EXPECT_LT(box->Control(CMessageBoxDialog::kIconControl)->geometry().right(),
              box->Control(CMessageBoxDialog::kTextControl)->x());
}

TEST(SkinnedDialogs, LoadingAndWaitDialogsWearTheSkinAndKeepTheirWork)
{
    CurrentTestSkin skin(kFrames);
    CLoadingDialog loading(IDS_LOADING_PUZZLE, QStringLiteral("Harbour"), nullptr);
    EXPECT_EQ(loading.Text(), QStringLiteral("Loading puzzle Harbour..."));
    EXPECT_EQ(loading.ControlAs<QLabel>(CLoadingDialog::kTextControl)->text(), loading.Text());
    loading.SetRange(4);
    loading.Step();
    loading.Step();
    EXPECT_EQ(loading.Position(), 2);
    EXPECT_EQ(loading.Maximum(), 4);
    auto* bar = loading.ControlAs<QProgressBar>(CLoadingDialog::kProgressControl);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(dynamic_cast<WINSKIN::SkinableBase*>(bar)->GetObject(), nullptr);
    EXPECT_TRUE(loading.contentsRect().contains(bar->geometry()));
    // Half the range done: the meter fills the left half of the bar.
    const QImage look = Rendered(*bar);
    EXPECT_TRUE(SameColour(look.pixel(look.width() / 4, look.height() / 2), SkinColours::Pushed));
    EXPECT_TRUE(SameColour(look.pixel(look.width() * 3 / 4, look.height() / 2), SkinColours::Face));

    // A short program: the dialog closes with OK once it has ended.
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("0.2")});
    ASSERT_TRUE(sleeper.waitForStarted(5000));
    CWaitDialog wait(&sleeper, nullptr);
    QTimer::singleShot(30000, &wait, [&wait] { wait.done(-1); });
    EXPECT_EQ(wait.exec(), QDialog::Accepted);
    EXPECT_TRUE(wait.IsDone());
    EXPECT_EQ(wait.windowTitle(), QStringLiteral("Creating..."));
    EXPECT_GE(wait.Ticks(), 1);
    EXPECT_EQ(wait.Position(), wait.Ticks() % 101);
    EXPECT_NE(wait.ControlAs<QProgressBar>(CWaitDialog::kProgressControl), nullptr);
}
