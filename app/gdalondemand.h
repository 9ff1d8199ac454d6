// GDAL on demand: the program links no GDAL but loads its GDAL module,
// orolith-gdal.so beside the executable, the first time a file is not a
// text grid or a GeoTIFF is to be written. Runs that read text grids alone
// never load it.
#ifndef OROLITH_APP_GDALONDEMAND_H
#define OROLITH_APP_GDALONDEMAND_H

#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/gridfile.h"
#include "model/pointio.h"

namespace orolith::ui {

// A raster reader and a grid warper that go through the module, when the
// module lies beside the executable; the module is loaded the first time
// one of them is called. Without the module, neither: text grids only, as
// in a build without GDAL.
GridIo gdalOnDemandGridIo();

// Writes a GeoTIFF through the module (values row-major, row 0 the northern
// row, with the georeference of `georef`). False, with a message, when the
// module is missing or cannot be loaded.
bool writeGeoTiffOnDemand(const std::string& path, const GridHeader& georef, const std::vector<float>& values,
                          float nodata, ModelError& err);

// The module's point, mask and residual functions (model/pointio.h); false,
// with a message, when the module is missing or fails.
bool readPointsOnDemand(const PointSource& source, std::vector<Checkpoint>& points, std::string& error);
bool readMaskOnDemand(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                      std::string& error);
bool writeResidualsOnDemand(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                            std::string& error);

} // namespace orolith::ui

#endif
