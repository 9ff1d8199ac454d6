// What the report gathers from a data set: the differences' sign and
// scale on the maps and in the histogram, the block means of a large
// grid, the fits of a co-registration, the 3-D view and the texts.
#include <gtest/gtest.h>

#include <cmath>

#include "model/coregister.h"
#include "report/accuracydocument.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::report;

namespace {

// West half: the DEM 1 above the comparison; east half: 2 below.
float demHeight(int r, int c) { return static_cast<float>(500 + 20 * std::sin(r / 4.0) * std::cos(c / 5.0) + 3 * r); }
float comparisonHeight(int r, int c) { return demHeight(r, c) + (c < 15 ? -1.0f : 2.0f); }

TEST(ReportDocument, DifferencesKeepTheirSignOnTheMapsAndInTheHistogram)
{
    const DataSet d = pairDataSet(24, 30, 10, demHeight, comparisonHeight);
    ReportRequest request;
    request.slopeBounds = {0, 10, 30};
    request.mapMaxSide = 10; // 30 columns: blocks of 3
    request.viewWidth = 160;
    request.viewHeight = 120;
    const AccuracyDocument doc = collectDocument(d, nullptr, request);

    EXPECT_EQ(doc.before.all.count, 24u * 30u);
    EXPECT_EQ(doc.mapBlock, 3);
    const MapGrid& map = doc.differenceBefore.grid;
    ASSERT_EQ(map.rows, 8);
    ASSERT_EQ(map.cols, 10);
    EXPECT_DOUBLE_EQ(map.cellWidth, 30) << "a map cell is three grid cells wide";
    EXPECT_NEAR(map.values[0], 1.0, 1e-4) << "west: DEM minus comparison is +1";
    EXPECT_NEAR(map.values[9], -2.0, 1e-4) << "east: DEM minus comparison is -2";
    EXPECT_NEAR(doc.heights.grid.values[0], (demHeight(0, 0) + demHeight(0, 1) + demHeight(2, 2)) / 3, 30)
        << "the hillshade is drawn from the DEM's heights";

    // The limit is |median| + 3 NMAD; the histogram puts each half where
    // its difference lies, and nothing off the axis.
    EXPECT_DOUBLE_EQ(doc.limit, mapLimit(doc.before.all));
    const Histogram& h = doc.histogramBefore;
    ASSERT_FALSE(h.counts.empty());
    const double width = (h.hi - h.lo) / h.counts.size();
    auto countAt = [&](double v) { return h.counts[static_cast<std::size_t>((v - h.lo) / width)]; };
    EXPECT_EQ(countAt(1.0), 24u * 15u) << "the +1 half";
    EXPECT_EQ(countAt(-2.0), 24u * 15u) << "the -2 half";
    EXPECT_EQ(h.below + h.above, 0u);
    EXPECT_EQ(doc.cumulativeSample, doc.differencePoints);
    EXPECT_FALSE(doc.shift) << "no shift without a co-registration";
    EXPECT_TRUE(doc.differenceAfter.grid.values.empty());

    ASSERT_EQ(doc.files.size(), 2u);
    EXPECT_EQ(doc.files[1].role, "Comparison");
    EXPECT_EQ(doc.files[1].kind, "DEM");
    EXPECT_EQ(doc.slopeBars.size(), 3u);
    EXPECT_NE(doc.statisticsText.find("STATISTICS"), std::string::npos);
    EXPECT_NE(doc.statisticsText.find("Accuracy against the comparison grid"), std::string::npos);
    ASSERT_EQ(doc.viewRgb.size(), 160u * 120u * 3u) << doc.viewProblem;
    EXPECT_EQ(doc.viewLegend.size(), 5u);
}

TEST(ReportDocument, ACoregistrationBringsItsFigures)
{
    // The comparison is the DEM moved by 0.4 cell east.
    const DataSet moved = pairDataSet(40, 44, 10, demHeight, [](int r, int c) {
        return static_cast<float>(500 + 20 * std::sin(r / 4.0) * std::cos((c - 0.4) / 5.0) + 3 * r);
    });
    const Coregistration c = coregister(moved.demView(), moved.comparisonView(), moved.spacing());
    ASSERT_TRUE(c.ok) << c.why;
    ReportRequest request;
    request.slopeBounds = defaultSlopeBounds();
    request.viewWidth = 80;
    request.viewHeight = 60;
    const AccuracyDocument doc = collectDocument(moved, &c, request);
    ASSERT_TRUE(doc.shift);
    EXPECT_EQ(doc.shift->east, c.shiftEast);
    EXPECT_EQ(doc.shift->iterations, c.iterations);
    EXPECT_EQ(doc.fits.size(), c.fits.size() > 1 ? 2u : 1u) << "the first and the last fit";
    EXPECT_EQ(doc.fits.front().iteration, 1);
    EXPECT_EQ(doc.fits.back().iteration, c.iterations);
    EXPECT_EQ(doc.after.all.count,
              accuracyReport(moved.demView(), c.shifted.view(40, 44), moved.spacing(), defaultSlopeBounds()).all.count);
    // The map after the shift is of the grid moved back: its differences
    // are those of the shifted grid, far smaller than before.
    ASSERT_EQ(doc.differenceAfter.grid.values.size(), doc.differenceBefore.grid.values.size());
    auto meanMagnitude = [](const std::vector<float>& v) {
        double sum = 0;
        int n = 0;
        for (float x : v)
            if (!std::isnan(x)) {
                sum += std::fabs(x);
                ++n;
            }
        return sum / n;
    };
    EXPECT_TRUE(c.improved);
    EXPECT_LT(meanMagnitude(doc.differenceAfter.grid.values), meanMagnitude(doc.differenceBefore.grid.values) / 2)
        << "the map after the shift shows the grid before it";
    EXPECT_FALSE(doc.histogramAfter.counts.empty());
}

} // namespace
