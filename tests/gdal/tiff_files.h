// GeoTIFFs written through GDAL's C API for the tests, and their ESRI
// ASCII twins.
#ifndef OROLITH_TESTS_GDAL_TIFF_FILES_H
#define OROLITH_TESTS_GDAL_TIFF_FILES_H

#include <gtest/gtest.h>

#include <gdal.h>

#include "dialogs/names.h"
#include "model/gridfile.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;
using namespace orolith::ui;

struct TiffSpec {
    GDALDataType type = GDT_Float32;
    bool nodata = false;
    bool southUp = false;
    double rotation = 0;
    double cellHeight = 30; // of a square cell unless changed
    int bands = 1;
};

// A raster whose heights are those of `grid` (row 0 the northern row), with
// the corner (600000, 5100000) and 30 m cells.
inline std::string writeTiff(const ScratchDir& dir, const std::string& name, const Grid& grid, const TiffSpec& spec)
{
    GDALAllRegister();
    const std::string path = dir.path + "/" + name;
    GDALDatasetH ds =
        GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), grid.cols, grid.rows, spec.bands, spec.type, nullptr);
    const double top = 5100000.0 + grid.rows * spec.cellHeight;
    double northUp[6] = {600000, 30, spec.rotation, top, 0, -spec.cellHeight};
    double southUp[6] = {600000, 30, 0, 5100000, 0, spec.cellHeight};
    GDALSetGeoTransform(ds, spec.southUp ? southUp : northUp);
    std::vector<float> values = grid.h;
    if (spec.southUp)
        for (int r = 0; r < grid.rows; ++r)
            std::copy(grid.h.begin() + r * grid.cols, grid.h.begin() + (r + 1) * grid.cols,
                      values.begin() + (grid.rows - 1 - r) * grid.cols);
    for (int b = 1; b <= spec.bands; ++b) {
        GDALRasterBandH band = GDALGetRasterBand(ds, b);
        if (spec.nodata)
            GDALSetRasterNoDataValue(band, -9999);
        EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, 0, grid.cols, grid.rows, values.data(), grid.cols, grid.rows,
                               GDT_Float32, 0, 0),
                  CE_None);
    }
    GDALClose(ds);
    return path;
}

// The same heights as an ESRI ASCII grid with the same georeference.
inline std::string writeTwin(const ScratchDir& dir, const std::string& name, const Grid& grid, bool nodata)
{
    std::string text = asciiHeader(grid.rows, grid.cols, 600000, 5100000, 30, 30, nodata, -9999);
    std::string body = grid.text();
    return dir.write(name,
                     text + body.substr(body.find("cellsize") + body.substr(body.find("cellsize")).find('\n') + 1));
}

#endif
