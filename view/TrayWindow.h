#pragma once

#include "skin/SkinableCtrl.h"

#include <QWidget>

#include <functional>

// The window of an open tray: the skin draws its frame (the "Dialog" Object of template 2000),
// the field's painter its inside. It lets the pointer through to the field beneath, which
// handles presses and drags in the tray as everywhere else.
class CTrayWindow : public WINSKIN::SkinableCtrl<QWidget>
{
public:
    static constexpr int kTemplateId = 2000;

    // Paints the inside: painter in view coordinates, the part of the view to paint.
    using InsidePainter = std::function<void(QPainter& painter, const QRect& update)>;
    // Paints the frame when the skin has none.
    using FramePainter = std::function<void(QPainter& painter, const QRect& rect)>;

    CTrayWindow(QWidget* view, InsidePainter inside, FramePainter plainFrame);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    InsidePainter m_inside;
    FramePainter m_plainFrame;
};
