#include "dialogs/helpabout.h"

#include <FL/Fl_Window.H>

// Placeholders until the help and about windows are written.
void help(Fl_Widget*, void*) {}
void about(Fl_Widget*, void*) {}

void popup(Fl_Widget*, void*)
{
    // A top-level window: the main window's child list is closed, so the
    // new window is not a child of it.
    auto* w = new Fl_Window(100, 100, 200, 200, "Help");
    w->end();
    w->show();
}
