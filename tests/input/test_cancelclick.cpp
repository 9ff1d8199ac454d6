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
#include <FL/Fl_Progress.H>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/busy.h"
#include "app/callbacks.h"
#include "app/menupositions.h"
#include "dialogs/coregwindow.h"
#include "tests/gui/gui_fixtures.h"

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
        win->hide();
        Fl::check();
    }
};

TEST_F(RealCancel, AClickOnCancelStopsTheCoregistrationAndChangesNothing)
{
    const std::string demPath = writeGrid("rc_dem.grd", 60, 70, 10, [](int r, int c) { return hills(r, c); });
    const std::string compPath =
        writeGrid("rc_comp.grd", 60, 70, 10, [](int r, int c) { return hills(r - 0.5, c - 1.0); });
    FILE_CONST = 2;
    ASSERT_TRUE(load(demPath, compPath, DEM));
    fileType = DEM;
    activateTools();
    win->show();
    runLoop(1.0);
    const unsigned long long demVersion = mt.version(), compVersion = rd.version();

    // The middle of the Cancel button on the screen; it shows there only
    // while the co-registration runs.
    Fl_Button* cancel = busyCancelButton();
    const std::string at = " " + std::to_string(win->x() + cancel->x() + cancel->w() / 2) + " " +
                           std::to_string(win->y() + cancel->y() + cancel->h() / 2);
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
        clicker = spawnShell("sleep 0.3; import -window root -depth 8 '" + shot + "'; xdotool mousemove" + at +
                             " click 1");
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!cancelRequested() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    menubar->menu()[menupos::COREGISTER].do_callback(menubar);
    coregIterationHook = nullptr;
    ASSERT_GT(clicker.load(), 0) << "xdotool did not start";
    int status = 0;
    waitpid(clicker, &status, 0);
    runLoop(0.3);

    EXPECT_EQ(fits, (std::vector<int>{1, 2})) << "fits begun: the click did not stop the co-registration";
    EXPECT_EQ(coregWin, nullptr) << "a Co-registration window after Cancel";
    EXPECT_TRUE(mt.version() == demVersion && rd.version() == compVersion) << "the data set changed";
    EXPECT_FALSE(loadBar->visible() || cancel->visible()) << "the bar or Cancel stays in the status row";
    EXPECT_FALSE(busy()) << "still busy";
    EXPECT_TRUE(menubar->active_r() && gl->active_r() && lerr->active()) << "the tools stay inactive";
    const Image seen = Image::load(shot);
    ASSERT_EQ(seen.w, 1280) << "no screenshot of the co-registration";
    // The bar's blue fill at its left end, as the user saw it meanwhile.
    const Pixel fill = seen.at(win->x() + loadBar->x() + 8, win->y() + loadBar->y() + 10);
    EXPECT_TRUE(near(fill, 120, 160, 215, 12)) << "no progress in the status row: " << int(fill.r) << ","
                                               << int(fill.g) << "," << int(fill.b);
}

} // namespace
} // namespace gui_test
