// The checkpoints on the surface and the stable terrain in its colours:
// where a checkpoint's marker stands (on the surface as its vertices are
// placed, at every exaggeration), its colour (the difference class of its
// |d|), which points get one; and the points the stable-terrain rules
// removed drawn darker in every scheme.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/dataset.h"
#include "model/madegrid.h"
#include "model/metrics.h"
#include "render/checkpointmarkers.h"
#include "render/names.h"
#include "render/surfacecolor.h"
#include "render/surfacemesh.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::render;

namespace {

::testing::AssertionResult is(const ColorRGB& c, const ColorRGB& want)
{
    if (std::fabs(c.r - want.r) < 1e-5f && std::fabs(c.g - want.g) < 1e-5f && std::fabs(c.b - want.b) < 1e-5f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour is (" << c.r << ", " << c.g << ", " << c.b << "), not (" << want.r
                                         << ", " << want.g << ", " << want.b << ")";
}

// --- markers ------------------------------------------------------------------------

// A 5 x 5 plane of cell size 10, corner (1000, 2000): heights 100 + r + 2c,
// so that bilinear sampling is exact. The grid's top edge is at y 2050.
constexpr int N = 5;
float plane(int r, int c) { return 100.0f + r + 2.0f * c; }
double xOfCol(double col) { return 1000 + (col + 0.5) * 10; }
double yOfRow(double row) { return 2050 - (row + 0.5) * 10; }

DataSet planeWithAbsentCorner()
{
    GridData g = demGrid(N, N, 10, plane);
    g.present.assign(g.header.cells(), 1);
    g.present[static_cast<std::size_t>(N * N - 1)] = 0; // (4, 4)
    g.heights[static_cast<std::size_t>(N * N - 1)] = 0;
    SilentMessages quiet;
    return DataSet(std::move(g), std::nullopt, 1, ClassUnits{}, quiet);
}

TEST(CheckpointMarkers, StandOnTheSurfaceWhereItsVerticesArePlacedAtEveryExaggeration)
{
    DataSet d = planeWithAbsentCorner();
    const std::vector<Checkpoint> points = {
        {xOfCol(3), yOfRow(2), plane(2, 3) - 2.5, "ground"}, // on grid point (2, 3)
        {xOfCol(0.25), yOfRow(1.5), plane(1, 0) + 0.5 + 0.5, ""},
    };
    d.setCheckpoints(points, "points.csv", {}, defaultSlopeBounds());
    for (int exaggeration : {1, 3}) {
        SCOPED_TRACE("exaggeration " + std::to_string(exaggeration));
        d.setExaggeration(exaggeration);
        const std::vector<CheckpointMarker> m = checkpointMarkers(d, 1.0f);
        ASSERT_EQ(m.size(), 2u);
        // The first vertex of cell (2, 3)'s first triangle is grid point (2, 3).
        const Triangle on = meshTriangle(d.mesh(), d.demView(), d.spacing(), 2 * (2 * (N - 1) + 3));
        EXPECT_NEAR(m[0].at.x, on.x0, 1e-5f);
        EXPECT_NEAR(m[0].at.y, -on.y0, 1e-5f) << "y is mirrored as the surface is drawn";
        EXPECT_NEAR(m[0].at.z, on.z0 + MARKER_LIFT, 1e-5f) << "just above the surface";
        // A quarter of the way from column 0 to 1, halfway from row 1 to 2:
        // where the plane through the cell's corners has it.
        const Triangle a = meshTriangle(d.mesh(), d.demView(), d.spacing(), 2 * (1 * (N - 1) + 0));
        const float x = a.x0 + 0.25f * (a.x2 - a.x0), y = -(a.y0 + 0.5f * (a.y1 - a.y0));
        const float z = a.z0 + 0.25f * (a.z2 - a.z0) + 0.5f * (a.z1 - a.z0);
        EXPECT_NEAR(m[1].at.x, x, 1e-5f);
        EXPECT_NEAR(m[1].at.y, y, 1e-5f);
        EXPECT_NEAR(m[1].at.z, z + MARKER_LIFT, 1e-4f);
    }
}

TEST(CheckpointMarkers, OnlyThePointsUsedHaveOneInTheOrderGiven)
{
    DataSet d = planeWithAbsentCorner();
    const std::vector<Checkpoint> points = {
        {xOfCol(1), yOfRow(1), plane(1, 1) - 5, ""},   // d 5
        {900, yOfRow(1), 100, ""},                     // west of the grid
        {xOfCol(3.5), yOfRow(3.5), 100, ""},           // needs the absent (4, 4)
        {xOfCol(2), yOfRow(2), plane(2, 2) + 1.5, ""}, // d -1.5
        {xOfCol(4.2), yOfRow(0), 100, ""},             // beyond the last column's centre
    };
    d.setCheckpoints(points, "points.csv", {}, defaultSlopeBounds());
    const std::vector<CheckpointMarker> m = checkpointMarkers(d, 1.0f);
    ASSERT_EQ(m.size(), 2u) << "outside points and those next to absent cells have no height to stand at";
    EXPECT_TRUE(is(m[0].color, packedColor(VERYHIGH))) << "|d| 5 > 4 units";
    EXPECT_TRUE(is(m[1].color, packedColor(LOW))) << "|d| 1.5 in (1, 2] units, whatever its sign";
    EXPECT_LT(m[0].at.x, m[1].at.x);

    d.clearCheckpoints();
    EXPECT_TRUE(checkpointMarkers(d, 1.0f).empty()) << "markers without checkpoints";
    EXPECT_TRUE(checkpointMarkers(DataSet(), 1.0f).empty()) << "markers without a DEM";
}

TEST(CheckpointMarkers, ColourIsTheDifferenceClassOfTheMagnitudeInTheUnit)
{
    struct Row {
        double d;
        float unit;
        int colour;
    };
    const Row rows[] = {
        {0.0, 1, TERRAIN},   {1.0, 1, TERRAIN},     {-1.0, 1, TERRAIN},   {1.01, 1, LOW},     {2.0, 1, LOW},
        {-2.5, 1, MEDIUM},   {3.0, 1, MEDIUM},      {3.5, 1, HIGH},       {-4.0, 1, HIGH},    {4.01, 1, VERYHIGH},
        {-100, 1, VERYHIGH}, {2.5, 0.5f, VERYHIGH}, {0.5, 0.5f, TERRAIN}, {2.5, 10, TERRAIN}, {25, 10, MEDIUM},
    };
    for (const Row& r : rows)
        EXPECT_TRUE(is(markerColor(r.d, r.unit), packedColor(r.colour))) << "d " << r.d << " in unit " << r.unit;
}

// --- stable terrain -------------------------------------------------------------------

TEST(StableTerrainShade, IsTheColourAtFortyFivePerCent)
{
    const ColorRGB rows[][2] = {
        {{1, 1, 1}, {0.45f, 0.45f, 0.45f}},
        {{0, 0, 0}, {0, 0, 0}},
        {{0.4f, 0.8f, 0.2f}, {0.18f, 0.36f, 0.09f}},
    };
    for (const auto& r : rows)
        EXPECT_TRUE(is(unstableShade(r[0]), r[1]));
}

// Every scheme's colour comes out darker on a removed point, and only there.
TEST(StableTerrainShade, DarkensEverySchemeOnRemovedPointsOnly)
{
    CellSample cell{1000, 1002, true, true, HIGH, VERYHIGH, LOW, true, 0.01f, 0, 3000};
    int counts[4] = {1, 2, 3, 4};
    const HeightClassTable classes{counts, 4, 1, 4};
    struct Row {
        const char* scheme;
        bool ViewFlags::*flag;
    };
    const Row rows[] = {
        {"none", nullptr},
        {"contours", &ViewFlags::drawContours},
        {"curvature classes", &ViewFlags::drawCurveColor},
        {"difference classes", &ViewFlags::drawDiffColor},
        {"curvature difference classes", &ViewFlags::drawCurveDiff},
        {"difference marks", &ViewFlags::drawDiff},
        {"height classes", &ViewFlags::colorHeightClasses},
        {"height ramp", &ViewFlags::drawColors},
        {"slope colours", &ViewFlags::colorSlope},
    };
    for (const Row& r : rows) {
        ViewFlags flags;
        if (r.flag)
            flags.*(r.flag) = true;
        auto look = [&](bool unstable) {
            cell.unstable = unstable;
            return triangleLook(
                flags, cell, classes, [] { return false; }, [] { return 90.0f; });
        };
        const TriangleLook kept = look(false), removed = look(true);
        EXPECT_TRUE(is(removed.color, unstableShade(kept.color))) << r.scheme;
        EXPECT_FALSE(is(removed.color, kept.color)) << r.scheme << ": no darker";
        EXPECT_EQ(removed.mark.has_value(), kept.mark.has_value()) << r.scheme;
        EXPECT_EQ(removed.cube, kept.cube) << r.scheme;
    }
}

// A 6 x 6 pair of cell size 10: flat in columns 0 to 2, rising 20 a column
// (63 degrees) beyond; the comparison 1 above the DEM, absent at (3, 1).
DataSet flatThenSteep()
{
    auto dem = [](int, int c) { return c < 3 ? 100.0f : 100.0f + 20.0f * (c - 2); };
    GridData g = demGrid(6, 6, 10, dem);
    std::vector<float> heights(g.header.cells());
    std::vector<std::uint8_t> present(g.header.cells(), 1);
    for (std::size_t i = 0; i < heights.size(); ++i)
        heights[i] = g.heights[i] + 1;
    present[3 * 6 + 1] = 0;
    Comparison comparison;
    comparison.grid = madeComparisonGrid(g.header, 6, 6, std::move(heights), std::move(present));
    comparison.kind = ComparisonKind::dem;
    comparison.presence = comparisonPresence(comparison.grid, comparison.kind);
    SilentMessages quiet;
    return DataSet(std::move(g), std::move(comparison), 1, ClassUnits{}, quiet);
}

TEST(StableTerrainShade, MarksThePointsPresentInBothThatTheRulesRemoved)
{
    DataSet d = flatThenSteep();
    struct Row {
        int r, c;
        bool removed;
        const char* why;
    };
    const Row rows[] = {
        {2, 1, false, "flat: kept"},
        {1, 1, false, "flat: kept"},
        {2, 2, true, "its window reaches the slope (45 degrees)"},
        {2, 4, true, "63 degrees"},
        {0, 0, true, "on the border, no slope: a slope rule drops it"},
        {3, 1, false, "no comparison height: not present in both, drawn as it is"},
    };
    for (const Row& r : rows)
        EXPECT_FALSE(removedFromStableTerrain(d, r.r, r.c)) << "(" << r.r << ", " << r.c << ") before any rule";

    StableTerrainRules rules;
    rules.maxSlope = 30;
    std::string why;
    ASSERT_TRUE(d.setStableTerrain(rules, why)) << why;
    for (const Row& r : rows)
        EXPECT_EQ(removedFromStableTerrain(d, r.r, r.c), r.removed) << "(" << r.r << ", " << r.c << ") " << r.why;

    d.clearStableTerrain();
    for (const Row& r : rows)
        EXPECT_FALSE(removedFromStableTerrain(d, r.r, r.c)) << "(" << r.r << ", " << r.c << ") after Clear";
    EXPECT_FALSE(removedFromStableTerrain(demDataSet(3, 3, 10, [](int, int) { return 5.0f; }), 1, 1)) << "a DEM alone";
}

// The surface as GL buffers hold it: each triangle's colour darker where
// the point that colours it (its cell's first point) was removed, the same
// as before the rules elsewhere, flat and smooth.
TEST(StableTerrainShade, TheBufferedSurfaceDarkensTheRemovedPointsToo)
{
    DataSet d = flatThenSteep();
    SurfaceInputs in;
    in.light.on = false;
    for (bool flat : {false, true}) {
        SCOPED_TRACE(flat ? "flat" : "smooth");
        const SurfaceArrays whole = buildSurface(d, in, 1, flat);
        StableTerrainRules rules;
        rules.maxSlope = 30;
        std::string why;
        ASSERT_TRUE(d.setStableTerrain(rules, why)) << why;
        const SurfaceArrays stable = buildSurface(d, in, 1, flat);
        d.clearStableTerrain();
        ASSERT_EQ(stable.rgba.size(), whole.rgba.size());
        int darker = 0;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                for (int second = 0; second < 2; ++second) {
                    const std::size_t t = static_cast<std::size_t>((r * 5 + c) * 2 + second);
                    // A triangle's colour is that of its last vertex.
                    const std::size_t v = flat ? whole.indices[t * 3 + 2] : t * 3 + 2;
                    ASSERT_TRUE(!flat || stable.indices[t * 3 + 2] == v);
                    const bool removed = [&] {
                        d.setStableTerrain(rules, why);
                        const bool out = removedFromStableTerrain(d, r, c);
                        d.clearStableTerrain();
                        return out;
                    }();
                    for (int k = 0; k < 3; ++k) {
                        const int before = whole.rgba[v * 4 + k], after = stable.rgba[v * 4 + k];
                        const int want = removed ? static_cast<int>(std::lround(before * UNSTABLE_SHADE)) : before;
                        EXPECT_NEAR(after, want, 1) << "cell " << r << ", " << c << ", triangle " << second;
                    }
                    darker += removed;
                }
        EXPECT_GT(darker, 10) << "the rules removed too little to tell";
    }
}

} // namespace
