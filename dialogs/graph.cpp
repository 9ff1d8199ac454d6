#include "dialogs/graph.h"

// Placeholders until the graph window is built; the buttons and the menu
// entry stay inactive until data is loaded anyway.
void graph(Fl_Widget*, void*) {}
void graphCurve(Fl_Widget*, void*) {}
void graphDiff(Fl_Widget*, void*) {}
void graphClass(Fl_Widget*, void*) {}
