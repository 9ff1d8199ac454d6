#include "dialogs/coregwindow.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Output.H>

#include "app/busy.h"
#include "app/callbacks.h"
#include "app/glviewerGUI.h"
#include "dialogs/coregprogress.h"
#include "dialogs/errorwindow.h"
#include "dialogs/openchecks.h"
#include "dialogs/openfile.h"
#include "dialogs/reporttext.h"
#include "dialogs/shiftedoffer.h"
#include "dialogs/textwindow.h"
#include "model/coregister.h"
#include "model/loading.h"
#include "model/madegrid.h"
#include "model/metrics.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"

Fl_Window* coregWin = nullptr;
std::function<void(int)> coregIterationHook;

namespace {

// What a co-registration found, for the window to show and keep.
struct Outcome {
    Coregistration result;
    std::string before, after; // accuracy tables
};

class CoregWindow : public TextWindow {
public:
    CoregWindow(Outcome o, unsigned long long pair)
        : TextWindow("Co-registration",
                     coregistrationText(o.result, mt.spacing().geographic, o.before, o.after), 450, 300),
          offer(shiftedGridOffer(o.result)), shifted(std::move(o.result.shifted)), pairVersion(pair)
    {
    }
    ~CoregWindow() override
    {
        if (coregWin == this)
            coregWin = nullptr;
    }
    const ShiftedGridOffer offer;
    ShiftedGrid shifted; // the comparison grid moved back, or kept as it was
    // The comparison grid's version when co-registered: a later load
    // changes it, and the shifted grid then belongs to another pair.
    const unsigned long long pairVersion;
};

// Everything on the worker thread: the fit and both tables read the grids
// alone, which no load changes while the program is busy. Cancel stops it
// before the next fit; the tables are then not worth making.
Outcome coregisterPair(BusyWork& work)
{
    Outcome o;
    o.result = coregister(mt.view(), rd.view(), mt.spacing(), [&](int iteration) {
        work.report(coregProgressLabel(iteration), coregProgressFraction(iteration));
        if (coregIterationHook)
            coregIterationHook(iteration);
        return !work.cancelled();
    });
    if (o.result.ok && !work.cancelled()) {
        work.report(coregTablesLabel(), 1.0);
        auto table = [&](const GridView& comp) {
            return accuracyTable(accuracyReport(mt.view(), comp, mt.spacing(), defaultSlopeBounds()));
        };
        o.before = table(rd.view());
        o.after = table(o.result.shifted.view(mt.getRows(), mt.getCols()));
    }
    return o;
}

void problem(const std::string& text, Fl_Window* over = nullptr) { messageWindow("Co-registration", text, over); }

} // namespace

void coregistration(Fl_Widget*, void*)
{
    // The entry is active only with a comparison DEM loaded.
    if (!haveComparison() || fileType != DEM || busy())
        return;
    Outcome o;
    const WorkEnd end =
        computeCancellableWhileBusy(coregStartLabel(), [&](BusyWork& work) { o = coregisterPair(work); });
    // Cancelled, even after the last fit: as if the entry had not been chosen.
    if (end != WorkEnd::done)
        return;
    if (!o.result.ok)
        return problem("Cannot co-register the grids: " + o.result.why);
    auto* win = new CoregWindow(std::move(o), rd.version());
    Fl_Button* analyse = win->addButton(190, win->offer.label, analyseShifted);
    if (!win->offer.usable)
        analyse->deactivate();
    win->show();
    coregWin = win;
}

void analyseShifted(Fl_Widget* w, void*)
{
    auto* win = dynamic_cast<CoregWindow*>(w->window());
    if (!win || busy())
        return;
    if (!win->offer.usable)
        return problem("The shift did not improve the fit, so the comparison grid was kept as it was: "
                       "it is the one in use.",
                       win);
    if (!haveComparison() || rd.version() != win->pairVersion)
        return problem("The comparison grid has changed since this co-registration: choose Co-register... again.",
                       win);
    GridData grid =
        madeComparisonGrid(rd.header(), mt.getRows(), mt.getCols(), win->shifted.heights, win->shifted.present);
    LoadStatus status;
    loadWhileBusy([&] {
        status = replaceComparison(std::move(grid), static_cast<int>(vdisplay->value()), ComparisonKind::dem);
        return status.ok();
    });
    if (!status.ok())
        return problem(loadFailureText(status), win);
    // The file in use stays the one opened; the status row says it is moved.
    file2Label->value((std::string(filename2 ? filename2 : "") + " (co-registered)").c_str());
    file2Label->position(file2Label->size());
    w->deactivate(); // its grid is in use now
    activateTools();
    gl->redraw();
}
