#include "resources/StringTable.h"
#include "shell/app/ApplicationErrorDialog.h"
#include "shell/app/NoMemoryErrorDlg.h"
#include "shell/dialogs/IconStatic.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/WaitDialog.h"
#include "skin/SkinableBase.h"
#include "tests/shell/MessageBoxTestSupport.h"
#include "tests/skin/SkinWindowTestSupport.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <optional>
#include <set>

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

const int kButtons[] = {CMessageBoxDialog::kFirstButton, CMessageBoxDialog::kSecondButton,
                        CMessageBoxDialog::kThirdButton};

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

TEST(MessageBox, ButtonsEndAtTheRightEdgeWithAndWithoutASkin)
{
    // An empty label hides its button; the others close up to the right edge of the client area.
    const struct
    {
        const char* labels[3];
        int places[3];
    } boxes[] = {{{"OK", "", ""}, {3, 0, 0}}, {{"Yes", "No", ""}, {2, 3, 0}}, {{"Yes", "No", "Update"}, {1, 2, 3}}};
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "plain");
        std::optional<CurrentTestSkin> skin;
        if (skinned)
            skin.emplace(kFrames);
        std::set<int> lastGaps;
        for (const auto& b : boxes) {
            SCOPED_TRACE(b.labels[2]);
            auto box = Box(b.labels[0], b.labels[1], b.labels[2]);
            const QRect client = box->contentsRect();
            const QPushButton* previous = nullptr;
            for (int i = 0; i < 3; ++i) {
                const QPushButton* button = box->Button(kButtons[i]);
                EXPECT_EQ(box->ButtonPlace(kButtons[i]), b.places[i]);
                ASSERT_EQ(button->isVisibleTo(box.get()), b.places[i] != 0);
                if (!b.places[i])
                    continue;
                EXPECT_EQ(button->text(), QLatin1String(b.labels[i]));
                EXPECT_TRUE(client.contains(button->geometry()));
                if (previous)
                    EXPECT_LT(previous->geometry().right(), button->geometry().left()) << "buttons overlap";
                previous = button;
            }
            lastGaps.insert(client.right() - previous->geometry().right());
            // The message lies in the client area above the buttons.
            const QWidget* text = box->Control(CMessageBoxDialog::kTextControl);
            EXPECT_EQ(static_cast<const QLabel*>(text)->text(), QStringLiteral("Are you sure?"));
            EXPECT_TRUE(client.contains(text->geometry()));
            EXPECT_LT(text->geometry().bottom(), previous->geometry().top());
            const auto* first = dynamic_cast<const WINSKIN::SkinableBase*>(box->Button(CMessageBoxDialog::kFirstButton));
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(first->GetObject() != nullptr, skinned);
            EXPECT_EQ(bool(box->windowFlags() & Qt::FramelessWindowHint), skinned);
        }
        // However many buttons, the last stands at the same place by the right edge.
        ASSERT_EQ(lastGaps.size(), 1u);
        EXPECT_LT(*lastGaps.begin(), 20);
    }

    // The skin's frame comes around the box's own layout: a caption strip above, a border round.
    CurrentTestSkin skin(kFrames);
    auto box = Box("OK", "", "");
    EXPECT_EQ(box->contentsMargins(), QMargins(10, 40, 10, 10));
    EXPECT_GE(box->width(), 600);
}

TEST(MessageBox, AnswersByButtonAndEscape)
{
    // First button IDOK, second IDCANCEL, third its own number; Escape is IDCANCEL.
    auto box = Box("Yes", "No", "Update");
    box->Button(CMessageBoxDialog::kFirstButton)->click();
    EXPECT_EQ(box->result(), IDOK);
    box->Button(CMessageBoxDialog::kSecondButton)->click();
    EXPECT_EQ(box->result(), IDCANCEL);
    box->Button(CMessageBoxDialog::kThirdButton)->click();
    EXPECT_EQ(box->result(), 1168);
    box->reject();
    EXPECT_EQ(box->Result(), IDCANCEL);
}

TEST(MessageBox, IconByFlagsOnlyFromAPictureOfTheSkinsIcons)
{
    const std::pair<unsigned, int> indices[] = {
        {MB_ICONHAND, 3},   {MB_ICONQUESTION | MB_YESNO, 2}, {MB_ICONEXCLAMATION | MB_OKCANCEL, 0}, {MB_ICONASTERISK, 1},
        {MB_OK, 0},         {0x50, 0},                       {0x70 | MB_YESNO, 0}};
    for (const auto& [flags, index] : indices)
        EXPECT_EQ(CMessageBoxDialog::IconIndex(flags), index) << flags;

    // No skin, or a skin without "Icons": no icon for any flags.
    EXPECT_FALSE(IconCentre(MB_ICONINFORMATION).isValid());
    {
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

TEST(LoadingDialog, MessageRangeAndStep)
{
    EXPECT_EQ(CLoadingDialog::MessageText(IDS_DOWNLOADING_UPDATE, QStringLiteral("x")),
              QStringLiteral("Downloading game update..."));
    EXPECT_EQ(CLoadingDialog::MessageText(IDS_LOADING_PUZZLE, QStringLiteral("Harbour")),
              QStringLiteral("Loading puzzle Harbour..."));
    // An argument is text, never a format.
    EXPECT_EQ(CLoadingDialog::MessageText(IDS_DOWNLOADING_PUZZLE, QStringLiteral("100%s %d")),
              QStringLiteral("Downloading puzzle 100%s %d..."));

    CurrentTestSkin skin(kFrames);
    CLoadingDialog dialog(IDS_SAVING_PUZZLE, QStringLiteral("Tulips"), nullptr);
    EXPECT_EQ(dialog.Text(), QStringLiteral("Saving puzzle Tulips..."));
    EXPECT_EQ(dialog.ControlAs<QLabel>(CLoadingDialog::kTextControl)->text(), dialog.Text());
    dialog.SetRange(4);
    EXPECT_EQ(dialog.Maximum(), 4);
    EXPECT_EQ(dialog.Position(), 0);
    dialog.Step();
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 2);
    // The bar is the skinned progress control, whose meter has tests of its own.
    auto* bar = dialog.ControlAs<QProgressBar>(CLoadingDialog::kProgressControl);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(dynamic_cast<WINSKIN::SkinableBase*>(bar)->GetObject(), nullptr);
    EXPECT_TRUE(dialog.contentsRect().contains(bar->geometry()));
    EXPECT_EQ(bar->value(), 2);
    dialog.Step();
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 4);
    // Past the end the bar starts over, as the system's bar does.
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 1);
    // A new range starts from 0 again.
    dialog.SetRange(10);
    EXPECT_EQ(dialog.Position(), 0);
    EXPECT_EQ(dialog.Maximum(), 10);
    dialog.SetRange(0);
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 0);
}

TEST(WaitDialog, EndsWhenTheProcessEnds)
{
    CurrentTestSkin skin(kFrames);
    // "cat" runs until its input is closed: the test decides when the program ends.
    QProcess process;
    process.start(QStringLiteral("cat"), {});
    ASSERT_TRUE(process.waitForStarted(int(kPatience.count())));
    QWidget behind;
    behind.resize(400, 300);
    CWaitDialog dialog(&process, &behind);
    EXPECT_EQ(g_pWaitDialog, &dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Creating..."));

    // Once the bar has moved a few times with the program still running, end the program.
    int ticksWhileRunning = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ticksWhileRunning == 0 && dialog.Ticks() >= 3 && process.state() == QProcess::Running) {
            EXPECT_FALSE(dialog.IsDone());
            ticksWhileRunning = dialog.Ticks();
            process.closeWriteChannel();
        }
    });
    poll.start(10);
    // Should the dialog never notice the end, the loop ends with -1 instead of hanging.
    QTimer::singleShot(kPatience, &dialog, [&dialog] { dialog.done(-1); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(dialog.IsDone());
    EXPECT_GE(ticksWhileRunning, 3);
    EXPECT_GT(dialog.Ticks(), ticksWhileRunning);
    // The bar moved once per tick, and wears the skin.
    EXPECT_EQ(dialog.Position(), dialog.Ticks() % 101);
    auto* bar = dialog.ControlAs<QProgressBar>(CWaitDialog::kProgressControl);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(dynamic_cast<WINSKIN::SkinableBase*>(bar)->GetObject(), nullptr);
}

TEST(WaitDialog, NoProcessEndsAtTheFirstTick)
{
    CWaitDialog* dialog = new CWaitDialog(nullptr, nullptr);
    QTimer::singleShot(kPatience, dialog, [dialog] { dialog->done(-1); });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(dialog->Ticks(), 1);
    delete dialog;
    EXPECT_EQ(g_pWaitDialog, nullptr);
}

TEST(PlainDialogs, TextsButtonsAndAnswers)
{
    CNoMemoryErrorDlg noMemory;
    EXPECT_EQ(noMemory.windowTitle(), QStringLiteral("Application error"));
    QStringList texts;
    for (QLabel* label : noMemory.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("An error occured while running the game:"),
                                  QStringLiteral("Not enough memory to continue this operation.\nThe game will now exit.")}));

    CApplicationErrorDialog question;
    EXPECT_EQ(question.windowTitle(), QStringLiteral("Application error"));
    auto* details = question.ControlAs<QLineEdit>(CApplicationErrorDialog::kDetailsControl);
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isReadOnly());
    EXPECT_TRUE(details->text().isEmpty());
    auto* yes = question.ControlAs<QPushButton>(CApplicationErrorDialog::kYesButton);
    auto* no = question.ControlAs<QPushButton>(CApplicationErrorDialog::kNoButton);
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->text(), QStringLiteral("YES"));
    EXPECT_EQ(no->text(), QStringLiteral("NO"));
    EXPECT_TRUE(yes->isDefault());
    yes->click();
    EXPECT_EQ(question.result(), 1);
    no->click();
    EXPECT_EQ(question.result(), 0);

    EXPECT_EQ(CApplicationErrorDialog::CentredOn({800, 600}, {301, 151}), QPoint(249, 224));
    EXPECT_EQ(CApplicationErrorDialog::CentredOn({300, 100}, {301, 151}), QPoint(0, -25));
}
