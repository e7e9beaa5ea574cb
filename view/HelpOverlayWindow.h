#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// A one-time help picture over the whole view: the picture at its own aspect ratio, as large as
// the layout rectangle allows and centred in it, over the screen dimmed by the picture's own
// veil. The pointer goes through to the view, which decides what a click does.
class CHelpOverlayWindow : public QWidget
{
public:
    explicit CHelpOverlayWindow(QWidget* view);

    // Shows the picture named by the overlay's value name; false (logged) when there is none.
    bool ShowOverlay(const QString& valueName, const QRect& layout);
    const QString& Overlay() const { return m_name; }
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    QImage m_picture;
    QRect m_layout;
};
