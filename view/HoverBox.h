#pragma once

#include <QImage>
#include <QWidget>

// The hover information box of the screens: a card with a puzzle's text, shown beside the
// pointer and never past the edges of the screen.
class CHoverBox : public QWidget
{
public:
    explicit CHoverBox(QWidget* canvas);

    // Shows the text with the box's corner just below and right of the point.
    void ShowText(const QString& text, const QPoint& pointer);
    void HideBox();
    // The screens' scale (1 for a 1024 x 768 layout): the text grows with the items.
    void SetScale(double scale);
    const QString& Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
    QString m_text;
    int m_padding;
    QSize m_textArea;
};
