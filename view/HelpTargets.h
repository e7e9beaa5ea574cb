#pragma once

#include "view/model/HelpOverlays.h"

#include <QList>
#include <QRect>

class CChildView;

// Where the controls a help picture explains lie on the view now, in the view's coordinates:
// one rectangle per arrow, none for a control that is not shown.
QList<QRect> LocateHelpTarget(const CChildView& view, HelpTarget target);
