// What the legend of the picture says: the colour scheme the surface is
// drawn in (chosen with schemeLook's precedence, so the legend describes
// what is on screen) and, for it, a title and either a ramp, class
// swatches or the aspect wheel. Plain values, no GL and no cairo:
// legendimage rasterises a Legend, the frame draws the image, and the
// accuracy report takes its class texts from here too.
#ifndef OROLITH_RENDER_LEGEND_H
#define OROLITH_RENDER_LEGEND_H

#include <string>
#include <vector>

#include "model/gridfile.h"
#include "render/colorrgb.h"
#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// The scheme a frame colours the surface with, in schemeLook's order.
enum class LegendScheme {
    base,                // no scheme: ground, and bare ground above the tree line or steep
    curvature,           // curvature classes
    elevationDifference, // elevation difference classes
    curvatureDifference, // curvature difference classes
    differenceMarks,     // blue and red marks of DEM minus comparison
    heightClasses,       // the height-class histogram's shares
    heightRamp,          // the height ramp
    aspect,              // the aspect wheel
};

enum class LegendKind { ramp, classes, wheel };

struct LegendSwatch {
    ColorRGB color;
    std::string label;
};

// A ramp's colour or tick at `at`: 0 the bottom of the bar, 1 its top.
struct RampStop {
    float at;
    ColorRGB color;
};
struct RampTick {
    float at;
    std::string label;
};

// Colours of the aspect wheel every this many degrees, clockwise from north.
constexpr int WHEEL_STEP = 5;

struct Legend {
    LegendScheme scheme = LegendScheme::base;
    LegendKind kind = LegendKind::classes;
    std::string title;
    // Classes: one a class, the top class first. Wheel: the colour the
    // wheel cannot show (no aspect).
    std::vector<LegendSwatch> swatches;
    // Ramp: the values at its bottom and top, its colours upwards and its
    // tick labels.
    double low = 0, high = 0;
    std::vector<RampStop> stops;
    std::vector<RampTick> ticks;
    // Wheel: 360 / WHEEL_STEP colours from north clockwise.
    std::vector<ColorRGB> wheel;
};

bool operator==(const LegendSwatch& a, const LegendSwatch& b);
bool operator==(const RampStop& a, const RampStop& b);
bool operator==(const RampTick& a, const RampTick& b);
bool operator==(const Legend& a, const Legend& b);
inline bool operator!=(const Legend& a, const Legend& b) { return !(a == b); }

// The heights' unit as labels name it: the one the file states ("m",
// "ft", "US ft", or its own name), metres when it states none, as the
// analyses take them.
std::string heightUnitName(const CrsInfo& crs);

// A class bound k * unit as people write it: "4", "1.5", "0.25".
std::string classBound(int k, float unit);

// The class swatches in `unit`, the top class first, each with its bounds
// and the heights' unit: curvature "> 3 m", "2 to 3 m", "1 to 2 m",
// "<= 1 m" (curveClass); differences "> 4 m" down to "<= 1 m" (diffClass).
// The colours are the classes' own, the last the ground's.
std::vector<LegendSwatch> curvatureClassSwatches(float unit, const std::string& heightUnit);
std::vector<LegendSwatch> differenceClassSwatches(float unit, const std::string& heightUnit);

// Round values inside [lo, hi] for a ramp's ticks: steps of 1, 2 or 5
// times a power of ten, three to six of them where the range allows; the
// one value of an empty range; none for a range that is not finite.
std::vector<double> rampTickValues(double lo, double hi);
// A tick value with the decimals its step needs, and the unit.
std::string tickLabel(double value, double step, const std::string& unit);

// The scheme drawn for `d` as `view`: the first of curvature, elevation
// difference, curvature difference, difference marks, height classes, the
// ramp and the aspect wheel that is on and can colour a cell of `d`.
LegendScheme legendScheme(const DataSet& d, const ViewState& view);

// The legend of that scheme. `d` has a DEM.
Legend legendFor(const DataSet& d, const ViewState& view);

} // namespace orolith::render

#endif
