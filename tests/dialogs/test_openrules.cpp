// The dialogs' decisions: what an Open press earns before anything is
// loaded, what a failed load tells the user, where the choosers and the
// sparse sample go, the sparse dialog's count, the status row's progress,
// and the class graph's bins, "Remove Big", bars and axes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dialogs/graphdata.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "dialogs/paths.h"
#include "dialogs/sparsecount.h"
#include "dialogs/statusrow.h"
#include "model/errors.h"
#include "model/load.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

TEST(OpenChecks, EachPressGetsTheMessageOfItsFirstProblem)
{
    struct Row {
        const char* situation;
        OpenRequest r; // numFiles, demNamed, compNamed, demReadable, compReadable, kind
        int code;
    };
    const Row rows[] = {
        {"DEM dialog, empty DEM field", {1, false, false, false, false, CONTF}, MISS_ERR},
        {"DEM dialog, DEM cannot be opened", {1, true, false, false, false, CONTF}, DEM_ERR},
        {"DEM dialog, readable DEM", {1, true, false, true, false, CONTF}, 0},
        {"two files, empty comparison field", {2, true, false, true, false, DEM}, MISS_ERR},
        {"two files, empty DEM field", {2, false, true, false, true, DEM}, MISS_ERR},
        {"two files, no kind ticked", {2, true, true, true, true, 0}, CHECK_ERR},
        {"two files, comparison unreadable", {2, true, true, true, false, DEM}, COMP_ERR},
        {"two files, DEM unreadable", {2, true, true, false, true, DEM}, DEM_ERR},
        {"two files, neither readable", {2, true, true, false, false, DEM}, FILES_ERR},
        {"two files, neither readable nor a kind", {2, true, true, false, false, 0}, FILES_ERR},
        {"two files, both readable, sparse kind", {2, true, true, true, true, SPARSEF}, 0},
        {"two files, both readable, DEM kind", {2, true, true, true, true, DEM}, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(openError(row.r), row.code) << row.situation;

    EXPECT_EQ(changeError(false, false), COMP_ERR) << "change dialog with an empty field";
    EXPECT_EQ(changeError(true, false), COMP_ERR) << "change dialog with an unreadable file";
    EXPECT_EQ(changeError(true, true), 0) << "change dialog with a readable file refused";
}

TEST(OpenChecks, SparseBoxWinsOverDemBoxOverContourBox)
{
    EXPECT_EQ(kindFromBoxes(true, true, true), SPARSEF);
    EXPECT_EQ(kindFromBoxes(true, false, true), DEM);
    EXPECT_EQ(kindFromBoxes(false, false, true), CONTF);
    EXPECT_EQ(kindFromBoxes(false, false, false), 0) << "no kind ticked";
}

TEST(OpenChecks, AFailureWithoutWordsStillSaysSo)
{
    // The dialogs show the mismatch and the reader's messages themselves.
    LoadStatus silent;
    silent.result = LoadResult::failed;
    silent.error = {GRIDFILE, ""};
    EXPECT_FALSE(loadFailureText(silent).empty()) << "a failure without words showed an empty window";
}

TEST(Paths, ChooserStartsWhereTheUserWorks)
{
    struct Row {
        const char *last, *commandLine, *dir, *situation;
    };
    const Row rows[] = {
        {"/data/alps/dem2.grd", "/cmd/dem.grd", "/data/alps", "a file was opened: its directory"},
        {"", "/cmd/dem.grd", "/cmd", "nothing opened yet: the command-line DEM's directory"},
        {"", "rel/dem.grd", "rel", "a relative command-line path"},
        {"", "dem.grd", ".", "a bare command-line name: the current directory"},
        {"", "", ".", "no file known: the current directory"},
        {"/top.grd", "", "/", "a file at the root"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(chooserDirectory(r.last, r.commandLine), r.dir) << r.situation;
}

TEST(Paths, ChooserListsGridFilesFirstAndRastersWhenTheyCanBeRead)
{
    for (bool rasters : {false, true}) {
        const std::string pattern = gridPattern(rasters);
        const std::string first = pattern.substr(0, pattern.find('\t'));
        EXPECT_NE(first.find("grd"), std::string::npos) << "*.grd is not in the first filter: " << pattern;
        EXPECT_NE(pattern.find("*.asc"), std::string::npos) << "*.asc files are not offered: " << pattern;
        EXPECT_EQ(first.find("tif") != std::string::npos, rasters) << "GeoTIFF among the grids: " << pattern;
        EXPECT_EQ(pattern.substr(pattern.rfind('\t') + 1), "All files (*)");
    }
}

TEST(Paths, FilesMadeFromTheDemAreOfferedNextToIt)
{
    EXPECT_EQ(sparseOutputPath("/data/alps_dem.grd"), "/data/alps_dem_sparse.grd");
    EXPECT_EQ(sparseOutputPath("valley.asc"), "valley_sparse.grd");
    EXPECT_EQ(sparseOutputPath(""), "sparse.grd") << "no DEM known";
    EXPECT_EQ(outputPathBeside("/data/alps_dem.grd", ".png", "x.png"), "/data/alps_dem.png");
    EXPECT_EQ(outputPathBeside("/data/v.2/alps.dem.tif", "_profile.csv", "x"), "/data/v.2/alps.dem_profile.csv")
        << "only the last extension goes";
}

TEST(SparseCount, ReadAsALeadingWholeNumber)
{
    struct Row {
        const char* text;
        std::optional<int> n;
    };
    const Row rows[] = {
        {"", 0},
        {"abc", 0},
        {"  +300", 300},
        {"25 heights", 25},
        {"-5", -5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"-2147483649", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseSparseCount(r.text), r.n) << "count typed as \"" << r.text << "\"";
}

TEST(StatusRow, ProgressIsShownInWholePercentRoundedDown)
{
    const struct {
        const char* stage;
        double fraction;
        const char* label;
    } rows[] = {
        {"Reading", 0.4, "Reading 40 %"},
        {"Reading", 0.999, "Reading 99 %"}, // 100 % only when done
        {"Computing curvature differences", 0.6 + 0.3, "Computing curvature differences 90 %"},
        {"Done", 1.0, "Done 100 %"},
        {"Reading", -0.1, "Reading 0 %"},
        {"Reading", std::nan(""), "Reading 0 %"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(progressLabel(r.stage, r.fraction), r.label) << r.fraction;
}

TEST(Histogram, ValuesLandInTheirBins)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct {
        const char* what;
        std::vector<float> values;
        float max, min;
        std::vector<std::pair<int, int>> bins; // bin and count; the others are empty
    } cases[] = {
        // 0 to 25: bin j holds (j, j + 1], bin 0 also what is at or below 0.
        {"bounds of 1 apart",
         {0, 0.5f, 1, 1.0001f, 12.5f, 24, 24.5f, 25},
         25,
         0,
         {{0, 3}, {1, 1}, {12, 1}, {23, 1}, {24, 2}}},
        // Bounds that single-precision rounding puts just below the maximum.
        {"the maximum never lost", {0.1f, 0.7f, 0.7f}, 0.7f, 0.1f, {{0, 1}, {24, 2}}},
        {"equal values (range 0)", {3.5f, 3.5f, 3.5f}, 3.5f, 3.5f, {{0, 3}}},
        {"above max or not a number", {2, 11, nan}, 10, 0, {{4, 1}}},
        {"no values", {}, 0, 0, {}},
    };
    for (const auto& k : cases) {
        float range = -1;
        std::vector<int> want(NUM_BINS, 0);
        for (auto [j, n] : k.bins)
            want[j] = n;
        EXPECT_EQ(arrangeDiff(static_cast<int>(k.values.size()), k.max, k.min, k.values.data(), range), want) << k.what;
        EXPECT_FLOAT_EQ(range, k.max - k.min) << "range handed back for the x labels";
    }
}

TEST(RemoveBig, LargeClassesAreTakenOut)
{
    struct Row {
        std::vector<int> counts;
        std::vector<int> edited;
        int newMax;
        bool removed;
        const char* situation;
    };
    const Row rows[] = {
        {{10, 10, 10, 40}, {10, 10, 10, 0}, 10, true, "average 17: 40 is at least 21.25"},
        {{10, 10, 10, 10}, {10, 10, 10, 10}, 10, false, "nothing stands out"},
        {{8, 8, 8, 10}, {8, 8, 8, 0}, 8, true, "at exactly 1.25 times the average (8) it goes"},
        {{0, 0, 0, 1}, {0, 0, 0, 0}, 0, true, "average 0: the one filled class goes, none is kept"},
        {{0, 0, 0, 0}, {0, 0, 0, 0}, 0, false, "empty classes are not big"},
        {{}, {}, 0, false, "no classes"},
    };
    for (const Row& r : rows) {
        int newMax = -1;
        bool removed = false;
        EXPECT_EQ(editClasses(newMax, r.counts, removed), r.edited) << r.situation;
        EXPECT_EQ(newMax, r.newMax) << r.situation;
        EXPECT_EQ(removed, r.removed) << r.situation;
    }
    bool removed = true;
    int newMax = 0;
    editClasses(newMax, {10, 10}, removed);
    EXPECT_TRUE(removed) << "editClasses cleared the caller's flag";
}

TEST(Bars, EveryBarKeepsAWidth)
{
    const std::pair<int, int> widths[] = {{1, 6}, {10, 6}, {25, 6}, {26, 5}, {30, 5}, {75, 2}, {150, 1}};
    for (auto [n, w] : widths)
        EXPECT_EQ(barWidth(n), w) << n << " bars";

    std::vector<int> many(451, 1);
    many[450] = 7;
    BarCounts grouped = groupClasses(many);
    EXPECT_EQ(grouped.classesPerBar, 4) << "451 classes in at most 150 bars";
    ASSERT_EQ(grouped.counts.size(), 113u);
    EXPECT_EQ(grouped.counts[0], 4) << "a bar sums its classes";
    EXPECT_EQ(grouped.counts[112], 1 + 1 + 7) << "the last, short group";
    EXPECT_GE(barWidth(static_cast<int>(grouped.counts.size())), 1);

    BarCounts few = groupClasses({1, 2, 3});
    EXPECT_TRUE(few.classesPerBar == 1 && few.counts == std::vector<int>({1, 2, 3})) << "few classes regrouped";
}

TEST(Bars, RiseToTheYLabelsOfTheirCounts)
{
    // A bar of a labelled count must end at that label's tick (15 units a
    // tick, 5 above the bottom), whether or not maxCount is a round 100.
    for (int maxCount : {250, 300, 7, 48000}) {
        const std::vector<AxisLabel> labels = yAxisLabels(maxCount);
        ASSERT_GE(labels.size(), 1u);
        std::vector<int> counts;
        for (const AxisLabel& l : labels)
            counts.push_back(static_cast<int>(l.value));
        std::vector<Bar> bars = barGeometry(counts, maxCount);
        for (std::size_t j = 0; j < bars.size(); ++j)
            EXPECT_NEAR(bars[j].top, 5 + 15.0 * j, 1e-3)
                << "bar of " << counts[j] << " misses its label, maxCount " << maxCount;
    }
    std::vector<Bar> bars = barGeometry({0, -3, 100}, 100);
    EXPECT_FLOAT_EQ(bars[1].top, 5) << "a negative count got a height";
    EXPECT_FLOAT_EQ(bars[2].top, 155) << "the largest count of a round 100 reaches the top";
    EXPECT_TRUE(bars[2].x0 == 5 + 12 && bars[2].x1 == 5 + 18) << "third of three bars, 6 wide";
    EXPECT_TRUE(std::isfinite(barGeometry({0}, 0)[0].top)) << "no counts at all divided by zero";
}

TEST(Axes, YLabelsCountUpToTheLargestCount)
{
    struct Row {
        int maxCount;
        std::vector<double> values;
    };
    const Row rows[] = {
        {250, {0, 30, 60, 90, 120, 150, 180, 210, 240}},
        {300, {0, 30, 60, 90, 120, 150, 180, 210, 240, 270}},
        {10, {0}},
        {0, {}},
    };
    for (const Row& r : rows) {
        std::vector<AxisLabel> labels = yAxisLabels(r.maxCount);
        ASSERT_EQ(labels.size(), r.values.size()) << "labels for maxCount " << r.maxCount;
        for (std::size_t j = 0; j < labels.size(); ++j) {
            EXPECT_EQ(labels[j].value, r.values[j]) << "maxCount " << r.maxCount;
            EXPECT_EQ(labels[j].pos, 150 - 16 * static_cast<int>(j)) << "label " << j << " not at its tick";
        }
    }
}

TEST(Axes, XLabelsUnderTheirBars)
{
    std::vector<AxisLabel> values = valueAxisLabels(2.0f, 50.0f);
    ASSERT_EQ(values.size(), 6u) << "every fifth of 25 bins, both ends";
    EXPECT_TRUE(values[0].value == 2 && values[0].pos == 47) << "left end shows min";
    EXPECT_TRUE(values[5].value == 52 && values[5].pos == 197) << "right end shows max";

    // 20 height classes: 0, 5, ... 20 every 30 pixels, like the bins.
    std::vector<AxisLabel> classes = classAxisLabels(20, 1);
    ASSERT_EQ(classes.size(), 5u);
    EXPECT_TRUE(classes[4].value == 20 && classes[4].pos == 47 + 120) << "20 classes, right end";
    // 30 classes in 5-unit bars: labels would crowd every 25 pixels.
    std::vector<AxisLabel> thirty = classAxisLabels(30, 1);
    ASSERT_EQ(thirty.size(), 4u);
    EXPECT_TRUE(thirty[1].value == 10 && thirty[1].pos == 47 + 50) << "class 10 is under bar 10";
    // Grouped classes: a label names the first class of its bar.
    std::vector<AxisLabel> grouped = classAxisLabels(113, 4);
    EXPECT_TRUE(grouped[1].value == 30 * 4 && grouped[1].pos == 47 + 30) << grouped[1].value;
}

TEST(Axes, NumbersFitTheirFields)
{
    const std::pair<double, const char*> rows[] = {
        {0, "0"},           {-0.0, "0"},     {48000, "48000"}, {12.5, "12.5"}, {0.0123456, "0.0123"},
        {1234.567, "1235"}, {56.25, "56.2"},
    };
    for (auto [v, text] : rows)
        EXPECT_EQ(axisNumberText(v), text) << "axis number " << v;
}

} // namespace
