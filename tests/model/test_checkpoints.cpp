// Checkpoints against a plane, where bilinear sampling is exact: planted
// offsets come back as the differences, and the figures, NVA and VVA are
// those of the offsets.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/checkpoints.h"

using namespace orolith::model;

namespace {

// 10 rows x 12 columns of 10 m cells, lower-left corner (5000, 8000).
GridHeader planeHeader()
{
    GridHeader h;
    h.rows = 10;
    h.cols = 12;
    h.xllcorner = 5000;
    h.yllcorner = 8000;
    h.cellsizeX = h.cellsizeY = 10;
    return h;
}

// A plane rising 0.2 m a metre toward the east: about 11 degrees.
double planeAt(double x, double y) { return 100 + 0.2 * (x - 5000) + 0.05 * (y - 8000); }

struct Plane {
    GridHeader header = planeHeader();
    std::vector<float> heights;
    std::vector<std::uint8_t> present;
    Plane()
    {
        for (int r = 0; r < header.rows; ++r)
            for (int c = 0; c < header.cols; ++c) {
                const double x = header.xllcorner + (c + 0.5) * 10, y = header.yllcorner + (header.rows - r - 0.5) * 10;
                heights.push_back(static_cast<float>(planeAt(x, y)));
                present.push_back(1);
            }
    }
    GridView view() const { return {heights.data(), present.data(), header.rows, header.cols}; }
};

TEST(Checkpoints, GridPositionIsMeasuredFromTheCellCentres)
{
    const GridHeader h = planeHeader();
    struct {
        double x, y, row, col;
    } cases[] = {{5005, 8095, 0, 0}, {5115, 8005, 9, 11}, {5000, 8100, -0.5, -0.5}, {5060, 8050, 4.5, 5.5}};
    for (const auto& k : cases) {
        const GridPosition p = gridPositionOf(h, k.x, k.y);
        EXPECT_DOUBLE_EQ(p.row, k.row) << k.x << ", " << k.y;
        EXPECT_DOUBLE_EQ(p.col, k.col) << k.x << ", " << k.y;
    }
}

TEST(Checkpoints, PlantedOffsetsGiveTheFiguresNvaAndVva)
{
    Plane plane;
    // Cell (4, 7) absent: points whose interpolation needs it are skipped.
    plane.present[4 * 12 + 7] = 0;
    struct Planted {
        double x, y, offset;
        const char* pointClass;
        PointFate fate;
    } planted[] = {
        {5031.0, 8052.5, 0.10, "ground", PointFate::used},        {5043.7, 8021.2, -0.20, "ground", PointFate::used},
        {5052.5, 8077.0, 0.30, "ground", PointFate::used},        {5020.0, 8040.0, -0.40, "forest", PointFate::used},
        {5088.8, 8033.3, 1.50, "forest", PointFate::used},        {5024.0, 8064.0, 0.60, "forest", PointFate::used},
        {5001.0, 8050.0, 0.0, "ground", PointFate::outside},      // west of the first centre
        {5200.0, 8050.0, 0.0, "ground", PointFate::outside},      // beyond the grid
        {5078.0, 8052.0, 0.0, "ground", PointFate::nextToAbsent}, // between (4, 7) and its neighbours
    };
    std::vector<Checkpoint> points;
    for (const Planted& p : planted)
        points.push_back({p.x, p.y, planeAt(p.x, p.y) - p.offset, p.pointClass});
    CheckpointClasses classes;
    classes.open = {"ground"};
    classes.vegetated = {"forest"};
    const CheckpointAssessment a =
        assessCheckpoints(plane.view(), plane.header, {10, 10, false}, points, {0, 5, 20}, classes);

    EXPECT_EQ(a.outside, 2u);
    EXPECT_EQ(a.nextToAbsent, 1u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(a.fate[i], planted[i].fate) << "point " << i;
        if (planted[i].fate == PointFate::used)
            EXPECT_NEAR(a.d[i], planted[i].offset, 1e-4) << "d = DEM minus checkpoint, point " << i;
        else
            EXPECT_TRUE(std::isnan(a.d[i])) << "point " << i;
    }
    EXPECT_EQ(a.report.all.count, 6u);
    EXPECT_NEAR(a.report.all.mean, (0.1 - 0.2 + 0.3 - 0.4 + 1.5 + 0.6) / 6, 1e-4);

    // NVA over the ground points: RMSE of 0.1, -0.2, 0.3 and 1.96 times it.
    const double rmse = std::sqrt((0.01 + 0.04 + 0.09) / 3);
    EXPECT_EQ(a.nva.count, 3u);
    EXPECT_NEAR(a.nva.rmse, rmse, 1e-4);
    EXPECT_NEAR(a.nva.accuracy95, 1.96 * rmse, 1e-4);
    // VVA over the forest points: the nearest-rank 95th percentile of
    // |d| = 0.4, 1.5, 0.6 is the largest.
    EXPECT_EQ(a.vva.count, 3u);
    EXPECT_NEAR(a.vva.p95, 1.5, 1e-4);

    ASSERT_EQ(a.classes.size(), 2u);
    EXPECT_EQ(a.classes[0].pointClass, "forest");
    EXPECT_EQ(a.classes[0].figures.count, 3u);
    EXPECT_EQ(a.classes[1].pointClass, "ground");
    EXPECT_NEAR(a.classes[1].figures.rmse, rmse, 1e-4);

    // The plane slopes atan(sqrt(0.2^2 + 0.05^2)) = 11.8 degrees: every
    // point with a whole window in [5, 20); those on the border have none.
    ASSERT_EQ(a.report.classes.size(), 3u);
    std::size_t withSlope = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!std::isnan(a.slope[i])) {
            EXPECT_NEAR(a.slope[i], std::atan(std::hypot(0.2, 0.05)) * 180 / M_PI, 1e-3);
            ++withSlope;
        }
    EXPECT_EQ(a.report.classes[1].figures.count, withSlope);
    EXPECT_EQ(a.report.classes[0].figures.count + a.report.classes[2].figures.count, 0u);
}

TEST(Checkpoints, EveryPointOpenWithoutNamedClassesAndNoneVegetated)
{
    Plane plane;
    const std::vector<Checkpoint> points = {{5050, 8050, planeAt(5050, 8050) - 2, ""},
                                            {5060, 8040, planeAt(5060, 8040) + 2, "x"}};
    const CheckpointAssessment a = assessCheckpoints(plane.view(), plane.header, {10, 10, false}, points, {0}, {});
    EXPECT_EQ(a.nva.count, 2u);
    EXPECT_NEAR(a.nva.rmse, 2, 1e-4);
    EXPECT_EQ(a.vva.count, 0u);
}

} // namespace
