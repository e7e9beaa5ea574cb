#pragma once

#include "engine/GP_EdgeCrossings.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

class CGP_Path;

// The crossing tables of a puzzle's edges while its pieces are built: each is made by the first
// builder that needs it and read by the piece on the edge's other side. Two builders that need
// a table at the same moment may both make it; the first one made is kept and the other dropped,
// so nobody ever waits for a table.
class GP_EdgeCrossingTables
{
public:
    explicit GP_EdgeCrossingTables(const std::vector<const CGP_Path*>& edges);
    ~GP_EdgeCrossingTables();

    GP_EdgeCrossingTables(const GP_EdgeCrossingTables&) = delete;
    GP_EdgeCrossingTables& operator=(const GP_EdgeCrossingTables&) = delete;

    // The table of one of the edges; null for an edge these tables were not made for.
    const GP_EdgeCrossings* Of(const CGP_Path* edge);

private:
    std::unordered_map<const CGP_Path*, size_t> m_index;
    // Each slot owns the table it holds.
    std::unique_ptr<std::atomic<GP_EdgeCrossings*>[]> m_tables;
    size_t m_count;
};
