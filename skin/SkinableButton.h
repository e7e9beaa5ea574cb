#pragma once

#include "skin/SkinableCtrl.h"

#include <QPushButton>

// A push button that wears the skin's "Button" Object.
class CSkinableButton : public WINSKIN::SkinableCtrl<QPushButton>
{
public:
    explicit CSkinableButton(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("Button"), parent, controlId)
    {
    }
};
