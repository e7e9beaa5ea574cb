#pragma once

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

// The soft shadow under a shaped window (a skinned message box or dialog) on a desktop that
// blends windows: a window of its own, without input, kept just below the window it follows.
class CDropShadow : public QWidget
{
public:
    // How far the shadow spreads beyond the window, how far it falls below it, and how dark it
    // is right under the window's edge (of 255).
    static constexpr int kSpread = 12;
    static constexpr int kDrop = 5;
    static constexpr int kDarkness = 120;

    // parent: the followed window's parent (the shadow stays in its family without being
    // stacked above the window, as a window's own child would be).
    CDropShadow(QWidget* owner, QWidget* parent);

    // The window's shape in its own coordinates; the shadow is drawn from it.
    void SetShape(const QRegion& shape);
    // Takes the window's place (grown by the spread and the drop) and its visibility; after it
    // shows, the window is raised above it.
    void Follow();

    // The shadow of a shape over a window of that size: a picture grown by kSpread on every
    // side, the shape blurred and moved down by kDrop.
    static QImage Picture(const QRegion& shape, const QSize& windowSize);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    QRegion m_shape;
    QImage m_picture;
};
