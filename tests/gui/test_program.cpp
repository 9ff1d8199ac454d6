// Starting the viewer: the DEM path from the command line is kept for the
// first open, and the real program shows its window on an X display.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "tests/gui/gui_fixtures.h"

namespace gui_test {
namespace {

TEST(CommandLine, FirstArgumentOfAnyLengthIsKeptAsACopy)
{
    initFiles = 0;
    filename = nullptr;
    char program[] = "orolith";
    char* alone[] = {program, nullptr};
    rememberCommandLinePath(1, alone);
    EXPECT_TRUE(initFiles == 0 && filename == nullptr) << "a DEM path appeared from nowhere";

    std::string path = "/";
    while (path.size() < 10000)
        path += "very_deep_directory/";
    path += "alps_dem.grd";
    std::vector<char> arg(path.begin(), path.end());
    arg.push_back('\0');
    char extra[] = "/data/ignored.grd";
    char* argv[] = {program, arg.data(), extra, nullptr};
    rememberCommandLinePath(3, argv);
    EXPECT_EQ(initFiles, 2) << "the path is not marked as waiting for the first open";
    ASSERT_NE(filename, nullptr);
    EXPECT_EQ(std::string(filename), path) << "the path was cut, garbled or replaced";
    arg[1] = 'X'; // the argument's storage is not the program's to keep
    EXPECT_EQ(std::string(filename), path) << "the kept path follows the argument's storage";
}

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 256> buf;
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

// On an X server of the test's own (so that windows of tests running side by
// side cannot cover it): start orolith with a DEM path, wait for its window,
// say where it is and whether orolith still runs, take a screenshot.
const char* const SCRIPT = R"sh(
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" 2>/dev/null & xvfb=$!
for i in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$numfile")"; rm -f "$numfile"
LIBGL_ALWAYS_SOFTWARE=1 "$EXE" "$DEM" & orolith=$!
for i in $(seq 100); do
  id=$(xdotool search --name 'Orolith: Landwarden \(v1.2\)' 2>/dev/null | head -n 1)
  [ -n "$id" ] && break; sleep 0.1
done
sleep 2
[ -n "$id" ] && xdotool getwindowgeometry "$id"
kill -0 $orolith 2>/dev/null && echo "orolith running"
import -window root -depth 8 "$SHOT"
kill $orolith $xvfb 2>/dev/null; wait
)sh";

TEST(RealProgram, StartsWithItsWindowAndAGreyViewer)
{
    const std::string shot = std::filesystem::current_path() / "mainwindow_start.ppm";
    std::filesystem::remove(shot); // never judge an old picture
    const std::string script = tempPath("start.sh");
    std::ofstream(script) << SCRIPT;
    const std::string dem = sampleData("alps_dem.grd");
    const std::string out = run("EXE='" OROLITH_EXE "' DEM='" + dem + "' SHOT='" + shot + "' sh " + script);
    SCOPED_TRACE("screenshot " + shot + ", script said: " + out);
    EXPECT_NE(out.find("orolith running"), std::string::npos) << "orolith ended on its own";
    const std::size_t at = out.find("Position: ");
    ASSERT_NE(at, std::string::npos) << "no window titled \"Orolith: Landwarden (v1.2)\" appeared";
    EXPECT_NE(out.find("850x700"), std::string::npos) << "the main window is not 850 x 700";
    int left = 0, top = 0;
    std::sscanf(out.c_str() + at, "Position: %d,%d", &left, &top);
    const Image img = Image::load(shot);
    ASSERT_EQ(img.w, 1280) << "no screenshot";
    auto px = [&](int x, int y) { return img.at(left + x, top + y); }; // x, y in the main window
    EXPECT_TRUE(near(px(300, 300), 178, 178, 178)) << "viewer not grey: " << px(300, 300);
    EXPECT_TRUE(near(px(734, 389), 255, 255, 178, 0)) << "1-unit curvature swatch not pale yellow";
    EXPECT_TRUE(near(px(734, 472), 227, 26, 28, 0)) << "4-unit difference swatch not red";
    EXPECT_TRUE(near(px(660, 400), 192, 192, 192)) << "strip beside the viewer not window grey";
}

} // namespace
} // namespace gui_test
