// The mesh walk of drawgrid: thinning, the sampling cursor and the profile cut.
#include <gtest/gtest.h>

#include "render/surfacewalk.h"

namespace {

int meshTriangles(int rows, int cols) { return (rows - 1) * (2 * cols - 2); }

TEST(TriangleStep, ThinsOnlyWhileDraggingLargeGrids)
{
    EXPECT_EQ(triangleStep(false, 5000000), 1);
    EXPECT_EQ(triangleStep(true, 199999), 1);
    EXPECT_EQ(triangleStep(true, 200000), 2) << "exactly 200000 points is thinned";
    EXPECT_EQ(triangleStep(true, 1000000), 6);
}

TEST(GridCursor, StaysInsideTheGridOverTheWholeMesh)
{
    for (int rows : {2, 3, 7, 40}) {
        for (int cols : {2, 3, 5, 33}) {
            GridCursor cur;
            int n = meshTriangles(rows, cols);
            for (int t = 0; t < n; ++t) {
                ASSERT_GE(cur.i, 0);
                ASSERT_LT(cur.i, rows) << rows << "x" << cols << " triangle " << t;
                ASSERT_GE(cur.j, 0);
                ASSERT_LT(cur.j, cols) << rows << "x" << cols << " triangle " << t;
                advanceCursor(cur, t, cols);
            }
        }
    }
}

TEST(GridCursor, FirstRowIsShortByOneTriangle)
{
    const int rows = 4, cols = 6;
    GridCursor cur;
    int onRow0 = 0, lastRow = 0;
    for (int t = 0; t < meshTriangles(rows, cols); ++t) {
        if (cur.i == 0)
            ++onRow0;
        lastRow = cur.i;
        advanceCursor(cur, t, cols);
    }
    EXPECT_EQ(onRow0, 2 * (cols - 1) - 1);
    EXPECT_EQ(lastRow, rows - 1);
}

TEST(GridCursor, EvenStepNeverMoves)
{
    GridCursor cur;
    for (int t = 0; t < 100; t += 2)
        advanceCursor(cur, t, 10);
    EXPECT_EQ(cur.i, 0);
    EXPECT_EQ(cur.j, 1);
}

TEST(ProfileCut, HidesOneSideOfTheSection)
{
    const int rows = 10;
    ProfileCut cut;
    GridCursor cur{9, 0};
    EXPECT_TRUE(triangleShown(cut, rows, cur)) << "no profile: everything shown";
    cut.on = true;
    cut.view = VERTP;
    cut.ypos = 0;
    cur.i = 7;
    EXPECT_TRUE(triangleShown(cut, rows, cur)) << "rows - i - 2 = 1 > 0";
    cur.i = 8;
    EXPECT_FALSE(triangleShown(cut, rows, cur)) << "rows - i - 2 = 0 is cut away";
    cut.ypos = 3;
    cur.i = 5;
    EXPECT_FALSE(triangleShown(cut, rows, cur));
    cur.i = 4;
    EXPECT_TRUE(triangleShown(cut, rows, cur));

    cut.view = HORIZ;
    cut.xpos = 4;
    cur.j = 4;
    EXPECT_FALSE(triangleShown(cut, rows, cur)) << "j <= X is cut away";
    cur.j = 5;
    EXPECT_TRUE(triangleShown(cut, rows, cur));
    cut.view = 7;
    EXPECT_FALSE(triangleShown(cut, rows, cur)) << "unknown orientation hides the surface";
}

} // namespace
