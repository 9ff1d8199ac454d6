#include "app/busy.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <future>
#include <list>

#include "app/busyinput.h"
#include "app/glviewerGUI.h"
#include "dialogs/statusrow.h"
#include "model/loading.h"
#include "render/glviewer.h"
#include "render/surfacecache.h"

namespace {

bool running = false;
Fl_Button* cancelButton = nullptr;
// The analysis the Cancel button stops, while one runs; read by the
// analysis's own thread through cancelRequested().
std::atomic<BusyWork*> cancellable{nullptr};

int dispatchWhileBusy(int event, Fl_Window* w)
{
    const bool overCancel = cancellable && cancelButton->visible() && cancelButton->active() &&
                            w == cancelButton->window() && Fl::event_inside(cancelButton);
    const bool cancelHeld = cancellable && Fl::pushed() == cancelButton;
    return reachesWhileBusy(event, overCancel, cancelHeld) ? Fl::handle_(event, w) : 1;
}

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

void showBar(const std::string& label, double fraction)
{
    loadBar->value(static_cast<float>(fraction));
    loadBar->copy_label(label.c_str());
    loadBar->show();
}

void showProgress(const std::string& stage, double fraction)
{
    showBar(progressLabel(stage, fraction), fraction);
    Fl::check();
}

// The bar ends where the Cancel button begins, also after the window was
// resized meanwhile (the toolkit then lays both out anew at full width).
// No gap: the file name under the bar would show through it.
void keepBarBesideCancel()
{
    const int w = cancelButton->x() - loadBar->x();
    if (loadBar->w() != w) {
        loadBar->size(w, loadBar->h());
        win->redraw();
    }
}

void cancelPressed(Fl_Widget* button, void*)
{
    BusyWork* work = cancellable;
    if (!work)
        return;
    work->cancel();
    button->deactivate(); // pressed once is enough
    loadBar->copy_label("Cancelling...");
}

// The Cancel button offered for `work` for as long as it lives; the bar
// gives it room at its right end and takes it back afterwards.
class CancelOffer {
public:
    explicit CancelOffer(BusyWork& work)
    {
        cancellable = &work;
        // Made inactive with the rest of the window, or by its last press.
        cancelButton->activate();
        cancelButton->show();
        keepBarBesideCancel();
    }
    ~CancelOffer()
    {
        cancellable = nullptr;
        cancelButton->hide();
        loadBar->size(cancelButton->x() + cancelButton->w() - loadBar->x(), loadBar->h());
        win->redraw();
    }
    CancelOffer(const CancelOffer&) = delete;
    CancelOffer& operator=(const CancelOffer&) = delete;
};

} // namespace

void BusyWork::report(const std::string& label, double fraction)
{
    std::lock_guard<std::mutex> lock(mutex_);
    label_ = label;
    fraction_ = fraction;
    fresh_ = true;
}

bool BusyWork::takeReport(std::string& label, double& fraction)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!fresh_)
        return false;
    fresh_ = false;
    label = label_;
    fraction = fraction_;
    return true;
}

bool busy() { return running; }

Fl_Button* makeCancelButton(int x, int y, int w, int h)
{
    cancelButton = new Fl_Button(x, y, w, h, "Cancel");
    cancelButton->labelsize(11);
    cancelButton->callback(cancelPressed);
    // A press must not take the keys from the viewer, which has them back
    // when the analysis ends.
    cancelButton->clear_visible_focus();
    cancelButton->hide();
    return cancelButton;
}

Fl_Button* busyCancelButton() { return cancelButton; }

bool cancelRequested()
{
    BusyWork* work = cancellable;
    return work && work->cancelled();
}

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

WorkEnd computeCancellableWhileBusy(const std::string& firstLabel, const std::function<void(BusyWork&)>& work)
{
    if (running)
        return WorkEnd::refused;
    BusyScope scope;
    BusyWork progress;
    showBar(firstLabel, 0);
    CancelOffer offer(progress);
    auto done = std::async(std::launch::async, [&] { work(progress); });
    do {
        std::string label;
        double fraction = 0;
        if (progress.takeReport(label, fraction) && !progress.cancelled())
            showBar(label, fraction);
        keepBarBesideCancel();
        Fl::check();
    } while (done.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready);
    done.get(); // what the work threw, thrown here
    return progress.cancelled() ? WorkEnd::cancelled : WorkEnd::done;
}
