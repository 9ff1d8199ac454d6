// "Save Report...": the accuracy report of the pair in use, written as the
// HTML page or PDF the chosen name asks for, with its numbers as JSON
// beside it. The statistics window saves the pair's report; the
// co-registration window adds its shift, fit and figures after the shift.
#ifndef OROLITH_DIALOGS_REPORTSAVE_H
#define OROLITH_DIALOGS_REPORTSAVE_H

#include <string>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"
#include "model/coregister.h"

class Fl_Window;

namespace orolith::ui {

// Asks for the file (proposed beside the DEM as NAME_report.html), then
// gathers and writes the report while the program shows it is busy; a
// message over `over` when it cannot. Nothing happens without comparison
// data or while other work runs.
void saveAccuracyReport(SessionPort& port, const Coregistration* shift, Fl_Window* over);

// Where the report of the DEM at demPath is proposed.
std::string reportPathBeside(const std::string& demPath);

} // namespace orolith::ui

#endif
