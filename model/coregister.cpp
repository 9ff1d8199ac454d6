// Co-registration after Nuth and Kääb (2011). For a comparison grid S that
// is the DEM M moved by a horizontal vector s, S(p) = M(p - s) + bias, the
// difference at a point of slope angle alpha and aspect psi is, to first
// order,
//     S - M = tan(alpha) |s| cos(b - psi) + bias,
// b being the direction of s clockwise from north. Divided by tan(alpha)
// the differences trace a cosine of the aspect; its amplitude and phase
// are the shift. With north = |s| cos b and east = |s| sin b the cosine is
// linear in its three parameters, so the fit is a linear least-squares
// one. The slope and aspect are the DEM's, which does not move: they are
// computed once.
#include "model/coregister.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/constants.h"
#include "model/metrics.h"
#include "model/parallel.h"
#include "model/rowblocks.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

constexpr double MIN_SLOPE_DEG = COREGISTER_MIN_SLOPE_DEG;
constexpr double OUTLIER_NMADS = COREGISTER_OUTLIER_NMADS;
constexpr double CONVERGED_CELLS = COREGISTER_CONVERGED_CELLS;
constexpr std::size_t MIN_POINTS = COREGISTER_MIN_POINTS;

// Clears keep[i] for the kept points whose r[i] lies more than
// OUTLIER_NMADS NMADs from the median of the kept r. w is room for the
// kept values.
void dropOutliers(const std::vector<double>& r, std::vector<char>& keep, std::vector<double>& w)
{
    w.clear();
    for (std::size_t i = 0; i < r.size(); ++i)
        if (keep[i])
            w.push_back(r[i]);
    if (w.empty())
        return;
    double median = medianOf(w.data(), w.size());
    double limit = OUTLIER_NMADS * nmadOf(w.data(), w.size(), median);
    for (std::size_t i = 0; i < r.size(); ++i)
        if (keep[i] && std::fabs(r[i] - median) > limit)
            keep[i] = 0;
}

double det3(const double m[3][3])
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

} // namespace

void NormalSums::add(double ca, double sa, double y)
{
    const double x[3] = {ca, sa, 1.0};
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k)
            a[j][k] += x[j] * x[k];
        b[j] += x[j] * y;
    }
    ++n;
}

void NormalSums::addBlock(const NormalSums& block)
{
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k)
            a[j][k] += block.a[j][k];
        b[j] += block.b[j];
    }
    n += block.n;
}

bool solveNormalSums(const NormalSums& s, AspectFit& fit)
{
    fit.used = s.n;
    const double d = det3(s.a);
    const double scale = static_cast<double>(s.n) * static_cast<double>(s.n) * static_cast<double>(s.n);
    if (s.n < 3 || !(std::fabs(d) > 1e-9 * scale))
        return false;
    double x[3];
    for (int j = 0; j < 3; ++j) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                m[r][k] = k == j ? s.b[r] : s.a[r][k];
        x[j] = det3(m) / d;
    }
    fit.north = x[0];
    fit.east = x[1];
    fit.c = x[2];
    return true;
}

namespace {

// Least squares of y = north cos + east sin + c over the kept points, by
// the normal equations and Cramer's rule. The sums are taken per block
// (block[i] of point i, the points in block order; all one block without
// blocks) and the blocks' sums added in order, as a streamed run does.
// False when the aspects do not spread over enough directions to tell the
// three terms apart.
bool leastSquares(const double* ca, const double* sa, const double* y, const std::vector<char>& keep, const int* block,
                  AspectFit& fit)
{
    NormalSums total, part;
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (block && i > 0 && block[i] != block[i - 1]) {
            total.addBlock(part);
            part = NormalSums();
        }
        if (keep[i])
            part.add(ca[i], sa[i], y[i]);
    }
    total.addBlock(part);
    return solveNormalSums(total, fit);
}

Coregistration failed(const std::string& why)
{
    Coregistration out;
    out.why = why;
    return out;
}

} // namespace

double bilinearAt(const GridView& grid, double row, double col) { return bilinearAt(grid, 0, grid.rows, row, col); }

double bilinearAt(const GridView& grid, int first, int gridRows, double row, double col)
{
    const double absent = std::numeric_limits<double>::quiet_NaN();
    if (!(row >= 0 && row <= gridRows - 1 && col >= 0 && col <= grid.cols - 1))
        return absent;
    // On the last row or column the neighbours beyond have weight 0 and
    // are never read.
    int r0 = static_cast<int>(row), c0 = static_cast<int>(col);
    double fr = row - r0, fc = col - c0;
    double sum = 0;
    for (int dr = 0; dr < 2; ++dr)
        for (int dc = 0; dc < 2; ++dc) {
            double w = (dr ? fr : 1 - fr) * (dc ? fc : 1 - fc);
            if (w == 0)
                continue;
            const std::size_t i = grid.index(r0 + dr - first, c0 + dc);
            if (!grid.isPresent(i))
                return absent;
            sum += w * grid.heights[i];
        }
    return sum;
}

ShiftedGrid shiftBack(const GridView& comp, double east, double north)
{
    ShiftedGrid out;
    out.heights.resize(comp.cells());
    out.present.resize(comp.cells());
    const int cols = comp.cols;
    forEachPart(0, comp.rows, threadsFor(static_cast<long long>(comp.cells())), [&](int, int first, int last) {
        for (int r = first; r < last; ++r)
            for (int c = 0; c < cols; ++c) {
                const std::size_t i = comp.index(r, c);
                const double v = bilinearAt(comp, r - north, c + east);
                out.heights[i] = static_cast<float>(v);
                out.present[i] = !std::isnan(v);
            }
    });
    return out;
}

AspectFit fitAspect(const double* cosAspect, const double* sinAspect, const double* y, std::size_t n, const int* block)
{
    AspectFit fit;
    std::vector<char> keep(n, 1);
    std::vector<double> r(y, y + n), w;
    w.reserve(n);
    dropOutliers(r, keep, w);
    if (!leastSquares(cosAspect, sinAspect, y, keep, block, fit))
        return fit;
    for (std::size_t i = 0; i < n; ++i)
        r[i] = fitResidual(fit, cosAspect[i], sinAspect[i], y[i]);
    dropOutliers(r, keep, w);
    fit.ok = leastSquares(cosAspect, sinAspect, y, keep, block, fit);
    return fit;
}

namespace {

// The NMAD of DEM minus comparison over the points present in both (and
// stable, when `stable` is given).
double nmadOfDifferences(const GridView& dem, const GridView& comp, const std::uint8_t* stable,
                         std::vector<double>& work)
{
    work.clear();
    for (std::size_t i = 0; i < dem.cells(); ++i)
        if (dem.isPresent(i) && comp.isPresent(i) && (!stable || stable[i]))
            work.push_back(static_cast<double>(dem.heights[i]) - static_cast<double>(comp.heights[i]));
    if (work.empty())
        return std::numeric_limits<double>::quiet_NaN();
    return nmadOf(work.data(), work.size(), medianOf(work.data(), work.size()));
}

} // namespace

// Every k-th point, k chosen so that at most FIT_SAMPLE_POINTS remain: the
// sample spreads over the whole grid, and a run repeats it exactly.
FitRecord fitRecordOf(int iteration, const AspectFit& fit, const std::vector<double>& cosAspect,
                      const std::vector<double>& sinAspect, const std::vector<double>& y)
{
    FitRecord r;
    r.iteration = iteration;
    r.fit = fit;
    r.points = y.size();
    const std::size_t step = (y.size() + FIT_SAMPLE_POINTS - 1) / FIT_SAMPLE_POINTS;
    for (std::size_t i = 0; step && i < y.size(); i += step) {
        double degrees = std::atan2(sinAspect[i], cosAspect[i]) * DEGREES_PER_RADIAN;
        if (degrees < 0)
            degrees += 360;
        r.aspectDegrees.push_back(static_cast<float>(degrees));
        r.y.push_back(static_cast<float>(y[i]));
    }
    return r;
}

Coregistration coregister(const GridView& dem, const GridView& comp, const GroundSpacing& spacing,
                          const CoregisterProgress& progress)
{
    return coregister(dem, comp, nullptr, spacing, progress);
}

Coregistration coregister(const GridView& dem, const GridView& comp, const std::uint8_t* stable,
                          const GroundSpacing& spacing, const CoregisterProgress& progress)
{
    const int rows = dem.rows, cols = dem.cols;
    // The DEM's points steeper than 3 degrees, with the tangent of their
    // slope and the cosine and sine of their aspect: the downslope unit
    // vector is minus the gradient over its length.
    const double steep = slopeThreshold(MIN_SLOPE_DEG);
    std::vector<std::size_t> at;
    std::vector<double> tanSlope, cosAspect, sinAspect;
    // Room for every interior point: untouched room costs no memory.
    const std::size_t interior = rows > 2 && cols > 2 ? static_cast<std::size_t>(rows - 2) * (cols - 2) : 0;
    at.reserve(interior);
    tanSlope.reserve(interior);
    cosAspect.reserve(interior);
    sinAspect.reserve(interior);
    // One thread: the points are kept in row-major order.
    forEachWindow3x3(dem, {Neighbourhood::eight, AbsentPoints::skipWindow, 1}, [&](const Window3x3& w) {
        Gradient g = hornGradient(w, spacing);
        double m = std::sqrt(g.east * g.east + g.north * g.north);
        if (!(m > steep))
            return;
        at.push_back(dem.index(w.row(), w.col()));
        tanSlope.push_back(m);
        cosAspect.push_back(-g.north / m);
        sinAspect.push_back(-g.east / m);
    });
    const std::size_t n = at.size();
    if (n < MIN_POINTS)
        return failed("too few points of the DEM slope more than 3 degrees to estimate a shift");

    Coregistration out;
    double east = 0, north = 0; // cells
    std::vector<double> dh(n), fitCos, fitSin, fitY, work;
    std::vector<char> valid(n);
    std::vector<int> fitBlock;
    for (int iteration = 1; iteration <= COREGISTER_MAX_ITERATIONS; ++iteration) {
        if (progress && !progress(iteration)) {
            out = failed("cancelled");
            out.cancelled = true;
            return out;
        }
        // Differences on the comparison grid moved back by the shift so far.
        forEachPart(0, static_cast<int>(n), threadsFor(static_cast<long long>(n)), [&](int, int first, int last) {
            for (int i = first; i < last; ++i) {
                int r = static_cast<int>(at[i] / cols), c = static_cast<int>(at[i] % cols);
                double v = bilinearAt(comp, r - north, c + east);
                valid[i] = !std::isnan(v) && (!stable || stable[at[i]]);
                dh[i] = v - static_cast<double>(dem.heights[at[i]]);
            }
        });
        work.clear();
        for (std::size_t i = 0; i < n; ++i)
            if (valid[i])
                work.push_back(dh[i]);
        if (work.size() < MIN_POINTS)
            return failed("too few points of the DEM slope more than 3 degrees where the comparison grid has heights");
        // The vertical offset comes out first, so that it does not enter
        // the fit divided by each point's own slope.
        double offset = medianOf(work.data(), work.size());
        fitBlock.clear();
        fitCos.clear();
        fitSin.clear();
        fitY.clear();
        for (std::size_t i = 0; i < n; ++i)
            if (valid[i]) {
                fitBlock.push_back(static_cast<int>(at[i] / cols / BLOCK_ROWS));
                fitCos.push_back(cosAspect[i]);
                fitSin.push_back(sinAspect[i]);
                fitY.push_back((dh[i] - offset) / tanSlope[i]);
            }
        AspectFit fit = fitAspect(fitCos.data(), fitSin.data(), fitY.data(), fitY.size(), fitBlock.data());
        if (!fit.ok)
            return failed("the DEM's slopes do not face enough directions to estimate a shift");
        out.fits.push_back(fitRecordOf(iteration, fit, fitCos, fitSin, fitY));
        out.iterations = iteration;
        if (stepShift(fit, spacing, east, north)) {
            out.converged = true;
            break;
        }
    }

    out.shifted = shiftBack(comp, east, north);
    out.shiftEast = east;
    out.shiftNorth = north;
    out.shiftEastMetres = east * spacing.x;
    out.shiftNorthMetres = north * spacing.y;
    out.nmadBefore = nmadOfDifferences(dem, comp, stable, work);
    out.nmadAfter = nmadOfDifferences(dem, out.shifted.view(rows, cols), stable, work);
    // A shift that spreads the differences further is no correction: the
    // comparison grid stays as it was.
    out.improved = out.nmadAfter < out.nmadBefore;
    if (!out.improved) {
        out.shifted.heights.assign(comp.heights, comp.heights + comp.cells());
        if (comp.present)
            out.shifted.present.assign(comp.present, comp.present + comp.cells());
        else
            out.shifted.present.assign(comp.cells(), 1);
    }
    const GridView kept = out.shifted.view(rows, cols);
    work.clear();
    for (std::size_t i = 0; i < dem.cells(); ++i)
        if (kept.isPresent(i) && dem.isPresent(i) && (!stable || stable[i]))
            work.push_back(static_cast<double>(kept.heights[i]) - static_cast<double>(dem.heights[i]));
    if (work.empty())
        return failed("the comparison grid moved back by the shift has no heights left");
    out.bias = medianOf(work.data(), work.size());
    out.ok = true;
    return out;
}

bool stepShift(const AspectFit& fit, const GroundSpacing& spacing, double& east, double& north)
{
    // The fit is in the units of the spacing (metres); the shift in cells.
    const double stepEast = fit.east / spacing.x, stepNorth = fit.north / spacing.y;
    east += stepEast;
    north += stepNorth;
    return std::hypot(stepEast, stepNorth) < CONVERGED_CELLS;
}

std::string improvementText(const Coregistration& c)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s (NMAD %.3f before, %.3f after)%s", c.improved ? "yes" : "no", c.nmadBefore,
                  c.nmadAfter, c.improved ? "" : ": the comparison grid is kept as it was");
    return buf;
}

} // namespace orolith::model
