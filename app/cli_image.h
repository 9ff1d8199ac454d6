// `orolith --image`: the viewer's picture of a data set written to a PNG
// file without opening a window or needing a display server.
#ifndef OROLITH_APP_CLI_IMAGE_H
#define OROLITH_APP_CLI_IMAGE_H

#include <vector>

#include "app/cli_run.h"
#include "dialogs/names.h"

namespace orolith::ui {

// Runs the mode on the arguments after --image and returns its exit status:
// 0 when the file is written, EXIT_USAGE for bad arguments, EXIT_MISMATCH
// when the grids' sizes differ or no picture could be made or written; a
// grid that cannot be read ends the program (app/fatal.h).
int imageMode(const CliRun& run, const std::vector<const char*>& args);

} // namespace orolith::ui

#endif
