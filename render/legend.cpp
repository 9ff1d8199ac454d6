// The legend's decisions: which scheme, and its texts and colours.
#include "render/legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/cellmath.h"
#include "model/dataset.h"
#include "render/frameinputs.h"
#include "render/names.h"
#include "render/slopeaspect.h"
#include "render/surfacecolor.h"

namespace orolith::render {

namespace {

// Enough samples that the bar shows the ramp's kinks where its legs meet.
constexpr int RAMP_SAMPLES = 49;

std::string formatted(const char* format, double v)
{
    char text[48];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

std::string withUnit(const std::string& text, const std::string& unit)
{
    return unit.empty() ? text : text + " " + unit;
}

// Class swatches from the colours of the classes, highest first, whose
// lower bounds are `top` units, top - 1 units, ..., 1 unit.
std::vector<LegendSwatch> classSwatches(const int* colors, int top, float unit, const std::string& heightUnit)
{
    std::vector<LegendSwatch> out;
    out.push_back({packedColor(colors[0]), withUnit("> " + classBound(top, unit), heightUnit)});
    for (int k = top - 1; k >= 1; --k)
        out.push_back({packedColor(colors[top - k]),
                       withUnit(classBound(k, unit) + " to " + classBound(k + 1, unit), heightUnit)});
    out.push_back({packedColor(colors[top]), withUnit("<= " + classBound(1, unit), heightUnit)});
    return out;
}

Legend rampLegend(const DataSet& d, const std::string& unit)
{
    Legend l;
    l.kind = LegendKind::ramp;
    l.title = "Height (" + unit + ")";
    l.low = d.zmin();
    l.high = d.zmax();
    // The colours as the surface gets them: rampColor of the truncated
    // extremes and height.
    const int zmin = truncToInt(l.low), zmax = truncToInt(l.high);
    for (int i = 0; i < RAMP_SAMPLES; ++i) {
        const double at = static_cast<double>(i) / (RAMP_SAMPLES - 1);
        const double z = l.low + at * (l.high - l.low);
        l.stops.push_back({static_cast<float>(at), rampColor(zmax, zmin, truncToInt(z))});
    }
    const std::vector<double> values = rampTickValues(l.low, l.high);
    const double step = values.size() >= 2 ? values[1] - values[0] : 1;
    for (double v : values) {
        const double at = l.high > l.low ? (v - l.low) / (l.high - l.low) : 0.5;
        l.ticks.push_back({static_cast<float>(at), tickLabel(v, step, unit)});
    }
    return l;
}

Legend heightClassLegend(const DataSet& d)
{
    Legend l;
    l.kind = LegendKind::ramp;
    l.title = "Points per height class";
    const HeightClasses& h = d.heightClasses();
    // heightClassColor's two ends: the emptiest class, the fullest.
    const int counts[2] = {0, 1};
    const HeightClassTable ends{counts, 2, 0, 1};
    const ColorRGB fewest = heightClassColor(0.0f, ends).value_or(ColorRGB{});
    const ColorRGB most = heightClassColor(1.0f, ends).value_or(ColorRGB{});
    l.low = h.minCount;
    l.high = h.maxCount;
    if (h.maxCount > h.minCount) {
        l.stops = {{0.0f, fewest}, {1.0f, most}};
        l.ticks = {{0.0f, std::to_string(h.minCount) + " points"}, {1.0f, std::to_string(h.maxCount) + " points"}};
    } else {
        // Every class equally full: all take the emptiest class's colour.
        l.stops = {{0.0f, fewest}, {1.0f, fewest}};
        l.ticks = {{0.5f, std::to_string(h.minCount) + " points"}};
    }
    return l;
}

Legend wheelLegend()
{
    Legend l;
    l.kind = LegendKind::wheel;
    l.title = "Aspect";
    for (int deg = 0; deg < 360; deg += WHEEL_STEP)
        l.wheel.push_back(slopeColor(static_cast<float>(deg)));
    l.swatches.push_back({slopeColor(static_cast<float>(NOSLOPE)), "Flat"});
    return l;
}

Legend markLegend()
{
    Legend l;
    l.title = "Difference marks";
    const DiffMark above = diffMark(1, 0, 1), below = diffMark(0, 1, 1);
    l.swatches.push_back({above.color.value_or(ColorRGB{}), "DEM above comparison"});
    l.swatches.push_back({below.color.value_or(ColorRGB{}), "DEM below comparison"});
    return l;
}

Legend baseLegend(const DataSet& d, const ViewState& view, const std::string& unit)
{
    Legend l;
    l.title = "Terrain";
    l.swatches.push_back({packedColor(TERRAIN), "Ground"});
    l.swatches.push_back({packedColor(TERRAINHIGH), "Above " + withUnit(std::to_string(view.treeLine), unit) +
                                                        " or steeper than " + formatted("%g", view.slope) + "\u00b0"});
    if (d.hasComparison() && view.drawContours)
        l.swatches.push_back({CONTOUR_GREY, "Comparison data"});
    else if (d.hasComparison() && view.drawPoints)
        l.swatches.push_back({CUBE_COLOR, "Comparison point"});
    return l;
}

} // namespace

bool operator==(const LegendSwatch& a, const LegendSwatch& b) { return a.color == b.color && a.label == b.label; }
bool operator==(const RampStop& a, const RampStop& b) { return a.at == b.at && a.color == b.color; }
bool operator==(const RampTick& a, const RampTick& b) { return a.at == b.at && a.label == b.label; }

bool operator==(const Legend& a, const Legend& b)
{
    return a.scheme == b.scheme && a.kind == b.kind && a.title == b.title && a.swatches == b.swatches &&
           a.low == b.low && a.high == b.high && a.stops == b.stops && a.ticks == b.ticks && a.wheel == b.wheel;
}

std::string heightUnitName(const CrsInfo& crs)
{
    if (crs.verticalUnitMetres == 1 || crs.verticalUnit.empty())
        return "m";
    // The survey foot first: it is within a millionth of a metre of the
    // international foot.
    if (std::fabs(crs.verticalUnitMetres - 1200.0 / 3937.0) < 1e-9)
        return "US ft";
    if (std::fabs(crs.verticalUnitMetres - 0.3048) < 1e-6)
        return "ft";
    return crs.verticalUnit;
}

// The product in float, as curveClass and diffClass compare with it.
std::string classBound(int k, float unit) { return formatted("%g", static_cast<double>(k * unit)); }

std::vector<LegendSwatch> curvatureClassSwatches(float unit, const std::string& heightUnit)
{
    return classSwatches(CURVE_CLASS_COLORS, 3, unit, heightUnit);
}

std::vector<LegendSwatch> differenceClassSwatches(float unit, const std::string& heightUnit)
{
    return classSwatches(DIFF_CLASS_COLORS, 4, unit, heightUnit);
}

std::vector<double> rampTickValues(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi < lo)
        return {};
    if (hi == lo)
        return {lo};
    const double range = hi - lo;
    // Steps from a power of ten above the range downwards, 10, 5, 2, 1,
    // 0.5, ...: the largest that puts three ticks inside.
    double power = std::pow(10.0, std::ceil(std::log10(range)));
    const double factors[] = {1, 0.5, 0.2};
    for (int notch = 0; notch < 60; ++notch) {
        const double step = power * factors[notch % 3];
        if (notch % 3 == 2)
            power /= 10;
        const double first = std::ceil(lo / step - 1e-9), last = std::floor(hi / step + 1e-9);
        if (last - first + 1 >= 3) {
            std::vector<double> out;
            for (double k = first; k <= last; ++k)
                out.push_back(k * step);
            return out;
        }
    }
    return {lo, hi};
}

std::string tickLabel(double value, double step, const std::string& unit)
{
    const int decimals = step > 0 ? std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9))) : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    // No "-0" for a tick at zero.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return withUnit(s, unit);
}

LegendScheme legendScheme(const DataSet& d, const ViewState& view)
{
    const ViewFlags f = viewFlags(view);
    const bool comparison = d.hasComparison();
    if (f.drawCurveColor)
        return LegendScheme::curvature;
    if (f.drawDiffColor && comparison)
        return LegendScheme::elevationDifference;
    if (f.drawCurveDiff && comparison)
        return LegendScheme::curvatureDifference;
    if (f.drawDiff && comparison)
        return LegendScheme::differenceMarks;
    const HeightClassTable table = heightClassTable(d);
    if (f.colorHeightClasses && table.classes && table.interval > 0)
        return LegendScheme::heightClasses;
    if (f.drawColors)
        return LegendScheme::heightRamp;
    if (f.colorSlope)
        return LegendScheme::aspect;
    return LegendScheme::base;
}

Legend legendFor(const DataSet& d, const ViewState& view)
{
    const std::string unit = heightUnitName(d.header().crs);
    Legend l;
    const LegendScheme scheme = legendScheme(d, view);
    switch (scheme) {
    case LegendScheme::curvature:
        l.title = "Curvature error";
        l.swatches = curvatureClassSwatches(view.curveUnits, unit);
        break;
    case LegendScheme::elevationDifference:
        l.title = "Elevation difference";
        l.swatches = differenceClassSwatches(view.diffUnits, unit);
        break;
    case LegendScheme::curvatureDifference:
        l.title = "Curvature difference";
        l.swatches = differenceClassSwatches(view.diffUnits, unit);
        break;
    case LegendScheme::differenceMarks: l = markLegend(); break;
    case LegendScheme::heightClasses: l = heightClassLegend(d); break;
    case LegendScheme::heightRamp: l = rampLegend(d, unit); break;
    case LegendScheme::aspect: l = wheelLegend(); break;
    case LegendScheme::base: l = baseLegend(d, view, unit); break;
    }
    l.scheme = scheme;
    return l;
}

} // namespace orolith::render
