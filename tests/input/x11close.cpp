// What a window manager sends when the user clicks a window's close box,
// for the tests that close the main window of a running orolith. In a file
// of its own: X11's macros clash with GoogleTest's names.
#include "dialogs/names.h"
#include <FL/Fl.H>
#include <FL/x.H>

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {

bool askWindowToClose(unsigned long window)
{
    fl_open_display();
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(fl_display, window, False, NoEventMask, &e);
    XFlush(fl_display);
    return sent != 0;
}

} // namespace gui_test
