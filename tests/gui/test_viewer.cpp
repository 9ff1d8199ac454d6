// The viewer as a user sees it: every colour scheme changing the picture,
// drags of large grids, repaints, the overlays (lighting off, cells of 1 km
// so that the mesh fills the view as gridToScreen expects); and the surface
// drawn from GL buffers as the direct drawing of every triangle draws it
// (within 2 levels a channel), in every scheme and after every change.
#include <algorithm>
#include <cmath>
#include <functional>

#include "dialogs/names.h"
#include "render/frame.h"
#include "render/surfacecache.h"
#include "render/viewmotion.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

constexpr float KM = 1000;
using Is = std::function<bool(const Pixel&)>;

Is colour(int r, int g, int b, int tol = 2)
{
    return [=](const Pixel& p) { return near(p, r, g, b, tol); };
}
const Is background = colour(230, 230, 255), terrain = colour(102, 128, 102, 1);

Pixel at(const Image& img, int rows, int cols, float row, float col)
{
    int x, y;
    gridToScreen(rows, cols, row, col, x, y);
    return img.at(x, y);
}

// Pixels of the rectangle (corners included) that pass the test.
int count(const Image& img, int x0, int y0, int x1, int y1, const Is& is, int step = 1)
{
    int n = 0;
    for (int y = y0; y <= y1; y += step)
        for (int x = x0; x <= x1; x += step)
            n += is(img.at(x, y)) ? 1 : 0;
    return n;
}

// A view change as the viewer takes it: the next frame shows it.
void changeView(Viewer& viewer, const std::function<void(ViewState&)>& change)
{
    ViewState v = viewer.view();
    change(v);
    viewer.setView(v);
}

TEST_F(ViewerTest, EverySchemeChangesTheSampleData)
{
    ASSERT_TRUE(load(sampleData("alps_dem2.grd"), sampleData("alps_contour.grd"), CONTF));
    ASSERT_EQ(data().contourInterval(), 20);
    const std::pair<const char*, ViewSwitch> schemes[] = {
        {"curvature", ViewSwitch::curvatureError},
        {"elevation difference", ViewSwitch::elevationError},
        {"curvature difference", ViewSwitch::curvatureDifference},
        {"height classes", ViewSwitch::heightClasses},
        {"height ramp", ViewSwitch::heightColors},
        {"slope", ViewSwitch::aspectColors},
        {"contours", ViewSwitch::contours},
    };
    Image base = grab();
    for (const auto& [name, id] : schemes) {
        // Ticked and unticked as on the panel.
        session->requestSwitch(id, true, switchRow(id).needs);
        ASSERT_TRUE(switchOn(view(), id)) << name << " refused";
        EXPECT_GT(differing(grab(), base, 7, 100, 100, 550, 500), 50) << name << " should change the picture";
        session->requestSwitch(id, false, switchRow(id).needs);
    }
}

TEST_F(ViewerTest, RefusedComparisonLeavesTheTerrainInUseOnScreen)
{
    std::string small = writeGrid("small.grd", 5, 5, KM, [](int, int) { return 100.0f; });
    std::string big = writeGrid("big.grd", 9, 9, KM, [](int r, int c) { return 100.0f + r * c; });
    ASSERT_TRUE(load(small));
    const Image before = grab();
    EXPECT_FALSE(load(big, small, DEM)) << "the sizes differ";
    EXPECT_EQ(differing(grab(), before, 5), 0) << "the refused load changed the picture of the data set in use";
    ASSERT_TRUE(load(big));
    EXPECT_FALSE(background(grab().at(CX, CY))) << "the next good load shows its terrain";
}

// A mouse event as the event loop hands it to the viewer.
int mouse(Viewer& viewer, int event, int button, int x = 10, int y = 10, int dy = 0)
{
    Fl::e_keysym = FL_Button + button;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_dy = dy;
    return viewer.handle(event);
}

TEST_F(ViewerTest, BufferedDragOfALargeGridShowsACoarseOutlineAndCameraFramesBuildNothing)
{
    ASSERT_TRUE(load(writeGrid("larger.grd", 800, 800, KM, [](int r, int c) { return 100.0f + (r + c) % 7; })));
    changeView(viewer(), [](ViewState& v) {
        v.lighting = false;
        v.drawColors = true; // a colour a cell, so that a coarser grid shows
    });
    const Image before = grab();
    auto builds = [&] { return viewer().surfaceCache().builds(); };
    const int built = builds();
    changeView(viewer(), [](ViewState& v) { v.zrotation += 5; });
    grab();
    changeView(viewer(), [](ViewState& v) { v.zrotation -= 5; });
    EXPECT_EQ(builds(), built) << "a frame that only turned the camera built the surface again";
    mouse(viewer(), FL_PUSH, 1);
    const Image dragged = grab();
    EXPECT_EQ(builds(), built + 1) << "the drag's coarse grid is built once";
    EXPECT_GT(differing(dragged, before, 1, 200, 200, 450, 400), 5000)
        << "the drag shows the full grid, not a coarse one";
    grab();
    EXPECT_EQ(builds(), built + 1) << "each drag frame built its grid anew";
    mouse(viewer(), FL_RELEASE, 1);
    const Image after = grab();
    EXPECT_EQ(builds(), built + 1) << "the full picture's buffers were kept through the drag";
    EXPECT_EQ(differing(after, before, 3), 0) << "the full picture did not come back on release";
}

TEST_F(ViewerTest, RepaintsOnlyWhenTheViewChanges)
{
    ASSERT_TRUE(load(writeGrid("still.grd", 5, 5, KM, [](int, int) { return 100.0f; })));
    Viewer& gl = viewer();
    // The last drag ended where the next one starts (a small grid's press
    // and release change nothing by themselves).
    mouse(gl, FL_PUSH, 1, 100, 100);
    mouse(gl, FL_DRAG, 1, 100, 100);
    mouse(gl, FL_RELEASE, 1, 100, 100);
    gl.redraw(); // as the open dialog shows the data set
    // A loaded X server may map and expose the window late: wait for it.
    for (int k = 0; k < 5 || (k < 300 && (gl.damage() != 0 || gl.stale())); ++k) {
        Fl::wait(0.01);
        Fl::flush();
    }
    ASSERT_TRUE(gl.damage() == 0 && !gl.stale()) << "the loaded data set was never drawn";
    struct Step {
        const char* what;
        int event, button, x, y, dy;
        bool repaint;
    } steps[] = {
        {"pointer moved", FL_MOVE, 0, 50, 50, 0, false},
        {"button pressed", FL_PUSH, 1, 100, 100, 0, false},
        {"drag in place", FL_DRAG, 1, 100, 100, 0, false},
        {"drag down", FL_DRAG, 1, 100, 120, 0, true},
        {"button released", FL_RELEASE, 1, 100, 120, 0, false},
        {"sideways scroll", FL_MOUSEWHEEL, 0, 0, 0, 0, false},
        {"wheel", FL_MOUSEWHEEL, 0, 0, 0, 1, true},
    };
    for (const Step& s : steps) {
        mouse(gl, s.event, s.button, s.x, s.y, s.dy);
        EXPECT_EQ(gl.damage() != 0, s.repaint) << s.what;
        Fl::flush();
    }
    Fl::e_keysym = 'b';
    gl.handle(FL_KEYBOARD);
    EXPECT_EQ(gl.damage(), 0) << "a key of no meaning repaints";
}

TEST_F(ViewerTest, SunMovesAlongItsPathAndTheAxesStandOverTheUnlitTerrain)
{
    ASSERT_TRUE(load(writeGrid("sun.grd", 21, 21, KM, [](int, int) { return 100.0f; })));
    // As the "Shaded Relief", "Display Sun" and "Show Axes" boxes switch them.
    viewer().applySwitchRequest(ViewSwitch::lighting); // off
    viewer().applySwitchRequest(ViewSwitch::sun);
    viewer().applySwitchRequest(ViewSwitch::axes);
    // The sphere stands one unit below the light, at x = -0.7, seen from a
    // little nearer than the terrain.
    const int x = static_cast<int>(W / 2.0 - 0.7 * PX_PER_UNIT * 100 / (100 - 0.905));
    Image img = grab();
    EXPECT_GT(count(img, x - 4, CY, x + 4, CY, colour(255, 255, 0)), 0) << "sun west of the centre";
    EXPECT_TRUE(terrain(at(img, 21, 21, 15, 15))) << "terrain unlit under the overlays";
    const int east = static_cast<int>(W / 2.0 + 1.1 * PX_PER_UNIT);
    EXPECT_GT(count(img, east, CY - 5, east, CY + 5, colour(255, 0, 0)), 0) << "no red x axis beyond the east edge";
    for (int k = 0; k < 7; ++k)
        session->moveSun(+1); // the "East" button
    img = grab();
    EXPECT_TRUE(near(img.at(CX, CY), 255, 255, 0)) << "after 7 steps the sun is over the centre";
}

TEST_F(ViewerTest, MagnifierRingBlendsBlue)
{
    ASSERT_TRUE(load(writeGrid("mag.grd", 21, 21, KM, [](int, int) { return 100.0f; })));
    changeView(viewer(), [](ViewState& v) { v.lighting = false; });
    // Radius 0.07 to 0.08 at 22 units from the eye.
    const double pxAt22 = H / 2.0 / (0.2 * 22 / 18);
    const int x = static_cast<int>(W / 2.0 + 0.075 * pxAt22);
    Pixel b = grab().at(x, CY);
    viewer().applySwitchRequest(ViewSwitch::magnifier);
    Image ring = grab();
    Pixel p = ring.at(x, CY);
    EXPECT_TRUE(near(p, int(0.6 * b.r), int(0.6 * b.g), int(0.6 * b.b + 0.4 * 255), 3))
        << "ring 40 % blue over " << b << ", is " << p;
    EXPECT_TRUE(near(ring.at(CX, CY), b.r, b.g, b.b, 1)) << "the centre is clear";
    changeView(viewer(), [](ViewState& v) {
        v.magTransX = 0.1f;
        v.eyevalue = 150;
    });
    const Pixel m = grab().at(static_cast<int>(W / 2.0 + (0.1 + 0.075) * pxAt22), CY);
    EXPECT_GT(m.b, m.r + 60) << "the ring moves with its offset, its size kept at any zoom";
}

class BufferedTest : public ViewerTest {
protected:
    // The picture as the viewer draws it, or with the surface in outlines
    // (as a large grid is drawn while dragged): the viewer's frame drawn
    // here with its state and buffers.
    Image picture()
    {
        if (!outlines)
            return grab();
        Viewer& gl = viewer();
        gl.make_current();
        for (int k = 0; k < 2; ++k) {
            windowinit();
            reshape(gl.pixel_w(), gl.pixel_h());
            minit(gl.view(), true);
            display(data(), gl.view(), gl.surfaceCache());
        }
        glFinish();
        Image img;
        img.w = gl.w();
        img.h = gl.h();
        const std::size_t row = static_cast<std::size_t>(img.w) * 3;
        std::vector<unsigned char> bottomUp(row * img.h);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, img.w, img.h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        for (int y = img.h - 1; y >= 0; --y)
            img.rgb.insert(img.rgb.end(), bottomUp.begin() + y * row, bottomUp.begin() + (y + 1) * row);
        return last = img;
    }
    SurfaceCache& cache() { return viewer().surfaceCache(); }
    void change(const std::function<void(ViewState&)>& how) { changeView(viewer(), how); }

    // Pixels that differ by more than 2 levels in a channel between the
    // direct and the buffered picture.
    int differing(const std::string& what)
    {
        cache().buffered = false;
        const Image direct = picture();
        cache().buffered = true;
        const Image buffered = picture();
        const int n = gui_test::differing(buffered, direct);
        if (n > 0) {
            direct.save(std::string(OROLITH_SHOT_DIR) + "/failed_direct_" + what + ".ppm");
            buffered.save(std::string(OROLITH_SHOT_DIR) + "/failed_buffered_" + what + ".ppm");
        }
        return n;
    }

    bool outlines = false;
};

float relief(int r, int c)
{
    return 1000.0f + 40.0f * static_cast<float>(r) + 25.0f * static_cast<float>(c % 9) +
           (r == 20 && c == 20 ? 300.0f : 0.0f);
}

TEST_F(BufferedTest, EverySchemeLooksAsTheDirectDrawing)
{
    const std::string dem = writeGrid("buf_dem.grd", 41, 43, 30, relief);
    const std::string ref = writeGrid("buf_ref.grd", 41, 43, 30, [](int r, int c) {
        return relief(r, c) + static_cast<float>((r * 7 + c * 3) % 11) - 5.0f;
    });
    const std::string contours = writeGrid("buf_cont.grd", 41, 43, 30, [](int r, int c) {
        float h = relief(r, c);
        return static_cast<int>(h) % 50 < 6 ? std::floor(h / 50) * 50 : 0.0f;
    });
    struct Scheme {
        const char* name;
        std::function<void(ViewState&)> on;
        bool outlines = false;
    };
    const Scheme schemes[] = {
        {"base", [](ViewState&) {}},
        {"ramp", [](ViewState& v) { v.drawColors = true; }},
        {"aspect", [](ViewState& v) { v.colorSlope = true; }},
        {"curvature", [](ViewState& v) { v.drawCurveColor = true; }},
        {"elevdiff", [](ViewState& v) { v.drawDiffColor = true; }},
        {"curvediff", [](ViewState& v) { v.drawCurveDiff = true; }},
        {"marks", [](ViewState& v) { v.drawDiff = true; }},
        {"points", [](ViewState& v) { v.drawPoints = true; }},
        {"contourgrey", [](ViewState& v) { v.drawContours = true; }},
        {"profile",
         [](ViewState& v) {
             v.plotProfile = true;
             v.profileYpos = v.profileXpos = 12;
         }},
        {"outlines", [](ViewState&) {}, true},
        {"marksalone",
         [](ViewState& v) {
             v.drawDiff = true;
             v.drawTriangles = false;
         }},
    };
    ASSERT_TRUE(load(dem, ref, DEM, 1900, 30));
    change([](ViewState& v) {
        v.xrotation = -40;
        v.zrotation = 25;
    });
    for (bool lit : {true, false}) {
        for (const Scheme& s : schemes) {
            change([&](ViewState& v) {
                v.drawColors = v.colorSlope = v.drawCurveColor = v.drawDiffColor = v.drawCurveDiff = v.drawDiff = false;
                v.drawPoints = v.drawContours = v.plotProfile = false;
                v.drawTriangles = true;
                v.lighting = lit;
                s.on(v);
            });
            outlines = s.outlines;
            EXPECT_EQ(differing(s.name), 0)
                << s.name << (lit ? ", lit" : ", unlit") << " differs from the direct drawing";
        }
    }
    outlines = false;
    ASSERT_TRUE(load(dem, contours, CONTF, 1900, 30));
    change([](ViewState& v) {
        v.drawDiff = false;
        v.drawTriangles = true;
        v.colorHeightClasses = true;
    });
    std::string why;
    ASSERT_TRUE(session->ensureHeightClasses(why)) << why;
    EXPECT_EQ(differing("heights"), 0) << "height classes differ from the direct drawing";
}

TEST_F(BufferedTest, LargeGridDrawnFlatLooksAsTheDirectDrawing)
{
    // Above the cells drawn smoothly: one colour a triangle.
    auto h = [](int r, int c) {
        return 1000.0f + 600.0f * std::sin(r * 0.02f) * std::cos(c * 0.017f) + static_cast<float>((r * 3 + c) % 5);
    };
    ASSERT_TRUE(load(writeGrid("flat_dem.grd", 520, 530, 10, h),
                     writeGrid("flat_ref.grd", 520, 530, 10, [&](int r, int c) { return h(r, c) + (r % 7) - 3.0f; }),
                     DEM, 1500, 20));
    change([](ViewState& v) {
        v.xrotation = -35;
        v.zrotation = 30;
    });
    const std::pair<const char*, std::function<void(ViewState&)>> schemes[] = {
        {"flat_base", [](ViewState&) {}},
        {"flat_ramp", [](ViewState& v) { v.drawColors = true; }},
        {"flat_elevdiff",
         [](ViewState& v) {
             v.drawColors = false;
             v.drawDiffColor = true;
         }},
    };
    for (const auto& [name, on] : schemes) {
        change(on);
        EXPECT_EQ(differing(name), 0) << name << " differs from the direct drawing";
    }
}

TEST_F(BufferedTest, LeavingOutTrianglesThatReachNoPixelChangesNoPixel)
{
    // Far more triangles than pixels, and views where the near plane cuts
    // the surface and where it runs out of the window.
    auto h = [](int r, int c) {
        return 1000.0f + 500.0f * std::sin(r * 0.013f) * std::cos(c * 0.021f) +
               static_cast<float>((r * 7 + c * 3) % 13);
    };
    ASSERT_TRUE(load(writeGrid("dense_dem.grd", 760, 740, 10, h),
                     writeGrid("dense_ref.grd", 760, 740, 10, [&](int r, int c) { return h(r, c) + (c % 5) - 2.0f; }),
                     DEM, 1500, 20));
    change([](ViewState& v) { v.drawDiffColor = true; });
    struct View {
        const char* name;
        float eye, xrot, zrot, xmove;
        bool outlines;
    };
    const View views[] = {{"whole", STARTEYE, -35, 30, 0, false},
                          {"edge-on", STARTEYE, -88, 0, 0, false},
                          {"close", 18.6f, -60, 45, 0, false},
                          {"aside", 40, -20, 120, 1.2f, false},
                          {"outlines", STARTEYE, -35, 30, 0, true}};
    for (const View& v : views) {
        change([&](ViewState& s) {
            s.eyevalue = v.eye, s.xrotation = v.xrot, s.zrotation = v.zrot, s.xtranslate = v.xmove;
        });
        outlines = v.outlines;
        cache().leaveOutSmallTriangles = false;
        const Image all = picture();
        cache().leaveOutSmallTriangles = true;
        const Image some = picture();
        EXPECT_EQ(some.rgb, all.rgb) << v.name << ": leaving out triangles changed the picture";
        if (some.rgb != all.rgb) {
            all.save(std::string(OROLITH_SHOT_DIR) + "/failed_all_" + v.name + ".ppm");
            some.save(std::string(OROLITH_SHOT_DIR) + "/failed_some_" + v.name + ".ppm");
        }
    }
}

TEST_F(BufferedTest, ChangesOfFlagsUnitsAndExaggerationShowAtOnce)
{
    ASSERT_TRUE(load(writeGrid("chg_dem.grd", 31, 31, 30, relief),
                     writeGrid("chg_ref.grd", 31, 31, 30, [](int r, int c) { return relief(r, c) - (r % 5); }), DEM));
    change([](ViewState& v) {
        v.xrotation = -30;
        v.drawCurveColor = true;
    });
    grab();
    Session& s = *session;
    // As the panel's counters, boxes and buttons change them.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"curvature unit", [&] { s.setCurvatureUnit(4.0); }},
        {"difference colours", [&] { s.requestSwitch(ViewSwitch::elevationError, true, Needs::comparison); }},
        {"difference unit", [&] { s.setDifferenceUnit(2.5); }},
        {"exaggeration", [&] { s.setExaggeration(3); }},
        {"tree line", [&] { change([](ViewState& v) { v.treeLine = 1100; }); }},
        {"light", [&] { s.moveSun(+1); }},
        {"lighting", [&] { change([](ViewState& v) { v.lighting = false; }); }},
    };
    int expected = cache().builds();
    for (const auto& [what, apply] : changes) {
        apply();
        EXPECT_EQ(differing(what), 0) << "after a change of the " << what << " the buffers showed the old picture";
        EXPECT_GT(cache().builds(), expected) << what << " did not rebuild the buffers";
        expected = cache().builds();
    }
}

} // namespace
} // namespace gui_test
