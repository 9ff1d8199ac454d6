// Start-up of the viewer: the main window, its menu table, status row and
// tool panel. Geometry is pixels inside the main window (x, y, w, h).
#include "app/glviewerGUI.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Value_Output.H>
#include <FL/Fl_Window.H>
#include <GL/glut.h>

#include <algorithm>
#include <string>

#include "app/busy.h"
#include "app/callbacks.h"
#include "app/closing.h"
#include "app/menupositions.h"
#include "app/version.h"
#include "app/viewerroutes.h"
#include "dialogs/coregwindow.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/openfile.h"
#include "dialogs/saveoutputs.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "dialogs/statusrow.h"
#include "render/glviewer.h"

MainWindow* win = nullptr;
Fl_Menu_Bar* menubar = nullptr;
MyWindow* gl = nullptr;

Fl_Output* file1Label = nullptr;
Fl_Output* file2Label = nullptr;
Fl_Output* xcornerLabel = nullptr;
Fl_Output* ycornerLabel = nullptr;
Fl_Output* cellsizeLabel = nullptr;
Fl_Counter* vdisplay = nullptr;
Fl_Button* statsButton = nullptr;
Fl_Progress* loadBar = nullptr;

Fl_Group* toolPanel = nullptr;

Fl_Counter* unitSliderGUI = nullptr;
Fl_Value_Output* cerrLabel = nullptr;
Fl_Value_Output* cerr2Label = nullptr;
Fl_Value_Output* cerr3Label = nullptr;
Fl_Button* curveYLabel = nullptr;
Fl_Button* curveOLabel = nullptr;
Fl_Button* curveRLabel = nullptr;
Fl_Button* graphCButton = nullptr;
Fl_Check_Button* Cerr = nullptr;

Fl_Counter* unitSliderldGUI = nullptr;
Fl_Value_Output* lderrLabel = nullptr;
Fl_Value_Output* lderr2Label = nullptr;
Fl_Value_Output* lderr3Label = nullptr;
Fl_Value_Output* lderr4Label = nullptr;
Fl_Button* graphDButton = nullptr;
Fl_Check_Button* lerr = nullptr;
Fl_Check_Button* curverr = nullptr;
Fl_Check_Button* sloperr = nullptr;

Fl_Check_Button* axes = nullptr;
Fl_Check_Button* sun = nullptr;
Fl_Check_Button* mag = nullptr;
Fl_Check_Button* cont = nullptr;
Fl_Check_Button* light = nullptr;
Fl_Check_Button* colors = nullptr;
Fl_Check_Button* slope = nullptr;

Fl_Check_Button* prof = nullptr;
Fl_Check_Button* glyph = nullptr;
Fl_Round_Button* profVert = nullptr;
Fl_Round_Button* profHoriz = nullptr;
Fl_Counter* pdisplay = nullptr;

Fl_Button* graphButton = nullptr;
Fl_Check_Button* col = nullptr;

bool toolsShown = true;
bool NOT_MENU = true;
int initFiles = 0;
const char* filename = nullptr;

namespace {

// One menu item with no shortcut and no user data; label font, size and
// colour 0 make the menu bar's own text settings apply.
constexpr Fl_Menu_Item item(const char* label, Fl_Callback* cb = nullptr, int flags = 0)
{
    return {label, 0, cb, nullptr, flags, FL_NORMAL_LABEL, 0, 0, 0};
}
constexpr Fl_Menu_Item submenu(const char* label) { return item(label, nullptr, FL_SUBMENU); }
constexpr Fl_Menu_Item toggle(const char* label, Fl_Callback* cb, int flags = 0)
{
    return item(label, cb, FL_MENU_TOGGLE | flags);
}
constexpr Fl_Menu_Item endOfMenu() { return item(nullptr); }

// The menu bar's own copy of the template; the callbacks check and
// activate entries in it by position, so it must outlive the event loop.
Fl_Menu_Item menuCopy[menupos::MENU_SIZE];

// Storage behind `filename` for a command-line path, whatever its length.
std::string commandLinePath;

const Fl_Color PANEL_FRAME = 46; // grey between FL_DARK2 and FL_DARK1

// Width of the status row's Cancel button.
constexpr int CANCEL_W = 65;

// --- widget makers for the repeated kinds of the layout -------------------

Fl_Button* pushButton(int x, int y, int w, int h, const char* label, Fl_Callback* cb)
{
    auto* b = new Fl_Button(x, y, w, h, label);
    b->box(FL_PLASTIC_UP_BOX);
    b->labelsize(11);
    b->callback(cb);
    return b;
}

// A section's "?": its window explains that section.
Fl_Button* helpButton(int x, int y, PanelSection section)
{
    Fl_Button* b = pushButton(x, y, 15, 20, "?", popup);
    b->user_data(sectionData(section));
    return b;
}

template <class W>
W* inactive(W* w)
{
    w->deactivate();
    return w;
}

// Check and round buttons of 13 x 13 with their label to the right.
template <class Box>
Box* checkBox(int x, int y, const char* label, Fl_Callback* cb)
{
    auto* b = new Box(x, y, 13, 13, label);
    b->labelsize(11);
    b->align(FL_ALIGN_RIGHT);
    if (cb)
        b->callback(cb);
    return b;
}

Fl_Counter* counter(int x, int y, int w, int h, const char* label, Fl_Callback* cb, double value,
                    double step, double lstep, double min, double max)
{
    auto* c = new Fl_Counter(x, y, w, h, label);
    c->box(FL_PLASTIC_UP_BOX);
    c->labelsize(11);
    c->align(FL_ALIGN_TOP);
    c->callback(cb);
    c->range(min, max);
    c->step(step);
    c->lstep(lstep);
    c->value(value);
    return c;
}

template <class Field>
Field* outputField(int x, int y, int w, int h, const char* label = nullptr)
{
    auto* f = new Field(x, y, w, h, label);
    f->box(FL_FLAT_BOX);
    f->color(FL_BACKGROUND_COLOR);
    f->labelsize(11);
    f->textsize(11);
    return f;
}

Fl_Value_Output* legendValue(int x, int y, int w, int h, double value)
{
    auto* v = outputField<Fl_Value_Output>(x, y, w, h);
    v->value(value);
    return v;
}

// A colour swatch of a legend, its ">" pointing at the value on its left.
Fl_Button* swatch(int x, int y, uchar r, uchar g, uchar b)
{
    auto* s = new Fl_Button(x, y, 10, 10, ">       ");
    s->box(FL_FLAT_BOX);
    s->labelsize(11);
    s->align(FL_ALIGN_LEFT);
    s->color(fl_rgb_color(r, g, b));
    return s;
}

void sectionFrame(int x, int y, int w, int h)
{
    auto* f = new Fl_Box(x, y, w, h);
    f->box(FL_ROUNDED_FRAME);
    f->color(PANEL_FRAME);
}

// A section title: a read-only field across the top edge of its frame,
// created after the frame so that it hides the line behind the text.
Fl_Output* textField(int x, int y, int w, int h, const char* text, int textSize = 11)
{
    auto* t = outputField<Fl_Output>(x, y, w, h);
    t->textsize(textSize);
    t->insert(text);
    // Insertion leaves the cursor at the end, which scrolls a text wider
    // than its field (wide fonts) to hide its first letters; show the start.
    t->position(0);
    return t;
}

void plainLabel(int x, int y, int w, int h, const char* label)
{
    auto* b = new Fl_Box(x, y, w, h, label);
    b->labelsize(11);
}

// A status row field with its label to the left; placeStatusRow gives it
// its place. Text fields: a long text is cut at the field's edge rather
// than drawn over its neighbour.
Fl_Output* statusField(const char* label)
{
    auto* f = outputField<Fl_Output>(0, 0, 10, 10, label);
    f->labelsize(STATUS_TEXT_SIZE);
    f->textsize(STATUS_TEXT_SIZE);
    f->align(FL_ALIGN_LEFT);
    return f;
}

// --- the parts of the window, in creation (and drawing) order -------------

void buildStatusRow()
{
    file1Label = statusField("DEM file:");
    file1Label->labelcolor(FL_BLACK);
    file1Label->deactivate();
    file2Label = statusField("Comparison file:");
    file2Label->deactivate();

    xcornerLabel = statusField("X-corner:");
    ycornerLabel = statusField("Y-corner:");
    cellsizeLabel = statusField("Cellsize:");

    vdisplay = counter(0, 0, 70, 15, "Vertical Exageration:", vChange, 1, 1, 2, 0, 10);
    vdisplay->labelsize(STATUS_TEXT_SIZE);
    vdisplay->align(FL_ALIGN_LEFT);
    statsButton = pushButton(0, 0, 60, 20, "Statistics", stats);

    // Made after the file names, so that it is drawn over them.
    loadBar = new Fl_Progress(0, 0, 10, 10);
    loadBar->minimum(0);
    loadBar->maximum(1);
    loadBar->labelsize(11);
    loadBar->selection_color(fl_rgb_color(120, 160, 215));
    loadBar->hide();
    // Offered at the bar's right end while an analysis can be cancelled;
    // placed with the status row.
    makeCancelButton(0, 0, CANCEL_W, 20);
}

void buildCurvatureSection()
{
    helpButton(834, 340, PanelSection::curvatureError);
    unitSliderGUI = counter(700, 410, 100, 15, "Curvature Error Units", updateUnitGUI, 1, 0.1, 0.5,
                            0.5, 5);
    sectionFrame(670, 330, 160, 100);
    textField(705, 321, 90, 20, "Curvature Error");
    Cerr = inactive(checkBox<Fl_Check_Button>(680, 337, "Display", Cerrfn));

    // The legend reads upwards: 1, 2 and 3 units.
    const double unit = unitSliderGUI->value();
    cerrLabel = legendValue(700, 380, 20, 20, unit);
    cerrLabel->range(0.5, 5);
    curveYLabel = swatch(730, 385, 255, 255, 178);
    cerr2Label = legendValue(700, 365, 20, 20, 2 * unit);
    curveOLabel = swatch(730, 370, 254, 204, 92);
    cerr3Label = legendValue(700, 350, 20, 20, 3 * unit);
    curveRLabel = swatch(730, 355, 253, 141, 60);

    graphCButton = inactive(pushButton(765, 365, 40, 15, "Graph", graphCurve));
}

void buildDifferenceSection()
{
    helpButton(834, 449, PanelSection::localDifferenceError);
    sectionFrame(670, 440, 160, 120);
    textField(690, 430, 125, 20, "Local Difference Error");
    swatch(730, 469, 227, 26, 28);
    swatch(730, 483, 253, 141, 60);
    swatch(730, 496, 254, 204, 92);
    swatch(730, 510, 255, 255, 178);
    graphDButton = inactive(pushButton(765, 490, 40, 15, "Graph", graphDiff));
    unitSliderldGUI = counter(700, 539, 100, 15, "Difference Error Units", updateUnitldGUI, 1, 0.1,
                              0.5, 0, 10);
    lerr = inactive(checkBox<Fl_Check_Button>(680, 449, "Elev.", lerrfn));
    curverr = inactive(checkBox<Fl_Check_Button>(730, 449, "Curv.", curverrfn));
    // Slope differences are not analysed: the box is shown but never usable.
    sloperr = inactive(checkBox<Fl_Check_Button>(780, 449, "Slope", nullptr));

    // The legend reads upwards: 1, 2, 3 and 4 units.
    const double unit = unitSliderldGUI->value();
    lderrLabel = legendValue(700, 510, 30, 10, unit);
    lderrLabel->range(0, 10);
    lderr2Label = legendValue(700, 496, 30, 10, 2 * unit);
    lderr3Label = legendValue(700, 483, 30, 10, 3 * unit);
    lderr4Label = legendValue(700, 469, 30, 10, 4 * unit);
}

void buildDisplaySection()
{
    helpButton(834, 45, PanelSection::display);
    sectionFrame(670, 35, 160, 290);
    textField(730, 26, 45, 20, "Display");

    plainLabel(700, 45, 40, 20, "Zoom");
    pushButton(750, 45, 20, 20, "In", ZoomInButton_callback);
    pushButton(780, 45, 20, 20, "Out", ZoomOutButton_callback);
    axes = inactive(checkBox<Fl_Check_Button>(710, 70, "Show Axes", axesfn));

    plainLabel(680, 85, 145, 20, "Rotate 90 Degrees about");
    plainLabel(710, 105, 30, 20, "Horizontal axis");
    pushButton(770, 105, 15, 20, "+", XPlus90Button_callback);
    pushButton(800, 105, 15, 20, "-", XMinus90Button_callback);
    plainLabel(710, 125, 45, 20, "Vertical axis");
    pushButton(770, 125, 15, 20, "+", ZPlus90Button_callback);
    pushButton(800, 125, 15, 20, "-", ZMinus90Button_callback);

    plainLabel(695, 150, 40, 20, "View");
    pushButton(730, 150, 30, 20, "Top", TopButton_callback);
    pushButton(775, 150, 30, 20, "Side", SideButton_callback);
    pushButton(730, 170, 75, 20, "Reset View", ResetButton_callback);

    pushButton(755, 225, 25, 15, "East", sunPlusFN)->labelsize(9);
    pushButton(725, 225, 25, 15, "West", sunMinusFN)->labelsize(9);
    textField(690, 205, 130, 20, "Move sun through ellipse ", 10);
    sun = inactive(checkBox<Fl_Check_Button>(710, 195, "Display Sun", sunCall));

    mag = inactive(checkBox<Fl_Check_Button>(685, 245, "Magnifier", drawMagnifier));
    cont = inactive(checkBox<Fl_Check_Button>(685, 260, "Contours/Ref. Data", contfn));
    light = inactive(checkBox<Fl_Check_Button>(685, 275, "Shaded Relief", lightfn));
    light->value(1); // the viewer starts lit
    colors = inactive(checkBox<Fl_Check_Button>(685, 290, "Height Colors", colorfn));
    slope = inactive(checkBox<Fl_Check_Button>(685, 305, "Aspect Colors", slopeFn));
}

void buildProfileSection()
{
    helpButton(834, 575, PanelSection::profileView);
    sectionFrame(670, 570, 160, 60);
    textField(715, 560, 75, 20, "Profile View");
    prof = inactive(checkBox<Fl_Check_Button>(680, 575, "Display", proffn));
    glyph = inactive(checkBox<Fl_Check_Button>(760, 575, "Glyphs", glyphfn));
    // Plain on/off buttons, not a radio pair: profV and profH switch the
    // other one off.
    profVert = checkBox<Fl_Round_Button>(680, 595, "Y-Axis", profV);
    profVert->value(1);
    profHoriz = checkBox<Fl_Round_Button>(680, 610, "X-Axis", profH);
    pdisplay = counter(735, 605, 90, 15, "Row/Column:", pChange, 1, 1, 10, 1, 20000);
}

void buildHeightClassSection()
{
    sectionFrame(670, 639, 160, 50);
    textField(710, 630, 90, 20, "Height Classes");
    helpButton(834, 650, PanelSection::heightClasses);
    graphButton = inactive(pushButton(725, 670, 40, 15, "Graph", graphClass));
    col = inactive(checkBox<Fl_Check_Button>(680, 650, "Color Height Classes", heights));
}

} // namespace

const Fl_Menu_Item menuTemplate[menupos::MENU_SIZE] = {
    submenu("&File"),                                     // 0
    submenu("&Open..."),                                  // 1
    item("DEM File", file),                               // 2
    item("DEM and Comparison File", files),               // 3
    item("Add/Change Comparison File...", addChange),     // 4
    endOfMenu(),                                          // 5
    item("Save Image...", saveImage),                     // 6 SAVE_IMAGE
    item("Save Profile...", saveProfile, FL_MENU_DIVIDER), // 7 SAVE_PROFILE
    item("E&xit", quit),                                  // 8
    endOfMenu(),                                          // 9
    submenu("&Edit"),                                     // 10
    endOfMenu(),                                          // 11
    submenu("&View"),                                     // 12
    submenu("Rotate 90 degrees..."),                      // 13
    item("+Z axis", ZPlus90Button_callback),              // 14
    item("-Z axis", ZMinus90Button_callback),             // 15
    item("+X axis", XPlus90Button_callback),              // 16
    item("-X axis", XMinus90Button_callback),             // 17
    endOfMenu(),                                          // 18
    item("Zoom In", ZoomInButton_callback),               // 19
    item("Zoom Out", ZoomOutButton_callback),             // 20
    item("Side View", SideButton_callback),               // 21
    item("Top View", TopButton_callback),                 // 22
    item("Reset View", ResetButton_callback),             // 23
    endOfMenu(),                                          // 24
    submenu("&Display"),                                  // 25
    toggle("Magnifier", drawMagnifierM),                  // 26 TRI
    toggle("Lighting", lightfnM, FL_MENU_VALUE),          // 27 LIGHT
    toggle("Axes", axesfnM),                              // 28 AXES
    toggle("Contour/Ref. Data", contfnM),                // 29 CONT
    toggle("Sun", sunCallM),                              // 30 SUN
    toggle("Height Colors", colorM),                      // 31 COLORS
    toggle("Slope Colors", slopeM, FL_MENU_DIVIDER),      // 32 SLOPE
    toggle("Display/Hide Tools", tools, FL_MENU_VALUE),  // 33 TOOLS
    endOfMenu(),                                          // 34
    submenu("E&rror"),                                    // 35
    toggle("Color Height Classes", heightsM),             // 36 HEIGHTS
    toggle("Curvature Error", CerrfnM),                   // 37 CERR
    toggle("Local Difference Error", lerrfnM),            // 38 LERR
    endOfMenu(),                                          // 39
    submenu("&Analysis"),                                 // 40
    item("Statistics", stats),                            // 41
    item("Graph", graph),                                 // 42 GRAPH
    item("Make Sparse file", sparse),                     // 43 SPARSE
    item("Co-register...", coregistration),               // 44 COREGISTER
    endOfMenu(),                                          // 45
    submenu("&Options"),                                  // 46
    item("Modify Curvature Error", modCurve),             // 47
    endOfMenu(),                                          // 48
    submenu("&Help"),                                     // 49
    item("Help", help),                                   // 50
    item("About", about),                                 // 51
    endOfMenu(),                                          // 52
    endOfMenu(),                                          // 53
};

MainWindow* buildMainWindow(int& argc, char** argv)
{
    // A second build (tests do this) replaces the first window.
    delete win;
    toolsShown = true;
    NOT_MENU = true;

    win = new MainWindow(0, 0, START_W, START_H, "");
    win->copy_label(mainWindowTitle().c_str());

    menubar = new Fl_Menu_Bar(0, 0, START_W, MENU_BAR_H);
    menubar->box(FL_PLASTIC_UP_BOX);

    // The GL window ends its own child list, so win stays the current group.
    gl = new MyWindow(0, MENU_BAR_H, START_W - TOOL_PANEL_W, START_H - MENU_BAR_H - STATUS_ROW_H, "");

    buildStatusRow();
    // The sections below are drawn for a panel at x 650 of an 850 pixel
    // wide window; the group keeps them together wherever layOut moves it.
    toolPanel = new Fl_Group(START_W - TOOL_PANEL_W, MENU_BAR_H, TOOL_PANEL_W, TOOL_PANEL_H);
    toolPanel->resizable(nullptr);
    buildCurvatureSection();
    buildDifferenceSection();
    buildDisplaySection();
    buildProfileSection();
    buildHeightClassSection();
    toolPanel->end();
    // Every window built later (dialogs, help windows) must be top-level.
    win->end();

    std::copy(menuTemplate, menuTemplate + menupos::MENU_SIZE, menuCopy);
    menubar->menu(menuCopy);

    deactivateTools();
    connectViewerToPanel();

    // freeglut ends the process on a second glutInit.
    static bool glutStarted = false;
    if (!glutStarted) {
        glutInit(&argc, argv);
        glutStarted = true;
    }

    // No resizable child: layOut places every part for each new size.
    win->resizable(nullptr);
    const WindowSize least = minimumWindowSize();
    win->size_range(least.w, least.h);
    win->layOut();
    applyClosingRules();
    return win;
}

void placeStatusRow(const Rect& row)
{
    const StatusRowLayout l = statusRowLayout(row.w);
    auto place = [&](Fl_Widget* w, const Rect& r) { w->resize(row.x + r.x, row.y + r.y, r.w, r.h); };
    place(file1Label, l.demField);
    place(file2Label, l.compField);
    place(vdisplay, l.exaggeration);
    place(xcornerLabel, l.xField);
    place(ycornerLabel, l.yField);
    place(cellsizeLabel, l.cellField);
    place(statsButton, l.statistics);
    place(loadBar, l.loadBar);
    // Cancel (app/busy.h) takes the bar's right end while it is offered.
    if (Fl_Button* cancel = busyCancelButton()) {
        place(cancel, {l.loadBar.x + l.loadBar.w - CANCEL_W, l.loadBar.y, CANCEL_W, l.loadBar.h});
        if (cancel->visible())
            loadBar->size(cancel->x() - loadBar->x(), loadBar->h());
    }
}

void rememberCommandLinePath(int argc, char** argv)
{
    if (argc <= 1)
        return;
    commandLinePath = argv[1];
    filename = commandLinePath.c_str();
    initFiles = 2;
}

int runViewer(int argc, char** argv)
{
    buildMainWindow(argc, argv);
    win->show();
    gl->show();
    rememberCommandLinePath(argc, argv);
    return Fl::run();
}
