// The help and about windows, and the help windows of the "?" buttons.
#ifndef OROLITH_DIALOGS_HELPABOUT_H
#define OROLITH_DIALOGS_HELPABOUT_H

class Fl_Widget;

// "Help" and "About" menu entries: each use opens another window titled
// "About" with its fixed text; closing it deletes it.
void help(Fl_Widget*, void*);
void about(Fl_Widget*, void*);

// The "?" buttons of the tool panel: each press opens another empty "Help"
// window; they are never closed or freed by the program.
void popup(Fl_Widget*, void*);

#endif
