// The surface without a display: the colour rules and their precedence, the
// slope and aspect stencils, the cursor that picks each triangle's colouring
// cell, the level of detail, the arrays (each triangle's vertices where the
// mesh has them, its colour on its own last vertex), and the profile: where
// its section stands, which cells it passes and how they are saved, its
// marks and the cut it makes.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "model/dataset.h"
#include "render/names.h"
#include "render/profilecsv.h"
#include "render/profilegeometry.h"
#include "render/slopeaspect.h"
#include "render/smalltriangles.h"
#include "render/surfacecolor.h"
#include "render/surfacemesh.h"
#include "render/surfacewalk.h"
#include "render/viewstate.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::render;

namespace {

::testing::AssertionResult is(const ColorRGB& c, float r, float g, float b)
{
    if (std::fabs(c.r - r) < 1e-5f && std::fabs(c.g - g) < 1e-5f && std::fabs(c.b - b) < 1e-5f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour is (" << c.r << ", " << c.g << ", " << c.b << ")";
}

TEST(HeightRamp, RunsGreenYellowRedOverTheRelief)
{
    EXPECT_TRUE(is(rampColor(300, 0, 0), 0, 0.1f, 0)) << "lowest point: dark green";
    EXPECT_TRUE(is(rampColor(300, 0, 100), 0, 0.8f, 0)) << "top of the lowest third";
    EXPECT_TRUE(is(rampColor(300, 0, 150), 0.3f, 0.8f, 0)) << "middle: yellow-green";
    EXPECT_TRUE(is(rampColor(300, 0, 200), 0.8f, 0.8f, 0)) << "top of the middle third";
    EXPECT_TRUE(is(rampColor(300, 0, 300), 0.8f, 0, 0)) << "highest point: red";
    EXPECT_TRUE(is(rampColor(1300, 1000, 1050), 0, 0.45f, 0)) << "relief not starting at 0";
}

TEST(HeightRamp, ReliefUnderThreeUnitsGivesFiniteColours)
{
    for (int relief = 0; relief < 3; ++relief)
        for (int e = 0; e <= relief; ++e) {
            ColorRGB c = rampColor(100 + relief, 100, 100 + e);
            EXPECT_TRUE(std::isfinite(c.r) && std::isfinite(c.g) && c.r >= 0 && c.g <= 1) << relief << e;
        }
    EXPECT_TRUE(is(rampColor(100, 100, 100), 0, 0.1f, 0)) << "a flat grid takes the lowest colour";
    // Freak heights saturate at the int limits; the relief must not overflow.
    EXPECT_TRUE(is(rampColor(INT_MAX, INT_MIN, INT_MIN), 0, 0.1f, 0)) << "lowest of the widest relief";
    EXPECT_TRUE(is(rampColor(INT_MAX, INT_MIN, INT_MAX), 0.8f, 0, 0)) << "highest of the widest relief";
    EXPECT_TRUE(is(rampColor(102, 100, 100), 0, 0.1f, 0)) << "bottom of a 2-unit relief";
    EXPECT_TRUE(is(rampColor(102, 100, 102), 0.8f, 0, 0)) << "top of a 2-unit relief is red";
    ColorRGB empty = rampColor(-1000, 35000, 0); // extremes of an empty model
    EXPECT_TRUE(std::isfinite(empty.r) && std::isfinite(empty.g));
}

TEST(HeightClassColor, ShadesByClassCountAndSurvivesDegenerateTables)
{
    int counts[4] = {10, 20, 30, 40};
    HeightClassTable t{counts, 4, 10, 40};
    EXPECT_TRUE(is(*heightClassColor(8.0f, t), 0.2f, 0.6f, 0.3f)) << "emptiest class";
    EXPECT_TRUE(is(*heightClassColor(7.4f, t), 1.0f, 0.6f, 0.3f)) << "7.4 rounds to 7: the fullest class";
    EXPECT_TRUE(is(*heightClassColor(5.0f, t), 0.2f + 0.8f / 3, 0.6f, 0.3f)) << "class 1";

    int equal[3] = {5, 5, 5};
    EXPECT_TRUE(is(*heightClassColor(4.0f, {equal, 3, 5, 5}), 0.2f, 0.6f, 0.3f)) << "equal counts";
    int two[2] = {1, 2};
    EXPECT_FALSE(heightClassColor(3.0f, {two, 0, 1, 2})) << "contour interval 0";
    EXPECT_FALSE(heightClassColor(3.0f, {nullptr, 2, 1, 2})) << "no histogram";
    EXPECT_FALSE(heightClassColor(-2.0f, {two, 2, 1, 2})) << "rounds below 0";
    EXPECT_FALSE(heightClassColor(-101.7f, {two, 2, 1, 2})) << "-101 mod 2 is -1";
    EXPECT_TRUE(heightClassColor(-1.0f, {two, 2, 1, 2})) << "-1 rounds to class 0";
}

// --- precedence --------------------------------------------------------------

struct Look : ::testing::Test {
    ViewFlags flags;
    CellSample cell{1000, 0, true, false, TERRAIN, TERRAIN, TERRAIN, true, 0.01f, 0, 3000};
    int counts[4] = {1, 2, 3, 4};
    HeightClassTable classes{counts, 4, 1, 4};
    bool steep = false;
    float aspect = 90.0f;
    int steepAsked = 0, aspectAsked = 0;

    TriangleLook look()
    {
        return triangleLook(
            flags, cell, classes,
            [&] {
                ++steepAsked;
                return steep;
            },
            [&] {
                ++aspectAsked;
                return aspect;
            });
    }
};

TEST_F(Look, BaseColoursFollowTreeLineAndSlope)
{
    const ColorRGB green = packedColor(TERRAIN), grey = packedColor(TERRAINHIGH);
    EXPECT_TRUE(is(green, 102 / 255.0f, 128 / 255.0f, 102 / 255.0f));
    EXPECT_EQ(look().color, green) << "low, gentle ground";
    cell.elev = 4100;
    EXPECT_EQ(look().color, green) << "exactly at the tree line counts as below";
    cell.elev = 4100.5f;
    steepAsked = 0;
    EXPECT_EQ(look().color, grey) << "above the tree line";
    EXPECT_EQ(steepAsked, 0) << "no slope test needed above the tree line";
    cell.elev = 1000;
    steep = true;
    EXPECT_EQ(look().color, grey) << "steep ground";
    steep = false;
    flags.treeLine = 500;
    EXPECT_EQ(look().color, grey) << "tree line from the open dialog";
}

TEST_F(Look, ContourGreyBeatsCubesAndNeedsAPresentValue)
{
    flags.drawContours = flags.drawPoints = true;
    cell.comp = 120;
    cell.compPresent = true;
    EXPECT_TRUE(look().color == CONTOUR_GREY && !look().cube);
    flags.drawContours = false;
    EXPECT_TRUE(look().cube && look().color == packedColor(TERRAIN)) << "cube on an even triangle";
    cell.evenTriangle = false;
    EXPECT_TRUE(!look().cube && look().color == packedColor(TERRAIN)) << "no cube on odd ones, still TERRAIN";
    flags.drawContours = true;
    cell.comp = 0;
    cell.compPresent = false;
    cell.elev = 5000;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "an absent comparison value shows neither";
    cell.compPresent = true;
    EXPECT_EQ(look().color, CONTOUR_GREY) << "a comparison DEM's height of 0 is a height";
    cell.comp = 120;
    cell.hasComp = false;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "without a comparison grid nothing is grey";
}

TEST_F(Look, SchemesTakeTurnsInOrder)
{
    // Stored classes first, curvature before differences; TERRAIN and
    // TERRAINHIGH mean no class and fall through.
    cell.curveColor = HIGH;
    cell.diffColor = VERYHIGH;
    cell.curveDiffColor = LOW;
    flags.drawCurveColor = flags.drawDiffColor = flags.drawCurveDiff = flags.drawDiff = true;
    flags.colorHeightClasses = flags.drawColors = flags.colorSlope = true;
    EXPECT_EQ(look().color, packedColor(HIGH)) << "curvature before difference";
    flags.drawCurveColor = false;
    EXPECT_EQ(look().color, packedColor(VERYHIGH)) << "difference before the rest";
    flags.drawDiffColor = false;
    EXPECT_EQ(look().color, packedColor(LOW)) << "curvature difference shows its own classes";
    cell.curveDiffColor = TERRAIN;
    EXPECT_TRUE(look().mark && is(look().color, 0.3f, 0.3f, 0.9f))
        << "no curvature-difference class: on to the elevation marks (DEM above: blue)";
    flags.drawDiffColor = flags.drawCurveColor = true;
    cell.curveColor = TERRAINHIGH;
    cell.diffColor = TERRAIN;
    cell.elev = 8; // class 0, the emptiest
    EXPECT_TRUE(is(look().color, 0.2f, 0.6f, 0.3f) && !look().mark) << "no class: on to the height classes";
    EXPECT_EQ(aspectAsked, 0) << "the aspect is not computed when unused";
    classes.interval = 0;
    cell.elev = 3000;
    EXPECT_TRUE(is(look().color, 0.8f, 0, 0)) << "interval 0: no classes, the ramp shows";
    flags.colorHeightClasses = false;
    cell.elev = 1500;
    EXPECT_TRUE(is(look().color, 0.3f, 0.8f, 0)) << "on to the ramp";
    flags.drawColors = false;
    EXPECT_TRUE(is(look().color, 1, 0, 0)) << "on to the aspect wheel (east: red)";
    aspect = NOSLOPE;
    EXPECT_TRUE(is(look().color, 0.5f, 0.5f, 0.5f)) << "no aspect: grey";
    flags.colorSlope = false;
    EXPECT_EQ(look().color, packedColor(TERRAIN)) << "no scheme on: the base colour stays";
}

TEST_F(Look, DifferenceMarkTakesItsColourAndLength)
{
    flags.drawDiff = true;
    cell.diffColor = LOW;
    cell.elev = 98;
    cell.comp = 100;
    TriangleLook l = look();
    ASSERT_TRUE(l.mark);
    EXPECT_TRUE(is(l.color, 0.9f, 0.3f, 0.3f)) << "DEM below the comparison: red";
    EXPECT_NEAR(l.mark->length, 0.07f, 1e-5f);
    DiffMark above = diffMark(103.0f, 100.0f, 0.01f);
    EXPECT_TRUE(above.color && is(*above.color, 0.3f, 0.3f, 0.9f)) << "DEM above: blue";
    EXPECT_NEAR(above.length, 0.08f, 1e-5f);
    cell.comp = 98;
    l = look();
    EXPECT_TRUE(l.mark && !l.mark->color && l.color == packedColor(TERRAIN)) << "zero difference keeps it";
    EXPECT_NEAR(l.mark->length, 0.05f, 1e-5f);
    cell.hasComp = false;
    EXPECT_FALSE(look().mark) << "no marks without comparison heights";
}

struct Heights {
    int rows, cols;
    std::function<float(int, int)> h;
    float operator()(int r, int c) const { return h(r, c); }
};

TEST(RoundDeg, SnapsToMultiplesOf45WithLopsidedBounds)
{
    const std::pair<float, int> cases[] =
        {
            {0, 0},         {22, 0},      {22.01f, 45},  {-22, -45},      {-21.9f, 0},
            {67, 45},       {-67, -90},   {89.9f, 90},   {112, 90},       {-70, -90},
            {-111.9f, -90}, {-112, -111}, {130.2f, 130}, {-130.7f, -130}, // outside the table: rounded half up
        };
    for (auto [angle, snapped] : cases)
        EXPECT_EQ(roundDeg(angle), snapped) << angle;
}

TEST(Aspect, TiltedPlanesFaceTheirDownhillDirection)
{
    struct Plane {
        const char* name;
        std::function<float(int, int)> h;
        float aspect;
        ColorRGB color;
        int gradient;
    };
    const Plane planes[] = {
        {"east", [](int, int c) { return -c * 1.0f; }, 90, {1, 0, 0}, 0},
        {"west", [](int, int c) { return c * 1.0f; }, 270, {0, 0, 1}, 0},
        {"north", [](int r, int) { return r * 1.0f; }, 0, {1, 1, 1}, 90},
        {"south", [](int r, int) { return -r * 1.0f; }, 180, {0, 0, 0}, 90},
        {"north-east", [](int r, int c) { return r * 1.0f - c; }, 45, {1, 0.5f, 0.5f}, -45},
        {"south-west", [](int r, int c) { return c * 1.0f - r; }, 225, {0, 0, 0.5f}, -45},
        {"south-east", [](int r, int c) { return -1.0f * r - c; }, 135, {0.5f, 0, 0}, 45},
    };
    for (const Plane& p : planes) {
        Heights g{9, 9, p.h};
        for (int i = 3; i < 7; ++i)
            for (int j = 3; j < 7; ++j) {
                float a = aspectDeg(g, 9, 9, i, j);
                EXPECT_NEAR(a, p.aspect, 1e-3) << "falls " << p.name << " at " << i << "," << j;
                ColorRGB c = slopeColor(a);
                EXPECT_TRUE(std::fabs(c.r - p.color.r) < 1e-4 && std::fabs(c.g - p.color.g) < 1e-4 &&
                            std::fabs(c.b - p.color.b) < 1e-4)
                    << "falls " << p.name;
                EXPECT_EQ(gradientDirection(g, 9, 9, i, j), p.gradient) << "falls " << p.name;
            }
    }
}

TEST(Aspect, FlatGroundAndTheBorderBandHaveNone)
{
    Heights flat{8, 8, [](int, int) { return 500.0f; }};
    EXPECT_EQ(aspectDeg(flat, 8, 8, 4, 4), NOSLOPE);
    EXPECT_EQ(gradientDirection(flat, 8, 8, 4, 4), 90) << "no column change reads as 90";
    Heights tilted{8, 8, [](int, int c) { return -c * 1.0f; }};
    for (int k = 0; k < 8; ++k)
        for (int band : {0, 1, 2, 6, 7}) {
            EXPECT_EQ(aspectDeg(tilted, 8, 8, band, k), NOSLOPE) << "row " << band;
            EXPECT_EQ(aspectDeg(tilted, 8, 8, k, band), NOSLOPE) << "column " << band;
            EXPECT_EQ(gradientDirection(tilted, 8, 8, band, k), -1);
        }
    EXPECT_EQ(slopeColor(NOSLOPE), (ColorRGB{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(slopeColor(360.0f), (ColorRGB{0.5f, 0.5f, 0.5f})) << "360 is outside the wheel";
}

TEST(Steepness, ThresholdAngleTowardsTheGradientNeighbours)
{
    // A step between columns 3 and 4 of cells of size 10.
    auto step = [](float rise) { return Heights{7, 7, [rise](int, int c) { return c >= 4 ? rise : 0.0f; }}; };
    EXPECT_TRUE(steepCell(step(1.77f), 7, 7, StencilSpacing{10, 10}, 10.0f, 3, 3)) << "atan(0.177) = 10.04 degrees";
    EXPECT_FALSE(steepCell(step(1.76f), 7, 7, StencilSpacing{10, 10}, 10.0f, 3, 3)) << "9.98 degrees";
    EXPECT_TRUE(steepCell(step(1.76f), 7, 7, StencilSpacing{10, 10}, 9.9f, 3, 3)) << "threshold from the open dialog";
    Heights down{7, 7, [](int, int c) { return c <= 2 ? 1.77f : 0.0f; }};
    EXPECT_TRUE(steepCell(down, 7, 7, StencilSpacing{10, 10}, 10.0f, 3, 3)) << "a fall counts like a rise";
    for (float rise : {5.0f, -5.0f}) {
        Heights rows{7, 7, [rise](int r, int) { return r >= 4 ? rise : 0.0f; }};
        EXPECT_EQ(std::abs(gradientDirection(rows, 7, 7, 3, 3)), 90) << rise;
        EXPECT_TRUE(steepCell(rows, 7, 7, StencilSpacing{10, 10}, 10.0f, 3, 3))
            << "row gradient of either sign, " << rise;
    }
}

TEST(SurfaceMesh, CursorOfEachTriangleIsWhereTheWalkingCursorStands)
{
    for (auto [rows, cols] : {std::pair{2, 2}, {3, 5}, {6, 3}, {4, 4}}) {
        GridCursor walk;
        int t = 0;
        for (int r = 0; r < rows - 1; ++r)
            for (int c = 0; c < cols - 1; ++c)
                for (int second = 0; second < 2; ++second, ++t) {
                    GridCursor got = cursorOf(r, c, second, cols);
                    EXPECT_TRUE(got.i == walk.i && got.j == walk.j)
                        << rows << " x " << cols << ", triangle " << t << ": (" << got.i << ", " << got.j
                        << ") instead of (" << walk.i << ", " << walk.j << ")";
                    advanceCursor(walk, t, cols);
                }
    }
}

TEST(SurfaceMesh, LevelOfDetailKeepsTheDrawnCellsUnderTheLimit)
{
    for (auto [rows, cols, limit, step] : {std::array{1000, 1000, 1100000, 1},
                                           {2000, 2000, 1100000, 2},
                                           {4000, 4000, 1100000, 4},
                                           {10000, 10000, 1100000, 10},
                                           {4000, 4000, 250000, 8},
                                           {3, 3, 1, 2}}) {
        EXPECT_EQ(detailStep(rows, cols, limit), step) << rows << " x " << cols << " under " << limit;
    }
}

struct Loaded : ::testing::Test {
    const DataSet data = demDataSet(5, 6, 10, [](int r, int c) { return 100.0f + r * r + 3 * c; });
    int meshTriangles() const { return data.mesh().triangles(); }
};

// The vertices of triangle t in the arrays, flat or smooth.
const float* vertexOf(const SurfaceArrays& a, std::size_t t, int v)
{
    return a.flat ? &a.xyz[a.indices[t * 3 + v] * 3] : &a.xyz[(t * 3 + v) * 3];
}
std::size_t triangles(const SurfaceArrays& a) { return a.flat ? a.indices.size() / 3 : a.xyz.size() / 9; }

TEST_F(Loaded, TrianglesStandWhereTheMeshHasThemFlatOrSmooth)
{
    SurfaceInputs in;
    in.light.on = false;
    for (bool flat : {true, false}) {
        SCOPED_TRACE(flat ? "flat" : "smooth");
        SurfaceArrays a = buildSurface(data, in, 1, flat);
        ASSERT_EQ(triangles(a), static_cast<std::size_t>(meshTriangles()));
        std::vector<int> lastUse(a.xyz.size() / 3, 0);
        for (int t = 0; t < meshTriangles(); ++t) {
            const Triangle tri = meshTriangle(data.mesh(), data.demView(), data.spacing(), t);
            const float want[3][3] = {{tri.x0, -tri.y0, tri.z0}, {tri.x1, -tri.y1, tri.z1}, {tri.x2, -tri.y2, tri.z2}};
            for (int v = 0; v < 3; ++v) {
                const float* got = vertexOf(a, static_cast<std::size_t>(t), v);
                EXPECT_TRUE(got[0] == want[v][0] && got[1] == want[v][1] && got[2] == want[v][2])
                    << "triangle " << t << ", vertex " << v;
            }
            if (flat)
                ++lastUse[a.indices[t * 3 + 2]];
        }
        for (int uses : lastUse)
            EXPECT_LE(uses, 1) << "two triangles share the vertex that colours them";
        // Unlit, below the tree line and not steep: every triangle in TERRAIN.
        for (std::size_t t = 0; t < triangles(a); ++t) {
            std::size_t colourOf = flat ? a.indices[t * 3 + 2] : t * 3 + 2;
            EXPECT_EQ(a.rgba[colourOf * 4 + 1], 128) << "triangle " << t;
        }
    }
}

TEST_F(Loaded, HiddenSurfaceLeavesMarksAsPointsAndTheProfileCutsRows)
{
    SurfaceInputs in;
    in.drawTriangles = false;
    EXPECT_EQ(triangles(buildSurface(data, in, 1, false)), 0u) << "no surface while the triangles are switched off";
    in.drawTriangles = true;
    in.cut = ProfileCut{true, VERTP, 1, 0};
    // Cursor rows i with rows - i - 2 > 1, rows 0 and 1 of 5; the last
    // triangle of cell row 1 takes its cursor in row 2 and goes too.
    for (bool flat : {true, false})
        EXPECT_EQ(triangles(buildSurface(data, in, 1, flat)), static_cast<std::size_t>(2 * 10 - 1));
    SurfaceArrays coarse = buildSurface(data, SurfaceInputs{}, 2, true);
    EXPECT_EQ(coarse.xyz.size() / 6, static_cast<std::size_t>(3 * 4)) << "rows 0, 2, 4 and columns 0, 2, 4, 5";
    EXPECT_EQ(triangles(coarse), static_cast<std::size_t>(2 * 3 * 2));
}

// A 5 x 4 grid of cell size 10 with heights from 100 to 140, scaled as
// meshFrame scales it.
MeshFrame fiveByFour()
{
    MeshFrame f;
    f.rows = 5;
    f.cols = 4;
    f.cellX = f.cellY = 10;
    f.movex = 15;
    f.movey = 20;
    f.scalefactor = 2.0f / 50;
    f.zmid = 120;
    f.zscale = 2.0f / 50;
    f.zmin = 100;
    f.zmax = 140;
    return f;
}
const MeshFrame m = fiveByFour();

TEST(ProfilePlacement, PositionsOutsideTheGridAreClamped)
{
    // {Y, X, grid row, heights column}: Y counts rows from the last, a
    // horizontal section takes its heights from column X - 1. X beyond the
    // columns happens when there are more rows than columns.
    const int cases[][4] = {{1, 2, 3, 1}, {0, 0, 4, 0}, {4, 4, 0, 3}, {4, 5, 0, 3}, {-3, -3, 4, 0}, {99, 99, 0, 3}};
    for (const auto& c : cases) {
        ProfilePlacement p = placeProfile(m, c[0], c[1]);
        EXPECT_TRUE(p.gridy == c[2] && p.gx == c[3])
            << "Y " << c[0] << ", X " << c[1] << ": row " << p.gridy << ", column " << p.gx;
    }
    EXPECT_FALSE(placeProfile(MeshFrame{}, 0, 0).usable) << "no grid, no section";
}

TEST(ProfileSection, CellsInTheOrderTheProfileDrawsThem)
{
    const ProfilePlacement p = placeProfile(m, 1, 2);
    const struct {
        int view;
        bool usable;
        int count, row0, col0, row2, col2;
    } cases[] = {
        {VERTP, true, 3, 3, 0, 3, 2},  // along grid row 3, without the last column
        {HORIZ, true, 4, 0, 1, 2, 1},  // along column 1, without the last row
        {7, true, 0, 0, 0, 0, 0},      // an unknown view draws nothing
        {VERTP, false, 0, 0, 0, 0, 0}, // nor does a grid too small to cut
    };
    for (const auto& c : cases) {
        const SectionCells cells = sectionCells(c.view, c.usable ? p : ProfilePlacement{}, m.rows, m.cols);
        EXPECT_EQ(cells.count, c.count) << "view " << c.view;
        if (c.count) {
            EXPECT_TRUE(cells.row(0) == c.row0 && cells.col(0) == c.col0 && cells.row(2) == c.row2 &&
                        cells.col(2) == c.col2)
                << "view " << c.view << ": cell 0 at " << cells.row(0) << "," << cells.col(0);
        }
    }
}

TEST(ProfileCsv, DistanceDemAndPresentComparisonHeights)
{
    // 3 x 4, cell size 2.5; comparison values of 0 and below are absent.
    const float dem[] = {10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33.5f};
    const float comp[] = {0, 11.5f, -1, 13, 20, 0, 22.25f, 23, 30, 31, 32, 33};
    auto along = [](bool row, int line, int count) {
        SectionCells c;
        c.alongRow = row;
        c.line = line;
        c.count = count;
        return c;
    };
    const struct {
        const char* what;
        const float* comp;
        SectionCells cells;
        const char* csv;
    } cases[] = {
        {"a DEM alone", nullptr, along(true, 1, 3), "0,20,\n2.5,21,\n5,22,\n"},
        {"absent comparison values", comp, along(true, 0, 3), "0,10,\n2.5,11,11.5\n5,12,\n"},
        {"down a column", comp, along(false, 3, 2), "0,13,13\n2.5,23,23\n"},
        {"no section", comp, SectionCells{}, ""},
    };
    std::uint8_t compPresent[12], demPresent[12];
    for (int i = 0; i < 12; ++i) {
        compPresent[i] = comp[i] > 0;
        demPresent[i] = i != 5; // row 1, column 1 absent
    }
    const GridView demView{dem, nullptr, 3, 4};
    for (const auto& c : cases)
        EXPECT_EQ(profileCsv(demView, c.comp ? GridView{c.comp, compPresent, 3, 4} : GridView{}, 2.5, c.cells),
                  std::string("distance,dem,comparison\n") + c.csv)
            << c.what;
    EXPECT_EQ(profileCsv(GridView{dem, demPresent, 3, 4}, GridView{comp, compPresent, 3, 4}, 2.5, along(true, 1, 3)),
              "distance,dem,comparison\n0,20,20\n2.5,,\n5,22,22.25\n")
        << "an absent DEM point leaves its field empty";
    const float odd[] = {0.1f, 1e-7f, 123456.7f};
    EXPECT_EQ(profileCsv(GridView{odd, nullptr, 1, 3}, GridView{}, 0.1f, along(true, 0, 3)),
              "distance,dem,comparison\n0,0.1,\n0.1,1e-07,\n0.2,123456.7,\n")
        << "heights and distances in the fewest digits that read back";
}

TEST(ProfileColors, LineAndMarksFollowTheDifference)
{
    const ColorRGB red{1, 0.2f, 0.2f}, blue{0.2f, 0.2f, 1}, white{1, 1, 1};
    EXPECT_EQ(compareLineColor(105, 100, 1), red) << "DEM below the comparison";
    EXPECT_EQ(compareLineColor(95, 100, 1), blue) << "DEM above";
    EXPECT_TRUE(compareLineColor(101, 100, 1) == white && compareLineColor(99, 100, 1) == white);
    EXPECT_EQ(compareLineColor(103, 100, 5), white) << "unit from the panel";

    MarkStyle s = markStyle(102, 100, 1);
    EXPECT_TRUE(s.color.r == 1 && std::fabs(s.color.g - 0.6f) < 1e-6f && s.top == 0.1f && s.bottom == 0.0f);
    EXPECT_EQ(markStyle(110, 100, 1).color, (ColorRGB{1, 0, 0})) << "five units or more is pure red";
    s = markStyle(97, 100, 1);
    EXPECT_TRUE(std::fabs(s.color.r - 0.4f) < 1e-6f && s.color.b == 1 && s.top == 0.0f && s.bottom == -0.1f);
    s = markStyle(100.5f, 100, 1);
    EXPECT_TRUE(s.color == white && s.top == 0.05f && s.bottom == -0.05f);
}

TEST(MeshWalk, ThinsOnlyWhileDraggingLargeGrids)
{
    EXPECT_EQ(triangleStep(false, 5000000), 1);
    EXPECT_EQ(triangleStep(true, 199999), 1);
    EXPECT_EQ(triangleStep(true, 200000), 2) << "exactly 200000 points is thinned";
    EXPECT_EQ(triangleStep(true, 1000000), 6);
}

TEST(MeshWalk, ProfileCutHidesOneSideOfTheSection)
{
    ProfileCut cut;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{9, 0})) << "no profile: everything shown";
    cut.on = true;
    cut.ypos = 0;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{7, 0})) << "rows - i - 2 = 1 > 0";
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{8, 0})) << "rows - i - 2 = 0 is cut away";
    cut.ypos = 3;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{4, 0}) && !triangleShown(cut, 10, GridCursor{5, 0}));
    cut.view = HORIZ;
    cut.xpos = 4;
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{0, 4})) << "j <= X is cut away";
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{0, 5}));
    cut.view = 7;
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{0, 5})) << "unknown orientation hides the surface";
}

} // namespace

// A 2 x 2 pixel viewport whose centres lie at x, y = -0.5 and 0.5; a vertex
// at z = -3 is behind the eye.
TEST(SmallTriangles, KeepsWhatMayCoverAPixelCentreAndDropsTheRestInOrder)
{
    ScreenTransform t{};
    for (int k : {0, 5, 10, 15})
        t.matrix[k] = 1;
    t.matrix[11] = 1;
    t.viewport[2] = t.viewport[3] = 2;
    struct Case {
        const char* what;
        std::array<float, 9> xyz;
        bool kept;
    };
    const Case cases[] = {
        {"around a centre", {-0.6f, -0.6f, 0, -0.4f, -0.6f, 0, -0.5f, -0.4f, 0}, true},
        {"between centres", {-0.1f, -0.1f, 0, 0.1f, -0.1f, 0, 0, 0.1f, 0}, false},
        {"box holds a centre, triangle not", {-0.9f, -0.9f, 0, -0.2f, -0.9f, 0, -0.9f, -0.2f, 0}, false},
        {"a hair from a centre", {-0.9f, -0.9f, 0, -0.099f, -0.9f, 0, -0.9f, -0.099f, 0}, true},
        {"beyond the viewport", {1.1f, 0, 0, 1.4f, 0, 0, 1.2f, 0.3f, 0}, false},
        {"over the whole viewport", {-5, -5, 0, 5, -5, 0, 0, 5, 0}, true},
        {"no area", {-0.6f, -0.6f, 0, -0.4f, -0.4f, 0, -0.5f, -0.5f, 0}, true},
        {"behind the eye, the rest beside the first centre",
         {-0.9f, -0.9f, -3, -0.8f, -0.9f, 0, -0.85f, -0.8f, 0},
         true},
    };
    std::vector<float> xyz;
    std::vector<std::uint32_t> indices, expected;
    for (const Case& c : cases) {
        const std::uint32_t first = static_cast<std::uint32_t>(xyz.size() / 3);
        xyz.insert(xyz.end(), c.xyz.begin(), c.xyz.end());
        indices.insert(indices.end(), {first, first + 1, first + 2});
        if (c.kept)
            expected.insert(expected.end(), {first, first + 1, first + 2});
        PixelReach one;
        const std::vector<std::uint32_t> alone = {0, 1, 2};
        EXPECT_EQ(one.select(std::vector<float>(c.xyz.begin(), c.xyz.end()), alone, t), c.kept ? 3u : 0u) << c.what;
    }
    PixelReach all;
    const std::size_t n = all.select(xyz, indices, t);
    EXPECT_EQ(std::vector<std::uint32_t>(all.kept(), all.kept() + n), expected);
    EXPECT_TRUE(rendersInSoftware("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_FALSE(rendersInSoftware("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
    EXPECT_FALSE(rendersInSoftware(nullptr));
}
