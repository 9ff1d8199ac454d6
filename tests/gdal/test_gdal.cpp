// Rasters through GDAL: GeoTIFFs (float and 16-bit integers, with and
// without a no-data value, north-up or stored south-up) load to the grid
// their ESRI ASCII twins load to and give the same report; rotated rasters,
// non-square cells and several bands are refused with a message; exported
// values round-trip through GeoTIFF.
#include <gtest/gtest.h>

#include "dialogs/names.h"
#include "model/export.h"
#include "model/gdal/gdalraster.h"
#include "model/load.h"
#include "model/report.h"
#include "tests/gdal/tiff_files.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

class GdalTest : public ::testing::Test {
protected:
    ScratchDir dir;
    const GridIo io = gdalGridIo();
    SilentMessages quiet;
    DataSet data; // the data set in use

    Loaded loadOf(const std::string& dem, const std::string& comparison = "")
    {
        LoadRequest request;
        request.demPath = dem;
        request.comparisonPath = comparison;
        return loadDataSet(request, io, quiet);
    }
    // The load made the data set in use when it succeeded.
    LoadStatus load(const std::string& dem)
    {
        Loaded loaded = loadOf(dem);
        if (loaded.status.ok())
            data = std::move(loaded.dataSet);
        return loaded.status;
    }
    std::string reportOf(const std::string& dem, const std::string& comparison)
    {
        Loaded loaded = loadOf(dem, comparison);
        EXPECT_TRUE(loaded.status.ok()) << loaded.status.error.text();
        return statisticsReport(reportValues(loaded.dataSet, 1, 1, true));
    }
};

TEST_F(GdalTest, GeoTiffsLoadAsTheirAsciiTwinsAndGiveTheSameReport)
{
    Grid dem = bumpy(4, 5, 3u, 1000, 500);
    dem.at(0, 4) = -9999; // a no-data cell
    Grid ref = bumpy(4, 5, 4u, 1000, 500);
    Grid whole = dem, wholeRef = ref;
    for (Grid* g : {&whole, &wholeRef})
        for (float& v : g->h)
            v = std::round(v); // int16 holds whole heights
    struct {
        const char* name;
        TiffSpec spec;
        const Grid& dem;
        const Grid& ref;
    } cases[] = {
        {"float32", {GDT_Float32, false}, dem, ref},
        {"float32_nodata", {GDT_Float32, true}, dem, ref},
        {"int16_nodata", {GDT_Int16, true}, whole, wholeRef},
        {"int16", {GDT_Int16, false}, whole, wholeRef},
        {"float32_south_up", {GDT_Float32, true, true}, dem, ref},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string tifDem = writeTiff(dir, std::string(k.name) + "_dem.tif", k.dem, k.spec);
        const std::string tifRef = writeTiff(dir, std::string(k.name) + "_ref.tif", k.ref, k.spec);
        const std::string ascDem = writeTwin(dir, std::string(k.name) + "_dem.asc", k.dem, k.spec.nodata);
        const std::string ascRef = writeTwin(dir, std::string(k.name) + "_ref.asc", k.ref, k.spec.nodata);
        for (GridRole role : {GridRole::dem, GridRole::comparison}) {
            GridData tif, asc;
            ModelError err;
            ASSERT_TRUE(readGridData(tifDem, role, tif, err, io)) << err.text();
            ASSERT_TRUE(readGridData(ascDem, role, asc, err, io)) << err.text();
            EXPECT_EQ(tif.heights, asc.heights) << "the heights, row 0 the northern row";
            EXPECT_EQ(tif.header.text, asc.header.text) << "the header a derived grid is written under";
            EXPECT_TRUE(tif.zmin == asc.zmin && tif.zmax == asc.zmax && tif.contourInt == asc.contourInt);
        }
        EXPECT_EQ(reportOf(tifDem, tifRef), reportOf(ascDem, ascRef)) << "the reports differ";
    }
}

TEST_F(GdalTest, RotatedRastersAndSeveralBandsAreRefusedNonSquareCellsRead)
{
    Grid g = bumpy(4, 5);
    struct {
        const char* name;
        TiffSpec spec;
        const char* message;
    } cases[] = {
        {"rotated.tif", {GDT_Float32, false, false, 0.5}, "north-up rasters only"},
        {"bands.tif", {GDT_Float32, false, false, 0, 30, 3}, "has 3 bands"},
    };
    ASSERT_TRUE(load(writeTiff(dir, "good.tif", g, {})).ok());
    const float before = data.demView().at(1, 1);
    for (const auto& k : cases) {
        LoadStatus s = load(writeTiff(dir, k.name, g, k.spec));
        EXPECT_EQ(s.result, LoadResult::failed) << k.name;
        EXPECT_NE(s.error.text().find(k.message), std::string::npos) << s.error.text();
        EXPECT_EQ(data.demView().at(1, 1), before) << "the DEM in use stays";
    }
    ASSERT_TRUE(load(writeTiff(dir, "oblong.tif", g, {GDT_Float32, false, false, 0, 20})).ok());
    EXPECT_TRUE(data.header().cellsizeX == 30 && data.header().cellsizeY == 20) << "cells of 30 x 20 map units";
    EXPECT_EQ(data.header().yllcorner, 5100000) << "the lower-left corner below four rows of 20";
    const std::string junk = dir.write("junk.bin", std::string("\x01\x02\x00\x04 not a raster", 18));
    LoadStatus s = load(junk);
    EXPECT_NE(s.error.text().find("neither an ESRI ASCII grid nor a raster GDAL can open"), std::string::npos)
        << s.error.text();
}

TEST_F(GdalTest, ExportedGeoTiffLoadsBackWithItsGeoreference)
{
    Grid dem = bumpy(6, 7, 8u);
    const std::string path = writeTiff(dir, "dem.tif", dem, {GDT_Float32, true});
    ASSERT_TRUE(load(path).ok());
    std::vector<float> values = exportValues(ExportKind::curvature, data.demView(), GridView{});
    ModelError err;
    const std::string out = dir.path + "/curvature.tif";
    ASSERT_TRUE(writeGeoTiff(out, data.header(), values, EXPORT_NODATA, err)) << err.text();
    GridData back;
    ASSERT_TRUE(readGridData(out, GridRole::comparison, back, err, io)) << err.text();
    EXPECT_EQ(back.heights, values);
    EXPECT_EQ(back.header.text, asciiHeader(6, 7, 600000, 5100000, 30, 30, true, -9999));
}

} // namespace
