#include "dialogs/stableterraindialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Output.H>

#include "dialogs/errorwindow.h"
#include "dialogs/pointchooser.h"

namespace orolith::ui {

StableTerrainDialog* stableWin = nullptr;

namespace {

constexpr const char* TITLE = "Stable Terrain";

StableTerrainDialog* dialogOf(Fl_Widget* w) { return dynamic_cast<StableTerrainDialog*>(w->window()); }

void closeDialog(StableTerrainDialog* d)
{
    d->hide();
    Fl::delete_widget(d);
}

void closeByFrame(Fl_Widget* w, void*) { closeDialog(static_cast<StableTerrainDialog*>(w)); }

Fl_Input* numberField(int y, const char* label, const char* tip)
{
    auto* in = new Fl_Input(200, y, 70, 22, label);
    in->tooltip(tip);
    return in;
}

Fl_Button* button(int x, int y, int w, const char* label, Fl_Callback* cb)
{
    auto* b = new Fl_Button(x, y, w, 22, label);
    b->box(FL_PLASTIC_UP_BOX);
    b->callback(cb);
    return b;
}

void browsePressed(Fl_Widget* w, void*)
{
    StableTerrainDialog* d = dialogOf(w);
    if (!d)
        return;
    Fl_Widget_Tracker alive(d);
    const std::string picked =
        chooseFileToRead("Stable Terrain Mask", maskFilePattern(), d->port.chooserStartDirectory());
    if (!picked.empty() && alive.exists())
        d->mask->value(picked.c_str());
}

void applyPressed(Fl_Widget* w, void*)
{
    StableTerrainDialog* d = dialogOf(w);
    if (!d || d->port.busy())
        return;
    StableTerrainChoice choice;
    std::string why = stableTerrainChoiceOf(d->fields(), choice);
    if (why.empty() && d->port.applyStableTerrain(choice, why)) {
        d->showCounts();
        return;
    }
    messageWindow(TITLE, why, d);
}

void clearPressed(Fl_Widget* w, void*)
{
    StableTerrainDialog* d = dialogOf(w);
    if (!d || d->port.busy())
        return;
    d->port.clearStableTerrain();
    d->showCounts();
}

void closePressed(Fl_Widget* w, void*)
{
    if (StableTerrainDialog* d = dialogOf(w))
        closeDialog(d);
}

} // namespace

StableTerrainDialog::StableTerrainDialog(SessionPort& p) : Fl_Window(420, 290, TITLE), port(p)
{
    mask = new Fl_Input(10, 25, 310, 22, "Mask file (empty: none):");
    mask->align(FL_ALIGN_TOP_LEFT);
    mask->tooltip("A raster (non-zero: stable) or a polygon layer (inside: unstable), put on the DEM's grid");
    button(330, 25, 80, "Browse...", browsePressed);
    keepInside = new Fl_Check_Button(10, 52, 250, 22, "Keep inside the polygons");
    keepInside->tooltip("The polygons mark the stable ground instead");
    minSlope = numberField(82, "Minimum slope (degrees):", "Points less steep are left out; empty: no limit");
    maxSlope = numberField(110, "Maximum slope (degrees):", "Points steeper are left out; empty: no limit");
    outliers = numberField(138, "Outliers, K (NMADs):",
                           "Points whose difference lies more than K NMADs from the median are left out, round "
                           "by round; empty: none");
    counts = new Fl_Multiline_Output(10, 170, 400, 82);
    counts->textsize(12);
    counts->clear_visible_focus();
    button(170, 260, 70, "Apply", applyPressed);
    button(250, 260, 70, "Clear", clearPressed);
    button(330, 260, 80, "Close", closePressed);
    end();
    callback(closeByFrame);

    if (const StableTerrainChoice* c = port.stableTerrainChoice()) {
        const StableTerrainFields f = fieldsOf(*c);
        mask->value(f.maskPath.c_str());
        keepInside->value(f.keepInside);
        minSlope->value(f.minSlope.c_str());
        maxSlope->value(f.maxSlope.c_str());
        outliers->value(f.outliers.c_str());
    }
    showCounts();
}

StableTerrainDialog::~StableTerrainDialog()
{
    if (stableWin == this)
        stableWin = nullptr;
}

StableTerrainFields StableTerrainDialog::fields() const
{
    StableTerrainFields f;
    f.maskPath = mask->value();
    f.keepInside = keepInside->value() != 0;
    f.minSlope = minSlope->value();
    f.maxSlope = maxSlope->value();
    f.outliers = outliers->value();
    return f;
}

void StableTerrainDialog::showCounts()
{
    const DataSet& d = port.dataSet();
    const bool inForce = d.hasComparison() && d.hasStableTerrain();
    counts->value(inForce ? stableTerrainCountsText(d.stableRules(), d.stableTerrain().counts).c_str()
                          : noStableTerrainText().c_str());
}

void openStableTerrainDialog(SessionPort& port)
{
    if (!port.dataSet().hasComparison() || port.busy())
        return;
    auto* d = new StableTerrainDialog(port);
    d->show();
    stableWin = d;
}

} // namespace orolith::ui
