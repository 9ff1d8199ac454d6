// The class graph window: bar graphs of curvature error, difference error
// and height class counts.
#ifndef OROLITH_DIALOGS_GRAPH_H
#define OROLITH_DIALOGS_GRAPH_H

class Fl_Widget;

void graph(Fl_Widget*, void*);      // "Graph" menu entry
void graphCurve(Fl_Widget*, void*); // "Graph" of the curvature section
void graphDiff(Fl_Widget*, void*);  // "Graph" of the local difference section
void graphClass(Fl_Widget*, void*); // "Graph" of the height classes section

#endif
