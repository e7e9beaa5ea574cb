#pragma once

#include "engine/GP_ProcessingThread.h"

class CGP_Puzzle;

// One of the piece builders the view keeps, one per processor. Its job is one piece: the owner
// writes the puzzle, column and row while the builder is idle, then signals it.
class CPieceBuilderThread : public CGP_ProcessingThread
{
public:
    CPieceBuilderThread() = default;
    ~CPieceBuilderThread() override;

    const char* ThreadTag() const override { return "CPieceBuilderThread"; }
    // Builds the piece into the puzzle's group deque.
    void Process() override;

    CGP_Puzzle* m_pPuzzle = nullptr;
    int32_t m_nColumn = 0;
    int32_t m_nRow = 0;
};

// How many piece builders to keep: one per processor, at least one.
int GP_PieceBuilderCount();
