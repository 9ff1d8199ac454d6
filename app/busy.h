// While a data set loads or a long analysis runs, the program is busy:
// every window of it is inactive and shows a busy cursor, no click, key or
// close box reaches a callback, and the viewer keeps the picture of the
// data set in use (render/surfacecache.h, holdSurface). The windows are
// still repainted and can be moved. So nothing can start another load or
// analysis until the one running ends. A long analysis may offer a Cancel
// button in the status row, the one control that answers meanwhile.
#ifndef OROLITH_APP_BUSY_H
#define OROLITH_APP_BUSY_H

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

class Fl_Button;

// A load or analysis is running.
bool busy();

// Runs a load (MyWindow::Begin or changeFile) with the program busy and the
// status row's bar following the load's stages. Returns what `load`
// returned; false, without running it, while another one runs.
bool loadWhileBusy(const std::function<bool()>& load);

// Runs `work` on a thread of its own with the program busy, repainting the
// windows until it ends. `work` may read the model but not change it. False,
// without running it, while another load or analysis runs.
bool computeWhileBusy(const std::function<void()>& work);

// What a long analysis tells the user and learns from them while
// computeCancellableWhileBusy runs it on a thread of its own; both calls
// are safe from that thread.
class BusyWork {
public:
    // What the status row's bar says next, and how much of it is filled
    // (0 to 1): shown at the next repaint, unless Cancel was pressed.
    void report(const std::string& label, double fraction);
    // The user pressed Cancel: the work should stop where it next looks.
    bool cancelled() const { return cancel_; }

    // The busy loop's side: the report not shown yet, if there is one; and
    // the Cancel button's press.
    bool takeReport(std::string& label, double& fraction);
    void cancel() { cancel_ = true; }

private:
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    std::string label_;
    double fraction_ = 0;
    bool fresh_ = false; // reported and not shown yet
};

enum class WorkEnd {
    done,      // the work ran to its end
    cancelled, // Cancel was pressed while it ran: its result is not wanted
    refused,   // another load or analysis was running; the work did not run
};

// Runs `work` as computeWhileBusy does, with the status row's bar showing
// what it reports and a Cancel button at the bar's right end: the one
// control that answers while the program is busy. Cancel only asks; the
// work stops when it next looks, and the caller drops whatever it made.
// The bar says `firstLabel` until the work reports.
WorkEnd computeCancellableWhileBusy(const std::string& firstLabel, const std::function<void(BusyWork&)>& work);

// Built once with the status row, over the right end of the bar's place;
// hidden except while a cancellable analysis runs.
Fl_Button* makeCancelButton(int x, int y, int w, int h);
// That button, for the tests (null before the main window is built).
Fl_Button* busyCancelButton();
// Cancel was pressed for the analysis running now; safe from any thread.
bool cancelRequested();

#endif
