// The Help and About windows, and the help windows of the tool panel's "?"
// buttons. Their texts are dialogs/helptexts.h's.
#ifndef OROLITH_DIALOGS_HELPABOUT_H
#define OROLITH_DIALOGS_HELPABOUT_H

#include "dialogs/helptexts.h"
#include "dialogs/names.h"

class Fl_Window;

namespace orolith::ui {

// "Help" and "About": each use opens another window, "Help" or "About",
// over the middle of `over` (the main window); closing it (its close box,
// its "Close" button or Escape) deletes it.
void showHelp(Fl_Window* over);
void showAbout(Fl_Window* over);

// The "?" buttons: each press opens a window "Help: <section title>"
// explaining that section.
void showSectionHelp(PanelSection section, Fl_Window* over);

} // namespace orolith::ui

#endif
