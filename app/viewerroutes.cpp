#include "app/viewerroutes.h"

#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>

#include "app/callbacks.h"
#include "app/glviewerGUI.h"
#include "render/viewerhooks.h"

namespace {

struct PanelControl {
    Fl_Button* box;
    Fl_Callback* callback;
};

PanelControl controlOf(PanelSwitch s)
{
    switch (s) {
    case PanelSwitch::axes: return {axes, axesfn};
    case PanelSwitch::lighting: return {light, lightfn};
    case PanelSwitch::magnifier: return {mag, drawMagnifier};
    case PanelSwitch::curvatureError: return {Cerr, Cerrfn};
    case PanelSwitch::contours: return {cont, contfn};
    case PanelSwitch::elevationError: return {lerr, lerrfn};
    }
    return {nullptr, nullptr};
}

// As a click: the box flips, then its callback flips the menu mark, runs
// the exclusions and switches the viewer, also while the box is greyed out.
void clickBox(PanelSwitch s)
{
    const PanelControl c = controlOf(s);
    c.box->value(!c.box->value());
    c.callback(c.box, nullptr);
}

void showExaggeration(int exaggeration)
{
    vdisplay->value(exaggeration);
}

} // namespace

void connectViewerToPanel()
{
    viewerHooks.toggle = clickBox;
    viewerHooks.exaggerationShown = showExaggeration;
}
