// The colour rules of the surface and their precedence, and the slope and
// aspect stencils on small grids written here, without a display.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "render/slopeaspect.h"
#include "render/surfacecolor.h"

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
    CellSample cell{1000, 0, true, TERRAIN, TERRAIN, true, 0.01f, 0, 3000};
    int counts[4] = {1, 2, 3, 4};
    HeightClassTable classes{counts, 4, 1, 4};
    bool steep = false;
    float aspect = 90.0f;
    int steepAsked = 0, aspectAsked = 0;

    TriangleLook look()
    {
        return triangleLook(flags, cell, classes, [&] { ++steepAsked; return steep; },
                            [&] { ++aspectAsked; return aspect; });
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

TEST_F(Look, ContourGreyBeatsCubesAndNeedsAPositiveValue)
{
    flags.drawContours = flags.drawPoints = true;
    cell.comp = 120;
    EXPECT_TRUE(look().color == CONTOUR_GREY && !look().cube);
    flags.drawContours = false;
    EXPECT_TRUE(look().cube && look().color == packedColor(TERRAIN)) << "cube on an even triangle";
    cell.evenTriangle = false;
    EXPECT_TRUE(!look().cube && look().color == packedColor(TERRAIN)) << "no cube on odd ones, still TERRAIN";
    flags.drawContours = true;
    cell.comp = 0;
    cell.elev = 5000;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "comparison value 0 shows neither";
    cell.comp = -5;
    EXPECT_FALSE(look().cube);
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
    flags.drawCurveColor = flags.drawDiffColor = flags.drawCurveDiff = flags.drawDiff = true;
    flags.colorHeightClasses = flags.drawColors = flags.colorSlope = true;
    EXPECT_EQ(look().color, packedColor(HIGH)) << "curvature before difference";
    flags.drawCurveColor = false;
    EXPECT_EQ(look().color, packedColor(VERYHIGH)) << "difference before the rest";
    flags.drawDiffColor = false;
    EXPECT_EQ(look().color, packedColor(VERYHIGH)) << "curvature difference uses diffColor too";
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

struct Grid {
    int rows, cols;
    std::function<float(int, int)> h;
    float operator()(int r, int c) const { return h(r, c); }
};

TEST(RoundDeg, SnapsToMultiplesOf45WithLopsidedBounds)
{
    const std::pair<float, int> cases[] = {
        {0, 0},      {22, 0},      {22.01f, 45}, {-22, -45},   {-21.9f, 0},       {67, 45},
        {-67, -90},  {89.9f, 90},  {112, 90},    {-70, -90},   {-111.9f, -90},
        {-112, -111}, {130.2f, 130}, {-130.7f, -130}, // outside the table: rounded half up
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
        Grid g{9, 9, p.h};
        for (int i = 3; i < 7; ++i)
            for (int j = 3; j < 7; ++j) {
                float a = aspectDeg(g, 9, 9, i, j);
                EXPECT_NEAR(a, p.aspect, 1e-3) << "falls " << p.name << " at " << i << "," << j;
                ColorRGB c = slopeColor(a);
                EXPECT_TRUE(std::fabs(c.r - p.color.r) < 1e-4 && std::fabs(c.g - p.color.g) < 1e-4 &&
                            std::fabs(c.b - p.color.b) < 1e-4) << "falls " << p.name;
                EXPECT_EQ(gradientDirection(g, 9, 9, i, j), p.gradient) << "falls " << p.name;
            }
    }
}

TEST(Aspect, FlatGroundAndTheBorderBandHaveNone)
{
    Grid flat{8, 8, [](int, int) { return 500.0f; }};
    EXPECT_EQ(aspectDeg(flat, 8, 8, 4, 4), NOSLOPE);
    EXPECT_EQ(gradientDirection(flat, 8, 8, 4, 4), 90) << "no column change reads as 90";
    Grid tilted{8, 8, [](int, int c) { return -c * 1.0f; }};
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
    auto step = [](float rise) { return Grid{7, 7, [rise](int, int c) { return c >= 4 ? rise : 0.0f; }}; };
    EXPECT_TRUE(steepCell(step(1.77f), 7, 7, 10.0f, 10.0f, 3, 3)) << "atan(0.177) = 10.04 degrees";
    EXPECT_FALSE(steepCell(step(1.76f), 7, 7, 10.0f, 10.0f, 3, 3)) << "9.98 degrees";
    EXPECT_TRUE(steepCell(step(1.76f), 7, 7, 10.0f, 9.9f, 3, 3)) << "threshold from the open dialog";
    Grid down{7, 7, [](int, int c) { return c <= 2 ? 1.77f : 0.0f; }};
    EXPECT_TRUE(steepCell(down, 7, 7, 10.0f, 10.0f, 3, 3)) << "a fall counts like a rise";
    for (float rise : {5.0f, -5.0f}) {
        Grid rows{7, 7, [rise](int r, int) { return r >= 4 ? rise : 0.0f; }};
        EXPECT_EQ(std::abs(gradientDirection(rows, 7, 7, 3, 3)), 90) << rise;
        EXPECT_TRUE(steepCell(rows, 7, 7, 10.0f, 10.0f, 3, 3)) << "row gradient of either sign, " << rise;
    }
}

} // namespace
