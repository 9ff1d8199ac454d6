// The statistics report text shown in the Statistics window and printed by
// the command line (whose tests check the report of a loaded model and the
// bounds of other units).
#include <gtest/gtest.h>

#include "model/report.h"

namespace {

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
    EXPECT_EQ(statisticsReport(v), kDemSection +
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
        << "nothing loaded, no average (and no \"nan\"):\n" << text;
}

} // namespace
