// The open-file dialogs: a DEM alone, a DEM with comparison data, or a new
// comparison file for the DEM in use.
#ifndef OROLITH_DIALOGS_OPENFILE_H
#define OROLITH_DIALOGS_OPENFILE_H

class Fl_Widget;

// Which files are in use: 0 before any open dialog, 1 a DEM alone, 2 a DEM
// with comparison data. The tool callbacks read it to decide which tools
// and menu entries may act.
extern int FILE_CONST;

void file(Fl_Widget*, void*);      // "DEM File"
void files(Fl_Widget*, void*);     // "DEM and Comparison File"
void addChange(Fl_Widget*, void*); // "Add/Change Comparison File..."

#endif
