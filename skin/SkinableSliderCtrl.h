#pragma once

#include "skin/SkinableCtrl.h"

#include <QSlider>

// A slider that wears the skin's "TrackBar" Object; its "Thumb" part is drawn where the slider
// has its thumb. Horizontal unless told otherwise, as the game's sliders are. While it wears the
// skin its thumb is as large as the skin's thumb picture, which it can then be picked up by.
class CSkinableSliderCtrl : public WINSKIN::SkinableCtrl<QSlider>
{
public:
    explicit CSkinableSliderCtrl(QWidget* parent = nullptr, int controlId = 0);

    void SetObject(WINSKIN::Object* object) override;
    void RemoveSkin() override;

    // The size of an Object's thumb picture: the first picture of its "Thumb" part; empty
    // without one.
    static QSize ThumbPictureSize(WINSKIN::Object& object);
    // The thumb's size now: the skin's thumb picture's, else the style's own.
    QSize ThumbSize() const { return m_thumbSize; }

private:
    QSize m_thumbSize;
};
