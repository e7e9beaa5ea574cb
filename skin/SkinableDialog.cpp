#include "skin/SkinableDialog.h"

#include <QScreen>

CSkinableDialog::CSkinableDialog(int templateId, QWidget* parent)
    : SkinableCtrl(QStringLiteral("Dialog"), parent)
{
    SetIDs(templateId, 0);
}

void CSkinableDialog::SetObject(WINSKIN::Object* object)
{
    if (!object) {
        RemoveSkin();
        return;
    }
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
    SetFrameless(false);
    SkinableCtrl::RemoveSkin();
}

void CSkinableDialog::SetFrameless(bool frameless)
{
    if (!m_flagsSaved) {
        m_ownFlags = windowFlags();
        m_flagsSaved = true;
    }
    const Qt::WindowFlags flags = frameless ? (m_ownFlags | Qt::FramelessWindowHint) : m_ownFlags;
    if (flags == windowFlags())
        return;
    // New window flags hide a window; only its visibility is kept.
    const bool visible = isVisible();
    setWindowFlags(flags);
    if (visible)
        show();
}
