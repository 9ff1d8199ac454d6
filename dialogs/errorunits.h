// "Modify Curvature Error": a "Curvature Error" dialog whose counter sets
// the curvature unit, as the tool panel's counter does.
#ifndef OROLITH_DIALOGS_ERRORUNITS_H
#define OROLITH_DIALOGS_ERRORUNITS_H

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Counter;

namespace orolith::ui {

// A new dialog whose counter starts at the curvature unit in use; each
// change of it is the session's new curvature unit.
void modCurve(SessionPort& port);

// The counter of the dialog built last (null once closed), for the tests.
extern Fl_Counter* unitSlider;

} // namespace orolith::ui

#endif
