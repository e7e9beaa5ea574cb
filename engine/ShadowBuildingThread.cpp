#include "engine/ShadowBuildingThread.h"

CShadowBuildingThread::~CShadowBuildingThread()
{
    Stop();
}

void CShadowBuildingThread::Process()
{
    for (const GP_GroupPtr& group : m_groups.Snapshot())
        CreateUnionShadow(m_pPuzzle, group);
    m_pPuzzle = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_groups.Mutex());
        m_groups.Items().clear();
    }
    if (m_repaint)
        m_repaint();
}
