#include "resources/StringTable.h"
#include "shell/app/ApplicationErrorDialog.h"
#include "shell/dialogs/LoadingDialog.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/app/NoMemoryErrorDlg.h"
#include "shell/dialogs/WaitDialog.h"
#include "skin/Skin.h"
#include "tests/shell/MessageBoxTestSupport.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace {
int RightEdge(const CMessageBoxDialog& box, int control)
{
    return box.Button(control)->geometry().right();
}

} // namespace

TEST(MessageBox, ButtonsAlwaysEndAtTheRightEdge)
{
    auto one = Box("OK", "", "");
    EXPECT_EQ(one->ButtonPlace(CMessageBoxDialog::kFirstButton), 3);
    EXPECT_EQ(one->ButtonPlace(CMessageBoxDialog::kSecondButton), 0);
    EXPECT_EQ(one->ButtonPlace(CMessageBoxDialog::kThirdButton), 0);
    EXPECT_FALSE(one->Button(CMessageBoxDialog::kSecondButton)->isVisibleTo(one.get()));
    EXPECT_FALSE(one->Button(CMessageBoxDialog::kThirdButton)->isVisibleTo(one.get()));
    EXPECT_EQ(one->Button(CMessageBoxDialog::kFirstButton)->text(), QStringLiteral("OK"));

    auto two = Box("Yes", "No", "", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(two->ButtonPlace(CMessageBoxDialog::kFirstButton), 2);
    EXPECT_EQ(two->ButtonPlace(CMessageBoxDialog::kSecondButton), 3);
    EXPECT_EQ(two->Button(CMessageBoxDialog::kSecondButton)->text(), QStringLiteral("No"));

    auto three = Box("Yes", "No", "Update");
    EXPECT_EQ(three->ButtonPlace(CMessageBoxDialog::kFirstButton), 1);
    EXPECT_EQ(three->ButtonPlace(CMessageBoxDialog::kSecondButton), 2);
    EXPECT_EQ(three->ButtonPlace(CMessageBoxDialog::kThirdButton), 3);
    EXPECT_TRUE(three->Button(CMessageBoxDialog::kThirdButton)->isVisibleTo(three.get()));

    // The last button sits at the same right edge whatever the count, and buttons never overlap.
    EXPECT_EQ(RightEdge(*one, 1), RightEdge(*two, 2));
    EXPECT_EQ(RightEdge(*two, 2), RightEdge(*three, 1168));
    EXPECT_LT(RightEdge(*three, 1), three->Button(2)->geometry().left());
    EXPECT_LT(RightEdge(*three, 2), three->Button(1168)->geometry().left());
    EXPECT_LE(RightEdge(*three, 1168), three->width() - 1);
    EXPECT_GE(three->Button(1)->geometry().left(), 0);
    // The text lies above the buttons.
    const QWidget* text = three->Control(CMessageBoxDialog::kTextControl);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(static_cast<const QLabel*>(text)->text(), QStringLiteral("Are you sure?"));
    EXPECT_LT(text->geometry().bottom(), three->Button(1)->geometry().top());
}

TEST(MessageBox, AnswersAndIcons)
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

    EXPECT_EQ(CMessageBoxDialog::IconIndex(MB_ICONHAND), 3);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(MB_ICONQUESTION | MB_YESNO), 2);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(MB_ICONEXCLAMATION | MB_OKCANCEL), 0);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(MB_ICONASTERISK), 1);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(MB_OK), 0);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(0x50), 0);
    EXPECT_EQ(CMessageBoxDialog::IconIndex(0x70 | MB_YESNO), 0);

    // Without a skin there is no icon and the text takes its room; with one, the skin's picture
    // for the index shows.
    auto plain = Box("OK", "", "", MB_ICONINFORMATION);
    EXPECT_FALSE(plain->Control(CMessageBoxDialog::kIconControl)->isVisibleTo(plain.get()));
    int askedIndex = -1;
    CMessageBoxDialog::SetIconSource([&askedIndex](int index) {
        askedIndex = index;
        QPixmap picture(32, 32);
        picture.fill(Qt::red);
        return picture;
    });
    auto withIcon = Box("OK", "", "", MB_ICONINFORMATION);
    CMessageBoxDialog::SetIconSource({});
    EXPECT_EQ(askedIndex, 1);
    const QWidget* icon = withIcon->Control(CMessageBoxDialog::kIconControl);
    EXPECT_TRUE(icon->isVisibleTo(withIcon.get()));
    EXPECT_LT(icon->geometry().right(), withIcon->Control(CMessageBoxDialog::kTextControl)->geometry().left());
}

TEST(MessageBox, IconComesFromTheSkinsIconsByIndex)
{
    WINSKIN::Skin skin;
    ASSERT_TRUE(skin.Load(SourceFile(QStringLiteral("resources/game/SKINS Nox/Advanced.skn"))));
    WINSKIN::Skin* previous = WINSKIN::Skin::Current();
    WINSKIN::Skin::SetCurrent(&skin);
    auto question = Box("Yes", "No", "", MB_YESNO | MB_ICONQUESTION);
    auto error = Box("OK", "", "", MB_ICONERROR);
    auto none = Box("OK", "", "", MB_OK);
    WINSKIN::Skin::SetCurrent(previous);

    const auto picture = [](const CMessageBoxDialog& box) {
        const QLabel* icon = box.ControlAs<QLabel>(CMessageBoxDialog::kIconControl);
        return icon->isVisibleTo(&box) ? icon->pixmap().toImage() : QImage();
    };
    const QImage questionIcon = picture(*question);
    const QImage errorIcon = picture(*error);
    const QImage exclamationIcon = picture(*none);  // no icon bits: index 0, the exclamation
    ASSERT_FALSE(questionIcon.isNull());
    ASSERT_FALSE(errorIcon.isNull());
    ASSERT_FALSE(exclamationIcon.isNull());
    EXPECT_NE(questionIcon, errorIcon);
    EXPECT_NE(questionIcon, exclamationIcon);
    // Something was drawn: not a fully transparent square.
    bool opaque = false;
    for (int y = 0; y < questionIcon.height() && !opaque; ++y)
        for (int x = 0; x < questionIcon.width() && !opaque; ++x)
            opaque = qAlpha(questionIcon.pixel(x, y)) > 200;
    EXPECT_TRUE(opaque);
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

    CLoadingDialog dialog(IDS_SAVING_PUZZLE, QStringLiteral("Tulips"), nullptr);
    EXPECT_EQ(dialog.Text(), QStringLiteral("Saving puzzle Tulips..."));
    dialog.SetRange(3);
    EXPECT_EQ(dialog.Maximum(), 3);
    EXPECT_EQ(dialog.Position(), 0);
    dialog.Step();
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 2);
    dialog.Step();
    EXPECT_EQ(dialog.Position(), 3);
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
    // "cat" runs until its input is closed: the test decides when the program ends.
    QProcess process;
    process.start(QStringLiteral("cat"), {});
    ASSERT_TRUE(process.waitForStarted(5000));
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
    // A watchdog ends the loop should the dialog never notice the end.
    QTimer::singleShot(60000, &dialog, [&dialog] { dialog.done(-1); });
    const int result = dialog.exec();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(dialog.IsDone());
    EXPECT_GE(ticksWhileRunning, 3);
    EXPECT_GT(dialog.Ticks(), ticksWhileRunning);
    // The bar moved once per tick.
    EXPECT_EQ(dialog.Position(), dialog.Ticks() % 101);
}

TEST(WaitDialog, NoProcessEndsAtTheFirstTick)
{
    CWaitDialog* dialog = new CWaitDialog(nullptr, nullptr);
    QTimer::singleShot(5000, dialog, [dialog] { dialog->done(-1); });
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
