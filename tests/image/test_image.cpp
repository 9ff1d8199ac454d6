// Pictures in files: `orolith --image` with no display (size, proportions,
// exit statuses, no off-screen GL), its pixels against the viewer's in each
// scheme (within 2 levels a channel), "Save Image...", also widened over the
// hidden panel, and the PNG writer read back by another decoder.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/mainwindow.h"
#include "app/session.h"
#include "dialogs/names.h"
#include "render/pngfile.h"
#include "render/viewswitches.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

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
    std::optional<ViewSwitch> colouring; // the viewer's switch, none for the base colours
};
const Scheme SCHEMES[] = {
    {"base", std::nullopt},
    {"ramp", ViewSwitch::heightColors},
    {"aspect", ViewSwitch::aspectColors},
    {"curvature", ViewSwitch::curvatureError},
    {"elevdiff", ViewSwitch::elevationError},
    {"curvediff", ViewSwitch::curvatureDifference},
    {"heights", ViewSwitch::heightClasses},
};

constexpr const char* SAVE_IMAGE = "&File/Save Image...";
constexpr const char* HIDE_TOOLS = "&Display/Display\\/Hide Tools";

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
    ASSERT_GT(data().contourInterval(), 0) << "the comparison grid's contour interval, for the height classes";
    ScratchDir dir;
    for (const Scheme& s : SCHEMES) {
        SCOPED_TRACE(s.name);
        ViewState v = view();
        for (const Scheme& other : SCHEMES)
            if (other.colouring)
                setSwitch(v, *other.colouring, false);
        viewer().setView(v);
        if (s.colouring)
            session->requestSwitch(*s.colouring, true, Needs::nothing);
        const Image screen = grab();
        ASSERT_EQ(screen.w, W);
        ASSERT_EQ(screen.h, H);

        // The picture of the viewer's size is the viewer's picture, its
        // legend included.
        const std::string out = dir.path + "/" + s.name + ".png";
        Outcome r =
            runWithoutDisplay({"--image", out, "--scheme", s.name, "--kind", "contour", "--size",
                               std::to_string(viewer().w()), std::to_string(viewer().h()), dem, comp, "--legend"});
        ASSERT_EQ(r.status, 0) << r;
        const Image file = decodePng(out);
        ASSERT_EQ(file.w, W);
        ASSERT_EQ(file.h, H);
        const int differ = differing(screen, file);
        EXPECT_EQ(differ, 0) << "pixels unlike the viewer's";
        if (differ) {
            keep(std::string("image_") + s.name + "_viewer", W, H, screen.rgb);
            keep(std::string("image_") + s.name + "_file", file.w, file.h, file.rgb);
        }
    }
}

TEST_F(ViewerTest, SaveImageWritesThePictureOnScreenOrSaysWhyNot)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    session->requestSwitch(ViewSwitch::heightColors, true, Needs::dem);
    ScratchDir dir;
    const std::string path = dir.path + "/alps.png";
    SaveChooserAnswer chooser(path);
    entry(SAVE_IMAGE).do_callback(win().menuBar());
    EXPECT_EQ(chooser.asked.pattern, "PNG images (*.png)");
    EXPECT_EQ(shownError(), "");
    Image file = decodePng(path);
    Image screen = grab();
    ASSERT_TRUE(file.w == W && file.h == H) << "a picture of " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file), 0) << "the file shows another picture than the viewer";
    std::filesystem::copy_file(path, std::string(OROLITH_SHOT_DIR) + "/save_image.png",
                               std::filesystem::copy_options::overwrite_existing);

    entry(HIDE_TOOLS).do_callback(win().menuBar()); // hidden: the viewer reaches over the panel
    ASSERT_EQ(viewer().w(), 850);
    entry(SAVE_IMAGE).do_callback(win().menuBar());
    file = decodePng(path);
    screen = grab();
    ASSERT_TRUE(file.w == 850 && file.h == H) << "widened viewer saved at " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file, 1, 0, 0, 850, H), 0) << "the widened viewer's picture differs";
    entry(HIDE_TOOLS).do_callback(win().menuBar());
    SaveChooserAnswer::answer = ""; // cancelled
    entry(SAVE_IMAGE).do_callback(win().menuBar());
    EXPECT_EQ(shownError(), "") << "a cancelled chooser is not an error";
    SaveChooserAnswer::answer = dir.path + "/no_such_dir/alps.png";
    entry(SAVE_IMAGE).do_callback(win().menuBar());
    EXPECT_EQ(shownError(), "Cannot write the picture to \"" + SaveChooserAnswer::answer + "\".");
    errorWin->hide();
    Fl::delete_widget(errorWin);
}

bool isBackground(const Pixel& p) { return near(p, 230, 230, 255, 0); }

struct Files {
    ScratchDir dir;
    // 21 x 21 points 1 km apart: the square of terrain the viewer fits to
    // its view.
    std::string flat = write("flat.grd", Grid(21, 21, std::vector<float>(21 * 21, 100), 1000));
    std::string zeros = write("zeros.grd", Grid(21, 21, std::vector<float>(21 * 21, 0), 1000));
    std::string small = write("small.grd", Grid(5, 5, std::vector<float>(25, 100), 1000));

    std::string write(const std::string& name, const Grid& g) const { return dir.write(name, g.text()); }
    std::string out(const std::string& name) const { return dir.path + "/" + name; }
};
const Files& files()
{
    static const Files f;
    return f;
}

// The box around the pixels that are not background.
struct Box {
    int x0, y0, x1, y1;
};
Box terrainBox(const Image& p)
{
    Box b{p.w, p.h, -1, -1};
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            if (!isBackground(p.at(x, y)))
                b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
    return b;
}

TEST_F(ViewerTest, ALargerWindowGivesTheViewerItsRoomAndThePictureKeepsItsProportions)
{
    const Files& f = files();
    ASSERT_TRUE(load(f.flat));
    // The terrain's extent is all that is not background: no legend in
    // the corner.
    session->requestSwitch(ViewSwitch::legend, false, Needs::nothing);
    const Box start = terrainBox(grab());
    // The user drags the window's corner out: 200 more across, 100 more down.
    win().resize(win().x(), win().y(), 1050, 836);
    settle();
    ASSERT_TRUE(viewer().w() == 850 && viewer().h() == 725)
        << "the viewer did not take the room: " << viewer().w() << " x " << viewer().h();
    const Image screen = grab();
    ASSERT_TRUE(screen.w == 850 && screen.h == 725);
    const Box b = terrainBox(screen);
    EXPECT_NEAR((b.x0 + b.x1) / 2.0, 850 / 2.0, 2) << "the terrain is not centred across the larger viewer";
    EXPECT_NEAR((b.y0 + b.y1) / 2.0, 725 / 2.0, 2) << "the terrain is not centred down the larger viewer";
    EXPECT_NEAR(b.x1 - b.x0, b.y1 - b.y0, 2) << "the square terrain is stretched";
    EXPECT_NEAR(b.y1 - b.y0, (start.y1 - start.y0) * 725.0 / 625, 3)
        << "the terrain does not grow with the viewer's shorter side";
    EXPECT_TRUE(isBackground(screen.at(849, 724)) && isBackground(screen.at(0, 0)))
        << "the picture does not reach the viewer's corners";

    // --image of the viewer's size and "Save Image..." both give this picture.
    const std::string out = f.out("large.png");
    Outcome r = runWithoutDisplay({"--image", out, "--size", "850", "725", f.flat});
    ASSERT_EQ(r.status, 0) << r;
    Image file = decodePng(out);
    ASSERT_TRUE(file.w == 850 && file.h == 725) << "--image at " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file, 1, 0, 0, 850, 725), 0) << "--image of the viewer's size shows another picture";
    const std::string saved = f.out("saved_large.png");
    SaveChooserAnswer chooser(saved);
    entry(SAVE_IMAGE).do_callback(win().menuBar());
    file = decodePng(saved);
    ASSERT_TRUE(file.w == 850 && file.h == 725) << "saved at " << file.w << " x " << file.h;
    EXPECT_EQ(differing(grab(), file, 1, 0, 0, 850, 725), 0) << "the saved picture is not the larger viewer's";
    std::filesystem::copy_file(saved, std::string(OROLITH_SHOT_DIR) + "/save_image_larger_window.png",
                               std::filesystem::copy_options::overwrite_existing);
}

TEST(ImageCli, SizeScalesThePictureAndKeepsItsProportions)
{
    const Files& f = files();
    Box box650{};
    const struct {
        int w, h;
    } sizes[] = {{650, 650}, {1300, 650}, {650, 1300}, {325, 325}, {400, 300}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
        const std::string out = f.out("sized.png");
        Outcome r = runWithoutDisplay({"--image", out, "--size", std::to_string(s.w), std::to_string(s.h), f.flat});
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_EQ(r.out, "") << "standard output stays free of progress" << r;
        const Image p = decodePng(out);
        ASSERT_EQ(p.w, s.w);
        ASSERT_EQ(p.h, s.h);
        for (auto [x, y] : {std::pair{0, 0}, {s.w - 1, s.h - 1}})
            EXPECT_TRUE(isBackground(p.at(x, y))) << "pale blue corner " << x << "," << y;
        const Box b = terrainBox(p);
        if (s.w == 650 && s.h == 650)
            box650 = b;
        const double scale = std::min(s.w, s.h) / 650.0;
        const double side650 = box650.x1 - box650.x0;
        EXPECT_NEAR(b.x1 - b.x0, side650 * scale, 2) << "terrain width";
        EXPECT_NEAR(b.y1 - b.y0, side650 * scale, 2) << "terrain height: a square grid stays square";
        EXPECT_NEAR((b.x0 + b.x1) / 2.0, s.w / 2.0, 2) << "centred across";
        EXPECT_NEAR((b.y0 + b.y1) / 2.0, s.h / 2.0, 2) << "centred down";
    }
}

TEST(ImageCli, BadArgumentsAreUsageErrorsAndWriteNothing)
{
    const Files& f = files();
    const std::string out = f.out("never.png");
    const std::vector<std::vector<std::string>> cases = {
        {"--image"},
        {"--image", f.flat},
        {"--image", f.out("picture.jpg"), f.flat},
        {"--image", out, f.flat, f.flat, f.flat},
        {"--image", out, "--scheme", "sepia", f.flat},
        {"--image", out, f.flat, "--scheme"},
        {"--image", out, "--scheme", "elevdiff", f.flat},
        {"--image", out, "--scheme=heights", f.flat},
        {"--image", out, "--size", "0", "650", f.flat},
        {"--image", out, "--size", "650", "8193", f.flat},
        {"--image", out, "--size", "650", f.flat},
        {"--image", out, "--dpi", "300", f.flat},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const std::string& a : args)
            shown += " " + (a.rfind(f.dir.path, 0) == 0 ? a.substr(f.dir.path.size() + 1) : a);
        Outcome r = runWithoutDisplay(args);
        EXPECT_EQ(r.status, 2) << shown << r;
        EXPECT_NE(r.err.find("Try 'orolith --help'"), std::string::npos) << shown << r;
        EXPECT_FALSE(std::ifstream(out)) << shown << " wrote a file";
    }
    // The bounds themselves are allowed.
    Outcome edge = runWithoutDisplay({"--image", f.out("edge.png"), "--scheme=ramp", "--size", "1", "8192", f.small});
    EXPECT_EQ(edge.status, 0) << edge;
}

TEST(ImageCli, GridsAndFilesThatGiveNoPicture)
{
    const Files& f = files();
    const std::string out = f.out("none.png"), missing = f.out("absent.grd");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"--image", out, missing}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--image", out, "--scheme", "elevdiff", f.flat, missing}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--image", out, f.flat, f.small}, 1, "Grid sizes do not match"},
        {{"--image", out, "--scheme", "heights", f.flat, f.zeros}, 1, "contour interval"},
        {{"--image", f.out("no/folder/x.png"), f.flat}, 1, "ERROR: cannot write " + f.out("no/folder/x.png")},
    };
    for (const auto& c : cases) {
        Outcome r = runWithoutDisplay(c.args);
        EXPECT_EQ(r.status, c.status) << r;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r;
        EXPECT_FALSE(std::ifstream(out)) << "a file was written";
    }
}

TEST(ImageCli, WithoutOffscreenGLOnlyTheImageModeFails)
{
    // The EGL library finds no vendor (Mesa's EGL missing): --image says
    // so, and the modes that do not draw still run.
    const Files& f = files();
    setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", 1);
    const std::string out = f.out("noegl.png");
    Outcome image = runWithoutDisplay({"--image", out, f.flat});
    Outcome report = runWithoutDisplay({"--report", f.flat});
    unsetenv("__EGL_VENDOR_LIBRARY_FILENAMES");
    EXPECT_EQ(image.status, 1) << image;
    EXPECT_NE(image.err.find("ERROR: cannot draw the picture off screen"), std::string::npos) << image;
    EXPECT_NE(image.err.find("libegl-mesa0"), std::string::npos) << "names the package to install" << image;
    EXPECT_FALSE(std::ifstream(out));
    EXPECT_EQ(report.status, 0) << report;
}

std::vector<unsigned char> picture(int w, int h, unsigned seed)
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        rgb[i] = static_cast<unsigned char>(seed >> 16);
    }
    return rgb;
}

TEST(PngFile, ReadsBackAsWritten)
{
    struct Case {
        const char* what;
        int w, h;
        std::vector<unsigned char> rgb;
    };
    std::vector<unsigned char> flat(200 * 150 * 3, 0);
    for (std::size_t i = 0; i < flat.size(); i += 3)
        flat[i] = 230, flat[i + 1] = 230, flat[i + 2] = 255;
    std::vector<unsigned char> ramp(256 * 3 * 2);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<unsigned char>(i / 3); // every value in every channel, neighbours differing by 1
    const Case cases[] = {
        {"one pixel", 1, 1, {12, 200, 255}},    {"rows of an odd length", 7, 5, picture(7, 5, 3)},
        {"one column", 1, 9, picture(1, 9, 4)}, {"noise", 300, 200, picture(300, 200, 5)},
        {"a flat background", 200, 150, flat},  {"every byte value", 256, 2, ramp},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.path + "/picture.png";
        std::string error;
        ASSERT_TRUE(writePng(path, c.w, c.h, c.rgb, error)) << c.what << ": " << error;
        const Image back = decodePng(path);
        EXPECT_EQ(back.w, c.w) << c.what;
        EXPECT_EQ(back.h, c.h) << c.what;
        EXPECT_TRUE(back.rgb == c.rgb) << c.what << ": other pixels read back";
    }
    const std::vector<unsigned char> png = encodePng(200, 150, flat);
    EXPECT_LT(png.size(), 2000u) << "a flat picture of 90000 bytes is packed";
}

TEST(PngFile, MalformedPicturesAndUnwritablePathsAreRefused)
{
    const std::vector<unsigned char> six(6, 9);
    const struct {
        const char* what;
        int w, h;
        std::size_t bytes;
    } bad[] = {
        {"no width", 0, 2, 0},
        {"negative height", 2, -1, 6},
        {"a byte short", 2, 1, 5},
        {"a byte over", 2, 1, 7},
        {"a side too long", 32768, 1, 32768 * 3},
    };
    for (const auto& b : bad)
        EXPECT_TRUE(encodePng(b.w, b.h, std::vector<unsigned char>(b.bytes, 9)).empty()) << b.what;
    EXPECT_FALSE(encodePng(2, 1, six).empty()) << "the same bytes in the right shape";

    ScratchDir dir;
    std::string error;
    const std::string shortRows = dir.path + "/short.png";
    EXPECT_FALSE(writePng(shortRows, 3, 1, six, error));
    EXPECT_NE(error.find(shortRows), std::string::npos) << error;
    EXPECT_FALSE(std::ifstream(shortRows)) << "nothing written for a malformed picture";
    const std::string nowhere = dir.path + "/no/such/folder/x.png";
    EXPECT_FALSE(writePng(nowhere, 2, 1, six, error));
    EXPECT_NE(error.find(nowhere), std::string::npos) << error;
}

} // namespace
} // namespace gui_test
