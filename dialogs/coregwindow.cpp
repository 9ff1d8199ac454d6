#include "dialogs/coregwindow.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Output.H>

#include "dialogs/coregprogress.h"
#include "dialogs/errorwindow.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "dialogs/openfile.h"
#include "dialogs/reportsave.h"
#include "dialogs/shiftedoffer.h"
#include "dialogs/textwindow.h"
#include "model/coregister.h"
#include "model/madegrid.h"
#include "model/metrics.h"
#include "model/stableterrain.h"
#include "report/reporttext.h"

namespace orolith::ui {

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
    CoregWindow(SessionPort& p, Outcome o, unsigned long long pair)
        : TextWindow("Co-registration",
                     coregistrationText(o.result, p.dataSet().spacing().geographic, o.before, o.after), 450, 300),
          port(p), offer(shiftedGridOffer(o.result)), result(std::move(o.result)), pairVersion(pair)
    {
    }
    ~CoregWindow() override
    {
        if (coregWin == this)
            coregWin = nullptr;
    }
    SessionPort& port;
    const ShiftedGridOffer offer;
    // The co-registration; its shifted grid is the comparison grid moved
    // back, or kept as it was.
    Coregistration result;
    // The comparison grid's version when co-registered: a later load
    // changes it, and the shifted grid then belongs to another pair.
    const unsigned long long pairVersion;
};

// Everything on the worker thread: the fit and both tables read the grids
// alone, which no load changes while the program is busy. Cancel stops it
// before the next fit; the tables are then not worth making. Only the
// stable terrain takes part in the fit and the tables, when rules are in
// force; the whole comparison is moved.
Outcome coregisterPair(const DataSet& d, BusyWork& work)
{
    Outcome o;
    o.result = coregister(d.demView(), d.comparisonView(), d.stableMask(), d.spacing(), [&](int iteration) {
        work.report(coregProgressLabel(iteration), coregProgressFraction(iteration));
        if (coregIterationHook)
            coregIterationHook(iteration);
        return !work.cancelled();
    });
    if (o.result.ok && !work.cancelled()) {
        work.report(coregTablesLabel(), 1.0);
        auto table = [&](const GridView& comp) {
            return accuracyTable(accuracyReport(d.demView(), comp, d.spacing(), defaultSlopeBounds()));
        };
        static const std::vector<std::uint8_t> noRules;
        const std::vector<std::uint8_t> kept =
            keptAfterShift(o.result.shifted.present, d.hasStableTerrain() ? d.stableTerrain().stable : noRules,
                           static_cast<std::size_t>(d.rows()) * d.cols());
        o.before = table(d.stableComparisonView());
        o.after = table({o.result.shifted.heights.data(), kept.data(), d.rows(), d.cols()});
    }
    return o;
}

void problem(const std::string& text, Fl_Window* over = nullptr) { messageWindow("Co-registration", text, over); }

} // namespace

namespace {
void analyseShifted(Fl_Widget* w, void*);
void saveCoregReport(Fl_Widget* w, void*);
} // namespace

void coregistration(SessionPort& port)
{
    // The entry is active only with a comparison DEM loaded.
    const DataSet& d = port.dataSet();
    if (!d.hasComparison() || port.files().kind != DEM || port.busy())
        return;
    Outcome o;
    const WorkEnd end = port.runCancellable(coregStartLabel(), [&](BusyWork& work) { o = coregisterPair(d, work); });
    // Cancelled, even after the last fit: as if the entry had not been chosen.
    if (end != WorkEnd::done)
        return;
    if (!o.result.ok)
        return problem("Cannot co-register the grids: " + o.result.why);
    auto* win = new CoregWindow(port, std::move(o), d.comparisonVersion());
    Fl_Button* analyse = win->addButton(190, win->offer.label, analyseShifted);
    win->addButton(110, "Save Report...", saveCoregReport);
    if (!win->offer.usable)
        analyse->deactivate();
    win->show();
    coregWin = win;
}

namespace {

void analyseShifted(Fl_Widget* w, void*)
{
    auto* win = dynamic_cast<CoregWindow*>(w->window());
    if (!win || win->port.busy())
        return;
    SessionPort& port = win->port;
    if (!win->offer.usable)
        return problem("The shift did not improve the fit, so the comparison grid was kept as it was: "
                       "it is the one in use.",
                       win);
    const DataSet& d = port.dataSet();
    if (!d.hasComparison() || d.comparisonVersion() != win->pairVersion)
        return problem("The comparison grid has changed since this co-registration: choose Co-register... again.", win);
    const ShiftedGrid& moved = win->result.shifted;
    GridData grid = madeComparisonGrid(d.comparison().grid.header, d.rows(), d.cols(), moved.heights, moved.present);
    const LoadStatus status = port.useShiftedComparison(std::move(grid));
    if (!status.ok())
        return problem(loadFailureText(status), win);
    w->deactivate(); // its grid is in use now
}

// The report of the pair this window co-registered, the shift included.
void saveCoregReport(Fl_Widget* w, void*)
{
    auto* win = dynamic_cast<CoregWindow*>(w->window());
    if (!win || win->port.busy())
        return;
    const DataSet& d = win->port.dataSet();
    if (!d.hasComparison() || d.comparisonVersion() != win->pairVersion)
        return problem("The comparison grid has changed since this co-registration: choose Co-register... again.", win);
    saveAccuracyReport(win->port, &win->result, win);
}

} // namespace

} // namespace orolith::ui
