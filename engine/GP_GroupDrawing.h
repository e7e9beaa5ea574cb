#pragma once

#include "engine/GP_Puzzle.h"

#include <QRect>

#include <vector>

class QPainter;

// One thing to draw of a group: its shadow or its pieces.
struct GP_DrawStep
{
    GP_GroupPtr group;
    bool shadow = false;

    bool operator==(const GP_DrawStep&) const = default;
};

// What DrawGroups draws in a location, first to last (the last ends on top): the loose groups,
// then the shadows of the selected ones and the selected ones, then the held group with its
// shadow; or, while a hint pair is shown there, everything else and then the blinking pair.
std::vector<GP_DrawStep> GP_GroupDrawOrder(CGP_Puzzle& puzzle, bool trayHover, int location);

// Draws one step: the shadow at the group's shadow rectangle, or each piece's current image at
// its place.
void GP_DrawGroupStep(QPainter& painter, const GP_DrawStep& step);

// The ghost: the cut area of the picture, half transparent, centred in the field (horizontally
// in a span of the field's width that starts at x = 0).
void GP_DrawGhost(QPainter& painter, const CGP_Puzzle& puzzle, const QRect& field);
