// The triangle mesh and its normals, and the load pipeline: start reads the
// grids, checks that they belong together and runs the analyses in order;
// addFile swaps the comparison grid.
#include <array>
#include <cmath>

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
    EXPECT_TRUE(load(filled(3, 4, 10.0f), coarse)) << "cell sizes are not compared";
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

TEST_F(PipelineTest, ComparisonLoadRunsTheAnalysesInOrderEndingWithCurvatureDifferences)
{
    ASSERT_TRUE(load(filled(4, 4, 100.0f), filled(4, 4, 95.0f)));
    EXPECT_TRUE(multFiles);
    EXPECT_EQ(D20, 9) << "every cell is 5 above its reference";
    EXPECT_EQ(CD, 9) << "both grids are flat";
    for (int i = 0; i < mt.getNumTriangles(); ++i)
        EXPECT_EQ(mt.triangle(i).diffColor, TERRAIN) << "triangle " << i << " shows curvature differences";
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

} // namespace
