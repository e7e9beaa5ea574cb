#pragma once

#include <QAbstractButton>
#include <QImage>

// A clickable sample of a colour or a pattern in the board settings: it shows what it stands
// for, framed, and clicks like a button.
class CSwatch : public QAbstractButton
{
public:
    CSwatch(QWidget* parent, int controlId);

    void SetColor(const QColor& color);
    void SetPattern(const QImage& pattern);
    const QColor& Color() const { return m_color; }
    const QImage& Pattern() const { return m_pattern; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    QImage m_pattern;
};
