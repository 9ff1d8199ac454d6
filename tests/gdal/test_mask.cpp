// Mask files on the DEM's grid: polygons burnt by the cell-centre rule from
// each vector format, inverted with keepInside, moved from another
// coordinate system; rasters resampled by nearest neighbour with their
// no-data and their footprint; and the refusals that name the file.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <limits>
#include <set>

#include "model/gdal/gdalmask.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;

namespace {

using Cells = std::set<std::pair<int, int>>; // (row, column)

std::string wktOf(int epsg)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    char* text = nullptr;
    OSRExportToWkt(srs, &text);
    std::string wkt = text;
    CPLFree(text);
    OSRDestroySpatialReference(srs);
    return wkt;
}

GridHeader gridAt(int rows, int cols, double west, double south, double cell, const std::string& wkt = "")
{
    GridHeader h;
    h.rows = rows;
    h.cols = cols;
    h.xllcorner = west;
    h.yllcorner = south;
    h.cellsizeX = h.cellsizeY = cell;
    h.projection = wkt;
    return h;
}

// A vector file of one layer holding the geometries given as WKT, in the
// system `epsg` (none when 0).
std::string writeLayer(const std::string& path, const char* driver, OGRwkbGeometryType type,
                       const std::vector<std::string>& wkts, int epsg = 0)
{
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName(driver), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    EXPECT_NE(ds, nullptr) << path;
    OGRSpatialReferenceH srs = nullptr;
    if (epsg) {
        srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
    }
    OGRLayerH layer = GDALDatasetCreateLayer(ds, "shapes", srs, type, nullptr);
    for (const std::string& wkt : wkts) {
        OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGRGeometryH g = nullptr;
        char* text = const_cast<char*>(wkt.c_str());
        EXPECT_EQ(OGR_G_CreateFromWkt(&text, srs, &g), OGRERR_NONE) << wkt;
        OGR_F_SetGeometryDirectly(f, g);
        EXPECT_EQ(OGR_L_CreateFeature(layer, f), OGRERR_NONE);
        OGR_F_Destroy(f);
    }
    if (srs)
        OSRDestroySpatialReference(srs);
    GDALClose(ds);
    return path;
}

std::string box(double west, double south, double east, double north)
{
    char text[256];
    std::snprintf(text, sizeof text, "POLYGON ((%.9f %.9f,%.9f %.9f,%.9f %.9f,%.9f %.9f,%.9f %.9f))", west, south, east,
                  south, east, north, west, north, west, south);
    return text;
}

// The mask as 1 on the given cells and `elsewhere` on all others.
std::vector<std::uint8_t> expected(const GridHeader& h, const Cells& cells, std::uint8_t onThem)
{
    std::vector<std::uint8_t> m(h.cells(), static_cast<std::uint8_t>(1 - onThem));
    for (const auto& [r, c] : cells)
        m[static_cast<std::size_t>(r) * h.cols + c] = onThem;
    return m;
}

// 6 rows of 8 cells of 10 m; row 0 spans y 2050 to 2060, column 0 x 1000
// to 1010: cell (r, c) has its centre at (1005 + 10c, 2055 - 10r).
const GridHeader SMALL = gridAt(6, 8, 1000, 2000, 10);

TEST(MaskFiles, PolygonsBurnTheCellsWhoseCentresTheyHoldInEachFormat)
{
    ScratchDir dir;
    const Cells rows1to2cols2to4 = {{1, 2}, {1, 3}, {1, 4}, {2, 2}, {2, 3}, {2, 4}};
    struct {
        const char* name;
        std::vector<std::string> polygons;
        Cells inside;
    } shapes[] = {
        {"on the cells' edges", {box(1020, 2030, 1050, 2050)}, rows1to2cols2to4},
        {"within the outer cells, past their centres", {box(1024, 2034, 1046, 2046)}, rows1to2cols2to4},
        {"short of the outer cells' centres", {box(1026, 2026, 1044, 2044)}, {{2, 3}}},
        {"two apart, one beyond the grid",
         {box(990, 2040, 1010, 2070), box(1070, 1990, 1100, 2010)},
         {{0, 0}, {1, 0}, {5, 7}}},
        // Its long edge runs from (1080, 2000) to (1000, 2060): in row r the
        // centres below it are those of the columns under (r + 0.125) / 0.75.
        {"a triangle",
         {"POLYGON ((1000 2000,1080 2000,1000 2060,1000 2000))"},
         {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 0},
          {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}}},
    };
    struct {
        const char* driver;
        const char* extension;
    } formats[] = {{"GPKG", ".gpkg"}, {"GeoJSON", ".geojson"}, {"ESRI Shapefile", ".shp"}};
    int n = 0;
    for (const auto& shape : shapes)
        for (const auto& format : formats) {
            SCOPED_TRACE(std::string(shape.name) + ", " + format.driver);
            const std::string path = dir.path + "/shape" + std::to_string(n++) + format.extension;
            writeLayer(path, format.driver, wkbPolygon, shape.polygons);
            for (const bool keepInside : {false, true}) {
                std::vector<std::uint8_t> mask;
                std::string error;
                ASSERT_TRUE(readMaskFile({path, keepInside}, SMALL, mask, error)) << error;
                EXPECT_EQ(mask, expected(SMALL, shape.inside, keepInside ? 1 : 0)) << "keepInside " << keepInside;
            }
        }
}

TEST(MaskFiles, AMultiPolygonWithAHoleLeavesTheHoleOutside)
{
    ScratchDir dir;
    const std::string path = writeLayer(dir.path + "/holes.gpkg", "GPKG", wkbMultiPolygon,
                                        {"MULTIPOLYGON (((1000 2000,1030 2000,1030 2030,1000 2030,1000 2000),"
                                         "(1010 2010,1020 2010,1020 2020,1010 2020,1010 2010)),"
                                         "((1070 2050,1080 2050,1080 2060,1070 2060,1070 2050)))"});
    Cells inside = {{0, 7}};
    for (int r = 3; r < 6; ++r)
        for (int c = 0; c < 3; ++c)
            if (!(r == 4 && c == 1))
                inside.insert({r, c});
    std::vector<std::uint8_t> mask;
    std::string error;
    ASSERT_TRUE(readMaskFile({path, false}, SMALL, mask, error)) << error;
    EXPECT_EQ(mask, expected(SMALL, inside, 0));
}

TEST(MaskFiles, PolygonsInLongitudeAndLatitudeLandOnAUtmGrid)
{
    GDALAllRegister();
    ScratchDir dir;
    // 20 x 20 cells of 100 m in UTM zone 25 south, as the real DEM beside
    // the project is; the polygon covers rows 5 to 9 and columns 6 to 11,
    // its corners 15 m within their outer edges (the edges, straight in
    // degrees, bow a little in metres).
    const GridHeader utm = gridAt(20, 20, 295000, 9115000, 100, wktOf(32725));
    const double top = 9115000 + 2000;
    double x[4] = {295000 + 600 + 15, 295000 + 1200 - 15, 295000 + 1200 - 15, 295000 + 600 + 15};
    double y[4] = {top - 1000 + 15, top - 1000 + 15, top - 500 - 15, top - 500 - 15};
    OGRSpatialReferenceH from = OSRNewSpatialReference(nullptr), to = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(from, 32725);
    OSRImportFromEPSG(to, 4326);
    OSRSetAxisMappingStrategy(from, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH t = OCTNewCoordinateTransformation(from, to);
    ASSERT_TRUE(OCTTransform(t, 4, x, y, nullptr));
    OCTDestroyCoordinateTransformation(t);
    OSRDestroySpatialReference(from);
    OSRDestroySpatialReference(to);
    EXPECT_NEAR(x[0], -34.85, 0.1) << "longitude first";
    char ring[512];
    std::snprintf(ring, sizeof ring, "POLYGON ((%.10f %.10f,%.10f %.10f,%.10f %.10f,%.10f %.10f,%.10f %.10f))", x[0],
                  y[0], x[1], y[1], x[2], y[2], x[3], y[3], x[0], y[0]);
    Cells inside;
    for (int r = 5; r <= 9; ++r)
        for (int c = 6; c <= 11; ++c)
            inside.insert({r, c});
    for (const char* name : {"lonlat.gpkg", "lonlat.geojson"}) {
        SCOPED_TRACE(name);
        const std::string path =
            writeLayer(dir.path + "/" + name, std::string(name).find("gpkg") != std::string::npos ? "GPKG" : "GeoJSON",
                       wkbPolygon, {ring}, 4326);
        std::vector<std::uint8_t> mask;
        std::string error;
        ASSERT_TRUE(readMaskFile({path, true}, utm, mask, error)) << error;
        EXPECT_EQ(mask, expected(utm, inside, 1));
    }
}

// Rasters of 15 m cells whose corner is off the DEM's by (-7, +7) m: no
// DEM cell centre falls on one of their cell edges, so each takes the
// value of exactly one raster cell, or none beyond the raster. Bytes, the
// usual mask, and the types whose fractions or negative values must stay
// non-zero.
TEST(MaskFiles, RastersAreResampledByNearestNeighbourWithNoDataAndFootprintUnstable)
{
    GDALAllRegister();
    ScratchDir dir;
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    struct {
        const char* name;
        GDALDataType type;
        std::vector<double> cycle; // the cells' values, round and round
        bool hasNodata;
        double nodata;
    } cases[] = {
        {"bytes", GDT_Byte, {0, 1, 2, 255, 7}, true, 255},
        {"floats", GDT_Float32, {0, 0.5, 2, -9999, -1}, true, -9999},
        {"floats, NaN undeclared", GDT_Float32, {0, NaN, 0.001, 3, -1}, false, 0},
        {"16-bit integers", GDT_Int16, {0, 3, -1, -32768, 1}, true, -32768},
    };
    const int rows = 5, cols = 5;
    const double west = 993, north = 2067, cell = 15;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<double> values(rows * cols);
        for (int i = 0; i < rows * cols; ++i)
            values[static_cast<std::size_t>(i)] = k.cycle[static_cast<std::size_t>(i * 3 + i / cols) % 5];
        const std::string path = dir.path + "/mask.tif";
        GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), cols, rows, 1, k.type, nullptr);
        double gt[6] = {west, cell, 0, north, 0, -cell};
        GDALSetGeoTransform(ds, gt);
        if (k.hasNodata)
            GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), k.nodata);
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, cols, rows, values.data(), cols, rows,
                               GDT_Float64, 0, 0),
                  CE_None);
        GDALClose(ds);

        const GridHeader dem = gridAt(8, 8, 1000, 2000, 10); // x 1000 to 1080, y 2000 to 2080
        std::vector<std::uint8_t> mask;
        std::string error;
        ASSERT_TRUE(readMaskFile({path, false}, dem, mask, error)) << error;
        ASSERT_EQ(mask.size(), dem.cells());
        int stable = 0, beyond = 0;
        for (int r = 0; r < dem.rows; ++r)
            for (int c = 0; c < dem.cols; ++c) {
                const double x = 1005 + 10 * c, y = 2075 - 10 * r;
                const int sr = static_cast<int>(std::floor((north - y) / cell)),
                          sc = static_cast<int>(std::floor((x - west) / cell));
                const bool covered = sr >= 0 && sr < rows && sc >= 0 && sc < cols;
                const double v = covered ? values[static_cast<std::size_t>(sr * cols + sc)] : 0.0;
                const int wanted = covered && v != 0 && !std::isnan(v) && !(k.hasNodata && v == k.nodata);
                stable += wanted;
                beyond += !covered;
                EXPECT_EQ(mask[static_cast<std::size_t>(r) * dem.cols + c], wanted) << "cell " << r << ", " << c;
            }
        EXPECT_GT(stable, 10);
        EXPECT_EQ(beyond, 15) << "row 0 and column 7 lie beyond the raster";
    }
}

TEST(MaskFiles, ARasterWithoutGeoreferenceOfTheDemsSizeIsTakenCellForCell)
{
    GDALAllRegister();
    ScratchDir dir;
    const std::string path = dir.path + "/plain.png";
    std::vector<std::uint8_t> values(SMALL.cells());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 0 : 255);
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", SMALL.cols, SMALL.rows, 1, GDT_Byte, nullptr);
    ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(mem, 1), GF_Write, 0, 0, SMALL.cols, SMALL.rows, values.data(), SMALL.cols,
                           SMALL.rows, GDT_Byte, 0, 0),
              CE_None);
    GDALClose(GDALCreateCopy(GDALGetDriverByName("PNG"), path.c_str(), mem, FALSE, nullptr, nullptr, nullptr));
    GDALClose(mem);
    std::vector<std::uint8_t> mask;
    std::string error;
    ASSERT_TRUE(readMaskFile({path, false}, SMALL, mask, error)) << error;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(mask[i], values[i] != 0) << i;
    EXPECT_FALSE(readMaskFile({path, false}, gridAt(5, 8, 1000, 2000, 10), mask, error));
    EXPECT_NE(error.find("a raster without a georeference, and not of the DEM's 5 x 8 cells"), std::string::npos)
        << error;
}

TEST(MaskFiles, RefusalsNameTheFile)
{
    ScratchDir dir;
    struct {
        const char* name;
        std::string path;
        std::string says;
    } cases[] = {
        {"missing", dir.path + "/none.gpkg", "cannot be opened as a polygon layer or a raster"},
        {"empty", dir.write("empty.gpkg", ""), "cannot be opened as a polygon layer or a raster"},
        {"lines", writeLayer(dir.path + "/roads.gpkg", "GPKG", wkbLineString, {"LINESTRING (1000 2000,1050 2050)"}),
         "has no polygon layer and is not a raster (its layer \"shapes\" holds Line String geometries)"},
        {"points", writeLayer(dir.path + "/spots.geojson", "GeoJSON", wkbPoint, {"POINT (1000 2000)"}),
         "has no polygon layer and is not a raster (its layer \"shapes\" holds Point geometries)"},
        {"a table", dir.write("table.csv", "a,b\n1,2\n"),
         "has no polygon layer and is not a raster (its layer \"table\" holds no geometry)"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<std::uint8_t> mask{1};
        std::string error;
        EXPECT_FALSE(readMaskFile({k.path, false}, SMALL, mask, error));
        EXPECT_EQ(error.rfind("file \"" + k.path + "\": " + k.says, 0), 0u) << error;
        EXPECT_TRUE(mask.empty());
    }
}

} // namespace
