// The Help and About windows, and the help windows of the tool panel's "?"
// buttons. Their texts are dialogs/helptexts.h's.
#ifndef OROLITH_DIALOGS_HELPABOUT_H
#define OROLITH_DIALOGS_HELPABOUT_H

#include "dialogs/helptexts.h"

class Fl_Widget;

// "Help" and "About" menu entries: each use opens another window, "Help"
// or "About", over the main window; closing it (its close box, its "Close"
// button or Escape) deletes it.
void help(Fl_Widget*, void*);
void about(Fl_Widget*, void*);

// The "?" buttons: the button's user data is sectionData(section); each
// press opens a window "Help: <section title>" explaining that section.
void popup(Fl_Widget*, void*);
void* sectionData(PanelSection section);

#endif
