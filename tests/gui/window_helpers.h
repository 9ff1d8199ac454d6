// Helpers of the tests of real windows that need nothing of the
// application around the dialogs: letting the toolkit settle, finding
// windows and widgets, clicks as the toolkit delivers them, the message
// shown last.
#ifndef OROLITH_TESTS_GUI_WINDOW_HELPERS_H
#define OROLITH_TESTS_GUI_WINDOW_HELPERS_H

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Window.H>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/errorwindow.h"
#include "dialogs/names.h"
#include "render/viewer.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {

// Lets the toolkit show, draw and delete what the callbacks asked for.
inline void settle()
{
    for (int k = 0; k < 5; ++k) {
        Fl::check();
        Fl::flush();
    }
}

// The main window: the one window that holds the viewer.
inline bool isMainWindow(Fl_Window* w)
{
    for (int i = 0; i < w->children(); ++i)
        if (dynamic_cast<Viewer*>(w->child(i)))
            return true;
    return false;
}

// The top-level windows shown now, other than the main window.
inline std::vector<Fl_Window*> dialogWindows()
{
    std::vector<Fl_Window*> out;
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (!w->parent() && !isMainWindow(w))
            out.push_back(w);
    return out;
}

inline Fl_Window* shownWindow(const char* title)
{
    for (Fl_Window* w : dialogWindows())
        if (w->label() && std::strcmp(w->label(), title) == 0)
            return w;
    return nullptr;
}

// The widget of class T with this label, or the n-th of class T.
template <class T>
T* childOf(Fl_Group* g, const char* label = nullptr, int n = 0)
{
    for (int i = 0; i < g->children(); ++i) {
        auto* c = dynamic_cast<T*>(g->child(i));
        if (!c)
            continue;
        if (label ? c->label() && std::strcmp(c->label(), label) == 0 : n-- == 0)
            return c;
    }
    return nullptr;
}

// A click as the toolkit delivers it: the value a click gives, then the
// widget's callback.
inline void click(Fl_Widget* w) { w->do_callback(); }
inline void tick(Fl_Button* box, bool on)
{
    box->value(on);
    box->do_callback();
}
inline void setCounter(Fl_Counter* c, double v)
{
    c->value(v);
    c->do_callback();
}

// The message of the message window built last ("" when there is none).
inline std::string shownError()
{
    if (!errorWin || !errorWin->shown())
        return "";
    auto* box = childOf<Fl_Box>(errorWin);
    return box && box->label() ? box->label() : "";
}

// Closes and deletes every window but the main window.
inline void closeDialogWindows()
{
    for (Fl_Window* w : dialogWindows()) {
        w->hide();
        Fl::delete_widget(w);
    }
    settle();
}

} // namespace gui_test

#endif
