// Slope and aspect stencils on small grids written here.
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "render/slopeaspect.h"

namespace {

struct Grid {
    int rows, cols;
    std::vector<float> h;
    Grid(int r, int c, const std::function<float(int, int)>& f) : rows(r), cols(c), h(r * c)
    {
        for (int i = 0; i < r; ++i)
            for (int j = 0; j < c; ++j)
                h[i * c + j] = f(i, j);
    }
    float operator()(int r, int c) const { return h.at(r * cols + c); }
};

// Cells away from the border band where every stencil applies.
template <class F>
void forInner(const Grid& g, F f)
{
    for (int i = 3; i < g.rows - 2; ++i)
        for (int j = 3; j < g.cols - 2; ++j)
            f(i, j);
}

TEST(RoundDeg, SnapsToMultiplesOf45WithLopsidedBounds)
{
    EXPECT_EQ(roundDeg(0), 0);
    EXPECT_EQ(roundDeg(22), 0);
    EXPECT_EQ(roundDeg(22.01f), 45);
    EXPECT_EQ(roundDeg(-22), -45);
    EXPECT_EQ(roundDeg(-21.9f), 0);
    EXPECT_EQ(roundDeg(67), 45);
    EXPECT_EQ(roundDeg(-67), -90);
    EXPECT_EQ(roundDeg(89.9f), 90);
    EXPECT_EQ(roundDeg(112), 90);
    EXPECT_EQ(roundDeg(-70), -90);
    EXPECT_EQ(roundDeg(-111.9f), -90);
    EXPECT_EQ(roundDeg(-112), -111) << "-112 is outside the table";
    EXPECT_EQ(roundDeg(130.2f), 130) << "outside the table: rounded half up";
    EXPECT_EQ(roundDeg(-130.7f), -130);
}

struct Plane {
    const char* name;
    std::function<float(int, int)> height;
    float aspect;
    ColorRGB color;
    int gradient;
};

TEST(Aspect, TiltedPlanesFaceTheirDownhillDirection)
{
    const Plane planes[] = {
        {"falls east", [](int, int c) { return -c * 1.0f; }, 90, {1, 0, 0}, 0},
        {"falls west", [](int, int c) { return c * 1.0f; }, 270, {0, 0, 1}, 0},
        {"falls north", [](int r, int) { return r * 1.0f; }, 0, {1, 1, 1}, 90},
        {"falls south", [](int r, int) { return -r * 1.0f; }, 180, {0, 0, 0}, 90},
        {"falls north-east", [](int r, int c) { return r * 1.0f - c; }, 45, {1, 0.5f, 0.5f}, -45},
        {"falls south-west", [](int r, int c) { return c * 1.0f - r; }, 225, {0, 0, 0.5f}, -45},
        {"falls south-east", [](int r, int c) { return -1.0f * r - c; }, 135, {0.5f, 0, 0}, 45},
    };
    for (const Plane& p : planes) {
        Grid g(9, 9, p.height);
        forInner(g, [&](int i, int j) {
            float a = aspectDeg(g, g.rows, g.cols, i, j);
            EXPECT_NEAR(a, p.aspect, 1e-3) << p.name << " at " << i << "," << j;
            ColorRGB c = slopeColor(a);
            EXPECT_NEAR(c.r, p.color.r, 1e-4) << p.name;
            EXPECT_NEAR(c.g, p.color.g, 1e-4) << p.name;
            EXPECT_NEAR(c.b, p.color.b, 1e-4) << p.name;
            EXPECT_EQ(gradientDirection(g, g.rows, g.cols, i, j), p.gradient) << p.name;
        });
    }
}

TEST(Aspect, FlatGroundAndTheBorderBandHaveNone)
{
    Grid flat(8, 8, [](int, int) { return 500.0f; });
    forInner(flat, [&](int i, int j) { EXPECT_EQ(aspectDeg(flat, 8, 8, i, j), NOSLOPE); });
    EXPECT_EQ(gradientDirection(flat, 8, 8, 4, 4), 90) << "no column change reads as 90";

    Grid tilted(8, 8, [](int, int c) { return -c * 1.0f; });
    for (int k = 0; k < 8; ++k) {
        for (int band : {0, 1, 2, 6, 7}) {
            EXPECT_EQ(aspectDeg(tilted, 8, 8, band, k), NOSLOPE) << "row " << band;
            EXPECT_EQ(aspectDeg(tilted, 8, 8, k, band), NOSLOPE) << "column " << band;
            EXPECT_EQ(gradientDirection(tilted, 8, 8, band, k), -1);
        }
    }
    ColorRGB grey = slopeColor(NOSLOPE);
    EXPECT_EQ(grey, (ColorRGB{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(slopeColor(360.0f), grey) << "360 is outside the wheel";
}

// A step between columns 3 and 4 of 7 x 7 cells of size 10.
Grid stepGrid(float step)
{
    return Grid(7, 7, [step](int, int c) { return c >= 4 ? step : 0.0f; });
}

TEST(Steepness, ThresholdAngleTowardsTheGradientNeighbours)
{
    Grid steep = stepGrid(1.77f); // atan(0.177) = 10.04 degrees
    EXPECT_TRUE(steepCell(steep, 7, 7, 10.0f, 10.0f, 3, 3));
    Grid gentle = stepGrid(1.76f); // 9.98 degrees
    EXPECT_FALSE(steepCell(gentle, 7, 7, 10.0f, 10.0f, 3, 3));
    EXPECT_TRUE(steepCell(gentle, 7, 7, 10.0f, 9.9f, 3, 3)) << "threshold from the open dialog";
    Grid down(7, 7, [](int, int c) { return c <= 2 ? 1.77f : 0.0f; });
    EXPECT_TRUE(steepCell(down, 7, 7, 10.0f, 10.0f, 3, 3)) << "a fall counts like a rise";
}

TEST(Steepness, RowGradientOfEitherSignLooksUpAndDown)
{
    Grid rising(7, 7, [](int r, int) { return r >= 4 ? 5.0f : 0.0f; });
    Grid falling(7, 7, [](int r, int) { return r >= 4 ? -5.0f : 0.0f; });
    for (const Grid* g : {&rising, &falling}) {
        int dir = gradientDirection(*g, 7, 7, 3, 3);
        EXPECT_TRUE(dir == 90 || dir == -90) << dir;
        EXPECT_TRUE(steepCell(*g, 7, 7, 10.0f, 10.0f, 3, 3));
    }
}

TEST(Steepness, BorderCellsAreNeverSteep)
{
    Grid cliff(8, 8, [](int, int c) { return c * 1000.0f; });
    for (int k = 0; k < 8; ++k) {
        for (int band : {0, 1, 2, 6, 7}) {
            EXPECT_FALSE(steepCell(cliff, 8, 8, 10.0f, 10.0f, band, k)) << "row " << band;
            EXPECT_FALSE(steepCell(cliff, 8, 8, 10.0f, 10.0f, k, band)) << "column " << band;
        }
    }
    EXPECT_TRUE(steepCell(cliff, 8, 8, 10.0f, 10.0f, 3, 3));
    EXPECT_FALSE(steepCell(cliff, 3, 3, 10.0f, 10.0f, 1, 1)) << "tiny grid";
}

} // namespace
