// One run of the command line as its modes see it: the result goes to
// `out` (standard output) and nothing else does; what is wrong, the notes
// and the model's progress lines go to `err` (standard error), the last
// two through `messages`; grids are read through `io`. runCommandLine makes
// it; a mode takes it with the arguments after the mode's option.
#ifndef OROLITH_APP_CLI_RUN_H
#define OROLITH_APP_CLI_RUN_H

#include <ostream>
#include <string>

#include "dialogs/names.h"
#include "model/gridfile.h"
#include "model/messages.h"

namespace orolith::ui {

struct CliRun {
    std::ostream& out;
    std::ostream& err;
    Messages& messages;
    const GridIo& io;
};

// A usage error: "orolith: " and what is wrong, then one line pointing to
// --help, on the run's standard error; returns EXIT_USAGE.
int usageError(const CliRun& run, const std::string& message);

} // namespace orolith::ui

#endif
