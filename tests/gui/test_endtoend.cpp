// The real orolith on an X server of its own, worked with real X input as
// a user works it: its window at start, grey with the legends' colours;
// File, Open..., "DEM and Comparison File", the paths of the sample data
// typed, a kind ticked, Open; the curvature display switched on; Statistics
// opened and moved aside, and a curvature Graph opened. The screenshots are
// kept under the build directory's screenshots/ folder. And the command
// line's DEM kept for the first open.
#include <FL/Fl_Input.H>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>

#include "dialogs/names.h"
#include "dialogs/openfile.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 256> buf;
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

// Coordinates are inside the window named (xdotool --window); the menu
// entries are where the toolkit drops its menus below "File".
const char* const SCRIPT = R"sh(
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" 2>/dev/null & xvfb=$!
for i in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$numfile")"; rm -f "$numfile"
LIBGL_ALWAYS_SOFTWARE=1 "$EXE" >/dev/null 2>&1 & orolith=$!
waitfor() { # title: the id of the window once it is shown
  for i in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return; }; sleep 0.1
  done
}
shot() { import -window root -depth 8 "$SHOTS/$1.ppm"; }
# A picture of the viewer once it shows what is waited for ($2: "grey" for
# anything but the empty grey, "colour" for yellow to red classes), taken
# again until it does: a slow machine (sanitizers, a loaded CI host) may
# take seconds for a frame.
shotwhen() {
  for i in $(seq 60); do
    shot "$1"
    v=$(convert "$SHOTS/$1.ppm" -crop 600x560+$((mx + 20))+$((my + 45)) +repage -format "%[fx:mean.r-mean.b] %[fx:standard_deviation]" info: 2>/dev/null)
    case $2 in
      grey) awk -v v="$v" 'BEGIN { split(v, a, " "); exit !(a[2] > 0.01) }' && return ;;
      colour) awk -v v="$v" 'BEGIN { split(v, a, " "); exit !(a[1] > 0.05) }' && return ;;
    esac
    sleep 0.25
  done
}
main=$(waitfor '^Orolith: Landwarden \(v1.2\)$')
[ -n "$main" ] || { echo "no main window"; kill $orolith $xvfb; exit; }
sleep 1; shot e2e_start
xdotool getwindowgeometry "$main" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/main at \1 \2/p; s/ *Geometry: /main size /p'
eval "$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^X=/mx=/p; s/^Y=/my=/p')"
xdotool mousemove --window "$main" 20 12 click 1; sleep 0.3
xdotool mousemove --window "$main" 40 37; sleep 0.3
xdotool mousemove --window "$main" 180 38; sleep 0.2
xdotool mousemove --window "$main" 180 58 click 1
dlg=$(waitfor '^Open File$')
[ -n "$dlg" ] && echo "dialog: $(xdotool getwindowname "$dlg")"
xdotool mousemove --window "$dlg" 100 40 click 1; xdotool type --delay 2 "$DATA/alps_dem.grd"
xdotool mousemove --window "$dlg" 100 85 click 1; xdotool type --delay 2 "$DATA/alps_dem2.grd"
xdotool mousemove --window "$dlg" 11 251 click 1; sleep 0.3
shot e2e_open_dialog
xdotool mousemove --window "$dlg" 140 302 click 1
for i in $(seq 100); do xdotool search --onlyvisible --name '^Open File$' >/dev/null 2>&1 || break; sleep 0.1; done
xdotool search --onlyvisible --name '^Open File$' >/dev/null 2>&1 && echo "dialog still open"
shotwhen e2e_loaded grey
xdotool mousemove --window "$main" 686 343 click 1
shotwhen e2e_curvature colour
xdotool mousemove --window "$main" 615 685 click 1
stats=$(waitfor '^Statistics$')
[ -n "$stats" ] && echo "window: Statistics"
sleep 0.5; shot e2e_statistics
# Wide enough for its accuracy table, it covers the panel: dragged aside.
xdotool windowmove "$stats" 860 0; sleep 0.3
xdotool mousemove --window "$main" 785 372 click 1
graph=$(waitfor '^Curve Error$')
[ -n "$graph" ] && echo "window: Curve Error"
xdotool getwindowgeometry "$graph" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/graph at \1 \2/p'
eval "$(xdotool getwindowgeometry --shell "$graph" | sed -n 's/^X=/gx=/p; s/^Y=/gy=/p')"
# Taken again until its bars are drawn: a slow machine may take seconds.
for i in $(seq 60); do
  shot e2e_graph
  v=$(convert "$SHOTS/e2e_graph.ppm" -crop 220x200+$gx+$gy +repage -format "%[fx:mean.r-mean.g]" info: 2>/dev/null)
  awk -v v="$v" 'BEGIN { exit !(v > 0.01) }' && break
  sleep 0.25
done
kill -0 $orolith 2>/dev/null && echo "orolith running"
kill $orolith $xvfb 2>/dev/null; wait
)sh";

// Pixels of the viewer (x 0 to 650, y 25 to 650 in the main window) whose
// colour is not a grey: the curvature classes are yellow to red.
int colouredViewerPixels(const Image& img, int left, int top)
{
    int n = 0;
    for (int y = 25; y < 650; y += 2)
        for (int x = 0; x < 650; x += 2) {
            const Pixel p = img.at(left + x, top + y);
            n += p.r - p.b > 40;
        }
    return n;
}

// The program's first argument, as runViewer hands it to the session.
class CommandLine : public MainWindowTest {};

TEST_F(CommandLine, FirstArgumentOfAnyLengthIsKeptAsACopy)
{
    EXPECT_EQ(session->startupDem(), "") << "a DEM path appeared from nowhere";
    openDemDialog(*session);
    ASSERT_NE(openwin, nullptr);
    EXPECT_STREQ(openwin->finput->value(), "") << "the open dialog offers a DEM nobody named";
    delete openwin;

    std::string path = "/";
    while (path.size() < 10000)
        path += "very_deep_directory/";
    path += "alps_dem.grd";
    std::vector<char> arg(path.begin(), path.end());
    arg.push_back('\0');
    session->offerStartupDem(arg.data());
    arg[1] = 'X'; // the argument's storage is not the program's to keep
    EXPECT_EQ(session->startupDem(), path) << "the path was cut, garbled, replaced or follows the argument's storage";
    openDemDialog(*session);
    ASSERT_NE(openwin, nullptr);
    EXPECT_EQ(std::string(openwin->finput->value()), path) << "the open dialog does not offer the whole path";
    delete openwin;
}

TEST(EndToEnd, StartOpenTwoFilesShowCurvatureStatisticsAndGraph)
{
    const std::string shots = OROLITH_SHOT_DIR;
    for (const char* name :
         {"e2e_start", "e2e_open_dialog", "e2e_loaded", "e2e_curvature", "e2e_statistics", "e2e_graph"})
        std::remove((shots + "/" + name + ".ppm").c_str()); // never judge an old picture
    const std::string script = tempPath("endtoend.sh");
    std::ofstream(script) << SCRIPT;
    const std::string out = run("EXE='" OROLITH_EXE "' DATA='" OROLITH_DATA_DIR "' SHOTS='" + shots + "' sh " + script);
    SCOPED_TRACE("screenshots in " + shots + ", script said:\n" + out);
    EXPECT_NE(out.find("dialog: Open File"), std::string::npos) << "the menu did not open the two-file dialog";
    EXPECT_EQ(out.find("dialog still open"), std::string::npos) << "Open did not load the sample data";
    EXPECT_NE(out.find("window: Statistics"), std::string::npos) << "no \"Statistics\" window";
    EXPECT_NE(out.find("window: Curve Error"), std::string::npos) << "no \"Curve Error\" graph window";
    EXPECT_NE(out.find("orolith running"), std::string::npos) << "orolith ended on its own";

    int left = 0, top = 0, gx = 0, gy = 0;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::sscanf(line.c_str(), "main at %d %d", &left, &top);
        std::sscanf(line.c_str(), "graph at %d %d", &gx, &gy);
    }
    EXPECT_NE(out.find("main size 850x736"), std::string::npos) << "the main window is not 850 x 736";
    const Image start = Image::load(shots + "/e2e_start.ppm");
    ASSERT_EQ(start.w, 1280) << "no screenshot at start";
    auto px = [&](int x, int y) { return start.at(left + x, top + y); }; // x, y in the main window
    EXPECT_TRUE(near(px(300, 300), 178, 178, 178)) << "viewer not grey at start: " << px(300, 300);
    EXPECT_TRUE(near(px(734, 389), 255, 255, 178, 0)) << "1-unit curvature swatch not pale yellow";
    EXPECT_TRUE(near(px(734, 472), 227, 26, 28, 0)) << "4-unit difference swatch not red";
    EXPECT_TRUE(near(px(660, 400), 192, 192, 192)) << "strip beside the viewer not window grey";
    const Image loaded = Image::load(shots + "/e2e_loaded.ppm");
    const Image curvature = Image::load(shots + "/e2e_curvature.ppm");
    ASSERT_TRUE(loaded.w == 1280 && curvature.w == 1280) << "no screenshots";
    EXPECT_FALSE(near(loaded.at(left + 5, top + 40), 178, 178, 178)) << "the viewer is still plain grey";
    EXPECT_LT(colouredViewerPixels(loaded, left, top), 100) << "coloured before the curvature display was on";
    EXPECT_GT(colouredViewerPixels(curvature, left, top), 1000) << "no curvature classes on the surface";

    const Image graph = Image::load(shots + "/e2e_graph.ppm");
    int red = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 220; ++x)
            red += near(graph.at(gx + x, gy + y), 255, 0, 0, 10);
    EXPECT_GT(red, 200) << "no red bars in the graph window";
}

} // namespace
} // namespace gui_test
