// `orolith --image` against the viewer on screen: the same data set in each
// colour scheme, switched on in the viewer by its own commands and drawn in
// its window under Xvfb, must give the pixels the command line writes
// (within 2 levels a channel). The window is 650 x 625 and the viewport
// 650 x 650 at its lower-left corner, so the window shows the picture's
// rows from 25 down. A picture that differs is saved beside the viewer's
// for a person to compare.
#include <cmath>

#include "render/pngfile.h"
#include "tests/gui/gui_fixtures.h"
#include "tests/image/png_decode.h"

namespace gui_test {
namespace {

// Waves of 1400 m over 31 x 31 points 1 km apart: steep flanks (grey in the
// base colours), every aspect, curvature classes; the comparison grid is
// the DEM's 20 m contours where they pass within 4 m of a point, so the
// differences fall in several classes and a contour interval is found.
float wave(int r, int c)
{
    return 2000.0f + 1400.0f * std::sin(r / 5.0f) * std::cos(c / 4.0f) + 25.0f * ((r * 7 + c * 13) % 5);
}
float contour(int r, int c)
{
    const float v = wave(r, c), level = 20.0f * std::round(v / 20.0f);
    return std::fabs(v - level) < 4.0f ? level : 0.0f;
}

struct Scheme {
    const char* name;
    void (*toggle)(Fl_Widget*); // the viewer's switch, null for the base colours
};
const Scheme SCHEMES[] = {
    {"base", nullptr},
    {"ramp", MyWindow::Colors},
    {"aspect", MyWindow::slopeVis},
    {"curvature", MyWindow::cerr},
    {"elevdiff", MyWindow::lerr},
    {"curvediff", MyWindow::curverr},
    {"heights", MyWindow::heights},
};

constexpr int HIDDEN_ROWS = MAX - H; // viewport rows above the window

void keep(const std::string& name, int w, int h, const std::vector<unsigned char>& rgb)
{
    std::string error;
    const std::string path = std::string(OROLITH_SHOT_DIR) + "/" + name + ".png";
    if (writePng(path, w, h, rgb, error))
        std::cout << "picture saved to " << path << std::endl;
}

TEST_F(ViewerTest, ImageModeWritesTheViewersPixelsInEveryScheme)
{
    const std::string dem = writeGrid("wave.grd", 31, 31, 1000, wave);
    const std::string comp = writeGrid("wave_contours.grd", 31, 31, 1000, contour);
    ASSERT_TRUE(load(dem, comp, CONTF));
    ASSERT_GT(MyWindow::getCont(), 0) << "the comparison grid's contour interval, for the height classes";
    ScratchDir dir;
    for (const Scheme& s : SCHEMES) {
        SCOPED_TRACE(s.name);
        drawColors = colorSlope = drawCurveColor = drawDiffColor = drawCurveDiff = colorHeightClasses = false;
        if (s.toggle)
            s.toggle(nullptr);
        const Image screen = grab();
        ASSERT_EQ(screen.w, W);
        ASSERT_EQ(screen.h, H);

        const std::string out = dir.path + "/" + s.name + ".png";
        Outcome r = runWithoutDisplay({"--image", out, "--scheme", s.name, dem, comp});
        ASSERT_EQ(r.status, 0) << r;
        Image file = decodePng(out);
        ASSERT_EQ(file.w, MAX);
        ASSERT_EQ(file.h, MAX);
        file.rgb.erase(file.rgb.begin(), file.rgb.begin() + HIDDEN_ROWS * MAX * 3); // the rows the window shows
        file.h = H;
        const int differ = differing(screen, file);
        EXPECT_EQ(differ, 0) << "pixels unlike the viewer's";
        if (differ) {
            keep(std::string("image_") + s.name + "_viewer", W, H, screen.rgb);
            keep(std::string("image_") + s.name + "_file", file.w, file.h, file.rgb);
        }
    }
}

} // namespace
} // namespace gui_test
