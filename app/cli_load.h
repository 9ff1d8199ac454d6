// The data set of a command-line mode that analyses it as the viewer does
// (--report, --heights, --sparse, --image), and the height classes those
// modes list.
#ifndef OROLITH_APP_CLI_LOAD_H
#define OROLITH_APP_CLI_LOAD_H

#include <optional>
#include <ostream>

#include "app/cli_run.h"
#include "dialogs/names.h"
#include "model/dataset.h"
#include "model/load.h"

namespace orolith::ui {

// The data set of the request, the notes of its load on standard error.
// Empty (after the message) when the grids do not lie on the same grid; a
// file that cannot be read ends the program (app/fatal.h).
std::optional<DataSet> loadForMode(const CliRun& run, const LoadRequest& request);

// Computes the height classes of `dataSet` and writes their listing
// (heightClassLines) to `listing`, then the notes on them to `messages`.
// False, after the notice saying why, without a contour interval to class by.
bool listHeightClasses(DataSet& dataSet, std::ostream& listing, Messages& messages);

} // namespace orolith::ui

#endif
