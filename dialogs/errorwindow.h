// The dialogs' one way of reporting a problem: a small window with the
// message and an "OK" button. Nothing here ends the program.
#ifndef OROLITH_DIALOGS_ERRORWINDOW_H
#define OROLITH_DIALOGS_ERRORWINDOW_H

#include "dialogs/names.h"
#include <string>

class Fl_Widget;
class Fl_Window;

namespace orolith::ui {

// The message window built last (each "OK" closes its own window).
extern Fl_Window* errorWin;

// A "File Error" window with the message of a code of openchecks.h (empty
// for other codes), centred over `over` when one is given.
void errorMessage(int code, Fl_Window* over = nullptr);
// The same with a message of its own, such as the reader's.
void errorMessage(const std::string& text, Fl_Window* over = nullptr);

// A message window with another title (graphs and the sparse dialog),
// sized to its message.
Fl_Window* messageWindow(const char* title, const std::string& text, Fl_Window* over = nullptr);

// "OK": closes the window the button is in.
void closeErr(Fl_Widget* w, void*);

} // namespace orolith::ui

#endif
