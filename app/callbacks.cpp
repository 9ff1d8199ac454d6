#include "app/callbacks.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cstdlib>

#include "app/glviewerGUI.h"
#include "app/menupositions.h"
#include "app/toolsets.h"
#include "dialogs/openfile.h"
#include "render/glviewer.h"
#include "render/viewstate.h"

namespace {

// The entry at `pos` of the menu bar's own item array.
Fl_Menu_Item& menuEntry(int pos)
{
    return const_cast<Fl_Menu_Item*>(menubar->menu())[pos];
}

void flipMark(int pos)
{
    Fl_Menu_Item& entry = menuEntry(pos);
    if (entry.value())
        entry.clear();
    else
        entry.set();
}

// The panel callback's first two steps: a click on the box has left the
// menu mark behind (a menu choice has already flipped it).
void followBoxInMenu(int pos)
{
    if (NOT_MENU)
        flipMark(pos);
    NOT_MENU = true;
}

// One exclusion test: with both boxes on, the other one goes off and its
// callback, finding its own box off, flips its mark and flag back alone.
void exclude(Fl_Button* own, Fl_Button* other, Fl_Callback* otherFn, Fl_Widget* w)
{
    if (own->value() && other->value()) {
        other->value(0);
        otherFn(w, nullptr);
    }
}

// Every viewer change ends here: repaint, and keep the keys on the viewer.
void refreshViewer()
{
    gl->redraw();
    gl->take_focus();
}

// A menu toggle's guard held: flip the box as a click would, then run the
// box's callback, which leaves the (already flipped) mark alone.
void forwardToBox(Fl_Button* box, Fl_Callback* panelFn, Fl_Widget* w)
{
    box->value(!box->value());
    panelFn(w, nullptr);
}

// A menu choice whose guard fails: the toolkit has flipped the mark, so
// flip it back, and let the next click reach the menu again.
void refuseMenuChoice(int pos)
{
    flipMark(pos);
    NOT_MENU = true;
}

// The menu callbacks' two steps.
void menuToggle(bool guard, int pos, Fl_Button* box, Fl_Callback* panelFn, Fl_Widget* w)
{
    NOT_MENU = false;
    if (guard)
        forwardToBox(box, panelFn, w);
    else
        refuseMenuChoice(pos);
}

int profileNumber()
{
    return static_cast<int>(pdisplay->value()); // truncation toward zero
}

// The counter's number goes to the viewer, which refuses a row or column
// outside the grid; the counter then shows where the profile really is.
void moveProfileToCounter()
{
    MyWindow::changeProf(profileNumber());
    const int shown = MyWindow::shownProfilePosition();
    if (shown >= 0)
        pdisplay->value(shown);
}

Fl_Widget* widgetOf(Tool t);

void deactivate(const ToolSet& set)
{
    for (Tool t : set.widgets)
        widgetOf(t)->deactivate();
    for (int pos : set.menuEntries)
        menuEntry(pos).deactivate();
    win->redraw();
}

Fl_Widget* widgetOf(Tool t)
{
    switch (t) {
    case Tool::mag: return mag;
    case Tool::slope: return slope;
    case Tool::sun: return sun;
    case Tool::unitSliderGUI: return unitSliderGUI;
    case Tool::axes: return axes;
    case Tool::light: return light;
    case Tool::colors: return colors;
    case Tool::Cerr: return Cerr;
    case Tool::graphCButton: return graphCButton;
    case Tool::prof: return prof;
    case Tool::glyph: return glyph;
    case Tool::unitSliderldGUI: return unitSliderldGUI;
    case Tool::graphButton: return graphButton;
    case Tool::graphDButton: return graphDButton;
    case Tool::col: return col;
    case Tool::cont: return cont;
    case Tool::lerr: return lerr;
    case Tool::curverr: return curverr;
    }
    return nullptr;
}

} // namespace

// --- panel check boxes -----------------------------------------------------

void drawMagnifier(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::TRI);
    MyWindow::drawMagnifier(w);
    refreshViewer();
}

void lightfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::LIGHT);
    MyWindow::light(w);
    refreshViewer();
}

void axesfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::AXES);
    MyWindow::Axes(w);
    refreshViewer();
}

void sunCall(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::SUN);
    MyWindow::sun(w);
    refreshViewer();
}

// Height colours, aspect colours, height classes and the reference-data
// overlay colour the surface in different ways: one at a time.
void colorfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::COLORS);
    exclude(colors, slope, slopeFn, w);
    exclude(colors, col, heights, w);
    exclude(colors, cont, contfn, w);
    MyWindow::Colors(w);
    refreshViewer();
}

void slopeFn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::SLOPE);
    exclude(slope, col, heights, w);
    exclude(slope, colors, colorfn, w);
    exclude(slope, cont, contfn, w);
    MyWindow::slopeVis(w);
    refreshViewer();
}

void heights(Fl_Widget* w, void*)
{
    // Without contour data there are no classes to colour: the tick is
    // refused, and a menu choice's mark taken back.
    if (col->value() && (FILE_CONST != 2 || !MyWindow::canColorHeightClasses())) {
        col->value(0);
        if (!NOT_MENU)
            flipMark(menupos::HEIGHTS);
        NOT_MENU = true;
        return;
    }
    followBoxInMenu(menupos::HEIGHTS);
    exclude(col, colors, colorfn, w);
    exclude(col, slope, slopeFn, w);
    exclude(col, cont, contfn, w);
    // The flag follows the box; switching off needs no contour data (a
    // later data set may have none).
    if (colorHeightClasses == (col->value() != 0))
        return;
    MyWindow::heights(w);
    refreshViewer();
}

void contfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::CONT);
    exclude(cont, col, heights, w);
    exclude(cont, colors, colorfn, w);
    exclude(cont, slope, slopeFn, w);
    MyWindow::cont(w);
    refreshViewer();
}

// The three error displays colour the surface by class: one at a time.
void Cerrfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::CERR);
    exclude(Cerr, lerr, lerrfn, w);
    exclude(Cerr, curverr, curverrfn, w);
    MyWindow::cerr(w);
    refreshViewer();
}

void lerrfn(Fl_Widget* w, void*)
{
    followBoxInMenu(menupos::LERR);
    exclude(lerr, Cerr, Cerrfn, w);
    exclude(lerr, curverr, curverrfn, w);
    MyWindow::lerr(w);
    refreshViewer();
}

void curverrfn(Fl_Widget* w, void*)
{
    NOT_MENU = true; // no menu entry of its own
    exclude(curverr, Cerr, Cerrfn, w);
    exclude(curverr, lerr, lerrfn, w);
    MyWindow::curverr(w);
    refreshViewer();
}

void proffn(Fl_Widget*, void*)
{
    NOT_MENU = true;
    // The section appears where the counter says.
    moveProfileToCounter();
    MyWindow::prof();
    refreshViewer();
}

void glyphfn(Fl_Widget*, void*)
{
    NOT_MENU = true;
    MyWindow::glyph();
    refreshViewer();
}

// --- menu toggles ------------------------------------------------------------
// The toolkit has flipped the entry's mark already.

void drawMagnifierM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::TRI, mag, drawMagnifier, w); }
void lightfnM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::LIGHT, light, lightfn, w); }
void axesfnM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::AXES, axes, axesfn, w); }
void contfnM(Fl_Widget* w, void*) { menuToggle(FILE_CONST == 2, menupos::CONT, cont, contfn, w); }
void sunCallM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::SUN, sun, sunCall, w); }
void colorM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::COLORS, colors, colorfn, w); }
void slopeM(Fl_Widget* w, void*) { menuToggle(FILE_CONST > 0, menupos::SLOPE, slope, slopeFn, w); }
void heightsM(Fl_Widget* w, void*) { menuToggle(FILE_CONST == 2, menupos::HEIGHTS, col, heights, w); }
void CerrfnM(Fl_Widget* w, void*) { menuToggle(true, menupos::CERR, Cerr, Cerrfn, w); }
void lerrfnM(Fl_Widget* w, void*) { menuToggle(FILE_CONST == 2, menupos::LERR, lerr, lerrfn, w); }

// --- view buttons: the viewer ignores them until a DEM is open ---------------

void ZoomInButton_callback(Fl_Widget* w, void*)
{
    MyWindow::ZoomInButton_callback(w);
    refreshViewer();
}

void ZoomOutButton_callback(Fl_Widget* w, void*)
{
    MyWindow::ZoomOutButton_callback(w);
    refreshViewer();
}

void XPlus90Button_callback(Fl_Widget* w, void*)
{
    MyWindow::XPlus90Button_callback(w);
    refreshViewer();
}

void XMinus90Button_callback(Fl_Widget* w, void*)
{
    MyWindow::XMinus90Button_callback(w);
    refreshViewer();
}

void ZPlus90Button_callback(Fl_Widget* w, void*)
{
    MyWindow::ZPlus90Button_callback(w);
    refreshViewer();
}

void ZMinus90Button_callback(Fl_Widget* w, void*)
{
    MyWindow::ZMinus90Button_callback(w);
    refreshViewer();
}

void TopButton_callback(Fl_Widget* w, void*)
{
    MyWindow::TopButton_callback(w);
    refreshViewer();
}

void SideButton_callback(Fl_Widget* w, void*)
{
    MyWindow::SideButton_callback(w);
    refreshViewer();
}

void ResetButton_callback(Fl_Widget* w, void*)
{
    MyWindow::ResetButton_callback(w);
    refreshViewer();
}

// --- sun, counters, profile direction ------------------------------------

void sunPlusFN(Fl_Widget*, void*)
{
    MyWindow::sunModPlus();
    refreshViewer();
}

void sunMinusFN(Fl_Widget*, void*)
{
    MyWindow::sunModMinus();
    refreshViewer();
}

// Also fired by the open dialogs' exaggeration counters; it always reads
// the panel's counter.
void vChange(Fl_Widget*, void*)
{
    gl->changeVert(static_cast<int>(vdisplay->value()), FILE_CONST);
    refreshViewer();
}

void pChange(Fl_Widget*, void*)
{
    moveProfileToCounter();
    refreshViewer();
}

// The two direction buttons are plain on/off buttons: each switches the
// other off and stays on itself, also when clicked while on.
void profV(Fl_Widget*, void*)
{
    MyWindow::verticalProf();
    profVert->value(1);
    profHoriz->value(0);
    moveProfileToCounter();
    refreshViewer();
}

void profH(Fl_Widget*, void*)
{
    MyWindow::horizontalProf();
    profHoriz->value(1);
    profVert->value(0);
    moveProfileToCounter();
    refreshViewer();
}

// --- tool panel and exit -------------------------------------------------------

// Hidden, the viewer and the status row widen over the panel's place
// (MainWindow keeps that layout through resizing); the panel's tools go
// inactive with it; the File menu's saves and
// "Co-register..." stay as the data set has them.
void tools(Fl_Widget*, void*)
{
    if (toolsShown) {
        win->hideToolPanel();
        deactivate(panelTools());
    } else {
        win->showToolPanel();
        if (FILE_CONST > 0)
            activateTools();
    }
    toolsShown = !toolsShown;
}

// File > Exit, and the main window's close box (app/closing.h).
void quit(Fl_Widget*, void*)
{
    std::exit(0);
}

void activateTools()
{
    // Exactly the tools of the data set in use: a comparison grid of
    // another kind takes its own tools with it.
    const ToolSet usable = toolsActivatedFor(FILE_CONST, fileType);
    const ToolSet all = dataTools();
    for (int pos : all.menuEntries) {
        if (std::count(usable.menuEntries.begin(), usable.menuEntries.end(), pos))
            menuEntry(pos).activate();
        else
            menuEntry(pos).deactivate();
    }
    for (Tool t : all.widgets) {
        if (std::count(usable.widgets.begin(), usable.widgets.end(), t))
            widgetOf(t)->activate();
        else
            widgetOf(t)->deactivate();
    }
    // Box and mark show the lighting the viewer really has: the key l in
    // the viewer switches it without going through the panel.
    light->value(lighting != 0);
    if (lighting != 0)
        menuEntry(menupos::LIGHT).set();
    else
        menuEntry(menupos::LIGHT).clear();
    win->redraw();
}

void deactivateTools() { deactivate(dataTools()); }
