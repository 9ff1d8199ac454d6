// The accuracy figures of model/metrics.h over a pair read strip by strip,
// by one process or by every process of an MPI run over its own rows.
// Counts, extremes and the order statistics (median, NMAD, LE90, LE95) are
// exact; sums are taken per block of rows (model/rowblocks.h) and the
// blocks' sums added in block order; so the figures are the same to the
// last bit however the rows are split. The median and the others come
// from key histograms (model/exactrank.h): a few passes over the rows,
// memory of a strip and of the histograms only.
#ifndef OROLITH_MODEL_STREAMEDMETRICS_H
#define OROLITH_MODEL_STREAMEDMETRICS_H

#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/metrics.h"
#include "model/pairrows.h"
#include "model/reduction.h"
#include "model/rowblocks.h"

namespace orolith::model {

// The report of accuracyReport (model/metrics.h) over `rows`, this
// process reading the blocks blocksOfRank gives it as `plan` says. False
// when a process could not read a strip: `error` then names the file and
// the rows, in every process.
bool streamedAccuracyReport(PairRows& rows, const GroundSpacing& spacing, const std::vector<double>& bounds,
                            const StreamPlan& plan, Reduction& reduction, AccuracyReport& report, std::string& error);

} // namespace orolith::model

#endif
