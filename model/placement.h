// Where two grids lie: whether a comparison grid can be compared with the
// DEM cell by cell, or must first be resampled onto the DEM's grid. Two
// grids of the same size that lie 10 km apart, or in two coordinate
// systems, have nothing to say about each other cell by cell.
#ifndef OROLITH_MODEL_PLACEMENT_H
#define OROLITH_MODEL_PLACEMENT_H

#include <string>

#include "model/gridfile.h"

namespace orolith::model {

enum class Placement {
    same,     // the same grid: compared cell by cell
    unplaced, // a comparison of the DEM's size with its corner at exactly (0, 0): compared cell by cell
    differs,  // anywhere else: aligned first, or refused
};

// "On the same grid": the same rows and columns, corners within half a cell,
// cell sizes within 1e-6 relative, and, when both name a coordinate system,
// the same one. A comparison of the DEM's size whose corner is exactly
// (0, 0) is compared cell by cell too: sparse and contour files are often
// written without a placement.
// `reader` (GDAL's, may be null) tells coordinate systems apart.
Placement placementOf(const GridHeader& dem, const GridHeader& comparison, const RasterReader* reader);

// Whether two grids' coordinate systems are the same: true when either
// names none (nothing to tell them apart by). Asks the raster reader
// (GDAL) when there is one, else compares the texts.
bool sameCoordinateSystem(const GridHeader& a, const GridHeader& b, const RasterReader* reader);

// A grid's placement in words: "111 x 111 cells of 89.99406735 at corner
// (288776.25, 9110771.41), WGS 84 / UTM zone 25S".
std::string placementText(const GridHeader& h);

// Why two grids are not compared cell by cell: both placements, and how to
// align them (`how`: "give --align" on the command line, "tick \"Align to
// the DEM's grid\"" in the viewer). Starts with "Grid sizes do not match"
// when their sizes differ.
std::string placementMessage(const GridHeader& dem, const GridHeader& comparison, const std::string& how);

} // namespace orolith::model

#endif
