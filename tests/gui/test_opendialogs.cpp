// The open dialogs as a user meets them: kind boxes, refusals, a DEM opened
// with the defaults, comparison changes; and a load as a user lives it: the
// bar follows its stages, nothing else can start meanwhile, the viewer keeps
// the data set in use, and afterwards, loaded or refused, all is usable.
// Last, the dialogs against a session of the test's own making: they hand
// it exactly what was typed and ticked, and show what it answers.
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Value_Output.H>

#include <cmath>
#include <fstream>
#include <regex>

#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "model/errors.h"
#include "render/surfacecache.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

const std::string DEM_PATH = sampleData("alps_dem.grd");
const std::string DEM2_PATH = sampleData("alps_dem2.grd");
const std::string SPARSE_PATH = sampleData("alps_sparse.grd");

std::string smallGrid(const char* name)
{
    return writeGrid(name, 3, 3, 10, [](int r, int c) { return 100.0f + r + c; });
}

TEST_F(DialogTest, KindBoxesTickOneAtATimeAndOpenChecksTheFilesFirst)
{
    openPairDialog(*session);
    OpenDialog* d = openwin;
    struct Step {
        Fl_Check_Button* OpenDialog::*box;
        bool on;
        const char* ticked; // d, r, c for DEM, Sparse, Contour
        bool intervalUsable;
    };
    const Step steps[] = {
        {&OpenDialog::rawCheck, true, "r", true},   {&OpenDialog::demCheck, true, "d", false},
        {&OpenDialog::contCheck, true, "c", false}, {&OpenDialog::rawCheck, true, "r", true},
        {&OpenDialog::rawCheck, false, "", true},   {&OpenDialog::contCheck, true, "c", false},
        {&OpenDialog::contCheck, false, "", false},
    };
    int n = 0;
    for (const Step& s : steps) {
        tick(d->*(s.box), s.on);
        std::string ticked = std::string(d->demCheck->value() ? "d" : "") + (d->rawCheck->value() ? "r" : "") +
                             (d->contCheck->value() ? "c" : "");
        EXPECT_EQ(ticked, s.ticked) << "after click " << n;
        EXPECT_EQ(d->continput->active() != 0, s.intervalUsable) << "Contour Interval after click " << n;
        ++n;
    }
    // Open with no kind ticked, and a DEM that cannot be read: each gets its
    // message, its dialog stays for the user to correct, nothing loads.
    d->finput->value(DEM_PATH.c_str());
    d->finput2->value(DEM2_PATH.c_str());
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(shownError(), "You must select a comparison filetype.");
    OpenDialog* dem = openThroughDialog(tempPath("no_such_file.grd"));
    EXPECT_EQ(shownError(), "Invalid DEM file.");
    EXPECT_TRUE(d->shown() && dem->shown() && session->files().count == 0 && !viewer().open() && !data().loaded() &&
                !*win().demField->value())
        << "a refused Open closed its dialog or loaded something";
    saveShot(errorWin, "error_window");
}

TEST_F(DialogTest, DemAloneFillsTheStatusRowAndUnlocksItsTools)
{
    openDemDialog(*session);
    OpenDialog* d = openwin;
    d->finput->value(DEM_PATH.c_str());
    setCounter(d->vinput, 3);
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(shownError(), "") << "an error was shown";
    EXPECT_FALSE(d->shown()) << "the dialog stayed open after a successful open";
    EXPECT_TRUE(session->files().count == 1 && viewer().open() && data().rows() == 200 && data().cols() == 240)
        << "DEM not in use";
    EXPECT_EQ(std::string(win().demField->value()), DEM_PATH) << "DEM file name";
    EXPECT_STREQ(win().comparisonField->value(), "") << "a comparison file is named";
    EXPECT_TRUE(std::string(win().xCornerField->value()) == "600000.00" &&
                std::string(win().yCornerField->value()) == "5100000.00" &&
                std::string(win().cellSizeField->value()) == "30")
        << "corner and cell size: " << win().xCornerField->value() << ", " << win().yCornerField->value() << ", "
        << win().cellSizeField->value();
    EXPECT_EQ(win().exaggerationCounter->value(), 3) << "the exaggeration chosen in the dialog";
    EXPECT_EQ(data().mesh().exaggeration, 3) << "the mesh was not built with the chosen exaggeration";
    EXPECT_TRUE(view().treeLine == 1800 && view().slope == 50.0f)
        << "the dialog's tree line and vegetation slope not in use";
    EXPECT_TRUE(box(ViewSwitch::curvatureError)->active() && win().curvatureGraphButton->active())
        << "curvature tools still locked";
    EXPECT_FALSE(box(ViewSwitch::elevationError)->active()) << "comparison tools unlocked with a DEM alone";
    EXPECT_TRUE(std::isnan(rmseOf(data()))) << "no comparison grid: no RMSE";
    EXPECT_EQ(session->chooserStartDirectory(), sampleData("").substr(0, sampleData("").size() - 1))
        << "the next chooser does not start beside the file just opened";
    settle();
    EXPECT_EQ(openwin, nullptr) << "the closed dialog was kept";
}

TEST_F(DialogTest, SizeMismatchKeepsTheDataSetAndTheDialog)
{
    // The program as built without its GDAL module: nothing to align with.
    session = std::make_unique<Session>(GridIo{});
    openThroughDialog(DEM_PATH, DEM2_PATH, &OpenDialog::demCheck);
    const float corner = data().demView().at(10, 20);
    OpenDialog* d = openThroughDialog(DEM_PATH, smallGrid("small.grd"), &OpenDialog::contCheck, false);
    EXPECT_EQ(shownError().rfind("Grid sizes do not match: the DEM \"" + DEM_PATH + "\" has 200 x 240 cells", 0), 0u)
        << shownError();
    EXPECT_NE(shownError().find("Align to the DEM's grid"), std::string::npos) << "no way to align offered";
    Fl_Button* offer = childOf<Fl_Button>(errorWin, "Align and Open");
    ASSERT_NE(offer, nullptr) << "the message does not offer to align";
    EXPECT_TRUE(d->shown()) << "the dialog closed on a refused open";
    // Accepted, the offer ticks the box and opens again: this session has no
    // GDAL module, so the alignment itself is refused, by name.
    click(offer);
    EXPECT_TRUE(d->alignBox->value()) << "the offer left the box unticked";
    EXPECT_NE(shownError().find("it needs its GDAL module (orolith-gdal.so"), std::string::npos) << shownError();
    EXPECT_TRUE(d->shown()) << "the dialog closed on a refused alignment";
    EXPECT_TRUE(d->contCheck->value()) << "the kind ticked was lost";
    EXPECT_TRUE(session->files().count == 2 && data().hasComparison() && data().comparisonView().rows == 200)
        << "the comparison in use was dropped";
    EXPECT_EQ(data().demView().at(10, 20), corner) << "the DEM in use changed";
    EXPECT_EQ(std::string(win().comparisonField->value()), DEM2_PATH) << "the status row names the refused file";
    EXPECT_EQ(session->files().kind, DEM) << "the kind in use follows the refused file";
}

TEST_F(DialogTest, CommandLineDemIsOfferedOnce)
{
    session->offerStartupDem(DEM2_PATH);
    openDemDialog(*session);
    OpenDialog* d = openwin;
    EXPECT_EQ(std::string(d->finput->value()), DEM2_PATH) << "the command-line DEM is not offered";
    EXPECT_EQ(session->chooserStartDirectory() + "/alps_dem2.grd", DEM2_PATH)
        << "chooser not beside the command-line DEM";
    d->finput->value(DEM_PATH.c_str()); // the user types another name
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(std::string(win().demField->value()), DEM_PATH) << "the typed name was overridden";
    EXPECT_EQ(session->startupDem(), "") << "the command-line DEM is still pending";
    settle();
    openDemDialog(*session);
    EXPECT_STREQ(openwin->finput->value(), "") << "the command-line DEM was offered twice";
}

TEST_F(DialogTest, ChangingTheComparisonFile)
{
    openChangeDialog(*session);
    EXPECT_EQ(openwin, nullptr) << "a comparison file was offered with no DEM to compare with";
    openThroughDialog(DEM_PATH);
    settle();
    struct Row {
        std::string comp;
        const char* message;
    };
    for (const Row& r : {Row{"", "Invalid comparison file."}, Row{tempPath("none.grd"), "Invalid comparison file."},
                         Row{smallGrid("small_change.grd"), "Grid sizes do not match"}}) {
        openChangeDialog(*session);
        OpenDialog* d = openwin;
        EXPECT_TRUE(d->alignBox && d->alignBox->value()) << "the change dialog does not offer to align, ticked";
        d->ainput->value(r.comp.c_str());
        tick(d->alignBox, false);
        click(childOf<Fl_Button>(d, "Open"));
        EXPECT_EQ(shownError().rfind(r.message, 0), 0u) << "change to \"" << r.comp << "\": " << shownError();
        EXPECT_TRUE(d->shown()) << "the change dialog closed on a refused file";
        EXPECT_TRUE(session->files().count == 1 && !data().hasComparison())
            << "comparison data claimed after \"" << r.comp << "\"";
        EXPECT_STREQ(win().comparisonField->value(), "") << "the status row names a file not loaded";
        click(childOf<Fl_Button>(errorWin, "OK"));
        settle();
    }
    openChangeDialog(*session);
    OpenDialog* d = openwin;
    d->ainput->value(SPARSE_PATH.c_str());
    tick(d->rawCheck, true);
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(shownError(), "") << "a good comparison file was refused";
    EXPECT_FALSE(d->shown()) << "the change dialog stayed open";
    EXPECT_TRUE(session->files().count == 2 && data().hasComparison() && session->files().kind == SPARSEF)
        << "comparison data not in use";
    EXPECT_EQ(std::string(win().comparisonField->value()), SPARSE_PATH);
    EXPECT_TRUE(box(ViewSwitch::elevationError)->active() && win().differenceGraphButton->active())
        << "comparison tools still locked";
}

TEST_F(DialogTest, EachButtonActsOnItsOwnWindow)
{
    openDemDialog(*session);
    OpenDialog* older = openwin;
    older->finput->value(DEM_PATH.c_str());
    openDemDialog(*session);
    OpenDialog* newer = openwin;
    newer->finput->value(DEM2_PATH.c_str());
    click(childOf<Fl_Button>(older, "Open"));
    EXPECT_EQ(std::string(win().demField->value()), DEM_PATH) << "the older dialog's Open read the newer one";
    EXPECT_FALSE(older->shown()) << "the older dialog stayed open";
    EXPECT_TRUE(newer->shown()) << "the newer dialog closed";

    errorMessage(DEM_ERR);
    Fl_Window* first = errorWin;
    errorMessage(COMP_ERR);
    Fl_Window* second = errorWin;
    click(childOf<Fl_Button>(first, "OK"));
    EXPECT_FALSE(first->shown()) << "OK did not close its own message";
    EXPECT_TRUE(second->shown()) << "OK closed the newer message";
    errorMessage(7);
    EXPECT_EQ(shownError(), "") << "an unknown code shows a message";
    EXPECT_STREQ(errorWin->label(), "File Error");
}

// What the toolkit's check callbacks saw, called from the Fl::check of every
// progress step of a load.
struct DuringLoad {
    int steps = 0;
    std::vector<std::string> labels;
    bool barHidden = false, menuUsable = false, dialogUsable = false, notBusy = false;
    bool closedByTheUser = false, secondLoadStarted = false;
    bool pictureChanged = false, buffersBuilt = false;
    // Set by the test.
    Session* session = nullptr;
    OpenDialog* dialog = nullptr;
    OpenDialog* other = nullptr;
    Image before;
    int builds = 0;
};

void watchLoad(void* data)
{
    auto& s = *static_cast<DuringLoad*>(data);
    MainWindow& win = s.session->window();
    Viewer& viewer = s.session->viewer();
    ++s.steps;
    s.labels.push_back(win.loadBar()->label() ? win.loadBar()->label() : "");
    s.barHidden |= !win.loadBar()->visible();
    s.menuUsable |= win.menuBar()->active_r() != 0 || viewer.active_r() != 0;
    s.dialogUsable |= s.dialog->active_r() != 0;
    s.notBusy |= !s.session->busy();
    // The user closes the dialog, and presses Open in another one.
    Fl::handle(FL_CLOSE, s.dialog);
    s.closedByTheUser |= !s.dialog->shown();
    if (s.other) {
        const std::string before = win.demField->value();
        s.other->finput->value(sampleData("alps_dem.grd").c_str());
        click(childOf<Fl_Button>(s.other, "Open"));
        s.secondLoadStarted |= win.demField->value() != before || !s.other->shown();
    }
    if (s.labels.back().rfind("Computing curvature", 0) == 0)
        saveShot(&win, "main_window_loading", false);
    // A repaint of the viewer meanwhile.
    if (s.before.w) {
        const Image now = drawnViewer(viewer);
        s.pictureChanged |= now.rgb != s.before.rgb;
        s.buffersBuilt |= viewer.surfaceCache().builds() != s.builds;
    }
}

class BusyTest : public DialogTest {
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
        Fl::remove_check(watchLoad, &seen);
        win().hide();
        settle();
        DialogTest::TearDown();
    }
    // Presses Open in `d` with its fields as they are, watching the load.
    void openWatched(OpenDialog* d)
    {
        seen.dialog = d;
        Fl::add_check(watchLoad, &seen);
        click(childOf<Fl_Button>(d, "Open"));
        Fl::remove_check(watchLoad, &seen);
    }
    // Everything usable again after a load, whatever its outcome.
    void expectIdle(const char* when)
    {
        EXPECT_FALSE(win().loadBar()->visible()) << when << ": the bar stays in the status row";
        EXPECT_TRUE(win().menuBar()->active_r() && viewer().active_r()) << when << ": the main window stays inactive";
        EXPECT_FALSE(session->busy() || viewer().held()) << when << ": still busy";
    }
    DuringLoad seen;
};

TEST_F(BusyTest, ALoadShowsItsProgressAndLocksTheWindows)
{
    ASSERT_TRUE(openThroughDialog(sampleData("alps_dem.grd")));
    settle();
    seen.before = drawnViewer(viewer());
    seen.builds = viewer().surfaceCache().builds();
    openDemDialog(*session);
    seen.other = openwin;
    // A grid of another size: the picture of the old one must stay whole.
    openDemDialog(*session);
    OpenDialog* d = openwin;
    d->finput->value(writeGrid("other.grd", 30, 40, 10, [](int r, int c) { return 500.0f + 9 * r - 4 * c; }).c_str());
    openWatched(d);

    ASSERT_GE(seen.steps, 3) << "the load's stages did not reach the event loop";
    EXPECT_FALSE(seen.barHidden) << "a stage of the load without the bar";
    for (const std::string& label : seen.labels)
        EXPECT_TRUE(std::regex_match(label, std::regex("[A-Z][a-z ]+ [0-9]+ %"))) << "bar label \"" << label << '"';
    EXPECT_EQ(seen.labels.front(), "Reading 0 %");
    EXPECT_EQ(seen.labels.back(), "Done 100 %");
    EXPECT_FALSE(seen.menuUsable) << "menu or viewer usable during the load";
    EXPECT_FALSE(seen.dialogUsable) << "the dialog usable during its own load";
    EXPECT_FALSE(seen.notBusy) << "the program not busy during a load";
    EXPECT_FALSE(seen.closedByTheUser) << "the dialog was closed under its own load";
    EXPECT_FALSE(seen.secondLoadStarted) << "another dialog's Open acted during the load";
    EXPECT_FALSE(seen.pictureChanged) << "the viewer stopped showing the data set in use";
    EXPECT_FALSE(seen.buffersBuilt) << "the surface was built from a half-replaced model";

    EXPECT_EQ(shownError(), "");
    EXPECT_TRUE(data().rows() == 30 && session->files().count == 1) << "the new grid is not in use";
    EXPECT_FALSE(d->shown()) << "the dialog stayed open after its load";
    expectIdle("after a load");
    EXPECT_TRUE(seen.other->active_r()) << "the other dialog stays inactive";
    EXPECT_NE(drawnViewer(viewer()).rgb, seen.before.rgb) << "the viewer does not show the new grid";
}

TEST_F(BusyTest, AFailedLoadLeavesEverythingAsItWas)
{
    ASSERT_TRUE(openThroughDialog(sampleData("alps_dem.grd")));
    settle();
    const bool curvatureUsable = box(ViewSwitch::curvatureError)->active();
    const std::string bad = tempPath("bad.grd");
    std::ofstream(bad) << "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2 3\n4 12,5 6\n";
    openDemDialog(*session);
    OpenDialog* d = openwin;
    d->finput->value(bad.c_str());
    openWatched(d);

    EXPECT_GE(seen.steps, 1) << "the bar was not shown for the failed load";
    const std::string message = shownError();
    EXPECT_TRUE(message.find(bad) != std::string::npos && message.find("row 1, column 1") != std::string::npos)
        << "the message does not name the file, row and column: " << message;
    auto* text = childOf<Fl_Box>(errorWin);
    int tw = text->w(), th = 0;
    measureText(message, FL_HELVETICA, FL_NORMAL_SIZE, tw, th);
    EXPECT_TRUE(tw <= text->w() && th <= text->h() && text->x() + text->w() <= errorWin->w()) << "message cut";
    expectIdle("after a failed load");
    EXPECT_TRUE(d->shown() && d->active_r()) << "the dialog cannot be corrected";
    EXPECT_TRUE(data().rows() == 200 && session->files().count == 1 && viewer().open())
        << "the data set in use was lost";
    EXPECT_EQ(std::string(win().demField->value()), sampleData("alps_dem.grd")) << "the status row names the bad file";
    EXPECT_EQ(box(ViewSwitch::curvatureError)->active() != 0, curvatureUsable) << "a tool changed its activity";
    saveShot(&win(), "main_window_after_failed_load");
    saveShot(errorWin, "error_window_reader");
}

} // namespace
} // namespace gui_test
