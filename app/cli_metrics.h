// The accuracy modes of the command line: --metrics prints the accuracy
// figures of a DEM against a comparison grid, overall and per slope class;
// --coregister estimates the shift and bias between the two first and
// prints the figures before and after moving the comparison grid back.
// Called by runCommandLine with the arguments after the mode.
#ifndef OROLITH_APP_CLI_METRICS_H
#define OROLITH_APP_CLI_METRICS_H

#include <string>
#include <vector>

#include "app/accuracyoptions.h"
#include "app/cli_run.h"
#include "dialogs/names.h"
#include "model/coregister.h"
#include "model/metrics.h"
#include "model/pairing.h"
#include "model/stableterrain.h"

namespace orolith::ui {

// The options of both modes, then exactly a DEM and a comparison. Empty on
// success, else the usage error.
std::string parseAccuracyModeOptions(const std::vector<const char*>& args, const std::string& mode, AccuracyOptions& o);

// What --coregister prints beside the shift and the figures: how the
// comparison was aligned, and the stable-terrain rules with their counts
// (none without rules).
struct CoregistrationInputs {
    bool geographic = false;
    Alignment alignment;
    const StableTerrainRules* rules = nullptr;
    const StableTerrainCounts* counts = nullptr;
};

// Prints --coregister's result (text or JSON); returns 0.
int printCoregistration(const CliRun& run, const AccuracyOptions& o, const CoregistrationInputs& in,
                        const Coregistration& c, const AccuracyReport& before, const AccuracyReport& after);

int metricsMode(const CliRun& run, const std::vector<const char*>& args);
int coregisterMode(const CliRun& run, const std::vector<const char*>& args);

} // namespace orolith::ui

#endif
