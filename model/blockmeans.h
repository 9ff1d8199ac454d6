// A grid made smaller for a picture: each cell of the result is the mean of
// the present cells of a square block of the grid, absent (NaN) where the
// block has none. The report's maps of a large grid are drawn from it.
#ifndef OROLITH_MODEL_BLOCKMEANS_H
#define OROLITH_MODEL_BLOCKMEANS_H

#include <vector>

#include "model/gridview.h"

namespace orolith::model {

struct BlockMeans {
    int rows = 0, cols = 0;
    int block = 1;             // the side of a block in grid cells
    std::vector<float> values; // row-major, NaN where absent
};

// The smallest block that leaves at most `maxSide` cells on the longer side
// (1: the grid as it is, absent cells NaN).
int blockSideFor(int rows, int cols, int maxSide);

// The block means of `grid` with blocks of `block` cells a side; the last
// row and column of blocks may be cut short by the grid's edge.
BlockMeans blockMeans(const GridView& grid, int block);

// The same of the differences grid minus other (both on one grid), present
// where both are; the means in double.
BlockMeans blockMeansOfDifference(const GridView& grid, const GridView& other, int block);

} // namespace orolith::model

#endif
