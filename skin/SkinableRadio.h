#pragma once

#include "skin/SkinableCtrl.h"

#include <QRadioButton>

// A radio button that wears the skin's "Radio" Object.
class CSkinableRadio : public WINSKIN::SkinableCtrl<QRadioButton>
{
public:
    explicit CSkinableRadio(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("Radio"), parent, controlId)
    {
    }
};
