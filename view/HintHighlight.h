#pragma once

#include "view/model/PlaySession.h"

#include <QRect>

class CGP_Puzzle;
class QPainter;

// The hint's highlight: a ring round the outline of both hint groups, dark outside and bright
// inside, so that it shows on light and dark pictures and boards alike. It is drawn on the
// blink's even phases, over the pieces but never on them.
class CHintHighlight
{
public:
    // How far the ring reaches past a piece's outline: what a blink must redraw besides the groups.
    static constexpr int kReach = PlaySession::kHintReach;

    // Draws the ring of the puzzle's hint pair when the pair lies in the location and the
    // phase shows it.
    static void Draw(QPainter& painter, const CGP_Puzzle& puzzle, int location);
    static bool PhaseShows(int blinkCountdown) { return blinkCountdown % 2 == 0; }
};
