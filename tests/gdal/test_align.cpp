// Comparison data on another grid: refused unless aligned, then resampled
// onto the DEM's grid by GDAL's warper (spot heights moved to their nearest
// cell), absent outside its footprint. Surfaces here are analytic, so that
// what a resampling must give is known exactly.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <functional>

#include "dialogs/names.h"
#include "model/gdal/gdalraster.h"
#include "model/pairing.h"
#include "model/placement.h"
#include "tests/cli/cli_runner.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

std::string wktOf(int epsg)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    std::string out = wkt;
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    return out;
}

// A raster of z(x, y) at its cell centres: west edge, north edge, cells.
struct Spec {
    double west, north, cellX, cellY;
    int rows, cols;
    std::string wkt;
    std::function<double(double, double)> z;
    bool nodata = false;
    const char* unit = nullptr;
};

std::string writeSurface(const ScratchDir& dir, const std::string& name, const Spec& s)
{
    GDALAllRegister();
    const std::string path = dir.path + "/" + name;
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), s.cols, s.rows, 1, GDT_Float32, nullptr);
    double gt[6] = {s.west, s.cellX, 0, s.north, 0, -s.cellY};
    GDALSetGeoTransform(ds, gt);
    GDALSetProjection(ds, s.wkt.c_str());
    std::vector<float> v;
    for (int r = 0; r < s.rows; ++r)
        for (int c = 0; c < s.cols; ++c)
            v.push_back(static_cast<float>(s.z(s.west + (c + 0.5) * s.cellX, s.north - (r + 0.5) * s.cellY)));
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    if (s.nodata)
        GDALSetRasterNoDataValue(band, -9999);
    if (s.unit)
        GDALSetRasterUnitType(band, s.unit);
    EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, 0, s.cols, s.rows, v.data(), s.cols, s.rows, GDT_Float32, 0, 0), CE_None);
    GDALClose(ds);
    return path;
}

class AlignTest : public ::testing::Test {
protected:
    ScratchDir dir;
    const GridIo io = gdalGridIo();

    GridData read(const std::string& path, GridRole role)
    {
        GridData d;
        ModelError err;
        EXPECT_TRUE(readGridData(path, role, d, err, io)) << err.text();
        return d;
    }
    // The comparison paired with the DEM, or why not.
    bool pair(const GridData& dem, const std::string& compPath, PairOptions o, PairedComparison& out, ModelError& err)
    {
        return pairComparison(dem.header, viewOf(dem), read(compPath, GridRole::comparison), o, io, out, err);
    }
};

const double UTM_WEST = 600000, UTM_NORTH = 5101000;
double plane(double x, double y) { return 500 + 0.05 * (x - UTM_WEST) - 0.03 * (y - UTM_NORTH); }

TEST_F(AlignTest, APlaneOffsetByAFractionOfACellAlignsExactly)
{
    const std::string utm = wktOf(32632);
    const Spec demSpec{UTM_WEST, UTM_NORTH, 10, 10, 60, 80, utm, plane};
    const GridData dem = read(writeSurface(dir, "dem.tif", demSpec), GridRole::dem);
    struct {
        const char* what;
        double west, north, cellX, cellY;
        int rows, cols;
        AlignMethod method;
    } cases[] = {
        {"offset 0.3 and 0.6 cell, bilinear", UTM_WEST - 3, UTM_NORTH + 6, 10, 10, 62, 82, AlignMethod::bilinear},
        {"offset, cubic", UTM_WEST - 3, UTM_NORTH + 6, 10, 10, 62, 82, AlignMethod::cubic},
        {"cells twice as large", UTM_WEST - 20, UTM_NORTH + 20, 20, 20, 33, 43, AlignMethod::bilinear},
        {"rectangular cells", UTM_WEST - 15, UTM_NORTH + 7, 15, 7, 90, 57, AlignMethod::bilinear},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        const std::string path =
            writeSurface(dir, "comp.tif", {k.west, k.north, k.cellX, k.cellY, k.rows, k.cols, utm, plane});
        PairedComparison got;
        ModelError err;
        ASSERT_FALSE(pair(dem, path, {}, got, err)) << "another grid compared cell by cell";
        EXPECT_EQ(err.code, PLACEMENT);
        ASSERT_TRUE(pair(dem, path, {ComparisonKind::dem, true, k.method, true}, got, err)) << err.text();
        EXPECT_TRUE(got.alignment.aligned);
        EXPECT_DOUBLE_EQ(got.alignment.coverage, 1.0) << "the comparison covers the whole DEM";
        double worst = 0;
        for (std::size_t i = 0; i < dem.heights.size(); ++i) {
            ASSERT_TRUE(got.grid.isPresent(i)) << "cell " << i << " inside the footprint is absent";
            worst = std::max(worst, std::fabs(static_cast<double>(got.grid.heights[i]) - dem.heights[i]));
        }
        // Heights of about 500 as floats, and the rectangular cells' wider
        // kernel where the comparison is finer.
        EXPECT_LT(worst, k.cellX == k.cellY ? 1e-3 : 1e-2)
            << "a plane resampled onto the DEM's grid is the DEM's plane";
    }
}

TEST_F(AlignTest, AGeographicComparisonIsReprojectedOntoAUtmDem)
{
    // The plane, sampled at the centres of a grid in degrees of WGS 84 that
    // covers the DEM: its value at a point is the plane at the point's UTM
    // coordinates.
    const std::string utm = wktOf(32632), geographic = wktOf(4326);
    OGRSpatialReferenceH from = OSRNewSpatialReference(geographic.c_str()), to = OSRNewSpatialReference(utm.c_str());
    OSRSetAxisMappingStrategy(from, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH toUtm = OCTNewCoordinateTransformation(from, to);
    auto planeAt = [&](double lon, double lat) {
        double x = lon, y = lat;
        OCTTransform(toUtm, 1, &x, &y, nullptr);
        return plane(x, y);
    };
    const GridData dem =
        read(writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 30, 30, 40, 40, utm, plane}), GridRole::dem);
    // The DEM's corners in degrees, and a grid of 0.0002 degrees (some 15
    // by 22 m) around them, a few cells wider.
    OGRCoordinateTransformationH toGeo = OCTNewCoordinateTransformation(to, from);
    double x[4] = {UTM_WEST, UTM_WEST + 1200, UTM_WEST, UTM_WEST + 1200};
    double y[4] = {UTM_NORTH, UTM_NORTH, UTM_NORTH - 1200, UTM_NORTH - 1200};
    OCTTransform(toGeo, 4, x, y, nullptr);
    OCTDestroyCoordinateTransformation(toGeo);
    const double west = std::min(x[0], x[2]) - 0.001, east = std::max(x[1], x[3]) + 0.001;
    const double north = std::max(y[0], y[1]) + 0.001, south = std::min(y[2], y[3]) - 0.001;
    const int cols = static_cast<int>((east - west) / 0.0002) + 1,
              rows = static_cast<int>((north - south) / 0.0002) + 1;
    const std::string comp =
        writeSurface(dir, "geo.tif", {west, north, 0.0002, 0.0002, rows, cols, geographic, planeAt});
    PairedComparison got;
    ModelError err;
    ASSERT_TRUE(pair(dem, comp, {ComparisonKind::dem, true, AlignMethod::bilinear, true}, got, err)) << err.text();
    EXPECT_EQ(got.alignment.sourceCrs, "WGS 84");
    double worst = 0;
    std::size_t present = 0;
    for (std::size_t i = 0; i < dem.heights.size(); ++i)
        if (got.grid.isPresent(i)) {
            ++present;
            worst = std::max(worst, std::fabs(static_cast<double>(got.grid.heights[i]) - dem.heights[i]));
        }
    EXPECT_EQ(present, dem.heights.size()) << "the comparison covers all of the DEM";
    EXPECT_DOUBLE_EQ(got.alignment.coverage, 1.0);
    // Bilinear in degrees is nearly bilinear in metres over 15 m: the plane
    // comes back within a few centimetres.
    EXPECT_LT(worst, 0.05) << "reprojected, the plane is the DEM's within a twentieth of a unit";
    OCTDestroyCoordinateTransformation(toUtm);
    OSRDestroySpatialReference(from);
    OSRDestroySpatialReference(to);
}

TEST_F(AlignTest, PartialOverlapLeavesTheRestAbsentAndNoOverlapIsRefused)
{
    const std::string utm = wktOf(32632);
    const GridData dem =
        read(writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 10, 10, 40, 40, utm, plane}), GridRole::dem);
    // The eastern half only, offset by a third of a cell.
    const std::string half =
        writeSurface(dir, "half.tif", {UTM_WEST + 203.3, UTM_NORTH + 3.3, 10, 10, 50, 30, utm, plane});
    PairedComparison got;
    ModelError err;
    ASSERT_TRUE(pair(dem, half, {ComparisonKind::dem, true, AlignMethod::bilinear, true}, got, err)) << err.text();
    EXPECT_NEAR(got.alignment.coverage, 0.5, 0.03) << "the eastern half";
    EXPECT_FALSE(got.grid.isPresent(0)) << "the western edge lies outside the comparison";
    EXPECT_TRUE(got.grid.isPresent(40 * 20 - 1)) << "the eastern edge lies inside";
    EXPECT_NE(alignmentText(got.alignment).find("from WGS 84 / UTM zone 32N, covering 50.0 % of the DEM"),
              std::string::npos)
        << alignmentText(got.alignment);

    const std::string far = writeSurface(dir, "far.tif", {UTM_WEST + 10000, UTM_NORTH, 10, 10, 40, 40, utm, plane});
    EXPECT_FALSE(pair(dem, far, {ComparisonKind::dem, true, AlignMethod::bilinear, true}, got, err));
    EXPECT_NE(err.text().find("does not overlap the DEM"), std::string::npos) << err.text();
}

TEST_F(AlignTest, AbsentCellsAreNeverBlendedIntoValues)
{
    const std::string utm = wktOf(32632);
    const GridData dem =
        read(writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 10, 10, 30, 30, utm, plane}), GridRole::dem);
    // No-data (-9999) in a block of the comparison.
    auto holed = [](double x, double y) {
        return x > UTM_WEST + 100 && x < UTM_WEST + 150 && y < UTM_NORTH - 100 && y > UTM_NORTH - 150 ? -9999
                                                                                                      : plane(x, y);
    };
    const std::string comp =
        writeSurface(dir, "holed.tif", {UTM_WEST - 5, UTM_NORTH + 5, 10, 10, 32, 32, utm, holed, true});
    PairedComparison got;
    ModelError err;
    ASSERT_TRUE(pair(dem, comp, {ComparisonKind::dem, true, AlignMethod::cubic, true}, got, err)) << err.text();
    // Beside the hole the kernel takes the present cells alone: no -9999 in
    // any value, and within a cell's rise (0.5) of the plane.
    std::size_t absent = 0;
    for (std::size_t i = 0; i < dem.heights.size(); ++i) {
        if (!got.grid.isPresent(i)) {
            ++absent;
            continue;
        }
        EXPECT_NEAR(got.grid.heights[i], dem.heights[i], 0.5) << "cell " << i << " blended the no-data value in";
    }
    EXPECT_TRUE(!got.grid.isPresent(12 * 30 + 12) && !got.grid.isPresent(13 * 30 + 13)) << "the hole was filled";
    EXPECT_GE(absent, 9u);
}

TEST_F(AlignTest, SpotHeightsEachLandUnchangedOnTheirNearestCell)
{
    const std::string utm = wktOf(32632);
    const GridData dem =
        read(writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 10, 10, 30, 30, utm, plane}), GridRole::dem);
    // Spot heights on a finer grid (cells of 4 m) offset by 1 m: 0 elsewhere.
    auto spots = [](double x, double y) {
        const int i = static_cast<int>((x - UTM_WEST) / 4), j = static_cast<int>((UTM_NORTH - y) / 4);
        return i % 9 == 2 && j % 11 == 3 ? 1000.0 + i + 100.0 * j : 0.0;
    };
    const std::string comp = writeSurface(dir, "spots.tif", {UTM_WEST + 1, UTM_NORTH - 1, 4, 4, 70, 70, utm, spots});
    const GridData source = read(comp, GridRole::comparison);
    std::vector<float> heights;
    for (float v : source.heights)
        if (v > 0)
            heights.push_back(v);
    PairedComparison got;
    ModelError err;
    // The method asked for does not matter: spot heights are never blended.
    ASSERT_TRUE(pair(dem, comp, {ComparisonKind::sparse, true, AlignMethod::cubic, true}, got, err)) << err.text();
    EXPECT_EQ(got.alignment.method, AlignMethod::nearest);
    std::vector<float> landed;
    for (std::size_t i = 0; i < got.grid.heights.size(); ++i)
        if (got.grid.isPresent(i) && got.grid.heights[i] > 0)
            landed.push_back(got.grid.heights[i]);
    std::sort(heights.begin(), heights.end());
    std::sort(landed.begin(), landed.end());
    EXPECT_EQ(landed, heights) << "every spot height lands on one cell, unchanged";
}

TEST_F(AlignTest, AnUnplacedSparseFileIsComparedCellByCell)
{
    GridHeader dem, comp;
    dem.rows = comp.rows = 20;
    dem.cols = comp.cols = 30;
    dem.xllcorner = 600000;
    dem.yllcorner = 5100000;
    dem.cellsizeX = dem.cellsizeY = 10;
    comp.cellsizeX = comp.cellsizeY = 1;
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::unplaced)
        << "a (0, 0) corner of the DEM's size: as written";
    comp.yllcorner = 1e-9;
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::differs) << "anywhere but exactly (0, 0)";
    comp = dem;
    comp.xllcorner += 4.9;
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::same) << "a corner within half a cell";
    comp.xllcorner += 0.2;
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::differs) << "a corner more than half a cell off";
    comp = dem;
    comp.cellsizeY = 10 * (1 + 2e-6);
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::differs) << "cell sizes 2e-6 apart";
    comp.cellsizeY = 10 * (1 + 5e-7);
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::same) << "cell sizes 5e-7 apart";
    comp.projection = wktOf(4326);
    dem.projection = wktOf(32632);
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::differs) << "another coordinate system";
    comp.projection = wktOf(32632);
    EXPECT_EQ(placementOf(dem, comp, io.reader), Placement::same);
}

TEST_F(AlignTest, HeightsInFeetAreConvertedToMetres)
{
    const std::string utm = wktOf(32632);
    const GridData dem =
        read(writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 10, 10, 20, 20, utm, plane}), GridRole::dem);
    auto feet = [](double x, double y) { return plane(x, y) / 0.3048; };
    for (const char* unit : {"ft", "US survey foot"}) {
        SCOPED_TRACE(unit);
        const std::string comp =
            writeSurface(dir, "feet.tif", {UTM_WEST, UTM_NORTH, 10, 10, 20, 20, utm, feet, false, unit});
        PairedComparison got;
        ModelError err;
        ASSERT_TRUE(pair(dem, comp, {}, got, err)) << err.text();
        const double factor = std::string(unit) == "ft" ? 1.0 : 0.3048 / (1200.0 / 3937.0);
        EXPECT_NEAR(got.grid.heights[55], dem.heights[55] / factor, 1e-2) << "heights in feet left in feet";
        EXPECT_NE(alignmentText(got.alignment).find("to metres"), std::string::npos) << alignmentText(got.alignment);
        bool said = false;
        for (const std::string& n : got.notes)
            said |= n.find("converted from") != std::string::npos;
        EXPECT_TRUE(said) << "the conversion goes unmentioned";
    }
}

TEST(AlignCli, RefusedWithoutAlignAndExportedWithIt)
{
    ScratchDir dir;
    const std::string utm = wktOf(32632);
    const std::string dem = writeSurface(dir, "dem.tif", {UTM_WEST, UTM_NORTH, 10, 10, 30, 40, utm, plane});
    const std::string comp = writeSurface(dir, "comp.tif", {UTM_WEST - 4, UTM_NORTH + 3, 10, 10, 32, 42, utm, plane});
    const Outcome refused = runOrolith({"--metrics", dem, comp});
    EXPECT_EQ(refused.status, 1) << refused;
    EXPECT_NE(refused.err.find("Grid sizes do not match: the DEM \"" + dem +
                               "\" has 30 x 40 cells of 10 at corner "
                               "(600000.00, 5100700.00), WGS 84 / UTM zone 32N; the comparison grid \"" +
                               comp + "\" has 32 x 42 cells of 10 at corner (599996.00, 5100683.00)"),
              std::string::npos)
        << refused;
    EXPECT_NE(refused.err.find("--align"), std::string::npos) << refused;
    EXPECT_EQ(refused.out, "");

    const Outcome aligned = runOrolith({"--metrics", "--align", "--format", "json", dem, comp});
    ASSERT_EQ(aligned.status, 0) << aligned;
    EXPECT_NE(aligned.err.find("aligned by bilinear resampling"), std::string::npos) << aligned;
    const OrderedJson result = parsedJson(aligned.out);
    const OrderedJson all = result.value("all", OrderedJson::object());
    EXPECT_EQ(result.value("alignment", OrderedJson::object()).value("method", ""), "bilinear") << aligned;
    EXPECT_EQ(all.value("count", 0), 1200) << "every cell of the DEM compared" << aligned;
    EXPECT_LT(all.value("rmse", 1.0), 1e-3) << "the plane aligned onto itself" << aligned;

    const std::string out = dir.path + "/aligned.tif";
    const Outcome exported = runOrolith({"--export", "aligned", "--align=cubic", out, dem, comp});
    ASSERT_EQ(exported.status, 0) << exported;
    GridData back;
    ModelError err;
    ASSERT_TRUE(readGridData(out, GridRole::comparison, back, err, gdalGridIo())) << err.text();
    EXPECT_EQ(back.header.rows, 30);
    EXPECT_EQ(back.header.xllcorner, UTM_WEST) << "written on the DEM's grid";
    EXPECT_EQ(runOrolith({"--metrics", "--align", "sideways", dem, comp}).status, 2) << "an unknown method";
}

} // namespace
