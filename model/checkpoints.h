// Accuracy of a DEM against checkpoints: surveyed points (GNSS, laser
// altimetry footprints) rather than another grid. The DEM is sampled
// bilinearly at each point from its present cells only; d is the DEM's
// height there minus the point's. Mapping standards report, besides the
// usual figures, the non-vegetated vertical accuracy (NVA: RMSEz over the
// points in open terrain, and 1.96 RMSEz at 95 % confidence) and the
// vegetated vertical accuracy (VVA: the 95th percentile of |d| over the
// points in vegetation).
#ifndef OROLITH_MODEL_CHECKPOINTS_H
#define OROLITH_MODEL_CHECKPOINTS_H

#include <cstddef>
#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/metrics.h"

namespace orolith::model {

// One checkpoint in the DEM's coordinate system; `pointClass` may be empty.
struct Checkpoint {
    double x = 0, y = 0, z = 0;
    std::string pointClass;
};

// Where a point lies on the DEM's grid: fractional row (0 the centre of the
// northern row) and column (0 the centre of the western column), for a
// header whose corner is the outer corner of its lower-left cell.
struct GridPosition {
    double row = 0, col = 0;
};
GridPosition gridPositionOf(const GridHeader& dem, double x, double y);

// What became of each point.
enum class PointFate { used, outside, nextToAbsent };

struct PointClassFigures {
    std::string pointClass;
    AccuracyFigures figures;
};

struct VerticalAccuracy {
    std::size_t count = 0;
    double rmse = 0, accuracy95 = 0; // NVA: RMSEz and 1.96 RMSEz
    double p95 = 0;                  // VVA: the 95th percentile of |d|
};

struct CheckpointAssessment {
    std::vector<PointFate> fate;      // one a point, in the order given
    std::vector<double> demHeight, d; // one a point; NaN unless used
    std::vector<double> slope;        // degrees; NaN without a slope there
    std::size_t outside = 0, nextToAbsent = 0;
    AccuracyReport report;                  // overall and per slope class
    std::vector<PointClassFigures> classes; // per point class, by name
    VerticalAccuracy nva, vva;
};

// The classes named open and vegetated; an empty list of open classes
// takes every point as open, an empty list of vegetated ones none.
struct CheckpointClasses {
    std::vector<std::string> open, vegetated;
};

// Assesses the DEM at the points. A point beyond the outermost cell
// centres is `outside`; one whose interpolation needs an absent cell is
// `nextToAbsent`; neither counts in the figures. A point's slope is that
// of the grid point nearest to it (Horn's, where its whole 3 x 3 window is
// present), and decides its slope class as the grids' points are classed.
CheckpointAssessment assessCheckpoints(const GridView& dem, const GridHeader& header, const GroundSpacing& spacing,
                                       const std::vector<Checkpoint>& points, const std::vector<double>& slopeBounds,
                                       const CheckpointClasses& classes);

} // namespace orolith::model

#endif
