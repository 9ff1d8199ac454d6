// Loading through the viewer: a refused comparison and a large grid dragged.
#include "tests/gui/viewer_fixtures.h"

namespace viewer_test {
namespace {

constexpr float KM = 1000;

int backgroundPixels(const Image& img, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += near(img.at(x, y), 230, 230, 255, 2) ? 1 : 0;
    return n;
}

TEST_F(ViewerTest, SizeMismatchLeavesNoStaleMesh)
{
    std::string small = writeGrid("small.grd", 5, 5, KM, [](int, int) { return 100.0f; });
    std::string big = writeGrid("big.grd", 9, 9, KM, [](int r, int c) { return 100.0f + r * c; });
    ASSERT_TRUE(load(small));
    grab();
    // The mesh of the 5 x 5 grid must not be drawn with the 9 x 9 heights.
    EXPECT_FALSE(load(big, small, DEM)) << "sizes differ";
    MyWindow::cont(nullptr);
    MyWindow::Colors(nullptr);
    MyWindow::prof();
    Image img = grab();
    EXPECT_TRUE(near(img.at(325, 300), 230, 230, 255, 2)) << "nothing but background after a refused load; " << keep(img);

    ASSERT_TRUE(load(big));
    img = grab();
    EXPECT_FALSE(near(img.at(325, 300), 230, 230, 255, 2)) << "the next good load shows terrain; " << keep(img);
}

TEST_F(ViewerTest, DraggingALargeGridThinsTheMesh)
{
    std::string dem = writeGrid("large.grd", 500, 500, KM, [](int r, int c) { return 100.0f + (r + c) % 7; });
    ASSERT_TRUE(load(dem));
    lighting = 0;
    Image full = grab();
    EXPECT_EQ(backgroundPixels(full, 200, 200, 450, 400), 0) << "the whole surface; " << keep(full);
    lButtonState = true;
    Image thin = grab();
    EXPECT_GT(backgroundPixels(thin, 200, 200, 450, 400), 1000) << "every other triangle while dragging; " << keep(thin);
    lButtonState = false;
    Image back = grab();
    EXPECT_EQ(backgroundPixels(back, 200, 200, 450, 400), 0) << "full mesh after the release; " << keep(back);
}

} // namespace
} // namespace viewer_test
