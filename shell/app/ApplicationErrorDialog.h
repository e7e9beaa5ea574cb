#pragma once

#include "shell/app/PlainDialog.h"

// "Application error" after a crash (template 177): asks whether a bug report is to be composed.
// YES ends with 1, NO with 0. Shows the mouse cursor and centres itself on the screen.
class CApplicationErrorDialog : public CPlainDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 177;
    static constexpr int kYesButton = 1;
    static constexpr int kNoButton = 2;
    static constexpr int kDetailsControl = 1112;

    explicit CApplicationErrorDialog(QWidget* parent = nullptr);

    // Top-left that centres a dialog of this size on a screen of that size (rounding toward zero).
    static QPoint CentredOn(const QSize& screen, const QSize& dialog);

protected:
    void OnInitDialog() override;
};
