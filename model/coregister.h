// Co-registration of a comparison DEM to the DEM: the horizontal shift and
// the vertical bias between two DEMs of the same grid, by the method of
// Nuth and Kääb ("Co-registration and bias corrections of satellite
// elevation data sets for quantifying glacier thickness change", The
// Cryosphere 5, 2011). A fraction of a cell of horizontal offset dominates
// every difference on steep ground; the command line's --coregister mode
// and the viewer's Analysis menu estimate it and then compare the DEM with
// the comparison grid moved back.
//
// Grids are views (model/gridview.h), row 0 the northern edge, columns
// growing east; absent cells take no part and are never blended.
#ifndef OROLITH_MODEL_COREGISTER_H
#define OROLITH_MODEL_COREGISTER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/gridview.h"

namespace orolith::model {

// The comparison grid's value at a fractional row and column, interpolated
// bilinearly; NaN outside the grid or where a neighbour that takes part is
// absent.
double bilinearAt(const GridView& grid, double row, double col);
// The same on a strip of the grid (model/pairrows.h): `first` the grid row
// of the strip's row 0, `gridRows` the grid's rows. The strip holds the
// rows the point reaches.
double bilinearAt(const GridView& strip, int first, int gridRows, double row, double col);

// The comparison grid moved back by a shift in cells (east toward higher
// columns, north toward row 0), resampled onto the same grid: point (r, c)
// takes the value at row r - north, column c + east.
struct ShiftedGrid {
    std::vector<float> heights; // NaN where absent
    std::vector<std::uint8_t> present;
    GridView view(int rows, int cols) const { return {heights.data(), present.data(), rows, cols}; }
};
ShiftedGrid shiftBack(const GridView& comp, double east, double north);

// The fit of Nuth and Kääb: y = north cos(aspect) + east sin(aspect) + c
// over points given by the cosine and sine of their aspect (the downslope
// direction, clockwise from north), where y is a height difference divided
// by the tangent of the slope. (north, east) is then the horizontal shift
// in y's units. Robust: points beyond three NMADs, first of y and then of
// the residuals of a first fit, are left out of the final one.
struct AspectFit {
    bool ok = false; // false with too few points or too few directions
    double north = 0, east = 0, c = 0;
    std::size_t used = 0; // points in the final fit
};
// The sums of the fit are taken per block of points (block[i] that of
// point i, the points in block order; one block when null) and the blocks'
// sums added in order: a grid's points in its row blocks
// (model/rowblocks.h), as a run over its strips sums them.
AspectFit fitAspect(const double* cosAspect, const double* sinAspect, const double* y, std::size_t n,
                    const int* block = nullptr);

// What a fit leaves of y at a point.
inline double fitResidual(const AspectFit& fit, double cosAspect, double sinAspect, double y)
{
    return y - (fit.north * cosAspect + fit.east * sinAspect + fit.c);
}

// The normal equations' sums of the fit over some points, and the fit
// they give (false as fitAspect's least squares fail).
struct NormalSums {
    double a[3][3] = {}, b[3] = {};
    std::size_t n = 0;
    void add(double cosAspect, double sinAspect, double y);
    void addBlock(const NormalSums& block);
};
bool solveNormalSums(const NormalSums& sums, AspectFit& fit);

// One step of the iterations: the fit's shift (in the spacing's units)
// added to (east, north) in cells. True when the step was shorter than
// COREGISTER_CONVERGED_CELLS: the iterations have converged.
bool stepShift(const AspectFit& fit, const GroundSpacing& spacing, double& east, double& north);

// Points flatter than this say little about a shift; a step shorter than
// COREGISTER_CONVERGED_CELLS ends the iterations; points beyond
// COREGISTER_OUTLIER_NMADS NMADs leave the fit; fewer than
// COREGISTER_MIN_POINTS give no shift.
constexpr double COREGISTER_MIN_SLOPE_DEG = 3.0;
constexpr double COREGISTER_OUTLIER_NMADS = 3.0;
constexpr double COREGISTER_CONVERGED_CELLS = 0.01;
constexpr std::size_t COREGISTER_MIN_POINTS = 10;

// One fit of the iterations, kept for the report's picture of it: the
// points' aspect in degrees (clockwise from north) and y, an even sample
// of at most FIT_SAMPLE_POINTS of the `points` that entered the fit.
constexpr std::size_t FIT_SAMPLE_POINTS = 20000;
struct FitRecord {
    int iteration = 0;
    AspectFit fit;
    std::size_t points = 0;
    std::vector<float> aspectDegrees, y;
};

// The record of a fit over the points with the given aspects and y.
FitRecord fitRecordOf(int iteration, const AspectFit& fit, const std::vector<double>& cosAspect,
                      const std::vector<double>& sinAspect, const std::vector<double>& y);

// At most this many fits.
constexpr int COREGISTER_MAX_ITERATIONS = 10;

struct Coregistration {
    bool ok = false;
    bool cancelled = false;
    std::string why; // when not ok
    // comparison(x, y) ~ DEM(x - shiftEast, y - shiftNorth) + bias, the
    // shift in cells, and in metres (map units for a projected grid).
    double shiftEast = 0, shiftNorth = 0, bias = 0;
    double shiftEastMetres = 0, shiftNorthMetres = 0;
    int iterations = 0;
    bool converged = false;
    // The NMAD of DEM minus comparison before and after moving the
    // comparison grid back. Not improved, the comparison grid is kept as
    // it was: `shifted` holds it unmoved, and the figures after the shift
    // are those before.
    double nmadBefore = 0, nmadAfter = 0;
    bool improved = false;
    // The comparison grid moved back by the shift (shiftBack), the bias not
    // removed: what the viewer loads as the co-registered comparison grid.
    ShiftedGrid shifted;
    // Every fit in order, the last one that of the shift's final step.
    std::vector<FitRecord> fits;
};

// Called before each fit with its number (1 to COREGISTER_MAX_ITERATIONS);
// false cancels the co-registration.
using CoregisterProgress = std::function<bool(int iteration)>;

// Estimates the shift on the DEM's points sloping more than 3 degrees,
// moving the comparison grid back and fitting again until the shift
// changes by less than 0.01 cell, at most 10 times; the bias is then the
// median of comparison minus DEM over the points present in both.
Coregistration coregister(const GridView& dem, const GridView& comp, const GroundSpacing& spacing,
                          const CoregisterProgress& progress = {});

// The same on stable terrain only: `stable` (one value a cell, non-zero
// where stable; model/stableterrain.h) chooses the points of the fit, the
// NMADs and the bias, while the whole comparison grid is moved back.
Coregistration coregister(const GridView& dem, const GridView& comp, const std::uint8_t* stable,
                          const GroundSpacing& spacing, const CoregisterProgress& progress = {});

// Whether the shift improved the fit, with the NMADs that say so: "yes
// (NMAD 2.412 before, 0.981 after)", or "no (...): the comparison grid is
// kept as it was".
std::string improvementText(const Coregistration& c);

} // namespace orolith::model

#endif
