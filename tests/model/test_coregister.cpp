// Co-registration: the directions of the resampling, the robust aspect
// fit, and the recovery of a known shift and bias on a fractal surface
// whose moved copy is evaluated exactly.
#include <gtest/gtest.h>

#include <cmath>

#include "model/coregister.h"
#include "model/metrics.h"
#include "tests/model/fractal_surface.h"

namespace {

TEST(Coregister, BilinearSamplesAndAbsentPoints)
{
    // Row 0 northern; the point of row 0, column 1 is absent.
    const std::vector<float> grid = {10, 0, 30, 40, 50, 60, 70, 80, 90};
    struct {
        const char* what;
        double row, col, want;
    } cases[] = {
        {"a node", 1, 2, 60},          {"between columns", 1, 0.25, 42.5},
        {"between rows", 1.5, 0, 55},  {"inside a cell", 1.5, 1.5, 70},
        {"the last row and column", 2, 2, 90}, {"beyond the east edge", 1, 2.001, 0},
        {"north of row 0", -0.001, 2, 0},      {"an absent neighbour that takes part", 0.5, 0.5, 0},
        {"an absent neighbour of weight 0", 0.5, 0, 25},
    };
    for (const auto& k : cases)
        EXPECT_NEAR(bilinearAt(grid.data(), 3, 3, k.row, k.col), k.want, 1e-12) << k.what;

    // Moved back one cell east, a point takes its eastern neighbour's value;
    // one cell north, its northern neighbour's.
    EXPECT_EQ(shiftBack(grid.data(), 3, 3, 1, 0), (std::vector<float>{0, 30, 0, 50, 60, 0, 80, 90, 0}));
    EXPECT_EQ(shiftBack(grid.data(), 3, 3, 0, 1), (std::vector<float>{0, 0, 0, 10, 0, 30, 40, 50, 60}));
}

TEST(Coregister, AspectFitRecoversTheCosineDespiteBlunders)
{
    std::vector<double> ca, sa, y;
    for (int i = 0; i < 360; ++i) {
        double a = i * 3.14159265358979323846 / 180;
        ca.push_back(std::cos(a));
        sa.push_back(std::sin(a));
        // Blunders far out, and some within the spread of y that only the
        // residuals of a first fit reveal.
        y.push_back(-4 * std::cos(a) + 2.5 * std::sin(a) + 0.7 + (i % 20 == 3 ? 60 : i % 20 == 11 ? 8 : 0));
    }
    AspectFit fit = fitAspect(ca.data(), sa.data(), y.data(), y.size());
    ASSERT_TRUE(fit.ok);
    EXPECT_NEAR(fit.north, -4, 1e-9) << "north term";
    EXPECT_NEAR(fit.east, 2.5, 1e-9) << "east term";
    EXPECT_NEAR(fit.c, 0.7, 1e-9) << "constant";
    EXPECT_LE(fit.used, 324u) << "the 36 blunders are left out";

    // One aspect only: the shift across it cannot be told.
    std::vector<double> c1(50, 1.0), s1(50, 0.0), y1(50, 2.0);
    EXPECT_FALSE(fitAspect(c1.data(), s1.data(), y1.data(), 50).ok);
}

TEST(Coregister, RecoversAKnownShiftAndBiasOnAFractalSurface)
{
    const int rows = 150, cols = 170;
    enum Damage { none, blunders, voids }; // blunders: 1 % off by 40, 1 % absent; voids: 60 % absent
    struct {
        double east, north, bias;
        Damage damage;
    } cases[] = {{0.3, -0.6, 1.5, none}, {0.3, -0.6, 1.5, blunders}, {-1.7, 1.2, -3.0, blunders}, {0, 0, 0, none},
                 {0.3, -0.6, 1.5, voids}};
    for (const auto& k : cases) {
        SCOPED_TRACE("shift (" + std::to_string(k.east) + ", " + std::to_string(k.north) + "), bias " +
                     std::to_string(k.bias) + ", damage " + std::to_string(k.damage));
        FractalSurface surface(3);
        std::vector<float> dem = surface.grid(rows, cols);
        std::vector<float> comp = surface.grid(rows, cols, k.east, k.north, k.bias);
        for (std::size_t i = 0; i < comp.size(); ++i) {
            if (k.damage == blunders && i % 50 == 0)
                comp[i] = i % 100 ? comp[i] + 40 : 0;
            if (k.damage == voids && i % cols < 0.6 * cols) // the western part
                comp[i] = 0;
        }

        Coregistration got = coregister(dem.data(), comp.data(), rows, cols, 10.0);
        ASSERT_TRUE(got.ok) << got.why;
        EXPECT_NEAR(got.shiftEast, k.east, 0.05) << "east, cells";
        EXPECT_NEAR(got.shiftNorth, k.north, 0.05) << "north, cells";
        EXPECT_NEAR(got.bias, k.bias, 0.05) << "bias";
        EXPECT_TRUE(got.converged) << got.iterations << " iterations";

        std::vector<float> back = shiftBack(comp.data(), rows, cols, got.shiftEast, got.shiftNorth);
        EXPECT_EQ(got.shifted, back) << "the grid returned is the comparison moved back";
        AccuracyReport after = accuracyReport(dem.data(), back.data(), rows, cols, 10.0, defaultSlopeBounds());
        EXPECT_EQ(after.all.median, -got.bias) << "the bias is the median left after the shift";
        EXPECT_LT(after.all.nmad, 0.2) << "moved back, the grids differ by little more than the bias";
    }
}

} // namespace
