#pragma once

#include "view/model/HelpOverlays.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QPainter;

// The one-time help pictures over the whole view: each picture at its own aspect ratio (its
// double-size version on dense screens), as large as the layout rectangle allows and centred in
// it, over the dimmed screen. The pointer goes through to the view, which swallows presses while a
// picture is up and dismisses it with the next left release.
class CHelpOverlayWindow : public QWidget
{
public:
    CHelpOverlayWindow(QWidget* view, CGP_SettingsStore& settings);

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
    const QImage& Picture() const { return m_picture; }

    // How a help picture is shown over a window's whole area: the area dimmed, the picture at its
    // own shape in the middle of the layout rectangle. The tool's previews draw it the same way.
    static void Paint(QPainter& painter, const QRect& area, const QRect& layout, const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowCurrent();

    HelpOverlays m_overlays;
    QImage m_picture;
    QRect m_layout;
};
