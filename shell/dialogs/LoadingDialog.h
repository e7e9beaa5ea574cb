#pragma once

#include "skin/LDialog.h"

class QLabel;
class QProgressBar;

// The progress dialog of downloads and of long loads and saves (template 138): a message and a
// bar that the caller steps. It wears the current skin, else the plain look; it is created with
// its controls at once, so the caller may set the range before showing it.
class CLoadingDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 138;
    static constexpr int kProgressControl = 1038;
    static constexpr int kTextControl = 1165;

    // The message is the game-update text (557) as it stands when messageId is 557 or 0;
    // otherwise string messageId with its "%s" filled with the argument.
    CLoadingDialog(int messageId, const QString& argument, QWidget* parent);

    static QString MessageText(int messageId, const QString& argument);

    // Range 0..count, step 1, position 0.
    void SetRange(int count);
    // Advances by one step; past the end the bar starts over from the beginning, as the
    // system's progress bar does.
    void Step();

    int Position() const;
    int Maximum() const;
    QString Text() const;

protected:
    void OnInitDialog() override;

private:
    QString m_message;
    QLabel* m_pText = nullptr;
    QProgressBar* m_pProgress = nullptr;
    int m_step = 1;
};

// "%s" in a text filled with an argument. Only the first "%s" is replaced; nothing else in the
// text or the argument is read as a format.
QString GP_FillString(const QString& text, const QString& argument);
