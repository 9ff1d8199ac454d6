// The main window: menu bar, viewer, status row and tool panel, and the
// shell state the callbacks and the open dialogs share. Every widget pointer
// is set once by buildMainWindow and lives until the program ends.
#ifndef OROLITH_APP_GLVIEWERGUI_H
#define OROLITH_APP_GLVIEWERGUI_H

#include "app/mainwindow.h"

class Fl_Button;
class Fl_Check_Button;
class Fl_Group;
class Fl_Counter;
class Fl_Menu_Bar;
class Fl_Menu_Item;
class Fl_Output;
class Fl_Progress;
class Fl_Round_Button;
class Fl_Value_Output;
class MyWindow;

extern MainWindow* win;
extern Fl_Menu_Bar* menubar;
extern MyWindow* gl;

// Status row (dialogs/statusrow.h says what it shows and where).
extern Fl_Output* file1Label;
extern Fl_Output* file2Label;
extern Fl_Output* xcornerLabel;
extern Fl_Output* ycornerLabel;
extern Fl_Output* cellsizeLabel;
extern Fl_Counter* vdisplay;
extern Fl_Button* statsButton;
// Over the file names while a load runs (app/busy.h), its label the load's
// stage; hidden otherwise.
extern Fl_Progress* loadBar;

// The tool panel: every section below, in one group that keeps its size
// and moves with the window's right edge.
extern Fl_Group* toolPanel;

// Curvature error section.
extern Fl_Counter* unitSliderGUI;
extern Fl_Value_Output* cerrLabel;
extern Fl_Value_Output* cerr2Label;
extern Fl_Value_Output* cerr3Label;
extern Fl_Button* curveYLabel;
extern Fl_Button* curveOLabel;
extern Fl_Button* curveRLabel;
extern Fl_Button* graphCButton;
extern Fl_Check_Button* Cerr;

// Local difference error section.
extern Fl_Counter* unitSliderldGUI;
extern Fl_Value_Output* lderrLabel;
extern Fl_Value_Output* lderr2Label;
extern Fl_Value_Output* lderr3Label;
extern Fl_Value_Output* lderr4Label;
extern Fl_Button* graphDButton;
extern Fl_Check_Button* lerr;
extern Fl_Check_Button* curverr;
extern Fl_Check_Button* sloperr;

// Display section.
extern Fl_Check_Button* axes;
extern Fl_Check_Button* sun;
extern Fl_Check_Button* mag;
extern Fl_Check_Button* cont;
extern Fl_Check_Button* light;
extern Fl_Check_Button* colors;
extern Fl_Check_Button* slope;

// Profile section.
extern Fl_Check_Button* prof;
extern Fl_Check_Button* glyph;
extern Fl_Round_Button* profVert;
extern Fl_Round_Button* profHoriz;
extern Fl_Counter* pdisplay;

// Height classes section.
extern Fl_Button* graphButton;
extern Fl_Check_Button* col;

// Shell state.
extern bool toolsShown;
extern bool NOT_MENU;   // false while a menu callback forwards to a panel callback
extern int initFiles;   // 2 while a command-line DEM path waits for the next open
extern const char* filename; // DEM path for the next open

// The constant menu template (menupos::MENU_SIZE items); the menu bar uses a
// copy made by buildMainWindow.
extern const Fl_Menu_Item menuTemplate[];

// Builds the main window and every widget, attaches the menu, leaves the
// data-dependent tools inactive, connects the viewer's keys to the panel,
// initialises GLUT (once per process) with the command line, lays the
// window out (MainWindow) with its minimum size, and gives it its closing
// and key rules (app/closing.h). Nothing is shown. Building again replaces
// the previous window.
MainWindow* buildMainWindow(int& argc, char** argv);

// Puts the status row's labels, fields, counter, button and load bar where
// statusRowLayout has them in a row at `row` (MainWindow::layOut).
void placeStatusRow(const Rect& row);

// Keeps the first argument after the program name, of any length, as the
// DEM path for the next open and sets initFiles to 2; further arguments
// are ignored, and with none nothing changes.
void rememberCommandLinePath(int argc, char** argv);

// The whole viewer: build, show, keep the command-line path, run the event
// loop; returns the loop's result.
int runViewer(int argc, char** argv);

#endif
