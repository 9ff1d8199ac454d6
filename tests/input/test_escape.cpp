// Escape and closing as a user meets them, with real X input on this
// program's private X server. Escape typed in any window but the main one
// closes that window only: the main window, its data and the program stay
// (were Escape to reach the viewer, as it once did from a graph window,
// this test program would end here with status 1). And the running
// executable ends with status 0 when its main window is closed (the close
// box, or Escape while the viewer does not hold the keys), with status 1
// through the viewer's own quit keys, and never lives on without its main
// window.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "dialogs/coregwindow.h"
#include "dialogs/errorunits.h"
#include "dialogs/errorwindow.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/names.h"
#include "dialogs/openfile.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "tests/gui/dialog_fixtures.h"
#include "tests/input/x_input.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

class EscapeTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
        win().show();
        runLoop(1.0);
    }
};

TEST_F(EscapeTest, EscapeClosesTheWindowItIsTypedInAndNothingElse)
{
    Session& s = *session;
    MainWindow* main = &win();
    const struct {
        const char* title;
        std::function<void()> open;
    } windows[] = {
        {"Curve Error", [&] { showGraph(s, GraphKind::curvature); }},
        {"Diff. Error", [&] { showGraph(s, GraphKind::difference); }},
        {"Statistics", [&] { showStatistics(s); }},
        {"Co-registration", [&] { coregistration(s); }},
        {"Curvature Error", [&] { modCurve(s); }},
        {"Sparse File", [&] { showSparseDialog(s); }},
        {"Help", [&] { showHelp(main); }},
        {"About", [&] { showAbout(main); }},
        {"Help: Profile View", [&] { showSectionHelp(PanelSection::profileView, main); }},
        {"Open File", [&] { openDemDialog(s); }},
        {"File Error", [&] { errorMessage("Invalid DEM file.", main); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.title);
        // The viewer holds the keys, as after a click on it: the graphs
        // even hand it the keys themselves when they open.
        drive("xdotool mousemove" + at(*main, 300, 300) + " click 1");
        ASSERT_EQ(Fl::focus(), &viewer()) << "the click did not give the viewer the keys";
        w.open();
        runLoop(0.5);
        Fl_Window* shown = shownWindow(w.title);
        ASSERT_NE(shown, nullptr) << "the window did not open";
        const std::string middle =
            " " + std::to_string(shown->x() + shown->w() / 2) + " " + std::to_string(shown->y() + shown->h() / 2);
        // The viewer's quit key typed here first: it is not the viewer's.
        drive("xdotool mousemove" + middle + " key q");
        ASSERT_NE(shownWindow(w.title), nullptr) << "q closed the window";
        drive("xdotool key Escape");
        runLoop(0.3);
        EXPECT_EQ(shownWindow(w.title), nullptr) << "Escape typed in the window left it open";
        EXPECT_TRUE(main->shown() && viewer().shown()) << "Escape in another window closed the main window";
        EXPECT_TRUE(session->files().count == 2 && data().rows() == 200 && data().cols() == 240 && viewer().open())
            << "the data set in use was dropped";
    }
    const std::string path = std::string(OROLITH_SHOT_DIR) + "/escape_after_windows.ppm";
    drive("import -window root -depth 8 '" + path + "'");
}

// --- the executable ---------------------------------------------------------

std::string output(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 256> buf;
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

// The X window id of the first shown window whose title matches, waiting
// for it to appear (0 if it never does).
unsigned long waitForWindow(const std::string& title)
{
    for (int i = 0; i < 100; ++i) {
        const std::string id = output("xdotool search --onlyvisible --name '" + title + "' 2>/dev/null | head -n 1");
        if (!id.empty())
            return std::stoul(id);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}

bool windowShown(const std::string& title)
{
    return !output("xdotool search --onlyvisible --name '" + title + "' 2>/dev/null").empty();
}

// A running orolith on this program's X server, ended when the test ends.
class RunningOrolith {
public:
    RunningOrolith()
    {
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid = spawn({OROLITH_EXE}, &quiet);
        posix_spawn_file_actions_destroy(&quiet);
        main = waitForWindow("^Orolith: Landwarden");
    }
    ~RunningOrolith()
    {
        if (pid > 0 && !ended) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // The exit status once the program has ended; -1 if it is still
    // running after ten seconds.
    int exitStatus()
    {
        for (int i = 0; i < 200 && !ended; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        return ended ? code : -1;
    }
    // Still running now (no wait).
    bool running()
    {
        int status = 0;
        if (!ended && waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return !ended;
    }
    // xdotool with "$main" standing for the main window.
    void xdotool(const std::string& commands) { output("main=" + std::to_string(main) + "; " + commands); }

    pid_t pid = -1;
    unsigned long main = 0;

private:
    bool ended = false;
    int code = 0;
};

class ClosingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // This program's own main window would be found by its title:
        // none may be left shown.
        while (Fl_Window* shown = Fl::first_window())
            shown->hide();
        Fl::check();
    }
};

// Help > About from the menu bar; the About window's id.
unsigned long openAbout(RunningOrolith& orolith)
{
    orolith.xdotool("xdotool mousemove --window $main 424 12 click 1 sleep 0.3 mousemove --window $main 440 37 "
                    "sleep 0.2 mousemove --window $main 440 58 click 1");
    return waitForWindow("^About$");
}

TEST_F(ClosingTest, ClosingTheMainWindowEndsTheProgramWithStatusZero)
{
    RunningOrolith orolith;
    ASSERT_NE(orolith.main, 0u) << "no main window";
    // Another window open, which must not keep the program alive alone.
    ASSERT_NE(openAbout(orolith), 0u) << "Help > About opened no window";
    ASSERT_TRUE(askWindowToClose(orolith.main));
    EXPECT_EQ(orolith.exitStatus(), 0) << "the close box did not end the program as File > Exit does";
}

TEST_F(ClosingTest, EscapeWithTheKeysOutsideTheViewerEndsTheProgramWithStatusZero)
{
    RunningOrolith orolith;
    ASSERT_NE(orolith.main, 0u) << "no main window";
    // Help > About from the menu bar, then Escape typed in it.
    const unsigned long about = openAbout(orolith);
    ASSERT_NE(about, 0u) << "Help > About opened no window";
    orolith.xdotool("xdotool mousemove --window " + std::to_string(about) + " 100 40 sleep 0.2 key Escape sleep 0.5");
    EXPECT_FALSE(windowShown("^About$")) << "Escape typed in About left it open";
    EXPECT_TRUE(orolith.running()) << "Escape in About ended the program";
    EXPECT_TRUE(windowShown("^Orolith: Landwarden")) << "Escape in About hid the main window";
    // A click in the status row's "X-corner:" field takes the keys from the
    // viewer; Escape then closes the main window, and so the program.
    orolith.xdotool("xdotool mousemove --window $main 95 685 click 1 sleep 0.3 key Escape");
    EXPECT_EQ(orolith.exitStatus(), 0) << "Escape in the main window did not end the program with status 0";
}

TEST_F(ClosingTest, TheViewersQuitKeysEndTheProgramWithStatusOne)
{
    for (const char* key : {"q", "Escape"}) {
        SCOPED_TRACE(key);
        RunningOrolith orolith;
        ASSERT_NE(orolith.main, 0u) << "no main window";
        orolith.xdotool(std::string("xdotool mousemove --window $main 300 300 click 1 sleep 0.3 key ") + key);
        EXPECT_EQ(orolith.exitStatus(), 1) << "the viewer's quit key";
    }
}

} // namespace
} // namespace gui_test
