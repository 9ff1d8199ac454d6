#include "app/busy.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <future>
#include <list>

#include "app/busyinput.h"
#include "app/mainwindow.h"
#include "dialogs/names.h"
#include "dialogs/statusrow.h"
#include "render/viewer.h"

namespace orolith::ui {

namespace {

// The busy time running now: the toolkit's event filter has no room for
// data of its own.
Busy* active = nullptr;

} // namespace

int Busy::dispatch(int event, Fl_Window* w)
{
    Fl_Button* cancel = active ? active->window_->cancelButton() : nullptr;
    const bool offered = active && active->cancellable_;
    const bool overCancel =
        offered && cancel->visible() && cancel->active() && w == cancel->window() && Fl::event_inside(cancel);
    const bool cancelHeld = offered && Fl::pushed() == cancel;
    return reachesWhileBusy(event, overCancel, cancelHeld) ? Fl::handle_(event, w) : 1;
}

// The program busy for as long as it lives; everything it changed is put
// back when it goes, also when the work throws (out of memory, say).
// Widgets are followed by trackers: one deleted meanwhile is skipped.
class Busy::Scope {
public:
    explicit Scope(Busy& busy) : busy_(busy)
    {
        busy_.running_ = true;
        active = &busy_;
        MainWindow* main = busy_.window_;
        for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
            if (w->parent())
                continue; // the viewer: inactive with the rest of the main window
            shown_.emplace_back(w);
            w->cursor(FL_CURSOR_WAIT);
            if (w != main) {
                deactivate(w);
                continue;
            }
            // The main window's children one by one, so that its bar is
            // drawn as active.
            for (int i = 0; i < main->children(); ++i)
                if (main->child(i) != main->loadBar())
                    deactivate(main->child(i));
        }
        main->viewer().hold(true);
        previousDispatch_ = Fl::event_dispatch();
        Fl::event_dispatch(Busy::dispatch);
    }

    ~Scope()
    {
        MainWindow* main = busy_.window_;
        Fl::event_dispatch(previousDispatch_);
        main->viewer().hold(false);
        main->loadBar()->hide();
        for (Fl_Widget_Tracker& t : deactivated_)
            if (t.exists())
                t.widget()->activate();
        for (Fl_Widget_Tracker& t : shown_)
            if (t.exists())
                static_cast<Fl_Window*>(t.widget())->cursor(FL_CURSOR_DEFAULT);
        main->viewer().redraw();
        active = nullptr;
        busy_.running_ = false;
    }

    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    void deactivate(Fl_Widget* w)
    {
        if (!w->active())
            return; // stays inactive afterwards too
        w->deactivate();
        deactivated_.emplace_back(w);
    }

    Busy& busy_;
    std::list<Fl_Widget_Tracker> shown_, deactivated_;
    Fl_Event_Dispatch previousDispatch_ = nullptr;
};

// The Cancel button offered for `work` for as long as it lives; the bar
// gives it room at its right end and takes it back afterwards.
class Busy::CancelOffer {
public:
    CancelOffer(Busy& busy, BusyWork& work) : busy_(busy)
    {
        Fl_Button* cancel = busy_.window_->cancelButton();
        busy_.cancellable_ = &work;
        // Made inactive with the rest of the window, or by its last press.
        cancel->activate();
        cancel->show();
        busy_.keepBarBesideCancel();
    }
    ~CancelOffer()
    {
        MainWindow* main = busy_.window_;
        Fl_Button* cancel = main->cancelButton();
        busy_.cancellable_ = nullptr;
        cancel->hide();
        main->loadBar()->size(cancel->x() + cancel->w() - main->loadBar()->x(), main->loadBar()->h());
        main->redraw();
    }
    CancelOffer(const CancelOffer&) = delete;
    CancelOffer& operator=(const CancelOffer&) = delete;

private:
    Busy& busy_;
};

void Busy::showBar(const std::string& label, double fraction)
{
    Fl_Progress* bar = window_->loadBar();
    bar->value(static_cast<float>(fraction));
    bar->copy_label(label.c_str());
    bar->show();
}

// The bar ends where the Cancel button begins, also after the window was
// resized meanwhile (the layout then places both anew at full width). No
// gap: the file name under the bar would show through it.
void Busy::keepBarBesideCancel()
{
    Fl_Progress* bar = window_->loadBar();
    const int w = window_->cancelButton()->x() - bar->x();
    if (bar->w() != w) {
        bar->size(w, bar->h());
        window_->redraw();
    }
}

void Busy::cancel()
{
    BusyWork* work = cancellable_;
    if (!work)
        return;
    work->cancel();
    window_->cancelButton()->deactivate(); // pressed once is enough
    window_->loadBar()->copy_label("Cancelling...");
}

bool Busy::cancelRequested() const
{
    BusyWork* work = cancellable_;
    return work && work->cancelled();
}

bool Busy::load(const std::function<void(const std::function<void(const std::string&, double)>&)>& load)
{
    if (running_)
        return false;
    Scope scope(*this);
    load([this](const std::string& stage, double fraction) {
        showBar(progressLabel(stage, fraction), fraction);
        Fl::check();
    });
    return true;
}

bool Busy::compute(const std::function<void()>& work)
{
    if (running_)
        return false;
    Scope scope(*this);
    auto done = std::async(std::launch::async, work);
    do
        Fl::check();
    while (done.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready);
    done.get(); // what the work threw, thrown here
    return true;
}

WorkEnd Busy::computeCancellable(const std::string& firstLabel, const std::function<void(BusyWork&)>& work)
{
    if (running_)
        return WorkEnd::refused;
    Scope scope(*this);
    BusyWork progress;
    showBar(firstLabel, 0);
    CancelOffer offer(*this, progress);
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

} // namespace orolith::ui
