// The report's chart decisions as plain values: each expected number here
// is worked out by hand (or by the formula written out in the test), not
// read back from the code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "report/chartdata.h"

namespace orolith::report {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();
constexpr Rgb SATURATED_RED{178, 24, 43};
constexpr Rgb SATURATED_BLUE{33, 102, 172};

std::string show(const Rgb& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

// How far a colour lies from the scale's white.
int distanceFromWhite(const Rgb& c) { return std::abs(247 - c.r) + std::abs(247 - c.g) + std::abs(247 - c.b); }

// ---- divergingColour -------------------------------------------------------

enum class Hue { white, red, blue, saturatedRed, saturatedBlue, absent };

struct ColourCase {
    const char* what;
    double v, limit;
    Hue hue;
};

const ColourCase COLOUR_CASES[] = {
    {"zero is white", 0, 5, Hue::white},
    {"a small positive difference is reddish", 1, 5, Hue::red},
    {"a small negative difference is bluish", -1, 5, Hue::blue},
    {"just below the limit is not yet saturated", 4.5, 5, Hue::red},
    {"just above minus the limit is not yet saturated", -4.5, 5, Hue::blue},
    {"the limit itself is saturated red", 5, 5, Hue::saturatedRed},
    {"minus the limit is saturated blue", -5, 5, Hue::saturatedBlue},
    {"beyond the limit stays saturated red", 1e6, 5, Hue::saturatedRed},
    {"below minus the limit stays saturated blue", -1e6, 5, Hue::saturatedBlue},
    {"infinity is saturated red", INF, 5, Hue::saturatedRed},
    {"NaN is the absent grey", NaN, 5, Hue::absent},
    {"NaN is grey with no limit too", NaN, 0, Hue::absent},
    {"no limit: zero is still white", 0, 0, Hue::white},
    {"no limit: any positive value is saturated", 1e-6, 0, Hue::saturatedRed},
    {"no limit: any negative value is saturated", -1e-6, 0, Hue::saturatedBlue},
    {"a negative limit acts as none", 0.5, -3, Hue::saturatedRed},
    {"a NaN limit acts as none", -0.5, NaN, Hue::saturatedBlue},
};

TEST(DivergingColour, SignDecidesTheHueAndTheLimitTheSaturation)
{
    for (const ColourCase& t : COLOUR_CASES) {
        const Rgb c = divergingColour(t.v, t.limit);
        SCOPED_TRACE(std::string(t.what) + ": got " + show(c));
        switch (t.hue) {
        case Hue::white:
            EXPECT_GE(std::min({c.r, c.g, c.b}), 240);
            EXPECT_LE(std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}), 10);
            break;
        case Hue::red:
            EXPECT_GT(c.r, c.b + 20);
            EXPECT_FALSE(c == SATURATED_RED);
            break;
        case Hue::blue:
            EXPECT_GT(c.b, c.r + 20);
            EXPECT_FALSE(c == SATURATED_BLUE);
            break;
        case Hue::saturatedRed: EXPECT_TRUE(c == SATURATED_RED); break;
        case Hue::saturatedBlue: EXPECT_TRUE(c == SATURATED_BLUE); break;
        case Hue::absent: EXPECT_TRUE(c == ABSENT_GREY); break;
        }
    }
}

TEST(DivergingColour, DeepensSteadilyAndAlikeOnBothSides)
{
    const double limit = 2;
    int lastUp = -1, lastDown = -1;
    for (int i = 0; i <= 40; ++i) {
        const double v = limit * i / 40.0;
        const int up = distanceFromWhite(divergingColour(v, limit));
        const int down = distanceFromWhite(divergingColour(-v, limit));
        SCOPED_TRACE("at +-" + std::to_string(v));
        EXPECT_GE(up, lastUp) << "a larger positive difference must not look paler";
        EXPECT_GE(down, lastDown) << "a larger negative difference must not look paler";
        // Both sides reach their deep end together: a reader compares +x
        // with -x by their depth.
        EXPECT_NEAR(up, down, 0.2 * std::max(up, down) + 6);
        lastUp = up;
        lastDown = down;
    }
    EXPECT_GT(distanceFromWhite(divergingColour(0.25 * limit, limit)), 40)
        << "a quarter of the limit should already show a clear tint";
}

// ---- hillshade -------------------------------------------------------------

// A plane z = east * x + north * y over rows x cols cells, x growing east
// and y north (row 0 is the northern one).
MapGrid plane(int rows, int cols, double cellWidth, double cellHeight, double east, double north)
{
    MapGrid g;
    g.rows = rows;
    g.cols = cols;
    g.cellWidth = cellWidth;
    g.cellHeight = cellHeight;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.values.push_back(static_cast<float>(east * c * cellWidth + north * (rows - 1 - r) * cellHeight));
    return g;
}

// The shade of a plane by the formula: the sun at azimuth 315, altitude 45.
double expectedShade(double east, double north)
{
    const double pi = std::acos(-1.0);
    const double slope = std::atan(std::hypot(east, north));
    const double aspect = std::atan2(-east, -north); // the way the ground falls
    const double zenith = pi / 4, azimuth = 315 * pi / 180;
    const double s =
        std::cos(zenith) * std::cos(slope) + std::sin(zenith) * std::sin(slope) * std::cos(azimuth - aspect);
    return std::max(0.0, std::min(1.0, s));
}

struct PlaneCase {
    const char* what;
    double cellWidth, cellHeight, east, north;
    double shade; // worked out by hand
};

const PlaneCase PLANE_CASES[] = {
    {"flat ground: cos 45", 1, 1, 0, 0, 0.70710678},
    {"a 54.7-degree slope facing north-west, toward the sun: cos 9.7", 1, 1, 1, -1, 0.98559856},
    {"the same slope facing south-east, away from the sun: dark", 1, 1, -1, 1, 0},
    {"a 45-degree slope facing east, on 2-metre columns", 2, 1, -1, 0, 0.14644661},
    {"a 45-degree slope facing north, on 3-metre rows", 1, 3, 0, -1, 0.85355339},
    {"a gentle slope facing west", 10, 10, 0.1, 0, 0.75334940},
};

TEST(Hillshade, PlanesAreLitByTheirSlopeAndAspectUpToTheBorder)
{
    for (const PlaneCase& t : PLANE_CASES) {
        SCOPED_TRACE(t.what);
        const MapGrid g = plane(5, 6, t.cellWidth, t.cellHeight, t.east, t.north);
        const std::vector<float> shade = hillshade(g);
        ASSERT_EQ(shade.size(), g.values.size());
        EXPECT_NEAR(expectedShade(t.east, t.north), t.shade, 1e-6) << "the hand calculation";
        for (std::size_t i = 0; i < shade.size(); ++i)
            EXPECT_NEAR(shade[i], t.shade, 1e-4) << "cell " << i << " (row " << i / 6 << ")";
    }
}

TEST(Hillshade, InteriorCellsFollowHornsFormula)
{
    // Uneven ground, where the rows of a window slope differently: Horn's
    // eight-neighbour formula written out, on cells 4 m wide and 3 m high.
    MapGrid g;
    g.rows = 5;
    g.cols = 6;
    g.cellWidth = 4;
    g.cellHeight = 3;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            g.values.push_back(static_cast<float>(0.3 * c * r * r + 2 * std::sin(c + 2.0 * r) + ((r * 7 + c * 3) % 5)));
    const std::vector<float> shade = hillshade(g);
    for (int r = 1; r < g.rows - 1; ++r)
        for (int c = 1; c < g.cols - 1; ++c) {
            auto z = [&](int dr, int dc) { return static_cast<double>(g.values[(r + dr) * g.cols + c + dc]); };
            const double east =
                ((z(-1, 1) + 2 * z(0, 1) + z(1, 1)) - (z(-1, -1) + 2 * z(0, -1) + z(1, -1))) / (8 * 4.0);
            const double north =
                ((z(-1, -1) + 2 * z(-1, 0) + z(-1, 1)) - (z(1, -1) + 2 * z(1, 0) + z(1, 1))) / (8 * 3.0);
            EXPECT_NEAR(shade[r * g.cols + c], expectedShade(east, north), 1e-5) << "row " << r << ", column " << c;
        }
}

TEST(Hillshade, SlopeFacingTheSunIsBrighterThanOneFacingAway)
{
    const std::vector<float> nw = hillshade(plane(4, 4, 25, 25, 0.3, -0.3));
    const std::vector<float> se = hillshade(plane(4, 4, 25, 25, -0.3, 0.3));
    const std::vector<float> flat = hillshade(plane(4, 4, 25, 25, 0, 0));
    for (std::size_t i = 0; i < nw.size(); ++i) {
        EXPECT_GT(nw[i], flat[i] + 0.1) << "cell " << i;
        EXPECT_LT(se[i], flat[i] - 0.1) << "cell " << i;
    }
}

TEST(Hillshade, AbsentCellsStayAbsentAndTheirNeighboursKeepThePlanesLight)
{
    MapGrid g = plane(7, 7, 1, 1, 0.5, -0.2);
    const std::size_t hole = 3 * 7 + 3, corner = 0;
    g.values[hole] = std::numeric_limits<float>::quiet_NaN();
    g.values[corner] = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> shade = hillshade(g);
    EXPECT_TRUE(std::isnan(shade[hole]));
    EXPECT_TRUE(std::isnan(shade[corner]));
    const double expected = expectedShade(0.5, -0.2);
    for (std::size_t i = 0; i < shade.size(); ++i)
        if (i != hole && i != corner) {
            EXPECT_NEAR(shade[i], expected, 1e-4) << "cell " << i << " beside a hole or on the border";
        }
}

TEST(Hillshade, OddGrids)
{
    MapGrid single;
    single.rows = single.cols = 1;
    single.values = {12.5f};
    ASSERT_EQ(hillshade(single).size(), 1u);
    EXPECT_NEAR(hillshade(single)[0], 0.70710678, 1e-6) << "one cell alone is flat";

    MapGrid lonely = plane(3, 3, 1, 1, 1, 1);
    for (std::size_t i = 0; i < 9; ++i)
        if (i != 4)
            lonely.values[i] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NEAR(hillshade(lonely)[4], 0.70710678, 1e-6) << "a cell with no neighbours is flat";

    EXPECT_TRUE(hillshade(MapGrid{}).empty());
}

// ---- niceTicks -------------------------------------------------------------

bool isRoundStep(double step)
{
    const double e = std::floor(std::log10(step) + 1e-9);
    const double mantissa = step / std::pow(10.0, e);
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (std::fabs(mantissa - m) < 1e-6)
            return true;
    return false;
}

struct TickCase {
    double lo, hi;
    int count;
};

const TickCase TICK_CASES[] = {
    {0, 1, 5},      {-3.7, 3.7, 5},   {0, 100, 5},   {0.001, 0.0042, 4}, {1234, 98765, 6},
    {-250, -30, 5}, {0, 360, 4},      {7, 7, 5},     {-0.02, 0.03, 6},   {0, 12345678, 5},
    {5, 1, 5},      {0.5, 0.5001, 3}, {-1e-3, 0, 3}, {0, 7, 2},          {3, 4, 12},
};

TEST(NiceTicks, CoverTheRangeWithRoundEvenSteps)
{
    for (const TickCase& t : TICK_CASES) {
        SCOPED_TRACE("[" + std::to_string(t.lo) + ", " + std::to_string(t.hi) + "], about " + std::to_string(t.count));
        const std::vector<double> ticks = niceTicks(t.lo, t.hi, t.count);
        ASSERT_GE(ticks.size(), 2u);
        const double lo = std::min(t.lo, t.hi), hi = std::max(t.lo, t.hi);
        EXPECT_LE(ticks.front(), lo + 1e-12) << "the first tick must not start inside the range";
        EXPECT_GE(ticks.back(), hi - 1e-12) << "the last tick must reach the end of the range";
        const double step = ticks[1] - ticks[0];
        EXPECT_TRUE(isRoundStep(step)) << "step " << step;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i] / step, std::round(ticks[i] / step), 1e-6) << "tick " << ticks[i] << " off the step";
            if (i > 0) {
                EXPECT_NEAR(ticks[i] - ticks[i - 1], step, step * 1e-6);
            }
        }
        EXPECT_GE(static_cast<int>(ticks.size()), std::max(2, t.count / 2));
        EXPECT_LE(static_cast<int>(ticks.size()), 2 * t.count + 1);
    }
}

TEST(NiceTicks, KnownAxes)
{
    EXPECT_EQ(niceTicks(0, 100, 5), (std::vector<double>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(niceTicks(0, 10, 5), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(niceTicks(-3.7, 3.7, 5), (std::vector<double>{-4, -2, 0, 2, 4}));
    const std::vector<double> tenths = niceTicks(0, 0.3, 4);
    ASSERT_EQ(tenths.size(), 4u);
    EXPECT_EQ(tenths[0], 0.0) << "zero is exactly zero, not -0 or 1e-17";
    EXPECT_DOUBLE_EQ(tenths[3], 0.3);
    EXPECT_TRUE(niceTicks(NaN, 1, 5).empty());
    EXPECT_TRUE(niceTicks(0, INF, 5).empty());
}

// ---- scaleBarMetres --------------------------------------------------------

TEST(ScaleBarMetres, LongestRoundLengthThatFits)
{
    const struct {
        double room, bar;
    } cases[] = {
        {1, 1},       {1.999, 1}, {2, 2},       {4.99, 2},    {5, 5},       {9.99, 5},
        {10, 10},     {999, 500}, {1000, 1000}, {1500, 1000}, {2500, 2000}, {7200, 5000},
        {0.07, 0.05}, {0.3, 0.2}, {0, 0},       {-5, 0},      {NaN, 0},     {INF, 0},
    };
    for (const auto& t : cases)
        EXPECT_DOUBLE_EQ(scaleBarMetres(t.room), t.bar) << "room for " << t.room << " m";
}

// ---- histogramOf -----------------------------------------------------------

TEST(HistogramOf, CountsBinsAndBothTails)
{
    // Four bins of 0.5 over [-1, 1); the values on a bin's lower edge go
    // into that bin, 1 itself is past the last one.
    const std::vector<double> values = {-10, -1, -0.5, 0, 0.49, 0.5, 0.999, 1, 5, NaN};
    const Histogram h = histogramOf(values, -1, 1, 4);
    EXPECT_EQ(h.counts, (std::vector<std::size_t>{1, 1, 2, 2}));
    EXPECT_EQ(h.below, 1u);
    EXPECT_EQ(h.above, 2u);
    EXPECT_DOUBLE_EQ(h.lo, -1);
    EXPECT_DOUBLE_EQ(h.hi, 1);
    EXPECT_TRUE(std::isnan(h.median) && std::isnan(h.nmad)) << "the caller marks them";
}

TEST(HistogramOf, TheLastBinsUpperEdge)
{
    // (v - lo) / width rounds to exactly 40 here for the largest double
    // below 1: it still belongs to the last bin.
    const double justBelow = std::nextafter(1.0, 0.0);
    const struct {
        double v;
        int bin; // -1 below, 40 above
    } cases[] = {{justBelow, 39}, {1.0, 40},   {-1.0, 0},  {std::nextafter(-1.0, -2.0), -1},
                 {0.0, 20},       {-0.04, 19}, {-0.06, 18}};
    for (const auto& t : cases) {
        const Histogram h = histogramOf({t.v}, -1, 1, 40);
        SCOPED_TRACE("value " + std::to_string(t.v));
        ASSERT_EQ(h.counts.size(), 40u);
        EXPECT_EQ(h.below, t.bin < 0 ? 1u : 0u);
        EXPECT_EQ(h.above, t.bin >= 40 ? 1u : 0u);
        for (int b = 0; b < 40; ++b)
            EXPECT_EQ(h.counts[b], b == t.bin ? 1u : 0u) << "bin " << b;
    }
}

TEST(HistogramOf, NothingToCount)
{
    const Histogram h = histogramOf({}, 0, 1, 10);
    EXPECT_EQ(h.counts, std::vector<std::size_t>(10, 0));
    EXPECT_FALSE(std::isfinite(h.median)) << "an empty histogram marks no median";
}

// ---- cumulativeOf ----------------------------------------------------------

TEST(CumulativeOf, RisesFromZeroToAllWithinTheSampleCount)
{
    const struct {
        std::size_t n;
        int samples;
    } cases[] = {{1000, 50}, {10, 100}, {1, 20}, {2, 2}, {5000, 3}, {7, 8}};
    for (const auto& t : cases) {
        SCOPED_TRACE(std::to_string(t.n) + " values, " + std::to_string(t.samples) + " samples");
        std::vector<double> d;
        for (std::size_t i = 0; i < t.n; ++i)
            d.push_back((i % 2 ? -1.0 : 1.0) * static_cast<double>((i * 7919) % 1009) / 10.0);
        double largest = 0;
        for (double v : d)
            largest = std::max(largest, std::fabs(v));
        const Cumulative c = cumulativeOf(d, t.samples, 1.5, 2.5);
        ASSERT_EQ(c.x.size(), c.share.size());
        ASSERT_GE(c.x.size(), 2u);
        EXPECT_LE(c.x.size(), static_cast<std::size_t>(t.samples));
        EXPECT_EQ(c.x.front(), 0.0);
        EXPECT_EQ(c.share.front(), 0.0);
        EXPECT_DOUBLE_EQ(c.share.back(), 1.0);
        EXPECT_DOUBLE_EQ(c.x.back(), largest);
        for (std::size_t i = 1; i < c.x.size(); ++i) {
            EXPECT_GE(c.x[i], c.x[i - 1]);
            EXPECT_GE(c.share[i], c.share[i - 1]);
        }
        EXPECT_EQ(c.le90, 1.5);
        EXPECT_EQ(c.le95, 2.5);
    }
}

TEST(CumulativeOf, EveryRankWhenThereIsRoom)
{
    std::vector<double> d;
    for (int i = 100; i >= 1; --i)
        d.push_back(i % 3 ? i : -i);
    d.push_back(NaN);
    const Cumulative c = cumulativeOf(d, 101, 0, 0);
    ASSERT_EQ(c.x.size(), 101u);
    for (int i = 1; i <= 100; ++i) {
        EXPECT_DOUBLE_EQ(c.x[i], i) << "point " << i;
        EXPECT_DOUBLE_EQ(c.share[i], i / 100.0) << "the share of |d| <= " << i;
    }
    EXPECT_TRUE(cumulativeOf({}, 50, 0, 0).x.empty());
}

// ---- binMedians ------------------------------------------------------------

TEST(BinMedians, MedianOfEachAspectBin)
{
    const std::vector<float> aspect = {5, 360, 15, 12, 18, 355, 95, 100, 20, -5, 47};
    const std::vector<float> y = {1, 3, 4, 10, 7, -2, 8, 9, std::nanf(""), 6, 1};
    const std::vector<double> m = binMedians(aspect, y, 10);
    ASSERT_EQ(m.size(), 36u);
    EXPECT_DOUBLE_EQ(m[0], 2) << "5 and 360 (which is 0): the mean of the two middle values";
    EXPECT_DOUBLE_EQ(m[1], 7) << "the middle of 4, 10, 7";
    EXPECT_TRUE(std::isnan(m[2])) << "20 carries a NaN y: the bin stays empty";
    EXPECT_DOUBLE_EQ(m[4], 1);
    EXPECT_DOUBLE_EQ(m[9], 8) << "95 is in [90, 100)";
    EXPECT_DOUBLE_EQ(m[10], 9) << "100 is in [100, 110)";
    EXPECT_DOUBLE_EQ(m[35], 2) << "355 and -5 (which is 355)";
    for (int b : {3, 5, 20, 34})
        EXPECT_TRUE(std::isnan(m[b])) << "empty bin " << b;

    const std::vector<double> quarters = binMedians(aspect, y, 90);
    ASSERT_EQ(quarters.size(), 4u);
    EXPECT_DOUBLE_EQ(quarters[1], 8.5);
    EXPECT_TRUE(std::isnan(quarters[2]));
    EXPECT_TRUE(binMedians(aspect, y, 0).empty());
}

// ---- fitPanelRange ---------------------------------------------------------

TEST(FitPanelRange, FollowsTheMediansAndTheCurveNotTheOutliers)
{
    FitPanel panel;
    panel.north = 1;
    panel.east = 0;
    panel.c = 0;
    panel.aspect = {10, 100, 200, 300};
    panel.y = {0.5f, 1000, -0.5f, -800};
    Range r = fitPanelRange(panel, {0.5, NaN, -0.5});
    EXPECT_NEAR(r.lo, -1.3, 1e-9) << "the curve's -1 and a 15 % margin of the span 2";
    EXPECT_NEAR(r.hi, 1.3, 1e-9);

    panel.east = 3; // amplitude 5 with north 4
    panel.north = 4;
    panel.c = 1;
    r = fitPanelRange(panel, {7});
    EXPECT_NEAR(r.lo, -4 - 0.15 * 11, 1e-9) << "curve from -4 to 6, a median at 7";
    EXPECT_NEAR(r.hi, 7 + 0.15 * 11, 1e-9);

    FitPanel flat;
    flat.c = 2;
    r = fitPanelRange(flat, {});
    EXPECT_LT(r.lo, 2);
    EXPECT_GT(r.hi, 2);

    FitPanel nothing;
    nothing.north = NaN;
    r = fitPanelRange(nothing, {NaN, NaN});
    EXPECT_TRUE(std::isfinite(r.lo) && std::isfinite(r.hi));
    EXPECT_LT(r.lo, r.hi);
}

} // namespace
} // namespace orolith::report
