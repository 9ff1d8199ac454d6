// The statistics report text shown in the Statistics window.
#include "model/report.h"

#include "tests/model/analysis_fixtures.h"

namespace {

ReportValues workedExample()
{
    ReportValues v;
    v.rows = 100;
    v.cols = 120;
    v.totalSq = 1234.5f;
    v.maxCurve = 56.25f;
    v.c15 = 5;
    v.c10 = 10;
    v.c5 = 20;
    v.c = 11965;
    return v;
}

const char* const kDemSection = "\t ----- STATISTICS -----\n\n"
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

TEST(StatisticsReport, DemOnlyReportEndsAfterTheLastCurvatureLine)
{
    EXPECT_EQ(statisticsReport(workedExample()), kDemSection);
}

TEST(StatisticsReport, ComparisonSectionFollowsWithDifferenceCountsAndRmse)
{
    ReportValues v = workedExample();
    v.comparison = true;
    v.contourInterval = 20;
    v.d20 = 1, v.d15 = 2, v.d10 = 3, v.d5 = 4, v.d = 11990;
    v.cd20 = 6, v.cd15 = 7, v.cd10 = 8, v.cd5 = 9, v.cd = 11970;
    v.rmse = 1.23456f;
    const std::string want = std::string(kDemSection) +
                             "\n\t ----- COMPARISON STATISTCS -----\n"
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
                             "RMSE: 1.235";
    EXPECT_EQ(statisticsReport(v), want);
}

TEST(StatisticsReport, CurvatureBoundsFollowTheCurvatureUnit)
{
    ReportValues v = workedExample();
    v.curveUnit = 0.5;
    v.diffUnit = 7.0; // must not leak into the curvature section
    std::string text = statisticsReport(v);
    EXPECT_NE(text.find("   >    1.5         5\n"
                        "   >    1.0        10\n"
                        "   >    0.5        20\n"
                        "   <=   0.5     11965\n"),
              std::string::npos)
        << text;
}

TEST(StatisticsReport, BothDifferenceSectionsUseTheDifferenceUnit)
{
    ReportValues v = workedExample();
    v.comparison = true;
    v.diffUnit = 2.5;
    v.curveUnit = 3.0;
    std::string text = statisticsReport(v);
    const std::string bounds = "   >   10.0         0\n"
                               "   >    7.5         0\n"
                               "   >    5.0         0\n"
                               "   >    2.5         0\n"
                               "   <=   2.5         0\n";
    std::size_t elevation = text.find("Elevation difference class counts:\n" + bounds);
    std::size_t curvature = text.find("Curvature difference class counts:\n" + bounds);
    EXPECT_NE(elevation, std::string::npos) << text;
    EXPECT_NE(curvature, std::string::npos) << "curvature differences are measured in difference units:\n" << text;
}

TEST(StatisticsReport, WideCountsAndMissingRmseArePrintedInFull)
{
    ReportValues v = workedExample();
    v.c = 2147483647;
    v.comparison = true;
    v.d = -1234567890; // eleven characters
    std::string text = statisticsReport(v);
    EXPECT_NE(text.find("   <=   1.02147483647\n"), std::string::npos) << "a count that fills its field:\n" << text;
    EXPECT_NE(text.find("   <=   1.0-1234567890\n"), std::string::npos) << "a count wider than its field:\n" << text;
    const std::string tail = "\n   <=   1.0         0\n\nRMSE: n/a";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << "no reference point: no RMSE number";
}

TEST(StatisticsReport, EmptyModelShowsZerosAndAnUndefinedAverage)
{
    std::string text = statisticsReport(ReportValues{});
    EXPECT_NE(text.find("Gridsize: 0 x 0\n"), std::string::npos);
    EXPECT_NE(text.find("Total Squared Curvature:        0.00\n"), std::string::npos);
    std::size_t avg = text.find("Average Curvature      :");
    ASSERT_NE(avg, std::string::npos);
    std::string line = text.substr(avg, text.find('\n', avg) - avg);
    EXPECT_NE(line.find("nan"), std::string::npos) << "0 / 0 has no value: " << line;
}

class ReportFromModelTest : public AnalysisTest {};

TEST_F(ReportFromModelTest, ReportReadsTheLoadedModel)
{
    Grid dem = filled(4, 5, 50.0f);
    dem.at(1, 1) = 52.0f; // m = 8 there, 2 at its neighbours (1,2) and (2,1)
    Grid ref = filled(4, 5, 0.0f);
    ref.at(3, 4) = 48.0f; // only spot height, in the last row and column
    ref.at(0, 3) = 10.0f; // first non-zero value: contour level 10
    ref.at(0, 4) = 30.0f; // next level up: interval 20
    ASSERT_TRUE(loadPair(dem, ref, SPARSEF));

    ReportValues v = currentReportValues(1.0, 1.0, true);
    EXPECT_EQ(v.rows, 4);
    EXPECT_EQ(v.cols, 5);
    EXPECT_FLOAT_EQ(v.maxCurve, 8.0f);
    EXPECT_FLOAT_EQ(v.totalSq, 64.0f + 4.0f + 4.0f);
    EXPECT_EQ(v.c15, 1);
    EXPECT_EQ(v.c5, 2);
    EXPECT_EQ(v.c, 9);
    EXPECT_EQ(v.contourInterval, 20);
    EXPECT_EQ(v.d20, 1) << "cell (0,3): 50 against 10";
    ASSERT_TRUE(v.rmse.has_value());
    EXPECT_NEAR(*v.rmse, std::sqrt((40.0 * 40 + 20.0 * 20 + 2.0 * 2) / 3), 1e-3);

    EXPECT_FALSE(currentReportValues(1.0, 1.0, false).rmse.has_value()) << "no RMSE without comparison";
}

} // namespace
