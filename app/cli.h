// The headless command line: report, height classes and sparse sample for
// scripts and pipelines. Standard output carries only the result; progress
// lines and messages go to standard error.
#ifndef OROLITH_APP_CLI_H
#define OROLITH_APP_CLI_H

#include "dialogs/names.h"
#include "model/gridfile.h"

namespace orolith::ui {

// Exit statuses of the command line (a model error exits with the model's
// own status, FATAL_STATUS: app/fatal.h).
constexpr int EXIT_MISMATCH = 1; // the grids' sizes differ, or no result
constexpr int EXIT_USAGE = 2;

// True when the arguments ask for a command-line mode rather than the viewer.
bool isCommandLineMode(int argc, char** argv);

// Runs a command-line mode, reading grids through `io`, and returns its
// exit status.
int runCommandLine(int argc, char** argv, const GridIo& io);

// The usage text.
const char* usageText();

} // namespace orolith::ui

#endif
