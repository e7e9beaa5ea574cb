#include "engine/GP_EdgeCrossingTables.h"

GP_EdgeCrossingTables::GP_EdgeCrossingTables(const std::vector<const CGP_Path*>& edges)
    : m_tables(new std::atomic<GP_EdgeCrossings*>[edges.size()])
    , m_count(edges.size())
{
    for (size_t i = 0; i < edges.size(); ++i) {
        m_tables[i].store(nullptr, std::memory_order_relaxed);
        if (edges[i])
            m_index.emplace(edges[i], i);
    }
}

GP_EdgeCrossingTables::~GP_EdgeCrossingTables()
{
    for (size_t i = 0; i < m_count; ++i)
        delete m_tables[i].load(std::memory_order_acquire);
}

const GP_EdgeCrossings* GP_EdgeCrossingTables::Of(const CGP_Path* edge)
{
    const auto found = m_index.find(edge);
    if (found == m_index.end())
        return nullptr;
    std::atomic<GP_EdgeCrossings*>& slot = m_tables[found->second];
    if (GP_EdgeCrossings* table = slot.load(std::memory_order_acquire))
        return table;
    auto made = std::make_unique<GP_EdgeCrossings>(*edge);
    GP_EdgeCrossings* expected = nullptr;
    if (slot.compare_exchange_strong(expected, made.get(), std::memory_order_acq_rel, std::memory_order_acquire))
        return made.release();
    return expected;
}
