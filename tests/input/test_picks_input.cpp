// Pointing at the terrain with real X input: the readout follows the mouse
// without a frame, a click keeps a pick and a drag does not, Space picks at
// the cross-hair, and the Picks window's buttons delete, set the profile
// and save.
#include <FL/Fl_Button.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Output.H>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialogs/filechooser.h"
#include "dialogs/pickswindow.h"
#include "model/readout.h"
#include "render/profilegeometry.h"
#include "tests/gui/gui_fixtures.h"
#include "tests/input/x_input.h"

namespace gui_test {
namespace {

std::string savedTo;
std::string answerSave(const char*, const char*, const std::string&) { return savedTo; }

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PickInput : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
        win().show();
        runLoop(1.0);
    }
    // A viewer pixel on the screen (the viewer lies under the menu bar).
    std::string onViewer(int x, int y) { return at(win(), viewer().x() + x, viewer().y() + y); }
    std::string readout() { return win().readoutField->value(); }
    // The readout line the model gives for the terrain at viewer pixel (x, y).
    std::string expectedAt(int x, int y)
    {
        const std::optional<SurfaceHit> hit = viewer().surfaceAt(x + 0.5, y + 0.5);
        if (!hit)
            return "";
        return readoutLine(readoutAt(data(), hit->row, hit->col), std::nullopt, false);
    }
    Image shot(const std::string& name)
    {
        const std::string path = std::string(OROLITH_SHOT_DIR) + "/picks_" + name + ".ppm";
        std::filesystem::remove(path);
        drive("import -window root -depth 8 '" + path + "'");
        return Image::load(path);
    }
    void press(Fl_Button* b) { drive("xdotool mousemove" + at(*b->window(), b->x() + 5, b->y() + 5) + " click 1"); }
};

TEST_F(PickInput, TheReadoutFollowsTheMouseAndAClickKeepsWhatADragDoesNot)
{
    // The readout of two places, each the model's values there, and no frame
    // drawn for either move.
    const unsigned long frames = viewer().framesDrawn();
    drive("xdotool mousemove" + onViewer(325, 300));
    ASSERT_FALSE(expectedAt(325, 300).empty()) << "the middle of the picture shows the surface";
    EXPECT_EQ(readout(), expectedAt(325, 300));
    drive("xdotool mousemove" + onViewer(250, 380));
    EXPECT_EQ(readout(), expectedAt(250, 380));
    EXPECT_NE(readout().find("DEM "), std::string::npos);
    EXPECT_EQ(viewer().framesDrawn(), frames) << "moving the mouse drew the surface again";
    drive("xdotool mousemove" + onViewer(5, 5));
    EXPECT_EQ(readout(), "") << "the sky above the terrain has no readout";

    // A click: one pick, of the place under the press, marked on the surface.
    const std::optional<SurfaceHit> under = viewer().surfaceAt(300.5, 320.5);
    ASSERT_TRUE(under);
    drive("xdotool mousemove" + onViewer(300, 320) + " click 1");
    ASSERT_EQ(session->picks().size(), 1u);
    EXPECT_NEAR(session->picks()[0].row, under->row, 1e-9);
    EXPECT_NEAR(session->picks()[0].col, under->col, 1e-9);
    ASSERT_TRUE(session->picksWindow() && session->picksWindow()->shown()) << "the Picks window came up";
    EXPECT_EQ(view().xrotation, 0) << "a click does not turn the view";
    runLoop(0.5);
    const Image marked = shot("marked");
    const Pixel mark = marked.at(win().x() + viewer().x() + 300, win().y() + viewer().y() + 320);
    EXPECT_TRUE(near(mark, 255, 51, 255, 10)) << "no pick mark under the click: " << mark;

    // A drag turns the surface and picks nothing; a press that strays two
    // pixels is still a click.
    drive("xdotool mousemove" + onViewer(300, 200) + " mousedown 1 mousemove" + onViewer(320, 215) +
          " sleep 0.1 mousemove" + onViewer(340, 230) + " sleep 0.1 mouseup 1");
    EXPECT_NE(view().xrotation, 0) << "the drag did not turn the surface";
    EXPECT_EQ(session->picks().size(), 1u) << "a drag picked";
    drive("xdotool mousemove" + onViewer(320, 330) + " mousedown 1 mousemove" + onViewer(322, 331) +
          " sleep 0.1 mouseup 1");
    EXPECT_EQ(session->picks().size(), 2u) << "a click that strayed two pixels was taken for a drag";

    // Space picks under the cross-hair at the picture's centre.
    const std::optional<SurfaceHit> centre = viewer().surfaceAt(viewer().w() / 2.0, viewer().h() / 2.0);
    ASSERT_TRUE(centre);
    EXPECT_TRUE(view().crossHair) << "the cross-hair shows while the Picks window is open";
    viewer().take_focus();
    drive("xdotool key space");
    ASSERT_EQ(session->picks().size(), 3u);
    EXPECT_NEAR(session->picks()[2].row, centre->row, 1e-9);
    EXPECT_EQ(session->picks()[2].number, 3);

    // For a person to look at: the elevation differences with their legend,
    // the readout of a place, and the picks.
    session->requestSwitch(ViewSwitch::elevationError, true, Needs::comparison);
    drive("xdotool mousemove" + onViewer(420, 260));
    EXPECT_EQ(readout(), expectedAt(420, 260));
    shot("readout_legend");
}

TEST_F(PickInput, ThePicksWindowDeletesSetsTheProfileAndSaves)
{
    drive("xdotool mousemove" + onViewer(300, 320) + " click 1");
    drive("xdotool mousemove" + onViewer(360, 280) + " click 1");
    drive("xdotool mousemove" + onViewer(250, 360) + " click 1");
    ASSERT_EQ(session->picks().size(), 3u);
    PicksWindow& w = *session->picksWindow();
    runLoop(0.5);
    ASSERT_EQ(w.table->size(), 4) << "a header and three rows";

    // Delete the middle row with its button: the numbers stay with their picks.
    w.select(1);
    press(w.deleteButton);
    ASSERT_EQ(session->picks().size(), 2u);
    EXPECT_EQ(session->picks()[1].number, 3);
    EXPECT_EQ(view().picks.size(), 2u) << "the surface still marks the deleted pick";

    // The profile along the selected pick's row, then its column.
    w.select(1);
    const CellReadout& at = session->picks()[1].at;
    press(w.rowButton);
    EXPECT_TRUE(view().plotProfile);
    EXPECT_EQ(view().profView, VERTP);
    EXPECT_EQ(placeProfile(data().mesh(), view().profileYpos, view().profileXpos).gridy, at.row);
    press(w.columnButton);
    EXPECT_EQ(view().profView, HORIZ);
    EXPECT_EQ(placeProfile(data().mesh(), view().profileYpos, view().profileXpos).gx, at.col);

    // Save as CSV and as GeoJSON, the format by the name chosen.
    const auto saved = chooseSavePath;
    chooseSavePath = answerSave;
    const std::string dir = ::testing::TempDir();
    savedTo = dir + "/picks_test.csv";
    press(w.saveButton);
    const std::string csv = fileText(savedTo);
    EXPECT_EQ(csv.substr(0, csv.find(',')), "number");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
    savedTo = dir + "/picks_test.geojson";
    press(w.saveButton);
    const std::string json = fileText(savedTo);
    EXPECT_NE(json.find("\"FeatureCollection\""), std::string::npos) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), 1 + 2 * 3)
        << "a collection, and a feature, geometry and properties a pick";
    chooseSavePath = saved;

    // A new difference unit: the picks' classes follow it.
    session->setDifferenceUnit(0.5);
    ASSERT_TRUE(session->picks()[0].at.differenceClass);
    EXPECT_EQ(session->picks()[0].at.differenceClass->unit, 0.5f);

    // Clear, then close: the cross-hair goes with the window.
    press(w.clearButton);
    EXPECT_TRUE(session->picks().empty());
    EXPECT_TRUE(view().picks.empty());
    press(w.closeButton);
    EXPECT_FALSE(w.shown());
    EXPECT_FALSE(view().crossHair);
}

} // namespace
} // namespace gui_test
