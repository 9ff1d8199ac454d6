// The point under the mouse: grid points projected with the frame's camera
// and cast back onto the surface land on themselves, whatever the camera;
// the nearest surface wins; holes and the sky give nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "render/pickmarks.h"
#include "render/profilegeometry.h"
#include "render/surfacepick.h"
#include "render/viewmotion.h"
#include "tests/render/render_data.h"

namespace {

// A hill on a 31 x 41 grid of 30 m cells: every cell slopes, so a
// misplaced triangle shows in the height.
float hill(int r, int c)
{
    return 200.0f + 80.0f * std::exp(-((r - 14.0) * (r - 14.0) + (c - 22.0) * (c - 22.0)) / 60.0);
}

struct Camera {
    const char* what;
    float xrot, zrot, eye, xmove, ymove;
    int width, height, exaggeration;
};

TEST(SurfacePick, AGridPointProjectedAndCastBackLandsOnItself)
{
    const Camera cameras[] = {
        {"as the viewer starts", 0, 0, 100, 0, 0, 650, 650, 1},
        {"tilted and turned", -55, 30, 90, 0, 0, 650, 650, 1},
        {"steep from the side", -80, -120, 110, 0, 0, 650, 650, 3},
        {"moved in its plane, wide picture", -30, 10, 80, 0.2f, -0.15f, 900, 500, 2},
        {"tall picture, flattened relief", -40, 200, 100, 0, 0, 400, 700, 0},
    };
    DataSet d = demDataSet(31, 41, 30, hill);
    for (const Camera& cam : cameras) {
        d.setExaggeration(cam.exaggeration);
        ViewState v;
        v.xrotation = cam.xrot;
        v.zrotation = cam.zrot;
        v.eyevalue = cam.eye;
        v.xtranslate = cam.xmove;
        v.ytranslate = cam.ymove;
        const FrameMatrices f = frameMatrices(v, cam.width, cam.height);
        int seen = 0;
        for (int r = 2; r < 29; r += 3)
            for (int c = 2; c < 39; c += 4) {
                const std::optional<WindowPoint> px = project(f, modelPointOf(d, r, c, hill(r, c)));
                ASSERT_TRUE(px) << cam.what;
                const std::optional<SurfaceHit> hit = surfaceUnder(d, v, cam.width, cam.height, *px);
                // A point hidden behind the hill from this side is not under
                // the mouse; every point seen must be itself.
                if (!hit || std::hypot(hit->row - r, hit->col - c) > 1e-4) {
                    if (hit) {
                        const Vec3 front = modelPointOf(d, hit->row, hit->col, hit->height);
                        const Vec3 back = modelPointOf(d, r, c, hill(r, c));
                        const Mat4& m = f.modelview;
                        auto depth = [&](const Vec3& p) { return -(m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]); };
                        EXPECT_LT(depth(front), depth(back))
                            << cam.what << ": (" << r << ", " << c << ") cast onto a point behind it";
                    }
                    continue;
                }
                ++seen;
                EXPECT_NEAR(hit->height, hill(r, c), 1e-3) << cam.what;
            }
        EXPECT_GT(seen, 45) << cam.what << ": at least half the grid points are in sight";
    }
}

TEST(SurfacePick, TheNearestSurfaceWinsAndHolesAndSkyGiveNothing)
{
    // A flat 21 x 21 grid with a wall along row 10 and a hole at (5..7, 5..7).
    GridData g = demGrid(21, 21, 10, [](int r, int) { return r == 10 ? 150.0f : 100.0f; });
    g.present.assign(g.header.cells(), 1);
    for (int r = 5; r <= 7; ++r)
        for (int c = 5; c <= 7; ++c)
            g.present[static_cast<std::size_t>(r) * 21 + c] = 0;
    finishGrid(g, GridRole::dem);
    SilentMessages quiet;
    const DataSet d(std::move(g), std::nullopt, 1, ClassUnits{}, quiet);

    // Along a row, low over the ground from the south: the wall stops the
    // line before the ground it would reach behind it.
    const Vec3 south = modelPointOf(d, 18, 12, 110), north = modelPointOf(d, 2, 12, 110);
    const std::optional<SurfaceHit> wall = surfaceAlong(d, {south, north});
    ASSERT_TRUE(wall);
    EXPECT_NEAR(wall->row, 10, 1.0);
    EXPECT_NEAR(wall->height, 110, 1e-6);
    // The same from the north meets the wall's other face.
    const std::optional<SurfaceHit> back = surfaceAlong(d, {north, south});
    ASSERT_TRUE(back);
    EXPECT_LT(back->row, 10);

    // Straight down: the ground, but nothing through the hole's middle.
    auto down = [&](double r, double c) {
        return surfaceAlong(d, {modelPointOf(d, r, c, 300), modelPointOf(d, r, c, 0)});
    };
    ASSERT_TRUE(down(3.3, 14.6));
    EXPECT_NEAR(down(3.3, 14.6)->row, 3.3, 1e-9);
    EXPECT_NEAR(down(3.3, 14.6)->col, 14.6, 1e-9);
    EXPECT_FALSE(down(6, 6)) << "a line through the hole meets no triangle";
    // At the hole's edge a cell keeps the half whose corners are all present.
    EXPECT_FALSE(down(7.2, 7.2)) << "the half of cell (7, 7) with its absent corner";
    ASSERT_TRUE(down(7.8, 7.8)) << "the other half of cell (7, 7)";
    EXPECT_FALSE(down(4.8, 4.8)) << "the half of cell (4, 4) with the absent corner (5, 5)";
    ASSERT_TRUE(down(4.2, 4.2)) << "the other half of cell (4, 4)";
    EXPECT_FALSE(surfaceAlong(d, {modelPointOf(d, 3, 3, 300), modelPointOf(d, 3, 60, 300)})) << "the sky";
    // The profile along a row leaves out the triangles south of it, as the
    // surface does: the line passes them.
    const ProfileCut cut{true, VERTP, 10, 0};
    auto downCut = [&](double r, double c) {
        return surfaceAlong(d, {modelPointOf(d, r, c, 300), modelPointOf(d, r, c, 0)}, cut);
    };
    EXPECT_TRUE(downCut(3.3, 14.6)) << "north of the cut";
    EXPECT_FALSE(downCut(15.3, 14.6)) << "south of the cut, where nothing is drawn (a cell's first half)";
    EXPECT_FALSE(downCut(15.7, 14.6)) << "south of the cut, where nothing is drawn (a cell's second half)";
    EXPECT_TRUE(down(15.3, 14.6)) << "the same without the profile";
    EXPECT_FALSE(surfaceAlong(d, {modelPointOf(d, -5, -5, 300), modelPointOf(d, -5, -5, 0)})) << "beside the grid";
}

TEST(SurfacePick, AClickIsAPressAndReleaseOfTheLeftButtonWithinThreePixels)
{
    struct Case {
        int button, dx, dy, releaseButton;
        bool click;
    } cases[] = {
        {1, 0, 0, 1, true},  {1, 3, 0, 1, true},  {1, 2, 2, 1, true},  {1, 0, -3, 1, true},
        {1, 4, 0, 1, false}, {1, 3, 3, 1, false}, {3, 0, 0, 3, false}, {2, 0, 0, 2, false},
    };
    for (const Case& k : cases) {
        ClickState click;
        pressForClick(click, k.button, 100, 100);
        dragForClick(click, 100 + k.dx, 100 + k.dy);
        EXPECT_EQ(releaseIsClick(click), k.click) << k.button << " " << k.dx << "," << k.dy;
        EXPECT_FALSE(releaseIsClick(click)) << "a release ends the click";
    }
    // Out beyond the slop and back is a drag.
    ClickState click;
    pressForClick(click, 1, 50, 50);
    dragForClick(click, 60, 50);
    dragForClick(click, 50, 50);
    EXPECT_FALSE(releaseIsClick(click));
}

TEST(PickMarks, NumbersAreDrawnDigitByDigitBottomUp)
{
    const TextBitmap one = numberBitmap("1");
    EXPECT_EQ(one.width, DIGIT_W * DIGIT_SCALE);
    EXPECT_EQ(one.height, DIGIT_H * DIGIT_SCALE);
    // "1" has its foot (three pixels wide) on the bottom row and its top
    // pixel in the middle column.
    EXPECT_TRUE(one.on(1 * DIGIT_SCALE, 0) && one.on(3 * DIGIT_SCALE, 0) && !one.on(0, 0));
    EXPECT_TRUE(one.on(2 * DIGIT_SCALE, one.height - 1) && !one.on(0, one.height - 1));
    const TextBitmap twelve = numberBitmap("12");
    EXPECT_EQ(twelve.width, (2 * (DIGIT_W + 1) - 1) * DIGIT_SCALE);
    // The 2's bottom row is full; the 1's corner beside it is empty.
    const int second = (DIGIT_W + 1) * DIGIT_SCALE;
    for (int x = 0; x < DIGIT_W * DIGIT_SCALE; ++x)
        EXPECT_TRUE(twelve.on(second + x, 0)) << x;
    EXPECT_FALSE(twelve.on(0, 0));
}

} // namespace
