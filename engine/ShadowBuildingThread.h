#pragma once

#include "engine/GP_ProcessingThread.h"
#include "engine/GP_Puzzle.h"

#include <functional>

// The one worker that makes group shadows. The owner waits for it to be idle, sets the puzzle,
// appends the groups to shadow (Insert at the end) and signals it; when the shadows are done
// the worker asks the view to repaint.
class CShadowBuildingThread : public CGP_ProcessingThread
{
public:
    CShadowBuildingThread() = default;
    ~CShadowBuildingThread() override;

    const char* ThreadTag() const override { return "CShadowBuildingThread"; }
    void Process() override;

    CGP_Puzzle* m_pPuzzle = nullptr;
    GP_GroupDeque m_groups;
    // Invalidates the view's window entirely (no background erase); set by the view.
    std::function<void()> m_repaint;
};
