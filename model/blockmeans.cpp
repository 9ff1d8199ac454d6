#include "model/blockmeans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orolith::model {

namespace {

// Means over blocks of whatever `valueAt` gives; NaN from it is absent.
template <typename ValueAt>
BlockMeans meansOf(int rows, int cols, int block, ValueAt valueAt)
{
    BlockMeans out;
    out.block = block < 1 ? 1 : block;
    out.rows = (rows + out.block - 1) / out.block;
    out.cols = (cols + out.block - 1) / out.block;
    out.values.assign(static_cast<std::size_t>(out.rows) * out.cols, std::numeric_limits<float>::quiet_NaN());
    std::vector<double> sum(out.cols);
    std::vector<int> count(out.cols);
    for (int br = 0; br < out.rows; ++br) {
        std::fill(sum.begin(), sum.end(), 0.0);
        std::fill(count.begin(), count.end(), 0);
        const int lastRow = std::min(rows, (br + 1) * out.block);
        for (int r = br * out.block; r < lastRow; ++r)
            for (int c = 0; c < cols; ++c) {
                const double v = valueAt(r, c);
                if (std::isnan(v))
                    continue;
                sum[c / out.block] += v;
                ++count[c / out.block];
            }
        for (int bc = 0; bc < out.cols; ++bc)
            if (count[bc])
                out.values[static_cast<std::size_t>(br) * out.cols + bc] = static_cast<float>(sum[bc] / count[bc]);
    }
    return out;
}

} // namespace

int blockSideFor(int rows, int cols, int maxSide)
{
    const int longer = std::max(rows, cols);
    if (maxSide < 1 || longer <= maxSide)
        return 1;
    return (longer + maxSide - 1) / maxSide;
}

BlockMeans blockMeans(const GridView& grid, int block)
{
    return meansOf(grid.rows, grid.cols, block, [&](int r, int c) {
        const std::size_t i = grid.index(r, c);
        return grid.isPresent(i) ? static_cast<double>(grid.heights[i]) : std::numeric_limits<double>::quiet_NaN();
    });
}

BlockMeans blockMeansOfDifference(const GridView& grid, const GridView& other, int block)
{
    return meansOf(grid.rows, grid.cols, block, [&](int r, int c) {
        const std::size_t i = grid.index(r, c);
        if (!grid.isPresent(i) || !other.isPresent(i))
            return std::numeric_limits<double>::quiet_NaN();
        return static_cast<double>(grid.heights[i]) - static_cast<double>(other.heights[i]);
    });
}

} // namespace orolith::model
