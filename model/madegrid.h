// Grids made in memory rather than read from a file, such as the comparison
// grid moved back by a co-registration, in the form a load takes them.
#ifndef OROLITH_MODEL_MADEGRID_H
#define OROLITH_MODEL_MADEGRID_H

#include <cstdint>
#include <vector>

#include "model/gridfile.h"

namespace orolith::model {

// Comparison heights (row-major, rows x cols) under `like`'s header with
// that size, and the extremes and contour interval that reading them from
// a file would have given: what replaceComparison(GridData&&) takes.
// `present` (empty: all) marks the cells that hold a height; the others
// are stored as 0, as a file without a no-data value has them.
GridData madeComparisonGrid(const GridHeader& like, int rows, int cols, std::vector<float> heights,
                            std::vector<std::uint8_t> present = {});

} // namespace orolith::model

#endif
