#include "engine/GP_EdgeCrossingTables.h"
#include "engine/GP_Path.h"

#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>

namespace {
// Edges of every shipped pattern, both ways round, across and down a picture, at fractional
// corners as a jittered cut makes them.
std::vector<std::unique_ptr<CGP_Path>> ShippedEdges()
{
    CGP_Path patterns[kPatternCount];
    EXPECT_EQ(LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS"))), kPatternCount);
    std::vector<std::unique_ptr<CGP_Path>> edges;
    for (const CGP_Path& pattern : patterns) {
        for (int direction = 0; direction < 2; ++direction) {
            edges.push_back(MakeEdge(&pattern, direction, 40.37, 60.91, 83.2, 62.4));
            edges.push_back(MakeEdge(&pattern, direction, 83.2, 62.4, 81.75, 105.03));
        }
    }
    return edges;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}
} // namespace

TEST(EdgeCrossingsTest, TableHoldsExactlyTheCrossingsOfEverySubRow)
{
    int crossed = 0;
    for (const auto& edge : ShippedEdges()) {
        ASSERT_TRUE(edge);
        const GP_EdgeCrossings table(*edge);
        const GP_EdgeBox box = EdgeBounds(edge.get());
        // Rows beyond the edge's reach too: the table has nothing there, and neither has the edge.
        for (int row = box.top - 4; row <= box.bottom + 4; ++row) {
            for (int k = 0; k < GP_EdgeCrossings::kSubRows; ++k) {
                std::vector<double> fromTable{-1.0};
                table.Append(row, k, fromTable);
                fromTable.erase(fromTable.begin());
                const std::vector<double> direct = CrossingsAtY(edge.get(), GP_EdgeCrossings::SubRowY(row, k));
                ASSERT_TRUE(SameBits(fromTable, direct)) << "row " << row << " sub-row " << k;
                crossed += !direct.empty();
            }
        }
    }
    EXPECT_GT(crossed, 1000);
    // The sub-rows lie where the alpha has always sampled them.
    EXPECT_EQ(GP_EdgeCrossings::SubRowY(7, 0), 7.09);
    EXPECT_EQ(GP_EdgeCrossings::SubRowY(7, 4), 7 + 0.09 + 0.2 * 4);
}

TEST(EdgeCrossingsTest, BuildersAskingAtOnceShareOneTablePerEdge)
{
    const auto edges = ShippedEdges();
    std::vector<const CGP_Path*> known;
    for (const auto& edge : edges)
        known.push_back(edge.get());
    const CGP_Path stranger;
    const Deadline deadline("the builders' turns at the shared tables");

    for (int round = 0; round < 20; ++round) {
        GP_EdgeCrossingTables tables(known);
        std::vector<const GP_EdgeCrossings*> forward(known.size()), backward(known.size());
        std::thread other([&] {
            for (size_t i = known.size(); i-- > 0;)
                backward[i] = tables.Of(known[i]);
        });
        for (size_t i = 0; i < known.size(); ++i)
            forward[i] = tables.Of(known[i]);
        other.join();
        for (size_t i = 0; i < known.size(); ++i) {
            ASSERT_NE(forward[i], nullptr);
            ASSERT_EQ(forward[i], backward[i]) << "edge " << i;
            ASSERT_EQ(tables.Of(known[i]), forward[i]);
        }
        EXPECT_EQ(tables.Of(&stranger), nullptr);
        EXPECT_EQ(tables.Of(nullptr), nullptr);

        // Both pieces of an edge done: the table goes, and one asked for again is made anew.
        std::thread first([&] {
            for (const CGP_Path* edge : known)
                tables.Done(edge);
        });
        first.join();
        EXPECT_EQ(tables.Of(known[0]), forward[0]);
        std::thread second([&] {
            for (const CGP_Path* edge : known)
                tables.Done(edge);
        });
        second.join();
        const GP_EdgeCrossings* again = tables.Of(known[1]);
        ASSERT_NE(again, nullptr);
        std::vector<double> row;
        again->Append(62, 2, row);
        EXPECT_TRUE(SameBits(row, CrossingsAtY(known[1], GP_EdgeCrossings::SubRowY(62, 2))));
        tables.Done(&stranger);
    }
}
