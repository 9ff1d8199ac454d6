// `orolith --accuracy-report OUT.html|OUT.pdf`: the accuracy of a DEM
// against comparison data as one report file, with its numbers as JSON
// beside it, optionally after co-registration.
#ifndef OROLITH_APP_CLI_REPORT_H
#define OROLITH_APP_CLI_REPORT_H

#include <vector>

#include "app/cli_run.h"
#include "dialogs/names.h"

namespace orolith::ui {

// 0 when both files are written; EXIT_USAGE for bad arguments;
// EXIT_MISMATCH when the grids cannot be paired or co-registered or the
// files cannot be written (nothing is left behind then).
int accuracyReportMode(const CliRun& run, const std::vector<const char*>& args);

} // namespace orolith::ui

#endif
