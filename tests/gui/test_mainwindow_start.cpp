// Starting the viewer: the DEM path from the command line is kept for the
// first open, and the real program shows its window on an X display.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mainwindow_fixtures.h"

extern char** environ;

namespace {

// --- the command-line path ---------------------------------------------------

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        initFiles = 0;
        filename = nullptr;
    }
};

TEST_F(CommandLine, NoArgumentKeepsNoPath)
{
    char program[] = "orolith";
    char* argv[] = {program, nullptr};
    rememberCommandLinePath(1, argv);
    EXPECT_EQ(initFiles, 0) << "an open dialog would look for a path that was never given";
    EXPECT_EQ(filename, nullptr) << "a DEM path appeared from nowhere";
}

TEST_F(CommandLine, FirstArgumentIsKeptAsACopy)
{
    char program[] = "orolith";
    char dem[] = "/data/alps_dem.grd";
    char extra[] = "/data/ignored.grd";
    char* argv[] = {program, dem, extra, nullptr};
    rememberCommandLinePath(3, argv);
    EXPECT_EQ(initFiles, 2) << "the path given is not marked as waiting for the first open";
    ASSERT_NE(filename, nullptr);
    EXPECT_STREQ(filename, "/data/alps_dem.grd") << "the first open would read another file";
    dem[1] = 'X'; // the argument's storage is not the program's to keep
    EXPECT_STREQ(filename, "/data/alps_dem.grd") << "the kept path follows the argument's storage";
}

TEST_F(CommandLine, PathOfAnyLengthIsHeldWhole)
{
    std::string longPath = "/";
    while (longPath.size() < 10000)
        longPath += "very_deep_directory/";
    longPath += "alps_dem.grd";
    std::vector<char> arg(longPath.begin(), longPath.end());
    arg.push_back('\0');
    char program[] = "orolith";
    char* argv[] = {program, arg.data(), nullptr};
    rememberCommandLinePath(2, argv);
    EXPECT_EQ(initFiles, 2);
    ASSERT_NE(filename, nullptr);
    EXPECT_EQ(std::string(filename), longPath) << "a long DEM path was cut or garbled";
}

// --- the real program ----------------------------------------------------------

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return out;
    std::array<char, 256> buf;
    while (fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

// Colour of one screen pixel of a screenshot, as "r,g,b".
std::string pixelAt(const std::string& png, int x, int y)
{
    std::string rgb = run("convert '" + png + "' -crop 1x1+" + std::to_string(x) + '+' +
                          std::to_string(y) + " -format '%[fx:int(255*r)],%[fx:int(255*g)],"
                          "%[fx:int(255*b)]' info:");
    return rgb;
}

// Where a person can look at a picture: beside the test program.
std::string besideTestProgram(const std::string& name)
{
    std::array<char, 4096> exe{};
    ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size() - 1);
    std::string dir = n > 0 ? std::string(exe.data(), n) : std::string("./x");
    return dir.substr(0, dir.rfind('/') + 1) + name;
}

// True when "r,g,b" is within a couple of units of the colour: software GL
// and the greying of inactive widgets shift a channel by a unit or so.
bool near(const std::string& rgb, int r, int g, int b)
{
    int pr = -1, pg = -1, pb = -1;
    if (std::sscanf(rgb.c_str(), "%d,%d,%d", &pr, &pg, &pb) != 3)
        return false;
    return std::abs(pr - r) <= 2 && std::abs(pg - g) <= 2 && std::abs(pb - b) <= 2;
}

// The viewer with nothing loaded: 0.7 grey.
bool isViewerGrey(const std::string& rgb) { return near(rgb, 178, 178, 178); }
bool isWindowGrey(const std::string& rgb) { return near(rgb, 192, 192, 192); }

// An X server of the test's own, so that windows of tests running side
// by side cannot cover the window being looked at.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24",
                                         "-nolisten", "tcp", "-noreset"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        std::string number;
        char c;
        while (pid_ && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            name_ = ":" + number;
    }
    ~PrivateDisplay()
    {
        if (pid_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = 0;
    std::string name_;
};

// The orolith executable running on a private X display. Coordinates are
// pixels in the main window: the toolkit keeps room for a title bar above
// it, so they go through the window's position on the screen.
class RunningProgram {
public:
    explicit RunningProgram(std::vector<std::string> args)
    {
        if (display_.name().empty())
            return;
        args.insert(args.begin(), OROLITH_EXE);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = {"DISPLAY=" + display_.name(), "LIBGL_ALWAYS_SOFTWARE=1"};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0)
                env.push_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, OROLITH_EXE, nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = 0;
        for (int i = 0; pid_ && i < 100 && windowId_.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            windowId_ = onDisplay("xdotool search --name 'Orolith: Landwarden \\(v1.2\\)' 2>/dev/null | head -1");
        }
        std::this_thread::sleep_for(std::chrono::seconds(2)); // let the first frames draw
        if (!windowId_.empty()) {
            geometry_ = onDisplay("xdotool getwindowgeometry " + windowId_);
            const std::size_t at = geometry_.find("Position: ");
            if (at != std::string::npos)
                std::sscanf(geometry_.c_str() + at, "Position: %d,%d", &left_, &top_);
        }
    }
    ~RunningProgram()
    {
        if (running()) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    bool hasDisplay() const { return !display_.name().empty(); }
    bool running() const
    {
        int status = 0;
        return pid_ != 0 && waitpid(pid_, &status, WNOHANG) == 0;
    }
    bool hasWindow() const { return !windowId_.empty(); }
    const std::string& geometry() const { return geometry_; }

    void click(int x, int y)
    {
        onDisplay("xdotool mousemove " + std::to_string(left_ + x) + ' ' + std::to_string(top_ + y) +
            " click 1");
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }

    // Takes a screenshot and returns its path.
    std::string screenshot(const std::string& name)
    {
        shot_ = besideTestProgram(name);
        onDisplay("import -window root '" + shot_ + "'");
        return shot_;
    }
    std::string pixel(int x, int y) const { return pixelAt(shot_, left_ + x, top_ + y); }

private:
    // A command run against the private display.
    std::string onDisplay(const std::string& command) const
    {
        return run("DISPLAY=" + display_.name() + ' ' + command);
    }

    PrivateDisplay display_;
    pid_t pid_ = 0;
    std::string windowId_;
    std::string geometry_;
    std::string shot_;
    int left_ = 0, top_ = 0;
};

TEST(RealProgram, StartsWithItsWindowAndAGreyViewer)
{
    RunningProgram orolith({std::string(OROLITH_DATA_DIR) + "/alps_dem.grd"});
    ASSERT_TRUE(orolith.hasDisplay()) << "no X server for the test (is Xvfb installed?)";
    ASSERT_TRUE(orolith.running()) << "orolith ended on its own instead of showing the viewer";
    ASSERT_TRUE(orolith.hasWindow()) << "no window titled \"Orolith: Landwarden (v1.2)\" appeared";
    EXPECT_NE(orolith.geometry().find("850x700"), std::string::npos)
        << "the main window is not 850 x 700: " << orolith.geometry();

    const std::string png = orolith.screenshot("mainwindow_start.png");
    EXPECT_TRUE(isViewerGrey(orolith.pixel(300, 300)))
        << "the viewer is not plain grey before data is loaded: " << orolith.pixel(300, 300)
        << " (see " << png << ')';
    EXPECT_EQ(orolith.pixel(734, 389), "255,255,178")
        << "the 1-unit curvature swatch is not pale yellow (see " << png << ')';
    EXPECT_EQ(orolith.pixel(734, 472), "227,26,28")
        << "the 4-unit difference swatch is not red (see " << png << ')';
    EXPECT_TRUE(isWindowGrey(orolith.pixel(660, 400)))
        << "the strip between viewer and tool panel is not window grey (see " << png << ')';
}

// Display, then "Display\Hide Tools" (the eighth entry), twice, with the
// mouse. Entry positions are those of the toolkit's default menu font.
TEST(RealProgram, HideToolsFromTheMenuAndShowThemAgain)
{
    RunningProgram orolith({});
    ASSERT_TRUE(orolith.hasDisplay()) << "no X server for the test (is Xvfb installed?)";
    ASSERT_TRUE(orolith.hasWindow()) << "no main window appeared";
    const int menuX = 169, menuY = 11, hideToolsY = 185;

    orolith.click(menuX, menuY);
    orolith.click(menuX + 30, hideToolsY);
    std::string png = orolith.screenshot("mainwindow_tools_hidden.png");
    EXPECT_TRUE(isViewerGrey(orolith.pixel(750, 300)))
        << "the viewer does not cover the hidden tool panel (see " << png << ')';
    EXPECT_TRUE(isWindowGrey(orolith.pixel(750, 690)))
        << "the panel below the viewer is not blank while hidden (see " << png << ')';

    orolith.click(menuX, menuY);
    orolith.click(menuX + 30, hideToolsY);
    png = orolith.screenshot("mainwindow_tools_shown.png");
    EXPECT_EQ(orolith.pixel(734, 389), "255,255,178")
        << "the tool panel did not come back (see " << png << ')';
    EXPECT_TRUE(isWindowGrey(orolith.pixel(640, 300)))
        << "the viewer is not 625 wide after showing the tools (see " << png << ')';
    EXPECT_TRUE(orolith.running()) << "orolith ended while hiding and showing the tools";
}

TEST(RealProgram, CommandLineModesStillAnswer)
{
    const std::string version = run(std::string(OROLITH_EXE) + " --version");
    EXPECT_EQ(version.rfind("orolith ", 0), 0u) << "--version printed: " << version;
    const std::string help = run(std::string(OROLITH_EXE) + " --help");
    EXPECT_NE(help.find("Usage: orolith"), std::string::npos) << "--help printed: " << help;
}

} // namespace
