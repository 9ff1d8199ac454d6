// The viewer program: the main window and the session behind it, started
// from main() when no command-line mode is asked for.
#ifndef OROLITH_APP_VIEWERAPP_H
#define OROLITH_APP_VIEWERAPP_H

#include "app/session.h"
#include "dialogs/names.h"
#include "model/gridfile.h"

namespace orolith::ui {

// Builds the main window, shows it, keeps the first argument after the
// program name as the DEM offered to the first open dialog, and runs the
// event loop; returns the loop's result. `io` reads the grids the user
// opens, `points` the checkpoints and masks.
int runViewer(int argc, char** argv, const GridIo& io, const PointIo& points = {});

} // namespace orolith::ui

#endif
