#include "dialogs/sparsefile.h"

// Placeholder until the dialog is built; the menu entry is inactive until
// comparison data is loaded.
void sparse(Fl_Widget*, void*) {}
