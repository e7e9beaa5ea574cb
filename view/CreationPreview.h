#pragma once

#include <QImage>
#include <QRect>

class CGP_Puzzle;
class QPainter;

// The creation preview: the picture being cut with the cut drawn over it, in the middle of the
// field. The drawn picture is kept until the cut changes, so a repaint is one copy.
class CCreationPreview
{
public:
    // Where the picture stands in the field.
    static QRect PictureRect(const QRect& field, const QSize& picture);

    // revision: the creation's cut number; a new one redraws the lines.
    void Paint(QPainter& painter, const QRect& field, const CGP_Puzzle& puzzle, int revision);
    // Forgets the drawn picture.
    void Clear();

private:
    void Draw(const CGP_Puzzle& puzzle);

    QImage m_drawn;
    const QImage* m_picture = nullptr;
    int m_revision = -1;
};
