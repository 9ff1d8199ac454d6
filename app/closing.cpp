#include "app/closing.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "app/callbacks.h"
#include "app/glviewerGUI.h"
#include "render/glviewer.h"

KeyRoute routeKey(const KeyPlace& p)
{
    if (p.menuOrModal)
        return KeyRoute::asUsual;
    if (p.escape) {
        if (!p.inMainWindow)
            return KeyRoute::closeWindow;
        // With the viewer holding the keys, Escape is the viewer's quit key.
        if (!p.focusOnViewer)
            return KeyRoute::closeMainWindow;
    }
    return p.focusInWindow ? KeyRoute::asUsual : KeyRoute::focusWindowFirst;
}

namespace {

int routeKeyEvent(int event, Fl_Window* typedIn)
{
    if (event != FL_KEYBOARD || !typedIn || !win)
        return Fl::handle_(event, typedIn);
    // A key typed over the viewer arrives in the viewer's own subwindow.
    Fl_Window* top = typedIn->top_window();
    KeyPlace place;
    place.escape = Fl::event_key() == FL_Escape;
    place.inMainWindow = top == win;
    place.focusInWindow = Fl::focus() && top->contains(Fl::focus());
    place.focusOnViewer = Fl::focus() == gl;
    place.menuOrModal = Fl::grab() || Fl::modal();
    switch (routeKey(place)) {
    case KeyRoute::asUsual:
        break;
    case KeyRoute::focusWindowFirst:
        // As the toolkit does when a window gets the focus from the
        // window system.
        if (!top->take_focus())
            Fl::focus(top);
        break;
    case KeyRoute::closeWindow:
        top->do_callback();
        return 1;
    case KeyRoute::closeMainWindow:
        win->do_callback();
        return 1;
    }
    return Fl::handle_(event, typedIn);
}

} // namespace

void applyClosingRules()
{
    // Closing the main window is leaving the program: it is never hidden
    // while other windows stay open without it.
    win->callback(quit);
    Fl::event_dispatch(routeKeyEvent);
}
