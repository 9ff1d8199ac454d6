// A mask file made into one value a DEM cell (see MaskSource): a polygon
// layer burnt onto the DEM's grid by the cell-centre rule, its polygons
// moved into the DEM's coordinate system first, or a raster resampled onto
// the grid by nearest neighbour.
#ifndef OROLITH_MODEL_GDAL_GDALMASK_H
#define OROLITH_MODEL_GDAL_GDALMASK_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/pointio.h"

namespace orolith::model {

// `mask` gets dem.cells() values, row 0 the northern row, 1 where the
// ground is stable and 0 elsewhere. False, with a message naming the file,
// when it is neither a polygon layer nor a raster GDAL reads.
bool readMaskFile(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask, std::string& error);

} // namespace orolith::model

#endif
