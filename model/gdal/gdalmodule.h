// What the GDAL module, orolith-gdal.so, offers the program that loads it
// at run time. Free of GDAL's headers: the program includes it too, and
// links no GDAL.
#ifndef OROLITH_MODEL_GDAL_GDALMODULE_H
#define OROLITH_MODEL_GDAL_GDALMODULE_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/align.h"
#include "model/gridfile.h"
#include "model/pointio.h"

namespace orolith::model {

struct GdalLonLat; // the module's transformation to longitude and latitude

// Raised whenever GdalModule, RasterReader, RasterRowReader, RasterRowWriter, GridWarper, GridHeader, ModelError
// or the types of model/pointio.h change: a module built against other layouts is refused, not called.
constexpr int GDAL_MODULE_VERSION = 6;

struct GdalModule {
    int version; // GDAL_MODULE_VERSION of the module's build
    RasterReader reader;
    bool (*writeGeoTiff)(const std::string& path, const GridHeader& georef, const std::vector<float>& values,
                         float nodata, ModelError& err);
    GridWarper warper;
    // Checkpoints from a table or a point layer (model/gdal/gdalpoints.h).
    bool (*readPoints)(const PointSource& source, std::vector<Checkpoint>& points, std::string& error);
    // A mask file on the DEM's grid (MaskSource): one value a cell,
    // non-zero where stable.
    bool (*readMask)(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                     std::string& error);
    // Residuals as a CSV table (.csv) or a GeoPackage point layer (.gpkg)
    // in the DEM's system (`demWkt`, may be empty).
    bool (*writeResiduals)(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                           std::string& error);
    // Longitude and latitude in WGS 84 of points in a grid's system, given
    // as WKT (model/gdal/gdallonlat.h): open once, convert each point, close.
    GdalLonLat* (*openLonLat)(const std::string& wkt);
    bool (*toLonLat)(GdalLonLat* t, double x, double y, double& lon, double& lat);
    void (*closeLonLat)(GdalLonLat* t);
    // Rows of a raster a strip at a time (RasterRowReader), and of a
    // GeoTIFF written (RasterRowWriter).
    RasterRowReader rows;
    RasterRowWriter tiffRows;
};

// The module's file name, and the one symbol it exports: an extern "C"
// function of type GdalModuleEntry.
constexpr const char* GDAL_MODULE_FILE = "orolith-gdal.so";
constexpr const char* GDAL_MODULE_ENTRY = "orolithGdalModule";
using GdalModuleEntry = const GdalModule* (*)();

} // namespace orolith::model

#endif
