#include "skin/SkinableDialog.h"

#include "skin/DesktopCompositing.h"
#include "skin/DropShadow.h"
#include "skin/Object.h"

#include <QScreen>

CSkinableDialog::CSkinableDialog(int templateId, QWidget* parent)
    : SkinableCtrl(QStringLiteral("Dialog"), parent)
{
    SetIDs(templateId, 0);
}

CSkinableDialog::~CSkinableDialog()
{
    // The shadow belongs to the dialog's parent, which may outlive the dialog.
    delete m_shadow;
}

void CSkinableDialog::SetObject(WINSKIN::Object* object)
{
    if (!object) {
        RemoveSkin();
        return;
    }
    // Decided before the window exists: a translucent window is made so from the start.
    m_translucent = isWindow() && object->GetRegion() && WINSKIN::DesktopComposites();
    SetFrameless(true);
    SkinableCtrl::SetObject(object);
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect();
    if (screen.isEmpty())
        return;
    // An Object at the screen's top-left corner leaves the dialog where it is; one that spans
    // the whole screen leaves its size, and so does one without a size (it would hide the
    // dialog).
    const QRect resolved = object->Resolve(screen);
    QRect place = geometry();
    if (resolved.topLeft() != QPoint(0, 0))
        place.moveTopLeft(resolved.topLeft());
    if (resolved != screen && !resolved.isEmpty())
        place.setSize(resolved.size());
    if (place != geometry())
        MoveWindow(place);
}

void CSkinableDialog::RemoveSkin()
{
    m_translucent = false;
    SetFrameless(false);
    SkinableCtrl::RemoveSkin();
}

bool CSkinableDialog::ShapesByAlpha() const
{
    return m_translucent && testAttribute(Qt::WA_TranslucentBackground);
}

void CSkinableDialog::ShapeChanged(const QRegion& shape)
{
    if (!ShapesByAlpha() || shape.isEmpty()) {
        delete m_shadow;
        return;
    }
    if (!m_shadow)
        m_shadow = new CDropShadow(this, parentWidget());
    m_shadow->SetShape(shape);
    m_shadow->Follow();
}

bool CSkinableDialog::event(QEvent* event)
{
    const bool answer = SkinableCtrl::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        if (m_shadow)
            m_shadow->Follow();
        break;
    default:
        break;
    }
    return answer;
}

void CSkinableDialog::SetFrameless(bool frameless)
{
    if (!m_flagsSaved) {
        m_ownFlags = windowFlags();
        m_flagsSaved = true;
    }
    const Qt::WindowFlags flags = frameless ? (m_ownFlags | Qt::FramelessWindowHint) : m_ownFlags;
    if (testAttribute(Qt::WA_TranslucentBackground) != (frameless && m_translucent))
        setAttribute(Qt::WA_TranslucentBackground, frameless && m_translucent);
    if (flags == windowFlags())
        return;
    // New window flags hide a window; only its visibility is kept.
    const bool visible = isVisible();
    setWindowFlags(flags);
    if (visible)
        show();
}
