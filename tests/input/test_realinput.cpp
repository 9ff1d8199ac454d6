// The main window driven with real X input: xdotool, run as a child
// process while the event loop runs, drags, scrolls and types on a private
// X server of this test program, so that windows of tests running side by
// side cannot come between the pointer and the viewer. Screenshots are
// kept in the build tree for a person to look at.
#include <fcntl.h>
#include <unistd.h>

#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Menu_Item.H>

#include <filesystem>

#include "dialogs/names.h"
#include "tests/gui/gui_fixtures.h"
#include "tests/input/x_input.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

// Started once per program and ended when the program has ended (its
// watcher sees the pipe close), so no X connection of the program outlives
// the server.
class PrivateXServer : public ::testing::Environment {
public:
    void SetUp() override
    {
        int number[2], life[2];
        ASSERT_TRUE(pipe(number) == 0 && pipe(life) == 0);
        fcntl(life[1], F_SETFD, FD_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, life[0], 0);
        posix_spawn_file_actions_adddup2(&actions, number[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const char* watcher = "Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset & server=$!; "
                              "exec 3>&-; cat >/dev/null; kill $server; wait";
        const pid_t pid = spawn({"sh", "-c", watcher}, &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(number[1]);
        close(life[0]);
        ASSERT_GT(pid, 0) << "no shell to start Xvfb";
        std::string display;
        char c;
        while (read(number[0], &c, 1) == 1 && c != '\n')
            display += c;
        close(number[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", (":" + display).c_str(), 1);
    }
};
::testing::Environment* const xServer = ::testing::AddGlobalTestEnvironment(new PrivateXServer);

class RealInput : public MainWindowTest {
protected:
    // The sample DEM with a second DEM to compare, shown as after the open
    // dialog's "Open".
    void showSampleData()
    {
        ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
        win().show();
        runLoop(1.0);
    }
    std::string at(int x, int y) { return gui_test::at(win(), x, y); }
    // Pixels in the window rectangle (x, y, w, h) that differ between two shots.
    int changed(const Image& a, const Image& b, int x, int y, int w, int h)
    {
        const int wx = win().x(), wy = win().y();
        int n = 0;
        for (int j = y; j < y + h; j += 2)
            for (int i = x; i < x + w; i += 2) {
                const Pixel p = a.at(wx + i, wy + j), q = b.at(wx + i, wy + j);
                n += !near(p, q.r, q.g, q.b, 3);
            }
        return n;
    }
    Image shot(const std::string& name)
    {
        const std::string path = std::string(OROLITH_SHOT_DIR) + "/realinput_" + name + ".ppm";
        std::filesystem::remove(path); // never judge an old picture
        drive("import -window root -depth 8 '" + path + "'");
        return Image::load(path);
    }
};

TEST_F(RealInput, DragRotatesWheelZoomsAndKeysWorkBoxAndDialog)
{
    showSampleData();
    const Image before = shot("before");
    ASSERT_EQ(before.w, 1280) << "no screenshot";
    auto viewerChanged = [&](const Image& a, const Image& b) { return changed(a, b, 0, 25, 650, 625); };

    // A left drag down and to the right, in the upper half of the viewer.
    drive("xdotool mousemove" + at(300, 200) + " mousedown 1 mousemove" + at(320, 210) + " sleep 0.1 mousemove" +
          at(340, 230) + " sleep 0.1 mouseup 1");
    EXPECT_TRUE(view().xrotation > 0 && view().zrotation < 0)
        << "the drag did not tilt and turn the surface: x " << view().xrotation << ", z " << view().zrotation;
    EXPECT_FALSE(viewer().drag().lButtonState) << "the release was missed";
    const Image rotated = shot("rotated");
    EXPECT_GT(viewerChanged(before, rotated), 5000) << "the rotated surface looks as before";
    EXPECT_EQ(changed(before, rotated, 660, 30, 180, 600), 0) << "the drag changed the tool panel";

    const float eye = view().eyevalue;
    drive("xdotool click 5");
    EXPECT_EQ(view().eyevalue, eye + 5) << "scrolling down did not move the eye away";
    drive("xdotool click 4 click 4 click 4");
    EXPECT_EQ(view().eyevalue, eye - 10) << "scrolling up did not bring the eye closer";
    const Image zoomed = shot("zoomed");
    EXPECT_GT(viewerChanged(rotated, zoomed), 5000) << "the zoomed surface looks as before";

    drive("xdotool key n");
    EXPECT_TRUE(box(ViewSwitch::contours)->value() && view().drawContours &&
                win().switchEntry(ViewSwitch::contours)->value())
        << "key n: box " << int(box(ViewSwitch::contours)->value()) << ", flag " << view().drawContours;
    const Image contours = shot("contours");
    EXPECT_GT(viewerChanged(zoomed, contours), 5000) << "the reference data are not shown";
    EXPECT_GT(changed(zoomed, contours, 683, 258, 17, 17), 0) << "the \"Contours/Ref. Data\" box shows no tick";
    EXPECT_EQ(changed(zoomed, contours, 660, 30, 180, 220), 0) << "key n changed the upper tool panel";

    // The menu bar's shortcuts pass the viewer by: Alt+V opens "View",
    // whose fourth entry is "Side View".
    drive("xdotool key alt+v sleep 0.3 key Down Down Down Down Return");
    EXPECT_EQ(view().xrotation, -90.0f) << "Alt+V did not open the View menu while the viewer had the keys";

    // Key e opens a dialog under the pointer, where the keys then go.
    const std::string dialog = std::string(OROLITH_SHOT_DIR) + "/realinput_eyedialog.ppm";
    drive("xdotool key e sleep 0.5 && import -window root -depth 8 '" + dialog +
          "' && xdotool key ctrl+a type 150 && xdotool key Return");
    EXPECT_EQ(view().eyevalue, 150.0f) << "the eye distance typed into the dialog was not taken";
}

} // namespace
} // namespace gui_test
