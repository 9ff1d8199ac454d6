// The checkpoints' residuals written out: a CSV table any program reads,
// or a GeoPackage point layer a GIS shows over the DEM.
#ifndef OROLITH_MODEL_GDAL_GDALRESIDUALS_H
#define OROLITH_MODEL_GDAL_GDALRESIDUALS_H

#include <string>
#include <vector>

#include "model/pointio.h"

namespace orolith::model {

// By the extension of `path`: .csv, a table with the header
// x,y,z,dem_height,d,slope,class (every number as it round-trips, NaN as
// an empty field); .gpkg, the layer "residuals" of points in `demWkt`'s
// system (an undefined Cartesian one when empty) with those fields. The file appears whole or
// not at all, replacing one of the same name. False, with a message naming
// the file, otherwise.
bool writeResidualFile(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                       std::string& error);

} // namespace orolith::model

#endif
