#include "dialogs/helpabout.h"

#include <FL/Fl.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>

namespace {

void closeWindow(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

// Both windows: a fixed text in a read-only field that fills the window,
// so that none of it lies outside.
Fl_Multiline_Output* textWindow(const char* text)
{
    auto* w = new Fl_Window(200, 200, "About");
    auto* field = new Fl_Multiline_Output(0, 0, 200, 200);
    field->value(text);
    w->end();
    w->callback(closeWindow);
    w->show();
    return field;
}

} // namespace

void about(Fl_Widget*, void*)
{
    textWindow("\n\n\n     Oroscope: Gridsentry\n"
               "\t      Version 0.1\n")
        ->cursor_color(FL_WHITE);
}

void help(Fl_Widget*, void*) { textWindow("\n\n\n\t   not done yet \n"); }

void popup(Fl_Widget*, void*)
{
    // A top-level window: the main window's child list is closed, so the
    // new window is not a child of it.
    auto* w = new Fl_Window(100, 100, 200, 200, "Help");
    w->end();
    w->show();
}
