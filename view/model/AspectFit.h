#pragma once

#include <QRect>
#include <QSize>

// Where a picture goes when it is shown over an area at its own shape (a help overlay over the
// layout rectangle): as large as the area allows, centred in it; the strips left over at the
// sides or above and below stay uncovered. Empty when the picture or the area is empty.
QRect AspectFit(const QSize& picture, const QRect& area);
