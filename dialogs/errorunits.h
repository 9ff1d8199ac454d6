// The error units: the tool panel's two unit counters, the "Curvature
// Error" dialog's counter, and the class-bound legends that follow them.
#ifndef OROLITH_DIALOGS_ERRORUNITS_H
#define OROLITH_DIALOGS_ERRORUNITS_H

class Fl_Counter;
class Fl_Widget;

// "Modify Curvature Error": a new "Curvature Error" dialog whose counter
// starts at the panel's curvature unit.
void modCurve(Fl_Widget*, void*);
// A "Curvature Error" dialog's counter (the one that fired): the panel's
// counter, the viewer and the legend take its value.
void updateUnitMenu(Fl_Widget*, void*);
// The panel's curvature and difference unit counters.
void updateUnitGUI(Fl_Widget*, void*);
void updateUnitldGUI(Fl_Widget*, void*);

// The counter of the dialog built last (null once closed), for the tests.
extern Fl_Counter* unitSlider;

#endif
