// The class graph window: bar graphs of the curvature values ("Curve
// Error"), the elevation differences ("Diff. Error") and the height class
// counts ("Height Classes"). What the bars and labels are is worked out in
// graphdata.h; here they are placed and drawn.
#ifndef OROLITH_DIALOGS_GRAPH_H
#define OROLITH_DIALOGS_GRAPH_H

#include <FL/Fl_Gl_Window.H>

#include <vector>

#include "dialogs/graphdata.h"
#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Widget;
class Fl_Window;

namespace orolith::ui {

// The bars, drawn with GL in units of 0 to 155 across and 0 to 150 up.
// It keeps its own copy of the counts: the model replaces its arrays when
// it recomputes.
class Graphb : public Fl_Gl_Window {
public:
    Graphb(int x, int y, int w, int h, const char* label, int, int maxCount, int minCount, int numBars,
           std::vector<int> counts, int drawFlag);
    ~Graphb() override;
    void draw() override;
    int handle(int event) override;

    int maxCount;
    int minCount; // kept for the record; the drawing does not use it
    int numBars;
    std::vector<int> counts;
    int drawFlag;
};

// The graph window and graph built last (null once closed), for the tests.
extern Fl_Window* graphwin;
extern Graphb* graphbox;

// A new graph window of `kind`, which becomes the kind the "Graph" menu
// entry shows; a note instead when there is nothing to graph. Each height
// class graph's "Remove Big" shows its own classes again, in a new window,
// without the unusually large ones.
void showGraph(SessionPort& port, GraphKind kind);
// The "Graph" menu entry: the kind chosen last.
void showLastGraph(SessionPort& port);

} // namespace orolith::ui

#endif
