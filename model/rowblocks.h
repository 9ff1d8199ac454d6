// The grid's rows in fixed blocks, the unit of the streamed analyses'
// arithmetic: sums are accumulated per block in row-major order and the
// blocks' sums added in block order, so a figure is the same whether the
// rows were read as one strip or many, by one process or several. A
// process takes a run of whole blocks; it reads them a strip of blocks
// at a time, with the rows around the strip an analysis's window needs.
#ifndef OROLITH_MODEL_ROWBLOCKS_H
#define OROLITH_MODEL_ROWBLOCKS_H

#include <algorithm>
#include <string>

#include "model/pairrows.h"

namespace orolith::model {

constexpr int BLOCK_ROWS = 64;

inline int blockCount(int rows) { return (rows + BLOCK_ROWS - 1) / BLOCK_ROWS; }

// Blocks [first, last).
struct BlockRange {
    int first = 0, last = 0;
};

// The blocks process `rank` of `ranks` takes: runs as even as whole blocks
// allow, in rank order.
inline BlockRange blocksOfRank(int rows, int rank, int ranks)
{
    const long long n = blockCount(rows);
    return {static_cast<int>(n * rank / ranks), static_cast<int>(n * (rank + 1) / ranks)};
}

// The blocks of a strip of about `cells` cells of `cols` columns: two at
// least, one for each core.
inline int stripBlocksFor(long long cells, int cols)
{
    return static_cast<int>(std::max<long long>(2, cells / (static_cast<long long>(BLOCK_ROWS) * std::max(cols, 1))));
}

// How a process goes through its rows: strips of `stripBlocks` blocks (0:
// all its blocks at once), worked on by up to `threads` threads taking
// whole blocks (0: as many as the cores, for a strip large enough). Under
// MPI a process a core runs one thread.
struct StreamPlan {
    int stripBlocks = 0;
    int threads = 0;
};

// Calls visit(strip, core) for the blocks of `range`, `stripBlocks` at a
// time (all at once when 0): core is the strip's own rows [first, last)
// in grid rows; the strip holds up to `halo` rows more on each side, as
// far as the grid goes. False, with the reader's message, when a strip
// cannot be read; the walk then stops.
template <class Visit>
bool forEachStrip(PairRows& rows, BlockRange range, int stripBlocks, int halo, std::string& error, Visit visit)
{
    if (stripBlocks <= 0)
        stripBlocks = std::max(1, range.last - range.first);
    PairStrip strip;
    for (int b = range.first; b < range.last; b += stripBlocks) {
        const int first = b * BLOCK_ROWS;
        const int last = std::min(rows.rows(), std::min(range.last, b + stripBlocks) * BLOCK_ROWS);
        if (!rows.read(std::max(0, first - halo), std::min(rows.rows(), last + halo), strip, error))
            return false;
        visit(strip, first, last);
    }
    return true;
}

} // namespace orolith::model

#endif
