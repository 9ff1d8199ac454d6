// The report of a DEM against checkpoints, with and without a comparison
// grid: what became of the points, their figures overall, per slope class
// and per point class, NVA and VVA, their map and histogram, and the
// co-registration to them, in the document, its tables, JSON and HTML.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>

#include "report/accuracydocument.h"
#include "report/checkpointsection.h"
#include "report/checkpointtables.h"
#include "report/reporthtml.h"
#include "report/reportjson.h"
#include "report/reportpdf.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::report;

namespace {

constexpr int ROWS = 20, COLS = 24;
constexpr double CELL = 10, XLL = 1000, YLL = 2000;

// A plane, so that the bilinear height anywhere is the plane's, sloping
// atan(0.25) = 14 degrees everywhere.
double plane(double row, double col) { return 500 + 2 * col - 1.5 * row; }

// The DEM with one absent cell at row 15, column 20.
DataSet planeDem()
{
    GridData g = demGrid(ROWS, COLS, CELL, [](int r, int c) { return static_cast<float>(plane(r, c)); });
    g.present.assign(g.header.cells(), 1);
    g.present[15 * COLS + 20] = 0;
    g.heights[15 * COLS + 20] = 0;
    finishGrid(g, GridRole::dem);
    SilentMessages quiet;
    return DataSet(std::move(g), std::nullopt, 1, ClassUnits{}, quiet);
}

// A point at a fractional row and column, `d` below the DEM.
Checkpoint pointAt(double row, double col, double d, const std::string& pointClass)
{
    return {XLL + (col + 0.5) * CELL, YLL + (ROWS - row - 0.5) * CELL, plane(row, col) - d, pointClass};
}

const std::vector<double> GROUND = {0.1, -0.2, 0.3, -0.4, 0.5, 0.2};
const std::vector<double> FOREST = {1.0, -2.0, 1.5, 3.0};

std::vector<Checkpoint> survey()
{
    std::vector<Checkpoint> points;
    for (std::size_t k = 0; k < GROUND.size(); ++k)
        points.push_back(pointAt(3 + 2 * k, 4.25 + k, GROUND[k], "ground"));
    for (std::size_t k = 0; k < FOREST.size(); ++k)
        points.push_back(pointAt(4.5 + k, 14 + 1.5 * k, FOREST[k], "forest"));
    points.push_back(pointAt(10, 10, 0.0, ""));
    points.push_back(pointAt(5, COLS + 4, 0.0, "ground")); // east of the DEM
    points.push_back(pointAt(15.3, 20.2, 0.0, "ground"));  // beside the absent cell
    return points;
}

const CheckpointClasses CLASSES{{"ground"}, {"forest"}};
const std::vector<double> BOUNDS = {0, 10, 30};

double rmseOf(const std::vector<double>& d)
{
    double sum = 0;
    for (double v : d)
        sum += v * v;
    return std::sqrt(sum / d.size());
}

ReportRequest smallRequest()
{
    ReportRequest request;
    request.slopeBounds = BOUNDS;
    request.mapMaxSide = 12; // 24 columns: blocks of 2
    request.viewWidth = 80;
    request.viewHeight = 60;
    return request;
}

DataSet withSurvey(DataSet d)
{
    d.setCheckpoints(survey(), "survey.csv", CLASSES, BOUNDS);
    return d;
}

std::size_t binned(const Histogram& h)
{
    std::size_t n = h.below + h.above;
    for (std::size_t c : h.counts)
        n += c;
    return n;
}

TEST(CheckpointReport, CheckpointsAloneMakeADocumentWithoutTheGridsParts)
{
    const DataSet d = withSurvey(planeDem());
    const AccuracyDocument doc = collectDocument(d, nullptr, smallRequest());

    EXPECT_FALSE(doc.hasComparison);
    ASSERT_EQ(doc.files.size(), 2u);
    EXPECT_EQ(doc.files[0].role, "DEM");
    EXPECT_EQ(doc.files[1].role, "Checkpoints");
    EXPECT_EQ(doc.files[1].path, "survey.csv");
    ASSERT_TRUE(doc.files[1].points);
    EXPECT_EQ(*doc.files[1].points, 13u);
    EXPECT_TRUE(doc.statisticsText.empty());
    EXPECT_TRUE(doc.viewRgb.empty());

    ASSERT_TRUE(doc.checkpoints);
    const CheckpointFacts& f = *doc.checkpoints;
    EXPECT_EQ(f.file, "survey.csv");
    EXPECT_EQ(f.given, 13u);
    EXPECT_EQ(f.before.outside, 1u);
    EXPECT_EQ(f.before.nextToAbsent, 1u);
    std::vector<double> used = GROUND;
    used.insert(used.end(), FOREST.begin(), FOREST.end());
    used.push_back(0.0);
    EXPECT_EQ(f.before.report.all.count, used.size());
    EXPECT_NEAR(f.before.report.all.rmse, rmseOf(used), 1e-4);
    ASSERT_EQ(f.before.report.classes.size(), 3u);
    EXPECT_EQ(f.before.report.classes[1].figures.count, used.size()) << "every point slopes 14 degrees";
    EXPECT_EQ(f.before.nva.count, GROUND.size());
    EXPECT_NEAR(f.before.nva.rmse, rmseOf(GROUND), 1e-4);
    EXPECT_NEAR(f.before.nva.accuracy95, 1.96 * rmseOf(GROUND), 1e-4);
    EXPECT_EQ(f.before.vva.count, FOREST.size());
    EXPECT_NEAR(f.before.vva.p95, 3.0, 1e-4) << "the largest of four |d|";

    // The used points on the map of blocks of two cells, at their places.
    EXPECT_EQ(doc.mapBlock, 2);
    ASSERT_EQ(f.points.size(), used.size());
    EXPECT_NEAR(f.points[0].x, (4.25 + 0.5) / 2, 1e-9);
    EXPECT_NEAR(f.points[0].y, (3 + 0.5) / 2, 1e-9);
    EXPECT_NEAR(f.points[0].value, GROUND[0], 1e-4);
    EXPECT_EQ(doc.heights.grid.cols, COLS / 2);
    EXPECT_DOUBLE_EQ(f.limit, mapLimit(f.before.report.all));
    EXPECT_EQ(binned(f.histogram), used.size());
    EXPECT_TRUE(f.histogramAfter.counts.empty());
    EXPECT_FALSE(f.shift);
}

TEST(CheckpointReport, TablesOfThePoints)
{
    const AccuracyDocument doc = collectDocument(withSurvey(planeDem()), nullptr, smallRequest());
    const CheckpointFacts& f = *doc.checkpoints;

    const Table counts = checkpointCountsTable(f);
    ASSERT_EQ(counts.rows.size(), 4u);
    EXPECT_EQ(counts.rows[0], (std::vector<std::string>{"given", "13"}));
    EXPECT_EQ(counts.rows[1], (std::vector<std::string>{"used", "11"}));
    EXPECT_EQ(counts.rows[2], (std::vector<std::string>{"skipped: outside the DEM", "1"}));
    EXPECT_EQ(counts.rows[3], (std::vector<std::string>{"skipped: next to absent cells", "1"}));

    const Table classes = pointClassTable(f.before);
    ASSERT_EQ(classes.rows.size(), 4u) << "no class, forest, ground, all";
    const Table slopes = slopeTable(f.before.report);
    ASSERT_EQ(classes.header.size(), slopes.header.size());
    EXPECT_EQ(classes.header[0], "class");
    EXPECT_TRUE(std::equal(classes.header.begin() + 1, classes.header.end(), slopes.header.begin() + 1))
        << "the columns of the grids' figures";
    EXPECT_EQ(classes.rows[0][0], "(no class)");
    EXPECT_EQ(classes.rows[1][0], "forest");
    EXPECT_EQ(classes.rows[1][1], "4");
    EXPECT_EQ(classes.rows[2][0], "ground");
    EXPECT_EQ(classes.rows[3][0], "all");
    EXPECT_EQ(classes.rows[3][1], "11");

    const Table va = verticalAccuracyTable(f.before, f.classes);
    ASSERT_EQ(va.rows.size(), 2u);
    EXPECT_EQ(va.rows[0], (std::vector<std::string>{"NVA", "ground", "6", fixed3(rmseOf(GROUND)),
                                                    fixed3(1.96 * rmseOf(GROUND)), ""}));
    EXPECT_EQ(va.rows[1], (std::vector<std::string>{"VVA", "forest", "4", "", "", "3.000"}));
    const Table nothing = verticalAccuracyTable(CheckpointAssessment{}, CheckpointClasses{});
    EXPECT_EQ(nothing.rows[0], (std::vector<std::string>{"NVA", "all", "0", "n/a", "n/a", ""}));
    EXPECT_EQ(nothing.rows[1], (std::vector<std::string>{"VVA", "none named", "0", "", "", "n/a"}));
}

TEST(CheckpointReport, JsonOfThePointsAndNullsForTheMissingGrid)
{
    const AccuracyDocument doc = collectDocument(withSurvey(planeDem()), nullptr, smallRequest());
    const nlohmann::json j = nlohmann::json::parse(documentJson(doc));

    for (const char* key : {"before", "after", "coregistration", "maps", "histograms", "cumulative", "view",
                            "statistics_text", "stable_terrain"})
        EXPECT_TRUE(j.at(key).is_null()) << key;
    ASSERT_EQ(j.at("files").size(), 2u);
    EXPECT_EQ(j.at("files")[1].at("role"), "Checkpoints");
    EXPECT_EQ(j.at("files")[1].at("points"), 13);

    const nlohmann::json& c = j.at("checkpoints");
    EXPECT_EQ(c.at("file"), "survey.csv");
    EXPECT_EQ(c.at("given"), 13);
    EXPECT_EQ(c.at("skipped"), 2);
    EXPECT_EQ(c.at("outside"), 1);
    EXPECT_EQ(c.at("next_to_absent"), 1);
    EXPECT_EQ(c.at("all").at("count"), 11);
    EXPECT_NEAR(c.at("all").at("rmse").get<double>(), doc.checkpoints->before.report.all.rmse, 1e-12);
    for (const char* key : {"count", "mean", "std", "rmse", "min", "max", "median", "nmad", "le90", "le95"})
        EXPECT_TRUE(c.at("all").contains(key)) << key;
    ASSERT_EQ(c.at("slope_classes").size(), 3u);
    EXPECT_EQ(c.at("slope_classes")[0].at("count"), 0);
    EXPECT_TRUE(c.at("slope_classes")[0].at("rmse").is_null()) << "an empty class";
    EXPECT_EQ(c.at("slope_classes")[1].at("from"), 10.0);
    ASSERT_EQ(c.at("point_classes").size(), 3u);
    EXPECT_EQ(c.at("point_classes")[1].at("class"), "forest");
    EXPECT_EQ(c.at("point_classes")[1].at("count"), 4);
    EXPECT_NEAR(c.at("point_classes")[1].at("le95").get<double>(), 3.0, 1e-4);
    EXPECT_EQ(c.at("nva").at("count"), 6);
    EXPECT_NEAR(c.at("nva").at("rmse").get<double>(), rmseOf(GROUND), 1e-4);
    EXPECT_NEAR(c.at("nva").at("accuracy95").get<double>(), 1.96 * rmseOf(GROUND), 1e-4);
    EXPECT_EQ(c.at("vva").at("count"), 4);
    EXPECT_NEAR(c.at("vva").at("p95").get<double>(), 3.0, 1e-4);
    EXPECT_TRUE(c.at("coregistration").is_null());
    EXPECT_TRUE(c.at("after").is_null());

    // No vegetated class named: VVA of no point, its figure null.
    DataSet open = planeDem();
    open.setCheckpoints(survey(), "open.csv", CheckpointClasses{}, BOUNDS);
    const nlohmann::json k = nlohmann::json::parse(documentJson(collectDocument(open, nullptr, smallRequest())));
    EXPECT_EQ(k.at("checkpoints").at("nva").at("count"), 11) << "no open class named: every point";
    EXPECT_EQ(k.at("checkpoints").at("vva").at("count"), 0);
    EXPECT_TRUE(k.at("checkpoints").at("vva").at("p95").is_null());
}

TEST(CheckpointReport, HtmlAndPdfWithoutAComparisonGrid)
{
    const AccuracyDocument doc = collectDocument(withSurvey(planeDem()), nullptr, smallRequest());
    const std::string html = htmlPage(doc);
    EXPECT_NE(html.find("<h2>Files</h2>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Checkpoints</h2>"), std::string::npos);
    for (const char* grid : {"<h2>Summary</h2>", "<h2>Maps</h2>", "<h2>3-D view</h2>", "<h2>Statistics report</h2>"})
        EXPECT_EQ(html.find(grid), std::string::npos) << grid;
    EXPECT_NE(html.find("<td class=\"path\">survey.csv</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>13 points</td>"), std::string::npos);
    EXPECT_NE(html.find("alt=\"checkpoints map\""), std::string::npos);
    EXPECT_NE(html.find("alt=\"histogram of the checkpoints&#39; differences\""), std::string::npos);
    EXPECT_NE(html.find("<td>NVA</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>forest</td><td>4</td>"), std::string::npos);
    EXPECT_NE(html.find("minus the checkpoint&#39;s height"), std::string::npos);

    const std::string path = std::string(OROLITH_SHOT_DIR) + "/report_checkpoints_only.pdf";
    std::string error;
    ASSERT_TRUE(writePdf(doc, path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    in.read(&head[0], 4);
    EXPECT_EQ(head, "%PDF");
}

TEST(CheckpointReport, AGridCoregistrationWithoutAGridAddsNothing)
{
    const DataSet d = withSurvey(planeDem());
    AccuracyDocument doc = collectDocument(d, smallRequest());
    Coregistration c;
    c.ok = true;
    addCoregistration(doc, d, c, smallRequest());
    EXPECT_FALSE(doc.shift);
}

// The point co-registration as the model would give it: a shift of
// (0.3, -0.2) cells, three fits, the points moved back and assessed again.
PointCoregistration pointShift(const DataSet& d, bool ok)
{
    PointCoregistration c;
    c.shift.ok = ok;
    c.shift.shiftEast = 0.3;
    c.shift.shiftNorth = -0.2;
    c.shift.shiftEastMetres = 3;
    c.shift.shiftNorthMetres = -2;
    c.shift.bias = 0.05;
    c.shift.iterations = 3;
    c.shift.converged = true;
    c.shift.improved = false;
    c.shift.nmadBefore = 0.4;
    c.shift.nmadAfter = 0.41;
    for (int k = 1; k <= 3; ++k) {
        FitRecord r;
        r.iteration = k;
        r.points = 9;
        r.aspectDegrees = {10, 100, 190, 280};
        r.y = {0.1f, 0.2f, -0.1f, -0.2f};
        c.shift.fits.push_back(r);
    }
    c.moved = d.checkpoints();
    for (Checkpoint& p : c.moved)
        p.x += 0.5 * CELL;
    c.after = assessCheckpoints(d.demView(), d.header(), d.spacing(), c.moved, BOUNDS, CLASSES);
    return c;
}

TEST(CheckpointReport, ACoregistrationToThePointsBringsItsShiftFitsAndFigures)
{
    const DataSet d = withSurvey(planeDem());
    AccuracyDocument doc = collectDocument(d, smallRequest());
    addPointCoregistration(doc, d, pointShift(d, false), smallRequest());
    EXPECT_FALSE(doc.checkpoints->shift) << "a co-registration that failed adds nothing";

    const PointCoregistration c = pointShift(d, true);
    addPointCoregistration(doc, d, c, smallRequest());
    const CheckpointFacts& f = *doc.checkpoints;
    ASSERT_TRUE(f.shift);
    EXPECT_EQ(f.shift->east, 0.3);
    EXPECT_EQ(f.shift->north, -0.2);
    EXPECT_EQ(f.shift->eastMetres, 3);
    EXPECT_EQ(f.shift->groundUnit, "map units");
    EXPECT_EQ(f.shift->improvement, "no (NMAD 0.400 before, 0.410 after): the points are kept as given");
    ASSERT_EQ(f.fits.size(), 2u);
    EXPECT_EQ(f.fits[0].iteration, 1);
    EXPECT_EQ(f.fits[1].iteration, 3);
    EXPECT_FALSE(doc.shift) << "the grid's shift is another";

    EXPECT_EQ(f.after.report.all.count, c.after.report.all.count);
    EXPECT_EQ(f.after.outside, c.after.outside);
    EXPECT_DOUBLE_EQ(f.after.nva.rmse, c.after.nva.rmse);
    EXPECT_EQ(f.histogramAfter.counts.size(), f.histogram.counts.size()) << "the bins of before";
    EXPECT_EQ(f.histogramAfter.lo, f.histogram.lo);
    EXPECT_EQ(binned(f.histogramAfter), c.after.report.all.count);
    EXPECT_EQ(checkpointCountsTable(f).header.size(), 3u) << "a column after the shift";

    const nlohmann::json j = nlohmann::json::parse(documentJson(doc));
    const nlohmann::json& shift = j.at("checkpoints").at("coregistration");
    EXPECT_EQ(shift.at("shift_east"), 0.3);
    EXPECT_EQ(shift.at("improved"), false);
    EXPECT_EQ(shift.at("fits").size(), 2u);
    EXPECT_EQ(j.at("checkpoints").at("after").at("all").at("count"), c.after.report.all.count);
    EXPECT_EQ(j.at("checkpoints").at("after").at("outside"), c.after.outside);
    EXPECT_FALSE(j.at("checkpoints").at("histogram_after").is_null());

    const std::string html = htmlPage(doc);
    const std::size_t points = html.find("<h2>Checkpoints</h2>");
    const std::size_t shifted = html.find("<h2>Co-registration to the checkpoints</h2>");
    ASSERT_NE(shifted, std::string::npos);
    EXPECT_LT(points, shifted);
    EXPECT_NE(html.find("alt=\"fit of iteration 3\"", shifted), std::string::npos);
}

TEST(CheckpointReport, GridAndPointsTogether)
{
    DataSet d = pairDataSet(
        ROWS, COLS, CELL, [](int r, int c) { return static_cast<float>(plane(r, c)); },
        [](int r, int c) { return static_cast<float>(plane(r, c) - (c < COLS / 2 ? 1 : -1)); });
    StableTerrainRules rules;
    rules.maxSlope = 20; // the plane's 14 degrees: only the border goes
    std::string why;
    ASSERT_TRUE(d.setStableTerrain(rules, why)) << why;
    d.setCheckpoints(survey(), "survey.csv", CLASSES, BOUNDS);
    AccuracyDocument doc = collectDocument(d, smallRequest());
    addPointCoregistration(doc, d, pointShift(d, true), smallRequest());

    EXPECT_TRUE(doc.hasComparison);
    ASSERT_EQ(doc.files.size(), 3u);
    EXPECT_EQ(doc.files[1].role, "Comparison");
    EXPECT_EQ(doc.files[2].role, "Checkpoints");
    ASSERT_TRUE(doc.stable);
    EXPECT_EQ(doc.before.all.count, static_cast<std::size_t>((ROWS - 2) * (COLS - 2)));
    ASSERT_TRUE(doc.checkpoints);
    EXPECT_EQ(doc.checkpoints->before.nextToAbsent, 0u) << "the DEM of this pair has no hole";
    EXPECT_EQ(doc.checkpoints->before.report.all.count, 12u);

    const std::string html = htmlPage(doc);
    const char* order[] = {"<h2>Files</h2>",
                           "<h2>Summary</h2>",
                           "<h2>Stable terrain</h2>",
                           "<h2>Maps</h2>",
                           "<h2>Per slope class</h2>",
                           "<h2>Checkpoints</h2>",
                           "<h2>Co-registration to the checkpoints</h2>",
                           "<h2>Statistics report</h2>"};
    std::size_t at = 0;
    for (const char* heading : order) {
        const std::size_t next = html.find(heading);
        ASSERT_NE(next, std::string::npos) << heading;
        EXPECT_GT(next, at) << heading << " out of order";
        at = next;
    }
    EXPECT_NE(html.find("the comparison&#39;s (or the checkpoint&#39;s) height"), std::string::npos);

    const nlohmann::json j = nlohmann::json::parse(documentJson(doc));
    EXPECT_FALSE(j.at("before").is_null());
    EXPECT_FALSE(j.at("stable_terrain").is_null());
    EXPECT_FALSE(j.at("checkpoints").is_null());
    EXPECT_EQ(j.at("files")[2].at("points"), 13);

    std::string error;
    EXPECT_TRUE(writePdf(doc, std::string(OROLITH_SHOT_DIR) + "/report_grid_and_checkpoints.pdf", error)) << error;
}

TEST(CheckpointReport, HistogramBinsFollowThePointCount)
{
    const struct {
        std::size_t n;
        int bins;
    } cases[] = {{0, 10}, {11, 10}, {200, 12}, {9000, 42}, {1000000, 60}};
    for (const auto& k : cases)
        EXPECT_EQ(pointHistogramBins(k.n), k.bins) << k.n;
}

} // namespace
