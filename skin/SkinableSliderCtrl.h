#pragma once

#include "skin/SkinableCtrl.h"

#include <QSlider>

// A slider that wears the skin's "TrackBar" Object; its "Thumb" part is drawn where the slider
// has its thumb. Horizontal unless told otherwise, as the game's sliders are.
class CSkinableSliderCtrl : public WINSKIN::SkinableCtrl<QSlider>
{
public:
    explicit CSkinableSliderCtrl(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("TrackBar"), parent, controlId)
    {
        setOrientation(Qt::Horizontal);
    }
};
