#include "shell/app/ApplicationErrorDialog.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>

CApplicationErrorDialog::CApplicationErrorDialog(QWidget* parent)
    : CPlainDialog(kTemplateId, QStringLiteral("Application error"), parent)
{
    AddText(QStringLiteral("An error occured while running the game:"));
    auto* details = new QLineEdit(this);
    SetControlId(details, kDetailsControl);
    details->setReadOnly(true);
    layout()->addWidget(details);
    AddText(QStringLiteral("Would you like a bug report to be composed and sent to the developer of the game?"));
    AddButton(QStringLiteral("YES"), kYesButton, 1, true);
    AddButton(QStringLiteral("NO"), kNoButton, 0, false);
    FinishLayout();
}

QPoint CApplicationErrorDialog::CentredOn(const QSize& screen, const QSize& dialog)
{
    return {(screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 2};
}

void CApplicationErrorDialog::OnInitDialog()
{
    // The game may have hidden or replaced the cursor; the player must see it to answer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    unsetCursor();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().topLeft() + CentredOn(screen->geometry().size(), size()));
}
