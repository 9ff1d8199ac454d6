#include "dialogs/errorunits.h"

// Placeholders until the unit dialogs are built: the legends keep their
// start values.
void modCurve(Fl_Widget*, void*) {}
void updateUnitGUI(Fl_Widget*, void*) {}
void updateUnitldGUI(Fl_Widget*, void*) {}
