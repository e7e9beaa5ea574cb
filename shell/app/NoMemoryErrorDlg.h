#pragma once

#include "shell/app/PlainDialog.h"

// "Application error" after memory ran out (template 556); shown instead of a crash dump.
class CNoMemoryErrorDlg : public CPlainDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 556;
    static constexpr int kOkButton = 1;

    explicit CNoMemoryErrorDlg(QWidget* parent = nullptr);
};
