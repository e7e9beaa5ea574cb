#pragma once

#include "skin/SkinableCtrl.h"

#include <QProgressBar>

// A progress bar that wears the skin's "ProgressBar" Object; its "Meter" part fills the share
// that is done.
class CSkinableProgressCtrl : public WINSKIN::SkinableCtrl<QProgressBar>
{
public:
    explicit CSkinableProgressCtrl(QWidget* parent = nullptr, int controlId = 0)
        : SkinableCtrl(QStringLiteral("ProgressBar"), parent, controlId)
    {
    }
};
