// The "Search..." buttons' file chooser.
#ifndef OROLITH_DIALOGS_FILECHOOSER_H
#define OROLITH_DIALOGS_FILECHOOSER_H

#include <string>

class Fl_Input;

// Runs a chooser titled `title` on `directory` with the grid filters (a
// name that does not exist yet may be typed too) until the user picks or
// cancels; a pick goes into `target`, a cancel leaves it as it was. With
// `proposed` the chooser starts with that file selected. Runs the event
// loop while it is shown.
void chooseFile(Fl_Input* target, const char* title, const std::string& directory,
                const std::string& proposed = "");

#endif
