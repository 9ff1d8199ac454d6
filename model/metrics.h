// Accuracy figures of a DEM against reference heights, overall and per
// slope class, in the form DEM producers report them: bias and spread,
// robust figures that blunders cannot inflate, and the 90 % and 95 % error
// levels. The command line's --metrics and --coregister modes print them;
// accuracyTable is plain text so that the statistics window can show the
// same table beneath its report.
//
// d is the DEM height minus the reference height, in double, over the
// points where both are present.
#ifndef OROLITH_MODEL_METRICS_H
#define OROLITH_MODEL_METRICS_H

#include <cstddef>
#include <string>
#include <vector>

#include "model/gridview.h"
#include "model/window3x3.h"

namespace orolith::model {

// The figures of one set of differences. With count 0 the others mean
// nothing and read n/a.
struct AccuracyFigures {
    std::size_t count = 0;
    double mean = 0, std = 0, rmse = 0, min = 0, max = 0;
    double median = 0, nmad = 0, le90 = 0, le95 = 0;
};

// The NMAD scales the median absolute deviation so that it equals the
// standard deviation for normally distributed errors.
constexpr double NMAD_FACTOR = 1.4826;

// Figures of the n differences in d.
AccuracyFigures accuracyOf(const double* d, std::size_t n);

// Median of n > 0 values (for an even count the mean of the two middle
// values), and the NMAD about a given median: 1.4826 times the median of
// the absolute deviations from it.
double medianOf(const double* v, std::size_t n);
double nmadOf(const double* v, std::size_t n, double median);

// The k of the nearest-rank percentile: the k-th smallest of n values,
// k = ceil(percent x n / 100), at least 1 when n is.
std::size_t nearestRank(std::size_t n, int percent);

// Gradient of the DEM at an interior point by Horn's 3x3 method (B. K. P.
// Horn, "Hill shading and the reflectance map", Proc. IEEE 69(1), 1981):
// the rise per unit of distance toward the east and toward the north, with
// `spacing` the distances between columns (x) and between rows (y). Row 0
// is the northern edge and columns grow east.
struct Gradient {
    double east = 0, north = 0;
};
inline Gradient hornGradient(const Window3x3& z, const GroundSpacing& spacing)
{
    // The eight neighbours; row r - 1 is the northern one.
    double nw = z.nw(), n = z.n(), ne = z.ne();
    double w = z.w(), e = z.e();
    double sw = z.sw(), s = z.s(), se = z.se();
    Gradient out;
    out.east = ((ne + 2 * e + se) - (nw + 2 * w + sw)) / (8 * spacing.x);
    out.north = ((nw + 2 * n + ne) - (sw + 2 * s + se)) / (8 * spacing.y);
    return out;
}
// The same at the interior point (r, c) of g.
inline Gradient hornGradient(const GridView& g, int r, int c, const GroundSpacing& spacing)
{
    return hornGradient(windowAt(g, r, c), spacing);
}

// Slope in degrees of a gradient of magnitude g (the tangent of the slope).
double slopeDegrees(double g);

// The least gradient magnitude whose slope in degrees is at least `degrees`:
// the grid loops compare magnitudes with it instead of taking an arctangent
// per point, and decide exactly as slopeDegrees(g) >= degrees would.
double slopeThreshold(double degrees);

// One slope class, [from, to), the last one [from, 90].
struct SlopeClassFigures {
    double from = 0, to = 90;
    AccuracyFigures figures;
};

struct AccuracyReport {
    AccuracyFigures all;
    std::vector<SlopeClassFigures> classes;
};

// The default lower bounds of the slope classes, in degrees.
std::vector<double> defaultSlopeBounds();

// The figures of `dem` against `ref` (the same grid) over the points
// present in both, and per slope class of the DEM. `bounds` are the
// classes' lower bounds in degrees, ascending, below 90; the last class
// reaches 90. Points without a slope (the border, and interior points
// whose 3 x 3 window of the DEM is not wholly present) count only in
// `all`, as do interior points below the first bound. Worked out as the
// streamed analysis does it (model/streamedmetrics.h), with the grids as
// one strip: the figures are those of any split of the rows.
AccuracyReport accuracyReport(const GridView& dem, const GridView& ref, const GroundSpacing& spacing,
                              const std::vector<double>& bounds);

// The report as a table: a row per slope class and one for all points,
// figures to three decimals, "n/a" where a class has no point.
std::string accuracyTable(const AccuracyReport& report);

// One row of such a table: the label in 12 characters, then the figures.
std::string accuracyTableRow(const std::string& label, const AccuracyFigures& f);

} // namespace orolith::model

#endif
