// The surface drawn from GL buffers looks as the direct drawing of every
// triangle does (within 2 levels a channel), in every colour scheme, and a
// change of a flag, a unit or the exaggeration shows at once: the buffers
// are rebuilt, not drawn stale.
#include <cmath>
#include <functional>

#include "render/surfacecache.h"
#include "tests/gui/gui_fixtures.h"

namespace gui_test {
namespace {

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
