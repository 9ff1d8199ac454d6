// Checkpoints read through GDAL's vector library: a CSV table (its columns
// named x, y, z and optionally class, or as given; comma, semicolon or tab)
// or any point layer GDAL reads (GeoPackage, GeoJSON, shapefile), moved
// into the DEM's coordinate system when they are in another.
#ifndef OROLITH_MODEL_GDAL_GDALPOINTS_H
#define OROLITH_MODEL_GDAL_GDALPOINTS_H

#include <string>
#include <vector>

#include "model/checkpoints.h"
#include "model/pointio.h"

namespace orolith::model {

// False, with a message naming the file (and for a table the line and the
// column at fault), when the file cannot be read as points.
bool readPointFile(const PointSource& source, std::vector<Checkpoint>& points, std::string& error);

} // namespace orolith::model

#endif
