// Cancel of a co-registration pressed with the real pointer: xdotool
// clicks the status row's Cancel button while a fit waits, on this test
// program's own X server (test_realinput.cpp starts it), so the click
// comes through the X server and the busy program's filter as a user's.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Progress.H>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <thread>

#include "dialogs/coregwindow.h"
#include "dialogs/names.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

extern char** environ;

namespace gui_test {
namespace {

pid_t spawnShell(const std::string& command)
{
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    return posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0 ? pid : -1;
}

void runLoop(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
        Fl::wait(0.02);
}

float hills(double r, double c) { return static_cast<float>(1000 + 150 * std::sin(c / 5) * std::cos(r / 6) + 2 * r); }

class RealCancel : public MainWindowTest {
protected:
    void TearDown() override
    {
        coregIterationHook = nullptr;
        win().hide();
        Fl::check();
        MainWindowTest::TearDown();
    }
};

// Tells the fit's thread when the Cancel button's own callback has run,
// the click having come all the way through.
class CancelWatch {
public:
    explicit CancelWatch(Fl_Button* button) : button_(button), real_(button->callback()), data_(button->user_data())
    {
        button_->callback(
            [](Fl_Widget* w, void* self) {
                auto* watch = static_cast<CancelWatch*>(self);
                watch->real_(w, watch->data_);
                watch->pressed = true;
            },
            this);
    }
    ~CancelWatch() { button_->callback(real_, data_); }
    CancelWatch(const CancelWatch&) = delete;
    CancelWatch& operator=(const CancelWatch&) = delete;

    std::atomic<bool> pressed{false};

private:
    Fl_Button* button_;
    Fl_Callback* real_;
    void* data_;
};

TEST_F(RealCancel, AClickOnCancelStopsTheCoregistrationAndChangesNothing)
{
    const std::string demPath = writeGrid("rc_dem.grd", 60, 70, 10, [](int r, int c) { return hills(r, c); });
    const std::string compPath =
        writeGrid("rc_comp.grd", 60, 70, 10, [](int r, int c) { return hills(r - 0.5, c - 1.0); });
    ASSERT_TRUE(load(demPath, compPath, DEM));
    MainWindow& w = win();
    w.show();
    runLoop(1.0);
    const unsigned long long version = data().version(), compVersion = data().comparisonVersion();

    // The middle of the Cancel button on the screen; it shows there only
    // while the co-registration runs.
    Fl_Button* cancel = w.cancelButton();
    CancelWatch watch(cancel);
    const std::string at = " " + std::to_string(w.x() + cancel->x() + cancel->w() / 2) + " " +
                           std::to_string(w.y() + cancel->y() + cancel->h() / 2);
    const std::string shot = std::string(OROLITH_SHOT_DIR) + "/realinput_coregistration_progress.ppm";
    std::filesystem::remove(shot);

    std::mutex mutex;
    std::vector<int> fits;
    std::atomic<pid_t> clicker{-1};
    coregIterationHook = [&](int iteration) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            fits.push_back(iteration);
        }
        if (iteration != 2)
            return;
        // The picture a user sees, then the click; this fit waits for it.
        clicker =
            spawnShell("sleep 0.3; import -window root -depth 8 '" + shot + "'; xdotool mousemove" + at + " click 1");
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!watch.pressed && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    w.menuBar()->picked(w.menuEntry("&Analysis/Co-register..."));
    coregIterationHook = nullptr;
    ASSERT_GT(clicker.load(), 0) << "xdotool did not start";
    int status = 0;
    waitpid(clicker, &status, 0);
    runLoop(0.3);

    EXPECT_EQ(fits, (std::vector<int>{1, 2})) << "fits begun: the click did not stop the co-registration";
    EXPECT_EQ(coregWin, nullptr) << "a Co-registration window after Cancel";
    EXPECT_TRUE(data().version() == version && data().comparisonVersion() == compVersion) << "the data set changed";
    EXPECT_FALSE(w.loadBar()->visible() || cancel->visible()) << "the bar or Cancel stays in the status row";
    EXPECT_FALSE(session->busy()) << "still busy";
    EXPECT_TRUE(w.menuBar()->active_r() && viewer().active_r() && box(ViewSwitch::elevationError)->active())
        << "the tools stay inactive";
    const Image seen = Image::load(shot);
    ASSERT_EQ(seen.w, 1280) << "no screenshot of the co-registration";
    // The bar's blue fill at its left end, as the user saw it meanwhile.
    const Pixel fill = seen.at(w.x() + w.loadBar()->x() + 8, w.y() + w.loadBar()->y() + 10);
    EXPECT_TRUE(near(fill, 120, 160, 215, 12))
        << "no progress in the status row: " << int(fill.r) << "," << int(fill.g) << "," << int(fill.b);
}

} // namespace
} // namespace gui_test
