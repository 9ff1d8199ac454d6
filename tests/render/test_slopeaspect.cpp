// Slope and aspect stencils on small grids written here.
#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "render/slopeaspect.h"

namespace {

struct Grid {
    int rows, cols;
    std::function<float(int, int)> h;
    float operator()(int r, int c) const { return h(r, c); }
};

TEST(RoundDeg, SnapsToMultiplesOf45WithLopsidedBounds)
{
    const std::pair<float, int> cases[] = {
        {0, 0},      {22, 0},      {22.01f, 45}, {-22, -45},   {-21.9f, 0},       {67, 45},
        {-67, -90},  {89.9f, 90},  {112, 90},    {-70, -90},   {-111.9f, -90},
        {-112, -111}, {130.2f, 130}, {-130.7f, -130}, // outside the table: rounded half up
    };
    for (auto [angle, snapped] : cases)
        EXPECT_EQ(roundDeg(angle), snapped) << angle;
}

TEST(Aspect, TiltedPlanesFaceTheirDownhillDirection)
{
    struct Plane {
        const char* name;
        std::function<float(int, int)> h;
        float aspect;
        ColorRGB color;
        int gradient;
    };
    const Plane planes[] = {
        {"east", [](int, int c) { return -c * 1.0f; }, 90, {1, 0, 0}, 0},
        {"west", [](int, int c) { return c * 1.0f; }, 270, {0, 0, 1}, 0},
        {"north", [](int r, int) { return r * 1.0f; }, 0, {1, 1, 1}, 90},
        {"south", [](int r, int) { return -r * 1.0f; }, 180, {0, 0, 0}, 90},
        {"north-east", [](int r, int c) { return r * 1.0f - c; }, 45, {1, 0.5f, 0.5f}, -45},
        {"south-west", [](int r, int c) { return c * 1.0f - r; }, 225, {0, 0, 0.5f}, -45},
        {"south-east", [](int r, int c) { return -1.0f * r - c; }, 135, {0.5f, 0, 0}, 45},
    };
    for (const Plane& p : planes) {
        Grid g{9, 9, p.h};
        for (int i = 3; i < 7; ++i)
            for (int j = 3; j < 7; ++j) {
                float a = aspectDeg(g, 9, 9, i, j);
                EXPECT_NEAR(a, p.aspect, 1e-3) << "falls " << p.name << " at " << i << "," << j;
                ColorRGB c = slopeColor(a);
                EXPECT_TRUE(std::fabs(c.r - p.color.r) < 1e-4 && std::fabs(c.g - p.color.g) < 1e-4 &&
                            std::fabs(c.b - p.color.b) < 1e-4) << "falls " << p.name;
                EXPECT_EQ(gradientDirection(g, 9, 9, i, j), p.gradient) << "falls " << p.name;
            }
    }
}

TEST(Aspect, FlatGroundAndTheBorderBandHaveNone)
{
    Grid flat{8, 8, [](int, int) { return 500.0f; }};
    EXPECT_EQ(aspectDeg(flat, 8, 8, 4, 4), NOSLOPE);
    EXPECT_EQ(gradientDirection(flat, 8, 8, 4, 4), 90) << "no column change reads as 90";
    Grid tilted{8, 8, [](int, int c) { return -c * 1.0f; }};
    for (int k = 0; k < 8; ++k)
        for (int band : {0, 1, 2, 6, 7}) {
            EXPECT_EQ(aspectDeg(tilted, 8, 8, band, k), NOSLOPE) << "row " << band;
            EXPECT_EQ(aspectDeg(tilted, 8, 8, k, band), NOSLOPE) << "column " << band;
            EXPECT_EQ(gradientDirection(tilted, 8, 8, band, k), -1);
        }
    EXPECT_EQ(slopeColor(NOSLOPE), (ColorRGB{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(slopeColor(360.0f), (ColorRGB{0.5f, 0.5f, 0.5f})) << "360 is outside the wheel";
}

TEST(Steepness, ThresholdAngleTowardsTheGradientNeighbours)
{
    // A step between columns 3 and 4 of cells of size 10.
    auto step = [](float rise) { return Grid{7, 7, [rise](int, int c) { return c >= 4 ? rise : 0.0f; }}; };
    EXPECT_TRUE(steepCell(step(1.77f), 7, 7, 10.0f, 10.0f, 3, 3)) << "atan(0.177) = 10.04 degrees";
    EXPECT_FALSE(steepCell(step(1.76f), 7, 7, 10.0f, 10.0f, 3, 3)) << "9.98 degrees";
    EXPECT_TRUE(steepCell(step(1.76f), 7, 7, 10.0f, 9.9f, 3, 3)) << "threshold from the open dialog";
    Grid down{7, 7, [](int, int c) { return c <= 2 ? 1.77f : 0.0f; }};
    EXPECT_TRUE(steepCell(down, 7, 7, 10.0f, 10.0f, 3, 3)) << "a fall counts like a rise";
    for (float rise : {5.0f, -5.0f}) {
        Grid rows{7, 7, [rise](int r, int) { return r >= 4 ? rise : 0.0f; }};
        EXPECT_EQ(std::abs(gradientDirection(rows, 7, 7, 3, 3)), 90) << rise;
        EXPECT_TRUE(steepCell(rows, 7, 7, 10.0f, 10.0f, 3, 3)) << "row gradient of either sign, " << rise;
    }
}

} // namespace
