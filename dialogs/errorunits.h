// The error-unit dialogs and the unit counters of the tool panel.
#ifndef OROLITH_DIALOGS_ERRORUNITS_H
#define OROLITH_DIALOGS_ERRORUNITS_H

class Fl_Widget;

void modCurve(Fl_Widget*, void*);        // "Modify Curvature Error"
void updateUnitGUI(Fl_Widget*, void*);   // curvature unit counter
void updateUnitldGUI(Fl_Widget*, void*); // difference unit counter

#endif
