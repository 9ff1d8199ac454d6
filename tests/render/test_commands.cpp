// The viewer's commands and loading, without a display: they only change
// view state and the model, which the next frame draws.
#include <cmath>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/sunpath.h"

namespace {

std::string writeGrid(const std::string& name, int rows, int cols, float (*h)(int, int))
{
    std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream out(path);
    out << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 1000.0\nyllcorner 2000.0\ncellsize 10.0\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            out << h(r, c) << (c + 1 < cols ? " " : "\n");
    }
    return path;
}

// Every test starts from the state of a freshly started viewer.
struct Commands : ::testing::Test {
    void SetUp() override
    {
        OPEN = REDRAW = false;
        eyevalue = STARTEYE;
        xrotation = zrotation = xtranslate = ytranslate = 0;
        position0[0] = XPOS;
        position0[2] = ZPOS;
        lighting = 1;
        drawCurveColor = drawDiffColor = drawCurveDiff = colorHeightClasses = false;
        profileXpos = profileYpos = 0;
        curveUnits = diffUnits = 1.0f;
    }
    MyWindow viewer{0, 25, 650, 625};

    bool load(const std::string& dem, const std::string& comp = "", int kind = 0)
    {
        float xll, yll, cs;
        return viewer.Begin(12, true, comp.empty() ? 1 : 2, dem.c_str(), comp.c_str(), 1, kind, 4000,
                            0, xll, yll, cs);
    }
};

TEST_F(Commands, ViewButtonsWaitForData)
{
    MyWindow::ZoomInButton_callback(nullptr);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 100.0f) << "zoom before loading";
    EXPECT_EQ(xrotation, 0.0f);
    EXPECT_FALSE(REDRAW);

    OPEN = true;
    MyWindow::ZoomInButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 90.0f) << "zoom in by 10";
    MyWindow::ZoomOutButton_callback(nullptr);
    MyWindow::ZoomOutButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 110.0f);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::ZMinus90Button_callback(nullptr);
    EXPECT_EQ(xrotation, 90.0f);
    EXPECT_EQ(zrotation, -90.0f);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_EQ(xrotation, -90.0f);
    EXPECT_TRUE(REDRAW);
    xtranslate = 0.3f;
    MyWindow::ResetButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 100.0f);
    EXPECT_EQ(xrotation, 0.0f);
    EXPECT_EQ(zrotation, 0.0f);
    EXPECT_EQ(xtranslate, 0.0f);
}

TEST_F(Commands, DifferenceDisplaysExcludeEachOther)
{
    MyWindow::lerr(nullptr);
    EXPECT_TRUE(drawDiffColor);
    MyWindow::curverr(nullptr);
    EXPECT_TRUE(drawCurveDiff);
    EXPECT_FALSE(drawDiffColor) << "curvature difference switches elevation difference off";
    MyWindow::lerr(nullptr);
    EXPECT_TRUE(drawDiffColor);
    EXPECT_FALSE(drawCurveDiff);
    MyWindow::lerr(nullptr);
    EXPECT_FALSE(drawDiffColor);
    EXPECT_FALSE(drawCurveDiff);
}

TEST(SunPath, StopsAtTheEndsOfTheEllipse)
{
    float pos[4] = {XPOS, 0, ZPOS, 1};
    int steps = 0;
    while (sunStep(pos, +1))
        ++steps;
    EXPECT_EQ(steps, 30) << "from -0.7 to 2.3";
    EXPECT_NEAR(pos[0], 2.3f, 1e-4);
    EXPECT_NEAR(pos[2], 0.0063f, 2e-4);
    EXPECT_TRUE(sunStep(pos, -1)) << "moving back works";

    float back[4] = {XPOS, 0, ZPOS, 1};
    steps = 0;
    while (sunStep(back, -1))
        ++steps;
    EXPECT_EQ(steps, 16) << "from -0.7 to -2.3";
    EXPECT_TRUE(std::isfinite(back[2]));

    float top[4] = {-0.1f, 0, 0, 1};
    sunStep(top, +1);
    EXPECT_NEAR(top[2], 2.0f, 1e-4) << "highest over the middle";
}

TEST_F(Commands, BeginLoadsAndSetsTheViewState)
{
    std::string dem = writeGrid("cmd_slope.grd", 6, 8, [](int r, int c) { return 100.0f + r + 2 * c; });
    EXPECT_TRUE(load(dem));
    EXPECT_TRUE(OPEN);
    EXPECT_TRUE(REDRAW);
    EXPECT_EQ(FILES, 1);
    EXPECT_EQ(TREELINE, 4000);
    EXPECT_EQ(SLOPE, 12.0f);
    EXPECT_EQ(mt.getRows(), 6);
    EXPECT_EQ(mt.getNumTriangles(), 5 * 14);
    float xll, yll, cs;
    mt.getCoord(xll, yll, cs);
    EXPECT_EQ(xll, 1000.0f);
    EXPECT_EQ(cs, 10.0f);

    EXPECT_TRUE(std::isnan(viewer.getRMSE())) << "no comparison grid: no RMSE, and no exit";

    MyWindow::changeProf(5);
    EXPECT_EQ(profileYpos, 5);
    EXPECT_EQ(profileXpos, 5);
    MyWindow::changeProf(6);
    MyWindow::changeProf(-1);
    EXPECT_EQ(profileYpos, 5) << "rows outside the grid are refused";
}

TEST_F(Commands, HeightClassesWithoutAnIntervalAreSafe)
{
    std::string dem = writeGrid("cmd_dem.grd", 5, 5, [](int r, int c) { return 100.0f + r + c; });
    std::string zeros = writeGrid("cmd_zeros.grd", 5, 5, [](int, int) { return 0.0f; });
    ASSERT_TRUE(load(dem, zeros, DEM));
    EXPECT_EQ(MyWindow::getCont(), 0);
    MyWindow::heights(nullptr);
    EXPECT_TRUE(colorHeightClasses);
    EXPECT_EQ(MyWindow::graphHeights(), nullptr) << "no interval: no histogram to graph";
    EXPECT_TRUE(std::isnan(viewer.getRMSE())) << "no present reference point";
}

TEST_F(Commands, HeightClassesFollowANewInterval)
{
    std::string dem = writeGrid("cmd_dem2.grd", 5, 5, [](int r, int c) { return 100.0f + r + c; });
    std::string c20 = writeGrid("cmd_c20.grd", 5, 5, [](int r, int c) { return r == 1 && c == 1 ? 120.0f : r == 3 && c == 3 ? 140.0f : 0.0f; });
    std::string c3 = writeGrid("cmd_c3.grd", 5, 5, [](int r, int c) { return r == 1 && c == 1 ? 100.0f : r == 3 && c == 3 ? 103.0f : 0.0f; });
    ASSERT_TRUE(load(dem, c20, CONTF));
    ASSERT_EQ(MyWindow::getCont(), 20);
    int* classes = MyWindow::graphHeights();
    ASSERT_NE(classes, nullptr);
    int total = 0;
    for (int k = 0; k < 20; ++k)
        total += classes[k];
    EXPECT_EQ(total, 25);

    bool ok = false;
    viewer.changeFile(c3.c_str(), 1, 2, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(MyWindow::getCont(), 3);
    classes = MyWindow::graphHeights();
    ASSERT_NE(classes, nullptr);
    EXPECT_EQ(classes[0] + classes[1] + classes[2], 25) << "histogram rebuilt for interval 3";
    // DEM 102 and 106 against 100 and 103.
    EXPECT_NEAR(viewer.getRMSE(), std::sqrt((4.0f + 9.0f) / 2), 1e-5);
}

} // namespace
