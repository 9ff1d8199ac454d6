// The viewer's commands, mouse, wheel and keys, without a display: the key
// tables and drag rules as plain functions, Viewer::handle fed the
// toolkit's event values directly, as the event loop would, with a data set
// made in memory and a listener standing in for the session.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/names.h"
#include "render/sunpath.h"
#include "render/surfacewalk.h"
#include "render/viewer.h"
#include "render/viewerkeys.h"
#include "render/viewmotion.h"
#include "render/viewswitches.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::render;

namespace {

// What the session would be asked for, kept; an exaggeration it is asked
// for rebuilds the data set's mesh, as the session's does.
struct Listener : ViewerListener {
    DataSet* data = nullptr;
    std::vector<ViewSwitch> switches;
    int exaggeration = -1;
    int quits = 0;
    const char* eyeAnswer = nullptr;
    float eyeOffered = -1;

    void switchRequested(ViewSwitch id) override { switches.push_back(id); }
    void exaggerationRequested(int e) override
    {
        exaggeration = e;
        if (data)
            data->setExaggeration(e);
    }
    const char* askEyeValue(float current) override
    {
        eyeOffered = current;
        return eyeAnswer;
    }
    void quitRequested() override { ++quits; }
};

DataSet plane(int rows, int cols)
{
    return demDataSet(rows, cols, 10, [](int r, int c) { return 100.0f + r + c; });
}
DataSet planePair(int rows, int cols)
{
    return pairDataSet(
        rows, cols, 10, [](int r, int c) { return 100.0f + r + c; }, [](int r, int) { return 101.0f + r; });
}

int key(Viewer& viewer, int k, int state = 0)
{
    Fl::e_keysym = k;
    Fl::e_state = state;
    return viewer.handle(FL_KEYBOARD);
}

// A viewer turned and moved away from its start.
ViewState movedView()
{
    ViewState v;
    v.eyevalue = 60;
    v.xrotation = 30;
    v.zrotation = 40;
    v.xtranslate = 0.5f;
    return v;
}

struct Input : ::testing::Test {
    void SetUp() override { viewer.setView(movedView()); }

    int key(int k, int state = 0) { return ::key(viewer, k, state); }
    int mouse(int event, int button, int x = 0, int y = 0)
    {
        Fl::e_keysym = FL_Button + button;
        Fl::e_x = x;
        Fl::e_y = y;
        return viewer.handle(event);
    }
    int wheel(int dy)
    {
        Fl::e_dy = dy;
        return viewer.handle(FL_MOUSEWHEEL);
    }
    void changeView(void (*change)(ViewState&))
    {
        ViewState v = viewer.view();
        change(v);
        viewer.setView(v);
    }
    const ViewState& view() const { return viewer.view(); }

    Viewer viewer{0, 25, 650, 625};
};

// What each key does is seen in the tests below; here, what keeps a key
// from acting: missing data, and the modifiers of the menu bar's shortcuts.
// The view keys are keyAction's, the switch keys switchesOfKey's; the
// viewer, with the data loaded, asks its listener for exactly the switches
// of the row.
TEST(KeyTable, GatesAndModifiers)
{
    using K = KeyAction;
    using S = ViewSwitch;
    const DataLoaded both{true, true}, demOnly{true, false}, nothing{false, false};
    struct Row {
        int key, state;
        DataLoaded loaded;
        K action;
        std::vector<S> switches;
    } rows[] = {
        {'=', 0, demOnly, K::exaggerationUp, {}},
        {'=', FL_SHIFT, demOnly, K::exaggerationUp, {}},
        {'-', 0, nothing, K::none, {}},
        {'c', 0, demOnly, K::none, {}},
        {'n', 0, demOnly, K::none, {}},
        {'r', FL_SHIFT, demOnly, K::none, {}},
        {'r', 0, nothing, K::resetView, {}},
        {'a', FL_SHIFT, nothing, K::none, {S::axes}},
        {'a', FL_CTRL, both, K::none, {}},
        {'f', FL_ALT, both, K::none, {}},
        {'q', FL_META, both, K::none, {}},
        {FL_KP + '8', 0, both, K::none, {}},
        {'d', 0, nothing, K::none, {S::triangles}},
        {'.', 0, both, K::none, {S::points}},
    };
    DataSet dem = plane(5, 5), pair = planePair(5, 5);
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << r.key << " state " << r.state << " dem " << r.loaded.dem
                                        << " comparison " << r.loaded.comparison);
        EXPECT_EQ(keyAction(r.key, r.state, {r.loaded.dem, r.loaded.comparison}), r.action);
        if (!(r.state & (FL_CTRL | FL_ALT | FL_META))) {
            EXPECT_EQ(switchesOfKey(r.key, (r.state & FL_SHIFT) != 0, r.loaded), r.switches);
        }

        Viewer viewer(0, 25, 650, 625);
        Listener listener;
        viewer.setListener(&listener);
        if (r.loaded.dem)
            viewer.showDataSet(r.loaded.comparison ? &pair : &dem);
        const int taken = key(viewer, r.key, r.state);
        EXPECT_EQ(listener.switches, r.switches) << "the viewer asked for other switches";
        EXPECT_EQ(taken, r.action != K::none || !r.switches.empty() ? 1 : 0) << "taken or passed on wrongly";
    }
}

TEST(KeyTable, ViewerAloneFlipsItsOwnSwitches)
{
    // Without a listener the viewer flips the switch itself, keeping one
    // error display at a time; Shift-R shows elevation difference colours
    // and marks together.
    DataSet pair = planePair(5, 5);
    Viewer viewer(0, 25, 650, 625);
    viewer.setView(movedView());
    viewer.showDataSet(&pair);
    key(viewer, 'a');
    EXPECT_TRUE(viewer.view().drawAxes) << "a did not show the axes";
    key(viewer, 'c');
    EXPECT_TRUE(viewer.view().drawCurveColor) << "c did not show curvature classes";
    EXPECT_EQ(key(viewer, 'r', FL_SHIFT), 1);
    EXPECT_TRUE(viewer.view().drawDiffColor && viewer.view().drawDiff)
        << "Shift-R did not show elevation classes and marks";
    EXPECT_FALSE(viewer.view().drawCurveColor) << "curvature classes stayed on beside the elevation classes";
    key(viewer, 'r', FL_SHIFT);
    EXPECT_FALSE(viewer.view().drawDiffColor || viewer.view().drawDiff) << "Shift-R again did not hide them";
    EXPECT_EQ(viewer.view().eyevalue, 60.0f) << "Shift-R reset the view as r does";
    key(viewer, 'd');
    EXPECT_FALSE(viewer.view().drawTriangles) << "d did not hide the surface";
    key(viewer, 'a', FL_CTRL);
    EXPECT_TRUE(viewer.view().drawAxes) << "Ctrl-a is the menu's, not the axes key";
}

TEST(ViewKeys, MoveTheViewAndLeaveThePictureStale)
{
    // From eye 60, x 30, z 40 degrees, x shifted by 0.5, the sun at its start.
    using Value = float (*)(const ViewState&);
    const Value eye = [](const ViewState& v) { return v.eyevalue; };
    const Value x = [](const ViewState& v) { return v.xrotation; };
    const Value z = [](const ViewState& v) { return v.zrotation; };
    const Value xShift = [](const ViewState& v) { return v.xtranslate; };
    const Value sunX = [](const ViewState& v) { return v.position0[0]; };
    struct Row {
        int key, state;
        Value value;
        float expected;
    } rows[] = {
        {'8', 0, x, 31},
        {'k', 0, x, 31},
        {'2', 0, x, 29},
        {',', 0, x, 29},
        {'6', 0, z, 41},
        {'j', 0, z, 39},
        {'x', 0, x, -60},
        {'x', FL_SHIFT, x, 120},
        {'z', 0, z, -50},
        {'z', FL_SHIFT, z, 130},
        {'t', 0, x, 0},
        {'s', 0, x, -90},
        {'r', 0, eye, 100},
        {'r', 0, x, 0},
        {'r', 0, z, 0},
        {'r', 0, xShift, 0.5f},
        {'i', 0, eye, 65},
        {'o', 0, eye, 55},
        {'7', 0, sunX, XPOS + 0.1f},
        {'9', 0, sunX, XPOS - 0.1f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << char(r.key) << (r.state ? " with Shift" : ""));
        Viewer moved(0, 25, 650, 625);
        moved.setView(movedView());
        EXPECT_EQ(key(moved, r.key, r.state), 1) << "not taken";
        EXPECT_FLOAT_EQ(r.value(moved.view()), r.expected);
        // A viewer that shows its latest picture.
        Viewer drawn(0, 25, 650, 625);
        ASSERT_FALSE(drawn.stale());
        key(drawn, r.key, r.state);
        EXPECT_TRUE(drawn.stale()) << "the picture is left stale";
    }
}

TEST_F(Input, ExaggerationKeysRebuildAndReport)
{
    Listener listener;
    DataSet data = plane(5, 5);
    listener.data = &data;
    viewer.setListener(&listener);
    viewer.showDataSet(&data);
    const float flat = data.mesh().zscale;
    key('=');
    EXPECT_EQ(listener.exaggeration, 2) << "the counter is not told of exaggeration 2";
    EXPECT_FLOAT_EQ(data.mesh().zscale, 2 * flat) << "mesh not rebuilt twice as steep";
    key('-');
    key('-');
    key('-');
    EXPECT_TRUE(data.mesh().exaggeration == 0.0f && listener.exaggeration == 0)
        << "exaggeration goes below 0 or the counter lags";
}

TEST_F(Input, EyeKeyTakesTheTypedValue)
{
    Listener listener;
    viewer.setListener(&listener);
    listener.eyeAnswer = "42";
    key('e');
    EXPECT_EQ(listener.eyeOffered, 60.0f) << "the dialog does not offer the eye in use";
    EXPECT_EQ(view().eyevalue, 42.0f);
    listener.eyeAnswer = nullptr;
    key('e');
    EXPECT_EQ(view().eyevalue, 42.0f) << "a cancelled dialog changed the eye";
}

TEST(EyeValue, TypedValuesArePositiveFiniteAndInRange)
{
    const std::pair<const char*, float> accepted[] = {
        {"50", 50}, {" 42.5 ", 42.5f}, {"1e2", 100}, {"0.5", EYEMIN}, {"250", EYEMAX}};
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
    // With the session listening, it decides how to quit.
    Listener listener;
    viewer.setListener(&listener);
    key('q');
    key(FL_Escape);
    EXPECT_EQ(listener.quits, 2) << "the listener was not asked to quit";
}

TEST_F(Input, WheelStepsAndEyeLimits)
{
    // The wheel's directions are in the real-input test.
    EXPECT_EQ(wheel(0), 0) << "a horizontal scroll is taken";

    // The buttons step by 10, the wheel and keys by 5; none passes the limits.
    changeView([](ViewState& v) {
        v.eyevalue = EYEMIN + 5;
        zoomIn(v);
    });
    EXPECT_EQ(view().eyevalue, EYEMIN) << "zoom in passed the nearest eye";
    key('o');
    wheel(-1);
    EXPECT_EQ(view().eyevalue, EYEMIN) << "key o or the wheel passed the nearest eye";
    changeView([](ViewState& v) {
        v.eyevalue = EYEMAX - 5;
        zoomOut(v);
    });
    key('i');
    EXPECT_EQ(view().eyevalue, EYEMAX) << "zoom out passed the farthest eye";
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
        const float z = view().zrotation, x = view().xrotation;
        mouse(FL_DRAG, 1, r.x1, r.y1);
        EXPECT_TRUE(view().zrotation - z == r.dz && view().xrotation - x == r.dx)
            << r.x0 << "," << r.y0 << " to " << r.x1 << "," << r.y1 << ": turned " << view().zrotation - z
            << ", tilted " << view().xrotation - x;
    }
    mouse(FL_PUSH, 3, 0, 0); // both held: rotation comes first
    mouse(FL_DRAG, 1, 0, 0);
    EXPECT_EQ(view().xtranslate, 0.5f) << "the right button moved the model during a left drag";
}

TEST_F(Input, RightDragMovesAlongTheScreen)
{
    changeView([](ViewState& v) { v.zrotation = 0; });
    mouse(FL_DRAG, 3, 100, 100); // the first motion: only the last position
    EXPECT_TRUE(view().xtranslate == 0.5f && view().ytranslate == 0.0f) << "the first motion moved the model";
    mouse(FL_DRAG, 3, 110, 100);
    EXPECT_FLOAT_EQ(view().xtranslate, 0.57f) << "right";
    mouse(FL_DRAG, 3, 110, 90);
    EXPECT_FLOAT_EQ(view().ytranslate, 0.07f) << "up";
    changeView([](ViewState& v) { v.zrotation = 90; });
    mouse(FL_DRAG, 3, 120, 90);
    EXPECT_NEAR(view().ytranslate, 0.0f, 1e-7) << "right, turned a quarter";
    EXPECT_NEAR(view().xtranslate, 0.57f, 1e-6) << "right, turned a quarter";
}

TEST_F(Input, MagnifierRingStopsPastAQuarter)
{
    EXPECT_EQ(mouse(FL_DRAG, 2, 0, 0), 0) << "middle drag taken with no ring";
    changeView([](ViewState& v) { v.magnify = true; });
    mouse(FL_DRAG, 2, 0, 0); // the first motion: only the last position
    int steps = 0;
    for (int x = 1; x < 100; ++x) {
        float before = view().magTransX;
        mouse(FL_DRAG, 2, x, 0);
        steps += view().magTransX != before;
    }
    EXPECT_EQ(steps, 36) << "steps to the right";
    EXPECT_NEAR(view().magTransX, 0.252f, 1e-3);
    for (int x = 98; x >= 0; --x)
        mouse(FL_DRAG, 2, x, 0);
    EXPECT_NEAR(view().magTransX, -0.252f, 1e-3) << "stops at its first step past a quarter to the left";
    mouse(FL_DRAG, 2, 99, -1);
    EXPECT_NEAR(view().magTransY, 0.007f, 1e-6) << "upward on screen is up for the ring";
}

TEST_F(Input, PressAndReleaseOfALargeGrid)
{
    // Whether the frame outlines the grid while dragged is the viewer's own
    // (it shows in pictures); here the rule it follows and the buttons held.
    const DataSet large = plane(401, 500);
    viewer.showDataSet(&large);
    EXPECT_TRUE(outlineWhileDragging(large.rows() * large.cols())) << "200500 points are not outlined while dragged";
    mouse(FL_PUSH, 1, 10, 10);
    EXPECT_TRUE(viewer.drag().lButtonState) << "the left button is not held";
    mouse(FL_RELEASE, 1);
    EXPECT_FALSE(viewer.drag().held()) << "a button stays held after the release";
    const DataSet threshold = plane(400, 500);
    viewer.showDataSet(&threshold);
    EXPECT_FALSE(outlineWhileDragging(threshold.rows() * threshold.cols()))
        << "outlined at exactly NUMTRIANGLES points";
    mouse(FL_PUSH, 3, 10, 10);
    EXPECT_TRUE(viewer.drag().rButtonState);
    mouse(FL_RELEASE, 3);
    mouse(FL_PUSH, 2, 10, 10);
    EXPECT_FALSE(viewer.drag().mButtonState) << "the middle button took the ring with the magnifier off";
}

TEST(ViewCommands, StepTheEyeAndTurnTheModel)
{
    // The panel's buttons and the View menu; that they wait for data is the
    // session's.
    ViewState v = movedView();
    zoomIn(v);
    EXPECT_EQ(v.eyevalue, 50.0f) << "zoom in by 10";
    zoomOut(v);
    zoomOut(v);
    EXPECT_EQ(v.eyevalue, 70.0f);
    topView(v);
    EXPECT_EQ(v.xrotation, 0.0f);
    sideView(v);
    EXPECT_EQ(v.xrotation, -90.0f);
    resetView(v);
    EXPECT_TRUE(v.eyevalue == 100.0f && v.xrotation == 0.0f && v.zrotation == 0.0f && v.xtranslate == 0.0f &&
                v.ytranslate == 0.0f);
}

TEST(SunPath, StopsAtTheEndsOfTheEllipse)
{
    float east[4] = {XPOS, 0, ZPOS, 1}, west[4] = {XPOS, 0, ZPOS, 1}, top[4] = {-0.1f, 0, 0, 1};
    int steps = 0;
    for (; sunStep(east, +1); ++steps) {
    }
    EXPECT_TRUE(steps == 30 && std::fabs(east[0] - 2.3f) < 1e-4f && std::fabs(east[2] - 0.0063f) < 2e-4f)
        << steps << " steps to " << east[0] << ", " << east[2];
    EXPECT_TRUE(sunStep(east, -1)) << "moving back works";
    for (steps = 0; sunStep(west, -1); ++steps) {
    }
    EXPECT_TRUE(steps == 16 && std::isfinite(west[2])) << "from -0.7 to -2.3";
    sunStep(top, +1);
    EXPECT_NEAR(top[2], 2.0f, 1e-4) << "highest over the middle";
}

} // namespace
