// The checkpoints' tables as texts, shared by the HTML page and the PDF,
// in the form of the grids' tables (report/reporttables.h).
#ifndef OROLITH_REPORT_CHECKPOINTTABLES_H
#define OROLITH_REPORT_CHECKPOINTTABLES_H

#include "report/accuracydocument.h"
#include "report/reporttables.h"

namespace orolith::report {

// The points given, used, outside the DEM and next to absent cells; a
// column after the shift when there was one.
Table checkpointCountsTable(const CheckpointFacts& f);

// A row of figures per point class, by name, and one for all points.
Table pointClassTable(const model::CheckpointAssessment& a);

// NVA (count, RMSEz, 1.96 RMSEz over the open classes) and VVA (count,
// 95th percentile of |d| over the vegetated classes).
Table verticalAccuracyTable(const model::CheckpointAssessment& a, const model::CheckpointClasses& classes);

} // namespace orolith::report

#endif
