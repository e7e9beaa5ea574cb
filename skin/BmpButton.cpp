#include "skin/BmpButton.h"

#include "resources/GP_Resources.h"
#include "skin/SkinableBase.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {
bool s_inputBlocked = false;
BmpButtonNotify s_notify;

const char* const kLookNames[] = {"normal", "hover", "pressed", "disabled"};

QString EmbeddedFamily()
{
    static const QString family = [] {
        GP_InitResources();
        const int id = QFontDatabase::addApplicationFont(GP_ButtonFontPath());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}
} // namespace

CBmpButton::CBmpButton(QWidget* parent, int controlId)
    : QAbstractButton(parent)
{
    WINSKIN::SetControlId(this, controlId);
    for (int look = 0; look < 4; ++look) {
        auto* picture = new CPictureEx(this);
        picture->hide();
        connect(picture, &CPictureEx::FrameChanged, this, [this, look] {
            if (look == m_playing)
                update();
        });
        m_pictures[look] = picture;
    }
    setFont(ButtonFont());
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

CBmpButton::~CBmpButton() = default;

QFont CBmpButton::ButtonFont()
{
    QFont font;
    QStringList families{QStringLiteral("Verdana")};
    if (!EmbeddedFamily().isEmpty())
        families << EmbeddedFamily();
    families << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::ForceOutline | QFont::PreferQuality));
    return font;
}

bool CBmpButton::LoadLooks(int buttonId)
{
    return LoadLookFiles(buttonId, CButtonLooks());
}

bool CBmpButton::LoadLooks(int buttonId, const CButtonLooks& looks)
{
    SetBkColor(looks.Matte());
    return LoadLookFiles(buttonId, looks);
}

bool CBmpButton::LoadLookFiles(int buttonId, const CButtonLooks& looks)
{
    bool all = true;
    for (int look = 0; look < 4; ++look)
        all = LoadLook(Look(look), looks.LookPath(buttonId, QString::fromLatin1(kLookNames[look]), devicePixelRatioF())) && all;
    return all;
}

bool CBmpButton::LoadLook(Look look, const QString& path)
{
    const bool loaded = m_pictures[look]->Load(path);
    if (look == CurrentLook())
        m_pictures[look]->Draw();
    update();
    return loaded;
}

bool CBmpButton::LoadLook(Look look, const QByteArray& gif)
{
    const bool loaded = m_pictures[look]->Load(gif);
    if (look == CurrentLook())
        m_pictures[look]->Draw();
    update();
    return loaded;
}

void CBmpButton::SetBkColor(const QColor& colour)
{
    for (CPictureEx* picture : m_pictures)
        picture->SetBkColor(colour);
}

void CBmpButton::SetInputBlocked(bool blocked)
{
    s_inputBlocked = blocked;
}

bool CBmpButton::IsInputBlocked()
{
    return s_inputBlocked;
}

const BmpButtonNotify& CBmpButton::LastNotify()
{
    return s_notify;
}

bool CBmpButton::IsInert() const
{
    return s_inputBlocked && !m_alwaysActive;
}

CBmpButton::Look CBmpButton::CurrentLook() const
{
    switch (m_state) {
    case Disabled:
        return LookDisabled;
    case Pressed:
        return LookPressed;
    case Hover:
        return isChecked() ? LookPressed : LookHover;
    case Normal:
    default:
        return isChecked() ? LookPressed : LookNormal;
    }
}

void CBmpButton::SetState(State state)
{
    m_state = state;
    const Look look = CurrentLook();
    if (look != m_playing) {
        m_pictures[m_playing]->Stop();
        m_playing = look;
        m_pictures[look]->Draw();
    }
    update();
}

void CBmpButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (IsInert() && !m_shown.isNull()) {
        painter.drawImage(rect(), m_shown);
        return;
    }
    // The state may have changed without a call (checked from outside).
    const Look look = CurrentLook();
    if (look != m_playing) {
        m_pictures[m_playing]->Stop();
        m_playing = look;
        m_pictures[look]->Draw();
    }
    // At the screen's density: a double-size look stays sharp on a dense screen.
    const qreal ratio = devicePixelRatioF();
    QImage shown((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    shown.setDevicePixelRatio(ratio);
    shown.fill(Qt::transparent);
    {
        QPainter face(&shown);
        face.setRenderHint(QPainter::SmoothPixmapTransform);
        face.drawImage(QRectF(rect()), m_pictures[look]->CurrentFrame());
        if (!text().isEmpty()) {
            face.setFont(font());
            face.drawText(rect(), Qt::AlignCenter, text());
        }
    }
    m_shown = shown;
    painter.drawImage(0, 0, m_shown);
}

void CBmpButton::UpdateCursor()
{
    if (IsInert())
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
}

void CBmpButton::OnHover()
{
    UpdateCursor();
    if (IsInert() || m_state == Disabled)
        return;
    // While the mouse is held on the button it stays pressed.
    if (!m_pressed && m_state != Hover)
        SetState(Hover);
    if (!m_hoverTimer.isActive())
        m_hoverTimer.start(kHoverTimerMs, this);
}

void CBmpButton::enterEvent(QEnterEvent*)
{
    OnHover();
}

void CBmpButton::leaveEvent(QEvent*)
{
    // The timer stays as the way back for a leave the window system never reports.
    if (m_pressed || m_state == Disabled || IsInert())
        return;
    m_hoverTimer.stop();
    SetState(Normal);
}

void CBmpButton::mouseMoveEvent(QMouseEvent*)
{
    OnHover();
}

void CBmpButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || IsInert() || m_state == Disabled)
        return;
    m_pressed = true;
    SetState(Pressed);
    SendNotify(kNotifyPressed);
}

void CBmpButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || IsInert() || m_state == Disabled)
        return;
    const bool pressedHere = m_pressed;
    m_pressed = false;
    SetState(Hover);
    if (!m_hoverTimer.isActive())
        m_hoverTimer.start(kHoverTimerMs, this);
    SendNotify(pressedHere ? kNotifyClicked : kNotifyReleased);
}

void CBmpButton::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_hoverTimer.timerId()) {
        QAbstractButton::timerEvent(event);
        return;
    }
    const bool inside = rect().contains(mapFromGlobal(QCursor::pos()));
    if (inside || m_pressed)
        return;
    m_hoverTimer.stop();
    if (m_state != Disabled)
        SetState(Normal);
}

void CBmpButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_pressed = false;
        m_hoverTimer.stop();
        SetState(isEnabled() ? Normal : Disabled);
    }
    QAbstractButton::changeEvent(event);
}

void CBmpButton::SendNotify(unsigned code)
{
    s_notify = BmpButtonNotify{this, WINSKIN::ControlId(this), code, m_userValue};
    // The receiver may close the panel that holds the button.
    QPointer<CBmpButton> alive(this);
    QWidget* parent = parentWidget();
    QWidget* target = parent ? parent->parentWidget() : nullptr;
    if (auto* receiver = dynamic_cast<CBmpButtonReceiver*>(target))
        receiver->OnBmpButtonNotify(s_notify);
    if (alive)
        emit Notify(s_notify);
}
