// Where the profile stands and how its comparison marks look.
#include <gtest/gtest.h>

#include "render/profilegeometry.h"

namespace {

// A 5 x 4 grid of cell size 10 scaled as convert_to_triangles scales it.
MeshFrame frame()
{
    MeshFrame m;
    m.rows = 5;
    m.cols = 4;
    m.cellsize = 10;
    m.movex = (m.cols - 1) * m.cellsize / 2;
    m.movey = (m.rows - 1) * m.cellsize / 2;
    m.scalefactor = 2.0f / 50;
    m.zmin = 100;
    m.zmax = 140;
    m.zmid = 120;
    m.zscale = m.scalefactor;
    return m;
}

TEST(ProfilePlacement, SectionStandsOnItsGridRowAndColumn)
{
    MeshFrame m = frame();
    ProfilePlacement p = placeProfile(m, 1, 2);
    ASSERT_TRUE(p.usable);
    EXPECT_EQ(p.gridy, 3);
    EXPECT_FLOAT_EQ(p.yval, m.yOfRow(3)) << "the section's y is that of its grid row";
    EXPECT_FLOAT_EQ(p.yvalCut, (2 * 10 - 20) * m.scalefactor);
    EXPECT_EQ(p.gx, 1) << "horizontal heights come from column X - 1";
    EXPECT_FLOAT_EQ(p.xval, m.xOfCol(2)) << "and stand at the x of column X";
    EXPECT_FLOAT_EQ(p.xvalCut, m.xOfCol(3));
    EXPECT_FLOAT_EQ(p.zlow, m.zOf(100) - 0.1f);
    EXPECT_FLOAT_EQ(p.zhigh, m.zOf(140) + 0.1f);
    EXPECT_EQ(placeProfile(m, 0, 0).gridy, 4) << "Y = 0 is the last grid row";
}

TEST(ProfilePlacement, PositionsOutsideTheGridAreClamped)
{
    MeshFrame m = frame();
    ProfilePlacement p = placeProfile(m, 0, 0);
    EXPECT_EQ(p.gx, 0) << "X = 0 would read column -1";
    p = placeProfile(m, 4, 4);
    EXPECT_EQ(p.gridy, 0);
    EXPECT_EQ(p.gx, 3);
    p = placeProfile(m, 4, 4 + 1);
    EXPECT_EQ(p.gx, 3) << "X beyond the columns (rows > cols)";
    p = placeProfile(m, -3, -3);
    EXPECT_EQ(p.gridy, 4);
    EXPECT_EQ(p.gx, 0);
    p = placeProfile(m, 99, 99);
    EXPECT_EQ(p.gridy, 0);
    EXPECT_EQ(p.gx, 3);
    EXPECT_FALSE(placeProfile(MeshFrame{}, 0, 0).usable) << "no grid, no section";
}

TEST(ProfileColors, DenseLineColoursByDifference)
{
    ColorRGB red{1, 0.2f, 0.2f}, blue{0.2f, 0.2f, 1}, white{1, 1, 1};
    EXPECT_EQ(compareLineColor(105, 100, 1), red) << "DEM below the comparison";
    EXPECT_EQ(compareLineColor(95, 100, 1), blue) << "DEM above";
    EXPECT_EQ(compareLineColor(101, 100, 1), white) << "a difference of exactly one unit is white";
    EXPECT_EQ(compareLineColor(99, 100, 1), white);
    EXPECT_EQ(compareLineColor(103, 100, 5), white) << "unit from the panel";
}

TEST(ProfileColors, MarksReddenOrBlueWithTheDifference)
{
    MarkStyle s = markStyle(102, 100, 1);
    EXPECT_FLOAT_EQ(s.color.r, 1);
    EXPECT_FLOAT_EQ(s.color.g, 0.6f);
    EXPECT_FLOAT_EQ(s.top, 0.1f);
    EXPECT_FLOAT_EQ(s.bottom, 0.0f);
    s = markStyle(110, 100, 1);
    EXPECT_EQ(s.color, (ColorRGB{1, 0, 0})) << "five units or more is pure red";
    s = markStyle(97, 100, 1);
    EXPECT_FLOAT_EQ(s.color.r, 0.4f);
    EXPECT_FLOAT_EQ(s.color.b, 1);
    EXPECT_FLOAT_EQ(s.top, 0.0f);
    EXPECT_FLOAT_EQ(s.bottom, -0.1f);
    s = markStyle(100.5f, 100, 1);
    EXPECT_EQ(s.color, (ColorRGB{1, 1, 1}));
    EXPECT_FLOAT_EQ(s.top, 0.05f);
    EXPECT_FLOAT_EQ(s.bottom, -0.05f);
}

} // namespace
