#include "dialogs/checkpointdialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>

#include "dialogs/errorwindow.h"
#include "dialogs/pointchooser.h"

namespace orolith::ui {

CheckpointDialog* checkpointWin = nullptr;

namespace {

constexpr const char* TITLE = "Checkpoints";

CheckpointDialog* dialogOf(Fl_Widget* w) { return dynamic_cast<CheckpointDialog*>(w->window()); }

void closeDialog(CheckpointDialog* d)
{
    d->hide();
    Fl::delete_widget(d);
}

void closeByFrame(Fl_Widget* w, void*) { closeDialog(static_cast<CheckpointDialog*>(w)); }

Fl_Input* field(int x, int y, int w, const char* label, const std::string& value, const char* tip = nullptr)
{
    auto* in = new Fl_Input(x, y, w, 22, label);
    in->value(value.c_str());
    if (tip)
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
    CheckpointDialog* d = dialogOf(w);
    if (!d)
        return;
    Fl_Widget_Tracker alive(d);
    const std::string picked =
        chooseFileToRead("Open Checkpoints", pointFilePattern(), d->port.chooserStartDirectory());
    if (!picked.empty() && alive.exists())
        d->file->value(picked.c_str());
}

void openPressed(Fl_Widget* w, void*)
{
    CheckpointDialog* d = dialogOf(w);
    if (!d || d->port.busy())
        return;
    CheckpointChoice choice;
    std::string why = checkpointChoiceOf(d->fields(), choice);
    if (why.empty() && d->port.openCheckpoints(choice, why)) {
        SessionPort& port = d->port;
        closeDialog(d);
        port.focusViewer();
        return;
    }
    messageWindow(TITLE, why, d);
}

void cancelPressed(Fl_Widget* w, void*)
{
    if (CheckpointDialog* d = dialogOf(w))
        closeDialog(d);
}

} // namespace

CheckpointDialog::CheckpointDialog(SessionPort& p) : Fl_Window(400, 215, TITLE), port(p)
{
    const CheckpointFields usual;
    file = field(10, 25, 290, "Points file:", "");
    file->align(FL_ALIGN_TOP_LEFT);
    button(310, 25, 80, "Browse...", browsePressed);
    x = field(35, 58, 55, "X:", usual.x, "The column of the eastings (a table)");
    y = field(120, 58, 55, "Y:", usual.y, "The column of the northings (a table)");
    z = field(205, 58, 55, "Z:", usual.z, "The column of the heights; a point layer without it gives its points' z");
    pointClass = field(315, 58, 75, "Class:", usual.pointClass, "The column of the point classes");
    crs = field(135, 91, 255, "Points' CRS:", usual.crs,
                "The coordinate system of a table's points (EPSG:4326, ...); empty: the DEM's. A point layer "
                "brings its own.");
    open = field(135, 119, 255, "Open classes:", usual.open,
                 "Comma-separated classes of open ground, for the NVA; empty: every point");
    vegetated = field(135, 147, 255, "Vegetated classes:", usual.vegetated,
                      "Comma-separated classes of vegetated ground, for the VVA; empty: none");
    button(230, 183, 75, "Open", openPressed);
    button(315, 183, 75, "Cancel", cancelPressed);
    end();
    callback(closeByFrame);
}

CheckpointDialog::~CheckpointDialog()
{
    if (checkpointWin == this)
        checkpointWin = nullptr;
}

CheckpointFields CheckpointDialog::fields() const
{
    CheckpointFields f;
    f.path = file->value();
    f.x = x->value();
    f.y = y->value();
    f.z = z->value();
    f.pointClass = pointClass->value();
    f.crs = crs->value();
    f.open = open->value();
    f.vegetated = vegetated->value();
    return f;
}

void openCheckpointsDialog(SessionPort& port)
{
    if (!port.dataSet().loaded() || port.busy())
        return;
    const std::string picked = chooseFileToRead("Open Checkpoints", pointFilePattern(), port.chooserStartDirectory());
    if (picked.empty())
        return;
    auto* d = new CheckpointDialog(port);
    d->file->value(picked.c_str());
    d->show();
    checkpointWin = d;
}

} // namespace orolith::ui
