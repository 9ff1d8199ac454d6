// Surface colour schemes as a user sees them, on small grids written here.
// Lighting is off so each triangle shows its colour unshaded.
#include "tests/gui/viewer_fixtures.h"

namespace viewer_test {
namespace {

// Cells of 1 km keep the relief below the horizontal extent, so the mesh
// fills the view as gridToScreen expects.
constexpr float KM = 1000;

TEST_F(ViewerTest, HeightRampRunsGreenYellowRed)
{
    std::string dem = writeGrid("ramp.grd", 21, 31, KM, [](int, int c) { return 10.0f * c; });
    ASSERT_TRUE(load(dem));
    MyWindow::Colors(nullptr);
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(21, 31, 10, 0.5f, x, y);
    Pixel low = img.at(x, y);
    EXPECT_TRUE(low.r == 0 && low.g < 45 && low.b == 0) << "west edge (lowest) dark green, is " << low << "; " << keep(img);
    gridToScreen(21, 31, 10, 15.5f, x, y);
    Pixel mid = img.at(x, y);
    EXPECT_TRUE(near(mid, 90, 204, 0, 20)) << "middle yellow-green, is " << mid << "; " << keep(img);
    gridToScreen(21, 31, 10, 29.5f, x, y);
    Pixel high = img.at(x, y);
    EXPECT_TRUE(near(high, 204, 0, 0, 20)) << "east edge (highest) red, is " << high << "; " << keep(img);
}

TEST_F(ViewerTest, AspectWheelOnATiltedPlane)
{
    // Falls towards the east: red inside the border band, grey on it.
    std::string dem = writeGrid("east.grd", 21, 21, KM, [](int, int c) { return 1000.0f - 10.0f * c; });
    ASSERT_TRUE(load(dem));
    MyWindow::slopeVis(nullptr);
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(21, 21, 10.5f, 10.5f, x, y);
    EXPECT_TRUE(near(img.at(x, y), 255, 0, 0, 1)) << "east-facing slope red, is " << img.at(x, y) << "; " << keep(img);
    gridToScreen(21, 21, 10.5f, 1.5f, x, y);
    EXPECT_TRUE(near(img.at(x, y), 128, 128, 128, 1)) << "border band grey, is " << img.at(x, y) << "; " << keep(img);

    std::string north = writeGrid("north.grd", 21, 21, KM, [](int r, int) { return 10.0f * r; });
    ASSERT_TRUE(load(north));
    img = grab();
    gridToScreen(21, 21, 10.5f, 10.5f, x, y);
    EXPECT_TRUE(near(img.at(x, y), 255, 255, 255, 1)) << "north-facing slope white, is " << img.at(x, y) << "; " << keep(img);
}

TEST_F(ViewerTest, CurvatureClassesMarkASpike)
{
    std::string dem = writeGrid("spike.grd", 21, 21, KM, [](int r, int c) { return r == 10 && c == 10 ? 200.0f : 100.0f; });
    ASSERT_TRUE(load(dem));
    MyWindow::cerr(nullptr);
    lighting = 0;
    Image img = grab();
    // The spike's own cells show the highest class; flat ground keeps its
    // base colour.
    int high = 0, far = 0;
    int x0, y0, x1, y1;
    gridToScreen(21, 21, 7, 7, x0, y0);
    gridToScreen(21, 21, 13, 13, x1, y1);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (!near(img.at(x, y), 253, 141, 60, 2))
                continue;
            ++high;
            if (x < x0 || x > x1 || y < y0 || y > y1)
                ++far;
        }
    }
    EXPECT_GT(high, 100) << "the spike should be orange (HIGH); " << keep(img);
    EXPECT_EQ(far, 0) << "orange away from the spike; " << keep(img);
    int x, y;
    gridToScreen(21, 21, 3.5f, 3.5f, x, y);
    EXPECT_TRUE(near(img.at(x, y), 102, 128, 102, 1)) << "flat ground stays green, is " << img.at(x, y) << "; " << keep(img);

    MyWindow::cerr(nullptr);
    img = grab();
    gridToScreen(21, 21, 10, 10, x, y);
    EXPECT_FALSE(near(img.at(x, y), 253, 141, 60, 2)) << "switched off again; " << keep(img);
}

TEST_F(ViewerTest, ContourCellsGreyOut)
{
    std::string dem = writeGrid("cdem.grd", 21, 21, KM, [](int, int) { return 100.0f; });
    std::string comp = writeGrid("ccont.grd", 21, 21, KM, [](int, int c) { return c == 10 ? 100.0f : 0.0f; });
    ASSERT_TRUE(load(dem, comp, CONTF));
    MyWindow::cont(nullptr);
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(21, 21, 10.5f, 10.5f, x, y);
    bool grey = false;
    for (int dx = -40; dx <= 40 && !grey; ++dx)
        grey = near(img.at(x + dx, y), 178, 178, 178, 1);
    EXPECT_TRUE(grey) << "the contour column should be greyed; " << keep(img);
    gridToScreen(21, 21, 10.5f, 3.5f, x, y);
    EXPECT_TRUE(near(img.at(x, y), 102, 128, 102, 1)) << "cells without data keep their colour; " << keep(img);
}

TEST_F(ViewerTest, EverySchemeDrawsTheSampleData)
{
    ASSERT_TRUE(load(sampleData("alps_dem2.grd"), sampleData("alps_contour.grd"), CONTF));
    ASSERT_EQ(MyWindow::getCont(), 20);
    const std::pair<const char*, void (*)(Fl_Widget*)> schemes[] = {
        {"curvature", MyWindow::cerr},     {"elevation difference", MyWindow::lerr},
        {"curvature difference", MyWindow::curverr}, {"height classes", MyWindow::heights},
        {"height ramp", MyWindow::Colors}, {"slope", MyWindow::slopeVis},
        {"contours", MyWindow::cont},
    };
    Image base = grab();
    for (const auto& [name, toggle] : schemes) {
        toggle(nullptr);
        Image img = grab();
        int changed = 0;
        for (int y = 100; y < 500; y += 7)
            for (int x = 100; x < 550; x += 7)
                if (!near(img.at(x, y), base.at(x, y).r, base.at(x, y).g, base.at(x, y).b, 2))
                    ++changed;
        EXPECT_GT(changed, 50) << name << " should change the picture; " << keep(img);
        if (const char* dir = std::getenv("OROLITH_SHOT_DIR"))
            img.savePpm(std::string(dir) + "/scheme_" + name + ".ppm");
        toggle(nullptr);
        drawDiffColor = drawCurveDiff = false;
    }
}

} // namespace
} // namespace viewer_test
