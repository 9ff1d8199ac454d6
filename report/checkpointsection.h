// The checkpoints' part of the accuracy report: what became of the points,
// their figures, their map and histogram, and the co-registration of the
// DEM to them (addPointCoregistration, declared with the document).
#ifndef OROLITH_REPORT_CHECKPOINTSECTION_H
#define OROLITH_REPORT_CHECKPOINTSECTION_H

#include <string>

#include "model/pointcoregister.h"
#include "report/accuracydocument.h"

namespace orolith::report {

// The checkpoints of `d` (which has some), their map on the DEM's map of
// blocks `mapBlock` cells a side.
CheckpointFacts checkpointFacts(const DataSet& d, int mapBlock);

// "yes (NMAD 2.412 before, 0.981 after)", or "no (...): the points are
// kept as given".
std::string pointImprovementText(const Coregistration& c);

// The bins of a histogram of n points: about 2 n^(1/3) (Rice), from 10 to
// 60, so that a few dozen points do not scatter over empty bins.
int pointHistogramBins(std::size_t n);

} // namespace orolith::report

#endif
