// The main window as a user meets it: which tools a data set unlocks, hiding
// the tool panel, menu choices refused without data, and check boxes, menu
// ticks and viewer flags staying in step. Each widget is worked as a click
// or a menu choice would work it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Round_Button.H>

#include <algorithm>
#include <functional>
#include <set>

#include "dialogs/names.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

using S = ViewSwitch;

// The menu entries, by the paths a user reads in the menu bar.
const char* const TOOLS_ENTRY = "&Display/Display\\/Hide Tools";

// A 4 x 4 DEM with a bump and comparison data a metre off here and there.
float tinyDem(int r, int c) { return r == 1 && c == 1 ? 110.0f : 100.0f + r + c; }
float tinyComparison(int r, int c) { return r == 1 && c == 1 ? 109.0f : tinyDem(r, c) + (r == 3 && c == 3); }
std::string tinyDemFile() { return writeGrid("tiny.grd", 4, 4, 10, tinyDem); }
std::string tinyComparisonFile() { return writeGrid("tinyc.grd", 4, 4, 10, tinyComparison); }
// Sparse points at a few cells, none elsewhere.
std::string tinySparseFile()
{
    return writeGrid("tinys.grd", 4, 4, 10, [](int r, int c) { return (r + c) % 3 == 0 ? tinyDem(r, c) : 0.0f; });
}

class MainWindowTools : public MainWindowTest {
protected:
    // What a data set of `files` files (2: with a comparison of kind `kind`)
    // leaves usable.
    void expectUsable(int files, int kind, const char* when)
    {
        MainWindow& w = win();
        for (Fl_Widget* t :
             std::vector<Fl_Widget*>{box(S::magnifier), box(S::aspectColors), box(S::sun), w.curvatureUnitCounter,
                                     box(S::axes), box(S::lighting), box(S::heightColors), box(S::curvatureError),
                                     w.curvatureGraphButton, box(S::profile)})
            EXPECT_EQ(t->active() != 0, files >= 1) << when << ": DEM tool \"" << t->label() << '"';
        for (Fl_Widget* t : std::vector<Fl_Widget*>{box(S::glyphs), w.differenceUnitCounter, w.heightClassGraphButton,
                                                    w.differenceGraphButton, box(S::heightClasses), box(S::contours),
                                                    box(S::elevationError), box(S::curvatureDifference)})
            EXPECT_EQ(t->active() != 0, files == 2) << when << ": comparison tool \"" << t->label() << '"';
        const std::set<const Fl_Menu_Item*> demEntries = {
            &entry("&Display/Magnifier"),  &entry("&Display/Lighting"),      &entry("&Display/Axes"),
            &entry("&Display/Sun"),        &entry("&Display/Height Colors"), &entry("&Display/Slope Colors"),
            &entry("&File/Save Image..."), &entry("&File/Save Profile..."),  &entry("&File/&Open.../Checkpoints..."),
            &entry("&View/Legend")};
        const std::set<const Fl_Menu_Item*> comparisonEntries = {&entry("&Display/Contour\\/Ref. Data"),
                                                                 &entry("E&rror/Color Height Classes"),
                                                                 &entry("E&rror/Curvature Error"),
                                                                 &entry("E&rror/Local Difference Error"),
                                                                 &entry("&Analysis/Graph"),
                                                                 &entry("&Analysis/Make Sparse file"),
                                                                 &entry("&Analysis/Stable terrain...")};
        const Fl_Menu_Item* coregister = &entry("&Analysis/Co-register...");
        const Fl_Menu_Item* menu = w.menuBar()->menu();
        for (int pos = 0; pos < w.menuBar()->size(); ++pos) {
            const Fl_Menu_Item& it = menu[pos];
            bool usable = demEntries.count(&it) ? files >= 1 : comparisonEntries.count(&it) ? files == 2 : true;
            if (&it == coregister)
                usable = files == 2 && kind == DEM;
            EXPECT_TRUE(!it.label() || (it.active() != 0) == usable) << when << ": menu \"" << it.label() << '"';
        }
        EXPECT_FALSE(w.slopeDifferenceBox->active()) << when << ": the \"Slope\" difference box is usable";
        EXPECT_TRUE(w.exaggerationCounter->active() && w.profileCounter->active() &&
                    w.profileAlongRowButton->active() && w.profileAlongColumnButton->active())
            << when << ": exaggeration, profile counter or profile axis greyed out";
    }
    // A key typed while the viewer has the focus.
    int press(int key, int state = 0)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        return viewer().handle(FL_KEYBOARD);
    }
    // A menu choice: the toolkit flips a toggle's tick, then calls back.
    void choose(const char* path) { win().menuBar()->picked(&entry(path)); }
};

// --- which tools a data set unlocks -------------------------------------------

TEST_F(MainWindowTools, ToolsFollowTheDataSet)
{
    expectUsable(0, 0, "at start");
    ASSERT_TRUE(load(tinyDemFile()));
    expectUsable(1, 0, "DEM alone");
    ASSERT_TRUE(load(tinyDemFile(), tinyComparisonFile(), DEM));
    expectUsable(2, DEM, "DEM with a comparison DEM");
    ASSERT_TRUE(load(tinyDemFile(), tinySparseFile(), SPARSEF));
    expectUsable(2, SPARSEF, "DEM with sparse data");
    box(S::heightColors)->value(1);
    box(S::heightColors)->do_callback();
    ASSERT_TRUE(view().drawColors);
    ASSERT_TRUE(load(tinyDemFile()));
    expectUsable(1, 0, "a DEM alone after the pair");
    EXPECT_TRUE(box(S::heightColors)->value() && entry("&Display/Height Colors").value() && view().drawColors)
        << "greying and ungreying changed the \"Height Colors\" box, tick or scheme";
    press('l'); // the relief unlit with the key l in the viewer
    EXPECT_FALSE(view().lighting) << "the key l did not switch the shading off";
    EXPECT_FALSE(box(S::lighting)->value() || entry("&Display/Lighting").value())
        << "shown lit while the relief is unlit";
    press('l');
    EXPECT_TRUE(box(S::lighting)->value() && entry("&Display/Lighting").value())
        << "shown unlit while the relief is lit";
}

TEST_F(MainWindowTools, HidingToolsGivesThePanelsPlaceToTheViewerAndShowingRestoresTheLayout)
{
    MainWindow& w = win();
    Viewer& gl = viewer();
    // Nothing open: hiding and showing unlocks nothing.
    choose(TOOLS_ENTRY);
    choose(TOOLS_ENTRY);
    EXPECT_FALSE(box(S::magnifier)->active() || entry("&Display/Magnifier").active())
        << "showing the tools unlocked them, no data";
    EXPECT_EQ(gl.w(), 650) << "hiding and showing changed the layout";

    ASSERT_TRUE(load(tinyDemFile(), tinyComparisonFile(), DEM));
    choose(TOOLS_ENTRY); // hidden
    EXPECT_TRUE(!w.toolPanelShown() && gl.x() == 0 && gl.w() == 850 && gl.h() == 625)
        << "viewer does not reach over the tool panel: " << gl.w() << " wide";
    EXPECT_FALSE(entry(TOOLS_ENTRY).value()) << "the menu ticks the hidden tools as shown";
    EXPECT_FALSE(w.toolPanel()->visible()) << "the hidden panel still shows";
    EXPECT_EQ(w.statisticsButton->x() + w.statisticsButton->w(), 845)
        << "the status row does not widen with the viewer";
    EXPECT_FALSE(box(S::heightClasses)->active() || entry("E&rror/Local Difference Error").active())
        << "hidden tools still usable from the menu";
    EXPECT_TRUE(entry("&File/Save Image...").active() && entry("&File/Save Profile...").active())
        << "the widened viewer's picture or profile cannot be saved";
    EXPECT_TRUE(entry("&View/Legend").active()) << "the widened picture's legend cannot be turned off";
    w.resize(0, 0, 1050, 836); // the user makes the window larger while the panel is hidden
    EXPECT_TRUE(gl.w() == 1050 && gl.h() == 725) << "hidden panel shows after resizing";
    EXPECT_FALSE(w.toolPanel()->visible()) << "resizing brought the hidden panel back";
    EXPECT_EQ(w.readoutField->y() + w.readoutField->h(), 834) << "the status row left the bottom edge";
    choose(TOOLS_ENTRY); // shown
    EXPECT_TRUE(w.toolPanelShown() && gl.w() == 850 && gl.h() == 725 && w.toolPanel()->visible())
        << "viewer not back beside the panel of the larger window: " << gl.w() << " x " << gl.h();
    EXPECT_TRUE(entry(TOOLS_ENTRY).value()) << "the menu ticks the shown tools as hidden";
    EXPECT_TRUE(w.toolPanel()->x() == 850 && w.toolPanel()->w() == 200) << "the panel is not at the right edge";
    EXPECT_TRUE(box(S::heightClasses)->active() && entry("E&rror/Local Difference Error").active())
        << "the data set's tools not restored";
    w.resize(0, 0, 850, 700);
    EXPECT_TRUE(gl.w() == 650 && w.toolPanel()->x() == 650) << "resizing ignored after showing the tools again";
}

// --- boxes, menu ticks and viewer flags in step -------------------------------

class Switches : public MainWindowTools {
protected:
    void SetUp() override
    {
        MainWindowTools::SetUp();
        ASSERT_TRUE(load(tinyDemFile(), tinyComparisonFile(), DEM));
    }
    // A click: the toolkit flips the box, then calls back.
    static void click(Fl_Button* box)
    {
        box->value(!box->value());
        box->do_callback();
    }
    std::vector<int> diffColors(bool curvature = false)
    {
        std::vector<int> c;
        const std::size_t cells = static_cast<std::size_t>(data().rows()) * data().cols();
        for (std::size_t k = 0; k < cells; ++k)
            c.push_back(curvature ? data().curveDiffColorOfCell(k) : data().diffColorOfCell(k));
        return c;
    }
    // Box, menu tick and viewer flag all say `on`.
    ::testing::AssertionResult shows(ViewSwitch id, bool on)
    {
        Fl_Button* b = box(id);
        const Fl_Menu_Item* tick = win().switchEntry(id);
        const bool flag = switchOn(view(), id);
        if ((b->value() != 0) == on && (!tick || (tick->value() != 0) == on) && flag == on)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << '"' << b->label() << "\": box " << int(b->value()) << ", tick "
                                             << (tick ? tick->value() : -1) << ", flag " << flag;
    }
};

TEST_F(Switches, SchemesAndErrorDisplaysExcludeEachOther)
{
    // Each step, by click or menu choice, and the boxes of the two groups on
    // after it; boxes, ticks and flags stay in step.
    const ViewSwitch boxes[] = {S::aspectColors,   S::heightColors,   S::contours,           S::heightClasses,
                                S::curvatureError, S::elevationError, S::curvatureDifference};
    const std::pair<std::function<void()>, std::vector<ViewSwitch>> steps[] = {
        {[&] { click(box(S::aspectColors)); }, {S::aspectColors}},
        {[&] { click(box(S::heightColors)); }, {S::heightColors}},
        {[&] { choose("&Display/Contour\\/Ref. Data"); }, {S::contours}},
        {[&] { choose("&Display/Height Colors"); }, {S::heightColors}},
        {[&] { click(box(S::curvatureError)); }, {S::heightColors, S::curvatureError}},
        {[&] { click(box(S::heightColors)); }, {S::curvatureError}},
        {[&] { click(box(S::heightClasses)); }, {S::heightClasses, S::curvatureError}},
        {[&] { click(box(S::elevationError)); }, {S::heightClasses, S::elevationError}},
        {[&] { click(box(S::curvatureDifference)); }, {S::heightClasses, S::curvatureDifference}},
        {[&] { choose("E&rror/Curvature Error"); }, {S::heightClasses, S::curvatureError}},
        // The next click after a menu choice moves box and tick alike.
        {[&] { click(box(S::curvatureError)); }, {S::heightClasses}},
        {[&] { choose("E&rror/Color Height Classes"); }, {}},
    };
    int n = 0;
    for (const auto& [step, on] : steps) {
        step();
        for (ViewSwitch id : boxes)
            EXPECT_TRUE(shows(id, std::count(on.begin(), on.end(), id) != 0)) << "after step " << n;
        ++n;
    }
}

TEST_F(Switches, KeysWorkTheBoxesAndTheirMenuEntries)
{
    const std::pair<int, int> keys[] = {{'a', 0}, {'p', 0}, {'c', 0}, {'n', 0}, {'r', FL_SHIFT}};
    const ViewSwitch ids[] = {S::axes, S::magnifier, S::curvatureError, S::contours, S::elevationError};
    for (int k = 0; k < 5; ++k) {
        const auto [key, state] = keys[k];
        press(key, state);
        EXPECT_TRUE(shows(ids[k], true)) << "key " << char(key) << " once";
        press(key, state);
        EXPECT_TRUE(shows(ids[k], false)) << "key " << char(key) << " twice";
    }
    press('l');
    EXPECT_TRUE(shows(S::lighting, false)) << "key l";
    // The keys switch the rest of their exclusion group off, as the boxes do.
    click(box(S::heightColors));
    press('n');
    EXPECT_TRUE(shows(S::heightColors, false)) << "key n beside \"Height Colors\"";
    // Keys for another widget that pass the viewer by are not the viewer's.
    Fl::e_keysym = 'a';
    Fl::e_state = 0;
    EXPECT_EQ(viewer().handle(FL_SHORTCUT), 0) << "the viewer takes keys typed elsewhere";
    EXPECT_FALSE(view().drawAxes) << "a key typed elsewhere switched the axes on";
}

TEST_F(Switches, ShiftRShowsFreshElevationClassesAndEqualsMovesTheCounter)
{
    const std::vector<int> elevation = diffColors();
    ASSERT_NE(diffColors(true), elevation) << "the grid does not tell the two classings apart";
    press('r', FL_SHIFT);
    EXPECT_TRUE(view().drawDiffColor && !view().drawCurveDiff) << "Shift+R did not show the elevation classes";
    EXPECT_EQ(diffColors(), elevation) << "curvature-difference classes shown as elevation differences";
    EXPECT_TRUE(view().drawDiff) << "difference marks not switched with Shift+R";
    press('=');
    EXPECT_EQ(win().exaggerationCounter->value(), 2) << "the exaggeration counter lags behind key =";
}

TEST_F(MainWindowTools, MenuChoicesNeedTheirData)
{
    struct Entry {
        ViewSwitch id;
        const char* path;
        int needs; // files in use
    };
    const Entry entries[] = {{S::magnifier, "&Display/Magnifier", 1},
                             {S::axes, "&Display/Axes", 1},
                             {S::sun, "&Display/Sun", 1},
                             {S::heightColors, "&Display/Height Colors", 1},
                             {S::aspectColors, "&Display/Slope Colors", 1},
                             {S::contours, "&Display/Contour\\/Ref. Data", 2},
                             {S::elevationError, "E&rror/Local Difference Error", 2}};
    auto shows = [&](const Entry& e, bool on) {
        return (box(e.id)->value() != 0) == on && (entry(e.path).value() != 0) == on && switchOn(view(), e.id) == on;
    };
    // Chosen with one file too few in use (the entries greyed out, but
    // chosen all the same), then with what they need.
    for (int files : {0, 1, 2}) {
        if (files == 1) {
            ASSERT_TRUE(load(tinyDemFile()));
        } else if (files == 2) {
            ASSERT_TRUE(load(tinyDemFile(), tinyComparisonFile(), DEM));
        }
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.path);
            if (files == e.needs - 1) {
                choose(e.path);
                EXPECT_TRUE(shows(e, false)) << "chosen with " << files << " files in use";
            } else if (files == e.needs) {
                // A refused choice leaves box and tick together for the next click.
                Fl_Button* b = box(e.id);
                b->value(1);
                b->do_callback();
                EXPECT_TRUE(shows(e, true)) << "a click after the refused choice";
                b->value(0);
                b->do_callback();
                choose(e.path);
                EXPECT_TRUE(shows(e, true)) << "chosen with " << files << " files in use";
                choose(e.path);
                EXPECT_TRUE(shows(e, false)) << "chosen again";
            }
        }
    }
}

TEST_F(MainWindowTools, HeightClassesNeedAContourInterval)
{
    Fl_Button* heights = box(S::heightClasses);
    Fl_Button* colours = box(S::heightColors);
    auto click = [](Fl_Button* b) {
        b->value(!b->value());
        b->do_callback();
    };
    auto shows = [&](ViewSwitch id, bool on) {
        return (box(id)->value() != 0) == on && (win().switchEntry(id)->value() != 0) == on &&
               switchOn(view(), id) == on;
    };
    ASSERT_TRUE(load(tinyDemFile()));
    click(colours);
    click(heights);
    EXPECT_TRUE(shows(S::heightClasses, false)) << "ticked with a DEM alone";
    EXPECT_TRUE(shows(S::heightColors, true)) << "a refused tick switched \"Height Colors\" off";
    ASSERT_TRUE(load(tinyDemFile(), tinyComparisonFile(), DEM));
    ASSERT_GT(data().contourInterval(), 0);
    click(heights);
    EXPECT_TRUE(shows(S::heightClasses, true)) << "with contour data";
    ASSERT_TRUE(load(tinyDemFile())); // a DEM alone opened since
    click(colours);
    EXPECT_TRUE(shows(S::heightClasses, false)) << "switched off by \"Height Colors\"";

    // Comparison data without a single height: no contour interval.
    auto dem = [](int r, int c) { return 100.0f + r + c; };
    ASSERT_TRUE(load(writeGrid("cdem.grd", 4, 4, 10, dem),
                     writeGrid("none.grd", 4, 4, 10, [](int, int) { return 0.0f; }), DEM));
    ASSERT_EQ(data().contourInterval(), 0);
    heights->value(1);
    heights->do_callback();
    EXPECT_FALSE(heights->value() || entry("E&rror/Color Height Classes").value() || view().colorHeightClasses)
        << "after a click";
    choose("E&rror/Color Height Classes");
    EXPECT_FALSE(heights->value() || entry("E&rror/Color Height Classes").value() || view().colorHeightClasses)
        << "from the menu";
    click(heights);
    EXPECT_FALSE(heights->value() || entry("E&rror/Color Height Classes").value())
        << "the next click left box and menu apart";
}

TEST_F(Switches, ProfileAxisRowCounterAndExaggeration)
{
    MainWindow& w = win();
    Fl_Round_Button* alongRow = w.profileAlongRowButton;       // "Y-Axis"
    Fl_Round_Button* alongColumn = w.profileAlongColumnButton; // "X-Axis"
    Fl_Counter* counter = w.profileCounter;
    alongColumn->value(1);
    alongColumn->do_callback();
    EXPECT_TRUE(!alongRow->value() && view().profView == HORIZ) << "\"X-Axis\" did not take over from \"Y-Axis\"";
    alongRow->value(1);
    alongRow->do_callback();
    EXPECT_TRUE(!alongColumn->value() && view().profView == VERTP) << "\"Y-Axis\" did not take over from \"X-Axis\"";
    alongRow->value(0); // clicked again while on
    alongRow->do_callback();
    EXPECT_TRUE(alongRow->value() && !alongColumn->value() && view().profView == VERTP) << "both directions off";

    counter->value(2.9);
    counter->do_callback();
    EXPECT_EQ(view().profileYpos, 2) << "profile row not truncated from the counter";
    counter->value(4); // the tiny grid has rows 0 to 3
    counter->do_callback();
    EXPECT_TRUE(view().profileYpos == 2 && counter->value() == 2) << "counter and profile disagree on the row";
    alongColumn->value(1);
    alongColumn->do_callback();
    counter->value(4); // and columns 1 to 4
    counter->do_callback();
    EXPECT_EQ(view().profileXpos, 4) << "the last column refused for a horizontal profile";
    counter->value(3);
    click(box(S::profile));
    EXPECT_EQ(view().profileXpos, 3) << "the profile shown elsewhere than the counter says";

    w.exaggerationCounter->value(5);
    w.exaggerationCounter->do_callback();
    EXPECT_EQ(data().mesh().exaggeration, 5) << "the counter's exaggeration not taken";
    EXPECT_EQ(data().mesh().triangles(), 2 * 3 * 3) << "mesh lost after changing the exaggeration";
}

TEST_F(MainWindowTest, ExitEndsTheProgramWithStatusZero)
{
    // A forked child would close this process's X connection on its way out.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(session->run(Command::exit), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace gui_test
