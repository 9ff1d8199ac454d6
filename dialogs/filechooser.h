// The file choosers: the "Search..." buttons' and the one asking where
// to save a file.
#ifndef OROLITH_DIALOGS_FILECHOOSER_H
#define OROLITH_DIALOGS_FILECHOOSER_H

#include "dialogs/names.h"
#include <string>

class Fl_Input;

namespace orolith::ui {

// Runs a chooser titled `title` on `directory` with the grid filters (the
// raster formats too when `rasters`; a name that does not exist yet may be
// typed too) until the user picks or cancels; a pick goes into `target`, a
// cancel leaves it as it was. With `proposed` the chooser starts with that
// file selected. Runs the event loop while it is shown.
void chooseFile(Fl_Input* target, const char* title, const std::string& directory, bool rasters,
                const std::string& proposed = "");

// Asks where to save a file: a chooser titled `title` listing `pattern`
// (the toolkit's filter syntax, "PNG images (*.png)"), opened on `proposed`
// (a name that does not exist yet may be typed). The path picked, or empty
// when the user cancels. Runs the event loop while it is shown. A variable,
// so that tests can answer in the user's place.
extern std::string (*chooseSavePath)(const char* title, const char* pattern, const std::string& proposed);

} // namespace orolith::ui

#endif
