// The GDAL module's only exported symbol; everything else in it is hidden,
// so its copies of the reader and of GDAL's users clash with nothing.
#include "model/gdal/gdallonlat.h"
#include "model/gdal/gdalmask.h"
#include "model/gdal/gdalmodule.h"
#include "model/gdal/gdalpoints.h"
#include "model/gdal/gdalraster.h"
#include "model/gdal/gdalresiduals.h"

namespace orolith::model {

namespace {

// One member a line, in GdalModule's order.
// clang-format off
constexpr GdalModule gdalModule{
    GDAL_MODULE_VERSION,
    {readGdalHeader, readGdalHeights, describeGdalCrs, sameGdalCrs},
    writeGeoTiff,
    {warpGdal, transformGdal},
    readPointFile,
    readMaskFile,
    writeResidualFile,
    openGdalLonLat,
    gdalLonLat,
    closeGdalLonLat,
    {openGdalRows, readGdalRows, closeGdalRows},
    {createGdalTiff, writeGdalRows, closeGdalTiff},
};
// clang-format on

} // namespace

extern "C" __attribute__((visibility("default"))) const GdalModule* orolithGdalModule() { return &gdalModule; }

} // namespace orolith::model
