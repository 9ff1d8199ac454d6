#include "dialogs/errorunits.h"

#include <FL/Fl.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Value_Output.H>
#include <FL/Fl_Window.H>

#include "app/glviewerGUI.h"
#include "render/glviewer.h"

Fl_Counter* unitSlider = nullptr;

namespace {

class UnitDialog : public Fl_Window {
public:
    UnitDialog() : Fl_Window(0, 0, 300, 200, "Curvature Error") {}
    Fl_Counter* counter = nullptr;
    ~UnitDialog() override
    {
        if (unitSlider == counter)
            unitSlider = nullptr;
    }
};

void closeDialog(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

// The viewer reclassifies in the new unit; the legends show the class
// bounds, 1, 2, 3 (and 4) units.
void setCurveUnit(double u)
{
    gl->modCurveErr(static_cast<float>(u));
    cerrLabel->value(u);
    cerr2Label->value(2 * u);
    cerr3Label->value(3 * u);
    gl->redraw();
    gl->take_focus();
}

double valueOf(Fl_Widget* w) { return static_cast<Fl_Counter*>(w)->value(); }

} // namespace

void modCurve(Fl_Widget*, void*)
{
    auto* d = new UnitDialog;
    auto* c = new Fl_Counter(50, 50, 200, 20, "Curvature Error Units");
    c->align(FL_ALIGN_TOP);
    c->box(FL_PLASTIC_UP_BOX);
    c->range(0.5, 5.0);
    c->step(0.1);
    c->lstep(0.5);
    c->value(unitSliderGUI->value());
    c->callback(updateUnitMenu);
    d->counter = c;
    d->end();
    d->callback(closeDialog);
    d->show();
    unitSlider = c;
}

void updateUnitMenu(Fl_Widget* w, void*)
{
    const double u = valueOf(w);
    unitSliderGUI->value(u);
    setCurveUnit(u);
}

void updateUnitGUI(Fl_Widget* w, void*) { setCurveUnit(valueOf(w)); }

void updateUnitldGUI(Fl_Widget* w, void*)
{
    const double d = valueOf(w);
    gl->modLocalDiffErr(static_cast<float>(d));
    lderrLabel->value(d);
    lderr2Label->value(2 * d);
    lderr3Label->value(3 * d);
    lderr4Label->value(4 * d);
    gl->redraw();
    gl->take_focus();
}
