// The viewer's event handler: mouse drags, the wheel and the key table.
// What an event does is decided by the plain functions of viewmotion and
// viewerkeys; this file reads the toolkit's event and applies the result.
// The viewer takes only the events it uses, so the rest reach the menu
// bar's shortcuts and the main window's keyboard navigation.
#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"
#include "render/surfacewalk.h"
#include "render/viewerhooks.h"
#include "render/viewerkeys.h"
#include "render/viewmotion.h"

ViewerHooks viewerHooks;

namespace {

// A switch with a panel box goes through the box's callback when the shell
// is there, so box and menu mark follow; alone, the viewer flips its flag.
void toggle(PanelSwitch s)
{
    if (viewerHooks.toggle) {
        viewerHooks.toggle(s);
        return;
    }
    switch (s) {
    case PanelSwitch::axes: MyWindow::Axes(); break;
    case PanelSwitch::lighting: MyWindow::light(); break;
    case PanelSwitch::magnifier: MyWindow::drawMagnifier(); break;
    case PanelSwitch::curvatureError: MyWindow::cerr(); break;
    case PanelSwitch::contours: MyWindow::cont(); break;
    case PanelSwitch::elevationError: MyWindow::lerr(); break;
    }
}

const char* askInDialog(float current)
{
    char now[32];
    std::snprintf(now, sizeof now, "%g", current);
    return fl_input("New eye value: ", now);
}

// Key e. A cancelled dialog or a value that is not a positive number keeps
// the eye where it is.
bool askForEye()
{
    const char* typed = (viewerHooks.askEyeValue ? viewerHooks.askEyeValue : askInDialog)(eyevalue);
    const std::optional<float> eye = parseEyeValue(typed);
    if (!eye || *eye == eyevalue)
        return false;
    eyevalue = *eye;
    return true;
}

// Keys = and -: the mesh is rebuilt with the model's new exaggeration, and
// the shell's counter shows it.
bool stepExaggeration(MyWindow& viewer, bool up)
{
    const float before = mt.getVertExag();
    up ? mt.vertExagPlus() : mt.vertExagMinus();
    if (mt.getVertExag() == before)
        return false;
    const int exaggeration = static_cast<int>(mt.getVertExag());
    viewer.changeVert(exaggeration, FILES);
    if (viewerHooks.exaggerationShown)
        viewerHooks.exaggerationShown(exaggeration);
    return true;
}

// Applies one action of the key table; true when the picture may change.
bool apply(MyWindow& viewer, KeyAction action)
{
    using K = KeyAction;
    switch (action) {
    case K::none: return false;
    case K::xPlus1: xrotation += 1; break;
    case K::xMinus1: xrotation -= 1; break;
    case K::zPlus1: zrotation += 1; break;
    case K::zMinus1: zrotation -= 1; break;
    case K::xPlus90: xrotation += 90; break;
    case K::xMinus90: xrotation -= 90; break;
    case K::zPlus90: zrotation += 90; break;
    case K::zMinus90: zrotation -= 90; break;
    case K::topView: xrotation = 0; break;
    case K::sideView: xrotation = -90; break;
    case K::resetView: // the translations stay
        eyevalue = STARTEYE;
        xrotation = XROTATE;
        zrotation = ZROTATE;
        break;
    case K::eyeAway: return moveEye(-EYEINCR);
    case K::eyeCloser: return moveEye(EYEINCR);
    case K::askEye: return askForEye();
    case K::exaggerationUp: return stepExaggeration(viewer, true);
    case K::exaggerationDown: return stepExaggeration(viewer, false);
    case K::sunEast: MyWindow::sunModPlus(); break;
    case K::sunWest: MyWindow::sunModMinus(); break;
    case K::axes: toggle(PanelSwitch::axes); break;
    case K::lighting: toggle(PanelSwitch::lighting); break;
    case K::magnifier:
        std::cout << "MAGNIFIER TOGGLED" << std::endl;
        toggle(PanelSwitch::magnifier);
        break;
    case K::triangles: drawTriangles = !drawTriangles; break;
    case K::curvatureError: toggle(PanelSwitch::curvatureError); break;
    case K::contours: toggle(PanelSwitch::contours); break;
    case K::points: drawPoints = !drawPoints; break;
    case K::elevationDifferences:
        toggle(PanelSwitch::elevationError);
        drawDiff = !drawDiff;
        break;
    case K::quit: std::exit(1);
    }
    return true;
}

} // namespace

void MyWindow::handleMouse(int)
{
    const DragMode mode = dragModeFor(Fl::event_button(), magnify);
    if (mode == DragMode::none)
        return;
    holdButton(mode);
    polygonOutline = outlineWhileDragging(mt.gridsize());
}

int MyWindow::handle(int event)
{
    bool used = true, changed = false;
    switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
        break; // the viewer holds the keyboard focus for its keys
    case FL_PUSH:
        if (shown())
            take_focus(); // a click on the viewer sends the keys to it
        handleMouse(event);
        changed = buttonHeld() && dragChangesPicture(mt.gridsize());
        break;
    case FL_RELEASE:
        changed = buttonHeld() && dragChangesPicture(mt.gridsize());
        lButtonState = rButtonState = mButtonState = false;
        polygonOutline = false;
        break;
    case FL_DRAG: {
        const DragMode mode = dragModeFor(Fl::event_button(), magnify);
        used = mode != DragMode::none;
        holdButton(mode);
        changed = used && mouseMove(Fl::event_x(), Fl::event_y());
        break;
    }
    case FL_KEYBOARD: {
        const KeyAction action = keyAction(Fl::event_key(), Fl::event_state(), {haveDem(), multFiles});
        used = action != KeyAction::none;
        changed = apply(*this, action);
        break;
    }
    case FL_MOUSEWHEEL: {
        const float step = wheelEyeStep(Fl::event_dy());
        used = step != 0;
        changed = used && moveEye(step);
        break;
    }
    default:
        // Showing, hiding and the pointer's comings and goings are the
        // base window's.
        return Fl_Gl_Window::handle(event);
    }
    if (changed)
        REDRAW = true;
    if (REDRAW)
        redraw();
    return used ? 1 : 0;
}
