// Loading: start reads the grids, checks that they belong together and
// runs the analyses in order; addFile swaps the comparison grid.
#include "tests/model/analysis_fixtures.h"

namespace {

class PipelineTest : public AnalysisTest {
protected:
    static int diffCount()
    {
        float mx, mn;
        int n;
        mt.getDiffInfo(mx, mn, n);
        return n;
    }
    static int curveCount()
    {
        float mx, mn;
        int n;
        mt.getCurveInfo(mx, mn, n);
        return n;
    }
    std::size_t at(const std::string& line) const { return log.str().find(line + "\n"); }
};

TEST_F(PipelineTest, DemAloneIsAnalysedWithoutComparison)
{
    multFiles = true;
    ASSERT_TRUE(loadDem(filled(3, 4, 12.0f))) << "one file always fits";
    EXPECT_FALSE(multFiles) << "no comparison grid is in use";
    EXPECT_EQ(printed("Reading DEM data, 3 rows and 4 columns..."), 1);
    EXPECT_EQ(mt.getNumTriangles(), 12) << "the mesh is built";
    EXPECT_EQ(curveCount(), 2) << "curvature is computed";
    EXPECT_EQ(diffCount(), 0) << "no elevation differences without a comparison grid";
    EXPECT_EQ(mt.getCurveDiffCount(), 0) << "no curvature differences without a comparison grid";
    EXPECT_EQ(printed("Computing elevation differences"), 0);
    EXPECT_EQ(printed("Computing curvature differences"), 0);
}

TEST_F(PipelineTest, GridsOfDifferentSizeAreRefusedAndNothingIsComputed)
{
    ASSERT_TRUE(loadDem(filled(2, 2, 5.0f)));
    const mountain::triangleinfo* mesh = mt.getTriangles();

    struct Case {
        int demRows, demCols, refRows, refCols;
    };
    for (Case k : {Case{3, 4, 3, 5}, Case{4, 4, 3, 4}, Case{3, 5, 3, 4}}) {
        SCOPED_TRACE(std::to_string(k.demRows) + " x " + std::to_string(k.demCols) + " against " +
                     std::to_string(k.refRows) + " x " + std::to_string(k.refCols));
        log.str("");
        EXPECT_FALSE(loadPair(filled(k.demRows, k.demCols, 10.0f), filled(k.refRows, k.refCols, 10.0f)))
            << "the dialog must be told the sizes differ";
        EXPECT_TRUE(multFiles);
        EXPECT_EQ(mt.getNumTriangles(), 2) << "the old mesh stays as it was";
        EXPECT_EQ(mt.getTriangles(), mesh);
        EXPECT_EQ(curveCount(), 0) << "no curvature for mismatched grids";
        EXPECT_EQ(diffCount(), 0) << "no differences for mismatched grids";
        EXPECT_EQ(log.str().find("Computing"), std::string::npos) << log.str();
    }

    Grid coarse = filled(3, 4, 10.0f, 30.0f);
    EXPECT_TRUE(loadPair(filled(3, 4, 10.0f, 10.0f), coarse)) << "cell sizes are not compared";
}

TEST_F(PipelineTest, ComparisonLoadEndsWithCurvatureDifferenceColours)
{
    ASSERT_TRUE(loadPair(filled(4, 4, 100.0f), filled(4, 4, 95.0f)));
    EXPECT_TRUE(multFiles);
    EXPECT_EQ(D20, 9) << "every cell is 5 above its reference";
    EXPECT_EQ(CD, 9) << "both grids are flat";
    for (int i = 0; i < mt.getNumTriangles(); ++i)
        EXPECT_EQ(mt.getTriangles()[i].diffColor, TERRAIN)
            << "after loading, triangle " << i << " must show curvature differences, computed last";

    ASSERT_NE(at("Computing curvature"), std::string::npos);
    EXPECT_LT(at("Computing curvature"), at("Computing elevation differences"));
    EXPECT_LT(at("Computing elevation differences"), at("Computing curvature differences"));
}

TEST_F(PipelineTest, AddFileComparesTheLoadedDemAgainstTheNewGridOnTheSameMesh)
{
    Grid dem = bumpy(4, 5, 21u);
    ASSERT_TRUE(loadPair(dem, dem));
    const mountain::triangleinfo* mesh = mt.getTriangles();
    const int triangles = mt.getNumTriangles();

    Grid lower = dem;
    for (float& v : lower.h)
        v -= 5.0f;
    std::string path = write(lower);
    rd.setContourInt(0);
    bool ok = false;
    addFile(path, 2, ok);
    mt.resetCounts();
    ASSERT_TRUE(ok);
    EXPECT_TRUE(multFiles);
    EXPECT_EQ(mt.getTriangles(), mesh) << "the unchanged DEM keeps its mesh array";
    EXPECT_EQ(mt.getNumTriangles(), triangles);
    EXPECT_FLOAT_EQ(mt.getZscale(), 2.0f * mt.getScalefactor()) << "the mesh is rebuilt with the new exaggeration";
    EXPECT_EQ(printed("Reading DEM data, 4 rows and 5 columns..."), 1) << "the DEM is not read again";

    mt.compute_elev_diff_color();
    EXPECT_EQ(D20, cells()) << "the new reference lies 5 below everywhere";
    EXPECT_NEAR(rd.rmse(), 5.0f, 1e-3);

    Grid wrong = filled(4, 6, 10.0f);
    addFile(write(wrong), 1, ok);
    EXPECT_FALSE(ok) << "a grid of another size must be refused";
    EXPECT_FLOAT_EQ(mt.getVertExag(), 2.0f) << "a refused grid leaves the mesh alone";
    EXPECT_EQ(mt.getTriangles(), mesh);
}

} // namespace
