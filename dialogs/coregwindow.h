// The Analysis menu's "Co-register...": the shift between the DEM and a
// comparison DEM, shown with the accuracy before and after moving the
// comparison grid back, and the moved grid put in use on request.
#ifndef OROLITH_DIALOGS_COREGWINDOW_H
#define OROLITH_DIALOGS_COREGWINDOW_H

class Fl_Widget;
class Fl_Window;

// The menu entry: co-registers the DEM and comparison grid in use (a
// comparison of kind DEM File) with the program busy, then shows the
// "Co-registration" window; grids that cannot be co-registered get the
// reason in a message window instead.
void coregistration(Fl_Widget*, void*);

// "Analyse the shifted grid": the co-registered grid of its window replaces
// the comparison grid and every analysis runs again on it. Refused, with a
// message, once the comparison grid in use is no longer the one the window
// was made from.
void analyseShifted(Fl_Widget*, void*);

// The "Co-registration" window built last (null once closed), for the tests.
extern Fl_Window* coregWin;

#endif
