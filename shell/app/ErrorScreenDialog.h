#pragma once

#include "shell/app/PlainDialog.h"

// "Insufficient screen resolution" (template 219): the screen is too small for the game.
class CErrorScreenDialog : public CPlainDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 219;
    static constexpr int kExitButton = 2;

    explicit CErrorScreenDialog(QWidget* parent = nullptr);
};
