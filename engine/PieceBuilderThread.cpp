#include "engine/PieceBuilderThread.h"

#include "engine/GP_Puzzle.h"

#include <thread>

CPieceBuilderThread::~CPieceBuilderThread()
{
    Stop();
}

void CPieceBuilderThread::Process()
{
    if (m_pPuzzle)
        m_pPuzzle->BuildPiece(m_nColumn, m_nRow);
}

int GP_PieceBuilderCount()
{
    // The processor count as a byte, as it always was read.
    const int processors = static_cast<int>(std::thread::hardware_concurrency() & 0xFF);
    return processors < 1 ? 1 : processors;
}
