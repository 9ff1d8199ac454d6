// What a long analysis running on a thread of its own tells the user and
// learns from them: its progress for the status row's bar, and whether
// Cancel was pressed. Both sides are safe to call from either thread.
#ifndef OROLITH_DIALOGS_BUSYWORK_H
#define OROLITH_DIALOGS_BUSYWORK_H

#include "dialogs/names.h"
#include <atomic>
#include <mutex>
#include <string>

namespace orolith::ui {

class BusyWork {
public:
    // What the bar says next, and how much of it is filled (0 to 1): shown
    // at the next repaint, unless Cancel was pressed.
    void report(const std::string& label, double fraction)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        label_ = label;
        fraction_ = fraction;
        fresh_ = true;
    }
    // The user pressed Cancel: the work should stop where it next looks.
    bool cancelled() const { return cancel_; }

    // The busy loop's side: the report not shown yet, if there is one; and
    // the Cancel button's press.
    bool takeReport(std::string& label, double& fraction)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!fresh_)
            return false;
        fresh_ = false;
        label = label_;
        fraction = fraction_;
        return true;
    }
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

} // namespace orolith::ui

#endif
