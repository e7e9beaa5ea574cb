#include "shell/app/NoMemoryErrorDlg.h"

CNoMemoryErrorDlg::CNoMemoryErrorDlg(QWidget* parent)
    : CPlainDialog(kTemplateId, QStringLiteral("Application error"), parent)
{
    AddText(QStringLiteral("An error occured while running the game:"));
    AddText(QStringLiteral("Not enough memory to continue this operation.\nThe game will now exit."));
    AddButton(QStringLiteral("OK"), kOkButton, kOkButton, true);
    FinishLayout();
}
