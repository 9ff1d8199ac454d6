// Stable terrain on the command line: --mask FILE [--mask-keep-inside],
// --min-slope DEG, --max-slope DEG and --outliers K, for every mode that
// compares two grids' heights (--metrics, --coregister, --accuracy-report).
#ifndef OROLITH_APP_CLI_STABLE_H
#define OROLITH_APP_CLI_STABLE_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_run.h"
#include "dialogs/names.h"
#include "model/stableterrain.h"

namespace orolith::ui {

struct StableOptions {
    std::string mask;
    bool keepInside = false;
    std::optional<double> minSlope, maxSlope, outliers;
    bool any() const { return !mask.empty() || minSlope || maxSlope || outliers; }
};

// Takes args[i] when it is one of the options above (i moves past its
// value). True when it was one; `error` then says what is wrong, if
// anything. The values are checked here: slopes from 0 to 90, K above 0.
bool takeStableOption(const std::vector<const char*>& args, std::size_t& i, StableOptions& o, std::string& error);

// After all options: --mask-keep-inside without --mask, or a minimum
// slope above the maximum. Empty when they agree.
std::string stableOptionsConflict(const StableOptions& o);

// The rules on the DEM's grid, the mask read onto it. False after the
// message when the mask cannot be read.
bool stableRulesFor(const CliRun& run, const StableOptions& o, const GridHeader& dem, StableTerrainRules& rules);

} // namespace orolith::ui

#endif
