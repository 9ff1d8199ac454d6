// The edges of the surface as --image draws it (the viewer's own frame):
// every triangle takes its colour from its own cell, so a ramp rising from
// west to east ends red at its eastern edge, not in the western edge's
// green; and an absent cell is a hole that shows the background.
#include <gtest/gtest.h>

#include "dialogs/names.h"
#include "tests/image/png_decode.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

const Pixel BACKGROUND_RGB{229, 229, 255}; // the frame's clear colour, 0.9 0.9 1

bool background(const Pixel& p) { return near(p, BACKGROUND_RGB.r, BACKGROUND_RGB.g, BACKGROUND_RGB.b, 3); }

// The first and last pixels of row y that are not the background.
std::pair<int, int> surfaceSpan(const Image& image, int y)
{
    int first = -1, last = -1;
    for (int x = 0; x < image.w; ++x)
        if (!background(image.at(x, y))) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

TEST(SurfaceEdges, AWestEastRampEndsInItsOwnColourAtTheEastEdge)
{
    ScratchDir dir;
    Grid ramp = filled(12, 24, 0);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 24; ++c)
            ramp.at(r, c) = 10.0f * c;
    const std::string grid = dir.write("ramp.grd", ramp.text()), png = dir.path + "/ramp.png";
    const Outcome r = runWithoutDisplay({"--image", png, "--scheme", "ramp", grid});
    ASSERT_EQ(r.status, 0) << r;
    const Image image = decodePng(png);
    int rows = 0;
    for (int y = image.h / 3; y < 2 * image.h / 3; y += 7) {
        const auto [first, last] = surfaceSpan(image, y);
        if (first < 0)
            continue;
        ++rows;
        const Pixel west = image.at(first + 2, y), east = image.at(last - 2, y);
        EXPECT_GT(west.g, west.r) << "row " << y << ": the low western edge is green, not " << west;
        EXPECT_GT(east.r, east.g) << "row " << y << ": the high eastern edge took a colour from the west: " << east;
        EXPECT_GT(east.r, 100) << "row " << y << ": " << east;
    }
    EXPECT_GT(rows, 10) << "the picture shows no surface";
}

TEST(SurfaceEdges, AnAbsentBlockIsAHoleShowingTheBackground)
{
    ScratchDir dir;
    Grid g = filled(20, 20, 0);
    g.extraLine = "NODATA_value -9999";
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 20; ++c)
            g.at(r, c) = r >= 8 && r < 12 && c >= 8 && c < 12 ? -9999 : 100.0f + r + c;
    const std::string grid = dir.write("holed.grd", g.text()), png = dir.path + "/holed.png";
    const Outcome r = runWithoutDisplay({"--image", png, "--scheme", "ramp", grid});
    ASSERT_EQ(r.status, 0) << r;
    const Image image = decodePng(png);
    const int middle = image.h / 2;
    const auto [first, last] = surfaceSpan(image, middle);
    ASSERT_TRUE(first >= 0 && last > first) << "no surface in the middle row";
    EXPECT_TRUE(background(image.at(image.w / 2, middle)))
        << "the absent block is drawn: " << image.at(image.w / 2, middle);
    EXPECT_FALSE(background(image.at(first + (last - first) / 8, middle))) << "the surface around the hole is missing";
    // No dark seam around the hole: an absent height (stored as 0) colours
    // no triangle.
    for (int x = first; x <= last; ++x) {
        const Pixel p = image.at(x, middle);
        EXPECT_TRUE(background(p) || p.r + p.g > 60) << "x " << x << ": a triangle coloured by an absent height " << p;
    }
}

} // namespace
