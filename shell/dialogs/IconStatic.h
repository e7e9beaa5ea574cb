#pragma once

#include "skin/SkinableStatic.h"

#include <QPixmap>

// A static that shows one picture, centred, over the skin's look for statics (the message
// box's icon). Without a skin it is a plain picture label.
class CIconStatic : public CSkinableStatic
{
public:
    explicit CIconStatic(QWidget* parent = nullptr, int controlId = 0);

    void SetIcon(const QPixmap& icon);
    const QPixmap& Icon() const { return m_icon; }

protected:
    void PaintRoutine(QPainter& dc, const QRect& rect, CGP_StringSet states, const QString& text) override;

private:
    QPixmap m_icon;
};
