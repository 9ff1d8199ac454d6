#include "dialogs/graph.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Value_Output.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "dialogs/errorwindow.h"
#include "dialogs/names.h"
#include "model/dataset.h"

namespace orolith::ui {

Fl_Window* graphwin = nullptr;
Graphb* graphbox = nullptr;

namespace {

// The window is wide enough for the label under the right end of the
// bars (x 197 to 217); the graph itself spans x 45 to 200, y 5 to 165.
constexpr int WIN_W = 220, WIN_H = 200;
constexpr int UNITS_W = 155, UNITS_H = 150;

// A graph window keeps the height-class counts it shows, so that its
// "Remove Big" works on them even after the data set has changed.
class GraphWindow : public Fl_Window {
public:
    GraphWindow(SessionPort& p, const char* title) : Fl_Window(WIN_W, WIN_H, title), port(p) { color(FL_WHITE); }
    ~GraphWindow() override
    {
        if (graphwin == this) {
            graphwin = nullptr;
            graphbox = nullptr;
        }
    }
    SessionPort& port;
    std::vector<int> classCounts;
};

void removeBig(Fl_Widget* w, void*);

void closeGraph(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

// A number on an axis, white and flat like the window behind it, as short
// as its 20 pixels need (the toolkit's own format prints every digit).
class AxisNumber : public Fl_Value_Output {
public:
    AxisNumber(int x, int y, int h, double v) : Fl_Value_Output(x, y, 20, h)
    {
        box(FL_FLAT_BOX);
        color(FL_WHITE);
        textsize(7);
        align(FL_ALIGN_LEFT);
        value(v);
    }
    int format(char* buf) override
    {
        const std::string text = axisNumberText(value());
        std::snprintf(buf, 128, "%s", text.c_str());
        return static_cast<int>(text.size());
    }
};

void axisNumber(int x, int y, int h, double value) { new AxisNumber(x, y, h, value); }

// The y axis's title, written upwards beside the axis numbers so that it
// does not run into them.
class VerticalTitle : public Fl_Box {
public:
    VerticalTitle(int x, int y, int w, int h, const char* text) : Fl_Box(x, y, w, h, text) { labelsize(7); }
    void draw() override
    {
        fl_color(labelcolor());
        fl_font(labelfont(), labelsize());
        const int textW = static_cast<int>(fl_width(label()));
        fl_draw(90, label(), x() + w() / 2 + labelsize() / 2, y() + (h() + textW) / 2);
    }
};

void yLabels(int maxCount)
{
    for (const AxisLabel& l : yAxisLabels(maxCount))
        axisNumber(25, l.pos, 20, l.value);
}

void showWindow(SessionPort& port, GraphWindow* win, Graphb* box)
{
    win->end();
    win->callback(closeGraph);
    win->show();
    box->show();
    graphwin = win;
    graphbox = box;
    port.focusViewer();
}

// The curvature and difference histograms: 25 bins over the finite values,
// with a note under the axis when some values are not finite.
void showHistogram(SessionPort& port, const char* title, const Histogram& h)
{
    std::vector<int> bins = h.bins;
    int minCount = 0, maxCount = 0;
    findminmax(minCount, maxCount, bins);
    auto* win = new GraphWindow(port, title);
    auto* box = new Graphb(45, 5, UNITS_W, 160, "", 1, maxCount, minCount, NUM_BINS, std::move(bins), 1);
    for (const AxisLabel& l : valueAxisLabels(h.min, h.range))
        axisNumber(l.pos, 160, 20, l.value);
    yLabels(maxCount);
    const std::string note = notFiniteNote(h.notFinite);
    if (!note.empty()) {
        auto* left = new Fl_Box(5, 182, WIN_W - 10, 15);
        left->copy_label(note.c_str());
        left->labelsize(8);
        left->labelcolor(FL_DARK_RED);
    }
    showWindow(port, win, box);
}

void showClassGraph(SessionPort& port, const std::vector<int>& counts, bool withoutBig)
{
    const int n = static_cast<int>(counts.size());
    int maxCount = 0, minCount = 0;
    getInfo(maxCount, minCount, n, counts.data());
    auto* win = new GraphWindow(port, "Height Classes");
    win->classCounts = counts;
    int newMax = 0;
    bool removed = false;
    std::vector<int> edited = editClasses(newMax, counts, removed);
    if (!withoutBig && removed) {
        auto* remove = new Fl_Button(20, 180, 60, 15, "Remove Big");
        remove->labelsize(8);
        remove->callback(removeBig);
    }
    // More classes than the plot has room for share bars; the scale
    // follows the bars drawn.
    BarCounts bars = groupClasses(withoutBig ? edited : counts);
    const int numBars = static_cast<int>(bars.counts.size());
    int lowestBar = 0;
    getInfo(maxCount, lowestBar, numBars, bars.counts.data());
    auto* box = new Graphb(45, 5, UNITS_W, 160, "", 1, maxCount, minCount, numBars, bars.counts, 1);
    new VerticalTitle(4, 70, 20, 80, "Heights");
    (new Fl_Box(100, 170, 20, 20, "Height Class"))->labelsize(8);
    for (const AxisLabel& l : classAxisLabels(numBars, bars.classesPerBar))
        axisNumber(l.pos, 160, 15, l.value);
    yLabels(maxCount);
    showWindow(port, win, box);
}

// Instead of a graph with nothing to show, a note that says why.
void showNote(const char* title, const std::string& why) { messageWindow(title, why); }

// Instead of a histogram of values none of which is finite, a note.
std::string noFiniteValues(const char* what, const Histogram& h)
{
    return std::string("There are no finite ") + what + " to graph: " + notFiniteNote(h.notFinite) + ".";
}

void showCurvatureGraph(SessionPort& port)
{
    // The points whose stencil is wholly present: an absent neighbour
    // makes no curvature.
    const DataSet& d = port.dataSet();
    const std::vector<float> values = d.loaded() ? definedCurvatures(d.curvature(), d.demView()) : std::vector<float>();
    if (values.empty())
        return showNote("Curve Error", "There are no curvature values to graph: open a DEM first.");
    const Histogram h = histogramOf(values.data(), values.size());
    if (h.finite == 0)
        return showNote("Curve Error", noFiniteValues("curvature values", h));
    showHistogram(port, "Curve Error", h);
}

void showDifferenceGraph(SessionPort& port)
{
    // |DEM - reference| of the cells that have a reference value: the
    // differences count from 0 up to the largest of them.
    const DataSet& d = port.dataSet();
    const std::vector<float> diffs =
        d.hasComparison() ? presentDifferences(d.demView(), d.comparisonView()) : std::vector<float>();
    if (diffs.empty())
        return showNote("Diff. Error", "There are no elevation differences to graph: open a DEM with comparison data "
                                       "that has heights above 0.");
    const Histogram h = histogramFrom(0.0f, diffs.data(), diffs.size());
    if (h.finite == 0)
        return showNote("Diff. Error", noFiniteValues("elevation differences", h));
    showHistogram(port, "Diff. Error", h);
}

void showHeightClassGraph(SessionPort& port)
{
    std::string why;
    // Null when no contour interval is known: a histogram left from another
    // interval would draw the wrong classes.
    if (!port.ensureHeightClasses(why))
        return showNote("Height Classes", why.empty() ? "There are no height classes to graph." : why);
    const std::vector<int>& counts = port.dataSet().heightClasses().counts;
    const int n = std::min(port.dataSet().contourInterval(), static_cast<int>(counts.size()));
    if (n <= 0)
        return showNote("Height Classes", "There are no height classes to graph.");
    showClassGraph(port, std::vector<int>(counts.begin(), counts.begin() + n), false);
}

void removeBig(Fl_Widget* w, void*)
{
    if (auto* own = dynamic_cast<GraphWindow*>(w->window()))
        showClassGraph(own->port, own->classCounts, true);
}

} // namespace

Graphb::Graphb(int x, int y, int w, int h, const char* label, int, int largest, int smallest, int bars,
               std::vector<int> barCounts, int flag)
    : Fl_Gl_Window(x, y, w, h, label), maxCount(largest), minCount(smallest), numBars(bars),
      counts(std::move(barCounts)), drawFlag(flag)
{
}

Graphb::~Graphb() = default;

void Graphb::draw()
{
    if (!valid())
        glViewport(0, 0, pixel_w(), pixel_h());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, UNITS_W, 0, UNITS_H, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    const std::vector<Bar> bars = barGeometry(counts, maxCount);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    for (const Bar& b : bars) {
        glVertex2f(b.x0, 5);
        glVertex2f(b.x0, b.top);
        glVertex2f(b.x1, b.top);
        glVertex2f(b.x1, 5);
    }
    glEnd();

    // Outlines; each runs down below the x axis at its right end to mark
    // the boundary between bars.
    glColor3f(0, 0, 0);
    for (const Bar& b : bars) {
        glBegin(GL_LINE_STRIP);
        glVertex2f(b.x0, 5);
        glVertex2f(b.x0, b.top);
        glVertex2f(b.x1, b.top);
        glVertex2f(b.x1, 0);
        glEnd();
    }
    glBegin(GL_LINES);
    glVertex2f(5, 5);
    glVertex2f(UNITS_W, 5);
    glVertex2f(5, 0);
    glVertex2f(5, UNITS_H + 5);
    for (int k = 0; k <= 10; ++k) {
        glVertex2f(0, 5 + 15 * k);
        glVertex2f(5, 5 + 15 * k);
    }
    glEnd();
}

int Graphb::handle(int event)
{
    redraw();
    return Fl_Gl_Window::handle(event);
}

void showGraph(SessionPort& port, GraphKind kind)
{
    port.setLastGraph(kind);
    showLastGraph(port);
}

void showLastGraph(SessionPort& port)
{
    switch (port.lastGraph()) {
    case GraphKind::curvature: showCurvatureGraph(port); break;
    case GraphKind::difference: showDifferenceGraph(port); break;
    case GraphKind::heightClasses: showHeightClassGraph(port); break;
    }
}

} // namespace orolith::ui
