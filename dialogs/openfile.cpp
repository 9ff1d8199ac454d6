#include "dialogs/openfile.h"

#include <algorithm>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "dialogs/paths.h"

namespace orolith::ui {

OpenDialog* openwin = nullptr;

namespace {

void openPressed(Fl_Widget*, void*); // "Open" of the DEM and two-file dialogs
void fileMod(Fl_Widget*, void*);     // "Open" of the change dialog
void cancelPressed(Fl_Widget*, void*);
void searchDemPressed(Fl_Widget*, void*);        // chooser for the DEM field
void searchComparisonPressed(Fl_Widget*, void*); // ... the two-file dialog's comparison field
void searchChangePressed(Fl_Widget*, void*);     // ... the change dialog's field
// The kind boxes: at most one ticked; "Contour Interval :" is usable after
// Sparse File was clicked and not after DEM File or Contour File.
void demFile(Fl_Widget*, void*);
void rawFile(Fl_Widget*, void*);
void contFile(Fl_Widget*, void*);

OpenDialog* dialogOf(Fl_Widget* w) { return dynamic_cast<OpenDialog*>(w->window()); }

// Dialogs are built anew each time, so a closed one is deleted (after the
// callback that closed it has returned).
void closeDialog(OpenDialog* d)
{
    d->hide();
    Fl::delete_widget(d);
}

void closeByFrame(Fl_Widget* w, void*) { closeDialog(static_cast<OpenDialog*>(w)); }

Fl_Button* plasticButton(int x, int y, int w, int h, const char* label, Fl_Callback* cb)
{
    auto* b = new Fl_Button(x, y, w, h, label);
    b->box(FL_PLASTIC_UP_BOX);
    b->callback(cb);
    return b;
}

Fl_Input* nameField(int x, int y, int w, int h, const char* label)
{
    auto* in = new Fl_Input(x, y, w, h, label);
    in->align(FL_ALIGN_TOP_LEFT);
    return in;
}

Fl_Counter* counter(int x, int y, int w, int h, const char* label, double value, double min, double max, double step,
                    double lstep)
{
    auto* c = new Fl_Counter(x, y, w, h, label);
    c->align(FL_ALIGN_LEFT);
    c->box(FL_PLASTIC_UP_BOX);
    c->range(min, max);
    c->step(step);
    c->lstep(lstep);
    c->value(value);
    return c;
}

// The dialog's value counts on Open.
Fl_Counter* exaggeration(int x, int y, int w, int h, double lstep)
{
    return counter(x, y, w, h, "Vertical Exageration :", 1, 1, 10, 1, lstep);
}

void treelineAndSlope(OpenDialog* d, int treeY, int slopeY)
{
    d->tinput = counter(75, treeY, 120, 20, "Treeline: ", 1800, 1000, 15000, 100, 1000);
    d->sinput = counter(145, slopeY, 120, 20, "Vegetation Slope: ", 50, 10, 80, 1, 5);
}

// A kind box and the read-only text beside it that names it.
Fl_Check_Button* kindBox(int y, int textW, const char* name, Fl_Callback* cb)
{
    auto* box = new Fl_Check_Button(5, y, 13, 13);
    box->callback(cb);
    auto* text = new Fl_Output(25, y, textW, 13);
    text->box(FL_FLAT_BOX);
    text->color(FL_BACKGROUND_COLOR);
    text->labelsize(10);
    text->textsize(10); // the field is 13 high: larger text would be cut
    text->value(name);
    text->clear_visible_focus();
    return box;
}

void kindBoxes(OpenDialog* d, int top)
{
    d->demCheck = kindBox(top + 40, 60, "DEM File", demFile);
    d->rawCheck = kindBox(top + 20, 80, "Sparse File", rawFile);
    d->contCheck = kindBox(top, 90, "Contour File", contFile);
}

void alignBox(OpenDialog* d, int x, int y)
{
    d->alignBox = new Fl_Check_Button(x, y, 180, 20, "Align to the DEM's grid");
    d->alignBox->value(1);
    d->alignBox->tooltip("A comparison grid that does not lie on the DEM's grid (another placement, cell size or "
                         "coordinate system) is resampled onto it; spot heights and contours move to their nearest "
                         "cell.");
}

bool aligning(const OpenDialog* d) { return d->alignBox && d->alignBox->value(); }

void contourInterval(OpenDialog* d, int y)
{
    d->continput = counter(230, y, 70, 20, "Contour Interval :", 20, 1, 100, 1, 10);
}

// A DEM named on the command line fills the DEM field of the dialogs
// built before the first Open press; the user may still change it.
void offerStartupDem(OpenDialog* d)
{
    const std::string dem = d->port.startupDem();
    if (!dem.empty())
        d->finput->value(dem.c_str());
}

void show(OpenDialog* d)
{
    d->end();
    d->callback(closeByFrame);
    d->show();
    openwin = d;
}

// "Align and Open" of the message that a comparison grid lies elsewhere:
// ticks the dialog's box and presses its Open again.
void alignAndOpen(Fl_Widget* w, void* openButton)
{
    Fl_Window* message = w->window();
    auto* open = static_cast<Fl_Widget*>(openButton);
    OpenDialog* d = dialogOf(open);
    message->hide();
    Fl::delete_widget(message);
    if (!d || !d->alignBox)
        return;
    d->alignBox->value(1);
    open->do_callback();
}

// Shows the failure of a load over the dialog, which stays open so that
// the user can correct it. Grids that lie apart, with the box unticked:
// the message offers to align them.
void reportLoadFailure(OpenDialog* d, Fl_Widget* openButton, const LoadStatus& status)
{
    Fl_Window* shown = messageWindow("File Error", loadFailureText(status), d);
    if (status.result != LoadResult::mismatch || !d->alignBox || aligning(d))
        return;
    // Left of the message's OK button, which moves right when there is no
    // room.
    Fl_Widget* ok = shown->child(shown->children() - 1);
    const int x = std::max(10, ok->x() - 130);
    if (x + 125 > ok->x())
        ok->position(x + 125, ok->y());
    if (ok->x() + ok->w() + 10 > shown->w())
        shown->size(ok->x() + ok->w() + 10, shown->h());
    auto* offer = new Fl_Button(x, ok->y(), 120, ok->h(), "Align and Open");
    offer->callback(alignAndOpen, openButton);
    shown->add(offer);
}

int comparisonKind(const OpenDialog* d)
{
    return kindFromBoxes(d->demCheck->value(), d->rawCheck->value(), d->contCheck->value());
}

// A load that succeeded may still not be what the user meant (a grid in
// degrees without its .prj, a "DEM" of mostly zeros): its notes in a window
// over the main window, which stays usable.
void showLoadNotes(SessionPort& port, const LoadStatus& status)
{
    const std::string text = loadNotesMessage(status.notes);
    if (!text.empty())
        messageWindow("Note", text, port.mainWindow());
}

} // namespace

// The layout gives labels and buttons room for the toolkit's default font:
// no label is cut by the window's edge or its button's border.
OpenDialog::OpenDialog(SessionPort& p, OpenMode m, int w, int h) : Fl_Window(w, h, "Open File"), port(p), mode(m) {}

OpenDialog::~OpenDialog()
{
    if (openwin == this)
        openwin = nullptr;
}

void openDemDialog(SessionPort& port)
{
    auto* d = new OpenDialog(port, OpenMode::dem, 300, 250);
    d->box(FL_PLASTIC_UP_BOX);
    d->finput = nameField(10, 25, 200, 20, "DEM:");
    treelineAndSlope(d, 105, 150);
    d->vinput = exaggeration(170, 60, 60, 20, 2);
    plasticButton(215, 25, 75, 20, "Search...", searchDemPressed);
    plasticButton(80, 190, 60, 20, "Open", openPressed);
    plasticButton(150, 190, 60, 20, "Cancel", cancelPressed);
    offerStartupDem(d);
    show(d);
}

void openPairDialog(SessionPort& port)
{
    auto* d = new OpenDialog(port, OpenMode::demAndComparison, 350, 325);
    d->box(FL_PLASTIC_UP_BOX);
    d->finput = nameField(10, 30, 180, 20, "DEM:");
    d->finput2 = nameField(10, 75, 180, 20, "Comparison File:");
    d->vinput = exaggeration(170, 110, 50, 20, 1);
    treelineAndSlope(d, 135, 175);
    kindBoxes(d, 205);
    contourInterval(d, 225);
    plasticButton(200, 30, 75, 20, "Search...", searchDemPressed);
    plasticButton(200, 75, 75, 20, "Search...", searchComparisonPressed);
    alignBox(d, 5, 262);
    plasticButton(110, 292, 60, 20, "Open", openPressed);
    plasticButton(180, 292, 60, 20, "Cancel", cancelPressed);
    offerStartupDem(d);
    show(d);
}

void openChangeDialog(SessionPort& port)
{
    // A comparison file is compared with the DEM in use: none, no dialog.
    if (port.files().count <= 0)
        return;
    auto* d = new OpenDialog(port, OpenMode::change, 300, 210);
    d->ainput = nameField(5, 25, 170, 20, "Comparison file:");
    kindBoxes(d, 65);
    contourInterval(d, 85);
    alignBox(d, 5, 125);
    plasticButton(75, 160, 60, 20, "Open", fileMod);
    plasticButton(155, 160, 60, 20, "Cancel", cancelPressed);
    plasticButton(185, 25, 75, 20, "Search...", searchChangePressed);
    show(d);
}

namespace {

void openPressed(Fl_Widget* w, void*)
{
    OpenDialog* d = dialogOf(w);
    if (!d || d->port.busy())
        return;
    // The command-line DEM has had its one offer (it filled the field).
    d->port.forgetStartupDem();

    // Copies: the fields' buffers change with the next keystroke.
    const bool two = d->mode == OpenMode::demAndComparison;
    OpenChoice choice;
    choice.dem = d->finput->value();
    choice.comparison = two ? d->finput2->value() : "";
    choice.kind = two ? comparisonKind(d) : CONTF;

    OpenRequest request;
    request.numFiles = two ? 2 : 1;
    request.demNamed = !choice.dem.empty();
    request.compNamed = !choice.comparison.empty();
    request.demReadable = canRead(choice.dem);
    request.compReadable = canRead(choice.comparison);
    request.kind = choice.kind;
    if (int code = openError(request)) {
        errorMessage(code, d);
        return;
    }

    choice.exaggeration = static_cast<int>(d->vinput->value());
    choice.treeLine = static_cast<int>(d->tinput->value());
    choice.vegetationSlope = static_cast<int>(d->sinput->value());
    choice.align = aligning(d);
    SessionPort& port = d->port;
    const LoadStatus status = port.openFiles(choice);
    if (!status.ok()) {
        reportLoadFailure(d, w, status);
        return;
    }
    closeDialog(d);
    port.focusViewer();
    showLoadNotes(port, status);
}

void fileMod(Fl_Widget* w, void*)
{
    OpenDialog* d = dialogOf(w);
    if (!d || d->port.busy())
        return;
    SessionPort& port = d->port;
    const std::string comp = d->ainput->value();
    if (int code = changeError(!comp.empty(), canRead(comp))) {
        errorMessage(code, d);
    } else {
        const LoadStatus status = port.changeComparison(comp, comparisonKind(d), aligning(d));
        if (status.ok()) {
            closeDialog(d);
            showLoadNotes(port, status);
        } else {
            reportLoadFailure(d, w, status);
        }
    }
    port.focusViewer();
}

void cancelPressed(Fl_Widget* w, void*)
{
    if (OpenDialog* d = dialogOf(w))
        closeDialog(d);
}

void searchDemPressed(Fl_Widget* w, void*)
{
    if (OpenDialog* d = dialogOf(w))
        chooseFile(d->finput, "Open File", d->port.chooserStartDirectory(), d->port.readsRasters());
}

void searchComparisonPressed(Fl_Widget* w, void*)
{
    if (OpenDialog* d = dialogOf(w))
        chooseFile(d->finput2, "Open File", d->port.chooserStartDirectory(), d->port.readsRasters());
}

void searchChangePressed(Fl_Widget* w, void*)
{
    if (OpenDialog* d = dialogOf(w))
        chooseFile(d->ainput, "Open File", d->port.chooserStartDirectory(), d->port.readsRasters());
}

void demFile(Fl_Widget* w, void*)
{
    OpenDialog* d = dialogOf(w);
    d->continput->deactivate();
    d->rawCheck->value(0);
    d->contCheck->value(0);
}

void rawFile(Fl_Widget* w, void*)
{
    OpenDialog* d = dialogOf(w);
    d->continput->activate();
    d->contCheck->value(0);
    d->demCheck->value(0);
}

void contFile(Fl_Widget* w, void*)
{
    OpenDialog* d = dialogOf(w);
    d->continput->deactivate();
    d->rawCheck->value(0);
    d->demCheck->value(0);
}

} // namespace

} // namespace orolith::ui
