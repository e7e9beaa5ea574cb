#pragma once

#include "skin/ButtonLooks.h"
#include "skin/PictureEx.h"

#include <QAbstractButton>
#include <QBasicTimer>
#include <QPointer>

#include <array>

class CBmpButton;

// What a picture button tells its parent's parent: who sent it, its control number, what
// happened and the button's user value. One record serves every notification; a receiver reads
// it during the call only.
struct BmpButtonNotify
{
    QWidget* hwndFrom = nullptr;
    int idFrom = 0;
    unsigned code = 0;
    quint32 userValue = 0;
};

// A window that takes picture-button notifications (the main view).
class CBmpButtonReceiver
{
public:
    virtual ~CBmpButtonReceiver() = default;
    virtual void OnBmpButtonNotify(const BmpButtonNotify& notify) = 0;
};

// The animated picture button of the main screens: four pictures (normal, hover, pressed,
// disabled) played by picture controls, the hand cursor, and notifications to the window that
// holds its panel. It does not wear the skin.
class CBmpButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum State { Normal = 0, Pressed = 1, Hover = 2, Disabled = 3 };
    enum Look { LookNormal = 0, LookHover = 1, LookPressed = 2, LookDisabled = 3 };

    static constexpr unsigned kNotifyClicked = 0x4CD;
    static constexpr unsigned kNotifyPressed = 0x4CE;
    static constexpr unsigned kNotifyReleased = 0x4CF;
    static constexpr int kHoverTimerMs = 200;
    static constexpr int kFontPixels = 20;

    explicit CBmpButton(QWidget* parent = nullptr, int controlId = 0);
    ~CBmpButton() override;

    // The four looks of a screen button from the program's resources, by the button's number
    // (on the background colour set with SetBkColor).
    bool LoadLooks(int buttonId);
    // The four looks from a skin's set (CButtonLooks::ForSkin), at the screen's density, on the
    // colour they are made for.
    bool LoadLooks(int buttonId, const CButtonLooks& looks);
    bool LoadLook(Look look, const QString& path);
    bool LoadLook(Look look, const QByteArray& gif);
    void SetBkColor(const QColor& colour);

    void SetUserValue(quint32 value) { m_userValue = value; }
    quint32 UserValue() const { return m_userValue; }
    // An always-active button answers the player while the main view blocks input.
    void SetAlwaysActive(bool on) { m_alwaysActive = on; }
    bool IsAlwaysActive() const { return m_alwaysActive; }

    State GetState() const { return m_state; }
    // The look shown for the state: a checked button looks pressed unless disabled.
    Look CurrentLook() const;
    CPictureEx* Picture(Look look) const { return m_pictures[look]; }
    // Whether the button ignores the player now (input blocked and not always active).
    bool IsInert() const;

    // The main view's input-block flag.
    static void SetInputBlocked(bool blocked);
    static bool IsInputBlocked();
    // The one notification record.
    static const BmpButtonNotify& LastNotify();
    // The font the buttons use: 20-pixel bold Verdana, else the game's own button font.
    static QFont ButtonFont();

signals:
    // Sent with every notification, after the receiver was called.
    void Notify(const BmpButtonNotify& notify);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool LoadLookFiles(int buttonId, const CButtonLooks& looks);
    void SetState(State state);
    void SendNotify(unsigned code);
    void UpdateCursor();
    void OnHover();

    std::array<CPictureEx*, 4> m_pictures{};
    State m_state = Normal;
    Look m_playing = LookNormal;
    bool m_pressed = false;
    bool m_alwaysActive = false;
    quint32 m_userValue = 0;
    QBasicTimer m_hoverTimer;
    // What the button showed last; an inert button keeps showing it.
    QImage m_shown;
};
