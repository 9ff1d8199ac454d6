// The help and about windows, and the help windows of the "?" buttons.
#ifndef OROLITH_DIALOGS_HELPABOUT_H
#define OROLITH_DIALOGS_HELPABOUT_H

class Fl_Widget;

void help(Fl_Widget*, void*);  // "Help" menu entry
void about(Fl_Widget*, void*); // "About" menu entry

// The "?" buttons of the tool panel: each press opens another empty "Help"
// window; they are never closed or freed by the program.
void popup(Fl_Widget*, void*);

#endif
