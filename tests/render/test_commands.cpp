// The viewer's commands and loading, without a display: they only change
// view state and the model, which the next frame draws.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/sunpath.h"
#include "tests/model/grid_files.h"

namespace {

float slopeOf(int r, int c) { return 100.0f + r + c; }

// Every test starts from the state of a freshly started viewer.
struct Commands : ::testing::Test {
    void SetUp() override
    {
        OPEN = REDRAW = false;
        eyevalue = STARTEYE;
        xrotation = zrotation = xtranslate = ytranslate = 0;
        colorHeightClasses = false;
        profView = VERTP;
        profileXpos = profileYpos = 0;
        curveUnits = diffUnits = 1.0f;
    }
    MyWindow viewer{0, 25, 650, 625};

    bool load(const std::string& dem, const std::string& comp = "", int kind = 0)
    {
        float xll, yll, cs;
        return viewer.Begin(12, true, comp.empty() ? 1 : 2, dem.c_str(), comp.c_str(), 1, kind, 4000, 0, xll,
                            yll, cs);
    }
};

TEST_F(Commands, ViewButtonsWaitForData)
{
    MyWindow::ZoomInButton_callback(nullptr);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_TRUE(eyevalue == 100.0f && xrotation == 0.0f && !REDRAW) << "the view changed before loading";
    OPEN = true;
    MyWindow::ZoomInButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 90.0f) << "zoom in by 10";
    MyWindow::ZoomOutButton_callback(nullptr);
    MyWindow::ZoomOutButton_callback(nullptr);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::ZMinus90Button_callback(nullptr);
    EXPECT_TRUE(eyevalue == 110.0f && xrotation == 90.0f && zrotation == -90.0f);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_TRUE(xrotation == -90.0f && REDRAW);
    xtranslate = 0.3f;
    MyWindow::ResetButton_callback(nullptr);
    EXPECT_TRUE(eyevalue == 100.0f && xrotation == 0.0f && zrotation == 0.0f && xtranslate == 0.0f);
}

TEST(SunPath, StopsAtTheEndsOfTheEllipse)
{
    float east[4] = {XPOS, 0, ZPOS, 1}, west[4] = {XPOS, 0, ZPOS, 1}, top[4] = {-0.1f, 0, 0, 1};
    int steps = 0;
    for (; sunStep(east, +1); ++steps) {}
    EXPECT_TRUE(steps == 30 && std::fabs(east[0] - 2.3f) < 1e-4f && std::fabs(east[2] - 0.0063f) < 2e-4f)
        << steps << " steps to " << east[0] << ", " << east[2];
    EXPECT_TRUE(sunStep(east, -1)) << "moving back works";
    for (steps = 0; sunStep(west, -1); ++steps) {}
    EXPECT_TRUE(steps == 16 && std::isfinite(west[2])) << "from -0.7 to -2.3";
    sunStep(top, +1);
    EXPECT_NEAR(top[2], 2.0f, 1e-4) << "highest over the middle";
}

TEST_F(Commands, BeginLoadsAndSetsTheViewState)
{
    EXPECT_TRUE(load(writeGrid("slope.grd", 6, 8, 10, [](int r, int c) { return 100.0f + r + 2 * c; })));
    EXPECT_TRUE(OPEN && REDRAW && FILES == 1 && TREELINE == 4000 && SLOPE == 12.0f);
    EXPECT_EQ(mt.getRows(), 6);
    EXPECT_EQ(mt.getNumTriangles(), 5 * 14);
    float xll, yll, cs;
    mt.getCoord(xll, yll, cs);
    EXPECT_TRUE(xll == 1000.0f && cs == 10.0f);
    EXPECT_TRUE(std::isnan(viewer.getRMSE())) << "no comparison grid: no RMSE, and no exit";
}

TEST_F(Commands, HeightClassesFollowANewInterval)
{
    // Two contour heights each: 120 and 140 give the interval 20, 100 and 103 the interval 3.
    auto c20 = [](int r, int c) { return r == 1 && c == 1 ? 120.0f : r == 3 && c == 3 ? 140.0f : 0.0f; };
    auto c3 = [](int r, int c) { return r == 1 && c == 1 ? 100.0f : r == 3 && c == 3 ? 103.0f : 0.0f; };
    ASSERT_TRUE(load(writeGrid("dem2.grd", 5, 5, 10, slopeOf), writeGrid("c20.grd", 5, 5, 10, c20), CONTF));
    ASSERT_EQ(MyWindow::getCont(), 20);
    int* classes = MyWindow::graphHeights();
    ASSERT_NE(classes, nullptr);
    int total = 0;
    for (int k = 0; k < 20; ++k)
        total += classes[k];
    EXPECT_EQ(total, 25);

    bool ok = false;
    viewer.changeFile(writeGrid("c3.grd", 5, 5, 10, c3).c_str(), 1, 2, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(MyWindow::getCont(), 3);
    classes = MyWindow::graphHeights();
    ASSERT_NE(classes, nullptr);
    EXPECT_EQ(classes[0] + classes[1] + classes[2], 25) << "histogram rebuilt for interval 3";
    EXPECT_NEAR(viewer.getRMSE(), std::sqrt((4.0f + 9.0f) / 2), 1e-5) << "DEM 102, 106 against 100, 103";
}

} // namespace
