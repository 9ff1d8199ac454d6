// The end of a command-line run that met a model error it cannot go on
// from: a grid file that cannot be read, a data set too large for memory.
// Scripts know it by its status, FATAL_STATUS (255 to the shell).
#ifndef OROLITH_APP_FATAL_H
#define OROLITH_APP_FATAL_H

#include "dialogs/names.h"
#include "model/errors.h"

namespace orolith::ui {

// "ERROR: " and the error's text on standard error, both standard streams
// flushed, then the end of the program with FATAL_STATUS.
[[noreturn]] void fatal(const ModelError& e);

} // namespace orolith::ui

#endif
