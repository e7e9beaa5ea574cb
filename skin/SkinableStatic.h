#pragma once

#include "skin/SkinableCtrl.h"

#include <QLabel>

// A text or picture label that wears the skin's "Static" Object.
class CSkinableStatic : public WINSKIN::SkinableCtrl<QLabel>
{
public:
    explicit CSkinableStatic(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("Static"), parent, controlId)
    {
    }
};
