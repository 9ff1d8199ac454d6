// The grids of a command-line mode that reads them without analysing them
// as the viewer does: the DEM, and a comparison grid made ready against it
// (on its grid, by its kind), as the accuracy modes and --export take them.
#ifndef OROLITH_APP_CLIPAIR_H
#define OROLITH_APP_CLIPAIR_H

#include <functional>
#include <string>

#include "app/cli_run.h"
#include "dialogs/names.h"
#include "model/gridview.h"
#include "model/pairing.h"

namespace orolith::ui {

struct PairRequest {
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false; // --geographic
    bool align = false;      // --align
    AlignMethod method = AlignMethod::bilinear;
};

struct Pair {
    GridData dem;
    bool withComparison = false;
    PairedComparison comp;

    GridView demView() const { return viewOf(dem); }
    GridView compView() const { return withComparison ? comparisonView(comp.grid, comp.presence) : GridView{}; }
    GroundSpacing spacing() const { return groundSpacing(dem.header); }
};

// Reads the DEM and, when `compPath` is not empty, the comparison grid, on
// two threads at once, and pairs them; notes go to the run's messages. A
// file that cannot be read ends the program (app/fatal.h; the DEM's fault
// first when both are bad); false after the message when the grids cannot
// be paired (placement, alignment).
// `meanwhile`, when given, runs on a third thread while the grids are read
// and has ended before any message or the end of the program.
bool readPair(const CliRun& run, const std::string& demPath, const std::string& compPath, const PairRequest& request,
              Pair& p, const std::function<void()>& meanwhile = {});

} // namespace orolith::ui

#endif
