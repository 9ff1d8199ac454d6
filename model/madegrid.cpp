#include "model/madegrid.h"

GridData madeComparisonGrid(const GridHeader& like, int rows, int cols, std::vector<float> heights)
{
    GridData g;
    g.header = like;
    g.header.rows = rows;
    g.header.cols = cols;
    g.heights = std::move(heights);
    finishGrid(g, GridRole::comparison);
    return g;
}
