// Co-registration to checkpoints: points surveyed on hills that the DEM
// shows moved by a known shift give the shift and the bias back.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "model/pointcoregister.h"

using namespace orolith::model;

namespace {

constexpr int SIDE = 160;
constexpr double CELL = 10;

// Round hills facing every direction.
double hillsAt(double x, double y) { return 40 * std::sin(x / 230.0) * std::cos(y / 190.0) + 0.05 * x; }

struct Hills {
    GridHeader header;
    std::vector<float> heights;
    Hills()
    {
        header.rows = header.cols = SIDE;
        header.xllcorner = 300000;
        header.yllcorner = 9100000;
        header.cellsizeX = header.cellsizeY = CELL;
        for (int r = 0; r < SIDE; ++r)
            for (int c = 0; c < SIDE; ++c)
                heights.push_back(static_cast<float>(hillsAt((c + 0.5) * CELL, (SIDE - r - 0.5) * CELL)));
    }
    GridView view() const { return {heights.data(), nullptr, SIDE, SIDE}; }
    GroundSpacing spacing() const { return {CELL, CELL, false}; }
};

// Points whose heights are those of the DEM `east`, `north` cells away
// (the grids' sense: height(p) = DEM(p - shift) + bias).
std::vector<Checkpoint> shiftedPoints(double east, double north, double bias, int count)
{
    std::mt19937 draw(7);
    std::uniform_real_distribution<double> along(3 * CELL, (SIDE - 3) * CELL);
    std::vector<Checkpoint> points;
    for (int i = 0; i < count; ++i) {
        const double x = along(draw), y = along(draw);
        points.push_back({300000 + x, 9100000 + y, hillsAt(x - east * CELL, y - north * CELL) + bias, ""});
    }
    return points;
}

} // namespace

TEST(PointCoregistration, FindsThePlantedShiftAndBias)
{
    const Hills h;
    struct {
        double east, north, bias;
    } cases[] = {{0.6, -0.4, 1.5}, {-1.2, 0.3, -0.8}, {0, 0, 0.25}};
    for (const auto& k : cases) {
        const PointCoregistration p = coregisterPoints(h.view(), h.header, h.spacing(),
                                                       shiftedPoints(k.east, k.north, k.bias, 3000), {0, 5, 10}, {});
        ASSERT_TRUE(p.shift.ok) << p.shift.why;
        EXPECT_NEAR(p.shift.shiftEast, k.east, 0.05) << k.east << ", " << k.north;
        EXPECT_NEAR(p.shift.shiftNorth, k.north, 0.05) << k.east << ", " << k.north;
        EXPECT_NEAR(p.shift.shiftEastMetres, k.east * CELL, 0.5);
        EXPECT_NEAR(p.shift.bias, k.bias, 0.05);
        EXPECT_FALSE(p.shift.fits.empty());
        if (k.east != 0) {
            EXPECT_TRUE(p.shift.improved);
            EXPECT_LT(p.after.report.all.nmad, 0.2 * p.shift.nmadBefore);
            // The moved points sit where their heights belong.
            EXPECT_NEAR(p.moved[0].x, shiftedPoints(k.east, k.north, k.bias, 1)[0].x - k.east * CELL, 0.5);
        }
    }
}

TEST(PointCoregistration, TooFewPointsOnSlopesIsRefused)
{
    const Hills h;
    std::vector<Checkpoint> few = shiftedPoints(0.5, 0.5, 0, 5);
    few.push_back({0, 0, 0, ""}); // outside
    const PointCoregistration p = coregisterPoints(h.view(), h.header, h.spacing(), few, {0}, {});
    EXPECT_FALSE(p.shift.ok);
    EXPECT_NE(p.shift.why.find("too few checkpoints"), std::string::npos);
}
