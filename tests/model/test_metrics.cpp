// Accuracy figures: a few differences worked out by hand, large sets
// against a plain sort, Horn's gradient, slope classes of planes, the
// threaded report against a plain loop, and the table. Co-registration: the
// resampling's directions, the robust aspect fit, and the recovery of a known
// shift and bias on a fractal surface whose moved copy is evaluated exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

#include "model/coregister.h"
#include "model/metrics.h"
#include "tests/model/fractal_surface.h"

using namespace orolith::model;

namespace {

std::string text(const AccuracyFigures& f)
{
    std::ostringstream s;
    for (double v : {f.mean, f.std, f.rmse, f.min, f.max, f.median, f.nmad, f.le90, f.le95})
        s << v << ' ';
    return "n " + std::to_string(f.count) + ": " + s.str();
}

AccuracyFigures figures(std::vector<double> d) { return accuracyOf(d.data(), d.size()); }

TEST(AccuracyFigures, SmallSetsWorkedOutByHand)
{
    const double Q = 1.4826;
    struct {
        const char* what;
        std::vector<double> d;
        AccuracyFigures want; // count, mean, std, rmse, min, max, median, nmad, le90, le95
    } cases[] = {
        // |d - 2| = 1 3 0; |d| = 3 1 2, ceil(2.7) = ceil(2.85) = 3.
        {"odd count", {3, -1, 2}, {3, 4.0 / 3, std::sqrt(26.0 / 9), std::sqrt(14.0 / 3), -1, 3, 2, Q, 3, 3}},
        // Sorted -2 1 4 7: median (1 + 4) / 2; |d - 2.5| = 1.5 4.5 1.5 4.5.
        {"even count", {4, -2, 1, 7}, {4, 2.5, std::sqrt(11.25), std::sqrt(17.5), -2, 7, 2.5, 3 * Q, 7, 7}},
        {"ties at the median", {2, 2, 9, 2, 2}, {5, 3.4, 2.8, std::sqrt(19.4), 2, 9, 2, 0, 9, 9}},
        {"even count of ties", {3, 1, 3, 1}, {4, 2, 1, std::sqrt(5), 1, 3, 2, Q, 3, 3}},
        {"one point", {-4}, {1, -4, 0, 4, -4, -4, -4, 0, 4, 4}},
        {"no point", {}, {}},
    };
    for (const auto& k : cases) {
        AccuracyFigures got = figures(k.d);
        EXPECT_EQ(got.count, k.want.count) << k.what;
        for (auto m : {&AccuracyFigures::mean, &AccuracyFigures::std, &AccuracyFigures::rmse, &AccuracyFigures::min,
                       &AccuracyFigures::max, &AccuracyFigures::median, &AccuracyFigures::nmad, &AccuracyFigures::le90,
                       &AccuracyFigures::le95})
            EXPECT_NEAR(got.*m, k.want.*m, 1e-12) << k.what << ": got " << text(got);
    }
    // |d| = 1..20, signs alternating: 90 % of 20 is the 18th exactly.
    std::vector<double> d;
    for (int i = 1; i <= 20; ++i)
        d.push_back(i % 2 ? -i : i);
    EXPECT_EQ(figures(d).le90, 18) << "LE90 is a nearest rank of |d|";
    EXPECT_EQ(figures(d).le95, 19) << "LE95 is a nearest rank of |d|";
}

// Above 65536 values the order statistics come from a sampled bracket;
// they must equal a plain sort's however the values are arranged.
TEST(AccuracyFigures, LargeSetsAgreeWithASort)
{
    // Quantised, so with many ties; blunders in the odd set; in the second
    // a period equal to the sample's stride, so that the sample sees one
    // value; the third nearly all one value.
    std::mt19937 random(5);
    std::normal_distribution<double> normal(0.4, 2.0);
    std::vector<double> odd, periodic, equal;
    for (int i = 0; i < 200000; ++i) {
        double v = std::round(normal(random) * 100) / 100;
        if (i < 100001)
            odd.push_back(i % 997 ? v : 500.0 + i % 7);
        periodic.push_back(i % 12 ? v : 0.0);
        if (i < 70000)
            equal.push_back(i % 100 ? -1.25 : 3);
    }
    for (const std::vector<double>* d : {&odd, &periodic, &equal}) {
        std::vector<double> s = *d, a, dev;
        std::sort(s.begin(), s.end());
        std::size_t n = s.size(), m = n / 2;
        auto middle = [&](const std::vector<double>& v) { return n % 2 ? v[m] : (v[m - 1] + v[m]) / 2; };
        for (double v : s) {
            a.push_back(std::fabs(v));
            dev.push_back(std::fabs(v - middle(s)));
        }
        std::sort(a.begin(), a.end());
        std::sort(dev.begin(), dev.end());
        AccuracyFigures f = figures(*d);
        EXPECT_EQ(f.median, middle(s)) << n << " values";
        EXPECT_EQ(f.nmad, 1.4826 * middle(dev)) << n << " values";
        EXPECT_EQ(f.le90, a[(9 * n + 9) / 10 - 1]) << n << " values";
        EXPECT_EQ(f.le95, a[(19 * n + 19) / 20 - 1]) << n << " values";
    }
}

template <class F>
std::vector<float> gridOf(int rows, int cols, F height)
{
    std::vector<float> g;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.push_back(static_cast<float>(height(r, c)));
    return g;
}

// A grid whose cells above 0 are present (the sparse kind's rule), as the
// analyses read it.
struct PresentAbove0 {
    std::vector<float> heights;
    std::vector<std::uint8_t> present;
    int rows, cols;

    PresentAbove0(std::vector<float> h, int r, int c) : heights(std::move(h)), rows(r), cols(c)
    {
        for (float v : heights)
            present.push_back(v > 0);
    }
    GridView view() const { return {heights.data(), present.data(), rows, cols}; }
};

GridView wholeView(const std::vector<float>& g, int rows, int cols) { return {g.data(), nullptr, rows, cols}; }

GroundSpacing square(double cellsize) { return {cellsize, cellsize, false}; }

TEST(SlopeClasses, HornWeightsTheNeighboursOneTwoOneTowardEastAndNorth)
{
    struct {
        int r, c; // the one neighbour raised by 16
        double east, north;
    } cases[] = {{1, 2, 2, 0}, {0, 2, 1, 1}, {0, 1, 0, 2}, {2, 0, -1, -1}};
    for (const auto& k : cases) {
        std::vector<float> g = gridOf(3, 3, [&](int r, int c) { return r == k.r && c == k.c ? 16 : 0; });
        Gradient got = hornGradient(wholeView(g, 3, 3), 1, 1, square(2.0)); // 16 x weight / (8 x 2)
        EXPECT_EQ(got.east, k.east) << "east, neighbour " << k.r << "," << k.c;
        EXPECT_EQ(got.north, k.north) << "north, neighbour " << k.r << "," << k.c;
    }
    for (double b : {0.1, 3.0, 5.0, 10.0, 25.0, 45.0}) {
        double t = slopeThreshold(b);
        EXPECT_TRUE(slopeDegrees(t) >= b && slopeDegrees(std::nextafter(t, 0.0)) < b) << "threshold of " << b;
    }
}

TEST(SlopeClasses, PlanesFallIntoTheirClassAndBorderPointsOnlyIntoAll)
{
    // 5 x 5 planes rising east: 9 interior points, 16 on the border. The
    // reference lies 1 below except at (2, 2), where it is absent.
    const std::vector<double>& standard = defaultSlopeBounds();
    struct {
        double degrees;
        std::vector<double> bounds;
        int cls; // of the interior points; -1: none
    } cases[] = {{0, standard, 0},  {4, standard, 0},  {7, standard, 1},    {20, standard, 2}, {30, standard, 3},
                 {45, standard, 4}, {80, standard, 4}, {44.5, standard, 3}, {5, {10, 30}, -1}, {35, {10, 30}, 1}};
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.degrees) + " degrees, " + std::to_string(k.bounds.size()) + " classes");
        double rise = std::tan(k.degrees * 3.14159265358979323846 / 180) * 2;
        std::vector<float> dem = gridOf(5, 5, [&](int, int c) { return 100 + rise * c; });
        std::vector<float> ref = gridOf(5, 5, [&](int r, int c) { return r == 2 && c == 2 ? 0 : 99 + rise * c; });
        AccuracyReport got =
            accuracyReport(wholeView(dem, 5, 5), PresentAbove0(ref, 5, 5).view(), square(2.0), k.bounds);
        EXPECT_EQ(got.all.count, 24u) << "an absent reference counts nowhere";
        ASSERT_EQ(got.classes.size(), k.bounds.size());
        for (std::size_t j = 0; j < got.classes.size(); ++j) {
            EXPECT_EQ(got.classes[j].to, j + 1 < k.bounds.size() ? k.bounds[j + 1] : 90) << "end of class " << j;
            EXPECT_EQ(got.classes[j].figures.count, static_cast<int>(j) == k.cls ? 8u : 0u) << "class " << j;
        }
    }
}

// The split of the grid between threads must not show: a grid large
// enough for two parts against a plain loop.
TEST(SlopeClasses, ThreadedReportMatchesAPlainLoop)
{
    const int rows = 700, cols = 500;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-3, 3);
    std::vector<float> dem = gridOf(
        rows, cols, [&](int r, int c) { return 500 + 200 * std::sin(r * 0.03) * std::cos(c * 0.05) + noise(random); });
    std::vector<float> ref =
        gridOf(rows, cols, [&](int r, int c) { return (r * 7 + c) % 13 ? 500 + noise(random) : 0; });
    const std::vector<double>& bounds = defaultSlopeBounds();
    std::vector<std::vector<double>> d(bounds.size());
    std::vector<double> all;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            std::size_t i = static_cast<std::size_t>(r) * cols + c;
            if (!(ref[i] > 0))
                continue;
            all.push_back(static_cast<double>(dem[i]) - ref[i]);
            if (r == 0 || c == 0 || r == rows - 1 || c == cols - 1)
                continue;
            Gradient g = hornGradient(wholeView(dem, rows, cols), r, c, square(10.0));
            double deg = slopeDegrees(std::sqrt(g.east * g.east + g.north * g.north));
            d[std::upper_bound(bounds.begin(), bounds.end(), deg) - bounds.begin() - 1].push_back(all.back());
        }
    AccuracyReport got =
        accuracyReport(wholeView(dem, rows, cols), PresentAbove0(ref, rows, cols).view(), square(10.0), bounds);
    EXPECT_EQ(text(got.all), text(figures(all))) << "all points";
    for (std::size_t k = 0; k < bounds.size(); ++k) {
        EXPECT_GT(d[k].size(), 0u) << "the surface has points in every class";
        EXPECT_EQ(text(got.classes[k].figures), text(figures(d[k]))) << "class " << k;
    }
}

TEST(AccuracyTable, ARowPerClassThenAllWithNaForAnEmptyClass)
{
    AccuracyReport r;
    r.classes = {{0, 10, figures({-0.0001, 2})}, {10, 90, {}}};
    r.all = figures({-0.0001, 2, 1});
    EXPECT_EQ(accuracyTable(r),
              "slope (deg)      count       mean        std       rmse        min        max     median       nmad"
              "       le90       le95\n"
              "[0, 10)              2      1.000      1.000      1.414      0.000      2.000      1.000      1.483"
              "      2.000      2.000\n"
              "[10, 90]             0        n/a        n/a        n/a        n/a        n/a        n/a        n/a"
              "        n/a        n/a\n"
              "all                  3      1.000      0.817      1.291      0.000      2.000      1.000      1.483"
              "      2.000      2.000\n");
}

TEST(Coregister, BilinearSamplesAndAbsentPoints)
{
    // Row 0 northern; the point of row 0, column 1 is absent.
    const std::vector<float> grid = {10, 0, 30, 40, 50, 60, 70, 80, 90};
    struct {
        const char* what;
        double row, col, want;
    } cases[] = {
        {"a node", 1, 2, 60},
        {"between columns", 1, 0.25, 42.5},
        {"between rows", 1.5, 0, 55},
        {"inside a cell", 1.5, 1.5, 70},
        {"the last row and column", 2, 2, 90},
        {"beyond the east edge", 1, 2.001, 0},
        {"north of row 0", -0.001, 2, 0},
        {"an absent neighbour that takes part", 0.5, 0.5, 0},
        {"an absent neighbour of weight 0", 0.5, 0, 25},
    };
    const PresentAbove0 g(grid, 3, 3);
    for (const auto& k : cases) {
        const double got = bilinearAt(g.view(), k.row, k.col);
        if (k.want == 0)
            EXPECT_TRUE(std::isnan(got)) << k.what << ": absent, not " << got;
        else
            EXPECT_NEAR(got, k.want, 1e-12) << k.what;
    }

    // Moved back one cell east, a point takes its eastern neighbour's value;
    // one cell north, its northern neighbour's. Absent points stay absent.
    auto values = [](const ShiftedGrid& s) {
        std::vector<float> v;
        for (std::size_t i = 0; i < s.heights.size(); ++i)
            v.push_back(s.present[i] ? s.heights[i] : 0);
        return v;
    };
    EXPECT_EQ(values(shiftBack(g.view(), 1, 0)), (std::vector<float>{0, 30, 0, 50, 60, 0, 80, 90, 0}));
    EXPECT_EQ(values(shiftBack(g.view(), 0, 1)), (std::vector<float>{0, 0, 0, 10, 0, 30, 40, 50, 60}));
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
    } cases[] = {{0.3, -0.6, 1.5, none},
                 {0.3, -0.6, 1.5, blunders},
                 {-1.7, 1.2, -3.0, blunders},
                 {0, 0, 0, none},
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

        const PresentAbove0 c(comp, rows, cols);
        Coregistration got = coregister(wholeView(dem, rows, cols), c.view(), square(10.0));
        ASSERT_TRUE(got.ok) << got.why;
        EXPECT_NEAR(got.shiftEast, k.east, 0.05) << "east, cells";
        EXPECT_NEAR(got.shiftNorth, k.north, 0.05) << "north, cells";
        EXPECT_NEAR(got.shiftEastMetres, 10 * got.shiftEast, 1e-9) << "east, metres";
        EXPECT_NEAR(got.bias, k.bias, 0.05) << "bias";
        EXPECT_TRUE(got.converged) << got.iterations << " iterations";

        // The fits the report draws: one per iteration, their steps adding
        // up to the shift, each with an even sample of its points.
        ASSERT_EQ(got.fits.size(), static_cast<std::size_t>(got.iterations));
        double east = 0, north = 0;
        for (std::size_t f = 0; f < got.fits.size(); ++f) {
            const FitRecord& r = got.fits[f];
            EXPECT_EQ(r.iteration, static_cast<int>(f) + 1);
            east += r.fit.east / 10.0;
            north += r.fit.north / 10.0;
            EXPECT_LE(r.y.size(), FIT_SAMPLE_POINTS);
            EXPECT_EQ(r.y.size(), (r.points + (r.points + FIT_SAMPLE_POINTS - 1) / FIT_SAMPLE_POINTS - 1) /
                                      ((r.points + FIT_SAMPLE_POINTS - 1) / FIT_SAMPLE_POINTS))
                << "every k-th of " << r.points << " points";
            ASSERT_EQ(r.aspectDegrees.size(), r.y.size());
            for (float a : r.aspectDegrees)
                ASSERT_TRUE(a >= 0 && a < 360) << a;
        }
        EXPECT_NEAR(east, got.shiftEast, 1e-9);
        EXPECT_NEAR(north, got.shiftNorth, 1e-9);

        const GridView kept = got.shifted.view(rows, cols);
        AccuracyReport after = accuracyReport(wholeView(dem, rows, cols), kept, square(10.0), defaultSlopeBounds());
        EXPECT_EQ(after.all.median, -got.bias) << "the bias is the median left after the shift";
        if (k.east == 0 && k.north == 0)
            continue; // nothing to improve on: either grid may be kept
        EXPECT_TRUE(got.improved) << improvementText(got);
        ShiftedGrid back = shiftBack(c.view(), got.shiftEast, got.shiftNorth);
        EXPECT_EQ(got.shifted.present, back.present) << "the grid returned is the comparison moved back";
        for (std::size_t i = 0; i < back.heights.size(); ++i)
            if (back.present[i] && got.shifted.heights[i] != back.heights[i]) {
                ADD_FAILURE() << "point " << i << " is not the comparison moved back";
                break;
            }
        EXPECT_LT(after.all.nmad, 0.2) << "moved back, the grids differ by little more than the bias";
    }
}

} // namespace
