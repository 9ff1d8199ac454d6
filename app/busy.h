// While a data set loads or a long analysis runs, the program is busy:
// every window of it is inactive and shows a busy cursor, no click, key or
// close box reaches a callback, and the viewer keeps the picture of the
// data set in use. The windows are still repainted and can be moved. So
// nothing can start another load or analysis until the one running ends.
// A long analysis may offer a Cancel button in the status row, the one
// control that answers meanwhile.
#ifndef OROLITH_APP_BUSY_H
#define OROLITH_APP_BUSY_H

#include <atomic>
#include <functional>
#include <string>

#include "dialogs/busywork.h"
#include "dialogs/names.h"

class Fl_Window;

namespace orolith::ui {

class MainWindow;

class Busy {
public:
    // The main window's bar, Cancel button and viewer are used; set it
    // before anything runs.
    void attach(MainWindow* window) { window_ = window; }

    // A load or analysis is running.
    bool running() const { return running_; }

    // Runs `load` on this thread with the program busy; `progress` is what
    // the load calls between its steps, which shows the stage on the bar
    // and lets the windows repaint. False, without running it, while
    // another one runs.
    bool load(const std::function<void(const std::function<void(const std::string&, double)>& progress)>& load);

    // Runs `work` on a thread of its own with the program busy, repainting
    // the windows until it ends. False, without running it, while another
    // load or analysis runs.
    bool compute(const std::function<void()>& work);

    // As compute, with the bar showing what `work` reports and a Cancel
    // button at the bar's right end. Cancel only asks; the work stops when
    // it next looks, and the caller drops whatever it made. The bar says
    // `firstLabel` until the work reports.
    WorkEnd computeCancellable(const std::string& firstLabel, const std::function<void(BusyWork&)>& work);

    // The Cancel button's press.
    void cancel();
    // Cancel was pressed for the analysis running now; safe from any thread.
    bool cancelRequested() const;

private:
    class Scope;
    class CancelOffer;
    // The toolkit's event filter while busy.
    static int dispatch(int event, Fl_Window* w);
    void showBar(const std::string& label, double fraction);
    void keepBarBesideCancel();

    MainWindow* window_ = nullptr;
    bool running_ = false;
    // The analysis the Cancel button stops, while one runs.
    std::atomic<BusyWork*> cancellable_{nullptr};
};

} // namespace orolith::ui

#endif
