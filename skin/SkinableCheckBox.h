#pragma once

#include "skin/SkinableCtrl.h"

#include <QCheckBox>

// A check box that wears the skin's "CheckBox" Object.
class CSkinableCheckBox : public WINSKIN::SkinableCtrl<QCheckBox>
{
public:
    explicit CSkinableCheckBox(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("CheckBox"), parent, controlId)
    {
    }
};
