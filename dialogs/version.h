// The program's version as one number for every place that shows it: the
// main window's title, the About window and `orolith --version` all take it
// from CMake's project version, so they cannot drift apart.
#ifndef OROLITH_DIALOGS_VERSION_H
#define OROLITH_DIALOGS_VERSION_H

#include "dialogs/names.h"
#include <string>

namespace orolith::ui {

// "1.2": the project version the dialogs were built with.
const char* programVersion();

// The main window's title, "Orolith: Landwarden (v1.2)"; the end-to-end
// tests find the window by it.
std::string mainWindowTitle();

} // namespace orolith::ui

#endif
