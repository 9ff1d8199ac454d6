// Absent cells (no-data and NaN), the comparison kinds, exact coordinates
// and geographic grids, as the analyses take them: an absent cell is no
// height anywhere but in the statistics report, which keeps its old rule
// (absent DEM points as 0, a reference value only above 0).
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "model/coregister.h"
#include "model/export.h"
#include "model/gridview.h"
#include "model/loadnotes.h"
#include "model/metrics.h"
#include "model/report.h"
#include "model/sparseformat.h"
#include "model/sparsesample.h"
#include "tests/model/fractal_surface.h"
#include "tests/model/model_test.h"

using namespace orolith::model;

namespace {

using AbsentTest = ModelTest;

constexpr float N = -9999; // the no-data value of these grids

TEST_F(AbsentTest, MetricsLeaveOutAbsentPointsOfEitherGridAndWindowsThatTouchThem)
{
    // 5 x 5, heights rising east; the DEM's centre is absent, so no interior
    // point has a whole 3 x 3 window: every present point counts in `all`
    // only. The reference is 2 below, absent at (0, 4).
    Grid dem = filled(5, 5, 0);
    Grid ref = filled(5, 5, 0);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            dem.at(r, c) = 100 + 3 * c;
            ref.at(r, c) = 98 + 3 * c;
        }
    dem.at(2, 2) = N;
    ref.at(0, 4) = N;
    dem.extraLine = ref.extraLine = "NODATA_value -9999";
    GridData d = readData(write(dem), GridRole::dem), f = readData(write(ref), GridRole::comparison);
    AccuracyReport got = accuracyReport(viewOf(d), viewOf(f), {10, 10, false}, defaultSlopeBounds());
    EXPECT_EQ(got.all.count, 23u) << "25 points less one absent in each grid";
    EXPECT_DOUBLE_EQ(got.all.mean, 2.0) << "an absent DEM point counted as height 0 would pull the mean down";
    std::size_t classed = 0;
    for (const SlopeClassFigures& k : got.classes)
        classed += k.figures.count;
    EXPECT_EQ(classed, 0u) << "every interior window holds the absent centre";

    // Without the hole, the 9 interior points have a slope (atan 0.3: 16.7
    // degrees) and fall into [10, 25).
    dem.at(2, 2) = 106;
    d = readData(write(dem), GridRole::dem);
    got = accuracyReport(viewOf(d), viewOf(f), {10, 10, false}, defaultSlopeBounds());
    EXPECT_EQ(got.classes[2].figures.count, 9u) << "interior points of a whole window";
    EXPECT_EQ(got.all.count, 24u);
}

TEST_F(AbsentTest, ComparisonKindsDecideWhichValuesAreHeights)
{
    Grid ref{1, 6, {5, 0, -3, N, 12, std::numeric_limits<float>::quiet_NaN()}, 10, "NODATA_value -9999"};
    // Text grids hold no NaN: the last value is a height of 4 there.
    ref.h[5] = 4;
    const GridData f = readData(write(ref), GridRole::comparison);
    struct {
        ComparisonKind kind;
        std::vector<std::uint8_t> present;
    } cases[] = {
        {ComparisonKind::dem, {1, 1, 1, 0, 1, 1}},    // heights at or below 0 are heights of a DEM
        {ComparisonKind::sparse, {1, 0, 0, 0, 1, 1}}, // only values above 0 in sparse and contour data
        {ComparisonKind::contour, {1, 0, 0, 0, 1, 1}},
    };
    for (const auto& k : cases) {
        std::vector<std::uint8_t> p = comparisonPresence(f, k.kind);
        EXPECT_EQ(p, k.present) << "kind " << static_cast<int>(k.kind);
    }
    ComparisonKind kind;
    EXPECT_TRUE(comparisonKindNamed("contour", kind) && kind == ComparisonKind::contour);
    EXPECT_FALSE(comparisonKindNamed("DEM", kind)) << "kinds are written in lower case";
}

TEST_F(AbsentTest, ComparisonBelowSeaLevelCountsAsADem)
{
    // The same pair lowered by 200 m: every point is a height of a DEM.
    Grid dem = bumpy(6, 7, 3u, 10, 20), ref = dem;
    for (float& v : ref.h)
        v -= 200;
    GridData d = readData(write(dem), GridRole::dem), f = readData(write(ref), GridRole::comparison);
    std::vector<std::uint8_t> asDem = comparisonPresence(f, ComparisonKind::dem);
    AccuracyReport got = accuracyReport(viewOf(d), comparisonView(f, asDem), {10, 10, false}, defaultSlopeBounds());
    EXPECT_EQ(got.all.count, 42u) << "a comparison below sea level was dropped";
    EXPECT_NEAR(got.all.mean, 200, 1e-4);
    std::vector<std::uint8_t> asSparse = comparisonPresence(f, ComparisonKind::sparse);
    EXPECT_EQ(accuracyReport(viewOf(d), comparisonView(f, asSparse), {10, 10, false}, defaultSlopeBounds()).all.count,
              0u)
        << "as sparse data nothing at or below 0 is a height";
}

TEST_F(AbsentTest, ReportKeepsItsFiguresWhileThePictureLeavesAbsentCellsOut)
{
    // A spike with an absent neighbour: the report takes the absent point as
    // 0, exactly as before; the curvature classes the surface shows leave
    // out every point whose stencil reaches the absent one.
    Grid withHole = filled(5, 5, 10);
    withHole.at(2, 2) = 30;
    withHole.at(2, 3) = N;
    withHole.extraLine = "NODATA_value -9999";
    Grid asZero = withHole;
    asZero.at(2, 3) = 0;
    asZero.extraLine = "";
    ASSERT_TRUE(load(asZero));
    const ReportValues legacy = reportValues(data, 1, 1, false);
    ASSERT_TRUE(load(withHole));
    const ReportValues now = reportValues(data, 1, 1, false);
    EXPECT_EQ(statisticsReport(now), statisticsReport(legacy)) << "the report takes absent DEM points as 0";
    EXPECT_FALSE(data.dem().present.empty());
    EXPECT_FALSE(data.demView().isPresent(2, 3));
    // Cell (r, c) takes the class of point (r, c): the absent point and the
    // points whose stencils reach it have none; (2, 1), whose stencil holds
    // the spike but not the hole, keeps its class (|10 + 10 + 10 + 30 - 40|).
    EXPECT_EQ(curveColor(2, 2), TERRAIN) << "the spike's stencil reaches the absent point";
    EXPECT_EQ(curveColor(2, 3), TERRAIN) << "the absent point itself";
    EXPECT_EQ(curveColor(1, 3), TERRAIN) << "a neighbour of the absent point";
    EXPECT_EQ(curveColor(2, 1), HIGH) << "the spike's western neighbour keeps its class";
    EXPECT_EQ(data.zmin(), 10.0f) << "the absent point is no part of the height range";
    EXPECT_EQ(data.zmax(), 30.0f);
    const std::vector<float> defined = definedCurvatures(data.curvature(), data.demView());
    EXPECT_EQ(defined.size(), 9u - 4u) << "the curvature graph leaves out stencils that reach the absent point";
}

TEST_F(AbsentTest, DifferenceClassesOfThePictureFollowBothGrids)
{
    // DEM 100 everywhere, absent at (0, 0); a comparison DEM of 0 at (1, 1)
    // (a height: sea level), 97 elsewhere, absent at (0, 2).
    Grid dem = filled(4, 4, 100), ref = filled(4, 4, 97);
    dem.at(0, 0) = N;
    ref.at(1, 1) = 0;
    ref.at(0, 2) = N;
    dem.extraLine = ref.extraLine = "NODATA_value -9999";
    ASSERT_TRUE(load(dem, ref));
    EXPECT_EQ(diffColor(0, 0), TERRAIN) << "absent DEM point: no class";
    EXPECT_EQ(diffColor(0, 2), TERRAIN) << "absent comparison point: no class";
    EXPECT_EQ(diffColor(1, 1), VERYHIGH) << "a comparison height of 0 is 100 below the DEM";
    EXPECT_EQ(diffColor(1, 2), MEDIUM) << "3 above: (2u, 3u]";
    // The report's counts keep their rule: (1, 1) is no reference value
    // there, and the absent DEM point counts as 0 against 97.
    const std::array<int, 5>& counts = data.elevationClasses().counts;
    EXPECT_EQ(counts[0], 1) << "|0 - 97| at (0, 0) in the report";
    EXPECT_EQ(counts[2], 6) << "3 above at the 9 cells but (0, 0), (0, 2) and (1, 1)";
    EXPECT_EQ(counts[4], 2) << "no reference value above 0 at (0, 2) and (1, 1): class <= u in the report";
    const std::vector<float> graphed = presentDifferences(data.demView(), data.comparisonView());
    EXPECT_EQ(graphed.size(), 7u) << "the difference graph counts the cells both grids have";
}

TEST_F(AbsentTest, ExportsLeaveAbsentPointsAndTheirStencilsOut)
{
    Grid dem = filled(5, 5, 10), ref = filled(5, 5, 8);
    dem.at(2, 2) = N;
    ref.at(1, 1) = N;
    dem.extraLine = ref.extraLine = "NODATA_value -9999";
    ASSERT_TRUE(load(dem, ref));
    auto at = [](const std::vector<float>& v, int r, int c) { return v[static_cast<std::size_t>(r) * 5 + c]; };
    const std::vector<float> curvature = exportValues(ExportKind::curvature, data.demView(), data.comparisonView());
    const std::vector<float> elevdiff = exportValues(ExportKind::elevdiff, data.demView(), data.comparisonView());
    const std::vector<float> curvediff = exportValues(ExportKind::curvediff, data.demView(), data.comparisonView());
    EXPECT_EQ(at(curvature, 1, 1), 0.0f) << "a flat interior point far enough from the hole";
    EXPECT_EQ(at(curvature, 2, 1), EXPORT_NODATA) << "its stencil reaches the absent centre";
    EXPECT_EQ(at(curvature, 2, 2), EXPORT_NODATA);
    EXPECT_EQ(at(curvature, 1, 3), 0.0f) << "a diagonal neighbour is not in the stencil";
    EXPECT_EQ(at(elevdiff, 0, 0), 2.0f);
    EXPECT_EQ(at(elevdiff, 1, 1), EXPORT_NODATA) << "absent comparison point";
    EXPECT_EQ(at(elevdiff, 2, 2), EXPORT_NODATA) << "absent DEM point";
    EXPECT_EQ(at(curvediff, 1, 3), 0.0f);
    EXPECT_EQ(at(curvediff, 1, 2), EXPORT_NODATA) << "the comparison's stencil reaches its absent point";
    EXPECT_EQ(at(curvediff, 3, 2), EXPORT_NODATA) << "the DEM's stencil reaches its absent point";
}

TEST_F(AbsentTest, CoregistrationIgnoresAbsentPointsAndSaysWhenTheShiftDidNotHelp)
{
    const int rows = 120, cols = 130;
    FractalSurface surface(5);
    std::vector<float> dem = surface.grid(rows, cols), comp = surface.grid(rows, cols, 0.4, 0.2, 1.0);
    std::vector<std::uint8_t> demPresent(dem.size(), 1), compPresent(comp.size(), 1);
    for (std::size_t i = 0; i < dem.size(); ++i) {
        if (i % cols > 40 && i % cols < 55 && i / cols > 30 && i / cols < 50) {
            demPresent[i] = 0; // a hole, stored as 0 as the reader stores it
            dem[i] = 0;
        }
        if (i % 97 == 0) {
            compPresent[i] = 0; // scattered no-data, stored as a wild value
            comp[i] = -9999;
        }
    }
    const GridView d{dem.data(), demPresent.data(), rows, cols}, c{comp.data(), compPresent.data(), rows, cols};
    Coregistration got = coregister(d, c, {10, 10, false});
    ASSERT_TRUE(got.ok) << got.why;
    EXPECT_NEAR(got.shiftEast, 0.4, 0.05) << "absent points blended into the fit";
    EXPECT_NEAR(got.shiftNorth, 0.2, 0.05);
    EXPECT_NEAR(got.bias, 1.0, 0.05);
    EXPECT_TRUE(got.improved) << improvementText(got);
    EXPECT_LT(got.nmadAfter, got.nmadBefore);

    // Steep hills over the western 40 % of the grid, where the comparison
    // is the DEM moved a cell east, and gentle ripples (slopes under 3
    // degrees, which the fit leaves out) over the rest, where it is the
    // DEM itself. The fit finds the hills' shift; moving the whole grid
    // back aligns the hills but moves the ripples, which agreed exactly:
    // most differences, 0 before, spread. Not a correction by the NMAD:
    // the comparison grid is kept as it was.
    auto ground = [&](double r, double col) {
        if (col < 0.4 * cols)
            return 300 * std::sin(col * 0.3) * std::cos(r * 0.25) + 80 * std::sin(r * 0.11 + col * 0.07);
        return 0.2 * std::sin(col * 0.5 + r * 0.3);
    };
    std::vector<float> hills, halfMoved;
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) {
            hills.push_back(static_cast<float>(ground(r, k)));
            halfMoved.push_back(static_cast<float>(k < 0.4 * cols ? ground(r, k - 1) : ground(r, k)));
        }
    Coregistration kept =
        coregister({hills.data(), nullptr, rows, cols}, {halfMoved.data(), nullptr, rows, cols}, {10, 10, false});
    ASSERT_TRUE(kept.ok) << kept.why;
    EXPECT_NEAR(kept.shiftEast, 1, 0.05) << "the hills' shift";
    EXPECT_FALSE(kept.improved) << improvementText(kept);
    EXPECT_EQ(kept.shifted.heights, halfMoved) << "a shift that made it worse must leave the grid as it was";
    EXPECT_EQ(kept.bias, 0.0) << "the bias of the grid kept";
    EXPECT_NE(improvementText(kept).find("no (NMAD"), std::string::npos) << improvementText(kept);

    // A cancel at the second fit stops the work and says so.
    int calls = 0;
    Coregistration cancelled = coregister(d, c, {10, 10, false}, [&](int iteration) {
        ++calls;
        return iteration < 2;
    });
    EXPECT_TRUE(cancelled.cancelled && !cancelled.ok) << cancelled.why;
    EXPECT_EQ(calls, 2);
}

TEST(GeographicSpacing, DegreesBecomeMetresOnTheEllipsoid)
{
    // One degree at the equator, WGS 84: 111319.49 m along the equator (a
    // times pi / 180) and 110574.27 m along the meridian (geodesy tables).
    // At 60 degrees: 55799.98 m and 111412.24 m.
    struct {
        double centreLat;
        double east, north;
    } cases[] = {{0, 111319.49, 110574.27}, {60, 55799.98, 111412.24}, {-60, 55799.98, 111412.24}};
    for (const auto& k : cases) {
        GridHeader h;
        h.rows = 2;
        h.cols = 2;
        h.cellsizeX = h.cellsizeY = 1;
        h.yllcorner = k.centreLat - 1;
        declareGeographic(h);
        const GroundSpacing s = groundSpacing(h);
        EXPECT_TRUE(s.geographic);
        EXPECT_NEAR(s.x, k.east, 0.05) << "east-west metres of a degree at " << k.centreLat;
        EXPECT_NEAR(s.y, k.north, 0.05) << "north-south metres of a degree at " << k.centreLat;
    }
    GridHeader projected;
    projected.cellsizeX = 30;
    projected.cellsizeY = 20;
    EXPECT_TRUE(groundSpacing(projected).x == 30 && groundSpacing(projected).y == 20 &&
                !groundSpacing(projected).geographic)
        << "a projected grid keeps its map units";
}

TEST(GeographicSpacing, GridsThatLookGeographicGetANote)
{
    struct {
        double xll, yll, cellsize;
        int rows, cols;
        bool known;
        bool note;
    } cases[] = {
        {5.74, 49.44, 0.008333, 90, 95, false, true}, // Luxembourg in degrees
        {-180, -90, 0.09, 100, 100, false, true},     // the corner at the limits
        {5.74, 49.44, 0.1, 90, 95, false, false},     // cells of 0.1 and more are not degrees here
        {5.74, 89.5, 0.01, 100, 10, false, false},    // beyond the pole
        {600000, 5100000, 30, 10, 10, false, false},  // UTM
        {5.74, 49.44, 0.008333, 90, 95, true, false}, // a .prj said what it is
    };
    for (const auto& k : cases) {
        GridHeader h;
        h.path = "g.asc";
        h.xllcorner = k.xll;
        h.yllcorner = k.yll;
        h.cellsizeX = h.cellsizeY = k.cellsize;
        h.rows = k.rows;
        h.cols = k.cols;
        h.crs.known = k.known;
        EXPECT_EQ(!geographicNote(h).empty(), k.note) << k.xll << ", " << k.yll << " cells of " << k.cellsize;
    }
}

TEST_F(AbsentTest, SlopeClassesOfAGeographicGridAreMeasuredInMetres)
{
    // A plane rising 10 m a cell east, cells of 0.001 degrees at the
    // equator: 111.32 m east-west, so 5.1 degrees of slope. Read as map
    // units of 0.001 it would be 90 degrees.
    const int rows = 5, cols = 5;
    std::vector<float> h;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            h.push_back(100.0f + 10 * c);
    GridHeader g;
    g.rows = rows;
    g.cols = cols;
    g.cellsizeX = g.cellsizeY = 0.001;
    g.yllcorner = -0.0025;
    declareGeographic(g);
    const GridView v{h.data(), nullptr, rows, cols};
    AccuracyReport got = accuracyReport(v, v, groundSpacing(g), defaultSlopeBounds());
    const double degrees = std::atan(10.0 / (0.001 * 111319.49)) * 180 / 3.14159265358979323846;
    ASSERT_GT(degrees, 5);
    ASSERT_LT(degrees, 10);
    EXPECT_EQ(got.classes[1].figures.count, 9u) << "the interior points in [5, 10)";
}

TEST_F(AbsentTest, SparseSampleSaysHowManySpotHeightsItHolds)
{
    // 50 points: the smallest sample (100 draws) cannot hold more than 50,
    // and random draws may fall on one point twice.
    ASSERT_TRUE(load(bumpy(5, 10, 4u, 100, 50)));
    std::mt19937 generator(1);
    std::string why;
    const std::vector<float> raster = sparseRaster(
        data.demView(), 100, [&](int bound) { return static_cast<int>(generator() % static_cast<unsigned>(bound)); },
        log, why);
    ASSERT_FALSE(raster.empty()) << why;
    const std::size_t held = spotHeightCount(raster);
    EXPECT_LE(held, 50u) << "more spot heights reported than the grid has points";
    std::size_t inFile = 0;
    std::istringstream in(formatRaster(raster, data.rows(), data.cols()));
    for (std::string v; in >> v;)
        inFile += std::stof(v) > 0;
    EXPECT_EQ(held, inFile) << "the count is of the heights the file holds";
}

} // namespace
