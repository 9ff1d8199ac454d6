// The colour rules of the surface, checked without a display.
#include <cmath>

#include <gtest/gtest.h>

#include "render/surfacecolor.h"

namespace {

constexpr float TOL = 1e-5f;

void expectColor(const ColorRGB& c, float r, float g, float b, const char* what)
{
    EXPECT_NEAR(c.r, r, TOL) << what << ": red";
    EXPECT_NEAR(c.g, g, TOL) << what << ": green";
    EXPECT_NEAR(c.b, b, TOL) << what << ": blue";
}

bool finite(const ColorRGB& c) { return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b); }

TEST(PackedColor, UnpacksToTheStoredBytes)
{
    expectColor(packedColor(TERRAIN), 102 / 255.0f, 128 / 255.0f, 102 / 255.0f, "TERRAIN");
    expectColor(packedColor(VERYHIGH), 227 / 255.0f, 26 / 255.0f, 28 / 255.0f, "VERYHIGH");
    EXPECT_FALSE(hasClass(TERRAIN));
    EXPECT_FALSE(hasClass(TERRAINHIGH));
    EXPECT_TRUE(hasClass(LOW));
    EXPECT_TRUE(hasClass(VERYHIGH));
}

TEST(HeightRamp, RunsGreenYellowRedOverTheRelief)
{
    expectColor(rampColor(300, 0, 0), 0.0f, 0.1f, 0.0f, "lowest point: dark green");
    expectColor(rampColor(300, 0, 150), 0.3f, 0.8f, 0.0f, "middle: yellow-green");
    expectColor(rampColor(300, 0, 300), 0.8f, 0.0f, 0.0f, "highest point: red");
    expectColor(rampColor(300, 0, 100), 0.0f, 0.8f, 0.0f, "top of the lowest third");
    expectColor(rampColor(300, 0, 200), 0.8f, 0.8f, 0.0f, "top of the middle third");
    expectColor(rampColor(1300, 1000, 1050), 0.0f, 0.45f, 0.0f, "offset relief");
}

TEST(HeightRamp, SmallOrNoReliefGivesFiniteColours)
{
    // Reliefs of 0, 1 and 2 units have no whole third.
    for (int relief = 0; relief < 3; ++relief) {
        for (int e = 0; e <= relief; ++e) {
            ColorRGB c = rampColor(100 + relief, 100, 100 + e);
            EXPECT_TRUE(finite(c)) << "relief " << relief << " height " << e;
            EXPECT_GE(c.r, 0.0f);
            EXPECT_LE(c.g, 1.0f);
        }
    }
    expectColor(rampColor(100, 100, 100), 0.0f, 0.1f, 0.0f, "flat grid takes the lowest colour");
    expectColor(rampColor(102, 100, 102), 0.8f, 0.0f, 0.0f, "top of a 2-unit relief is red");
    expectColor(rampColor(102, 100, 100), 0.0f, 0.1f, 0.0f, "bottom of a 2-unit relief");
    EXPECT_TRUE(finite(rampColor(-1000, 35000, 0))) << "extremes of an empty model";
}

TEST(HeightClassColor, ShadesByTheClassCount)
{
    int counts[4] = {10, 20, 30, 40};
    HeightClassTable t{counts, 4, 10, 40};
    expectColor(*heightClassColor(8.0f, t), 0.2f, 0.6f, 0.3f, "emptiest class");
    expectColor(*heightClassColor(7.4f, t), 1.0f, 0.6f, 0.3f, "fullest class (7.4 rounds to 7, class 3)");
    expectColor(*heightClassColor(5.0f, t), 0.2f + 0.8f / 3, 0.6f, 0.3f, "class 1");
}

TEST(HeightClassColor, DegenerateHistogramsAreSafe)
{
    int equal[3] = {5, 5, 5};
    HeightClassTable same{equal, 3, 5, 5};
    expectColor(*heightClassColor(4.0f, same), 0.2f, 0.6f, 0.3f, "equal counts: no division by zero");

    int counts[2] = {1, 2};
    EXPECT_FALSE(heightClassColor(3.0f, HeightClassTable{counts, 0, 1, 2})) << "contour interval 0";
    EXPECT_FALSE(heightClassColor(3.0f, HeightClassTable{nullptr, 2, 1, 2})) << "no histogram";
    EXPECT_FALSE(heightClassColor(-2.0f, HeightClassTable{counts, 2, 1, 2})) << "height below the classes";
    EXPECT_FALSE(heightClassColor(-101.7f, HeightClassTable{counts, 2, 1, 2})) << "-101 mod 2 is -1";
    EXPECT_TRUE(heightClassColor(-1.0f, HeightClassTable{counts, 2, 1, 2})) << "-1 rounds to class 0";
}

TEST(DiffMark, ColourAndLengthFollowTheDifference)
{
    DiffMark below = diffMark(98.0f, 100.0f, 0.01f);
    ASSERT_TRUE(below.color);
    expectColor(*below.color, 0.9f, 0.3f, 0.3f, "DEM below the comparison: red");
    EXPECT_NEAR(below.length, 0.07f, TOL);

    DiffMark above = diffMark(103.0f, 100.0f, 0.01f);
    ASSERT_TRUE(above.color);
    expectColor(*above.color, 0.3f, 0.3f, 0.9f, "DEM above: blue");
    EXPECT_NEAR(above.length, 0.08f, TOL);

    DiffMark same = diffMark(100.0f, 100.0f, 0.01f);
    EXPECT_FALSE(same.color) << "no difference keeps the colour before the mark";
    EXPECT_NEAR(same.length, 0.05f, TOL);
}

// --- precedence ------------------------------------------------------------

struct LookCase : ::testing::Test {
    ViewFlags flags;
    CellSample cell{};
    int counts[4] = {1, 2, 3, 4};
    HeightClassTable classes{counts, 4, 1, 4};
    bool steep = false;
    float aspect = 90.0f;
    int steepAsked = 0, aspectAsked = 0;

    LookCase()
    {
        cell.elev = 1000;
        cell.comp = 0;
        cell.hasComp = true;
        cell.curveColor = TERRAIN;
        cell.diffColor = TERRAIN;
        cell.evenTriangle = true;
        cell.zscale = 0.01f;
        cell.zmin = 0;
        cell.zmax = 3000;
    }
    TriangleLook look()
    {
        return triangleLook(
            flags, cell, classes, [&] { ++steepAsked; return steep; },
            [&] { ++aspectAsked; return aspect; });
    }
};

TEST_F(LookCase, BaseColoursFollowTreeLineAndSlope)
{
    EXPECT_EQ(look().color, packedColor(TERRAIN)) << "low, gentle ground is green";
    cell.elev = 4100;
    EXPECT_EQ(look().color, packedColor(TERRAIN)) << "exactly at the tree line counts as below";
    cell.elev = 4100.5f;
    steepAsked = 0;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "above the tree line is grey";
    EXPECT_EQ(steepAsked, 0) << "no slope test needed above the tree line";
    cell.elev = 1000;
    steep = true;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "steep ground is grey";
    flags.treeLine = 500;
    steep = false;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "tree line from the open dialog";
}

TEST_F(LookCase, ContourGreyBeatsCubesAndNeedsAPositiveValue)
{
    flags.drawContours = flags.drawPoints = true;
    cell.comp = 120;
    TriangleLook l = look();
    EXPECT_EQ(l.color, CONTOUR_GREY);
    EXPECT_FALSE(l.cube);

    flags.drawContours = false;
    l = look();
    EXPECT_TRUE(l.cube) << "cube on an even triangle";
    EXPECT_EQ(l.color, packedColor(TERRAIN));
    cell.evenTriangle = false;
    l = look();
    EXPECT_FALSE(l.cube) << "no cube on an odd triangle";
    EXPECT_EQ(l.color, packedColor(TERRAIN)) << "odd triangles take TERRAIN all the same";

    flags.drawContours = true;
    cell.comp = 0;
    cell.elev = 5000;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "comparison value 0 shows neither";
    cell.comp = -5;
    EXPECT_FALSE(look().cube);
    cell.comp = 120;
    cell.hasComp = false;
    EXPECT_EQ(look().color, packedColor(TERRAINHIGH)) << "without a comparison grid there is nothing to grey";
}

TEST_F(LookCase, StoredClassesComeFirstInOrder)
{
    cell.curveColor = HIGH;
    cell.diffColor = VERYHIGH;
    flags.drawCurveColor = flags.drawDiffColor = flags.drawColors = true;
    EXPECT_EQ(look().color, packedColor(HIGH)) << "curvature before difference";
    flags.drawCurveColor = false;
    EXPECT_EQ(look().color, packedColor(VERYHIGH)) << "difference before the ramp";
    flags.drawDiffColor = false;
    flags.drawCurveDiff = true;
    EXPECT_EQ(look().color, packedColor(VERYHIGH)) << "curvature difference uses diffColor";
}

TEST_F(LookCase, TrianglesWithoutAClassFallThrough)
{
    flags.drawCurveColor = flags.drawDiffColor = flags.drawCurveDiff = flags.drawDiff = true;
    cell.curveColor = TERRAINHIGH;
    cell.diffColor = TERRAIN;
    EXPECT_EQ(look().color, packedColor(TERRAIN)) << "no scheme on: base colour stays";
    EXPECT_FALSE(look().mark);
    flags.colorHeightClasses = true;
    cell.elev = 7; // class 3, the fullest
    expectColor(look().color, 1.0f, 0.6f, 0.3f, "falls through to the height classes");
    flags.colorHeightClasses = false;
    flags.drawColors = true;
    cell.elev = 1500;
    expectColor(look().color, 0.3f, 0.8f, 0.0f, "falls through to the ramp");
    flags.drawColors = false;
    flags.colorSlope = true;
    expectColor(look().color, 1.0f, 0.0f, 0.0f, "falls through to the aspect wheel (east: red)");
}

TEST_F(LookCase, DifferenceMarkTakesItsColour)
{
    flags.drawDiff = true;
    cell.diffColor = LOW;
    cell.elev = 98;
    cell.comp = 100;
    TriangleLook l = look();
    ASSERT_TRUE(l.mark);
    expectColor(l.color, 0.9f, 0.3f, 0.3f, "triangle takes the red of its mark");
    EXPECT_NEAR(l.mark->length, 0.07f, TOL);
    cell.comp = 98;
    l = look();
    ASSERT_TRUE(l.mark);
    EXPECT_EQ(l.color, packedColor(TERRAIN)) << "a zero difference keeps the base colour";
    cell.hasComp = false;
    EXPECT_FALSE(look().mark) << "no marks without comparison heights";
}

TEST_F(LookCase, HeightClassesBeforeRampBeforeSlope)
{
    flags.colorHeightClasses = flags.drawColors = flags.colorSlope = true;
    cell.elev = 8; // class 0, the emptiest
    expectColor(look().color, 0.2f, 0.6f, 0.3f, "height classes win");
    EXPECT_EQ(aspectAsked, 0) << "the aspect is not computed when unused";
    classes.interval = 0;
    cell.elev = 3000;
    expectColor(look().color, 0.8f, 0.0f, 0.0f, "interval 0: no classes, the ramp shows");
    flags.drawColors = false;
    aspect = NOSLOPE;
    expectColor(look().color, 0.5f, 0.5f, 0.5f, "no aspect: grey");
}

} // namespace
