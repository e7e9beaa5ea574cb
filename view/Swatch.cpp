#include "view/Swatch.h"

#include "skin/SkinableBase.h"

#include <QPainter>

CSwatch::CSwatch(QWidget* parent, int controlId)
    : QAbstractButton(parent)
{
    WINSKIN::SetControlId(this, controlId);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void CSwatch::SetColor(const QColor& color)
{
    m_color = color;
    m_pattern = QImage();
    update();
}

void CSwatch::SetPattern(const QImage& pattern)
{
    m_pattern = pattern;
    update();
}

void CSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    if (!m_pattern.isNull())
        painter.fillRect(inside, QBrush(m_pattern));
    else
        painter.fillRect(inside, m_color.isValid() ? m_color : QColor(Qt::gray));
    // Dark and light lines together frame the sample on any background.
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QColor(255, 255, 255, 160));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
