#include "shell/dialogs/IconStatic.h"

CIconStatic::CIconStatic(QWidget* parent, int controlId)
    : CSkinableStatic(parent, controlId)
{
    setAlignment(Qt::AlignCenter);
}

void CIconStatic::SetIcon(const QPixmap& icon)
{
    m_icon = icon;
    setPixmap(icon);
}

void CIconStatic::PaintRoutine(QPainter& dc, const QRect& rect, CGP_StringSet states, const QString& text)
{
    CSkinableStatic::PaintRoutine(dc, rect, states, text);
    if (m_icon.isNull())
        return;
    // The skin draws statics as text only: the picture goes on top of whatever it drew.
    const QSize own = m_icon.deviceIndependentSize().toSize();
    const QSize size = own.scaled(rect.size(), Qt::KeepAspectRatio).boundedTo(own);
    const QRect place(rect.x() + (rect.width() - size.width()) / 2, rect.y() + (rect.height() - size.height()) / 2,
                      size.width(), size.height());
    dc.drawPixmap(place, m_icon);
}
