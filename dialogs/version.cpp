#include "dialogs/version.h"

// Set for this library by dialogs/CMakeLists.txt from PROJECT_VERSION, as it is
// for the command line's --version.
#ifndef OROLITH_VERSION
#error "OROLITH_VERSION must come from the build (PROJECT_VERSION)"
#endif

namespace orolith::ui {

const char* programVersion() { return OROLITH_VERSION; }

std::string mainWindowTitle() { return std::string("Orolith: Landwarden (v") + programVersion() + ")"; }

} // namespace orolith::ui
