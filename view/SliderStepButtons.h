#pragma once

#include <QAbstractButton>
#include <QSlider>

// A "<" and a ">" button beside a slider: each moves it by one within its range, and the slider
// reports the new value as it reports a move.
inline void ConnectSliderStepButtons(QSlider* slider, QAbstractButton* less, QAbstractButton* more)
{
    QObject::connect(less, &QAbstractButton::clicked, slider, [slider] {
        if (slider->value() > slider->minimum())
            slider->setValue(slider->value() - 1);
    });
    QObject::connect(more, &QAbstractButton::clicked, slider, [slider] {
        if (slider->value() < slider->maximum())
            slider->setValue(slider->value() + 1);
    });
}
