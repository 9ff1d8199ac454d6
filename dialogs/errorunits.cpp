#include "dialogs/errorunits.h"

#include "dialogs/names.h"
#include <FL/Fl.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Window.H>

namespace orolith::ui {

Fl_Counter* unitSlider = nullptr;

namespace {

class UnitDialog : public Fl_Window {
public:
    explicit UnitDialog(SessionPort& p) : Fl_Window(0, 0, 300, 200, "Curvature Error"), port(p) {}
    ~UnitDialog() override
    {
        if (unitSlider == counter)
            unitSlider = nullptr;
    }
    SessionPort& port;
    Fl_Counter* counter = nullptr;
};

void closeDialog(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

void unitChanged(Fl_Widget* w, void*)
{
    if (auto* d = dynamic_cast<UnitDialog*>(w->window()))
        d->port.setCurvatureUnit(static_cast<Fl_Counter*>(w)->value());
}

} // namespace

void modCurve(SessionPort& port)
{
    auto* d = new UnitDialog(port);
    auto* c = new Fl_Counter(50, 50, 200, 20, "Curvature Error Units");
    c->align(FL_ALIGN_TOP);
    c->box(FL_PLASTIC_UP_BOX);
    c->range(0.5, 5.0);
    c->step(0.1);
    c->lstep(0.5);
    c->value(port.curvatureUnit());
    c->callback(unitChanged);
    d->counter = c;
    d->end();
    d->callback(closeDialog);
    d->show();
    unitSlider = c;
}

} // namespace orolith::ui
