#include "app/closing.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdlib>

#include "app/mainwindow.h"
#include "dialogs/names.h"
#include "render/viewer.h"

namespace orolith::ui {

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

// The program's main window: the one top-level window of its kind.
MainWindow* mainWindowShown()
{
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (auto* main = dynamic_cast<MainWindow*>(w))
            return main;
    return nullptr;
}

int routeKeyEvent(int event, Fl_Window* typedIn)
{
    MainWindow* main = event == FL_KEYBOARD && typedIn ? mainWindowShown() : nullptr;
    if (!main)
        return Fl::handle_(event, typedIn);
    // A key typed over the viewer arrives in the viewer's own subwindow.
    Fl_Window* top = typedIn->top_window();
    KeyPlace place;
    place.escape = Fl::event_key() == FL_Escape;
    place.inMainWindow = top == main;
    place.focusInWindow = Fl::focus() && top->contains(Fl::focus());
    place.focusOnViewer = Fl::focus() == &main->viewer();
    place.menuOrModal = Fl::grab() || Fl::modal();
    switch (routeKey(place)) {
    case KeyRoute::asUsual: break;
    case KeyRoute::focusWindowFirst:
        // As the toolkit does when a window gets the focus from the
        // window system.
        if (!top->take_focus())
            Fl::focus(top);
        break;
    case KeyRoute::closeWindow: top->do_callback(); return 1;
    case KeyRoute::closeMainWindow: main->do_callback(); return 1;
    }
    return Fl::handle_(event, typedIn);
}

void endProgram(Fl_Widget*, void*) { std::exit(0); }

} // namespace

void applyClosingRules(MainWindow& main)
{
    // Closing the main window is leaving the program: it is never hidden
    // while other windows stay open without it.
    main.callback(endProgram);
    Fl::event_dispatch(routeKeyEvent);
}

} // namespace orolith::ui
