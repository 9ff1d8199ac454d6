// The VRT that joins the GeoTIFFs the processes of an MPI export wrote,
// each holding a run of the grid's rows at full width, into one raster
// that GDAL and every tool on it read as the whole grid.
#ifndef OROLITH_MODEL_MOSAICVRT_H
#define OROLITH_MODEL_MOSAICVRT_H

#include <string>
#include <vector>

#include "model/gridfile.h"

namespace orolith::model {

// One part: its file (as the VRT names it: relative to the VRT's folder)
// and the grid rows [first, first + rows) it holds.
struct MosaicPart {
    std::string file;
    int first = 0, rows = 0;
};

// The VRT's XML: the grid of `georef` (rows, columns, corner, cells,
// coordinate system), float heights, `nodata` its no-data value.
std::string mosaicVrt(const GridHeader& georef, float nodata, const std::vector<MosaicPart>& parts);

// The part files of an export to `vrtPath` (ending ".vrt"): beside it, its
// name without ".vrt", "_", the process's rank, ".tif".
std::string mosaicPartPath(const std::string& vrtPath, int rank);

} // namespace orolith::model

#endif
