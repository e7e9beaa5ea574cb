#include "engine/GP_PieceWorkers.h"

#include "engine/PieceBuilderThread.h"
#include "engine/ShadowBuildingThread.h"
#include "shell/log/GP_LogFile.h"

#include <algorithm>

CGP_PieceWorkers::CGP_PieceWorkers(int builderCount)
{
    for (int i = 0; i < std::max(builderCount, 1); ++i) {
        auto builder = std::make_unique<CPieceBuilderThread>();
        // A builder that cannot start is left out; pieces are then built by the others.
        if (!builder->Start()) {
            GP_Log(QStringLiteral("CGP_PieceWorkers: piece builder %1 did not start\n").arg(i));
            continue;
        }
        m_builderList.push_back(builder.get());
        m_builders.push_back(std::move(builder));
    }
}

CGP_PieceWorkers::~CGP_PieceWorkers() = default;

void CGP_PieceWorkers::BuildPieces(CGP_Puzzle& puzzle, QIODevice* cache, const std::function<void()>& advanceProgress)
{
    puzzle.BuildPieces(cache, advanceProgress, m_builderList);
}

void CGP_PieceWorkers::RequestShadows(CGP_Puzzle* puzzle, const std::vector<GP_GroupPtr>& groups)
{
    if (!m_shadows) {
        m_shadows = std::make_unique<CShadowBuildingThread>();
        m_shadows->m_repaint = m_repaint;
        if (!m_shadows->Start()) {
            GP_Log(QStringLiteral("CGP_PieceWorkers: shadow builder did not start\n"));
            m_shadows.reset();
            return;
        }
    }
    m_shadows->IdleEvent()->Wait();
    m_shadows->m_pPuzzle = puzzle;
    m_shadows->m_groups.Insert(GP_GroupDeque::kEnd, groups.begin(), groups.end());
    m_shadows->Signal();
}

void CGP_PieceWorkers::WaitForShadows()
{
    if (m_shadows)
        m_shadows->IdleEvent()->Wait();
}

void CGP_PieceWorkers::SetRepaint(std::function<void()> repaint)
{
    m_repaint = std::move(repaint);
    if (m_shadows) {
        WaitForShadows();
        m_shadows->m_repaint = m_repaint;
    }
}
