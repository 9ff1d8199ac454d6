// What the report's pictures show, as plain values a unit test can check:
// the colour of a difference, the grey of a lit cell, a histogram's bins,
// the cumulative curve, tick positions, the length of a scale bar, the
// medians of aspect bins. report/charts.h draws them.
#ifndef OROLITH_REPORT_CHARTDATA_H
#define OROLITH_REPORT_CHARTDATA_H

#include <cstddef>
#include <string>
#include <vector>

namespace orolith::report {

struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A map of the DEM's grid, maybe downsampled: row 0 north, NaN where
// absent; `cellWidth` and `cellHeight` are one map cell's ground size in
// metres (map units of a projected grid).
struct MapGrid {
    int rows = 0, cols = 0;
    std::vector<float> values;
    double cellWidth = 1, cellHeight = 1;
};

// A point drawn on a map: its place in map cells from the map's north-west
// corner (x east, y south; the first cell's centre is at 0.5, 0.5) and
// its value.
struct MapPoint {
    double x = 0, y = 0;
    double value = 0;
};

// The grey of absent cells on every map.
constexpr Rgb ABSENT_GREY{160, 160, 160};

// A diverging scale centred on 0: blue below, white at 0, red above,
// saturated at and beyond +-limit. NaN: ABSENT_GREY.
Rgb divergingColour(double v, double limit);

// The hillshade of `heights` lit from azimuth 315 degrees, altitude 45
// (Horn's gradient over the present 3 x 3 window; the border and cells
// next to absent ones use the neighbours that exist), 0 to 1, NaN where
// the cell is absent.
std::vector<float> hillshade(const MapGrid& heights);

// Evenly spaced round tick values (1, 2 or 5 times a power of ten) that
// cover [lo, hi] with about `count` ticks.
std::vector<double> niceTicks(double lo, double hi, int count);

// The longest round ground length (1, 2 or 5 times a power of ten, in
// metres) that fits in `maxMetres`.
double scaleBarMetres(double maxMetres);

// A histogram over [lo, hi) in `counts.size()` equal bins; values outside
// are counted in `below` and `above`, NaN nowhere. median and nmad are
// marked on it: histogramOf leaves them NaN (nothing marked) for the
// caller, who knows them, to set.
struct Histogram {
    double lo = 0, hi = 0;
    std::vector<std::size_t> counts;
    std::size_t below = 0, above = 0;
    double median = 0, nmad = 0;
    std::string label; // "before", "after"
};
Histogram histogramOf(const std::vector<double>& values, double lo, double hi, int bins);

// The cumulative distribution of |d|: points (x, share) from 0 to the
// largest |d| shown, at most `samples` of them, with LE90 and LE95.
struct Cumulative {
    std::vector<double> x, share;
    double le90 = 0, le95 = 0;
};
Cumulative cumulativeOf(std::vector<double> absDifferences, int samples, double le90, double le95);

// One bar group of the slope chart.
struct SlopeBar {
    double from = 0, to = 90;
    std::size_t count = 0;
    double median = 0, nmad = 0; // meaningless with count 0
};

// One iteration of the co-registration fit: the sample of points
// (aspect in degrees clockwise from north, y = d / tan(slope)), the fitted
// y = north cos(aspect) + east sin(aspect) + c, and how many points the
// fit had in all.
struct FitPanel {
    int iteration = 0;
    std::vector<float> aspect, y;
    double north = 0, east = 0, c = 0;
    std::size_t points = 0;
};

// Medians of y in bins of `width` degrees of aspect from 0 to 360; NaN for
// an empty bin.
std::vector<double> binMedians(const std::vector<float>& aspect, const std::vector<float>& y, double width);

// The y range a fit panel shows: the bin medians and the curve with a
// margin, not the outliers of the sample.
struct Range {
    double lo = 0, hi = 0;
};
Range fitPanelRange(const FitPanel& panel, const std::vector<double>& medians);

// One entry of a picture's legend.
struct LegendEntry {
    Rgb colour;
    std::string text;
};

} // namespace orolith::report

#endif
