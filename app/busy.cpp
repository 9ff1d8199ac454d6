#include "app/busy.h"

#include <FL/Fl.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <future>
#include <list>

#include "app/glviewerGUI.h"
#include "dialogs/statusrow.h"
#include "model/loading.h"
#include "render/glviewer.h"
#include "render/surfacecache.h"

namespace {

bool running = false;

// What the user does to reach a callback. The close box counts: it reaches
// a window's callback even while the window is inactive, and a dialog
// closed during its own load would be deleted under its Open callback.
bool userInput(int event)
{
    switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOUSEWHEEL:
    case FL_KEYDOWN:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_CLOSE:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
        return true;
    default:
        return false;
    }
}

int dispatchWhileBusy(int event, Fl_Window* w) { return userInput(event) ? 1 : Fl::handle_(event, w); }

// The program busy for as long as it lives; everything it changed is put
// back when it goes, also when the work throws (out of memory, say).
// Widgets are followed by trackers: one deleted meanwhile is skipped.
class BusyScope {
public:
    BusyScope()
    {
        running = true;
        for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
            if (w->parent())
                continue; // the viewer: inactive with the rest of the main window
            shown.emplace_back(w);
            w->cursor(FL_CURSOR_WAIT);
            if (w != win) {
                deactivate(w);
                continue;
            }
            // The main window's children one by one, so that its bar is
            // drawn as active.
            for (int i = 0; i < win->children(); ++i)
                if (win->child(i) != loadBar)
                    deactivate(win->child(i));
        }
        holdSurface = true;
        previousDispatch = Fl::event_dispatch();
        Fl::event_dispatch(dispatchWhileBusy);
    }

    ~BusyScope()
    {
        Fl::event_dispatch(previousDispatch);
        holdSurface = false;
        loadBar->hide();
        for (Fl_Widget_Tracker& t : deactivated)
            if (t.exists())
                t.widget()->activate();
        for (Fl_Widget_Tracker& t : shown)
            if (t.exists())
                static_cast<Fl_Window*>(t.widget())->cursor(FL_CURSOR_DEFAULT);
        gl->redraw();
        running = false;
    }

    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    void deactivate(Fl_Widget* w)
    {
        if (!w->active())
            return; // stays inactive afterwards too
        w->deactivate();
        deactivated.emplace_back(w);
    }

    std::list<Fl_Widget_Tracker> shown, deactivated;
    Fl_Event_Dispatch previousDispatch = nullptr;
};

void showProgress(const std::string& stage, double fraction)
{
    loadBar->value(static_cast<float>(fraction));
    loadBar->copy_label(progressLabel(stage, fraction).c_str());
    loadBar->show();
    Fl::check();
}

} // namespace

bool busy() { return running; }

bool loadWhileBusy(const std::function<bool()>& load)
{
    if (running)
        return false;
    BusyScope scope;
    setLoadProgress(showProgress);
    struct Unhook {
        ~Unhook() { setLoadProgress(nullptr); }
    } unhook;
    return load();
}

bool computeWhileBusy(const std::function<void()>& work)
{
    if (running)
        return false;
    BusyScope scope;
    auto done = std::async(std::launch::async, work);
    do
        Fl::check();
    while (done.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready);
    done.get(); // what the work threw, thrown here
    return true;
}
