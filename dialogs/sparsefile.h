// The sparse-file dialog.
#ifndef OROLITH_DIALOGS_SPARSEFILE_H
#define OROLITH_DIALOGS_SPARSEFILE_H

class Fl_Widget;

void sparse(Fl_Widget*, void*); // "Make Sparse file"

#endif
