// The open-file dialogs: a DEM alone ("DEM File"), a DEM with comparison
// data ("DEM and Comparison File"), or a new comparison file for the DEM in
// use ("Add/Change Comparison File..."). They check that the named files
// can be opened and hand them to the session to load; a load that fails
// leaves the dialog open with the reason over it.
#ifndef OROLITH_DIALOGS_OPENFILE_H
#define OROLITH_DIALOGS_OPENFILE_H

#include <FL/Fl_Window.H>

#include <string>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Check_Button;
class Fl_Counter;
class Fl_Input;
class Fl_Widget;

namespace orolith::ui {

enum class OpenMode {
    dem = 1,              // "DEM File"
    demAndComparison = 2, // "DEM and Comparison File"
    change = 3,           // "Add/Change Comparison File..."
};

// One open dialog with its own fields: its buttons act on it alone, however
// many dialogs are open. Members the mode does not have stay null.
class OpenDialog : public Fl_Window {
public:
    OpenDialog(SessionPort& port, OpenMode mode, int w, int h);
    ~OpenDialog() override;

    SessionPort& port;
    const OpenMode mode;
    Fl_Input* finput = nullptr;      // DEM name
    Fl_Input* finput2 = nullptr;     // comparison name, two-file dialog
    Fl_Input* ainput = nullptr;      // comparison name, change dialog
    Fl_Counter* tinput = nullptr;    // "Treeline: "
    Fl_Counter* sinput = nullptr;    // "Vegetation Slope: "
    Fl_Counter* vinput = nullptr;    // "Vertical Exageration :"
    Fl_Counter* continput = nullptr; // "Contour Interval :"
    Fl_Check_Button* demCheck = nullptr;
    Fl_Check_Button* rawCheck = nullptr;
    Fl_Check_Button* contCheck = nullptr;
    // "Align to the DEM's grid": a comparison grid that lies elsewhere is
    // resampled onto the DEM's grid (two-file and change dialogs; ticked
    // when they open, and no change where the grids already match).
    Fl_Check_Button* alignBox = nullptr;
};

// The open dialog built last (null once it is closed). Nothing acts on it
// through this pointer; it lets a test reach the dialog a menu entry built.
extern OpenDialog* openwin;

// The menu entries: build and show a dialog. The change dialog is offered
// only while a DEM is loaded.
void openDemDialog(SessionPort& port);
void openPairDialog(SessionPort& port);
void openChangeDialog(SessionPort& port);

} // namespace orolith::ui

#endif
