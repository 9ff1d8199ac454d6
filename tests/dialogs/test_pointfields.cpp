// The checkpoints' and the stable terrain's dialogs without a display: the
// fields as the session is asked to read and apply them, the refusals of
// values that are no rule, the counts shown after Apply, and the
// checkpoints' part of the statistics window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dialogs/checkpointfields.h"
#include "dialogs/names.h"
#include "dialogs/stableterrainfields.h"
#include "model/checkpoints.h"
#include "model/checkpointtext.h"
#include "model/metrics.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

using Names = std::vector<std::string>;

TEST(CheckpointFields, ClassListsAreCommaSeparatedNamesWithoutBlanks)
{
    struct Row {
        const char* typed;
        Names names;
    };
    const Row rows[] = {
        {"", {}},
        {"   ", {}},
        {"ground", {"ground"}},
        {"ground, road", {"ground", "road"}},
        {" bare earth ,road,,", {"bare earth", "road"}},
        {",\t2,", {"2"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(classList(r.typed), r.names) << '"' << r.typed << '"';
}

TEST(CheckpointFields, TheChoiceIsWhatWasTypedAndTheUsualNamesForEmptyColumns)
{
    CheckpointFields f;
    f.path = "  /data/gcp.csv ";
    f.x = "E";
    f.y = " N ";
    f.z = "";
    f.pointClass = " ";
    f.crs = " EPSG:4326";
    f.open = "ground, road";
    f.vegetated = "forest";
    CheckpointChoice c;
    ASSERT_EQ(checkpointChoiceOf(f, c), "");
    EXPECT_EQ(c.source.path, "/data/gcp.csv");
    EXPECT_EQ(c.source.columns.x, "E");
    EXPECT_EQ(c.source.columns.y, "N");
    EXPECT_EQ(c.source.columns.z, "z") << "an emptied column takes its usual name";
    EXPECT_EQ(c.source.columns.pointClass, "class");
    EXPECT_EQ(c.source.pointsCrs, "EPSG:4326");
    EXPECT_EQ(c.source.demWkt, "") << "the DEM's system is the session's to give";
    EXPECT_EQ(c.classes.open, (Names{"ground", "road"}));
    EXPECT_EQ(c.classes.vegetated, (Names{"forest"}));

    const CheckpointFields usual;
    EXPECT_EQ(usual.x + usual.y + usual.z + usual.pointClass, "xyzclass") << "the dialog's defaults";
    f = CheckpointFields{};
    f.path = "/data/gcp.gpkg";
    ASSERT_EQ(checkpointChoiceOf(f, c), "");
    EXPECT_TRUE(c.source.pointsCrs.empty() && c.classes.open.empty() && c.classes.vegetated.empty())
        << "empty: the DEM's or the layer's own system, every point open, none vegetated";

    CheckpointChoice untouched = c;
    f.path = "  ";
    EXPECT_EQ(checkpointChoiceOf(f, c), "Name the file of checkpoints.");
    EXPECT_EQ(c.source.path, untouched.source.path) << "a refusal changed the choice";
}

// --- stable terrain -----------------------------------------------------------------

TEST(StableTerrainFields, NumbersBecomeRulesAndEmptyFieldsNone)
{
    struct Row {
        const char* what;
        StableTerrainFields typed;
        std::optional<double> minSlope, maxSlope, k;
        std::string mask;
    };
    const Row rows[] = {
        {"maximum slope", {"", false, "", "30", ""}, {}, 30.0, {}, ""},
        {"minimum slope with blanks", {"", false, " 2.5 ", "", ""}, 2.5, {}, {}, ""},
        {"both slopes, equal", {"", false, "10", "10", ""}, 10.0, 10.0, {}, ""},
        {"the range's ends", {"", false, "0", "90", ""}, 0.0, 90.0, {}, ""},
        {"outliers", {"", false, "", "", "3"}, {}, {}, 3.0, ""},
        {"outliers in exponent form", {"", false, "", "", "2.5e0"}, {}, {}, 2.5, ""},
        {"a mask alone", {" /m/glaciers.gpkg ", true, "", "", ""}, {}, {}, {}, "/m/glaciers.gpkg"},
        {"everything", {"/m/mask.tif", false, "1", "40", "4"}, 1.0, 40.0, 4.0, "/m/mask.tif"},
    };
    for (const Row& r : rows) {
        StableTerrainChoice c;
        ASSERT_EQ(stableTerrainChoiceOf(r.typed, c), "") << r.what;
        EXPECT_EQ(c.rules.minSlope, r.minSlope) << r.what;
        EXPECT_EQ(c.rules.maxSlope, r.maxSlope) << r.what;
        EXPECT_EQ(c.rules.outlierNmads, r.k) << r.what;
        EXPECT_EQ(c.mask.path, r.mask) << r.what;
        EXPECT_EQ(c.mask.keepInside, r.typed.keepInside) << r.what;
        EXPECT_EQ(c.rules.maskName, r.mask) << r.what << ": the reports name the mask by its file";
        EXPECT_TRUE(c.rules.mask.empty()) << r.what << ": the mask is the session's to read";
        // A dialog opened on the choice shows fields that give it back.
        StableTerrainChoice again;
        ASSERT_EQ(stableTerrainChoiceOf(fieldsOf(c), again), "") << r.what;
        EXPECT_TRUE(again.rules.minSlope == c.rules.minSlope && again.rules.maxSlope == c.rules.maxSlope &&
                    again.rules.outlierNmads == c.rules.outlierNmads && again.mask.path == c.mask.path &&
                    again.mask.keepInside == c.mask.keepInside)
            << r.what << ": fieldsOf does not give the choice back";
    }
}

TEST(StableTerrainFields, ValuesThatAreNoRuleAreRefusedWithWhatToCorrect)
{
    struct Row {
        StableTerrainFields typed;
        const char* says;
    };
    const Row rows[] = {
        {{"", false, "abc", "", ""}, "The minimum slope \"abc\" is not a number of degrees from 0 to 90."},
        {{"", false, "", "12 deg", ""}, "The maximum slope \"12 deg\" is not a number of degrees from 0 to 90."},
        {{"", false, "", "91", ""}, "The maximum slope \"91\" is not a number of degrees from 0 to 90."},
        {{"", false, "-1", "", ""}, "The minimum slope \"-1\" is not a number of degrees from 0 to 90."},
        {{"", false, "", "nan", ""}, "The maximum slope \"nan\" is not a number of degrees from 0 to 90."},
        {{"", false, "", "1,5", ""}, "The maximum slope \"1,5\" is not a number of degrees from 0 to 90."},
        {{"", false, "30", "20", ""}, "The minimum slope (30 degrees) is above the maximum slope (20 degrees)."},
        {{"", false, "", "", "0"}, "The outlier limit \"0\" is not a number of NMADs above 0."},
        {{"", false, "", "", "-2"}, "The outlier limit \"-2\" is not a number of NMADs above 0."},
        {{"", false, "", "", "inf"}, "The outlier limit \"inf\" is not a number of NMADs above 0."},
        {{"", false, "", "", "three"}, "The outlier limit \"three\" is not a number of NMADs above 0."},
        {{" ", true, " ", "", "\t"}, "No rule to apply: name a mask file, or give a slope or an outlier limit."},
    };
    for (const Row& r : rows) {
        StableTerrainChoice c;
        c.rules.maxSlope = 7; // what a refusal must leave alone
        EXPECT_EQ(stableTerrainChoiceOf(r.typed, c), r.says);
        EXPECT_EQ(c.rules.maxSlope, 7.0) << r.says << ": a refusal changed the choice";
    }
}

TEST(StableTerrainFields, TheCountsNameEachRuleWithWhatItRemovedThenTheKept)
{
    StableTerrainRules rules;
    rules.mask.assign(4, 1);
    rules.maskName = "glaciers.gpkg";
    rules.maxSlope = 30;
    rules.outlierNmads = 3;
    StableTerrainCounts counts;
    counts.paired = 1000;
    counts.mask = 120;
    counts.slope = 200;
    counts.outliers = 30;
    counts.kept = 650;
    counts.outlierRounds = 2;
    EXPECT_EQ(stableTerrainCountsText(rules, counts), "Present in both grids: 1000\n"
                                                      "mask glaciers.gpkg: 120 removed\n"
                                                      "slope at most 30 degrees: 200 removed\n"
                                                      "outliers beyond 3 NMAD of the median (2 rounds): 30 removed\n"
                                                      "Kept as stable: 650");
    StableTerrainRules slopeOnly;
    slopeOnly.minSlope = 2;
    StableTerrainCounts c2;
    c2.paired = 50;
    c2.slope = 5;
    c2.kept = 45;
    EXPECT_EQ(stableTerrainCountsText(slopeOnly, c2),
              "Present in both grids: 50\nslope at least 2 degrees: 5 removed\nKept as stable: 45");
}

// --- the statistics window's checkpoints -------------------------------------------------

// A flat DEM of height 100, 5 x 5 cells of 10 from (0, 0).
struct FlatDem {
    std::vector<float> heights = std::vector<float>(25, 100.0f);
    GridHeader header;
    FlatDem()
    {
        header.rows = header.cols = 5;
        header.cellsizeX = header.cellsizeY = 10;
    }
    GridView view() const { return {heights.data(), nullptr, 5, 5}; }
    CheckpointAssessment assess(const std::vector<Checkpoint>& points, const CheckpointClasses& classes) const
    {
        GroundSpacing spacing;
        spacing.x = spacing.y = 10;
        return assessCheckpoints(view(), header, spacing, points, defaultSlopeBounds(), classes);
    }
};

TEST(CheckpointText, CountsAccuracyPerClassAndTheVerticalAccuracies)
{
    const FlatDem dem;
    const std::vector<Checkpoint> points = {
        {25, 25, 99, "ground"},  // d 1
        {15, 25, 101, "ground"}, // d -1
        {25, 15, 98, "forest"},  // d 2
        {500, 25, 100, "ground"},
    };
    const CheckpointClasses classes{{"ground"}, {"forest"}};
    const CheckpointAssessment a = dem.assess(points, classes);
    const std::string text = checkpointText(a, classes);
    SCOPED_TRACE(text);
    const char* const lines[] = {
        "checkpoints: 4 given, 3 used, 1 outside the DEM, 0 next to absent cells\n",
        "\nNVA (ground): 2 points, RMSEz 1.000, accuracy at 95 % (1.96 RMSEz) 1.960\n",
        "\nVVA (forest): 1 point, 95th percentile of |d| 2.000\n",
    };
    for (const char* line : lines)
        EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line;
    EXPECT_NE(text.find(accuracyTable(a.report)), std::string::npos) << "not the model's table overall and by slope";
    // The class table: the model's columns, one row a class by name.
    EXPECT_NE(text.find("point class      count       mean        std       rmse        min        max     median"
                        "       nmad       le90       le95\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nforest               1      2.000      0.000      2.000      2.000      2.000      2.000"),
              std::string::npos);
    EXPECT_NE(text.find("\nground               2      0.000"), std::string::npos);
    EXPECT_LT(text.find("\nforest"), text.find("\nground")) << "classes by name";

    const CheckpointClasses onlyGround{{"ground"}, {}};
    const std::string noOpen = checkpointText(dem.assess({{25, 25, 99, "x"}}, onlyGround), onlyGround);
    EXPECT_NE(noOpen.find("NVA (ground): 0 points\n"), std::string::npos) << noOpen;
    EXPECT_NE(noOpen.find("VVA (none): 0 points\n"), std::string::npos) << noOpen;
    // Points of no class: no class table.
    const std::string unnamed = checkpointText(dem.assess({{25, 25, 99, ""}}, {}), {});
    EXPECT_EQ(unnamed.find("point class"), std::string::npos) << unnamed;
    EXPECT_NE(unnamed.find("NVA (all classes): 1 point"), std::string::npos) << unnamed;
}

TEST(CheckpointText, PointsNoneOfWhichLieOnTheDemAreRefused)
{
    FlatDem dem;
    dem.heights[0] = 0; // absent at (0, 0) from here on
    std::vector<std::uint8_t> present(25, 1);
    present[0] = 0;
    GroundSpacing spacing;
    spacing.x = spacing.y = 10;
    auto assess = [&](const std::vector<Checkpoint>& points) {
        return assessCheckpoints({dem.heights.data(), present.data(), 5, 5}, dem.header, spacing, points,
                                 defaultSlopeBounds(), {});
    };
    const CheckpointAssessment off = assess({{-50, 10, 1, ""}, {900, 10, 1, ""}, {10, 40, 1, ""}});
    EXPECT_EQ(off.report.all.count, 0u);
    EXPECT_EQ(noCheckpointOnDemText(off), "No checkpoint lies on the DEM: 2 outside it, 1 next to absent cells");
    EXPECT_EQ(assess({{-50, 10, 1, ""}, {25, 25, 1, ""}}).report.all.count, 1u) << "one point is used";
}

} // namespace
