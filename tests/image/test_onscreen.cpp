// Pictures written to files against the viewer on screen (within 2 levels a
// channel): `orolith --image` in each colour scheme, switched on in the
// viewer by its own commands (the window shows the 650 x 650 viewport's rows
// from 25 down), and "Save Image...", also widened over the hidden panel. A
// picture that differs is saved for a person to compare.
#include <cmath>
#include <filesystem>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "render/pngfile.h"
#include "tests/gui/dialog_fixtures.h"

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

TEST_F(ViewerTest, SaveImageWritesThePictureOnScreen)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    drawColors = true;
    ScratchDir dir;
    const std::string path = dir.path + "/alps.png";
    SaveChooserAnswer chooser(path);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    EXPECT_EQ(chooser.asked.pattern, "PNG images (*.png)");
    EXPECT_EQ(shownError(), "");
    Image file = decodePng(path);
    Image screen = grab();
    ASSERT_TRUE(file.w == W && file.h == H) << "a picture of " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file), 0) << "the file shows another picture than the viewer";
    std::filesystem::copy_file(path, std::string(OROLITH_SHOT_DIR) + "/save_image.png",
                               std::filesystem::copy_options::overwrite_existing);

    FILE_CONST = 1;
    tools(menubar, nullptr); // hidden: the viewer reaches over the panel
    ASSERT_EQ(gl->w(), 850);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    file = decodePng(path);
    screen = grab();
    ASSERT_TRUE(file.w == 850 && file.h == H) << "widened viewer saved at " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file, 1, 0, 0, 850, H), 0) << "the widened viewer's picture differs";
    tools(menubar, nullptr);
}

TEST_F(ViewerTest, SaveImageCancelledOrRefused)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    ScratchDir dir;
    {
        SaveChooserAnswer cancel("");
        entry(menupos::SAVE_IMAGE).do_callback(menubar);
        EXPECT_EQ(shownError(), "") << "a cancelled chooser is not an error";
    }
    const std::string nowhere = dir.path + "/no_such_dir/alps.png";
    SaveChooserAnswer chooser(nowhere);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    EXPECT_EQ(shownError(), "Cannot write the picture to \"" + nowhere + "\".");
    EXPECT_TRUE(win->shown() && OPEN) << "the viewer lost its data set";
    errorWin->hide();
    Fl::delete_widget(errorWin);
}

} // namespace
} // namespace gui_test
