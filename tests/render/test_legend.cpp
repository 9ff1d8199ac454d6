// The legend without a display: the scheme it names is the one the
// surface is drawn in (checked against schemeLook for every combination
// of switches), the class bounds in several units, the ramp's ends and
// ticks, the wheel's compass, the base colours; then its box's size and
// place, the pixels cairo makes of it, and the cache that keeps a frame
// from rasterising it again.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "model/cellmath.h"
#include "model/dataset.h"
#include "render/frameinputs.h"
#include "render/legend.h"
#include "render/legendimage.h"
#include "render/names.h"
#include "render/slopeaspect.h"
#include "render/surfacecolor.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::render;

namespace {

using L = LegendScheme;

float hill(int r, int c) { return 100.0f + 3.0f * r + 2.0f * c + (r == 3 && c == 4 ? 20.0f : 0.0f); }
float hillReference(int r, int c) { return std::round(hill(r, c) / 10) * 10; }

std::vector<std::string> labels(const std::vector<LegendSwatch>& swatches)
{
    std::vector<std::string> out;
    for (const LegendSwatch& s : swatches)
        out.push_back(s.label);
    return out;
}

bool sameColor(const ColorRGB& a, const ColorRGB& b, float tol = 1e-5f)
{
    return std::fabs(a.r - b.r) < tol && std::fabs(a.g - b.g) < tol && std::fabs(a.b - b.b) < tol;
}

// --- which scheme --------------------------------------------------------------

// For every combination of the seven colouring switches, on a DEM alone, a
// pair, and a pair with its height classes: the legend names the scheme
// whose colour schemeLook gives a cell in which every class is present.
TEST(LegendScheme, IsTheSchemeTheSurfaceIsDrawnIn)
{
    DataSet alone = demDataSet(8, 8, 10, hill);
    DataSet pair = pairDataSet(8, 8, 10, hill, hillReference);
    DataSet classed = pairDataSet(8, 8, 10, hill, hillReference);
    SilentMessages quiet;
    ASSERT_TRUE(classed.computeHeightClasses(quiet));
    bool flags[7];
    bool* const refs[7] = {&flags[0], &flags[1], &flags[2], &flags[3], &flags[4], &flags[5], &flags[6]};
    std::map<L, int> seen;
    for (const DataSet* d : {&alone, &pair, &classed}) {
        const bool comparison = d->hasComparison();
        const HeightClassTable table = heightClassTable(*d);
        for (int mask = 0; mask < 128; ++mask) {
            for (int k = 0; k < 7; ++k)
                *refs[k] = (mask >> k) & 1;
            ViewState v;
            v.drawCurveColor = flags[0];
            v.drawDiffColor = flags[1];
            v.drawCurveDiff = flags[2];
            v.drawDiff = flags[3];
            v.colorHeightClasses = flags[4];
            v.drawColors = flags[5];
            v.colorSlope = flags[6];

            CellSample s{};
            s.elev = 150;
            s.comp = comparison ? 140.0f : 0.0f;
            s.hasComp = s.compPresent = comparison;
            s.curveColor = HIGH;
            s.diffColor = comparison ? VERYHIGH : TERRAIN;
            s.curveDiffColor = comparison ? MEDIUM : TERRAIN;
            s.zscale = 1;
            s.zmin = 100;
            s.zmax = 200;
            const ColorRGB c = schemeLook(
                                   viewFlags(v), s, table, [] { return false; }, [] { return 45.0f; })
                                   .color;
            L drawn = L::base;
            if (c == packedColor(HIGH))
                drawn = L::curvature;
            else if (c == packedColor(VERYHIGH))
                drawn = L::elevationDifference;
            else if (c == packedColor(MEDIUM))
                drawn = L::curvatureDifference;
            else if (c == *diffMark(150, 140, 1).color)
                drawn = L::differenceMarks;
            else if (table.classes && c == *heightClassColor(150, table))
                drawn = L::heightClasses;
            else if (c == rampColor(200, 100, 150))
                drawn = L::heightRamp;
            else if (c == slopeColor(45))
                drawn = L::aspect;
            EXPECT_EQ(legendScheme(*d, v), drawn)
                << "switches " << mask << (comparison ? " with comparison" : " on a DEM alone")
                << (table.classes ? " and height classes" : "");
            EXPECT_EQ(legendFor(*d, v).scheme, drawn) << "switches " << mask;
            ++seen[drawn];
        }
    }
    EXPECT_EQ(seen.size(), 8u) << "a scheme was never drawn: the cross-check would miss its rule";
}

// --- class bounds ----------------------------------------------------------------

TEST(LegendClasses, BoundsInTheUnitTopClassFirst)
{
    const struct {
        bool curvature;
        float unit;
        const char* heightUnit;
        std::vector<std::string> expected;
    } cases[] = {
        {true, 1.0f, "m", {"> 3 m", "2 to 3 m", "1 to 2 m", "<= 1 m"}},
        {true, 0.5f, "m", {"> 1.5 m", "1 to 1.5 m", "0.5 to 1 m", "<= 0.5 m"}},
        {true, 2.5f, "ft", {"> 7.5 ft", "5 to 7.5 ft", "2.5 to 5 ft", "<= 2.5 ft"}},
        {false, 1.0f, "m", {"> 4 m", "3 to 4 m", "2 to 3 m", "1 to 2 m", "<= 1 m"}},
        {false, 0.5f, "m", {"> 2 m", "1.5 to 2 m", "1 to 1.5 m", "0.5 to 1 m", "<= 0.5 m"}},
        {false,
         0.1f,
         "US ft",
         {"> 0.4 US ft", "0.3 to 0.4 US ft", "0.2 to 0.3 US ft", "0.1 to 0.2 US ft", "<= 0.1 US ft"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.curvature ? "curvature" : "difference") + " unit " + std::to_string(c.unit));
        const std::vector<LegendSwatch> s =
            c.curvature ? curvatureClassSwatches(c.unit, c.heightUnit) : differenceClassSwatches(c.unit, c.heightUnit);
        EXPECT_EQ(labels(s), c.expected);
        // A value in the middle of each swatch's bounds is in the class
        // whose colour the swatch shows.
        const int top = static_cast<int>(s.size()) - 1;
        for (int i = 0; i <= top; ++i) {
            const float middle = (static_cast<float>(top - i) + 0.5f) * c.unit;
            const int k = c.curvature ? curveClass(middle, c.unit) : diffClass(middle, c.unit);
            EXPECT_EQ(k, i) << s[i].label;
            const int* colors = c.curvature ? CURVE_CLASS_COLORS : DIFF_CLASS_COLORS;
            EXPECT_TRUE(s[i].color == packedColor(colors[k])) << s[i].label << " has another class's colour";
        }
    }
}

// The data set's unit and the view's class units reach the labels; the
// curvature difference takes the difference unit.
TEST(LegendClasses, TitlesUnitsAndTheViewsClassUnits)
{
    GridData feet = demGrid(8, 8, 10, hill);
    feet.header.crs.verticalUnit = "foot";
    feet.header.crs.verticalUnitMetres = 0.3048;
    SilentMessages quiet;
    const DataSet inFeet(std::move(feet), std::nullopt, 1, ClassUnits{}, quiet);
    const DataSet pair = pairDataSet(8, 8, 10, hill, hillReference);
    ViewState v;
    v.curveUnits = 0.5f;
    v.diffUnits = 2.0f;
    v.drawCurveColor = true;
    Legend l = legendFor(inFeet, v);
    EXPECT_EQ(l.title, "Curvature error");
    EXPECT_EQ(l.kind, LegendKind::classes);
    EXPECT_EQ(labels(l.swatches), (std::vector<std::string>{"> 1.5 ft", "1 to 1.5 ft", "0.5 to 1 ft", "<= 0.5 ft"}));
    v.drawCurveColor = false;
    v.drawDiffColor = true;
    l = legendFor(pair, v);
    EXPECT_EQ(l.title, "Elevation difference");
    EXPECT_EQ(l.swatches.front().label, "> 8 m");
    v.drawDiffColor = false;
    v.drawCurveDiff = true;
    l = legendFor(pair, v);
    EXPECT_EQ(l.title, "Curvature difference");
    EXPECT_EQ(l.swatches.back().label, "<= 2 m") << "the curvature difference is classed in the difference unit";
}

TEST(LegendClasses, HeightUnitNames)
{
    const struct {
        const char* unit;
        double metres;
        const char* name;
    } cases[] = {{"", 0, "m"},
                 {"metre", 1, "m"},
                 {"foot", 0.3048, "ft"},
                 {"US survey foot", 1200.0 / 3937.0, "US ft"},
                 {"decimetre", 0.1, "decimetre"}};
    for (const auto& c : cases) {
        CrsInfo crs;
        crs.verticalUnit = c.unit;
        crs.verticalUnitMetres = c.metres;
        EXPECT_EQ(heightUnitName(crs), c.name) << c.unit;
    }
}

// --- the ramp ---------------------------------------------------------------------

TEST(LegendRamp, RunsFromTheLowestToTheHighestHeightWithRoundTicks)
{
    const DataSet d = demDataSet(10, 10, 10, [](int r, int c) { return 103.7f + 308.5f * (r * 10 + c) / 99.0f; });
    ViewState v;
    v.drawColors = true;
    const Legend l = legendFor(d, v);
    EXPECT_EQ(l.kind, LegendKind::ramp);
    EXPECT_EQ(l.title, "Height (m)");
    EXPECT_EQ(l.low, d.zmin());
    EXPECT_EQ(l.high, d.zmax());
    ASSERT_GE(l.stops.size(), 2u);
    EXPECT_EQ(l.stops.front().at, 0.0f);
    EXPECT_EQ(l.stops.back().at, 1.0f);
    EXPECT_TRUE(sameColor(l.stops.front().color, {0, 0.1f, 0})) << "the lowest height: the ramp's dark green";
    EXPECT_TRUE(sameColor(l.stops.back().color, {0.8f, 0, 0})) << "the highest height: the ramp's red";
    std::vector<std::string> ticks;
    for (const RampTick& t : l.ticks)
        ticks.push_back(t.label);
    EXPECT_EQ(ticks, (std::vector<std::string>{"200 m", "300 m", "400 m"}));
    ASSERT_EQ(l.ticks.size(), 3u);
    EXPECT_NEAR(l.ticks[0].at, (200 - 103.7) / 308.5, 1e-4) << "the 200 m tick's place on the bar";
    EXPECT_NEAR(l.ticks[2].at, (400 - 103.7) / 308.5, 1e-4);
}

TEST(LegendRamp, TickValuesAndLabels)
{
    const struct {
        double lo, hi;
        std::vector<double> ticks;
    } cases[] = {
        {0, 300, {0, 100, 200, 300}},
        {0, 1, {0, 0.5, 1}},
        {-12.5, 7.3, {-10, -5, 0, 5}},
        {1000, 1004, {1000, 1002, 1004}},
        {0.12, 0.31, {0.15, 0.2, 0.25, 0.3}},
        {5, 5, {5}},
        {std::nan(""), 1, {}},
        {0, INFINITY, {}},
    };
    for (const auto& c : cases) {
        const std::vector<double> got = rampTickValues(c.lo, c.hi);
        ASSERT_EQ(got.size(), c.ticks.size()) << c.lo << " to " << c.hi;
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.ticks[i], 1e-9) << c.lo << " to " << c.hi;
    }
    EXPECT_EQ(tickLabel(1500, 500, "m"), "1500 m") << "no exponent";
    EXPECT_EQ(tickLabel(0.25, 0.05, "ft"), "0.25 ft");
    EXPECT_EQ(tickLabel(2.5, 0.5, "m"), "2.5 m");
    EXPECT_EQ(tickLabel(-1e-12, 5, "m"), "0 m") << "no minus zero";
    EXPECT_EQ(tickLabel(-5, 5, "m"), "-5 m");
}

TEST(LegendRamp, HeightClassesRunFromTheEmptiestClassToTheFullest)
{
    DataSet d = pairDataSet(8, 8, 10, hill, hillReference);
    SilentMessages quiet;
    ASSERT_TRUE(d.computeHeightClasses(quiet));
    ViewState v;
    v.colorHeightClasses = true;
    const Legend l = legendFor(d, v);
    ASSERT_EQ(l.scheme, L::heightClasses);
    EXPECT_EQ(l.kind, LegendKind::ramp);
    const HeightClasses& h = d.heightClasses();
    ASSERT_GT(h.maxCount, h.minCount);
    ASSERT_EQ(l.ticks.size(), 2u);
    EXPECT_EQ(l.ticks.front().label, std::to_string(h.minCount) + " points");
    EXPECT_EQ(l.ticks.back().label, std::to_string(h.maxCount) + " points");
    EXPECT_TRUE(sameColor(l.stops.front().color, {0.2f, 0.6f, 0.3f})) << "the emptiest class";
    EXPECT_TRUE(sameColor(l.stops.back().color, {1.0f, 0.6f, 0.3f})) << "the fullest class";
}

// --- wheel, marks and base colours ---------------------------------------------------

TEST(LegendOthers, WheelMarksAndBaseColours)
{
    const DataSet pair = pairDataSet(8, 8, 10, hill, hillReference);
    ViewState v;
    v.colorSlope = true;
    Legend l = legendFor(pair, v);
    EXPECT_EQ(l.kind, LegendKind::wheel);
    ASSERT_EQ(l.wheel.size(), 360u / WHEEL_STEP);
    const int quarter = 90 / WHEEL_STEP;
    EXPECT_TRUE(sameColor(l.wheel[0], {1, 1, 1})) << "north white";
    EXPECT_TRUE(sameColor(l.wheel[quarter], {1, 0, 0})) << "east red";
    EXPECT_TRUE(sameColor(l.wheel[2 * quarter], {0, 0, 0})) << "south black";
    EXPECT_TRUE(sameColor(l.wheel[3 * quarter], {0, 0, 1})) << "west blue";
    ASSERT_EQ(l.swatches.size(), 1u);
    EXPECT_TRUE(sameColor(l.swatches[0].color, {0.5f, 0.5f, 0.5f})) << "no aspect: grey";

    v.colorSlope = false;
    v.drawDiff = true;
    l = legendFor(pair, v);
    EXPECT_EQ(l.title, "Difference marks");
    ASSERT_EQ(l.swatches.size(), 2u);
    EXPECT_EQ(l.swatches[0].label, "DEM above comparison");
    EXPECT_TRUE(sameColor(l.swatches[0].color, {0.3f, 0.3f, 0.9f})) << "above: blue";
    EXPECT_TRUE(sameColor(l.swatches[1].color, {0.9f, 0.3f, 0.3f})) << "below: red";

    v.drawDiff = false;
    v.treeLine = 2500;
    v.slope = 12.5f;
    l = legendFor(pair, v);
    EXPECT_EQ(l.scheme, L::base);
    EXPECT_EQ(labels(l.swatches), (std::vector<std::string>{"Ground", "Above 2500 m or steeper than 12.5\u00b0"}));
    EXPECT_TRUE(l.swatches[0].color == packedColor(TERRAIN));
    EXPECT_TRUE(l.swatches[1].color == packedColor(TERRAINHIGH));
    v.drawContours = true;
    l = legendFor(pair, v);
    ASSERT_EQ(l.swatches.size(), 3u) << "contours drawn over the ground";
    EXPECT_TRUE(l.swatches[2].color == CONTOUR_GREY);
    EXPECT_EQ(legendFor(demDataSet(8, 8, 10, hill), v).swatches.size(), 2u) << "no contours without comparison";
}

// --- the box ------------------------------------------------------------------------

Legend classesOf(std::size_t n, const std::string& title = "Classes")
{
    Legend l;
    l.title = title;
    for (std::size_t i = 0; i < n; ++i)
        l.swatches.push_back({ColorRGB{0.1f * i, 0.5f, 0.5f}, "class " + std::to_string(i)});
    return l;
}

TEST(LegendBox, SizeFollowsTheRowsAndStaysWithinItsWidths)
{
    const LegendBox four = legendBox(classesOf(4), 1), five = legendBox(classesOf(5), 1);
    EXPECT_EQ(five.height - four.height, 18) << "a row more";
    EXPECT_EQ(four.width, 140) << "short texts: the narrowest box";
    EXPECT_EQ(legendBox(classesOf(2, std::string(80, 'x')), 1).width, 200) << "a long title: the widest box";
    const LegendBox twice = legendBox(classesOf(4), 2);
    EXPECT_NEAR(twice.width, 2 * four.width, 1);
    EXPECT_NEAR(twice.height, 2 * four.height, 1);
    const DataSet d = demDataSet(8, 8, 10, hill);
    for (bool ramp : {false, true}) {
        ViewState v;
        v.drawColors = ramp;
        v.colorSlope = !ramp;
        const LegendBox b = legendBox(legendFor(d, v), 1);
        EXPECT_GE(b.width, 140);
        EXPECT_LE(b.width, 200);
        EXPECT_GE(b.height, 120) << (ramp ? "the bar" : "the wheel") << " and its labels";
    }
}

TEST(LegendBox, ScaleAndPlace)
{
    const struct {
        int w, h;
        double scale;
    } scales[] = {{650, 625, 1},     {100, 80, 1},    {1299, 3000, 1}, {1300, 1300, 1},
                  {1950, 2000, 1.5}, {2600, 2600, 2}, {8192, 8192, 3}};
    for (const auto& s : scales)
        EXPECT_EQ(legendScale(s.w, s.h), s.scale) << s.w << " x " << s.h;

    const LegendBox box{170, 120};
    const std::optional<LegendPlace> p = legendPlace(650, 625, box, 1);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 10);
    EXPECT_EQ(p->y, 10);
    EXPECT_EQ(legendPlace(1300, 1300, {340, 240}, 2)->x, 20) << "the margin grows with the box";
    EXPECT_TRUE(legendPlace(190, 140, box, 1)) << "exactly room for box and margins";
    EXPECT_FALSE(legendPlace(189, 140, box, 1)) << "a pixel too narrow";
    EXPECT_FALSE(legendPlace(190, 139, box, 1)) << "a pixel too low";
}

// --- the pixels -----------------------------------------------------------------------

struct Rgba {
    int r, g, b, a;
};
// x from the left, y from the top, as a person reads the box.
Rgba pixel(const LegendImage& img, int x, int y)
{
    const unsigned char* p = &img.rgba[(static_cast<std::size_t>(img.height - 1 - y) * img.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}
bool near(const Rgba& p, int r, int g, int b, int a, int tol = 3)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol && std::abs(p.a - a) <= tol;
}
// Rows (from the top) where an opaque pixel of colour c is.
std::vector<int> rowsOf(const LegendImage& img, const ColorRGB& c, int tol = 0)
{
    std::vector<int> rows;
    const int r = std::lround(c.r * 255), g = std::lround(c.g * 255), b = std::lround(c.b * 255);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (near(pixel(img, x, y), r, g, b, 255, tol)) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST(LegendImage, FramedWhiteBoxWithEverySwatchTopClassFirst)
{
    const Legend l = [] {
        Legend c;
        c.title = "Elevation difference";
        c.swatches = differenceClassSwatches(1, "m");
        return c;
    }();
    const LegendImage img = rasterizeLegend(l, 1);
    const LegendBox box = legendBox(l, 1);
    ASSERT_EQ(img.width, box.width);
    ASSERT_EQ(img.height, box.height);
    ASSERT_EQ(img.rgba.size(), static_cast<std::size_t>(img.width) * img.height * 4);
    EXPECT_TRUE(near(pixel(img, 0, img.height / 2), 89, 89, 89, 255)) << "the frame's left side";
    EXPECT_TRUE(near(pixel(img, img.width / 2, img.height - 1), 89, 89, 89, 255)) << "the frame's bottom";
    // White at 85 %, premultiplied.
    EXPECT_TRUE(near(pixel(img, img.width - 3, 3), 217, 217, 217, 217)) << "the box inside its frame";
    int lastRow = -1;
    for (const LegendSwatch& s : l.swatches) {
        const std::vector<int> rows = rowsOf(img, s.color);
        ASSERT_GE(rows.size(), 8u) << "no swatch for " << s.label;
        EXPECT_GT(rows.front(), lastRow) << s.label << " is not below the class above it";
        lastRow = rows.back();
    }
}

TEST(LegendImage, RampBarRunsUpwardsAndTheWheelPointsNorth)
{
    Legend ramp;
    ramp.kind = LegendKind::ramp;
    ramp.title = "Height (m)";
    ramp.stops = {{0.0f, {0, 0, 1}}, {1.0f, {1, 0, 0}}};
    ramp.ticks = {{0.0f, "0 m"}, {1.0f, "100 m"}};
    const LegendImage bar = rasterizeLegend(ramp, 1);
    // The gradient is sampled at the pixels' middles: the ends come within
    // a few levels of the stops' colours.
    const std::vector<int> blue = rowsOf(bar, {0, 0, 1}, 8), red = rowsOf(bar, {1, 0, 0}, 8);
    ASSERT_FALSE(blue.empty() || red.empty()) << "the bar's ends";
    EXPECT_LT(red.back(), blue.front()) << "the highest value's colour above the lowest's";

    Legend wheel;
    wheel.kind = LegendKind::wheel;
    wheel.title = "Aspect";
    for (int deg = 0; deg < 360; deg += WHEEL_STEP)
        wheel.wheel.push_back(slopeColor(static_cast<float>(deg)));
    const LegendImage w = rasterizeLegend(wheel, 1);
    // The ring's middle radius, around its centre; the box is 140 wide.
    const int cx = w.width / 2, cy = 8 + 20 + 14 + 38, r = 27;
    EXPECT_TRUE(near(pixel(w, cx, cy - r), 255, 255, 255, 255, 12)) << "north white at the top";
    EXPECT_TRUE(near(pixel(w, cx + r, cy), 255, 0, 0, 255, 12)) << "east red on the right";
    EXPECT_TRUE(near(pixel(w, cx, cy + r), 0, 0, 0, 255, 12)) << "south black at the bottom";
    EXPECT_TRUE(near(pixel(w, cx - r, cy), 0, 0, 255, 255, 12)) << "west blue on the left";
}

TEST(LegendImage, TheCacheRasterisesOnlyWhatChanged)
{
    LegendImageCache cache;
    EXPECT_EQ(cache.last(), nullptr);
    Legend l = classesOf(3);
    const LegendImage& first = cache.imageFor(l, 1);
    EXPECT_EQ(cache.imageFor(l, 1).rgba, first.rgba);
    EXPECT_EQ(cache.rasterisations(), 1) << "the same legend again";
    l.swatches[1].label = "other";
    cache.imageFor(l, 1);
    EXPECT_EQ(cache.rasterisations(), 2) << "a label changed";
    cache.imageFor(l, 1.5);
    EXPECT_EQ(cache.rasterisations(), 3) << "the scale changed";
    l.swatches[2].color.g = 0.25f;
    cache.imageFor(l, 1.5);
    EXPECT_EQ(cache.rasterisations(), 4) << "a colour changed";
    cache.imageFor(l, 1.5);
    EXPECT_EQ(cache.rasterisations(), 4);
    ASSERT_NE(cache.last(), nullptr);
    EXPECT_EQ(cache.last()->width, legendBox(l, 1.5).width);
}

} // namespace
