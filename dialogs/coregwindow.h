// The Analysis menu's "Co-register...": the shift between the DEM and a
// comparison DEM, shown with the accuracy before and after moving the
// comparison grid back, and the moved grid put in use on request.
#ifndef OROLITH_DIALOGS_COREGWINDOW_H
#define OROLITH_DIALOGS_COREGWINDOW_H

#include <functional>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Widget;
class Fl_Window;

namespace orolith::ui {

// The menu entry "Co-register...": co-registers the DEM and comparison grid in use (a
// comparison of kind DEM File) with the program busy, its progress and a
// Cancel button in the status row, then shows the "Co-registration"
// window; grids that cannot be co-registered get the reason in a message
// window instead. Cancelled, it leaves everything as it was. The window's
// "Analyse the shifted grid" puts the co-registered grid in use in place
// of the comparison grid; refused, with a message, once the comparison
// grid in use is no longer the one the window was made from, and when the
// shift did not improve the fit (the button then says there is nothing to
// analyse and is inactive).
void coregistration(SessionPort& port);

// The "Co-registration" window built last (null once closed), for the tests.
extern Fl_Window* coregWin;
// For the tests: called on the co-registration's thread before each fit,
// with its number, after the bar was told of it; a test presses Cancel
// at a fit it chooses from here.
extern std::function<void(int iteration)> coregIterationHook;

} // namespace orolith::ui

#endif
