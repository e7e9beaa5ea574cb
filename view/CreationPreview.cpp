#include "view/CreationPreview.h"

#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"

#include <QPainter>

QRect CCreationPreview::PictureRect(const QRect& field, const QSize& picture)
{
    return QRect(field.x() + (field.width() - picture.width()) / 2, field.y() + (field.height() - picture.height()) / 2,
                 picture.width(), picture.height());
}

void CCreationPreview::Paint(QPainter& painter, const QRect& field, const CGP_Puzzle& puzzle, int revision)
{
    if (!puzzle.m_pImage || puzzle.m_pImage->isNull())
        return;
    if (revision != m_revision || puzzle.m_pImage.get() != m_picture) {
        Draw(puzzle);
        m_revision = revision;
        m_picture = puzzle.m_pImage.get();
    }
    painter.drawImage(PictureRect(field, m_drawn.size()).topLeft(), m_drawn);
}

void CCreationPreview::Draw(const CGP_Puzzle& puzzle)
{
    m_drawn = puzzle.m_pImage->convertToFormat(QImage::Format_RGB32);
    QPainter painter(&m_drawn);
    DrawCutLines(puzzle, painter, 0, 0);
}

void CCreationPreview::Clear()
{
    m_drawn = QImage();
    m_picture = nullptr;
    m_revision = -1;
}
