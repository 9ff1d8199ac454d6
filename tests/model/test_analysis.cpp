// Curvature classes (the discrete Laplacian's magnitude in curvature
// units), the comparison with reference data (elevation and curvature
// differences in difference units, the RMSE), the report that shows them,
// height classes (the DEM's rounded heights modulo the contour interval) and
// the sparse sample (the DEM's peaks plus random spot heights, as a raster
// of 0s read back as a sparse comparison file).
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include <nlohmann/json.hpp>

#include "model/cellclasses.h"
#include "model/heightclasses.h"
#include "model/report.h"
#include "model/sparseformat.h"
#include "model/sparsesample.h"
#include "tests/model/model_test.h"

using namespace orolith::model;

namespace {

using AnalysisTest = ModelTest;

Grid spike5x5() // m = 40 at the spike, 10 at its four neighbours
{
    Grid g = filled(5, 5, 0.0f);
    g.at(2, 2) = 10.0f;
    return g;
}

std::vector<int> curveCounts(const DataSet& d) { return countsOf(d.curvatureClasses(), 4); }
std::vector<int> diffCounts(const DataSet& d) { return countsOf(d.elevationClasses(), 5); }
std::vector<int> curveDiffCounts(const DataSet& d) { return countsOf(d.curvatureDifferenceClasses(), 5); }
std::optional<float> rmseOf(const DataSet& d) { return reportValues(d, 1, 1, true).rmse; }

// The many-cells-at-once classifier gives every cell the class of the
// one-value rule and counts them alike: for grid widths that leave every
// tail length, both layouts, bounds hit exactly, NaN and infinite values,
// and units of 0, below 0 and NaN.
template <int K>
void expectClassesOfTheRule(const std::vector<float>& values, int rows, int cols, bool interiorOnly, float u)
{
    const int cellCols = cols - 1;
    std::vector<std::uint8_t> classes(static_cast<std::size_t>(rows - 1) * cellCols, 99);
    int counts[K + 1], onlyCounts[K + 1], expected[K + 1] = {};
    classifyCells<K>(values.data(), rows, cols, interiorOnly, u, classes.data(), counts);
    classifyCells<K>(values.data(), rows, cols, interiorOnly, u, nullptr, onlyCounts);
    for (int r = 0; r < rows - 1; ++r)
        for (int c = 0; c < cellCols; ++c) {
            int want = K;
            if (!interiorOnly)
                want = cellclasses::classOf<K>(values[static_cast<std::size_t>(r) * cellCols + c], u);
            else if (r > 0 && c > 0)
                want = cellclasses::classOf<K>(values[static_cast<std::size_t>(r - 1) * (cols - 2) + c - 1], u);
            ++expected[want];
            ASSERT_EQ(classes[static_cast<std::size_t>(r) * cellCols + c], want)
                << "K " << K << " cols " << cols << " interior " << interiorOnly << " u " << u << " cell " << r << ","
                << c;
        }
    for (int k = 0; k <= K; ++k) {
        EXPECT_EQ(counts[k], expected[k]) << "K " << K << " cols " << cols << " u " << u << " class " << k;
        EXPECT_EQ(onlyCounts[k], expected[k]) << "counts without classes, class " << k;
    }
}

TEST(CellClasses, ManyAtOnceMatchTheOneValueRule)
{
    std::mt19937 gen(7);
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_real_distribution<float> any(-1, 25);
    for (float u : {5.0f, 0.0f, -5.0f, nan, 0.37f})
        for (int cols : {3, 4, 18, 19, 20, 35})
            for (bool interiorOnly : {false, true}) {
                const int rows = 7;
                std::vector<float> values(static_cast<std::size_t>(rows - 1) * (cols - 1));
                for (float& v : values) {
                    int p = pick(gen); // a bound itself half the time
                    v = p < 5 ? p * u : p == 5 ? nan : p == 6 ? inf : p == 7 ? -inf : any(gen);
                }
                expectClassesOfTheRule<3>(values, rows, cols, interiorOnly, u);
                expectClassesOfTheRule<4>(values, rows, cols, interiorOnly, u);
            }
}

TEST_F(AnalysisTest, SpikeMarksItsCellAndItsFourNeighboursUntilTheUnitChanges)
{
    ASSERT_TRUE(load(spike5x5()));
    const CurvatureField& k = data.curvature();
    EXPECT_EQ(k.magnitude.size(), 9u) << "one value per interior point";
    EXPECT_EQ(k.peak, 40.0f);
    EXPECT_EQ(k.totalSquared, 40.0f * 40.0f + 4 * 10.0f * 10.0f);
    EXPECT_EQ(k.minimum, 0.0f) << "the diagonal neighbours are untouched";
    EXPECT_EQ(curveCounts(data), (std::vector<int>{5, 0, 0, 11}));
    for (auto [r, c] : {std::pair{2, 2}, {1, 2}, {2, 1}, {2, 3}, {3, 2}})
        EXPECT_EQ(curveColor(r, c), HIGH) << "cell (" << r << "," << c << ")";
    EXPECT_EQ(curveColor(1, 1), TERRAIN) << "diagonal neighbour";
    EXPECT_EQ(curveColor(0, 2), TERRAIN) << "border cells have no curvature of their own";

    const unsigned long long version = data.version();
    data.classifyCurvature(10.0f);
    EXPECT_EQ(log.printed("Computing curvature"), 1) << "a unit change only reclassifies";
    EXPECT_EQ(curveCounts(data), (std::vector<int>{1, 0, 0, 15})) << "only 40 > 30 is above one unit of 10";
    EXPECT_EQ(curveColor(1, 2), TERRAIN);
    EXPECT_EQ(data.curvature().totalSquared, 2000.0f) << "the statistics do not depend on the unit";
    EXPECT_GT(data.version(), version) << "the picture's classes changed";

    // New comparison data keep the DEM's curvature: not computed again, and
    // its total not added to.
    ASSERT_TRUE(swapIn(replaceComparison(data, write(filled(5, 5, 3.0f)), {}, {}, io, log)));
    EXPECT_EQ(log.printed("Computing curvature"), 1) << "the DEM's curvature is kept";
    EXPECT_EQ(data.curvature().totalSquared, 2000.0f);
    EXPECT_EQ(curveCounts(data), (std::vector<int>{5, 0, 0, 11})) << "classified again in the load's unit";
}

TEST_F(AnalysisTest, CurvatureOnAClassBoundFallsIntoTheLowerClass)
{
    const int colours[4] = {HIGH, MEDIUM, LOW, TERRAIN};
    struct {
        float centre, unit; // m = 4 x centre
        int cls;
    } cases[] = {{0.5f, 1, 2}, {0.75f, 1, 1}, {0.25f, 1, 3}, {0.5f, 2, 3}, {0.5f, 0.5f, 0}, {0.5f, 0.8f, 1}};
    for (const auto& k : cases) {
        SCOPED_TRACE("m = " + std::to_string(4 * k.centre) + ", u = " + std::to_string(k.unit));
        Grid g = filled(3, 3, 0.0f);
        g.at(1, 1) = k.centre;
        ASSERT_TRUE(load(g, std::nullopt, {k.unit, 1.0f}));
        EXPECT_EQ(curveColor(1, 1), colours[k.cls]);
        EXPECT_EQ(curveColor(0, 1), TERRAIN) << "a border cell must not borrow the interior value";
        EXPECT_EQ(curveColor(1, 0), TERRAIN) << "a border cell must not borrow the interior value";
        std::vector<int> want{0, 0, 0, 3};
        ++want[k.cls];
        EXPECT_EQ(curveCounts(data), want);
    }
}

TEST_F(AnalysisTest, CurvatureStatisticsAreSummedAsFloatsInReadingOrder)
{
    // High ground with small bumps: the rounding of the four-neighbour sum
    // is of the order of the curvature itself, and the total's last bits
    // depend on the order and precision of the sums.
    ASSERT_TRUE(load(bumpy(7, 9, 42u, 1000.0f, 2.0f)));
    // 0x1.2d2f94p+8 summed in double, 0x1.2d2f92p+8 in reverse order.
    EXPECT_EQ(data.curvature().totalSquared, 0x1.2d2f96p+8f) << "301.185883";
    EXPECT_EQ(data.curvature().peak, 0x1.3908p+2f);
    EXPECT_EQ(data.curvature().minimum, 0x1.64p-5f);
    EXPECT_EQ(curveCounts(data), (std::vector<int>{14, 10, 7, 17}));
}

TEST_F(AnalysisTest, DifferenceBoundsAreStrictAndOnlyACellsFirstPointCounts)
{
    Grid dem{3, 6, {104, 103, 102, 101, 100.5f, 300, 96, 97, 98, 99, 99.5f, 100, 500, 500, 500, 500, 500, 500}};
    ASSERT_TRUE(load(dem, filled(3, 6, 100.0f)));
    EXPECT_EQ(diffCounts(data), (std::vector<int>{0, 2, 2, 2, 4})) << "d = 4u is in the second class, 3u the third...";
    const int row0[5] = {HIGH, MEDIUM, LOW, TERRAIN, TERRAIN};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(diffColor(0, c), row0[c]) << "cell (0," << c << ")";
        EXPECT_EQ(diffColor(1, c), row0[c]) << "cell (1," << c << "): below the reference, classed by |d|";
    }
    EXPECT_EQ(data.elevation().max, 4.0f) << "the last row and column are no cell's first point";
    EXPECT_EQ(data.elevation().min, -4.0f) << "the difference is DEM minus reference";
    // Squares 16 + 9 + 4 + 1 + 0.25 twice, 200^2 and six times 400^2.
    EXPECT_NEAR(rmseOf(data).value_or(0), std::sqrt(1000060.5 / 18), 1e-3)
        << "the RMSE covers the last row and column too";

    data.classifyElevation(0.5f);
    EXPECT_EQ(log.printed("Computing elevation differences"), 1) << "a unit change only reclassifies";
    EXPECT_EQ(diffCounts(data), (std::vector<int>{4, 2, 0, 2, 2}));
}

TEST_F(AnalysisTest, DifferenceExtremesStartFromTheFirstPresentReferencePoint)
{
    // An earlier comparison leaves extremes of +30 and -30 behind.
    Grid old = filled(3, 3, 100.0f);
    old.at(0, 0) = 130.0f;
    old.at(1, 1) = 70.0f;
    ASSERT_TRUE(load(old, filled(3, 3, 100.0f)));
    ASSERT_EQ(data.elevation().max, 30.0f);
    ASSERT_EQ(data.elevation().min, -30.0f);

    // Spot heights only at (1,1), (2,2) and (3,3); (0,0) has none.
    Grid ref = filled(4, 4, 0.0f);
    ref.at(1, 1) = 55.0f; // DEM 50: -5
    ref.at(2, 2) = 52.0f; // -2
    ref.at(3, 3) = 53.0f; // -3, in the last row and column: RMSE only
    ASSERT_TRUE(load(filled(4, 4, 50.0f), ref));
    EXPECT_EQ(data.elevation().max, -2.0f) << "neither the absent (0,0) nor an earlier load may count";
    EXPECT_EQ(data.elevation().min, -5.0f);
    EXPECT_EQ(diffCounts(data), (std::vector<int>{1, 0, 0, 1, 7})) << "cells without a spot height store 0";
    EXPECT_NEAR(rmseOf(data).value_or(0), std::sqrt((25.0 + 4.0 + 9.0) / 3), 1e-5)
        << "only the spot heights enter the RMSE";
}

TEST_F(AnalysisTest, ZeroAndNegativeReferenceValuesAreMissing)
{
    Grid ref{3, 3, {-9999, 0, -3, 0, 12, 0, 0, 0, 0}, 10.0f, "NODATA_value -9999"};
    ASSERT_TRUE(load(filled(3, 3, 10.0f), ref));
    EXPECT_EQ(data.elevation().max, -2.0f) << "only (1,1) holds a reference value";
    EXPECT_EQ(data.elevation().min, -2.0f);
    EXPECT_EQ(diffCounts(data), (std::vector<int>{0, 0, 0, 1, 3}));
    EXPECT_EQ(rmseOf(data), 2.0f) << "no-data cells stay out of the RMSE";
}

TEST_F(AnalysisTest, CurvatureDifferencesCompareLaplacianMagnitudes)
{
    // A sparse reference is used raw, its zeros included: a spot of 7 at
    // the spike gives |28 - 40| = 12 there and |7 - 10| = 3 beside it.
    Grid spot = filled(5, 5, 0.0f);
    spot.at(2, 2) = 7.0f;
    ASSERT_TRUE(load(spike5x5(), spot));
    EXPECT_EQ(data.curvatureDifference(), (std::vector<float>{0, 3, 0, 3, 12, 3, 0, 3, 0}));
    EXPECT_EQ(curveDiffCounts(data), (std::vector<int>{1, 0, 4, 0, 11})) << "a difference of exactly 3u is third class";
    EXPECT_EQ(curveDiffColor(2, 2), VERYHIGH);
    EXPECT_EQ(curveDiffColor(1, 2), MEDIUM);
    EXPECT_EQ(curveDiffColor(0, 2), TERRAIN) << "border cells have no curvature difference";
    EXPECT_EQ(diffColor(2, 2), MEDIUM) << "the elevation classes are kept beside them: |10 - 7| = 3";

    data.classifyCurvatureDifference(4.0f);
    EXPECT_EQ(log.printed("Computing curvature differences"), 1) << "a unit change only reclassifies";
    EXPECT_EQ(curveDiffCounts(data), (std::vector<int>{0, 0, 1, 0, 15}));
}

TEST_F(AnalysisTest, ReportCountsAreThoseOfTheUnitsItPrints)
{
    ASSERT_TRUE(load(bumpy(8, 9, 5u), bumpy(8, 9, 6u)));
    const ReportValues inUnitOne = reportValues(data, 1.0, 1.0, true);
    const ReportValues report = reportValues(data, 2.5, 12.5, true);
    EXPECT_TRUE(diffCounts(data)[0] == inUnitOne.d20 && curveCounts(data)[0] == inUnitOne.c15)
        << "the colouring was computed in unit 1";
    data.classifyCurvature(2.5f);
    data.classifyElevation(12.5f);
    EXPECT_EQ((std::vector<int>{report.c15, report.c10, report.c5, report.c}), curveCounts(data));
    EXPECT_EQ((std::vector<int>{report.d20, report.d15, report.d10, report.d5, report.d}), diffCounts(data));
    data.classifyCurvatureDifference(12.5f);
    EXPECT_EQ((std::vector<int>{report.cd20, report.cd15, report.cd10, report.cd5, report.cd}), curveDiffCounts(data));
    EXPECT_NE(report.d20, inUnitOne.d20) << "the sample should tell the units apart";
}

TEST_F(AnalysisTest, RmseIsSummedAsFloatsInReadingOrder)
{
    ASSERT_TRUE(load(bumpy(6, 7, 5u), bumpy(6, 7, 6u)));
    // 0x1.3036aap+5 when summed in double or in reverse order.
    EXPECT_EQ(rmseOf(data), 0x1.3036acp+5f) << "38.0266953";
}

TEST_F(AnalysisTest, NoReferencePointMeansNoRmse)
{
    ASSERT_TRUE(load(filled(3, 4, 20.0f), filled(3, 4, 0.0f)));
    EXPECT_FALSE(rmseOf(data).has_value()) << "no present point: no RMSE to show";
    EXPECT_EQ(diffCounts(data)[4], cells());
    EXPECT_EQ(data.elevation().max, 0.0f);
    EXPECT_EQ(data.elevation().min, 0.0f);
}

ReportValues workedExample()
{
    ReportValues v;
    v.rows = 100;
    v.cols = 120;
    v.totalSq = 1234.5f;
    v.maxCurve = 56.25f;
    v.c15 = 5, v.c10 = 10, v.c5 = 20, v.c = 11965;
    return v;
}

const std::string kDemSection = "\t ----- STATISTICS -----\n\n"
                                "Gridsize: 100 x 120\n\n"
                                "\t ----- DEM STATISTICS -----\n"
                                "Total Squared Curvature:     1234.50\n"
                                "Maximum Curvature      :       56.25\n"
                                "Average Curvature      :        0.10\n\n"
                                "Curvature class counts:\n"
                                "   >    3.0         5\n"
                                "   >    2.0        10\n"
                                "   >    1.0        20\n"
                                "   <=   1.0     11965\n";

TEST(StatisticsReport, WorkedExampleWithAndWithoutComparison)
{
    ReportValues v = workedExample();
    EXPECT_EQ(statisticsReport(v), kDemSection) << "without comparison the report ends after the curvature lines";

    v.comparison = true;
    v.contourInterval = 20;
    v.d20 = 1, v.d15 = 2, v.d10 = 3, v.d5 = 4, v.d = 11990;
    v.cd20 = 6, v.cd15 = 7, v.cd10 = 8, v.cd5 = 9, v.cd = 11970;
    v.rmse = 1.23456f;
    EXPECT_EQ(statisticsReport(v), kDemSection + "\n\t ----- COMPARISON STATISTCS -----\n"
                                                 "Contour interval:   20\n"
                                                 "Elevation difference class counts:\n"
                                                 "   >    4.0         1\n"
                                                 "   >    3.0         2\n"
                                                 "   >    2.0         3\n"
                                                 "   >    1.0         4\n"
                                                 "   <=   1.0     11990\n\n"
                                                 "Curvature difference class counts:\n"
                                                 "   >    4.0         6\n"
                                                 "   >    3.0         7\n"
                                                 "   >    2.0         8\n"
                                                 "   >    1.0         9\n"
                                                 "   <=   1.0     11970\n\n"
                                                 "RMSE: 1.235");
}

TEST(StatisticsReport, WideCountsMissingRmseAndAnEmptyModel)
{
    ReportValues v = workedExample();
    v.c = 2147483647;
    v.comparison = true;
    v.d = -1234567890; // eleven characters
    std::string text = statisticsReport(v);
    EXPECT_NE(text.find("   <=   1.02147483647\n"), std::string::npos) << "a count that fills its field:\n" << text;
    EXPECT_NE(text.find("   <=   1.0-1234567890\n"), std::string::npos) << "a count wider than its field:\n" << text;
    const std::string tail = "\n   <=   1.0         0\n\nRMSE: n/a";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << "no reference point: no RMSE number";

    text = statisticsReport(ReportValues{});
    EXPECT_NE(text.find("Gridsize: 0 x 0\n"), std::string::npos);
    EXPECT_NE(text.find("Average Curvature      :         n/a\n\nCurvature class counts"), std::string::npos)
        << "nothing loaded, no average (and no \"nan\"):\n"
        << text;
}

TEST(StatisticsJson, TheReportsNumbersWithTheFewestDigitsThatReadBack)
{
    using Json = nlohmann::ordered_json;
    ReportValues v = workedExample();
    v.totalSq = 0.1f;
    v.maxCurve = 16777215.0f; // every digit needed
    v.rows = 3, v.cols = 1;
    v.curveUnit = 0.25;
    v.comparison = true;
    v.diffUnit = 2.5;
    v.contourInterval = 20;
    v.d20 = 1, v.d15 = 2, v.d10 = 3, v.d5 = 4, v.d = 11990;
    v.cd20 = 6, v.cd15 = 7, v.cd10 = 8, v.cd5 = 9, v.cd = 11970;
    v.rmse = 1.23456f;
    const std::string text = statisticsJson(v);
    const Json j = Json::parse(text);
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"rows", "cols", "curvature", "comparison"}));
    EXPECT_EQ(j.at("rows"), 3);
    EXPECT_EQ(j.at("cols"), 1);

    const Json& curvature = j.at("curvature");
    EXPECT_EQ(curvature.at("unit"), 0.25);
    // Floats: the text of the float itself, not of its double.
    EXPECT_EQ(curvature.at("total_squared").dump(), "0.1") << text;
    EXPECT_EQ(curvature.at("maximum").dump(), "16777215.0") << text;
    EXPECT_EQ(curvature.at("average").get<float>(), 0.1f / 3) << "divided as floats" << text;
    EXPECT_EQ(curvature.at("classes"),
              Json::parse(R"([{"above": 0.75, "count": 5}, {"above": 0.5, "count": 10}, {"above": 0.25, "count": 20},
                              {"at_most": 0.25, "count": 11965}])"));

    const Json& comparison = j.at("comparison");
    EXPECT_EQ(comparison.at("unit"), 2.5);
    EXPECT_EQ(comparison.at("contour_interval"), 20);
    EXPECT_EQ(comparison.at("elevation_difference_classes"),
              Json::parse(R"([{"above": 10.0, "count": 1}, {"above": 7.5, "count": 2}, {"above": 5.0, "count": 3},
                              {"above": 2.5, "count": 4}, {"at_most": 2.5, "count": 11990}])"));
    EXPECT_EQ(comparison.at("curvature_difference_classes"),
              Json::parse(R"([{"above": 10.0, "count": 6}, {"above": 7.5, "count": 7}, {"above": 5.0, "count": 8},
                              {"above": 2.5, "count": 9}, {"at_most": 2.5, "count": 11970}])"));
    EXPECT_EQ(comparison.at("rmse").dump(), "1.23456") << text;
    EXPECT_EQ(comparison.at("rmse").get<float>(), 1.23456f);

    // n/a in the text, null here.
    v.rmse.reset();
    EXPECT_TRUE(Json::parse(statisticsJson(v)).at("comparison").at("rmse").is_null());
    v.comparison = false;
    EXPECT_TRUE(Json::parse(statisticsJson(v)).at("comparison").is_null()) << "no comparison grid";
    const Json empty = Json::parse(statisticsJson(ReportValues{}));
    EXPECT_TRUE(empty.at("curvature").at("average").is_null()) << "nothing loaded, no average";
    EXPECT_EQ(empty.at("curvature").at("total_squared"), 0.0);
}

class HeightClassTest : public ModelTest {
protected:
    // The comparison data in use replaced by a grid of contour interval n.
    DataSet withInterval(int n)
    {
        Comparison c;
        c.grid.header = data.header();
        c.grid.heights.assign(data.dem().heights.size(), 0.0f);
        c.grid.contourInt = n;
        return data.withComparison(std::move(c), {}, log);
    }
    static std::vector<int> classes(const DataSet& d) { return d.heightClasses().counts; }
};
using SparseTest = ModelTest;

TEST_F(HeightClassTest, HeightsRoundHalfUpBeforeTakingTheRemainderAndBadIntervalsAreRefused)
{
    ASSERT_TRUE(load(Grid{2, 2, {100.4f, 100.5f, 119.49f, 120.0f}}));
    DataSet one = withInterval(1);
    log.clear();
    ASSERT_TRUE(one.computeHeightClasses(log));
    EXPECT_EQ(classes(one), std::vector<int>{4});
    EXPECT_EQ(heightClassLines(one.heightClasses()), "Height Classes Output\n");
    EXPECT_EQ(one.heightClasses().minCount, 4);

    DataSet twenty = withInterval(20);
    log.clear();
    const unsigned long long version = twenty.version();
    ASSERT_TRUE(twenty.computeHeightClasses(log));
    EXPECT_GT(twenty.version(), version) << "the picture's height classes changed";
    EXPECT_TRUE(twenty.hasHeightClasses());
    std::vector<int> want(20, 0);
    want[0] = 2;  // 100.4 and 120
    want[1] = 1;  // 100.5 rounds up to 101
    want[19] = 1; // 119.49 rounds down to 119
    EXPECT_EQ(classes(twenty), want);
    EXPECT_EQ(twenty.heightClasses().minCount, 0);
    EXPECT_EQ(twenty.heightClasses().maxCount, 2);
    std::string listing = "Height Classes Output\n";
    for (int i = 1; i < 20; ++i)
        listing += std::to_string(i) + " " + std::to_string(want[i]) + "\n";
    EXPECT_EQ(heightClassLines(twenty.heightClasses()), listing) << "class 0 is not listed";
    EXPECT_TRUE(log.lines.empty() && log.notices.empty()) << log.text();

    for (int interval : {0, -9999, MAX_HEIGHT_CLASSES + 1}) {
        DataSet refused = withInterval(interval);
        log.clear();
        EXPECT_FALSE(refused.computeHeightClasses(log)) << interval;
        ASSERT_EQ(log.notices.size(), 1u);
        EXPECT_NE(log.notices[0].find("contour interval"), std::string::npos) << "the reason is a notice";
        EXPECT_TRUE(log.lines.empty());
        EXPECT_FALSE(refused.hasHeightClasses());
        std::string why;
        EXPECT_TRUE(heightClassesOf(data.demView(), interval, why).counts.empty()) << interval;
        EXPECT_EQ(why, log.notices[0]);
    }
    std::string why;
    EXPECT_EQ(heightClassesOf(data.demView(), MAX_HEIGHT_CLASSES, why).counts.size(),
              static_cast<std::size_t>(MAX_HEIGHT_CLASSES))
        << "the largest interval is refused: " << why;
}

TEST_F(HeightClassTest, PointsRoundingBelowZeroAreLeftOutWithANote)
{
    // Rounded half up: 0, -1, -20, -40, 3, 20.
    ASSERT_TRUE(load(Grid{2, 3, {-0.4f, -1.5f, -20.5f, -40.5f, 3.0f, 20.0f}}));
    DataSet twenty = withInterval(20);
    log.clear();
    ASSERT_TRUE(twenty.computeHeightClasses(log));
    std::vector<int> want(20, 0);
    want[0] = 2;
    want[3] = 1;
    EXPECT_EQ(classes(twenty), want) << "-20 and -40 are multiples of 20, yet below 0";
    EXPECT_EQ(log.notices, std::vector<std::string>{"3 points below height 0 left out of the height classes"});
}

// A draw that takes its numbers from a seeded generator, row and column
// bounds recorded.
struct RecordedDraw {
    std::mt19937 generator;
    std::vector<int> bounds;

    explicit RecordedDraw(unsigned seed) : generator(seed) {}
    RandomDraw draw()
    {
        return [this](int bound) {
            bounds.push_back(bound);
            return static_cast<int>(generator() % static_cast<unsigned>(bound));
        };
    }
};

TEST_F(SparseTest, CountsBelowAHundredOrAboveTheGridPointsAreRefused)
{
    Grid g = bumpy(5, 6);
    ASSERT_TRUE(load(g));
    log.clear();
    RecordedDraw random(1);
    std::string why;
    EXPECT_TRUE(sparseRaster(data.demView(), 99, random.draw(), log, why).empty());
    EXPECT_EQ(why, "Number of heights must be >= 100-\ntry again");
    EXPECT_TRUE(log.lines.empty()) << "no peak search: " << log.text();
    EXPECT_TRUE(random.bounds.empty()) << "no draw";
    EXPECT_TRUE(sparseRaster(data.demView(), LOCALNUM + 1, random.draw(), log, why).empty())
        << "101 spot heights cannot thin out 30 points";
    EXPECT_EQ(why, "Number of heights must be <= 100, the number of grid points");
    EXPECT_FALSE(sparseRaster(data.demView(), LOCALNUM, random.draw(), log, why).empty())
        << "the smallest sample stays possible";
    EXPECT_EQ(data.dem().heights, g.h);
}

TEST_F(SparseTest, HundredHeightsOnAPeakyDemAreItsFirstHundredPeaks)
{
    Grid g = filled(23, 23, 1.0f), want = filled(23, 23, 0.0f);
    for (int r = 1; r < 23; r += 2) {
        for (int c = 1; c < 23; c += 2) { // 121 isolated peaks
            g.at(r, c) = 1000.0f + 30.0f * r + c;
            if (r <= 17 || (r == 19 && c == 1)) // 99 peaks in rows 1 to 17, then (19, 1)
                want.at(r, c) = g.at(r, c);
        }
    }
    ASSERT_TRUE(load(g));
    log.clear();
    RecordedDraw random(5);
    std::string why;
    EXPECT_EQ(sparseRaster(data.demView(), 100, random.draw(), log, why), want.h);
    EXPECT_TRUE(random.bounds.empty()) << "no random spot heights when 100 peaks fill the sample";
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Peak heights will be included automatically.", "Found 100 local maximums."}));

    const std::vector<SpotHeight> peaks = localMaximums(data.demView());
    ASSERT_EQ(peaks.size(), static_cast<std::size_t>(LOCALNUM)) << "more than the room for 100 peaks";
    EXPECT_EQ(peaks.back().row, 19);
    EXPECT_EQ(peaks.back().column, 1);
}

TEST_F(SparseTest, PeaksRiseStrictlyAboveAllEightNeighbours)
{
    struct {
        int size;
        std::vector<std::pair<int, int>> highs;
        std::size_t peaks;
    } cases[] = {{3, {{1, 1}}, 1}, {4, {{1, 1}, {2, 2}}, 0}, {4, {{0, 2}, {3, 3}}, 0}}; // equal highs; borders
    for (const auto& k : cases) {
        Grid g = filled(k.size, k.size, 4.0f);
        for (auto [r, c] : k.highs)
            g.at(r, c) = 9.0f;
        ASSERT_TRUE(load(g));
        const std::vector<SpotHeight> peaks = localMaximums(data.demView());
        EXPECT_EQ(peaks.size(), k.peaks) << "first high at row " << k.highs[0].first;
        if (k.size == 3 && !peaks.empty()) {
            EXPECT_TRUE(peaks[0].row == 1 && peaks[0].column == 1 && peaks[0].height == 9.0f);
        }
    }
}

TEST_F(SparseTest, EverySpotHeightBeyondThePeaksTakesARowAndAColumnDraw)
{
    Grid g = filled(12, 14, 0.0f); // rising to the south-east: no peak
    for (int i = 0; i < 12 * 14; ++i)
        g.h[i] = 1.0f + i;
    ASSERT_TRUE(load(g));
    std::mt19937 same(11);
    std::vector<float> want(g.h.size(), 0.0f);
    for (int k = 0; k < 150; ++k) {
        const int r = static_cast<int>(same() % 12u), c = static_cast<int>(same() % 14u); // row first, then column
        want[r * 14 + c] = g.at(r, c);
    }
    RecordedDraw random(11);
    std::string why;
    EXPECT_EQ(sparseRaster(data.demView(), 150, random.draw(), log, why), want);
    ASSERT_EQ(random.bounds.size(), 300u) << "not 150 draws of a row and a column";
    for (std::size_t k = 0; k < random.bounds.size(); k += 2)
        ASSERT_TRUE(random.bounds[k] == 12 && random.bounds[k + 1] == 14) << "draw " << k << ": a row, then a column";
}

TEST_F(SparseTest, TheSameDrawsGiveTheSameSampleAndLeaveTheDemIntact)
{
    Grid g = bumpy(12, 14, 13u);
    ASSERT_TRUE(load(g));
    const float totalSq = data.curvature().totalSquared;
    std::string why;
    RecordedDraw first(3), second(3), other(4);
    const std::vector<float> raster = sparseRaster(data.demView(), 150, first.draw(), log, why);
    EXPECT_EQ(sparseRaster(data.demView(), 150, second.draw(), log, why), raster) << "a sample drawn again";
    EXPECT_NE(sparseRaster(data.demView(), 150, other.draw(), log, why), raster) << "the draws decide the sample";
    EXPECT_EQ(data.dem().heights, g.h) << "the DEM must not be replaced by its sample";
    EXPECT_EQ(data.curvature().totalSquared, totalSq) << "later analyses still see the DEM";
}

} // namespace
