// The statistics report window.
#ifndef OROLITH_DIALOGS_STATSREPORT_H
#define OROLITH_DIALOGS_STATSREPORT_H

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Window;

namespace orolith::ui {

// "Statistics" button and menu entry: a new window with the report of the
// data set as it is now, in the units of the panel's two unit counters,
// and with a comparison grid the accuracy table of the DEM against it (over
// the stable terrain when rules are in force), then the checkpoints' table
// when there are checkpoints. Its
// "Save..." writes the text shown to a file the user picks. Earlier report
// windows stay as they were.
void showStatistics(SessionPort& port);

// The report window built last (null once closed), for the tests.
extern Fl_Window* statsWin;

} // namespace orolith::ui

#endif
