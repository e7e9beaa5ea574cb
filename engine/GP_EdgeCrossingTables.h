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
// so nobody ever waits for a table. Once both pieces of an edge are done with its table, it is
// freed: the tables held at any time are those of the pieces being built.
class GP_EdgeCrossingTables
{
public:
    explicit GP_EdgeCrossingTables(const std::vector<const CGP_Path*>& edges);
    ~GP_EdgeCrossingTables();

    GP_EdgeCrossingTables(const GP_EdgeCrossingTables&) = delete;
    GP_EdgeCrossingTables& operator=(const GP_EdgeCrossingTables&) = delete;

    // The table of one of the edges; null for an edge these tables were not made for.
    const GP_EdgeCrossings* Of(const CGP_Path* edge);
    // A piece is done with the table of one of its edges.
    void Done(const CGP_Path* edge);

private:
    std::unordered_map<const CGP_Path*, size_t> m_index;
    // Each slot owns the table it holds.
    struct Slot
    {
        std::atomic<GP_EdgeCrossings*> table{nullptr};
        std::atomic<int> done{0};
    };
    std::unique_ptr<Slot[]> m_slots;
    size_t m_count;
};
