// The viewer's commands, mouse, wheel and keys, without a display: the key
// table and drag rules as plain functions, MyWindow::handle fed the
// toolkit's event values directly, as the event loop would, and the loads
// and view buttons, which change only view state and the model.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/sunpath.h"
#include "render/surfacewalk.h"
#include "render/viewerhooks.h"
#include "render/viewerkeys.h"
#include "render/viewmotion.h"
#include "tests/model/grid_files.h"

namespace {

// Every test starts from a viewer turned and moved away from its start.
struct Input : ::testing::Test {
    void SetUp() override
    {
        OPEN = REDRAW = false;
        position0[0] = XPOS;
        eyevalue = 60;
        xrotation = 30;
        zrotation = 40;
        xtranslate = 0.5f;
        ytranslate = magTransX = magTransY = 0;
        lighting = 1;
        drawTriangles = true;
        drawAxes = magnify = drawCurveColor = drawContours = drawPoints = drawDiffColor = drawDiff = false;
        colorHeightClasses = lButtonState = rButtonState = mButtonState = polygonOutline = false;
        multFiles = false;
        curveUnits = diffUnits = 1.0f;
        viewerHooks = {};
    }
    void TearDown() override { viewerHooks = {}; }

    int key(int k, int state = 0)
    {
        Fl::e_keysym = k;
        Fl::e_state = state;
        return viewer.handle(FL_KEYBOARD);
    }
    int mouse(int event, int button, int x = 0, int y = 0)
    {
        Fl::e_keysym = FL_Button + button;
        Fl::e_x = x;
        Fl::e_y = y;
        return viewer.handle(event);
    }
    bool load(const std::string& dem, const std::string& comp = "", int kind = 0)
    {
        double xll, yll, cs;
        return viewer.Begin(10, true, comp.empty() ? 1 : 2, dem.c_str(), comp.c_str(), 1, kind, 4100, 0, xll, yll,
                            cs);
    }
    static std::string plane(int rows, int cols)
    {
        return writeGrid("input.grd", rows, cols, 10, [](int r, int c) { return 100.0f + r + c; });
    }
    MyWindow viewer{0, 25, 650, 625};
};

// What each key does is seen in the tests below; here, what keeps a key
// from acting: missing data, and the modifiers of the menu bar's shortcuts.
TEST(KeyTable, GatesAndModifiers)
{
    using K = KeyAction;
    const KeyContext both{true, true}, demOnly{true, false}, nothing{false, false};
    struct Row {
        int key, state;
        KeyContext ctx;
        K expected;
    } rows[] = {
        {'=', 0, demOnly, K::exaggerationUp}, {'=', FL_SHIFT, demOnly, K::exaggerationUp},
        {'-', 0, nothing, K::none},           {'c', 0, demOnly, K::none},
        {'n', 0, demOnly, K::none},           {'r', FL_SHIFT, demOnly, K::none},
        {'r', 0, nothing, K::resetView},      {'a', FL_SHIFT, nothing, K::axes},
        {'a', FL_CTRL, both, K::none},        {'f', FL_ALT, both, K::none},
        {'q', FL_META, both, K::none},        {FL_KP + '8', 0, both, K::none},
        {'d', 0, nothing, K::triangles},      {'.', 0, both, K::points},
    };
    for (const Row& r : rows)
        EXPECT_EQ(keyAction(r.key, r.state, r.ctx), r.expected)
            << "key " << r.key << " state " << r.state << " dem " << r.ctx.dem << " comparison "
            << r.ctx.comparison;
}

TEST_F(Input, ViewKeysMoveTheView)
{
    // From eye 60, x 30, z 40 degrees, x shifted by 0.5, the sun at its start.
    struct Row {
        int key, state;
        float* value;
        float expected;
    } rows[] = {
        {'8', 0, &xrotation, 31},         {'k', 0, &xrotation, 31},    {'2', 0, &xrotation, 29},
        {',', 0, &xrotation, 29},         {'6', 0, &zrotation, 41},    {'j', 0, &zrotation, 39},
        {'x', 0, &xrotation, -60},        {'x', FL_SHIFT, &xrotation, 120}, {'z', 0, &zrotation, -50},
        {'z', FL_SHIFT, &zrotation, 130}, {'t', 0, &xrotation, 0},     {'s', 0, &xrotation, -90},
        {'r', 0, &eyevalue, 100},         {'r', 0, &xrotation, 0},     {'r', 0, &zrotation, 0},
        {'r', 0, &xtranslate, 0.5f},      {'i', 0, &eyevalue, 65},     {'o', 0, &eyevalue, 55},
        {'7', 0, &position0[0], XPOS + 0.1f}, {'9', 0, &position0[0], XPOS - 0.1f},
    };
    for (const Row& r : rows) {
        SetUp();
        EXPECT_EQ(key(r.key, r.state), 1) << "key " << char(r.key) << " not taken";
        EXPECT_FLOAT_EQ(*r.value, r.expected) << "key " << char(r.key) << (r.state ? " with Shift" : "");
        EXPECT_TRUE(REDRAW) << "key " << char(r.key) << " leaves the picture stale";
    }
}

TEST_F(Input, ExaggerationKeysRebuildAndReport)
{
    static int shown = -1;
    viewerHooks.exaggerationShown = [](int v) { shown = v; };
    ASSERT_TRUE(load(plane(5, 5)));
    const float flat = mt.getZscale();
    key('=');
    EXPECT_EQ(shown, 2) << "the counter is not told of exaggeration 2";
    EXPECT_FLOAT_EQ(mt.getZscale(), 2 * flat) << "mesh not rebuilt twice as steep";
    key('-');
    key('-');
    key('-');
    EXPECT_TRUE(mt.getVertExag() == 0.0f && shown == 0) << "exaggeration goes below 0 or the counter lags";
}

TEST(EyeValue, TypedValuesArePositiveFiniteAndInRange)
{
    const std::pair<const char*, float> accepted[] = {{"50", 50}, {" 42.5 ", 42.5f}, {"1e2", 100},
                                                      {"0.5", EYEMIN}, {"250", EYEMAX}};
    for (auto [text, eye] : accepted)
        EXPECT_EQ(parseEyeValue(text), eye) << '"' << text << '"';
    for (const char* text : {"", "0", "-3", "abc", "12x", "inf", "nan", "1e40"})
        EXPECT_FALSE(parseEyeValue(text)) << '"' << text << "\" accepted";
    EXPECT_FALSE(parseEyeValue(nullptr)) << "a cancelled dialog changes the eye";
}

TEST_F(Input, QuitKeysEndWithStatusOne)
{
    EXPECT_EXIT(key('q'), ::testing::ExitedWithCode(1), "") << "q";
    EXPECT_EXIT(key(FL_Escape), ::testing::ExitedWithCode(1), "") << "Escape";
}

TEST_F(Input, WheelStepsAndEyeLimits)
{
    // The wheel's directions are in the real-input test.
    Fl::e_dy = 0;
    EXPECT_EQ(viewer.handle(FL_MOUSEWHEEL), 0) << "a horizontal scroll is taken";

    // The buttons step by 10, the wheel and keys by 5; none passes the limits.
    OPEN = true;
    eyevalue = EYEMIN + 5;
    MyWindow::ZoomInButton_callback();
    EXPECT_EQ(eyevalue, EYEMIN) << "zoom in passed the nearest eye";
    key('o');
    Fl::e_dy = -1;
    viewer.handle(FL_MOUSEWHEEL);
    EXPECT_EQ(eyevalue, EYEMIN) << "key o or the wheel passed the nearest eye";
    eyevalue = EYEMAX - 5;
    MyWindow::ZoomOutButton_callback();
    key('i');
    EXPECT_EQ(eyevalue, EYEMAX) << "zoom out passed the farthest eye";
}

TEST_F(Input, LeftDragRotatesTenDegreesPerEvent)
{
    // From one point to the next: change of zrotation and xrotation.
    struct Row {
        int x0, y0, x1, y1;
        float dz, dx;
    } rows[] = {
        {200, 400, 190, 400, -10, 0}, {200, 100, 190, 100, 10, 0},  // left, lower and upper half
        {200, 400, 290, 400, 10, 0},  {200, 100, 201, 100, -10, 0}, // right
        {200, 100, 200, 90, 0, -10},  {200, 100, 200, 300, 0, 10},  // up, down
        {200, 100, 150, 150, 10, 10}, {200, 100, 200, 100, 0, 0},   // diagonal, still
        {200, 300, 190, 300, 10, 0},  {200, 301, 190, 301, -10, 0}, // row 300 is the upper half
    };
    for (const Row& r : rows) {
        mouse(FL_DRAG, 1, r.x0, r.y0);
        const float z = zrotation, x = xrotation;
        mouse(FL_DRAG, 1, r.x1, r.y1);
        EXPECT_TRUE(zrotation - z == r.dz && xrotation - x == r.dx)
            << r.x0 << "," << r.y0 << " to " << r.x1 << "," << r.y1 << ": turned " << zrotation - z << ", tilted "
            << xrotation - x;
    }
    rButtonState = true; // both held: rotation comes first
    mouse(FL_DRAG, 1, 0, 0);
    EXPECT_EQ(xtranslate, 0.5f) << "the right button moved the model during a left drag";
}

TEST_F(Input, RightDragMovesAlongTheScreen)
{
    zrotation = 0;
    mouseMove(100, 100); // no button held: only the last position
    mouse(FL_DRAG, 3, 110, 100);
    EXPECT_FLOAT_EQ(xtranslate, 0.57f) << "right";
    mouse(FL_DRAG, 3, 110, 90);
    EXPECT_FLOAT_EQ(ytranslate, 0.07f) << "up";
    zrotation = 90;
    mouse(FL_DRAG, 3, 120, 90);
    EXPECT_NEAR(ytranslate, 0.0f, 1e-7) << "right, turned a quarter";
    EXPECT_NEAR(xtranslate, 0.57f, 1e-6) << "right, turned a quarter";
}

TEST_F(Input, MagnifierRingStopsPastAQuarter)
{
    EXPECT_EQ(mouse(FL_DRAG, 2, 0, 0), 0) << "middle drag taken with no ring";
    magnify = true;
    mouseMove(0, 0);
    int steps = 0;
    for (int x = 1; x < 100; ++x) {
        float before = magTransX;
        mouse(FL_DRAG, 2, x, 0);
        steps += magTransX != before;
    }
    EXPECT_EQ(steps, 36) << "steps to the right";
    EXPECT_NEAR(magTransX, 0.252f, 1e-3);
    for (int x = 98; x >= 0; --x)
        mouse(FL_DRAG, 2, x, 0);
    EXPECT_NEAR(magTransX, -0.252f, 1e-3) << "stops at its first step past a quarter to the left";
    mouse(FL_DRAG, 2, 99, -1);
    EXPECT_NEAR(magTransY, 0.007f, 1e-6) << "upward on screen is up for the ring";
}

TEST_F(Input, PressAndReleaseOfALargeGrid)
{
    ASSERT_TRUE(load(plane(401, 500))) << "200500 points";
    mouse(FL_PUSH, 1, 10, 10);
    EXPECT_TRUE(lButtonState && polygonOutline) << "a large grid is not outlined while dragged";
    mouse(FL_RELEASE, 1);
    EXPECT_FALSE(lButtonState || polygonOutline) << "outlines stay after the release";
    ASSERT_TRUE(load(plane(400, 500))) << "exactly NUMTRIANGLES points";
    mouse(FL_PUSH, 3, 10, 10);
    EXPECT_TRUE(rButtonState && !polygonOutline) << "outlined at the threshold";
    mouse(FL_RELEASE, 3);
    mouse(FL_PUSH, 2, 10, 10);
    EXPECT_FALSE(mButtonState) << "the middle button took the ring with the magnifier off";
}

TEST_F(Input, ViewButtonsWaitForData)
{
    MyWindow::ZoomInButton_callback(nullptr);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_TRUE(eyevalue == 60.0f && xrotation == 30.0f && !REDRAW) << "the view changed before loading";
    OPEN = true;
    MyWindow::ZoomInButton_callback(nullptr);
    EXPECT_EQ(eyevalue, 50.0f) << "zoom in by 10";
    MyWindow::ZoomOutButton_callback(nullptr);
    MyWindow::ZoomOutButton_callback(nullptr);
    MyWindow::XPlus90Button_callback(nullptr);
    MyWindow::ZMinus90Button_callback(nullptr);
    EXPECT_TRUE(eyevalue == 70.0f && xrotation == 120.0f && zrotation == -50.0f);
    MyWindow::SideButton_callback(nullptr);
    EXPECT_TRUE(xrotation == -90.0f && REDRAW);
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

} // namespace
