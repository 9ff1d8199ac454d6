// Profile cut, axes, sun and magnifier over small grids written here.
#include <algorithm>

#include "tests/gui/viewer_fixtures.h"

namespace viewer_test {
namespace {

constexpr float KM = 1000;
const Pixel BLUE_BG{230, 230, 255};

bool isBackground(const Pixel& p) { return near(p, BLUE_BG.r, BLUE_BG.g, BLUE_BG.b, 2); }

// Rows of the window (top-down) between two grid rows in which some pixel
// of screen column x is near the colour.
int findRow(const Image& img, int x, int yFrom, int yTo, int r, int g, int b, int tol)
{
    for (int y = yFrom; y <= yTo; ++y)
        if (near(img.at(x, y), r, g, b, tol))
            return y;
    return -1;
}

TEST_F(ViewerTest, VerticalProfileCutsTheSouthAway)
{
    std::string dem = writeGrid("prof.grd", 21, 21, KM, [](int r, int c) { return 100.0f + r + c; });
    ASSERT_TRUE(load(dem));
    MyWindow::prof();
    MyWindow::verticalProf();
    MyWindow::changeProf(5); // section along grid row 21 - 5 - 1 = 15
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(21, 21, 18, 10, x, y);
    EXPECT_TRUE(isBackground(img.at(x, y))) << "south of the section the surface is cut away, is "
                                            << img.at(x, y) << "; " << keep(img);
    gridToScreen(21, 21, 8, 10, x, y);
    EXPECT_TRUE(near(img.at(x, y), 102, 128, 102, 1)) << "north of it the terrain stays, is " << img.at(x, y)
                                                      << "; " << keep(img);
    int y14, y16;
    gridToScreen(21, 21, 14, 10, x, y14);
    gridToScreen(21, 21, 16, 10, x, y16);
    EXPECT_GE(findRow(img, x, y14, y16, 255, 255, 255, 2), 0) << "a white section line near grid row 15; " << keep(img);
}

TEST_F(ViewerTest, HorizontalProfileCutsTheWestAway)
{
    std::string dem = writeGrid("profh.grd", 21, 21, KM, [](int r, int c) { return 100.0f + r + c; });
    ASSERT_TRUE(load(dem));
    MyWindow::prof();
    MyWindow::horizontalProf();
    MyWindow::changeProf(5);
    lighting = 0;
    Image img = grab();
    int x, y;
    gridToScreen(21, 21, 10, 2, x, y);
    EXPECT_TRUE(isBackground(img.at(x, y))) << "west of the section cut away, is " << img.at(x, y) << "; " << keep(img);
    gridToScreen(21, 21, 10, 12, x, y);
    EXPECT_TRUE(near(img.at(x, y), 102, 128, 102, 1)) << "east of it the terrain stays; " << keep(img);
    int x4, x6;
    gridToScreen(21, 21, 10, 4, x4, y);
    gridToScreen(21, 21, 10, 6, x6, y);
    bool white = false;
    for (int px = x4; px <= x6 && !white; ++px)
        white = near(img.at(px, y), 255, 255, 255, 2);
    EXPECT_TRUE(white) << "a white section line near column 5; " << keep(img);
}

TEST_F(ViewerTest, ProfilePositionsOutsideTheGridAreSafe)
{
    // More rows than columns: a row number valid for changeProf lies
    // beyond the columns of a horizontal section.
    std::string dem = writeGrid("tall.grd", 30, 6, KM, [](int r, int c) { return 100.0f + r + c; });
    std::string comp = writeGrid("tallc.grd", 30, 6, KM, [](int r, int c) { return r % 3 == 0 ? 100.0f + r + c + 2 : 0.0f; });
    ASSERT_TRUE(load(dem, comp, SPARSEF));
    MyWindow::prof();
    MyWindow::horizontalProf();
    MyWindow::glyph();
    // Column positions clamp to 1..6: the section stands at the x of the
    // clamped column, taking its heights from the column before it.
    const double px = 650.0 / (2 * 0.2 * 100 / 18);
    for (int v : {0, 3, 6, 7, 29}) {
        MyWindow::changeProf(v);
        Image img = grab();
        int X = std::clamp(v, 1, 6);
        int x = static_cast<int>(325 + (X - 2.5) * 2 / 30 * px);
        bool white = false;
        for (int dx = -3; dx <= 3 && !white; ++dx)
            white = near(img.at(x + dx, 300), 255, 255, 255, 2);
        EXPECT_TRUE(white) << "position " << v << ": section at column " << X << "; " << keep(img);
    }
    profileXpos = profileYpos = -4; // set directly, not through changeProf
    grab();
    MyWindow::verticalProf();
    profileXpos = profileYpos = 1000;
    grab();
}

TEST_F(ViewerTest, AxesThroughTheOrigin)
{
    // A wide, shallow grid so the axes reach past its edges.
    std::string dem = writeGrid("axes.grd", 5, 21, KM, [](int, int) { return 100.0f; });
    ASSERT_TRUE(load(dem));
    MyWindow::Axes(nullptr);
    Image img = grab();
    const double px = 650.0 / (2 * 0.2 * 100 / 18);
    int x = static_cast<int>(325 + 1.1 * px);
    EXPECT_GE(findRow(img, x, 295, 305, 255, 0, 0, 2), 0) << "red x axis to the east; " << keep(img);
    int y = static_cast<int>(H - (325 + 0.8 * px));
    bool blue = false;
    for (int dx = -3; dx <= 3 && !blue; ++dx)
        blue = near(img.at(325 + dx, y), 0, 0, 255, 2);
    EXPECT_TRUE(blue) << "blue y axis to the north; " << keep(img);
    MyWindow::Axes(nullptr);
    img = grab();
    EXPECT_LT(findRow(img, x, 295, 305, 255, 0, 0, 2), 0) << "axes switched off; " << keep(img);
}

TEST_F(ViewerTest, SunMovesAlongItsPath)
{
    std::string dem = writeGrid("sun.grd", 21, 21, KM, [](int, int) { return 100.0f; });
    ASSERT_TRUE(load(dem));
    MyWindow::sun(nullptr);
    lighting = 0;
    Image img = grab();
    // The sphere stands one unit below the light, at x = -0.7, seen from
    // a little nearer than the terrain.
    const double px = 650.0 / (2 * 0.2 * 100 / 18);
    int x = static_cast<int>(325 - 0.7 * px * 100 / (100 - 0.905));
    bool yellow = false;
    for (int dx = -4; dx <= 4 && !yellow; ++dx)
        yellow = near(img.at(x + dx, 300), 255, 255, 0, 2);
    EXPECT_TRUE(yellow) << "a yellow sun west of the centre; " << keep(img);
    for (int k = 0; k < 7; ++k)
        MyWindow::sunModPlus();
    img = grab();
    EXPECT_TRUE(near(img.at(325, 300), 255, 255, 0, 2)) << "after 7 steps the sun is over the centre; " << keep(img);
}

TEST_F(ViewerTest, LightingStaysOffUnderOverlays)
{
    std::string dem = writeGrid("lit.grd", 21, 21, KM, [](int, int) { return 100.0f; });
    ASSERT_TRUE(load(dem));
    MyWindow::light(nullptr);
    MyWindow::sun(nullptr);
    MyWindow::Axes(nullptr);
    Image img = grab();
    int x, y;
    gridToScreen(21, 21, 15, 15, x, y);
    EXPECT_TRUE(near(img.at(x, y), 102, 128, 102, 1)) << "unlit TERRAIN after the overlays, is " << img.at(x, y)
                                                      << "; " << keep(img);
}

TEST_F(ViewerTest, MagnifierRingBlendsBlue)
{
    std::string dem = writeGrid("mag.grd", 21, 21, KM, [](int, int) { return 100.0f; });
    ASSERT_TRUE(load(dem));
    lighting = 0;
    Image before = grab();
    MyWindow::drawMagnifier(nullptr);
    Image ring = grab();
    // Radius 0.07 to 0.08 at 22 units from the eye.
    const double pxAt22 = 325 / (0.2 * 22 / 18);
    int x = static_cast<int>(325 + 0.075 * pxAt22);
    Pixel b = before.at(x, 300), p = ring.at(x, 300);
    EXPECT_TRUE(near(p, static_cast<int>(0.6 * b.r), static_cast<int>(0.6 * b.g), static_cast<int>(0.6 * b.b + 0.4 * 255), 3))
        << "ring should be 40 % blue over " << b << ", is " << p << "; " << keep(ring);
    EXPECT_TRUE(near(ring.at(325, 300), b.r, b.g, b.b, 1)) << "the centre is clear; " << keep(ring);

    magTransX = 0.1f;
    eyevalue = 150;
    Image moved = grab();
    int xm = static_cast<int>(325 + (0.1 + 0.075) * pxAt22);
    EXPECT_TRUE(moved.at(xm, 300).b > moved.at(xm, 300).r + 60)
        << "the ring moves with its offset and keeps its size at another zoom; " << keep(moved);
}

} // namespace
} // namespace viewer_test

namespace viewer_test {
namespace {

// Seen from the south, tilted: the section stands above the cut edge with
// the comparison heights drawn over it.
int sectionPixels(const Image& img, bool (*match)(const Pixel&))
{
    int n = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            n += match(img.at(x, y)) ? 1 : 0;
    return n;
}

TEST_F(ViewerTest, ProfileOfTheSampleDataWithComparison)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
    MyWindow::prof();
    MyWindow::changeProf(100);
    xrotation = -60;
    Image dense = grab();
    auto white = [](const Pixel& p) { return p.r > 240 && p.g > 240 && p.b > 240; };
    auto red = [](const Pixel& p) { return p.r > 200 && p.g < 90 && p.b < 90; };
    EXPECT_GT(sectionPixels(dense, white), 200) << "white section line; " << keep(dense);
    EXPECT_GT(sectionPixels(dense, red), 5) << "red where the second DEM lies above; " << keep(dense);

    bool ok = false;
    viewer->changeFile(sampleData("alps_sparse.grd").c_str(), 1, 2, ok);
    ASSERT_TRUE(ok);
    Image marks = grab();
    EXPECT_GT(sectionPixels(marks, white), 200) << "section and marks at the spot heights; " << keep(marks);
    MyWindow::glyph();
    grab();
}

} // namespace
} // namespace viewer_test
