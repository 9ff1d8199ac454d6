// The open-file dialogs: a DEM alone ("DEM File"), a DEM with comparison
// data ("DEM and Comparison File"), or a new comparison file for the DEM in
// use ("Add/Change Comparison File..."). They check that the named files
// can be opened, hand them to the viewer to load, and only when the load
// succeeded record them as the files in use.
#ifndef OROLITH_DIALOGS_OPENFILE_H
#define OROLITH_DIALOGS_OPENFILE_H

#include <FL/Fl_Window.H>

#include <string>

class Fl_Check_Button;
class Fl_Counter;
class Fl_Input;
class Fl_Widget;

// Which files are in use: 0 nothing loaded yet, 1 a DEM alone, 2 a DEM
// with comparison data. Set when a load succeeds; the tool callbacks read
// it to decide which tools and menu entries may act.
extern int FILE_CONST;
// Kind of the comparison file in use: 0 none, DEM, SPARSEF or CONTF.
extern int fileType;
// Comparison file in use; null with a DEM alone. (The DEM's is `filename`,
// app/glviewerGUI.h.)
extern const char* filename2;

enum class OpenMode {
    dem = 1,              // "DEM File"
    demAndComparison = 2, // "DEM and Comparison File"
    change = 3,           // "Add/Change Comparison File..."
};

// One open dialog with its own fields: its buttons act on it alone, however
// many dialogs are open. Members the mode does not have stay null.
class OpenDialog : public Fl_Window {
public:
    OpenDialog(OpenMode mode, int w, int h);
    ~OpenDialog() override;

    const OpenMode mode;
    Fl_Input* finput = nullptr;  // DEM name
    Fl_Input* finput2 = nullptr; // comparison name, two-file dialog
    Fl_Input* ainput = nullptr;  // comparison name, change dialog
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

// Menu entries: build and show a dialog. The change dialog is offered only
// while a DEM is loaded.
void file(Fl_Widget*, void*);
void files(Fl_Widget*, void*);
void addChange(Fl_Widget*, void*);

// Buttons and boxes of the dialogs; each acts on the dialog it is in.
void openButton_callback(Fl_Widget*, void*); // "Open" of the DEM and two-file dialogs
void fileMod(Fl_Widget*, void*);             // "Open" of the change dialog
void cancelButton_callback(Fl_Widget*, void*);
void searchButton_callback(Fl_Widget*, void*);  // chooser for the DEM field
void searchButton2_callback(Fl_Widget*, void*); // ... the two-file dialog's comparison field
void searchButtonC_callback(Fl_Widget*, void*); // ... the change dialog's field
// The kind boxes: at most one ticked; "Contour Interval :" is usable after
// Sparse File was clicked and not after DEM File or Contour File.
void demFile(Fl_Widget*, void*);
void rawFile(Fl_Widget*, void*);
void contFile(Fl_Widget*, void*);

// The DEM file in use, empty before one is loaded; the sparse dialog saves
// its sample next to it.
const std::string& demInUse();
// Where the choosers open (see paths.h).
std::string chooserStartDirectory();

#endif
