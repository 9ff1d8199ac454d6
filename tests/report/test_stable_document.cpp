// The report of a pair with stable-terrain rules: its figures, maps and
// histograms are those of the points the rules kept, its statistics report
// still that of every point, and each rule is listed with what it removed.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "model/coregister.h"
#include "report/accuracydocument.h"
#include "report/reporthtml.h"
#include "report/reportjson.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::report;

namespace {

constexpr int ROWS = 24, COLS = 30, WEST = 15;

float demHeight(int r, int c) { return static_cast<float>(500 + 20 * std::sin(r / 4.0) * std::cos(c / 5.0) + 3 * r); }

// West: the DEM 0.8 to 1.2 above the comparison, but for three blunders
// 40 above; east: 2 below.
bool blunder(int r, int c) { return (r == 5 && c == 4) || (r == 12 && c == 9) || (r == 20 && c == 2); }
float westDifference(int r, int c) { return blunder(r, c) ? 40.0f : 1.0f + 0.1f * ((r + c) % 5 - 2); }
float comparisonHeight(int r, int c) { return demHeight(r, c) - (c < WEST ? westDifference(r, c) : -2.0f); }

// The mask keeps the west half; outliers beyond 3 NMAD go.
StableTerrainRules westRules()
{
    StableTerrainRules rules;
    rules.mask.assign(static_cast<std::size_t>(ROWS) * COLS, 0);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < WEST; ++c)
            rules.mask[static_cast<std::size_t>(r) * COLS + c] = 1;
    rules.maskName = "west.tif";
    rules.outlierNmads = 3;
    return rules;
}

ReportRequest smallRequest()
{
    ReportRequest request;
    request.slopeBounds = {0, 10, 30};
    request.mapMaxSide = 100; // the map cell by cell
    request.viewWidth = 80;
    request.viewHeight = 60;
    return request;
}

DataSet stablePair()
{
    DataSet d = pairDataSet(ROWS, COLS, 10, demHeight, comparisonHeight);
    std::string why;
    EXPECT_TRUE(d.setStableTerrain(westRules(), why)) << why;
    return d;
}

TEST(StableTerrainReport, FiguresMapsAndHistogramAreThoseOfTheKeptPoints)
{
    const DataSet d = stablePair();
    const AccuracyDocument doc = collectDocument(d, nullptr, smallRequest());
    const std::size_t kept = ROWS * WEST - 3;

    const AccuracyReport direct =
        accuracyReport(d.demView(), d.stableComparisonView(), d.spacing(), smallRequest().slopeBounds);
    EXPECT_EQ(doc.before.all.count, kept);
    EXPECT_EQ(doc.before.all.count, direct.all.count);
    EXPECT_DOUBLE_EQ(doc.before.all.rmse, direct.all.rmse);
    EXPECT_DOUBLE_EQ(doc.before.all.median, direct.all.median);
    EXPECT_DOUBLE_EQ(doc.before.all.nmad, direct.all.nmad);
    ASSERT_EQ(doc.before.classes.size(), direct.classes.size());
    for (std::size_t k = 0; k < direct.classes.size(); ++k)
        EXPECT_EQ(doc.before.classes[k].figures.count, direct.classes[k].figures.count) << k;
    EXPECT_GT(doc.before.all.min, 0.7) << "the east half and the blunders are out";
    EXPECT_LT(doc.before.all.max, 1.3);
    EXPECT_DOUBLE_EQ(doc.limit, mapLimit(direct.all));

    // The map shows the kept points alone.
    const MapGrid& map = doc.differenceBefore.grid;
    ASSERT_EQ(map.cols, COLS);
    int shown = 0;
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) {
            const float v = map.values[static_cast<std::size_t>(r) * COLS + c];
            const bool keptHere = c < WEST && !blunder(r, c);
            EXPECT_EQ(!std::isnan(v), keptHere) << r << ", " << c;
            shown += !std::isnan(v);
        }
    EXPECT_EQ(shown, static_cast<int>(kept));

    std::size_t binned = doc.histogramBefore.below + doc.histogramBefore.above;
    for (std::size_t n : doc.histogramBefore.counts)
        binned += n;
    EXPECT_EQ(binned, kept);
    EXPECT_EQ(doc.histogramBefore.below + doc.histogramBefore.above, 0u) << "no blunder off the axis";
    EXPECT_EQ(doc.differencePoints, kept);
    std::size_t barred = 0;
    for (const SlopeBar& b : doc.slopeBars)
        barred += b.count;
    EXPECT_LE(barred, kept);
}

TEST(StableTerrainReport, EachRuleIsListedWithThePointsItRemoved)
{
    const AccuracyDocument doc = collectDocument(stablePair(), nullptr, smallRequest());
    ASSERT_TRUE(doc.stable);
    EXPECT_EQ(doc.stable->paired, static_cast<std::size_t>(ROWS * COLS));
    EXPECT_EQ(doc.stable->kept, static_cast<std::size_t>(ROWS * WEST - 3));
    ASSERT_EQ(doc.stable->lines.size(), 2u);
    EXPECT_EQ(doc.stable->lines[0].rule, "mask west.tif");
    EXPECT_EQ(doc.stable->lines[0].removed, static_cast<std::size_t>(ROWS * (COLS - WEST)));
    EXPECT_EQ(doc.stable->lines[1].rule.rfind("outliers beyond 3 NMAD", 0), 0u) << doc.stable->lines[1].rule;
    EXPECT_EQ(doc.stable->lines[1].removed, 3u);

    const nlohmann::json j = nlohmann::json::parse(documentJson(doc));
    const nlohmann::json& stable = j.at("stable_terrain");
    EXPECT_EQ(stable.at("paired"), ROWS * COLS);
    EXPECT_EQ(stable.at("kept"), ROWS * WEST - 3);
    ASSERT_EQ(stable.at("rules").size(), 2u);
    EXPECT_EQ(stable.at("rules")[0].at("rule"), "mask west.tif");
    EXPECT_EQ(stable.at("rules")[0].at("removed"), ROWS * (COLS - WEST));
    EXPECT_EQ(stable.at("rules")[1].at("removed"), 3);
    EXPECT_EQ(j.at("before").at("all").at("count"), ROWS * WEST - 3);

    const std::string html = htmlPage(doc);
    const std::size_t section = html.find("<h2>Stable terrain</h2>");
    ASSERT_NE(section, std::string::npos);
    EXPECT_LT(html.find("<h2>Summary</h2>"), section);
    EXPECT_LT(section, html.find("<h2>Maps</h2>"));
    EXPECT_NE(html.find("<td>removed by mask west.tif</td><td>360</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>kept</td><td>357</td>"), std::string::npos);
}

TEST(StableTerrainReport, WithoutRulesNothingIsListed)
{
    const AccuracyDocument doc =
        collectDocument(pairDataSet(ROWS, COLS, 10, demHeight, comparisonHeight), nullptr, smallRequest());
    EXPECT_FALSE(doc.stable);
    EXPECT_EQ(doc.before.all.count, static_cast<std::size_t>(ROWS * COLS));
    EXPECT_TRUE(nlohmann::json::parse(documentJson(doc)).at("stable_terrain").is_null());
    EXPECT_EQ(htmlPage(doc).find("Stable terrain"), std::string::npos);
}

TEST(StableTerrainReport, TheStatisticsReportStaysThatOfEveryPoint)
{
    const DataSet all = pairDataSet(ROWS, COLS, 10, demHeight, comparisonHeight);
    const AccuracyDocument whole = collectDocument(all, nullptr, smallRequest());
    const AccuracyDocument stable = collectDocument(stablePair(), nullptr, smallRequest());
    const std::string heading = "Accuracy against the comparison grid";
    const std::size_t end = whole.statisticsText.find(heading);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(stable.statisticsText.substr(0, end + heading.size()),
              whole.statisticsText.substr(0, end + heading.size()))
        << "the statistics before the accuracy table do not change with the rules";
    EXPECT_NE(stable.statisticsText.find("Over the stable terrain only: 357 of 720 points kept"), std::string::npos)
        << stable.statisticsText;
}

TEST(StableTerrainReport, FiguresAfterAShiftCoverThePointsKeptBeforeIt)
{
    // The comparison is the DEM moved by 0.4 cell east, the mask keeps the
    // west half.
    DataSet d = pairDataSet(40, 44, 10, demHeight, [](int r, int c) {
        return static_cast<float>(500 + 20 * std::sin(r / 4.0) * std::cos((c - 0.4) / 5.0) + 3 * r);
    });
    StableTerrainRules rules;
    rules.mask.assign(40 * 44, 0);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 22; ++c)
            rules.mask[static_cast<std::size_t>(r) * 44 + c] = 1;
    std::string why;
    ASSERT_TRUE(d.setStableTerrain(rules, why)) << why;
    // Moved back whole, the comparison covers the east half again: the
    // figures after the shift still leave it out.
    const Coregistration c = coregister(d.demView(), d.comparisonView(), d.spacing());
    ASSERT_TRUE(c.ok) << c.why;
    const AccuracyDocument doc = collectDocument(d, &c, smallRequest());
    ASSERT_TRUE(doc.shift);
    EXPECT_GT(doc.after.all.count, 0u);
    EXPECT_LE(doc.after.all.count, 40u * 22u);
    const MapGrid& after = doc.differenceAfter.grid;
    ASSERT_EQ(after.cols, 44);
    for (int r = 0; r < 40; ++r)
        for (int col = 22; col < 44; ++col)
            EXPECT_TRUE(std::isnan(after.values[static_cast<std::size_t>(r) * 44 + col])) << r << ", " << col;
    EXPECT_FALSE(std::isnan(after.values[20 * 44 + 10])) << "the west half is there";
    std::size_t binned = doc.histogramAfter.below + doc.histogramAfter.above;
    for (std::size_t n : doc.histogramAfter.counts)
        binned += n;
    EXPECT_EQ(binned, doc.after.all.count);
}

} // namespace
