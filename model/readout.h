// What the grids hold at one place of the DEM: the values a user reads
// under the mouse and keeps in the pick list. The place is a fractional
// grid position (row 0 the northern row, grid points at cell centres);
// the values are those of the grid cell that holds it, from the full
// grids and the analyses of the data set. A value the data do not have
// there (an absent cell, a border point without a 3 x 3 window, no
// comparison data) is empty, never a number standing in for one.
#ifndef OROLITH_MODEL_READOUT_H
#define OROLITH_MODEL_READOUT_H

#include <optional>

#include "model/dataset.h"
#include "model/lonlat.h"

namespace orolith::model {

// A class of the classes a cell is coloured by: its index (the top class
// 0) among `count`, in `unit`.
struct ClassAt {
    int index = 0;
    int count = 0;
    float unit = 1;
};

struct CellReadout {
    double x = 0, y = 0;  // map coordinates of the place
    int row = 0, col = 0; // the cell that holds it
    std::optional<double> dem, comparison;
    std::optional<double> difference; // DEM minus comparison
    std::optional<double> slope;      // degrees, Horn's
    std::optional<double> aspect;     // compass degrees of the downhill direction; none on flat ground
    std::optional<double> curvature;  // the magnitude of the Laplacian the curvature classes take
    std::optional<ClassAt> curvatureClass, differenceClass, curvatureDifferenceClass;
};

// The map coordinates of a fractional grid position.
struct MapPoint {
    double x = 0, y = 0;
};
MapPoint mapPointOf(const GridHeader& dem, double row, double col);

// The readout at grid position (row, col) of the data set's DEM; the
// position is brought onto the grid first.
CellReadout readoutAt(const DataSet& d, double row, double col);

} // namespace orolith::model

#endif
