#pragma once

#include "skin/LDialog.h"

#include <QPixmap>

#include <functional>

class CIconStatic;
class CSkinableStatic;
class QPushButton;

// The message-box flags and answers the game's code passes around (the Windows values).
enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNO = 0x04,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_ICONMASK = 0xF0,
};
enum : int { IDOK = 1, IDCANCEL = 2 };

// The game's message box (template 189): a text, a caption and up to three buttons whose labels
// the caller chooses; the buttons always end at the right edge. Control 1 answers IDOK, control 2
// IDCANCEL and control 1168 its own number. It wears the current skin and plays the click
// sounds; without a skin it is a plain dialog. Shown modally for questions and notices, and
// modelessly as the pause box.
class CMessageBoxDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 189;
    static constexpr int kIconControl = 1161;
    static constexpr int kTextControl = 1160;
    static constexpr int kFirstButton = 1;
    static constexpr int kSecondButton = 2;
    static constexpr int kThirdButton = 1168;

    // Where a button may stand: three places, left to right; place 3 touches the right edge.
    static constexpr int kPlaces = 3;

    CMessageBoxDialog(const QString& text, const QString& caption, const QString& firstLabel,
                      const QString& secondLabel, const QString& thirdLabel, unsigned flags,
                      QWidget* parent);

    // The index into the skin's "Icons" collection for the flags' icon bits.
    static int IconIndex(unsigned flags);
    // The picture for an icon index: by default the child with that index of the current skin's
    // "Icons" item, when that is a Bitmap. Without a skin, that item or that child, the box
    // shows no icon. Tests and tools may put a source of their own in.
    using IconSource = std::function<QPixmap(int index)>;
    static void SetIconSource(IconSource source);

    // The place (1..3) of a button control, 0 while hidden. Valid once created.
    int ButtonPlace(int controlId) const;
    QPushButton* Button(int controlId) const;
    int Result() const { return m_result; }
    unsigned Flags() const { return m_flags; }

    // Shows the box modally and answers IDOK, IDCANCEL or 1168.
    static int Ask(QWidget* parent, const QString& text, const QString& caption, const QString& firstLabel,
                   const QString& secondLabel, const QString& thirdLabel, unsigned flags);

    // Escape and the window's close answer IDCANCEL, as the system's box does.
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void PlaceButton(QPushButton* button, int place, const QRect& client, int top);
    void SetUpIcon();
    // The height the message takes at that width in the font it is drawn with.
    int TextHeight(int width) const;
    void Answer(int result);

    QString m_text;
    QString m_caption;
    QString m_labels[3];
    unsigned m_flags;
    int m_result = 0;
    CIconStatic* m_pIcon = nullptr;
    CSkinableStatic* m_pText = nullptr;
    QPushButton* m_pButtons[3] = {};
    int m_places[3] = {};
};

// The pause box of the game field: a modeless message box that lives until it is closed.
extern CMessageBoxDialog* g_pPauseBox;
extern bool g_bPauseBoxShown;
