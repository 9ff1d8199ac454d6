// The "Sparse File" dialog: a sparse sample of the DEM in use (its peaks
// and random spot heights), written to a grid file that loads back as a
// sparse comparison file, its heights also printed on standard output.
#ifndef OROLITH_DIALOGS_SPARSEFILE_H
#define OROLITH_DIALOGS_SPARSEFILE_H

#include <FL/Fl_Window.H>

#include <random>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Box;
class Fl_Input;
class Fl_Widget;

namespace orolith::ui {

class SparseDialog : public Fl_Window {
public:
    explicit SparseDialog(SessionPort& port);
    ~SparseDialog() override;
    Fl_Input* count = nullptr;  // number of spot heights
    Fl_Input* output = nullptr; // grid file to write
    Fl_Box* result = nullptr;   // what the last "Make" wrote
    SessionPort& port;
    std::mt19937 random; // the spot heights' draws, seeded when the dialog opens
};

// The count field of the dialog built last (null once closed), for the
// tests; each "Make" reads its own dialog.
extern Fl_Input* sparseIn;

// "Make Sparse file": a new dialog for the DEM in use.
void showSparseDialog(SessionPort& port);
void fileSparse(Fl_Widget*, void*);   // "Make"
void searchSparse(Fl_Widget*, void*); // "Search..." for the file to write

} // namespace orolith::ui

#endif
