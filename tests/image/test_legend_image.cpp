// `orolith --image ... --legend`: the scheme's legend in the picture's
// bottom left corner (its frame, its white box, the class swatches or the
// ramp's ends), the rest of the picture as without it; without --legend
// the picture is as it always was.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "dialogs/names.h"
#include "render/legend.h"
#include "tests/image/png_decode.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

bool frameGrey(const Pixel& p) { return near(p, 89, 89, 89, 3); }

// The legend's box found from the picture's bottom left corner: its frame
// starts 10 pixels in from both sides. x0, y0 from the top left.
struct Box {
    int x0 = 0, y0 = 0, w = 0, h = 0;
};
Box legendBoxIn(const Image& img)
{
    Box b;
    const int x = 10, bottom = img.h - 11;
    if (!frameGrey(img.at(x, bottom)))
        return b;
    while (frameGrey(img.at(x + b.w, bottom)))
        ++b.w;
    while (frameGrey(img.at(x, bottom - b.h)))
        ++b.h;
    b.x0 = x;
    b.y0 = bottom - b.h + 1;
    return b;
}

int countOf(const Image& img, const Box& b, const ColorRGB& c, int tol = 2)
{
    int n = 0;
    for (int y = b.y0; y < b.y0 + b.h; ++y)
        for (int x = b.x0; x < b.x0 + b.w; ++x)
            n += near(img.at(x, y), std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255), tol);
    return n;
}

float valley(int r, int c) { return 300.0f + 0.2f * (r - 12) * (r - 12) + 0.3f * (c - 12) * (c - 12); }
float valleyShifted(int r, int c) { return valley(r, c) + static_cast<float>((r * 3 + c) % 11) * 0.5f - 1.0f; }

TEST(ImageLegend, ClassesInTheCornerWithLegendAndNothingWithout)
{
    ScratchDir dir;
    const std::string dem = writeGrid("legend_dem.grd", 25, 25, 100, valley);
    const std::string comp = writeGrid("legend_comp.grd", 25, 25, 100, valleyShifted);
    const std::string with = dir.path + "/with.png", without = dir.path + "/without.png";
    Outcome r = runWithoutDisplay({"--image", with, "--scheme", "elevdiff", dem, "--legend", comp});
    ASSERT_EQ(r.status, 0) << r;
    r = runWithoutDisplay({"--image", without, "--scheme", "elevdiff", dem, comp});
    ASSERT_EQ(r.status, 0) << r;
    const Image a = decodePng(with), b = decodePng(without);
    ASSERT_TRUE(a.w == 650 && a.h == 650 && b.w == 650 && b.h == 650);

    const Box box = legendBoxIn(a);
    EXPECT_GE(box.w, 140) << "no legend frame in the corner";
    EXPECT_LE(box.w, 200);
    EXPECT_GE(box.h, 100) << "a title and five classes";
    // The white box: bright pixels inside the frame.
    int white = 0;
    for (int y = box.y0; y < box.y0 + box.h; ++y)
        for (int x = box.x0; x < box.x0 + box.w; ++x)
            white += a.at(x, y).r > 215 && a.at(x, y).g > 215 && a.at(x, y).b > 215;
    EXPECT_GT(white, box.w * box.h / 3) << "the box is not white";
    // Over the pale blue background, 85 % white lets a little blue through.
    int overBackground = 0, blended = 0;
    for (int y = box.y0 + 1; y < box.y0 + box.h - 1; ++y)
        for (int x = box.x0 + 1; x < box.x0 + box.w - 1; ++x)
            if (near(b.at(x, y), 229, 229, 255, 1)) {
                ++overBackground;
                blended += near(a.at(x, y), 251, 251, 255, 2);
            }
    ASSERT_GT(overBackground, 500) << "the test wants the box partly over the background";
    EXPECT_GT(blended, overBackground / 2) << "the box is not 85 % white over the background";
    for (const LegendSwatch& s : differenceClassSwatches(1, "m"))
        EXPECT_GE(countOf(a, box, s.color), 80) << "no swatch for " << s.label;

    EXPECT_EQ(legendBoxIn(b).w, 0) << "a legend without --legend";
    int inside = 0, outside = 0;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x) {
            const bool in = x >= box.x0 && x < box.x0 + box.w && y >= box.y0 && y < box.y0 + box.h;
            const Pixel p = b.at(x, y);
            (in ? inside : outside) += !near(a.at(x, y), p.r, p.g, p.b);
        }
    EXPECT_GT(inside, box.w * box.h / 2);
    EXPECT_EQ(outside, 0) << "--legend changed the picture outside the legend";
}

// The real DEM: its ramp from the lowest height's dark green at the bar's
// bottom to the highest's red at its top.
TEST(ImageLegend, RampOfARealDem)
{
    const std::string dem = std::string(OROLITH_SHARED_DATA_DIR) + "/olinda_dem_utm25s.tif";
    if (!std::filesystem::exists(dem))
        GTEST_SKIP() << dem << " is not here";
    ScratchDir dir;
    const std::string out = dir.path + "/olinda.png";
    const Outcome r = runWithoutDisplay({"--image", out, "--legend", "--scheme", "ramp", dem});
    ASSERT_EQ(r.status, 0) << r;
    const Image img = decodePng(out);
    const Box box = legendBoxIn(img);
    ASSERT_GT(box.w, 0) << "no legend";
    // The bar: 8 pixels in from the frame, below a title row of 20 and 7
    // pixels for the top tick's label; 120 high.
    const int x = box.x0 + 16, top = box.y0 + 35, bottom = top + 119;
    EXPECT_TRUE(near(img.at(x, bottom - 1), 0, 26, 0, 12)) << "the bar's bottom: " << img.at(x, bottom - 1);
    EXPECT_TRUE(near(img.at(x, top + 1), 204, 0, 0, 12)) << "the bar's top: " << img.at(x, top + 1);
}

} // namespace
