// The fit of model/coregister.cpp with the DEM sampled at the points. The
// points move over the DEM rather than a second grid over the DEM's
// points, so each point's slope and aspect are the DEM's where the point
// lies after the shift so far, and are computed anew each round.
#include "model/pointcoregister.h"

#include <cmath>

#include "model/metrics.h"

namespace orolith::model {

namespace {

constexpr double MIN_SLOPE_DEG = COREGISTER_MIN_SLOPE_DEG;
constexpr std::size_t MIN_POINTS = COREGISTER_MIN_POINTS;

PointCoregistration failed(const std::string& why)
{
    PointCoregistration out;
    out.shift.why = why;
    return out;
}

// The points moved back by a shift in cells: a point's height belongs to
// the DEM `shift` away from where it was surveyed.
std::vector<Checkpoint> movedBack(const std::vector<Checkpoint>& points, const GridHeader& header, double east,
                                  double north)
{
    std::vector<Checkpoint> moved = points;
    for (Checkpoint& p : moved) {
        p.x -= east * header.cellsizeX;
        p.y -= north * header.cellsizeY;
    }
    return moved;
}

// What one round fits: y = (the point's height - the DEM's - offset) /
// tan(slope) against the aspect, over the points steeper than 3 degrees
// whose DEM height and window are present.
struct RoundSample {
    std::vector<double> dh, tanSlope, cosAspect, sinAspect;
};

RoundSample sampleRound(const GridView& dem, const GridHeader& header, const GroundSpacing& spacing,
                        const std::vector<Checkpoint>& points, double east, double north)
{
    RoundSample s;
    const double steep = slopeThreshold(MIN_SLOPE_DEG);
    for (const Checkpoint& p : points) {
        const GridPosition at = gridPositionOf(header, p.x, p.y);
        const double row = at.row + north, col = at.col - east;
        const double h = bilinearAt(dem, row, col);
        if (std::isnan(h))
            continue;
        const int r = static_cast<int>(std::lround(row)), c = static_cast<int>(std::lround(col));
        if (r < 1 || c < 1 || r > dem.rows - 2 || c > dem.cols - 2 || !windowPresent(dem, r, c))
            continue;
        const Gradient g = hornGradient(dem, r, c, spacing);
        const double m = std::hypot(g.east, g.north);
        if (!(m > steep))
            continue;
        s.dh.push_back(p.z - h);
        s.tanSlope.push_back(m);
        s.cosAspect.push_back(-g.north / m);
        s.sinAspect.push_back(-g.east / m);
    }
    return s;
}

} // namespace

PointCoregistration coregisterPoints(const GridView& dem, const GridHeader& header, const GroundSpacing& spacing,
                                     const std::vector<Checkpoint>& points, const std::vector<double>& slopeBounds,
                                     const CheckpointClasses& classes, const CoregisterProgress& progress)
{
    PointCoregistration out;
    Coregistration& c = out.shift;
    double east = 0, north = 0; // cells
    std::vector<double> y;
    for (int iteration = 1; iteration <= COREGISTER_MAX_ITERATIONS; ++iteration) {
        if (progress && !progress(iteration)) {
            out = failed("cancelled");
            out.shift.cancelled = true;
            return out;
        }
        RoundSample s = sampleRound(dem, header, spacing, points, east, north);
        if (s.dh.size() < MIN_POINTS)
            return failed("too few checkpoints on DEM slopes of more than 3 degrees to estimate a shift");
        std::vector<double> work = s.dh;
        const double offset = medianOf(work.data(), work.size());
        y.resize(s.dh.size());
        for (std::size_t i = 0; i < y.size(); ++i)
            y[i] = (s.dh[i] - offset) / s.tanSlope[i];
        const AspectFit fit = fitAspect(s.cosAspect.data(), s.sinAspect.data(), y.data(), y.size());
        if (!fit.ok)
            return failed("the DEM's slopes at the checkpoints do not face enough directions to estimate a shift");
        c.fits.push_back(fitRecordOf(iteration, fit, s.cosAspect, s.sinAspect, y));
        c.iterations = iteration;
        if (stepShift(fit, spacing, east, north)) {
            c.converged = true;
            break;
        }
    }

    const CheckpointAssessment before = assessCheckpoints(dem, header, spacing, points, slopeBounds, classes);
    std::vector<Checkpoint> moved = movedBack(points, header, east, north);
    CheckpointAssessment after = assessCheckpoints(dem, header, spacing, moved, slopeBounds, classes);
    c.shiftEast = east;
    c.shiftNorth = north;
    c.shiftEastMetres = east * spacing.x;
    c.shiftNorthMetres = north * spacing.y;
    c.nmadBefore = before.report.all.nmad;
    c.nmadAfter = after.report.all.nmad;
    // As for grids, a shift that spreads the differences further is no
    // correction: the points stay where they were surveyed.
    c.improved = after.report.all.count > 0 && c.nmadAfter < c.nmadBefore;
    if (!c.improved) {
        moved = points;
        after = before;
    }
    if (after.report.all.count == 0)
        return failed("no checkpoint lies on the DEM after the shift");
    // The bias in the grids' sense: the points' heights minus the DEM's.
    c.bias = -after.report.all.median;
    c.ok = true;
    out.moved = std::move(moved);
    out.after = std::move(after);
    return out;
}

} // namespace orolith::model
