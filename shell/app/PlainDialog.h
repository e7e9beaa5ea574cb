#pragma once

#include "shell/app/TemplateDialog.h"

#include <QList>

class QLabel;
class QPushButton;

// Plain dialogs that must work without a skin share this look: the program icon, an 8-point
// "MS Sans Serif" font (or the closest the system has) and texts laid out top to bottom.
class CPlainDialog : public CTemplateDialog
{
    Q_OBJECT

public:
    CPlainDialog(int templateId, const QString& caption, QWidget* parent);

    static constexpr int kFontPoints = 8;

protected:
    QLabel* AddText(const QString& text);
    QPushButton* AddButton(const QString& label, int controlId, int result, bool isDefault);
    // Puts the buttons in a row under the texts.
    void FinishLayout();

private:
    QList<QPushButton*> m_buttons;
};
