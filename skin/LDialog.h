#pragma once

#include "skin/SkinableDialog.h"

#include <functional>

class QAbstractButton;
class QHelpEvent;

namespace WINSKIN {
class RawValueStore;
}

// The base of every skinned panel and dialog of the game: built from its template in its
// language, it plays a click sound for its buttons, shows tool tips from the string table by
// control number, stays inside its parent while dragged and remembers where it was put.
class CLDialog : public CSkinableDialog
{
public:
    static constexpr int kDefaultLanguage = 1033;
    static constexpr int kMaxToolTip = 80;
    static constexpr int kPositionBytes = 16;
    static constexpr int kSoundClick = 245;
    static constexpr int kSoundCheckBox = 246;
    static constexpr int kSoundRadio = 247;

    // Builds a template's controls (numbered with WINSKIN::SetControlId) and sets its size.
    using TemplateBuilder = std::function<void(CLDialog&)>;

    explicit CLDialog(int templateId, QWidget* parent = nullptr, int language = kDefaultLanguage);

    int Language() const { return m_language; }
    void SetLanguage(int language) { m_language = language; }

    // Builds the dialog from its template, lets it take its skin, runs OnInitDialog and skins
    // its controls. Runs once; a dialog without a template builds its controls in OnInitDialog.
    void Create();
    // Creates the dialog when needed and shows it modally; answers its result.
    int DoModal();

    // Writes the window rectangle (left, top, right, bottom as four 32-bit values) under the
    // template number in hexadecimal; answers whether the key took it.
    bool SavePosition(WINSKIN::RawValueStore& key) const;
    // Moves the window (without resizing) to the remembered rectangle when that lies wholly
    // inside the parent's client area; answers whether it did.
    bool RestorePosition(const WINSKIN::RawValueStore& key);
    // The value name of the remembered rectangle: "3E8" for template 1000.
    QString PositionName() const;

    // The parent's client area in screen coordinates (the screen's when there is no parent).
    QRect ParentClientArea() const;

    // The control with that number, or null.
    QWidget* Control(int controlId) const;
    template <typename T>
    T* ControlAs(int controlId) const { return dynamic_cast<T*>(Control(controlId)); }
    // Gives the window the size whose client area (inside the skin's frame, when it wears
    // one) has the given size; the skin's size limits still apply.
    void ResizeClient(const QSize& clientSize);
    // Puts the window in the middle of its parent's window, else of the screen.
    void CenterWindow();

    // Registering a template again replaces it, so a dialog may register its own on every construction.
    static void RegisterTemplate(int templateId, int language, TemplateBuilder builder);
    // The language whose template a dialog of that language uses: its own, else 1033; 0 when
    // neither exists.
    static int TemplateLanguage(int templateId, int language);

    // A dragged rectangle moved back inside an area; the right and bottom edges win over the
    // left and top ones when it does not fit.
    static QRect KeepInside(const QRect& rect, const QRect& area);
    // The sound a click on the control plays: 247 radio button, 246 check box, 245 any other.
    static int ClickSoundFor(const QWidget* control);
    // The tool tip of a control number: its string-table text, at most kMaxToolTip characters;
    // empty for number 0 or a missing text.
    static QString ToolTipText(int controlId);

    // The game's sound option; click sounds play only while it is on.
    static void SetSoundOn(bool on);
    static bool IsSoundOn();

protected:
    // The controls exist and the dialog wears its skin; a derived dialog sets up its controls.
    virtual void OnInitDialog() {}

    bool event(QEvent* event) override;
    // A dialog shown without Create is created first.
    void setVisible(bool visible) override;
    void Moving(QRect& rect) override;

private:
    void AttachControls();
    void ConnectControls();
    void OnControlClicked(QAbstractButton* button);
    bool ShowToolTip(QHelpEvent* event);

    int m_language;
    bool m_created = false;
};
