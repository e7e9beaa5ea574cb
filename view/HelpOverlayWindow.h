#pragma once

#include "view/model/HelpArrow.h"
#include "view/model/HelpOverlays.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;

// The one-time help pictures over the whole view: each picture at its own aspect ratio (its
// double-size version on dense screens), as large as the layout rectangle allows and centred in
// it, over the dimmed screen, with arrows from its card to the controls it explains wherever they
// lie. The pointer goes through to the view, which swallows presses while a picture is up and
// dismisses it with the next left release.
class CHelpOverlayWindow : public QWidget
{
public:
    // Where a target's controls are on the view now (an arrow to each rectangle).
    using Locator = std::function<QList<QRect>(HelpTarget)>;

    CHelpOverlayWindow(QWidget* view, CGP_SettingsStore& settings, Locator locate = {});

    const HelpOverlays& Overlays() const { return m_overlays; }
    bool IsShown() const { return m_overlays.IsShown(); }
    // The screen's chain starts: its first picture never dismissed comes up.
    void Start(GameMode mode, bool rotatingPuzzle);
    // The shown picture is dismissed for good; the next of the chain, if any, comes up.
    void Dismiss();
    // No picture (the screen changes).
    void Clear();
    // The view's size changed.
    void Follow();
    QRect PictureRect() const;
    // The arrows of the shown picture, as they are drawn now.
    QList<HelpArrow> Arrows() const;
    const QImage& Picture() const { return m_picture; }

    // How a help picture is shown over a window's whole area: the area dimmed, the picture at its
    // own shape in the middle of the layout rectangle. The tool's previews draw it the same way.
    static void Paint(QPainter& painter, const QRect& area, const QRect& layout, const QImage& picture);
    static void PaintArrow(QPainter& painter, const HelpArrow& arrow);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowCurrent();

    HelpOverlays m_overlays;
    Locator m_locate;
    QImage m_picture;
    // The picture's card, in its own device-independent pixels.
    QRectF m_card;
    QRect m_layout;
};
