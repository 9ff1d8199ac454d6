// --metrics and --coregister with a point file as the comparison: the DEM
// assessed at checkpoints, and the shift between the two estimated from
// them.
#ifndef OROLITH_APP_CLI_CHECKPOINTS_H
#define OROLITH_APP_CLI_CHECKPOINTS_H

#include <vector>

#include "app/accuracyoptions.h"
#include "app/cli_run.h"
#include "app/clipair.h"

namespace orolith::ui {

int checkpointMetrics(const CliRun& run, const AccuracyOptions& o);
int checkpointCoregistration(const CliRun& run, const AccuracyOptions& o);

// The DEM of o.files[0] and the points of o.files[1] in its system. False
// after the message.
bool readDemAndCheckpoints(const CliRun& run, const AccuracyOptions& o, Pair& dem, std::vector<Checkpoint>& points);

} // namespace orolith::ui

#endif
