// The frame: grey before data, then the terrain on pale blue, seen from
// straight above.
#include "tests/gui/viewer_fixtures.h"

namespace viewer_test {
namespace {

TEST_F(ViewerTest, PlainGreyBeforeLoading)
{
    Image img = grab();
    for (int y : {0, 300, H - 1})
        for (int x : {0, 325, W - 1})
            ASSERT_TRUE(near(img.at(x, y), 178, 178, 178, 1))
                << "no data yet: the viewer should be plain grey at " << x << "," << y << " but is "
                << img.at(x, y) << "; " << keep(img);

    window->size(500, 400);
    viewer->size(500, 400);
    Fl::check();
    img = grab();
    EXPECT_TRUE(near(img.at(250, 200), 178, 178, 178, 1)) << "still grey after resizing; " << keep(img);
}

TEST_F(ViewerTest, SampleTerrainOnPaleBlue)
{
    // A slope threshold of 30 degrees leaves the valleys and gentle slopes
    // green; at the default 10 degrees nearly all of this steep terrain is grey.
    ASSERT_TRUE(load(sampleData("alps_dem.grd"), "", 0, 4100, 30));
    Image img = grab();
    // 240 x 200 cells of 30 m: the mesh spans 2 x 1.66 model units, the
    // view about 2.2, so the corners of the window are background.
    for (auto [x, y] : {std::pair{2, 2}, {W - 3, 2}, {2, H - 3}, {W - 3, H - 3}})
        EXPECT_TRUE(near(img.at(x, y), 230, 230, 255, 1))
            << "background at " << x << "," << y << " should be pale blue, is " << img.at(x, y) << "; "
            << keep(img);

    // Inside the terrain: lit shades of green (below the tree line) and
    // grey (steep or high), never the background.
    int green = 0, grey = 0, other = 0;
    for (int y = 200; y < 400; y += 10) {
        for (int x = 200; x < 450; x += 10) {
            Pixel p = img.at(x, y);
            if (p.g > p.r + 5 && p.g > p.b + 5)
                ++green;
            else if (std::abs(p.r - p.g) <= 3 && std::abs(p.g - p.b) <= 3)
                ++grey;
            else
                ++other;
        }
    }
    EXPECT_GT(green, 20) << "valleys below the tree line should be green; " << keep(img);
    EXPECT_GT(grey, 20) << "steep slopes should be grey; " << keep(img);
    EXPECT_EQ(other, 0) << "no other colours in the base scheme; " << keep(img);
}

TEST_F(ViewerTest, ExactBaseColoursWithLightingOff)
{
    // Flat ground at 100 with a plateau above the tree line in the east.
    // Cells of 1 km, so the relief does not set the scale.
    std::string dem = writeGrid("treeline.grd", 20, 20, 1000, [](int, int c) { return c >= 10 ? 4200.0f : 100.0f; });
    ASSERT_TRUE(load(dem, "", 0, 4100, 89));
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(20, 20, 10, 4, x, y);
    Pixel low = img.at(x, y);
    EXPECT_TRUE(near(low, 102, 128, 102, 1)) << "below the tree line: TERRAIN green, is " << low << "; " << keep(img);
    gridToScreen(20, 20, 10, 15, x, y);
    Pixel high = img.at(x, y);
    EXPECT_TRUE(near(high, 128, 128, 128, 1)) << "above the tree line: TERRAINHIGH grey, is " << high << "; " << keep(img);
}

TEST_F(ViewerTest, ShadingTurnsWithTheTerrain)
{
    // A ridge: the light is positioned under the model transform, so turning
    // the model does not change how a face is lit.
    std::string dem = writeGrid("ridge.grd", 21, 21, 10, [](int, int c) { return c < 10 ? 10.0f * c : 200.0f - 10.0f * c; });
    ASSERT_TRUE(load(dem, "", 0, 99999, 89));
    Image before = grab();
    int x, y;
    gridToScreen(21, 21, 10, 5, x, y);
    Pixel west = before.at(x, y);
    zrotation = 180;
    Image after = grab();
    // After half a turn the west face is where the east face was.
    gridToScreen(21, 21, 10, 15, x, y);
    Pixel turned = after.at(x, y);
    EXPECT_TRUE(near(turned, west.r, west.g, west.b, 3))
        << "west face lit " << west << " before, " << turned << " after turning; " << keep(after);
}

} // namespace
} // namespace viewer_test
