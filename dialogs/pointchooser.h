// The chooser of a file to read that is not a grid: checkpoints, a
// stable-terrain mask.
#ifndef OROLITH_DIALOGS_POINTCHOOSER_H
#define OROLITH_DIALOGS_POINTCHOOSER_H

#include <string>

#include "dialogs/names.h"

namespace orolith::ui {

// Runs a chooser titled `title` on `directory` listing `pattern` (the
// toolkit's filter syntax) until the user picks or cancels: the path
// picked, or empty. Runs the event loop while it is shown. A variable, so
// that tests can answer in the user's place.
extern std::string (*chooseFileToRead)(const char* title, const char* pattern, const std::string& directory);

// The mask chooser's filter: rasters and polygon layers.
const char* maskFilePattern();

} // namespace orolith::ui

#endif
