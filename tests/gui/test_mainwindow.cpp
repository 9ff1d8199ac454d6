// The main window as a user meets it: which tools a data set unlocks, hiding
// the tool panel, menu choices refused without data, and check boxes, menu
// ticks and viewer flags staying in step. Each callback is called as a click
// or a menu choice would call it.
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Round_Button.H>

#include <functional>
#include <set>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "tests/gui/gui_fixtures.h"

namespace gui_test {
namespace {

// --- which tools a data set unlocks -------------------------------------------

// With `files` 2, fileType says the comparison kind in use.
void expectUsable(int files, const char* when)
{
    for (Fl_Widget* w : std::vector<Fl_Widget*>{mag, slope, sun, unitSliderGUI, axes, light, colors, Cerr,
                                                graphCButton, prof})
        EXPECT_EQ(w->active() != 0, files >= 1) << when << ": DEM tool \"" << w->label() << '"';
    for (Fl_Widget* w : std::vector<Fl_Widget*>{glyph, unitSliderldGUI, graphButton, graphDButton, col, cont,
                                                lerr, curverr})
        EXPECT_EQ(w->active() != 0, files == 2) << when << ": comparison tool \"" << w->label() << '"';
    namespace mp = menupos;
    const std::set<int> demEntries = {mp::TRI,    mp::LIGHT, mp::AXES,       mp::SUN,
                                      mp::COLORS, mp::SLOPE, mp::SAVE_IMAGE, mp::SAVE_PROFILE};
    const std::set<int> compEntries = {mp::CONT, mp::HEIGHTS, mp::CERR, mp::LERR, mp::GRAPH, mp::SPARSE};
    for (int pos = 0; pos < mp::MENU_SIZE; ++pos) {
        const Fl_Menu_Item& it = menubar->menu()[pos];
        bool usable = demEntries.count(pos) ? files >= 1 : compEntries.count(pos) ? files == 2 : true;
        if (pos == mp::COREGISTER)
            usable = files == 2 && fileType == DEM;
        EXPECT_TRUE(!it.label() || (it.active() != 0) == usable) << when << ": menu \"" << it.label() << '"';
    }
    EXPECT_FALSE(sloperr->active()) << when << ": the \"Slope\" difference box is usable";
    EXPECT_TRUE(vdisplay->active() && pdisplay->active() && profVert->active() && profHoriz->active())
        << when << ": exaggeration, profile counter or profile axis greyed out";
}

TEST_F(MainWindowTest, ToolsFollowTheDataSet)
{
    expectUsable(0, "at start");
    FILE_CONST = 1;
    activateTools();
    expectUsable(1, "DEM alone");
    FILE_CONST = 2;
    fileType = DEM;
    activateTools();
    expectUsable(2, "DEM with a comparison DEM");
    fileType = SPARSEF;
    activateTools();
    expectUsable(2, "DEM with sparse data");
    colors->value(1);
    entry(menupos::COLORS).set();
    drawColors = true;
    deactivateTools();
    expectUsable(0, "after deactivation");
    activateTools();
    EXPECT_TRUE(colors->value() && entry(menupos::COLORS).value() && drawColors)
        << "greying and ungreying changed the \"Height Colors\" box, tick or scheme";
    lighting = 0; // switched off with the key l in the viewer
    activateTools();
    EXPECT_FALSE(light->value() || entry(menupos::LIGHT).value()) << "shown lit while the relief is unlit";
    lighting = 1;
    activateTools();
    EXPECT_TRUE(light->value() && entry(menupos::LIGHT).value()) << "shown unlit while the relief is lit";
}

TEST_F(MainWindowTest, HidingToolsGivesThePanelsPlaceToTheViewerAndShowingRestoresTheLayout)
{
    FILE_CONST = 2;
    activateTools();
    auto hideOrShow = [](bool show) {
        show ? entry(menupos::TOOLS).set() : entry(menupos::TOOLS).clear(); // the toolkit flips it first
        tools(menubar, nullptr);
    };
    hideOrShow(false);
    EXPECT_TRUE(!toolsShown && gl->x() == 0 && gl->w() == 850 && gl->h() == 625)
        << "viewer does not reach over the tool panel: " << gl->w() << " wide";
    EXPECT_FALSE(toolPanel->visible()) << "the hidden panel still shows";
    EXPECT_EQ(statsButton->x() + statsButton->w(), 845) << "the status row does not widen with the viewer";
    EXPECT_FALSE(col->active() || entry(menupos::LERR).active()) << "hidden tools still usable from the menu";
    EXPECT_TRUE(entry(menupos::SAVE_IMAGE).active() && entry(menupos::SAVE_PROFILE).active())
        << "the widened viewer's picture or profile cannot be saved";
    win->resize(0, 0, 1050, 800); // the user makes the window larger while the panel is hidden
    EXPECT_TRUE(gl->w() == 1050 && gl->h() == 725) << "hidden panel shows after resizing";
    EXPECT_FALSE(toolPanel->visible()) << "resizing brought the hidden panel back";
    EXPECT_EQ(statsButton->y() + statsButton->h(), 795) << "the status row left the bottom edge";
    hideOrShow(true);
    EXPECT_TRUE(toolsShown && gl->w() == 850 && gl->h() == 725 && toolPanel->visible())
        << "viewer not back beside the panel of the larger window: " << gl->w() << " x " << gl->h();
    EXPECT_TRUE(toolPanel->x() == 850 && toolPanel->w() == 200) << "the panel is not at the right edge";
    EXPECT_TRUE(col->active() && entry(menupos::LERR).active()) << "the data set's tools not restored";
    win->resize(0, 0, 850, 700);
    EXPECT_TRUE(gl->w() == 650 && toolPanel->x() == 650) << "resizing ignored after showing the tools again";
    FILE_CONST = 0;
    deactivateTools();
    hideOrShow(false);
    hideOrShow(true);
    EXPECT_FALSE(mag->active() || entry(menupos::TRI).active()) << "showing the tools unlocked them, no data";
    EXPECT_EQ(gl->w(), 650) << "hiding and showing changed the layout";
}

// --- boxes, menu ticks and viewer flags in step -------------------------------

class Switches : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // A 4 x 4 DEM with a bump and comparison data a metre off here and there.
        auto dem = [](int r, int c) { return r == 1 && c == 1 ? 110.0f : 100.0f + r + c; };
        auto comp = [&](int r, int c) { return r == 1 && c == 1 ? 109.0f : dem(r, c) + (r == 3 && c == 3); };
        FILE_CONST = 2;
        ASSERT_TRUE(load(writeGrid("tiny.grd", 4, 4, 10, dem), writeGrid("tinyc.grd", 4, 4, 10, comp), DEM));
        activateTools();
    }
    // A click: the toolkit flips the box, then calls back.
    static void click(Fl_Button* box)
    {
        box->value(!box->value());
        box->do_callback();
    }
    // A menu choice: the toolkit flips the tick, then calls back with the bar.
    static void choose(int pos)
    {
        entry(pos).value() ? entry(pos).clear() : entry(pos).set();
        entry(pos).do_callback(menubar);
    }
    // A key typed while the viewer has the focus.
    static int press(int key, int state = 0)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        return gl->handle(FL_KEYBOARD);
    }
    static std::vector<int> diffColors(bool curvature = false)
    {
        std::vector<int> c;
        for (int t = 0; t < mt.getNumTriangles(); ++t)
            c.push_back(curvature ? mt.triangle(t).curveDiffColor : mt.triangle(t).diffColor);
        return c;
    }
    // Box, menu tick and viewer flag all say `on`.
    static ::testing::AssertionResult shows(Fl_Button* box, int pos, bool flag, bool on)
    {
        if ((box->value() != 0) == on && (entry(pos).value() != 0) == on && flag == on)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << '"' << box->label() << "\": box " << int(box->value())
                                             << ", tick " << entry(pos).value() << ", flag " << flag;
    }
};

TEST_F(Switches, SchemesAndErrorDisplaysExcludeEachOther)
{
    // Each step, by click or menu choice, and the boxes of the two groups on
    // after it; boxes, ticks and flags stay in step.
    namespace mp = menupos;
    const std::tuple<Fl_Button*, int, bool*> boxes[] = {
        {slope, mp::SLOPE, &colorSlope}, {colors, mp::COLORS, &drawColors}, {cont, mp::CONT, &drawContours},
        {col, mp::HEIGHTS, &colorHeightClasses}, {Cerr, mp::CERR, &drawCurveColor}, {lerr, mp::LERR, &drawDiffColor}};
    const std::pair<std::function<void()>, std::vector<Fl_Button*>> steps[] = {
        {[] { click(slope); }, {slope}},          {[] { click(colors); }, {colors}},
        {[] { choose(mp::CONT); }, {cont}},       {[] { choose(mp::COLORS); }, {colors}},
        {[] { click(Cerr); }, {colors, Cerr}},    {[] { click(colors); }, {Cerr}},
        {[] { click(col); }, {col, Cerr}},        {[] { click(lerr); }, {col, lerr}},
        {[] { click(curverr); }, {col, curverr}}, {[] { choose(mp::CERR); }, {col, Cerr}},
    };
    int n = 0;
    for (const auto& [step, on] : steps) {
        step();
        for (auto [box, pos, flag] : boxes)
            EXPECT_TRUE(shows(box, pos, *flag, std::count(on.begin(), on.end(), box) != 0)) << "after step " << n;
        EXPECT_EQ(curverr->value() && drawCurveDiff, std::count(on.begin(), on.end(), curverr) != 0) << n;
        EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind, step " << n++;
    }
}

TEST_F(Switches, KeysWorkTheBoxesAndTheirMenuEntries)
{
    namespace mp = menupos;
    const std::tuple<int, int, Fl_Button*, int, bool*> keys[] = {
        {'a', 0, axes, mp::AXES, &drawAxes},           {'p', 0, mag, mp::TRI, &magnify},
        {'c', 0, Cerr, mp::CERR, &drawCurveColor},     {'n', 0, cont, mp::CONT, &drawContours},
        {'r', FL_SHIFT, lerr, mp::LERR, &drawDiffColor}};
    for (auto [key, state, box, pos, flag] : keys) {
        press(key, state);
        EXPECT_TRUE(shows(box, pos, *flag, true)) << "key " << char(key) << " once";
        press(key, state);
        EXPECT_TRUE(shows(box, pos, *flag, false)) << "key " << char(key) << " twice";
    }
    press('l');
    EXPECT_TRUE(shows(light, mp::LIGHT, lighting != 0, false)) << "key l";
    // The keys switch the rest of their exclusion group off, as the boxes do.
    click(colors);
    press('n');
    EXPECT_TRUE(shows(colors, mp::COLORS, drawColors, false)) << "key n beside \"Height Colors\"";
    // Keys for another widget that pass the viewer by are not the viewer's.
    Fl::e_keysym = 'a';
    Fl::e_state = 0;
    EXPECT_EQ(gl->handle(FL_SHORTCUT), 0) << "the viewer takes keys typed elsewhere";
    EXPECT_FALSE(drawAxes) << "a key typed elsewhere switched the axes on";
}

TEST_F(Switches, ShiftRShowsFreshElevationClassesAndEqualsMovesTheCounter)
{
    mt.compute_elev_diff_color();
    mt.compute_elev_diff_color();
    const std::vector<int> elevation = diffColors();
    mt.compute_curve_diff_color(); // what loading does last
    ASSERT_NE(diffColors(true), elevation) << "the grid does not tell the two classings apart";
    EXPECT_EQ(diffColors(), elevation) << "the curvature differences replaced the elevation classes";
    press('r', FL_SHIFT);
    EXPECT_EQ(diffColors(), elevation) << "curvature-difference classes shown as elevation differences";
    EXPECT_TRUE(drawDiff) << "difference marks not switched with Shift+R";
    press('=');
    EXPECT_EQ(vdisplay->value(), 2) << "the exaggeration counter lags behind key =";
}

TEST_F(Switches, MenuChoicesNeedTheirData)
{
    namespace mp = menupos;
    const std::tuple<Fl_Button*, int, int, bool*> entries[] = {
        {mag, mp::TRI, 1, &magnify},        {axes, mp::AXES, 1, &drawAxes},    {sun, mp::SUN, 1, &drawSun},
        {colors, mp::COLORS, 1, &drawColors}, {slope, mp::SLOPE, 1, &colorSlope}, {cont, mp::CONT, 2, &drawContours},
        {lerr, mp::LERR, 2, &drawDiffColor}};
    for (auto [box, pos, needs, flag] : entries) {
        FILE_CONST = needs - 1; // the tools of the data set left usable
        choose(pos);
        EXPECT_TRUE(shows(box, pos, *flag, false)) << "chosen with " << needs - 1 << " files in use";
        EXPECT_TRUE(NOT_MENU) << "the next click on a box would leave its menu tick behind";
        FILE_CONST = needs;
        choose(pos);
        EXPECT_TRUE(shows(box, pos, *flag, true)) << "chosen with " << needs << " files in use";
        choose(pos);
        EXPECT_TRUE(shows(box, pos, *flag, false)) << "chosen again";
    }
}

TEST_F(Switches, HeightClassesNeedAContourInterval)
{
    FILE_CONST = 1;
    click(colors);
    click(col);
    EXPECT_TRUE(shows(col, menupos::HEIGHTS, colorHeightClasses, false)) << "ticked with a DEM alone";
    EXPECT_TRUE(shows(colors, menupos::COLORS, drawColors, true)) << "a refused tick switched \"Height Colors\" off";
    FILE_CONST = 2;
    click(col);
    EXPECT_TRUE(shows(col, menupos::HEIGHTS, colorHeightClasses, true)) << "with contour data";
    FILE_CONST = 1; // a DEM alone opened since
    click(colors);
    EXPECT_TRUE(shows(col, menupos::HEIGHTS, colorHeightClasses, false)) << "switched off by \"Height Colors\"";

    // Comparison data without a single height: no contour interval.
    FILE_CONST = 2;
    auto dem = [](int r, int c) { return 100.0f + r + c; };
    ASSERT_TRUE(load(writeGrid("cdem.grd", 4, 4, 10, dem), writeGrid("none.grd", 4, 4, 10, [](int, int) {
                         return 0.0f;
                     }), DEM));
    ASSERT_EQ(MyWindow::getCont(), 0);
    col->value(1);
    col->do_callback();
    EXPECT_FALSE(col->value() || entry(menupos::HEIGHTS).value() || colorHeightClasses) << "after a click";
    choose(menupos::HEIGHTS);
    EXPECT_FALSE(col->value() || entry(menupos::HEIGHTS).value() || colorHeightClasses) << "from the menu";
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
}

TEST_F(Switches, ProfileAxisRowCounterAndExaggeration)
{
    profHoriz->value(1);
    profHoriz->do_callback();
    EXPECT_TRUE(!profVert->value() && profView == HORIZ) << "\"X-Axis\" did not take over from \"Y-Axis\"";
    profVert->value(1);
    profVert->do_callback();
    EXPECT_TRUE(!profHoriz->value() && profView == VERTP) << "\"Y-Axis\" did not take over from \"X-Axis\"";
    profVert->value(0); // clicked again while on
    profVert->do_callback();
    EXPECT_TRUE(profVert->value() && !profHoriz->value() && profView == VERTP) << "both directions off";

    pdisplay->value(2.9);
    pdisplay->do_callback();
    EXPECT_EQ(profileYpos, 2) << "profile row not truncated from the counter";
    pdisplay->value(4); // the tiny grid has rows 0 to 3
    pdisplay->do_callback();
    EXPECT_TRUE(profileYpos == 2 && pdisplay->value() == 2) << "counter and profile disagree on the row";
    profHoriz->value(1);
    profHoriz->do_callback();
    pdisplay->value(4); // and columns 1 to 4
    pdisplay->do_callback();
    EXPECT_EQ(profileXpos, 4) << "the last column refused for a horizontal profile";
    pdisplay->value(3);
    click(prof);
    EXPECT_EQ(profileXpos, 3) << "the profile shown elsewhere than the counter says";

    vdisplay->value(5);
    vdisplay->do_callback();
    EXPECT_EQ(mt.getNumTriangles(), 2 * 3 * 3) << "mesh lost after changing the exaggeration";
}

TEST(Exit, ExitEndsTheProgramWithStatusZero)
{
    // A forked child would close this process's X connection on its way out.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(quit(nullptr, nullptr), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace gui_test
