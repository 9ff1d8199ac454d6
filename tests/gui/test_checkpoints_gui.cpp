// Checkpoints and stable terrain as a user works them, with real X input
// (xdotool, run while the event loop goes on): File > Open... > "DEM File"
// and then "Checkpoints...", the chooser answered by typing, the classes
// typed into the dialog; the markers on the surface in the colours of
// their classes and the statistics window's checkpoint table. Then
// Analysis > "Stable terrain...": a maximum slope typed and applied, the
// accuracy count of the statistics window dropping by what the dialog says
// the rule removed, the removed cells drawn darker, and values that are
// no rule refused with the data set as it was. When this program runs one
// test alone (as ctest runs it) the windows are on an X server of its own,
// so that windows of tests running beside it cannot take the input.
// Screenshots are kept in the build tree for a person to look at.
#include <fcntl.h>
#include <unistd.h>

#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Output.H>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialogs/checkpointdialog.h"
#include "dialogs/coregwindow.h"
#include "dialogs/names.h"
#include "dialogs/stableterraindialog.h"
#include "dialogs/statsreport.h"
#include "render/checkpointmarkers.h"
#include "tests/gui/dialog_fixtures.h"
#include "tests/input/x_input.h"
#ifdef OROLITH_TESTS_HAVE_GDAL
#include "model/gdal/gdalmask.h"
#include "model/gdal/gdalpoints.h"
#endif

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

const std::string OLINDA = std::string(OROLITH_SHARED_DATA_DIR) + "/olinda_dem_utm25s.tif";

// An Xvfb of this process, ended when the process ends (its watcher sees
// the pipe close), started only while no display has been opened: when
// this process runs this one test.
void usePrivateXServerWhenAlone()
{
    static bool started = false;
    if (started || glutGet(GLUT_INIT_STATE) || ::testing::UnitTest::GetInstance()->test_to_run_count() != 1)
        return;
    started = true;
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

// What the tests' sessions read points with: GDAL's reader linked in.
PointIo testPointIo()
{
    PointIo io;
#ifdef OROLITH_TESTS_HAVE_GDAL
    io.readPoints = readPointFile;
    io.readMask = readMaskFile;
#endif
    return io;
}

// The "all" count of the accuracy table against the comparison grid in a
// statistics text; 0 without one.
std::size_t accuracyCount(const std::string& text)
{
    const std::size_t table = text.find("Accuracy against the comparison grid");
    const std::size_t all = text.find("\nall ", table);
    if (table == std::string::npos || all == std::string::npos)
        return 0;
    std::size_t n = 0;
    std::sscanf(text.c_str() + all, "\nall %zu", &n);
    return n;
}

// The number before " removed" on the line of the dialog's counts that
// starts with `rule`; -1 without such a line.
long removedBy(const std::string& counts, const std::string& rule)
{
    const std::size_t at = counts.find(rule);
    if (at == std::string::npos)
        return -1;
    long n = -1;
    std::sscanf(counts.c_str() + at + rule.size(), ": %ld removed", &n);
    return n;
}

class ByHand : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePrivateXServerWhenAlone();
        startGlut();
        session = std::make_unique<Session>(testGridIo(), testPointIo());
        win().show();
        runLoop(0.5);
    }
    void TearDown() override
    {
        closeDialogWindows();
        win().hide();
        Fl::check();
        session.reset();
    }

    MainWindow& win() { return session->window(); }
    const DataSet& data() { return session->dataSet(); }
    // Where xdotool moves the pointer: window pixel (x, y) of a shown window.
    static std::string in(Fl_Window& w, int x, int y)
    {
        return " mousemove --window " + std::to_string(windowId(&w)) + " " + std::to_string(x) + " " +
               std::to_string(y);
    }
    std::string in(int x, int y) { return in(win(), x, y); }

    // The viewer drawn now, off the event loop, its picture kept under the
    // build tree's screenshots/ folder.
    Image viewerPicture(const std::string& name)
    {
        Image img = drawnViewer(session->viewer());
        img.save(std::string(OROLITH_SHOT_DIR) + "/checkpoints_" + name + ".ppm");
        return img;
    }
    // The whole screen as the user sees it, for a person to look at.
    void screen(const std::string& name)
    {
        const std::string path = std::string(OROLITH_SHOT_DIR) + "/checkpoints_screen_" + name + ".ppm";
        std::filesystem::remove(path);
        drive("import -window root -depth 8 '" + path + "'");
    }

    // File > Open... > the entry at `y` of its submenu (38 "DEM File", 98
    // "Checkpoints..."), clicked where the toolkit drops the menus, then
    // `then` (more xdotool commands) in the same run: an entry that opens
    // a chooser keeps the event loop inside it until it is answered.
    // The chooser's answer: the name of a file in the folder it opens in
    // (the scratch folder, where the DEM came from), typed after the
    // folder it offers, where the pointer puts the keys. Should the chooser
    // still be up, Escape closes it (and an alert over it), so that the
    // event loop comes back; a chooser that never comes up fails the test
    // after 30 seconds instead of holding the whole suite.
    static std::string typedIntoChooser(const std::string& name)
    {
        return " && timeout 30 xdotool search --sync --onlyvisible --name '^Open Checkpoints$' mousemove --window %1 "
               "150 20 "
               "sleep 0.3 key End type --delay 20 '/" +
               name +
               "' && xdotool key Return && sleep 1.5 && if xdotool search --onlyvisible --name '^Open Checkpoints$'; "
               "then import -window root -depth 8 '" OROLITH_SHOT_DIR "/checkpoints_screen_chooser_left_open.ppm'; "
               "xdotool key Escape sleep 0.3 key Escape; fi";
    }
    // A copy of a file in the scratch folder, under its own name.
    static std::string scratchCopy(const std::string& path)
    {
        const std::string copy = tempPath(std::filesystem::path(path).filename().string());
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        return copy;
    }
    void fromOpenMenu(int y, const std::string& then = "")
    {
        drive("xdotool" + in(20, 12) + " click 1 sleep 0.4" + in(40, 37) + " sleep 0.4" + in(180, 38) + " sleep 0.3" +
              in(180, y) + " sleep 0.2 click 1" + then);
    }

    std::unique_ptr<Session> session;
};

// --- checkpoints ----------------------------------------------------------------------

struct Point {
    int row, col;
    double d; // DEM minus checkpoint
    const char* pointClass;
    int colour; // its marker's, in the difference unit 1
};

TEST_F(ByHand, OpenDemAndCheckpointsThroughTheMenuSeeMarkersAndTheirTable)
{
#ifndef OROLITH_TESTS_HAVE_GDAL
    GTEST_SKIP() << "the GeoTIFF DEM and the points need GDAL";
#endif
    if (!std::filesystem::exists(OLINDA))
        GTEST_SKIP() << OLINDA << " is not there";

    // The DEM through its dialog, the path typed.
    const std::string dem = scratchCopy(OLINDA);
    fromOpenMenu(38);
    ASSERT_NE(openwin, nullptr) << "File > Open... > DEM File opened no dialog";
    runLoop(0.3);
    drive("xdotool" + in(*openwin, 100, 35) + " click 1 type --delay 2 '" + dem + "' && xdotool" +
          in(*openwin, 110, 200) + " click 1");
    for (int k = 0; k < 100 && !data().loaded(); ++k)
        runLoop(0.1);
    ASSERT_TRUE(data().loaded()) << "the DEM did not load";
    ASSERT_EQ(data().rows(), 111);
    EXPECT_FALSE(data().header().projection.empty()) << "the GeoTIFF names its system";

    // Checkpoints at grid points, each d in another class of the unit 1,
    // and one west of the DEM; in the DEM's coordinates, as a table.
    const GridHeader& h = data().header();
    const double top = h.yllcorner + h.rows * h.cellsizeY;
    const Point points[] = {
        {25, 25, 0.5, "ground", TERRAIN}, {25, 85, 1.5, "ground", LOW},      {85, 25, -2.5, "road", MEDIUM},
        {85, 85, 3.5, "forest", HIGH},    {55, 55, -10, "forest", VERYHIGH},
    };
    const std::string csv = tempPath("olinda_checkpoints.csv");
    {
        std::ofstream out(csv);
        out.precision(12);
        out << "x,y,z,class\n";
        for (const Point& p : points)
            out << h.xllcorner + (p.col + 0.5) * h.cellsizeX << ',' << top - (p.row + 0.5) * h.cellsizeY << ','
                << data().demView().at(p.row, p.col) - p.d << ',' << p.pointClass << '\n';
        out << h.xllcorner - 5000 << ',' << top - 100 << ",10,ground\n";
    }

    // The chooser takes the path typed, then the dialog the classes.
    fromOpenMenu(98, typedIntoChooser("olinda_checkpoints.csv"));
    ASSERT_NE(checkpointWin, nullptr) << "no Checkpoints dialog after the chooser";
    CheckpointDialog& dlg = *checkpointWin;
    EXPECT_EQ(std::string(dlg.file->value()), csv) << "the dialog does not name the file picked";
    runLoop(0.3);
    expectTidy(&dlg, "Checkpoints");
    drive("xdotool" + in(dlg, 250, 130) + " click 1 type --delay 2 'ground, road' && xdotool" + in(dlg, 250, 158) +
          " click 1 type --delay 2 'forest'");
    saveShot(&dlg, "checkpoints_dialog");
    drive("xdotool" + in(dlg, 267, 194) + " click 1");
    runLoop(0.5);

    ASSERT_TRUE(data().hasCheckpoints()) << "Open read no checkpoints: " << shownError();
    EXPECT_EQ(checkpointWin, nullptr) << "the dialog stayed open";
    const CheckpointAssessment& a = data().checkpointAssessment();
    EXPECT_EQ(a.outside, 1u);
    EXPECT_EQ(a.nva.count, 3u) << "ground and road are open";
    EXPECT_EQ(a.vva.count, 2u) << "forest is vegetated";
    for (std::size_t i = 0; i < std::size(points); ++i)
        EXPECT_NEAR(a.d[i], points[i].d, 1e-3) << "point " << i;

    // A marker at each point used, in its class's colour, where the grid
    // point is seen from straight above.
    session->viewer().redraw();
    runLoop(0.5);
    screen("markers");
    const Image shot = viewerPicture("markers");
    for (const Point& p : points) {
        int x = 0, y = 0;
        gridToScreen(data().rows(), data().cols(), static_cast<float>(p.row), static_cast<float>(p.col), x, y);
        const RGB8 want = unpackColor(p.colour);
        int found = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                found += near(shot.at(x + dx, y + dy), want.r, want.g, want.b, 1);
        EXPECT_GE(found, 9) << "no marker of colour (" << want.r << ", " << want.g << ", " << want.b << ") at " << x
                            << ", " << y << " for grid point " << p.row << ", " << p.col << "; the centre is "
                            << shot.at(x, y);
        // Its dark frame sets it off from the terrain around it.
        EXPECT_TRUE(near(shot.at(x + 3, y), 26, 26, 26, 3) || near(shot.at(x - 3, y), 26, 26, 26, 3))
            << "no dark frame beside the marker at " << x << ", " << y;
    }
    const Pixel bare = shot.at(CX + 120, CY + 10);
    EXPECT_FALSE(near(bare, 26, 26, 26, 3)) << "markers where no checkpoint is";

    // The statistics window, opened with its button, lists the checkpoints.
    Fl_Widget* stats = win().statisticsButton;
    drive("xdotool" + in(stats->x() + stats->w() / 2, stats->y() + stats->h() / 2) + " click 1");
    ASSERT_NE(statsWin, nullptr) << "no Statistics window";
    const std::string text = fieldText(statsWin);
    SCOPED_TRACE(text);
    const std::string expected[] = {
        "Checkpoints from " + csv,
        "checkpoints: 6 given, 5 used, 1 outside the DEM, 0 next to absent cells\nslope (deg)      count",
        "\nforest               2",
        "\nground               2",
        "\nroad                 1",
        "NVA (ground, road): 3 points, RMSEz ",
        "VVA (forest): 2 points, 95th percentile of |d| 10.000",
    };
    for (const std::string& line : expected)
        EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line;
    const double rmse = std::sqrt((0.25 + 2.25 + 6.25) / 3);
    char nva[64];
    std::snprintf(nva, sizeof nva, "RMSEz %.3f, accuracy at 95 %% (1.96 RMSEz) %.3f", rmse, 1.96 * rmse);
    EXPECT_NE(text.find(nva), std::string::npos) << "missing: " << nva;
    expectTextFits(statsWin, "Statistics");
    saveShot(statsWin, "checkpoints_statistics");

    // The checkpoints alone make a report.
    const std::string page = tempPath("checkpoints_report.html");
    {
        SaveChooserAnswer chooser(page);
        click(childOf<Fl_Button>(statsWin, "Save Report..."));
    }
    EXPECT_EQ(shownError(), "");
    std::stringstream html;
    html << std::ifstream(page).rdbuf();
    EXPECT_NE(html.str().find("<h2>Checkpoints</h2>"), std::string::npos) << "no checkpoint report written";
}

TEST_F(ByHand, CheckpointsOffTheDemAreRefusedAndNothingChanges)
{
#ifndef OROLITH_TESTS_HAVE_GDAL
    GTEST_SKIP() << "the points need GDAL";
#endif
    OpenChoice choice;
    choice.dem = scratchCopy(sampleData("alps_dem.grd"));
    ASSERT_TRUE(session->openFiles(choice).ok());
    const std::string csv = tempPath("far_away.csv");
    std::ofstream(csv) << "x,y,z\n0,0,10\n1,1,10\n";
    const unsigned long long version = data().version();
    fromOpenMenu(98, typedIntoChooser("far_away.csv"));
    ASSERT_NE(checkpointWin, nullptr);
    drive("xdotool" + in(*checkpointWin, 267, 194) + " click 1");
    EXPECT_EQ(shownError(), "No checkpoint lies on the DEM: 2 outside it, 0 next to absent cells");
    EXPECT_NE(checkpointWin, nullptr) << "the dialog closed on a refusal";
    EXPECT_FALSE(data().hasCheckpoints());
    EXPECT_EQ(data().version(), version) << "the refused points changed the data set";

    // A file that is no table of points: the reader's message.
    closeDialogWindows();
    const std::string bad = tempPath("no_columns.csv");
    std::ofstream(bad) << "a,b\n1,2\n";
    fromOpenMenu(98, typedIntoChooser("no_columns.csv"));
    ASSERT_NE(checkpointWin, nullptr);
    drive("xdotool" + in(*checkpointWin, 267, 194) + " click 1");
    EXPECT_NE(shownError().find(bad), std::string::npos) << "the message does not name the file: " << shownError();
    EXPECT_FALSE(data().hasCheckpoints());
    EXPECT_EQ(data().version(), version);
}

// --- stable terrain -------------------------------------------------------------------

TEST_F(ByHand, StableTerrainDropsTheSteepPointsFromTheAccuracyAndDimsThem)
{
    OpenChoice choice;
    choice.dem = sampleData("alps_dem.grd");
    choice.comparison = sampleData("alps_dem2.grd");
    choice.kind = DEM;
    ASSERT_TRUE(session->openFiles(choice).ok());
    showStatistics(*session);
    ASSERT_NE(statsWin, nullptr);
    const std::size_t before = accuracyCount(fieldText(statsWin));
    ASSERT_EQ(before, 200u * 240u) << "every point of the pair is present in both";
    closeDialogWindows();
    const Image whole = viewerPicture("stable_before");

    // Analysis > Stable terrain... from the keyboard: Statistics, Graph,
    // Make Sparse file, Co-register..., Stable terrain...
    drive("xdotool" + in(300, 300) +
          " sleep 0.2 key alt+a sleep 0.4 key Down Down Down Down Down sleep 0.2 key Return");
    ASSERT_NE(stableWin, nullptr) << "Analysis > Stable terrain... opened no dialog";
    StableTerrainDialog& dlg = *stableWin;
    runLoop(0.3);
    expectTidy(&dlg, "Stable Terrain");
    EXPECT_EQ(std::string(dlg.counts->value()), noStableTerrainText());
    drive("xdotool" + in(dlg, 235, 121) + " click 1 type --delay 5 '30' && xdotool" + in(dlg, 205, 271) + " click 1");
    ASSERT_TRUE(data().hasStableTerrain()) << "Apply applied nothing: " << shownError();
    EXPECT_EQ(data().stableRules().maxSlope, 30.0);
    const std::string counts = dlg.counts->value();
    SCOPED_TRACE(counts);
    const long removed = removedBy(counts, "slope at most 30 degrees");
    ASSERT_GT(removed, 1000) << "the steep ground of the sample is no small part of it";
    EXPECT_NE(counts.find("Kept as stable: " + std::to_string(before - removed)), std::string::npos);
    saveShot(&dlg, "checkpoints_stable_dialog");

    showStatistics(*session);
    ASSERT_NE(statsWin, nullptr);
    const std::string stats = fieldText(statsWin);
    EXPECT_EQ(accuracyCount(stats), before - static_cast<std::size_t>(removed))
        << "the accuracy is not over the stable terrain:\n"
        << stats;
    EXPECT_NE(stats.find("Over the stable terrain only:"), std::string::npos);
    saveShot(statsWin, "checkpoints_stable_statistics");
    statsWin->hide();
    dlg.show(); // the user brings the dialog back in front

    // The removed cells darker, the kept ones as they were.
    session->viewer().redraw();
    runLoop(0.3);
    screen("stable");
    const Image dimmed = viewerPicture("stable_after");
    int darker = 0, same = 0, other = 0;
    for (int y = 0; y < H; y += 2)
        for (int x = 0; x < W; x += 2) {
            const Pixel p = whole.at(x, y), q = dimmed.at(x, y);
            if (near(p, q.r, q.g, q.b, 2))
                ++same;
            else if (near(q, std::lround(p.r * UNSTABLE_SHADE), std::lround(p.g * UNSTABLE_SHADE),
                          std::lround(p.b * UNSTABLE_SHADE), 3))
                ++darker;
            else
                ++other;
        }
    EXPECT_GT(darker, 5000) << "the removed cells are not drawn darker";
    EXPECT_GT(same, 5000) << "the kept cells changed";
    EXPECT_LT(other, (darker + same) / 50) << "pixels changed otherwise than darker";

    // A value that is no slope: refused, the rules in force stay.
    const unsigned long long version = data().version();
    drive(
        "xdotool" + in(dlg, 235, 121) +
        " click 1 key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace type --delay 5 'abc' && xdotool" +
        in(dlg, 205, 271) + " click 1");
    EXPECT_EQ(shownError(), "The maximum slope \"abc\" is not a number of degrees from 0 to 90.");
    EXPECT_EQ(data().version(), version) << "the refused value changed the data set";
    EXPECT_EQ(data().stableRules().maxSlope, 30.0);
    EXPECT_EQ(removedBy(dlg.counts->value(), "slope at most 30 degrees"), removed) << "the counts changed";
    if (errorWin)
        closeErr(childOf<Fl_Button>(errorWin, "OK"), nullptr);

    // Rules that keep no point: the model's reason, nothing changed.
    drive(
        "xdotool" + in(dlg, 235, 93) +
        " click 1 key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace type --delay 5 '89.9' && "
        "xdotool" +
        in(dlg, 235, 121) +
        " click 1 key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace type --delay 5 '90' && xdotool" +
        in(dlg, 205, 271) + " click 1");
    EXPECT_EQ(shownError().rfind("The stable-terrain rules keep no point", 0), 0u) << shownError();
    EXPECT_EQ(data().version(), version);
    EXPECT_EQ(data().stableRules().maxSlope, 30.0);

    // Clear: every point counts again, and the picture is as before.
    drive("xdotool" + in(dlg, 285, 271) + " click 1");
    EXPECT_FALSE(data().hasStableTerrain());
    EXPECT_EQ(std::string(dlg.counts->value()), noStableTerrainText());
    EXPECT_EQ(differing(viewerPicture("stable_cleared"), whole, 2), 0) << "Clear left dimmed cells";
}

TEST_F(ByHand, AMaskFileKeepsItsStableHalfAndAnUnreadableOneChangesNothing)
{
#ifndef OROLITH_TESTS_HAVE_GDAL
    GTEST_SKIP() << "masks are read through GDAL";
#endif
    OpenChoice choice;
    choice.dem = sampleData("alps_dem.grd");
    choice.comparison = sampleData("alps_dem2.grd");
    choice.kind = DEM;
    ASSERT_TRUE(session->openFiles(choice).ok());
    // A raster on the DEM's grid: stable (1) in the western 100 columns.
    const std::string mask = tempPath("west_stable.asc");
    {
        std::ofstream out(mask);
        out << "ncols 240\nnrows 200\nxllcorner 600000\nyllcorner 5100000\ncellsize 30\n";
        for (int r = 0; r < 200; ++r)
            for (int c = 0; c < 240; ++c)
                out << (c < 100 ? 1 : 0) << (c == 239 ? '\n' : ' ');
    }
    openStableTerrainDialog(*session);
    ASSERT_NE(stableWin, nullptr);
    StableTerrainDialog& dlg = *stableWin;
    dlg.mask->value(mask.c_str());
    click(childOf<Fl_Button>(&dlg, "Apply"));
    ASSERT_TRUE(data().hasStableTerrain()) << shownError();
    EXPECT_EQ(std::string(dlg.counts->value()),
              "Present in both grids: 48000\nmask " + mask + ": 28000 removed\nKept as stable: 20000");
    EXPECT_TRUE(data().stableTerrain().stable[5 * 240 + 99] && !data().stableTerrain().stable[5 * 240 + 100])
        << "the mask is not where the file has it";

    const unsigned long long version = data().version();
    dlg.mask->value(tempPath("no_such_mask.tif").c_str());
    click(childOf<Fl_Button>(&dlg, "Apply"));
    EXPECT_NE(shownError().find("no_such_mask.tif"), std::string::npos) << "no reason given: " << shownError();
    EXPECT_EQ(data().version(), version) << "an unreadable mask changed the data set";
    EXPECT_EQ(data().stableRules().maskName, mask);
}

// --- co-registration over the stable terrain -------------------------------------------

// Hills of every aspect, 10 m cells; the comparison is the DEM moved one
// cell east and half a cell south, and 500 m higher in rows 10 to 24 (a
// change of the ground that no shift explains).
float hills(double r, double c) { return static_cast<float>(1000 + 150 * std::sin(c / 5) * std::cos(r / 6) + 2 * r); }
bool changed(int r) { return r >= 10 && r < 25; }

std::size_t countAfter(const std::string& text, const std::string& heading)
{
    const std::size_t at = text.find(heading);
    const std::size_t all = text.find("\nall ", at);
    std::size_t n = 0;
    if (at != std::string::npos && all != std::string::npos)
        std::sscanf(text.c_str() + all, "\nall %zu", &n);
    return n;
}

TEST_F(DialogTest, CoRegistrationTakesTheStableTerrainAndPutsTheWholeGridMovedInUse)
{
    openThroughDialog(writeGrid("st_dem.grd", 60, 70, 10, [](int r, int c) { return hills(r, c); }),
                      writeGrid("st_comp.grd", 60, 70, 10,
                                [](int r, int c) { return hills(r - 0.5, c - 1.0) + (changed(r) ? 500.0f : 0.0f); }),
                      &OpenDialog::demCheck);
    ASSERT_EQ(shownError(), "");
    StableTerrainChoice outliers;
    outliers.rules.outlierNmads = 3;
    std::string why;
    ASSERT_TRUE(session->applyStableTerrain(outliers, why)) << why;
    const std::size_t kept = data().stableTerrain().counts.kept;
    ASSERT_LT(kept, 60u * 70u - 14u * 70u) << "the changed rows were not taken out";

    choose("&Analysis/Co-register...");
    ASSERT_NE(coregWin, nullptr) << shownError();
    const std::string text = fieldText(coregWin);
    SCOPED_TRACE(text);
    EXPECT_EQ(countAfter(text, "Before"), kept) << "the table before the shift is not over the stable terrain";
    EXPECT_GT(countAfter(text, "After"), 0u);
    EXPECT_LE(countAfter(text, "After"), kept);
    auto after = [&](const char* label) {
        const std::size_t at = text.find(label);
        return at == std::string::npos ? NAN : std::atof(text.c_str() + at + std::strlen(label));
    };
    EXPECT_NEAR(after("Shift east:"), 1.0, 0.05) << "the changed ground entered the fit";
    EXPECT_NEAR(after("Shift north:"), -0.5, 0.05);
    // The NMAD that judges the shift is that of the stable points.
    const double stableNmad =
        accuracyReport(data().demView(), data().stableComparisonView(), data().spacing(), defaultSlopeBounds())
            .all.nmad;
    EXPECT_NEAR(after("(NMAD "), stableNmad, 0.0015) << "the NMAD before the shift is not over the stable terrain";

    // The grid put in use is the whole comparison moved back: the changed
    // rows are there too, and the rules went with the old grid.
    click(childOf<Fl_Button>(coregWin, "Analyse the shifted grid"));
    ASSERT_EQ(shownError(), "");
    EXPECT_FALSE(data().hasStableTerrain()) << "rules of the old comparison grid kept";
    const GridView comp = data().comparisonView();
    for (int r : {12, 17, 22})
        EXPECT_TRUE(comp.isPresent(r, 35)) << "row " << r << ": the points the rules took out are missing";
    EXPECT_NEAR(comp.at(30, 35), hills(30, 35), 1.5) << "not moved back";
    EXPECT_NEAR(comp.at(17, 35), hills(17, 35) + 500, 1.5) << "the changed rows not moved back with the rest";
}

} // namespace
} // namespace gui_test
