// The report's pictures drawn onto image surfaces and looked at pixel by
// pixel: the colours a reader must see where the data put them, and
// nothing outside the area a picture was given. Every picture is also
// written to OROLITH_SHOT_DIR as report_chart_*.png for a person to look
// at, and the whole set drawn once on A4 PDF pages.
#include <gtest/gtest.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/metrics.h"
#include "report/charts.h"

namespace orolith::report {
namespace {

constexpr float ABSENT = std::numeric_limits<float>::quiet_NaN();
// No picture draws pure green: what keeps it was left alone.
constexpr Rgb UNTOUCHED{0, 255, 0};
constexpr Rgb SATURATED_RED{178, 24, 43};
constexpr Rgb SATURATED_BLUE{33, 102, 172};
constexpr Rgb OPAQUE_BLUE{33, 102, 172};
constexpr Rgb OPAQUE_ORANGE{230, 120, 20};

std::string shotPath(const std::string& name) { return std::string(OROLITH_SHOT_DIR) + "/" + name; }

// An RGB image surface filled with UNTOUCHED, to draw on and read back.
class Canvas {
public:
    Canvas(int width, int height)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)), cr_(cairo_create(surface_))
    {
        cairo_set_source_rgb(cr_, UNTOUCHED.r / 255.0, UNTOUCHED.g / 255.0, UNTOUCHED.b / 255.0);
        cairo_paint(cr_);
    }
    ~Canvas()
    {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }

    // Fills `area` white first, as the report's pages are.
    void whiteArea(const Area& a)
    {
        cairo_rectangle(cr_, a.x, a.y, a.w, a.h);
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_fill(cr_);
    }

    Rgb at(int x, int y)
    {
        cairo_surface_flush(surface_);
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const auto pixel = *reinterpret_cast<const std::uint32_t*>(
            data + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_) + 4 * x);
        return {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                static_cast<unsigned char>(pixel)};
    }

    void save(const std::string& name) { cairo_surface_write_to_png(surface_, shotPath(name).c_str()); }
    cairo_status_t status() const { return cairo_status(cr_); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// The box around the pixels that pass a test, in a part of the canvas.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    long count = 0;
    bool empty() const { return count == 0; }
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
};

// A part of the canvas, ends excluded; -1 for the canvas' far edge.
struct Region {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

Box boxOf(Canvas& c, const std::function<bool(const Rgb&)>& test, Region in = {})
{
    Box b;
    const int x1 = in.x1 < 0 ? c.width() : in.x1, y1 = in.y1 < 0 ? c.height() : in.y1;
    for (int y = in.y0; y < y1; ++y)
        for (int x = in.x0; x < x1; ++x)
            if (test(c.at(x, y))) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
                ++b.count;
            }
    return b;
}

// The box of the pixels that pass a test together with their right and
// lower neighbours: areas of a colour, not the edge of a letter.
Box solidBoxOf(Canvas& c, const std::function<bool(const Rgb&)>& test, Region in = {})
{
    Box b;
    const int x1 = in.x1 < 0 ? c.width() - 1 : in.x1, y1 = in.y1 < 0 ? c.height() - 1 : in.y1;
    for (int y = in.y0; y < y1; ++y)
        for (int x = in.x0; x < x1; ++x)
            if (test(c.at(x, y)) && test(c.at(x + 1, y)) && test(c.at(x, y + 1)) && test(c.at(x + 1, y + 1))) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x + 1);
                b.y1 = std::max(b.y1, y + 1);
                ++b.count;
            }
    return b;
}

std::function<bool(const Rgb&)> exactly(const Rgb& want)
{
    return [want](const Rgb& c) { return c == want; };
}

std::function<bool(const Rgb&)> near(const Rgb& want, int tolerance)
{
    return [want, tolerance](const Rgb& c) {
        return std::abs(c.r - want.r) <= tolerance && std::abs(c.g - want.g) <= tolerance &&
               std::abs(c.b - want.b) <= tolerance;
    };
}

// The pixels outside `a` that a picture changed.
long changedOutside(Canvas& c, const Area& a)
{
    long changed = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const bool inside = x >= a.x && x < a.x + a.w && y >= a.y && y < a.y + a.h;
            if (!inside && !(c.at(x, y) == UNTOUCHED))
                ++changed;
        }
    return changed;
}

// ---- data a reader would recognise ----------------------------------------

MapGrid grid(int rows, int cols, double cellWidth, double cellHeight, float value = 0)
{
    MapGrid g;
    g.rows = rows;
    g.cols = cols;
    g.cellWidth = cellWidth;
    g.cellHeight = cellHeight;
    g.values.assign(static_cast<std::size_t>(rows) * cols, value);
    return g;
}

float& cell(MapGrid& g, int r, int c) { return g.values[static_cast<std::size_t>(r) * g.cols + c]; }

// Rolling hills of 120 x 90 cells of 30 m, a lake without data in them.
MapGrid hills()
{
    MapGrid g = grid(90, 120, 30, 30);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            const double x = c / 120.0, y = r / 90.0;
            double z = 400 + 120 * std::sin(6 * x + 1) * std::cos(5 * y) + 60 * std::sin(13 * x * y + 2 * y) + 80 * x;
            const bool lake = std::hypot(x - 0.7, (y - 0.35) * 0.75) < 0.09;
            cell(g, r, c) = lake ? ABSENT : static_cast<float>(z);
        }
    return g;
}

// The DEM minus its reference over the hills: a tilt, a ridge that is too
// high, noise, and the same lake absent.
MapGrid hillDifferences(double shift)
{
    MapGrid g = hills();
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.6);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            if (std::isnan(cell(g, r, c)))
                continue;
            const double x = c / 120.0, y = r / 90.0;
            cell(g, r, c) = static_cast<float>(shift + 2.5 * (x - 0.5) - 1.5 * (y - 0.5) +
                                               4 * std::exp(-std::pow((x - 0.3) / 0.05, 2)) + noise(random));
        }
    return g;
}

std::vector<double> normalSample(double mean, double spread, int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(mean, spread);
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        v.push_back(normal(random));
    for (int i = 0; i < n / 100; ++i)
        v.push_back(mean + 40 + i); // blunders beyond the axis
    return v;
}

Histogram labelled(Histogram h, const std::string& label)
{
    h.label = label;
    return h;
}

std::vector<SlopeBar> slopeClasses()
{
    return {{0, 5, 51234, 0.21, 0.82},
            {5, 10, 20456, 0.05, 1.35},
            {10, 25, 8123, -0.42, 2.6},
            {25, 45, 1200, -1.3, 4.9},
            {45, 90, 37, 2.1, 7.4}};
}

// The differences of points on slopes with aspects all around, their
// d / tan(slope) along north cos + east sin + c, with scatter and a few
// wild points.
FitPanel fitPanel(int iteration, double north, double east, double c)
{
    FitPanel p;
    p.iteration = iteration;
    p.north = north;
    p.east = east;
    p.c = c;
    std::mt19937 random(static_cast<unsigned>(iteration));
    std::uniform_real_distribution<double> aspect(0, 360);
    std::normal_distribution<double> scatter(0, 1.2);
    for (int i = 0; i < 2000; ++i) {
        const double a = aspect(random), rad = a * std::acos(-1.0) / 180;
        double y = north * std::cos(rad) + east * std::sin(rad) + c + scatter(random);
        if (i % 97 == 0)
            y += 60; // a point on a wall the reference missed
        p.aspect.push_back(static_cast<float>(a));
        p.y.push_back(static_cast<float>(y));
    }
    p.points = 48213;
    return p;
}

// A picture of 160 x 100 pixels: a sky, a slope, a red roof.
void viewImage(int& width, int& height, std::vector<unsigned char>& rgb)
{
    width = 160;
    height = 100;
    rgb.clear();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = y < 40 - x / 8 ? Rgb{170, 200, 235} : Rgb{90, 140, 70};
            if (x > 100 && x < 130 && y > 50 && y < 70)
                c = {200, 40, 30};
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
}

const std::vector<LegendEntry> VIEW_LEGEND = {
    {{90, 140, 70}, "DEM above the reference"},
    {{120, 60, 160}, "DEM below the reference"},
    {{200, 40, 30}, "buildings"},
    {{160, 160, 160}, "no data"},
};

// Checkpoints scattered over the hills, their differences those of the
// map beneath, a few far beyond the scale.
std::vector<MapPoint> hillPoints()
{
    const MapGrid d = hillDifferences(0.4);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, 120), y(0, 90);
    std::vector<MapPoint> points;
    while (points.size() < 400) {
        const MapPoint p{x(random), y(random), 0};
        const float v = d.values[static_cast<std::size_t>(p.y) * d.cols + static_cast<std::size_t>(p.x)];
        if (!std::isnan(v))
            points.push_back({p.x, p.y, points.size() % 50 == 0 ? v * 10.0 : v});
    }
    return points;
}

// Every picture of the report, drawn from the data above.
struct PictureCase {
    const char* name;
    double aspect; // height over width, as the report lays them out
    std::function<void(cairo_t*, const Area&)> draw;
};

// A histogram marked as the report marks it: with the sample's own median
// and NMAD.
Histogram markedHistogram(const std::vector<double>& sample, double lo, double hi, int bins, const char* label)
{
    Histogram h = labelled(histogramOf(sample, lo, hi, bins), label);
    h.median = orolith::model::medianOf(sample.data(), sample.size());
    h.nmad = orolith::model::nmadOf(sample.data(), sample.size(), h.median);
    return h;
}

std::vector<PictureCase> everyPicture()
{
    static const MapGrid differences = hillDifferences(1.2);
    static const MapGrid heights = hills();
    static const std::vector<double> before = normalSample(1.2, 1.1, 20000, 3);
    static const std::vector<double> after = normalSample(0.05, 0.8, 20000, 4);
    static const Histogram beforeHistogram = markedHistogram(before, -6, 6, 60, "before");
    static const Histogram afterHistogram = markedHistogram(after, -6, 6, 60, "after");
    std::vector<double> absolute;
    for (double d : after)
        absolute.push_back(std::fabs(d));
    static const Cumulative cumulative = cumulativeOf(absolute, 400, 1.32, 1.61);
    static const FitPanel panel = fitPanel(2, 1.8, -2.4, 0.3);
    return {
        {"difference_map", 0.92,
         [](cairo_t* cr, const Area& a) {
             drawDifferenceMap(cr, a, differences, 3, "m", "DEM minus reference, before the shift");
         }},
        {"hillshade_map", 0.92, [](cairo_t* cr, const Area& a) { drawHillshadeMap(cr, a, heights, "DEM, hillshade"); }},
        {"point_map", 0.92,
         [](cairo_t* cr, const Area& a) {
             static const std::vector<MapPoint> points = hillPoints();
             drawPointMap(cr, a, heights, points, 3, "m", "DEM minus checkpoints");
         }},
        {"histogram", 0.55,
         [](cairo_t* cr, const Area& a) { drawHistogram(cr, a, beforeHistogram, afterHistogram, "m"); }},
        {"histogram_before_only", 0.55,
         [](cairo_t* cr, const Area& a) { drawHistogram(cr, a, beforeHistogram, Histogram{}, "m"); }},
        {"cumulative", 0.55, [](cairo_t* cr, const Area& a) { drawCumulative(cr, a, cumulative, "m"); }},
        {"slope", 0.5, [](cairo_t* cr, const Area& a) { drawSlopeChart(cr, a, slopeClasses(), "m"); }},
        {"fit", 0.55, [](cairo_t* cr, const Area& a) { drawFitPanel(cr, a, panel); }},
        {"picture", 0.85,
         [](cairo_t* cr, const Area& a) {
             int w = 0, h = 0;
             std::vector<unsigned char> rgb;
             viewImage(w, h, rgb);
             drawPicture(cr, a, w, h, rgb, VIEW_LEGEND);
         }},
    };
}

// ---- every picture -------------------------------------------------------

TEST(Charts, EveryPictureAsTheHtmlPageShowsIt)
{
    for (const PictureCase& p : everyPicture()) {
        SCOPED_TRACE(p.name);
        const int width = 900, height = static_cast<int>(std::lround(900 * p.aspect));
        Canvas canvas(width, height);
        const Area all{0, 0, static_cast<double>(width), static_cast<double>(height)};
        canvas.whiteArea(all);
        p.draw(canvas.cr(), all);
        EXPECT_EQ(canvas.status(), CAIRO_STATUS_SUCCESS) << cairo_status_to_string(canvas.status());
        canvas.save(std::string("report_chart_") + p.name + ".png");
        const Box drawn = boxOf(canvas, [](const Rgb& c) { return !(c == Rgb{255, 255, 255}); });
        EXPECT_GT(drawn.count, width * height / 50) << "the picture is nearly empty";
    }
}

TEST(Charts, NothingIsDrawnOutsideTheArea)
{
    // Each picture squeezed into an area off the canvas' edges, at a few
    // shapes: a wide one, a tall one, and one too small to hold anything.
    const Area areas[] = {{40, 30, 520, 260}, {70, 20, 180, 400}, {100, 100, 14, 9}, {50, 60, 0, 0}};
    for (const PictureCase& p : everyPicture())
        for (const Area& a : areas) {
            SCOPED_TRACE(std::string(p.name) + " in " + std::to_string(a.w) + " x " + std::to_string(a.h));
            Canvas canvas(620, 460);
            p.draw(canvas.cr(), a);
            EXPECT_EQ(canvas.status(), CAIRO_STATUS_SUCCESS);
            EXPECT_EQ(changedOutside(canvas, a), 0);
            if (a.w == 180)
                canvas.save(std::string("report_chart_narrow_") + p.name + ".png");
            if (a.w > 100) {
                EXPECT_GT(boxOf(canvas, [](const Rgb& c) { return !(c == UNTOUCHED); }).count, 1000)
                    << "drew almost nothing in its area";
            }
        }
}

TEST(Charts, EmptyDataDrawWithoutErrors)
{
    const Area a{10, 10, 400, 300};
    const std::function<void(cairo_t*)> draws[] = {
        [&](cairo_t* cr) { drawDifferenceMap(cr, a, MapGrid{}, 2, "m", "no grid"); },
        [&](cairo_t* cr) { drawDifferenceMap(cr, a, grid(2, 2, 0, 5), 2, "m", "cells of no width"); },
        [&](cairo_t* cr) { drawDifferenceMap(cr, a, grid(3, 3, 1, 1, ABSENT), 0, "", "all absent, no limit"); },
        [&](cairo_t* cr) { drawHillshadeMap(cr, a, grid(4, 4, 1, 1, ABSENT), "all absent"); },
        [&](cairo_t* cr) {
            drawPointMap(cr, a, MapGrid{}, {{1, 1, 2}}, 2, "m", "points without a grid");
        },
        [&](cairo_t* cr) { drawPointMap(cr, a, grid(3, 3, 1, 1), {}, 2, "m", "no points"); },
        [&](cairo_t* cr) { drawHistogram(cr, a, Histogram{}, Histogram{}, "m"); },
        [&](cairo_t* cr) { drawHistogram(cr, a, histogramOf({}, 0, 0, 10), Histogram{}, ""); },
        [&](cairo_t* cr) { drawCumulative(cr, a, Cumulative{}, "m"); },
        [&](cairo_t* cr) {
            drawCumulative(cr, a, cumulativeOf({0, 0, 0}, 10, 0, 0), "m");
        },
        [&](cairo_t* cr) { drawSlopeChart(cr, a, {}, "m"); },
        [&](cairo_t* cr) {
            drawSlopeChart(cr, a, {{0, 5, 0, 0, 0}, {5, 90, 0, 0, 0}}, "m");
        },
        [&](cairo_t* cr) { drawFitPanel(cr, a, FitPanel{}); },
        [&](cairo_t* cr) { drawPicture(cr, a, 0, 0, {}, {}); },
        [&](cairo_t* cr) {
            drawPicture(cr, a, 4, 4, {1, 2, 3}, VIEW_LEGEND);
        },
    };
    int i = 0;
    for (const auto& draw : draws) {
        SCOPED_TRACE("case " + std::to_string(i++));
        Canvas canvas(420, 320);
        draw(canvas.cr());
        EXPECT_EQ(canvas.status(), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(changedOutside(canvas, a), 0);
    }
}

// ---- maps ------------------------------------------------------------------

TEST(DifferenceMap, CellsShowTheirColourInTheirPlaceAndProportion)
{
    // 8 x 4 cells twice as wide as high on the ground; the north-west cell
    // far above the limit, the south-east one absent, the rest 0.
    MapGrid g = grid(4, 8, 2, 1);
    cell(g, 0, 0) = 10;
    cell(g, 3, 7) = ABSENT;
    Canvas canvas(640, 440);
    const Area a{20, 20, 600, 400};
    canvas.whiteArea(a);
    drawDifferenceMap(canvas.cr(), a, g, 2, "m", "differences");
    canvas.save("report_chart_map_cells.png");

    // The colour bar on the right holds saturated red too: look in the
    // area's left half, where only the map is.
    const Box red = solidBoxOf(canvas, exactly(SATURATED_RED), {0, 0, 320, -1});
    const Box grey = solidBoxOf(canvas, exactly(ABSENT_GREY));
    ASSERT_FALSE(red.empty()) << "the cell above the limit shows no saturated red";
    ASSERT_FALSE(grey.empty()) << "the absent cell shows no grey";
    EXPECT_GT(red.width(), 20) << "a map cell of 600 / 8 wide at most should be large";
    EXPECT_NEAR(static_cast<double>(red.width()) / red.height(), 2.0, 0.15) << "cells keep their ground shape";
    EXPECT_NEAR(static_cast<double>(grey.width()) / grey.height(), 2.0, 0.15);
    EXPECT_NEAR(grey.x0 - red.x0, 7 * red.width(), 3) << "the absent cell is 7 columns east";
    EXPECT_NEAR(grey.y0 - red.y0, 3 * red.height(), 3) << "and 3 rows south";
    EXPECT_GE(red.count, static_cast<long>(0.9 * red.width() * red.height())) << "a sharp cell, not a blur";
    // Between them, cells of 0 are the scale's white.
    const Rgb middle = canvas.at((red.x0 + grey.x1) / 2, (red.y0 + grey.y1) / 2);
    EXPECT_GE(std::min({middle.r, middle.g, middle.b}), 240);
    // The colour bar beside the map reaches saturated blue, which no cell has.
    const Box blue = boxOf(canvas, near(SATURATED_BLUE, 6));
    ASSERT_FALSE(blue.empty()) << "no colour bar";
    EXPECT_GT(blue.x0, grey.x1) << "the colour bar stands east of the map";
}

TEST(PointMap, DotsShowTheScaleColoursAtTheirPlaces)
{
    // A flat DEM of 20 x 10 cells, lit evenly: the grey to find the map by.
    const MapGrid flat = grid(10, 20, 1, 1, 100);
    const auto grey = static_cast<unsigned char>(std::lround(hillshade(flat)[0] * 255));
    const double limit = 2;
    const std::vector<MapPoint> points = {{2.5, 2.5, -5}, {10, 5, 0},    {17.5, 7.5, 5},
                                          {5.5, 8, 1},    {14, 2, -0.5}, {20.05, 3, 5}};
    Canvas canvas(900, 500);
    const Area a{0, 0, 900, 500};
    canvas.whiteArea(a);
    drawPointMap(canvas.cr(), a, flat, points, limit, "m", "checkpoints");
    canvas.save("report_chart_point_map_dots.png");

    const Box map = solidBoxOf(canvas, exactly({grey, grey, grey}));
    ASSERT_FALSE(map.empty()) << "no hillshade";
    EXPECT_NEAR(static_cast<double>(map.width()) / map.height(), 2.0, 0.05);
    auto pixelAt = [&](double x, double y) {
        return canvas.at(static_cast<int>(std::lround(map.x0 + x / 20 * map.width())),
                         static_cast<int>(std::lround(map.y0 + y / 10 * map.height())));
    };
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const MapPoint& p = points[k];
        const Rgb want = divergingColour(p.value, limit), got = pixelAt(p.x, p.y);
        EXPECT_TRUE(got == want) << "point " << k << ": " << int(got.r) << "," << int(got.g) << "," << int(got.b)
                                 << " for " << int(want.r) << "," << int(want.g) << "," << int(want.b);
    }
    EXPECT_TRUE(divergingColour(-5, limit) == SATURATED_BLUE) << "beyond the limit: the scale's end";
    EXPECT_TRUE(pixelAt(7, 3) == (Rgb{grey, grey, grey})) << "between the dots, the hillshade";
    // The dot on the east edge is cut there: nothing red beside the map
    // before the colour bar.
    const int y = static_cast<int>(std::lround(map.y0 + 0.3 * map.height()));
    EXPECT_TRUE(boxOf(canvas, near(SATURATED_RED, 60), {map.x1 + 3, y - 6, map.x1 + 9, y + 6}).empty());
    // The colour bar is the map's scale.
    EXPECT_FALSE(boxOf(canvas, near(SATURATED_BLUE, 6), {map.x1 + 3, 0, -1, -1}).empty());
}

TEST(DifferenceMap, ManyCellsAreAveragedWhenSmallerThanAPixel)
{
    // 400 x 400 cells in alternate +-limit columns drawn 100 pixels wide:
    // they must blend to something pale, not alias into stripes.
    MapGrid g = grid(400, 400, 1, 1);
    for (int r = 0; r < 400; ++r)
        for (int c = 0; c < 400; ++c)
            cell(g, r, c) = c % 2 ? 5.f : -5.f;
    Canvas canvas(200, 180);
    const Area a{0, 0, 200, 180};
    canvas.whiteArea(a);
    drawDifferenceMap(canvas.cr(), a, g, 5, "m", "");
    const Box red = boxOf(canvas, near(SATURATED_RED, 10), {0, 0, 100, -1});
    EXPECT_LT(red.count, 50) << "sub-pixel cells were picked, not averaged";
}

TEST(HillshadeMap, LitSlopesDarkSlopesAndHatchedHoles)
{
    // West half a slope facing north-west, east half one facing south-east,
    // a hole of 4 x 4 cells in the middle.
    MapGrid g = grid(12, 12, 10, 10);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c)
            cell(g, r, c) = static_cast<float>(c < 6 ? 10.0 * (r + c) : 10.0 * (24 - r - c));
    for (int r = 4; r < 8; ++r)
        for (int c = 4; c < 8; ++c)
            cell(g, r, c) = ABSENT;
    Canvas canvas(500, 500);
    const Area a{0, 0, 500, 500};
    canvas.whiteArea(a);
    drawHillshadeMap(canvas.cr(), a, g, "two slopes");
    canvas.save("report_chart_hillshade_slopes.png");

    // North-west facing, 54.7 degrees: 0.986 of full light; south-east: 0.
    const Box bright = boxOf(canvas, near({251, 251, 251}, 2));
    const Box dark = boxOf(canvas, exactly({0, 0, 0}));
    ASSERT_FALSE(bright.empty());
    ASSERT_FALSE(dark.empty());
    EXPECT_LT(bright.x0 + bright.width() / 2, dark.x0 + dark.width() / 2) << "the lit slope is the western one";
    EXPECT_GT(dark.count, 20000) << "the eastern slope should be a large dark area";
    const Box hole = solidBoxOf(canvas, exactly(ABSENT_GREY));
    ASSERT_FALSE(hole.empty()) << "the hole shows no grey";
    EXPECT_NEAR(hole.x0 + hole.width() / 2, bright.x0 + (dark.x1 - bright.x0) / 2, 12) << "the hole sits mid-map";
    EXPECT_NEAR(hole.width(), (dark.x1 - bright.x0 + 1) / 3.0, 6) << "4 of 12 cells";
    // Hatched, so that it does not read as a grey slope.
    const Box hatch = boxOf(canvas, [](const Rgb& c) { return c.r == c.g && c.g == c.b && c.r < 120; },
                            {hole.x0, hole.y0, hole.x1, hole.y1});
    EXPECT_GT(hatch.count, 100) << "no hatching over the hole";
}

// ---- charts ---------------------------------------------------------------

// The x of the columns where a colour stands in a vertical line at least
// `run` pixels tall: the charts' marker lines. A solid line's pixels must
// follow each other; a dashed line's are counted with its gaps.
enum class Stroke { solid, dashed };

std::vector<int> verticalLines(Canvas& c, const Rgb& colour, int run, Stroke stroke)
{
    std::vector<int> xs;
    for (int x = 0; x < c.width(); ++x) {
        int count = 0, longest = 0;
        for (int y = 0; y < c.height(); ++y) {
            if (near(colour, 4)(c.at(x, y)))
                ++count;
            else if (stroke == Stroke::solid)
                count = 0;
            longest = std::max(longest, count);
        }
        if (longest >= run)
            xs.push_back(x);
    }
    return xs;
}

double mean(const std::vector<int>& v)
{
    double s = 0;
    for (int x : v)
        s += x;
    return v.empty() ? NAN : s / static_cast<double>(v.size());
}

TEST(Histogram, MediansMarkedWhereTheDataLie)
{
    const Histogram before = markedHistogram(normalSample(-2, 0.7, 5000, 1), -5, 5, 50, "before");
    const Histogram after = markedHistogram(normalSample(1.5, 0.7, 5000, 2), -5, 5, 50, "after");
    Canvas canvas(800, 440);
    const Area a{0, 0, 800, 440};
    canvas.whiteArea(a);
    drawHistogram(canvas.cr(), a, before, after, "m");
    canvas.save("report_chart_histogram_two.png");
    // Median lines run the plot's height in the series' own colour.
    const std::vector<int> blue = verticalLines(canvas, OPAQUE_BLUE, 150, Stroke::solid);
    const std::vector<int> orange = verticalLines(canvas, OPAQUE_ORANGE, 150, Stroke::solid);
    ASSERT_FALSE(blue.empty()) << "no median line for before";
    ASSERT_FALSE(orange.empty()) << "no median line for after";
    EXPECT_LT(mean(blue) + 100, mean(orange)) << "before's median (-2) lies well left of after's (1.5)";
    // The median of a normal sample is where its bars peak: the middle of
    // the highest bar pixels (below the key), against a line 0.7 NMAD off.
    auto beforeBar = [](const Rgb& c) { return c.b > c.r + 40 && c.b > 180 && c.r > 100; };
    const Box bars = boxOf(canvas, beforeBar, {0, 60, -1, -1});
    ASSERT_FALSE(bars.empty());
    const Box peak = boxOf(canvas, beforeBar, {0, bars.y0, -1, bars.y0 + 3});
    EXPECT_NEAR(mean(blue), (peak.x0 + peak.x1) / 2.0, 30) << "before's median line is not at its peak";
    // The bars: translucent blue and orange, and where they overlap, both.
    EXPECT_GT(boxOf(canvas, [](const Rgb& c) { return c.b > c.r + 30 && c.b > 150; }).count, 3000);
    EXPECT_GT(boxOf(canvas, [](const Rgb& c) { return c.r > c.b + 60 && c.r > 200; }).count, 3000);
}

TEST(Cumulative, LevelsMarkedInOrder)
{
    std::vector<double> d;
    for (int i = 0; i < 1000; ++i)
        d.push_back(i / 100.0); // uniform over [0, 10): LE90 9, LE95 9.5
    Canvas canvas(800, 440);
    const Area a{0, 0, 800, 440};
    canvas.whiteArea(a);
    drawCumulative(canvas.cr(), a, cumulativeOf(d, 200, 3, 7), "m");
    canvas.save("report_chart_cumulative_levels.png");
    const std::vector<int> le90 = verticalLines(canvas, OPAQUE_ORANGE, 60, Stroke::dashed);
    const std::vector<int> le95 = verticalLines(canvas, SATURATED_RED, 60, Stroke::dashed);
    ASSERT_FALSE(le90.empty());
    ASSERT_FALSE(le95.empty());
    // 3 and 7 on an axis from 0 to 10: the 7 line lies 40 % of the plot
    // width to the right of the 3 line.
    EXPECT_GT(mean(le95) - mean(le90), 0.3 * 700);
    EXPECT_LT(mean(le95) - mean(le90), 0.5 * 800);
}

TEST(SlopeChart, BarsRiseAndFallFromTheZeroLine)
{
    const std::vector<SlopeBar> classes = {{0, 10, 500, 3, 1}, {10, 90, 400, -3, 1}};
    Canvas canvas(600, 400);
    const Area a{0, 0, 600, 400};
    canvas.whiteArea(a);
    drawSlopeChart(canvas.cr(), a, classes, "m");
    canvas.save("report_chart_slope_signs.png");
    auto medianBar = [](const Rgb& c) { return c.b > c.r + 60 && c.b > 150; };
    // Below the key's swatches at the top.
    const Box up = boxOf(canvas, medianBar, {0, 70, 300, -1});
    const Box down = boxOf(canvas, medianBar, {300, 70, 600, -1});
    ASSERT_FALSE(up.empty());
    ASSERT_FALSE(down.empty());
    EXPECT_LT(up.y1, down.y0 + 3) << "a positive median stands above a negative one's bar";
    EXPECT_NEAR(up.height(), down.height(), 3) << "+3 and -3 are bars of the same length";
}

TEST(FitPanel, TheCurveFillsThePanelDespiteWildPoints)
{
    // Wild points at +60 must not squeeze a curve of amplitude 3.
    Canvas canvas(700, 400);
    const Area a{0, 0, 700, 400};
    canvas.whiteArea(a);
    drawFitPanel(canvas.cr(), a, fitPanel(1, 3, 0, 0));
    canvas.save("report_chart_fit_wild.png");
    const Box curve = boxOf(canvas, near(OPAQUE_BLUE, 8));
    ASSERT_FALSE(curve.empty());
    EXPECT_GT(curve.height(), 0.4 * 400) << "the curve from -3 to 3 is squeezed";
    EXPECT_GT(curve.width(), 0.6 * 700);
    // 3 cos(aspect): the medians of the first and last bins stand high,
    // those around 180 degrees low (below the key on the title's line).
    auto median = [](const Rgb& c) { return std::abs(c.r - 178) + std::abs(c.g - 24) + std::abs(c.b - 43) < 20; };
    const Box north = boxOf(canvas, median, {0, 45, curve.x0 + curve.width() / 12, -1});
    const Box south =
        boxOf(canvas, median, {curve.x0 + curve.width() * 5 / 12, 45, curve.x0 + curve.width() * 7 / 12, -1});
    ASSERT_FALSE(north.empty()) << "no bin medians near aspect 0";
    ASSERT_FALSE(south.empty()) << "no bin medians near aspect 180";
    EXPECT_LT(north.y1, south.y0 - 100) << "the medians near north should stand well above those near south";
}

TEST(Picture, ScaledToFitKeepingItsShape)
{
    // 2 x 1 pixels, red and blue, in a 400 x 300 area: 200-pixel squares.
    const std::vector<unsigned char> rgb = {255, 0, 0, 0, 0, 255};
    Canvas canvas(400, 300);
    const Area a{0, 0, 400, 300};
    canvas.whiteArea(a);
    drawPicture(canvas.cr(), a, 2, 1, rgb, {});
    const Box red = boxOf(canvas, exactly({255, 0, 0}));
    const Box blue = boxOf(canvas, exactly({0, 0, 255}));
    ASSERT_FALSE(red.empty());
    ASSERT_FALSE(blue.empty());
    EXPECT_NEAR(red.width(), 200, 2);
    EXPECT_NEAR(red.height(), 200, 2);
    EXPECT_EQ(blue.y0, red.y0);
    EXPECT_NEAR(blue.x0, red.x1 + 1, 1) << "blue is the right-hand pixel";
    EXPECT_NEAR(red.y0, 50, 2) << "centred in the area";

    // With a legend, the picture shrinks to leave it room, every swatch shows.
    Canvas withLegend(400, 300);
    withLegend.whiteArea(a);
    drawPicture(withLegend.cr(), a, 2, 1, rgb, VIEW_LEGEND);
    withLegend.save("report_chart_picture_legend.png");
    const Box smaller = boxOf(withLegend, exactly({255, 0, 0}));
    EXPECT_LT(smaller.height(), red.height());
    EXPECT_NEAR(static_cast<double>(smaller.width()) / smaller.height(), 1.0, 0.05);
    for (const LegendEntry& e : VIEW_LEGEND)
        EXPECT_GT(boxOf(withLegend, exactly(e.colour)).count, 20) << "no swatch for " << e.text;
}

// ---- PDF -----------------------------------------------------------------

TEST(Charts, OnA4PdfPages)
{
    const std::string path = shotPath("report_charts.pdf");
    cairo_surface_t* pdf = cairo_pdf_surface_create(path.c_str(), 595, 842);
    cairo_t* cr = cairo_create(pdf);
    double y = 40;
    for (const PictureCase& p : everyPicture()) {
        const double h = 500 * p.aspect;
        if (y + h > 800) {
            cairo_show_page(cr);
            y = 40;
        }
        p.draw(cr, {48, y, 500, h});
        EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS) << p.name << ": " << cairo_status_to_string(cairo_status(cr));
        y += h + 20;
    }
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    EXPECT_EQ(cairo_surface_status(pdf), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(pdf);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    EXPECT_GT(std::ftell(f), 10000);
    std::fclose(f);
}

} // namespace
} // namespace orolith::report
