#pragma once

#include "engine/GP_Puzzle.h"

#include <functional>
#include <memory>
#include <vector>

class CPieceBuilderThread;
class CShadowBuildingThread;
class QIODevice;

// The workers that make piece images and group shadows, for whoever shows the puzzle: one
// piece builder per processor, started at once, and the shadow builder, started the first time
// shadows are asked for. Destroying the owner stops them all, waiting for running jobs.
class CGP_PieceWorkers
{
public:
    explicit CGP_PieceWorkers(int builderCount);
    ~CGP_PieceWorkers();

    CGP_PieceWorkers(const CGP_PieceWorkers&) = delete;
    CGP_PieceWorkers& operator=(const CGP_PieceWorkers&) = delete;

    const std::vector<CPieceBuilderThread*>& Builders() const { return m_builderList; }

    // Builds or rebuilds every piece of the puzzle on the builders.
    void BuildPieces(CGP_Puzzle& puzzle, QIODevice* cache, const std::function<void()>& advanceProgress = {});

    // Hands groups to the shadow builder (waiting while it still works on earlier ones); it
    // repaints through the repaint call when they are done.
    void RequestShadows(CGP_Puzzle* puzzle, const std::vector<GP_GroupPtr>& groups);
    // Waits until the shadow builder has nothing left to do.
    void WaitForShadows();

    // The view's repaint, called on the shadow builder's thread.
    void SetRepaint(std::function<void()> repaint);

private:
    std::vector<std::unique_ptr<CPieceBuilderThread>> m_builders;
    std::vector<CPieceBuilderThread*> m_builderList;
    std::unique_ptr<CShadowBuildingThread> m_shadows;
    std::function<void()> m_repaint;
};
