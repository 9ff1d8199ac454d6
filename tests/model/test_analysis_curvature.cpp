// Curvature error classes: the magnitude of the discrete Laplacian at
// every interior point, classed in curvature units, and the statistics the
// report shows.
#include <cmath>

#include "tests/model/analysis_fixtures.h"

namespace {

class CurvatureTest : public AnalysisTest {
protected:
    static int curveCount()
    {
        float mx, mn;
        int n;
        mt.getCurveInfo(mx, mn, n);
        return n;
    }
    static float minCurve()
    {
        float mx, mn;
        int n;
        mt.getCurveInfo(mx, mn, n);
        return mn;
    }
    static int curveColor(int r, int c) { return mt.getTriangles()[tri(r, c)].curveColor; }
    static void expectClassCountsSumToCells()
    {
        EXPECT_EQ(C15 + C10 + C5 + C, cells()) << "every cell must be in exactly one curvature class";
    }
};

Grid spike5x5()
{
    Grid g = filled(5, 5, 0.0f);
    g.at(2, 2) = 10.0f;
    return g;
}

TEST_F(CurvatureTest, FlatDemHasNoCurvatureAnywhere)
{
    ASSERT_TRUE(loadDem(filled(4, 5, 250.0f)));
    EXPECT_EQ(curveCount(), 2 * 3) << "one curvature value per interior point";
    EXPECT_EQ(MAX_CURVE, 0.0f);
    EXPECT_EQ(TOTAL_SQ, 0.0f);
    EXPECT_EQ(minCurve(), 0.0f);
    EXPECT_EQ(C15 + C10 + C5, 0) << "a flat DEM shows no curvature error";
    EXPECT_EQ(C, cells());
    for (int i = 0; i < mt.getNumTriangles(); ++i)
        EXPECT_EQ(mt.getTriangles()[i].curveColor, TERRAIN) << "triangle " << i;
}

TEST_F(CurvatureTest, ThreeByThreeGridClassesOnlyItsInteriorCell)
{
    Grid g = filled(3, 3, 0.0f);
    g.at(1, 1) = 5.0f; // m = 20
    ASSERT_TRUE(loadDem(g));
    EXPECT_EQ(curveCount(), 1);
    EXPECT_FLOAT_EQ(MAX_CURVE, 20.0f);
    EXPECT_EQ(C15, 1) << "cell (1,1) holds the only interior point";
    EXPECT_EQ(C, 3) << "the three cells on row 0 or column 0 are border cells";
    EXPECT_EQ(curveColor(1, 1), HIGH);
    EXPECT_EQ(mt.getTriangles()[tri(1, 1) + 1].curveColor, HIGH) << "both triangles of a cell share its class";
    EXPECT_EQ(curveColor(0, 1), TERRAIN) << "border cell must not borrow the interior value";
    EXPECT_EQ(curveColor(1, 0), TERRAIN) << "border cell must not borrow the interior value";
}

TEST_F(CurvatureTest, SpikeMarksItsCellAndTheCellsOfItsFourNeighbours)
{
    ASSERT_TRUE(loadDem(spike5x5()));
    EXPECT_FLOAT_EQ(MAX_CURVE, 40.0f) << "the spike of 10 gives |4 x 10|";
    EXPECT_FLOAT_EQ(TOTAL_SQ, 40.0f * 40.0f + 4 * 10.0f * 10.0f);
    EXPECT_EQ(minCurve(), 0.0f) << "the diagonal neighbours are untouched";
    EXPECT_EQ(C15, 5) << "spike cell plus the cells of its four neighbours";
    EXPECT_EQ(C10, 0);
    EXPECT_EQ(C5, 0);
    EXPECT_EQ(C, 11);
    for (auto [r, c] : {std::pair{2, 2}, {1, 2}, {2, 1}, {2, 3}, {3, 2}})
        EXPECT_EQ(curveColor(r, c), HIGH) << "cell (" << r << "," << c << ")";
    EXPECT_EQ(curveColor(1, 1), TERRAIN) << "diagonal neighbour has no curvature";
    expectClassCountsSumToCells();
}

TEST_F(CurvatureTest, ValuesOnAClassBoundFallIntoTheLowerClass)
{
    struct Case {
        float centre; // m = 4 x centre
        float unit;
        int colour;
        const char* what;
    };
    const Case cases[] = {
        {0.5f, 1.0f, LOW, "m = 2u is LOW, not MEDIUM"},
        {0.75f, 1.0f, MEDIUM, "m = 3u is MEDIUM, not HIGH"},
        {0.25f, 1.0f, TERRAIN, "m = u is no error"},
        {0.5f, 2.0f, TERRAIN, "m = u (u = 2) is no error"},
        {0.5f, 0.5f, HIGH, "m = 4u is HIGH"},
        {0.5f, 0.8f, MEDIUM, "m = 2.5u is MEDIUM"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Grid g = filled(3, 3, 0.0f);
        g.at(1, 1) = k.centre;
        curveUnits = k.unit;
        ASSERT_TRUE(loadDem(g));
        EXPECT_EQ(curveColor(1, 1), k.colour);
        EXPECT_EQ(C15, k.colour == HIGH ? 1 : 0);
        EXPECT_EQ(C10, k.colour == MEDIUM ? 1 : 0);
        EXPECT_EQ(C5, k.colour == LOW ? 1 : 0);
        EXPECT_EQ(C, k.colour == TERRAIN ? 4 : 3);
    }
}

TEST_F(CurvatureTest, UnitChangeReclassifiesWithoutRecomputing)
{
    ASSERT_TRUE(loadDem(spike5x5()));
    ASSERT_EQ(printed("Computing curvature"), 1);

    curveUnits = 10.0f;
    mt.compute_curve_color();
    EXPECT_EQ(printed("Computing curvature"), 1) << "a unit change must only reclassify";
    EXPECT_EQ(C15, 1) << "only the spike (40 > 30) stays above 3 units";
    EXPECT_EQ(C, 15) << "the neighbours' 10 is no longer above one unit";
    EXPECT_EQ(curveColor(1, 2), TERRAIN);
    EXPECT_FLOAT_EQ(MAX_CURVE, 40.0f) << "the maximum does not depend on the unit";
    EXPECT_FLOAT_EQ(TOTAL_SQ, 2000.0f) << "the total does not depend on the unit";
    expectClassCountsSumToCells();

    mt.resetCounts();
    mt.compute_curve_color();
    EXPECT_EQ(printed("Computing curvature"), 2) << "after resetCounts the curvature is rebuilt";
    EXPECT_FLOAT_EQ(TOTAL_SQ, 2000.0f) << "a rebuild must start the total from 0";
}

TEST_F(CurvatureTest, GridsWithoutInteriorPointsHaveOnlyBorderCells)
{
    for (auto [rows, cols] : {std::pair{2, 6}, {6, 2}}) {
        SCOPED_TRACE(std::to_string(rows) + " x " + std::to_string(cols));
        log.str("");
        ASSERT_TRUE(loadDem(bumpy(rows, cols)));
        EXPECT_EQ(curveCount(), 0);
        EXPECT_EQ(C, cells()) << "every cell is a border cell";
        EXPECT_EQ(C15 + C10 + C5, 0);
        EXPECT_EQ(MAX_CURVE, 0.0f);
        EXPECT_EQ(TOTAL_SQ, 0.0f);
        mt.compute_curve_color();
        EXPECT_EQ(printed("Computing curvature"), 2) << "a count of 0 means the next call rebuilds";
    }
}

TEST_F(CurvatureTest, StatisticsMatchTheLaplacianSummedInReadingOrder)
{
    // High ground with small bumps: the rounding of the four-neighbour sum
    // is of the same order as the curvature itself.
    Grid g = bumpy(7, 9, 42u, 1000.0f, 2.0f);
    ASSERT_TRUE(loadDem(g));
    float mx, mn;
    int count;
    const float* stored = mt.getCurveInfo(mx, mn, count);

    float total = 0, peak = 0, low = 0;
    int n = 0;
    for (int r = 1; r < g.rows - 1; ++r) {
        for (int c = 1; c < g.cols - 1; ++c) {
            float sum = g.at(r - 1, c) + g.at(r, c - 1) + g.at(r, c + 1) + g.at(r + 1, c);
            float m = std::fabs(static_cast<float>(sum - 4.0 * g.at(r, c)));
            total += m * m;
            peak = std::max(peak, m);
            low = n == 0 ? m : std::min(low, m);
            EXPECT_EQ(stored[n], m) << "curvature at point (" << r << "," << c << ")";
            ++n;
        }
    }
    EXPECT_EQ(curveCount(), n);
    EXPECT_EQ(TOTAL_SQ, total) << "the report's total squared curvature differs in its last bits";
    EXPECT_EQ(MAX_CURVE, peak);
    EXPECT_EQ(minCurve(), low);
    expectClassCountsSumToCells();
    EXPECT_GT(C15, 0) << "the test grid should fill every class";
    EXPECT_GT(C10, 0) << "the test grid should fill every class";
    EXPECT_GT(C5, 0) << "the test grid should fill every class";
}

} // namespace
