#include "engine/GP_EdgeCrossingTables.h"

namespace {
constexpr int kPiecesPerEdge = 2;
}

GP_EdgeCrossingTables::GP_EdgeCrossingTables(const std::vector<const CGP_Path*>& edges)
    : m_slots(std::make_unique<Slot[]>(edges.size()))
    , m_count(edges.size())
{
    for (size_t i = 0; i < edges.size(); ++i) {
        if (edges[i])
            m_index.emplace(edges[i], i);
    }
}

GP_EdgeCrossingTables::~GP_EdgeCrossingTables()
{
    for (size_t i = 0; i < m_count; ++i)
        delete m_slots[i].table.load(std::memory_order_acquire);
}

const GP_EdgeCrossings* GP_EdgeCrossingTables::Of(const CGP_Path* edge)
{
    const auto found = m_index.find(edge);
    if (found == m_index.end())
        return nullptr;
    std::atomic<GP_EdgeCrossings*>& slot = m_slots[found->second].table;
    if (GP_EdgeCrossings* table = slot.load(std::memory_order_acquire))
        return table;
    auto made = std::make_unique<GP_EdgeCrossings>(*edge);
    GP_EdgeCrossings* expected = nullptr;
    if (slot.compare_exchange_strong(expected, made.get(), std::memory_order_acq_rel, std::memory_order_acquire))
        return made.release();
    return expected;
}

void GP_EdgeCrossingTables::Done(const CGP_Path* edge)
{
    const auto found = m_index.find(edge);
    if (found == m_index.end())
        return;
    Slot& slot = m_slots[found->second];
    // An edge bounds two pieces: the second one done frees the table.
    if (slot.done.fetch_add(1, std::memory_order_acq_rel) + 1 == kPiecesPerEdge)
        delete slot.table.exchange(nullptr, std::memory_order_acq_rel);
}
