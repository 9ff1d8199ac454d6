// Analysis > "Co-register..." as a user runs it on the main window shown:
// the progress in the status row and its Cancel button, the one control
// that answers meanwhile; a shift that did not improve the fit; and the
// layer the viewer shows after "Analyse the shifted grid", against a fresh
// load of the same shifted grid.
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Progress.H>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "dialogs/coregprogress.h"
#include "dialogs/coregwindow.h"
#include "dialogs/names.h"
#include "dialogs/statsreport.h"
#include "model/colors.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

// Hills and valleys of every aspect, 10 m cells; the comparison DEM is the
// DEM moved 1 cell east and half a cell south, with a steep mound of 20 m
// on it that no shift explains, so that both difference layers have
// classes to show after the shift.
float hills(double r, double c) { return static_cast<float>(1000 + 150 * std::sin(c / 5) * std::cos(r / 6) + 2 * r); }
float mound(double r, double c)
{
    const double d2 = (r - 30) * (r - 30) + (c - 35) * (c - 35);
    return static_cast<float>(20 * std::exp(-d2 / 8));
}
float dem(int r, int c) { return hills(r, c); }
float movedWithMound(int r, int c) { return hills(r - 0.5, c - 1.0) + mound(r, c); }

// A press and release of the left button in the middle of `w`, moved by
// (dx, dy) between them, handed to the toolkit as the X server's would be:
// through its dispatch, where the busy program decides what gets through.
void pressAndRelease(Fl_Widget* w, int dx = 0, int dy = 0)
{
    Fl_Window* top = w->as_window() ? w->as_window() : w->window();
    const int x = w->as_window() ? w->w() / 2 : w->x() + w->w() / 2;
    const int y = w->as_window() ? w->h() / 2 : w->y() + w->h() / 2;
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = top->x_root() + x;
    Fl::e_y_root = top->y_root() + y;
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    Fl::e_state = FL_BUTTON1;
    Fl::e_is_click = 0;
    Fl::handle(FL_PUSH, top);
    Fl::e_x += dx;
    Fl::e_y += dy;
    Fl::handle(FL_DRAG, top);
    Fl::e_state = 0;
    Fl::handle(FL_RELEASE, top);
}

void wheel(Fl_Window* w)
{
    Fl::e_x = w->w() / 2;
    Fl::e_y = w->h() / 2;
    Fl::e_dx = 0;
    Fl::e_dy = 1;
    Fl::handle(FL_MOUSEWHEEL, w);
}

// What the program looked like while the fit of iteration 2 waited for
// Cancel, seen from the event loop's check callbacks.
struct DuringCoregistration {
    std::vector<std::string> labels; // the bar's labels, each once, in order
    bool looked = false;
    bool barShown = false, cancelShown = false, cancelUsable = false, barBesideCancel = false;
    bool toolsInactive = false, busyMeanwhile = false;
    bool statsClosed = false, viewerMoved = false;
    std::string labelAfterCancel;
    bool cancelUsableAfterPress = true;
    // Cancel has been pressed: the held fit may go on and look.
    std::atomic<bool> cancelPressed{false};
    Session* session = nullptr;
    Fl_Window* stats = nullptr;
};

void watchCoregistration(void* data)
{
    auto& s = *static_cast<DuringCoregistration*>(data);
    if (!s.session->busy())
        return;
    MainWindow& win = s.session->window();
    Viewer& viewer = s.session->viewer();
    Fl_Progress* bar = win.loadBar();
    const std::string label = bar->label() ? bar->label() : "";
    if (s.labels.empty() || s.labels.back() != label)
        s.labels.push_back(label);
    if (s.looked || label != coregProgressLabel(2))
        return;
    s.looked = true;
    Fl_Button* cancel = win.cancelButton();
    s.busyMeanwhile = s.session->busy();
    s.barShown = bar->visible();
    s.cancelShown = cancel->visible();
    s.cancelUsable = cancel->active_r();
    s.barBesideCancel = bar->x() + bar->w() <= cancel->x();
    s.toolsInactive =
        !win.switchBox(ViewSwitch::elevationError)->active_r() && !win.menuBar()->active_r() && !viewer.active_r();
    saveShot(&win, "coregistration_progress", false);
    // What the user tries meanwhile: close a window, turn and zoom the view.
    Fl::handle(FL_CLOSE, s.stats);
    s.statsClosed = !s.stats->shown();
    const ViewState v = viewer.view();
    pressAndRelease(&viewer, 40, 30); // a drag that turns the view
    wheel(&viewer);
    const ViewState& after = viewer.view();
    s.viewerMoved = after.xrotation != v.xrotation || after.zrotation != v.zrotation || after.eyevalue != v.eyevalue;
    pressAndRelease(cancel);
    s.cancelPressed = true;
    s.labelAfterCancel = bar->label() ? bar->label() : "";
    s.cancelUsableAfterPress = cancel->active();
}

class CoregWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        win().show();
        settle();
        seen.session = session.get();
    }
    void TearDown() override
    {
        coregIterationHook = nullptr;
        Fl::remove_check(watchCoregistration, &seen);
        win().hide();
        settle();
        DialogTest::TearDown();
    }
    void openPair(float (*comp)(int, int))
    {
        openThroughDialog(writeGrid("cw_dem.grd", 60, 70, 10, dem), writeGrid("cw_comp.grd", 60, 70, 10, comp),
                          &OpenDialog::demCheck);
        ASSERT_EQ(shownError(), "") << "test pair refused";
        settle();
    }
    void coregisterFromTheMenu() { choose("&Analysis/Co-register..."); }

    // Every fit the co-registration began; the fit `holdAt` waits until
    // Cancel has been pressed.
    void holdFitUntilCancel(int holdAt)
    {
        coregIterationHook = [this, holdAt](int iteration) {
            {
                std::lock_guard<std::mutex> lock(fitsMutex);
                fits.push_back(iteration);
            }
            if (iteration != holdAt)
                return;
            // Far more than the test needs; it only keeps a broken Cancel
            // from holding the test for ever.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!seen.cancelPressed && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        };
    }
    std::vector<int> fitsBegun()
    {
        std::lock_guard<std::mutex> lock(fitsMutex);
        return fits;
    }

    DuringCoregistration seen;
    std::mutex fitsMutex;
    std::vector<int> fits;
};

TEST_F(CoregWindowTest, CancelStopsAtTheNextFitAndLeavesEverythingAsItWas)
{
    openPair(movedWithMound);
    tick(box(ViewSwitch::elevationError), true);
    showStatistics(*session);
    seen.stats = statsWin;
    settle();
    const unsigned long long version = data().version(), compVersion = data().comparisonVersion();
    const GridData* demInUse = &data().dem();
    const std::string demLabel = win().demField->value(), compLabel = win().comparisonField->value();
    const int barX = win().loadBar()->x(), barW = win().loadBar()->w();
    const ViewState v = view();
    const Image before = drawnViewer(viewer());

    holdFitUntilCancel(2);
    Fl::add_check(watchCoregistration, &seen);
    coregisterFromTheMenu();
    Fl::remove_check(watchCoregistration, &seen);
    settle();

    // While it ran.
    ASSERT_TRUE(seen.looked) << "the bar never said \"" << coregProgressLabel(2)
                             << "\"; it said: " << ::testing::PrintToString(seen.labels);
    for (const std::string& label : seen.labels)
        EXPECT_TRUE(label.rfind("Co-registering", 0) == 0 || label == "Cancelling...")
            << "bar label \"" << label << '"';
    EXPECT_TRUE(seen.busyMeanwhile && seen.toolsInactive) << "the tools answered during the co-registration";
    EXPECT_TRUE(seen.barShown) << "no progress in the status row";
    EXPECT_TRUE(seen.cancelShown && seen.cancelUsable) << "no usable Cancel button while it ran";
    EXPECT_TRUE(seen.barBesideCancel) << "the bar runs under the Cancel button";
    EXPECT_FALSE(seen.statsClosed) << "a window closed during the co-registration";
    EXPECT_FALSE(seen.viewerMoved) << "the view turned or zoomed during the co-registration";
    EXPECT_EQ(seen.labelAfterCancel, "Cancelling...") << "the bar does not say Cancel was taken";
    EXPECT_FALSE(seen.cancelUsableAfterPress) << "Cancel still pressable once pressed";

    // It stopped at the next fit.
    EXPECT_EQ(fitsBegun(), (std::vector<int>{1, 2})) << "fits begun: the work went on after Cancel";

    // And nothing changed.
    EXPECT_EQ(coregWin, nullptr) << "a Co-registration window for a cancelled run";
    EXPECT_EQ(shownError(), "") << "a message for a cancelled run";
    EXPECT_EQ(dialogWindows(), std::vector<Fl_Window*>{statsWin}) << "windows opened or closed by the cancelled run";
    EXPECT_TRUE(data().version() == version && data().comparisonVersion() == compVersion && &data().dem() == demInUse)
        << "the data set changed";
    EXPECT_EQ(win().demField->value(), demLabel);
    EXPECT_EQ(win().comparisonField->value(), compLabel) << "the status row names another comparison grid";
    EXPECT_FALSE(win().loadBar()->visible()) << "the bar stays in the status row";
    EXPECT_TRUE(win().loadBar()->x() == barX && win().loadBar()->w() == barW) << "the bar did not take back its room";
    EXPECT_FALSE(win().cancelButton()->visible()) << "Cancel stays in the status row";
    EXPECT_FALSE(session->busy() || viewer().held()) << "still busy";
    EXPECT_TRUE(win().menuBar()->active_r() && viewer().active_r() && box(ViewSwitch::elevationError)->active() &&
                box(ViewSwitch::curvatureError)->active() && entry("&Analysis/Co-register...").active())
        << "tools stay inactive after the cancelled run";
    EXPECT_TRUE(box(ViewSwitch::elevationError)->value() && view().drawDiffColor) << "the Elev. box changed";
    EXPECT_TRUE(view().xrotation == v.xrotation && view().zrotation == v.zrotation && view().eyevalue == v.eyevalue)
        << "the view changed";
    EXPECT_EQ(differing(drawnViewer(viewer()), before), 0) << "the viewer shows another picture";
    saveShot(&win(), "coregistration_cancelled");

    // The next run is whole again.
    coregIterationHook = nullptr;
    coregisterFromTheMenu();
    ASSERT_NE(coregWin, nullptr) << "no window after a cancelled run; message: " << shownError();
    EXPECT_NE(childOf<Fl_Button>(coregWin, "Analyse the shifted grid"), nullptr);
}

TEST_F(CoregWindowTest, AShiftThatDidNotImproveTheFitOffersNoShiftedGrid)
{
    // The same surface 2 m higher: no shift lowers the spread, already 0.
    openPair([](int r, int c) { return dem(r, c) + 2; });
    coregisterFromTheMenu();
    ASSERT_NE(coregWin, nullptr) << "no window; message: " << shownError();
    const std::string text = childOf<Fl_Multiline_Output>(coregWin)->value();
    EXPECT_NE(text.find("Improved:    no ("), std::string::npos) << text;
    EXPECT_NE(text.find("kept as it was"), std::string::npos) << text;
    EXPECT_EQ(childOf<Fl_Button>(coregWin, "Analyse the shifted grid"), nullptr)
        << "the window offers a moved grid that was not moved";
    Fl_Button* none = childOf<Fl_Button>(coregWin, "No shifted grid to analyse");
    ASSERT_NE(none, nullptr) << "the window does not say there is no shifted grid";
    EXPECT_FALSE(none->active()) << "the button can be pressed";
    expectTidy(coregWin, "co-registration window, fit not improved");
    saveShot(coregWin, "coregistration_not_improved");

    // Its callback, should it be reached, puts nothing in use.
    const unsigned long long version = data().comparisonVersion();
    const std::string label = win().comparisonField->value();
    click(none);
    EXPECT_EQ(data().comparisonVersion(), version) << "the comparison grid was loaded again";
    EXPECT_EQ(win().comparisonField->value(), label) << "the status row calls the unmoved grid co-registered";
    EXPECT_NE(shownError().find("kept as it was"), std::string::npos) << shownError();
}

// The comparison grid in use written as a grid file, absent points as
// no-data, every height exactly as held.
std::string writeComparisonInUse(const DataSet& data, const std::string& name)
{
    const GridView comparison = data.comparisonView();
    Grid g = filled(comparison.rows, comparison.cols, 0.0f);
    g.extraLine = "NODATA_value -9999";
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            g.at(r, c) = comparison.isPresent(r, c) ? comparison.at(r, c) : -9999.0f;
    std::ofstream(tempPath(name), std::ios::binary) << g.text();
    return tempPath(name);
}

// The class colour of every cell of one difference layer.
std::vector<int> layerClasses(const DataSet& data, bool elevation)
{
    std::vector<int> out;
    const std::size_t cells = static_cast<std::size_t>(data.rows() - 1) * (data.cols() - 1);
    for (std::size_t k = 0; k < cells; ++k)
        out.push_back(elevation ? data.diffColorOfCell(k) : data.curveDiffColorOfCell(k));
    return out;
}

TEST_F(CoregWindowTest, AnalysingTheShiftedGridShowsTheLayerTheBoxesSay)
{
    struct Row {
        const char* box;
        ViewSwitch ticked;
        ViewSwitch other;
        bool elevation;
    };
    const Row rows[] = {
        {"Elev.", ViewSwitch::elevationError, ViewSwitch::curvatureDifference, true},
        {"Curv.", ViewSwitch::curvatureDifference, ViewSwitch::elevationError, false},
    };
    for (const Row& r : rows) {
        Fl_Check_Button* ticked = box(r.ticked);
        Fl_Check_Button* other = box(r.other);
        openPair(movedWithMound);
        if (!ticked->value())
            tick(ticked, true); // the other box goes off with it
        coregisterFromTheMenu();
        ASSERT_NE(coregWin, nullptr) << r.box << ": no window; message: " << shownError();
        click(childOf<Fl_Button>(coregWin, "Analyse the shifted grid"));
        ASSERT_EQ(shownError(), "") << r.box;
        settle();
        const Image shifted = drawnViewer(viewer());
        const std::vector<int> shiftedClasses = layerClasses(data(), r.elevation);
        EXPECT_TRUE(ticked->value() && !other->value()) << r.box << ": the boxes changed";
        saveShot(&win(), std::string("coregistration_analysed_") + (r.elevation ? "elev" : "curv"));

        // The same shifted grid loaded afresh, with the same box ticked.
        openThroughDialog(writeGrid("cw_dem.grd", 60, 70, 10, dem), writeComparisonInUse(data(), "cw_shifted.grd"),
                          &OpenDialog::demCheck);
        ASSERT_EQ(shownError(), "") << r.box << ": the shifted grid does not load";
        ASSERT_TRUE(ticked->value()) << r.box << ": the load unticked the box";
        settle();
        const Image fresh = drawnViewer(viewer());
        const std::vector<int> freshClasses = layerClasses(data(), r.elevation);
        int classed = 0;
        for (int colour : freshClasses)
            classed += colour != TERRAIN;
        ASSERT_GT(classed, 20) << r.box << ": too few classed cells for the picture to tell the layers apart";
        EXPECT_EQ(shiftedClasses, freshClasses) << r.box << ": other classes than a fresh load of the shifted grid";
        EXPECT_EQ(differing(shifted, fresh), 0)
            << r.box << ": the surface after \"Analyse the shifted grid\" is not the one a fresh load shows";

        // The picture tells the two layers apart, so the check above sees
        // the wrong one.
        tick(other, true);
        settle();
        EXPECT_GT(differing(drawnViewer(viewer()), fresh, 2), 500) << r.box << ": both layers look the same";
        tick(ticked, true);
        closeDialogWindows();
    }
}

} // namespace
} // namespace gui_test
