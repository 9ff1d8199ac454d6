// The "Sparse File" dialog: a sparse sample of the DEM in use (its peaks
// and random spot heights), written to a grid file that loads back as a
// sparse comparison file, and printed on standard output as before.
#ifndef OROLITH_DIALOGS_SPARSEFILE_H
#define OROLITH_DIALOGS_SPARSEFILE_H

#include <FL/Fl_Window.H>

class Fl_Box;
class Fl_Input;
class Fl_Widget;

class SparseDialog : public Fl_Window {
public:
    SparseDialog();
    ~SparseDialog() override;
    Fl_Input* count = nullptr;  // number of spot heights
    Fl_Input* output = nullptr; // grid file to write
    Fl_Box* result = nullptr;   // what the last "Make" wrote
};

// The count field of the dialog built last (null once closed), for the
// tests; each "Make" reads its own dialog.
extern Fl_Input* sparseIn;

void sparse(Fl_Widget*, void*);       // "Make Sparse file"
void fileSparse(Fl_Widget*, void*);   // "Make"
void searchSparse(Fl_Widget*, void*); // "Search..." for the file to write

#endif
