// Analysis > "Stable terrain...": the rules that leave out the ground that
// changed between the DEM and its comparison (a mask file, slope limits,
// outliers), applied to the data set in use with "Apply", removed with
// "Clear"; the counts of what each rule removed are shown once applied.
// A refused rule leaves the data set as it was, with the reason over the
// dialog.
#ifndef OROLITH_DIALOGS_STABLETERRAINDIALOG_H
#define OROLITH_DIALOGS_STABLETERRAINDIALOG_H

#include <FL/Fl_Window.H>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"
#include "dialogs/stableterrainfields.h"

class Fl_Check_Button;
class Fl_Input;
class Fl_Multiline_Output;

namespace orolith::ui {

class StableTerrainDialog : public Fl_Window {
public:
    explicit StableTerrainDialog(SessionPort& port);
    ~StableTerrainDialog() override;

    StableTerrainFields fields() const;
    // The counts of the rules in force, or that there are none.
    void showCounts();

    SessionPort& port;
    Fl_Input* mask = nullptr;
    Fl_Check_Button* keepInside = nullptr;
    Fl_Input* minSlope = nullptr;
    Fl_Input* maxSlope = nullptr;
    Fl_Input* outliers = nullptr;
    Fl_Multiline_Output* counts = nullptr;
};

// The dialog built last (null once closed), for the tests.
extern StableTerrainDialog* stableWin;

// The menu entry: the dialog, its fields those of the rules in force.
// Nothing without comparison data.
void openStableTerrainDialog(SessionPort& port);

} // namespace orolith::ui

#endif
