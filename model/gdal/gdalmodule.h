// What the GDAL module, orolith-gdal.so, offers the program that loads it
// at run time. Free of GDAL's headers: the program includes it too, and
// links no GDAL.
#ifndef OROLITH_MODEL_GDAL_GDALMODULE_H
#define OROLITH_MODEL_GDAL_GDALMODULE_H

#include <string>
#include <vector>

#include "model/align.h"
#include "model/gridfile.h"

namespace orolith::model {

// Raised whenever GdalModule, RasterReader, GridWarper, GridHeader or ModelError
// change: a module built against other layouts is refused, not called.
constexpr int GDAL_MODULE_VERSION = 3;

struct GdalModule {
    int version; // GDAL_MODULE_VERSION of the module's build
    RasterReader reader;
    bool (*writeGeoTiff)(const std::string& path, const GridHeader& georef, const std::vector<float>& values,
                         float nodata, ModelError& err);
    GridWarper warper;
};

// The module's file name, and the one symbol it exports: an extern "C"
// function of type GdalModuleEntry.
constexpr const char* GDAL_MODULE_FILE = "orolith-gdal.so";
constexpr const char* GDAL_MODULE_ENTRY = "orolithGdalModule";
using GdalModuleEntry = const GdalModule* (*)();

} // namespace orolith::model

#endif
