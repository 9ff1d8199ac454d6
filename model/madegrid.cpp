#include "model/madegrid.h"

GridData madeComparisonGrid(const GridHeader& like, int rows, int cols, std::vector<float> heights)
{
    GridData g;
    g.header = like;
    g.header.rows = rows;
    g.header.cols = cols;
    g.heights = std::move(heights);
    // As the reader finishes a grid: the extremes move only beyond their
    // start values.
    for (float v : g.heights) {
        if (v > g.zmax)
            g.zmax = v;
        if (v < g.zmin)
            g.zmin = v;
    }
    g.contourInt = detectContourInterval(g.heights.data(), g.heights.size());
    return g;
}
