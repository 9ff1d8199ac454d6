// A load through the open dialogs as a user lives it: the status row's bar
// follows the load's stages, every window is inactive and nothing the user
// does starts another load, the viewer keeps showing the data set in use,
// and afterwards, loaded or refused, everything is usable again.
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Progress.H>

#include <fstream>
#include <regex>

#include "app/busy.h"
#include "render/surfacecache.h"
#include "tests/gui/dialog_fixtures.h"

namespace gui_test {
namespace {

// What the toolkit's check callbacks saw, called from the Fl::check of every
// progress step of a load.
struct DuringLoad {
    int steps = 0;
    std::vector<std::string> labels;
    bool barHidden = false, menuUsable = false, dialogUsable = false, notBusy = false;
    bool closedByTheUser = false, secondLoadStarted = false;
    bool pictureChanged = false, buffersBuilt = false;
    // Set by the test.
    OpenDialog* dialog = nullptr;
    OpenDialog* other = nullptr;
    Image before;
    int builds = 0;
};

void watchLoad(void* data)
{
    auto& s = *static_cast<DuringLoad*>(data);
    ++s.steps;
    s.labels.push_back(loadBar->label() ? loadBar->label() : "");
    s.barHidden |= !loadBar->visible();
    s.menuUsable |= menubar->active_r() != 0 || gl->active_r() != 0;
    s.dialogUsable |= s.dialog->active_r() != 0;
    s.notBusy |= !busy();
    // The user closes the dialog, and presses Open in another one.
    Fl::handle(FL_CLOSE, s.dialog);
    s.closedByTheUser |= !s.dialog->shown();
    if (s.other) {
        const std::string before = file1Label->value();
        s.other->finput->value(sampleData("alps_dem.grd").c_str());
        click(childOf<Fl_Button>(s.other, "Open"));
        s.secondLoadStarted |= file1Label->value() != before || !s.other->shown();
    }
    if (s.labels.back().rfind("Computing curvature", 0) == 0)
        saveShot(win, "main_window_loading", false);
    // A repaint of the viewer meanwhile.
    if (s.before.w) {
        const Image now = drawnViewer();
        s.pictureChanged |= now.rgb != s.before.rgb;
        s.buffersBuilt |= surfaceBuilds() != s.builds;
    }
}

class BusyTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        win->show();
        settle();
    }
    void TearDown() override
    {
        Fl::remove_check(watchLoad, &seen);
        DialogTest::TearDown();
        win->hide();
        settle();
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
    static void expectIdle(const char* when)
    {
        EXPECT_FALSE(loadBar->visible()) << when << ": the bar stays in the status row";
        EXPECT_TRUE(menubar->active_r() && gl->active_r()) << when << ": the main window stays inactive";
        EXPECT_FALSE(busy() || holdSurface) << when << ": still busy";
    }
    DuringLoad seen;
};

TEST_F(BusyTest, ALoadShowsItsProgressAndLocksTheWindows)
{
    ASSERT_TRUE(openThroughDialog(sampleData("alps_dem.grd")));
    settle();
    seen.before = drawnViewer();
    seen.builds = surfaceBuilds();
    file(nullptr, nullptr);
    seen.other = openwin;
    // A grid of another size: the picture of the old one must stay whole.
    file(nullptr, nullptr);
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
    EXPECT_TRUE(mt.getRows() == 30 && FILE_CONST == 1) << "the new grid is not in use";
    EXPECT_FALSE(d->shown()) << "the dialog stayed open after its load";
    expectIdle("after a load");
    EXPECT_TRUE(seen.other->active_r()) << "the other dialog stays inactive";
    EXPECT_NE(drawnViewer().rgb, seen.before.rgb) << "the viewer does not show the new grid";
}

TEST_F(BusyTest, AFailedLoadLeavesEverythingAsItWas)
{
    ASSERT_TRUE(openThroughDialog(sampleData("alps_dem.grd")));
    settle();
    const bool curvatureUsable = Cerr->active();
    const std::string bad = tempPath("bad.grd");
    std::ofstream(bad) << "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2 3\n4 12,5 6\n";
    file(nullptr, nullptr);
    OpenDialog* d = openwin;
    d->finput->value(bad.c_str());
    openWatched(d);

    EXPECT_GE(seen.steps, 1) << "the bar was not shown for the failed load";
    const std::string message = shownError();
    EXPECT_TRUE(message.find(bad) != std::string::npos && message.find("row 1, column 1") != std::string::npos)
        << "the message does not name the file, row and column: " << message;
    auto* box = childOf<Fl_Box>(errorWin);
    int tw = box->w(), th = 0;
    measureText(message, FL_HELVETICA, FL_NORMAL_SIZE, tw, th);
    EXPECT_TRUE(tw <= box->w() && th <= box->h() && box->x() + box->w() <= errorWin->w()) << "message cut";
    expectIdle("after a failed load");
    EXPECT_TRUE(d->shown() && d->active_r()) << "the dialog cannot be corrected";
    EXPECT_TRUE(mt.getRows() == 200 && FILE_CONST == 1 && OPEN) << "the data set in use was lost";
    EXPECT_EQ(std::string(file1Label->value()), sampleData("alps_dem.grd")) << "the status row names the bad file";
    EXPECT_EQ(Cerr->active() != 0, curvatureUsable) << "a tool changed its activity";
    saveShot(win, "main_window_after_failed_load");
    saveShot(errorWin, "error_window_reader");
}

} // namespace
} // namespace gui_test
