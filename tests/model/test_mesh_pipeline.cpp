// The triangle mesh and its normals; the load pipeline: start reads the
// grids, checks that they belong together and runs the analyses in order,
// addFile swaps the comparison grid; and the limits of large and odd grids:
// an RMSE over more points than a float counts, a grid too large for the
// memory left, freak heights, a sample asked of a model that holds nothing.
#include <sys/resource.h>

#include <array>
#include <cmath>

#include "model/report.h"
#include "tests/model/model_test.h"

namespace {

using MeshTest = ModelTest;
using PipelineTest = ModelTest;

TEST_F(MeshTest, TwoTrianglesPerCellAndCurvatureAtInteriorPointsOnly)
{
    for (auto [rows, cols, triangles, interior] :
         {std::array{2, 2, 2, 0}, {4, 5, 24, 6}, {1, 6, 0, 0}, {6, 1, 0, 0}, {2, 6, 10, 0}, {6, 2, 10, 0}}) {
        SCOPED_TRACE(std::to_string(rows) + " x " + std::to_string(cols));
        ASSERT_TRUE(load(bumpy(rows, cols)));
        EXPECT_EQ(mt.getNumTriangles(), triangles);
        EXPECT_EQ(curveInfo().count, interior);
        EXPECT_EQ(C15 + C10 + C5 + C, triangles / 2) << "every cell in one curvature class";
        EXPECT_TRUE(interior > 0 || MAX_CURVE + TOTAL_SQ == 0.0f) << "without interior points, only border cells";
    }
}

TEST_F(MeshTest, MeshIsCentredAndScaledToTwoUnitsByExtentOrRelief)
{
    ASSERT_TRUE(load(Grid{2, 3, {0, 1, 2, 3, 4, 5}}));
    EXPECT_FLOAT_EQ(mt.getScalefactor(), 2.0f / 30.0f) << "3 columns of 10 m (not 2) span 2 units";
    EXPECT_FLOAT_EQ(mt.getMovex(), 10.0f);
    EXPECT_FLOAT_EQ(mt.getMovey(), 5.0f);
    EXPECT_FLOAT_EQ(mt.getZmid(), 2.5f);
    EXPECT_NEAR(tri(0, 0).x0, -2.0 / 3.0, 1e-6) << "the first vertex is at the left edge";
    EXPECT_NEAR(tri(0, 0).y0, -1.0 / 3.0, 1e-6) << "and at row 0, the low-y side";
    EXPECT_NEAR(tri(0, 0).z0, -1.0 / 6.0, 1e-6) << "(0 - 2.5) x 2/30";

    ASSERT_TRUE(load(Grid{2, 2, {0, 0, 0, 100}, 1.0f}));
    EXPECT_FLOAT_EQ(mt.getScalefactor(), 2.0f / 100.0f) << "a relief of 100 exceeds the 2 m extent";
    EXPECT_FLOAT_EQ(tri(0, 0).z0, -1.0f) << "the lowest point touches the bottom of the view cube";
    EXPECT_FLOAT_EQ(tri(0, 0, 1).z2, 1.0f) << "the highest touches the top";
}

TEST_F(MeshTest, ExaggerationRescalesTheVerticesKeepingTheColourClasses)
{
    Grid g = filled(4, 4, 0.0f);
    g.at(1, 1) = 5.0f;
    ASSERT_TRUE(load(g));
    const mountain::triangleinfo before = tri(1, 1);
    ASSERT_EQ(before.curveColor, HIGH);

    mt.convert_to_triangles(4); // as the exaggeration buttons do
    EXPECT_FLOAT_EQ(mt.getZscale(), 4.0f * mt.getScalefactor());
    EXPECT_FLOAT_EQ(tri(1, 1).z0, 4.0f * before.z0);
    EXPECT_EQ(tri(1, 1).curveColor, HIGH) << "colour classes survive a rebuild";
    EXPECT_NEAR(std::hypot(tri(1, 1).nx, tri(1, 1).ny, tri(1, 1).nz), 1.0, 1e-6) << "normals stay unit length";
    EXPECT_GT(std::fabs(tri(1, 1).nx), std::fabs(before.nx)) << "a steeper spike tilts its normals further";

    mt.convert_to_triangles(0);
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const mountain::triangleinfo t = mt.triangle(i);
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
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const mountain::triangleinfo t = mt.triangle(i);
        EXPECT_NEAR(t.nx, 2.0 / 3.0, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.ny, 1.0 / 3.0, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.nz, -2.0 / 3.0, 1e-5) << "triangle " << i;
    }
}

TEST_F(PipelineTest, DemAloneIsAnalysedAndGridsOfDifferentSizesLeaveTheDataSetInUse)
{
    multFiles = true;
    ASSERT_TRUE(load(filled(3, 3, 5.0f)));
    EXPECT_FALSE(multFiles);
    EXPECT_EQ(printed("Reading DEM data, 3 rows and 3 columns..."), 1);
    EXPECT_EQ(printed("Computing curvature"), 1);
    EXPECT_EQ(log.str().find("differences"), std::string::npos) << "no comparison grid, no differences";
    for (auto [demRows, demCols, refRows, refCols] : {std::array{3, 4, 3, 5}, {4, 4, 3, 4}, {3, 5, 3, 4}}) {
        log.str("");
        EXPECT_FALSE(load(filled(demRows, demCols, 10.0f), filled(refRows, refCols, 10.0f)));
        EXPECT_FALSE(multFiles) << "no comparison grid came in";
        EXPECT_TRUE(mt.getRows() == 3 && mt.getCols() == 3 && mt.getElev(1, 1) == 5.0f) << "the DEM in use went";
        EXPECT_TRUE(mt.hasMesh() && mt.getNumTriangles() == 8) << "the mesh in use went";
        EXPECT_EQ(log.str().find("Computing"), std::string::npos) << log.str();
    }
    Grid coarse = filled(3, 4, 10.0f);
    coarse.cellsize = 30.0f;
    EXPECT_FALSE(load(filled(3, 4, 10.0f), coarse)) << "cells of 30 m compared with cells of 10 m";
}

TEST_F(PipelineTest, FileThatCannotBeReadIsReportedAndLeavesTheDataSetInUse)
{
    ASSERT_TRUE(load(bumpy(4, 4), bumpy(4, 4, 3u)));
    const int d20 = D20;
    const float elev = mt.getElev(2, 2);
    std::string bad = dir.write("bad.grd", "ncols 4\nnrows 4\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2 3 x\n");
    for (const auto& [dem, comp] : {std::pair{bad, std::string()}, {write(bumpy(4, 4)), bad}}) {
        LoadStatus s = loadDataSet(dem, comp, 1);
        EXPECT_EQ(s.result, LoadResult::failed);
        EXPECT_NE(s.error.text().find("row 0, column 3 is not a number"), std::string::npos) << s.error.text();
        EXPECT_TRUE(multFiles && mt.getElev(2, 2) == elev && D20 == d20) << "the data set in use changed";
    }
    LoadStatus s = replaceComparison(dir.path + "/missing.grd", 1);
    EXPECT_EQ(s.error.text(), "file \"" + dir.path + "/missing.grd\" not found");
    EXPECT_TRUE(multFiles && D20 == d20);
}

TEST_F(PipelineTest, ComparisonLoadRunsTheAnalysesInOrderAndKeepsBothDifferenceClasses)
{
    ASSERT_TRUE(load(filled(4, 4, 100.0f), filled(4, 4, 95.0f)));
    EXPECT_TRUE(multFiles);
    EXPECT_EQ(D20, 9) << "every cell is 5 above its reference";
    EXPECT_EQ(CD, 9) << "both grids are flat";
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        EXPECT_EQ(mt.triangle(i).diffColor, VERYHIGH) << "triangle " << i << " lost its elevation class";
        EXPECT_EQ(mt.triangle(i).curveDiffColor, TERRAIN) << "triangle " << i << ": flat grids, no curvature class";
    }
    std::string text = log.str();
    std::size_t curvature = text.find("Computing curvature\n");
    std::size_t elevation = text.find("Computing elevation differences\n");
    EXPECT_LT(curvature, elevation);
    EXPECT_LT(elevation, text.find("Computing curvature differences\n"));
    EXPECT_NE(text.find("Computing curvature differences\n"), std::string::npos);
}

TEST_F(PipelineTest, AddFileComparesTheLoadedDemWithTheNewGrid)
{
    Grid dem = bumpy(4, 5, 21u);
    ASSERT_TRUE(load(dem, dem));
    ASSERT_EQ(D, cells()) << "a grid against itself differs nowhere";
    Grid lower = dem;
    for (float& v : lower.h)
        v -= 5.0f;
    bool ok = false;
    addFile(write(lower), 2, ok);
    ASSERT_TRUE(ok);
    EXPECT_FLOAT_EQ(mt.getZscale(), 2.0f * mt.getScalefactor()) << "rebuilt with the new exaggeration";
    EXPECT_EQ(printed("Reading DEM data, 4 rows and 5 columns..."), 1) << "the DEM is not read again";
    EXPECT_EQ(D20, cells()) << "the classes come from the new reference, 5 below everywhere";
    EXPECT_EQ(diffInfo().max, 5.0f);
    mt.compute_elev_diff_color();
    EXPECT_EQ(mt.triangle(0).diffColor, VERYHIGH);
    EXPECT_NEAR(rd.rmse(), 5.0f, 1e-3);

    addFile(write(filled(4, 6, 10.0f)), 1, ok);
    EXPECT_FALSE(ok) << "a grid of another size is refused";
    EXPECT_EQ(mt.getVertExag(), 2.0f) << "and leaves the mesh alone";
    EXPECT_EQ(rd.getCols(), 5) << "and the comparison grid in use";
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
    mt.adopt(std::move(dem));
    rd.adopt(std::move(ref));
    const double want = std::sqrt(256.0 / (static_cast<double>(side) * side));
    EXPECT_NEAR(rd.rmseIfPresent().value_or(0), want, want * 1e-6)
        << "the present points were miscounted (a float count stops at 2^24)";
    mt.adopt(GridData{});
    rd.adopt(GridData{});
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
    const std::string message = "file \"" + path + "\": a grid of 3000 rows and 3000 columns needs [0-9]+ MB of "
                                "memory, more than the 2[0-9] MB available";
    EXPECT_EXIT((tightMemory(), setConsole(std::cerr), readGrid(path)), ::testing::ExitedWithCode(255),
                "ERROR: Problem allocating first dimension of array\n" + message);
    EXPECT_EXIT(
        {
            const int rowsInUse = mt.getRows();
            tightMemory();
            LoadStatus s = loadDataSet(path, "", 1);
            std::fprintf(stderr, "%s\n", s.error.text().c_str());
            std::exit(s.result == LoadResult::failed && mt.getRows() == rowsInUse ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "needs .* MB of memory");
}

TEST_F(LimitsTest, FreakHeightsLoadAndAnalyseWithoutUndefinedArithmetic)
{
    Grid g = filled(5, 5, 100.0f);
    g.at(1, 1) = 3.0e38f;
    g.at(3, 3) = -3.0e38f;
    ASSERT_TRUE(load(g, filled(5, 5, 50.0f)));
    rd.setContourInt(20);
    EXPECT_TRUE(mt.computeHeightClasses());
    EXPECT_TRUE(std::isinf(MAX_CURVE)) << "the Laplacian of such heights overflows a float, as it should";
    std::string report = statisticsReport(currentReportValues(1, 1, true));
    EXPECT_NE(report.find("Gridsize: 5 x 5"), std::string::npos) << report;
}

TEST_F(LimitsTest, SparseSampleOfNothingIsRefused)
{
    mountain empty;
    clearNotice();
    EXPECT_TRUE(empty.sparseRaster(200).empty());
    EXPECT_EQ(lastNotice(), "A sparse sample needs a DEM: open one first");
}

} // namespace
