#include "shell/app/ErrorScreenDialog.h"

CErrorScreenDialog::CErrorScreenDialog(QWidget* parent)
    : CPlainDialog(kTemplateId, QStringLiteral("Insufficient screen resolution"), parent)
{
    AddText(QStringLiteral("800x600 16bit (High Color) or higher\nresolution is required for the game to start."));
    AddButton(QStringLiteral("Exit"), kExitButton, kExitButton, true);
    FinishLayout();
}
