#include "model/madegrid.h"

#include <algorithm>

namespace orolith::model {

GridData madeComparisonGrid(const GridHeader& like, int rows, int cols, std::vector<float> heights,
                            std::vector<std::uint8_t> present)
{
    GridData g;
    g.header = like;
    g.header.rows = rows;
    g.header.cols = cols;
    g.header.hasNodata = false;
    g.header.nodata = 0;
    g.heights = std::move(heights);
    if (std::find(present.begin(), present.end(), 0) != present.end()) {
        for (std::size_t i = 0; i < g.heights.size() && i < present.size(); ++i)
            if (!present[i])
                g.heights[i] = 0;
        g.present = std::move(present);
    }
    finishGrid(g, GridRole::comparison);
    return g;
}

} // namespace orolith::model
