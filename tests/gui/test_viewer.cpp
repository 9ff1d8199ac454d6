// The viewer as a user sees it: every colour scheme changing the picture,
// drags of large grids, repaints, the overlays (lighting off, cells of 1 km
// so that the mesh fills the view as gridToScreen expects); and the surface
// drawn from GL buffers as the direct drawing of every triangle draws it
// (within 2 levels a channel), in every scheme and after every change.
#include <algorithm>
#include <cmath>
#include <functional>

#include "render/surfacecache.h"
#include "render/viewmotion.h"
#include "tests/gui/gui_fixtures.h"

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

TEST_F(ViewerTest, EverySchemeChangesTheSampleData)
{
    ASSERT_TRUE(load(sampleData("alps_dem2.grd"), sampleData("alps_contour.grd"), CONTF));
    ASSERT_EQ(MyWindow::getCont(), 20);
    const std::pair<const char*, void (*)(Fl_Widget*)> schemes[] = {
        {"curvature", MyWindow::cerr},     {"elevation difference", MyWindow::lerr},
        {"curvature difference", MyWindow::curverr}, {"height classes", MyWindow::heights},
        {"height ramp", MyWindow::Colors}, {"slope", MyWindow::slopeVis}, {"contours", MyWindow::cont},
    };
    Image base = grab();
    for (const auto& [name, toggle] : schemes) {
        toggle(nullptr);
        EXPECT_GT(differing(grab(), base, 7, 100, 100, 550, 500), 50) << name << " should change the picture";
        toggle(nullptr);
        drawDiffColor = drawCurveDiff = false;
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
int mouse(int event, int button, int x = 10, int y = 10, int dy = 0)
{
    Fl::e_keysym = FL_Button + button;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_dy = dy;
    return gl->handle(event);
}

TEST_F(ViewerTest, BufferedDragOfALargeGridShowsACoarseOutlineAndCameraFramesBuildNothing)
{
    ASSERT_TRUE(load(writeGrid("larger.grd", 800, 800, KM, [](int r, int c) { return 100.0f + (r + c) % 7; })));
    lighting = 0;
    drawColors = true; // a colour a cell, so that a coarser grid shows
    const Image before = grab();
    const int builds = surfaceBuilds();
    zrotation += 5;
    grab();
    zrotation -= 5;
    EXPECT_EQ(surfaceBuilds(), builds) << "a frame that only turned the camera built the surface again";
    mouse(FL_PUSH, 1);
    const Image dragged = grab();
    EXPECT_EQ(surfaceBuilds(), builds + 1) << "the drag's coarse grid is built once";
    EXPECT_GT(differing(dragged, before, 1, 200, 200, 450, 400), 5000) << "the drag shows the full grid, not a coarse one";
    grab();
    EXPECT_EQ(surfaceBuilds(), builds + 1) << "each drag frame built its grid anew";
    mouse(FL_RELEASE, 1);
    const Image after = grab();
    EXPECT_EQ(surfaceBuilds(), builds + 1) << "the full picture's buffers were kept through the drag";
    EXPECT_EQ(differing(after, before, 3), 0) << "the full picture did not come back on release";
    drawColors = false;
}

TEST_F(ViewerTest, RepaintsOnlyWhenTheViewChanges)
{
    ASSERT_TRUE(load(writeGrid("still.grd", 5, 5, KM, [](int, int) { return 100.0f; })));
    gl->redraw(); // as the open dialog shows the data set
    // A loaded X server may map and expose the window late: wait for it.
    for (int k = 0; k < 5 || (k < 300 && (gl->damage() != 0 || REDRAW)); ++k) {
        Fl::wait(0.01);
        Fl::flush();
    }
    ASSERT_TRUE(gl->damage() == 0 && !REDRAW) << "the loaded data set was never drawn";
    mouseMove(100, 100); // the last drag position
    struct Step {
        const char* what;
        int event, button, x, y, dy;
        bool repaint;
    } steps[] = {
        {"pointer moved", FL_MOVE, 0, 50, 50, 0, false},    {"button pressed", FL_PUSH, 1, 100, 100, 0, false},
        {"drag in place", FL_DRAG, 1, 100, 100, 0, false},  {"drag down", FL_DRAG, 1, 100, 120, 0, true},
        {"button released", FL_RELEASE, 1, 100, 120, 0, false}, {"sideways scroll", FL_MOUSEWHEEL, 0, 0, 0, 0, false},
        {"wheel", FL_MOUSEWHEEL, 0, 0, 0, 1, true},
    };
    for (const Step& s : steps) {
        mouse(s.event, s.button, s.x, s.y, s.dy);
        EXPECT_EQ(gl->damage() != 0, s.repaint) << s.what;
        Fl::flush();
    }
    Fl::e_keysym = 'b';
    gl->handle(FL_KEYBOARD);
    EXPECT_EQ(gl->damage(), 0) << "a key of no meaning repaints";
}

TEST_F(ViewerTest, SunMovesAlongItsPathAndTheAxesStandOverTheUnlitTerrain)
{
    ASSERT_TRUE(load(writeGrid("sun.grd", 21, 21, KM, [](int, int) { return 100.0f; })));
    MyWindow::light(nullptr); // off, as the "Shaded Relief" box switches it
    MyWindow::sun(nullptr);
    MyWindow::Axes(nullptr);
    // The sphere stands one unit below the light, at x = -0.7, seen from a
    // little nearer than the terrain.
    const int x = static_cast<int>(W / 2.0 - 0.7 * PX_PER_UNIT * 100 / (100 - 0.905));
    Image img = grab();
    EXPECT_GT(count(img, x - 4, CY, x + 4, CY, colour(255, 255, 0)), 0) << "sun west of the centre";
    EXPECT_TRUE(terrain(at(img, 21, 21, 15, 15))) << "terrain unlit under the overlays";
    const int east = static_cast<int>(W / 2.0 + 1.1 * PX_PER_UNIT);
    EXPECT_GT(count(img, east, CY - 5, east, CY + 5, colour(255, 0, 0)), 0) << "no red x axis beyond the east edge";
    for (int k = 0; k < 7; ++k)
        MyWindow::sunModPlus();
    img = grab();
    EXPECT_TRUE(near(img.at(CX, CY), 255, 255, 0)) << "after 7 steps the sun is over the centre";
}

TEST_F(ViewerTest, MagnifierRingBlendsBlue)
{
    ASSERT_TRUE(load(writeGrid("mag.grd", 21, 21, KM, [](int, int) { return 100.0f; })));
    lighting = 0;
    // Radius 0.07 to 0.08 at 22 units from the eye.
    const double pxAt22 = H / 2.0 / (0.2 * 22 / 18);
    const int x = static_cast<int>(W / 2.0 + 0.075 * pxAt22);
    Pixel b = grab().at(x, CY);
    MyWindow::drawMagnifier(nullptr);
    Image ring = grab();
    Pixel p = ring.at(x, CY);
    EXPECT_TRUE(near(p, int(0.6 * b.r), int(0.6 * b.g), int(0.6 * b.b + 0.4 * 255), 3))
        << "ring 40 % blue over " << b << ", is " << p;
    EXPECT_TRUE(near(ring.at(CX, CY), b.r, b.g, b.b, 1)) << "the centre is clear";
    magTransX = 0.1f;
    eyevalue = 150;
    const Pixel m = grab().at(static_cast<int>(W / 2.0 + (0.1 + 0.075) * pxAt22), CY);
    EXPECT_GT(m.b, m.r + 60) << "the ring moves with its offset, its size kept at any zoom";
}

class BufferedTest : public ViewerTest {
protected:
    // Pixels that differ by more than 2 levels in a channel between the
    // direct and the buffered picture.
    int differing(const std::string& what)
    {
        bufferedDrawing = false;
        const Image direct = grab();
        bufferedDrawing = true;
        const Image buffered = grab();
        const int n = gui_test::differing(buffered, direct);
        if (n > 0) {
            direct.save(std::string(OROLITH_SHOT_DIR) + "/failed_direct_" + what + ".ppm");
            buffered.save(std::string(OROLITH_SHOT_DIR) + "/failed_buffered_" + what + ".ppm");
        }
        return n;
    }
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
        std::function<void()> on;
    };
    auto flag = [](bool& f) { return [&f] { f = true; }; };
    const Scheme schemes[] = {
        {"base", [] {}},
        {"ramp", flag(drawColors)},
        {"aspect", flag(colorSlope)},
        {"curvature", [] { drawCurveColor = true; mt.compute_curve_color(); }},
        {"elevdiff", [] { drawDiffColor = true; mt.compute_elev_diff_color(); }},
        {"curvediff", [] { drawCurveDiff = true; mt.compute_curve_diff_color(); }},
        {"marks", [] { drawDiff = true; mt.compute_elev_diff_color(); }},
        {"points", flag(drawPoints)},
        {"contourgrey", flag(drawContours)},
        {"profile", [] { plotProfile = true; profileYpos = profileXpos = 12; }},
        {"outlines", flag(polygonOutline)},
        {"marksalone", [] { drawDiff = true; drawTriangles = false; mt.compute_elev_diff_color(); }},
    };
    ASSERT_TRUE(load(dem, ref, DEM, 1900, 30));
    xrotation = -40;
    zrotation = 25;
    for (int lit : {1, 0}) {
        for (const Scheme& s : schemes) {
            drawColors = colorSlope = drawCurveColor = drawDiffColor = drawCurveDiff = drawDiff = false;
            drawPoints = drawContours = plotProfile = polygonOutline = false;
            drawTriangles = true;
            lighting = lit;
            s.on();
            EXPECT_EQ(differing(s.name), 0) << s.name << (lit ? ", lit" : ", unlit") << " differs from the direct drawing";
        }
    }
    ASSERT_TRUE(load(dem, contours, CONTF, 1900, 30));
    drawDiff = drawTriangles = false;
    drawTriangles = true;
    colorHeightClasses = true;
    ASSERT_TRUE(mt.computeHeightClasses());
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
    xrotation = -35;
    zrotation = 30;
    const std::pair<const char*, std::function<void()>> schemes[] = {
        {"flat_base", [] {}},
        {"flat_ramp", [] { drawColors = true; }},
        {"flat_elevdiff", [] { drawColors = false; drawDiffColor = true; mt.compute_elev_diff_color(); }},
    };
    for (const auto& [name, on] : schemes) {
        on();
        EXPECT_EQ(differing(name), 0) << name << " differs from the direct drawing";
    }
}

TEST_F(BufferedTest, LeavingOutTrianglesThatReachNoPixelChangesNoPixel)
{
    // Far more triangles than pixels, and views where the near plane cuts
    // the surface and where it runs out of the window.
    auto h = [](int r, int c) {
        return 1000.0f + 500.0f * std::sin(r * 0.013f) * std::cos(c * 0.021f) + static_cast<float>((r * 7 + c * 3) % 13);
    };
    ASSERT_TRUE(load(writeGrid("dense_dem.grd", 760, 740, 10, h),
                     writeGrid("dense_ref.grd", 760, 740, 10, [&](int r, int c) { return h(r, c) + (c % 5) - 2.0f; }),
                     DEM, 1500, 20));
    drawDiffColor = true;
    mt.compute_elev_diff_color();
    struct View {
        const char* name;
        float eye, xrot, zrot, xmove;
        bool outlines;
    };
    const View views[] = {{"whole", STARTEYE, -35, 30, 0, false},   {"edge-on", STARTEYE, -88, 0, 0, false},
                          {"close", 18.6f, -60, 45, 0, false},       {"aside", 40, -20, 120, 1.2f, false},
                          {"outlines", STARTEYE, -35, 30, 0, true}};
    for (const View& v : views) {
        eyevalue = v.eye, xrotation = v.xrot, zrotation = v.zrot, xtranslate = v.xmove;
        polygonOutline = v.outlines;
        leaveOutSmallTriangles = false;
        const Image all = grab();
        leaveOutSmallTriangles = true;
        const Image some = grab();
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
    xrotation = -30;
    drawCurveColor = true;
    mt.compute_curve_color();
    grab();
    const int builds = surfaceBuilds();
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"curvature unit", [] { gl->modCurveErr(4.0f); }},
        {"difference colours", [] { drawCurveColor = false; MyWindow::lerr(nullptr); }},
        {"difference unit", [] { gl->modLocalDiffErr(2.5f); }},
        {"exaggeration", [] { gl->changeVert(3, 2); }},
        {"tree line", [] { TREELINE = 1100; }},
        {"light", [] { MyWindow::sunModPlus(); }},
        {"lighting", [] { lighting = 0; }},
    };
    int expected = builds;
    for (const auto& [what, change] : changes) {
        change();
        EXPECT_EQ(differing(what), 0) << "after a change of the " << what << " the buffers showed the old picture";
        EXPECT_GT(surfaceBuilds(), expected) << what << " did not rebuild the buffers";
        expected = surfaceBuilds();
    }
}

} // namespace
} // namespace gui_test
