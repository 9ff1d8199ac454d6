// Comparison with reference data: elevation differences, curvature
// differences, their five classes in difference units, and the RMSE.
#include <cmath>

#include "tests/model/analysis_fixtures.h"

namespace {

class DifferencesTest : public AnalysisTest {
protected:
    static float maxDiff()
    {
        float mx, mn;
        int n;
        mt.getDiffInfo(mx, mn, n);
        return mx;
    }
    static float minDiff()
    {
        float mx, mn;
        int n;
        mt.getDiffInfo(mx, mn, n);
        return mn;
    }
    static int diffColor(int r, int c) { return mt.getTriangles()[tri(r, c)].diffColor; }
    static void expectCountsSumToCells()
    {
        EXPECT_EQ(D20 + D15 + D10 + D5 + D, cells()) << "every cell needs one elevation-difference class";
        EXPECT_EQ(CD20 + CD15 + CD10 + CD5 + CD, cells()) << "every cell needs one curvature-difference class";
    }
};
using DifferencesDeathTest = DifferencesTest;

TEST_F(DifferencesTest, IdenticalGridsShowNoDifference)
{
    Grid g = bumpy(5, 6, 9u);
    ASSERT_TRUE(loadPair(g, g));
    EXPECT_EQ(D, cells());
    EXPECT_EQ(CD, cells());
    EXPECT_EQ(maxDiff(), 0.0f);
    EXPECT_EQ(minDiff(), 0.0f);
    std::optional<float> rmse = rd.rmseIfPresent();
    ASSERT_TRUE(rmse.has_value());
    EXPECT_EQ(*rmse, 0.0f);
    EXPECT_EQ(rd.rmse(), 0.0f);
    for (int i = 0; i < mt.getNumTriangles(); ++i)
        EXPECT_EQ(mt.getTriangles()[i].diffColor, TERRAIN) << "triangle " << i;
}

TEST_F(DifferencesTest, FiveMetresAboveIsFirstClassInUnitOneButSecondInUnitOneAndAQuarter)
{
    ASSERT_TRUE(loadPair(filled(3, 3, 105.0f), filled(3, 3, 100.0f)));
    mt.compute_elev_diff_color();
    EXPECT_FLOAT_EQ(maxDiff(), 5.0f) << "signed difference is DEM minus reference";
    EXPECT_FLOAT_EQ(minDiff(), 5.0f);
    EXPECT_EQ(D20, 4) << "5 > 4 x 1";
    EXPECT_EQ(diffColor(0, 0), VERYHIGH);

    diffUnits = 1.25f;
    mt.compute_elev_diff_color();
    EXPECT_EQ(printed("Computing elevation differences"), 1) << "a unit change must only reclassify";
    EXPECT_EQ(D20, 0) << "5 is not above 4 x 1.25";
    EXPECT_EQ(D15, 4) << "5 is above 3 x 1.25";
    EXPECT_EQ(diffColor(1, 1), HIGH);
    EXPECT_EQ(mt.getTriangles()[tri(1, 1) + 1].diffColor, HIGH) << "both triangles of a cell share its class";
}

TEST_F(DifferencesTest, BoundsAreStrictAndOnlyTheFirstPointOfACellCounts)
{
    Grid dem{3, 6, {104, 103, 102, 101, 100.5f, 300,  //
                    96, 97, 98, 99, 99.5f, 100,        //
                    500, 500, 500, 500, 500, 500},
             10.0f, ""};
    Grid ref = filled(3, 6, 100.0f);
    ASSERT_TRUE(loadPair(dem, ref));
    mt.compute_elev_diff_color();

    EXPECT_EQ(D20, 0) << "d = 4u belongs to the second class";
    EXPECT_EQ(D15, 2);
    EXPECT_EQ(D10, 2) << "d = 3u belongs to the third class";
    EXPECT_EQ(D5, 2) << "d = 2u belongs to the fourth class";
    EXPECT_EQ(D, 4) << "d = u and below are no error";
    const int row0[5] = {HIGH, MEDIUM, LOW, TERRAIN, TERRAIN};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(diffColor(0, c), row0[c]) << "cell (0," << c << ")";
        EXPECT_EQ(diffColor(1, c), row0[c]) << "cell (1," << c << "): below the reference classes by |d|";
    }
    EXPECT_FLOAT_EQ(maxDiff(), 4.0f) << "the last column and row are not cells' first points";
    EXPECT_FLOAT_EQ(minDiff(), -4.0f);

    double sum = 0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            sum += std::pow(double(dem.at(r, c)) - 100.0, 2);
    EXPECT_NEAR(rd.rmse(), std::sqrt(sum / 18), 1e-3) << "the RMSE covers every grid point, last row and column too";
    expectCountsSumToCells();
}

TEST_F(DifferencesTest, SparseReferenceExtremesStartFromItsFirstPresentPoint)
{
    // An earlier comparison leaves extremes of +30 and -30 behind.
    Grid old = filled(3, 3, 100.0f);
    old.at(0, 0) = 130.0f;
    old.at(1, 1) = 70.0f;
    ASSERT_TRUE(loadPair(old, filled(3, 3, 100.0f)));
    ASSERT_FLOAT_EQ(maxDiff(), 30.0f);
    ASSERT_FLOAT_EQ(minDiff(), -30.0f);

    // Spot heights only at (1,1), (2,2) and the corner (3,3); (0,0) absent.
    Grid ref = filled(4, 4, 0.0f);
    ref.at(1, 1) = 55.0f; // DEM 50: -5
    ref.at(2, 2) = 52.0f; // -2
    ref.at(3, 3) = 53.0f; // -3, last row and column: RMSE only
    ASSERT_TRUE(loadPair(filled(4, 4, 50.0f), ref, SPARSEF));
    EXPECT_FLOAT_EQ(maxDiff(), -2.0f) << "extremes must not include the absent (0,0) or an earlier load";
    EXPECT_FLOAT_EQ(minDiff(), -5.0f);

    mt.compute_elev_diff_color();
    EXPECT_EQ(D20, 1) << "|-5| > 4";
    EXPECT_EQ(D5, 1) << "|-2| is above 1, up to 2";
    EXPECT_EQ(D, 7) << "cells without a spot height store 0";
    EXPECT_NEAR(rd.rmse(), std::sqrt((25.0 + 4.0 + 9.0) / 3), 1e-5) << "only the spot heights enter the RMSE";
    expectCountsSumToCells();
}

TEST_F(DifferencesTest, ZeroAndNegativeReferenceValuesAreMissing)
{
    Grid ref{3, 3, {-9999, 0, -3, 0, 12, 0, 0, 0, 0}, 10.0f, "NODATA_value -9999"};
    ASSERT_TRUE(loadPair(filled(3, 3, 10.0f), ref, CONTF));
    mt.compute_elev_diff_color();
    EXPECT_FLOAT_EQ(maxDiff(), -2.0f) << "only (1,1) holds a reference value";
    EXPECT_FLOAT_EQ(minDiff(), -2.0f);
    EXPECT_EQ(D5, 1);
    EXPECT_EQ(D, 3) << "no-data, 0 and negative values are not differences";
    EXPECT_FLOAT_EQ(rd.rmse(), 2.0f) << "no-data cells must stay out of the RMSE";
}

TEST_F(DifferencesTest, CurvatureDifferencesCompareLaplacianMagnitudes)
{
    Grid dem = filled(5, 5, 0.0f);
    dem.at(2, 2) = 10.0f; // m = 40 there, 10 at the four neighbours

    // Against a flat reference the whole curvature is the difference.
    ASSERT_TRUE(loadPair(dem, filled(5, 5, 100.0f)));
    EXPECT_EQ(CD20, 5);
    EXPECT_EQ(CD, 11);

    // The same spike on another base level: no curvature difference.
    Grid same = filled(5, 5, 100.0f);
    same.at(2, 2) = 110.0f;
    ASSERT_TRUE(loadPair(dem, same));
    EXPECT_EQ(CD, 16);

    // A sparse reference is used raw, its zeros included: a spot of 7 at
    // the spike gives |28 - 40| = 12 there and |7 - 10| = 3 beside it.
    Grid spot = filled(5, 5, 0.0f);
    spot.at(2, 2) = 7.0f;
    ASSERT_TRUE(loadPair(dem, spot, SPARSEF));
    ASSERT_EQ(mt.getCurveDiffCount(), 9);
    const float want[9] = {0, 3, 0, 3, 12, 3, 0, 3, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(mt.getCurveDiffArray()[i], want[i]) << "interior point " << i << " in reading order";
    EXPECT_EQ(CD20, 1);
    EXPECT_EQ(CD10, 4) << "a difference of exactly 3 units is third class";
    EXPECT_EQ(CD, 11);
    EXPECT_EQ(diffColor(2, 2), VERYHIGH);
    EXPECT_EQ(diffColor(1, 2), MEDIUM);
    EXPECT_EQ(diffColor(0, 2), TERRAIN) << "border cells have no curvature difference";
    expectCountsSumToCells();

    diffUnits = 4.0f;
    mt.compute_curve_diff_color();
    EXPECT_EQ(printed("Computing curvature differences"), 3) << "a unit change must only reclassify";
    EXPECT_EQ(CD10, 1) << "12 is above 8, up to 12";
    EXPECT_EQ(CD, 15);
}

TEST_F(DifferencesTest, CountsCoverEveryCellForAnyUnit)
{
    Grid dem = bumpy(6, 7, 5u);
    Grid ref = bumpy(6, 7, 6u);
    ASSERT_TRUE(loadPair(dem, ref));

    float sum = 0, n = 0;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            float d = ref.at(r, c) - dem.at(r, c);
            sum += d * d;
            n += 1;
        }
    }
    EXPECT_EQ(rd.rmse(), static_cast<float>(std::sqrt(sum / n))) << "the report's RMSE differs in its last bits";

    for (float u : {0.25f, 1.0f, 7.5f, 40.0f}) {
        SCOPED_TRACE("unit " + std::to_string(u));
        diffUnits = u;
        mt.compute_elev_diff_color();
        mt.compute_curve_diff_color();
        expectCountsSumToCells();
    }
}

TEST_F(DifferencesDeathTest, RmseWithoutAnyReferencePointIsFatal)
{
    ASSERT_TRUE(loadPair(filled(3, 4, 20.0f), filled(3, 4, 0.0f), SPARSEF));
    EXPECT_FALSE(rd.rmseIfPresent().has_value()) << "no present point: no RMSE to show";
    EXPECT_EQ(D, cells());
    EXPECT_EQ(maxDiff(), 0.0f);
    EXPECT_EQ(minDiff(), 0.0f);
    EXPECT_EXIT(
        {
            setConsole(std::cerr);
            rd.rmse();
        },
        ::testing::ExitedWithCode(255), "ERROR: Divide by zero while computing RMSE!");
}

} // namespace
