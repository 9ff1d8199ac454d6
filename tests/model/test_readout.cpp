// The readout of a place and the pick files: values against a plane whose
// slope, aspect, curvature and differences are known by hand, "n/a" and
// empty fields where cells are absent, and the CSV and GeoJSON a GIS reads.
#include <gtest/gtest.h>

#include <cmath>

#include "model/madegrid.h"
#include "model/picks.h"
#include "model/readout.h"

using namespace orolith::model;

namespace {

// A 12 x 10 plane of 10 m cells, corner (1000, 2000): heights rise 2 m a
// column to the east and 3 m a row to the south, so the ground falls to
// the north-west. The comparison lies 1.5 m lower; (5, 5) is absent in
// the DEM, (8, 2) in the comparison.
constexpr int ROWS = 12, COLS = 10;
float plane(int r, int c) { return 100.0f + 2.0f * c + 3.0f * r; }

DataSet planePair()
{
    GridData dem;
    dem.header.rows = ROWS;
    dem.header.cols = COLS;
    dem.header.xllcorner = 1000;
    dem.header.yllcorner = 2000;
    dem.header.cellsizeX = dem.header.cellsizeY = 10;
    dem.heights.resize(dem.header.cells());
    dem.present.assign(dem.header.cells(), 1);
    std::vector<float> ref(dem.header.cells());
    std::vector<std::uint8_t> refPresent(dem.header.cells(), 1);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) {
            dem.heights[static_cast<std::size_t>(r) * COLS + c] = plane(r, c);
            ref[static_cast<std::size_t>(r) * COLS + c] = plane(r, c) - 1.5f;
        }
    dem.present[5 * COLS + 5] = 0;
    dem.heights[5 * COLS + 5] = 0;
    refPresent[8 * COLS + 2] = 0;
    finishGrid(dem, GridRole::dem);
    Comparison comparison;
    comparison.grid = madeComparisonGrid(dem.header, ROWS, COLS, std::move(ref), std::move(refPresent));
    comparison.kind = ComparisonKind::dem;
    comparison.presence = comparisonPresence(comparison.grid, comparison.kind);
    SilentMessages quiet;
    return DataSet(std::move(dem), std::move(comparison), 1, ClassUnits{}, quiet);
}

TEST(Readout, ValuesOfTheCellThatHoldsThePlace)
{
    const DataSet d = planePair();
    // Rise 0.2 east and 0.3 south per metre: slope atan(sqrt(0.13)), the
    // ground falling toward north-west, atan2(-0.2, 0.3) round the compass.
    const double slope = std::atan(std::sqrt(0.13)) * 180 / M_PI;
    const double aspect = 360 + std::atan2(-0.2, 0.3) * 180 / M_PI;

    const CellReadout r = readoutAt(d, 2.6, 3.4); // nearest point (3, 3)
    EXPECT_EQ(r.row, 3);
    EXPECT_EQ(r.col, 3);
    EXPECT_DOUBLE_EQ(r.x, 1000 + 3.9 * 10);
    EXPECT_DOUBLE_EQ(r.y, 2000 + 120 - 3.1 * 10);
    EXPECT_EQ(r.dem, plane(3, 3));
    EXPECT_EQ(r.comparison, plane(3, 3) - 1.5f);
    EXPECT_NEAR(*r.difference, 1.5, 1e-6);
    EXPECT_NEAR(*r.slope, slope, 1e-9);
    EXPECT_NEAR(*r.aspect, aspect, 1e-9);
    EXPECT_NEAR(*r.curvature, 0, 1e-4);
    ASSERT_TRUE(r.curvatureClass && r.differenceClass && r.curvatureDifferenceClass);
    EXPECT_EQ(classLabel(*r.curvatureClass), "<= 1");
    EXPECT_EQ(classLabel(*r.differenceClass), "(1,2]");
    EXPECT_EQ(classLabel(*r.curvatureDifferenceClass), "<= 1");
}

TEST(Readout, NothingStandsInForAValueTheDataDoNotHave)
{
    const DataSet d = planePair();
    struct Case {
        int row, col;
        bool dem, comparison, slope, curvature;
        const char* why;
    } cases[] = {
        {5, 5, false, true, false, false, "the DEM's absent cell"},
        {5, 6, true, true, false, false, "beside it: its window and cross reach the hole"},
        {4, 4, true, true, false, true, "diagonal to it: the window reaches it, the cross does not"},
        {4, 5, true, true, false, false, "north of it: the cross reaches it from the south"},
        {8, 2, true, false, true, true, "the comparison's absent cell"},
        {0, 4, true, true, false, false, "the northern border"},
        {11, 9, true, true, false, false, "the south-east corner"},
    };
    for (const Case& k : cases) {
        const CellReadout r = readoutAt(d, k.row, k.col);
        EXPECT_EQ(r.dem.has_value(), k.dem) << k.why;
        EXPECT_EQ(r.comparison.has_value(), k.comparison) << k.why;
        EXPECT_EQ(r.difference.has_value(), k.dem && k.comparison) << k.why;
        EXPECT_EQ(r.differenceClass.has_value(), k.dem && k.comparison) << k.why;
        EXPECT_EQ(r.slope.has_value(), k.slope) << k.why;
        EXPECT_EQ(r.aspect.has_value(), k.slope) << k.why;
        EXPECT_EQ(r.curvature.has_value(), k.curvature) << k.why;
        EXPECT_EQ(r.curvatureClass.has_value(), k.curvature) << k.why;
    }
    const std::string line = readoutLine(readoutAt(d, 5, 5), std::nullopt, false);
    EXPECT_NE(line.find("DEM n/a"), std::string::npos) << line;
    EXPECT_NE(line.find("diff. n/a"), std::string::npos) << line;
    EXPECT_NE(line.find("row 5  col 5"), std::string::npos) << line;
    // Beyond the grid the place comes back onto its edge.
    EXPECT_EQ(readoutAt(d, -3, 40).col, COLS - 1);
}

TEST(Readout, ClassLabelsAreTheIntervalsOfTheirUnit)
{
    struct Case {
        ClassAt k;
        const char* label;
    } cases[] = {
        {{0, 4, 1}, "> 3"},    {{1, 4, 1}, "(2,3]"},      {{2, 4, 1}, "(1,2]"},      {{3, 4, 1}, "<= 1"},
        {{0, 5, 0.5f}, "> 2"}, {{1, 5, 0.5f}, "(1.5,2]"}, {{3, 5, 0.5f}, "(0.5,1]"}, {{4, 5, 0.5f}, "<= 0.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classLabel(c.k), c.label);
}

Pick pickAt(const DataSet& d, int row, int col, std::optional<LonLat> lonLat)
{
    Pick p;
    p.row = row;
    p.col = col;
    p.at = readoutAt(d, row, col);
    p.lonLat = lonLat;
    return p;
}

TEST(Picks, NumbersStayWithTheirPicksAndFilesHoldEveryColumn)
{
    const DataSet d = planePair();
    PickList list;
    list.add(pickAt(d, 3, 3, LonLat{-34.5, -8.25}));
    list.add(pickAt(d, 5, 5, LonLat{-34.6, -8.26}));
    list.add(pickAt(d, 8, 2, LonLat{-34.7, -8.27}));
    ASSERT_TRUE(list.remove(1));
    EXPECT_FALSE(list.remove(5));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.picks()[1].number, 3) << "a deletion does not renumber";
    EXPECT_EQ(list.add(pickAt(d, 1, 1, std::nullopt)).number, 4);

    const std::string csv = picksCsv(list.picks(), false);
    const std::string header = csv.substr(0, csv.find('\n'));
    // A class label with a comma is quoted.
    EXPECT_NE(csv.find(",\"(1,2]\","), std::string::npos) << csv;
    EXPECT_EQ(header, "number,x,y,lon,lat,row,col,dem,comparison,difference,slope,aspect,curvature,"
                      "curvature_class,difference_class,curvature_difference_class");
    // Pick 3 stands on the comparison's hole: its fields are empty.
    EXPECT_NE(csv.find("\n3,1025.000,2035.000,-34.70000000,-8.27000000,8,2,128.000,,,19.83,326.3,0,<= 1,,\n"),
              std::string::npos)
        << csv;

    list.clear();
    EXPECT_EQ(list.add(pickAt(d, 2, 2, LonLat{-34.5, -8.25})).number, 1) << "a new list starts at 1";
    const std::string json = picksGeoJson(list.picks(), false);
    EXPECT_NE(json.find("\"coordinates\": [-34.50000000, -8.25000000, 110.000]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"difference_class\": \"(1,2]\""), std::string::npos) << json;
    // Without longitude and latitude the points stand at map coordinates.
    list.add(pickAt(d, 5, 5, std::nullopt));
    const std::string map = picksGeoJson(list.picks(), false);
    EXPECT_NE(map.find("\"coordinates\": [1055.000, 2065.000]}"), std::string::npos) << map;
    EXPECT_NE(map.find("\"dem\": null"), std::string::npos) << map;
}

} // namespace
