// The triangle mesh and its normals; the load: loadDataSet reads the grids,
// checks that they belong together and runs the analyses in order,
// replaceComparison swaps the comparison grid, and neither touches the data
// set in use; and the limits of large and odd grids: an RMSE over more
// points than a float counts, a grid too large for the memory left, freak
// heights, a sample asked of a model that holds nothing.
#include <sys/resource.h>

#include <array>
#include <cmath>

#include "model/heightclasses.h"
#include "model/report.h"
#include "model/sparsesample.h"
#include "tests/model/model_test.h"

using namespace orolith::model;

namespace {

using MeshTest = ModelTest;
using PipelineTest = ModelTest;

TEST_F(MeshTest, TwoTrianglesPerCellAndCurvatureAtInteriorPointsOnly)
{
    for (auto [rows, cols, triangles, interior] :
         {std::array{2, 2, 2, 0}, {4, 5, 24, 6}, {1, 6, 0, 0}, {6, 1, 0, 0}, {2, 6, 10, 0}, {6, 2, 10, 0}}) {
        SCOPED_TRACE(std::to_string(rows) + " x " + std::to_string(cols));
        ASSERT_TRUE(load(bumpy(rows, cols)));
        EXPECT_EQ(data.mesh().triangles(), triangles);
        EXPECT_EQ(data.curvature().magnitude.size(), static_cast<std::size_t>(interior));
        const std::array<int, 5>& n = data.curvatureClasses().counts;
        EXPECT_EQ(n[0] + n[1] + n[2] + n[3], triangles / 2) << "every cell in one curvature class";
        EXPECT_TRUE(interior > 0 || data.curvature().peak + data.curvature().totalSquared == 0.0f)
            << "without interior points, only border cells";
    }
}

TEST_F(MeshTest, MeshIsCentredAndScaledToTwoUnitsByExtentOrRelief)
{
    ASSERT_TRUE(load(Grid{2, 3, {0, 1, 2, 3, 4, 5}}));
    EXPECT_FLOAT_EQ(data.mesh().scalefactor, 2.0f / 30.0f) << "3 columns of 10 m (not 2) span 2 units";
    EXPECT_FLOAT_EQ(data.mesh().movex, 10.0f);
    EXPECT_FLOAT_EQ(data.mesh().movey, 5.0f);
    EXPECT_FLOAT_EQ(data.mesh().zmid, 2.5f);
    EXPECT_NEAR(tri(0, 0).x0, -2.0 / 3.0, 1e-6) << "the first vertex is at the left edge";
    EXPECT_NEAR(tri(0, 0).y0, -1.0 / 3.0, 1e-6) << "and at row 0, the low-y side";
    EXPECT_NEAR(tri(0, 0).z0, -1.0 / 6.0, 1e-6) << "(0 - 2.5) x 2/30";

    ASSERT_TRUE(load(Grid{2, 2, {0, 0, 0, 100}, 1.0f}));
    EXPECT_FLOAT_EQ(data.mesh().scalefactor, 2.0f / 100.0f) << "a relief of 100 exceeds the 2 m extent";
    EXPECT_FLOAT_EQ(tri(0, 0).z0, -1.0f) << "the lowest point touches the bottom of the view cube";
    EXPECT_FLOAT_EQ(tri(0, 0, 1).z2, 1.0f) << "the highest touches the top";
}

TEST_F(MeshTest, ExaggerationRescalesTheVerticesKeepingTheColourClasses)
{
    Grid g = filled(4, 4, 0.0f);
    g.at(1, 1) = 5.0f;
    ASSERT_TRUE(load(g));
    const Triangle before = tri(1, 1);
    ASSERT_EQ(curveColor(1, 1), HIGH);

    const unsigned long long version = data.version();
    data.setExaggeration(4); // as the exaggeration buttons do
    EXPECT_GT(data.version(), version) << "the picture's mesh changed";
    EXPECT_FLOAT_EQ(data.mesh().zscale, 4.0f * data.mesh().scalefactor);
    EXPECT_FLOAT_EQ(tri(1, 1).z0, 4.0f * before.z0);
    EXPECT_EQ(curveColor(1, 1), HIGH) << "colour classes survive a rebuild";
    EXPECT_NEAR(std::hypot(tri(1, 1).nx, tri(1, 1).ny, tri(1, 1).nz), 1.0, 1e-6) << "normals stay unit length";
    EXPECT_GT(std::fabs(tri(1, 1).nx), std::fabs(before.nx)) << "a steeper spike tilts its normals further";

    data.setExaggeration(0);
    for (int i = 0; i < data.mesh().triangles(); ++i) {
        const Triangle t = meshTriangle(data.mesh(), data.demView(), data.spacing(), i);
        EXPECT_TRUE(t.z0 == 0 && t.z1 == 0 && t.z2 == 0) << "exaggeration 0 draws flat; triangle " << i;
    }
}

TEST_F(MeshTest, NormalsAreUnitLengthAndPointToNegativeZ)
{
    // Rising 10 m per 10 m column and 5 m per row: the normal of every
    // triangle is (1, 0.5, -1) / 1.5.
    Grid plane = filled(4, 5, 0.0f);
    for (int i = 0; i < 20; ++i)
        plane.h[i] = 10.0f * static_cast<float>(i % 5) + 5.0f * static_cast<float>(i / 5);
    ASSERT_TRUE(load(plane));
    for (int i = 0; i < data.mesh().triangles(); ++i) {
        const Triangle t = meshTriangle(data.mesh(), data.demView(), data.spacing(), i);
        EXPECT_NEAR(t.nx, 2.0 / 3.0, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.ny, 1.0 / 3.0, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.nz, -2.0 / 3.0, 1e-5) << "triangle " << i;
    }
}

TEST_F(PipelineTest, DemAloneIsAnalysedAndGridsOfDifferentSizesLeaveTheDataSetInUse)
{
    ASSERT_TRUE(load(filled(3, 3, 5.0f)));
    EXPECT_FALSE(data.hasComparison());
    EXPECT_EQ(log.printed("Reading DEM data, 3 rows and 3 columns..."), 1);
    EXPECT_EQ(log.printed("Computing curvature"), 1);
    EXPECT_EQ(log.text().find("differences"), std::string::npos) << "no comparison grid, no differences";
    const unsigned long long version = data.version();
    for (auto [demRows, demCols, refRows, refCols] : {std::array{3, 4, 3, 5}, {4, 4, 3, 4}, {3, 5, 3, 4}}) {
        log.clear();
        EXPECT_FALSE(load(filled(demRows, demCols, 10.0f), filled(refRows, refCols, 10.0f)));
        EXPECT_EQ(status.result, LoadResult::mismatch);
        EXPECT_FALSE(data.hasComparison()) << "no comparison grid came in";
        EXPECT_TRUE(data.rows() == 3 && data.cols() == 3 && data.demView().at(1, 1) == 5.0f) << "the DEM in use went";
        EXPECT_TRUE(data.mesh().usable() && data.mesh().triangles() == 8) << "the mesh in use went";
        EXPECT_EQ(data.version(), version);
        EXPECT_EQ(log.text().find("Computing"), std::string::npos) << log.text();
    }
    Grid coarse = filled(3, 4, 10.0f);
    coarse.cellsize = 30.0f;
    EXPECT_FALSE(load(filled(3, 4, 10.0f), coarse)) << "cells of 30 m compared with cells of 10 m";
}

TEST_F(PipelineTest, FileThatCannotBeReadIsReportedAndLeavesTheDataSetInUse)
{
    ASSERT_TRUE(load(bumpy(4, 4), bumpy(4, 4, 3u)));
    const int d20 = data.elevationClasses().counts[0];
    const float elev = data.demView().at(2, 2);
    const unsigned long long version = data.version();
    std::string bad = dir.write("bad.grd", "ncols 4\nnrows 4\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2 3 x\n");
    auto unchanged = [&] {
        return data.hasComparison() && data.demView().at(2, 2) == elev && data.elevationClasses().counts[0] == d20 &&
               data.version() == version;
    };
    for (const auto& [dem, comp] : {std::pair{bad, std::string()}, {write(bumpy(4, 4)), bad}}) {
        LoadRequest request;
        request.demPath = dem;
        request.comparisonPath = comp;
        EXPECT_FALSE(swapIn(loadDataSet(request, io, log)));
        EXPECT_EQ(status.result, LoadResult::failed);
        EXPECT_NE(status.error.text().find("row 0, column 3 is not a number"), std::string::npos)
            << status.error.text();
        EXPECT_TRUE(unchanged()) << "the data set in use changed";
    }
    EXPECT_FALSE(swapIn(replaceComparison(data, dir.path + "/missing.grd", {}, {}, io, log)));
    EXPECT_EQ(status.error.text(), "file \"" + dir.path + "/missing.grd\" not found");
    EXPECT_TRUE(unchanged());
}

TEST_F(PipelineTest, ComparisonLoadRunsTheAnalysesInOrderAndKeepsBothDifferenceClasses)
{
    LoadRequest request;
    request.demPath = write(filled(4, 4, 100.0f));
    request.comparisonPath = write(filled(4, 4, 95.0f));
    std::vector<std::pair<std::string, double>> progress;
    ASSERT_TRUE(swapIn(loadDataSet(
        request, io, log, [&](const std::string& stage, double fraction) { progress.emplace_back(stage, fraction); })));
    EXPECT_TRUE(data.hasComparison());
    EXPECT_EQ(data.elevationClasses().counts[0], 9) << "every cell is 5 above its reference";
    EXPECT_EQ(data.curvatureDifferenceClasses().counts[4], 9) << "both grids are flat";
    for (int i = 0; i < cells(); ++i) {
        EXPECT_EQ(data.diffColorOfCell(i), VERYHIGH) << "cell " << i << " lost its elevation class";
        EXPECT_EQ(data.curveDiffColorOfCell(i), TERRAIN) << "cell " << i << ": flat grids, no curvature class";
    }
    // Curvature before curvature differences, which read it, and elevation
    // differences before them, so that theirs are the colours in effect.
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Reading DEM data, 4 rows and 4 columns...",
                                        "Reading comparison data, 4 rows and 4 columns...", "Computing curvature",
                                        "Computing elevation differences", "Computing curvature differences"}));
    EXPECT_TRUE(log.notices.empty());
    ASSERT_FALSE(progress.empty());
    for (std::size_t k = 1; k < progress.size(); ++k)
        EXPECT_LE(progress[k - 1].second, progress[k].second) << "the bar went back at " << progress[k].first;
    EXPECT_EQ(progress.back(), (std::pair<std::string, double>{"Done", 1.0}));
}

TEST_F(PipelineTest, ReplacingTheComparisonComparesTheLoadedDemWithTheNewGrid)
{
    Grid dem = bumpy(4, 5, 21u);
    ASSERT_TRUE(load(dem, dem));
    ASSERT_EQ(data.elevationClasses().counts[4], cells()) << "a grid against itself differs nowhere";
    const DataSet previous = data;
    Grid lower = dem;
    for (float& v : lower.h)
        v -= 5.0f;
    ASSERT_TRUE(swapIn(replaceComparison(data, write(lower), {}, {}, io, log)));
    EXPECT_EQ(log.printed("Reading DEM data, 4 rows and 5 columns..."), 1) << "the DEM is not read again";
    EXPECT_EQ(&data.dem(), &previous.dem()) << "the DEM is shared, not copied";
    EXPECT_GT(data.comparisonVersion(), previous.comparisonVersion());
    EXPECT_EQ(data.elevationClasses().counts[0], cells())
        << "the classes come from the new reference, 5 below everywhere";
    EXPECT_EQ(data.elevation().max, 5.0f);
    EXPECT_EQ(diffColor(0, 0), VERYHIGH);
    EXPECT_NEAR(reportValues(data, 1, 1, true).rmse.value_or(0), 5.0f, 1e-3);
    EXPECT_EQ(previous.elevationClasses().counts[4], cells()) << "the data set it came from changed";

    data.setExaggeration(2);
    EXPECT_FALSE(swapIn(replaceComparison(data, write(filled(4, 6, 10.0f)), {}, {}, io, log)))
        << "a grid of another size is refused";
    EXPECT_EQ(status.result, LoadResult::mismatch);
    EXPECT_EQ(data.mesh().exaggeration, 2.0f) << "and leaves the mesh alone";
    EXPECT_EQ(data.comparison().grid.header.cols, 5) << "and the comparison grid in use";
}

using LimitsTest = ModelTest;
using LimitsDeathTest = ModelTest;

GridData filledData(int rows, int cols, float value)
{
    GridData d;
    d.header.rows = rows;
    d.header.cols = cols;
    d.header.cellsizeX = d.header.cellsizeY = 1;
    d.heights.assign(static_cast<std::size_t>(rows) * cols, value);
    return d;
}

TEST_F(LimitsTest, RmseCountsMoreThanTwoToTheTwentyFourPresentPoints)
{
    const int side = 4100; // 16,810,000 points, beyond the 16,777,216 a float counts to
    GridData dem = filledData(side, side, 1.0f), ref = filledData(side, side, 1.0f);
    for (int k = 0; k < 16; ++k)
        dem.heights[static_cast<std::size_t>(k) * 1000003] = 5.0f; // 16 points 4 above
    const double want = std::sqrt(256.0 / (static_cast<double>(side) * side));
    EXPECT_NEAR(reportRmse(viewOf(dem), viewOf(ref)).value_or(0), want, want * 1e-6)
        << "the present points were miscounted (a float count stops at 2^24)";
}

TEST_F(LimitsDeathTest, GridLargerThanTheMemoryLeftIsRefusedBeforeAllocating)
{
    // 3000 x 3000 heights need 36 MB; the child may take 24 MB more than it
    // holds.
    std::string text = "ncols 3000\nnrows 3000\nxllcorner 0\nyllcorner 0\ncellsize 1\n";
    text.reserve(text.size() + 18000000);
    for (int k = 0; k < 9000000; ++k)
        text += "1 ";
    const std::string path = dir.write("big.grd", text);
    auto tightMemory = [] {
        std::FILE* f = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (f && std::fscanf(f, "%lu", &pages) != 1)
            pages = 0;
        if (f)
            std::fclose(f);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = pages * static_cast<unsigned long>(sysconf(_SC_PAGE_SIZE)) + (24u << 20);
        setrlimit(RLIMIT_AS, &limit);
    };
    const std::string message = "file \"" + path +
                                "\": a grid of 3000 rows and 3000 columns needs [0-9]+ MB of "
                                "memory, more than the 2[0-9] MB available";
    EXPECT_EXIT(
        {
            tightMemory();
            GridData d;
            ModelError err;
            const bool read = readGridData(path, GridRole::dem, d, err, GridIo{}, 1);
            std::fprintf(stderr, "%s\n", err.text().c_str());
            std::exit(!read && err.code == ARRAY1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Problem allocating first dimension of array\n" + message);
    ASSERT_TRUE(load(filled(3, 3, 1.0f)));
    EXPECT_EXIT(
        {
            tightMemory();
            LoadRequest request;
            request.demPath = path;
            const bool loaded = swapIn(loadDataSet(request, io, log));
            std::fprintf(stderr, "%s\n", status.error.text().c_str());
            std::exit(!loaded && status.result == LoadResult::failed && data.rows() == 3 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "needs .* MB of memory");
}

TEST_F(LimitsTest, FreakHeightsLoadAndAnalyseWithoutUndefinedArithmetic)
{
    Grid g = filled(5, 5, 100.0f);
    g.at(1, 1) = 3.0e38f;
    g.at(3, 3) = -3.0e38f;
    ASSERT_TRUE(load(g, filled(5, 5, 50.0f)));
    ASSERT_EQ(data.contourInterval(), 50);
    EXPECT_TRUE(data.computeHeightClasses(log));
    EXPECT_TRUE(std::isinf(data.curvature().peak)) << "the Laplacian of such heights overflows a float, as it should";
    std::string report = statisticsReport(reportValues(data, 1, 1, true));
    EXPECT_NE(report.find("Gridsize: 5 x 5"), std::string::npos) << report;
}

TEST_F(LimitsTest, SparseSampleOfNothingIsRefused)
{
    std::string why;
    EXPECT_TRUE(sparseRaster(
                    DataSet().demView(), 200, [](int) { return 0; }, log, why)
                    .empty());
    EXPECT_EQ(why, "A sparse sample needs a DEM: open one first");
    EXPECT_TRUE(log.lines.empty());
}

} // namespace
