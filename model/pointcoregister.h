// Co-registration of a DEM to checkpoints: the horizontal shift and the
// vertical bias between surveyed points and the DEM, by the same fit as
// two grids (model/coregister.h), the DEM sampled at the points instead of
// on a second grid.
#ifndef OROLITH_MODEL_POINTCOREGISTER_H
#define OROLITH_MODEL_POINTCOREGISTER_H

#include <vector>

#include "model/checkpoints.h"
#include "model/coregister.h"

namespace orolith::model {

struct PointCoregistration {
    // The shift, bias, iterations, NMADs and fits as for two grids, in the
    // same sense (the points' heights ~ DEM(x - shift) + bias); `shifted`
    // stays empty.
    Coregistration shift;
    // The points moved back by the shift (as given when it did not lower
    // the NMAD), and their assessment.
    std::vector<Checkpoint> moved;
    CheckpointAssessment after;
};

// Estimates the shift on the points whose DEM slope exceeds 3 degrees,
// moving the points back and fitting again until the shift changes by
// less than 0.01 cell, at most COREGISTER_MAX_ITERATIONS times; the bias is
// the median of the points' heights minus the DEM's over the points used.
PointCoregistration coregisterPoints(const GridView& dem, const GridHeader& header, const GroundSpacing& spacing,
                                     const std::vector<Checkpoint>& points, const std::vector<double>& slopeBounds,
                                     const CheckpointClasses& classes, const CoregisterProgress& progress = {});

} // namespace orolith::model

#endif
