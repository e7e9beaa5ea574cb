#pragma once

#include <cstdint>
#include <vector>

class CGP_Path;

// Where one edge crosses each sub-row of the alpha's supersampling, worked out once for the
// rows it reaches: the two pieces an edge bounds sample the same sub-rows of the picture.
class GP_EdgeCrossings
{
public:
    // Sub-rows of a pixel row, at 0.09 + 0.2·k below its top.
    static constexpr int kSubRows = 5;
    static constexpr double kSubStart = 0.09;
    static constexpr double kSubStep = 0.2;

    explicit GP_EdgeCrossings(const CGP_Path& edge);

    // The height the alpha samples sub-row k of a picture row at.
    static double SubRowY(int row, int k) { return row + kSubStart + kSubStep * k; }

    // Appends the edge's crossings with sub-row k of the picture row, in the order its arcs
    // find them.
    void Append(int row, int k, std::vector<double>& crossings) const;

private:
    int m_firstRow = 0;
    int m_rowCount = 0;
    // Where each sub-row's crossings begin, with one more entry for the end of the last.
    std::vector<uint32_t> m_start;
    std::vector<double> m_crossings;
};
